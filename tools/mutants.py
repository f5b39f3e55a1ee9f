#!/usr/bin/python3
# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

"""Mutation sampler: how many small faults in the code do the tests catch?

usage, for tests trimmed between commits A and B (same library code, other tests):
  tools/mutants.py --list                       # the chosen mutants, nothing run
  tools/mutants.py --rev A --out before.json    # 90 mutants, seed 23
  tools/mutants.py --rev B --out after.json
  tools/mutants.py --compare before.json after.json   # exit 1 when B kills fewer
  tools/mutants.py --rev B --only ID,ID         # rerun a few

It checks REV (default HEAD) out into a tree of its own (--tree, a detached git worktree made
on first use; never the working tree you run it from), builds it there once (--build,
default TREE/build-mutants, Ninja + ccache), then for each mutant: edits one line, rebuilds
the test executables that link the edited file, runs their ctest tests with ctest's
environment, and puts the file back byte for byte (on errors and Ctrl-C too). A mutant is
killed when some test fails, crashes or outlasts its time limit (five times its time on the
unchanged tree, at least 30 s); one that does not build
counts for neither side. Results go to a JSON file; --compare lists what one run killed and
the other did not.

The mutants are chosen from the files matched by --glob (relative to the tree, ** allowed),
by a hash of the seed and each candidate's file name and line text, never its path or line
number: trees whose library code is the same get the same mutants, wherever files moved.
Runs under nice. Not part of CI: a full run of 90 mutants takes about an hour. The tree
stays for the next run (incremental); `git worktree remove --force TREE` drops it.
"""

import argparse
import fcntl
import glob
import hashlib
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

DEFAULT_GLOBS = [
    "src/panel/**/monthpanel_input.cpp", "src/panel/**/monthpanel_grid.cpp",
    "src/control/**/ucvpelidora_dropdown.cpp", "src/control/**/ucvpelidora_entry.cpp",
    "src/control/**/entryrules.cpp",
    "src/platform/**/datetext.cpp", "src/platform/**/dayserial.cpp",
    "src/platform/**/localedates.cpp", "src/platform/**/regularfile.cpp",
    "src/platform/**/profilefile.cpp", "src/platform/**/formfile.cpp",
    "src/platform/**/jsonreader.cpp",
    "host/**/platformnoise.cpp", "host/**/designcommands.cpp", "host/**/propertybrowser.cpp",
]
# Installs the library and builds a program against it: minutes, and it tests no logic.
DEFAULT_SKIP_TESTS = ["consumer_build"]

# ---------------------------------------------------------------------------------------
# Choosing mutants


def mask(text):
    """text with comments blanked and string/char literal contents replaced by '_'."""
    out, i, n = list(text), 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                out[i] = " "
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            for k in range(i, end):
                out[k] = out[k] if text[k] == "\n" else " "
            i = end
        elif c == '"' and i > 0 and text[i - 1] == "R":
            m = re.compile(r'"([^(\s]*)\(').match(text, i)
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            end = n if end < 0 else end + len(m.group(1)) + 2
            for k in range(i + 1, end - 1):
                out[k] = out[k] if text[k] == "\n" else "_"
            i = end
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()
                                  and text[i - 1] not in "uUL8"):  # 1'000 is a number
            k = i + 1
            while k < n and text[k] != c and text[k] != "\n":
                if text[k] == "\\":
                    out[k] = "_"
                    k += 1
                out[k] = "_"
                k += 1
            i = k + 1
        else:
            i += 1
    return "".join(out)


COMPARE = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITH = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+="}
# An operator with blanks on both sides is a binary one, never a template bracket or a pointer.
SPACED = r"(?<=\s)({})(?=\s)"
RE_COMPARE = re.compile(SPACED.format("<=|>=|==|!=|<|>"))
RE_ARITH = re.compile(SPACED.format(r"\+=|-=|\+|-|\*|/"))
RE_LOGIC = re.compile(SPACED.format(r"&&|\|\|"))
RE_BOOL = re.compile(r"\b(true|false)\b")
RE_INT = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
# A call or an assignment alone on its line: dropping it still compiles.
LVALUE = r"[A-Za-z_][\w:]*(?:\s*(?:\.|->)\s*\w+|\[[^\]]*\]|\(\))*"
RE_STATEMENT = re.compile(rf"^(?:(?:emit|Q_EMIT)\s+)?(?:(?:\+\+|--){LVALUE};"
                          rf"|{LVALUE}\s*(?:\(|[-+*/|&]?=(?!=)|\+\+|--))")
