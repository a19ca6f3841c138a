#include "support/RoundTrip.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <tuple>

#include "redline/Combine.h"
#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

redline::CompareOptions DrawnSettings(std::uint32_t draw) {
    redline::CompareOptions options;
    options.formatting = draw & 1;
    options.ignoreCase = draw & 2;
    options.ignoreWhitespace = draw & 4;
    options.moves = draw & 8;
    options.characterLevel = draw & 16;
    options.skip = {bool(draw & 32),  bool(draw & 64),   bool(draw & 128), bool(draw & 256),
                    bool(draw & 512), bool(draw & 1024), bool(draw & 2048)};
    return options;
}

std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected), b(actual);
    std::string lineA, lineB, before;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) return "no difference";
        if (!moreA || !moreB || lineA != lineB) {
            return "line " + std::to_string(number) + " after\n    " + before +
                   "\n  expected\n    " + (moreA ? lineA : "(end)") + "\n  got\n    " +
                   (moreB ? lineB : "(end)");
        }
        before = lineA;
    }
}

namespace {

// The words of a text: runs of letters and digits.
std::set<std::string> Words(const std::string& text) {
    std::set<std::string> words;
    std::string word;
    std::string spaced = text + " ";
    // A square stands for a thing that holds no text (a picture): no word.
    for (std::size_t at; (at = spaced.find("\u25A1")) != std::string::npos;) {
        spaced.replace(at, 3, " ");
    }
    for (const char c : spaced) {
        const bool letter = std::isalnum(static_cast<unsigned char>(c)) || (c & 0x80);
        if (letter) {
            word += c;
        } else if (!word.empty()) {
            words.insert(word);
            word.clear();
        }
    }
    return words;
}

// Appends the text below `node` to the deleted or the inserted stream, by the mark it lies
// under; text under no mark ends a word in both. A comment's text lies under the mark of its
// reference (`comments`: by id, -1 deleted, 1 inserted).
void Collect(const pugi::xml_node& node, int under, std::string& deleted, std::string& inserted,
             const std::map<std::string, int>& comments) {
    for (const pugi::xml_node& child : node.children()) {
        const std::string_view name = child.name();
        if (name == "w:comment") {
            const auto found = comments.find(child.attribute("w:id").value());
            Collect(child, found == comments.end() ? 0 : found->second, deleted, inserted,
                    comments);
            continue;
        }
        if (name == "w:t" || name == "w:delText" || name == "m:t") {
            const std::string text = child.text().get();
            (under < 0 ? deleted : under > 0 ? inserted : deleted) += under ? text : " ";
            if (!under) inserted += " ";
            continue;
        }
        int mark = under;
        if (name == "w:del" || name == "w:moveFrom") mark = -1;
        if (name == "w:ins" || name == "w:moveTo") mark = 1;
        if (name == "w:p" || name == "w:tab" || name == "w:br") {
            deleted += " ";
            inserted += " ";
        }
        if (child.type() == pugi::node_element && !name.ends_with("Pr")) {
            Collect(child, mark, deleted, inserted, comments);
        }
    }
}

// The text the result marks deleted (or moved away) and inserted (or moved here), in every part.
void MarkedText(const std::string& result, std::string& deleted, std::string& inserted) {
    const redline::Package package = redline::Package::Read(result);
    std::map<std::string, int> comments;
    pugi::xml_document main;
    if (main.load_string(package.part("word/document.xml").c_str())) {
        for (const pugi::xpath_node& found : main.select_nodes("//w:commentReference")) {
            int mark = 0;
            for (pugi::xml_node up = found.node().parent(); up && !mark; up = up.parent()) {
                const std::string_view name = up.name();
                if (name == "w:del" || name == "w:moveFrom") mark = -1;
                if (name == "w:ins" || name == "w:moveTo") mark = 1;
            }
            comments[found.node().attribute("w:id").value()] = mark;
        }
    }
    for (const std::string& name : package.names()) {
        if (!name.ends_with(".xml")) continue;
        pugi::xml_document xml;
        if (xml.load_string(package.part(name).c_str())) {
            Collect(xml, 0, deleted, inserted, comments);
        }
    }
}

// The change list and the file agree: marks where changes are listed and none where none are,
// and every word a deletion, insertion or move lists is marked so in the file.
std::string ListedAndMarkedDisagree(const std::string& result,
                                    const std::vector<redline::Change>& changes) {
    std::string deleted, inserted;
    MarkedText(result, deleted, inserted);
    const bool marked = !Words(deleted).empty() || !Words(inserted).empty();
    std::string failure;
    const bool textual = std::any_of(changes.begin(), changes.end(), [](const auto& change) {
        return change.kind != redline::ChangeKind::Formatting && !Words(change.text).empty();
    });
    if (textual && !marked) failure += "changes listed, none marked\n";
    if (changes.empty() && marked) failure += "marks in the file, no change listed\n";
    for (const redline::Change& change : changes) {
        // A move is listed with the text it has where it arrived.
        const bool out = change.kind == redline::ChangeKind::Deletion;
        const bool in = change.kind == redline::ChangeKind::Insertion ||
                        change.kind == redline::ChangeKind::Move;
        for (const std::string& word : Words(change.text)) {
            if (out && deleted.find(word) == std::string::npos) {
                failure += "listed as deleted but not marked: " + word + "\n";
            }
            if (in && inserted.find(word) == std::string::npos) {
                failure += "listed as inserted but not marked: " + word + "\n";
            }
        }
    }
    return failure;
}

}  // namespace

