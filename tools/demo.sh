#!/usr/bin/env bash
# Builds the setup program (local profile), starts the local stand-in of the maker's service
# (download-address API, installer download server, analytics collector) and runs the setup
# program under Wine. With a display (DISPLAY set) the window stays until it is closed; without
# one, it runs on a virtual display and a screenshot is written to build/demo/. The window
# speaks the UI language, which Wine takes from LC_ALL (LC_ALL=ar_SA.UTF-8 shows Arabic).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/bootstrap.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DTANDREL_PROFILE=local >/dev/null
cmake --build build/win
interactive=${DISPLAY:+yes}
source tests/harness/wine-env.sh

mkdir -p build/demo
/usr/bin/python3 tools/demo-service.py --build "$root/build/win" >build/demo/service.log 2>&1 &
service=$!
trap 'kill $service 2>/dev/null || true; tandrel_wine_env_cleanup' EXIT
for _ in $(seq 100); do [ -f build/demo/download-server.ready ] && break; sleep 0.2; done
# The download server and the analytics collector speak HTTPS with the tests' private CA.
wine build/win/tests/http/tandrel-trust-test-ca.exe >/dev/null

wine build/win/tandrel-download.exe &
app=$!
echo "demo: tandrel-download.exe started (log: the Log folder of its work folder in the Wine prefix)"
echo "demo: analytics reports arrive in build/demo/analytics.jsonl, one JSON line each"
if [ -n "$interactive" ]; then
  wait $app || true
  exit 0
fi
# Found by its program rather than its title, which is in the UI language.
id=$(timeout 60 xdotool search --sync --onlyvisible --class 'tandrel-download' | head -1 || true)
sleep 3
if [ -n "$id" ]; then
  import -window "$id" build/demo/window.png && echo "demo: screenshot in build/demo/window.png"
fi
sleep 2
kill $app 2>/dev/null || true
wait $app 2>/dev/null || true
