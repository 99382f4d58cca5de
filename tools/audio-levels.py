#!/usr/bin/env python3
"""Loudness and true peak of the built music and sound effects, measured with
ffmpeg's EBU R128 meter (ebur128 with peak=true).

  tools/audio-levels.py music GAME_DIR      table of every listed music file
  tools/audio-levels.py effects GAME_DIR    table of every effect, in the
                                            layout of content/sound/levels.tsv
  tools/audio-levels.py check GAME_DIR SOURCE_DIR
      fails unless every music file is within 1 LU of the target loudness
      with its true peak at most -1 dBTP, every effect matches its row in
      content/sound/levels.tsv, and no effect is louder than the music: its
      true peak not above the quietest music peak, its loudest 400 ms not
      above the music's target loudness.

Effects are measured as the game plays them, the mono file on both speakers,
with half a second of silence after so that even a click fills a 400 ms
window. Their loudness is the highest momentary (400 ms) loudness.
"""
import concurrent.futures
import os
import re
import subprocess
import sys

TARGET_LUFS = -16.0
TOLERANCE_LU = 1.0
MAX_TRUE_PEAK = -1.0
TABLE_SLACK_DB = 0.3  # measured effect levels may drift this far from the table


def ebur128(path, effect):
    chain = "ebur128=peak=true:framelog=verbose"
    if effect:
        chain = "pan=stereo|c0=c0|c1=c0,apad=pad_dur=0.5," + chain
    run = subprocess.run(
        ["ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-v", "verbose", "-i", path,
         "-af", chain, "-f", "null", "-"],
        capture_output=True, text=True, check=False)
    if run.returncode != 0:
        raise RuntimeError(f"ffmpeg could not read {path}: {run.stderr[-300:]}")
    summary = run.stderr[run.stderr.rfind("Summary:"):]
    integrated = float(re.search(r"I:\s+(-?[\d.]+|-inf) LUFS", summary).group(1))
    peak = float(re.search(r"Peak:\s+(-?[\d.]+|-inf) dBFS", summary).group(1))
    momentary = [float(m) for m in re.findall(r"\bM:\s*(-?[\d.]+|-inf)", run.stderr)]
    return {"integrated": integrated, "peak": peak,
            "momentary": max(momentary) if momentary else float("-inf")}


def music_files(game):
    """(number, file, title) for every entry of BGM.tsv."""
    rows = []
    with open(os.path.join(game, "Sounds", "BGM", "BGM.tsv"), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if not line or line.startswith("/"):
                continue
            file, _loop, title = line.split("\t")
            rows.append((len(rows), file, title))
    return rows


def measure_all(paths, effect):
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        return list(pool.map(lambda p: ebur128(p, effect), paths))


def effect_names(game):
    folder = os.path.join(game, "Sounds", "SE")
    return sorted(n[:-4] for n in os.listdir(folder) if n.endswith(".wav"))


def read_table(source):
    table = {}
    with open(os.path.join(source, "content", "sound", "levels.tsv"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, peak, loudness = line.split()[:3]
            table[name] = (float(peak), float(loudness))
    return table


def check(game, source):
    faults = []
    music = music_files(game)
    levels = measure_all([os.path.join(game, "Sounds", "BGM", f) for _, f, _ in music], False)
    for (number, file, _), m in zip(music, levels):
        print(f"music {number:2} {file:16} {m['integrated']:6.1f} LUFS {m['peak']:6.1f} dBTP")
        if abs(m["integrated"] - TARGET_LUFS) > TOLERANCE_LU:
            faults.append(f"{file}: {m['integrated']} LUFS, not within {TOLERANCE_LU} LU of {TARGET_LUFS}")
        if m["peak"] > MAX_TRUE_PEAK:
            faults.append(f"{file}: true peak {m['peak']} dBTP above {MAX_TRUE_PEAK}")
    music_peak = min(m["peak"] for m in levels)

    table = read_table(source)
    names = effect_names(game)
    if sorted(table) != names:
        faults.append(f"levels.tsv lists {sorted(table)}, the build has {names}")
    effects = measure_all([os.path.join(game, "Sounds", "SE", n + ".wav") for n in names], True)
    for name, e in zip(names, effects):
        print(f"effect {name:12} {e['peak']:6.1f} dBTP {e['momentary']:6.1f} LUFS (400 ms)")
        if e["peak"] > music_peak:
            faults.append(f"{name}: peak {e['peak']} dBTP above the quietest music peak {music_peak}")
        if e["momentary"] > TARGET_LUFS:
            faults.append(f"{name}: {e['momentary']} LUFS at its loudest, above the music's {TARGET_LUFS}")
        if name in table:
            peak, loudness = table[name]
            if abs(peak - e["peak"]) > TABLE_SLACK_DB or abs(loudness - e["momentary"]) > TABLE_SLACK_DB:
                faults.append(f"{name}: measures {e['peak']} dBTP {e['momentary']} LUFS, "
                              f"levels.tsv says {peak} {loudness}")
    for fault in faults:
        print("FAULT:", fault)
    return 1 if faults else 0


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "music":
        music = music_files(sys.argv[2])
        levels = measure_all([os.path.join(sys.argv[2], "Sounds", "BGM", f) for _, f, _ in music], False)
        for (number, file, title), m in zip(music, levels):
            print(f"{number}\t{file}\t{title}\t{m['integrated']:.1f}\t{m['peak']:.1f}")
        return 0
    if len(sys.argv) == 3 and sys.argv[1] == "effects":
        names = effect_names(sys.argv[2])
        effects = measure_all([os.path.join(sys.argv[2], "Sounds", "SE", n + ".wav") for n in names], True)
        for name, e in zip(names, effects):
            print(f"{name}\t{e['peak']:.1f}\t{e['momentary']:.1f}")
        return 0
    if len(sys.argv) == 4 and sys.argv[1] == "check":
        return check(sys.argv[2], sys.argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
