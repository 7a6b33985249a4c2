#!/usr/bin/env python3
"""Generator of realistic ORV submissions (Windows-1250) for benchmarks and tests.

A clean output (no --faulty) gives no finding at all with the sample registers
shipped in data/: the employers are the benchmark providers 71000000..71009999
under submitter 10000003, and every record and every employer total agrees with
every rule. With --faulty a share of the records gets one faulty value each,
drawn from a wide set of rules. The output is written as it is made, so memory
stays constant whatever the size: each employer is made twice from the same
seed, once to sum its totals (which stand before its records) and once to write.

    gen_orv.py --employers 40 --records 5000 [--multi 0.05] [--faulty 0.1]
               [--seed 1] [--crlf] [OUTPUT]      (no OUTPUT or "-": stdout)
"""

import argparse
import bisect
import itertools
import random
import sys

SUBMITTER = "10000003"
ENCODING = "cp1250"

# Salary tariffs: increase code 1..3, class 1..16, step 1..12.
TARIFFS = [
    [
        [6550, 6790, 7050, 7320, 7600, 7890, 8190, 8500, 8820, 9150, 9510, 9870],
        [7110, 7370, 7650, 7940, 8240, 8550, 8890, 9230, 9580, 9940, 10320, 10720],
        [7710, 8000, 8300, 8620, 8950, 9290, 9640, 10000, 10390, 10780, 11190, 11620],
        [8350, 8670, 9000, 9340, 9690, 10070, 10450, 10840, 11260, 11680, 12120, 12580],
        [9060, 9400, 9770, 10140, 10520, 10920, 11340, 11770, 12220, 12680, 13160, 13660],
        [9830, 10200, 10580, 10990, 11400, 11840, 12280, 12750, 13230, 13730, 14250, 14780],
        [10660, 11060, 11480, 11920, 12370, 12840, 13330, 13830, 14360, 14910, 15480, 16070],
        [11570, 12000, 12460, 12930, 13420, 13930, 14450, 15000, 15570, 16160, 16770, 17400],
        [12550, 13030, 13520, 14040, 14570, 15120, 15690, 16280, 16900, 17540, 18200, 18890],
        [13620, 14130, 14670, 15230, 15810, 16410, 17030, 17670, 18350, 19040, 19760, 20510],
        [14780, 15340, 15920, 16520, 17140, 17800, 18470, 19160, 19890, 20640, 21420, 22230],
        [16020, 16630, 17260, 17910, 18580, 19290, 20010, 20770, 21550, 22370, 23220, 24100],
        [17370, 18030, 18720, 19420, 20160, 20920, 21710, 22530, 23380, 24260, 25170, 26120],
        [18850, 19570, 20300, 21070, 21860, 22690, 23550, 24440, 25360, 26310, 27310, 28340],
        [20470, 21240, 22050, 22880, 23740, 24640, 25570, 26530, 27540, 28570, 29650, 30770],
        [22200, 23030, 23900, 24800, 25740, 26710, 27710, 28760, 29840, 30970, 32140, 33350],
    ],
    [
        [7420, 7700, 7980, 8280, 8610, 8940, 9280, 9630, 9990, 10380, 10770, 11180],
        [8050, 8360, 8680, 9010, 9350, 9700, 10080, 10460, 10850, 11270, 11690, 12140],
        [8730, 9060, 9400, 9770, 10140, 10520, 10920, 11340, 11770, 12220, 12680, 13160],
        [9460, 9830, 10200, 10580, 10990, 11400, 11840, 12280, 12750, 13230, 13730, 14250],
        [10270, 10670, 11070, 11490, 11930, 12380, 12850, 13340, 13840, 14370, 14920, 15490],
        [11130, 11560, 11990, 12450, 12920, 13410, 13920, 14440, 14990, 15560, 16150, 16760],
        [12070, 12530, 13000, 13500, 14010, 14540, 15080, 15650, 16240, 16850, 17500, 18160],
        [13110, 13600, 14120, 14660, 15220, 15800, 16400, 17020, 17660, 18330, 19030, 19750],
        [14220, 14750, 15310, 15890, 16490, 17110, 17770, 18440, 19130, 19860, 20610, 21390],
        [15420, 16000, 16610, 17240, 17890, 18560, 19270, 19990, 20750, 21530, 22350, 23200],
        [16750, 17380, 18050, 18730, 19430, 20170, 20930, 21720, 22540, 23390, 24270, 25190],
        [18150, 18830, 19550, 20280, 21050, 21840, 22670, 23530, 24420, 25340, 26290, 27290],
        [19680, 20430, 21200, 22000, 22830, 23690, 24580, 25510, 26470, 27470, 28510, 29590],
        [21360, 22160, 23000, 23870, 24770, 25700, 26680, 27680, 28730, 29810, 30940, 32110],
        [23180, 24060, 24970, 25910, 26880, 27900, 28950, 30050, 31190, 32370, 33590, 34850],
        [25150, 26100, 27080, 28110, 29160, 30260, 31400, 32580, 33810, 35080, 36410, 37780],
    ],
    [
        [7680, 7970, 8260, 8570, 8920, 9260, 9610, 9970, 10340, 10750, 11150, 11580],
        [8340, 8660, 8990, 9330, 9680, 10040, 10440, 10830, 11230, 11670, 12100, 12570],
        [9040, 9380, 9730, 10120, 10500, 10890, 11310, 11740, 12190, 12650, 13130, 13630],
        [9800, 10180, 10560, 10960, 11380, 11800, 12260, 12710, 13200, 13700, 14220, 14750],
        [10630, 11050, 11460, 11900, 12350, 12820, 13300, 13810, 14330, 14880, 15450, 16040],
        [11520, 11970, 12410, 12890, 13380, 13880, 14410, 14950, 15520, 16110, 16720, 17350],
        [12500, 12970, 13460, 13980, 14510, 15050, 15610, 16200, 16810, 17440, 18120, 18800],
        [13570, 14080, 14620, 15180, 15760, 16360, 16980, 17620, 18280, 18980, 19700, 20450],
        [14720, 15270, 15850, 16450, 17070, 17710, 18400, 19090, 19800, 20560, 21340, 22140],
        [15960, 16560, 17200, 17850, 18520, 19210, 19950, 20690, 21480, 22290, 23140, 24020],
        [17340, 17990, 18690, 19390, 20120, 20880, 21670, 22490, 23330, 24210, 25120, 26080],
        [18790, 19490, 20240, 20990, 21790, 22610, 23470, 24360, 25280, 26230, 27220, 28250],
        [20370, 21150, 21950, 22770, 23630, 24520, 25450, 26410, 27400, 28440, 29510, 30630],
        [22110, 22940, 23810, 24710, 25640, 26600, 27620, 28650, 29740, 30860, 32030, 33240],
        [24000, 24910, 25850, 26820, 27830, 28880, 29970, 31110, 32290, 33510, 34770, 36070],
        [26040, 27020, 28030, 29100, 30190, 31320, 32500, 33730, 35000, 36310, 37690, 39110],
    ],
]
LOWEST_TARIFF = 6550

