#!/usr/bin/env bash
# Builds the headless player and runs it on the bundled sample content. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash Scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target DanmakuPreview
./build/release/Apps/DanmakuPreview "$@"