RE_NOT_STATEMENT = re.compile(r"^(?:Q_[A-Z_]+|q(?:Debug|Warning|Info|Critical))\b")


def sites(masked, original, prev_code):
    """(kind, start, end, replacement) for each mutation of one code line."""
    found = []
    for m in RE_COMPARE.finditer(masked):
        found.append(("compare", m.start(), m.end(), COMPARE[m.group(1)]))
    if not re.search("[\"']", masked):  # with a literal beside it, + likely joins text
        for m in RE_ARITH.finditer(masked):
            found.append(("arith", m.start(), m.end(), ARITH[m.group(1)]))
    for m in RE_LOGIC.finditer(masked):
        found.append(("logic", m.start(), m.end(), "||" if m.group(1) == "&&" else "&&"))
    for m in RE_BOOL.finditer(masked):
        found.append(("bool", m.start(), m.end(), "false" if m.group(1) == "true" else "true"))
    if not re.match(r"\s*(case\b|template\b)", masked):
        for m in RE_INT.finditer(masked):
            found.append(("const", m.start(), m.end(), None))  # +1 or -1, chosen by hash
    body = masked.strip()
    if (body.endswith(";") and body.count("(") == body.count(")") and RE_STATEMENT.match(body)
            and not RE_NOT_STATEMENT.match(body)
            and (prev_code.endswith((";", "{", "}", ":", ")")) or prev_code == "else")):
        found.append(("drop", len(masked) - len(masked.lstrip()), len(original.rstrip()), ";"))
    return found


def candidates(relpath, text, seed):
    """Every mutation of one file, each with a stable id and its rank for this seed."""
    base = os.path.basename(relpath)
    lines, masked_lines = text.split("\n"), mask(text).split("\n")
    seen, result, prev_code, in_enum, continued = {}, [], "", False, False
    for number, (line, masked) in enumerate(zip(lines, masked_lines), 1):
        code = masked.strip()
        if continued or code.startswith("#"):  # preprocessor lines and their continuations
            continued = code.endswith("\\")
            continue
        if not code or re.match(r"(static_assert|Q_[A-Z_]+)\b", code):  # mutants would not build
            continue
        if in_enum or re.match(r"enum\b", code):  # enum values are names, not arithmetic
            in_enum = "}" not in code and not (code.startswith("enum") and code.endswith(";"))
            prev_code = code
            continue
        occurrence = seen[line.strip()] = seen.get(line.strip(), 0) + 1
        per_kind = {}
        for kind, start, end, replacement in sites(masked, line, prev_code):
            nth = per_kind[kind] = per_kind.get(kind, 0) + 1
            identity = f"{base}|{line.strip()}|{occurrence}|{kind}|{nth}"
            digest = hashlib.sha256(identity.encode()).hexdigest()
            if kind == "const":
                value = int(line[start:end])
                step = 1 if value == 0 or int(digest[-1], 16) % 2 else -1
                replacement = str(value + step)
            result.append({
                "id": digest[:8], "file": relpath, "line": number, "kind": kind,
                "original": line, "mutated": line[:start] + replacement + line[end:],
                "rank": hashlib.sha256(f"{seed}|{identity}".encode()).hexdigest(),
            })
        prev_code = code
    return result


def choose(tree, globs, seed, count):
    """count mutants spread evenly over the files, the same for the same seed and code."""
    files = sorted({os.path.relpath(p, tree) for g in globs
                    for p in glob.glob(os.path.join(tree, g), recursive=True) if os.path.isfile(p)},
                   key=lambda p: hashlib.sha256(f"{seed}|{os.path.basename(p)}".encode()).hexdigest())
    if not files:
        sys.exit(f"mutants: no file in {tree} matches {globs}")
    per_file = []
    for relpath in files:
        with open(os.path.join(tree, relpath), encoding="utf-8") as f:
            per_file.append(sorted(candidates(relpath, f.read(), seed), key=lambda c: c["rank"]))
    chosen, round_ = [], 0
    while len(chosen) < count and any(round_ < len(cs) for cs in per_file):
        chosen += [cs[round_] for cs in per_file if round_ < len(cs)][:count - len(chosen)]
        round_ += 1
    for c in chosen:
        del c["rank"]
    return sorted(chosen, key=lambda c: (c["file"], c["line"], c["id"]))


# ---------------------------------------------------------------------------------------
# Building and testing


def git(*args, cwd):
    return subprocess.run(["git", *args], cwd=cwd, check=True, text=True,
                          stdout=subprocess.PIPE).stdout.strip()


