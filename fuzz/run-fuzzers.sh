#!/usr/bin/env bash
# Runs every fuzz-<target> of a QL_FUZZ build for a bounded time each and
# prints one line per target: FUZZ <target> <executions> <seconds>.
# A failing input is left in <build>/fuzz-artifacts/<target>/; keep it as a
# regression test by copying it to tests/fuzz-regressions/<target>/.
#   run-fuzzers.sh <build-dir> <seconds-per-target>
set -euo pipefail
build="$1"
seconds="$2"
here="$(cd "$(dirname "$0")" && pwd)"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
summary=""
for fuzzer in $(find "$build/fuzz" -maxdepth 1 -type f -name 'fuzz-*' ! -name 'fuzz-replay-*' -perm -u+x | sort); do
  target="${fuzzer##*/fuzz-}"
  corpus="$build/fuzz-corpus/$target"
  artifacts="$build/fuzz-artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  log="$build/fuzz-artifacts/$target.log"
  echo "== fuzz-$target for ${seconds}s"
  # -timeout: one input running for seconds is a hang, a fault of its own.
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus" "$here/corpus/$target" > "$log" 2>&1; then
    status=1
    tail -n 40 "$log"
    echo "fuzz-$target failed: keep the input from $artifacts in tests/fuzz-regressions/$target/"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+="FUZZ $target ${runs:-?} $seconds"$'\n'
done
echo
printf '%s' "$summary"
exit $status
