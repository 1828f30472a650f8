#!/usr/bin/env bash
# Records the conformance program's reference output: the program built with mingw-w64 for 32-bit
# Windows and run under Wine with its display-less driver, so that nothing on the host (a window
# manager, a display's timing) reaches what it prints. The output replaces conformance/reference.txt.
#
#   scripts/record-conformance.sh [WORK_DIR]
#
# WORK_DIR holds the objects, the program and the Wine prefix (default build-conformance).
# What it needs and lacks it installs with apt-get when run as root, and otherwise names.
set -eu
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build-conformance}")
cxx=i686-w64-mingw32-g++
windres=i686-w64-mingw32-windres

missing=()
command -v "$cxx" >/dev/null || missing+=(g++-mingw-w64-i686)
command -v "$windres" >/dev/null || missing+=(binutils-mingw-w64-i686)
command -v wine >/dev/null || missing+=(wine)
[ -f /usr/share/wine/fonts/tahoma.ttf ] || missing+=(fonts-wine)
# Debian's wine runs 32-bit programs only with the i386 half installed.
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' || missing+=(wine32:i386)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "record-conformance: missing ${missing[*]}; install them as root (wine32 needs 'dpkg --add-architecture i386')" >&2
    exit 1
  fi
  echo "record-conformance: installing ${missing[*]}" >&2
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2 || {
    echo "record-conformance: could not install ${missing[*]}" >&2
    exit 1
  }
fi

out=$work/mingw
mkdir -p "$out"
"$windres" --include-dir=. -O coff conformance/conformance.rc -o "$out/conformance_rc.o"
flags=(-std=c++20 -O1 -I. -DUNICODE -D_UNICODE -municode -Wall -Wextra -Wpedantic -Wshadow -Werror)
objects=("$out/conformance_rc.o")
for source in conformance/*.cpp; do
  object=$out/$(basename "${source%.cpp}").o
  "$cxx" "${flags[@]}" -c "$source" -o "$object"
  objects+=("$object")
done
"$cxx" -municode -mconsole -static -o "$out/conformance.exe" "${objects[@]}" -lcomctl32 -lgdi32 -luser32

# A prefix of its own, made once, whose graphics driver is Wine's null driver: windows exist,
# paint and take focus without any display, in the same order on every run.
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
# Wine's own Tahoma lies in its data folder, where a prefix does not look for it: without a copy in
# the prefix's font folder Tahoma and the system font are answered with another face.
for face in tahoma.ttf tahomabd.ttf; do
  cp /usr/share/wine/fonts/$face "$WINEPREFIX/drive_c/windows/Fonts/"
done
wineserver --wait || true

timeout 120 wine "$out/conformance.exe" >"$out/reference.txt"
wineserver --wait || true
tr -d '\r' <"$out/reference.txt" >conformance/reference.txt
if ! tail -n 1 conformance/reference.txt | grep -qx 'case end'; then
  echo "record-conformance: the program did not run to its end; see conformance/reference.txt" >&2
  exit 1
fi
echo "record-conformance: conformance/reference.txt recorded ($(grep -c '' conformance/reference.txt) lines, $(wine --version))"
