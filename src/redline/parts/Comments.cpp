#include "redline/parts/Comments.h"

#include <cstdlib>
#include <functional>
#include <utility>

#include "redline/io/Xml.h"
#include "redline/parts/Comparer.h"
#include "redline/read/BlockText.h"
#include "redline/write/Marks.h"

namespace redline {

namespace {

constexpr const char* kCommentsType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";

// The text each comment annotates, by id: what stands between its range's start and end.
std::map<std::string, std::string> Annotated(const pugi::xml_node& body) {
    std::map<std::string, std::string> text;
    std::set<std::string> open;
    std::vector<pugi::xml_node> pending{body};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        if (Named(node, "w:commentRangeStart")) {
            open.insert(Attribute(node, "w:id"));
        } else if (Named(node, "w:commentRangeEnd")) {
            open.erase(Attribute(node, "w:id"));
        } else if (Named(node, "w:t") && !open.empty()) {
            for (const std::string& id : open) text[id] += node.text().get();
        }
        // Children pushed last first, so that they come off in document order.
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
            if (child.type() == pugi::node_element) pending.push_back(child);
        }
    }
    return text;
}

// Whether the run stands inside an insertion already.
bool Inserted(pugi::xml_node run) {
    for (pugi::xml_node up = run.parent(); up; up = up.parent()) {
        if (Named(up, "w:ins") || Named(up, "w:moveTo")) return true;
    }
    return false;
}

}  // namespace

Comments::Comments(Comparer& comparer) : comparer_(comparer) {}

std::vector<Comments::Comment> Comments::read(PackagePart* part, const pugi::xml_node& body) const {
    std::vector<Comment> comments;
    if (!part) return comments;
    const auto annotated = Annotated(body);
    for (const pugi::xml_node& node : part->xml.document_element().children("w:comment")) {
        const std::string id = Attribute(node, "w:id");
        const auto found = annotated.find(id);
        comments.push_back({node, Attribute(node, "w:author"), Attribute(node, "w:date"),
                            ReportText(node), found == annotated.end() ? "" : found->second});
    }
    return comments;
}

bool Comments::pair() {
    a_ = comparer_.originalPart(comparer_.original().partOfType("/comments"));
    b_ = comparer_.resultPart(comparer_.result().partOfType("/comments"));
    const auto inA = read(a_, comparer_.original().main.xml.document_element());
    const auto inB = read(b_, comparer_.result().main.xml.document_element());
    // The surest likeness first: a comment keeps its author and date however it is edited.
    using Key = std::function<std::string(const Comment&)>;
    const Key keys[] = {
        [](const Comment& c) { return c.author + '\x01' + c.date + '\x01' + c.text; },
        [](const Comment& c) { return c.date.empty() ? "" : c.author + '\x01' + c.date; },
        [](const Comment& c) { return c.annotated.empty() ? "" : c.author + '\x01' + c.annotated; },
        [](const Comment& c) { return c.author + '\x01' + c.text; },
    };
    std::vector<bool> takenA(inA.size()), takenB(inB.size());
    for (const Key& key : keys) {
        std::multimap<std::string, std::size_t> open;
        for (std::size_t j = 0; j < inB.size(); ++j) {
            if (const std::string k = key(inB[j]); !takenB[j] && !k.empty()) open.emplace(k, j);
        }
        for (std::size_t i = 0; i < inA.size(); ++i) {
            const std::string k = key(inA[i]);
            const auto found = takenA[i] || k.empty() ? open.end() : open.find(k);
            if (found == open.end()) continue;
            takenA[i] = takenB[found->second] = true;
            pairs_[Attribute(inA[i].node, "w:id")] = Attribute(inB[found->second].node, "w:id");
            paired_.insert(Attribute(inB[found->second].node, "w:id"));
            open.erase(found);
        }
    }
    bool carries = false;
    for (std::size_t i = 0; i < inA.size(); ++i) {
        originals_[Attribute(inA[i].node, "w:id")] = inA[i].node;
        carries = carries || !takenA[i];
    }
    for (const Comment& comment : inB) {
        nextId_ = std::max(nextId_,
                           std::strtol(Attribute(comment.node, "w:id").c_str(), nullptr, 10) + 1);
    }
    return carries;
}

bool Comments::load() {
    if (b_) return true;
    if (!a_) return false;
    // The original's comments come into a result that had none.
    std::string name = "word/comments.xml";
    for (int n = 2; comparer_.result().package.has(name); ++n) {
        name = "word/comments" + std::to_string(n) + ".xml";
    }
    b_ = comparer_.addResultPart(
        name, kCommentsType,
        "application/vnd.openxmlformats-officedocument.wordprocessingml.comments+xml",
        "<w:comments xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>");
    return b_ != nullptr;
}

std::string Comments::carriedComment(const std::string& id) {
    if (pairs_.count(id)) return {};
    if (const auto found = carried_.find(id); found != carried_.end()) return found->second;
    const auto original = originals_.find(id);
    if (original == originals_.end() || !load()) return {};
    pugi::xml_node copy = b_->xml.document_element().append_copy(original->second);
    const std::string newId = std::to_string(nextId_++);
    copy.attribute("w:id").set_value(newId.c_str());
    PartCarryOver(comparer_.shared(), *a_, *b_).carry(copy);
    return carried_[id] = newId;
}

void Comments::process() {
    std::vector<Change>& changes = comparer_.changes();
    for (const auto& [idA, idB] : pairs_) {
        const pugi::xml_node commentA =
            a_->xml.document_element().find_child_by_attribute("w:comment", "w:id", idA.c_str());
        const pugi::xml_node commentB =
            b_->xml.document_element().find_child_by_attribute("w:comment", "w:id", idB.c_str());
        const std::size_t before = changes.size();
        comparer_.compareStories(*a_, *b_, commentA, commentB, Part::Comment, false);
        for (std::size_t c = before; c < changes.size(); ++c) {
            changes[c].author = Attribute(commentB, "w:author");
        }
    }
    if (!b_) return;
    for (const auto& [idA, idB] : carried_) {
        const pugi::xml_node comment =
            b_->xml.document_element().find_child_by_attribute("w:comment", "w:id", idB.c_str());
        changes.push_back({ChangeKind::Deletion, Part::Comment, ReportText(comment), 0, 0, 0,
                           Attribute(comment, "w:author")});
    }
    // The revised document's own comments: their references inserted where they are not yet.
    Stamp& stamp = comparer_.stamp();
    for (const pugi::xpath_node& found :
         comparer_.result().main.xml.select_nodes("//w:r[w:commentReference]")) {
        const pugi::xml_node run = found.node();
        const std::string id = Attribute(run.child("w:commentReference"), "w:id");
        if (paired_.count(id) || IsCarried(id)) continue;
        const pugi::xml_node comment =
            b_->xml.document_element().find_child_by_attribute("w:comment", "w:id", id.c_str());
        if (!comment) continue;
        const int since = stamp.peek();
        if (!Inserted(run)) MarkRun(run, Mark::Insert, stamp);
        changes.push_back({ChangeKind::Insertion, Part::Comment, ReportText(comment), 0, 0,
                           stamp.peek() > since ? since : 0, Attribute(comment, "w:author")});
    }
}

bool Comments::IsCarried(const std::string& resultId) const {
    for (const auto& [idA, idB] : carried_) {
        if (idB == resultId) return true;
    }
    return false;
}

}  // namespace redline
