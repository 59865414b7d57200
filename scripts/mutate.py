#!/usr/bin/env python3
"""Mutation check: how many single-line faults in the core does the suite catch?

Copies the working tree (src/, tests/, cmake/, CMakeLists.txt) into a scratch
folder, builds tabrel_tests there (without the Qt widget tests unless --gui:
the faults go into the core, which the core's own tests cover), then
applies one fault at a time to a source file of any folder of src/ but
src/gui (subfolders included), rebuilds incrementally and runs the suite. A
mutant is killed when the build of the tests succeeds and the suite fails (or
runs past the timeout); it survives when the suite passes; it is stillborn
when it does not compile (those are not counted).

Needs cmake, ninja and ccache (scripts/tabrel.sh test installs them). For
speed the scratch build has no debug information, links with lld when it
is there, and runs the tests of the mutated file's own folder (tests/<subsystem>/) first:
most mutants fail there, and only the survivors of that run meet the rest of
the suite.

Faults, one per mutant, each on one line:
  ==/!=  swapped          <, <=, >, >= moved by one
  && / || swapped         + 1 / - 1 swapped
  true / false swapped    a leading ! dropped
  an integer literal + 1  a statement line deleted
  one character of a string literal changed

  scripts/mutate.py [--sample N] [--seed S] [--files GLOB...] [--only FILE]
                    [--equivalent FILE] [--work DIR] [--jobs J] [--gui]

--only re-runs the mutants listed in a report's survivor lines (after tests
were added); --equivalent names mutants that cannot change behaviour, which
are taken out of the figure and counted on their own. Both files hold lines
"path | original line | mutated line" ("(deleted)" for a deleted line), as
the report prints them, where "path#k" names the k-th of several identical
lines of a file; blank lines and lines starting with # are ignored. The report goes to standard output and to WORK/mutants.txt.
"""

import argparse
import fnmatch
import os
import random
import re
import shutil
import subprocess
import sys
import time
from collections import defaultdict
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DELETED = "(deleted)"
# Every folder of src/ is mutated but the Qt front end's.
EXCLUDED_DIRS = {"src/gui"}
TEST_NAME = re.compile(r"^\s*(?:TEST|TEST_F|TEST_P|TYPED_TEST)\(\s*(\w+)\s*,", re.M)


@dataclass
class Mutant:
    path: str  # relative to the tree
    line: int  # from 1
    original: str
    mutated: str
    kind: str
    occurrence: int = 0  # which of several identical lines of the file, from 1; 0 if unique

    def key(self):
        return (self.where(), self.original.strip(), self.mutated.strip())

    def where(self):
        return f"{self.path}#{self.occurrence}" if self.occurrence else self.path

    def describe(self):
        return f"{self.where()} | {self.original.strip()} | {self.mutated.strip() or DELETED}"


def code_part(line):
    """The line without a trailing // comment (outside string literals)."""
    in_string = False
    i = 0
    while i < len(line):
        c = line[i]
        if c == "\\" and in_string:
            i += 2
            continue
        if c == '"':
            in_string = not in_string
        elif not in_string and line.startswith("//", i):
            return line[:i]
        i += 1
    return line


def skippable(stripped):
    return (not stripped or stripped.startswith(("//", "#", "namespace", "}", "{"))
            or stripped.startswith(("static_assert", "using ", "template", "class ", "struct ",
                                    "enum ", "public:", "private:", "protected:", "case ",
                                    "default:")))


SWAPS = [
    (re.compile(r" == "), " != ", "eq"),
    (re.compile(r" != "), " == ", "ne"),
    (re.compile(r" < "), " <= ", "lt"),
    (re.compile(r" <= "), " < ", "le"),
    (re.compile(r" > "), " >= ", "gt"),
    (re.compile(r" >= "), " > ", "ge"),
    (re.compile(r" && "), " || ", "and"),
    (re.compile(r" \|\| "), " && ", "or"),
    (re.compile(r" \+ 1\b"), " - 1", "plus1"),
    (re.compile(r" - 1\b"), " + 1", "minus1"),
    (re.compile(r"\btrue\b"), "false", "true"),
    (re.compile(r"\bfalse\b"), "true", "false"),
    (re.compile(r"!(?=[A-Za-z_(])"), "", "not"),
]
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')
DECLARATION = re.compile(r"^[A-Za-z_][\w:<>,&* ]*[&*\s>][A-Za-z_]\w*\s*(=|\(|\{|;|\[)")


