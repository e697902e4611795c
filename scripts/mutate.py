#!/usr/bin/env python3
"""Mutation check: do the tests catch small faults put into the code where faults hurt most?

Finds every place in the chosen sources where a simple fault can be made (a comparison
flipped or made strict, a condition negated, && and || swapped, a constant changed by one,
a call statement dropped, a returned truth value inverted), picks COUNT of them with a fixed
seed (the same ones every run on the same sources), and for each: writes the fault into the
file, rebuilds only the tests that cover that folder, runs them with a time limit, and puts
the file back. A fault is caught when a test fails, crashes or runs out of time; one that
does not compile is not counted. Prints a line per fault, then the score and the survivors
with file and line.

Usage: scripts/mutate.py BUILD_DIR [--count N] [--seed S] [--only PATH_PREFIX] [--list]
"""
import argparse
import json
import os
import pathlib
import random
import re
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent

# The folders whose faults matter most, and the tests that cover each (ctest name patterns).
AREAS = {
    "src/formats": r"^(formats\.|editor\.(Conversion|Loading|BadInput)Test$|split\.|app\.BankReadingTest$)",
    "src/codec": r"^(codec\.|formats\.|editor\.(Conversion|BadInput)Test$)",
    "src/text": r"^(text\.|formats\.|editor\.(Conversion|BadInput|Listing)Test$)",
    "src/editor": r"^(editor\.|app\.(TForm1|BankReading)Test$)",
    "src/widgets/grid": r"^(widgets\.grid\.|editor\.(TableUndo|ActionSequence|Loading)Test$)",
    "src/platform": r"^(platform\.|editor\.ConversionTest$)",
}
# Left out everywhere: the growth check times every action at two sizes (it adds minutes and
# catches faults of cost, not of behaviour). ctest's regular expressions have no lookahead.
EXCLUDE = r"^editor\.ActionGrowthTest$"
# Of the platform folder, only the saving code (Linux and the common part).
PLATFORM_FILES = re.compile(r"^(SafeSave_unix|Save\w*_(unix|linux))\.cpp$")

SKIP_LINE = re.compile(r"^\s*(//|#|\*|/\*)|Q_ASSERT|static_assert|qFatal|Q_UNUSED|Q_OBJECT")
STRING = re.compile(r'u8"(?:\\.|[^"\\])*"|"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])+\'')
SWAPS = [(" == ", " != "), (" != ", " == "), (" <= ", " < "), (" >= ", " > "), (" < ", " <= "),
         (" > ", " >= "), (" && ", " || "), (" || ", " && ")]
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
CALL_STATEMENT = re.compile(r"^(\s*)((?:[A-Za-z_][\w]*(?:::|\.|->))*[A-Za-z_]\w*\(.*\));\s*$")
DECLARATION = re.compile(r"^\s*(return|const|auto|static|using|throw|case|if|for|while|else|std::\w+\s+\w+\()")


def masked(line):
    """The line with string and character literals blanked, so no fault lands inside them."""
    return STRING.sub(lambda m: " " * len(m.group(0)), line)


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def faults_of_line(line):
    """(description, new line) for each fault this line can take."""
    plain = masked(line)
    if SKIP_LINE.search(plain) or "template <" in plain or "#include" in plain:
        return []
    code = plain.split("//", 1)[0]
    found = []
    for old, new in SWAPS:
        start = 0
        while (at := code.find(old, start)) >= 0:
            # `a < b` inside a template argument list is no comparison; these lines are rare.
            found.append((f"'{old.strip()}' -> '{new.strip()}'", line[:at] + new + line[at + len(old):]))
            start = at + len(old)
    for match in NUMBER.finditer(code):
        digits = match.group(1)
        if len(digits) > 9 or (len(digits) > 1 and digits.startswith("0")):  # octal modes stay as they are
            continue
        value = int(digits)
        found.append((f"{value} -> {value + 1}", line[:match.start()] + str(value + 1) + line[match.end():]))
    for keyword in ("if (", "while ("):
        at = code.find(keyword)
        if at >= 0:
            open_at = at + len(keyword) - 1
            close_at = matching_paren(code, open_at)
            if close_at > 0:
                inner = line[open_at + 1:close_at]
                found.append((f"{keyword.strip()} condition negated",
                               line[:open_at + 1] + "!(" + inner + ")" + line[close_at:]))
    for old, new in (("return true;", "return false;"), ("return false;", "return true;")):
        if old in code:
            found.append((f"'{old}' -> '{new}'", line.replace(old, new, 1)))
    call = CALL_STATEMENT.match(code)
    if call and " = " not in code and not DECLARATION.match(code) and code.count("(") == code.count(")"):
        found.append(("call dropped", call.group(1) + "static_cast<void>(0);\n"))
    return found


