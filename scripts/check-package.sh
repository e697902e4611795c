#!/usr/bin/env bash
# Builds the Debian package from a build folder and holds it to what Debian asks of one:
# desktop entry, AppStream file (pedantic) and lintian (pedantic, no error or warning). Then
# installs the package and checks that a file manager learns the .5TQ and .mon file types and
# the editor as their program (xdg-mime), that the installed editor shows its window on a virtual X
# server and on a Wayland compositor with no X at all, that it says how to go on without any
# display, and removes the package again. Needs root or sudo.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
bash scripts/install-deps.sh build package bench wayland
[ -d "$dir" ] || bash scripts/build.sh "$dir"
cmake --build "$dir"

title="Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"
fail() { echo "check-package: $*" >&2; exit 1; }

desktop-file-validate data/jp.zelqua.Editor.desktop
# Kept: the pedantic hint cid-contains-uppercase-letter. The id jp.zelqua.Editor is also the
# desktop entry's and the icon's name, which desktops already know; reverse-DNS ids with
# capitals are common (org.gnome.TextEditor). Anything else fails.
appstreamcli validate --pedantic --no-net data/jp.zelqua.Editor.metainfo.xml | tee "$dir/appstream.log"
if grep -E '^[EWIP]: ' "$dir/appstream.log" | grep -v ': cid-contains-uppercase-letter '; then
  fail "AppStream file has new issues"
fi

# What `cmake --install` puts where.
stage="$(mktemp -d)"
weston_pid=""
editor_pid=""
cleanup() {
  [ -z "$editor_pid" ] || kill "$editor_pid" 2> /dev/null || true
  [ -z "$weston_pid" ] || kill "$weston_pid" 2> /dev/null || true
  rm -rf "$stage"
}
trap cleanup EXIT
DESTDIR="$stage" cmake --install "$dir" --prefix /usr > /dev/null
for file in usr/bin/zelqua-editor usr/share/applications/jp.zelqua.Editor.desktop \
            usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/jp.zelqua.Editor.png \
            usr/share/icons/hicolor/scalable/apps/jp.zelqua.Editor.svg \
            usr/share/metainfo/jp.zelqua.Editor.metainfo.xml usr/share/mime/packages/jp.zelqua.Editor.xml \
            usr/share/man/man1/zelqua-editor.1.gz usr/share/man/ja/man1/zelqua-editor.1.gz \
            usr/bin/zelqua-split usr/share/man/man1/zelqua-split.1.gz usr/share/man/ja/man1/zelqua-split.1.gz \
            usr/share/doc/zelqua-editor/changelog.gz usr/share/doc/zelqua-editor/copyright; do
  [ -f "$stage/$file" ] || fail "not installed: /$file"
done
for size in 16 24 32 48 64 128 256; do
  file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/jp.zelqua.Editor.png" | grep -q "$size x $size, 8-bit/color RGBA" \
    || fail "icon ${size}x${size} is not a ${size} x ${size} RGBA PNG"
done
rm -rf "$stage/usr"

(cd "$dir" && cpack -G DEB > cpack.log) || { cat "$dir/cpack.log"; exit 1; }
deb="$(ls "$dir"/zelqua-editor_*.deb | head -n 1)"
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Maintainer Depends Suggests

# lintian finds nothing today, not even a note or a pedantic hint. Any error or warning
# fails, and so does a new note: fix it, or leave it out of the grep below with the reason
# it is kept.
lintian_status=0
lintian --pedantic --display-info --fail-on error,warning "$deb" > "$dir/lintian.log" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$dir/lintian.log" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors or warnings"
if grep -qE '^[A-Z]: ' "$dir/lintian.log"; then
  fail "lintian reports new notes"
fi
echo "lintian --pedantic: no errors, no warnings"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get install -y -qq "./$deb" > /dev/null
status=0