def mutants_of_line(path, number, line, occurrence=0):
    stripped = line.strip()
    if skippable(stripped) or "operator" in stripped:
        return []
    code = code_part(line)
    found = []
    for pattern, replacement, kind in SWAPS:
        for m in pattern.finditer(code):
            found.append(Mutant(path, number, line, line[:m.start()] + replacement + line[m.end():],
                                kind, occurrence))
    for m in INTEGER.finditer(code):
        if STRING_SPAN_CONTAINS(code, m.start()):
            continue
        bumped = str(int(m.group(1)) + 1)
        found.append(Mutant(path, number, line, line[:m.start()] + bumped + line[m.end():], "int",
                            occurrence))
    for m in STRING.finditer(code):
        text = m.group(1)
        # The first letter or digit of the literal becomes another one.
        for i, c in enumerate(text):
            if c.isalnum():
                other = "x" if c != "x" else "y"
                at = m.start(1) + i
                found.append(Mutant(path, number, line, line[:at] + other + line[at + 1:], "str",
                                    occurrence))
                break
    # A declaration cannot be deleted without breaking the build; a statement can.
    if code.rstrip().endswith(";") and not stripped.startswith(("return", "const ", "auto ")) \
            and not DECLARATION.match(stripped):
        found.append(Mutant(path, number, line, "\n", "delete", occurrence))
    return found


def STRING_SPAN_CONTAINS(code, at):
    return any(m.start() <= at < m.end() for m in STRING.finditer(code))


def source_files(tree):
    """The .cpp files of src/ outside the excluded folders, relative to the tree."""
    found = []
    for folder, dirs, names in os.walk(os.path.join(tree, "src")):
        rel = os.path.relpath(folder, tree).replace(os.sep, "/")
        dirs[:] = sorted(d for d in dirs if f"{rel}/{d}" not in EXCLUDED_DIRS)
        found.extend(f"{rel}/{n}" for n in sorted(names) if n.endswith(".cpp"))
    return found


def suites_near(tree, path):
    """A gtest filter of the suites in tests/<subsystem>/ for src/<subsystem>/...; "" if none."""
    parts = path.split("/")
    folder = os.path.join(tree, "tests", parts[1]) if len(parts) > 2 else ""
    suites = set()
    for root, _, names in os.walk(folder) if folder else []:
        for name in names:
            if name.endswith(".cpp"):
                with open(os.path.join(root, name), encoding="latin-1") as f:
                    suites.update(TEST_NAME.findall(f.read()))
    # "*S.*" also takes the instances of a parameterised suite ("Files/S.Case/0").
    return ":".join(f"*{suite}.*" for suite in sorted(suites))


def all_mutants(tree, patterns):
    result = []
    for path in source_files(tree):
        if patterns and not any(fnmatch.fnmatch(path, p) for p in patterns):
            continue
        with open(os.path.join(tree, path), encoding="latin-1") as f:
            lines = f.readlines()
        depth_comment = False
        counts = defaultdict(int)
        for line in lines:
            counts[line.strip()] += 1
        seen = defaultdict(int)
        for number, line in enumerate(lines, 1):
            seen[line.strip()] += 1
            occurrence = seen[line.strip()] if counts[line.strip()] > 1 else 0
            if "/*" in line:
                depth_comment = True
            if depth_comment:
                if "*/" in line:
                    depth_comment = False
                continue
            result.extend(mutants_of_line(path, number, line, occurrence))
    return result


def read_keys(file):
    keys = set()
    if not file:
        return keys
    with open(file, encoding="latin-1") as f:
        for raw in f:
            raw = raw.rstrip("\n")
            if not raw.strip() or raw.lstrip().startswith("#"):
                continue
            parts = [p.strip() for p in raw.split(" | ")]
            if len(parts) >= 3:
                mutated = " | ".join(parts[2:])
                keys.add((parts[0].split(" ")[-1], parts[1], "" if mutated == DELETED else mutated))
    return keys


def copy_tree(work):
    tree = os.path.join(work, "tree")
    for part in ["src", "tests", "cmake"]:
        target = os.path.join(tree, part)
        if os.path.exists(target):
            shutil.rmtree(target)
        shutil.copytree(os.path.join(ROOT, part), target)
    shutil.copy2(os.path.join(ROOT, "CMakeLists.txt"), os.path.join(tree, "CMakeLists.txt"))
    return tree


