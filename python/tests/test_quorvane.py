"""The quorvane module as a program uses it: what it finds, every setting, every failure as a
Python exception, threads side by side, and the same change list as quorvane-compare --json."""
import json
import os
import subprocess
import sys
import threading
import zipfile
import zlib

import pytest

import quorvane
from conftest import write


def summary(result):
    return [(c.kind, c.part, c.text, c.paragraph, c.from_paragraph, c.to_paragraph)
            for c in result.changes]


def test_the_change_list_is_the_command_lines(pair, folder):
    original, revised = pair
    result = quorvane.compare(original, revised, folder / "marked.docx", author="Legal")
    assert result.result == os.fspath(folder / "marked.docx")
    assert result.counts == {"insertion": 2, "deletion": 2, "move": 0, "formatting": 0}
    printed = subprocess.run(
        [os.environ["QUORVANE_COMPARE"], original, revised, "--json", "-o",
         folder / "by-tool.docx", "--author", "Legal"],
        capture_output=True, text=True, check=True).stdout
    listed = json.loads(printed)["changes"]
    assert [(c["kind"], c["part"], c["text"], c.get("paragraph")) for c in listed] == \
        [(c.kind, c.part, c.text, c.paragraph) for c in result.changes]
    # The marks carry the author asked for.
    with zipfile.ZipFile(folder / "marked.docx") as package:
        assert b'w:author="Legal"' in package.read("word/document.xml")


def test_without_a_result_nothing_is_written(pair, folder):
    before = sorted(os.listdir(folder))
    result = quorvane.compare(*pair)
    assert result.result is None and len(result.changes) == 4
    assert sorted(os.listdir(folder)) == before


# Each setting against a pair that differs in what it names: the default marks it, the setting
# does not (or marks it otherwise).
SETTINGS = [
    ("ignore_case", True, ["The Colour red."], ["The colour red."], None),
    ("ignore_whitespace", True, ["Two  spaces here."], ["Two spaces here."], None),
    ("formatting", False, ["A bold word."], ["A bold word."], (0, "bold")),
    ("skip", ["headers"], ["Same body."], ["Same body."], "header"),
]


@pytest.mark.parametrize("name,value,first,second,extra", SETTINGS)
def test_every_setting_leaves_out_what_it_names(folder, name, value, first, second, extra):
    header = extra == "header"
    a = write(folder / "a.docx", first, header="Draft" if header else None)
    b = write(folder / "b.docx", second, header="Final" if header else None,
              bold=extra if isinstance(extra, tuple) else None)
    assert quorvane.compare(a, b).changes, "the pair differs by default"
    assert quorvane.compare(a, b, **{name: value}).changes == []


def test_moves_and_character_level_mark_otherwise(folder):
    texts = [f"This is paragraph number {n} of the document, long enough to be moved whole."
             for n in ("one", "two", "three", "four")]
    a = write(folder / "a.docx", texts)
    b = write(folder / "b.docx", texts[1:] + texts[:1])
    assert quorvane.compare(a, b).counts["move"] == 1
    moved = [c for c in quorvane.compare(a, b).changes if c.kind == "move"][0]
    assert (moved.from_paragraph, moved.to_paragraph, moved.paragraph) == (1, 4, None)
    counts = quorvane.compare(a, b, moves=False).counts
    assert (counts["move"], counts["insertion"], counts["deletion"]) == (0, 1, 1)

    c = write(folder / "c.docx", ["The colour is red."])
    d = write(folder / "d.docx", ["The color is red."])
    assert [x.text for x in quorvane.compare(c, d).changes] == ["colour", "color"]
    assert [x.text for x in quorvane.compare(c, d, character_level=True).changes] == ["u"]


def test_an_unknown_part_to_skip_is_refused(pair):
    with pytest.raises(ValueError, match="skip does not know"):
        quorvane.compare(*pair, skip=["chapters"])


def test_paths_may_be_path_like_and_the_result_in_a_name_of_any_script(pair, folder):
    original, revised = pair
    result = quorvane.compare(original, os.fspath(revised), folder / "résultat été.docx")
    assert os.path.exists(result.result)


