#!/usr/bin/env python3
"""Runs two builds of the checker on the same inputs and compares every output byte.

Called by bench/compare.sh, which builds the two checkers. Each input is run
by both builds in two copies of one folder, with the same relative names and
the same environment; afterwards the two folders must hold the same files with
the same bytes (reports in all four formats, output copies, anything else a
run writes), and every run the same console bytes (standard output and
error) and the same exit status.

The inputs:
  golden     every case of tests/golden/cases with its own arguments, and each
             of its data files in the four report formats
  corpus     the fuzz corpus (an input beginning with '@' is a list file, as
             the fuzz target takes it)
  generated  bench/gen_orv.py submissions: clean, faulty, several records per
             employee, CR LF, small and large (many input blocks)
  mutated    variants of those and of the example: byte flips, cuts, line
             splits, CR LF, prefixes, comments, attributes, long contents and
             names, NUL bytes, empty elements, shifted block boundaries...
  lists      submissions cut into pieces read as one stream through a list

    compare_runs.py --base QUELT --new QUELT --root REPO --work DIR
                    [--mutants N] [--lists N] [--seed S] [--extra DIR ...]
"""

import argparse
import concurrent.futures
import os
import random
import shutil
import subprocess
import sys

EPOCH = "1278403200"
TIMEOUT = 300

# The four report formats; half the runs also write an output copy, one uses -w.
FORMAT_RUNS = [
    ["r.htm", "c1.xml"],
    ["r.txt"],
    ["r.csv", "c3.xml", "-w"],
    ["r.xml"],
]


class Case:
    """One folder of inputs and the argument lists run in it."""

    def __init__(self, kind, name, files=None, source=None, setup=None, runs=None):
        self.kind = kind
        self.name = name
        self.files = files or {}      # relative name -> bytes
        self.source = source          # folder whose files are copied first
        self.setup = setup            # script run in the folder first
        self.runs = runs or []        # argument lists


def format_runs(input_name):
    return [[input_name] + args for args in FORMAT_RUNS]


# ---- inputs -------------------------------------------------------------------

GOLDEN_META = {"args", "status", "expected", "console", "absent", "README.md", "setup.sh"}


def golden_cases(root):
    cases_dir = os.path.join(root, "tests", "golden", "cases")
    for name in sorted(os.listdir(cases_dir)):
        d = os.path.join(cases_dir, name)
        with open(os.path.join(d, "args"), encoding="utf-8") as f:
            args = ["" if line == "<empty>" else line for line in f.read().splitlines()]
        runs = [args]
        # Each data file of the case also in the four formats (not the large
        # ones made by setup.sh, which the case's own run covers).
        for entry in sorted(os.listdir(d)):
            if entry in GOLDEN_META or not entry.endswith(".xml"):
                continue
            runs += format_runs(entry)
        setup = os.path.join(d, "setup.sh")
        yield Case("golden", name, source=d, runs=runs,
                   setup=setup if os.path.exists(setup) else None)


def input_case(kind, name, data, example):
    """A data file in the four formats; a file beginning with '@' is a list
    naming a.xml (the example) and self.xml (the bytes themselves)."""
    files = {"self.xml": data}
    if data.startswith(b"@"):
        files["list"] = data[1:]
        files["a.xml"] = example
        return Case(kind, name, files=files, runs=format_runs("@list"))
    return Case(kind, name, files=files, runs=format_runs("self.xml"))


def corpus_cases(root, extra, example):
    folders = [os.path.join(root, "tests", "fuzz", "corpus")] + list(extra)
    for folder in folders:
        for entry in sorted(os.listdir(folder)):
            with open(os.path.join(folder, entry), "rb") as f:
                data = f.read()
            yield input_case("corpus", os.path.basename(folder) + "/" + entry, data, example)


def generate(root, options):
    out = subprocess.run([sys.executable, os.path.join(root, "bench", "gen_orv.py")] + options,
                         check=True, stdout=subprocess.PIPE)
    return out.stdout


def generated_inputs(root, rng):
    """(name, bytes) of generated submissions: small ones of every kind and a
    few large enough to span many input blocks."""
    kinds = [
        ("clean", []),
        ("faulty", ["--faulty", "0.3"]),
        ("multi", ["--multi", "0.3"]),
        ("crlf", ["--crlf", "--multi", "0.1"]),
        ("faulty_crlf", ["--crlf", "--faulty", "0.2", "--multi", "0.2"]),
    ]
    out = []
    for kind, opts in kinds:
        for i in range(4):
            seed = rng.randrange(1 << 30)
            employers = rng.choice([1, 2, 3])
            records = rng.choice([1, 3, 10, 25])
            out.append(("%s_small%d" % (kind, i),
                        generate(root, opts + ["--employers", str(employers),
                                               "--records", str(records),
                                               "--seed", str(seed)])))
        seed = rng.randrange(1 << 30)
        out.append(("%s_large" % kind,
                    generate(root, opts + ["--employers", "3", "--records", "150",
                                           "--seed", str(seed)])))
    return out


