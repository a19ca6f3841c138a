#include "support/DocumentGenerator.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "support/Docx.h"
#include "support/GeneratorRandom.h"

namespace generated {

namespace {

const std::vector<std::string> kWords = {"alpha",
                                         "beta",
                                         "gamma",
                                         "delta",
                                         "contract",
                                         "party",
                                         "shall",
                                         "pay",
                                         "the",
                                         "of",
                                         "and",
                                         "семь",
                                         "лет",
                                         "naïve",
                                         "café",
                                         "Maß",
                                         "www.example.org",
                                         "*",
                                         "-",
                                         ",",
                                         ".",
                                         "November",
                                         "four",
                                         "two",
                                         "(a)"};
const std::vector<std::string> kFields = {" PAGE ", " DATE \\@ \"yyyy\" ", " NUMPAGES "};
// One with a slash is written as a fraction: its bar has control properties of its own.
const std::vector<std::string> kEquations = {"x+1", "a=b", "y²", "1/2", "a/b"};

std::string AnyWord(Random& random) {
    return kWords[Pick(random, static_cast<int>(kWords.size()))];
}

Token RandomToken(Random& random) {
    const int format = Chance(random, 25) ? 1 + Pick(random, 3) : 0;
    switch (Chance(random, 80) ? 0 : Pick(random, 10)) {
        case 1:
            return {TokenKind::Tab, "", format};
        case 2:
            return {TokenKind::Break, "", format};
        case 3:
            return {TokenKind::Field, kFields[Pick(random, 3)], format};
        case 4:
            return {TokenKind::Link, AnyWord(random) + " " + AnyWord(random), 0, Pick(random, 2)};
        case 5:
            return {TokenKind::Note, AnyWord(random) + " " + AnyWord(random), 0};
        case 6:
            return {TokenKind::Picture, "", 0, Pick(random, 2)};
        case 7:
            return {TokenKind::Math, kEquations[Pick(random, static_cast<int>(kEquations.size()))],
                    0};
        case 8:
            return {TokenKind::Control, AnyWord(random) + " " + AnyWord(random), format};
        case 9:
            return {TokenKind::Box, AnyWord(random) + " " + AnyWord(random), 0};
        default:
            return {TokenKind::Word, AnyWord(random), format};
    }
}

Paragraph RandomParagraph(Random& random, int most = 14) {
    Paragraph paragraph;
    // Drawn ahead without drawing, so that the documents of every seed stay what they were.
    Random ahead = random;
    ahead.discard(7);
    paragraph.id = (static_cast<std::uint32_t>(ahead()) & 0x7FFFFFFEu) | 1u;
    paragraph.alignment = Chance(random, 15) ? 1 + Pick(random, 2) : 0;
    const int count = 1 + Pick(random, most);
    for (int i = 0; i < count; ++i) {
        if (i > 0) paragraph.tokens.push_back({TokenKind::Space, " "});
        paragraph.tokens.push_back(RandomToken(random));
    }
    return paragraph;
}

Block RandomBlock(Random& random) {
    Block block;
    if (Chance(random, 12)) {
        block.isTable = true;
        const int rows = 1 + Pick(random, 4), columns = 2 + Pick(random, 2);
        for (int r = 0; r < rows; ++r) {
            block.table.rows.emplace_back();
            for (int c = 0; c < columns; ++c) {
                block.table.rows.back().push_back(RandomParagraph(random, 3));
            }
        }
        block.table.merged = Chance(random, 30);
        block.table.rowInControl = Chance(random, 20);
        block.table.cellInControl = Chance(random, 20);
        return block;
    }
    block.paragraph = RandomParagraph(random);
    block.control = Chance(random, 8);
    return block;
}

// The words of a paragraph that an edit may touch.
std::vector<std::size_t> WordsOf(const Paragraph& paragraph) {
    std::vector<std::size_t> words;
    for (std::size_t i = 0; i < paragraph.tokens.size(); ++i) {
        if (paragraph.tokens[i].kind == TokenKind::Word) words.push_back(i);
    }
    return words;
}

// A paragraph to edit: a body paragraph, or a table cell's.
Paragraph* AnyParagraph(Document& document, Random& random) {
    if (document.blocks.empty()) return nullptr;
    Block& block = document.blocks[Pick(random, static_cast<int>(document.blocks.size()))];
    if (!block.isTable) return &block.paragraph;
    auto& row = block.table.rows[Pick(random, static_cast<int>(block.table.rows.size()))];
    return &row[Pick(random, static_cast<int>(row.size()))];
}

Token* AnyToken(Document& document, Random& random, TokenKind kind) {
    std::vector<Token*> found;
    for (Block& block : document.blocks) {
        std::vector<Paragraph*> paragraphs{&block.paragraph};
        for (auto& row : block.table.rows) {
            for (auto& cell : row) paragraphs.push_back(&cell);
        }
        for (Paragraph* paragraph : paragraphs) {
            for (Token& token : paragraph->tokens) {
                if (token.kind == kind) found.push_back(&token);
            }
        }
    }
    return found.empty() ? nullptr : found[Pick(random, static_cast<int>(found.size()))];
}

// Formatting beyond paragraphs: a table's, a row's, a cell's or the page's.
std::string Reformat(Document& document, Random& random) {
    std::vector<Table*> tables;
    for (Block& block : document.blocks) {
        if (block.isTable && !block.table.rows.empty()) tables.push_back(&block.table);
    }
    if (Chance(random, 30)) {
        if (Token* picture = AnyToken(document, random, TokenKind::Picture)) {
            picture->format = (picture->format + 1 + Pick(random, 2)) % 3;
            return "a picture's size changed";
        }
    }
    if (Chance(random, 30)) {
        std::vector<Paragraph*> paragraphs;
        for (Block& block : document.blocks) {
            if (!block.isTable) paragraphs.push_back(&block.paragraph);
        }
        if (!paragraphs.empty()) {
            Paragraph& paragraph = *paragraphs[Pick(random, static_cast<int>(paragraphs.size()))];
            if (paragraph.list && Chance(random, 50)) {
                paragraph.level = 1 - paragraph.level;
                return "a list item's level changed";
            }
            paragraph.list = (paragraph.list + 1 + Pick(random, 2)) % 3;
            return "a paragraph's list changed";
        }
    }
    if (tables.empty() || Chance(random, 25)) {
        document.page = (document.page + 1 + Pick(random, 3)) % 4;
        return "the page's setup changed";
    }
    Table& table = *tables[Pick(random, static_cast<int>(tables.size()))];
    auto& row = table.rows[Pick(random, static_cast<int>(table.rows.size()))];
    switch (Pick(random, 6)) {
        case 5:
            // Two cells made one, across or down, or one made two again.
            if (Chance(random, 50) && table.rows[0].size() >= 2) {
                table.merged = !table.merged;
                return table.merged ? "two cells merged across" : "a cell split across";
            }
            if (table.rows.size() < 2 || table.rows[1].empty()) return "nothing";
            table.mergedDown = !table.mergedDown;
            return table.mergedDown ? "two cells merged down" : "a cell split down";
        case 4: {
            // A cell inserted into, or deleted from, a row below the first.
            if (table.rows.size() < 2) return "nothing";
            auto& cells = table.rows[1 + Pick(random, static_cast<int>(table.rows.size()) - 1)];
            const int at = Pick(random, static_cast<int>(cells.size()));
            if (cells.size() > 1 && Chance(random, 50)) {
                cells.erase(cells.begin() + at);
                return "a cell deleted";
            }
            cells.insert(cells.begin() + at, RandomParagraph(random, 3));
            return "a cell inserted";
        }
        case 0:
            table.look = (table.look + 1 + Pick(random, 2)) % 3;
            return "a table's formatting changed";
        case 1:
            row[0].rowHeight = (row[0].rowHeight + 1 + Pick(random, 2)) % 3;
            return "a row's height changed";
        case 2: {
            Paragraph& cell = row[Pick(random, static_cast<int>(row.size()))];
            cell.cellLook = (cell.cellLook + 1 + Pick(random, 3)) % 4;
            return "a cell's formatting changed";
        }
        default:
            table.columns.assign(table.rows[0].size(), 2000);
            table.columns[Pick(random, static_cast<int>(table.columns.size()))] =
                1000 + 500 * Pick(random, 4);
            return "a table's columns changed";
    }
}

std::string EditOnce(Document& document, Random& random) {
    const int kind = Pick(random, 16);
    if (kind == 15) return Reformat(document, random);
    if (kind == 14 && !document.header.empty()) {
        document.header[0].paragraph.tokens[0].text = AnyWord(random);
        return "a header word replaced";
    }
    auto blocks = static_cast<int>(document.blocks.size());
    if (kind == 0 || kind == 1 || kind == 2 || kind == 3) {
        Paragraph* paragraph = AnyParagraph(document, random);
        if (!paragraph) return "nothing";
        const auto words = WordsOf(*paragraph);
        if (words.empty()) return "nothing";
        const std::size_t at = words[Pick(random, static_cast<int>(words.size()))];
        Token& token = paragraph->tokens[at];
        if (kind == 0) {
            const std::string old = token.text;
            token.text = AnyWord(random);
            return "a word replaced: " + old + " by " + token.text;
        }
        if (kind == 1) return token.format = (token.format + 1) % 4, "a word reformatted";
        if (kind == 2) {
            const std::string word = AnyWord(random);
            paragraph->tokens.insert(paragraph->tokens.begin() + static_cast<long>(at) + 1,
                                     {{TokenKind::Space, " "}, {TokenKind::Word, word}});
            return "a word inserted: " + word;
        }
        paragraph->tokens.erase(paragraph->tokens.begin() + static_cast<long>(at));
        return "a word deleted";
    }
    if (kind == 4 && blocks > 1) {
        document.blocks.erase(document.blocks.begin() + Pick(random, blocks));
        return "a block deleted";
    }
    if (kind == 5) {
        document.blocks.insert(document.blocks.begin() + Pick(random, blocks + 1),
                               RandomBlock(random));
        return "a block inserted";
    }
    if (kind == 6 && blocks > 2) {
        const int from = Pick(random, blocks);
        Block moved = document.blocks[from];
        document.blocks.erase(document.blocks.begin() + from);
        document.blocks.insert(document.blocks.begin() + Pick(random, blocks), moved);
        return "a block moved";
    }
    if (kind == 7 || kind == 8) {
        for (Block& block : document.blocks) {
            if (!block.isTable) continue;
            auto& rows = block.table.rows;
            const int at = Pick(random, static_cast<int>(rows.size()));
            if (kind == 8 && rows.size() > 1) {
                rows.erase(rows.begin() + at);
                return "a row deleted";
            }
            auto row = rows[at];
            for (auto& cell : row) cell = RandomParagraph(random, 3);
            rows.insert(rows.begin() + at, row);
            return "a row inserted";
        }
        return "nothing";
    }
    if (kind == 9) {
        if (Token* field = AnyToken(document, random, TokenKind::Field)) {
            field->text = kFields[(std::find(kFields.begin(), kFields.end(), field->text) -
                                   kFields.begin() + 1) %
                                  kFields.size()];
            return "a field's instruction changed";
        }
    }
    if (kind == 10) {
        if (Token* link = AnyToken(document, random, TokenKind::Link)) {
            link->target = 1 - link->target;
            return "a link's target changed";
        }
    }
    if (kind == 11) {
        if (Token* math = AnyToken(document, random, TokenKind::Math)) {
            math->text += "+z";
            return "an equation changed";
        }
    }
    if (kind == 12) {
        for (TokenKind k : {TokenKind::Note, TokenKind::Control, TokenKind::Box}) {
            if (Token* token = AnyToken(document, random, k)) {
                token->text = AnyWord(random) + " " + token->text;
                return "a note, control or text box changed";
            }
        }
    }
    if (kind == 13) {
        if (Paragraph* paragraph = AnyParagraph(document, random)) {
            paragraph->alignment = (paragraph->alignment + 1) % 3;
            return "a paragraph realigned";
        }
    }
    return "nothing";
}

}  // namespace

// A comment on the word "noted", put in a body paragraph between two of its tokens.
void AddComment(Document& document, Random& random) {
    std::vector<Paragraph*> paragraphs;
    for (Block& block : document.blocks) {
        if (!block.isTable) paragraphs.push_back(&block.paragraph);
    }
    if (paragraphs.empty()) return;
    Paragraph& paragraph = *paragraphs[Pick(random, static_cast<int>(paragraphs.size()))];
    const int at = Pick(random, static_cast<int>(paragraph.tokens.size()) + 1);
    const Token comment{TokenKind::Comment, AnyWord(random) + " " + AnyWord(random),
                        Pick(random, 3), Pick(random, 86400)};
    paragraph.tokens.insert(paragraph.tokens.begin() + at,
                            {{TokenKind::Space, " "}, comment, {TokenKind::Space, " "}});
}

// Comments come and go on a random stream of their own, so that every seed's documents and
// edits stay what they were without them.
std::string EditComments(Document& document, Random& random) {
    std::string done;
    if (Chance(random, 15)) {
        if (Token* comment = AnyToken(document, random, TokenKind::Comment)) {
            *comment = {TokenKind::Word, "noted"};  // the word stays, the comment goes
            done += "a comment removed\n";
        }
    }
    if (Chance(random, 15)) {
        if (Token* comment = AnyToken(document, random, TokenKind::Comment)) {
            comment->text = AnyWord(random) + " " + comment->text;
            done += "a comment edited\n";
        }
    }
    if (Chance(random, 15)) {
        AddComment(document, random);
        done += "a comment added\n";
    }
    if (Chance(random, 15)) {
        if (Token* comment = AnyToken(document, random, TokenKind::Comment)) {
            comment->replies.push_back({"re " + AnyWord(random), 1 + Pick(random, 3),
                                        comment->target + 1 + Pick(random, 3600)});
            done += "a comment answered\n";
        }
    }
    if (Chance(random, 15)) {
        if (Token* comment = AnyToken(document, random, TokenKind::Comment);
            comment && !comment->replies.empty()) {
            comment->replies.erase(comment->replies.begin() +
                                   Pick(random, static_cast<int>(comment->replies.size())));
            done += "a reply removed\n";
        }
    }
    return done;
}

Document RandomDocument(Random& random, int blocks) {
    Document document;
    for (int i = 0; i < blocks; ++i) document.blocks.push_back(RandomBlock(random));
    Random comments = random;
    comments.discard(19);
    for (int i = Pick(comments, 4); i > 0; --i) AddComment(document, comments);
    if (Chance(random, 30)) {
        Block header;
        for (int i = 0; i < 4; ++i) {
            header.paragraph.tokens.push_back({TokenKind::Word, AnyWord(random)});
            header.paragraph.tokens.push_back({TokenKind::Space, " "});
        }
        document.header.push_back(header);
    }
    return document;
}

Document Edit(const Document& document, Random& random, int count, std::string* done) {
    Document edited = document;
    for (int i = 0; i < count; ++i) {
        const std::string what = EditOnce(edited, random);
        if (done) *done += what + "\n";
    }
    Random comments = random;
    comments.discard(23);
    const std::string commented = EditComments(edited, comments);
    if (done) *done += commented;
    return edited;
}

}  // namespace generated
