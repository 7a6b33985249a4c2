# Makes in.xml from priklad.xml: the facility code AA0113 holds 300 bytes on
# its line, one more than a piece keeps. The whole element stands in the
# input block, yet it is too long for the one-pass reading of a line: the
# piece readers keep its first 299 bytes (the value of the length finding and
# of the copy line) and pass the last one over.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
old = b"<orv:AA0113></orv:AA0113>"
at = src.index(old)
big = b"<orv:AA0113>" + b"F" * 299 + b"G" + b"</orv:AA0113>"
open("in.xml", "wb").write(src[:at] + big + src[at + len(old):])
PY
