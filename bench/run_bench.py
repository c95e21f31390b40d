#!/usr/bin/env python3
"""Speed and memory of tessaly-cli against a plain read of the file and against the peer readers.

Usage: bench/run_bench.py [FILE...] [--build DIR] [--runs N] [--reader-runs N] [--writer-rows N]
                          [--work DIR] [--size-mb N] [--no-large] [--peer-max-mb N]

Without FILE: the 231 MB bench file (../shared/bench/bench-v2000.mdb.xz, unpacked into --work)
and a file of about 2 GB written by bench/make_bench_file into --work; both are made once and
kept there (default build/bench-work), never in the repository.
For each file, in one run and on this machine:
  1. the page scan and table discovery (`tessaly-cli analyze`) against `cat FILE > /dev/null`
     with the file in the page cache, idle and with both cores busy (two CPU-bound processes
     that the script starts and stops);
  2. the first, a middle and the last full screen of 100 records of the largest table, and the
     record index of that table (bench/screen_bench, in milliseconds);
  3. the CSV export of the table with the most rows (`tessaly-cli export --csv --table`) against
     `mdb-export` of it and against mdb-reader (Node) reading it: rows per second and ratios; the
     exported values are compared cell by cell with mdb-export's;
  4. the Access export of that table (`--access --table`): rows per second;
  5. the peak resident memory of every run (target under 100 MB for files of 1 GB and more);
and once: the Jet 4 writer (bench/jet4_write_bench): rows and MB per second.
Each figure is the median of N runs (default 3; mdb-reader, which takes minutes, --reader-runs,
default 1); ratios are of medians taken in the same run. Exports and written databases go to a
private folder under --work and are removed at the end.
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

HEX = re.compile(r"[0-9a-f]*")


def same_value(ours, peer):
    """Our CSV holds texts as they are (RFC 4180); mdb-export runs with -b hex."""
    if ours == peer:
        return True
    if HEX.fullmatch(ours) and peer == ours.upper():  # binary and OLE bytes: the peer writes upper case
        return True
    if (ours, peer) in (("Yes", "1"), ("No", "0")):
        return True
    if ours.startswith("{") and ours.endswith("}"):  # GUIDs: the peer groups the digits differently
        # -b hex writes a GUID's text as hexadecimal too
        if HEX.fullmatch(peer.lower()) and len(peer) > len(ours) and len(peer) % 2 == 0:
            peer = bytes.fromhex(peer).decode("ascii", "replace")
        return ours.replace("-", "").upper() == peer.replace("-", "").upper()
    try:
        if Decimal(ours) == Decimal(peer):
            return True
    except InvalidOperation:
        return False
    # mdb-export prints a double with 16 significant digits ("0.6899999999999999"), our export the
    # shortest text that reads back as the same double ("0.69"): equal when both read as one double.
    if len(peer.lstrip("-0.").replace(".", "").split("e")[0].split("E")[0]) >= 15:
        return float(ours) == float(peer)
    return False


def compare_values(ours_path, peer_path):
    """(rows compared, cells differing, first difference, rows only one side has)."""
    differing, first = 0, ""
    with open(ours_path, newline="", encoding="utf-8", errors="replace") as a, \
            open(peer_path, newline="", encoding="utf-8", errors="replace") as b:
        ours, peer = csv.reader(a), csv.reader(b)
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

class BusyCores:
    """Two CPU-bound processes beside the measured one, as a user's build and browser would be."""

    def __init__(self, count=2):
        self.count, self.processes = count, []

    def __enter__(self):
        self.processes = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(self.count)]
        time.sleep(0.2)  # let the scheduler see them before the timing starts
        return self

    def __exit__(self, *_):
        for process in self.processes:
            process.kill()
        for process in self.processes:
            process.wait()


def runnable():
    """Processes running or ready to run now (the fourth field of /proc/loadavg), '?' elsewhere."""
    try:
        with open("/proc/loadavg") as status:
            return status.read().split()[3].split("/")[0]
    except (OSError, IndexError):
        return "?"


