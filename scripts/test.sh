#!/usr/bin/env bash
# Builds Drivolex and runs the whole test suite headless (offscreen platform).
# Exits non-zero on any failure. Set DRIVOLEX_SANITIZE=1 for an ASan/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir=build
extra=()
if [ "${DRIVOLEX_SANITIZE:-0}" = 1 ]; then
    build_dir=build-asan
    extra=(-DDRIVOLEX_SANITIZE=ON)
fi
bash scripts/build.sh "$build_dir" "${extra[@]}"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" --timeout 300
