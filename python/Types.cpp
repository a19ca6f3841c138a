// The module's exception types and the values it answers with: Change and Result.
#include <sstream>

#include "Definitions.h"
#include "Jobs.h"

namespace pymodule {

namespace {

PyObject* NewException(py::module_& m, const char* name, PyObject* base, const char* doc) {
    PyObject* type =
        PyErr_NewExceptionWithDoc((std::string("quorvane.") + name).c_str(), doc, base, nullptr);
    m.add_object(name, py::handle(type));
    return type;
}

// Where a change stands: its paragraph, or a move's two.
void DefinePlaces(py::class_<redline::Change>& change) {
    change
        .def_property_readonly(
            "paragraph",
            [](const redline::Change& c) -> std::optional<std::uint32_t> {
                if (c.kind == redline::ChangeKind::Move) return std::nullopt;
                return c.kind == redline::ChangeKind::Deletion ? c.originalParagraph
                                                               : c.revisedParagraph;
            },
            "the paragraph it stands in, counted from 1 in its part (the original's for a "
            "deletion); None for a move")
        .def_property_readonly(
            "from_paragraph",
            [](const redline::Change& c) -> std::optional<std::uint32_t> {
                if (c.kind != redline::ChangeKind::Move) return std::nullopt;
                return c.originalParagraph;
            },
            "for a move, where it was in the original")
        .def_property_readonly(
            "to_paragraph",
            [](const redline::Change& c) -> std::optional<std::uint32_t> {
                if (c.kind != redline::ChangeKind::Move) return std::nullopt;
                return c.revisedParagraph;
            },
            "for a move, where it is in the revised document");
}

}  // namespace

void DefineErrors(py::module_& m) {
    errors.unreadable = NewException(
        m, "UnreadableDocument", PyExc_ValueError,
        "A document that cannot be used: damaged, encrypted, not a Word document, too large. "
        "Its filename attribute names it.");
    errors.resultIsInput =
        NewException(m, "ResultIsInput", PyExc_ValueError,
                     "The result would overwrite one of the inputs; nothing was written.");
    errors.resultNotWritten = NewException(
        m, "ResultNotWritten", PyExc_OSError,
        "The result cannot be written: its folder is missing or closed, or the disk is full.");
    errors.officeUnavailable = NewException(
        m, "OfficeUnavailable", PyExc_RuntimeError,
        "A document in another format needs the office, and it cannot be started or failed.");
    errors.comparisonFailed = NewException(
        m, "ComparisonFailed", PyExc_RuntimeError,
        "The comparison itself failed on documents it could read: a fault of ours to report.");
}

void DefineChange(py::module_& m) {
    py::class_<redline::Change> change(m, "Change", "One change the comparison found.");
    change
        .def_property_readonly(
            "kind", [](const redline::Change& c) { return redline::KindName(c.kind); },
            "\"insertion\", \"deletion\", \"move\" or \"formatting\"")
        .def_property_readonly(
            "part", [](const redline::Change& c) { return redline::PartName(c.part); },
            "\"body\", \"table\", \"header\", \"footer\", \"footnote\", \"endnote\", "
            "\"text box\", \"section\" or \"comment\"")
        .def_readonly("text", &redline::Change::text, "the text it covers");
    DefinePlaces(change);
    change
        .def_property_readonly(
            "author",
            [](const redline::Change& c) -> std::optional<std::string> {
                if (c.author.empty()) return std::nullopt;
                return c.author;
            },
            "in a comment: the comment's author")
        .def_property_readonly(
            "tracked_by",
            [](const redline::Change& c) -> std::optional<std::string> {
                if (c.trackedBy.empty()) return std::nullopt;
                return c.trackedBy;
            },
            "whose tracked change in the revised document it is, or None for a difference it "
            "made without tracking")
        .def_readonly("reviewers", &redline::Change::reviewers,
                      "combined copies: who made it (more than one when they made it alike)")
        .def_readonly("conflicts_with", &redline::Change::conflictsWith,
                      "combined copies: the numbers (from 1, in the list) of the changes "
                      "another reviewer made to the same paragraph")
        .def("__repr__", [](const redline::Change& c) {
            return std::string("<quorvane.Change ") + redline::KindName(c.kind) + " in the " +
                   redline::PartName(c.part) + ": " +
                   py::repr(py::str(c.text)).cast<std::string>() + ">";
        });
}

void DefineResult(py::module_& m) {
    py::class_<Result>(m, "Result", "What a comparison or a combining found.")
        .def_readonly("changes", &Result::changes, "every change, in reading order")
        .def_property_readonly(
            "counts", [](const Result& r) { return Counts(r.changes); },
            "the changes counted by kind: insertion, deletion, move, formatting")
        .def_readonly("result", &Result::result, "where the marked-up document was stored, or None")
        .def_property_readonly(
            "tracked_inputs",
            [](const Result& r) {
                auto held = [](const std::vector<redline::TrackedAuthor>& authors) {
                    py::dict byAuthor;
                    int all = 0;
                    for (const redline::TrackedAuthor& a : authors) {
                        byAuthor[py::str(a.author)] = a.changes;
                        all += a.changes;
                    }
                    py::dict out;
                    out["changes"] = all;
                    out["authors"] = byAuthor;
                    return out;
                };
                py::dict out;
                out["original"] = held(r.tracked.original);
                out["revised"] = held(r.tracked.revised);
                out["accepted"] = r.tracked.accepted;
                return out;
            },
            "the tracked changes each input held, by author, and whether they were accepted "
            "before comparing: {\"original\": {\"changes\": 3, \"authors\": {\"Ann\": 3}}, "
            "\"revised\": ..., \"accepted\": False}")
        .def("__repr__", [](const Result& r) {
            const redline::ChangeCounts c = redline::Count(r.changes);
            std::ostringstream out;
            out << "<quorvane.Result " << c.insertions << " insertions, " << c.deletions
                << " deletions, " << c.moves << " moves, " << c.formatting << " formatting>";
            return out.str();
        });
}

}  // namespace pymodule
