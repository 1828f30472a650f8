#!/usr/bin/env bash
# The long fuzz run: every libFuzzer target in BUILD/fuzz, two at a time, for SECONDS of fuzzing in
# all (an hour by default), shared evenly among the targets, so it takes half that on the clock. What a target finds
# that its kept corpus does not yet reach is merged, minimised, into fuzz/corpus/NAME; every
# finding (crash, timeout, leak, out of memory) is copied there too, so that the replay tests fail
# on it until it is mended. Ends with one table of each target's runs, coverage and findings.
# A target that BUILD-quick also holds (built without the address sanitizer, see fuzz/CMakeLists.txt)
# is fuzzed from there, and every input it keeps is run again under BUILD's target before it is
# merged: one that fails there is a finding like any other.
#   scripts/fuzz-long.sh BUILD [SECONDS] [TARGET...]
set -euo pipefail
build=$(cd "$1" && pwd)
quick="$build-quick"
seconds=${2:-3600}
shift $(( $# < 2 ? $# : 2 ))
shopt -s nullglob
cd "$(dirname "$0")/.."
LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
source scripts/fuzz-seeds.sh
source scripts/fuzz-checks.sh

if [ $# -gt 0 ]; then
  targets=()
  for name in "$@"; do targets+=("$build/fuzz/fuzz_$name"); done
else
  targets=("$build"/fuzz/fuzz_*)
fi
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets"; exit 0; fi
slots=2
each=$(( seconds / ${#targets[@]} ))
[ "$each" -lt 10 ] && each=10
run=$(mktemp -d /tmp/fuzz-long-XXXXXX)
echo "fuzzing ${#targets[@]} targets for ${each}s each, $slots at a time; logs in $run"

# One target: fuzz until its time is used (a finding stops libFuzzer, so it is started again with
# what it found so far), then merge and report. Writes one table row to $run/NAME.row.
fuzz_target() {
  local binary=$1 target name dir started left runs=0 log kept_before fuzzer
  name=$(basename "$binary")
  fuzzer=$binary
  if [ -x "$quick/fuzz/$name" ]; then fuzzer="$quick/fuzz/$name"; fi
  target=${name#fuzz_}
  dir="$run/$target"
  mkdir -p "$dir/new" "$dir/seeds" "$dir/findings" "fuzz/corpus/$target"
  add_target_seeds "$dir/seeds" "$target"
  kept_before=$(find "fuzz/corpus/$target" -type f | wc -l)
  started=$SECONDS
  local pass_started
  for (( pass = 1; ; ++pass )); do
    left=$(( each - (SECONDS - started) ))
    [ "$left" -lt 5 ] && break
    log="$dir/pass$pass.log"
    pass_started=$SECONDS
    # A process whose heap is broken can hang in its own crash report (its timeout alarm hangs the
    # same way): past its time and a margin it is killed, and the pass ends there.
    # shellcheck disable=SC2046 # no option is no argument
    timeout -s KILL $(( left + 120 )) \
      "$fuzzer" -max_total_time="$left" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/findings/" $(options_of "$target") "$dir/new" "$dir/seeds" >"$log" 2>&1 || true
    recover_findings "$dir/findings" "$log"
    runs=$(( runs + $(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1 | grep . || echo 0) ))
    # A seed that breaks at once would only be found again and again.
    [ $(( SECONDS - pass_started )) -lt 5 ] && break
  done
  # The last progress line holds the coverage the run reached.
  local cov ft
  cov=$(grep -ho 'cov: [0-9]*' "$dir"/pass*.log | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -ho 'ft: [0-9]*' "$dir"/pass*.log | tail -n 1 | cut -d' ' -f2)
  # Under a size cap the fuzzer writes nothing longer, but a file over it would be merged whole
  # (its cut copy is what the fuzzer ran): none is kept, so the kept corpus stays small.
  if [ -n "${max_len[$target]:-}" ]; then find "$dir/new" -type f -size +"${max_len[$target]}"c -delete; fi
  if [ "$fuzzer" != "$binary" ]; then check_inputs "$binary" "$dir/new" "$dir/findings" "$dir/checks"; fi
  # shellcheck disable=SC2046 # no option is no argument
  "$binary" -merge=1 -timeout=10 -rss_limit_mb=2048 $(options_of "$target") "fuzz/corpus/$target" "$dir/new" \
    >"$dir/merge.log" 2>&1 || true
  local findings=0 finding
  for finding in "$dir"/findings/*; do
    cp "$finding" "fuzz/corpus/$target/finding-$(basename "$finding")"
    findings=$(( findings + 1 ))
  done
  printf '%-12s %7s %10s %8s %6s %7s %9s %9s\n' "$target" "$each" "$runs" "$(( runs / each ))" "${cov:-?}" \
    "${ft:-?}" "$kept_before>$(find "fuzz/corpus/$target" -type f | wc -l)" "$findings" >"$dir.row"
}

running=0
for binary in "${targets[@]}"; do
  if [ "$running" -ge "$slots" ]; then wait -n; running=$(( running - 1 )); fi
  fuzz_target "$binary" &
  running=$(( running + 1 ))
done
wait

printf '%-12s %7s %10s %8s %6s %7s %9s %9s\n' target seconds runs runs/s cov ft corpus findings
cat "$run"/*.row
echo "logs and findings: $run; new corpus files: git status fuzz/corpus"
