# Sourced by the set-up scripts: the Debian packages each job needs, by name, and the installer.
# Each list is written once here; a job installs the lists it names.

# Building and playing the presentation on Linux, with the generator that makes data.dat.
packages_run=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpulse-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libcairo2-dev fonts-dejavu-core libmp3lame-dev libpng-dev nlohmann-json3-dev libssl-dev
  libebur128-dev
)
# Building the presentation for a web browser (scripts/build_web.sh): Emscripten with its clang.
packages_web=(emscripten)
# The Linux test suite, benchmarks and fuzzing, on top of packages_run; it builds the web version
# too and drives it in Chromium.
packages_test=(
  "${packages_web[@]}" chromium
  git libgtest-dev googletest libbenchmark-dev libegl-dev
  xvfb xdotool x11-utils imagemagick libx11-dev
  lib3ds-dev libmpg123-dev ffmpeg clang libassimp-dev assimp-utils libstb-dev python3
  libgles-dev  # the GLES 2.0 headers of the gles/ layer, built for its parity test
  pulseaudio pulseaudio-utils
)
# Cross-building the Windows program (the posix thread model: the default one lacks std::thread).
packages_windows_build=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools)
# Running the Windows program and its tests: Wine, a display, a sound server to record from.
packages_windows_test=(wine wine64 xvfb xdotool x11-utils imagemagick ffmpeg pulseaudio
  pulseaudio-utils)
# install_browser_tooling DIR: the browser tests' Node.js packages (tests/web/package.json, at the
# versions its lock file names) in DIR/node_modules, installed when missing or when the lock changed.
install_browser_tooling() {
  local dir=$1 lock
  lock=$(dirname "${BASH_SOURCE[0]}")/../tests/web/package-lock.json
  if ! command -v npm >/dev/null; then install_packages npm; fi
  if [ -d "$dir/node_modules/puppeteer-core" ] && cmp -s "$lock" "$dir/package-lock.json"; then
    return 0
  fi
  echo "setup: installing the browser tests' Node.js packages into $dir" >&2
  mkdir -p "$dir"
  cp "$(dirname "$lock")/package.json" "$lock" "$dir/"
  (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error >&2)
}
# Packing the release archives.
packages_release=(zip)

as_root() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# missing_packages NAME...: prints those of the named packages that are not installed.
missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

# install_packages NAME...: installs those of the named packages that are missing.
install_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}" >&2
  # A mirror's index out of sync fails the update; the install says whether what it needs was there.
  as_root apt-get update -qq >&2 || echo "setup: the package index is incomplete" >&2
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq "${missing[@]}" >&2
}

# 32-bit Windows programs need the i386 architecture: 32-bit Wine and, since it comes without its
# recommends, the 32-bit GL driver (without it ChoosePixelFormat finds no format). Returns 0 when
# 32-bit Windows programs can run; otherwise says why on stderr.
packages_wine32=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386)
install_wine32() {
  local missing
  mapfile -t missing < <(missing_packages "${packages_wine32[@]}")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing 32-bit Wine and its GL driver (${missing[*]})" >&2
  as_root dpkg --add-architecture i386
  # An index that failed to download is skipped by apt; the install below says whether what it
  # needs was there.
  as_root apt-get update -qq >&2 || echo "setup: the package index is incomplete" >&2
  # With recommends apt would remove libsdl2-mixer-dev; --no-remove makes it refuse instead.
  if DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends --no-remove \
    "${missing[@]}" >&2; then
    return 0
  fi
  echo "setup: 32-bit Wine could not be installed (apt-get install ${missing[*]} failed)" >&2
  return 1
}
