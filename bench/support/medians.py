"""Medians of the timed runs the benchmark scripts record, one line each:
"<file> <program> <seconds> <KiB of peak memory>"."""

import statistics


def median_cells(path):
    """{(file, program): (median seconds, median MiB)}, in the order first met."""
    cells = {}
    for line in open(path):
        fmt, prog, sec, kib = line.split()
        cells.setdefault((fmt, prog), []).append((float(sec), int(kib)))
    return {k: (statistics.median(s for s, _ in v), statistics.median(m for _, m in v) / 1024)
            for k, v in cells.items()}


def print_comparison(med, ours, heading, program_width, time_digits):
    """One row a cell, each other program's row with our time and memory as a
    multiple of its own."""
    print(f"{'file':5} {'program':{program_width}} {'time s':>7} {'peak MiB':>9}  {heading}")
    for (fmt, prog), (sec, mib) in med.items():
        own = med[(fmt, ours)]
        note = "" if prog == ours else f"time x{own[0] / sec:.2f}, memory x{own[1] / mib:.2f}"
        print(f"{fmt:5} {prog:{program_width}} {sec:7.{time_digits}f} {mib:9.1f}  {note}")
