#!/usr/bin/env bash
# Checks or applies the C++ layout of .clang-format in the sources, tests, tools and benchmarks.
# Usage: scripts/format.sh [--check]
#   --check  lists the files whose layout differs and ends with status 1 if any does
#   (none)   reformats those files in place
# Only the C++ folders are looked at: build folders and test data hold no hand-written C++.
set -euo pipefail
cd "$(dirname "$0")/.."

# One clang-format version: another lays out some lines differently, and the check would flicker.
CLANG_FORMAT=${CLANG_FORMAT:-clang-format-14}
FOLDERS=(src tests tools bench)

check=0
case $# in
  0) ;;
  1) [ "$1" = --check ] && check=1 || { sed -n 3,5p "$0" >&2; exit 2; } ;;
  *) sed -n 3,5p "$0" >&2; exit 2 ;;
esac
command -v "$CLANG_FORMAT" >/dev/null ||
  { echo "$CLANG_FORMAT is missing: scripts/deps.sh installs it" >&2; exit 1; }

mapfile -t files < <(find "${FOLDERS[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
differ=() lines=0
for f in "${files[@]}"; do
  changed=$("$CLANG_FORMAT" --style=file "$f" | diff "$f" - | grep -c '^[<>]' || true)
  [ "$changed" -eq 0 ] || { differ+=("$f"); lines=$((lines + changed)); }
done

if [ ${#differ[@]} -eq 0 ]; then
  echo "format: all ${#files[@]} files follow .clang-format"
elif [ $check = 1 ]; then
  printf '%s\n' "${differ[@]}"
  echo "format: ${#differ[@]} of ${#files[@]} files differ from .clang-format" \
    "($lines lines removed or added); scripts/format.sh reformats them" >&2
  exit 1
else
  "$CLANG_FORMAT" --style=file -i "${differ[@]}"
  echo "format: reformatted ${#differ[@]} files ($lines lines removed or added)"
fi
