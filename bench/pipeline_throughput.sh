#!/usr/bin/env bash
# Pipeline throughput: `lumora-cli run --fast` on a 1280x720 clip without effects, side by
# side with gst-launch-1.0 decoding the same clip to BGR into a fakesink. Runs each one
# alternately, several times, and prints the median times and their ratio (target: the
# ratio at most 1.25).
#   bench/pipeline_throughput.sh [build folder] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
cli="$build/lumora/lumora-cli"
[ -x "$cli" ] || { echo "pipeline_throughput: build $cli first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="$work/clip-1280x720.avi"
# 300 frames of a moving test picture, MPEG-4 part 2 as in the test video.
gst-launch-1.0 -q videotestsrc num-buffers=300 pattern=ball ! \
  video/x-raw,width=1280,height=720,framerate=30/1 ! videoconvert ! avenc_mpeg4 bitrate=4000000 ! \
  avimux ! filesink location="$clip"

seconds() {  # the wall time of a command, in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", b - a }' 
}
median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

reference=()
lumora=()
for _ in $(seq "$runs"); do
  reference+=("$(seconds gst-launch-1.0 -q filesrc location="$clip" ! decodebin ! videoconvert ! \
                 video/x-raw,format=BGR ! fakesink sync=false)")
  lumora+=("$(seconds env QT_QPA_PLATFORM=offscreen "$cli" run --source "file:$clip" --fast --output none)")
done
ref=$(printf '%s\n' "${reference[@]}" | median)
ours=$(printf '%s\n' "${lumora[@]}" | median)
printf 'gst-launch-1.0 decode to BGR   %.3f s (median of %d)\n' "$ref" "$runs"
printf 'lumora-cli run --fast          %.3f s (median of %d)\n' "$ours" "$runs"
awk -v a="$ours" -v b="$ref" 'BEGIN { printf "ratio                          %.2f (target <= 1.25)\n", a / b }' 
