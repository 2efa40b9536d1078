#!/usr/bin/env python3
"""Turns demotool bench's JSON and Google Benchmark's JSON into bench/results.json and
bench/results.md. Called by bench/run.sh:
    report.py FRAMES.json MICRO.json OUT_DIR NPROC CPU LOAD_BEFORE LOAD_AFTER
Micro-benchmark names are GROUP/PEER/INPUT; every GROUP/INPUT with an "ours" entry and a peer's
entry gives one ratio ours / peer."""

import datetime
import json
import os
import sys
import tempfile

MEDIAN_TARGET_MS = 4.0
P99_TARGET_MS = 11.7
STARTUP_TARGET_MS = 300.0
POKE_TARGET_MS = 0.5
UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def write_replacing(path, text):
    """Writes a new file and renames it over `path`: a link or other file of that name is replaced,
    never written through."""
    fd, part = tempfile.mkstemp(dir=os.path.dirname(path) or ".", prefix=".results-")
    try:
        with os.fdopen(fd, "w") as f:
            f.write(text)
        os.chmod(part, 0o644)
        os.replace(part, path)
    except BaseException:
        os.unlink(part)
        raise


def verdict(ok):
    return "ok" if ok else "**over**"


def micro_medians(micro):
    """run name -> (real ms, entry), the median of the repetitions (or the single run)."""
    medians, singles = {}, {}
    for b in micro.get("benchmarks", []):
        if b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        ms = b["real_time"] * UNIT_MS[b.get("time_unit", "ns")]
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                medians[name] = (ms, b)
        else:
            singles.setdefault(name, (ms, b))
    singles.update(medians)
    return singles


def peer_pairs(results):
    pairs = []
    by_group = {}
    for name, (ms, _) in results.items():
        parts = name.split("/", 2)
        if len(parts) == 3:
            by_group.setdefault((parts[0], parts[2]), {})[parts[1]] = ms
    for (group, item), peers in sorted(by_group.items()):
        if "ours" not in peers:
            continue
        for peer, peer_ms in sorted(peers.items()):
            if peer == "ours" or peer_ms <= 0:
                continue
            ours = peers["ours"]
            pairs.append({"input": f"{group} {item}", "peer": peer, "oursMs": round(ours, 4),
                          "peerMs": round(peer_ms, 4), "ratio": round(ours / peer_ms, 3)})
    return pairs


def startup_lines(frames):
    s = frames["startup"]
    lines = ["| step | ms |", "|---|---:|", f"| unpack | {s['unpackMs']:.2f} |",
             f"| open, up to loadAssets (runner's unpack, window, context, loading picture) | "
             f"{s.get('beforeLoadMs', float('nan')):.2f} |",
             f"| loadAssets | {s['loadMs']:.2f} |"]
    for group, ms in s["groups"].items():
        lines.append(f"| &nbsp;&nbsp;{group} | {ms:.2f} |")
    lines.append(f"| first frame | {s.get('firstFrameMs', float('nan')):.2f} |")
    total = s["totalMs"]
    lines.append(f"| **total to the first frame** (target <= {STARTUP_TARGET_MS:.0f}) | "
                 f"{total:.2f} {verdict(total <= STARTUP_TARGET_MS)} |")
    return lines


def frame_lines(frames):
    lines = [f"| scene | frames | median ms (<= {MEDIAN_TARGET_MS}) | p99 ms (<= {P99_TARGET_MS}) "
             "| worst ms |", "|---|---:|---:|---:|---:|"]
    for scene, f in frames["scenes"].items():
        lines.append(f"| {scene} | {f['frames']} | {f['medianMs']:.3f} "
                     f"{verdict(f['medianMs'] <= MEDIAN_TARGET_MS)} | {f['p99Ms']:.3f} "
                     f"{verdict(f['p99Ms'] <= P99_TARGET_MS)} | {f['worstMs']:.3f} |")
    return lines


def peer_lines(pairs):
    lines = ["| input | peer | ours ms | peer ms | ours / peer |", "|---|---|---:|---:|---:|"]
    for p in pairs:
        lines.append(f"| {p['input']} | {p['peer']} | {p['oursMs']:.4f} | {p['peerMs']:.4f} | "
                     f"{p['ratio']:.3f} {verdict(p['ratio'] < 1.0)} |")
    return lines


