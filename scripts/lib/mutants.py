#!/usr/bin/env python3
"""Mutation run over Kestrum's portable code: how many planted faults do the unit tests catch?

One fault at a time is written into a source file under src/ (the Win32 layer and the program's
entry point excluded), the native unit tests are rebuilt incrementally in a build folder of their
own and run, and the file is put back. A mutant is caught when the tests fail (or hang past the
timeout); one that does not compile is skipped and not counted.

Which mutants run depends only on the sources, the seed and the sample size: every candidate site
is found by fixed rules, each file gets a share of the sample proportional to its candidates, and each file's candidates are drawn in an order seeded by the seed and the file's
path. A mutant that does not compile is replaced by the next one from the same file, so the sample
counts compiled mutants. Only the share is meant to be compared across versions of the code.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

EXCLUDED_DIRS = ("src/platform/win32/", "src/app/")
SOURCE_SUFFIXES = (".cpp", ".h")


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the root, with forward slashes
    start: int  # offsets of the replaced text in the original file
    end: int
    replacement: str
    kind: str

    def line(self, text: str) -> int:
        return text.count("\n", 0, self.start) + 1

    def where(self, text: str) -> str:
        column = self.start - (text.rfind("\n", 0, self.start) + 1) + 1
        return f"{self.path}:{self.line(text)}:{column}"


# --- Finding mutation sites -------------------------------------------------------------------

def mask(text: str) -> str:
    """The text with comments, string and character literals and preprocessor lines blanked out
    (same length, newlines kept), so that the patterns below only ever see code."""
    out = list(text)
    i, n = 0, len(text)
    at_line_start = True

    def blank(a: int, b: int) -> None:
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if at_line_start and c in " \t":
            i += 1
            continue
        if at_line_start and c == "#":
            j = i
            while j < n and text[j] != "\n":
                if text[j] == "\\" and j + 1 < n and text[j + 1] == "\n":
                    j += 2
                    continue
                j += 1
            blank(i, j)
            i = j
            continue
        at_line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i + 2)
            delimiter = text[i + 2:open_paren]
            j = text.find(")" + delimiter + '"', open_paren)
            j = n if j < 0 else j + len(delimiter) + 2
            blank(i, j)
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isdigit())):
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            blank(i, j)
            i = j
        else:
            i += 1
    return "".join(out)


def matching_paren(code: str, open_index: int) -> int:
    depth = 0
    for k in range(open_index, len(code)):
        if code[k] == "(":
            depth += 1
        elif code[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


CALL_STATEMENT = re.compile(
    r"^([ \t]*)((?:[A-Za-z_]\w*::)*[A-Za-z_]\w*(?:(?:\.|->)[A-Za-z_]\w*)*\(.*\);)[ \t]*$", re.M)
NOT_CALLS = {"return", "if", "while", "for", "switch", "sizeof", "static_assert", "delete", "throw",
             "co_return", "catch", "case", "do", "else", "decltype", "alignof"}
PURE_VIRTUAL = re.compile(r"\)\s*(?:const\s*)?(?:noexcept\s*)?=\s*$")
STATEMENT_BOUNDARY = (";", "{", "}", ":", ")")


def candidates(rel: str, text: str) -> list:
    code = mask(text)
    found = []

    def add(start, end, replacement, kind):
        if text[start:end] != replacement:
            found.append(Mutant(rel, start, end, replacement, kind))

    # Comparisons: == and != both ways; relations with a space either side (templates have none).
    for m in re.finditer(r"(?<=[^=!<>])(==|!=)(?=[^=])", code):
        add(m.start(), m.end(), "!=" if m.group() == "==" else "==", "comparison")
    for m in re.finditer(r"(?<= )(<=|>=|<|>)(?= )", code):
        flipped = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}[m.group()]
        add(m.start(), m.end(), flipped, "boundary")
    for m in re.finditer(r"(?<= )(&&|\|\|)(?= )", code):
        add(m.start(), m.end(), "||" if m.group() == "&&" else "&&", "logic")
    for m in re.finditer(r"\b(true|false)\b", code):
        add(m.start(), m.end(), "false" if m.group() == "true" else "true", "boolean")
    # Off by one: a decimal literal one away from what it was, and +1 / -1 swapped.
    for m in re.finditer(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])", code):
        if PURE_VIRTUAL.search(code, max(0, m.start() - 40), m.start()):
            continue
        value = int(m.group(1))
        add(m.start(1), m.end(1), str(value + 1 if value == 0 else value - 1), "literal")
    for m in re.finditer(r"(?<= )([+-])(?= 1\b)", code):
        add(m.start(), m.end(), "-" if m.group() == "+" else "+", "arithmetic")
    # Negated conditions of if and while.
    for m in re.finditer(r"\b(if|while) \(", code):
        open_index = m.end() - 1
        close = matching_paren(code, open_index)
        inner = code[open_index + 1:close]
        if close < 0 or ";" in inner or inner.strip() == "":
            continue
        add(open_index + 1, close, "!(" + text[open_index + 1:close] + ")", "negation")
    # Calls as whole statements on one line: dropped, or preceded by a return.
    for m in CALL_STATEMENT.finditer(code):
        statement = m.group(2)
        head = re.match(r"[\w:]+", statement).group().split("::")[-1]
        if head in NOT_CALLS or matching_paren(statement, statement.index("(")) != len(statement) - 2:
            continue
        before = code[:m.start()].rstrip()
        if before and not before.endswith(STATEMENT_BOUNDARY):
            continue
        start, end = m.start(2), m.end(2)
        add(start, end, ";", "dropped-call")
        add(start, start, "return; ", "early-return")
    found.sort(key=lambda mu: (mu.start, mu.end, mu.kind))
    return found


def source_files(root: Path) -> list:
    files = []
    for path in sorted((root / "src").rglob("*")):
        rel = path.relative_to(root).as_posix()
        if path.is_file() and rel.endswith(SOURCE_SUFFIXES) and not rel.startswith(EXCLUDED_DIRS):
            files.append(rel)
    return files


def allocate(counts: dict, sample: int) -> dict:
    """Largest-remainder share of the sample per file, proportional to its candidates, so that a
    file split in two keeps its weight."""
    total = sum(counts.values())
    shares = {f: sample * c / total for f, c in counts.items()}
    alloc = {f: int(s) for f, s in shares.items()}
    for f in sorted(counts, key=lambda f: (-(shares[f] - int(shares[f])), f)):
        if sum(alloc.values()) >= sample:
            break
        alloc[f] += 1
    return {f: a for f, a in alloc.items() if a > 0}


# --- Running ------------------------------------------------------------------------------------

class Restorer:
    """Keeps the pristine copy of the file under mutation, on disk too, so that neither a signal
    nor a killed run leaves a mutant in the tree."""

    def __init__(self, root: Path, build: Path):
        self.root = root
        self.stash = build / "pristine"
        self.current = None  # (path, bytes)

    def recover_leftovers(self) -> None:
        if not self.stash.is_dir():
            return
        for saved in self.stash.rglob("*"):
            if saved.is_file():
                target = self.root / saved.relative_to(self.stash)
                shutil.copy2(saved, target)
                print(f"restored {target} from an interrupted run", file=sys.stderr)
                saved.unlink()

    def plant(self, path: Path, mutated: str) -> None:
        original = path.read_bytes()
        saved = self.stash / path.relative_to(self.root)
        saved.parent.mkdir(parents=True, exist_ok=True)
        saved.write_bytes(original)
        self.current = (path, original, saved)
        path.write_text(mutated, encoding="utf-8", newline="")

    def restore(self) -> None:
        if self.current is None:
            return
        path, original, saved = self.current
        path.write_bytes(original)
        saved.unlink(missing_ok=True)
        self.current = None


def run(cmd, timeout, log, failed=None):
    process = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               stdin=subprocess.DEVNULL, start_new_session=True)
    try:
        out, _ = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        # The whole group: a test that hangs must not outlive its run and slow every later one.
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None
    output = out.decode(errors="replace")
    if log is not None:
        log.write(output)
    if failed is not None:
        # ctest's closing list: "\t 12 - Suite.Case (Failed)".
        failed.extend(re.findall(r"^\s*\d+ - (\S+) \(", output.split("tests FAILED:")[-1], re.M)
                      if "tests FAILED:" in output else [])
    return process.returncode


def main() -> int:
    here = Path(__file__).resolve().parent.parent.parent
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("root", nargs="?", default=str(here), help="source tree (default: this repository)")
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--sample", type=int, default=100, help="compiled mutants to run")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=120, help="seconds for one test run")
    parser.add_argument("--build", help="build folder (default: ROOT/build/mutants)")
    parser.add_argument("--out", help="also write the report to this file")
    parser.add_argument("--survivors", help="write the survivors to this file")
    parser.add_argument("--list", action="store_true", help="only list candidate counts per file")
    parser.add_argument("--matrix", help="run every test on every mutant and write which tests "
                        "caught it, a line per mutant, to this file (slower: no stop at the first)")
    args = parser.parse_args()

    root = Path(args.root).resolve()
    build = Path(args.build).resolve() if args.build else root / "build" / "mutants"
    files = source_files(root)
    texts = {f: (root / f).read_text(encoding="utf-8") for f in files}
    sites = {f: candidates(f, texts[f]) for f in files}
    counts = {f: len(s) for f, s in sites.items() if s}
    alloc = allocate(counts, args.sample)
    if args.list:
        for f in sorted(counts):
            print(f"{counts[f]:5d} candidates, {alloc.get(f, 0):3d} in sample  {f}")
        print(f"{sum(counts.values())} candidates in {len(counts)} files")
        return 0

    restorer = Restorer(root, build)
    restorer.recover_leftovers()

    def on_signal(signum, _frame):
        raise KeyboardInterrupt(f"signal {signum}")

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)

    build.mkdir(parents=True, exist_ok=True)
    log = open(build / "mutants.log", "w", encoding="utf-8")
    configure = ["cmake", "-S", str(root), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                 "-DKESTRUM_SANITIZE=OFF"]
    build_cmd = ["cmake", "--build", str(build), "-j", str(args.jobs)]
    test_cmd = ["ctest", "--test-dir", str(build), "-j", str(args.jobs), "--timeout", str(args.timeout)]
    if not args.matrix:
        test_cmd.append("--stop-on-failure")
    started = time.monotonic()
    if run(configure, None, log) != 0 or run(build_cmd, None, log) != 0:
        print(f"the unmutated tree does not build: see {build / 'mutants.log'}", file=sys.stderr)
        return 2
    if run(test_cmd, args.timeout * 4, log) != 0:
        print(f"the unmutated tree fails its tests: see {build / 'mutants.log'}", file=sys.stderr)
        return 2

    results = []  # (mutant, line, caught)
    matrix = []  # with --matrix: the mutant, then the tests that caught it
    skipped = 0
    lines_out = []

    def say(line: str) -> None:
        print(line, flush=True)
        lines_out.append(line)

    try:
        for f in sorted(alloc):
            order = list(sites[f])
            random.Random(f"{args.seed}:{f}").shuffle(order)
            wanted = alloc[f]
            for mutant in order:
                if wanted == 0:
                    break
                text = texts[f]
                mutated = text[:mutant.start] + mutant.replacement + text[mutant.end:]
                line = mutant.line(text)
                log.write(f"\n=== {f}:{line} {mutant.kind}\n")
                restorer.plant(root / f, mutated)
                try:
                    if run(build_cmd, None, log) != 0:
                        skipped += 1
                        continue
                    failed = []
                    rc = run(test_cmd, args.timeout * (40 if args.matrix else 4), log, failed)
                finally:
                    restorer.restore()
                caught = rc != 0
                wanted -= 1
                results.append((mutant, line, caught))
                if args.matrix:
                    caught_by = "(the whole run timed out)" if rc is None else " ".join(sorted(failed))
                    matrix.append(f"{mutant.where(text)} {mutant.kind}\t{caught_by or '-'}")
                shown = f"{text[mutant.start:mutant.end]!r} -> {mutant.replacement!r}"
                if len(shown) > 90:
                    shown = shown[:87] + "..."
                say(f"{'caught  ' if caught else 'SURVIVED'} {mutant.where(text)} {mutant.kind}: {shown}")
    except KeyboardInterrupt as stop:
        restorer.restore()
        print(f"stopped ({stop}); the sources are restored", file=sys.stderr)
        return 130
    finally:
        restorer.restore()
        log.close()

    caught = sum(1 for r in results if r[2])
    total = len(results)
    elapsed = time.monotonic() - started
    survivors = [r for r in results if not r[2]]
    say("")
    say(f"seed {args.seed}, sample {args.sample}, {len(alloc)} files, "
        f"{sum(counts.values())} candidate sites; {skipped} mutants did not compile (not counted)")
    say(f"caught {caught} / {total} = {100.0 * caught / total if total else 0:.1f}%"
        f" in {elapsed / 60:.1f} min")
    if args.out:
        Path(args.out).write_text("\n".join(lines_out) + "\n", encoding="utf-8")
    if args.matrix:
        Path(args.matrix).write_text("\n".join(matrix) + "\n", encoding="utf-8")
    if args.survivors:
        Path(args.survivors).write_text(
            "".join(f"{m.where(texts[m.path])} {m.kind}: {texts[m.path][m.start:m.end]!r} -> {m.replacement!r}\n"
                    for m, line, _ in survivors), encoding="utf-8")
    # Leave the build folder matching the restored sources.
    run(build_cmd, None, None)
    return 0


if __name__ == "__main__":
    sys.exit(main())
