#!/usr/bin/env bash
# The main job: set-up, then the win32 deliverable (release), built in full.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${JOBS:-$(nproc)}"
echo "win32 build: $(pwd)/build/win32"
