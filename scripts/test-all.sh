#!/bin/bash
# Sets up and runs every test: the native build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows builds with
# their tests under Wine. Exits non-zero if anything fails.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
export JOBS

bash scripts/install-deps.sh --all

for preset in native sanitize; do
  echo "== $preset build and tests"
  cmake --preset "$preset" -DSKYPLATE_TESTS=ON >/dev/null
  cmake --build --preset "$preset" -j"$JOBS"
  ctest --preset "$preset" -j"$JOBS"
done

echo "== fuzzing, ${FUZZ_SECONDS:-60}s a target, with ASan and UBSan"
bash fuzz/run.sh "${FUZZ_SECONDS:-60}"

echo "== Windows builds and tests under Wine"
bash scripts/test-windows.sh
