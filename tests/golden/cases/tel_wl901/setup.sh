# Makes big.xml: 102 clean employers of one record each (the benchmark
# providers 71000003, ... of the sample register, all under submitter 10000003).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../../../.." && pwd)
python3 "$repo/bench/gen_orv.py" --employers 102 --records 1 --seed 901 --crlf big.xml
