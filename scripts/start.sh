#!/usr/bin/env bash
# Set up, build and start Karvo Media from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVO_BUILD_TESTS=OFF -DKARVO_BUILD_BENCH=OFF
cmake --build build -j2
exec build/bin/karvo-media
