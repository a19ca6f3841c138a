#include "TextDiff.h"

#include <algorithm>
#include <string>

using redline::MarkedBlock;
using redline::MarkedParagraph;
using redline::MarkedStory;
using redline::Part;
using redline::SpanKind;

namespace {

struct Colours {
    const char *removed = "", *added = "", *header = "", *note = "", *reset = "";
};

class WordDiff {
  public:
    WordDiff(std::ostream& out, bool colour, const std::map<int, std::string>& authors)
        : out_(out) {
        if (colour) colours_ = {"\033[31m", "\033[32m", "\033[36m", "\033[33m", "\033[0m"};
        // Names only where more than one reviewer took part.
        for (const auto& [mark, author] : authors) {
            if (author != authors.begin()->second) {
                authors_ = &authors;
                break;
            }
        }
    }

    void story(const MarkedStory& story) {
        name_ = story.part == Part::Body ? "body" : story.title;
        // Only the story's own name goes small: a comment's author keeps how it is written.
        name_[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name_[0])));
        for (const MarkedBlock& block : story.blocks) this->block(block, false);
        formatting(story.reformatted, "section");
    }

  private:
    void block(const MarkedBlock& block, bool inTable) {
        if (!block.table) {
            if (block.paragraph.changed()) paragraph(block.paragraph, inTable);
            return;
        }
        formatting(block.reformatted, name_ == "body" ? "table" : name_);
        for (const auto& row : block.rows) {
            for (const auto& cell : row.cells) {
                for (const MarkedBlock& inner : cell) this->block(inner, true);
            }
        }
    }

    // Formatting of a table, its rows and cells, or of sections, told where it stands.
    void formatting(const std::vector<redline::Reformatting>& changes, const std::string& where) {
        if (changes.empty()) return;
        out_ << colours_.header << "@@ " << where << " @@" << colours_.reset << "\n";
        // Each kind of change once: a column made narrower changes the width of every cell.
        std::vector<std::string> kinds;
        for (const redline::Reformatting& change : changes) {
            if (std::find(kinds.begin(), kinds.end(), change.what) == kinds.end())
                kinds.push_back(change.what);
        }
        std::string named;
        for (const std::string& kind : kinds) named += (named.empty() ? "" : "; ") + kind;
        note("formatting changed: " + named);
        out_ << "\n";
    }

    // The span's text as the diff shows it: a note, a text box or a comment by its number.
    static std::string Shown(const redline::Span& span) {
        std::string text = span.text;
        if (span.note) {
            text = std::string("[") + (span.noteEnd ? "endnote " : "footnote ") +
                   std::to_string(span.note) + "]";
        } else if (span.box) {
            text = "[text box " + std::to_string(span.box) + "]";
        } else if (span.comment) {
            text = "[comment " + std::to_string(span.comment) + "]";
        }
        for (char& c : text) {
            if (c == '\n') c = ' ';  // a line break inside a paragraph keeps the block whole
        }
        return text;
    }

    void paragraph(const MarkedParagraph& p, bool inTable) {
        const std::string part = inTable && name_ == "body" ? "table" : name_;
        out_ << colours_.header << "@@ " << part << ", paragraph "
             << (p.revised ? std::to_string(p.revised)
                           : std::to_string(p.original) + " of the original")
             << " @@" << colours_.reset << "\n";
        std::string reformatted;
        bool movedAway = false, movedHere = false;
        std::string named;  // the reviewer named last in the paragraph
        for (const redline::Span& span : p.spans) {
            if (span.kind != SpanKind::Plain || span.reformatted) {
                const std::string author = authorOf(span.mark);
                if (!author.empty() && author != named) out_ << "(" << author << ")";
                named = author;
            }
            const std::string text = Shown(span);
            switch (span.kind) {
                case SpanKind::Plain:
                    out_ << text;
                    break;
                case SpanKind::Deleted:
                case SpanKind::MovedFrom:
                    movedAway |= span.kind == SpanKind::MovedFrom;
                    out_ << colours_.removed << "[-" << text << "-]" << colours_.reset;
                    break;
                case SpanKind::Inserted:
                case SpanKind::MovedTo:
                    movedHere |= span.kind == SpanKind::MovedTo;
                    out_ << colours_.added << "{+" << text << "+}" << colours_.reset;
                    break;
            }
            if (span.reformatted && span.kind == SpanKind::Plain) {
                reformatted += (reformatted.empty() ? "" : ", ") + ("\"" + text + "\"");
            }
        }
        out_ << "\n";
        movedAway |= p.end == SpanKind::MovedFrom;
        movedHere |= p.end == SpanKind::MovedTo;
        const std::string by = authorOf(p.endMark).empty() ? "" : " by " + authorOf(p.endMark);
        if (p.end == SpanKind::Inserted) note("paragraph break inserted" + by);
        if (p.end == SpanKind::Deleted) note("paragraph break deleted" + by);
        if (movedAway) note("moved away from here");
        if (movedHere) note("moved here");
        if (!reformatted.empty()) note("formatting changed: " + reformatted);
        if (p.restyled) {
            const std::string who = authorOf(p.restyled);
            note("paragraph formatting changed" + (who.empty() ? "" : " by " + who));
        }
        out_ << "\n";
    }

    // Who made the change `mark`, when reviewers are named; else "".
    std::string authorOf(int mark) const {
        if (!authors_) return {};
        const auto found = authors_->find(mark);
        return found == authors_->end() ? std::string() : found->second;
    }

    void note(const std::string& what) {
        out_ << colours_.note << "  (" << what << ")" << colours_.reset << "\n";
    }

    std::ostream& out_;
    Colours colours_;
    std::string name_;
    const std::map<int, std::string>* authors_ = nullptr;
};

}  // namespace

void PrintWordDiff(std::ostream& out, const std::vector<MarkedStory>& stories, bool colour,
                   const std::map<int, std::string>& authors) {
    WordDiff diff(out, colour, authors);
    for (const MarkedStory& story : stories) diff.story(story);
}
