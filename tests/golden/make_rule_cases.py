#!/usr/bin/env python3
"""Writes the inputs of the golden cases of the employee and employer rules.

Every case is examples/priklad.xml (a clean submission: one employer, three
records of different employees) changed in one way: records whose values
sit just inside or just outside a rule's limit, or with a failed gate element;
records of one employee; employers around a record-count threshold. Each case
folder gets in.xml (Windows-1250, CR LF, as the example), args and README.md.

The employer's totals (AA0114 the sum of AA0136, AA0115 the records in the
headcount with one count per employee, AA0116, AA0118 the sum of AA0144,
AA0123 twice that) and each record's AA0150 and AA0144 (the sums of their
items) are worked out from the records unless a case sets them, so that a case
shows only the findings it is about.

The expected outputs are not made here: run the case, read every row against
the rules, then approve it with tests/golden/approve.sh BUILD CASE report.csv.

    tests/golden/make_rule_cases.py [CASE...]      (no CASE: all of them)
"""

import math
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLE = os.path.join(HERE, "..", "..", "examples", "priklad.xml")
CASES = os.path.join(HERE, "cases")

# Further employers of the sample provider register, under the same submitter.
EMPLOYER_IDS = ["30000009", "71000003", "71000011", "71000020"]

ELEMENT = re.compile(r"^\s*<orv:(\w+)>(.*)</orv:\1>$")
NUMBER = re.compile(r"^[+-]?(\d+\.?\d*|\.\d+)$")

SALARY_ITEMS = ["AA0145", "AA0146", "AA0147", "AA0148", "AA0160", "AA0162",
                "AA0150", "AA0157", "AA0163", "AA0161", "AA0158"]
ALLOWANCE_ITEMS = ["AA0239", "AA0151", "AA0152", "AA0153", "AA0154", "AA0155",
                   "AA0156", "AA0240"]


def read_example():
    """The example split into header lines, employer elements, the three
    records (lists of name and value) and the closing lines."""
    with open(EXAMPLE, "rb") as f:
        lines = f.read().decode("latin-1").split("\r\n")
    start = lines.index("  <orv:zamestnavatel>")
    header = lines[: start + 1]
    employer, records, current = [], [], None
    for line in lines[start + 1:]:
        if line.strip() == "<orv:zamestnanec>":
            current = []
        elif line.strip() == "</orv:zamestnanec>":
            records.append(current)
            current = None
        elif line.strip() == "</orv:zamestnavatel>":
            break
        else:
            m = ELEMENT.match(line)
            (employer if current is None else current).append((m.group(1), m.group(2)))
    return header, employer, records


HEADER, EMPLOYER, RECORDS = read_example()


def value(text):
    """The number a content stands for, 0 when it is none (as an element
    whose conversion failed leaves its value)."""
    return float(text) if NUMBER.match(text) else 0.0


def fmt(x):
    """A sum as the shortest text with at most four decimals."""
    text = f"{x:.4f}".rstrip("0").rstrip(".")
    return text if text not in ("", "-0") else "0"


# Shapes of a record other than the example's full-time one.
HALF = dict(AA0131="20", AA0136="0.5", AA0132="500", AA0165="24.14")
NOT_IN_HEADCOUNT = dict(AA0136="0.9999", AA0137="2")


def rec(ident, base=0, drop=(), dup=(), **changes):
    """A record: example record `base` with AA0126 = ident and the changes;
    drop names elements to leave out, dup (name, content) pairs to add right
    after the element of that name."""
    r = dict(RECORDS[base])
    order = [name for name, _ in RECORDS[base]]
    if ident is not None:
        r["AA0126"] = ident
    r.update(changes)
    if "AA0150" not in changes:
        r["AA0150"] = fmt(sum(value(r[n]) for n in ALLOWANCE_ITEMS))
    if "AA0144" not in changes:
        r["AA0144"] = fmt(sum(value(r[n]) for n in SALARY_ITEMS))
    if ident is None:
        drop = tuple(drop) + ("AA0126",)
    out = []
    for name in order:
        if name not in drop:
            out.append((name, r[name]))
        for extra_name, extra in dup:
            if extra_name == name:
                out.append((name, extra))
    return out


def field(record, name):
    for n, v in record:
        if n == name:
            return v
    return None


