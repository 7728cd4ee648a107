#!/usr/bin/env bash
# Succeeds when clang++ can link a libFuzzer target on this machine.
set -u
command -v clang++ > /dev/null || exit 1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '%s\n' 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
  > "$work/probe.cpp"
clang++ -fsanitize=fuzzer,address,undefined "$work/probe.cpp" -o "$work/probe" > /dev/null 2>&1
