// Tracked-change markup: the stamp every change carries (id, author, date), and marking a run,
// a paragraph, a table row or a whole block as inserted, deleted or moved, in the forms that both
// Word and Writer read.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <utility>
#include <vector>

namespace redline {

enum class Mark { Insert, Delete, MoveFrom, MoveTo };

// Also the names and values that marking writes again and again: they are parsed once into each
// document that gets marks, and the elements and attributes written from them share their text
// instead of each holding a copy of its own (the XML library shares the text of a copy made in
// the document it was parsed into). A rewritten document's marks are most of its tree.
class Stamp {
  public:
    Stamp(std::string author, std::string date);
    // Gives `element` a fresh id, the author and the date.
    void on(pugi::xml_node element);
    int nextId() { return id_++; }
    // The id the next change will get: the marks written from here on have it or a later one.
    int peek() const { return id_; }
    // The changes marked from here on are numbered from `id`.
    void numberFrom(int id) { id_ = id; }

    // An empty element `name` ("w:r", "w:t", "w:del") at the end of `parent`, or before `before`.
    pugi::xml_node append(pugi::xml_node parent, const char* name);
    pugi::xml_node insertBefore(pugi::xml_node parent, const char* name,
                                const pugi::xml_node& before);
    // Gives a text element xml:space="preserve".
    void preserve(pugi::xml_node text);
    // Takes what sharing needs out of every document; before any of them is written.
    void finish();

  private:
    // The element that holds the shared names and values in the document of `node`.
    pugi::xml_node shared(const pugi::xml_node& node);

    std::string author_, date_;
    std::string prototypes_;  // the shared names and values, as XML
    std::vector<std::pair<const void*, pugi::xml_node>> holders_;  // by document
    int id_ = 100000;  // well above the ids that bookmarks and comments of a document use
};

const char* MarkName(Mark mark);

// Wraps the run in a mark element; in a deletion its text becomes deleted text.
void MarkRun(pugi::xml_node run, Mark mark, Stamp& stamp);

// Wraps every run below `root` (or `root` itself when it is a run), leaving pictures' own
// content alone.
void MarkRuns(pugi::xml_node root, Mark mark, Stamp& stamp);

// Marks the paragraph's mark: what ends the paragraph is itself inserted, deleted or moved.
void MarkParagraphMark(pugi::xml_node paragraph, Mark mark, Stamp& stamp);
// Takes such a mark away again; answers which mark it was, if any.
bool UnmarkParagraphMark(pugi::xml_node paragraph, Mark& was);

// Marks a table row inserted or deleted (moves count as such for rows): the row's own mark and
// every run and paragraph mark in its cells.
void MarkRow(pugi::xml_node row, Mark mark, Stamp& stamp);

// Marks a whole paragraph, table or other block; a moved paragraph also gets the range marks
// with the move's name.
void MarkBlock(pugi::xml_node block, Mark mark, Stamp& stamp, int move = 0);

// The properties element `name` ("w:pPr", "w:rPr", "w:trPr") of `owner`, made where the schema
// wants it when there is none.
pugi::xml_node PropertiesOf(pugi::xml_node owner, const char* name);

}  // namespace redline
