#!/usr/bin/env bash
# Builds the skin preview and regenerates the toolkit's reference pictures under Wine on a
# private display (tools/gen_ui_references.py).
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/harness/wine-env.sh
cmake --build build/win --target skin-preview
/usr/bin/python3 tools/gen_ui_references.py build/win/tools/skin-preview/skin-preview.exe
