#!/usr/bin/env bash
# Builds the headless lesson player and runs it on the bundled lessons and viewer script; with --preview first,
# the danmaku overlay preview instead. Extra arguments go to the program, and relative paths in them are taken
# from the folder this script was run from.
set -euo pipefail
Root="$(cd "$(dirname "$0")/.." && pwd)"
Program=LessonPlayer
if [[ "${1:-}" == "--preview" ]]; then
	Program=DanmakuPreview
	shift
fi

(
	cd "$Root"
	bash Scripts/setup.sh
	cmake --preset release >/dev/null
	cmake --build --preset release --target "$Program"
)
exec "$Root/build/release/Apps/$Program" "$@"
