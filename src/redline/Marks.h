// Tracked-change markup: the stamp every change carries (id, author, date), and marking a run,
// a paragraph, a table row or a whole block as inserted, deleted or moved, in the forms that both
// Word and Writer read.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace redline {

enum class Mark { Insert, Delete, MoveFrom, MoveTo };

class Stamp {
  public:
    Stamp(std::string author, std::string date)
        : author_(std::move(author)), date_(std::move(date)) {}
    // Gives `element` a fresh id, the author and the date.
    void on(pugi::xml_node element);
    int nextId() { return id_++; }
    // The id the next change will get: the marks written from here on have it or a later one.
    int peek() const { return id_; }

  private:
    std::string author_, date_;
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
