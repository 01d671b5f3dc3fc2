#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite, then builds the
# libraries that need no Qt Widgets with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# their tests.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
tools/install-deps.sh
# ccache keeps rebuilds of an unchanged tree short; the build works the same without it.
cache=()
command -v ccache >/dev/null && cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

cmake -S . -B build -G Ninja "${cache[@]}"
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCORVANE_GUI=OFF -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF \
      -DCMAKE_BUILD_TYPE=Debug "${cache[@]}"
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
