"""Compares Word documents and combines reviewers' copies, marking every difference as a tracked
change, without an office for Word 2007+ documents."""

import os
from typing import Iterable, Optional, Sequence, Union

Path = Union[str, os.PathLike[str]]

class UnreadableDocument(ValueError):
    """A document that cannot be used: damaged, encrypted, not a Word document, too large."""
    filename: str

class ResultIsInput(ValueError):
    """The result would overwrite one of the inputs; nothing was written."""

class ResultNotWritten(OSError):
    """The result cannot be written: its folder is missing or closed, or the disk is full."""

class OfficeUnavailable(RuntimeError):
    """A document in another format needs the office, and it cannot be started or failed."""

class ComparisonFailed(RuntimeError):
    """The comparison itself failed on documents it could read: a fault of ours to report."""

class Change:
    """One change the comparison found."""
    kind: str  # "insertion", "deletion", "move" or "formatting"
    part: str  # "body", "table", "header", "footer", "footnote", "endnote", "text box", "section", "comment"
    text: str
    paragraph: Optional[int]  # where it stands, from 1 (the original's for a deletion); None for a move
    from_paragraph: Optional[int]  # a move: where it was
    to_paragraph: Optional[int]  # a move: where it is
    author: Optional[str]  # in a comment: the comment's author
    reviewers: list[str]  # combined copies: who made it
    conflicts_with: list[int]  # combined copies: the numbers (from 1) of the changes it conflicts with
    tracked_by: Optional[str]  # whose tracked change in the revised document it is; None: untracked

class Result:
    """What a comparison or a combining found."""
    changes: list[Change]
    counts: dict[str, int]  # insertion, deletion, move, formatting
    result: Optional[str]  # where the marked-up document was stored
    # each input's tracked changes by author, and whether they were accepted before comparing:
    # {"original": {"changes": 3, "authors": {"Ann": 3}}, "revised": {...}, "accepted": False}
    tracked_inputs: dict

def compare(original: Path, revised: Path, result: Optional[Path] = None, *,
            author: Optional[str] = None, formatting: bool = True, ignore_case: bool = False,
            ignore_whitespace: bool = False, moves: bool = True, character_level: bool = False,
            skip: Iterable[str] = (), accept_tracked: bool = False) -> Result:
    """Marks the differences of `revised` against `original` as tracked changes, stores the
    marked-up document at `result` (.docx, .odt, .doc or .pdf) when one is given, and answers
    every change."""

def combine(original: Path, copies: Sequence[Path], result: Optional[Path] = None, *,
            reviewers: Optional[Sequence[str]] = None, author: Optional[str] = None,
            formatting: bool = True, ignore_case: bool = False, ignore_whitespace: bool = False,
            moves: bool = True, character_level: bool = False,
            skip: Iterable[str] = (), accept_tracked: bool = False) -> Result:
    """Combines reviewers' copies of `original` into one document, each copy's changes under
    its reviewer's name; changes to one paragraph made apart name each other in
    `conflicts_with`."""

def word_diff(original: Path, revised: Path, *, author: Optional[str] = None,
              formatting: bool = True, ignore_case: bool = False,
              ignore_whitespace: bool = False, moves: bool = True,
              character_level: bool = False, skip: Iterable[str] = (), accept_tracked: bool = False) -> str:
    """The changes as the command line's --text gives them, without colour."""

def report(original: Path, revised: Path, page: Path, result: Optional[Path] = None, *,
           author: Optional[str] = None, formatting: bool = True, ignore_case: bool = False,
           ignore_whitespace: bool = False, moves: bool = True, character_level: bool = False,
           skip: Iterable[str] = (), accept_tracked: bool = False) -> Result:
    """Writes the command line's --report of the changes as one HTML page at `page`."""
