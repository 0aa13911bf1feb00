#!/usr/bin/env bash
# Includes between the source folders point one way: a folder includes only folders of a lower layer (or its
# own), so no two folders include each other and no include circle can form. Prints the folder include graph
# it found (each edge with its number of include lines) and fails on an include that points upwards, on an
# include circle, and on a folder the layer list below does not know yet.
#
#   scripts/check-include-layers.sh [SOURCE_FOLDER]     (default: src/ beside this script)
set -euo pipefail

src=${1:-"$(cd "$(dirname "$0")/.." && pwd)/src"}

# Bottom to top. A new folder gets its place here, so its layer is a decision and not an accident.
layers=(core window l10n pages comm shell cli app)

rank_of() {
    local i
    for i in "${!layers[@]}"; do
        if [ "${layers[$i]}" = "$1" ]; then
            echo "$i"
            return
        fi
    done
    echo -1
}

# "from to" for every include line of one folder's file naming a file of another folder.
edges=$(cd "$src" && grep -rHoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z0-9_]+/[^"]+"' \
    --include='*.h' --include='*.cpp' . |
    sed -E 's#^\./([^/]+)/[^:]*:[[:space:]]*\#[[:space:]]*include[[:space:]]*"([^/]+)/.*#\1 \2#' |
    awk '$1 != $2' | sort | uniq -c || true)

echo "Folder include graph of $src (include lines per edge):"
if [ -z "$edges" ]; then
    echo "  (no folder includes another)"
else
    echo "$edges" | awk '{ printf "  %-7s -> %-7s %4d\n", $2, $3, $1 }'
fi

failed=0
while read -r count from to; do
    [ -n "${count:-}" ] || continue
    rf=$(rank_of "$from")
    rt=$(rank_of "$to")
    if [ "$rf" -lt 0 ] || [ "$rt" -lt 0 ]; then
        echo "Folder without a layer: add it to the layer list in $0 ($from -> $to)" >&2
        failed=1
    elif [ "$rt" -gt "$rf" ]; then
        echo "Upward include: $from includes $to $count time(s); see which with:" >&2
        echo "  grep -rn '#include \"$to/' $src/$from" >&2
        failed=1
    fi
done <<<"$edges"

# The layer order rules circles out; tsort says so independently of the list, and names a circle's folders.
if [ -n "$edges" ]; then
    if ! loop=$(echo "$edges" | awk '{ print $2, $3 }' | tsort 2>&1 >/dev/null) || [ -n "$loop" ]; then
        echo "Include circle between folders:" >&2
        echo "$loop" >&2
        failed=1
    fi
fi

if [ "$failed" -ne 0 ]; then
    echo "Layers (bottom to top): ${layers[*]}" >&2
    exit 1
fi
echo "Layers hold (bottom to top): ${layers[*]}"
