#include "HtmlReport.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "app/ApplicationFolder.h"
#include "office/loader/FileSystem.h"
#include "redline/FilePath.h"

using redline::ChangeKind;
using redline::MarkedBlock;
using redline::MarkedParagraph;
using redline::SpanKind;

namespace {

// How each kind of span is written: its element, its class and the words that name it.
struct Shown {
    const char* element;
    const char* classes;  // the attribute, with a space before it, or ""
    const char* words;
};

const Shown& ShownAs(SpanKind kind) {
    static const Shown shown[] = {
        {"span", "", ""},
        {"ins", "", "inserted"},
        {"del", "", "deleted"},
        {"span", " class=\"move-from\"", "moved away"},
        {"span", " class=\"move-to\"", "moved here"},
    };
    return shown[static_cast<int>(kind)];
}

class Page {
  public:
    Page(std::ostream& out, const ReportContent& report) : out_(out), report_(report) {
        for (std::size_t i = 0; i < report.changes.size(); ++i) {
            const int mark = report.changes[i].mark;
            if (mark && !byMark_.count(mark)) byMark_[mark] = static_cast<int>(i + 1);
        }
        for (const redline::MarkedStory& story : report.stories) {
            for (const MarkedBlock& block : story.blocks) gather(block);
            for (const redline::Reformatting& change : story.reformatted)
                present_.insert(change.mark);
        }
    }

    void write() {
        const std::string& a = report_.files.size() > 0 ? report_.files[0].path : "";
        const std::string& b = report_.files.size() > 1 ? report_.files[1].path : "";
        const std::size_t reviewers = report_.reviewers.size();
        const std::string title = reviewers ? "Changes to " + Name(a) + " by " +
                                                  std::to_string(reviewers) +
                                                  (reviewers == 1 ? " reviewer" : " reviewers")
                                            : "Changes from " + Name(a) + " to " + Name(b);
        out_ << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
             << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                "style-src 'unsafe-inline'\">\n"
             << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
             << "<title>" << HtmlEscape(title) << "</title>\n<style>" << kReportStyle
             << "</style></head>\n<body" << (reviewers ? " class=\"by\"" : "") << ">\n"
             << "<header><h1>" << HtmlEscape(title) << "</h1></header>\n<main>\n";
        summary();
        document();
        out_ << "</main>\n</body></html>\n";
    }

  private:
    // The marks the document shows, so that the list links only to changes found there.
    void gather(const MarkedBlock& block) {
        for (const redline::MarkedRow& row : block.rows) {
            present_.insert(row.mark);
            for (const auto& cell : row.cells) {
                for (const MarkedBlock& inner : cell) gather(inner);
            }
        }
        for (const redline::Reformatting& change : block.reformatted) present_.insert(change.mark);
        present_.insert({block.paragraph.endMark, block.paragraph.restyled});
        for (const redline::Span& span : block.paragraph.spans) present_.insert(span.mark);
    }

    static std::string Name(const std::string& path) {
        return redline::Utf8Path(PathFromUtf8(path).filename());
    }

    void summary() {
        out_ << "<section aria-labelledby=\"summary\"><h2 id=\"summary\">Summary</h2>\n"
             << "<div class=\"scroll\"><table><caption class=\"visually-hidden\">The documents"
             << "</caption><tr><th scope=\"col\">Document</th><th scope=\"col\">File</th>"
             << "<th scope=\"col\">Size</th><th scope=\"col\">Modified</th></tr>\n";
        for (const ReportedFile& file : report_.files) {
            out_ << "<tr><th scope=\"row\">" << HtmlEscape(file.role) << "</th><td class=\"path\">"
                 << HtmlEscape(file.path) << "</td><td>" << SizeText(file.bytes) << "</td><td>"
                 << HtmlEscape(file.modified) << "</td></tr>\n";
        }
        out_ << "</table></div>\n<p>Settings: ";
        for (std::size_t i = 0; i < report_.settings.size(); ++i) {
            out_ << (i ? "; " : "") << HtmlEscape(report_.settings[i]);
        }
        out_ << ".</p>\n";
        counts();
        untracked();
        reviewers();
        legend();
        list();
        out_ << "</section>\n";
    }

