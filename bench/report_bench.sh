#!/usr/bin/env bash
# What reading a comparison costs on a pair of about 400 pages (10,000 paragraphs): the word
# diff (--text), the HTML report (--report), and Chromium loading that report, beside the
# comparison alone. Two shapes: one word changed per 50 paragraphs, and a copy-edited pair where
# nearly every paragraph changed.
#   bench/report_bench.sh build [PARAGRAPHS]
set -euo pipefail
build=$(realpath "$1") paragraphs=${2:-10000}
tool="$build/Quorvane/quorvane-compare"
pairs="${TMPDIR:-/tmp}/quorvane-shape-bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
took() { awk -v a="$1" -v b="$(now)" 'BEGIN {printf "%6.3f s", b - a}'; }

for shape in "one word per 50" "copy-edited"; do
    "$build/bench/shape_bench" --only "$shape" "$paragraphs" >/dev/null
    cp "$pairs/a.docx" "$work/a.docx"
    cp "$pairs/b.docx" "$work/b.docx"
    echo "$shape, $paragraphs paragraphs:"
    start=$(now); "$tool" "$work/a.docx" "$work/b.docx" -o "$work/r.docx" >/dev/null
    echo "  comparison alone (-o r.docx)      $(took "$start")"
    start=$(now); "$tool" "$work/a.docx" "$work/b.docx" --text >"$work/diff.txt"
    echo "  --text                            $(took "$start")  ($(wc -l <"$work/diff.txt") lines)"
    start=$(now); "$tool" "$work/a.docx" "$work/b.docx" --report "$work/r.html" >/dev/null
    echo "  --report                          $(took "$start")  ($(du -k "$work/r.html" | cut -f1) KB)"
    if command -v chromium >/dev/null; then
        printf '<!DOCTYPE html><title>empty</title>' >"$work/empty.html"
        start=$(now); chromium --headless --no-sandbox --disable-gpu --dump-dom \
            "file://$work/empty.html" >/dev/null 2>&1
        echo "  Chromium, an empty page           $(took "$start")"
        start=$(now); chromium --headless --no-sandbox --disable-gpu --dump-dom \
            "file://$work/r.html" >/dev/null 2>&1
        echo "  Chromium, the report              $(took "$start")"
    fi
done
