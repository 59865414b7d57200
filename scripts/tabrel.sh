#!/usr/bin/env bash
# Sets up, builds and starts Tabrel on Debian 12, runs its tests, or builds
# its Debian package.
#
#   scripts/tabrel.sh run    install what is missing, build the program and the
#                            sample-data tool, start build/tabrel
#   scripts/tabrel.sh test   install what is missing, build, run the test suite
#   scripts/tabrel.sh deb    install what is missing, build tabrel_*.deb in build-deb/
#
# BUILD_DIR (default: build; build-deb for the package) and JOBS (default:
# the number of processors) change where and how wide it builds. Packages are only installed when
# dpkg reports them missing, so a second run goes straight to the build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
readonly ROOT
if [[ -z "${BUILD_DIR:-}" ]]; then
  BUILD_DIR=build
  [[ "${1:-}" == deb ]] && BUILD_DIR=build-deb
fi
case "$BUILD_DIR" in
  /*) ;;
  *) BUILD_DIR="$ROOT/$BUILD_DIR" ;;
esac
readonly BUILD_DIR
readonly JOBS="${JOBS:-$(nproc 2>/dev/null || echo 2)}"

# fonts-dejavu-core gives the windows and printouts a font on a bare system;
# xdg-utils (xdg-open) hands e-mail, web and phone links and the preview's
# files to the desktop's programs.
# qt6-base-dev brings the OpenGL headers and libraries its CMake files look
# for (libgl-dev, libglx-dev, libopengl-dev), so libgl1-mesa-dev, now an
# empty transitional package, is not listed. rsvg-convert (librsvg2-bin)
# renders the icon's PNG sizes from its SVG.
readonly BUILD_PACKAGES=(
  cmake ninja-build g++
  qt6-base-dev qt6-serialport-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libxml2-dev libsecret-1-dev
  fonts-dejavu-core librsvg2-bin xdg-utils
)
# pdftotext reads the printed reports back; Xvfb runs the GUI headless;
# desktop-file-validate and appstreamcli check the installed desktop entry
# and metainfo; clang and its runtime libraries (libFuzzer, the sanitizers)
# build the fuzz targets in .ci/run. scripts/mutate.py rebuilds through
# ccache and links with lld; radicale and xandikos are the address-book
# servers the sync tests start on the loopback (git seeds Xandikos's
# storage); dbus-daemon and gnome-keyring give them a private secret store.
readonly TEST_PACKAGES=(poppler-utils xvfb xauth desktop-file-utils appstream clang
  libclang-rt-14-dev ccache lld radicale xandikos git
  dbus-daemon gnome-keyring)
# cpack's DEB generator finds the package's dependencies with
# dpkg-shlibdeps, which looks at the program with file.
readonly DEB_PACKAGES=(dpkg-dev file)

usage() {
  echo "usage: $0 run|test|deb" >&2
  exit 2
}

missing_packages() {
  local package
  for package in "$@"; do
    if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]]; then
      echo "$package"
    fi
  done
}

install_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  ((${#missing[@]} == 0)) && return 0

  local sudo=()
  if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
      echo "These packages are missing and sudo is not available: ${missing[*]}" >&2
      echo "Install them as root, then run this again." >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release
}

cmd_run() {
  install_packages "${BUILD_PACKAGES[@]}"
  configure
  # The sample-data tool too: the README points to it.
  cmake --build "$BUILD_DIR" --target tabrel tabrel_sample -j "$JOBS"
  exec "$BUILD_DIR/tabrel" "$@"
}

cmd_test() {
  install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
  configure
  cmake --build "$BUILD_DIR" -j "$JOBS"
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS"
}

# A package build of its own: Release, without the tests and benchmarks,
# which cpack would otherwise build too.
cmd_deb() {
  install_packages "${BUILD_PACKAGES[@]}" "${DEB_PACKAGES[@]}"
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DTABREL_BUILD_BENCH=OFF
  cmake --build "$BUILD_DIR" -j "$JOBS"
  (cd "$BUILD_DIR" && cpack -G DEB)
  echo "Built: $(ls "$BUILD_DIR"/tabrel_*.deb)"
  echo "Install it with: sudo apt install $(ls "$BUILD_DIR"/tabrel_*.deb)"
}

(($# >= 1)) || usage
command="$1"
shift
case "$command" in
  run) cmd_run "$@" ;;
  test) cmd_test ;;
  deb) cmd_deb ;;
  *) usage ;;
esac
