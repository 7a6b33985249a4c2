# The report named as a hard link of the data file.
set -euo pipefail
ln a.xml hard.xml
