#!/usr/bin/env bash
# Soak: lumora-cli runs for a long time as it does during a call, and must neither grow nor
# slow down.
#
#   bench/soak.sh [minutes, default 60]
#
# The source is a live 1280x720 pattern at 30 fps. The output is the virtual camera, here
# a LUMORA_TEST_DEVICES packets device on a FIFO that lumora-packet-check reads and checks
# packet by packet; a second test camera feeds picture-in-picture. Every few seconds one
# effect is switched on or off (--cycle-effects), through every effect, plug-ins included.
#
# lumora-cli's resident memory, threads and open file descriptors are sampled every
# minute, each time just after an effect went off (so every sample sees the same effects:
# none), as the least of readings a second apart until the next switch. The run fails on
#   - resident memory more than 5 % above the baseline sample, taken after the first five
#     minutes (in runs under ten minutes: after half the run);
#   - any thread or descriptor more than at the baseline;
#   - any invalid packet, or fewer than 29.5 frames per second on average;
#   - lumora-cli failing or not ending on time.
#
# Uses the normal build (LUMORA_BUILD, default build/). Run it with nice when others share
# the machine; it does not lower its own priority, as the frame rate is part of the test.
# SOAK_CYCLE_SECONDS (default 5) and SOAK_SAMPLE_SECONDS (default 60) change the pace.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-60}
build=${LUMORA_BUILD:-build}
cycle=${SOAK_CYCLE_SECONDS:-5}
interval=${SOAK_SAMPLE_SECONDS:-60}
total=$((minutes * 60))
baseline_after=$((total / 2 < 300 ? total / 2 : 300))
cli=$build/lumora/lumora-cli
checker=$build/bench/lumora-packet-check
for program in "$cli" "$checker"; do
  [ -x "$program" ] || { echo "soak: $program is missing (build $build first)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-soak.XXXXXX")
cli_pid=
checker_pid=
cleanup() {
  for pid in $cli_pid $checker_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fifo=$work/vcam.fifo
mkfifo "$fifo"
export LUMORA_CONFIG_DIR=$work/config
export LUMORA_TEST_DEVICES="Soak Inset=pattern:smpte;Lumora Capture=packets:$fifo"
export QT_QPA_PLATFORM=offscreen

"$checker" "$fifo" --size 1280x720 --min-fps 29.5 --report "$interval" >"$work/check.log" 2>&1 &
checker_pid=$!
start=$(date +%s)
"$cli" run --source pattern:ball --size 1280x720 --fps 30 --output vcam --seconds "$total" \
  --cycle-effects "$cycle" >"$work/cli.log" 2>&1 &
cli_pid=$!

elapsed() { echo $(($(date +%s) - start)); }
# Lines that end a switch pair: after them no effect of the cycle is on.
offs() { grep -cE '^lumora-cli: effect [0-9]+ ".*" (off|left as it was|not started: .*|passed over: .*)$' \
  "$work/cli.log" || true; }

# One reading: resident KiB, threads, descriptors.
reading() {
  local rss threads fds
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$cli_pid/status")
  threads=$(awk '/^Threads:/ { print $2 }' "/proc/$cli_pid/status")
  fds=$(find "/proc/$cli_pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
  echo "$rss $threads $fds"
}

# One sample: seconds, then the least of each figure over readings a second apart while
# no effect of the cycle is on (a thread of a stopped pipeline may take a moment to go).
sample() {
  local count=$((${cycle%.*} > 2 ? ${cycle%.*} - 1 : 1)) readings=()
  for _ in $(seq "$count"); do
    sleep 1
    kill -0 "$cli_pid" 2>/dev/null || return 1
    readings+=("$(reading)")
  done
  printf '%s\n' "${readings[@]}" | awk -v t="$(elapsed)" '
    NR == 1 || $1 < r { r = $1 } NR == 1 || $2 < n { n = $2 } NR == 1 || $3 < f { f = $3 }
    END { print t, r, n, f }'
}

samples=()
next=$interval
# The last sample leaves time for the wait on an "off" before the run ends.
while [ $((next + 2 * ${cycle%.*} + 5)) -lt "$total" ] && kill -0 "$cli_pid" 2>/dev/null; do
  while [ "$(elapsed)" -lt "$next" ] && kill -0 "$cli_pid" 2>/dev/null; do sleep 1; done
  seen=$(offs)
  while [ "$(offs)" -eq "$seen" ] && kill -0 "$cli_pid" 2>/dev/null; do sleep 0.2; done
  taken=$(sample) || break
  samples+=("$taken")
  echo "soak: ${samples[-1]}"
  next=$((next + interval))
done

# lumora-cli ends by itself after $total seconds; give it a minute more.
while kill -0 "$cli_pid" 2>/dev/null && [ "$(elapsed)" -lt $((total + 60)) ]; do sleep 1; done
failures=()
if kill -0 "$cli_pid" 2>/dev/null; then
  failures+=("lumora-cli did not end on time")
  kill "$cli_pid"
fi
cli_status=0
wait "$cli_pid" || cli_status=$?
cli_pid=
[ "$cli_status" -eq 0 ] || failures+=("lumora-cli exited with $cli_status")
for _ in $(seq 30); do kill -0 "$checker_pid" 2>/dev/null || break; sleep 1; done
check_status=0
kill -0 "$checker_pid" 2>/dev/null && { kill "$checker_pid"; failures+=("the packet checker did not see the end"); }
wait "$checker_pid" || check_status=$?
checker_pid=
[ "$check_status" -eq 0 ] || failures+=("the packet checker failed ($(grep -v '^packet-check: [0-9]' "$work/check.log" | head -3 | tr '\n' ' '))")

# The samples against the baseline.
base=
printf '%8s %10s %8s %6s\n' seconds "RSS KiB" threads fds
for s in "${samples[@]}"; do
  read -r t rss threads fds <<<"$s"
  printf '%8s %10s %8s %6s\n' "$t" "$rss" "$threads" "$fds"
  if [ -z "$base" ] && [ "$t" -ge "$baseline_after" ]; then
    base=$s
    read -r _ base_rss base_threads base_fds <<<"$base"
    continue
  fi
  [ -n "$base" ] || continue
  [ $((rss * 100)) -le $((base_rss * 105)) ] || failures+=("RSS $rss KiB at ${t} s, over 5 % above $base_rss KiB")
  [ "$threads" -le "$base_threads" ] || failures+=("$threads threads at ${t} s, $base_threads at the baseline")
  [ "$fds" -le "$base_fds" ] || failures+=("$fds descriptors at ${t} s, $base_fds at the baseline")
done
[ -n "$base" ] || failures+=("no baseline sample after ${baseline_after} s")

grep -E '^lumora-cli: done' "$work/cli.log" || true
grep -E '^packet-check: done' "$work/check.log" || true
echo "soak: effect switches: $(grep -cE '^lumora-cli: effect .* on$' "$work/cli.log" || true) on," \
  "$(grep -cE '^lumora-cli: effect .* not started' "$work/cli.log" || true) refused to start"
if [ ${#failures[@]} -gt 0 ]; then
  printf 'soak: FAILED: %s\n' "${failures[@]}" >&2
  echo "soak: the last lines of lumora-cli:" >&2
  tail -20 "$work/cli.log" >&2
  exit 1
fi
echo "soak: passed ($minutes minutes)"