def totals(records):
    """The employer totals that agree with its records."""
    headcount = sum(1 for r in records if math.trunc(value(field(r, "AA0137") or "0")) == 1)
    groups = {}
    for r in records:
        ident = field(r, "AA0126")
        if ident is not None:
            groups.setdefault(ident, []).append(r)
    for members in groups.values():
        c = sum(1 for r in members[:6] if math.trunc(value(field(r, "AA0137") or "0")) == 1)
        if c > 1:
            headcount -= c - 1
    a136 = sum(value(field(r, "AA0136") or "0") for r in records)
    a144 = sum(value(field(r, "AA0144") or "0") for r in records)
    return {
        "AA0116": str(round(a136)),
        "AA0123": fmt(2 * a144),
        "AA0114": fmt(a136),
        "AA0115": str(headcount),
        "AA0118": fmt(a144),
    }


def employer(records, number=0, **changes):
    """An employer of the example with the given records; the totals agree
    with them unless changed."""
    e = dict(EMPLOYER)
    e["AA0017"] = EMPLOYER_IDS[number]
    e.update(totals(records))
    e.update(changes)
    return [(name, e[name]) for name, _ in EMPLOYER], records


def write_case(name, about, employers, report="report.csv"):
    lines = list(HEADER[:-1])
    for elements, records in employers:
        lines.append("  <orv:zamestnavatel>")
        lines += [f"    <orv:{n}>{v}</orv:{n}>" for n, v in elements]
        for record in records:
            lines.append("    <orv:zamestnanec>")
            lines += [f"      <orv:{n}>{v}</orv:{n}>" for n, v in record]
            lines.append("    </orv:zamestnanec>")
        lines.append("  </orv:zamestnavatel>")
    lines += ["</orv:ORV>", ""]
    folder = os.path.join(CASES, name)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "in.xml"), "wb") as f:
        f.write("\r\n".join(lines).encode("latin-1"))
    with open(os.path.join(folder, "args"), "w") as f:
        f.write(f"in.xml\n{report}\n")
    with open(os.path.join(folder, "README.md"), "w") as f:
        f.write(about.strip() + "\n")


def one(name, about, records, report="report.csv", **changes):
    return name, about, [employer(records, **changes)], report


def ids(first, count, **changes):
    """count records of different employees from first on, taking the three
    example records in turn (so that education and year of birth vary)."""
    return [rec(str(first + i), base=i % 3, **changes) for i in range(count)]


