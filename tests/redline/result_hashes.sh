#!/usr/bin/env bash
# Hashes the engine's results on fixed inputs: generated pairs, the benchmark's shapes, real Word
# documents (the office's templates and generated documents as the office converts them, and the
# templates that Debian's packages ship), and the sample pair as the office converts it. The
# inputs are made once into INPUTS and kept, so that a later run compares the very same files.
#   tests/redline/result_hashes.sh BUILD_DIR INPUTS [--seeds N]
set -euo pipefail
build=$(cd "$1" && pwd) inputs=$2
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)

# Converts FILES... to Word documents into FOLDER through a private office profile.
to_docx() {
    local folder=$1
    shift
    soffice "-env:UserInstallation=file://$inputs/converter" --headless \
        --convert-to 'docx:MS Word 2007 XML' --outdir "$folder" "$@" >/dev/null 2>&1 || true
}

if [ ! -d "$inputs" ]; then
    mkdir -p "$inputs"/{shapes,corpus,samples,made}
    "$build/bench/shape_bench" --pairs "$inputs/shapes" 3000
    cp /usr/lib/python3/dist-packages/docx/templates/default.docx "$inputs/corpus/python-docx.docx"
    (cd /usr/share/pandoc/data/docx && python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for folder, _, files in sorted(os.walk(".")):
        for name in sorted(files):
            z.write(os.path.join(folder, name), os.path.relpath(os.path.join(folder, name), "."))
' "$inputs/corpus/pandoc-reference.docx")
    find /usr/lib/libreoffice/share/template -name '*.ott' | sort | head -20 |
        while read -r template; do to_docx "$inputs/corpus" "$template"; done
    "$build/tests/redline/result_hashes" --write-generated "$inputs/made" 12
    soffice "-env:UserInstallation=file://$inputs/converter" --headless --convert-to doc \
        --outdir "$inputs/made" "$inputs"/made/*.docx >/dev/null 2>&1
    to_docx "$inputs/corpus" "$inputs"/made/*.doc
    cp "$root/assets/Samples/sample1.doc" "$inputs/samples/sample-a.doc"
    cp "$root/assets/Samples/sample2.doc" "$inputs/samples/sample-b.doc"
    to_docx "$inputs/samples" "$inputs/samples/sample-a.doc" "$inputs/samples/sample-b.doc"
    rm -rf "$inputs/converter" "$inputs/made"
fi
exec "$build/tests/redline/result_hashes" "$@" "$inputs/shapes" "$inputs/corpus" "$inputs/samples"
