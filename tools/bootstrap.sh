#!/usr/bin/env bash
# Installs every Debian package that the build, the program and the tests need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build make pkg-config git ca-certificates
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix
  libz-mingw-w64-dev rapidjson-dev libstb-dev libspdlog-dev libfmt-dev googletest
  g++ clang-format
  wine wine32:i386 wine64 fonts-wine fonts-wqy-microhei fonts-dejavu-core
  xvfb xdotool x11-utils imagemagick
  python3 python3-pil libraqm0 openssl osslsigncode curl aria2 procps time zlib1g-dev
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "bootstrap: all packages present"
fi

# Some virtual machines (this project's CI among them) cannot execute 32-bit x86 ELF programs
# although their kernel says it can: Wine's 32-bit loader then fails with "Exec format error".
# There, 32-bit Linux programs run through qemu's user-mode emulator, registered with
# binfmt_misc. qemu 7 (bookworm) needs 50 s per Wine start (no MAP_FIXED_NOREPLACE); the
# backported qemu 10 needs a quarter of a second.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if ! /usr/bin/qemu-i386 --version 2>/dev/null | grep -q 'version \(9\|1[0-9]\)'; then
    echo "bootstrap: this machine cannot run 32-bit programs natively; installing qemu-user"
    source "$(dirname "${BASH_SOURCE[0]}")/apt-backports.sh"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    write_backports_source /etc/apt "$codename"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -t "$codename-backports" qemu-user-static >/dev/null
  fi
  mountpoint -q /proc/sys/fs/binfmt_misc || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && echo -1 >/proc/sys/fs/binfmt_misc/qemu-i386
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
    >/proc/sys/fs/binfmt_misc/register
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "bootstrap: 32-bit programs still cannot run" >&2; exit 1; }
fi
