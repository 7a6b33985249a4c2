# Makes in.xml: the submitter's name has a start tag whose rest holds 400
# bytes with three line feeds among those past the first 299; they are passed
# over up to the '>' and counted as lines. The e-mail address that follows is
# faulty, so its finding shows the line.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
at = src.index(b"<orv:predkladatel>")
rest = bytearray(b"x" * 400)
for i in (320, 340, 360):
    rest[i] = ord("\n")
src = src[:at] + b"<orv:predkladatel " + bytes(rest) + src[at + len(b"<orv:predkladatel"):]
at = src.index(b"<orv:mail>") + len(b"<orv:mail>")
end = src.index(b"</orv:mail>")
open("in.xml", "wb").write(src[:at] + b"bez-zavinace" + src[end:])
PY
