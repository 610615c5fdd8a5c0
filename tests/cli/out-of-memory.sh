#!/bin/sh
# Memory that runs out ends tormel-calc with one line and status 2, never with an abort:
# a point name larger than the memory the run may take, and a run with sheets and a
# report under address-space limits from too small to start up to enough.
#
#   out-of-memory.sh TORMEL-CALC
set -u
calc=$1
folder=$(mktemp -d "${TMPDIR:-/tmp}/tormel-memory-XXXXXX")
trap 'rm -rf "$folder"' EXIT INT TERM
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# One run under the limit (kB): status, and what the error output holds.
run() {
    limit=$1
    shift
    (ulimit -v "$limit" && exec "$calc" "$@") >"$folder/out" 2>"$folder/err"
}

check() {
    status=$1
    what=$2
    case $status in
    0) [ -s "$folder/err" ] && fail "$what: status 0 with an error: $(cat "$folder/err")" ;;
    2) [ "$(cat "$folder/err")" = "tormel-calc: недостаточно памяти" ] \
           || fail "$what: $(cat "$folder/err")"
       [ -s "$folder/out" ] && fail "$what: results printed after a failure"
       [ "$(cat "$folder/r.csv")" = old ] || fail "$what: the report was replaced" ;;
    127) ;; # the libraries themselves did not fit
    *) fail "$what: status $status: $(cat "$folder/err")" ;;
    esac
}

echo old >"$folder/r.csv"
{ printf '{"Name": "'; head -c 200000000 /dev/zero | tr '\0' x; printf '"}'; } >"$folder/name.json"
run 250000 --report "$folder/r.csv" "$folder/name.json"
status=$?
[ "$status" -eq 2 ] || fail "a 200 MB point name under 250 MB: status $status"
check "$status" "a 200 MB point name"
rm -f "$folder/name.json"

printf '[{"Name": "A"}, {"Lines": [{"Length": "30"}]}, {"Name": "B"}]' >"$folder/in.json"
limit=60000
while [ $limit -le 200000 ]; do
    echo old >"$folder/r.csv"
    run $limit --sheet "$folder/s.pdf" --report "$folder/r.csv" "$folder/in.json"
    check $? "sheets under $limit kB"
    limit=$((limit + 10000))
done
[ -n "$(find "$folder" -name '.tm*')" ] && fail "a temporary file was left behind"
exit $failed