    void counts() {
        static const ChangeKind kinds[] = {ChangeKind::Insertion, ChangeKind::Deletion,
                                           ChangeKind::Move, ChangeKind::Formatting};
        std::map<int, std::map<int, int>> table;  // part -> kind -> count
        std::map<int, int> totals;
        for (const redline::Change& change : report_.changes) {
            ++table[static_cast<int>(change.part)][static_cast<int>(change.kind)];
            ++totals[static_cast<int>(change.kind)];
        }
        out_ << "<div class=\"scroll\"><table class=\"counts\"><caption>Changes by kind and part"
             << "</caption><tr><th scope=\"col\">Part</th>";
        for (ChangeKind kind : kinds) out_ << "<th scope=\"col\">" << Title(kind) << "</th>";
        out_ << "</tr>\n";
        for (const auto& [part, row] : table) {
            out_ << "<tr><th scope=\"row\">" << redline::PartName(static_cast<redline::Part>(part))
                 << "</th>";
            for (ChangeKind kind : kinds) {
                const auto found = row.find(static_cast<int>(kind));
                out_ << "<td>" << (found == row.end() ? 0 : found->second) << "</td>";
            }
            out_ << "</tr>\n";
        }
        out_ << "<tr><th scope=\"row\">all</th>";
        for (ChangeKind kind : kinds) {
            out_ << "<td data-total=\"" << redline::KindName(kind) << "\">"
                 << totals[static_cast<int>(kind)] << "</td>";
        }
        out_ << "</tr></table></div>\n";
    }

    static const char* Title(ChangeKind kind) {
        static const char* const titles[] = {"Insertions", "Deletions", "Moves", "Formatting"};
        return titles[static_cast<int>(kind)];
    }

    // Each reviewer's colour and changes, as word processors tell reviewers apart in their
    // margins.
    void reviewers() {
        if (report_.reviewers.empty()) return;
        out_ << "<div class=\"scroll\"><table class=\"counts\"><caption>Changes by reviewer"
             << "</caption><tr><th scope=\"col\">Reviewer</th><th scope=\"col\">Insertions</th>"
             << "<th scope=\"col\">Deletions</th><th scope=\"col\">Moves</th>"
             << "<th scope=\"col\">Formatting</th><th scope=\"col\">In conflict</th></tr>\n";
        for (std::size_t r = 0; r < report_.reviewers.size(); ++r) {
            const std::string& name = report_.reviewers[r];
            int kinds[4] = {0, 0, 0, 0}, conflicts = 0;
            for (const redline::Change& change : report_.changes) {
                const auto& names = change.reviewers;
                if (std::find(names.begin(), names.end(), name) == names.end()) continue;
                ++kinds[static_cast<int>(change.kind)];
                conflicts += !change.conflictsWith.empty();
            }
            out_ << "<tr><th scope=\"row\"><span class=\"swatch " << ReviewerClass(r)
                 << "\" aria-hidden=\"true\">■</span> " << HtmlEscape(name) << "</th>";
            for (int count : kinds) out_ << "<td>" << count << "</td>";
            out_ << "<td data-conflicts=\"" << r << "\">" << conflicts << "</td></tr>\n";
        }
        out_ << "</table></div>\n";
    }

    static std::string ReviewerClass(std::size_t reviewer) {
        return "r" + std::to_string(reviewer % 8);
    }

    // The class of the reviewer who made change `mark`, with a space before it; "" when the
    // page names no reviewers.
    std::string reviewerOf(int mark) const {
        if (report_.reviewers.empty()) return {};
        const auto found = report_.authors.find(mark);
        if (found == report_.authors.end()) return " r-";
        const auto& names = report_.reviewers;
        const auto at = std::find(names.begin(), names.end(), found->second);
        return at == names.end() ? " r-" : " " + ReviewerClass(at - names.begin());
    }

    // The opening tag of a marked span's element, coloured by its reviewer when there are some.
    std::string opening(const Shown& shown, int mark, const std::string& title) const {
        std::string classes = shown.classes;
        const std::string reviewer = reviewerOf(mark);
        if (!reviewer.empty()) {
            classes = classes.empty() ? " class=\"" + reviewer.substr(1) + "\""
                                      : classes.substr(0, classes.size() - 1) + reviewer + "\"";
        }
        const auto found = report_.authors.find(mark);
        const std::string by = reviewer.empty() || found == report_.authors.end()
                                   ? ""
                                   : " by " + HtmlEscape(found->second);
        return std::string("<") + shown.element + classes + " title=\"" + title + by + "\"";
    }