namespace {

// The document's paragraphs outside tables and controls as one, ahead of the rest.
generated::Document Joined(const generated::Document& document) {
    generated::Document joined;
    joined.header = document.header;
    generated::Block one;
    for (const generated::Block& block : document.blocks) {
        if (block.isTable || block.control) {
            joined.blocks.push_back(block);
            continue;
        }
        auto& tokens = one.paragraph.tokens;
        if (!tokens.empty()) tokens.push_back({generated::TokenKind::Space, " "});
        tokens.insert(tokens.end(), block.paragraph.tokens.begin(), block.paragraph.tokens.end());
    }
    joined.blocks.insert(joined.blocks.begin(), one);
    return joined;
}

bool LeavesOut(const redline::CompareOptions& options) {
    const redline::Skipped& skip = options.skip;
    return !options.formatting || options.ignoreCase || options.ignoreWhitespace || skip.tables ||
           skip.headers || skip.footers || skip.footnotes || skip.endnotes || skip.textBoxes ||
           skip.fields;
}

}  // namespace

std::string RoundTripFailure(const std::string& folder, generated::Random& random,
                             const redline::CompareOptions& options, PairSize size) {
    auto original = generated::RandomDocument(
        random, size.blocks ? size.blocks : 1 + static_cast<int>(random() % 10));
    if (size.oneParagraph) original = Joined(original);
    std::string edits;
    const auto revised = generated::Edit(
        original, random, size.edits ? size.edits : 1 + static_cast<int>(random() % 4), &edits);
    const std::string a = folder + "/a.docx", b = folder + "/b.docx", r = folder + "/r.docx";
    generated::WriteGenerated(original, a, random);
    generated::WriteGenerated(revised, b, random);
    std::vector<redline::Change> changes;
    try {
        changes = redline::CompareDocuments(a, b, r, options);
    } catch (const std::exception& e) {
        return "edits:\n" + edits + "the comparison failed: " + e.what();
    }
    const std::string rejected = CanonicalDocument(r, Resolution::Reject);
    const std::string accepted = CanonicalDocument(r, Resolution::Accept);
    const std::string wantA = CanonicalDocument(a), wantB = CanonicalDocument(b);
    std::string failure;
    if (rejected != wantA && !LeavesOut(options))
        failure += "rejecting all: " + FirstDifference(wantA, rejected) + "\n";
    if (accepted != wantB) failure += "accepting all: " + FirstDifference(wantB, accepted) + "\n";
    if (!LeavesOut(options)) failure += ListedAndMarkedDisagree(r, changes);
    failure += NewResultProblems(r, {a, b});
    return failure.empty() ? "" : "edits:\n" + edits + failure;
}

namespace {

// A plain paragraph that no edit touches, between two reviewers' stretches.
generated::Block Boundary(int number) {
    generated::Block block;
    for (const std::string& word : std::vector<std::string>{"Boundary", "between", "stretches",
                                                            "number", std::to_string(number)}) {
        if (!block.paragraph.tokens.empty())
            block.paragraph.tokens.push_back({generated::TokenKind::Space, " "});
        block.paragraph.tokens.push_back({generated::TokenKind::Word, word});
    }
    return block;
}

std::string ReviewerName(int reviewer) {
    static const char* const names[] = {"Ann Reviewer", "Bo Reviewer", "Cy Reviewer",
                                        "Di Reviewer"};
    return names[reviewer % 4];
}

// Puts the comments of reviewer `r`'s stretch in two hours of the day of their own: comments of
// other stretches then never share an author and a date with them, by which comparing pairs
// comments wherever they stand.
void CommentsOfTheirOwn(std::vector<generated::Block>& blocks, int r) {
    auto own = [r](int& second) { second = 7200 * (r + 1) + second % 7200; };
    auto paragraph = [&](generated::Paragraph& p) {
        for (generated::Token& token : p.tokens) {
            if (token.kind != generated::TokenKind::Comment) continue;
            own(token.target);
            for (generated::Reply& reply : token.replies) own(reply.second);
        }
    };
    for (generated::Block& block : blocks) {
        paragraph(block.paragraph);
        for (auto& row : block.table.rows) {
            for (generated::Paragraph& cell : row) paragraph(cell);
        }
    }
}

// Conflicts name changes that are there, each naming the other back.
std::string ConflictsDisagree(const std::vector<redline::Change>& changes) {
    std::string failure;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (changes[i].reviewers.empty()) failure += "a change under no reviewer\n";
        for (int other : changes[i].conflictsWith) {
            if (other < 1 || other > static_cast<int>(changes.size())) {
                failure += "a conflict with no change " + std::to_string(other) + "\n";
                continue;
            }
            const auto& back = changes[other - 1].conflictsWith;
            if (std::find(back.begin(), back.end(), static_cast<int>(i + 1)) == back.end()) {
                failure += "change " + std::to_string(other) + " does not name change " +
                           std::to_string(i + 1) + " back\n";
            }
        }
    }
    return failure;
}

}  // namespace

