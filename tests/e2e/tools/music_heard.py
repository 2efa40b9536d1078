#!/usr/bin/env python3
"""Whether a recording of the presentation holds its music as it should be heard.

    music_heard.py RECORDING ZERO REFERENCE [--slack SECONDS]

RECORDING  raw audio as parec writes it: s16le, stereo, 44100 Hz.
ZERO       the presentation's time zero (its first frame after the loading picture), in seconds
           from the recording's first sample.
REFERENCE  the pack's muza_final.mp3 (decoded here with ffmpeg).
--slack    how far time zero itself may be off, in seconds (default 0.25).

The recording must be silent before time zero and the music start there, keep the spacing of the
reference's accents (its own speed), keep the reference's top band (its own sample rate), and end
with silence until the recording ends, at least 3 s later (it never plays again). Prints what it
measured: where the sound starts and how long it lasts, each accent's delay, the spacing ratio,
the top band's share, the silence after the end. On a violation, the last line says which and the
exit status is 1 (2 for a wrong command line).

The recording's clock: tests/e2e/tools/lib.sh's recording_clock tells the moment of the first
sample of what parec writes; ZERO is the first frame's moment minus that.
"""
import argparse
import array
import cmath
import math
import subprocess
import sys

RATE = 44100
BLOCK = 441  # 10 ms
SILENT = 8.0  # block RMS in 16-bit units (-72 dBFS); the null sink gives zeros when nothing plays
ACCENTS = 12  # the reference's hits: the flash times and the closing one, its strongest onsets
TOP_BAND = 11600  # Hz: above what a device opened at half the rate (22050 Hz) can play
AFTER_END = 3.0  # recorded after the music's end, in seconds, to hear it not play again


