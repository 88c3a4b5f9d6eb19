#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or when a core file (model,
# link, print) includes a Qt header. The model's folders stand in this order: image at the bottom,
# channels over it, settings and storage over channels (neither uses the other), document at the
# top; link and print use the model and themselves. In the front end, ui/common is below the other
# UI folders, ui/service uses ui/dialogs, and ui/main uses anything; the tool uses the core only.
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root/src" || exit 2
status=0
# folder, the project folders it may include (regex), and whether Qt headers are refused there
check() {
  local folder=$1 allowed=$2 qt=${3:-no-qt}
  [ -d "$folder" ] || { echo "layer check: $folder is missing"; status=1; return; }
  local refused='#[[:space:]]*include[[:space:]]*"'
  [ "$qt" = no-qt ] && refused='#[[:space:]]*include[[:space:]]*("|<(Q|qt))'
  while IFS= read -r line; do
    echo "layer check: $line"
    status=1
  done < <(grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' -r "$folder" --include='*.h' --include='*.cpp' |
             grep -v -E "#[[:space:]]*include[[:space:]]*\"($allowed)/" |
             grep -E "$refused")
}
core='model|link|print'
check model/image 'model/image'
check model/channels 'model/(image|channels)'
check model/settings 'model/(image|channels|settings)'
check model/storage 'model/(image|channels|storage)'
check model/document 'model'
check link 'model|link'
check print 'model|print'
check ui/common "$core|ui/common" qt
check ui/dialogs "$core|ui/common|ui/dialogs" qt
check ui/service "$core|ui/common|ui/dialogs|ui/service" qt
check ui/print "$core|ui/common|ui/print" qt
check cli "$core|cli" no-qt
if [ $status -eq 0 ]; then echo "layer check: every include stays in its layer"; fi
exit $status
