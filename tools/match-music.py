#!/usr/bin/python3
"""Which tune is playing in a raw capture of the game's sound output?

  tools/match-music.py CAPTURE --from SECONDS --to SECONDS GAME_DIR

The capture is SDL's disk audio (interleaved stereo 32-bit floats, 44.1 kHz).
Prints the level of the stretch in dBFS, then, best first, how closely the
stretch follows the opening six seconds of every tune in GAME_DIR's
BGM.tsv: the normalised cross-correlation of the waveforms (1 = the same
sound, near 0 = unrelated) at the best offset from 0 to 3 s, and that
offset. A tune that began in the first 3 s of the stretch matches its own
file closely even under the sound effects, and no other.
Needs numpy (Debian's python3-numpy, hence the interpreter's full path).
"""
import argparse
import os
import subprocess
import sys

import numpy as np

RATE = 44100
MATCH_SECONDS = 6.0
MAX_OFFSET = 3.0


def mono(data):
    frames = np.frombuffer(data[:len(data) - len(data) % 8], dtype="<f4").reshape(-1, 2)
    return frames.astype(np.float64).mean(axis=1)


def decode_opening(path):
    run = subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-i", path, "-t", str(MATCH_SECONDS),
                          "-f", "f32le", "-ac", "2", "-ar", str(RATE), "-"],
                         capture_output=True, check=True)
    return mono(run.stdout)


def best_match(heard, tune):
    """Highest normalised cross-correlation of tune against heard[lag:]."""
    n = len(tune)
    lags = min(len(heard) - n, int(MAX_OFFSET * RATE)) + 1
    if lags <= 0:
        return 0.0, 0
    size = 1 << int(np.ceil(np.log2(len(heard) + n)))
    spectrum = np.fft.rfft(heard, size) * np.conj(np.fft.rfft(tune, size))
    dots = np.fft.irfft(spectrum, size)[:lags]
    energy = np.concatenate(([0.0], np.cumsum(heard * heard)))
    window = np.sqrt(np.maximum(energy[n:n + lags] - energy[:lags], 1e-20))
    r = dots / (window * np.sqrt(np.sum(tune * tune)) + 1e-20)
    lag = int(np.argmax(r))
    return float(r[lag]), lag


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("capture")
    p.add_argument("--from", dest="start", type=float, required=True)
    p.add_argument("--to", dest="end", type=float, required=True)
    p.add_argument("game")
    args = p.parse_args()

    with open(args.capture, "rb") as f:
        whole = mono(f.read())
    heard = whole[int(args.start * RATE):int(args.end * RATE)]
    if len(heard) == 0:
        print("the capture holds nothing in that stretch")
        return 1
    mean = float(np.mean(heard * heard))
    print(f"level {10 * np.log10(mean) if mean > 0 else float('-inf'):.1f} dBFS (mono sum) "
          f"over {len(heard) / RATE:.1f} s")
    with open(os.path.join(args.game, "Sounds", "BGM", "BGM.tsv"), encoding="utf-8") as f:
        rows = [l.rstrip("\r\n").split("\t") for l in f if l.strip() and not l.startswith("/")]
    scores = []
    for number, (file, _loop, _title) in enumerate(rows):
        r, lag = best_match(heard, decode_opening(os.path.join(args.game, "Sounds", "BGM", file)))
        scores.append((r, lag / RATE, number, file))
    scores.sort(reverse=True)
    for r, offset, number, file in scores:
        print(f"{number:3} {file:16} r={r:.3f} at +{offset:.3f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
