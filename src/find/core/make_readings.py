#!/usr/bin/python3
"""Makes the table of every Mandarin reading of each Han character from Unicode's Unihan data
(kMandarin, kHanyuPinyin, kXHC1983, kTGHZ2013): toneless, lower case, ü as v, as pinyin input
methods type them. The characters come in runs of consecutive code points; each has its list of
readings, each reading a number into the list of syllables.
usage: make_readings.py Unihan_Readings.txt.bz2 OUTPUT.cpp"""
import bz2
import re
import sys
import unicodedata

# The everyday reading first, then the dictionaries'.
FIELDS = ["kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin"]


def toneless(reading):
    plain = ""
    for c in unicodedata.normalize("NFD", reading.lower()):
        if c == "\u0308" and plain.endswith("u"):
            plain = plain[:-1] + "v"
        elif "a" <= c <= "z":
            plain += c
    return plain


fields = {}
with bz2.open(sys.argv[1], "rt", encoding="utf-8") as source:
    for line in source:
        if line.startswith("#") or not line.strip():
            continue
        code, field, value = line.rstrip("\n").split("\t", 2)
        if field in FIELDS:
            fields.setdefault(int(code[2:], 16), {})[field] = value
readings = {}
for code, values in fields.items():
    listed = readings.setdefault(code, [])
    for field in FIELDS:
        # The dictionaries put locations before a colon; kMandarin has none.
        for entry in values.get(field, "").split():
            for word in entry.split(":", 1)[-1].split(","):
                syllable = toneless(word)
                if syllable and syllable not in listed:
                    listed.append(syllable)

syllables = sorted({s for listed in readings.values() for s in listed})
number = {s: i for i, s in enumerate(syllables)}
codes = sorted(c for c in readings if readings[c])
runs = []  # (first code point, count, first character's index)
for i, c in enumerate(codes):
    if runs and runs[-1][0] + runs[-1][1] == c:
        runs[-1][1] += 1
    else:
        runs.append([c, 1, i])
offsets, ids = [], []
for c in codes:
    offsets.append(len(ids))
    ids += [number[s] for s in readings[c]]
offsets.append(len(ids))
assert len(ids) < 65536 and len(codes) < 65536 and len(syllables) < 65536

def rows(values, per=16):
    return ",\n".join("    " + ", ".join(str(v) for v in values[i:i + per]) for i in range(0, len(values), per))

with open(sys.argv[2], "w", encoding="utf-8") as out:
    out.write("// Made by make_readings.py from Unihan_Readings.txt; not to be edited.\n")
    out.write('#include "find/core/PinyinReadings.h"\n\nnamespace PinyinReadings::Data {\n\n')
    out.write("const char syllableText[] = \"" + "\\0".join(syllables) + "\";\n")
    starts, at = [], 0
    for s in syllables:
        starts.append(at)
        at += len(s) + 1
    starts.append(at)
    out.write("const unsigned short syllableStarts[] = {\n" + rows(starts) + "};\n")
    out.write("const Run runs[] = {\n" + ",\n".join("    {%d, %d, %d}" % tuple(r) for r in runs) + "};\n")
    out.write("const int runCount = %d;\n" % len(runs))
    out.write("const unsigned short readingStarts[] = {\n" + rows(offsets) + "};\n")
    out.write("const unsigned short readings[] = {\n" + rows(ids) + "};\n")
    out.write("\n} // namespace PinyinReadings::Data\n")
print("%d characters in %d runs, %d readings of %d syllables" % (len(codes), len(runs), len(ids), len(syllables)))
