"""The position batch measured as users run it: `tagvaroskop-cli position --input` over 1,000,000
varied lines (decimal and D:M:S places; text, CSV and JSON) beside its floor (bench/batch_floor: the
same reading, splitting, converting and writing without the sun) and the sun alone over the same
lines (`batch_floor --sun`). Each round runs all five back to back; ratios are medians of the
rounds' own ratios, which the machine's load (it is shared) changes less than the times.

    python3 bench/batch_bench.py BUILD-FOLDER [ROUNDS]     (make bench runs it with build-bench)
"""
import os
import random
import statistics
import subprocess
import sys
import time

LINES = 1_000_000


def lines(path, dms):
    """Varied lines: moments 1900-2099, places everywhere (seeded)."""
    if os.path.exists(path):
        return path
    rng = random.Random(11)
    with open(path, "w") as out:
        for _ in range(LINES):
            t = rng.randrange(0, 200 * 365 * 86400)
            days, second = divmod(t, 86400)
            date = time.strftime("%Y-%m-%d", time.gmtime(days * 86400 - 2208988800))
            clock = f"{second // 3600:02}:{second // 60 % 60:02}:{second % 60:02}"
            place = []
            for most in (90, 180):
                tenths = rng.randrange(-most * 36000 + 1, most * 36000)
                if dms:
                    sign, a = ("-" if tenths < 0 else ""), abs(tenths)
                    place.append(f"{sign}{a // 36000}:{a % 36000 // 600}:{a % 600 // 10}.{a % 10}")
                else:
                    place.append(f"{tenths / 36000:.4f}")
            out.write(f"{date},{clock},{place[0]},{place[1]}\n")
    return path


def run(command, source):
    """CPU seconds (user and system, all threads) and wall seconds of one run."""
    with open(source, "rb") as stdin, open(os.devnull, "wb") as stdout:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdin=stdin, stdout=stdout, env=dict(os.environ, LANG="de_DE.UTF-8"))
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{command[0]} failed with status {status}")
    return usage.ru_utime + usage.ru_stime, wall


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    cli, floor = os.path.join(build, "cli", "tagvaroskop-cli"), os.path.join(build, "bench", "batch_floor")
    print(f"position --input, {LINES:,} lines: CPU seconds, medians of {rounds} rounds; each round runs the floor, "
          "the sun alone and the three formats back to back, and the ratios are taken within a round, so that the "
          "machine's changing load falls on both sides")
    for form in ("decimal", "dms"):
        source = lines(os.path.join(build, f"batch_{form}.csv"), form == "dms")
        times = {name: [] for name in ("floor", "sun", "text", "csv", "json")}
        for _ in range(rounds):
            times["floor"].append(run([floor], source))
            times["sun"].append((float(subprocess.run([floor, "--sun"], stdin=open(source), capture_output=True,
                                                      text=True, check=True).stdout), 0.0))
            for fmt in ("text", "csv", "json"):
                times[fmt].append(run([cli, "position", "--input", "-", "--format", fmt], source))
        base = statistics.median(c for c, _ in times["floor"])
        sun = statistics.median(c for c, _ in times["sun"])
        print(f"  {form}: floor {base:.3f} s, the sun alone {sun:.3f} s, together {base + sun:.3f} s")
        for fmt in ("text", "csv", "json"):
            cpu = statistics.median(c for c, _ in times[fmt])
            ratio = statistics.median(c / (f + s) for (c, _), (f, _), (s, _) in
                                      zip(times[fmt], times["floor"], times["sun"]))
            share = statistics.median(w / c for c, w in times[fmt])
            print(f"    {fmt:4}: {cpu:.3f} s CPU = {ratio:.2f}x floor and sun (target <= 1.3x); "
                  f"wall {share:.2f}x the CPU (target <= 0.6x)")

if __name__ == "__main__":
    main()
