#!/usr/bin/env bash
# scripts/release.sh: builds the Linux program, both Windows programs and the pack (installing what
# is missing), and writes the release archives into dist/:
#   karvenel-2oo4-windows-x86.zip, karvenel-2oo4-windows-x64.zip: demo.exe, data.dat, readme.txt
#   karvenel-2oo4-linux-x86_64.tar.gz: demo, data.dat, readme.txt
#   karvenel-2oo4-web.zip: index.html, demo.js, demo.wasm, data.dat, readme.txt (a folder to serve)
# Each archive holds one folder, karvenel-2oo4/, so that unpacking it puts nothing else around.
# The programs are stripped; the three data.dat are the generator's bytes.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/packages.sh"
install_packages "${packages_run[@]}" "${packages_windows_build[@]}" "${packages_release[@]}"
"$root/scripts/setup.sh" run
"$root/scripts/setup_windows.sh" >/dev/null
"$root/scripts/build_web.sh" --out "$root/build-web" --data "$root/build/run/data.dat" >/dev/null

dist="$root/dist"
mkdir -p "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=karvenel-2oo4

# stage_release NAME PROGRAM STRIP LINE_END: NAME/karvenel-2oo4/ with the program, the pack and
# the readme (with CR LF line ends for Windows).
stage_release() {
  local dir="$stage/$1/$folder"
  mkdir -p "$dir"
  cp "$2" "$dir/"
  "$3" "$dir/$(basename "$2")"
  cp "$root/build/run/data.dat" "$dir/data.dat"
  if [ "$4" = crlf ]; then sed 's/$/\r/' "$root/docs/readme.txt" >"$dir/readme.txt"; else
    cp "$root/docs/readme.txt" "$dir/readme.txt"; fi
  # The same bytes give the same archive.
  touch -d @0 "$dir" "$dir"/*
}
# publish FILE: the archive replaces its name in dist/ only once it is complete.
publish() {
  mv -f "$stage/$(basename "$1")" "$1"
  echo "release: $1 ($(stat -c %s "$1") bytes)"
}

stage_release windows-x86 "$root/build-win32/run/demo.exe" i686-w64-mingw32-strip crlf
stage_release windows-x64 "$root/build-win64/run/demo.exe" x86_64-w64-mingw32-strip crlf
stage_release linux-x86_64 "$root/build/run/demo" strip lf

web=$stage/web/$folder
mkdir -p "$web"
cp "$root/build-web/index.html" "$root/build-web/demo.js" "$root/build-web/demo.wasm" "$web/"
cp "$root/build/run/data.dat" "$web/data.dat"
cp "$root/docs/readme.txt" "$web/readme.txt"
touch -d @0 "$web" "$web"/*

for arch in x86 x64; do
  name=karvenel-2oo4-windows-$arch.zip
  (cd "$stage/windows-$arch" && zip -q -X -r "$stage/$name" "$folder")
  publish "$dist/$name"
done
name=karvenel-2oo4-web.zip
(cd "$stage/web" && zip -q -X -r "$stage/$name" "$folder")
publish "$dist/$name"

name=karvenel-2oo4-linux-x86_64.tar.gz
tar -C "$stage/linux-x86_64" --owner=0 --group=0 --numeric-owner --sort=name -cf - "$folder" |
  gzip -n >"$stage/$name"
publish "$dist/$name"