# ---- mutations ----------------------------------------------------------------

SPECIAL = b"<>/!?-: \t\n\r\x00\x1a\xff\"'=&"
BLOCK = 1 << 16


def position(rng, data):
    """A position in data; often next to a block boundary of the reader."""
    if not data:
        return 0
    if len(data) > BLOCK and rng.random() < 0.3:
        b = BLOCK * rng.randrange(1, len(data) // BLOCK + 1)
        return max(0, min(len(data), b + rng.randrange(-48, 49)))
    return rng.randrange(len(data) + 1)


def occurrence(rng, data, needle):
    """Start of a random occurrence of needle, or -1."""
    count = data.count(needle)
    if count == 0:
        return -1
    k = rng.randrange(count)
    at = -1
    for _ in range(k + 1):
        at = data.index(needle, at + 1)
    return at


def m_flip(rng, d):
    p = min(position(rng, d), len(d) - 1)
    if p < 0:
        return d
    b = rng.choice(SPECIAL) if rng.random() < 0.7 else rng.randrange(256)
    return d[:p] + bytes([b]) + d[p + 1:]


def m_cut(rng, d):
    return d[:position(rng, d)]


def m_delete(rng, d):
    p = position(rng, d)
    return d[:p] + d[p + rng.randrange(1, 60):]


def m_duplicate(rng, d):
    p = position(rng, d)
    q = min(len(d), p + rng.randrange(1, 200))
    return d[:q] + d[p:q] + d[q:]


def m_split_lines(rng, d):
    for _ in range(rng.randrange(1, 6)):
        p = position(rng, d)
        d = d[:p] + rng.choice([b"\n", b"\r\n", b"\r", b"\n\n", b" \n "]) + d[p:]
    return d


def m_crlf(rng, d):
    if rng.random() < 0.5:
        return d.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    p = position(rng, d)
    q = min(len(d), p + rng.randrange(1, 5000))
    return d[:p] + d[p:q].replace(b"\n", b"\r\n") + d[q:]


def m_lf(rng, d):
    return d.replace(b"\r\n", b"\n")


def m_prefix(rng, d):
    for _ in range(rng.randrange(1, 4)):
        at = occurrence(rng, d, b"orv:")
        if at < 0:
            return d
        new = rng.choice([b"", b"x:", b"orv:orv:", b"ORV:", b"or v:", b"orv", b"\rorv:",
                          b"o\r\nrv:", b"orv:\x00"])
        d = d[:at] + new + d[at + 4:]
    if rng.random() < 0.3:
        at = occurrence(rng, d, b"</")
        if at >= 0:
            d = d[:at + 1] + rng.choice([b"x", b"?", b"!", b"\x00", b" "]) + d[at + 2:]
    return d


COMMENTS = [b"<!-- c -->", b"<!--c-->", b"<!--\n-->", b"<!-- a -- b -->", b"<!-- x --\n>",
            b"<!---->", b"<!-- unterminated", b"<!--\r\n long\n comment -->", b"<!-->"]


def m_comment(rng, d):
    p = position(rng, d)
    if rng.random() < 0.6:  # between elements, where comments belong
        q = d.find(b"\n", p)
        p = q + 1 if q >= 0 else p
    return d[:p] + rng.choice(COMMENTS) + d[p:]


def m_attribute(rng, d):
    at = occurrence(rng, d, b">")
    if at < 0:
        return d
    attr = rng.choice([b' a="1"', b" /", b"/", b'\n a="x y"', b" a = 'b' ", b" ", b"\t",
                       b' k="' + b"v" * rng.randrange(290, 310) + b'"', b"\r\n"])
    return d[:at] + attr + d[at:]


def m_long_content(rng, d):
    at = occurrence(rng, d, b"</")
    if at < 0:
        return d
    n = rng.choice([rng.randrange(280, 320), rng.randrange(590, 610), rng.randrange(1000, 3000),
                    rng.randrange(BLOCK - 100, BLOCK + 100)])
    fill = rng.choice([b"7", b"x", b" ", b"a b", b"\n", b"1.5"])
    return d[:at] + (fill * n)[:n] + d[at:]


def m_long_name(rng, d):
    """A longer name in the start tag, or in both tags of one element; the
    lengths around the 299-byte cut and the 52 bytes of an element name."""
    at = occurrence(rng, d, b"<orv:AA")
    if at < 0:
        return d
    # "orv:" + n + "AA0126": a tag text of n + 10 bytes (n + 11 in the end tag)
    n = rng.choice([40, 41, 42, 43, 286, 287, 288, 289, 290, 298, 299, 300, 1000, 70000])
    d = d[:at + 5] + b"N" * n + d[at + 5:]
    end = d.find(b"</orv:AA", at)
    if end >= 0 and rng.random() < 0.6:
        d = d[:end + 6] + b"N" * n + d[end + 6:]
    return d


def m_byte_before_prefix(rng, d):
    """One byte before "orv:" in a start tag and its end tag: the name then
    begins with '/', and the end tag keeps its byte and prefix."""
    at = occurrence(rng, d, b"<orv:AA")
    if at < 0:
        return d
    end = d.find(b"</orv:AA", at)
    b = rng.choice([b"x", b"/", b"o", b"?", b"\xe8"])
    d = d[:at + 1] + b + d[at + 1:]
    if end >= 0 and rng.random() < 0.7:
        end += 1
        d = d[:end + 2] + b + d[end + 2:]
    return d


ODD_ELEMENTS = [b"<orv:zamestnanec>x</orv:zamestnanec>", b"<zamestnanec></zamestnanec>",
                b"<orv:zamestnavatel>1</orv:zamestnavatel>", b"</orv:zamestnanec>x</a>",
                b"<orv:ORV>x</orv:ORV>", b"</orv:ORV>", b"<!-->x</!-->", b"<AA0126/>5</AA0126/>",
                b"<>5</>", b"<orv:>5</orv:>", b"<orv:AA0126>5</orv:AA0126 >",
                b"<orv:AA0126>5</orv:AA0126\n>", b"<orv:AA0126>5<orv:AA0126>",
                b"<orv:AA0126>5</AA0126>", b"<AA0126>5</orv:AA0126>", b"<orv:AA0126>5</orv:AA01266>",
                b"<orv:AA0126>  5</orv:AA0126>", b"<orv:AA0126>5 </orv:AA0126>",
                b"<orv:AA0126>\t5</orv:AA0126>", b"<orv:AA0126></orv:AA0126>",
                b"<orv:AA0126>5</orv:AA0126>junk", b"junk<orv:AA0126>5</orv:AA0126>",
                b"<orv:AA0126>5</orv:AA0126><orv:AA0231>1960</orv:AA0231>",
                b"<orv:AA0126>a&amp;b</orv:AA0126>", b"<orv:AA0126>5</orv:AA0126\x00>"]


def m_odd_element(rng, d):
    """An element the one-pass reader must leave to the piece readers, or one
    it must read exactly as they would, put where an element stood."""
    at = occurrence(rng, d, b"<orv:AA")
    if at < 0:
        return d
    end = d.find(b">", d.find(b"</", at) + 1)
    if end < 0:
        return d
    return d[:at] + rng.choice(ODD_ELEMENTS) + d[end + 1:]


def m_nul(rng, d):
    for _ in range(rng.randrange(1, 4)):
        p = position(rng, d)
        d = d[:p] + rng.choice([b"\x00", b"\x00\x00", b"\xff", b"\x1a"]) + d[p:]
    return d


def m_blank(rng, d):
    p = position(rng, d)
    return d[:p] + rng.choice([b" ", b"  ", b"\t", b" \t "]) + d[p:]


def m_leading_spaces(rng, d):
    at = occurrence(rng, d, b">")
    if at < 0:
        return d
    return d[:at + 1] + b" " * rng.randrange(1, 310) + d[at + 1:]


def m_empty_element(rng, d):
    at = occurrence(rng, d, b"<orv:AA")
    if at < 0:
        return d
    end = d.find(b"\n", at)
    if end < 0:
        return d
    name = d[at + 1:at + 11]
    return d[:at] + b"<" + name + rng.choice([b"/>", b" />", b"  / >", b"/ >"]) + d[end:]


def m_mismatch(rng, d):
    at = occurrence(rng, d, b"</orv:AA")
    if at < 0:
        return d
    p = at + 8 + rng.randrange(4)
    return d[:p] + rng.choice([b"9", b"0", b"", b"00", b"X"]) + d[p + 1:]


def m_pad(rng, d):
    """Shifts every block boundary of the reader by a few bytes."""
    k = rng.randrange(1, 600)
    return rng.choice([b" ", b"\n", b"\r\n", b"\t"]) * k + d


def m_swap_lines(rng, d):
    lines = d.split(b"\n")
    if len(lines) < 3:
        return d
    i = rng.randrange(len(lines) - 1)
    j = rng.randrange(len(lines) - 1)
    lines[i], lines[j] = lines[j], lines[i]
    return b"\n".join(lines)


def m_drop_line(rng, d):
    lines = d.split(b"\n")
    if len(lines) < 3:
        return d
    del lines[rng.randrange(len(lines))]
    return b"\n".join(lines)


def m_join_lines(rng, d):
    p = position(rng, d)
    q = min(len(d), p + rng.randrange(50, 5000))
    return d[:p] + d[p:q].replace(b"\n", b"").replace(b"\r", b"") + d[q:]


def m_numbers(rng, d):
    at = occurrence(rng, d, b"</orv:AA")
    if at < 0:
        return d
    start = d.rfind(b">", 0, at) + 1
    value = rng.choice([b"", b"-", b"+", b".", b"1.", b".5", b"+-5", b"1e5", b"1,5", b"007",
                        b"1234567890123456", b"123456789012345.5", b"-0", b"0.000001",
                        b"99999999999999999999", b"1.2.3", b" 5", b"5 ", b"\t5",
                        b"3.14159265358979", b"12345678901234.5"])
    return d[:start] + value + d[at:]


MUTATIONS = [m_flip, m_cut, m_delete, m_duplicate, m_split_lines, m_crlf, m_lf, m_prefix,
             m_comment, m_attribute, m_long_content, m_long_name, m_nul, m_blank,
             m_leading_spaces, m_empty_element, m_mismatch, m_pad, m_swap_lines,
             m_drop_line, m_join_lines, m_numbers, m_byte_before_prefix, m_odd_element]


def mutate(rng, data):
    ops = []
    for _ in range(rng.choice([1, 1, 2, 3, 5])):
        op = rng.choice(MUTATIONS)
        data = op(rng, data)
        ops.append(op.__name__[2:])
    return data, "+".join(ops)


def list_case(rng, name, data):
    """The bytes cut into pieces at random places (inside tags and contents
    too), named in a list with empty files between, sometimes ended by "...",
    sometimes naming a file that is not there."""
    cuts = sorted(rng.randrange(len(data) + 1) for _ in range(rng.randrange(1, 8)))
    pieces = [data[a:b] for a, b in zip([0] + cuts, cuts + [len(data)])]
    files = {"empty": b""}
    words = []
    for i, piece in enumerate(pieces):
        files["p%d.xml" % i] = piece
        words.append("p%d.xml" % i)
        if rng.random() < 0.2:
            words.append("empty")
    if rng.random() < 0.2:
        words += ["...", "missing.xml"]
    elif rng.random() < 0.15:  # a file that cannot be opened ends the run with status 13
        words.insert(rng.randrange(len(words) + 1), "missing.xml")
    sep = rng.choice([" ", "\n", "\r\n", "\t "])
    files["list"] = sep.join(words).encode() + rng.choice([b"", b"\n"])
    return Case("lists", name, files=files, runs=format_runs("@list"))


# ---- running -----------------------------------------------------------------

def prepare(case, folder, root):
    os.makedirs(folder)
    if case.source:
        for entry in os.listdir(case.source):
            if entry in GOLDEN_META:
                continue
            src = os.path.join(case.source, entry)
            if os.path.isdir(src):
                shutil.copytree(src, os.path.join(folder, entry))
            else:
                shutil.copy(src, os.path.join(folder, entry))
    for rel, data in case.files.items():
        with open(os.path.join(folder, rel), "wb") as f:
            f.write(data)
    if case.setup:
        # setup.sh finds the repository from its own place: run a copy there.
        subprocess.run(["bash", case.setup], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL)


def run_one(quelt, folder, args):
    env = dict(os.environ, SOURCE_DATE_EPOCH=EPOCH)
    try:
        p = subprocess.run([quelt] + args, cwd=folder, env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=TIMEOUT)
        return p.returncode, p.stdout, p.stderr
    except subprocess.TimeoutExpired:
        return "timeout", b"", b""


def tree(folder):
    out = {}
    for dirpath, dirnames, filenames in os.walk(folder):
        for name in dirnames + filenames:
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, folder)
            if os.path.islink(path):
                # A link is compared by where it points: it may point at a
                # device (a case's /dev/full), which has no end to read.
                out[rel] = b"<symbolic link to " + os.fsencode(os.readlink(path)) + b">"
            elif os.path.isdir(path):
                out[rel] = None
            else:
                with open(path, "rb") as f:
                    out[rel] = f.read()
    return out


