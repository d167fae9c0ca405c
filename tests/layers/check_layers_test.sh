#!/usr/bin/env bash
# The layer check passes on the tree and fails on a copy of it where the text
# database includes the layout model, where the core includes Qt, and where a
# library links one above it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/scripts/check-layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$check" "$root/src"

expect_fault() {  # expect_fault WHAT: the check of $work/src fails naming WHAT
  if out=$("$check" "$work/src"); then
    echo "not caught: $1"; exit 1
  fi
  grep -qF -- "$1" <<<"$out" || { echo "fault not named: $1"; echo "$out"; exit 1; }
}

cp -r "$root/src" "$work/src"
echo '#include "layout/layout.h"' >>"$work/src/textdb/verses.cpp"
expect_fault 'textdb may not include "layout/layout.h"'

cp "$root/src/textdb/verses.cpp" "$work/src/textdb/verses.cpp"
echo '#include <QString>' >>"$work/src/query/ranges.h"
expect_fault 'query may not include Qt <QString>'

cp "$root/src/query/ranges.h" "$work/src/query/ranges.h"
echo 'target_link_libraries(vorn_refs PUBLIC vorn_markup)' >>"$work/src/refs/CMakeLists.txt"
expect_fault 'vorn_refs may not link vorn_markup'
echo ok