def sources():
    for folder in AREAS:
        for path in sorted((ROOT / folder).glob("*.cpp")):
            if folder == "src/platform" and not PLATFORM_FILES.match(path.name):
                continue
            if path.name.endswith("_win.cpp"):
                continue
            yield folder, path


def all_faults():
    faults = []
    for folder, path in sources():
        lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
        for number, line in enumerate(lines, 1):
            for what, new_line in faults_of_line(line):
                faults.append({"folder": folder, "file": str(path.relative_to(ROOT)), "line": number,
                               "what": what, "old": line, "new": new_line})
    return faults


def tests_of(build, pattern):
    listing = subprocess.run(["ctest", "--test-dir", str(build), "-N", "-R", pattern, "-E", EXCLUDE,
                              "--show-only=json-v1"],
                             check=True, capture_output=True, text=True).stdout
    # ctest may print a line about the folder it changes into before the JSON.
    listing = listing[listing.index("{"):]
    targets = set()
    for test in json.loads(listing)["tests"]:
        targets.add(pathlib.Path(test["command"][0]).name)
    return sorted(targets)


def run(command, timeout):
    # In a session of its own, so that a fault that makes a test hang ends with every
    # process it started (ctest's own limit yields to the tests' TIMEOUT of ten minutes).
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, "timed out"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--count", type=int, default=80)
    parser.add_argument("--seed", type=int, default=20261209)
    parser.add_argument("--only", default="")
    parser.add_argument("--list", action="store_true", help="print the chosen faults and stop")
    parser.add_argument("--test-timeout", type=int, default=60)
    args = parser.parse_args()
    build = pathlib.Path(args.build).resolve()

    everything = all_faults()
    chosen = random.Random(args.seed).sample(everything, min(args.count, len(everything)))
    chosen = [f for f in chosen if f["file"].startswith(args.only)]
    chosen.sort(key=lambda f: (f["file"], f["line"]))
    print(f"{len(everything)} possible faults; {len(chosen)} chosen with seed {args.seed}", flush=True)
    if args.list:
        for f in chosen:
            print(f"{f['file']}:{f['line']}: {f['what']}: {f['new'].strip()}")
        return 0

    caught, survived, stillborn = [], [], []
    started = time.monotonic()
    for number, fault in enumerate(chosen, 1):
        path = ROOT / fault["file"]
        original = path.read_text(encoding="utf-8")
        lines = original.splitlines(keepends=True)
        if lines[fault["line"] - 1] != fault["old"]:
            print(f"[{number}] {fault['file']}:{fault['line']}: the line changed since it was chosen; skipped")
            continue
        lines[fault["line"] - 1] = fault["new"]
        pattern = AREAS[fault["folder"]]
        targets = tests_of(build, pattern)
        try:
            path.write_text("".join(lines), encoding="utf-8")
            code, output = run(["cmake", "--build", str(build), "--target", *targets], 1800)
            if code != 0:
                verdict = "does not build"
                stillborn.append(fault)
            else:
                code, output = run(["ctest", "--test-dir", str(build), "-R", pattern, "-E", EXCLUDE, "-j2", "--timeout",
                                    str(args.test_timeout), "--stop-on-failure"], args.test_timeout * 3)
                if code == 0:
                    verdict = "SURVIVED"
                    survived.append(fault)
                else:
                    failed = re.findall(r"\d+ - (\S+)", output)
                    verdict = "caught" + (f" by {failed[0]}" if failed else " (time limit)" if code is None else "")
                    caught.append(fault)
        finally:
            path.write_text(original, encoding="utf-8")
        print(f"[{number}/{len(chosen)}] {fault['file']}:{fault['line']}: {fault['what']}: {verdict}", flush=True)

    # Put the build back in step with the sources.
    run(["cmake", "--build", str(build)], 3600)
    counted = len(caught) + len(survived)
    minutes = (time.monotonic() - started) / 60
    print(f"\n{len(caught)} of {counted} faults caught ({100.0 * len(caught) / max(counted, 1):.1f} %), "
          f"{len(stillborn)} did not build, {minutes:.0f} minutes")
    for fault in survived:
        print(f"survived: {fault['file']}:{fault['line']}: {fault['what']}\n    {fault['new'].strip()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
