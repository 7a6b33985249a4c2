# Makes big.xml from priklad.xml: the first record's AA0166 holds 50 MB of
# digits on one line. Only its first 299 characters are kept as the content
# (a length finding); the rest is passed over up to the end tag.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
old = b"<orv:AA0166>0</orv:AA0166>"
at = src.index(old)
big = b"<orv:AA0166>" + b"7" * (50 << 20) + b"</orv:AA0166>"
open("big.xml", "wb").write(src[:at] + big + src[at + len(old):])
PY