def scan_against_cat(cli, path, runs):
    """Medians of `cat` and `tessaly-cli analyze`, interleaved; (cat s, analyze s, analyze RSS, cat RSS)."""
    cat, analyze = [], []
    for _ in range(runs):
        cat.append(run(["cat", path]))
        analyze.append(run([cli, "analyze", path]))
    return (median([c[0] for c in cat]), median([a[0] for a in analyze]), max(a[1] for a in analyze),
            max(c[1] for c in cat))


def bench_file(path, build, runs, reader_runs, work, node_folder, table, peer_max_mb):
    cli = os.path.join(build, "cli", "tessaly-cli")
    size_mb = os.path.getsize(path) / 1e6
    big = size_mb >= 1000
    ours_rss = []  # analysis, browsing and both exports: the memory target at 2 GB
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # into the page cache
    table.add(f"--- {os.path.basename(path)} ({size_mb:,.0f} MB)", "", "", "", "", "")

    # 1. page scan and table discovery against a sequential read, idle and with both cores busy
    for label, limit, busy in (("idle", 1.5, 0), ("both cores busy", 3.0, 2)):
        with BusyCores(busy):
            cat_s, analyze_s, analyze_rss, cat_rss = scan_against_cat(cli, path, runs)
            load = os.getloadavg()[0]  # a one-minute average: read after the runs, it lags anyway
            running = runnable()  # processes on or waiting for a core at that moment
        ratio = analyze_s / cat_s
        ours_rss.append(analyze_rss)
        table.add(f"analyze vs cat, {label} (load {load:.1f}, {running} runnable), s", f"{analyze_s:.3f}", f"{cat_s:.3f}",
                  f"{ratio:.2f}x", f"<= {limit:g}x: {verdict(ratio <= limit)}", f"{analyze_rss:.0f} / {cat_rss:.0f}")

    # 2. screens of 100 records
    _, screen_rss, out = run([os.path.join(build, "bench", "screen_bench"), path, str(max(runs, 5))],
                             stdout=subprocess.PIPE)
    ours_rss.append(screen_rss)
    s = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    worst = max(float(s["first_screen_ms"]), float(s["deep_screen_ms"]), float(s["middle_screen_ms"]))
    name = f"{s['table']} ({int(s['records']):,} records)"
    table.add(f"first screen of {name}, ms", s["first_screen_ms"], "", "", f"< 50 ms: {verdict(worst < 50)}",
              f"{screen_rss:.0f}")
    table.add(f"record index of {s['table']} (once per table), ms", s["index_ms"], "", "", "", "")
    table.add(f"middle screen of {s['table']}, ms", s["middle_screen_ms"], "", "",
              f"< 50 ms: {verdict(float(s['middle_screen_ms']) < 50)}", "")
    table.add(f"screen {s['deep_screen']} (last full) of {s['table']}, ms", s["deep_screen_ms"], "", "",
              f"< 50 ms: {verdict(float(s['deep_screen_ms']) < 50)}", "")
    table.add("every row as the record list reads it, rows/s",
              f"{int(s['all_rows']) / (float(s['all_rows_ms']) / 1000):,.0f}", "", "", "", "")

    # 3. CSV export of the table with the most rows against mdb-export and mdb-reader
    counts = {k[len("rows."):]: int(v) for k, v in s.items() if k.startswith("rows.") and not k.startswith("rows_ms.")}
    largest = max(counts, key=counts.get) if counts else s["table"]
    with_peer = size_mb <= peer_max_mb
    ours, mdb, reader = [], [], []
    exported_rows, export_dir, peer_csv = 0, None, os.path.join(work, "mdb-export.csv")
    for n in range(runs):
        destination = os.path.join(work, f"export-{n}")
        os.makedirs(destination)
        seconds, rss, out = run([cli, "export", path, "--to", destination, "--csv", "--table", largest],
                                stdout=subprocess.PIPE)
        ours.append((seconds, rss))
        found = {m.group(1).strip(): int(m.group(2)) for m in re.finditer(r"^\s*(.+?):\s+(\d+)\s*$", out, re.M)}
        exported_rows = found.get(largest, counts.get(largest, 0))
        if export_dir:
            shutil.rmtree(os.path.dirname(os.path.dirname(export_dir)))
        export_dir = os.path.join(destination, os.listdir(destination)[0], "Tables")
        if with_peer:
            with open(peer_csv, "w") as target:
                mdb.append(run(["mdb-export", "-b", "hex", "-T", "%m/%d/%Y %H:%M:%S", path, largest], stdout=target)[:2])
        if node_folder and with_peer and n < reader_runs:
            seconds, rss, out = run(["node", os.path.join(SOURCE, "bench", "mdb_reader_rows.mjs"), node_folder, path,
                                     largest], stdout=subprocess.PIPE)
            reader.append((seconds, rss, json.loads(out)))
    rows = exported_rows
    ours_s, ours_rss_export = median([o[0] for o in ours]), max(o[1] for o in ours)
    ours_rss.append(ours_rss_export)
    notes = []
    if with_peer:
        mdb_s = median([m[0] for m in mdb])
        ratio = mdb_s / ours_s
        compared, differing, first, extra = compare_values(os.path.join(export_dir, largest + ".csv"), peer_csv)
        if differing or extra:
            notes.append(f"{largest}: {differing} cells differ, {extra} rows on one side only" +
                         (f"; first {first}" if first else ""))
        table.add(f"CSV export of {largest} ({rows:,} rows), rows/s", f"{rows / ours_s:,.0f}",
                  f"mdb-export {rows / mdb_s:,.0f}", f"{ratio:.2f}x", f">= 3x: {verdict(ratio >= 3)}",
                  f"{ours_rss_export:.0f} / {max(m[1] for m in mdb):.0f}")
        table.add("  same values as mdb-export", f"{compared:,} rows compared",
                  f"{differing} cells differ", "", verdict(not differing and not extra), "")
    else:
        table.add(f"CSV export of {largest} ({rows:,} rows), rows/s", f"{rows / ours_s:,.0f}",
                  f"mdb-export skipped (> {peer_max_mb:g} MB)", "", "", f"{ours_rss_export:.0f}")
    if reader:
        reader_s = median([r[0] for r in reader])
        reader_rows = reader[-1][2].get(largest, 0)
        table.add(f"  against mdb-reader reading {largest}, rows/s", f"{rows / ours_s:,.0f}",
                  f"mdb-reader {reader_rows / reader_s:,.0f}", f"{reader_s / ours_s:.2f}x", "",
                  f"{ours_rss_export:.0f} / {max(r[1] for r in reader):.0f}")

    # 4. Access export of the same table
    access = []
    for n in range(runs):
        destination = os.path.join(work, f"access-{n}")
        os.makedirs(destination)
        access.append(run([cli, "export", path, "--to", destination, "--access", "--table", largest])[:2])
        shutil.rmtree(destination)
    access_s, access_rss = median([a[0] for a in access]), max(a[1] for a in access)
    ours_rss.append(access_rss)
    table.add(f"Access export of {largest} ({rows:,} rows), rows/s", f"{rows / access_s:,.0f}", "", "", "",
              f"{access_rss:.0f}")
    if big:
        peak = max(ours_rss)
        table.add("peak RSS of analysis, screens and both exports, MB", f"{peak:.0f}", "", "",
                  f"< 100 MB: {verdict(peak < 100)}", "")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    return notes


