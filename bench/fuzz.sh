#!/usr/bin/env bash
# Runs every fuzz target with libFuzzer for the given time and prints, per target, the
# executions per second, the coverage and the findings.
#
#   bench/fuzz.sh [minutes per target, default 10] [target...]
#
# Builds the targets with clang (ASan+UBSan, coverage hooks) in build-fuzz/. Each target
# starts from its seeds (fuzz/corpus/<target>/) plus what earlier runs found
# (build-fuzz/corpus/<target>/, where new inputs go) and uses fuzz/dict/<target>.dict.
# A finding (a crash, a broken invariant, a leak, an allocation above 512 MiB, an input
# taking more than 10 s) lands in build-fuzz/findings/<target>/ and makes the script fail:
# fix it, then copy the input into fuzz/corpus/<target>/ so every build replays it.
#
# Coverage: "edges" is libFuzzer's count of covered branches in everything instrumented;
# "branches" the covered share of the branches in the files the target exists for (its
# "// Covers:" line).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
minutes=${1:-10}
shift || true
build=${LUMORA_FUZZ_BUILD:-build-fuzz}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
  -DLUMORA_FUZZ=ON -DLUMORA_BUILD_TESTS=OFF -DLUMORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target lumora_fuzzers -j2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzzer.cpp; do
    name=$(basename "$source" _fuzzer.cpp)
    targets+=("$name")
  done
fi

# The branches covered in the files a target's "// Covers:" line names (by file name, so
# wherever they live under src/), from libFuzzer's -print_coverage lines
# ("COVERED_FUNC: hits: H edges: C/T name path:line").
coverage_of() {
  local covers
  covers=$(sed -n 's|^// Covers: ||p' "fuzz/$1_fuzzer.cpp")
  awk -v src="$root/src/" -v covers=" $covers " '
    /^(UN)?COVERED_FUNC:/ {
      file = $NF; sub(/:[0-9]+$/, "", file)
      while (gsub(/\/[^\/]+\/\.\.\//, "/", file)) {}
      base = file; sub(/.*\//, "", base)
      if (index(file, src) != 1 || index(covers, " " base " ") == 0) next
      split($5, e, "/"); covered += e[1]; total += e[2]
    }
    END { if (total == 0) print "-"; else printf "%d/%d %.0f%%\n", covered, total, 100 * covered / total }' "$2"
}

summary=()
failed=0
for name in "${targets[@]}"; do
  binary=$build/fuzz/fuzz_$name
  corpus=$build/corpus/$name
  findings=$build/findings/$name
  log=$build/logs/$name.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  dict=()
  [ -f "fuzz/dict/$name.dict" ] && dict=(-dict="fuzz/dict/$name.dict")
  echo "fuzz: $name for $minutes minute(s)"
  status=0
  nice -n 19 "$binary" -max_total_time=$((minutes * 60)) -print_final_stats=1 -print_coverage=1 \
    -timeout=10 -malloc_limit_mb=512 -rss_limit_mb=2048 "${dict[@]}" \
    -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  units=$(find "$corpus" -type f | wc -l)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' -o -name 'timeout-*' \) | wc -l)
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then failed=1; fi
  summary+=("$(printf '%-14s %10s %8s %16s %8s %9s' "$name" "${execs:--}" "${edges:--}" "$(coverage_of "$name" "$log")" "$units" "$found")")
done

printf '%-14s %10s %8s %16s %8s %9s\n' target "execs/s" edges "branches" corpus findings
printf '%s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "fuzz: findings in $build/findings/ (logs in $build/logs/)" >&2
  exit 1
fi
