#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests: the formatting check, the
# sanitizer build of the Windows-free code, and the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/bootstrap.sh

echo "== formatting (clang-format)"
find . \( -name 'build*' -o -name '.git' \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print |
  xargs clang-format --dry-run -Werror

echo "== native build of the Windows-free code under ASan and UBSan"
cmake -S . -B build/native -G Ninja -DTANDREL_NATIVE_CHECKS=ON >/dev/null
cmake --build build/native
ctest --test-dir build/native --output-on-failure

echo "== Windows build (i686, local profile)"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DTANDREL_PROFILE=local >/dev/null
source tests/harness/wine-env.sh
cmake --build build/win
ls -l build/win/tandrel-download.exe

echo "== Windows tests under Wine"
ctest --test-dir "$root/build/win" --output-on-failure
