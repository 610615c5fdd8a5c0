#!/bin/sh
# Peak memory of tormel-calc on a generated batch of the given size, next to the
# size of its input and output. The input is made in $TMPDIR (or /tmp) and removed.
#
#   benchmarks/batch-memory.sh [megabytes] [path to tormel-calc] [options of tormel-calc...]
#
# for example "benchmarks/batch-memory.sh 200 build/release/cli/tormel-calc --jobs 2".
# The results go to a file beside the input, and the run holds them back in its
# temporary file until the end, so the disk needs about 13 times the input free.
set -eu

megabytes=${1:-200}
calc=${2:-build/release/cli/tormel-calc}
shift $(($# < 2 ? $# : 2))
folder=$(mktemp -d "${TMPDIR:-/tmp}/tormel-batch-XXXXXX")
trap 'rm -rf "$folder"' EXIT INT TERM

python3 - "$megabytes" > "$folder/input.json" <<'PYTHON'
import json, sys

# Varied feeders as in batch_benchmark: cable, SIP and busbar sections, some with a
# device, every tenth one refused, a named point every hundredth.
limit = int(sys.argv[1]) * 1000 * 1000
powers = ["25", "40", "63", "100", "160", "250", "400", "630"]
out = sys.stdout
out.write("[")
written, i = 1, 0
while written < limit:
    o = {"WindKind": "T/Y-0", "TransPower": powers[i % 8], "RArc": str(i % 41),
         "Lines": [{"KindPerform": "Кабель с ПВХ изоляцией", "Ff": "95", "Fn": "50",
                    "Length": str(10 + i % 300)},
                   {"KindPerform": "СИП-2", "Stuff": "3*70+1*54.6", "Length": str(i % 500),
                    "Temperature": "20" if i % 2 else "70"},
                   {"KindPerform": "Шинопровод Canalis", "Stuff": "KS, 250A",
                    "Length": "-1" if i % 10 == 9 else "12"}]}
    if i % 3 == 0:
        o["Device"] = {"TokAVnom": "25"}
    if i % 100 == 0:
        o["Name"] = "T%d" % (i // 100)
    text = ("," if i else "") + json.dumps(o, ensure_ascii=False)
    out.write(text)
    written += len(text.encode())
    i += 1
out.write("]")
print(i, file=sys.stderr)
PYTHON

input_bytes=$(stat -c %s "$folder/input.json")
status=0
/usr/bin/time -v -o "$folder/time" "$calc" --locale ru_RU --report "$folder/points.csv" "$@" \
    "$folder/input.json" > "$folder/output.json" || status=$?
echo "input:         $((input_bytes / 1000000)) MB"
echo "output:        $(($(stat -c %s "$folder/output.json") / 1000000)) MB"
echo "report points: $(($(wc -l < "$folder/points.csv") - 2))"
echo "exit status:   $status"
grep -E "Maximum resident|Elapsed" "$folder/time" | sed 's/^\t//'