    void legend() {
        out_ << "<h3>How changes are shown</h3><ul class=\"legend\">\n";
        if (report_.reviewers.empty()) {
            out_ << "<li><ins>inserted text</ins>: underlined, on green</li>\n"
                 << "<li><del>deleted text</del>: struck through, on red</li>\n";
        } else {
            out_ << "<li><ins class=\"r-\">inserted text</ins>: underlined, and "
                 << "<del class=\"r-\">deleted text</del>: struck through, each in the colour of "
                 << "the reviewer who made the change</li>\n";
        }
        out_ << "<li><span class=\"move-from\">moved away</span> and "
             << "<span class=\"move-to\">moved here</span>: struck through or underlined "
             << "twice" << (report_.reviewers.empty() ? ", on blue" : "") << "</li>\n"
             << "<li><span class=\"fmt\">reformatted text</span>: dotted underline</li>\n"
             << "<li><span class=\"n\">7</span> the number of a change in the list of every "
             << "change; a "
             << "paragraph mark ¶ stands for a paragraph break that was inserted or deleted</li>"
             << "\n</ul>\n";
    }

    void untracked() {
        if (!report_.trackedInputs) return;
        std::size_t count = 0;
        for (const redline::Change& change : report_.changes) count += change.trackedBy.empty();
        out_ << "<p class=\"untracked-count\">"
             << (count == 1 ? "1 change was" : std::to_string(count) + " changes were")
             << " made without tracking; the others are the revised document's own tracked "
             << "changes, each under its author.</p>\n";
    }

    void list() {
        // A long list is folded: a browser lays out what is shown, and nobody reads it through.
        const bool open = report_.changes.size() <= 1000;
        // A filter without script: the checkbox hides, by style alone, every tracked change.
        if (report_.trackedInputs) {
            out_ << "<input type=\"checkbox\" id=\"only-untracked\"><label "
                 << "for=\"only-untracked\">Show only the changes made without tracking</label>\n";
        }
        out_ << "<details" << (open ? " open" : "") << "><summary><h3>Every change ("
             << report_.changes.size() << ")</h3></summary>\n<ol class=\"changes\">\n";
        for (std::size_t i = 0; i < report_.changes.size(); ++i) {
            const redline::Change& change = report_.changes[i];
            const std::string number = std::to_string(i + 1);
            const bool shown = change.mark && present_.count(change.mark) &&
                               byMark_[change.mark] == static_cast<int>(i + 1);
            const bool untracked = report_.trackedInputs && change.trackedBy.empty();
            out_ << "<li id=\"item-" << number << "\"" << (untracked ? " class=\"untracked\"" : "")
                 << ">";
            if (shown) out_ << "<a href=\"#change-" << number << "\">";
            out_ << redline::KindName(change.kind) << " in the " << redline::PartName(change.part);
            if (shown) out_ << "</a>";
            if (!change.reviewers.empty()) {
                out_ << " by ";
                for (std::size_t r = 0; r < change.reviewers.size(); ++r) {
                    out_ << (r ? " and " : "") << HtmlEscape(change.reviewers[r]);
                }
            }
            // Quotation marks as text: <q> makes a browser's layout slow on long lists.
            out_ << ": “" << HtmlEscape(Shortened(change.text)) << "”";
            if (untracked) out_ << " <span class=\"untracked-mark\">made without tracking</span>";
            if (report_.trackedInputs && !untracked)
                out_ << " <span class=\"tracked-by\">tracked by " << HtmlEscape(change.trackedBy)
                     << "</span>";
            if (!change.conflictsWith.empty()) {
                out_ << " <span class=\"conflict\">conflicts with ";
                for (std::size_t c = 0; c < change.conflictsWith.size(); ++c) {
                    const std::string other = std::to_string(change.conflictsWith[c]);
                    out_ << (c ? ", " : "") << "<a href=\"#item-" << other << "\">" << other
                         << "</a>";
                }
                out_ << "</span>";
            }
            out_ << "</li>\n";
        }
        out_ << "</ol></details>\n";
    }

    void document() {
        for (const redline::MarkedStory& story : report_.stories) {
            out_ << "<section class=\"doc\"><h2>" << HtmlEscape(story.title) << "</h2>\n";
            // In chunks that the browser lays out only when they come into view: a long
            // document opens as fast as a short one.
            constexpr std::size_t kChunk = 50;
            for (std::size_t i = 0; i < story.blocks.size(); ++i) {
                if (i % kChunk == 0) out_ << (i ? "</div>\n" : "") << "<div class=\"chunk\">";
                block(story.blocks[i]);
            }
            out_ << (story.blocks.empty() ? "" : "</div>\n");
            reformatted(story.reformatted);
            out_ << "</section>\n";
        }
    }

