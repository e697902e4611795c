#!/usr/bin/env bash
# Installs the Debian 12 packages this project needs, only those that are missing.
# Usage: scripts/install-deps.sh [build|test|fuzz|desktop|bench|package|wayland|ime|windows|wine]...
#        (default: build)
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev libfontconfig-dev qt6-translations-l10n
       fonts-ipafont-gothic fonts-ipafont-mincho)
# poppler-utils reads the printed PDFs; acl gives the save tests setfacl.
test=(poppler-utils acl)
fuzz=(clang libclang-rt-14-dev)
# qt6-gtk-platformtheme: GTK's own file dialogs, as GNOME users see them through Qt.
desktop=(xvfb xauth openbox wmctrl x11-utils xdotool at-spi2-core python3-pyatspi dbus-daemon dbus-bin
         qt6-gtk-platformtheme)
bench=(xvfb xauth x11-utils libxdamage1 python3)
package=(desktop-file-utils appstream dpkg-dev file lintian man-db shared-mime-info xdg-utils libfile-mimeinfo-perl)
wayland=(weston qt6-wayland python3)
ime=(fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus-x11 xvfb xauth openbox xdotool x11-utils)
# Cross-building for Windows and the installer (scripts/build-windows.sh; the same packages
# build Qt itself from source where no prebuilt Qt is at hand), and running that build under
# Wine, in a Japanese locale too (locales) and in a console (script, from bsdutils).
windows=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev-tools
         xz-utils dpkg-dev nsis)
wine=(wine wine64 xvfb xauth xdotool x11-utils imagemagick python3 locales bsdutils)

wanted=()
[ $# -eq 0 ] && set -- build
for group in "$@"; do
  case "$group" in
    build) wanted+=("${build[@]}") ;;
    test) wanted+=("${build[@]}" "${test[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    desktop) wanted+=("${desktop[@]}") ;;
    bench) wanted+=("${bench[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    ime) wanted+=("${ime[@]}") ;;
    wayland) wanted+=("${wayland[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    wine) wanted+=("${wine[@]}") ;;
    *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
