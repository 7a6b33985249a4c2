# Makes a list of 5000 file names, list.lst: whole.xml cut into 1000 pieces of
# about seven bytes (part000 ... part999), each followed by four mentions of
# one empty file. The files are read as one stream, so the report and the
# copy must be those of whole.xml itself, line numbers included.
set -euo pipefail
split -n 1000 -a 3 -d whole.xml part
rm whole.xml
: > empty
for part in part*; do
  printf '%s empty empty empty empty\n' "$part"
done > list.lst
