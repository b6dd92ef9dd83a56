# Sourced by the end-to-end test scripts: a private work folder removed at the end with every
# process listed in `pids`, `fail` that names the test and shows the program's standard error
# (kept in $work/morvex.err), and the sanitizers' suppressions for the program they start.
#   source script_support.sh "NAME OF THE TEST"
test_name=$1
support_dir=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$test_name: $*" >&2
  [ -s "$work/morvex.err" ] && cat "$work/morvex.err" >&2
  exit 1
}
export TSAN_OPTIONS="suppressions=$support_dir/tsan_suppressions.txt ${TSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$support_dir/lsan_suppressions.txt print_suppressions=0 ${LSAN_OPTIONS:-}"
