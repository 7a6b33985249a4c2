# Makes in.xml from priklad.xml: an element whose start and end tag names are
# 10000 bytes long, inside the second employee record. Names are cut at 299
# characters: the element is unknown, and its cut end tag does not match.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
record = src.index(b"<orv:AA0126>1002</orv:AA0126>")
at = src.index(b"<orv:AA0133>", record)
name = b"N" * 10000
open("in.xml", "wb").write(src[:at] + b"<" + name + b">5</" + name + b">\r\n      " + src[at:])
PY
