#!/usr/bin/env bash
# Builds the Windows zip and proves it, then runs it under Wine in a fresh Wine prefix:
#  1. the zip: at most 14 MB; both programs carry the icon (the images icon_export drew) and
#     the version block with the project's version; no program or DLL has debug sections;
#     the readme and the licence texts are there, in a form Notepad shows;
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
# Usage: scripts/check-windows.sh [--tests-only] [OUT_DIR]   (screenshot and logs go to
# OUT_DIR, default build-windows/wine-check). --tests-only stops after step 3.
set -euo pipefail
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
bash scripts/build-windows.sh "$build" "${tests[@]}"
version=$(sed -n 's/^project(zelqua-editor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip="$repo/zelqua-editor-$version-windows-x64.zip"

rm -rf "$out" && mkdir -p "$out"
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko: the editor needs neither, and Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
start=$(date +%s)
wineboot --init > "$out/wineboot.log" 2>&1
wineserver --wait
echo "Wine prefix ready in $(( $(date +%s) - start )) s"

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
  --description "Zelqua≪五択変換ｴﾃﾞｨﾀｰ 一括変換 (zelqua-split)" --copyright "$copyright"
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

# The registry as it stands before the editor's session, for step 6.
registry_keys() { sed -n 's/^\[\(.*\)\] [0-9]*$/\1/p' "$WINEPREFIX/user.reg" | LC_ALL=C sort; }
registry_keys > "$out/registry-before.txt"

# 4. The editor on a virtual X server at 96 dpi.
bankdir="$WINEPREFIX/drive_c/quiz"
mkdir -p "$bankdir"
python3 scripts/windows-check-bank.py "$bankdir/capitals.5TQ" "$out/expected.mon"
# The same bank under a Japanese name, given on the command line.
cp "$bankdir/capitals.5TQ" "$bankdir/問題集.5TQ"

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

title="Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"
start=$(date +%s)
(cd "$WINEPREFIX/drive_c/quiz" && exec wine "$app/zelqua-editor.exe" 'C:\quiz\問題集.5TQ') > "$out/editor.log" 2>&1 &
editor=$!
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
import -window root "$out/editor.png"

# 5. Conversions, by mouse and keyboard. Positions are the window's own at 96 dpi (its
#    layout at 120 dpi times 0.8).
click() { xdotool mousemove --window "$window" "$1" "$2"; sleep 0.3; xdotool click 1; sleep "${3:-1}"; }
keys() { xdotool type --delay 30 "$1"; sleep 0.5; }
# Counts the open file dialogs: the system's own, titled by Wine in the prefix's language
# ("Open", "Save"; "開く", "名前を付けて保存" on a Japanese Windows).
dialogs() { xdotool search --name "^(開く|名前を付けて保存|Open|Save|Save As)\$" 2>/dev/null | wc -l; }
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

# The bank named on the command line: its genres are listed (the genre row adds questions).
click 190 77 2                                  # the first genre's row, not its current cell
import -window root "$out/genre.png"
click 453 219 2                                 # ⑦ convert
click 455 20 0                                  # ⑨ save: Windows' save dialog proposes 問題集.mon
dialog_open
import -window root "$out/save-dialog.png"
xdotool key Return
dialog_closed
compare "$bankdir/問題集.mon" "Bank from the command line converted under Wine"

# The open dialog: the bank typed in, read with the bank filter; the table cleared first.
click 232 244 1                                 # ④ clear the question table
click 210 19 0                                  # ① 読込: Windows' open dialog
dialog_open
import -window root "$out/open-dialog.png"
keys 'C:\quiz\capitals.5TQ'
xdotool key Return
dialog_closed
click 230 77 2                                  # another cell of the first genre's row
click 453 219 2
# Saved with the file type switched to text: the name shown, capitals.mon, is kept.
click 455 20 0
dialog_open
xdotool key Tab; sleep 0.5; xdotool key Down; sleep 1
import -window root "$out/save-dialog-text-type.png"
xdotool key Return
dialog_closed
compare "$bankdir/capitals.mon" "Opened in the open dialog and saved with the text type"
if [ -e "$bankdir/capitals.TXT" ]; then
  echo "check-windows: switching the file type renamed the file to capitals.TXT" >&2
  failed=1
fi
import -window root "$out/converted.png"

# Saving again over the file, which another program changed meanwhile: the dialog asks
# before it overwrites (a box titled 確認; "y" answers Yes, which Wine's box at times only
# focuses, and Return then presses) and the file is replaced whole.
printf 'changed by another program\r\n' > "$bankdir/capitals.mon"
click 455 20 0
dialog_open
xdotool key Return; sleep 2
import -window root "$out/overwrite-question.png"
question() { xdotool search --onlyvisible --name '^確認$' 2>/dev/null | head -1; }
[ -n "$(question)" ] || { echo "check-windows: no question before overwriting" >&2; failed=1; }
xdotool key y
for _ in $(seq 6); do sleep 0.5; [ -z "$(question)" ] && break; done
[ -z "$(question)" ] || xdotool key Return
dialog_closed
compare "$bankdir/capitals.mon" "Saved again over an existing file ($(ls "$bankdir" | wc -l) files in the folder)"

# 6. The registry after the session (Wine writes it out when its server stops): besides
#    Wine's own keys and what the system's dialogs remember for every program (recent
#    folders, under Microsoft's keys), the editor's run added nothing, as the readme says.
kill "$editor" 2>/dev/null || true
editor=""
wineserver -k 2>/dev/null || true
wineserver --wait 2>/dev/null || true
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
echo "Screenshots: $out/editor.png, $out/open-dialog.png, $out/save-dialog.png, $out/converted.png, $out/restored.png"
exit "$failed"
