#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program against the simulated radio.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
# Until the main window lands, this serves the simulated radio on a pseudo-terminal.
exec build/bin/radiosim "$@"