std::string CombineRoundTripFailure(const std::string& folder, generated::Random& random,
                                    int reviewers, Reviewing reviewing) {
    generated::Document original;
    std::vector<std::pair<std::size_t, std::size_t>> stretches;  // of each reviewer
    if (reviewing == Reviewing::Apart) {
        for (int r = 0; r < reviewers; ++r) {
            auto stretch = generated::RandomDocument(random, 1 + static_cast<int>(random() % 3));
            CommentsOfTheirOwn(stretch.blocks, r);
            if (r == 0) {
                original.header = stretch.header;
                original.page = stretch.page;
            }
            stretches.emplace_back(original.blocks.size(), stretch.blocks.size());
            original.blocks.insert(original.blocks.end(), stretch.blocks.begin(),
                                   stretch.blocks.end());
            original.blocks.push_back(Boundary(r + 1));
        }
    } else {
        original = generated::RandomDocument(random, 2 + static_cast<int>(random() % 8));
    }
    std::string edits;
    std::vector<generated::Document> copies;
    generated::Document merged = original;  // every reviewer's edits applied, when apart
    for (int r = 0; r < reviewers; ++r) {
        edits += ReviewerName(r) + ":\n";
        const int count = 1 + static_cast<int>(random() % 3);
        if (reviewing == Reviewing::Alike && r > 0) {
            copies.push_back(copies.front());
        } else if (reviewing == Reviewing::Apart) {
            // The stretch edited alone, the rest of the document as it was.
            generated::Document stretch = original;
            const auto [from, size] = stretches[r];
            stretch.blocks.assign(original.blocks.begin() + from,
                                  original.blocks.begin() + from + size);
            auto edited = generated::Edit(stretch, random, count, &edits);
            CommentsOfTheirOwn(edited.blocks, r);
            generated::Document copy = original;
            copy.blocks.erase(copy.blocks.begin() + from, copy.blocks.begin() + from + size);
            copy.blocks.insert(copy.blocks.begin() + from, edited.blocks.begin(),
                               edited.blocks.end());
            copies.push_back(copy);
        } else {
            copies.push_back(generated::Edit(original, random, count, &edits));
        }
    }
    if (reviewing == Reviewing::Apart) {
        merged.blocks.clear();
        for (int r = 0; r < reviewers; ++r) {
            const auto [from, size] = stretches[r];
            const std::size_t kept = original.blocks.size() - from - size;  // after the stretch
            const auto& copy = copies[r].blocks;
            const std::size_t edited = copy.size() - from - kept;
            merged.blocks.insert(merged.blocks.end(), copy.begin() + from,
                                 copy.begin() + from + edited);
            merged.blocks.push_back(Boundary(r + 1));
        }
    }
    const std::string a = folder + "/a.docx", r = folder + "/r.docx";
    generated::WriteGenerated(original, a, random);
    std::vector<redline::ReviewedCopy> reviewed;
    std::vector<std::string> inputs{a};
    for (int k = 0; k < reviewers; ++k) {
        const std::string path = folder + "/copy" + std::to_string(k + 1) + ".docx";
        generated::WriteGenerated(copies[k], path, random);
        reviewed.push_back({path, ReviewerName(k)});
        inputs.push_back(path);
    }
    std::vector<redline::Change> changes;
    try {
        changes = redline::CombineDocuments(a, reviewed, r);
    } catch (const std::exception& e) {
        return "edits:\n" + edits + "combining failed: " + e.what();
    }
    std::string failure;
    const std::string wantA = CanonicalDocument(a);
    const std::string rejected = CanonicalDocument(r, Resolution::Reject);
    if (rejected != wantA) failure += "rejecting all: " + FirstDifference(wantA, rejected) + "\n";
    const std::string accepted = CanonicalDocument(r, Resolution::Accept);
    if (reviewing == Reviewing::Apart) {
        const std::string m = folder + "/merged.docx";
        generated::WriteGenerated(merged, m, random);
        const std::string want = CanonicalDocument(m);
        if (accepted != want) failure += "accepting all: " + FirstDifference(want, accepted) + "\n";
        for (int k = 0; k < reviewers; ++k) {
            const std::string own = CanonicalDocument(r, Resolution::Accept, ReviewerName(k));
            const std::string copy = CanonicalDocument(reviewed[k].path);
            if (own != copy) {
                failure += "accepting " + ReviewerName(k) +
                           "'s alone: " + FirstDifference(copy, own) + "\n";
            }
        }
        for (const redline::Change& change : changes) {
            if (!change.conflictsWith.empty()) failure += "a conflict between stretches apart\n";
        }
    } else if (reviewing == Reviewing::Alike) {
        const std::string want = CanonicalDocument(reviewed[0].path);
        if (accepted != want) failure += "accepting all: " + FirstDifference(want, accepted) + "\n";
        for (const redline::Change& change : changes) {
            if (change.reviewers.size() != static_cast<std::size_t>(reviewers)) {
                failure += "a change made alike listed under " +
                           std::to_string(change.reviewers.size()) + " names: " + change.text +
                           "\n";
            }
        }
    } else {
        // A section has one page: the first reviewer's change of it stands, another's is listed
        // as a conflict. Every word of the text is kept.
        auto text = [](const std::string& canonical) {
            std::string kept;
            std::istringstream lines(canonical);
            for (std::string line; std::getline(lines, line);) {
                const std::size_t start = std::min(line.find_first_not_of(' '), line.size());
                const std::string read = line.substr(start);
                if (!read.starts_with("[last section]") && !read.starts_with("[section ends]")) {
                    kept += line + "\n";
                }
            }
            return kept;
        };
        const auto have = Words(text(accepted)), before = Words(wantA);
        for (int k = 0; k < reviewers; ++k) {
            for (const std::string& word : Words(text(CanonicalDocument(reviewed[k].path)))) {
                if (!before.count(word) && !have.count(word))
                    failure += ReviewerName(k) + "'s word lost: " + word + "\n";
            }
        }
    }
    failure += ConflictsDisagree(changes);
    failure += NewResultProblems(r, inputs);
    return failure.empty() ? "" : "edits:\n" + edits + failure;
}

