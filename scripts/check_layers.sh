#!/usr/bin/env bash
# Each folder of src/ includes only folders below it (see docs/architecture.md).
# Prints every include that reaches upwards and fails when there is one.
set -uo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)"
declare -A may=(
    [base]="base"
    [platform]="base platform"
    [picking]="base platform picking"
    [download]="base platform picking download"
    [appearance]="base platform appearance"
    [favourites]="base platform picking favourites"
    [engine]="base platform picking download engine"
    [collecting]="base platform picking download engine collecting"
    [batch]="base platform picking download engine collecting batch"
    [screenless]="base platform picking download engine collecting batch screenless"
    [main_window]="base platform picking download appearance favourites engine collecting batch screenless main_window"
)
bad=0
checked=0
for folder in "$src"/*/; do
    layer="$(basename "$folder")"
    if [ -z "${may[$layer]+x}" ]; then
        echo "src/$layer: a folder of no known layer"
        bad=$((bad + 1))
        continue
    fi
    while IFS= read -r line; do
        file="${line%%:*}"
        target="$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$line")"
        checked=$((checked + 1))
        if [[ " ${may[$layer]} " != *" $target "* ]]; then
            echo "${file#"$src"/} includes $target/, a layer above $layer/"
            bad=$((bad + 1))
        fi
    done < <(grep -rHE '^#include "[a-z_]+/' "$folder")
done
echo "layers: $checked includes checked, $bad reach upwards"
[ "$bad" -eq 0 ]