def mono(pcm):
    samples = array.array("h")
    samples.frombytes(pcm[: len(pcm) // 4 * 4])
    return [l + r for l, r in zip(samples[0::2], samples[1::2])]


def envelope(mono):
    """RMS of the mono mix in 10 ms blocks."""
    return [
        math.sqrt(sum(x * x for x in mono[i : i + BLOCK]) / BLOCK) / 2
        for i in range(0, len(mono) - BLOCK + 1, BLOCK)
    ]


def accents(env, count):
    """Times (s) of the strongest rises of the envelope, at least 150 ms apart, in time order."""
    rise = [0.0, 0.0] + [max(0.0, env[i] - env[i - 2]) for i in range(2, len(env))]
    peaks = sorted(
        (i for i in range(1, len(rise) - 1) if rise[i] >= rise[i - 1] and rise[i] > rise[i + 1]),
        key=lambda i: -rise[i],
    )
    chosen = []
    for p in peaks:
        if all(abs(p - q) >= 15 for q in chosen):
            chosen.append(p)
        if len(chosen) == count:
            break
    return sorted(chosen)


def lag_of(reference, heard, at, guess, reach):
    """Where the second around block `at` of the reference lies in the recording, searched within
    `reach` blocks of block `guess`: the lag (blocks) of the best normalised correlation, and that
    correlation."""
    part = reference[max(0, at - 50) : at + 50]
    start = guess - (at - max(0, at - 50))

    def match(lag):
        seg = heard[max(0, start + lag) : start + lag + len(part)]
        num = sum(x * y for x, y in zip(part, seg))
        den = math.sqrt(sum(x * x for x in part) * sum(y * y for y in seg))
        return num / den if den else 0.0

    lag = max(range(-reach, reach + 1), key=match)
    return lag, match(lag)


def stretch_of(reference, heard):
    """How many times longer than the reference the recording (from its first sound) plays it: the
    time scale, 0.5 to 2 in steps of 1%, at which their envelopes correlate best."""

    def match(scale):
        n = min(len(heard), int(len(reference) * scale))
        pairs = [(reference[int(j / scale)], heard[j]) for j in range(n)]
        num = sum(x * y for x, y in pairs)
        den = math.sqrt(sum(x * x for x, _ in pairs) * sum(y * y for _, y in pairs))
        return num / den if den else 0.0

    return max((0.5 + k / 100 for k in range(151)), key=match)


def fft(x):
    n = len(x)
    if n == 1:
        return x
    even, odd = fft(x[0::2]), fft(x[1::2])
    turned = [cmath.exp(-2j * math.pi * k / n) * odd[k] for k in range(n // 2)]
    return [e + t for e, t in zip(even, turned)] + [e - t for e, t in zip(even, turned)]


def top_band(mono, start):
    """The share of the music's energy above TOP_BAND, from 100 windows of 1024 samples spread
    over its first 20 s after `start` (s)."""
    n = 1024
    hann = [0.5 - 0.5 * math.cos(2 * math.pi * i / n) for i in range(n)]
    cut = int(TOP_BAND * n / RATE)
    top = total = 0.0
    for k in range(100):
        i = int((start + 0.5 + k * 0.19) * RATE)
        spectrum = fft([x * w for x, w in zip(mono[i : i + n], hann)])
        power = [abs(c) ** 2 for c in spectrum[1 : n // 2]]
        top += sum(power[cut - 1 :])
        total += sum(power)
    return top / total if total else 0.0


def sounding(env):
    """First and last block times (s) above silence, or None."""
    loud = [i for i, v in enumerate(env) if v > SILENT]
    return (loud[0] * BLOCK / RATE, (loud[-1] + 1) * BLOCK / RATE) if loud else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("recording")
    parser.add_argument("zero", type=float)
    parser.add_argument("reference")
    parser.add_argument("--slack", type=float, default=0.25)
    a = parser.parse_args()

    with open(a.recording, "rb") as f:
        heard_pcm = mono(f.read())
    heard = envelope(heard_pcm)
    decode = ["ffmpeg", "-v", "error", "-i", a.reference, "-f", "s16le", "-ac", "2", "-ar", "44100"]
    decoded = subprocess.run(decode + ["-"], check=True, stdout=subprocess.PIPE).stdout
    reference_pcm = mono(decoded)
    reference = envelope(reference_pcm)
    length = len(decoded) / 4 / RATE
    recorded = len(heard) * BLOCK / RATE
    ref_sound = sounding(reference)
    span = sounding(heard)

    def violation(reason):
        print("music_heard: " + reason)
        sys.exit(1)

    print(
        "music_heard: %.2f s recorded, time zero at %.3f s (+-%.3f s), the reference %.2f s long"
        % (recorded, a.zero, a.slack, length)
    )
    if span is None:
        violation("nothing was heard")
    first, last = span
    heard_length, ref_length = last - first, ref_sound[1] - ref_sound[0]
    print(
        "music_heard: sound from %.3f s (%+.3f s from time zero) to %.3f s: %.2f s heard, the "
        "reference's %.2f s (ratio %.4f)"
        % (first, first - a.zero, last, heard_length, ref_length, heard_length / ref_length)
    )
    if first < a.zero - a.slack:
        violation("sound heard %.2f s before time zero" % (a.zero - first))
    if first > a.zero + a.slack:
        violation("the music starts %.2f s after time zero" % (first - a.zero))

    # First the whole music's time scale, then each accent's place for the finer spacing.
    stretch = stretch_of(reference, heard[int(first * RATE / BLOCK) :])
    print("music_heard: the music heard %.2f times as long as the reference" % stretch)
    # Coarse: a loaded machine's dropouts have added 1.5 s of silence (7 %); a wrong rate is off by
    # 9 % (48000 Hz music at 44100) and more, and the accents' spacing below measures the speed to 1 %.
    if abs(stretch - 1) > 0.2:
        violation("the music is heard %.2f times as long as it is: not at its speed" % stretch)

    # Each accent of the reference is looked for near where the previous one was found, so that
    # a dropout (silence inserted when a loaded machine starves the audio thread) delays what
    # follows without losing it. The median ratio of consecutive accents' spacing, heard against
    # the reference's, is 1 at the music's own speed; a dropout within one interval cannot move it.
    to_s = BLOCK / RATE
    want = accents(reference, ACCENTS)
    shift = round((first - ref_sound[0]) / to_s)
    got, matches = [], []
    for k, w in enumerate(want):
        lag, match = lag_of(reference, heard, w, w + shift, 30 if k == 0 else 10)
        shift += lag
        got.append(w + shift)
        matches.append(match)
    spacing = sorted((g1 - g0) / (w1 - w0) for w0, w1, g0, g1 in zip(want, want[1:], got, got[1:]))
    ratio = spacing[len(spacing) // 2]
    # A dropout inside an accent's second spoils that one match only.
    match = sorted(matches)[len(matches) // 2]
    late = [(g - w) * to_s - (first - ref_sound[0]) for w, g in zip(want, got)]
    gaps = sum(1 for v in heard[int(first / to_s) : int(last / to_s)] if v <= SILENT) * to_s
    print(
        "music_heard: accents at %s s of the music heard %s ms late (%.2f s silent between); "
        "spacing ratio %.4f, median match %.3f"
        % (
            " ".join("%.2f" % (w * to_s) for w in want),
            " ".join("%+.0f" % (d * 1000) for d in late),
            gaps,
            ratio,
            match,
        )
    )
    if match < 0.9:
        violation("the accents were not heard near their places (a median match of %.3f)" % match)
    if abs(ratio - 1) > 0.01:
        violation("the accents are spaced %.4f times as in the reference: not at its speed" % ratio)

    # A device opened at a lower rate than the music's resamples it: same speed, no top octave.
    top, ref_top = top_band(heard_pcm, first - ref_sound[0]), top_band(reference_pcm, 0.0)
    print(
        "music_heard: %.3f%% of the energy above %d Hz, the reference's %.3f%%"
        % (top * 100, TOP_BAND, ref_top * 100)
    )
    if top < ref_top / 2:
        violation("the music lacks its top band: it was played at a lower sample rate")

    # Where the music ends, counted from its last accent: dropouts before it delay the end too.
    end = got[-1] * to_s + length - want[-1] * to_s
    if recorded < end + AFTER_END:
        violation("recorded only %.2f s past the music's end: too short to tell" % (recorded - end))
    # Dropouts after the last accent delay the end by up to some tenths of a second; a second
    # playing sounds on to the end of the recording.
    if last > end + AFTER_END / 2:
        violation("sound until %.2f s after the music's end: it plays again" % (last - end))
    print("music_heard: silence before time zero and %.2f s after the end" % (recorded - end))


if __name__ == "__main__":
    main()
