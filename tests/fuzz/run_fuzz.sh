#!/bin/bash
# Builds a fuzz target with clang's libFuzzer and the address and
# undefined-behaviour sanitizers, then fuzzes it for a few seconds. Exits
# non-zero when the build fails or the fuzzer finds a crash.
#   run_fuzz.sh NAME SOURCE... -- SEED...
# The target is NAME_fuzz.cpp beside this script; the SOURCEs are the
# program's files it needs and each SEED a file or folder that starts the
# corpus, both relative to the source tree. FUZZ_SECONDS sets how long (5).
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${FUZZ_SECONDS:-5}"
name=$1
shift
sources=()
while [ "$1" != -- ]; do
  sources+=("$source_dir/$1")
  shift
done
shift
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

clang++ -std=c++20 -g -O1 -Wall -Wextra \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$source_dir/src" \
  "$source_dir/tests/fuzz/${name}_fuzz.cpp" "${sources[@]}" \
  -o "$work/${name}_fuzz"

mkdir "$work/corpus"
for seed in "$@"; do cp -r "$source_dir/$seed" "$work/corpus/"; done

cd "$work"
"./${name}_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 corpus
