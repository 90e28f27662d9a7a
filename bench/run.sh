#!/usr/bin/env bash
# Configures a Release build (default /work/main/build-bench, or the folder given as $1), builds every benchmark
# and runs each one. Extra arguments after the folder go to every benchmark program.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${1:-$source_dir/build-bench}"
shift || true

cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKARVO_SANITIZE=OFF \
  -DKARVO_BUILD_TESTS=OFF -DKARVO_BUILD_BENCH=ON >/dev/null
targets=$(ninja -C "$build_dir" -t targets all | sed -n 's/^\(karvo_bench_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
ninja -C "$build_dir" -j2 $targets

status=0
for program in "$build_dir"/bench/karvo_bench_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" "$@" || status=1
done
exit $status
