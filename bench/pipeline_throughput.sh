#!/usr/bin/env bash
# Pipeline throughput: `lumora-cli run --fast` on 300-frame 1280x720 clips, side by side
# with the floors it is measured against, each run alternately several times; prints the
# medians of the wall time, the CPU time (user + system, all threads) and the peak memory,
# and their ratios against each reference:
#   - ffmpeg decoding to BGR (the decoder's floor), single-threaded as our decoder is;
#   - ffmpeg doing the same work as the effects (2x zoom onto the centre, red gain);
#   - gst-launch-1.0 decoding to BGR into a fakesink.
# Clips: H.264 in MP4 (what phones and cameras write) and 4:2:2 MJPEG in AVI (what webcams give),
# and H.264 at 1920x1080 for the peak memory. "live": a 1280x720 30 fps moving pattern for
# ten seconds, with zoom and colour, against gst-launch-1.0 making the same BGR frames.
#   bench/pipeline_throughput.sh [build folder] [runs] [h264|mjpeg|h264-1080|live|all]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
which=${3:-all}
cli="$build/lumora/lumora-cli"
[ -x "$cli" ] || { echo "pipeline_throughput: build $cli first" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "pipeline_throughput: ffmpeg is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 300 frames of a moving test picture in the codec's usual container.
make_clip() {
    local encode
    case "$1" in
        h264) encode="video/x-raw,format=I420 ! x264enc bitrate=4000 ! h264parse ! mp4mux" ;;
        # 4:2:2, as webcams send it (a camera's YUYV compressed); left to itself jpegenc
        # would take videotestsrc's 4:4:4, which jpegdec decimates to 4:2:0 the slow way.
        mjpeg) encode="video/x-raw,format=YUY2 ! jpegenc ! avimux" ;;
    esac
    gst-launch-1.0 -q videotestsrc num-buffers=300 pattern=ball ! \
        video/x-raw,width=$3,height=$4,framerate=30/1 ! videoconvert ! $encode ! filesink location="$2"
}

# Wall seconds, CPU seconds and peak memory (KiB) of a command. The times come from the
# shell's own `time` (milliseconds: GNU time rounds to hundredths, 3 % of a 0.35 s run);
# GNU time only reports the peak memory, and its own few hundred microseconds count in.
measure() {
    local TIMEFORMAT='%3R %3U %3S'
    { time /usr/bin/time -f '%M' -o "$work/memory" "$@" >/dev/null 2>&1; } 2> "$work/time" || true
    awk -v memory="$(cat "$work/memory")" '{ printf "%.4f %.4f %d\n", $1, $2 + $3, memory }' "$work/time"
}
median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
column() { printf '%s\n' "${@:2}" | awk -v c="$1" '{ print $c }' | median; }