TrackedRoundTrip TrackedRoundTripOf(const std::string& folder, generated::Random& random,
                                    bool schemas) {
    const auto original = generated::RandomDocument(random, 1 + static_cast<int>(random() % 10));
    std::string edits;
    const auto revised =
        generated::Edit(original, random, 1 + static_cast<int>(random() % 4), &edits);
    const std::string a = folder + "/a.docx", b = folder + "/b.docx", m = folder + "/m.docx",
                      r = folder + "/r.docx";
    generated::WriteGenerated(original, a, random);
    generated::WriteGenerated(revised, b, random);
    TrackedRoundTrip trip;
    try {
        // A counterpart's copy that holds every edit as a tracked change of theirs.
        redline::CompareOptions counterpart;
        counterpart.author = "Counterparty";
        redline::CompareDocuments(a, b, m, counterpart);
        const std::string wantB = CanonicalDocument(m, Resolution::Accept);
        for (const std::string& from : {a, m}) {
            const bool itself = from == m;
            redline::TrackedInputs tracked;
            const auto changes = redline::CompareDocuments(from, m, r, {}, nullptr, &tracked);
            const std::string want =
                itself ? CanonicalDocument(m, Resolution::Reject) : CanonicalDocument(a);
            const std::string name = itself ? "against itself" : "against the original";
            if (CanonicalDocument(r, Resolution::Accept) != wantB)
                trip.failure += name + ", accepting all: " +
                                FirstDifference(wantB, CanonicalDocument(r, Resolution::Accept));
            trip.problems += NewResultProblems(r, {from, m});
            if (schemas) {
                for (const std::string& error : NewSchemaErrors(r, {from, m}))
                    trip.problems += name + ", the schema: " + error + "\n";
            }
            if (itself) {
                trip.selfRejected = CanonicalDocument(r, Resolution::Reject) == want;
                for (const redline::Change& change : changes)
                    trip.failure += name + ": listed \"" + change.text + "\"\n";
                trip.selfKept = tracked.notKept == 0;
            } else {
                trip.rejected = CanonicalDocument(r, Resolution::Reject) == want;
                trip.attributed = std::all_of(changes.begin(), changes.end(), [](const auto& c) {
                    return c.trackedBy == "Counterparty";
                });
            }
        }
    } catch (const std::exception& e) {
        trip.failure += std::string("the comparison failed: ") + e.what() + "\n";
    }
    if (!trip.failure.empty() || !trip.problems.empty())
        trip.failure = "edits:\n" + edits + trip.failure + trip.problems;
    return trip;
}