# The file types as a file manager asks for them (xdg-mime, through the shared MIME database
# the package's types were added to): by extension in any case, and a mon file without one
# by its first line. The editor's desktop entry is the program that opens them.
types="$stage/types"
mkdir "$types"
printf 'genres' > "$types/問題集.5TQ"
printf 'genres' > "$types/lower.5tq"
printf '12,"j42","T"\r\n0,"","G"\r\n' > "$types/quiz.mon"
printf '12,"j42","T"\r\n0,"","G"\r\n' > "$types/quiz-without-extension"
cp "$types/quiz.mon" "$types/UPPER.MON"
for entry in "問題集.5TQ application/x-kuvetta-5tq" "lower.5tq application/x-kuvetta-5tq" \
             "quiz.mon application/x-zelqua-mon" "UPPER.MON application/x-zelqua-mon" \
             "quiz-without-extension application/x-zelqua-mon"; do
  name=${entry% *}
  wanted=${entry##* }
  got=$(env -u XDG_CURRENT_DESKTOP xdg-mime query filetype "$types/$name")
  echo "xdg-mime query filetype $name: $got"
  [ "$got" = "$wanted" ] || { echo "check-package: $name is $got, not $wanted" >&2; status=1; }
done
for type in application/x-kuvetta-5tq application/x-zelqua-mon; do
  got=$(env -u XDG_CURRENT_DESKTOP xdg-mime query default "$type")
  echo "xdg-mime query default $type: $got"
  [ "$got" = jp.zelqua.Editor.desktop ] || { echo "check-package: $type opens with '$got'" >&2; status=1; }
done

# X: the window is mapped on a virtual X server.
xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/startup_probe.py 1 /usr/bin/zelqua-editor || status=$?

# Wayland with no X at all: a headless weston, and the editor given only its socket. The
# editor's Wayland requests (WAYLAND_DEBUG) show a toplevel with the editor's title that
# the compositor configured and the editor acknowledged and drew: the window was made.
runtime="$stage/runtime"
mkdir -m 0700 "$runtime"
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" \
  weston --backend=headless-backend.so --socket=wayland-zq --idle-time=0 --width=1280 --height=1024 \
  > "$stage/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$runtime/wayland-zq" ] && break; sleep 0.1; done
[ -S "$runtime/wayland-zq" ] || { cat "$stage/weston.log"; fail "weston did not start"; }
mkdir -m 0700 "$stage/wayland-state"
env -u DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-zq \
  XDG_STATE_HOME="$stage/wayland-state" WAYLAND_DEBUG=1 /usr/bin/zelqua-editor > "$stage/wayland.log" 2>&1 &
editor_pid=$!
shown=""
for _ in $(seq 200); do
  if python3 scripts/wayland_window.py "$title" < "$stage/wayland.log"; then shown=yes; break; fi
  kill -0 "$editor_pid" 2> /dev/null || break
  sleep 0.1
done
sleep 1
if [ -n "$shown" ] && kill -0 "$editor_pid" 2> /dev/null; then
  echo "Wayland: window \"$title\" configured and drawn on a headless weston without X"
  grep -E -m 3 'set_title|set_app_id|ack_configure' "$stage/wayland.log" | cut -c 1-160
else
  tail -n 30 "$stage/wayland.log" >&2
  echo "check-package: no window on Wayland" >&2; status=1
fi
kill "$editor_pid" 2> /dev/null || true
wait "$editor_pid" 2> /dev/null || true
editor_pid=""
kill "$weston_pid" 2> /dev/null || true
wait "$weston_pid" 2> /dev/null || true
weston_pid=""

# Without a display the editor says so and exits non-zero, naming xvfb-run where it is
# installed and how to get it where it is not.
for path in "$PATH" /nonexistent; do
  if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$stage" XDG_STATE_HOME="$stage" PATH="$path" \
       /usr/bin/zelqua-editor 2> "$stage/no-display.txt"; then
    echo "check-package: started without a display" >&2; status=1
  fi
  cat "$stage/no-display.txt"
  hint="xvfb-run zelqua-editor"
  [ "$path" = /nonexistent ] && hint="sudo apt-get install xvfb, then xvfb-run zelqua-editor"
  grep -qF "$hint" "$stage/no-display.txt" || { echo "check-package: no hint '$hint' without a display" >&2; status=1; }
done
$sudo apt-get remove -y -qq zelqua-editor > /dev/null
[ "$status" -eq 0 ] && echo "package check passed"
exit "$status"