CASE_LIST = [
    # ---- Employee closing rules, each inside, outside and with a failed gate.
    one("rule_el006_days_vs_years", """
EL006: 181 days in the register make 0.49 years (the days over 365, less
0.0005, cut to hundredths). Years of employment 0.49 pass, 0.48 are too few;
with AA0216 outside its range (ES216) the rule does not run.
""", [
        rec("2001", AA0225="0.49", AA0216="0"),
        rec("2002", AA0225="0.48", AA0216="0"),
        rec("2003", AA0225="0.48", AA0216="-1"),
    ]),
    one("rule_wl009_hours_vs_headcount", """
WL009: hours (AA0132 less AA0133, plus 8 hours per day of absence scaled by
the headcount and the days) must lie within 748.8 to 1248 times AA0136.
748.8 and 1248 pass, 748.79 and 1248.01 do not; the same with absence days
(700 hours and 7 days pass, 6 days do not) and with AA0133. AA0132 out of
range (ES132) stops the rule.
""", [
        rec("2001", AA0132="748.8"),
        rec("2002", AA0132="748.79"),
        rec("2003", AA0132="1248"),
        rec("2004", AA0132="1248.01"),
        rec("2005", AA0132="700", AA0219="7"),
        rec("2006", AA0132="700", AA0219="6"),
        rec("2007", AA0132="800", AA0133="51.21"),
        rec("2008", AA0132="10000"),
    ]),
    one("rule_el010_leave_vs_paid_absence", """
EL010: leave taken (AA0135) may equal the hours with pay compensation
(AA0134), 0.5 and 0.5, but not exceed them, 0.51; with AA0134 out of range
(ES134) the rule does not run.
""", [
        rec("2001", AA0134="0.5", AA0135="0.5"),
        rec("2002", AA0134="0.5", AA0135="0.51"),
        rec("2003", AA0134="-1", AA0135="0.51"),
    ]),
    one("rule_el051_exact_tariff", """
EL051 with increase code, class and step: the tariff must be the table's.
Code 2 class 5 step 3 is 11070 (11000 is not), code 1 class 1 step 1 is 6550,
the first of the table (6551 is not), code 3 class 16 step 12 is 39110, the
last (39109 is not). Not judged out of the headcount on the last day
(AA0137 = 2), nor with the step out of range (EL079).
""", [
        rec("2001", AA0129="2", AA0127="5", AA0128="3", AA0138="11070"),
        rec("2002", AA0129="2", AA0127="5", AA0128="3", AA0138="11000"),
        rec("2003", AA0129="1", AA0127="1", AA0128="1", AA0138="6550"),
        rec("2004", AA0129="1", AA0127="1", AA0128="1", AA0138="6551"),
        rec("2005", AA0129="3", AA0127="16", AA0128="12", AA0138="39110"),
        rec("2006", AA0129="3", AA0127="16", AA0128="12", AA0138="39109"),
        rec("2007", AA0138="11000", **NOT_IN_HEADCOUNT),
        rec("2008", AA0128="13", AA0138="11000"),
    ]),
    one("rule_el051_tariff_range", """
EL051 without a step: code 1 class 16 step 0 admits 22200 to 33350 (the
class's first and last tariff; 22199 and 40000 are outside, expected text
with two blanks before the dash). Increase code 0 admits the whole table,
6550 to 39110 (20000 passes; 6549 and 39111 are outside, one blank before
the dash). A tariff of seven digits (ES138) or increase code 4 (EL001) stops
the rule.
""", [
        rec("2001", AA0129="1", AA0127="16", AA0128="0", AA0138="22200"),
        rec("2002", AA0129="1", AA0127="16", AA0128="0", AA0138="33350"),
        rec("2003", AA0129="1", AA0127="16", AA0128="0", AA0138="40000"),
        rec("2004", AA0129="1", AA0127="16", AA0128="0", AA0138="22199"),
        rec("2005", AA0129="0", AA0138="20000"),
        rec("2006", AA0129="0", AA0138="6550"),
        rec("2007", AA0129="0", AA0138="39110"),
        rec("2008", AA0129="0", AA0138="6549"),
        rec("2009", AA0129="0", AA0138="39111"),
        rec("2010", AA0129="1", AA0127="16", AA0128="0", AA0138="1000000"),
        rec("2011", AA0129="4", AA0138="50000"),
    ]),
    one("rule_el012_personal_bonus", """
EL012: the personal bonus is at most half the highest tariff of classes 1 to
9 and the whole highest tariff from class 10. Code 1 class 9: limit 18890 / 2
= 9445 (9446 is over); class 10: limit 20510 (20511 is over). Not judged out
of the headcount on the last day, nor with the class out of range (EL044).
""", [
        rec("2001", AA0129="1", AA0127="9", AA0128="1", AA0138="12550", AA0139="9445"),
        rec("2002", AA0129="1", AA0127="9", AA0128="1", AA0138="12550", AA0139="9446"),
        rec("2003", AA0129="1", AA0127="10", AA0128="1", AA0138="13620", AA0139="20510"),
        rec("2004", AA0129="1", AA0127="10", AA0128="1", AA0138="13620", AA0139="20511"),
        rec("2005", AA0129="1", AA0127="9", AA0128="1", AA0138="12550", AA0139="9446",
            **NOT_IN_HEADCOUNT),
        rec("2006", AA0129="1", AA0127="17", AA0128="1", AA0138="12550", AA0139="99999"),
    ]),
    one("rule_el013_management_bonus", """
EL013: the management bonus is at most 0.6 times the highest tariff of the
class. Code 1 class 10: 0.6 x 20510 = 12306 (12307 is over); class 9:
0.6 x 18890 = 11334 (11335 is over). A bonus of seven digits (ES140) stops
the rule.
""", [
        rec("2001", AA0129="1", AA0127="10", AA0128="1", AA0138="13620", AA0140="12306"),
        rec("2002", AA0129="1", AA0127="10", AA0128="1", AA0138="13620", AA0140="12307"),
        rec("2003", AA0129="1", AA0127="9", AA0128="1", AA0138="12550", AA0140="11334"),
        rec("2004", AA0129="1", AA0127="9", AA0128="1", AA0138="12550", AA0140="11335"),
        rec("2005", AA0129="1", AA0127="10", AA0128="1", AA0138="13620", AA0140="1000000"),
    ]),
    one("rule_el015_salary_total", """
EL015: AA0144 is the sum of its eleven items; a negative item counts as it
is (12065 with AA0146 = -5). 12071 against 12070 is reported at the line of
the record's end tag. An item of seven digits (ES146) stops the rule.
""", [
        rec("2001"),
        rec("2002", AA0146="-5"),
        rec("2003", AA0144="12071"),
        rec("2004", AA0146="1000000", AA0144="12070"),
    ]),
    one("rule_wl016_leave_compensation", """
WL016: the compensation for leave (AA0159) is part of all compensations
(AA0158): 100 of 100 passes, 101 of 100 does not, nor 0 of -1. AA0159 of
seven digits (ES159) stops the rule.
""", [
        rec("2001", AA0158="100", AA0159="100"),
        rec("2002", AA0158="100", AA0159="101"),
        rec("2003", AA0158="-1", AA0159="0"),
        rec("2004", AA0158="100", AA0159="1000000"),
    ]),
    one("rule_el027_allowances_total", """
EL027: AA0150 is the sum of its eight items (400 + 700 - 100 = 1000 passes;
1001 against 1000 does not). An item of seven digits (ES151) stops the rule.
""", [
        rec("2001", AA0150="1000", AA0239="400", AA0151="700", AA0240="-100"),
        rec("2002", AA0150="1001", AA0239="1000"),
        rec("2003", AA0150="1000", AA0239="1000", AA0151="1000000"),
    ]),
    one("rule_el028_on_call_total", """
EL028: AA0161 is AA0237 + AA0238 (300 = 100 + 200 passes, 300 against 301
does not). AA0238 that is no number (ES238) stops the rule.
""", [
        rec("2001", AA0161="300", AA0237="100", AA0238="200"),
        rec("2002", AA0161="300", AA0237="100", AA0238="201"),
        rec("2003", AA0161="300", AA0237="100", AA0238="2x"),
    ]),
    one("rule_el037_zero_without_headcount", """
EL037: with AA0136 = 0 the items AA0132, AA0133, AA0134, AA0135, AA0210,
AA0218 and AA0219 must be 0: all zero passes; the smallest non-zero values
give one finding each, in that order, with their formats. AA0136 too long
(ES136) stops every item; AA0219 out of range (ES219) stops only its own.
""", [
        rec("2000"),
        rec("2001", AA0136="0", AA0137="2", AA0131="0", AA0132="0", AA0218="0"),
        rec("2002", AA0136="0", AA0137="2", AA0131="0", AA0132="1", AA0133="0.01",
            AA0134="0.01", AA0135="0.01", AA0210="1", AA0218="2", AA0219="1"),
        rec("2003", AA0136="0.00000", AA0137="2", AA0131="0", AA0132="1", AA0133="0.01",
            AA0134="0.01", AA0135="0.01", AA0210="1", AA0218="2", AA0219="1"),
        rec("2004", AA0136="0", AA0137="2", AA0131="0", AA0132="0", AA0218="2",
            AA0219="366"),
    ]),
    one("rule_el038_state_without_headcount", """
EL038: with AA0136 = 0 the employee is out of the headcount on the last day
(AA0137 = 2 passes, 1 does not; reported at the line of AA0138). AA0137 out
of range (ES137) stops the rule.
""", [
        rec("2000"),
        rec("2001", AA0136="0", AA0137="2", AA0131="0", AA0132="0", AA0218="0"),
        rec("2002", AA0136="0", AA0137="1", AA0131="0", AA0132="0", AA0218="0"),
        rec("2003", AA0136="0", AA0137="3", AA0131="0", AA0132="0", AA0218="0"),
    ]),
    one("rule_el059_state_with_full_headcount", """
EL059: with AA0136 = 1 the employee is in the headcount on the last day:
AA0137 = 2 passes with AA0136 = 0.9999 and not with 1. AA0137 = 0, out of
its range (ES137), stops the rule.
""", [
        rec("2001", AA0136="0.9999", AA0137="2"),
        rec("2002", AA0136="1", AA0137="2"),
        rec("2003", AA0136="1", AA0137="0"),
    ]),
    one("rule_wl060_weekly_hours", """
WL060: the weekly hours lie within 3620 to 10860 times AA0136 over AA0218.
Half time over 181 days: 10 to 30 (9.99 and 30.01 are outside). Full time:
20 to 60, printed as 20.00 to 40.00 (19 also gives EL070). 42 hours fail
their own range (EL005) and stop the rule. In the HTML format, with the
summary per code.
""", [
        rec("2001", **dict(HALF, AA0131="10")),
        rec("2002", **dict(HALF, AA0131="9.99")),
        rec("2003", **dict(HALF, AA0131="30")),
        rec("2004", **dict(HALF, AA0131="30.01")),
        rec("2005", AA0131="19"),
        rec("2006", **dict(HALF, AA0131="42")),
    ], report="report.htm"),
    one("rule_el066_headcount_vs_days", """
EL066: AA0136 is at most 1.1 times AA0218 over 181; for 163 days that is
0.990608 (to six decimals): 0.99 passes, 0.9907 does not. AA0136 = 1.5 out
of its range (ES136) stops the rule.
""", [
        rec("2001", AA0136="0.99", AA0218="163"),
        rec("2002", AA0136="0.9907", AA0218="163"),
        rec("2003", AA0136="1.5", AA0218="163"),
    ]),
    one("rule_el069_absence_vs_sickness_leave", """
EL069: days of absence cover the days of sickness and the leave in days (ten
times the hours, cut, over 80, or over 85 when the occupation code begins
with '0').
16 hours of leave and 3 days of sickness need 5 days (5 passes, 4 does not);
15.99 hours make 1 day (4 passes). 16.5 hours make 2 days at 80 (4 days do not
pass) but 1 day at 85 (occupation 01234, not in the list: EL046; 4 days
pass). AA0210 out of range (ES210) stops the rule.
""", [
        rec("2001", AA0134="16", AA0135="16", AA0210="3", AA0219="5"),
        rec("2002", AA0134="16", AA0135="16", AA0210="3", AA0219="4"),
        rec("2003", AA0134="15.99", AA0135="15.99", AA0210="3", AA0219="4"),
        rec("2004", AA0134="16.5", AA0135="16.5", AA0210="3", AA0219="4"),
        rec("2005", AA0013="01234", AA0134="16.5", AA0135="16.5", AA0210="3", AA0219="4"),
        rec("2006", AA0134="16", AA0135="16", AA0210="366", AA0219="4"),
    ]),
    one("rule_el070_reduced_hours_full_headcount", """
EL070: with AA0136 = 1 the weekly hours are at least 30 (30 passes, 29.99 and
20 do not). A decimal comma (EL005, no number) stops the rule.
""", [
        rec("2001", AA0131="30"),
        rec("2002", AA0131="29.99"),
        rec("2003", AA0131="20"),
        rec("2004", AA0131="29,5"),
    ]),
    one("rule_el071_full_headcount_whole_period", """
EL071: with AA0136 = 1 the employee was in the register all 181 days (180 does
not pass; with AA0136 = 0.9999 it does). AA0218 out of range (ES218) stops
the rule.
""", [
        rec("2001"),
        rec("2002", AA0218="180"),
        rec("2003", AA0136="0.9999", AA0218="180"),
        rec("2004", AA0218="366"),
    ]),
    one("rule_el073_headcount_without_days", """
EL073: no days in the register means AA0136 = 0 (0 passes, 0.0001 does not).
AA0136 out of range (ES136) stops the rule.
""", [
        rec("2001", AA0136="0", AA0137="2", AA0218="0", AA0132="0"),
        rec("2002", AA0136="0.0001", AA0218="0", AA0132="0"),
        rec("2003", AA0136="1.0001", AA0218="0", AA0132="0"),
    ]),
    one("rule_el076_years_vs_age", """
EL076: years of employment up to 2010 less the year of birth less 13: born
1982, 15 years pass and 15.01 do not (reported at the line of AA0218). Year
of birth 1997 out of range (EL002) stops the rule.
""", [
        rec("2001", base=1, AA0225="10", AA0216="5"),
        rec("2002", base=1, AA0225="10", AA0216="5.01"),
        rec("2003", base=1, AA0231="1997", AA0225="10", AA0216="5"),
    ]),
    one("rule_el077_days_in_register", """
EL077: at most 181 days in the register (182 does not pass). 366 out of the
element's range (ES218) stops the rule. AA0136 = 0.99 keeps EL071 out.
""", [
        rec("2001", AA0136="0.99", AA0218="181"),
        rec("2002", AA0136="0.99", AA0218="182"),
        rec("2003", AA0136="0.99", AA0218="366"),
    ]),
    one("rule_el078_days_of_absence", """
EL078: at most 130 days of absence (131 does not pass). 366 out of the
element's range (ES219) stops the rule.
""", [
        rec("2001", AA0132="0", AA0219="130"),
        rec("2002", AA0132="0", AA0219="131"),
        rec("2003", AA0132="0", AA0219="366"),
    ]),
    one("rule_el080_days_worked_and_absent", """
EL080: days worked (hours over 8) and days of absence fit into the days in the
register: 1448 hours are 181 days (passes), 1448.01 do not; 1000 hours and 56
days pass, 57 do not. So many hours also give WL009 (over 1248 an employee).
AA0133 out of range (ES133) stops the rule.
""", [
        rec("2001", AA0132="1448"),
        rec("2002", AA0132="1448.01"),
        rec("2003", AA0132="1000", AA0219="56"),
        rec("2004", AA0132="1000", AA0219="57"),
        rec("2005", AA0132="1448.01", AA0133="-1"),
    ]),
    one("record_missing_and_repeated_elements", """
ES303 and ES304 of a record, at the line of its end tag, in element order:
the second record has AA0133 twice (expected 2) and no AA0165; the third has
no AA0126, so its findings carry the previous record's employee, and it takes
no part in the groups of employees.
""", [
        rec("1001"),
        rec("1002", base=1, drop=("AA0165",), dup=(("AA0133", "0"),)),
        rec(None, base=2),
    ]),
]

