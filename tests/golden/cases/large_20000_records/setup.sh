# Makes big.xml: one employer of 20000 clean records (about 40 MB, 1.2 million
# lines), with a twentieth of the employees holding two or three records, so
# that the employer's register outgrows any small fixed capacity and the
# records of one employee are still counted once in the headcount.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../../../.." && pwd)
python3 "$repo/bench/gen_orv.py" --employers 1 --records 20000 --multi 0.05 --seed 20000 big.xml