# Code-list values that draw no finding: occupations whose fifth digit is not 0
# (a 0 draws a warning), the two states of two letters that draw none.
OCCUPATIONS = ["12111", "21311", "23101", "24111", "33101", "41121",
               "51221", "71241", "83221", "91321", "93399"]
EDUCATION = "ABCDEHJKLMNRTV"
# Weights keep the codes below C (A, B) well under half of any employer.
EDUCATION_CUMULATIVE = list(itertools.accumulate([3, 4, 8, 6, 5, 7, 5, 14, 6, 20, 6, 8, 4, 4]))
# Salary classes 1..16, most in the middle.
CLASSES = range(1, 17)
CLASS_CUMULATIVE = list(itertools.accumulate([1, 2, 3, 4, 6, 8, 9, 10, 10, 10, 9, 8, 6, 4, 3, 2]))
POSITIONS = ["1111", "1112", "1121", "1122", "1311", "1312", "1313", "1320"]
LEGAL_FORMS = ["301", "312", "313", "314", "325", "331", "352", "361", "381",
               "391", "401", "421", "501", "521", "541", "601", "611", "621",
               "625", "631", "651", "701", "705", "711", "715", "721", "731",
               "732", "741", "745", "751", "761", "771", "801", "804", "901",
               "911", "921"]
DISTRICTS = ["CZ0100"] + ["CZ02%02d" % i for i in range(1, 10)] + [
    "CZ020A", "CZ020B", "CZ020C"] + ["CZ031%d" % i for i in range(1, 8)] + [
    "CZ032%d" % i for i in range(1, 8)] + ["CZ041%d" % i for i in range(1, 4)] + [
    "CZ042%d" % i for i in range(1, 8)] + ["CZ051%d" % i for i in range(1, 5)] + [
    "CZ052%d" % i for i in range(1, 6)] + ["CZ053%d" % i for i in range(1, 5)] + [
    "CZ063%d" % i for i in range(1, 6)] + ["CZ064%d" % i for i in range(1, 8)] + [
    "CZ071%d" % i for i in range(1, 6)] + ["CZ072%d" % i for i in range(1, 5)] + [
    "CZ080%d" % i for i in range(1, 7)]

