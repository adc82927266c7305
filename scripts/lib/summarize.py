#!/usr/bin/env python3
"""Counts every test case of one part of the suite and prints "PART: N passed, N failed, N skipped".

Input: ctest's JUnit file of the part (one entry per ctest test) and, optionally, a folder of
GoogleTest XML files named after the ctest tests. A ctest test that is a whole GoogleTest program
(the Windows programs, the sanitizer runs) counts its cases from the program's XML; a program that
failed without a failing case in its XML (a crash, a time-out) adds one failure of its own, and a
program without XML counts as the one case ctest saw.
Exit status 0 when nothing failed.
"""
import argparse
import pathlib
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path: pathlib.Path):
    root = ET.parse(path).getroot()
    passed = failed = skipped = 0
    failures = []
    for case in root.iter("testcase"):
        name = f"{case.get('classname')}.{case.get('name')}"
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            failures.append(name)
        elif case.find("skipped") is not None or case.get("result") == "skipped" or case.get("status") == "notrun":
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped, failures


def ctest_entries(path: pathlib.Path):
    root = ET.parse(path).getroot()
    for case in root.iter("testcase"):
        status = case.get("status", "run")
        if case.find("failure") is not None or status == "fail":
            result = "failed"
        elif case.find("skipped") is not None or status in ("notrun", "disabled"):
            result = "skipped"
        else:
            result = "passed"
        yield case.get("name"), result


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("part")
    parser.add_argument("--ctest-junit", type=pathlib.Path)
    parser.add_argument("--gtest-dir", type=pathlib.Path)
    parser.add_argument("--program", action="append", default=[], metavar="NAME:RC",
                        help="a GoogleTest program run outside ctest, its XML in --gtest-dir, its exit status")
    args = parser.parse_args()

    passed = failed = skipped = 0
    failures = []
    entries = list(ctest_entries(args.ctest_junit)) if args.ctest_junit and args.ctest_junit.exists() else []
    if args.ctest_junit and not entries:
        failed += 1
        failures.append(f"{args.part}: no ctest results")
    for spec in args.program:
        name, _, rc = spec.rpartition(":")
        entries.append((name, "passed" if rc == "0" else "failed"))
    for name, result in entries:
        xml = args.gtest_dir / f"{name}.xml" if args.gtest_dir else None
        if xml is not None and xml.exists():
            try:
                p, f, s, names = gtest_counts(xml)
            except ET.ParseError:
                p, f, s, names = 0, 0, 0, []
            passed, failed, skipped = passed + p, failed + f, skipped + s
            failures += names
            if result == "failed" and f == 0:
                failed += 1
                failures.append(f"{name} (ended without a failing case: crash or time-out)")
        else:
            passed += result == "passed"
            failed += result == "failed"
            skipped += result == "skipped"
            if result == "failed":
                failures.append(name)
    for name in failures:
        print(f"  failed: {name}", file=sys.stderr)
    print(f"{args.part}: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
