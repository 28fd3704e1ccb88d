#!/usr/bin/env bash
# The player's folders are layers. A file includes headers of its own folder and of
# the layers below it only, so a folder's name says where a change belongs and what
# it may reach. Folders of one layer do not include each other. A new folder of
# player/ has to be given its layer here before anything may include it.
set -uo pipefail
cd "$(dirname "$0")/.."

# From the bottom: the model, texts and names of the whole player; the assets and the
# media (no windows); the forms and what applies a skin to them; PlayerApp.
layers=("shared" "skin playback" "windows panel" "startup")

declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

status=0
while IFS=: read -r file line text; do
  from=${file#player/}
  from=${from%%/*}
  to=${text#*player/}
  to=${to%%/*}
  [ "$from" = "$to" ] && continue
  if [ -z "${rank[$from]:-}" ] || [ -z "${rank[$to]:-}" ] || [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
    echo "$file:$line: $from/ may not include $to/ (layers from the bottom: ${layers[*]/%/;})"
    status=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]player/' player --include='*.h' --include='*.cpp' --include='*.in')
[ $status -eq 0 ] && echo "player layers: no include reaches up"
exit $status
