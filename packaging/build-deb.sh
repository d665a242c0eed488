#!/usr/bin/env bash
# Builds the Debian package of Drivolex in its own build folder (default: build-deb),
# a Release build without the tests, and prints the package's path.
# Usage: packaging/build-deb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-deb}
command -v dpkg-shlibdeps >/dev/null || {
    echo "build-deb: dpkg-shlibdeps is missing; install the dpkg-dev package" >&2
    exit 1
}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRIVOLEX_BUILD_TESTS=OFF \
    -DDRIVOLEX_SANITIZE=OFF >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
rm -f "$build_dir"/drivolex_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
ls "$build_dir"/drivolex_*.deb
