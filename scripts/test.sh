#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; ends with CTest's summary.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh" "$here/build"
cd "$here/build"
ctest --output-on-failure --parallel "$(nproc 2>/dev/null || echo 2)"