@pytest.mark.office  # a package cut short is no zip file, and goes to the office to be read
def test_each_kind_of_bad_input_raises_its_exception(pair, folder):
    original, revised = pair
    with pytest.raises(FileNotFoundError) as missing:
        quorvane.compare(folder / "missing.docx", revised)
    assert missing.value.filename == os.fspath(folder / "missing.docx")
    with pytest.raises(IsADirectoryError):
        quorvane.compare(folder, revised)

    damaged = folder / "damaged.docx"
    damaged.write_bytes(open(original, "rb").read()[:400])
    with pytest.raises(quorvane.UnreadableDocument) as error:
        quorvane.compare(original, damaged)
    assert error.value.filename == os.fspath(damaged) and "damaged" in str(error.value)
    assert isinstance(error.value, ValueError)

    encrypted = os.path.join(os.environ["QUORVANE_SOURCE_DIR"], "tests/office/data/encrypted.docx")
    with pytest.raises(quorvane.UnreadableDocument, match="password"):
        quorvane.compare(encrypted, revised)

    # A part that inflates to 300 MB, beyond what any document holds.
    bomb = folder / "bomb.docx"
    with zipfile.ZipFile(original) as source, zipfile.ZipFile(bomb, "w") as out:
        for item in source.infolist():
            if item.filename != "word/document.xml":
                out.writestr(item, source.read(item))
        with out.open("word/document.xml", "w", force_zip64=True) as part:
            for _ in range(300):
                part.write(b" " * (1 << 20))
    with pytest.raises(quorvane.UnreadableDocument, match="too large"):
        quorvane.compare(original, bomb)


def test_a_result_that_is_an_input_is_refused_and_the_input_kept(pair, folder):
    original, revised = pair
    kept = open(revised, "rb").read()
    with pytest.raises(quorvane.ResultIsInput):
        quorvane.compare(original, revised, folder / "sub" / ".." / "revised.docx")
    assert open(revised, "rb").read() == kept
    with pytest.raises(quorvane.ResultNotWritten) as error:
        quorvane.compare(original, revised, folder / "no such folder" / "r.docx")
    assert isinstance(error.value, OSError)


