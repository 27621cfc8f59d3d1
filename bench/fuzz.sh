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
# Coverage: "edges" is libFuzzer's count of covered edges in everything instrumented;
# "lines / branches" the source coverage, by the corpus at the end, of the files the target
# exists for (its "// Covers:" line), measured in a second clang build with coverage
# counters (build-fuzz-cov/).
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
nice -n 19 cmake --build "$build" --target lumora_fuzzers -j2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzzer.cpp; do
    name=$(basename "$source" _fuzzer.cpp)
    targets+=("$name")
  done
fi

# Source coverage of the files a target's "// Covers:" line names (by file name, so
# wherever they live under src/): the target's whole corpus replayed in a build with
# clang's coverage counters (build-fuzz-cov/), reported by llvm-cov as "lines% / branches%".
coverage_build=${build}-cov
coverage_ready=0
prepare_coverage() {
  [ "$coverage_ready" -eq 1 ] && return 0
  local flags="-fprofile-instr-generate -fcoverage-mapping"
  cmake -S . -B "$coverage_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" -DLUMORA_BUILD_BENCH=OFF >/dev/null
  nice -n 19 cmake --build "$coverage_build" --target lumora_fuzzers -j2 >/dev/null
  coverage_ready=1
}

coverage_of() {
  local name=$1 objects=() profile=$coverage_build/profiles/$1
  local covers
  covers=$(sed -n 's|^// Covers: ||p' "fuzz/${name}_fuzzer.cpp")
  for library in "$coverage_build"/lumora/*.so; do objects+=(-object "$library"); done
  mkdir -p "$profile"
  rm -f "$profile"/*
  LLVM_PROFILE_FILE="$profile/%p.profraw" "$coverage_build/fuzz/fuzz_$name" "$build/corpus/$name" \
    "fuzz/corpus/$name" >/dev/null 2>&1 || true
  llvm-profdata-14 merge -o "$profile/merged.profdata" "$profile"/*.profraw 2>/dev/null || { echo -; return; }
  # Rows: file, regions, missed, cover, functions, missed, executed, lines, missed, cover,
  # branches, missed, cover.
  llvm-cov-14 report "$coverage_build/fuzz/fuzz_$name" "${objects[@]}" -instr-profile="$profile/merged.profdata" \
    2>/dev/null | awk -v covers=" $covers " '
      { base = $1; sub(/.*\//, "", base) }
      $1 ~ /(^|\/)src\// && NF == 13 && index(covers, " " base " ") {
        lines += $8; missed_lines += $9; branches += $11; missed_branches += $12 }
      END { if (lines == 0) { print "-"; exit }
            printf "%.0f%% / %.0f%%\n", 100 * (lines - missed_lines) / lines,
                   branches ? 100 * (branches - missed_branches) / branches : 100 }'
}

results=()
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
  nice -n 19 "$binary" -max_total_time=$((minutes * 60)) -print_final_stats=1 \
    -timeout=10 -malloc_limit_mb=512 -rss_limit_mb=2048 "${dict[@]}" \
    -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  units=$(find "$corpus" -type f | wc -l)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' -o -name 'timeout-*' \) | wc -l)
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then failed=1; fi
  results+=("$name ${execs:--} ${edges:--} $units $found")
done

echo "fuzz: replaying the corpora with coverage counters ($coverage_build)"
prepare_coverage
for result in "${results[@]}"; do
  read -r name execs edges units found <<<"$result"
  summary+=("$(printf '%-14s %10s %8s %18s %8s %9s' "$name" "$execs" "$edges" "$(coverage_of "$name")" "$units" "$found")")
done

printf '%-14s %10s %8s %18s %8s %9s\n' target "execs/s" edges "lines / branches" corpus findings
printf '%s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "fuzz: findings in $build/findings/ (logs in $build/logs/)" >&2
  exit 1
fi
