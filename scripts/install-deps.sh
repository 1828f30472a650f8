#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# As root it installs them; otherwise it names them and stops.
set -eu

packages=(
  cmake make g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-dejavu-core fonts-wine fonts-liberation
  liblitehtml-dev nlohmann-json3-dev libsqlite3-dev
  libosmium2-dev libprotozero-dev zlib1g-dev libbz2-dev libexpat1-dev
  imagemagick valgrind
  g++-mingw-w64-i686 binutils-mingw-w64-i686 librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# ImageMagick's 'convert' is the reference decoder of the picture tests; a stand-in
# binary of the same name does not count.
if ! /usr/bin/convert -version 2>/dev/null | grep -q ImageMagick; then
  case " ${missing[*]-} " in *" imagemagick "*) ;; *) missing+=(imagemagick) ;; esac
fi

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root (apt-get install ${missing[*]}) and run again." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
