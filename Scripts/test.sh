#!/usr/bin/env bash
# Builds everything and runs the test suites. With --sanitize, under AddressSanitizer and UBSan instead.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=dev
if [ "${1:-}" = "--sanitize" ]; then
	preset=sanitize
fi

bash Scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
