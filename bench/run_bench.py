#!/usr/bin/env python3
"""Speed and memory of tessaly-cli against a plain read of the file and against the peer readers.

Usage: bench/run_bench.py FILE... [--build DIR] [--runs N] [--reader-runs N] [--writer-rows N] [--work DIR]

For each FILE, in one run and on this machine:
  1. the page scan and table discovery (`tessaly-cli analyze`) against `cat FILE > /dev/null`
     with the file in the page cache;
  2. the first screen of 100 records of the largest table, the record index of that table and
     a screen deep in it (bench/screen_bench, in milliseconds);
  3. the CSV export of every table (`tessaly-cli export --csv`) against `mdb-export` of every
     table and against mdb-reader (Node) reading every row: rows per second and ratios; the
     exported values are compared cell by cell with mdb-export's;
  4. the Jet 4 writer (bench/jet4_write_bench): rows and MB per second;
  5. the peak resident memory of every run.
Each figure is the median of N runs (default 3; mdb-reader, which takes minutes, --reader-runs,
default 1); ratios are of medians taken in the same run.
Files written (exports, written databases) go to a private folder under --work (default $TMPDIR)
and are removed at the end.
"""
import argparse
import csv
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from decimal import Decimal, InvalidOperation

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
csv.field_size_limit(1 << 30)


def run(command, stdout=subprocess.DEVNULL, cwd=None):
    """Runs command under /usr/bin/time; returns (seconds, peak RSS in MB, stdout text or None)."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as timing:
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", timing.name] + command, stdout=stdout,
                                stderr=subprocess.PIPE, cwd=cwd, text=stdout == subprocess.PIPE)
        seconds = time.perf_counter() - start
        if result.returncode != 0:
            sys.exit(f"run_bench: {' '.join(command)} failed ({result.returncode}): {result.stderr[-500:]}")
        rss_kb = int(timing.read().strip().splitlines()[-1])
    return seconds, rss_kb / 1024, result.stdout if stdout == subprocess.PIPE else None


def median(values):
    return statistics.median(values) if values else float("nan")


class Table:
    """Rows of the printed table: figure, tessaly, peer, ratio, target, peak RSS."""

    def __init__(self):
        self.rows = []

    def add(self, figure, ours, peer="", ratio="", target="", rss=""):
        self.rows.append((figure, ours, peer, ratio, target, rss))

    def print(self, title):
        header = ("figure", "tessaly", "peer", "ratio", "target", "peak RSS MB (ours / peer)")
        rows = [header] + [tuple(str(c) for c in r) for r in self.rows]
        widths = [max(len(r[i]) for r in rows) for i in range(len(header))]
        print(f"\n{title}")
        for n, r in enumerate(rows):
            print("  " + " | ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
            if n == 0:
                print("  " + "-+-".join("-" * w for w in widths))


def verdict(ok):
    return "met" if ok else "MISSED"


# --- values: our CSV against mdb-export's -------------------------------------------------

def clean_like_ours(text):
    """The CSV export's field rules: trimmed, line breaks and quotes ';', '\\' doubled, "'" '`'."""
    text = text.strip(" \t\n\r\v\f")
    return text.replace("\\", "\\\\").replace("\n", ";").replace("\r", ";").replace('"', ";").replace("'", "`")


def same_value(ours, peer):
    peer = clean_like_ours(peer)
    if ours == peer:
        return True
    if ours.startswith("?{file '"):  # an OLE object kept as a file; the peer prints its bytes
        return peer != ""
    if (ours, peer) in (("Yes", "1"), ("No", "0")):
        return True
    if ours.startswith("{") and ours.endswith("}"):  # GUIDs: the peer groups the digits differently
        return ours.replace("-", "").upper() == peer.replace("-", "").upper()
    try:
        return Decimal(ours) == Decimal(peer)
    except InvalidOperation:
        return False


