#!/usr/bin/env bash
# Compile check: Vantory's sources and resource script, unchanged, against the real windows.h
# of mingw-w64, into a 32-bit Vantory.exe. Keeps our layer honest about the API the launcher uses.
#
#   scripts/mingw-check.sh [BUILD_DIR]
#
# BUILD_DIR is a configured CMake build tree of the project (default build-launcher); the
# launcher's pictures are drawn there first. The result is BUILD_DIR/mingw/Vantory.exe.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-launcher}
cxx=i686-w64-mingw32-g++
windres=i686-w64-mingw32-windres

for tool in "$cxx" "$windres"; do
  if ! command -v "$tool" >/dev/null; then
    echo "mingw-check: $tool is missing (Debian packages g++-mingw-w64-i686 binutils-mingw-w64-i686)" >&2
    exit 1
  fi
done
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DDIR_WERROR=ON >/dev/null
cmake --build "$build" --target launcher_art >/dev/null

out=$build/mingw
mkdir -p "$out"
art=$build/resources/launcher/art

"$windres" --include-dir=resources/launcher --include-dir="$art" -O coff \
  resources/launcher/vantory.rc -o "$out/vantory_rc.o"

# The same warnings as the project's own build (cmake/ProjectOptions.cmake), as errors.
flags=(-std=c++20 -O1 -fexec-charset=CP1251 -I. -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
       -Wcast-align -Wunused -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough -Werror)
objects=()
for source in launcher/*.cpp; do
  object=$out/$(basename "${source%.cpp}").o
  "$cxx" "${flags[@]}" -c "$source" -o "$object"
  objects+=("$object")
done
"$cxx" -mwindows -static -o "$out/Vantory.exe" "${objects[@]}" "$out/vantory_rc.o" -lshell32

if ! i686-w64-mingw32-objdump -f "$out/Vantory.exe" | grep -q 'file format pei-i386'; then
  echo "mingw-check: $out/Vantory.exe is not a 32-bit Windows program" >&2
  exit 1
fi
echo "mingw-check: $out/Vantory.exe built"
