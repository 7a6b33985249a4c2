# Makes in.xml: the example cut inside the end tag of the first record's
# AA0211, after "</orv:AA02".
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
at = src.index(b"<orv:AA0211>1</orv:AA02") + len(b"<orv:AA0211>1</orv:AA02")
open("in.xml", "wb").write(src[:at])
PY
