# Makes in.xml: the example cut inside the attributes of the root start tag.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
at = src.index(b'verze="1') + len(b'verze="1')
open("in.xml", "wb").write(src[:at])
PY
