#!/usr/bin/env bash
# The installed desktop entry validates, passes opened files as arguments and claims the playlist types.
set -euo pipefail
entry=$1/app/resources/karvo-media.desktop
desktop-file-validate "$entry"
grep -qx 'Exec=karvo-media %F' "$entry" || { echo "Exec does not take the opened files"; exit 1; }
types=$(sed -n 's/^MimeType=//p' "$entry")
for type in audio/x-mpegurl audio/x-scpls application/xspf+xml; do
  [[ ";$types" == *";$type;"* ]] || { echo "MimeType lacks $type"; exit 1; }
done
echo "desktop entry: valid, opens M3U, PLS and XSPF"
