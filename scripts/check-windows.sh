#!/usr/bin/env bash
# Builds the Windows zip and installer and proves them, then runs them under Wine in fresh
# Wine prefixes:
#  1. the zip: at most 14 MB; both programs carry the icon (the images icon_export drew), the
#     version block with the project's version and their manifest; no program or DLL has
#     debug sections; the readme and the licence texts are there, in a form Notepad shows;
#  2. the Qt Test programs of formats/, text/, platform/ (the saving's failure paths among
#     them), the Shift-JIS codec and the path bytes run under Wine (each writes its result
#     file, which is read here);
#  3. zelqua-split.exe splits a bank with a Japanese name and Japanese genre names into a
#     folder with a Japanese name, and its files are byte for byte those of the Linux tool;
#  4. the editor from the unpacked zip starts on a virtual X server with a bank named on its
#     command line in Japanese, as Explorer passes a file dropped on the exe or opened with
#     it; its window appears with the bank's genres, and a screenshot is taken;
#  5. banks are converted in that window by mouse and keyboard through the system's own
#     open and save dialogs (Wine's version of them): the bank from the command line, then
#     one opened in the open dialog and saved with the file type switched (the name stays),
#     then saved again over the file (the dialog asks first); each saved .mon file is
#     compared byte for byte;
#  6. the editor's session wrote nothing of its own into the registry;
#  7. the editor, killed at the end of that session, offers its work at the next start, Return
#     restores it, and ⑩ removes the kept work.
#  8. the installer, in a fresh prefix in the present locale and in one with a Japanese locale
#     (code page 932, where Wine's dialogs are Japanese): installed silently, it puts the zip's
#     files in %LOCALAPPDATA%\Programs\zelqua-editor, the uninstall entry, the file types and
#     the Start menu entry under HKCU and nothing under HKLM; the split tool's messages and
#     the editor's --help read right in a console; a bank with a Japanese name opens through
#     its file type and is converted in the window (in the Japanese prefix through both
#     dialogs and over an existing file, as in 5); installed again over itself it leaves the
#     same; uninstalled silently it leaves nothing of the editor, and the user's files stay.
#     The Japanese prefix has another program's .mon type first, which the editor must leave,
#     and an older version, which the installer must replace.
# Usage: scripts/check-windows.sh [--tests-only] [OUT_DIR]   (screenshots and logs go to
# OUT_DIR, default build-windows/wine-check). --tests-only stops after step 3.
set -eEuo pipefail
# A step that stops the check says which it was (the functions' steps too: -E).
trap 'echo "check-windows: stopped at line $LINENO: $BASH_COMMAND (exit $?)" >&2' ERR
cd "$(dirname "$0")/.."
repo=$(pwd)
build="$repo/build-windows"
testsOnly=0
[ "${1:-}" = "--tests-only" ] && { testsOnly=1; shift; }
out=${1:-$build/wine-check}
case "$out" in /*) ;; *) out="$repo/$out" ;; esac

bash scripts/install-deps.sh build windows wine
tests=(test_formats_FieldTextTest test_formats_MonFormatTest test_text_TextHelpersTest
       test_platform_PlatformTest test_platform_SafeSaveWindowsTest test_codec_ShiftJisTest
       test_widgets_PathBytesTest)
stageStart=$(date +%s)
bash scripts/build-windows.sh "$build" "${tests[@]}"
version=$(sed -n 's/^project(zelqua-editor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip="$repo/zelqua-editor-$version-windows-x64.zip"
setup="$repo/zelqua-editor-$version-windows-x64-setup.exe"

rm -rf "$out" && mkdir -p "$out"
export WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko: the editor needs neither, and Wine would offer to download them. No
# winemenubuilder: it would copy the Start menu entry into this machine's own menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A fresh Wine prefix in the folder given, for the locale the caller runs in.
new_prefix() {
  export WINEPREFIX=$1
  local start
  start=$(date +%s)
  mkdir -p "$WINEPREFIX"
  wineboot --init > "$WINEPREFIX.wineboot.log" 2>&1
  wineserver --wait
  echo "Wine prefix ${1#"$out"/} ready in $(( $(date +%s) - start )) s (locale ${LC_ALL:-${LANG:-C}})"
}
new_prefix "$out/prefix"

app="$WINEPREFIX/drive_c/zelqua"
mkdir -p "$app"
(cd "$app" && cmake -E tar xf "$zip")
app="$app/zelqua-editor-$version-windows-x64"
[ -f "$app/zelqua-editor.exe" ] || { echo "check-windows: no editor in the zip" >&2; exit 1; }

# 1. The zip as a Windows user gets it.
fail() { echo "check-windows: $*" >&2; exit 1; }
size=$(stat -c %s "$zip")
[ "$size" -le 14000000 ] || fail "the zip is $size bytes, more than 14 MB"
echo "Zip: $size bytes, $(find "$app" -type f | wc -l) files, $(du -sb "$app" | cut -f1) bytes unpacked"
copyright="Copyright © $(sed -n 's/^Copyright: //p' data/debian/copyright | head -1)"
python3 scripts/windows_resources.py "$app/zelqua-editor.exe" --version "$version" --ico "$build/zelqua-editor.ico" \
  --description "Zelqua≪五択変換ｴﾃﾞｨﾀｰ" --copyright "$copyright"
python3 scripts/windows_resources.py "$app/zelqua-split.exe" --version "$version" --ico "$build/zelqua-editor.ico" \
  --description "Zelqua≪五択変換ｴﾃﾞｨﾀｰ 一括変換 (zelqua-split)" --copyright "$copyright" --utf8-code-page
binaries=$(find "$app" -name '*.exe' -o -name '*.dll')
for binary in $binaries; do
  if x86_64-w64-mingw32-objdump -h "$binary" | grep -q ' \.debug'; then
    fail "${binary#"$app"/} has debug sections"
  fi
done
echo "$(echo "$binaries" | wc -l) programs and DLLs, none with debug sections"
texts=(README.txt licenses/NOTICE.txt licenses/zelqua-editor.txt licenses/LGPL-3.0.txt licenses/GPL-3.0.txt
       licenses/GCC-exception-3.1.txt licenses/Qt.txt licenses/Qt-translations.txt licenses/gcc.txt licenses/mingw-w64.txt)
for text in "${texts[@]}"; do
  [ -s "$app/$text" ] || fail "no $text in the zip"
  [ "$(head -c 3 "$app/$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$text does not begin with a UTF-8 byte order mark"
  ! grep -qv $'\r$' "$app/$text" || fail "$text has a line that does not end in CR LF"
done
grep -q "Ver$version Windows" "$app/README.txt" && grep -q "MIT ライセンス" "$app/README.txt" && grep -q "MIT licence" "$app/README.txt" \
  || fail "README.txt does not give the version and the MIT licence"
[ -f "$app/licenses/qt-build/scripts/build-qt-mingw.sh" ] || fail "Qt's build recipe is not in the zip"
echo "README.txt and ${#texts[@]} licence texts: UTF-8 with a byte order mark, CR LF"

# 2. The test programs, beside the unpacked DLLs in a folder of their own (with Qt Test and
#    the offscreen platform, which the zip does not ship).
testdir="$WINEPREFIX/drive_c/tests"
cp -r "$app" "$testdir"
qt=$(cat "$build/qt-prefix")
cp "$qt/bin/Qt6Test.dll" "$testdir/"
cp "$qt/plugins/platforms/qoffscreen.dll" "$testdir/platforms/"
failed=0
for test in "${tests[@]}"; do
  cp "$build/$test.exe" "$testdir/"
  rc=0
  (cd "$testdir" && QT_QPA_PLATFORM=offscreen timeout 600 wine "$test.exe" -o "$test.txt,txt" > /dev/null 2>&1) || rc=$?
  totals=$(grep -a '^Totals:' "$testdir/$test.txt" 2>/dev/null || echo "Totals: no result file")
  echo "$test under Wine: $totals (exit $rc)"
  cp "$testdir/$test.txt" "$out/" 2>/dev/null || true
  if [ "$rc" -ne 0 ] || ! grep -aq '^Totals: [0-9]* passed, 0 failed' "$testdir/$test.txt" 2>/dev/null; then
    grep -a '^FAIL' -A3 "$testdir/$test.txt" 2>/dev/null | head -40 || true
    failed=1
  fi
done

# 3. zelqua-split.exe from the unpacked zip and the Linux tool split the same bank: a bank
#    named in Japanese, with Japanese genre names, into a folder named in Japanese. The files
#    must be the ones the bank is made to give, and the same bytes on both systems.
splitdir="$WINEPREFIX/drive_c/split"
mkdir -p "$splitdir" "$out/split-linux"
python3 scripts/windows-split-bank.py "$splitdir/問題集.5TQ" > "$out/split-expected.txt"
cmake --build "$build/host" --target zelqua-split > "$out/split-linux-build.log" 2>&1 \
  || { cat "$out/split-linux-build.log"; fail "the Linux zelqua-split did not build"; }
"$build/host/src/split/zelqua-split" "$splitdir/問題集.5TQ" -o "$out/split-linux/出力" > "$out/split-linux.log" 2>&1 \
  || { cat "$out/split-linux.log"; fail "the Linux zelqua-split failed"; }
rc=0
# The Unix side of Wine reads its command line as UTF-8 only in a UTF-8 locale.
(cd "$app" && LC_ALL=C.UTF-8 timeout 300 wine zelqua-split.exe 'C:\split\問題集.5TQ' -o 'C:\split\出力フォルダ') \
  > "$out/split-wine.log" 2>&1 || rc=$?
if [ "$rc" -ne 0 ] || [ ! -d "$splitdir/出力フォルダ" ]; then
  cat "$out/split-wine.log"; echo "check-windows: zelqua-split.exe failed (exit $rc)" >&2; failed=1
elif [ "$(ls "$out/split-linux/出力" | LC_ALL=C sort)" != "$(LC_ALL=C sort "$out/split-expected.txt")" ]; then
  ls "$out/split-linux/出力" >&2; echo "check-windows: the Linux tool did not write the expected files" >&2; failed=1
elif ! diff -r "$out/split-linux/出力" "$splitdir/出力フォルダ" >&2; then
  echo "check-windows: zelqua-split.exe wrote other files than the Linux tool" >&2; failed=1
else
  echo "zelqua-split.exe under Wine: 問題集.5TQ into 出力フォルダ, $(ls "$splitdir/出力フォルダ" | wc -l) files" \
       "($(cat "$splitdir/出力フォルダ"/* | wc -c) bytes) the same as the Linux tool's"
fi

[ "$testsOnly" -eq 1 ] && exit "$failed"


# The Wine session of the test programs began with no X display, so its desktop process
# (explorer.exe) has none: a window made in that session never reaches any X server. The
# editor gets a session of its own, started once DISPLAY names the virtual X server.
wineserver -k 2>/dev/null || true
wineserver --wait 2>/dev/null || true

# The registry's keys as they stand (Wine writes them out when its server stops).
registry_keys() { sed -n 's/^\[\(.*\)\] [0-9]*$/\1/p' "$WINEPREFIX/${1:-user}.reg" | LC_ALL=C sort; }
registry_keys > "$out/registry-before.txt"

# 4. The editor on a virtual X server at 96 dpi.
number=150   # clear of xvfb-run's :99 and the usual low numbers
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
display=:$number
Xvfb "$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp > "$out/xvfb.log" 2>&1 &
xvfb=$!
editor=""
cleanup() {
  [ -n "$editor" ] && kill "$editor" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.2; done

# The banks of a prefix: capitals.5TQ, the same under a Japanese name, and the bytes their
# conversion must give.
make_banks() {
  bankdir="$WINEPREFIX/drive_c/quiz"
  mkdir -p "$bankdir"
  python3 scripts/windows-check-bank.py "$bankdir/capitals.5TQ" "$out/expected.mon"
  cp "$bankdir/capitals.5TQ" "$bankdir/問題集.5TQ"
}

title="Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"
# Waits for the editor's window, started just before, and takes a screenshot of it.
window=""
editor_window() { # screenshot
  local start
  start=$(date +%s)
  window=""
  for _ in $(seq 360); do   # Wine may take long to start a fresh prefix's first program on a busy machine
    window=$(xdotool search --name "^${title}\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.5
  done
  if [ -z "$window" ]; then
    echo "check-windows: no window titled $title" >&2
    xdotool search --name . getwindowname %@ 2>/dev/null || true
    exit 1
  fi
  sleep 3
  echo "Editor window \"$(xdotool getwindowname "$window")\" up in $(( $(date +%s) - start )) s;" \
       "$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p') pixels"
  import -window root "$1"
}

# 5. Conversions, by mouse and keyboard. Positions are the window's own at 96 dpi (its
#    layout at 120 dpi times 0.8).
click() { xdotool mousemove --window "$window" "$1" "$2"; sleep 0.3; xdotool click 1; sleep "${3:-1}"; }
keys() { xdotool type --delay 30 "$1"; sleep 0.5; }
# Counts the open file dialogs: the system's own, titled by Wine in the prefix's language
# ("Open", "Save"; "開く", "保存" or "名前を付けて保存" on a Japanese Windows).
dialogs() { xdotool search --name "^(開く|保存|名前を付けて保存|Open|Save|Save As)\$" 2>/dev/null | wc -l; }
dialog_closed() {
  for _ in $(seq 40); do [ "$(dialogs)" -eq 0 ] && { sleep 1; return 0; }; sleep 0.5; done
  echo "check-windows: a dialog stayed open" >&2; return 1
}
dialog_open() {
  for _ in $(seq 40); do [ "$(dialogs)" -gt 0 ] && { sleep 1.5; return 0; }; sleep 0.5; done
  echo "check-windows: no dialog appeared" >&2; return 1
}
compare() { # saved-file what
  for _ in $(seq 20); do [ -f "$1" ] && break; sleep 0.5; done
  if cmp "$1" "$out/expected.mon"; then
    echo "$2: $(basename "$1") is the expected $(stat -c %s "$out/expected.mon") bytes"
  else
    echo "check-windows: $2: $(basename "$1") differs from the expected bytes" >&2
    ls -l "$bankdir" >&2
    failed=1
  fi
}

# The bank the window opened with (問題集.5TQ): its genres are listed (the genre row adds
# questions), it is converted and saved under the name the save dialog proposes.
convert_first() { # screenshots-folder what
  click 190 77 2                                  # the first genre's row, not its current cell
  import -window root "$1/genre.png"
  click 453 219 2                                 # ⑦ convert
  click 455 20 0                                  # ⑨ save: Windows' save dialog proposes 問題集.mon
  dialog_open
  import -window root "$1/save-dialog.png"
  xdotool key Return
  dialog_closed
  compare "$bankdir/問題集.mon" "$2"
}

# Then a bank opened in the open dialog, saved with the file type switched, and saved again
# over the file.
convert_through_dialogs() { # screenshots-folder
  # The open dialog: the bank typed in, read with the bank filter; the table cleared first.
  click 232 244 1                                 # ④ clear the question table
  click 210 19 0                                  # ① 読込: Windows' open dialog
  dialog_open
  import -window root "$1/open-dialog.png"
  keys 'C:\quiz\capitals.5TQ'
  xdotool key Return
  dialog_closed
  click 230 77 2                                  # another cell of the first genre's row
  click 453 219 2
  # Saved with the file type switched to text: the name shown, capitals.mon, is kept.
  click 455 20 0
  dialog_open
  xdotool key Tab; sleep 0.5; xdotool key Down; sleep 1
  import -window root "$1/save-dialog-text-type.png"
  xdotool key Return
  dialog_closed
  compare "$bankdir/capitals.mon" "Opened in the open dialog and saved with the text type"
  if [ -e "$bankdir/capitals.TXT" ]; then
    echo "check-windows: switching the file type renamed the file to capitals.TXT" >&2
    failed=1
  fi
  import -window root "$1/converted.png"

  # Saving again over the file, which another program changed meanwhile: the dialog asks
  # before it overwrites (a box titled 確認; "y" answers Yes, which Wine's box at times only
  # focuses, and Return then presses) and the file is replaced whole.
  printf 'changed by another program\r\n' > "$bankdir/capitals.mon"
  click 455 20 0
  dialog_open
  xdotool key Return; sleep 2
  import -window root "$1/overwrite-question.png"
  question() { xdotool search --onlyvisible --name '^確認$' 2>/dev/null | head -1; }
  [ -n "$(question)" ] || { echo "check-windows: no question before overwriting" >&2; failed=1; }
  xdotool key y
  for _ in $(seq 6); do sleep 0.5; [ -z "$(question)" ] && break; done
  [ -z "$(question)" ] || xdotool key Return
  dialog_closed
  compare "$bankdir/capitals.mon" "Saved again over an existing file ($(ls "$bankdir" | wc -l) files in the folder)"
}

# Ends the prefix's programs and waits until Wine has written the registry out.
stop_wine() {
  [ -n "$editor" ] && kill "$editor" 2>/dev/null || true
  editor=""
  wineserver -k 2>/dev/null || true
  wineserver --wait 2>/dev/null || true
}

make_banks
(cd "$WINEPREFIX/drive_c/quiz" && exec wine "$app/zelqua-editor.exe" 'C:\quiz\問題集.5TQ') > "$out/editor.log" 2>&1 &
editor=$!
editor_window "$out/editor.png"
convert_first "$out" "Bank from the command line converted under Wine"
convert_through_dialogs "$out"

# 6. The registry after the session: besides Wine's own keys and what the system's dialogs
#    remember for every program (recent folders, under Microsoft's keys), the editor's run
#    added nothing, as the readme says.
stop_wine
registry_keys > "$out/registry-after.txt"
added=$(LC_ALL=C comm -13 "$out/registry-before.txt" "$out/registry-after.txt" \
          | grep -v -e '^Software\\\\Wine\\\\' -e '^Software\\\\Microsoft\\\\' || true)
if [ -z "$added" ]; then
  echo "Registry: the editor's session added no key of its own"
else
  echo "check-windows: registry keys added by the editor's session:" >&2
  echo "$added" >&2
  failed=1
fi
# 7. The editor killed above (its work was the last conversion) kept that work in
#    %LOCALAPPDATA%\zelqua-editor; the next start's first window is the question (a box titled
#    確認), Return restores the work into the window, and ⑩ then ends it normally, which
#    removes the kept work.
kept=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/zelqua-editor' -type d 2>/dev/null | head -1)
if [ -z "$kept" ] || ! ls "$kept"/work-*/state > /dev/null 2>&1; then
  echo "check-windows: the killed editor kept no work in LOCALAPPDATA" >&2
  failed=1
