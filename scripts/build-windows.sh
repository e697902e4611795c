#!/usr/bin/env bash
# Cross-builds the editor and zelqua-split for 64-bit Windows with mingw-w64 and packs
# zelqua-editor-<version>-windows-x64.zip: the two programs (with their icon and version
# block), the Qt DLLs and plugins they load, Qt's Japanese translations, the mingw runtime
# DLLs, a readme (README.txt) and the licences of all of it (licenses/); nothing else is
# needed on Windows. Every program and DLL in the zip is stripped; the same folder with its
# symbols and debug sections stays in BUILD_DIR/<name>-unstripped for debugging.
# Beside the zip, zelqua-editor-<version>-windows-x64-setup.exe installs the same folder per
# user, with its file types, Start menu entry and uninstaller (data/windows/installer.nsi,
# built with NSIS' makensis).
#
# Usage: scripts/build-windows.sh [BUILD_DIR] [TARGET...]
#   BUILD_DIR  defaults to build-windows; the zip and the installer are written beside the
#              repository's files.
#   TARGET     further targets to build as well (the Wine check builds test programs).
#
# Qt for Windows comes from the prebuilt archive in shared/windows beside the repository
# (beside the main clone, for a git worktree) when it is there. Else it is built once from
# Debian's source package with scripts/build-qt-mingw.sh into $ZQ_QT_MINGW (default
# ~/.cache/zelqua-editor/qt6-mingw; about 20 minutes on 2 idle cores); ZQ_NO_QT_ARCHIVE=1 takes
# that road even where the archive is.
#
# The program icon is drawn by the window icon's own code (tools/icon_export), which has to
# run on this machine: a small host build in BUILD_DIR/host draws it first.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build=${1:-build-windows}
shift || true
case "$build" in /*) ;; *) build="$repo/$build" ;; esac

bash scripts/install-deps.sh build windows

archive=""
clone=$(dirname "$(git rev-parse --path-format=absolute --git-common-dir 2>/dev/null || echo "$repo/.git")")
for shared in "$repo/../shared/windows" "$clone/../shared/windows"; do
  if [ -z "${ZQ_NO_QT_ARCHIVE:-}" ] && [ -f "$shared/qt6.4.2-mingw-w64-x86_64.tar.xz" ]; then
    archive="$shared/qt6.4.2-mingw-w64-x86_64.tar.xz"
    break
  fi
done
if [ -n "$archive" ]; then
  qt="$build/qt6-mingw"
  stamp="$build/qt6-mingw.from"
  if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$(stat -c %s-%Y "$archive")" ]; then
    echo "Unpacking Qt for Windows from $archive"
    rm -rf "$qt" && mkdir -p "$build"
    tar xJf "$archive" -C "$build"
    stat -c %s-%Y "$archive" > "$stamp"
  fi
else
  qt=${ZQ_QT_MINGW:-$HOME/.cache/zelqua-editor/qt6-mingw}
  if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "No prebuilt Qt for Windows in ../shared/windows: building it from source into $qt"
    start=$(date +%s)
    bash scripts/build-qt-mingw.sh "$qt" "$(mktemp -d)"
    echo "Qt for Windows built in $(( $(date +%s) - start )) s"
  fi
fi

mkdir -p "$build"
echo "$qt" > "$build/qt-prefix"   # for scripts/check-windows.sh

# The icon, drawn on this machine; copied only when it changed, so that an unchanged icon
# does not relink the programs.
host="$build/host"
cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release > "$build.host-configure.log" 2>&1 \
  || { cat "$build.host-configure.log"; exit 1; }
cmake --build "$host" -j "$(nproc)" --target icon_export
QT_QPA_PLATFORM=offscreen "$host/tools/icon_export" --ico "$build/zelqua-editor.ico.new"
cmake -E copy_if_different "$build/zelqua-editor.ico.new" "$build/zelqua-editor.ico"
rm "$build/zelqua-editor.ico.new"

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DZQ_WINDOWS_ICON="$build/zelqua-editor.ico" \
  -DCMAKE_BUILD_TYPE=Release > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target zelqua-editor zelqua-split "$@"

version=$(sed -n 's/^project(zelqua-editor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="zelqua-editor-$version-windows-x64"
unstripped="$build/$name-unstripped"
stage="$build/$name"
rm -rf "$unstripped" "$stage" && mkdir -p "$unstripped"/{platforms,styles,translations,licenses}

# Qt's project setup puts Windows programs at the top of the build folder, beside their DLLs.
cp "$build/zelqua-editor.exe" "$build/zelqua-split.exe" "$unstripped/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,PrintSupport}.dll "$unstripped/"
cp "$qt/plugins/platforms/qwindows.dll" "$unstripped/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$unstripped/styles/"
# Qt 6 prints on Windows from Qt6PrintSupport.dll itself; a print-support plugin is only
# copied where the Qt build has one.
if [ -d "$qt/plugins/printsupport" ]; then
  mkdir -p "$unstripped/printsupport" && cp "$qt"/plugins/printsupport/*.dll "$unstripped/printsupport/"
fi
cp /usr/share/qt6/translations/qt_ja.qm /usr/share/qt6/translations/qtbase_ja.qm "$unstripped/translations/"
# The C++ runtime stays in its DLLs: Qt's DLLs import libstdc++-6.dll and libgcc_s_seh-1.dll
# themselves, so linking it into the programs statically would remove no file and give
# them a second copy of the runtime.
runtime=/usr/lib/gcc/x86_64-w64-mingw32/$(x86_64-w64-mingw32-g++-posix -dumpversion)
cp "$runtime/libgcc_s_seh-1.dll" "$runtime/libstdc++-6.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$unstripped/"
# Qt's paths for a program unpacked anywhere: plugins beside it, translations below it.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' > "$unstripped/qt.conf"

# Texts for Notepad: UTF-8 with a byte order mark and CR LF line ends, which every Notepad
# shows correctly, old ones included. Arguments after the two files are sed expressions.
windows_text() {
  local from=$1 to=$2 expressions=()
  shift 2
  for expression in "$@"; do expressions+=(-e "$expression"); done
  { printf '\357\273\277'
    { cat "$from"; [ -z "$(tail -c 1 "$from")" ] || echo; } | sed "${expressions[@]}" -e 's/\r$//' -e 's/$/\r/'
  } > "$to"
}
# The licences: the texts of the Debian packages the files come from, and a notice of what
# is under which licence and where the sources are.
package_source() { dpkg-query -W -f='${source:Package} ${source:Version}' "$1"; }
qt_debian=$(sed -n 's/.*source --download-only qt6-base=\([^ ]*\).*/\1/p' scripts/build-qt-mingw.sh)
qt_version=${qt_debian%%+*}
translations_package=$(dpkg -S /usr/share/qt6/translations/qtbase_ja.qm | cut -d: -f1)
translations_source=$(package_source "$translations_package")
gcc_package=$(dpkg -S "$runtime/libstdc++-6.dll" | cut -d: -f1)
mingw_package=$(dpkg -S /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll | cut -d: -f1)
copyright=$(sed -n 's/^Copyright: //p' data/debian/copyright | head -1)
# The Debian source of Qt that the notice names (its size and digest from the package's .dsc).
qt_orig=qt6-base_${qt_debian%-*}.orig.tar.xz
qt_orig_size=45943692
qt_orig_sha256=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
[ "$qt_debian" = 6.4.2+dfsg-10 ] || { echo "build-windows: Qt's source changed; give its orig tarball's size and digest here" >&2; exit 1; }
licenses="$unstripped/licenses"
windows_text LICENSE "$licenses/zelqua-editor.txt"
windows_text /usr/share/common-licenses/LGPL-3 "$licenses/LGPL-3.0.txt"
windows_text /usr/share/common-licenses/GPL-3 "$licenses/GPL-3.0.txt"
windows_text /usr/share/doc/libqt6core6/copyright "$licenses/Qt.txt"
windows_text "/usr/share/doc/$translations_package/copyright" "$licenses/Qt-translations.txt"
windows_text "/usr/share/doc/$gcc_package/copyright" "$licenses/gcc.txt"
windows_text "/usr/share/doc/$mingw_package/copyright" "$licenses/mingw-w64.txt"
# The exception on its own, from its first line to its last in GCC's copyright file.
sed -n '/^GCC RUNTIME LIBRARY EXCEPTION$/,/^requirements of the license of GCC\.$/p' \
  "/usr/share/doc/$gcc_package/copyright" > "$build/GCC-exception-3.1"