def compare_values(ours_path, peer_path):
    """(rows compared, cells differing, first difference, rows only one side has)."""
    differing, first = 0, ""
    with open(ours_path, newline="", encoding="utf-8", errors="replace") as a, \
            open(peer_path, newline="", encoding="utf-8", errors="replace") as b:
        ours, peer = csv.reader(a, skipinitialspace=True), csv.reader(b)
        header = next(ours, [])
        next(peer, None)
        rows = 0
        for row_a, row_b in zip(ours, peer):
            rows += 1
            for name, x, y in zip(header, row_a, row_b):
                if not same_value(x, y):
                    differing += 1
                    first = first or f"row {rows} {name}: {x[:40]!r} vs {y[:40]!r}"
        extra = sum(1 for _ in ours) + sum(1 for _ in peer)
    return rows, differing, first, extra


# --- the measurements ------------------------------------------------------------------------

def bench_file(path, build, runs, reader_runs, work, node_folder, table):
    cli = os.path.join(build, "cli", "tessaly-cli")
    size_mb = os.path.getsize(path) / 1e6
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # into the page cache

    # 1. page scan and table discovery against a sequential read
    cat, analyze = [], []
    for _ in range(runs):
        cat.append(run(["cat", path]))
        analyze.append(run([cli, "analyze", path]))
    cat_s, analyze_s = median([c[0] for c in cat]), median([a[0] for a in analyze])
    ratio = analyze_s / cat_s
    table.add(f"analyze ({size_mb:.0f} MB) vs cat, s", f"{analyze_s:.3f}", f"{cat_s:.3f}", f"{ratio:.2f}x",
              f"<= 3x: {verdict(ratio <= 3)}",
              f"{max(a[1] for a in analyze):.0f} / {max(c[1] for c in cat):.0f}")

    # 2. screens of 100 records
    _, screen_rss, out = run([os.path.join(build, "bench", "screen_bench"), path, str(max(runs, 5))],
                             stdout=subprocess.PIPE)
    s = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    worst = max(float(s["first_screen_ms"]), float(s["deep_screen_ms"]), float(s["middle_screen_ms"]))
    name = f"{s['table']} ({int(s['records']):,} records)"
    table.add(f"first screen of {name}, ms", s["first_screen_ms"], "", "", f"< 50 ms: {verdict(worst < 50)}",
              f"{screen_rss:.0f}")
    table.add(f"record index of {s['table']} (once per table), ms", s["index_ms"], "", "", "", "")
    table.add(f"screen {s['deep_screen']} (last full) of {s['table']}, ms", s["deep_screen_ms"], "", "",
              f"< 50 ms: {verdict(float(s['deep_screen_ms']) < 50)}", "")
    table.add(f"middle screen of {s['table']}, ms", s["middle_screen_ms"], "", "",
              f"< 50 ms: {verdict(float(s['middle_screen_ms']) < 50)}", "")
    table.add("every row as the record list reads it, rows/s",
              f"{int(s['all_rows']) / (float(s['all_rows_ms']) / 1000):,.0f}", "", "", "", "")

    # 3. CSV export of every table against mdb-export and mdb-reader
    tables = subprocess.run(["mdb-tables", "-1", path], capture_output=True, text=True,
                            check=True).stdout.split("\n")
    tables = [t for t in tables if t]
    ours, mdb, reader = [], [], []
    exported_rows, export_dir, peer_dir = {}, None, os.path.join(work, "mdb-export")
    for n in range(runs):
        destination = os.path.join(work, f"export-{n}")
        os.makedirs(destination)
        seconds, rss, out = run([cli, "export", path, "--to", destination, "--csv"], stdout=subprocess.PIPE)
        ours.append((seconds, rss))
        exported_rows = {m.group(1).strip(): int(m.group(2))
                         for m in re.finditer(r"^\s*(.+?):\s+(\d+)\s*$", out, re.M)}
        if export_dir:
            shutil.rmtree(os.path.dirname(export_dir))
        export_dir = os.path.join(destination, os.listdir(destination)[0], "Tables")

        os.makedirs(peer_dir, exist_ok=True)
        seconds, rss = 0.0, 0.0
        for t in tables:
            with open(os.path.join(peer_dir, t + ".csv"), "w") as target:
                s_, r_, _ = run(["mdb-export", "-T", "%m/%d/%Y %H:%M:%S", path, t], stdout=target)
            seconds, rss = seconds + s_, max(rss, r_)
        mdb.append((seconds, rss))
        if node_folder and n < reader_runs:
            seconds, rss, out = run(["node", os.path.join(SOURCE, "bench", "mdb_reader_rows.mjs"), node_folder, path],
                                    stdout=subprocess.PIPE)
            reader.append((seconds, rss, json.loads(out)))
    rows = sum(exported_rows.get(t, 0) for t in tables)
    ours_s, mdb_s = median([o[0] for o in ours]), median([m[0] for m in mdb])
    ratio = mdb_s / ours_s
    compared, differing, notes = 0, 0, []
    for t in tables:
        r, d, first, extra = compare_values(os.path.join(export_dir, t + ".csv"), os.path.join(peer_dir, t + ".csv"))
        compared, differing = compared + r, differing + d
        if d or extra:
            notes.append(f"{t}: {d} cells differ, {extra} rows on one side only" + (f"; first {first}" if first else ""))
    identical = differing == 0 and not notes
    table.add(f"CSV export of {len(tables)} tables ({rows:,} rows), rows/s", f"{rows / ours_s:,.0f}",
              f"mdb-export {rows / mdb_s:,.0f}", f"{ratio:.2f}x", f">= 2x: {verdict(ratio >= 2)}",
              f"{max(o[1] for o in ours):.0f} / {max(m[1] for m in mdb):.0f}")
    table.add("  same values as mdb-export", f"{compared:,} rows compared",
              f"{differing} cells differ", "", verdict(identical), "")
    if reader:
        reader_s = median([r[0] for r in reader])
        reader_rows = sum(reader[-1][2].get(t, 0) for t in tables)
        table.add("  against mdb-reader reading every row, rows/s", f"{rows / ours_s:,.0f}",
                  f"mdb-reader {reader_rows / reader_s:,.0f}", f"{reader_s / ours_s:.2f}x", "",
                  f"{max(o[1] for o in ours):.0f} / {max(r[1] for r in reader):.0f}")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    return notes


