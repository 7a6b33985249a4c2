# Makes in.xml: the example cut inside the rest of a start tag that is longer
# than a piece (the submitter's name, 400 bytes of rest and no '>').
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
at = src.index(b"<orv:predkladatel>")
open("in.xml", "wb").write(src[:at] + b"<orv:predkladatel " + b"x" * 400)
PY
