#!/usr/bin/python3
"""Coverage of the program's code by each test case alone, for trimming the suite safely.

Not part of CI. Needs a coverage build made by scripts/coverage.sh (default build/coverage)
and, for the database cases, the services of scripts/test-services.sh started in the same
shell. Each ctest case runs in its own process with its own GCOV_PREFIX, so its counters land
in a folder of its own; gcov then turns each folder into the set of lines and branches of
app/, declarants/, platform/ and pdf/ that the case reached.

  scripts/coverage_cases.py run     [--build DIR] [--jobs N] [--filter REGEX]
  scripts/coverage_cases.py report  [--build DIR] [--by case|program] [--top N]
  scripts/coverage_cases.py without REGEX [--build DIR]

`run` stores build/coverage/cases.json. `report` lists the cases (or test programs) with the
lines and branches that no other case reaches. `without` tells which lines and branches would
no longer be reached if the cases whose name or program matches REGEX were deleted.
"""

import argparse
import concurrent.futures
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
AREAS = ("app/", "declarants/", "platform/", "pdf/")


def source_root(build):
    """The source tree the build was configured from (the sources gcov names are under it)."""
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith("CMAKE_HOME_DIRECTORY:"):
                return line.split("=", 1)[1].strip()
    return ROOT


def program_source(path, root):
    rel = os.path.relpath(path, root)
    return rel if rel.startswith(AREAS) and "_autogen" not in rel else None


def list_cases(build):
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                         check=True, capture_output=True, text=True).stdout
    cases = []
    for t in json.loads(out)["tests"]:
        if "command" not in t:
            print(f"not built, left out: {t['name']}", file=sys.stderr)
            continue
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        env = dict(e.split("=", 1) for e in props.get("ENVIRONMENT", []))
        cases.append({"name": t["name"], "command": t["command"],
                      "cwd": props.get("WORKING_DIRECTORY", build), "env": env,
                      "timeout": float(props.get("TIMEOUT", 900))})
    return cases


def reached(prefix, root):
    """Lines and taken branches of program sources whose counters are under prefix."""
    gcdas = []
    for folder, _, files in os.walk(prefix):
        for f in files:
            if f.endswith(".gcda"):
                gcda = os.path.join(folder, f)
                gcno = "/" + os.path.relpath(gcda, prefix)[:-5] + ".gcno"
                if os.path.exists(gcno):
                    link = gcda[:-5] + ".gcno"
                    if not os.path.exists(link):
                        os.symlink(gcno, link)
                    gcdas.append(gcda)
    lines, branches = set(), set()
    with tempfile.TemporaryDirectory() as scratch:
        for i in range(0, len(gcdas), 200):
            out = subprocess.run(["gcov", "--json-format", "--stdout", "--branch-probabilities"] + gcdas[i:i + 200],
                                 cwd=scratch, capture_output=True, text=True).stdout
            for doc in out.splitlines():
                if not doc.startswith("{"):
                    continue
                data = json.loads(doc)
                base = data.get("current_working_directory", ROOT)
                for f in data["files"]:
                    src = program_source(os.path.normpath(os.path.join(base, f["file"])), root)
                    if not src:
                        continue
                    for ln in f["lines"]:
                        if ln["count"] > 0:
                            lines.add(f"{src}:{ln['line_number']}")
                        for k, b in enumerate(ln.get("branches", [])):
                            if b["count"] > 0:
                                branches.add(f"{src}:{ln['line_number']}:{k}")
    return lines, branches


