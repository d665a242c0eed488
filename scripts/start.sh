#!/usr/bin/env bash
# Builds Drivolex and starts it on the desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
exec build/app/drivolex "$@"
