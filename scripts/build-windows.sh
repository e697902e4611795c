#!/usr/bin/env bash
# Cross-builds the editor for 64-bit Windows with mingw-w64 and packs
# zelqua-editor-<version>-windows-x64.zip: the program, the Qt DLLs and plugins it loads,
# Qt's Japanese translations and the mingw runtime DLLs; nothing else is needed on Windows.
#
# Usage: scripts/build-windows.sh [BUILD_DIR] [TARGET...]
#   BUILD_DIR  defaults to build-windows; the zip is written beside the repository's files.
#   TARGET     further targets to build as well (the Wine check builds test programs).
#
# Qt for Windows comes from the prebuilt archive in shared/windows beside the repository
# (beside the main clone, for a git worktree) when it is there. Else it is built once from
# Debian's source package with scripts/build-qt-mingw.sh into $ZQ_QT_MINGW (default
# ~/.cache/zelqua-editor/qt6-mingw; about 20 minutes on 2 idle cores); ZQ_NO_QT_ARCHIVE=1 takes
# that road even where the archive is.
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
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target zelqua-editor "$@"

version=$(sed -n 's/^project(zelqua-editor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="zelqua-editor-$version-windows-x64"
stage="$build/$name"
rm -rf "$stage" && mkdir -p "$stage"/{platforms,styles,translations}

# Qt's project setup puts Windows programs at the top of the build folder, beside their DLLs.
x86_64-w64-mingw32-strip -o "$stage/zelqua-editor.exe" "$build/zelqua-editor.exe"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,PrintSupport}.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt 6 prints on Windows from Qt6PrintSupport.dll itself; a print-support plugin is only
# copied where the Qt build has one.
if [ -d "$qt/plugins/printsupport" ]; then
  mkdir -p "$stage/printsupport" && cp "$qt"/plugins/printsupport/*.dll "$stage/printsupport/"
fi
cp /usr/share/qt6/translations/qt_ja.qm /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
runtime=/usr/lib/gcc/x86_64-w64-mingw32/$(x86_64-w64-mingw32-g++-posix -dumpversion)
cp "$runtime/libgcc_s_seh-1.dll" "$runtime/libstdc++-6.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
# Qt's paths for a program unpacked anywhere: plugins beside it, translations below it.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' > "$stage/qt.conf"

# Every DLL the program and its plugins import is in the folder or is part of Windows.
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
