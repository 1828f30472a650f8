# Sourced by the long fuzz run (and its test): inputs a quick build kept, run under the full build,
# and findings whose files a broken process could not write.
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

# A process whose heap is broken cannot always write out the input it failed on: the file is there
# but empty. libFuzzer printed the input's bytes in its log before that (lines "0x3c,0x74,...,"),
# and names the file by the bytes' SHA-1: an empty finding takes the printed bytes that match its
# name.
recover_findings() {
  local findings=$1 log=$2 finding bytes file
  for finding in "$findings"/*; do
    [ -f "$finding" ] && [ ! -s "$finding" ] || continue
    while read -r bytes; do
      file=$(mktemp)
      printf '%b' "$(sed 's/0x\([0-9a-f]\{1,2\}\),/\\x\1/g' <<<"$bytes")" >"$file"
      if [ "${finding##*-}" = "$(sha1sum "$file" | cut -d' ' -f1)" ]; then
        mv "$file" "$finding"
        break
      fi
      rm -f "$file"
    done < <(grep -a -E '^(0x[0-9a-f]{1,2},)+$' "$log" || true)
  done
}
