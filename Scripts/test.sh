#!/usr/bin/env bash
# Builds everything and runs the test suites with g++. With --sanitize, under AddressSanitizer and UBSan instead;
# with --clang, built by clang under both sanitizers, with a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=dev
case "${1:-}" in
	--sanitize) preset=sanitize ;;
	--clang) preset=clang ;;
	"") ;;
	*) echo "Usage: bash Scripts/test.sh [--sanitize | --clang]" >&2; exit 2 ;;
esac

bash Scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
