// Writes a generated document's model as a .docx, its runs cut at random places.
#include <cstdio>
#include <map>

#include "support/DocumentGenerator.h"
#include "support/Docx.h"
#include "support/GeneratorRandom.h"

namespace generated {

namespace {

// Writes models as XML, cutting text into runs at random places.
class Writer {
  public:
    explicit Writer(Random& random) : random_(random), cut_(Pick(random, 40)) {}

    std::string blocks(const std::vector<Block>& blocks) {
        std::string xml;
        for (const Block& block : blocks) {
            if (block.isTable) {
                xml += table(block.table);
            } else if (block.control) {
                xml += "<w:sdt><w:sdtPr><w:tag w:val=\"block\"/></w:sdtPr><w:sdtContent>" +
                       paragraph(block.paragraph) + "</w:sdtContent></w:sdt>";
            } else {
                xml += paragraph(block.paragraph);
            }
        }
        return xml;
    }

    DocxParts parts() const {
        DocxParts parts;
        parts.parts["word/media/image1.png"] = docx::Png(0x10);
        parts.parts["word/media/image2.png"] = docx::Png(0xF0);
        parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
        parts.relationships["rIdPic1"] = {"image", "media/image2.png"};
        parts.relationships["rIdLink0"] = {"hyperlink", "http://one.example/"};
        parts.relationships["rIdLink1"] = {"hyperlink", "http://two.example/"};
        parts = parts + docx::Numbering();
        std::map<int, std::string> notes;
        for (std::size_t i = 0; i < notes_.size(); ++i) notes[int(i) + 1] = notes_[i];
        if (!comments_.empty()) parts = parts + docx::CommentsPart(comments_, threads_);
        return notes.empty() ? parts : parts + docx::Notes(notes);
    }

  private:
    static std::string properties(int format) {
        static const char* kFormats[] = {"", "<w:b/>", "<w:i/>",
                                         "<w:b/><w:color w:val=\"C00000\"/>"};
        return kFormats[format];
    }

    // `text` as runs, cut where the dice say (never inside a character).
    // An equation's runs; "a/b" as a fraction, whose bar carries control properties.
    std::string equation(const std::string& text) {
        const auto slash = text.find('/');
        if (slash == std::string::npos) return runs(text, 0, "m:t", "m:r");
        return "<m:f><m:fPr><m:ctrlPr><w:rPr><w:i/></w:rPr></m:ctrlPr></m:fPr><m:num>" +
               runs(text.substr(0, slash), 0, "m:t", "m:r") + "</m:num><m:den>" +
               runs(text.substr(slash + 1), 0, "m:t", "m:r") + "</m:den></m:f>";
    }

    std::string runs(const std::string& text, int format, const char* tag = "w:t",
                     const char* run = "w:r") {
        std::string xml, piece;
        auto flush = [&] {
            if (piece.empty()) return;
            const std::string rPr = std::string(run) == "w:r" && format
                                        ? "<w:rPr>" + properties(format) + "</w:rPr>"
                                        : "";
            xml += std::string("<") + run + ">" + rPr + "<" + tag + " xml:space=\"preserve\">" +
                   Escaped(piece) + "</" + tag + "></" + run + ">";
            piece.clear();
        };
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
            if (!continuation && !piece.empty() && Chance(random_, cut_)) flush();
            piece += text[i];
        }
        flush();
        return xml;
    }

