#!/usr/bin/env bash
# The windowed program against the headless one, side by side on the same test camera
# (videotestsrc, 640x480 at 30 frames per second) writing into a packet file:
#   start-up   from launch to the first frame in the virtual camera file, which leaves
#              the window's user-interface thread with the same frame the preview paints:
#              `lumora` with the camera remembered, against `lumora-cli run --frames 1`
#              (target: at most 1.5 times as long)
#   idle CPU   user + system time of all threads over a run of some seconds, showing the
#              camera and feeding the virtual camera (target: at most 1.2 times as much),
#              once for the whole run and once only while streaming, one second after
#              the first frame (start-up, which the line above measures, left out)
# Both run on Qt's offscreen platform, with settings in a folder of their own.
#   bench/app_startup.sh [build folder] [runs] [seconds]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
seconds=${3:-10}
gui="$build/lumora/lumora"
cli="$build/lumora/lumora-cli"
for p in "$gui" "$cli"; do [ -x "$p" ] || { echo "app_startup: build $p first" >&2; exit 1; }; done

# In memory where there is a tmpfs: the virtual camera's device takes frames into memory,
# and a file on disk adds the page cache's write-back, which varies from run to run.
work=$(mktemp -d -p "$( [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LUMORA_CONFIG_DIR="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$LUMORA_CONFIG_DIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
packets="$work/vcam.packets"
export LUMORA_TEST_DEVICES="Cam=pattern:smpte;Lumora Capture=packets:$packets"
remember() {
  cat >"$LUMORA_CONFIG_DIR/lumora.reg" <<'REG'
[SOFTWARE\Lumora]
"RememberLastSource"=dword:00000001
"LastSourceType"=dword:000003eb
"LastSourceID"="pattern:smpte"
REG
}
now() { date +%s.%N; }
median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Waits until the packet file holds a frame; gives up when the program ends before that.
wait_first_frame() {
  while [ ! -s "$packets" ]; do
    kill -0 "$1" 2>/dev/null || { echo "app_startup: the program ended before its first frame" >&2; exit 1; }
    sleep 0.002
  done
}
# Seconds from launch until the packet file holds a frame; the program is then closed.
gui_first_frame() {
  remember
  : >"$packets"
  local start pid
  start=$(now)
  "$gui" >/dev/null 2>&1 &
  pid=$!
  wait_first_frame "$pid"
  awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.4f\n", a - b }'
  kill -TERM "$pid"
  wait "$pid" || true
}
cli_first_frame() {
  : >"$packets"
  local start
  start=$(now)
  "$cli" run --source device:0 --frames 1 --output "$packets" >/dev/null 2>&1
  awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.4f\n", a - b }'
}
# CPU seconds (user + system, all threads) of a command run for $seconds.
cpu_of() {
  local TIMEFORMAT='%U %S' line
  line=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  echo "$line" | awk '{ printf "%.4f\n", $1 + $2 }'
}
gui_idle() { remember; : >"$packets"; cpu_of timeout -s TERM "$seconds" "$gui"; }
cli_idle() { : >"$packets"; cpu_of "$cli" run --source device:0 --seconds "$seconds" --output "$packets"; }
# CPU seconds of the process (all its threads, ended ones too) while it streams: from one
# second after its first frame to $seconds later, so start-up and shutdown are left out.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
steady_of() {
  local pid first last
  : >"$packets"
  "$@" >/dev/null 2>&1 &
  pid=$!
  wait_first_frame "$pid"
  sleep 1
  first=$(ticks "$pid")
  sleep "$seconds"
  last=$(ticks "$pid")
  kill -TERM "$pid"
  wait "$pid" || true
  awk -v a="$first" -v b="$last" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.4f\n", (b - a) / hz }'
}
gui_steady() { remember; steady_of "$gui"; }
cli_steady() { steady_of "$cli" run --source device:0 --seconds $((seconds + 30)) --output "$packets"; }

gui_start=(); cli_start=(); gui_cpu=(); cli_cpu=(); gui_steady_cpu=(); cli_steady_cpu=()
for _ in $(seq "$runs"); do
  cli_start+=("$(cli_first_frame)")
  gui_start+=("$(gui_first_frame)")
done
for _ in $(seq "$(( (runs + 1) / 2 ))"); do
  cli_cpu+=("$(cli_idle)")
  gui_cpu+=("$(gui_idle)")
  cli_steady_cpu+=("$(cli_steady)")
  gui_steady_cpu+=("$(gui_steady)")
done
gs=$(printf '%s\n' "${gui_start[@]}" | median); cs=$(printf '%s\n' "${cli_start[@]}" | median)
gc=$(printf '%s\n' "${gui_cpu[@]}" | median); cc=$(printf '%s\n' "${cli_cpu[@]}" | median)
gsc=$(printf '%s\n' "${gui_steady_cpu[@]}" | median); csc=$(printf '%s\n' "${cli_steady_cpu[@]}" | median)
printf 'start-up to the first frame   lumora %.3f s, lumora-cli --frames 1 %.3f s (medians of %d): ratio %.2f (target <= 1.5)\n' \
  "$gs" "$cs" "$runs" "$(awk -v a="$gs" -v b="$cs" 'BEGIN { print a / b }')"
printf 'CPU over %d s of a 640x480 30 fps camera   lumora %.3f s, lumora-cli %.3f s: ratio %.2f (target <= 1.2)\n' \
  "$seconds" "$gc" "$cc" "$(awk -v a="$gc" -v b="$cc" 'BEGIN { print a / b }')"
printf 'CPU while streaming, %d s after start-up   lumora %.3f s, lumora-cli %.3f s: ratio %.2f (target <= 1.2)\n' \
  "$seconds" "$gsc" "$csc" "$(awk -v a="$gsc" -v b="$csc" 'BEGIN { print a / b }')"
