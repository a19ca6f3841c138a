"""Documents for the module's tests, written with python-docx (Debian's python3-docx)."""
import os

import docx
import pytest


def pytest_configure(config):
    config.addinivalue_line("markers", "office: needs the office (LibreOffice) to convert")


def write(path, paragraphs, header=None, bold=None, author=None):
    """A .docx of plain paragraphs; `bold`: (paragraph, word) set in bold."""
    document = docx.Document()
    for number, text in enumerate(paragraphs):
        paragraph = document.add_paragraph()
        for index, word in enumerate(text.split(" ")):
            run = paragraph.add_run(word + (" " if index < len(text.split(" ")) - 1 else ""))
            run.bold = bold == (number, word) or None
    if header is not None:
        document.sections[0].header.paragraphs[0].text = header
    if author is not None:
        document.core_properties.last_modified_by = author
    document.save(os.fspath(path))
    return path


@pytest.fixture
def folder(tmp_path):
    return tmp_path


@pytest.fixture
def pair(tmp_path):
    """An original and a revised copy that replaces one word, adds one paragraph, drops one."""
    original = write(tmp_path / "original.docx",
                     ["The quick brown fox.", "Jumps over the dog.", "Gone tomorrow."])
    revised = write(tmp_path / "revised.docx",
                    ["The quick red fox.", "Jumps over the dog.", "A new paragraph."])
    return original, revised
