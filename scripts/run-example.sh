#!/bin/bash
# Sets up, builds skyplate-cli and builds the bundled example track.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
bash scripts/install-deps.sh
cmake --preset native -DSKYPLATE_TESTS=OFF >/dev/null
cmake --build --preset native -j"$(nproc)" --target skyplate-cli
build/native/cli/skyplate-cli examples/hill/Hill.track
