// Random documents and random edits of them, for property tests and fuzzing: paragraphs of words
// with formatting, tabs, breaks, fields, links, notes, pictures, equations, content controls,
// text boxes and comments; tables with merged cells. A document is a model that is written out as a
// .docx with its runs cut at random places, so that two writings of one model differ only in runs.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace generated {

enum class TokenKind {
    Word,
    Space,
    Tab,
    Break,
    Field,
    Link,
    Note,
    Picture,
    Math,
    Control,
    Box,
    Comment,  // on the word "noted"; `format` its author, `target` what makes its date
};

struct Reply {
    std::string text;
    int author = 0, second = 0;  // as a comment's `format` and `target`
};

struct Token {
    TokenKind kind;
    std::string text;  // a word; a field's instruction; a note's or a box's text; an equation
    int format = 0;    // 0 plain, 1 bold, 2 italic, 3 bold and coloured; a picture's size
    int target = 0;    // a link's address, a picture's part
    std::vector<Reply> replies = {};  // a comment's, on its word as Word threads them
};

struct Paragraph {
    std::vector<Token> tokens;
    int alignment = 0;  // 0 as the style says, 1 centred, 2 right
    // In a table, a cell is one paragraph, and the cell's formatting travels with it: 0 plain,
    // 1 shaded, 2 centred vertically, 3 both; and its row's height when it is the first cell.
    int cellLook = 0, rowHeight = 0;
    int list = 0, level = 0;  // 0 in no list, 1 bulleted, 2 numbered; its level in the list
    // Its id (w14:paraId), as Word gives every paragraph one: kept through edits, as Word keeps
    // it in a copy; 0 for none.
    std::uint32_t id = 0;
};

struct Table {
    std::vector<std::vector<Paragraph>> rows;  // a paragraph a cell
    bool merged = false;                       // the first row's first two cells are one
    bool mergedDown = false;                   // the first column's first two cells are one
    bool rowInControl = false;                 // the last row sits in a content control
    bool cellInControl = false;                // the first row's last cell sits in one
    int look = 0;  // 0 as its style says; 1 centred and of a set width; 2 with borders of its own
    std::vector<int> columns{};  // the grid's widths, when not all alike
};

struct Block {
    bool isTable = false;
    Paragraph paragraph;
    Table table;
    bool control = false;  // wrapped in a block-level content control
};

struct Document {
    std::vector<Block> blocks;
    std::vector<Block> header;
    int page = 0;  // 0 A4 upright, 1 landscape, 2 wide margins, 3 two columns
};

using Random = std::mt19937;

Document RandomDocument(Random& random, int blocks);

// A copy with `count` random edits: words, paragraphs, moves, rows, cells (merged and split too),
// formatting of words, tables, rows, cells, lists, pictures' sizes and the page, field
// instructions, link targets, equations, notes; and now and then a comment added, removed,
// edited or answered. `done` gets a line for each edit.
Document Edit(const Document& document, Random& random, int count, std::string* done = nullptr);

// Writes the document as a .docx at `path`, its runs cut at random places.
void WriteGenerated(const Document& document, const std::string& path, Random& random);

}  // namespace generated
