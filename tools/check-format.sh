#!/usr/bin/env bash
# Lists the C++ sources whose formatting differs from .clang-format and exits
# non-zero when there is any. With --diff, shows what would change.
#   tools/check-format.sh [--diff] [FILE...]     (default: every tracked source)
# Fix a file with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."

show_diff=false
if [ "${1:-}" = "--diff" ]; then
  show_diff=true
  shift
fi
format=${CLANG_FORMAT:-clang-format}
if ! command -v "$format" >/dev/null; then
  echo "check-format: $format not found (set CLANG_FORMAT)" >&2
  exit 2
fi

if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  files=("$@")
fi

differ=0
for file in "${files[@]}"; do
  if ! "$format" --style=file "$file" | cmp -s - "$file"; then
    echo "$file"
    differ=$((differ + 1))
    if $show_diff; then "$format" --style=file "$file" | diff -u "$file" - || true; fi
  fi
done
if [ "$differ" -gt 0 ]; then
  echo "check-format: $differ of ${#files[@]} files differ from .clang-format" >&2
  exit 1
fi