# ---- Records of one employee -----------------------------------------------

THIRD = dict(AA0131="13.33", AA0136="0.3333", AA0132="300", AA0165="40.23")
PART = dict(AA0131="20", AA0136="0.85", AA0132="1000")

CASE_LIST += [
    one("group_two_records", """
Records of one employee, two each, among the records 9, 10, 10, 0123, 9, 123.
Identifiers compare as text: 10 sorts before 9, and 0123 and 123 are
different employees. The groups are 10 (records 2 and 3), then 9 (records 1
and 5, with three records between: the line list names the first record
first). Each group differs in sex (EL003 AA0211). Both employees are in the
headcount twice and count once.
""", [
        rec("9", **HALF),
        rec("10", **HALF),
        rec("10", AA0211="2", **HALF),
        rec("0123", **HALF),
        rec("9", AA0211="2", **HALF),
        rec("123", **HALF),
    ]),
    one("group_three_records", """
Three records of one employee in the headcount (states CZ, CZ, SK; 1000 hours
each): EL003 for the state with CZ against SK, WL007 twice (2000 and 3000
hours); the employee counts once in AA0115, so no EL021.
""", [
        rec("3001", **PART),
        rec("3002", base=1),
        rec("3001", **PART),
        rec("3003", base=2),
        rec("3001", AA0033="SK", **PART),
    ]),
    one("group_eight_records", """
Eight records of one employee: the line list names the first six and ends in
", ...... "; only those six take part. The second record's education differs
(EL003 AA0223); the seventh's year of birth is not compared. Six weekly funds
of 13.33 (79.98) and six times 300 hours (1800) pass, though eight would not;
the headcount counts the employee three times (8 - 6 + 1). In the text format.
""", [
        rec("3001", **THIRD),
        rec("3001", AA0223="K", **THIRD),
        rec("3001", **THIRD),
        rec("3001", **THIRD),
        rec("3001", **THIRD),
        rec("3001", **THIRD),
        rec("3001", AA0231="1971", **THIRD),
        rec("3001", **THIRD),
        rec("3002", base=1),
    ], report="report.txt"),
    one("group_el003_state_sex_education_year", """
EL003 per item: state, sex, education and year of birth, each alone, then all
four in one employee (in that order). A state not in the list (XX, EL047)
shows as "---"; two codes not in the list are equal, and a record without
AA0033 (ES303) counts as the list's first code, CZ. Of three records only the
first difference is reported (SK twice). Different years of employment (the
first employee) are no finding. 19 records, so that EL058 stays out. In the XML
format.
""", [
        rec("4001", **HALF), rec("4001", AA0033="SK", AA0225="3", AA0216="1", **HALF),
        rec("4002", **HALF), rec("4002", AA0211="2", **HALF),
        rec("4003", **HALF), rec("4003", AA0223="K", **HALF),
        rec("4004", **HALF), rec("4004", AA0231="1971", **HALF),
        rec("4005", **HALF), rec("4005", AA0033="XX", **HALF),
        rec("4006", AA0033="XX", **HALF), rec("4006", AA0033="XY", **HALF),
        rec("4007", **HALF), rec("4007", drop=("AA0033",), **HALF),
        rec("4008", **dict(HALF, AA0131="10", AA0136="0.3333", AA0132="300", AA0165="40.23")),
        rec("4008", AA0033="SK", **dict(HALF, AA0131="10", AA0136="0.3333", AA0132="300",
                                        AA0165="40.23")),
        rec("4008", AA0033="SK", **dict(HALF, AA0131="10", AA0136="0.3333", AA0132="300",
                                        AA0165="40.23")),
        rec("4009", **HALF),
        rec("4009", AA0033="SK", AA0211="2", AA0223="K", AA0231="1971", **HALF),
    ], report="report.xml"),
    one("group_wl049_wl007_limits", """
The working-time funds of an employee's records in the headcount: 40 + 40 = 80
gives WL049; 40 + 39.99 does not; 40 + 40 with the second record out of the
headcount (AA0137 = 2) does not. Hours: 936 + 936 = 1872 pass, 936 + 936.01
give WL007 (printed 1872, as "%10.0f" rounds).
""", [
        rec("5001", AA0132="936"), rec("5001", AA0132="936"),
        rec("5002", AA0132="936"), rec("5002", AA0131="39.99", AA0132="936"),
        rec("5003", AA0132="936"), rec("5003", AA0132="936", **NOT_IN_HEADCOUNT),
        rec("5004", AA0131="39.99", AA0132="936"),
        rec("5004", AA0131="39.99", AA0132="936.01"),
    ]),
    one("group_gate_last_record", """
WL049 and WL007 of the groups run only when the employer's last record has a
valid AA0131 (with AA0137) and AA0132. Here the last record has 42 weekly
hours (EL005) and 10000 hours (ES132): neither finding, though employee 5001
has 80 weekly hours and 2000 hours; EL003 for its sex still comes.
""", [
        rec("5001"), rec("5001", AA0211="2"),
        rec("5009", AA0131="42", AA0132="10000"),
    ]),
]