def bench_writer(build, runs, rows, work, table):
    results = {}
    for _ in range(runs):
        _, rss, out = run([os.path.join(build, "bench", "jet4_write_bench"), work, str(rows)], stdout=subprocess.PIPE)
        for line in out.splitlines():
            f = line.split()
            # name ROWS rows MB MB SECONDS s ROWS/S rows/s MB/S MB/s
            results.setdefault(f[0], []).append((int(f[1]), float(f[3]), float(f[7]), float(f[9]), rss))
    for shape, values in results.items():
        table.add(f"Jet 4 writer, '{shape}' table ({values[0][0]:,} rows, {values[0][1]:.0f} MB)",
                  f"{median([v[2] for v in values]):,.0f} rows/s", f"{median([v[3] for v in values]):.1f} MB/s",
                  "", "", f"{max(v[4] for v in values):.0f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("files", nargs="+")
    parser.add_argument("--build", default=os.path.join(SOURCE, "build"))
    parser.add_argument("--runs", type=int, default=3)
    # mdb-reader takes minutes for a file of a few hundred MB: one run by default.
    parser.add_argument("--reader-runs", type=int, default=1)
    parser.add_argument("--writer-rows", type=int, default=1000000)
    parser.add_argument("--work", default=os.environ.get("TMPDIR", "/tmp"))
    args = parser.parse_args()

    node_folder = os.path.join(args.build, "peers", "node")
    ensure = subprocess.run(["bash", os.path.join(SOURCE, "tests", "scripts", "ensure_mdb_reader.sh"), node_folder],
                            capture_output=True, text=True)
    if ensure.returncode != 0:
        print(f"mdb-reader not available ({ensure.stdout.strip()}): its column stays empty")
        node_folder = None

    work = tempfile.mkdtemp(prefix="tessaly-bench-", dir=args.work)
    try:
        print(f"{time.strftime('%Y-%m-%d %H:%M:%S')}, {os.cpu_count()} cores, load {os.getloadavg()[0]:.2f} "
              f"{os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}, medians of {args.runs} runs")
        table, notes = Table(), []
        for path in args.files:
            notes += bench_file(path, args.build, args.runs, args.reader_runs, work, node_folder, table)
        bench_writer(args.build, args.runs, args.writer_rows, work, table)
        table.print(", ".join(os.path.basename(f) for f in args.files))
        for note in notes:
            print("  " + note)
        print(f"load at the end {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