def shared_folder():
    """../shared beside the checkout (or beside the folder of worktrees that holds it)."""
    for up in (1, 2):
        candidate = os.path.join(SOURCE, *([".."] * up), "shared")
        if os.path.isdir(candidate):
            return os.path.abspath(candidate)
    return os.path.abspath(os.path.join(SOURCE, "..", "shared"))


def prepare_files(build, folder, size_mb, with_big):
    """The bench files in FOLDER, made when missing: the 231 MB file unpacked from ../shared/bench
    and the large file written by make_bench_file. Both stay for the next run; neither is committed."""
    os.makedirs(folder, exist_ok=True)
    files = []
    packed = os.path.join(shared_folder(), "bench", "bench-v2000.mdb.xz")
    unpacked = os.path.join(folder, "bench-v2000.mdb")
    if os.path.exists(unpacked):
        files.append(unpacked)
    elif os.path.exists(packed):
        print(f"unpacking {packed} into {folder}", flush=True)
        with open(unpacked + ".part", "wb") as target:
            subprocess.run(["xz", "-dc", packed], stdout=target, check=True)
        os.replace(unpacked + ".part", unpacked)
        files.append(unpacked)
    else:
        print(f"{packed} is missing: the 231 MB bench file is left out")
    if with_big:
        big = os.path.join(folder, f"bench-{size_mb}mb.mdb")
        if not os.path.exists(big):
            if os.path.exists(big + ".part.mdb"):
                os.remove(big + ".part.mdb")  # left by a run that was stopped
            print(f"writing {big} with make_bench_file", flush=True)
            seconds, rss, out = run([os.path.join(build, "bench", "make_bench_file"), big + ".part.mdb",
                                     "--size-mb", str(size_mb)], stdout=subprocess.PIPE)
            os.replace(big + ".part.mdb", big)
            print(f"  {out.strip().splitlines()[-1]} (peak RSS {rss:.0f} MB)", flush=True)
        files.append(big)
    return files


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
    parser.add_argument("files", nargs="*", help="default: the 231 MB bench file and the large generated file")
    parser.add_argument("--build", default=os.path.join(SOURCE, "build"))
    parser.add_argument("--runs", type=int, default=3)
    # mdb-reader takes minutes for a file of a few hundred MB: one run by default.
    parser.add_argument("--reader-runs", type=int, default=1)
    parser.add_argument("--writer-rows", type=int, default=1000000, help="0 leaves the writer bench out")
    parser.add_argument("--work", default=os.path.join(SOURCE, "build", "bench-work"),
                        help="folder of the bench files (kept) and of the run's exports (removed)")
    parser.add_argument("--size-mb", type=int, default=2000, help="size of the generated file")
    parser.add_argument("--no-large", action="store_true", help="leave the generated file out")
    parser.add_argument("--peer-max-mb", type=float, default=float("inf"),
                        help="run mdb-export and mdb-reader only on files up to this size")
    args = parser.parse_args()

    node_folder = os.path.join(args.build, "peers", "node")
    ensure = subprocess.run(["bash", os.path.join(SOURCE, "tests", "scripts", "ensure_mdb_reader.sh"), node_folder],
                            capture_output=True, text=True)
    if ensure.returncode != 0 or args.reader_runs < 1:
        print(f"mdb-reader not used ({ensure.stdout.strip() or 'reader runs 0'}): its row stays out")
        node_folder = None

    files = args.files or prepare_files(args.build, args.work, args.size_mb, not args.no_large)
    work = tempfile.mkdtemp(prefix="tessaly-bench-", dir=args.work if os.path.isdir(args.work) else None)
    try:
        print(f"{time.strftime('%Y-%m-%d %H:%M:%S')}, {os.cpu_count()} cores, load {os.getloadavg()[0]:.2f} "
              f"{os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}, medians of {args.runs} runs", flush=True)
        table, notes = Table(), []
        for path in files:
            notes += bench_file(path, args.build, args.runs, args.reader_runs, work, node_folder, table,
                                args.peer_max_mb)
        if args.writer_rows > 0:
            table.add("--- writer", "", "", "", "", "")
            bench_writer(args.build, args.runs, args.writer_rows, work, table)
        table.print(", ".join(os.path.basename(f) for f in files))
        for note in notes:
            print("  " + note)
        print(f"load at the end {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
