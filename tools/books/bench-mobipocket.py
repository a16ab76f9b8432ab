#!/usr/bin/python3
"""Decoded text per second of a Mobipocket book of about 5 MB of text, PalmDOC- and HUFF/CDIC-compressed,
by corvelle-dump and by Debian's mobitool in the same run:
  - mobitool -d: the text records decompressed, their trailing entries off, written to a file;
  - corvelle-dump --export text: the same, and the markup read as a person reads it (UTF-8 text);
  - corvelle-dump --export json: every record, the text records' texts converted one by one.
Each command runs RUNS times; the figures are megabytes of the book's text per second of the best
wall-clock run and of the median processor time (user and system), which a busy machine disturbs less.
Then, where the build has it (tools/bench-mobipocket beside corvelle-dump's tools/), the same book in-process
(Google Benchmark): the document as the Text page reads it, the text records only decompressed (what
mobitool -d does, its process and file aside), and every record's fields as --record N decodes them,
without starting a process or writing the text (the export, like mobitool, writes it out as it goes, in
pieces of 64 KB).
  bench-mobipocket.py CORVELLE-DUMP [MEGABYTES [RUNS]]"""
import json
import os
import resource
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def measure(command, runs):
    walls, cpus = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        walls.append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
    return min(walls), statistics.median(cpus)


def row(name, text_mb, reader, wall, cpu):
    print(f"{name:<20}{text_mb:6.1f}  {reader:<30}{wall:9.3f}{text_mb / wall:9.1f}{cpu:9.3f}{text_mb / max(cpu, 1e-6):9.1f}")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    dump = sys.argv[1]
    megabytes = float(sys.argv[2]) if len(sys.argv) > 2 else 5
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 15
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["/usr/bin/python3", os.path.join(HERE, "write-mobi-books.py"), "--bench", str(megabytes),
                        folder], check=True)
        print(f"{'book':<20}{'MB':>6}  {'reader':<30}{'wall s':>9}{'MB/s':>9}{'cpu s':>9}{'MB/s':>9}")
        for name in ("bench-palmdoc.mobi", "bench-huff.mobi"):
            path = os.path.join(folder, name)
            data = open(path, "rb").read()
            record0 = struct.unpack_from(">I", data, 78)[0]
            text_mb = struct.unpack_from(">I", data, record0 + 4)[0] / 1e6
            for reader, command in (("mobitool -d", ["mobitool", "-d", "-o", folder, path]),
                                    ("corvelle-dump --export text", [dump, "--export", "text", path]),
                                    ("corvelle-dump --export json", [dump, "--export", "json", path])):
                wall, cpu = measure(command, runs)
                row(name, text_mb, reader, wall, cpu)
            bench = os.path.join(os.path.dirname(os.path.abspath(dump)), "tools", "bench-mobipocket")
            if os.path.exists(bench):
                result = subprocess.run([bench, "--benchmark_format=json", f"--benchmark_repetitions={runs}",
                                         "--benchmark_report_aggregates_only=true", path],
                                        capture_output=True, check=True, text=True)
                for figure in json.loads(result.stdout)["benchmarks"]:
                    if figure.get("aggregate_name") != "median":
                        continue
                    scale = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9}[figure["time_unit"]]
                    row(name, text_mb, "in-process " + figure["run_name"].split("/")[0], figure["real_time"] * scale,
                        figure["cpu_time"] * scale)


if __name__ == "__main__":
    main()
