#!/usr/bin/env python3
"""Mutation check of the test suite: plants one single-operator fault at a time in the library
code, rebuilds a dedicated Release build folder incrementally, runs ctest, and restores the
file. Prints each outcome and, at the end, the number caught, survived and not compiled, with
the sites of the survivors.

Run from the project root:
    python3 tests/mutate.py --seed 7 --count 60            # plant 60 faults
    python3 tests/mutate.py --seed 7 --count 60 --list     # only show where they would go

Faults: == and !=, < and <=, > and >=, + and -, && and ||, ++ and --, an integer constant
one larger or smaller, and a deleted statement. Sites are lines of .cpp/.hpp files under
store/ search/ export/ report/ driver/ that are neither comments nor preprocessor lines.
"""
import argparse
import pathlib
import random
import re
import signal
import subprocess
import sys
import time

FOLDERS = ("store", "search", "export", "report", "driver")

# (pattern, replacement) pairs; a pattern's first group is the operator that is replaced.
SWAPS = [
    (r" (==) ", "!="),
    (r" (!=) ", "=="),
    (r" (<) ", "<="),
    (r" (<=) ", "<"),
    (r" (>) ", ">="),
    (r" (>=) ", ">"),
    (r" (\+) ", "-"),
    (r" (-) ", "+"),
    (r" (&&) ", "||"),
    (r" (\|\|) ", "&&"),
    (r"(\+\+)", "--"),
    (r"[^-](--)[^>]", "++"),
]
CONSTANT = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
# A statement worth deleting: a call or an assignment ending the line, not a declaration.
STATEMENT = re.compile(r"^\s*(?!return\b|case\b|default\b|break\b|continue\b)"
                       r"[\w.\[\]>()*-]+(\(.*\)|\s*[-+*/|&]?=\s*.+|\+\+|--);\s*$")


def code_lines(path):
    """Yields (line number, text) of the lines that may carry a fault."""
    in_block = False
    for number, line in enumerate(path.read_text().splitlines(), 1):
        stripped = line.strip()
        if in_block:
            in_block = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("//", "#")) or "static_assert" in stripped:
            continue
        yield number, line


def mutants_of(line):
    """Every single fault that can be planted in one line: (description, new line)."""
    code = line.split("//", 1)[0]
    if '"' in code:  # leave string literals alone: only the code around them
        code = re.sub(r'"(\\.|[^"\\])*"', lambda m: "\0" * len(m.group(0)), code)
    found = []
    for pattern, replacement in SWAPS:
        for match in re.finditer(pattern, code):
            start, end = match.span(1)
            found.append((f"{match.group(1)} -> {replacement}",
                          line[:start] + replacement + line[end:]))
    for match in CONSTANT.finditer(code):
        value = int(match.group(1))
        for changed in (value + 1, value - 1):
            if changed >= 0:
                found.append((f"{value} -> {changed}",
                              line[:match.start(1)] + str(changed) + line[match.end(1):]))
    if STATEMENT.match(code) and not re.search(r"\w[&*] \w", code):
        found.append(("statement deleted", re.match(r"^\s*", line).group(0) + ";"))
    return found


def all_sites(root):
    sites = []
    for folder in FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".hpp"):
                continue
            for number, line in code_lines(path):
                for description, mutated in mutants_of(line):
                    sites.append((path, number, description, mutated))
    return sites


def run(command, timeout, cwd):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, required=True, help="random seed of the site choice")
    parser.add_argument("--count", type=int, default=60, help="faults to plant")
    parser.add_argument("--build", default="build/mutate", help="dedicated Release build folder")
    parser.add_argument("--jobs", type=int, default=1, help="parallel jobs of build and ctest")
    parser.add_argument("--timeout", type=int, default=120, help="seconds allowed for one ctest")
    parser.add_argument("--list", action="store_true", help="only list the chosen faults")
    args = parser.parse_args()

    # A termination signal unwinds like an interrupt, so the planted fault is always removed.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    root = pathlib.Path.cwd()
    sites = all_sites(root)
    chosen = random.Random(args.seed).sample(sites, min(args.count, len(sites)))
    print(f"{len(sites)} possible faults; planting {len(chosen)} (seed {args.seed})", flush=True)
    if args.list:
        for path, number, description, _ in chosen:
            print(f"  {path.relative_to(root)}:{number}: {description}")
        return 0

    build = ["cmake", "--build", args.build, "-j", str(args.jobs)]
    test = ["ctest", "--test-dir", args.build, "-j", str(args.jobs), "--stop-on-failure",
            "--timeout", str(args.timeout)]
    # Shared libraries, and executables not relinked when one changes: a fault planted in a
    # .cpp file then costs one compile and one link instead of relinking every test program.
    # The standard library's bounds checks and the code's assertions stand in for the
    # sanitizer run of the test command, which this Release build leaves out for speed: an
    # index past the end of a container, or a broken assertion, then fails here as it fails
    # there.
    configure = ["cmake", "-S", ".", "-B", args.build, "-DCMAKE_BUILD_TYPE=Release",
                 "-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS", "-DCMAKE_CXX_FLAGS_RELEASE=-O3",
                 "-DBUILD_SHARED_LIBS=ON", "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"]
    if not (run(configure, 600, root)
            and run(build, 3600, root) and run(test, 3600, root)):
        print("The unchanged project does not build or pass its tests.", file=sys.stderr)
        return 2

    outcome = {"caught": [], "survived": [], "did not compile": []}
    for index, (path, number, description, mutated) in enumerate(chosen, 1):
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        ending = "\n" if lines[number - 1].endswith("\n") else ""
        lines[number - 1] = mutated + ending
        started = time.time()
        try:
            path.write_text("".join(lines))
            if not run(build, 1800, root):
                verdict = "did not compile"
            else:
                verdict = "survived" if run(test, args.timeout, root) else "caught"
        finally:
            path.write_text(original)
        site = f"{path.relative_to(root)}:{number}: {description}"
        outcome[verdict].append(site)
        print(f"[{index}/{len(chosen)}] {verdict:15} {site} ({time.time() - started:.0f} s)",
              flush=True)

    run(build, 3600, root)  # leaves the build folder matching the restored sources
    compiled = len(outcome["caught"]) + len(outcome["survived"])
    share = 100.0 * len(outcome["caught"]) / compiled if compiled else 0.0
    print(f"\nseed {args.seed}: caught {len(outcome['caught'])}, survived "
          f"{len(outcome['survived'])}, did not compile {len(outcome['did not compile'])}: "
          f"{share:.0f}% of the compiled faults caught")
    for site in outcome["survived"]:
        print(f"  survived: {site}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
