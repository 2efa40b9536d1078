#!/usr/bin/env python3
"""How far the pictures are from the music, measured on a recording of the real program.

    av_sync.py RECORDING_DIR REFERENCE_MP3 [--max-median MS] [--max-pair MS]

RECORDING_DIR holds video.nut (a grey patch of the screen's centre) and audio.nut (the sound
server's monitor), both recorded by one ffmpeg process with wall-clock timestamps, as
scripts/av_sync.sh records them. REFERENCE_MP3 is the pack's muza_final.mp3.

Each accent of the music (the eleven flash times and the closing hit at 16000 ms) is found in the
recording by matching the reference's loudness around it, to the millisecond. Each white flash is
a jump in the patch's brightness; its moment lies between the grab before and the grab that shows
it. Prints the offset of every pair (positive: the picture comes after the sound), the median and
the worst. Exits 1 when the median is beyond --max-median (default 20 ms) either way, or when an
accent has no flash within --max-pair (default 50 ms); 2 when the recording cannot be read.
"""
import argparse
import array
import statistics
import subprocess
import sys

ACCENTS_MS = [1000, 2605, 4280, 5861, 9050, 9621, 12000, 12149, 12349, 14604, 15591, 16000]
RATE = 44100
PATCH = 64 * 64
WHITE = 230  # grey level: a flash whitens the patch within one frame...
RISE = 30  # ...from wherever it was, even from the tail of the flash before
SEARCH_S = 0.3  # how far from its accent a flash is looked for


def run(command):
    result = subprocess.run(command, capture_output=True)
    if result.returncode != 0:
        sys.exit("av_sync: %s failed: %s" % (command[0], result.stderr.decode(errors="replace")[-400:]))
    return result.stdout


def packet_times(path):
    out = run(["ffprobe", "-v", "error", "-show_entries", "packet=pts_time", "-of", "csv=p=0", path])
    return [float(t) for t in out.split()]


def sample_clock(path):
    """The wall-clock time of a recorded sample. Each packet's stamp is the moment the recorder
    read it, less the sound server's latency: late by however long the recorder was busy, never
    early. So the clock is the line under the stamps: their earliest against the sample count, in
    each tenth of the recording, fitted by least squares (it also takes up the sink's own drift
    from the wall clock)."""
    out = run(["ffprobe", "-v", "error", "-show_entries", "packet=pts_time,duration_time",
               "-of", "csv=p=0", path])
    points, n = [], 0
    for line in out.decode().split():
        pts, duration = (float(v) for v in line.split(",")[:2])
        points.append((n / RATE, pts - n / RATE))
        n += round(duration * RATE)
    if len(points) < 20:
        sys.exit("av_sync: %s holds almost no sound" % path)
    tenth = len(points) // 10
    lows = [min(points[i:i + tenth], key=lambda p: p[1]) for i in range(0, tenth * 10, tenth)]
    mx = sum(x for x, _ in lows) / len(lows)
    my = sum(y for _, y in lows) / len(lows)
    slope = (sum((x - mx) * (y - my) for x, y in lows) /
             (sum((x - mx) ** 2 for x, _ in lows) or 1.0))
    return lambda sample: sample / RATE + my + slope * (sample / RATE - mx)