def first_difference(a, b):
    n = min(len(a), len(b))
    for i in range(n):
        if a[i] != b[i]:
            return i
    return n


def compare_case(case, base, new, work, root):
    """Returns (runs, list of differences)."""
    folders = {}
    for side in ("base", "new"):
        folders[side] = os.path.join(work, side, case.kind, case.name.replace("/", "_"))
        prepare(case, folders[side], root)
    diffs = []
    for i, args in enumerate(case.runs):
        rb = run_one(base, folders["base"], args)
        rn = run_one(new, folders["new"], args)
        for what, a, b in (("status", rb[0], rn[0]), ("console", rb[1], rn[1]),
                           ("stderr", rb[2], rn[2])):
            if a != b:
                detail = "%r != %r" % (a, b) if what == "status" else \
                    "at byte %d" % first_difference(a, b)
                diffs.append("%s/%s run %d %s: %s %s" % (case.kind, case.name, i, args, what,
                                                         detail))
    tb = tree(folders["base"])
    tn = tree(folders["new"])
    for rel in sorted(set(tb) | set(tn)):
        if tb.get(rel, b"<missing>") != tn.get(rel, b"<missing>"):
            a, b = tb.get(rel), tn.get(rel)
            where = ("at byte %d" % first_difference(a, b)) if a is not None and b is not None \
                else "missing on one side"
            diffs.append("%s/%s file %s %s" % (case.kind, case.name, rel, where))
    if not diffs:
        for side in folders.values():
            shutil.rmtree(side)
    return len(case.runs), diffs


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--base", required=True)
    ap.add_argument("--new", required=True)
    ap.add_argument("--root", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--mutants", type=int, default=800)
    ap.add_argument("--lists", type=int, default=80)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--extra", nargs="*", default=[])
    a = ap.parse_args()

    rng = random.Random(a.seed)
    with open(os.path.join(a.root, "examples", "priklad.xml"), "rb") as f:
        example = f.read()

    def all_cases():
        # Made one at a time, in a fixed order from the seed: the mutants of
        # the large submissions would not all fit in memory at once.
        yield from golden_cases(a.root)
        yield from corpus_cases(a.root, a.extra, example)
        generated = generated_inputs(a.root, rng)
        for name, data in generated:
            yield input_case("generated", name, data, example)
        bases = generated + [("example", example),
                             ("example_lf", example.replace(b"\r\n", b"\n"))]
        for i in range(a.mutants):
            name, data = rng.choice(bases)
            data, ops = mutate(rng, data)
            yield input_case("mutated", "%04d_%s_%s" % (i, name, ops), data, example)
        for i in range(a.lists):
            name, data = rng.choice(bases)
            if rng.random() < 0.5:
                data, ops = mutate(rng, data)
                name += "_" + ops
            yield list_case(rng, "%03d_%s" % (i, name), data)

    kinds = ["golden", "corpus", "generated", "mutated", "lists"]
    counts = {k: [0, 0, 0] for k in kinds}  # inputs, runs, inputs that differ
    all_diffs = []

    def collect(fut, case):
        runs, diffs = fut.result()
        counts[case.kind][0] += 1
        counts[case.kind][1] += runs
        if diffs:
            counts[case.kind][2] += 1
            all_diffs.extend(diffs)

    with concurrent.futures.ThreadPoolExecutor(max_workers=a.jobs) as pool:
        pending = {}
        for case in all_cases():
            pending[pool.submit(compare_case, case, a.base, a.new, a.work, a.root)] = case
            if len(pending) >= 4 * a.jobs:
                done, _ = concurrent.futures.wait(pending, return_when="FIRST_COMPLETED")
                for fut in done:
                    collect(fut, pending.pop(fut))
        for fut in concurrent.futures.as_completed(pending):
            collect(fut, pending[fut])
    for line in sorted(all_diffs):
        print("DIFFERENT", line)
    total = [sum(c[i] for c in counts.values()) for i in range(3)]
    for k in kinds:
        print("%-10s %5d inputs %6d runs  %5d inputs with a difference" % (k, *counts[k]))
    print("%-10s %5d inputs %6d runs  %5d inputs with a difference" % ("total", *total))
    return 1 if total[2] else 0


if __name__ == "__main__":
    sys.exit(main())