    static std::string Escaped(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '<')
                out += "&lt;";
            else if (c == '>')
                out += "&gt;";
            else if (c == '&')
                out += "&amp;";
            else if (c == '"')
                out += "&quot;";
            else
                out += c;
        }
        return out;
    }

    std::string element(const std::string& inner, int format) {
        return "<w:r>" + (format ? "<w:rPr>" + properties(format) + "</w:rPr>" : "") + inner +
               "</w:r>";
    }

    std::string paragraph(const Paragraph& paragraph) {
        static const char* kAlignments[] = {"", "center", "right"};
        std::string xml = "<w:p>";
        if (paragraph.id) {
            char id[9];
            std::snprintf(id, sizeof id, "%08X", static_cast<unsigned>(paragraph.id));
            xml = std::string("<w:p w14:paraId=\"") + id + "\" w14:textId=\"77777777\">";
        }
        if (paragraph.alignment || paragraph.list) {
            xml += "<w:pPr>";
            if (paragraph.list) {
                xml += "<w:numPr><w:ilvl w:val=\"" + std::to_string(paragraph.level) +
                       "\"/><w:numId w:val=\"" + std::to_string(paragraph.list) + "\"/></w:numPr>";
            }
            if (paragraph.alignment)
                xml += std::string("<w:jc w:val=\"") + kAlignments[paragraph.alignment] + "\"/>";
            xml += "</w:pPr>";
        }
        std::string text;
        int format = -1;
        auto flush = [&] {
            xml += runs(text, format < 0 ? 0 : format);
            text.clear();
        };
        for (const Token& token : paragraph.tokens) {
            if (token.kind == TokenKind::Word || token.kind == TokenKind::Space) {
                const int wanted =
                    token.kind == TokenKind::Space && format >= 0 ? format : token.format;
                if (wanted != format) flush();
                format = wanted;
                text += token.text;
                continue;
            }
            flush();
            format = -1;
            xml += object(token);
        }
        flush();
        return xml + "</w:p>";
    }

    std::string object(const Token& token) {
        switch (token.kind) {
            case TokenKind::Tab:
                return element("<w:tab/>", token.format);
            case TokenKind::Break:
                return element("<w:br/>", token.format);
            case TokenKind::Field:
                return element("<w:fldChar w:fldCharType=\"begin\"/>", token.format) +
                       runs(token.text, token.format, "w:instrText") +
                       element("<w:fldChar w:fldCharType=\"separate\"/>", token.format) +
                       runs("7", token.format) +
                       element("<w:fldChar w:fldCharType=\"end\"/>", token.format);
            case TokenKind::Link:
                return "<w:hyperlink r:id=\"rIdLink" + std::to_string(token.target) + "\">" +
                       runs(token.text, 0) + "</w:hyperlink>";
            case TokenKind::Note:
                notes_.push_back(docx::P(runs(token.text, 0)));
                return docx::NoteReference(static_cast<int>(notes_.size()));
            case TokenKind::Picture:
                return docx::Picture("rIdPic" + std::to_string(token.target),
                                     95250 * (1 + token.format));
            case TokenKind::Math:
                return "<m:oMath>" + equation(token.text) + "</m:oMath>";
            case TokenKind::Control:
                return "<w:sdt><w:sdtPr><w:tag w:val=\"inline\"/></w:sdtPr><w:sdtContent>" +
                       runs(token.text, token.format) + "</w:sdtContent></w:sdt>";
            case TokenKind::Box:
                return docx::TextBox(docx::P(runs(token.text, 0)));
            case TokenKind::Comment: {
                // Word's threads: each reply's range opens and closes with its comment's.
                const std::string id = comment(token.text, token.format, token.target, "");
                std::string starts, ends;
                for (const Reply& reply : token.replies) {
                    const std::string replyId =
                        comment(reply.text, reply.author, reply.second, lastParagraphId_);
                    starts += "<w:commentRangeStart w:id=\"" + replyId + "\"/>";
                    ends += Reference(replyId);
                }
                return "<w:commentRangeStart w:id=\"" + id + "\"/>" + starts + docx::R("noted") +
                       Reference(id) + ends;
            }
            default:
                return "";
        }
    }

    // Adds a comment to the comments part, threaded under the comment whose paragraph id is
    // `parent` when there is one; answers its id.
    std::string comment(const std::string& text, int author, int second,
                        const std::string& parent) {
        const std::string id = std::to_string(++commentCount_);
        char date[32], paragraphId[9];
        std::snprintf(date, sizeof date, "2026-03-01T%02d:%02d:%02dZ", second / 3600 % 24,
                      second / 60 % 60, second % 60);
        std::snprintf(paragraphId, sizeof paragraphId, "1C%06X", commentCount_);
        const std::string name = kAuthors[author % 3];
        comments_ += "<w:comment w:id=\"" + id + "\" w:author=\"" + name + "\" w:date=\"" + date +
                     "\" w:initials=\"" + name.substr(0, 1) + "\">" +
                     docx::WordParagraph(paragraphId, docx::R(text)) + "</w:comment>";
        threads_ += "<w15:commentEx w15:paraId=\"" + std::string(paragraphId) + "\"" +
                    (parent.empty() ? "" : " w15:paraIdParent=\"" + parent + "\"") +
                    " w15:done=\"0\"/>";
        if (parent.empty()) lastParagraphId_ = paragraphId;
        return id;
    }

    // A comment range's end and the comment's reference.
    static std::string Reference(const std::string& id) {
        return "<w:commentRangeEnd w:id=\"" + id + "\"/><w:r><w:commentReference w:id=\"" + id +
               "\"/></w:r>";
    }

    std::string table(const Table& table) {
        const std::size_t columns = table.rows.empty() ? 0 : table.rows[0].size();
        std::string xml = "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/>";
        if (table.look == 1) xml += "<w:tblW w:w=\"5000\" w:type=\"pct\"/><w:jc w:val=\"center\"/>";
        if (table.look == 2) {
            xml +=
                "<w:tblBorders><w:top w:val=\"double\" w:sz=\"6\" w:space=\"0\" "
                "w:color=\"auto\"/></w:tblBorders>";
        }
        xml += "</w:tblPr><w:tblGrid>";
        for (std::size_t c = 0; c < columns; ++c) {
            const int width = c < table.columns.size() ? table.columns[c] : 2000;
            xml += "<w:gridCol w:w=\"" + std::to_string(width) + "\"/>";
        }
        xml += "</w:tblGrid>";
        const auto control = [](const std::string& tag, const std::string& content) {
            return "<w:sdt><w:sdtPr><w:tag w:val=\"" + tag + "\"/></w:sdtPr><w:sdtContent>" +
                   content + "</w:sdtContent></w:sdt>";
        };
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            std::string row = "<w:tr>";
            if (const int height = table.rows[r].empty() ? 0 : table.rows[r][0].rowHeight) {
                row += "<w:trPr><w:trHeight w:val=\"" + std::to_string(300 + 300 * height) +
                       "\"/></w:trPr>";
            }
            for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
                const bool spans = table.merged && r == 0 && c == 0;
                if (table.merged && r == 0 && c == 1) continue;
                // A cell merged down goes on in the row below, empty there.
                const bool starts = table.mergedDown && r == 0 && c == 0 && table.rows.size() > 1;
                const bool continues = table.mergedDown && r == 1 && c == 0;
                const int look = table.rows[r][c].cellLook;
                const std::string cell =
                    std::string("<w:tc><w:tcPr><w:tcW w:w=\"") + (spans ? "4000" : "2000") +
                    "\" w:type=\"dxa\"/>" + (spans ? "<w:gridSpan w:val=\"2\"/>" : "") +
                    (starts      ? "<w:vMerge w:val=\"restart\"/>"
                     : continues ? "<w:vMerge/>"
                                 : "") +
                    (look & 1 ? "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"D9E2F3\"/>"
                              : "") +
                    (look & 2 ? "<w:vAlign w:val=\"center\"/>" : "") + "</w:tcPr>" +
                    (continues ? std::string("<w:p/>") : paragraph(table.rows[r][c])) + "</w:tc>";
                const bool wrapped = table.cellInControl && r == 0 && c + 1 == table.rows[r].size();
                row += wrapped ? control("cell", cell) : cell;
            }
            row += "</w:tr>";
            const bool wrapped = table.rowInControl && r + 1 == table.rows.size() && r > 0;
            xml += wrapped ? control("row", row) : row;
        }
        return xml + "</w:tbl>";
    }

    Random& random_;
    int cut_;  // the chance, in percent, of a run ending between two characters
    std::vector<std::string> notes_;
    std::string comments_;         // the comments part's content
    std::string threads_;          // commentsExtended.xml's
    std::string lastParagraphId_;  // of the last comment that is no reply
    int commentCount_ = 0;
};

}  // namespace

