#!/usr/bin/env bash
# Pipeline throughput: `lumora-cli run --fast` on a 1280x720 clip without effects, side by
# side with gst-launch-1.0 decoding the same clip to BGR into a fakesink. Runs each one
# alternately, several times, and prints the median times and their ratios (target: at
# most 1.25). On a busy machine the wall clock also counts other processes; the CPU time
# of all the program's threads does not.
#   bench/pipeline_throughput.sh [build folder] [runs] [mpeg4|h264]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
codec=${3:-mpeg4}
cli="$build/lumora/lumora-cli"
[ -x "$cli" ] || { echo "pipeline_throughput: build $cli first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# 300 frames of a moving test picture: MPEG-4 part 2 in AVI as in the test video, or
# H.264 in MP4 as phones and cameras write it.
case "$codec" in
  mpeg4) clip="$work/clip-1280x720.avi"; encode="avenc_mpeg4 bitrate=4000000 ! avimux" ;;
  h264) clip="$work/clip-1280x720.mp4"; encode="video/x-raw,format=I420 ! x264enc bitrate=4000 ! h264parse ! mp4mux" ;;
  *) echo "pipeline_throughput: codec mpeg4 or h264, not $codec" >&2; exit 2 ;;
esac
gst-launch-1.0 -q videotestsrc num-buffers=300 pattern=ball ! \
  video/x-raw,width=1280,height=720,framerate=30/1 ! videoconvert ! $encode ! filesink location="$clip"

# The wall time and the CPU time (user + system, all threads) of a command, in seconds.
measure() {
  local TIMEFORMAT='%R %U %S' line
  line=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  echo "$line" | awk '{ printf "%.4f %.4f\n", $1, $2 + $3 }'
}
median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

reference=()
lumora=()
for _ in $(seq "$runs"); do
  reference+=("$(measure gst-launch-1.0 -q filesrc location="$clip" ! decodebin ! videoconvert ! \
                 video/x-raw,format=BGR ! fakesink sync=false)")
  lumora+=("$(measure env QT_QPA_PLATFORM=offscreen "$cli" run --source "file:$clip" --fast --output none)")
done
column() { printf '%s\n' "${@:2}" | awk -v c="$1" '{ print $c }' | median; }
ref_wall=$(column 1 "${reference[@]}"); ref_cpu=$(column 2 "${reference[@]}")
our_wall=$(column 1 "${lumora[@]}"); our_cpu=$(column 2 "${lumora[@]}")
printf 'gst-launch-1.0 decode to BGR   %.3f s wall, %.3f s CPU (medians of %d)\n' "$ref_wall" "$ref_cpu" "$runs"
printf 'lumora-cli run --fast          %.3f s wall, %.3f s CPU (medians of %d)\n' "$our_wall" "$our_cpu" "$runs"
awk -v a="$our_wall" -v b="$ref_wall" -v c="$our_cpu" -v d="$ref_cpu" \
  'BEGIN { printf "ratio                          %.2f wall, %.2f CPU (target <= 1.25)\n", a / b, c / d }'
