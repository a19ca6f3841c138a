#!/usr/bin/env bash
# Batch benchmark: 40 small pairs compared by 40 separate quorvane-compare runs, then by one
# --batch run with -j 1 and with -j 2. Prints pairs per second for each.
#   bench/batch_bench.sh build/Quorvane/quorvane-compare [PAIRS]
set -euo pipefail
tool=$(realpath "$1") pairs=${2:-40}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
cd "$work"
printf '<html><body><p>One two three.</p><p>Old line.</p></body></html>' >a.html
printf '<html><body><p>One two four.</p><p>New line.</p></body></html>' >b.html
soffice "-env:UserInstallation=file://$work/converter" --headless --norestore \
    --convert-to "docx:MS Word 2007 XML" a.html b.html >/dev/null 2>&1
for i in $(seq "$pairs"); do
    cp a.docx "a$i.docx"; cp b.docx "b$i.docx"
    printf '%s\t%s\t%s\n' "a$i.docx" "b$i.docx" "batch$i.docx" >>jobs.tsv
done

rate() { awk -v n="$pairs" -v s="$1" 'BEGIN {printf "%6.2f pairs/s (%.1f s)", n / s, s}'; }
now() { date +%s.%N; }
start=$(now)
for i in $(seq "$pairs"); do "$tool" "a$i.docx" "b$i.docx" -o "single$i.docx" >/dev/null; done
single=$(awk -v a="$start" -v b="$(now)" 'BEGIN {print b - a}')
echo "$pairs separate runs: $(rate "$single")"
for jobs in 1 2; do
    start=$(now)
    "$tool" --batch jobs.tsv -j "$jobs" >/dev/null
    took=$(awk -v a="$start" -v b="$(now)" 'BEGIN {print b - a}')
    echo "--batch -j $jobs:       $(rate "$took"), $(awk -v a="$single" -v b="$took" 'BEGIN {printf "%.1f", a / b}')x the separate runs"
done
