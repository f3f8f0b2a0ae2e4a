#!/usr/bin/env python3
"""Runs the mutants that shared/tools/mutants.py drew in an earlier tree against this tree.

A change of the sources moves the draw of mutants.py (it samples from every site of every
file), so a score before and after a change of the sources compares two different samples.
This replays the same sample instead: it draws in OLD_TREE with the same seed, count and
files, finds each drawn line by its text in the same file here (the occurrence nearest its old
line number), plants the same change and runs the test command as mutants.py does.

  scripts/mutants-replay.py --old /path/to/old/tree --count 40 --seed 3 \
      --build-cmd 'cmake --build build' --test 'ctest --test-dir build -LE gui' FILES...

FILES are paths relative to both trees. A drawn line that is no longer here is reported as
"gone" and not counted.
"""
import argparse
import importlib.util
import random
import subprocess
import sys
import time
from pathlib import Path


def load_mutants(path):
    found = importlib.util.spec_from_file_location("mutants", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, shell=True, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return None


def main():
    here = Path(__file__).resolve().parent.parent
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("files", nargs="+")
    ap.add_argument("--old", required=True, type=Path, help="the tree the sample was drawn in")
    ap.add_argument("--mutants", type=Path, default=here.parent / "shared/tools/mutants.py")
    ap.add_argument("--build-cmd", required=True)
    ap.add_argument("--test", required=True)
    ap.add_argument("--count", type=int, default=30)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--timeout", type=int, default=600)
    a = ap.parse_args()
    m = load_mutants(a.mutants)

    files = sorted({Path(f) for f in a.files})  # ordered as mutants.py orders them
    pool = [(f, *s) for f in files for s in m.sites(a.old / f)]
    drawn = random.Random(a.seed).sample(pool, min(a.count, len(pool)))
    drawn.sort(key=lambda d: (str(d[0]), d[1]))
    if run(a.build_cmd, None) != 0 or run(a.test, a.timeout) != 0:
        sys.exit("the unmutated tree must build and pass the test command first")

    counts = {"killed": 0, "survived": 0, "stillborn": 0, "timeout": 0, "gone": 0}
    survivors = []
    for k, (f, no, s, e, new, op) in enumerate(drawn, 1):
        old_line = (a.old / f).read_text(encoding="utf-8", errors="surrogateescape").split("\n")[no]
        target = f
        original = target.read_bytes() if target.exists() else b""
        lines = original.decode("utf-8", errors="surrogateescape").split("\n")
        matches = [i for i, line in enumerate(lines) if line == old_line]
        if not matches:
            counts["gone"] += 1
            print(f"[{k}/{len(drawn)}] gone      {f}:{no + 1} {op}", flush=True)
            continue
        at = min(matches, key=lambda i: abs(i - no))
        lines[at] = old_line[:s] + new + old_line[e:]
        t0 = time.time()
        try:
            target.write_bytes("\n".join(lines).encode("utf-8", errors="surrogateescape"))
            if run(a.build_cmd, None) != 0:
                verdict = "stillborn"
            else:
                rc = run(a.test, a.timeout)
                verdict = "timeout" if rc is None else ("survived" if rc == 0 else "killed")
        finally:
            target.write_bytes(original)
        counts[verdict] += 1
        if verdict == "survived":
            survivors.append(f"{f}:{at + 1} {op}: {old_line.strip()}  ->  {lines[at].strip()}")
        print(f"[{k}/{len(drawn)}] {verdict:9} {f}:{at + 1} {op} ({time.time() - t0:.0f} s)",
              flush=True)
    run(a.build_cmd, None)

    killed = counts["killed"] + counts["timeout"]
    counted = killed + counts["survived"]
    print("\nsurvivors (faults no test sees):" if survivors else "\nno survivors")
    for line in survivors:
        print("  " + line)
    print(f"score: {killed}/{counted} killed ({100.0 * killed / counted if counted else 0:.0f} %), "
          f"{counts['survived']} survived, {counts['stillborn']} stillborn, {counts['gone']} gone")


if __name__ == "__main__":
    main()
