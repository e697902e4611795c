#!/usr/bin/env python3
"""Writes the bank the Wine check splits with zelqua-split.exe, and prints the names of the
files the split must make from it, one per line (UTF-8).

Its genres cover what the file names and parts depend on: Japanese names in full-width and
half-width characters, a name with a character no file name may hold ("/"), two genres of
the same name, a genre without a name, one of 301 questions (two parts) and one of fewer than
8 (no file).
Usage: windows-split-bank.py BANK.5TQ
"""
import sys

GENRES = [  # name, questions, the files the split makes
    ("日本の首都", 12, ["日本の首都.mon"]),
    ("歴史/人物", 8, ["歴史_人物.mon"]),
    ("長いジャンル", 301, ["長いジャンル_1.mon", "長いジャンル_2.mon"]),
    ("少ない", 5, []),
    ("日本の首都", 9, ["日本の首都 (2).mon"]),
    ("", 8, ["ジャンル6.mon"]),
    ("ｶﾀｶﾅ半角ｼﾞｬﾝﾙ", 10, ["ｶﾀｶﾅ半角ｼﾞｬﾝﾙ.mon"]),
    ("", 0, []),
]


def field(text, size, shifted):
    data = text.encode("cp932")
    if len(data) > size:
        raise ValueError(f"{text!r} is longer than {size} bytes")
    stored = bytes((b + 0x80) & 0xFF for b in data) if shifted else data
    return stored + b" " * (size - len(data))


bank = bytearray()
for name, count, _ in GENRES:
    entry = bytearray(256)
    entry[0:16] = field(name, 16, False)
    entry[18:20] = count.to_bytes(2, "little")
    bank += entry
for g, (name, count, _) in enumerate(GENRES, 1):
    for n in range(1, count + 1):
        record = field(f"第{g}ジャンルの問{n}：答えは？", 116, True)
        record += field(f"答え{g}-{n}", 28, True)
        for w in range(1, 5):
            record += field(f"誤答{w}", 28, True)
        bank += record
with open(sys.argv[1], "wb") as out:
    out.write(bank)
for _, _, files in GENRES:
    for name in files:
        print(name)
