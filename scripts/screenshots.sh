#!/usr/bin/env bash
# Makes the README's screenshot, docs/screenshot.png: the break in the middle of its run, played
# by scripts/play.sh on a virtual 800x600 display.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
scripts/play.sh --headless "$shots" >/dev/null
mkdir -p docs
convert "$shots/mid-shot.png" -strip docs/screenshot.png
echo "Wrote docs/screenshot.png ($(identify -format '%wx%h' docs/screenshot.png)," \
  "$(du -k docs/screenshot.png | cut -f1) KB); look at it before committing it."
