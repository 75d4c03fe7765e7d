#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the main job.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh" "$here/build"
"$here/build/bin/olm_demo"
