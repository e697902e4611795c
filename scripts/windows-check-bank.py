#!/usr/bin/env python3
"""Writes the bank the Wine check converts and the .mon bytes the editor must save from it.

The same bank as the conversion test's round trip (tests/editor/ConversionTest.cpp,
bankRoundTrip): one genre "Capitals" of twelve questions "Q1-n" / "A1-n", two of them
Japanese. Converting all twelve rows keeps the genre name as the title and the genre field
"Capitals" + "■".
Usage: windows-check-bank.py BANK.5TQ EXPECTED.mon
"""
import sys

def sj(text):
    return text.encode("cp932")

def field(text, size, shifted):
    if len(text) > size:
        raise ValueError("field text too long")
    stored = bytes((b + 0x80) & 0xFF for b in text) if shifted else text
    return stored + b" " * (size - len(text))

questions = []
for n in range(1, 13):
    tag = b"1-%d" % n
    questions.append([b"Q" + tag, b"A" + tag, [b"W" + tag + b"-%d" % j for j in range(1, 5)]])
questions[0][:2] = [sj("日本の首都は？"), sj("東京")]
questions[6][:2] = [sj("フランスの首都は、どこ？"), sj("パリ")]

bank = bytearray()
for genre in range(8):
    entry = bytearray(256)
    if genre == 0:
        entry[0:16] = field(b"Capitals", 16, False)
        entry[18:20] = len(questions).to_bytes(2, "little")
    else:
        entry[0:16] = field(b"", 16, False)
    bank += entry
for question, answer, wrong in questions:
    record = field(question, 116, True) + field(answer, 28, True)
    for text in wrong:
        record += field(text, 28, True)
    bank += record

lines = [b'12,"j42","Capitals"', b'0,"","Capitals' + sj("■") + b'"']
lines += [b'15,"' + answer + b'","' + question + b'"' for question, answer, _ in questions]
with open(sys.argv[1], "wb") as out:
    out.write(bank)
with open(sys.argv[2], "wb") as out:
    out.write(b"".join(line + b"\r\n" for line in lines))