# Shares of full working time of a single record; the records of one employee together
# keep under 80 weekly hours and 1872 hours in the period.
SHARES = [1.0] * 14 + [0.75, 0.5, 0.5, 0.25]
GROUP_SHARES = [(1.0, 0.5), (0.5, 0.5), (0.75, 0.5), (0.5, 0.25), (1.0, 0.25),
                (0.5, 0.5, 0.5), (0.5, 0.25, 0.5), (0.75, 0.25, 0.25)]

DAYS = 181            # calendar days of the period
WORKING_DAYS = 130    # working days of the period


def check_digit_number(prefix7):
    """The identification number made of seven digits and their check digit."""
    s = sum(w * int(d) for w, d in zip(range(8, 1, -1), prefix7))
    c = 11 - s % 11
    if c > 9:
        c -= 10
    return prefix7 + str(c)


def provider_number(index):
    """The index-th benchmark provider of the sample register (1000 of them)."""
    return check_digit_number("7100%03d" % (index % 1000))


def tariff(v, c, s):
    return TARIFFS[v - 1][c - 1][s - 1]


def number_text(x, places):
    """A decimal text with at most the given places, without trailing zeros."""
    text = "%.*f" % (places, x)
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def read_number(text):
    """The value the checker sums for a content: its number, or 0 when the
    content is not a plain decimal number."""
    t = text.lstrip(" ")
    body = t[1:] if t[:1] in "+-" else t
    if not body or body.count(".") > 1 or not body.replace(".", "").isdigit():
        return 0.0
    return float(t)


def pick(rng, seq):
    """One item of a sequence (cheaper than Random.choice, which counts here)."""
    return seq[int(rng.random() * len(seq))]


def between(rng, low, high):
    """A whole number from low to high, both included."""
    return low + int(rng.random() * (high - low + 1))


def weighted(rng, seq, cumulative):
    return seq[bisect.bisect(cumulative, rng.random() * cumulative[-1])]


class Person:
    """What the records of one employee share."""

    def __init__(self, rng, ident):
        self.ident = ident
        self.year = between(rng, 1950, 1990)
        self.sex = pick(rng, "12")
        self.education = weighted(rng, EDUCATION, EDUCATION_CUMULATIVE)
        self.state = "SK" if rng.random() < 0.03 else "CZ"
        self.district = pick(rng, DISTRICTS)
        # Years of employment: at least half a year (the days in the register
        # demand it), never more than the years since the age of 13.
        limit = 2010 - self.year - 13
        self.years_before = between(rng, 1, min(25, limit - 1))
        self.years_here = between(rng, 0, min(10, limit - self.years_before))


