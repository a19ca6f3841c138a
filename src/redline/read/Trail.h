// A part's content in reading order, one step per character or object, each with the tracked
// change it stands in: what lays a document's own tracked changes over a comparison's result
// walks two of these side by side. Text is stepped by code point, so that two writers who cut
// their runs differently still read alike.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <vector>

namespace redline {

// An equation is one step: its parts are not laid over one by one.
enum class TrailKind : std::uint8_t { Text, Child, ParagraphEnd, RowEnd, Equation };

struct TrailStep {
    TrailKind kind = TrailKind::Text;
    bool removed = false;      // in a deletion: not there once every change is accepted
    std::uint32_t key = 0;     // what it is: alike steps of two documents have one key
    std::uint32_t offset = 0;  // Text: where its code point starts in the text, in bytes
    std::uint32_t length = 0;  // Text: its code point's bytes
    // The text element (Text), the run's child (Child), the paragraph or the row it ends.
    pugi::xml_node node{};
    // The tracked change it stands in: the insertion, deletion or move around its run, the
    // paragraph's or the row's own mark, or none.
    pugi::xml_node mark{};
    // Where the step is a paragraph's end, or a paragraph's content: the paragraph.
    pugi::xml_node paragraph{};
    bool partly = false;  // Equation: only some of its parts are changed
    bool whole = false;   // Text: a whole text in one step, its key the text's hash
};

// Every step of the content below `root`: paragraphs, tables, content controls, links and the
// text boxes of drawings (in each of their forms), in the order a reader meets them. `coarse`:
// a text in no tracked change, in a run whose properties record no change, is one step (a
// long document's untouched stretches then cost a step a text, not one a character).
std::vector<TrailStep> TrailOf(const pugi::xml_node& root, bool coarse = false);

// A whole text's step as one step a code point.
void AppendFineSteps(const TrailStep& whole, std::vector<TrailStep>& steps);

// A digest of what the steps read once every change is accepted, alike however the texts are
// cut into steps.
std::uint64_t AcceptedDigest(const std::vector<TrailStep>& steps);

// Whether the mark takes its content away (a deletion or a move's source).
bool Removes(const pugi::xml_node& mark);

// The change record of the run's properties (w:rPrChange), or none.
pugi::xml_node FormatChangeOf(const TrailStep& step);

}  // namespace redline
