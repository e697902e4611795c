#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, PrintSupport, Test) for 64-bit Windows with
# mingw-w64, from Debian 12's own qt6-base source package, using the host's Qt 6.4.2 tools.
# Usage: build-qt-mingw.sh PREFIX [WORKDIR]     (about 20 minutes on 2 idle cores; needs root for apt)
# Result: PREFIX holds bin/*.dll, plugins/, include/, lib/cmake/Qt6* for find_package(Qt6) with
#   -DCMAKE_TOOLCHAIN_FILE=<this folder>/mingw-w64.cmake -DCMAKE_PREFIX_PATH=PREFIX -DQT_HOST_PATH=/usr
set -euo pipefail
prefix=${1:?usage: build-qt-mingw.sh PREFIX [WORKDIR]}
work=${2:-$(mktemp -d)}
here=$(cd "$(dirname "$0")/../cmake" && pwd)   # the toolchain file mingw-w64.cmake

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix cmake ninja-build \
  qt6-base-dev qt6-base-dev-tools xz-utils dpkg-dev >/dev/null

cd "$work"
if [ ! -d qtbase-everywhere-src-6.4.2 ]; then
  # Debian's source package, fetched through apt with a deb-src entry of its own.
  mkdir -p apt/lists/partial
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > apt/src.sources
  opts=(-o Dir::Etc::sourcelist="$work/apt/src.sources" -o Dir::Etc::sourceparts=/dev/null -o Dir::State::Lists="$work/apt/lists")
  apt-get "${opts[@]}" update -qq
  apt-get "${opts[@]}" source --download-only qt6-base=6.4.2+dfsg-10 >/dev/null
  tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
fi

mkdir -p build && cd build
# OpenGL stays on (dynamic): Qt 6.4.2's Windows platform plugin does not compile without it.
# Tablet events off: the dfsg source drops the wintab headers they need.
cmake -G Ninja ../qtbase-everywhere-src-6.4.2 \
  -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_icu=OFF -DFEATURE_tabletevent=OFF -DFEATURE_opengl=ON -DINPUT_opengl=dynamic >configure.log
ninja -j"$(nproc)"
ninja install >/dev/null
echo "Qt for Windows installed in $prefix"