    void block(const MarkedBlock& block) {
        if (!block.table) {
            paragraph(block.paragraph);
            return;
        }
        reformatted(block.reformatted);
        out_ << "<div class=\"scroll\"><table>\n";
        for (const redline::MarkedRow& row : block.rows) {
            out_ << "<tr";
            if (row.kind != SpanKind::Plain) {
                out_ << " class=\"" << (row.kind == SpanKind::Inserted ? "row-ins" : "row-del")
                     << "\"";
            }
            out_ << ">";
            for (const auto& cell : row.cells) {
                out_ << "<td>";
                if (row.kind != SpanKind::Plain) {
                    out_ << "<span class=\"tag\"" << anchor(row.mark) << ">row "
                         << ShownAs(row.kind).words << "</span>";
                }
                for (const MarkedBlock& inner : cell) this->block(inner);
                out_ << "</td>";
            }
            out_ << "</tr>\n";
        }
        out_ << "</table></div>\n";
    }

    // Changes of a table's or a section's formatting, each named where it stands.
    void reformatted(const std::vector<redline::Reformatting>& changes) {
        if (changes.empty()) return;
        out_ << "<p class=\"changed\">";
        for (const redline::Reformatting& change : changes) {
            out_ << "<span class=\"tag\"" << anchor(change.mark)
                 << ">(formatting changed: " << HtmlEscape(change.what) << ") </span>";
        }
        out_ << "</p>\n";
    }

    // The attributes that make the element where change `mark` is first shown its target and
    // show its number (drawn by the style sheet: no element of its own, for long reports).
    std::string anchor(int mark) {
        const auto found = byMark_.find(mark);
        if (found == byMark_.end() || !shown_.insert(found->second).second) return {};
        const std::string number = std::to_string(found->second);
        return " id=\"change-" + number + "\" data-n=\"" + number + "\" data-kind=\"" +
               redline::KindName(report_.changes[found->second - 1].kind) + "\"";
    }

    void paragraph(const MarkedParagraph& p) {
        out_ << "<p" << (p.changed() ? " class=\"changed\"" : "") << ">";
        if (p.restyled) {
            out_ << "<span class=\"tag\"" << anchor(p.restyled)
                 << ">(paragraph formatting changed) </span>";
        }
        for (const redline::Span& span : p.spans) {
            std::string text = span.text;
            if (span.note) {
                text = std::string(span.noteEnd ? "endnote " : "footnote ") +
                       std::to_string(span.note);
            } else if (span.box) {
                text = "text box " + std::to_string(span.box);
            } else if (span.comment) {
                text = "comment " + std::to_string(span.comment);
            }
            const bool marked = span.kind != SpanKind::Plain;
            const std::string target = marked || span.reformatted ? anchor(span.mark) : "";
            if (marked) {
                const Shown& shown = ShownAs(span.kind);
                out_ << opening(shown, span.mark, shown.words) << target << ">";
            }
            if (span.reformatted) {
                out_ << "<span class=\"fmt\" title=\"formatting changed\"" << (marked ? "" : target)
                     << ">";
            }
            if (span.note || span.box || span.comment) {
                out_ << "<sup>[" << HtmlEscape(text) << "]</sup>";
            } else {
                out_ << HtmlEscape(text);
            }
            if (span.reformatted) out_ << "</span>";
            if (marked) out_ << "</" << ShownAs(span.kind).element << ">";
        }
        if (p.end != SpanKind::Plain) {
            const Shown& shown = ShownAs(p.end);
            out_ << opening(shown, p.endMark, std::string("paragraph break ") + shown.words)
                 << anchor(p.endMark) << ">¶</" << shown.element << ">";
        }
        out_ << "</p>\n";
    }

    std::ostream& out_;
    const ReportContent& report_;
    std::map<int, int> byMark_;  // mark -> change number
    std::set<int> shown_;        // change numbers already given a place
    std::set<int> present_;      // marks the document shows
};

}  // namespace

void WriteHtmlReport(std::ostream& out, const ReportContent& report) {
    Page(out, report).write();
}
