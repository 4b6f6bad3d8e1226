#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the repository differs from what the project's
# .clang-format makes of it. Format a file with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-packages.sh clang-format

misformatted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || misformatted+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')

if [ ${#misformatted[@]} -gt 0 ]; then
  echo "Not formatted with .clang-format (clang-format -i FILE mends it):"
  printf '  %s\n' "${misformatted[@]}"
  exit 1
fi
echo "All $(git ls-files '*.cpp' '*.h' | wc -l) C++ files are formatted."
