#!/bin/sh
# Installs the build into a temporary prefix and builds a small program against it twice: through
# the CMake package and through pkg-config; then checks that a project taking the source tree in
# with add_subdirectory configures. Arguments: the build folder, the cmake program, the C++
# compiler and the source folder.
set -eu
build=$1 cmake=$2 cxx=$3 source=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log"
for header in svy3/svy3.h svy3/api.h svy3/api/editor.h svy3/version.h svy3/platform/export.h \
    svy3/xmlfile/svy_xml_file.h; do
    test -f "$prefix/include/$header" || { echo "not installed: include/$header"; exit 1; }
done
test -x "$prefix/bin/svy" || { echo "not installed: bin/svy"; exit 1; }
"$prefix/bin/svy" --version
pc=$(find "$prefix" -name svy3.pc)
libdir=$(dirname "$(dirname "$pc")")
ls "$libdir"/libsvy3.so "$libdir"/libsvy3.so.* >/dev/null

# The Python module, when the build has one: it imports from the prefix's dist-packages.
module=$(find "$prefix" -path '*dist-packages/svy3*.so' | head -n 1)
if [ -n "$module" ]; then
    test -f "$(dirname "$module")/svy3.pyi" || { echo "not installed: svy3.pyi"; exit 1; }
    PYTHONPATH=$(dirname "$module") /usr/bin/python3 -c 'import svy3; assert callable(svy3.open)'
fi

"$cmake" -S "$here" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
    >"$work/configure.log" || { cat "$work/configure.log"; exit 1; }
"$cmake" --build "$work/cmake-build" >"$work/build.log" || { cat "$work/build.log"; exit 1; }
"$work/cmake-build/consumer"

flags=$(PKG_CONFIG_PATH="$(dirname "$pc")" pkg-config --cflags --libs svy3)
"$cxx" -std=c++17 "$here/consumer.cpp" -o "$work/pc-consumer" $flags
LD_LIBRARY_PATH="$libdir" "$work/pc-consumer"

# A project that adds the source tree as a subfolder of its own gets the same target (configured
# only: building the library again would take minutes).
mkdir "$work/parent"
cat >"$work/parent/CMakeLists.txt" <<END
cmake_minimum_required(VERSION 3.16)
project(parent LANGUAGES CXX)
add_subdirectory("$source" svy3)
add_executable(consumer "$here/consumer.cpp")
target_link_libraries(consumer PRIVATE svy3::svy3)
END
"$cmake" -S "$work/parent" -B "$work/parent-build" -DCMAKE_CXX_COMPILER="$cxx" \
    -DSVY3_BUILD_BENCH=OFF >"$work/parent.log" 2>&1 || { cat "$work/parent.log"; exit 1; }
test -f "$work/parent-build/svy3/generated/svy3/version.h"
