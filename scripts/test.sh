#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test (core, desktop,
# art checks and the published player in headless Chromium) through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd build
ctest --output-on-failure --timeout 900 "$@"
