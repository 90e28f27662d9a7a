#!/usr/bin/env bash
# The companion's reading of many files, in one run and beside its reference:
#  1. `info` over 5,000 MP3 files with an empty page cache (each file evicted before every run): the CLI given as
#     $1 (reading on one thread, for example an older build) against the one given as $2 (reading on the pool);
#  2. `info` over 2,000 Ogg Vorbis files, warm, against a loop of mutagen over the same files (python3-mutagen);
# with hyperfine (medians), each figure printed as a ratio. Needs ffmpeg and python3-mutagen.
# Usage: bench/cli_reading.sh OLD_CLI NEW_CLI
set -euo pipefail
old_cli="$1"
new_cli="$2"
work="$(mktemp -d /tmp/karvo-cli-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
python=/usr/bin/python3

# One short tagged file of each kind, copied under distinct names (tags are read per file, the audio is not).
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=20" -ac 2 -c:a libmp3lame -b:a 128k \
  -metadata title=Tune -metadata artist=Band -metadata album=Record "$work/one.mp3"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=20" -ac 2 -c:a libvorbis -q:a 2 \
  -metadata title=Tune -metadata artist=Band -metadata album=Record "$work/one.ogg"
mkdir -p "$work/mp3" "$work/ogg"
for i in $(seq 1 5000); do cp "$work/one.mp3" "$work/mp3/$((i % 50))_track_$i.mp3"; done
for i in $(seq 1 2000); do cp "$work/one.ogg" "$work/ogg/$((i % 50))_track_$i.ogg"; done
sync

cat >"$work/evict.py" <<'PY'
import os, sys
for name in os.listdir(sys.argv[1]):
    fd = os.open(os.path.join(sys.argv[1], name), os.O_RDONLY)
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)
PY
cat >"$work/mutagen_loop.py" <<'PY'
import sys, mutagen
for path in sys.argv[1:]:
    f = mutagen.File(path)
    (f.info.length, f.info.bitrate, f.tags.get("title"), f.tags.get("artist"), f.tags.get("album"))
PY

median() { $python -c "import json,sys; print(json.load(open(sys.argv[1]))['results'][int(sys.argv[2])]['median'])" "$@"; }

cd "$work/mp3"
hyperfine -N --runs 5 --prepare "$python $work/evict.py $work/mp3" --export-json "$work/cold.json" \
  "$old_cli info $(ls | tr '\n' ' ')" "$new_cli info $(ls | tr '\n' ' ')" >/dev/null
one=$(median "$work/cold.json" 0)
pool=$(median "$work/cold.json" 1)

cd "$work/ogg"
hyperfine -N --warmup 1 --runs 5 --export-json "$work/ogg.json" \
  "$new_cli info $(ls | tr '\n' ' ')" "$python $work/mutagen_loop.py $(ls | tr '\n' ' ')" >/dev/null
ours=$(median "$work/ogg.json" 0)
theirs=$(median "$work/ogg.json" 1)

$python - "$one" "$pool" "$ours" "$theirs" <<'PY'
import sys
one, pool, ours, theirs = map(float, sys.argv[1:])
print(f"{'measure':44} {'value':>10} {'reference':>10} {'ratio':>7}")
print(f"{'CLI info, 5,000 MP3 cold: one thread / pool (s)':44} {one:10.3f} {pool:10.3f} {one / pool:6.2f}x")
print(f"{'Ogg per file: CLI / mutagen loop (us)':44} {ours / 2000 * 1e6:10.1f} {theirs / 2000 * 1e6:10.1f} {ours / theirs:6.2f}x")
PY
