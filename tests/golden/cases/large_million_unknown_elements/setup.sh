# Makes big.xml from priklad.xml: a million unknown elements before the root
# (ignored, as everything before the root is) and a million inside the second
# employee record, one a line (each an element not in the table). The report
# goes to /dev/null; the console totals must count exactly the million.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
record = src.index(b"<orv:AA0126>1002</orv:AA0126>")
inside = src.index(b"<orv:AA0133>", record)
root = src.index(b"<orv:ORV")
unknown = b"<x>5</x>\n" * 1000000
open("big.xml", "wb").write(src[:root] + unknown + src[root:inside] + unknown + src[inside:])
PY
