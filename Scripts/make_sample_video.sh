#!/usr/bin/env bash
# Writes the bundled lesson video (Content/Samples/LessonVideo.mp4, or the file named): a moving test picture with
# its time written in the top-left corner, a 440 Hz tone, and a frame code along the bottom: eight boxes, box k
# white when bit k of the frame number is set, so that a test can read which frame is on the screen. Also writes
# two tiny clips of other formats: Content/Test/Media/Tiny.webm (VP9 and Opus) for the tests, and the decoder fuzz
# target's seeds in Fuzz/Corpus/MediaDecoder. Needs Debian's ffmpeg; the output is the same byte for byte on every
# run.
set -euo pipefail
Root="$(cd "$(dirname "$0")/.." && pwd)"
Out="${1:-$Root/Content/Samples/LessonVideo.mp4}"
Width=640
Height=360
Rate=25
Seconds=6
Font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# The frame code: a black band 80 pixels high at the bottom, boxes of 64 pixels, 76 apart, starting at 16.
Code="drawbox=x=0:y=$((Height - 80)):w=$Width:h=80:color=black:t=fill"
for Bit in 0 1 2 3 4 5 6 7; do
	Code="$Code,drawbox=x=$((16 + Bit * 76)):y=$((Height - 72)):w=64:h=64:color=white:t=fill"
	Code="$Code:enable='mod(floor(n/pow(2\\,$Bit))\\,2)'"
done
Clock="drawtext=fontfile=$Font:text='%{pts\\:hms}':x=16:y=16:fontsize=40:fontcolor=white:box=1:boxcolor=black"

ffmpeg -hide_banner -loglevel error -y \
	-f lavfi -i "testsrc=size=${Width}x${Height}:rate=$Rate:duration=$Seconds" \
	-f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$Seconds" \
	-filter_complex "[0:v]$Code,$Clock[v]" -map "[v]" -map 1:a \
	-c:v libx264 -preset veryslow -crf 32 -g $Rate -pix_fmt yuv420p -threads 1 \
	-c:a aac -b:a 48k -ac 1 \
	-fflags +bitexact -flags:v +bitexact -flags:a +bitexact -map_metadata -1 -movflags +faststart "$Out"

# One second at 160 x 90, 10 frames a second: small enough to be a fuzz seed.
Tiny() {
	ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc=size=160x90:rate=10:duration=1" \
		-f lavfi -i "sine=frequency=440:sample_rate=48000:duration=1" -map 0:v -map 1:a "$@"
}
Bitexact=(-fflags +bitexact -flags:v +bitexact -flags:a +bitexact -map_metadata -1 -threads 1)
if [[ $# -eq 0 ]]; then
	mkdir -p "$Root/Content/Test/Media" "$Root/Fuzz/Corpus/MediaDecoder"
	Tiny -c:v libvpx-vp9 -b:v 40k -g 10 -deadline good -cpu-used 4 -row-mt 0 -c:a libopus -b:a 16k "${Bitexact[@]}" \
		"$Root/Content/Test/Media/Tiny.webm"
	cp "$Root/Content/Test/Media/Tiny.webm" "$Root/Fuzz/Corpus/MediaDecoder/tiny.webm"
	Tiny -c:v libx264 -preset veryslow -crf 40 -g 5 -pix_fmt yuv420p -c:a aac -b:a 16k -ac 1 "${Bitexact[@]}" \
		-movflags +faststart "$Root/Fuzz/Corpus/MediaDecoder/tiny.mp4"
	Tiny -c:v mpeg4 -q:v 20 -g 5 -c:a pcm_s16le -ac 1 -ar 8000 "${Bitexact[@]}" "$Root/Fuzz/Corpus/MediaDecoder/tiny.mkv"
fi
