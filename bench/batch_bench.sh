#!/usr/bin/env bash
# Batch benchmark: 40 small pairs compared by 40 separate quorvane-compare runs, then by one
# --batch run with -j 1 and with -j 2. Prints pairs per second for each. Word 2007+ pairs (docx)
# need no office; Word 97-2003 pairs (doc) go through one.
#   bench/batch_bench.sh build/Quorvane/quorvane-compare [PAIRS] [docx|doc]
set -euo pipefail
tool=$(realpath "$1") pairs=${2:-40} format=${3:-docx}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
cd "$work"
printf '<html><body><p>One two three.</p><p>Old line.</p></body></html>' >a.html
printf '<html><body><p>One two four.</p><p>New line.</p></body></html>' >b.html
filter="MS Word 2007 XML"
[ "$format" = doc ] && filter="MS Word 97"
soffice "-env:UserInstallation=file://$work/converter" --headless --norestore \
    --convert-to "$format:$filter" a.html b.html >/dev/null 2>&1
for i in $(seq "$pairs"); do
    cp "a.$format" "a$i.$format"; cp "b.$format" "b$i.$format"
    printf '%s\t%s\t%s\n' "a$i.$format" "b$i.$format" "batch$i.docx" >>jobs.tsv
done

rate() { awk -v n="$pairs" -v s="$1" 'BEGIN {printf "%6.2f pairs/s (%.1f s)", n / s, s}'; }
now() { date +%s.%N; }
start=$(now)
for i in $(seq "$pairs"); do "$tool" "a$i.$format" "b$i.$format" -o "single$i.docx" >/dev/null; done
single=$(awk -v a="$start" -v b="$(now)" 'BEGIN {print b - a}')
echo "$pairs separate runs: $(rate "$single")"
for jobs in 1 2; do
    start=$(now)
    "$tool" --batch jobs.tsv -j "$jobs" >/dev/null
    took=$(awk -v a="$start" -v b="$(now)" 'BEGIN {print b - a}')
    echo "--batch -j $jobs:       $(rate "$took"), $(awk -v a="$single" -v b="$took" 'BEGIN {printf "%.1f", a / b}')x the separate runs"
done
