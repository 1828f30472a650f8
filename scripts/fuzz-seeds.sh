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
# and its size cap.
options_of() {
  local dict="fuzz/dict/$1.dict"
  case $1 in search | ydb_examine) dict=fuzz/dict/database.dict ;; esac
  if [ -f "$dict" ]; then echo "-dict=$dict"; fi
  if [ -n "${max_len[$1]:-}" ]; then echo "-max_len=${max_len[$1]}"; fi
}

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