def make_record(rng, person, share, leaver):
    """The 58 elements of one clean record, as (name, text) pairs."""
    days = DAYS
    if leaver:
        days = between(rng, 20, DAYS - 1)
    elif rng.random() < 0.1:
        days = between(rng, 20, DAYS)
    headcount = round(share * days / DAYS, 4)
    weekly = round(pick(rng, (40.0, 37.5)) * share, 2)
    working_days = WORKING_DAYS * days / DAYS

    sick = pick(rng, (0, 0, 0, 0, 2, 5, 10)) if days > 60 else 0
    leave_days = between(rng, 0, 12) if days > 60 else 0
    absent = sick + leave_days
    leave_hours = 8 * leave_days
    paid_absence = leave_hours + pick(rng, (0, 0, 8, 16))
    worked = share * 8 * (working_days - absent) * rng.uniform(0.9, 1.05)
    overtime = pick(rng, (0, 0, 0, 4, 12.5))
    hours = round((worked + overtime) * 2) / 2

    v = pick(rng, (1, 2, 2, 3))
    c = weighted(rng, CLASSES, CLASS_CUMULATIVE)
    s = between(rng, 1, 12)
    base = tariff(v, c, s)
    top = tariff(v, c, 12)
    bonus_limit = top / 2 if c < 10 else top
    bonus = int(rng.uniform(0, 0.8) * bonus_limit) // 10 * 10
    management = int(rng.uniform(0.1, 0.5) * 0.6 * top) // 10 * 10 if rng.random() < 0.1 else 0

    months = 6 * headcount
    pay_base = round(base * months)
    pay_bonus = round(bonus * months)
    pay_management = round(management * months)
    pay_extra = pick(rng, (0, 0, 0, 500, 1200, 3000))
    pay_other = pick(rng, (0, 0, 0, 0, 800))
    pay_small = pick(rng, (0, 0, 0, 0, 300))
    allowances = [pick(rng, (0, 0, 0, 400, 1500)) for _ in range(8)]
    allowance_total = sum(allowances)
    rewards = pick(rng, (0, 0, 0, 0, 2000, 5000))
    rewards_other = pick(rng, (0, 0, 0, 0, 0, 1000))
    on_call = [pick(rng, (0, 0, 0, 0, 600)), pick(rng, (0, 0, 0, 0, 0, 900))]
    on_call_total = sum(on_call)
    hourly_rate = (pay_base + pay_bonus) / hours
    leave_pay = round(leave_hours * hourly_rate)
    compensation = leave_pay + round(paid_absence - leave_hours) * round(hourly_rate)
    salary = (pay_base + pay_bonus + pay_management + pay_extra + pay_other
              + pay_small + allowance_total + rewards + rewards_other
              + on_call_total + compensation)
    hourly = round((salary - compensation - on_call_total) / hours, 2)

    return [
        ("AA0126", person.ident),
        ("AA0231", str(person.year)),
        ("AA0211", person.sex),
        ("AA0223", person.education),
        ("AA0033", person.state),
        ("AA0013", pick(rng, OCCUPATIONS)),
        ("AA0125", pick(rng, "0112")),
        ("AA0130", pick(rng, ("1", "1", "10"))),
        ("AA0131", number_text(weekly, 2)),
        ("AA0225", str(person.years_before)),
        ("AA0216", str(person.years_here)),
        ("AA0132", number_text(hours, 1)),
        ("AA0133", number_text(overtime, 1)),
        ("AA0134", str(paid_absence)),
        ("AA0135", str(leave_hours)),
        ("AA0136", number_text(headcount, 4)),
        ("AA0137", "2" if leaver else "1"),
        ("AA0127", str(c)),
        ("AA0128", str(s)),
        ("AA0129", str(v)),
        ("AA0138", str(base)),
        ("AA0139", str(bonus)),
        ("AA0140", str(management)),
        ("AA0141", str(pick(rng, (0, 0, 0, 1000)))),
        ("AA0142", "0"),
        ("AA0143", str(pick(rng, (0, 0, 250)))),
        ("AA0144", str(salary)),
        ("AA0145", str(pay_base)),
        ("AA0146", str(pay_bonus)),
        ("AA0147", str(pay_management)),
        ("AA0148", str(pay_extra)),
        ("AA0160", str(pay_other)),
        ("AA0162", str(pay_small)),
        ("AA0150", str(allowance_total)),
        ("AA0239", str(allowances[0])),
        ("AA0240", str(allowances[1])),
        ("AA0151", str(allowances[2])),
        ("AA0152", str(allowances[3])),
        ("AA0153", str(allowances[4])),
        ("AA0154", str(allowances[5])),
        ("AA0155", str(allowances[6])),
        ("AA0156", str(allowances[7])),
        ("AA0157", str(rewards)),
        ("AA0163", str(rewards_other)),
        ("AA0161", str(on_call_total)),
        ("AA0237", str(on_call[0])),
        ("AA0238", str(on_call[1])),
        ("AA0158", str(compensation)),
        ("AA0159", str(leave_pay)),
        ("AA0165", number_text(hourly, 2)),
        ("AA0166", str(salary * 2)),
        ("AA0167", "0"),
        ("AA0168", str(pick(rng, (0, 0, 120)))),
        ("AA0091", pick(rng, POSITIONS)),
        ("AA0210", str(sick)),
        ("AA0218", str(days)),
        ("AA0219", str(absent)),
        ("AA0690", person.district),
    ]


# Faults: each changes one value of a record (or the set of its elements) so
# that some rule fires. They are drawn evenly.
def _set(name, text):
    def fault(rng, record):
        for i, (n, _) in enumerate(record):
            if n == name:
                record[i] = (n, text(rng, record) if callable(text) else text)
    return fault


def _value(record, name):
    for n, t in record:
        if n == name:
            return t
    return ""


def _shift(name, delta):
    return _set(name, lambda rng, r: str(int(read_number(_value(r, name))) + delta))


