// Where the stories nested in content stand: text boxes in runs, and the references of notes.
// The comparison pairs them by these, and the marked-result reader finds text boxes the same way.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace redline {

// Whether `node` is, or holds, a note's reference or a text box's content.
bool HoldsNestedStories(const pugi::xml_node& node);

bool HoldsTextBox(const pugi::xml_node& node);

// The text boxes below `node`, not those inside other text boxes: the run children (a drawing,
// a picture, alternate content) that hold a text box's content.
std::vector<pugi::xml_node> TextBoxesIn(const pugi::xml_node& node);

// A shape keeps its text box twice, in its own form and in an older (VML) one for readers that
// lack the new: the comparison marks both alike, a reader shows one.
enum class ShapeForms { Both, Shown };

// A text box's own contents, in document order: not those of text boxes inside them, which are
// stories of their own.
std::vector<pugi::xml_node> BoxContents(const pugi::xml_node& box, ShapeForms forms);

// Whether `node` lies in the older form that `shape` keeps.
bool InOlderForm(pugi::xml_node node, const pugi::xml_node& shape);

// The ids of the note references (`name`: "w:footnoteReference" or "w:endnoteReference") below
// `node`, in document order, leaving those in text boxes to the boxes.
std::vector<std::string> NoteReferencesIn(const pugi::xml_node& node, const char* name);

}  // namespace redline
