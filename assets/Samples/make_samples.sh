#!/usr/bin/env bash
# Makes sample1.doc and sample2.doc (Word 97-2003) from the HTML beside them with LibreOffice,
# in a private profile. sample2 revises sample1: words changed, a list item added, a paragraph
# dropped (the kitchen) and one moved (the contact, to the top). The .doc files are committed;
# run this again after editing the text.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
soffice "-env:UserInstallation=file://$profile" --headless --norestore \
    --convert-to 'doc:MS Word 97' --outdir "$here" "$here/sample1.html" "$here/sample2.html" \
    >/dev/null
ls -l "$here"/sample*.doc