def run(cmd, timeout, cwd=None, env=None):
    try:
        done = subprocess.run(cmd, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode
    except subprocess.TimeoutExpired:
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--sample", type=int, default=300)
    parser.add_argument("--seed", type=int, default=8)
    parser.add_argument("--files", nargs="*", default=[])
    parser.add_argument("--only")
    parser.add_argument("--equivalent")
    parser.add_argument("--work", default="/tmp/tabrel-mutate")
    parser.add_argument("--jobs", default="2")
    parser.add_argument("--gui", action="store_true", help="build and run the Qt widget tests too")
    args = parser.parse_args()

    for tool in ("cmake", "ninja", "ccache"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: scripts/tabrel.sh test installs it")
    os.makedirs(args.work, exist_ok=True)
    tree = copy_tree(args.work)
    build = os.path.join(args.work, "build")
    env = dict(os.environ, CCACHE_BASEDIR=args.work, QT_QPA_PLATFORM="offscreen")
    # A build type of its own: an empty one is RelWithDebInfo here, whose
    # debug information makes every relink slow. -O1 compiles nearly as fast
    # as -O0, and the suite it builds runs faster.
    configure = ["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                 "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g0",
                 f"-DTABREL_BUILD_GUI={'ON' if args.gui else 'OFF'}",
                 "-DTABREL_BUILD_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
    if shutil.which("ld.lld"):
        # Every mutant relinks the test program (and tabrel-cli): lld does it in a fraction.
        configure.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld")
    if run(configure, 600, env=env) != 0:
        sys.exit("configure failed")
    build_cmd = ["cmake", "--build", build, "--target", "tabrel_tests", "-j", args.jobs]
    if run(build_cmd, 3600, env=env) != 0:
        sys.exit("the unmutated tree does not build")
    tests = [os.path.join(build, "tabrel_tests"), "--gtest_fail_fast", "--gtest_brief=1"]
    started = time.time()
    if run(tests, 900, cwd=build, env=env) != 0:
        sys.exit("the unmutated suite fails")
    timeout = max(30, 5 * (time.time() - started))

    candidates = all_mutants(tree, args.files)
    if args.only:
        wanted = read_keys(args.only)
        chosen = [m for m in candidates if m.key() in wanted]
    else:
        chosen = random.Random(args.seed).sample(candidates, min(args.sample, len(candidates)))
        chosen.sort(key=lambda m: (m.path, m.line))
    equivalent = read_keys(args.equivalent)

    outcome = defaultdict(lambda: defaultdict(int))
    survivors, equivalents = [], []
    for i, m in enumerate(chosen, 1):
        file = os.path.join(tree, m.path)
        with open(file, encoding="latin-1") as f:
            lines = f.readlines()
        original = list(lines)
        lines[m.line - 1] = m.mutated
        with open(file, "w", encoding="latin-1") as f:
            f.writelines(lines)
        try:
            if run(build_cmd, 900, env=env) != 0:
                verdict = "stillborn"
            else:
                near = suites_near(tree, m.path)
                rc = run(tests + [f"--gtest_filter={near}"], timeout, cwd=build, env=env) \
                    if near else 0
                if rc == 0:
                    rest = [f"--gtest_filter=-{near}"] if near else []
                    rc = run(tests + rest, timeout, cwd=build, env=env)
                verdict = "survived" if rc == 0 else "killed"
        finally:
            with open(file, "w", encoding="latin-1") as f:
                f.writelines(original)
        if verdict == "survived" and m.key() in equivalent:
            verdict = "equivalent"
            equivalents.append(m)
        elif verdict == "survived":
            survivors.append(m)
        outcome[m.path][verdict] += 1
        print(f"[{i}/{len(chosen)}] {verdict:10} {m.path}:{m.line} {m.kind}", flush=True)
    run(build_cmd, 900, env=env)  # leave the build unmutated

    report = ["file | killed | survived | equivalent | stillborn"]
    totals = defaultdict(int)
    for path in sorted(outcome):
        o = outcome[path]
        for k in ("killed", "survived", "equivalent", "stillborn"):
            totals[k] += o[k]
        report.append(f"{path} | {o['killed']} | {o['survived']} | {o['equivalent']} | "
                      f"{o['stillborn']}")
    counted = totals["killed"] + totals["survived"]
    rate = 100.0 * totals["killed"] / counted if counted else 0.0
    report.append(f"total | {totals['killed']} | {totals['survived']} | {totals['equivalent']} | "
                  f"{totals['stillborn']}")
    report.append(f"kill rate: {totals['killed']}/{counted} = {rate:.1f}% "
                  f"(equivalent and stillborn mutants not counted)")
    report.append("")
    report.extend("survived: " + m.describe() for m in survivors)
    report.extend("equivalent: " + m.describe() for m in equivalents)
    text = "\n".join(report) + "\n"
    print(text)
    with open(os.path.join(args.work, "mutants.txt"), "w", encoding="latin-1") as f:
        f.write(text)


if __name__ == "__main__":
    main()
