#!/usr/bin/env bash
# Runs every benchmark program built under bench/ and ends with one table:
#   <case> <ours> <floor> <ratio>      (ratio = ours / floor, higher is better)
# Each program prints its own table lines prefixed with "RESULT ".
set -euo pipefail
build="${1:-build-release}"
results=$(mktemp)
output=$(mktemp)
trap 'rm -f "$results" "$output"' EXIT
for prog in $(find "$build/bench" -maxdepth 3 -type f -name 'bench-*' -perm -u+x | sort); do
  echo "== $(basename "$prog")"
  "$prog" > "$output"
  cat "$output"
  sed -n 's/^RESULT //p' "$output" >> "$results"
done
echo
echo "case ours floor ratio"
cat "$results"
