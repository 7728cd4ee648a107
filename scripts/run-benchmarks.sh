#!/usr/bin/env bash
# Runs every benchmark program built under bench/ and ends with one table:
#   <case> <ours> <floor> <ratio>      (ratio = ours / floor, higher is better)
# Each program prints its own table lines prefixed with "RESULT ".
set -euo pipefail
build="${1:-build-release}"
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for prog in $(find "$build/bench" -maxdepth 3 -type f -name 'bench-*' -perm -u+x | sort); do
  echo "== $(basename "$prog")"
  "$prog" | tee /dev/stderr | sed -n 's/^RESULT //p' >> "$results"
done
echo
echo "case ours floor ratio"
cat "$results"
