#!/usr/bin/env bash
# Runs every libFuzzer target in BUILD/fuzz for SECONDS in all, split evenly, each
# seeded with its corpus folder under fuzz/corpus/NAME when there is one.
set -euo pipefail
build=$1
seconds=${2:-60}
shopt -s nullglob
# fontconfig's process-wide caches are not leaks of ours (the same suppressions as the ASan tests).
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets"; exit 0; fi
each=$(( seconds / ${#targets[@]} ))
[ "$each" -lt 10 ] && each=10
for t in "${targets[@]}"; do
  name=$(basename "$t")
  work=$(mktemp -d)
  seeds="fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "fuzzing $name for ${each}s"
  "$t" -max_total_time="$each" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 "$work" 2>&1 | tail -n 12
  rm -rf "$work"
done
