#!/usr/bin/env bash
# The format check: clang-format 14 with the repository's .clang-format, on C++ sources only.
# CMake files, scripts and documents never go through clang-format: it reads them as C++ and
# turns "# comment" into "#comment" and indents commands as statements. A CMake comment
# without its blank after "#" is that fingerprint, and is refused here too.
#
#   scripts/check_format.sh          check every tracked C++ file (exit 1 on a difference)
#   scripts/check_format.sh --fix    reformat them in place
#   scripts/check_format.sh --staged check what is staged for the next commit (the hook's use)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-check}
status=0
case "$mode" in
check)
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror || status=1
    ;;
--fix)
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
    ;;
--staged)
    # The staged text, not the working copy: what the commit will hold.
    while IFS= read -r -d '' file; do
        git show ":$file" | clang-format --assume-filename="$file" --dry-run -Werror || status=1
    done < <(git diff --cached --name-only -z --diff-filter=ACMR -- '*.cpp' '*.h')
    ;;
*)
    echo "usage: $0 [--fix | --staged]" >&2
    exit 2
    ;;
esac

# "#[[" opens a bracket comment and "#!" nothing in CMake; anything else glued to "#" is a
# mangled comment.
if git grep -nE '^[[:space:]]*#[^[:space:]#![]' -- '*CMakeLists.txt' '*.cmake'; then
    echo "CMake comments above lost their blank after '#': was a CMake file given to clang-format?" >&2
    status=1
fi
exit "$status"
