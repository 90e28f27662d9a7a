#!/usr/bin/env bash
# Once the set-up has run, running it again must not touch apt: apt-get and sudo are replaced by recorders.
set -euo pipefail
source_dir=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
for tool in apt-get apt sudo; do
  printf '#!/bin/sh\necho "%s $*" >> "%s/calls"\n' "$tool" "$fake" > "$fake/$tool"
  chmod +x "$fake/$tool"
done
for args in "" "--tests"; do
  PATH="$fake:$PATH" "$source_dir/scripts/setup.sh" $args
done
if [ -s "$fake/calls" ]; then
  echo "a second set-up called apt:"; cat "$fake/calls"; exit 1
fi
echo "second set-up: no apt command"
