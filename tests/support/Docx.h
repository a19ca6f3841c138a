// .docx files made by the tests themselves: the least a word processor needs around the body
// XML a test gives, and helpers that write that XML.
#pragma once

#include <map>
#include <string>
#include <vector>

struct DocxParts {
    // More parts by name ("word/media/image1.png"), and relationships of the main part to
    // them: id -> (type suffix, or the whole type; target).
    std::map<std::string, std::string> parts;
    std::map<std::string, std::pair<std::string, std::string>> relationships;
    std::map<std::string, std::string> contentTypes{};  // part name -> its content type
    std::string section{};  // more section properties: header and footer references
    std::string page{};     // the section's page, margins and columns; A4 upright when empty
};

// Both sets of parts.
DocxParts operator+(DocxParts a, const DocxParts& b);

void WriteDocx(const std::string& path, const std::string& body, const DocxParts& extra = {});

// One property of a table, row, cell or section changed, as a user changes it in a real
// document: answers its name ("cell shading"), or "" when `in` has no such thing to change.
enum class PropertyEdit { CellShading, CellAlignment, TableWidth, RowHeight, Landscape };
std::string ChangeOneProperty(const std::string& in, const std::string& out, PropertyEdit edit);

// Writes a copy of the .docx `in` as `out` with the first word of four letters or more in its
// body replaced by `replacement`; answers the word replaced, or "" when there is none (and then
// writes nothing).
std::string ChangeOneWord(const std::string& in, const std::string& out,
                          const std::string& replacement);

// Gives the .docx at `path` document properties (core.xml) holding `properties`: elements in the
// cp: and dc: namespaces, as `<cp:lastModifiedBy>Ann</cp:lastModifiedBy>`.
void SetCoreProperties(const std::string& path, const std::string& properties);

// Rewrites the main part of the .docx at `path` with the declarations Word writes on its root:
// thirty namespaces, most of its own extensions marked ignorable.
void UseWordsDeclarations(const std::string& path);

namespace docx {

// A run of text, with run properties ("<w:b/>") when given.
std::string R(const std::string& text, const std::string& properties = "");
// A paragraph of runs (or of plain text, when no run is given), with paragraph properties.
std::string P(const std::string& content, const std::string& properties = "");
std::string Text(const std::string& text);  // a paragraph of one plain run
// A table of plain-text cells.
std::string Table(const std::vector<std::vector<std::string>>& rows);
// A complete 1 x 1 PNG picture, its one pixel of grey `shade`.
std::string Png(unsigned char shade);
// A picture of the part that relationship `id` names.
std::string Picture(const std::string& id, int size = 95250);  // EMU, each way
// A chart part: a bar of one `value`, its two axes numbered `first` and `second`.
std::string Chart(const std::string& first, const std::string& second, const std::string& value);
// A run showing the chart of relationship rIdChart.
std::string ChartDrawing();
// A run holding the workbook of relationship rIdSheet as an embedded object, shown by the
// picture of rIdPic0.
std::string EmbeddedObject();
// A simple field showing `result`.
std::string Field(const std::string& instruction, const std::string& result);

// A header or footer of `kind` ("default", "first", "even") holding `blocks`.
DocxParts Header(const std::string& blocks, const std::string& kind = "default");
DocxParts Footer(const std::string& blocks, const std::string& kind = "default");
// Footnotes (or endnotes) by id, each holding its blocks, and a run that refers to one.
DocxParts Notes(const std::map<int, std::string>& notes, bool endnotes = false);
std::string NoteReference(int id, bool endnote = false);
// A run anchoring a text box that holds `blocks`, as a DrawingML shape with its VML fallback.
std::string TextBox(const std::string& blocks);
// Comments by id, and a run of text that one of them comments on.
DocxParts Comments(const std::map<int, std::string>& comments);
// A comments part holding `comments` (w:comment elements) as they are; with `threads`
// (w15:commentEx elements), the part that threads replies under their comments too.
DocxParts CommentsPart(const std::string& comments, const std::string& threads = "");

// A numbering part of two lists: 1 bulleted, 2 numbered, each of two levels.
DocxParts Numbering();
std::string Commented(int id, const std::string& text);

// A paragraph as Word writes it: its revision session and its id (eight hexadecimal digits).
std::string WordParagraph(const std::string& id, const std::string& content,
                          const std::string& properties = "");
// A symbol Word shows through Markup Compatibility (an emoji), with its fallback text.
std::string Symbol(const std::string& fallback);
// A check box and a drop-down list as Word's content controls, the list showing `shown`.
std::string CheckBox();
std::string DropDown(const std::string& shown);

}  // namespace docx