bench_clip() {
    local codec=$1 width=$2 height=$3 clip="$work/clip.$1"
    local zoom_work="scale=$((width * 2)):$((height * 2)):flags=bilinear,crop=$width:$height:0:$height"
    zoom_work+=",colorchannelmixer=rr=1.5625"
    make_clip "$codec" "$clip" "$width" "$height"
    local -a names=(floor work gst plain effects)
    local -A results=()
    for _ in $(seq "$runs"); do
        results[floor]+="$(measure ffmpeg -v error -threads 1 -i "$clip" -f rawvideo -pix_fmt bgr24 -y /dev/null);"
        results[work]+="$(measure ffmpeg -v error -threads 1 -i "$clip" -vf "$zoom_work" -f rawvideo -pix_fmt bgr24 -y /dev/null);"
        results[gst]+="$(measure gst-launch-1.0 -q filesrc location="$clip" ! decodebin ! videoconvert ! \
                         video/x-raw,format=BGR ! fakesink sync=false);"
        results[plain]+="$(measure env QT_QPA_PLATFORM=offscreen "$cli" run --source "file:$clip" --fast --output /dev/null);"
        results[effects]+="$(measure env QT_QPA_PLATFORM=offscreen "$cli" run --source "file:$clip" --fast \
                             --effect zoom=2.0 --effect rgb=200,128,128 --output /dev/null);"
    done
    local -A wall=() cpu=() memory=()
    for name in "${names[@]}"; do
        IFS=';' read -r -a lines <<< "${results[$name]}"
        wall[$name]=$(column 1 "${lines[@]}"); cpu[$name]=$(column 2 "${lines[@]}"); memory[$name]=$(column 3 "${lines[@]}")
    done
    echo "== $codec, 300 frames of ${width}x$height, medians of $runs"
    printf '%-44s %8s %8s %9s\n' "" "wall s" "CPU s" "max KiB"
    printf '%-44s %8.3f %8.3f %9d\n' "ffmpeg decode to BGR (floor)" "${wall[floor]}" "${cpu[floor]}" "${memory[floor]}"
    printf '%-44s %8.3f %8.3f %9d\n' "ffmpeg zoom and colour" "${wall[work]}" "${cpu[work]}" "${memory[work]}"
    printf '%-44s %8.3f %8.3f %9d\n' "gst-launch decode to BGR" "${wall[gst]}" "${cpu[gst]}" "${memory[gst]}"
    printf '%-44s %8.3f %8.3f %9d\n' "lumora-cli --fast, no effect" "${wall[plain]}" "${cpu[plain]}" "${memory[plain]}"
    printf '%-44s %8.3f %8.3f %9d\n' "lumora-cli --fast, zoom and colour" "${wall[effects]}" "${cpu[effects]}" "${memory[effects]}"
    awk -v p="${cpu[plain]}" -v e="${cpu[effects]}" -v f="${cpu[floor]}" -v w="${cpu[work]}" -v g="${cpu[gst]}" \
        -v ew="${wall[effects]}" -v pm="${memory[plain]}" -v gm="${memory[gst]}" 'BEGIN {
        printf "CPU, no effect / floor                 %.2f (target <= 1.15)\n", p / f
        printf "CPU, effects / floor                   %.2f (target <= 1.3)\n", e / f
        printf "CPU, effects / ffmpeg doing the same   %.2f (target <= 0.45)\n", e / w
        printf "CPU, no effect / gst-launch            %.2f\n", p / g
        printf "wall / CPU, effects                    %.2f (target <= 0.8)\n", ew / e
        printf "peak memory, no effect / gst-launch    %.2f (target <= 1.2)\n", pm / gm
    }'
}

bench_live() {
    local -A results=()
    for _ in $(seq "$runs"); do
        results[gst]+="$(measure gst-launch-1.0 -q videotestsrc is-live=true pattern=ball num-buffers=300 ! \
                         video/x-raw,width=1280,height=720,framerate=30/1 ! videoconvert ! \
                         video/x-raw,format=BGR ! fakesink);"
        results[effects]+="$(measure env QT_QPA_PLATFORM=offscreen "$cli" run --source pattern:ball --size 1280x720 \
                             --fps 30 --seconds 10 --effect zoom=2.0 --effect rgb=200,128,128 --output /dev/null);"
    done
    IFS=';' read -r -a gst <<< "${results[gst]}"
    IFS=';' read -r -a lumora <<< "${results[effects]}"
    echo "== live 1280x720 at 30 fps for 10 s, medians of $runs"
    awk -v g="$(column 2 "${gst[@]}")" -v l="$(column 2 "${lumora[@]}")" 'BEGIN {
        printf "CPU s: gst-launch %.3f, lumora-cli with zoom and colour %.3f: %.2f (target <= 1.3)\n", g, l, l / g
    }'
}

case "$which" in
    all) bench_clip h264 1280 720; bench_clip mjpeg 1280 720; bench_clip h264 1920 1080; bench_live ;;
    live) bench_live ;;
    h264 | mjpeg) bench_clip "$which" 1280 720 ;;
    h264-1080) bench_clip h264 1920 1080 ;;
    *) echo "pipeline_throughput: h264, mjpeg, h264-1080, live or all, not $which" >&2; exit 2 ;;
esac
