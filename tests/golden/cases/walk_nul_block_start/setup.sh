# Makes in.xml from priklad.xml: blanks between the root start tag and the
# first header element, so many that the byte at offset 65536, the first byte
# of the second block of 64 KiB the native reader reads, is one of them; that
# byte is a NUL. It is passed over as the blanks are.
set -euo pipefail
python3 - <<'PY'
src = open("priklad.xml", "rb").read()
at = src.index(b"<orv:rok>")
pad = bytearray(b" " * (65536 - at + 100))
pad[65536 - at] = 0
open("in.xml", "wb").write(src[:at] + bytes(pad) + src[at:])
PY
