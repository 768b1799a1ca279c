#!/usr/bin/env bash
# Writes the plugin as a game developer installs it: the descriptor, the modules' sources, the icon, the docs and the
# host example, as a folder and as a zip, into OUTPUT_DIR (default ./out/package). The headless stand-ins (Content/,
# EngineSurface/), the programs and the tests stay out: the engine cannot load our text assets, and builds the rest
# itself. Checks the result and prints its layout (two levels deep) and the zip.
set -euo pipefail

usage() { echo "Usage: bash Scripts/package_plugin.sh [OUTPUT_DIR]" >&2; exit 2; }
[[ $# -le 1 ]] || usage
[[ "${1:-}" != -* ]] || usage

repo="$(cd "$(dirname "$0")/.." && pwd)"
output="${1:-out/package}"
mkdir -p "$output"
output="$(cd "$output" && pwd)"

name=Pravella
version="$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["VersionName"])' "$repo/$name.uplugin")"
plugin="$output/$name"
archive="$output/$name-$version.zip"
rm -rf "$plugin" "$archive"
mkdir -p "$plugin"

cp "$repo/$name.uplugin" "$repo/README.md" "$plugin/"
cp -r "$repo/Source" "$repo/Resources" "$repo/docs" "$plugin/"
# Source/CMakeLists.txt builds the modules on the headless surface; the engine builds them from their Build.cs.
rm -f "$plugin/Source/CMakeLists.txt"
mkdir -p "$plugin/Examples"
cp -r "$repo/Examples/LessonHost" "$plugin/Examples/"

fail() { echo "package_plugin.sh: $*" >&2; exit 1; }

# Every module the descriptor names ships with its Build.cs and every header and source it has here.
modules="$(python3 -c 'import json, sys; print(" ".join(m["Name"] for m in json.load(open(sys.argv[1]))["Modules"]))' \
	"$plugin/$name.uplugin")"
for module in $modules; do
	[[ -f "$plugin/Source/$module/$module.Build.cs" ]] || fail "module $module has no $module.Build.cs"
	[[ -d "$plugin/Source/$module/Public" && -d "$plugin/Source/$module/Private" ]] || fail "module $module lacks Public/ or Private/"
	while IFS= read -r file; do
		[[ -f "$plugin/$file" ]] || fail "$file is missing from the package"
	done < <(cd "$repo" && find "Source/$module" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.cs' \))
done
[[ -f "$plugin/Resources/Icon128.png" ]] || fail "the plugin has no Resources/Icon128.png"
[[ -f "$plugin/docs/Widgets.md" ]] || fail "the designer's guide docs/Widgets.md is missing"
stand_ins="$(find "$plugin" -name '*.uasset' -o -name '*.umap' -o -name '*.media' -o -name 'CMakeLists.txt')"
[[ -z "$stand_ins" ]] || fail "headless stand-ins or build files in the package: $stand_ins"

(cd "$output" && zip -qrX "$archive" "$name")

(cd "$output" && find "$name" -mindepth 1 -maxdepth 2 \( -type d -printf '%p/\n' -o -type f -printf '%p\n' \) | LC_ALL=C sort)
echo "$(basename "$archive")"