def _drop(name):
    def fault(rng, record):
        record[:] = [(n, t) for n, t in record if n != name]
    return fault


def _repeat(name):
    def fault(rng, record):
        i = [n for n, _ in record].index(name)
        record.insert(i + 1, record[i])
    return fault


def _unknown(rng, record):
    record.insert(rng.randint(1, len(record) - 1), ("AA0999", "5"))


FAULTS = [
    _set("AA0231", "1905"),                                # year of birth range
    _set("AA0231", "19a0"),                                # not a number
    _set("AA0211", "3"),                                   # sex range
    _set("AA0223", "F"),                                   # education code list
    _set("AA0033", "XX"),                                  # unknown state
    _set("AA0033", "DE"),                                  # foreign state
    _set("AA0033", "CZE"),                                 # three-letter state
    _set("AA0013", "99999"),                               # unknown occupation
    _set("AA0013", "11210"),                               # occupation ending in 0
    _set("AA0013", "1234"),                                # occupation length
    _set("AA0130", "2"),                                   # employment relation
    _set("AA0131", "42"),                                  # weekly hours range
    _set("AA0225", "80"),                                  # years against age
    _set("AA0132", "12345678"),                            # hours length
    _set("AA0133", "1,5"),                                 # decimal comma
    _shift("AA0135", 2000),                                # leave above paid absence
    _set("AA0127", "17"),                                  # salary class range
    _set("AA0128", "13"),                                  # salary step range
    _set("AA0129", "4"),                                   # increase code range
    _shift("AA0138", 10),                                  # tariff mismatch
    _set("AA0138", "12a"),                                 # tariff not a number
    _shift("AA0139", 40000),                               # personal bonus limit
    _shift("AA0140", 30000),                               # management bonus limit
    _set("AA0140", ""),                                    # empty element
    _shift("AA0144", 100),                                 # salary total
    _shift("AA0239", 50),                                  # allowances total
    _shift("AA0237", 70),                                  # on-call total
    _shift("AA0159", 500000),                              # leave compensation
    _set("AA0165", "0.01"),                                # hourly earnings
    _set("AA0091", "1999"),                                # position code list
    _shift("AA0210", 60),                                  # sickness against absence
    _set("AA0218", "200"),                                 # days in the register
    _set("AA0219", "140"),                                 # days of absence
    _set("AA0690", "CZ0999"),                              # district code list
    _set("AA0690", "PL0101"),                              # district range
    _drop("AA0167"),                                       # missing element
    _repeat("AA0142"),                                     # repeated element
    _unknown,                                              # element not in the table
]


def record_totals(record):
    """What the employer totals take from a record: its headcount share, its
    register state on the last day and its salary, as the checker reads them."""
    values = dict(record)
    return (read_number(values.get("AA0136", "")),
            read_number(values.get("AA0137", "")),
            read_number(values.get("AA0144", "")),
            values.get("AA0126"))


def employer_records(seed, count, multi, faulty):
    """The records of one employer, in file order, made from its own seed."""
    rng = random.Random(seed)
    made = 0
    number = rng.randint(1000, 5000)
    leaver_left = count > 50         # one record must be out of the headcount
    first_education = None
    while made < count:
        number += rng.randint(1, 9)
        person = Person(rng, "%07d" % number)
        if first_education is None:
            first_education = person.education
        elif first_education is not False:
            # The second employee's education differs from the first's: a
            # large employer with one code throughout draws a finding.
            if person.education == first_education:
                person.education = EDUCATION[(EDUCATION.index(person.education) + 7) % 14]
            first_education = False
        if count - made >= 2 and rng.random() < multi:
            shares = rng.choice(GROUP_SHARES)[:count - made]
        else:
            shares = (rng.choice(SHARES),)
        for k, share in enumerate(shares):
            leaver = rng.random() < 0.02
            if leaver_left and made >= count // 2:
                leaver = True
            if leaver:
                leaver_left = False
            record = make_record(rng, person, share, leaver)
            if faulty and rng.random() < faulty:
                if k > 0 and rng.random() < 0.2:
                    # A group fault: the second record of an employee differs.
                    _set("AA0211", "2" if person.sex == "1" else "1")(rng, record)
                else:
                    rng.choice(FAULTS)(rng, record)
            made += 1
            yield record


