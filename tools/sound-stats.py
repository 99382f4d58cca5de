#!/usr/bin/env python3
"""Level statistics of a raw capture of the game's sound output.

The capture is what SDL's disk audio driver writes for the game: interleaved
stereo 32-bit floats at 44.1 kHz, native byte order.

  tools/sound-stats.py CAPTURE [--from SECONDS] [--to SECONDS]
                               [--rms-from SECONDS --rms-to SECONDS]

Prints the peak, the samples at or beyond +-0.999 ("stuck" at full scale),
the longest run of them, the 10-second window holding the most, and the RMS
level in dBFS of the --rms stretch (by default the whole selection).
"""
import argparse
import math
import sys
from array import array

RATE = 44100
FULL = 0.999


def load(path, start_s, end_s):
    samples = array("f")
    with open(path, "rb") as f:
        data = f.read()
    usable = len(data) - len(data) % 8  # whole stereo frames only
    samples.frombytes(data[:usable])
    first = int(start_s * RATE) * 2 if start_s is not None else 0
    last = int(end_s * RATE) * 2 if end_s is not None else len(samples)
    return samples[max(0, first) : min(len(samples), last)]


def rms_dbfs(samples):
    if not samples:
        return float("-inf")
    total = math.fsum(v * v for v in samples)
    mean = total / len(samples)
    return 10.0 * math.log10(mean) if mean > 0 else float("-inf")


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("capture")
    p.add_argument("--from", dest="start", type=float)
    p.add_argument("--to", dest="end", type=float)
    p.add_argument("--rms-from", type=float)
    p.add_argument("--rms-to", type=float)
    args = p.parse_args()

    s = load(args.capture, args.start, args.end)
    frames = len(s) // 2
    window = 10 * RATE * 2
    peak = 0.0
    stuck = 0
    run = longest = 0
    worst_window = worst_window_at = 0
    in_window = 0
    for i, v in enumerate(s):
        a = -v if v < 0 else v
        if a > peak:
            peak = a
        if i % 2 == 0:
            run_hit = False
        if a >= FULL:
            stuck += 1
            in_window += 1
            run_hit = True
        if i % 2 == 1:
            # A frame is stuck when either side is; runs count frames.
            run = run + 1 if run_hit else 0
            longest = max(longest, run)
        if (i + 1) % window == 0 or i + 1 == len(s):
            if in_window > worst_window:
                worst_window, worst_window_at = in_window, i // window * 10
            in_window = 0

    if args.rms_from is not None or args.rms_to is not None:
        r = load(args.capture, args.rms_from, args.rms_to)
    else:
        r = s
    print(f"seconds            {frames / RATE:.1f}")
    print(f"peak               {peak:.4f}")
    print(f"samples >= {FULL}    {stuck}")
    print(f"longest run        {longest} frames")
    print(f"worst 10 s window  {worst_window} samples (from {worst_window_at} s)")
    print(f"rms                {rms_dbfs(r):.2f} dBFS over {len(r) / 2 / RATE:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
