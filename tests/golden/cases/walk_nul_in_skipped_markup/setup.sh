# Makes in.xml from priklad.xml: a comment with a NUL byte inside it before
# the first header element, and a start tag of the submitter's name whose
# rest holds 400 bytes, a NUL among those past the first 299. Both are passed
# over: the comment up to its "-->", the tag up to its '>'.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
at = src.index(b"<orv:rok>")
src = src[:at] + b"<!-- pozn\0mka -->\r\n    " + src[at:]
at = src.index(b"<orv:predkladatel>")
rest = bytearray(b"x" * 400)
rest[350] = 0
src = src[:at] + b"<orv:predkladatel " + bytes(rest) + src[at + len(b"<orv:predkladatel"):]
open("in.xml", "wb").write(src)
PY
