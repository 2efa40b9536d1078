#!/usr/bin/env bash
# make_seeds.sh SEEDS_WRITER OUT_DIR: the seed corpus of every fuzz target in OUT_DIR/<target>/:
# the small well-formed and broken files of the seed writer (the tests' chunk and TGA writers),
# plus the real assets of `demotool forge` when a demotool is found ($DEMOTOOL or build/demotool).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
writer=${1:?usage: make_seeds.sh SEEDS_WRITER OUT_DIR}
out=${2:?usage: make_seeds.sh SEEDS_WRITER OUT_DIR}

mkdir -p "$out"
"$writer" "$out"

demotool=${DEMOTOOL:-$root/build/demotool}
if [ ! -x "$demotool" ]; then
  echo "make_seeds: no demotool at $demotool; seeds from the writers only" >&2
  exit 0
fi
forge=$(mktemp -d)
trap 'rm -rf "$forge"' EXIT
"$demotool" forge "$forge" >/dev/null 2>&1
# The real files are large; the small pictures and the head go in whole, the 3DS sets whole too
# (libFuzzer's -max_len cuts them), and a pack of two small real pictures stands for data.dat.
cp "$forge"/s_p.tga "$forge"/s_l.tga "$out/fuzz_tga/"
cp "$forge"/ex_glowa_new.3ds "$out/fuzz_head/forged_head"
for f in "$forge"/c0*.3ds; do cp "$f" "$out/fuzz_3ds/forged_$(basename "$f" .3ds)"; done
small=$(mktemp -d)
trap 'rm -rf "$forge" "$small"' EXIT
cp "$forge"/s_p.tga "$small/"
cp "$forge"/s_l.tga "$small/skora.tga"
"$demotool" pack create "$out/fuzz_pack/forged_pack" "$small" >/dev/null
