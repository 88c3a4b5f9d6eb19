#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or when a core file (model,
# link, print) includes a Qt header. model may include model only; link and print model and
# themselves; the front ends anything.
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root/src" || exit 2
status=0
check() {  # folder, allowed project folders (regex)
  local folder=$1 allowed=$2
  [ -d "$folder" ] || return 0
  while IFS= read -r line; do
    echo "layer check: $line"
    status=1
  done < <(grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' -r "$folder" --include='*.h' --include='*.cpp' |
             grep -v -E "#[[:space:]]*include[[:space:]]*\"($allowed)/" |
             grep -E '#[[:space:]]*include[[:space:]]*("|<(Q|qt))')
}
check model 'model'
check link 'model|link'
check print 'model|print'
if [ $status -eq 0 ]; then echo "layer check: every core include stays in its layer"; fi
exit $status
