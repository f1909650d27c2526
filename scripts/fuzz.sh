#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given seconds
# (20 by default): scripts/fuzz.sh 300 for a longer session. A second argument fixes libFuzzer's
# seed, so the same run repeats (./test passes one: the suite must not turn red by chance); without
# it each session explores from a new seed. A crash, a hang, a failure without
# its message or a statement that writes stops the target and fails the run; the input that did
# it is left in build-fuzz/tests/fuzz/hallazgo-*.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos="${1:-20}"
semilla="${2:-0}"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVELA_WERROR=ON -DQUORVELA_FUZZ=ON -DQUORVELA_FUZZ_SEGUNDOS="$segundos" \
  -DQUORVELA_FUZZ_SEMILLA="$semilla" >/dev/null
cmake --build build-fuzz --target fuzz_lineas fuzz_abs fuzz_formula
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-fuzz
ctest --output-on-failure -L fuzz -j2