def prepare_tree(repo, tree, rev):
    if os.path.realpath(tree) == os.path.realpath(repo):
        sys.exit("mutants: --tree must not be the working tree you run from")
    lock = open(tree + ".lock", "w")  # held until the process ends
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        sys.exit(f"mutants: another run is using {tree}")
    commit = git("rev-parse", "--verify", rev + "^{commit}", cwd=repo)
    if not os.path.exists(tree):
        git("worktree", "add", "--detach", tree, commit, cwd=repo)
    elif git("status", "--porcelain", "--untracked-files=no", cwd=tree):
        sys.exit(f"mutants: {tree} has changes; a run that was killed hard leaves its mutant in "
                 f"place: check with git -C {tree} diff, then git -C {tree} checkout -- .")
    else:
        git("checkout", "--quiet", "--detach", commit, cwd=tree)
    return commit, lock


def stop(proc):
    """Kills proc's process group and waits until all of it is gone: a compiler left running
    could write a mutant's object after the file was put back, and ninja would keep it."""
    try:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        for _ in range(100):
            os.killpg(proc.pid, 0)
            time.sleep(0.05)
    except ProcessLookupError:
        pass


def run_quiet(cmd, env):
    """(exit status, output) of cmd, run in a process group of its own."""
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, start_new_session=True)
    try:
        return proc.communicate()[0], proc.returncode
    finally:
        stop(proc)


class Suite:
    """The tree's build and its ctest tests."""

    def __init__(self, tree, build, jobs, skip):
        self.tree, self.build, self.jobs = tree, build, jobs
        self.env = dict(os.environ, CCACHE_BASEDIR=os.path.realpath(tree))
        if not os.path.exists(os.path.join(build, "build.ninja")):
            print(f"configuring {build}", flush=True)
            self.check(run_quiet(["cmake", "-S", tree, "-B", build, "-G", "Ninja",
                                  "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"], self.env))
        print("building the unchanged tree (the first time takes long)", flush=True)
        self.check(run_quiet(["cmake", "--build", build, "-j", str(jobs)], self.env))
        shown = json.loads(subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True,
                                          stdout=subprocess.PIPE).stdout)
        self.tests, self.inputs = {}, {}
        for t in shown["tests"]:
            props = {p["name"]: p["value"] for p in t.get("properties", [])}
            command = t.get("command") or []
            if t["name"] in skip or props.get("DISABLED") or not command \
                    or not command[0].startswith(os.path.realpath(build) + os.sep):
                continue
            env = dict(os.environ)
            env.update(v.split("=", 1) for v in props.get("ENVIRONMENT", []))
            self.tests[t["name"]] = {"command": command, "env": env,
                                     "cwd": props.get("WORKING_DIRECTORY", build),
                                     "timeout": props.get("TIMEOUT", 600), "target":
                                     os.path.relpath(command[0], os.path.realpath(build))}

    @staticmethod
    def check(result):
        if result[1]:
            sys.exit(result[0][-4000:] + "\nmutants: the unchanged tree does not build")

    def ninja(self, *args):
        return subprocess.run(["ninja", "-C", self.build, *args], check=True, text=True,
                              stdout=subprocess.PIPE).stdout

    def affected(self, relpath):
        """The tests whose executable links the object built from relpath."""
        out = self.ninja("-t", "query", os.path.join(os.path.realpath(self.tree), relpath))
        objects = {line.strip() for line in out.splitlines() if line.strip().endswith(".o")}
        names = []
        for name, test in sorted(self.tests.items()):
            if test["target"] not in self.inputs:
                self.inputs[test["target"]] = set(self.ninja("-t", "inputs", test["target"]).split())
            if objects & self.inputs[test["target"]]:
                names.append(name)
        return names

    def rebuild(self, names):
        """None when it built, else the compiler's first error."""
        targets = sorted({self.tests[n]["target"] for n in names})
        out, status = run_quiet(["ninja", "-C", self.build, "-j", str(self.jobs), *targets],
                                self.env)
        return None if status == 0 else next(
            (x for x in out.splitlines() if "error" in x), out.strip()[-200:])[:300]

    def run(self, names, limits):
        """{name: seconds} of the passing tests, {name: QTest's FAIL! lines} of the others."""
        queue, running, passed, failed = list(names), {}, {}, {}
        try:
            while queue or running:
                while queue and len(running) < self.jobs:
                    name, log = queue.pop(0), tempfile.TemporaryFile()
                    t = self.tests[name]
                    running[name] = (subprocess.Popen(
                        t["command"], cwd=t["cwd"], env=t["env"], start_new_session=True,
                        stdout=log, stderr=subprocess.STDOUT), time.monotonic(), log)
                time.sleep(0.05)
                for name, (proc, started, log) in list(running.items()):
                    took = time.monotonic() - started
                    if proc.poll() is None and took < limits[name]:
                        continue
                    del running[name]
                    if proc.returncode is None:
                        stop(proc)
                        failed[name] = ["timeout"]
                    elif proc.returncode:
                        log.seek(0)
                        lines = log.read().decode("utf-8", "replace").splitlines()
                        failed[name] = [x[:200] for x in lines if x.startswith("FAIL!")][:3] \
                            or [f"exit {proc.returncode}"]
                    else:
                        passed[name] = took
                    log.close()
        finally:
            for proc, _, log in running.values():
                stop(proc)
                log.close()
        return passed, failed


