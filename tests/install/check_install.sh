#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what lands there.
#
#   check_install.sh layout     BUILD_DIR ROOT APP_ID PROGRAM...
#   check_install.sh validators ROOT APP_ID
#
# ROOT is a scratch folder; the tree is installed into ROOT/usr.
#
# "layout" runs `cmake --install` and checks that each program, the desktop
# entry, every icon size, the metainfo and the man pages are in place.
# "validators" runs desktop-file-validate on the installed desktop entry and
# appstreamcli on the tree (the metainfo, and that its launchable and icon
# are there); it exits 77 (skipped) when either tool is missing (Debian:
# desktop-file-utils, appstream).
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Width and height of a PNG file, from its IHDR chunk.
png_size() {
  local bytes
  read -r -a bytes < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))x$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))"
}

layout() {
  local build="$1" root="$2" id="$3" prefix="$2/usr"
  shift 3
  rm -rf "$root"
  cmake --install "$build" --prefix "$prefix" >/dev/null
  local program
  for program in "$@"; do
    [[ -x "$prefix/bin/$program" ]] || fail "bin/$program is missing or not executable"
    [[ -f "$prefix/share/man/man1/$program.1.gz" ]] || fail "no man page for $program"
    gzip -t "$prefix/share/man/man1/$program.1.gz" || fail "man page of $program is damaged"
    grep -q "<binary>$program</binary>" "$prefix/share/metainfo/$id.metainfo.xml" ||
      fail "the metainfo does not provide $program"
  done
  local desktop="$prefix/share/applications/$id.desktop"
  [[ -f "$desktop" ]] || fail "no desktop entry"
  grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
  grep -qx "Exec=tabrel" "$desktop" || fail "the desktop entry starts another program"
  [[ -f "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ]] || fail "no SVG icon"
  local size png
  for size in 16 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [[ -f "$png" ]] || fail "no ${size}x${size} icon"
    [[ "$(png_size "$png")" == "${size}x${size}" ]] ||
      fail "the ${size}x${size} icon is $(png_size "$png")"
  done
  [[ -f "$prefix/share/metainfo/$id.metainfo.xml" ]] || fail "no metainfo"
  [[ -f "$prefix/share/doc/tabrel/copyright" ]] || fail "no copyright file"
  echo "installed tree in $prefix is complete"
}

validators() {
  local root="$1" id="$2" tool
  for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
      echo "$tool is not installed; skipped"
      exit 77
    fi
  done
  desktop-file-validate "$root/usr/share/applications/$id.desktop"
  # --no-net: tests reach no network, so the screenshot and home page
  # addresses are checked for their form only.
  appstreamcli validate-tree --no-net --pedantic --explain "$root"
  echo "desktop entry and metainfo are valid"
}

(($# >= 1)) || fail "usage: $0 layout|validators ..."
mode="$1"
shift
case "$mode" in
  layout) layout "$@" ;;
  validators) validators "$@" ;;
  *) fail "unknown mode $mode" ;;
esac
