#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks the desktop files, installs the
# package, checks that the installed editor starts and shows its window on a virtual X
# server, and removes the package again. Needs root or sudo.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
bash scripts/install-deps.sh build package bench
[ -d "$dir" ] || bash scripts/build.sh "$dir"
cmake --build "$dir"

desktop-file-validate data/jp.zelqua.Editor.desktop
appstreamcli validate --no-net data/jp.zelqua.Editor.metainfo.xml

# What `cmake --install` puts where.
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$dir" --prefix /usr > /dev/null
for file in usr/bin/zelqua-editor usr/share/applications/jp.zelqua.Editor.desktop \
            usr/share/icons/hicolor/32x32/apps/jp.zelqua.Editor.png \
            usr/share/icons/hicolor/scalable/apps/jp.zelqua.Editor.svg \
            usr/share/metainfo/jp.zelqua.Editor.metainfo.xml; do
  [ -f "$stage/$file" ] || { echo "check-package: not installed: /$file" >&2; exit 1; }
done

(cd "$dir" && cpack -G DEB > cpack.log) || { cat "$dir/cpack.log"; exit 1; }
deb="$(ls "$dir"/zelqua-editor_*.deb | head -n 1)"
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get install -y -qq "./$deb" > /dev/null
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/startup_probe.py 1 /usr/bin/zelqua-editor || status=$?
# Without a display the editor says so and exits non-zero.
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/zelqua-editor 2> "$stage/no-display.txt"; then
  echo "check-package: started without a display" >&2; status=1
fi
grep -q "xvfb-run" "$stage/no-display.txt" || { echo "check-package: no hint without a display" >&2; status=1; }
$sudo apt-get remove -y -qq zelqua-editor > /dev/null
[ "$status" -eq 0 ] && echo "package check passed"
exit "$status"
