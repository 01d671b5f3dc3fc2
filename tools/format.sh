#!/usr/bin/env bash
# Formats every C and C++ source of the tree with the root .clang-format (clang-format 14, as
# Debian 12 ships it: apt-get install clang-format). With --check it changes nothing and lists the
# files that differ, exiting 1 when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed (apt-get install clang-format)" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [[ "${1:-}" == "--check" ]]; then
  status=0
  for f in "${files[@]}"; do
    clang-format "$f" | cmp -s - "$f" || { echo "$f"; status=1; }
  done
  exit $status
fi
clang-format -i "${files[@]}"