// The section's page: its size and orientation, margins and columns.
std::string Page(int page) {
    const std::string upright = "<w:pgSz w:w=\"11906\" w:h=\"16838\"/>";
    switch (page) {
        case 1:
            return "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>";
        case 2:
            return upright +
                   "<w:pgMar w:top=\"2000\" w:right=\"2000\" w:bottom=\"2000\" "
                   "w:left=\"2000\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/>";
        case 3:
            return upright + "<w:cols w:num=\"2\" w:space=\"708\"/>";
        default:
            return upright;
    }
}

void WriteGenerated(const Document& document, const std::string& path, Random& random) {
    Writer writer(random);
    // A story ends with a paragraph, as every word processor writes it.
    std::vector<Block> blocks = document.blocks;
    if (blocks.empty() || blocks.back().isTable || blocks.back().control) {
        Block end;
        end.paragraph.tokens.push_back({TokenKind::Word, "end"});
        blocks.push_back(end);
    }
    const std::string body = writer.blocks(blocks);
    DocxParts parts = writer.parts();
    parts.page = Page(document.page);
    if (!document.header.empty()) {
        Writer headerWriter(random);
        parts = parts + docx::Header(headerWriter.blocks(document.header));
    }
    WriteDocx(path, body, parts);
}

}  // namespace generated
