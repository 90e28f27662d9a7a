#!/usr/bin/env bash
# Set up, build and run the whole test suite. The Qt-free core runs under AddressSanitizer and UBSan; the window
# tests run on Qt's offscreen platform, and the screenshot tests in a private X server with a D-Bus session.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKARVO_SANITIZE=ON -DKARVO_BUILD_BENCH=OFF -DKARVO_WERROR=ON
cmake --build build-test -j2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

run_tests() { ctest --test-dir build-test --output-on-failure -j2 --timeout 300; }
if command -v dbus-run-session >/dev/null; then
  export -f run_tests
  dbus-run-session -- bash -c run_tests
else
  run_tests
fi
