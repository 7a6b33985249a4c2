# Makes random.bin: one MiB of pseudo-random bytes from a fixed seed, so every
# run reads the same bytes. No root element is found; the '<' among them open
# tags of the prolog, and those beginning with '?' reach the output copy.
set -euo pipefail
python3 -c 'import random, sys; sys.stdout.buffer.write(random.Random(6).randbytes(1 << 20))' > random.bin