def run_case(case, index, runs, extra_env, root):
    prefix = os.path.join(runs, str(index))
    shutil.rmtree(prefix, ignore_errors=True)
    env = dict(os.environ, **extra_env, **case["env"], GCOV_PREFIX=prefix, GCOV_PREFIX_STRIP="0")
    try:
        rc = subprocess.run(case["command"], cwd=case["cwd"], env=env, timeout=case["timeout"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    except subprocess.TimeoutExpired:
        rc = "timeout"
    lines, branches = reached(prefix, root)
    shutil.rmtree(prefix, ignore_errors=True)
    return {"name": case["name"], "program": os.path.basename(case["command"][0]), "rc": rc,
            "lines": sorted(lines), "branches": sorted(branches)}


def load(build):
    with open(os.path.join(build, "cases.json")) as f:
        return json.load(f)


def holders(results, kind):
    count = {}
    for r in results:
        for key in r[kind]:
            count[key] = count.get(key, 0) + 1
    return count


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("mode", choices=["run", "report", "without"])
    ap.add_argument("regex", nargs="?")
    ap.add_argument("--build", default=os.path.join(ROOT, "build/coverage"))
    ap.add_argument("--jobs", type=int, default=os.cpu_count())
    ap.add_argument("--filter", default="")
    ap.add_argument("--by", choices=["case", "program"], default="case")
    ap.add_argument("--top", type=int, default=60)
    a = ap.parse_args()
    build = os.path.abspath(a.build)

    if a.mode == "run":
        cases = [c for c in list_cases(build) if re.search(a.filter, c["name"]) or
                 re.search(a.filter, os.path.basename(c["command"][0]))]
        runs = os.path.join(build, "case-runs")
        extra = {"QT_QPA_PLATFORM": "offscreen"}
        results = []
        with concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
            root = source_root(build)
            futures = [pool.submit(run_case, c, i, runs, extra, root) for i, c in enumerate(cases)]
            for n, fut in enumerate(concurrent.futures.as_completed(futures), 1):
                r = fut.result()
                results.append(r)
                if r["rc"] != 0:
                    print(f"failed ({r['rc']}): {r['name']}", file=sys.stderr)
        with open(os.path.join(build, "cases.json"), "w") as f:
            json.dump(sorted(results, key=lambda r: (r["program"], r["name"])), f)
        lines = set().union(*(r["lines"] for r in results))
        branches = set().union(*(r["branches"] for r in results))
        print(f"{len(results)} cases reach {len(lines)} lines and {len(branches)} branches")
        return

    results = load(build)
    if a.mode == "report":
        groups = {}
        for r in results:
            key = r["name"] if a.by == "case" else r["program"]
            g = groups.setdefault(key, {"lines": set(), "branches": set(), "cases": 0})
            g["lines"].update(r["lines"])
            g["branches"].update(r["branches"])
            g["cases"] += 1
        # Unique to a group: reached by no case outside it.
        owners_l, owners_b = {}, {}
        for key, g in groups.items():
            for x in g["lines"]:
                owners_l.setdefault(x, set()).add(key)
            for x in g["branches"]:
                owners_b.setdefault(x, set()).add(key)
        rows = []
        for key, g in groups.items():
            ul = sum(1 for x in g["lines"] if owners_l[x] == {key})
            ub = sum(1 for x in g["branches"] if owners_b[x] == {key})
            rows.append((ul, ub, key, g["cases"]))
        rows.sort()
        print(f"{'lines':>6} {'branch':>6}  {'cases':>5}  {a.by} (reached by it alone)")
        for ul, ub, key, n in rows[:a.top] if a.top else rows:
            print(f"{ul:6d} {ub:6d}  {n:5d}  {key}")
        zero = [k for ul, ub, k, _ in rows if ul == 0 and ub == 0]
        print(f"\n{len(zero)} of {len(rows)} {a.by}s reach nothing that no other reaches")
        return

    pattern = re.compile(a.regex or "$^")
    gone = [r for r in results if pattern.search(r["name"]) or pattern.search(r["program"])]
    kept = [r for r in results if r not in gone]
    kept_l = set().union(*(r["lines"] for r in kept)) if kept else set()
    kept_b = set().union(*(r["branches"] for r in kept)) if kept else set()
    lost_l = sorted(set().union(*(r["lines"] for r in gone)) - kept_l) if gone else []
    lost_b = sorted(set().union(*(r["branches"] for r in gone)) - kept_b) if gone else []
    print(f"without {len(gone)} cases: {len(lost_l)} lines and {len(lost_b)} branches no longer reached")
    for x in lost_l:
        print("  line", x)
    for x in lost_b:
        print("  branch", x)


if __name__ == "__main__":
    main()