else
  echo "Killed under Wine: its work kept in ${kept#"$WINEPREFIX"/}"
  (cd "$WINEPREFIX/drive_c/quiz" && exec wine "$app/zelqua-editor.exe") > "$out/editor-restart.log" 2>&1 &
  editor=$!
  box=""
  for _ in $(seq 360); do
    box=$(xdotool search --onlyvisible --name '^確認$' 2>/dev/null | head -1 || true)
    [ -n "$box" ] && break
    sleep 0.5
  done
  if [ -z "$box" ]; then
    echo "check-windows: no question about the kept work at the next start" >&2
    failed=1
  else
    sleep 1
    import -window root "$out/recovery-question.png"
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key Return
    for _ in $(seq 20); do sleep 0.5; [ -z "$(xdotool search --onlyvisible --name '^確認$' 2>/dev/null)" ] && break; done
    sleep 2
    import -window root "$out/restored.png"
    if ls -d "$kept"/damaged-* > /dev/null 2>&1 || ! ls -d "$kept"/work-* > /dev/null 2>&1; then
      echo "check-windows: Return did not restore the kept work" >&2
      failed=1
    else
      echo "Restarted under Wine: the question came first and Return restored the work"
    fi
    window=$(xdotool search --name "^${title}\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && click 595 20 0            # ⑩ 終了
    for _ in $(seq 40); do kill -0 "$editor" 2>/dev/null || break; sleep 0.5; done
    if ls -d "$kept"/work-* > /dev/null 2>&1; then
      echo "check-windows: the normal end left the kept work behind" >&2
      failed=1
    else
      echo "Ended with ⑩: the kept work is removed"
    fi
  fi
  kill "$editor" 2>/dev/null || true
  editor=""
fi

# 8. The installer.
product="Zelqua≪五択変換ｴﾃﾞｨﾀｰ"
authors=$(sed -n 's/^Copyright: [0-9, -]* //p' data/debian/copyright | head -1)
echo "Installer: $(stat -c %s "$setup") bytes"
problems=0
problem() { echo "check-windows: $*" >&2; failed=1; problems=$((problems + 1)); }
# A key as `wine reg export` writes it, in UTF-8 without CRs; empty when it is missing.
reg_text() {
  rm -f "$WINEPREFIX/drive_c/key.reg"
  wine reg export "$1" 'C:\key.reg' /y > /dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/key.reg" | tr -d '\r'
}
# A value's line in that form: "name"="text" (backslashes and quotes escaped), @ for the default.
reg_line() {
  local value
  value=$(sed -e 's/\\/\\\\/g' -e 's/"/\\"/g' <<< "$2")
  if [ "$1" = @ ]; then printf '@="%s"' "$value"; else printf '"%s"="%s"' "$1" "$value"; fi
}
expect_values() { # key line...
  local key=$1 text
  shift
  text=$(reg_text "$key")
  for line in "$@"; do
    grep -qFx -- "$line" <<< "$text" || problem "no $line in $key"
  done
}
# Everything the installer must have written, and the files it must have put in place.
check_installed() { # what
  local seen=$problems
  local folder='C:\users\'"$user"'\AppData\Local\Programs\zelqua-editor'
  local exe="$folder\\zelqua-editor.exe"
  local uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelqua-editor'
  if ! diff -r --exclude=uninstall.exe "$build/zelqua-editor-$version-windows-x64" "$installed" >&2 \
     || [ ! -f "$installed/uninstall.exe" ]; then
    problem "$1: the installed folder is not the zip's folder and its uninstaller"
  fi
  expect_values "$uninstall" "$(reg_line DisplayName "$product")" "$(reg_line DisplayVersion "$version")" \
    "$(reg_line Publisher "$authors")" "$(reg_line DisplayIcon "\"$exe\",0")" \
    "$(reg_line UninstallString "\"$folder\\uninstall.exe\"")" \
    "$(reg_line QuietUninstallString "\"$folder\\uninstall.exe\" /S")" \
    "\"EstimatedSize\"=dword:$(printf %08x "$(find "$installed" -type f ! -name uninstall.exe -printf '%s\n' \
                                               | awk '{ bytes += $1 } END { printf "%d", (bytes + 1023) / 1024 }')")"
  local command
  command=$(reg_line @ "\"$exe\" \"%1\"")
  expect_values 'HKCU\Software\Classes\jp.zelqua.Editor.5TQ' "$(reg_line @ "$bankType")" "$command"
  expect_values 'HKCU\Software\Classes\jp.zelqua.Editor.mon' "$(reg_line @ "$monType")" "$command"
  expect_values 'HKCU\Software\Classes\.5TQ' "$(reg_line @ jp.zelqua.Editor.5TQ)" "$(reg_line jp.zelqua.Editor.5TQ '')"
  expect_values 'HKCU\Software\Classes\.mon' "$(reg_line @ "$monOwner")" "$(reg_line jp.zelqua.Editor.mon '')"
  expect_values 'HKCU\Software\Classes\Applications\zelqua-editor.exe' "$(reg_line FriendlyAppName "$product")" \
    "$command" "$(reg_line .5TQ '')" "$(reg_line .mon '')"
  [ -f "$shortcut" ] && python3 - "$shortcut" "$exe" <<'PY' || problem "$1: the Start menu entry does not start $exe"
import sys
link = open(sys.argv[1], "rb").read()
target = sys.argv[2]
# A shell link: its header, and the target's path in the link's Unicode strings or its
# local base path.
sys.exit(0 if link[:4] == b"\x4c\0\0\0" and (target.encode("utf-16-le") in link or target.encode("ascii", "replace") in link) else 1)
PY
  stop_wine
  # Per user only: nothing of the editor under HKLM.
  if grep -qi -e zelqua -e '\\.5TQ' "$WINEPREFIX/system.reg"; then
    problem "$1: the installer wrote to HKLM"
  fi
  [ "$problems" -eq "$seen" ] || return 0
  echo "$1: $(find "$installed" -type f | wc -l) files in %LOCALAPPDATA%\\Programs\\zelqua-editor, the uninstall entry," \
       "both file types, \"Open with\" and the Start menu entry under HKCU; nothing under HKLM"
}

