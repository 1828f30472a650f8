# Sourced by the long fuzz run (and its test): inputs a quick build kept, run under the full build.
# shellcheck shell=bash

# Runs every file of a folder under a target, all in one process; when that fails, each file
# alone, so that the ones it fails on (a crash, or a leak found only at the end) are known: they
# are moved into the findings folder, with their logs in LOGS.
check_inputs() {
  local binary=$1 inputs=$2 findings=$3 logs=$4 file
  local -a files=("$inputs"/*)
  if [ ! -e "${files[0]}" ]; then return 0; fi
  mkdir -p "$logs"
  "$binary" -timeout=10 -rss_limit_mb=2048 "${files[@]}" >"$logs/all.log" 2>&1 && return 0
  for file in "${files[@]}"; do
    if ! "$binary" -timeout=10 -rss_limit_mb=2048 "$file" >"$logs/$(basename "$file").log" 2>&1; then
      mv "$file" "$findings/"
    fi
  done
}
