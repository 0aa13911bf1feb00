#!/usr/bin/env bash
# Checks that includes between the source folders point one way, builds the program and runs every test; then
# builds and runs them once more under AddressSanitizer and UndefinedBehaviorSanitizer (in build-sanitize/). Any
# failing test or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-include-layers.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DRM425T_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:exitcode=23"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-sanitize --output-on-failure
