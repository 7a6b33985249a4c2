# Makes in.xml from priklad.xml with a NUL byte in front of it: the first
# byte of the file, and so of the first block read, is data like any other
# and is passed over up to the first '<'.
set -euo pipefail
python3 - <<'PY'
open("in.xml", "wb").write(b"\0" + open("priklad.xml", "rb").read())
PY
