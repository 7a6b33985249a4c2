# The report named as a symbolic link to the data file.
set -euo pipefail
ln -s a.xml link.htm
