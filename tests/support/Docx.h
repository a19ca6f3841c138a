// .docx files made by the tests themselves: the least a word processor needs around the body
// XML a test gives, and helpers that write that XML.
#pragma once

#include <map>
#include <string>
#include <vector>

struct DocxParts {
    // More parts by name ("word/media/image1.png"), and relationships of the main part to
    // them: id -> (type suffix, target).
    std::map<std::string, std::string> parts;
    std::map<std::string, std::pair<std::string, std::string>> relationships;
};

void WriteDocx(const std::string& path, const std::string& body, const DocxParts& extra = {});

namespace docx {

// A run of text, with run properties ("<w:b/>") when given.
std::string R(const std::string& text, const std::string& properties = "");
// A paragraph of runs (or of plain text, when no run is given), with paragraph properties.
std::string P(const std::string& content, const std::string& properties = "");
std::string Text(const std::string& text);  // a paragraph of one plain run
// A table of plain-text cells.
std::string Table(const std::vector<std::vector<std::string>>& rows);
// A picture of the part that relationship `id` names.
std::string Picture(const std::string& id);
// A simple field showing `result`.
std::string Field(const std::string& instruction, const std::string& result);

}  // namespace docx