def write(path, report):
    with open(path + ".tmp", "w", encoding="utf-8") as f:
        json.dump(report, f, indent=1)
        f.write("\n")
    os.replace(path + ".tmp", path)


def summarize(mutants):
    done = [m for m in mutants if "status" in m]
    counts = {s: sum(m["status"] == s for m in done) for s in ("killed", "survived", "uncompiled")}
    built = counts["killed"] + counts["survived"]
    return f"{len(done)} mutants: {counts['killed']} killed, {counts['survived']} " \
                   f"survived, {counts['uncompiled']} did not compile; " \
                   f"{100 * counts['killed'] / max(built, 1):.0f} % of the compiled ones killed"


def show(m):
    return (f"  {m['id']} {m['file']}:{m['line']} {m['kind']}\n"
            f"      - {m['original'].strip()}\n      + {m['mutated'].strip()}")


def sample(args):
    commit, _lock = prepare_tree(args.repo, args.tree, args.rev)
    # An id names the same mutant whatever the count.
    mutants = choose(args.tree, args.glob, args.seed, 10**9 if args.only else args.count)
    if args.only:
        wanted = {i for group in args.only for i in group.split(",")}
        mutants = [m for m in mutants if m["id"] in wanted]
        if len(mutants) != len(wanted):
            sys.exit("mutants: --only names ids that this seed does not make")
    if args.list:
        for m in mutants:
            print(show(m))
        print(f"{len(mutants)} mutants, seed {args.seed}, {commit[:12]}")
        return 0
    suite = Suite(args.tree, args.build, args.jobs, args.skip_test)
    for m in mutants:
        m["tests"] = suite.affected(m["file"])
        if not m["tests"]:
            sys.exit(f"mutants: no test links {m['file']}")
    needed = sorted({t for m in mutants for t in m["tests"]})
    print(f"baseline: running {len(needed)} tests on the unchanged tree", flush=True)
    baseline, failed = suite.run(needed, {n: suite.tests[n]["timeout"] for n in needed})
    if failed:
        sys.exit(f"mutants: fails without any mutant: {failed}")
    # A mutant that makes a test take much longer than it did here has hung it.
    limits = {n: min(suite.tests[n]["timeout"], max(30.0, 5 * took)) for n, took in baseline.items()}
    report = {"commit": commit, "seed": args.seed, "count": args.count, "globs": args.glob,
              "mutants": mutants}
    out = args.out or os.path.join(tempfile.gettempdir(), f"pelidora-mutants-{commit[:12]}.json")
    for number, m in enumerate(mutants, 1):
        path = os.path.join(args.tree, m["file"])
        with open(path, "rb") as f:
            original = f.read()
        lines = original.decode("utf-8").split("\n")
        if lines[m["line"] - 1] != m["original"]:
            sys.exit(f"mutants: {m['file']}:{m['line']} is not the line chosen")
        lines[m["line"] - 1] = m["mutated"]
        started = time.monotonic()
        try:
            with open(path, "wb") as f:
                f.write("\n".join(lines).encode("utf-8"))
            # Tried twice: a build can fail for reasons of the machine, not of the mutant.
            error = suite.rebuild(m["tests"]) and suite.rebuild(m["tests"])
            if error:
                m["status"], m["killed_by"], m["error"] = "uncompiled", [], error
            else:
                m["build_seconds"] = round(time.monotonic() - started, 1)
                _, failed = suite.run(m["tests"], limits)
                m["killed_by"], m["failures"] = sorted(failed), failed
                m["status"] = "killed" if m["killed_by"] else "survived"
        finally:
            signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
            with open(path, "wb") as f:
                f.write(original)
            os.utime(path)  # newer than the mutant's object, so the next build replaces it
            signal.pthread_sigmask(signal.SIG_UNBLOCK, {signal.SIGINT, signal.SIGTERM})
        m["seconds"] = round(time.monotonic() - started, 1)
        write(out, report)
        print(f"[{number}/{len(mutants)}] {m['id']} {m['file']}:{m['line']} {m['kind']}: "
              f"{m['status']} {' '.join(m['killed_by'])} ({m['seconds']} s)", flush=True)
    print(summarize(mutants))
    for m in mutants:
        if m["status"] == "survived":
            print(show(m))
    print(f"results in {out}")
    return 0


