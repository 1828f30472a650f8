# Sourced by the fuzz runners from the source tree's root, with $build set: where each target's
# inputs come from besides its kept corpus under fuzz/corpus/NAME, and the copying of them.
# shellcheck shell=bash

# Seeds a target takes from elsewhere: the pages the viewer shows in use, the database corpus for
# the targets that read databases too, and the sample editions' pictures (each bitmap file is a
# resource area of one picture) from this build or the ordinary one, whichever made them.
declare -A more_seeds=(
  [html_page]="data/help.html data/*/html/*.htm data/*/html/*.html"
  [pictures]="$build/data/source-*/pictures build/data/source-*/pictures"
  [search]="fuzz/corpus/database"
  [ydb_examine]="fuzz/corpus/database"
)

# The largest input a target is given, where its run time grows with the input: a page's parse
# and layout cost about 7 microseconds a byte under the sanitizers, most of it in the layout
# library. Every construct the viewer knows fits in a few hundred bytes (the small seeds in
# fuzz/corpus/html_page show each one); the seeds longer than this are cut to it when they are
# read, and the long run keeps nothing longer. In 90 seconds from the seeds, 256 bytes reached the
# most (cov 3142, ft 14908; 128 bytes: 3061, 13550; 512 bytes: 2827, 13515; no cap: 2902, 13929).
declare -A max_len=(
  [html_page]=256
)

# libFuzzer's options for a target: the dictionary its raw mutations draw on, when it has one,
# its size cap, and the rarity bound of its scheduling. The scheduler keeps every feature seen
# fewer times than the bound on a list it searches for each feature of each run; at the default
# (255) that list grows to thousands while the seeds load and the first mutations run on the
# targets with many features: the search was a third of html_page's first 4 000 runs and of
# ydb_examine's first 6 000, and the brief runs are little more than that. At 16 it stays short;
# coverage after equal runs of ten minutes' length was the same within the runs' spread.
options_of() {
  local dict="fuzz/dict/$1.dict"
  case $1 in search | ydb_examine) dict=fuzz/dict/database.dict ;; esac
  if [ -f "$dict" ]; then echo "-dict=$dict"; fi
  if [ -n "${max_len[$1]:-}" ]; then echo "-max_len=${max_len[$1]}"; fi
  echo "-entropic_feature_frequency_threshold=16"
}

# The address sanitizer as the fuzzers run: no allocation stacks are recorded (hashing one for
# every allocation and free was a twentieth of a page's run; a finding is replayed with its
# input, and the replay shows them), and the quarantine of freed blocks is 16 MB, not 256, which
# still holds more than one run frees: html_page's memory after ten minutes was 105 MB, not 773.
# Options the caller sets come after these and win.
ASAN_OPTIONS="malloc_context_size=0:quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export ASAN_OPTIONS

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

# Every seed of a target (its kept corpus and the further seeds) copied into the work folder.
add_target_seeds() {
  local work=$1 target=$2
  # shellcheck disable=SC2086 # the further seeds are globs, expanded here
  add_seeds "$work" "fuzz/corpus/$target" ${more_seeds[$target]:-}
}
