#!/bin/bash
# Builds the pass definition fuzz target with clang's libFuzzer and the
# address and undefined-behaviour sanitizers, then fuzzes it for a few
# seconds. Exits non-zero when the build fails or the fuzzer finds a crash.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${FUZZ_SECONDS:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

clang++ -std=c++20 -g -O1 -Wall -Wextra \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$source_dir/src" \
  "$source_dir/tests/fuzz/pass_definition_fuzz.cpp" \
  "$source_dir/src/core/pass_definition.cpp" \
  "$source_dir/src/core/catalogue.cpp" \
  -o "$work/pass_definition_fuzz"

# A few valid and edge-case files to start from.
mkdir "$work/corpus"
printf 'enable\n# 3D tests\nlines go\nblur pass\nscaling 0 # not today\n' >"$work/corpus/example"
printf 'disable\nlines pass\n' >"$work/corpus/disable"
printf 'enable\r\n\tpoints\t0\r\nlines \nlines\nLines GO\n' >"$work/corpus/edges"
printf 'enable\nlines\0 pass\nblur pass' >"$work/corpus/nul"

cd "$work"
./pass_definition_fuzz -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 corpus
