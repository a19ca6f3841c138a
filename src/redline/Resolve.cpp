#include "redline/Resolve.h"

#include <cstring>

#include "redline/Document.h"

namespace redline {

namespace {

bool Named(const pugi::xml_node& node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

class TextReader {
  public:
    explicit TextReader(Reading reading) : reading_(reading) {}

    std::string read(const pugi::xml_node& container) {
        blocks(container);
        return std::move(out_);
    }

  private:
    // Whether content under this mark is gone in the reading.
    bool gone(const pugi::xml_node& mark) const {
        if (reading_ == Reading::Markup) return false;
        const bool removed = Named(mark, "w:del") || Named(mark, "w:moveFrom");
        const bool added = Named(mark, "w:ins") || Named(mark, "w:moveTo");
        return reading_ == Reading::AcceptAll ? removed : added;
    }

    void blocks(const pugi::xml_node& container) {
        for (const pugi::xml_node& child : container.children()) {
            if (Named(child, "w:p")) {
                paragraph(child);
            } else if (Named(child, "w:tbl")) {
                for (const pugi::xml_node& row : child.children("w:tr")) {
                    const pugi::xml_node mark =
                        row.child("w:trPr").find_child([](const pugi::xml_node& n) {
                            return Named(n, "w:ins") || Named(n, "w:del");
                        });
                    if (mark && gone(mark)) continue;
                    for (const pugi::xml_node& cell : row.children("w:tc")) {
                        blocks(cell);
                        out_ += '\t';
                    }
                    out_ += '\n';
                }
            } else if (Named(child, "w:sdt") || Named(child, "w:sdtContent") ||
                       Named(child, "w:customXml")) {
                blocks(child.child("w:sdtContent") ? child.child("w:sdtContent") : child);
            }
        }
    }

    void paragraph(const pugi::xml_node& paragraph) {
        inline_(paragraph, "");
        close();
        const pugi::xml_node properties = paragraph.child("w:pPr").child("w:rPr");
        for (const char* mark : {"w:ins", "w:del", "w:moveTo", "w:moveFrom"}) {
            const pugi::xml_node found = properties.child(mark);
            if (!found) continue;
            if (reading_ == Reading::Markup) {
                out_ += Named(found, "w:ins")      ? "¶+"
                        : Named(found, "w:del")    ? "¶-"
                        : Named(found, "w:moveTo") ? "¶>"
                                                   : "¶<";
            } else if (gone(found)) {
                return;  // the paragraph runs on into the next
            }
        }
        out_ += '\n';
    }

    // `shown`: the markup brackets of the change this content lies in.
    void inline_(const pugi::xml_node& node, const std::string& shown) {
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element || Named(child, "w:pPr") ||
                Named(child, "w:rPr"))
                continue;
            if (Named(child, "w:ins") || Named(child, "w:del") || Named(child, "w:moveTo") ||
                Named(child, "w:moveFrom")) {
                if (gone(child)) continue;
                if (reading_ != Reading::Markup) {
                    inline_(child, shown);
                    continue;
                }
                inline_(child, Named(child, "w:ins")      ? "+"
                               : Named(child, "w:del")    ? "-"
                               : Named(child, "w:moveTo") ? ">"
                                                          : "<");
            } else if (Named(child, "w:r")) {
                run(child, shown);
            } else {
                inline_(child, shown);  // hyperlinks, fields, content controls
            }
        }
    }

    void run(const pugi::xml_node& node, const std::string& shown) {
        std::string text;
        for (const pugi::xml_node& child : node.children()) {
            if (Named(child, "w:t") || Named(child, "w:delText")) {
                text += child.text().get();
            } else if (Named(child, "w:tab")) {
                text += '\t';
            } else if (Named(child, "w:br") || Named(child, "w:cr")) {
                text += '\v';
            } else if (Named(child, "w:drawing") || Named(child, "w:pict") ||
                       Named(child, "w:object")) {
                text += "[o]";
            }
        }
        if (text.empty()) return;
        std::string bracket = shown;
        if (bracket.empty() && reading_ == Reading::Markup &&
            node.child("w:rPr").child("w:rPrChange"))
            bracket = "~";
        if (bracket.empty()) {
            close();
            out_ += text;
            return;
        }
        if (bracket != open_) {
            close();
            out_ += '[';
            out_ += bracket;
            open_ = bracket;
        }
        out_ += text;
    }

    void close() {
        if (!open_.empty()) {
            out_ += open_;
            out_ += ']';
        }
        open_.clear();
    }

    Reading reading_;
    std::string out_, open_;
};

}  // namespace

std::string ReadText(const std::string& path, Reading reading) {
    DocumentSide side;
    LoadDocument(side, path);
    return TextReader(reading).read(side.document.child("w:document").child("w:body"));
}

}  // namespace redline
