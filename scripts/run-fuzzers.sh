#!/usr/bin/env bash
# Runs every libFuzzer target in BUILD/fuzz for SECONDS in all, split evenly, each seeded with
# its corpus folder under fuzz/corpus/NAME when there is one and with the further seeds of
# scripts/fuzz-seeds.sh. A brief check; scripts/fuzz-long.sh is the long run that keeps what it finds.
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
shopt -s nullglob
# Seed paths are the source tree's, wherever the runner is called from.
cd "$(dirname "$0")/.."
# fontconfig's process-wide caches are not leaks of ours (the same suppressions as the ASan tests).
LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
source scripts/fuzz-seeds.sh

targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets"; exit 0; fi
each=$(( seconds / ${#targets[@]} ))
[ "$each" -lt 5 ] && each=5
for t in "${targets[@]}"; do
  name=$(basename "$t")
  target=${name#fuzz_}
  work=$(mktemp -d)
  add_target_seeds "$work" "$target"
  echo "fuzzing $name for ${each}s from $(find "$work" -type f | wc -l) seeds"
  # shellcheck disable=SC2046 # no option is no argument
  "$t" -max_total_time="$each" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 $(options_of "$target") \
    "$work" 2>&1 | tail -n 12
  rm -rf "$work"
done
