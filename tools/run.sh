#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program against the simulated radio.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
# A first start gets the prepared settings: the simulated radio's driver, no questions.
if [ -z "$(find build/bin -maxdepth 1 -iname corvane.ini -print -quit)" ]; then
  cp resources/FirstRun.ini build/bin/Corvane.ini
fi
exec build/bin/Corvane "$@"
