#!/usr/bin/env bash
# Builds the setup program (local profile), starts the local stand-in of the maker's services
# (download server with the signed sample installer, download-address API, analytics collector)
# and runs the setup program under Wine (tools/demo.py). With a display (DISPLAY set) a person
# clicks; without one, the install runs on a virtual display, driven with xdotool, and every
# state is saved as a screenshot in build/demo/screenshots. The window speaks the UI language,
# which Wine takes from LC_ALL (LC_ALL=ar_SA.UTF-8 shows Arabic).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/bootstrap.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DTANDREL_PROFILE=local >/dev/null
cmake --build build/win
interactive=${DISPLAY:+--interactive}
# The prefix, a persistent wineserver and, without a display, Xvfb; all ended on exit.
source tests/harness/wine-env.sh

rm -rf build/demo
/usr/bin/python3 tools/demo.py --build "$root/build/win" --out "$root/build/demo" $interactive