def prepare_lines(results):
    lines = ["| set | faces | read ms | prepare ms | prepare us / face | whole load ms |",
             "|---|---:|---:|---:|---:|---:|"]
    for name, (ms, entry) in results.items():
        if not name.startswith("3ds prepare/ours/"):
            continue
        item = name.split("/", 2)[2]
        faces = entry.get("faces", 0)
        read = results.get(f"3ds read/ours/{item}", (float("nan"), None))[0]
        load = results.get(f"3ds load/ours/{item}", (float("nan"), None))[0]
        per_face = 1000.0 * ms / faces if faces else float("nan")
        lines.append(f"| {item} | {faces:.0f} | {read:.3f} | {ms:.3f} | {per_face:.4f} | "
                     f"{load:.3f} |")
    return lines


def other_lines(results):
    lines = ["| benchmark | ms |", "|---|---:|"]
    for name, (ms, _) in results.items():
        if name.split("/")[0] in ("3ds read", "3ds normals", "3ds prepare", "3ds load", "tga"):
            continue
        label = name.replace("/manual_time", "")
        target = ""
        if name.startswith("poke/"):
            target = f" (target <= {POKE_TARGET_MS}) {verdict(ms <= POKE_TARGET_MS)}"
        lines.append(f"| {label} | {ms:.4f}{target} |")
    return lines


def main(argv):
    frames_path, micro_path, out_dir, nproc, cpu, load_before, load_after = argv[1:8]
    with open(frames_path) as f:
        frames = json.load(f)
    with open(micro_path) as f:
        micro = json.load(f)
    results = micro_medians(micro)
    pairs = peer_pairs(results)
    context = micro.get("context", {})
    machine = {"nproc": int(nproc), "cpu": cpu, "gl": context.get("gl_renderer", "?"),
               "glVersion": context.get("gl_version", "?"), "loadBefore": load_before,
               "loadAfter": load_after,
               "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")}
    write_replacing(f"{out_dir}/results.json", json.dumps(
        {"frames": frames, "peers": pairs, "machine": machine,
         "micro": {name: round(ms, 5) for name, (ms, _) in results.items()}}, indent=1) + "\n")
    runs = frames.get("runs", 1)
    md = ["# Benchmark results", "",
          f"- machine: {machine['nproc']} cores, {machine['cpu']}",
          f"- GL: {machine['gl']}, {machine['glVersion']}",
          f"- date: {machine['date']}",
          f"- load average (1, 5, 15 min) before: {load_before}; after: {load_after}. Other "
          "builds and tests share the cores, so wall times are upper bounds.", "",
          f"## Start-up (demotool bench, best of {runs} runs, headless 800x600)", "",
          "The settling pause of one second is not counted; unpack is timed on its own, the "
          "total includes the runner's own unpack.", ""] + startup_lines(frames) + [
          "", f"## Frames (each finished with glFinish; best of {runs} runs per figure)", ""] + \
        frame_lines(frames) + [
          "", f"Peak resident memory: {frames['peakRssMb']:.1f} MB", "",
          "## Readers beside their peers (median of the repetitions)", "",
          "Each reads the same file by name and frees what it read. TGA: ours to RGB pixels "
          "(rows left bottom first, as GL takes them) against stb_image to RGB. 3DS read: ours "
          "reads the chunks and links the materials without GL; lib3ds_file_load; assimp "
          "ReadFile with no post-processing. 3DS normals: ours per vertex against lib3ds's "
          "per corner with smoothing groups, on a file read once.", ""] + peer_lines(pairs) + [
          "", "## 3DS preparation (ours, with GL)", "",
          "Prepare: texture maps, normals and one display list per object, finished with "
          "glFinish (material pictures excluded). Whole load: Scene3ds::load, pictures and "
          "uploads included.", ""] + prepare_lines(results) + [
          "", "## Other micro-benchmarks (median)", ""] + other_lines(results) + [""]
    write_replacing(f"{out_dir}/results.md", "\n".join(md))


if __name__ == "__main__":
    main(sys.argv)