# ---- Employer totals and employer-wide rules ------------------------------


# A salary that meets EL058 (6 x 6550 = 39300 a full-time employee), for
# employers of more than 20 records.
FULL_PAY = dict(AA0145="39070", AA0165="40.07")


def full_ones(first, count):
    return [rec(str(first + i), base=i % 3) for i in range(count)]


CASE_LIST += [
    ("employer_headcount_correction", """
An employee with three records in the headcount counts once: the first
employer states AA0115 = 3 for five records (no EL021); the second states the
five records (EL021, expected 3).
""", [
        employer([rec("6001", **THIRD), rec("6002", base=1), rec("6001", **THIRD),
                  rec("6003", base=2), rec("6001", **THIRD)]),
        employer([rec("6001", **THIRD), rec("6002", base=1), rec("6001", **THIRD),
                  rec("6003", base=2), rec("6001", **THIRD)], number=1, AA0115="5"),
    ], "report.csv"),
    ("employer_el020_four_decimals", """
EL020 compares AA0114 with the sum of AA0136 to four decimals: 12.50001
against 12.5 pass; 12.5 against 12.5001 do not. The third employer's sum is
12.50001 through a value too long for AA0136 (ES136), which still counts:
12.5 passes.
""", [
        employer(full_ones(1001, 12) + [rec("1013", **HALF)], AA0114="12.50001"),
        employer(full_ones(1001, 12) + [rec("1013", **dict(HALF, AA0136="0.5001"))],
                 number=1, AA0114="12.5"),
        employer(full_ones(1001, 12) + [rec("1013", **dict(HALF, AA0136="0.50001"))],
                 number=2, AA0114="12.5"),
    ], "report.csv"),
    one("employer_el020_el021_el022", """
The employer's totals against the sums over its records, each off by the
least: AA0114 3.0001 against 3 (EL020), AA0115 4 against 3 (EL021), AA0118
36211 against 36210 (EL022).
""", [rec("1001"), rec("1002", base=1), rec("1003", base=2)],
        AA0114="3.0001", AA0115="4", AA0118="36211"),
    ("employer_totals_gates", """
Totals that fail their own checks are not compared with the sums: the second
employer's AA0114 = 0 (EL057), AA0115 = 3.5 and AA0118 = 36210.5 (no whole
numbers: ES115, ES118) give no EL020, EL021 or EL022.
""", [
        employer([rec("1001"), rec("1002", base=1), rec("1003", base=2)]),
        employer([rec("1001"), rec("1002", base=1), rec("1003", base=2)], number=1,
                 AA0114="0", AA0115="3.5", AA0118="36210.5"),
    ], "report.csv"),
    ("employer_el084_counts", """
EL084 needs 20 records or more and more than half of them with average hourly
earnings that do not fit the salary per hour (12.07 here: 24.15 and 6.03 do
not fit, 24.14 and 6.035 do). 19 records that all do not fit: no finding; 20
records, 10 of them: none; 20 records, 11 of them: EL084, at the employer's
end tag.
""", [
        employer(ids(7001, 19, AA0165="24.15")),
        employer(ids(7001, 5, AA0165="24.15") + ids(7006, 5, AA0165="6.03")
                 + ids(7011, 5, AA0165="24.14") + ids(7016, 5, AA0165="6.035"), number=1),
        employer(ids(7001, 6, AA0165="24.15") + ids(7007, 5, AA0165="6.03")
                 + ids(7012, 5, AA0165="24.14") + ids(7017, 4, AA0165="6.035"), number=2),
    ], "report.csv"),
    ("employer_el058_counts", """
EL058: with AA0114 = 30.5 the salaries paid must reach 6 x 30.5 x 6550 =
1198650; AA0118 = 1000000 is judged only from 21 records on. 20 records: no
EL058; 21 records: EL058. AA0114 stands against 20 and 21 employees, so both
employers also get EL020.
""", [
        employer(ids(8001, 20, AA0145="49000", AA0165="50"),
                 AA0114="30.5", AA0116="30", AA0118="1000000", AA0123="2000000"),
        employer(ids(8001, 20, AA0145="46619", AA0165="47.62")
                 + [rec("8021", AA0145="46620", AA0165="47.62")], number=1,
                 AA0114="30.5", AA0116="30", AA0118="1000000", AA0123="2000000"),
    ], "report.csv"),
    ("employer_el081_el082_counts", """
EL081 (every record with the same education) and EL082 (more than half below
C) need 50 records or more. 49 records of education A: nothing; 50 of A: both;
26 of B and 24 of M: EL082; 50 of M: EL081. At the employer's end tag. The
salaries are high enough for EL058.
""", [
        employer(ids(9001, 49, AA0223="A", **FULL_PAY)),
        employer(ids(9001, 50, AA0223="A", **FULL_PAY), number=1),
        employer(ids(9001, 26, AA0223="B", **FULL_PAY) + ids(9027, 24, AA0223="M", **FULL_PAY),
                 number=2),
        employer(ids(9001, 50, AA0223="M", **FULL_PAY), number=3),
    ], "report.csv"),
    ("employer_wl042_counts", """
WL042 (everyone in the headcount on the last day) needs more than 50 records:
50 records: none; 51: WL042; 51 with one out of the headcount (AA0137 = 2):
none. The salaries are high enough for EL058.
""", [
        employer(ids(9001, 50, **FULL_PAY)),
        employer(ids(9001, 51, **FULL_PAY), number=1),
        employer(ids(9001, 50, **FULL_PAY) + [rec("9051", **FULL_PAY, **NOT_IN_HEADCOUNT)],
                 number=2),
    ], "report.csv"),
    ("employer_wl053_three_letter_state", """
WL053 at the employer's end, for the last three-letter state code (SVK, at its
line; CZE before it). The second employer has two-letter codes only: the flag
starts afresh with each employer.
""", [
        employer([rec("1001"), rec("1002", base=1, AA0033="CZE"),
                  rec("1003", base=2, AA0033="SVK")]),
        employer([rec("1001"), rec("1002", base=1), rec("1003", base=2)], number=1),
    ], "report.csv"),
    one("employer_without_records", """
An employer without employee records: ES309 at its end tag, after EL020, EL021
and EL022 for its totals against zero sums.
""", [], AA0114="3", AA0115="3", AA0116="3", AA0118="36210", AA0123="72420"),
]


def main(names):
    known = {case[0] for case in CASE_LIST}
    for name in names:
        if name not in known:
            sys.exit(f"no case {name}")
    for name, about, employers, report in CASE_LIST:
        if not names or name in names:
            write_case(name, about, employers, report)


if __name__ == "__main__":
    main(sys.argv[1:])