grep -q '^Version 3.1, 31 March 2009$' "$build/GCC-exception-3.1" \
  && tail -1 "$build/GCC-exception-3.1" | grep -q '^requirements of the license of GCC\.$' \
  || { echo "build-windows: no GCC Runtime Library Exception 3.1 in /usr/share/doc/$gcc_package/copyright" >&2; exit 1; }
windows_text "$build/GCC-exception-3.1" "$licenses/GCC-exception-3.1.txt"
windows_text data/windows/NOTICE.txt "$licenses/NOTICE.txt" \
  "s|@VERSION@|$version|g" "s|@COPYRIGHT@|$copyright|g" \
  "s|@QT_VERSION@|$qt_version|g" "s|@QT_MINOR@|${qt_version%.*}|g" "s|@QT_DEBIAN_VERSION@|$qt_debian|g" \
  "s|@QT_ORIG_TARBALL@|$qt_orig|g" "s|@QT_ORIG_SIZE@|$qt_orig_size|g" "s|@QT_ORIG_SHA256@|$qt_orig_sha256|g" \
  "s|@QT_TRANSLATIONS_PACKAGE@|$translations_package $(dpkg-query -W -f='${Version}' "$translations_package")|g" \
  "s|@QT_TRANSLATIONS_VERSION@|$(dpkg-query -W -f='${Version}' "$translations_package" | sed 's/-[^-]*$//')|g" \
  "s|@QT_TRANSLATIONS_SOURCE@|$translations_source|g" \
  "s|@QT_TRANSLATIONS_SOURCE_PACKAGE@|${translations_source% *}|g" "s|@QT_TRANSLATIONS_SOURCE_VERSION@|${translations_source#* }|g" \
  "s|@GCC_VERSION@|$(dpkg-query -W -f='${Version}' "$gcc_package" | sed 's/-.*//')|g" \
  "s|@GCC_SOURCE@|$(package_source "$gcc_package")|g" \
  "s|@GCC_BUILT_USING@|$(dpkg-query -W -f='${Built-Using}' "$gcc_package")|g" \
  "s|@MINGW_SOURCE@|$(package_source "$mingw_package")|g"