def test_two_threads_compare_at_once(folder):
    pairs = []
    for n in range(2):
        a = write(folder / f"a{n}.docx", [f"Paragraph {i} of pair {n}." for i in range(300)])
        b = write(folder / f"b{n}.docx",
                  [f"Paragraph {i} of pair {n}{' changed' if i % 10 == 0 else ''}."
                   for i in range(300)])
        pairs.append((a, b))
    found = {}

    def run(n):
        found[n] = quorvane.compare(*pairs[n]).counts["insertion"]

    threads = [threading.Thread(target=run, args=(n,)) for n in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert found == {0: 30, 1: 30}


def test_what_the_command_line_refuses_is_refused_alike_before_anything_runs(pair, folder):
    original, revised = pair
    before = sorted(os.listdir(folder))
    # Refused before the office is asked for: a format that cannot be written was started
    # with no filter, and would have failed as OfficeUnavailable.
    with pytest.raises(ValueError, match="must end in .docx, .odt, .doc or .pdf"):
        quorvane.compare(original, revised, folder / "out.txt")
    with pytest.raises(ValueError, match="at most 64"):
        quorvane.combine(original, [folder / f"copy{n}.docx" for n in range(65)])
    with pytest.raises(ValueError, match="more reviewers' names than copies"):
        quorvane.combine(original, [revised], reviewers=["Ann", "Bo"])
    # The report over its own result: neither is written.
    with pytest.raises(quorvane.ResultIsInput, match="would overwrite"):
        quorvane.report(original, revised, folder / "both.html", folder / "both.html")
    assert sorted(os.listdir(folder)) == before


def test_the_word_diff_and_the_report(pair, folder):
    diff = quorvane.word_diff(*pair)
    assert "The quick [-brown-]{+red+} fox." in diff
    assert "\033[" not in diff
    result = quorvane.report(*pair, folder / "changes.html")
    page = open(folder / "changes.html", encoding="utf-8").read()
    assert "<title>Changes from original.docx to revised.docx</title>" in page
    assert len(result.changes) == 4
    with pytest.raises(quorvane.ResultIsInput):
        quorvane.report(*pair, pair[0])


def test_combining_names_reviewers_and_conflicts(folder):
    a = write(folder / "a.docx", ["The contract starts in May.", "Payment is due in thirty days."])
    ann = write(folder / "ann.docx", ["The contract starts in June.",
                                      "Payment is due in thirty days."])
    bo = write(folder / "bo.docx", ["The contract starts in July.",
                                    "Payment is due in ten days."], author="Bo Chen")
    result = quorvane.combine(a, [ann, bo], folder / "all.docx", reviewers=["Ann"])
    by = {c.text: c for c in result.changes}
    assert by["June"].reviewers == ["Ann"] and by["ten"].reviewers == ["Bo Chen"]
    version = by["The contract starts in July."]
    assert version.conflicts_with and by["ten"].conflicts_with == []
    for number in version.conflicts_with:
        assert result.changes[number - 1].reviewers[0] == "Ann"
    with pytest.raises(ValueError, match="one file"):
        quorvane.combine(a, [ann, ann])


def test_help_says_what_each_argument_does():
    assert "ignore_case: take words that differ only in case as equal" in quorvane.compare.__doc__
    assert "UnreadableDocument" in quorvane.compare.__doc__
    assert issubclass(quorvane.ResultNotWritten, OSError)
    assert issubclass(quorvane.OfficeUnavailable, RuntimeError)


@pytest.mark.office
def test_other_formats_go_through_the_office(pair, folder):
    result = quorvane.compare(*pair, folder / "marked.odt")
    with zipfile.ZipFile(result.result) as package:
        assert package.read("mimetype") == b"application/vnd.oasis.opendocument.text"
    assert result.counts["insertion"] == 2


def test_an_office_that_cannot_start_is_office_unavailable(pair, folder):
    # A document the engine cannot read as it is needs the office, whose engine is not here: in
    # an interpreter of its own, whose office no earlier test started.
    rich = folder / "notes.rtf"
    rich.write_text("{\\rtf1 Some text.}")
    code = ("import quorvane, sys\n"
            "try:\n"
            "    quorvane.compare(sys.argv[1], sys.argv[2])\n"
            "except quorvane.OfficeUnavailable as e:\n"
            "    print('unavailable:', e)\n")
    run = subprocess.run([sys.executable, "-c", code, rich, pair[1]], capture_output=True,
                         text=True, env={**os.environ, "QUORVANE_ENGINE_DIR": os.fspath(folder)})
    assert run.stdout.startswith("unavailable: "), run.stdout + run.stderr


def test_a_counterparts_tracked_changes_keep_their_name_unless_accepted_first(pair, folder):
    original, revised = pair
    # A copy that holds every edit as a tracked change of the counterpart's.
    tracked = quorvane.compare(original, revised, folder / "tracked.docx", author="Counterparty")
    result = quorvane.compare(original, folder / "tracked.docx", folder / "kept.docx",
                              author="Legal")
    assert summary(result) == summary(tracked)
    assert {c.tracked_by for c in result.changes} == {"Counterparty"}
    held = result.tracked_inputs
    assert held["original"] == {"changes": 0, "authors": {}}
    assert held["revised"]["authors"] == {"Counterparty": held["revised"]["changes"]}
    assert held["accepted"] is False
    with zipfile.ZipFile(folder / "kept.docx") as package:
        xml = package.read("word/document.xml")
        assert b'w:author="Counterparty"' in xml and b'w:author="Legal"' not in xml

    accepted = quorvane.compare(original, folder / "tracked.docx", author="Legal",
                                accept_tracked=True)
    assert summary(accepted) == summary(tracked)
    assert {c.tracked_by for c in accepted.changes} == {None}
    assert accepted.tracked_inputs["accepted"] is True