def pcm(path):
    """Mono samples at RATE, as the sum of both channels."""
    raw = run(["ffmpeg", "-v", "error", "-i", path, "-f", "s16le", "-ac", "2", "-ar", str(RATE), "-"])
    samples = array.array("h")
    samples.frombytes(raw[: len(raw) // 4 * 4])
    return [l + r for l, r in zip(samples[0::2], samples[1::2])]


def first_sample(ms):
    """The first sample of millisecond `ms`: the envelope's block `ms` starts there."""
    return ms * RATE // 1000


def envelope(samples):
    """Mean loudness in blocks of one millisecond."""
    blocks = []
    for ms in range(len(samples) * 1000 // RATE):
        part = samples[first_sample(ms):first_sample(ms + 1)]
        blocks.append(sum(abs(s) for s in part) / len(part))
    return blocks


def best_lag(ref, rec, centre, spread):
    """The block of `rec` where `ref` fits best (least squares after scaling), within spread of
    centre."""
    best, best_err = None, None
    ref_energy = sum(v * v for v in ref) or 1.0
    for lag in range(max(0, centre - spread), centre + spread + 1):
        part = rec[lag:lag + len(ref)]
        if len(part) < len(ref):
            break
        gain = sum(a * b for a, b in zip(ref, part)) / ref_energy
        err = sum((b - gain * a) ** 2 for a, b in zip(ref, part))
        if gain > 0 and (best_err is None or err < best_err):
            best, best_err = lag, err
    return best


def accents_heard(ref_env, rec_env):
    """Blocks of the recording where each accent is heard."""
    # Coarse: where the first 6 s of the music lie in the recording, at 10 ms.
    coarse = lambda env: [sum(env[i:i + 10]) for i in range(0, len(env) - 9, 10)]
    ref_c, rec_c = coarse(ref_env[:6000]), coarse(rec_env)
    start = best_lag(ref_c, rec_c, len(rec_c) // 2, len(rec_c) // 2)
    if start is None:
        sys.exit("av_sync: the music is not in the recording")
    heard = []
    for ms in ACCENTS_MS:
        # 60 ms before the accent to 140 ms after: its attack against what leads to it.
        window = ref_env[ms - 60:ms + 140]
        lag = best_lag(window, rec_env, start * 10 + ms - 60, 80)
        heard.append(None if lag is None else lag + 60)
    return heard


def flashes(video):
    times = packet_times(video)
    raw = run(["ffmpeg", "-v", "error", "-i", video, "-fps_mode", "passthrough", "-f", "rawvideo",
               "-pix_fmt", "gray", "-"])
    count = min(len(times), len(raw) // PATCH)
    bright = [sum(raw[i * PATCH:(i + 1) * PATCH]) / PATCH for i in range(count)]
    # A flash shows first in grab i: it came between grab i-1 and grab i.
    return [(times[i - 1] + times[i]) / 2 for i in range(1, count)
            if bright[i] >= WHITE and bright[i] - bright[i - 1] >= RISE]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("recording")
    parser.add_argument("reference")
    parser.add_argument("--max-median", type=float, default=20.0)
    parser.add_argument("--max-pair", type=float, default=50.0)
    args = parser.parse_args()

    audio, video = args.recording + "/audio.nut", args.recording + "/video.nut"
    clock = sample_clock(audio)
    heard = accents_heard(envelope(pcm(args.reference)), envelope(pcm(audio)))
    jumps = flashes(video)

    offsets, missing = [], []
    for ms, block in zip(ACCENTS_MS, heard):
        if block is None:
            missing.append(ms)
            print("accent %5d ms: not heard" % ms)
            continue
        sound = clock(first_sample(block))
        near = [t for t in jumps if abs(t - sound) <= SEARCH_S]
        if not near:
            missing.append(ms)
            print("accent %5d ms: heard, no flash within %d ms" % (ms, SEARCH_S * 1000))
            continue
        picture = min(near, key=lambda t: abs(t - sound))
        offset = (picture - sound) * 1000
        offsets.append(offset)
        if abs(offset) > args.max_pair:
            missing.append(ms)
        print("accent %5d ms: picture %+6.1f ms from the sound" % (ms, offset))
    if not offsets:
        print("av_sync: no accent paired with a flash")
        return 1
    median = statistics.median(offsets)
    worst = max(offsets, key=abs)
    print("median %+.1f ms, worst %+.1f ms over %d of %d accents"
          % (median, worst, len(offsets), len(ACCENTS_MS)))
    if missing:
        print("av_sync: no flash within %g ms of the accents at %s ms"
              % (args.max_pair, ", ".join(map(str, missing))))
        return 1
    if abs(median) > args.max_median:
        print("av_sync: the median offset %+.1f ms is beyond %g ms" % (median, args.max_median))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
