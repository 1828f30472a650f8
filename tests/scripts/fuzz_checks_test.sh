#!/usr/bin/env bash
# scripts/fuzz-checks.sh. check_inputs, against a stand-in target that fails at once on an input
# holding "CRASH" and only at its end on one holding "LEAK", as a leak check does: every such
# input, and only those, ends in the findings folder. recover_findings: an empty finding gets back
# the bytes its log printed that match its name.
set -euo pipefail
source "$1/scripts/fuzz-checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/target" <<'STUB'
#!/usr/bin/env bash
leaked=0
for arg in "$@"; do
  case $arg in -*) continue ;; esac
  echo "Running: $arg"
  if grep -q CRASH "$arg"; then echo "crashed"; exit 1; fi
  if grep -q LEAK "$arg"; then leaked=1; fi
done
exit $(( leaked ? 23 : 0 ))
STUB
chmod +x "$work/target"

fail() { echo "FAILED: $*"; exit 1; }
expect_files() {  # FOLDER NAMES...: exactly these files are in FOLDER
  local folder=$1 got
  shift
  got=$(cd "$folder" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
  [ "$got" = "$(printf '%s\n' "$@" | sed '/^$/d' | sort | tr '\n' ' ')" ] || fail "$folder holds '$got', not '$*'"
}

mkdir -p "$work/empty" "$work/findings"
check_inputs "$work/target" "$work/empty" "$work/findings" "$work/logs-empty" || fail "an empty folder failed"
expect_files "$work/findings"

mkdir -p "$work/sound"
echo one >"$work/sound/a"; echo two >"$work/sound/b"
check_inputs "$work/target" "$work/sound" "$work/findings" "$work/logs-sound" || fail "sound inputs failed"
expect_files "$work/sound" a b
expect_files "$work/findings"

mkdir -p "$work/mixed"
echo one >"$work/mixed/a"; echo CRASH >"$work/mixed/b"; echo two >"$work/mixed/c"
echo LEAK >"$work/mixed/d"; echo CRASH >"$work/mixed/e"; echo three >"$work/mixed/f"
check_inputs "$work/target" "$work/mixed" "$work/findings" "$work/logs" || fail "a failing input stopped the check"
expect_files "$work/mixed" a c f
expect_files "$work/findings" b d e
grep -q crashed "$work/logs/b.log" || fail "the crash's log was not kept"

mkdir -p "$work/recovered"
printf 'a\n<b>\0\xff' >"$work/input"
sum=$(sha1sum "$work/input" | cut -d' ' -f1)
: >"$work/recovered/crash-$sum"
: >"$work/recovered/crash-da39a3ee5e6b4b0d3255bfef95601890afd80709"  # the empty input's own name
{
  echo "MS: 1 ChangeByte-; base unit: 0"
  echo "0x78,0x79,"
  echo "0x61,0xa,0x3c,0x62,0x3e,0x0,0xff,"
  echo "==1==ERROR: libFuzzer: deadly signal"
} >"$work/fuzz.log"
recover_findings "$work/recovered" "$work/fuzz.log"
cmp -s "$work/input" "$work/recovered/crash-$sum" || fail "the printed input was not recovered"
[ ! -s "$work/recovered/crash-da39a3ee5e6b4b0d3255bfef95601890afd80709" ] || fail "an empty input was filled"
echo "fuzz checks: every failing input became a finding, and a printed one was recovered"