# A key written before the installation. Once, in the Japanese prefix just made, the check
# stopped between the prefix and the installation without a word; these were the only calls
# there whose failure went unreported. Each is tried again before the check gives up.
reg_add() {
  wine reg add "$@" > /dev/null 2>&1 || { wineserver --wait; wine reg add "$@" > /dev/null 2>&1; } \
    || problem "wine reg add $* failed twice"
}

installer_checks() { # name
  local here="$out/$1"
  mkdir -p "$here"
  new_prefix "$here/prefix"
  user=$(whoami)
  installed="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/zelqua-editor"
  shortcut="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$product.lnk"
  make_banks
  # Every Windows profile has the user's own classes key; a fresh Wine prefix makes it first
  # when something is written there.
  reg_add 'HKCU\Software\Classes' /f
  # The type names in the prefix's language, as the installer gives them.
  if [ -n "$japanese" ]; then
    bankType="Kuvetta形式 五択問題集"; monType="Zelqua形式 問題ファイル"
    # Another program has .mon already: the installer adds itself to "Open with" only.
    monOwner=OtherEditor.mon
    reg_add 'HKCU\Software\Classes\.mon' /ve /d "$monOwner" /f
  else
    bankType="Kuvetta five-choice quiz bank"; monType="Zelqua quiz question file"; monOwner=jp.zelqua.Editor.mon
  fi
  stop_wine
  registry_keys user > "$here/user-before.txt"
  registry_keys system > "$here/system-before.txt"

  local start
  if [ -n "$japanese" ]; then
    # An older version first, which the installation must replace in place: its file that the
    # new version no longer has goes, and its entry shows the new version.
    wine "$older" /S > "$here/setup-older.log" 2>&1 || problem "the older version did not install (exit $?)"
    wineserver --wait
    [ -f "$installed/old-only.txt" ] || problem "the older version did not install"
  fi
  start=$(date +%s)
  wine "$setup" /S > "$here/setup.log" 2>&1 || problem "the silent installation failed (exit $?)"
  wineserver --wait
  echo "Installed silently in $(( $(date +%s) - start )) s"
  check_installed "Installed${japanese:+ over version 2.0.0}"

  # The console: the split tool's messages in the console's own text (Japanese in code page
  # 932 too) are the lines it writes as UTF-8 to a pipe, with "\" in paths; --help of the
  # desktop program prints in the console of cmd.exe that started it. `script` gives Wine a
  # terminal (wide, so that no line wraps), which Wine makes the programs' console; what the
  # terminal showed is kept without its control sequences and CRs.
  # Wine's own processes, started beside the first programs of a prefix just made, print
  # their complaints ("wine: Unhandled page fault ...") to the same terminal or pipe; those
  # lines are Wine's, not the program's, and are left out. A program of ours that fails
  # still shows: by its exit status, and by its lines missing.
  wine_lines_out() { grep -v '^wine: ' || true; }
  in_console() { # command output-file
    script -qec "stty cols 250; $1" /dev/null 2>&1 | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r' | grep . | wine_lines_out > "$2" || true
  }
  local tool="$installed/zelqua-split.exe"
  mkdir -p "$WINEPREFIX/drive_c/split"
  python3 scripts/windows-split-bank.py "$WINEPREFIX/drive_c/split/問題集.5TQ" > /dev/null
  # (Through a pipe each line ends in CR LF, as a Windows program's text does.)
  local status=0
  wine "$tool" 'C:\split\問題集.5TQ' -o 'C:\split\パイプ' 2>&1 | tr -d '\r' | wine_lines_out > "$here/split-pipe.txt" \
    || status=$?
  [ "$status" -eq 0 ] || problem "zelqua-split.exe failed (exit $status)"
  in_console "wine '$tool' 'C:\\split\\問題集.5TQ' -o 'C:\\split\\コンソール'" "$here/split-console.txt"
  in_console "wine cmd /c chcp" "$here/code-page.txt"
  if ! grep -q 'C:\\split\\パイプ\\.*問目' "$here/split-pipe.txt"; then
    problem "zelqua-split.exe wrote no Japanese line with a Windows path to a pipe"; cat "$here/split-pipe.txt" >&2
  elif ! diff <(sed 's/パイプ/コンソール/' "$here/split-pipe.txt" | LC_ALL=C sort) <(LC_ALL=C sort "$here/split-console.txt") >&2; then
    problem "zelqua-split.exe's console shows other text than it writes to a pipe"
  else
    echo "zelqua-split.exe in a console ($(cat "$here/code-page.txt")): $(wc -l < "$here/split-pipe.txt") lines," \
         "the same as through a pipe: $(head -1 "$here/split-console.txt")"
  fi
  local usage="Usage: zelqua-editor"
  [ -n "$japanese" ] && usage="使い方: zelqua-editor"
  (cd "$installed" && in_console "wine cmd /c zelqua-editor.exe --help" "$here/help-console.txt")
  (cd "$installed" && wine zelqua-editor.exe --version) 2>&1 | tr -d '\r' > "$here/version-pipe.txt" || true
  if ! grep -q "^$usage" "$here/help-console.txt"; then
    problem "zelqua-editor.exe --help printed no usage in cmd.exe's console"; cat "$here/help-console.txt" >&2
  elif ! grep -qx "zelqua-editor $version" "$here/version-pipe.txt"; then
    problem "zelqua-editor.exe --version wrote nothing to a pipe"; cat "$here/version-pipe.txt" >&2
  else
    echo "zelqua-editor.exe --help in cmd.exe: \"$(grep -m1 "^$usage" "$here/help-console.txt")\" and" \
         "$(( $(wc -l < "$here/help-console.txt") - 1 )) more lines; --version through a pipe: $(cat "$here/version-pipe.txt")"
  fi
  stop_wine

  # The bank opened through its file type, as a double-click in Explorer does. Wine's shell
  # reads file types from HKLM only, where Windows merges the user's own over them: the
  # installer's HKCU keys are copied there for this (and removed again before the uninstall).
  local key
  for key in .5TQ jp.zelqua.Editor.5TQ; do
    wine reg copy "HKCU\\Software\\Classes\\$key" "HKLM\\Software\\Classes\\$key" /s /f > /dev/null 2>&1
  done
  (cd "$WINEPREFIX/drive_c" && wine start 'C:\quiz\問題集.5TQ') > "$here/start.log" 2>&1 || problem "wine start on 問題集.5TQ failed"
  editor_window "$here/file-type.png"
  echo "Opened through its file type: C:\\quiz\\問題集.5TQ ($here/file-type.png)"
  convert_first "$here" "Bank opened through its file type converted"
  [ -n "$japanese" ] && convert_through_dialogs "$here"
  stop_wine
  for key in .5TQ jp.zelqua.Editor.5TQ; do
    wine reg delete "HKLM\\Software\\Classes\\$key" /f > /dev/null 2>&1
  done

  # Installed again over itself, it leaves the same.
  start=$(date +%s)
  local code=0
  wine "$setup" /S > "$here/setup-again.log" 2>&1 || code=$?
  wineserver --wait
  if [ "$code" -ne 0 ]; then
    # Under Wine this has failed once (exit 2: the installer gave up because the installed
    # version's uninstaller failed or did not start) where forty reinstalls in a row of the
    # same installer passed. What it left is printed and it is tried once more; a second
    # failure in a row fails the check.
    echo "The second silent installation failed (exit $code); what it left:" >&2
    cat "$here/setup-again.log" >&2
    ls -la "$installed" >&2 || true
    reg_text 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelqua-editor' >&2
    stop_wine
    wine "$setup" /S > "$here/setup-again-2.log" 2>&1 || problem "the second silent installation failed twice (exit $code, then $?)"
    wineserver --wait
  fi
  echo "Installed again over itself in $(( $(date +%s) - start )) s"
  check_installed "Installed again"

  # Uninstalled silently with the entry's own command: nothing of the editor is left, and
  # the user's files (a mon file kept in the program's folder, the converted banks) stay.
  local seen=$problems
  printf 'mine\r\n' > "$installed/自分の問題.mon"
  local quiet
  quiet=$(reg_text 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelqua-editor' \
            | sed -n 's/^"QuietUninstallString"="\\"\(.*\)\\" \/S"$/\1/p' | sed 's/\\\\/\\/g')
  start=$(date +%s)
  wine "$quiet" /S > "$here/uninstall.log" 2>&1 || problem "the silent uninstallation failed (exit $?)"
  timeout 120 wineserver --wait || true   # the uninstaller runs on from a copy of itself
  stop_wine
  echo "Uninstalled silently in $(( $(date +%s) - start )) s"
  local left
  left=$(find "$installed" -mindepth 1 ! -name 自分の問題.mon 2>/dev/null; [ ! -e "$shortcut" ] || echo "$shortcut")
  [ -z "$left" ] || problem "the uninstaller left: $left"
  [ -f "$installed/自分の問題.mon" ] && [ -f "$bankdir/問題集.mon" ] || problem "the uninstaller removed the user's files"
  registry_keys user > "$here/user-after.txt"
  # The user's keys as they were before the installation (Wine's own, what the system's
  # dialogs remember under Explorer's key and the console's settings aside), and nothing of
  # the editor anywhere (HKLM is Wine's to change, with the hardware it finds).
  local changed
  changed=$(LC_ALL=C comm -3 "$here/user-before.txt" "$here/user-after.txt" \
              | grep -v -e 'Software\\\\Wine\\\\' -e 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\' \
                        -e '^\s*Console$' || true)
  [ -z "$changed" ] || problem "keys changed from before the installation: $changed"
  if grep -i zelqua "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg"; then
    problem "the editor's keys are left in the registry"
  fi
  # Another program's type stays as it was.
  [ -z "$japanese" ] || expect_values 'HKCU\Software\Classes\.mon' "$(reg_line @ "$monOwner")"
  stop_wine
  [ "$problems" -eq "$seen" ] || return 0
  echo "Uninstalled: no file, key or shortcut of the editor left; the user's files stay"
}

# An older version to upgrade from: the same installer at version 2.0.0 holding one file of
# its own.
older="$out/older/setup-2.0.0.exe"
mkdir -p "$out/older"
printf 'old\r\n' > "$out/older/old-only.txt"
printf 'SetOutPath "$INSTDIR"\nFile "%s"\n' "$out/older/old-only.txt" > "$out/older/files.nsh"
printf 'Delete "$INSTDIR\\old-only.txt"\n' > "$out/older/remove.nsh"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION=2.0.0 -DPUBLISHER="$authors" -DCOPYRIGHT="$authors" -DSIZE_KB=1 \
  -DICON="$build/zelqua-editor.ico" -DFILES="$out/older/files.nsh" -DREMOVE="$out/older/remove.nsh" -DOUTFILE="$older" \
  data/windows/installer.nsi > "$out/older/makensis.log" 2>&1 || { cat "$out/older/makensis.log"; fail "no older installer"; }

japanese=""
# Wine reads the Japanese names on its command line as UTF-8 only in a UTF-8 locale; C.UTF-8
# is the same English Windows as C.
if [ "$(locale charmap 2>/dev/null)" = UTF-8 ]; then
  installer_checks install
else
  LC_ALL=C.UTF-8 installer_checks install
fi
# The same in a Japanese Windows: code page 932, Wine's own dialogs in Japanese.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  echo "Generating the locale ja_JP.UTF-8"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
japanese=ja_JP.UTF-8
LC_ALL=$japanese
export LC_ALL
installer_checks install-ja
unset LC_ALL

echo "Screenshots: $out/editor.png, $out/open-dialog.png, $out/save-dialog.png, $out/converted.png, $out/restored.png," \
     "$out/install/file-type.png, $out/install-ja/file-type.png, $out/install-ja/save-dialog.png"
echo "check-windows: $(( $(date +%s) - stageStart )) s"
exit "$failed"
