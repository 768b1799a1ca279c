#!/usr/bin/env bash
# Runs one libFuzzer target of the clang build over its seed corpus for SECONDS (default 600). What it finds is
# kept in <build>/Fuzz/Corpus/<Target> for the next run (--fresh starts that folder empty); a crashing input is
# written to <build>/Fuzz/Artifacts/. Options after SECONDS go to libFuzzer.
#
#   bash Scripts/fuzz.sh [--build DIR] [--fresh] TARGET [SECONDS] [libFuzzer options...]
#
# Targets: JsonReaderFuzz DanmakuDocumentFuzz WidgetAssetFuzz MediaAssetFuzz MediaDecoderFuzz SaveGameFuzz DanmakuXmlFuzz
#          BulletChatDocumentFuzz LiveCommentFuzz ViewerScriptFuzz
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/clang
fresh=0
while [ $# -gt 0 ]; do
	case "$1" in
		--build) build="$2"; shift 2 ;;
		--fresh) fresh=1; shift ;;
		*) break ;;
	esac
done
if [ $# -lt 1 ]; then
	sed -n '2,9p' "$0" >&2
	exit 2
fi
target="$1"
seconds="${2:-600}"
shift $(($# < 2 ? $# : 2))

conformance=../shared/testdata/json-conformance/test_parsing
case "$target" in
	JsonReaderFuzz) seeds=(Fuzz/Corpus/JsonReader "$conformance") ;;
	DanmakuDocumentFuzz) seeds=(Fuzz/Corpus/DanmakuDocument "$conformance") ;;
	WidgetAssetFuzz) seeds=(Fuzz/Corpus/WidgetAsset) ;;
	MediaAssetFuzz) seeds=(Fuzz/Corpus/MediaAsset) ;;
	MediaDecoderFuzz) seeds=(Fuzz/Corpus/MediaDecoder) ;;
	SaveGameFuzz) seeds=(Fuzz/Corpus/SaveGame) ;;
	DanmakuXmlFuzz) seeds=(Fuzz/Corpus/DanmakuXml) ;;
	PositionedPayloadFuzz) seeds=(Fuzz/Corpus/PositionedPayload) ;;
	BulletChatDocumentFuzz) seeds=(Fuzz/Corpus/BulletChatDocument) ;;
	LiveCommentFuzz) seeds=(Fuzz/Corpus/LiveComment Fuzz/Corpus/DanmakuDocument) ;;
	ViewerScriptFuzz) seeds=(Fuzz/Corpus/ViewerScript) ;;
	*) echo "Unknown fuzz target: $target" >&2; exit 2 ;;
esac
binary="$build/Fuzz/$target"
if [ ! -x "$binary" ]; then
	echo "$binary is not built: cmake --preset clang && cmake --build --preset clang" >&2
	exit 2
fi

work="$build/Fuzz/Corpus/$target"
if [ "$fresh" = 1 ]; then
	rm -rf "$work"
fi
mkdir -p "$work" "$build/Fuzz/Artifacts"
existing=()
for seed in "${seeds[@]}"; do
	if [ -d "$seed" ]; then
		existing+=("$seed")
	else
		echo "Seed folder $seed is missing; fuzzing without it" >&2
	fi
done

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
	-artifact_prefix="$build/Fuzz/Artifacts/$target-" "$@" "$work" "${existing[@]}"