mkdir -p "$licenses/qt-build/scripts" "$licenses/qt-build/cmake"
cp scripts/build-qt-mingw.sh "$licenses/qt-build/scripts/"
cp cmake/mingw-w64.cmake "$licenses/qt-build/cmake/"
windows_text data/windows/README.txt "$unstripped/README.txt" "s|@VERSION@|$version|g"
if grep -rl '@[A-Z_]*@' "$unstripped"/README.txt "$licenses"/NOTICE.txt; then
  echo "build-windows: a placeholder is left in the texts above" >&2
  exit 1
fi

# What goes into the zip: the same folder with every program and DLL stripped of its
# symbols and debug sections (a third of the size).
cp -r "$unstripped" "$stage"
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# Every DLL the programs and the plugins import is in the folder or is part of Windows.
missing=$(find "$stage" -name '*.exe' -o -name '*.dll' | while read -r binary; do
  x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'
done | sort -u | while read -r dll; do
  case "$dll" in
    Qt6*|lib*) [ -f "$stage/$dll" ] || echo "$dll" ;;
  esac
done)
if [ -n "$missing" ]; then
  echo "build-windows: DLLs missing from the zip: $missing" >&2
  exit 1
fi

zip="$repo/$name.zip"
rm -f "$zip"
(cd "$build" && cmake -E tar cf "$zip" --format=zip "$name")
echo "$zip: $(stat -c %s "$zip") bytes, $(find "$stage" -type f | wc -l) files"

# The installer: the same folder, installed per user (data/windows/installer.nsi). Its file
# list and the uninstaller's are written here from the folder, so that the uninstaller
# removes exactly the files the installer put there and no others.
files="$build/installer-files.nsh"
remove="$build/installer-remove.nsh"
: > "$files"
: > "$remove"
(cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r folder; do
  folder=${folder#.}
  windowsFolder=${folder//\//\\}
  echo "SetOutPath \"\$INSTDIR$windowsFolder\"" >> "$files"
  (cd "$stage$folder" && find . -maxdepth 1 -type f | LC_ALL=C sort) | while read -r file; do
    file=${file#./}
    echo "File \"$stage$folder/$file\"" >> "$files"
    echo "Delete \"\$INSTDIR$windowsFolder\\$file\"" >> "$remove"
  done
done
# Each folder after the files and the folders in it, the deepest first; RMDir leaves a
# folder that still holds something of the user's.
(cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while read -r folder; do
  folder=${folder#.}
  echo "RMDir \"\$INSTDIR${folder//\//\\}\"" >> "$remove"
done
if (cd "$stage" && find . -mindepth 1) | grep -q '[$"`]'; then
  echo "build-windows: a file name the installer script cannot quote" >&2
  exit 1
fi
setup="$repo/$name-setup.exe"
sizeKb=$(find "$stage" -type f -printf '%s\n' | awk '{ bytes += $1 } END { printf "%d", (bytes + 1023) / 1024 }')
authors=$(sed 's/^[0-9, -]* //' <<< "$copyright")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DPUBLISHER="$authors" -DCOPYRIGHT="Copyright © $copyright" \
  -DSIZE_KB="$sizeKb" -DICON="$build/zelqua-editor.ico" -DFILES="$files" -DREMOVE="$remove" -DOUTFILE="$setup" \
  data/windows/installer.nsi > "$build/makensis.log" 2>&1 || { cat "$build/makensis.log"; exit 1; }
echo "$setup: $(stat -c %s "$setup") bytes, installs $(grep -c '^File ' "$files") files ($sizeKb KiB)"