class Writer:
    """Buffered Windows-1250 output; texts are written with LF line ends,
    turned into CR LF on the way out when asked."""

    def __init__(self, stream, crlf):
        self.stream = stream
        self.crlf = crlf
        self.parts = []
        self.size = 0

    def write(self, text):
        self.parts.append(text)
        self.size += len(text)
        if self.size > 1 << 20:
            self.flush()

    def line(self, text):
        self.write(text + "\n")

    def flush(self):
        text = "".join(self.parts)
        if self.crlf:
            text = text.replace("\n", "\r\n")
        self.stream.write(text.encode(ENCODING))
        self.parts = []
        self.size = 0


def element(name, text, indent):
    return "%s<orv:%s>%s</orv:%s>" % (indent, name, text, name)


def write_header(out):
    out.line('<?xml version="1.0" encoding="windows-1250"?>')
    out.line('<orv:ORV verze="1.6" xmlns:orv="http://www.orv.example/schemas/2004/ORV/1.6/">')
    for name, text in (("rok", "2010"), ("AA0226", "1-6"),
                       ("ICOpredkladatele", SUBMITTER),
                       ("predkladatel", "Městský úřad Předkladov"),
                       ("autor", "Jana Nováková"),
                       ("mail", "novakova@example.cz"),
                       ("telefon", "+420 123 456 789"),
                       ("vytvoreno", "2010-07-15T08:30:00")):
        out.line(element(name, text, "  "))


def summarise(seed, count, multi, faulty):
    """The employer's totals from a first pass over its records: the sum of
    the headcount shares, the headcount on the last day with each employee
    counted once, and the sum of salaries."""
    shares = 0.0
    salaries = 0.0
    in_register = 0
    ident_before = None
    counted_before = False
    for record in employer_records(seed, count, multi, faulty):
        share, state, salary, ident = record_totals(record)
        shares += share
        salaries += salary
        same = ident is not None and ident == ident_before
        if state == 1 and not (same and counted_before):
            in_register += 1
        counted_before = (state == 1) or (same and counted_before)
        ident_before = ident
    return shares, in_register, salaries


def write_employer(out, rng, index, count, multi, faulty):
    seed = rng.getrandbits(64)
    shares, in_register, salaries = summarise(seed, count, multi, faulty)
    own_funds = 0 if rng.random() < 0.5 else int(salaries * rng.uniform(0.01, 0.1))
    budget = 2 * (int(salaries) - own_funds)
    fields = [
        ("AA0017", provider_number(index)),
        ("AA0113", ""),
        ("AA0019", rng.choice(LEGAL_FORMS)),
        ("AA0179", rng.choice(DISTRICTS)),
        ("AA0110", "201006%02d" % rng.randint(1, 30)),
        ("AA0116", str(max(1, round(shares)))),
        ("AA0123", str(budget)),
        ("AA0114", number_text(shares, 4)),
        ("AA0115", str(in_register)),
        ("AA0118", str(int(salaries))),
        ("AA0119", str(own_funds)),
    ]
    out.line("  <orv:zamestnavatel>")
    for name, text in fields:
        out.line(element(name, text, "    "))
    for record in employer_records(seed, count, multi, faulty):
        out.write("".join(["    <orv:zamestnanec>\n"]
                          + ["      <orv:%s>%s</orv:%s>\n" % (n, t, n) for n, t in record]
                          + ["    </orv:zamestnanec>\n"]))
    out.line("  </orv:zamestnavatel>")


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--employers", type=int, default=1)
    parser.add_argument("--records", type=int, default=100, help="records per employer")
    parser.add_argument("--multi", type=float, default=0.0,
                        help="share of employees with two or three records")
    parser.add_argument("--faulty", type=float, default=0.0,
                        help="share of records with one faulty value")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--crlf", action="store_true", help="CR LF line ends")
    parser.add_argument("output", nargs="?", default="-")
    args = parser.parse_args(argv)
    if args.employers < 0 or args.records < 1:
        parser.error("--employers must be 0 or more and --records 1 or more")
    if not (0 <= args.multi <= 1 and 0 <= args.faulty <= 1):
        parser.error("--multi and --faulty are shares from 0 to 1")
    return args


def main(argv):
    args = parse_arguments(argv)
    stream = sys.stdout.buffer if args.output == "-" else open(args.output, "wb")
    try:
        out = Writer(stream, args.crlf)
        rng = random.Random(args.seed)
        write_header(out)
        for index in range(args.employers):
            write_employer(out, rng, index, args.records, args.multi, args.faulty)
        out.line("</orv:ORV>")
        out.flush()
    finally:
        if stream is not sys.stdout.buffer:
            stream.close()
        else:
            stream.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