def compare(before_path, after_path):
    with open(before_path, encoding="utf-8") as f:
        before = {m["id"]: m for m in json.load(f)["mutants"] if "status" in m}
    with open(after_path, encoding="utf-8") as f:
        after = {m["id"]: m for m in json.load(f)["mutants"] if "status" in m}
    for name, run in ((before_path, before), (after_path, after)):
        print(f"{name}: {summarize(list(run.values()))}")
    if set(before) != set(after):
        print(f"not in both runs (the code or the options differ): "
              f"{' '.join(sorted(set(before) ^ set(after)))}")
    both = [i for i in sorted(before, key=lambda i: (before[i]["file"], before[i]["line"]))
            if i in after]
    odd = [i for i in both
           if (before[i]["status"] == "uncompiled") != (after[i]["status"] == "uncompiled")]
    if odd:
        print(f"built in one run only (rerun them with --only): {','.join(odd)}")
    both = [i for i in both if "uncompiled" not in (before[i]["status"], after[i]["status"])]
    lost = [i for i in both if before[i]["status"] == "killed" and after[i]["status"] != "killed"]
    print(f"killed before but not after: {len(lost)}")
    for i in lost:
        print(show(before[i]) + f"\n      killed before by {' '.join(before[i]['killed_by'])}")
    kept = [i for i in both if before[i]["status"] == after[i]["status"] == "survived"]
    print(f"survived both: {len(kept)}")
    for i in kept:
        print(show(before[i]))
    return 1 if lost else 0


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    p.add_argument("--compare", nargs=2, metavar=("BEFORE", "AFTER"))
    p.add_argument("--rev", default="HEAD", help="the commit to mutate (default HEAD)")
    p.add_argument("--tree", help="the tree to mutate (default $TMPDIR/pelidora-mutants-NAME, "
                   "NAME being this checkout's folder)")
    p.add_argument("--build", help="its build folder (default TREE/build-mutants)")
    p.add_argument("--out", help="the results (default $TMPDIR/pelidora-mutants-COMMIT.json)")
    p.add_argument("--seed", type=int, default=23)
    p.add_argument("--count", type=int, default=90)
    p.add_argument("--jobs", type=int, default=2)
    p.add_argument("--glob", action="append", help="files to mutate (repeat; default: the "
                   "panel's input and grid, the entry and drop-down, the date core, the "
                   "platform's file and locale code, the host's undo and noise filter)")
    p.add_argument("--skip-test", action="append", default=DEFAULT_SKIP_TESTS)
    p.add_argument("--list", action="store_true", help="print the chosen mutants and stop")
    p.add_argument("--only", action="append", help="run only these mutant ids (comma list), "
                   "of any count")
    args = p.parse_args()
    if args.compare:
        return compare(*args.compare)
    args.glob = args.glob or DEFAULT_GLOBS
    args.repo = git("rev-parse", "--show-toplevel",
                    cwd=os.path.dirname(os.path.abspath(__file__)))
    args.tree = os.path.abspath(args.tree or os.path.join(
        tempfile.gettempdir(), "pelidora-mutants-" + os.path.basename(args.repo)))
    args.build = os.path.abspath(args.build or os.path.join(args.tree, "build-mutants"))
    os.nice(10)
    # Ctrl-C and kill both end up in the finally that puts the file back.
    signal.signal(signal.SIGTERM, interrupt)
    signal.signal(signal.SIGINT, interrupt)  # even where a background job started ignoring it
    try:
        return sample(args)
    except KeyboardInterrupt:
        print("mutants: interrupted; the tree is as it was", file=sys.stderr)
        return 130


def interrupt(*_):
    raise KeyboardInterrupt


if __name__ == "__main__":
    sys.exit(main())
