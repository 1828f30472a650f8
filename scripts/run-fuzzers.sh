#!/usr/bin/env bash
# Runs every libFuzzer target in BUILD/fuzz for SECONDS in all, split evenly, each seeded with
# its corpus folder under fuzz/corpus/NAME when there is one and with the further seeds below.
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
shopt -s nullglob
# Seed paths are the source tree's, wherever the runner is called from.
cd "$(dirname "$0")/.."
# fontconfig's process-wide caches are not leaks of ours (the same suppressions as the ASan tests).
LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS

# Seeds a target takes from elsewhere: the pages the viewer shows in use, the database corpus for
# the targets that read databases too, and the sample editions' pictures (each bitmap file is a
# resource area of one picture) from this build or the ordinary one, whichever made them.
declare -A more_seeds=(
  [html_page]="data/help.html data/*/html/*.htm data/*/html/*.html"
  [pictures]="$build/data/source-*/pictures build/data/source-*/pictures"
  [search]="fuzz/corpus/database"
  [ydb_examine]="fuzz/corpus/database"
)

# Copies each seed file (or the files of each seed folder) into the work folder, named by its
# path so that pages of the same name in two cities are both kept.
add_seeds() {
  local work=$1 source file
  shift
  for source in "$@"; do
    if [ -d "$source" ]; then
      for file in "$source"/*; do
        if [ -f "$file" ]; then cp "$file" "$work/${file//\//_}"; fi
      done
    elif [ -f "$source" ]; then
      cp "$source" "$work/${source//\//_}"
    fi
  done
}

targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets"; exit 0; fi
each=$(( seconds / ${#targets[@]} ))
[ "$each" -lt 10 ] && each=10
for t in "${targets[@]}"; do
  name=$(basename "$t")
  target=${name#fuzz_}
  work=$(mktemp -d)
  # shellcheck disable=SC2086 # the further seeds are globs, expanded here
  add_seeds "$work" "fuzz/corpus/$target" ${more_seeds[$target]:-}
  echo "fuzzing $name for ${each}s from $(find "$work" -type f | wc -l) seeds"
  "$t" -max_total_time="$each" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 "$work" 2>&1 | tail -n 12
  rm -rf "$work"
done
