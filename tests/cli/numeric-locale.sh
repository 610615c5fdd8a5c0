#!/bin/sh
# tormel-calc writes the same bytes, on its output and in the saved report, whatever
# the process's numeric locale: only --locale chooses the separators of the texts.
# Usage: numeric-locale.sh TORMEL-CALC EXAMPLES-FOLDER
set -eu
calc=$1
examples=$2
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 || { echo "no locale ru_RU.UTF-8: run scripts/install-deps.sh"; exit 1; }
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for input in "$examples"/*.json; do
    name=$(basename "$input" .json)
    for environment in C.UTF-8 ru_RU.UTF-8; do
        status=0
        LC_ALL=$environment "$calc" --locale ru_RU --report "$work/$name.$environment.csv" \
            "$input" >"$work/$name.$environment.out" 2>&1 || status=$?
        echo "exit $status" >>"$work/$name.$environment.out"
    done
    cmp "$work/$name.C.UTF-8.out" "$work/$name.ru_RU.UTF-8.out"
    if [ -e "$work/$name.C.UTF-8.csv" ]; then
        cmp "$work/$name.C.UTF-8.csv" "$work/$name.ru_RU.UTF-8.csv"
    fi
    # JSON numbers keep the decimal point.
    if grep -Eq '": -?[0-9]+,[0-9]' "$work/$name.ru_RU.UTF-8.out"; then
        echo "$name: a JSON number with a decimal comma"
        exit 1
    fi
done
echo "same bytes under C.UTF-8 and ru_RU.UTF-8"
