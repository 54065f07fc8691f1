#!/usr/bin/env bash
# Builds the setup window's test driver and takes the README's screenshots of the window under
# Wine on a private display (tools/gen_window_screenshots.py).
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/harness/wine-env.sh
cmake --build build/win --target setup-window-driver
/usr/bin/python3 tools/gen_window_screenshots.py build/win/tests/window/setup-window-driver.exe
