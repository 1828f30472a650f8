#!/usr/bin/env bash
# Runs one phase of a make target and says at its end how long it took, so that a slow `make test`
# shows where its time went:
#   scripts/timed.sh "PHASE" COMMAND [ARGUMENTS...]
# The command's exit status is kept. Each line is also appended to $PHASE_LOG when it is set.
set -u
phase=$1
shift
start=$(date +%s)
"$@"
status=$?
seconds=$(( $(date +%s) - start ))
line=$(printf '== %-24s %3dm%02ds%s' "$phase" $((seconds / 60)) $((seconds % 60)) \
  "$([ "$status" -eq 0 ] || echo "  (failed: $status)")")
echo "$line"
if [ -n "${PHASE_LOG:-}" ]; then mkdir -p "$(dirname "$PHASE_LOG")" && echo "$line" >> "$PHASE_LOG"; fi
exit "$status"
