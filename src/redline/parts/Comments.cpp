#include "redline/parts/Comments.h"
#include "redline/io/Names.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "redline/io/BothAtOnce.h"
#include "redline/io/Elements.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/parts/Comparer.h"
#include "redline/read/ShownText.h"
#include "redline/read/Story.h"
#include "redline/write/Marks.h"

namespace redline {

namespace {

constexpr const char* kCommentsType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";

// Where the result's comments stand as it reads with every change rejected.
std::unordered_map<std::string, CommentAnchor> ResultAnchors(const pugi::xml_node& body) {
    KeyTable keys;
    NoObjectKeys objects;
    return CommentAnchors(StoryReader(keys, objects).withoutHashes().read(body));
}

// Whether the run stands inside an insertion already.
bool Inserted(pugi::xml_node run) {
    for (pugi::xml_node up = run.parent(); up; up = up.parent()) {
        if (Named(up, w::ins) || Named(up, w::moveTo)) return true;
    }
    return false;
}

// Whether the run stands in text moved here.
bool Moved(pugi::xml_node run) {
    for (pugi::xml_node up = run.parent(); up; up = up.parent()) {
        if (Named(up, w::moveTo)) return true;
    }
    return false;
}

}  // namespace

Comments::Comments(Comparer& comparer) : comparer_(comparer) {}

std::vector<Comments::Comment> Comments::read(PackagePart* part, const Story& body) {
    std::vector<Comment> comments;
    if (!part) return comments;
    const auto anchors = CommentAnchors(body);
    for (const pugi::xml_node& node : part->xml.document_element().children(w::comment)) {
        const std::string id = Attribute(node, "w:id");
        const auto found = anchors.find(id);
        if (part == a_ && found != anchors.end()) anchorsA_[id] = found->second;
        comments.push_back({node, Attribute(node, "w:author"), Attribute(node, "w:date"),
                            ShownText(node), found == anchors.end() ? "" : found->second.text});
    }
    return comments;
}

bool Comments::pair(const Story& bodyA, const Story& bodyB) {
    a_ = comparer_.originalPart(comparer_.original().partOfType("/comments"));
    b_ = comparer_.resultPart(comparer_.result().partOfType("/comments"));
    // Each side's comments and where they stand, read at once: each walks a whole body.
    std::vector<Comment> inA, inB;
    BothAtOnce([&] { inA = read(a_, bodyA); }, [&] { inB = read(b_, bodyB); });
    // The surest likeness first: a comment keeps its author and date however it is edited.
    // Two comments dated apart are two, whatever they annotate; one undated is paired by what
    // it annotates, else by its own text.
    using Key = std::function<std::string(const Comment&)>;
    const Key keys[] = {
        [](const Comment& c) { return c.author + '\x01' + c.date + '\x01' + c.text; },
        [](const Comment& c) { return c.date.empty() ? "" : c.author + '\x01' + c.date; },
        [](const Comment& c) {
            return c.annotated.empty() || !c.date.empty() ? "" : c.author + '\x01' + c.annotated;
        },
        [](const Comment& c) { return c.date.empty() ? c.author + '\x01' + c.text : ""; },
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
    for (const Comment& comment : inA) originals_[Attribute(comment.node, "w:id")] = comment.node;
    for (const Comment& comment : inB) {
        nextId_ = std::max(nextId_,
                           std::strtol(Attribute(comment.node, "w:id").c_str(), nullptr, 10) + 1);
    }
    return !originals_.empty();
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

bool Comments::originalOnly(const std::string& id) const {
    return originals_.count(id) && !pairs_.count(id);
}

std::string Comments::carriedComment(const std::string& id) {
    const bool paired = pairs_.count(id) != 0;
    auto& copies = paired ? provisional_ : carried_;
    if (const auto found = copies.find(id); found != copies.end()) return found->second;
    const auto original = originals_.find(id);
    if (original == originals_.end() || !load()) return {};
    pugi::xml_node copy = b_->xml.document_element().append_copy(original->second);
    const std::string newId = std::to_string(nextId_++);
    copy.attribute("w:id").set_value(newId.c_str());
    PartCarryOver(comparer_.shared(), *a_, *b_).carry(copy);
    carriedIds_.insert(newId);
    return copies[id] = newId;
}

void Comments::index() {
    inResult_.clear();
    if (b_) {
        for (const pugi::xml_node& comment : b_->xml.document_element().children(w::comment)) {
            inResult_[Attribute(comment, "w:id")] = comment;
        }
    }
    marks_.clear();
    WalkContent(comparer_.result().main.xml, [&](const pugi::xml_node& node, ElementKind) {
        if (Named(node, w::commentRangeStart) || Named(node, w::commentRangeEnd)) {
            marks_[Attribute(node, "w:id")].push_back(node);
        } else if (Named(node, w::commentReference) && Named(node.parent(), w::r)) {
            marks_[Attribute(node, "w:id")].push_back(node.parent());
        }
        return true;
    });
}

pugi::xml_node Comments::reference(const std::string& resultId) const {
    const auto found = marks_.find(resultId);
    if (found == marks_.end()) return {};
    for (const pugi::xml_node& mark : found->second) {
        if (Named(mark, w::r)) return mark;
    }
    return {};
}

void Comments::drop(const std::string& resultId) {
    for (pugi::xml_node mark : marks_[resultId]) {
        pugi::xml_node holder = mark.parent();
        holder.remove_child(mark);
        // The deletion that held the reference alone goes with it.
        if (Named(holder, w::del) && !holder.first_child()) holder.parent().remove_child(holder);
    }
    marks_.erase(resultId);
    b_->xml.document_element().remove_child(resultComment(resultId));
    inResult_.erase(resultId);
}

void Comments::process() {
    if (!b_) return;  // neither the revised document nor the result has any comment
    index();
    comparePaired();
    for (const auto& [idA, idB] : carried_) {
        const pugi::xml_node comment = resultComment(idB);
        comparer_.changes().push_back({ChangeKind::Deletion, Part::Comment, ShownText(comment), 0,
                                       0, 0, Attribute(comment, "w:author")});
    }
    settleProvisional();
    markNew();
}

void Comments::comparePaired() {
    std::vector<Change>& changes = comparer_.changes();
    for (const auto& [idA, idB] : pairs_) {
        const pugi::xml_node commentA = originals_[idA], commentB = resultComment(idB);
        const std::size_t before = changes.size();
        comparer_.compareStories(*a_, *b_, commentA, commentB, Part::Comment, false);
        for (std::size_t c = before; c < changes.size(); ++c) {
            changes[c].author = Attribute(commentB, "w:author");
        }
        // The office keeps no tracked change inside a comment and would show both sides' words
        // run together: it gets the revised text, the change still listed.
        if (comparer_.rules().unwrapChangedControls) AcceptRevisions(commentB);
    }
}

void Comments::settleProvisional() {
    const auto rejected =
        provisional_.empty()
            ? std::unordered_map<std::string, CommentAnchor>()
            : ResultAnchors(comparer_.result().main.xml.child(w::document).child(w::body));
    for (const auto& [idA, copy] : provisional_) {
        const pugi::xml_node own = reference(pairs_[idA]);
        // The result's own comment serves rejecting too where it stays and annotates what the
        // original's did; else the original's copy stays, and the result's own comes in beside.
        const auto there = rejected.find(pairs_[idA]);
        if (own && !Inserted(own) && there != rejected.end() && there->second == anchorsA_[idA]) {
            drop(copy);
            continue;
        }
        carried_[idA] = copy;
        // Listed as a comment gone from one place and come to another, but where it moved with
        // its paragraph: the move says so.
        if (own && !Moved(own)) listMoved(idA, copy, own);
        // A range whose start stood in kept text, left behind there, is no range.
        auto& marks = marks_[copy];
        const bool started = std::any_of(marks.begin(), marks.end(), [](const auto& mark) {
            return Named(mark, w::commentRangeStart);
        });
        for (pugi::xml_node mark : marks) {
            if (!started && Named(mark, w::commentRangeEnd)) mark.parent().remove_child(mark);
        }
    }
}

void Comments::listMoved(const std::string& idA, const std::string& copy,
                         const pugi::xml_node& own) {
    std::vector<Change>& changes = comparer_.changes();
    Stamp& stamp = comparer_.stamp();
    const pugi::xml_node comment = resultComment(pairs_[idA]);
    const std::string author = Attribute(comment, "w:author");
    changes.push_back(
        {ChangeKind::Deletion, Part::Comment, ShownText(resultComment(copy)), 0, 0, 0, author});
    const int since = stamp.peek();
    if (!Inserted(own)) MarkRun(own, Mark::Insert, stamp);
    changes.push_back({ChangeKind::Insertion, Part::Comment, ShownText(comment), 0, 0,
                       stamp.peek() > since ? since : 0, author});
}

// The revised document's own comments: their references inserted where they are not yet.
void Comments::markNew() {
    Stamp& stamp = comparer_.stamp();
    for (const auto& [id, marks] : marks_) {
        if (paired_.count(id) || isCarried(id)) continue;
        const pugi::xml_node comment = resultComment(id), run = reference(id);
        if (!comment || !run) continue;
        const int since = stamp.peek();
        if (!Inserted(run)) MarkRun(run, Mark::Insert, stamp);
        comparer_.changes().push_back({ChangeKind::Insertion, Part::Comment, ShownText(comment), 0,
                                       0, stamp.peek() > since ? since : 0,
                                       Attribute(comment, "w:author")});
    }
}

std::string Comments::LastParagraphId(const pugi::xml_node& comment) {
    pugi::xml_node last;
    for (const pugi::xml_node& paragraph : comment.children(w::p)) last = paragraph;
    return Attribute(last, "w14:paraId");
}

pugi::xml_node Comments::resultComment(const std::string& id) const {
    const auto found = inResult_.find(id);
    return found == inResult_.end() ? pugi::xml_node() : found->second;
}

void Comments::thread() {
    if (carried_.empty()) return;
    PackagePart* threadsA =
        comparer_.originalPart(comparer_.original().partOfType("/commentsExtended"));
    if (!threadsA) return;
    // The result's paragraph id of each original comment's last paragraph, where it has one.
    std::map<std::string, std::string> idOf;
    for (const auto& [idA, node] : originals_) {
        const auto carried = carried_.find(idA);
        const auto paired = pairs_.find(idA);
        const pugi::xml_node there = carried != carried_.end() ? resultComment(carried->second)
                                     : paired != pairs_.end()  ? resultComment(paired->second)
                                                               : pugi::xml_node();
        if (there) idOf[LastParagraphId(node)] = LastParagraphId(there);
    }
    PackagePart* threadsB =
        comparer_.resultPart(comparer_.result().partOfType("/commentsExtended"));
    if (!threadsB) {
        threadsB = comparer_.addResultPart(
            "word/commentsExtended.xml",
            "http://schemas.microsoft.com/office/2011/relationships/commentsExtended",
            "application/vnd.openxmlformats-officedocument.wordprocessingml.commentsExtended+xml",
            "<w15:commentsEx xmlns:w15=\"http://schemas.microsoft.com/office/word/2012/wordml\" "
            "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
            "mc:Ignorable=\"w15\"/>");
    }
    if (!threadsB) return;
    for (const auto& [idA, idB] : carried_) {
        const std::string from = LastParagraphId(originals_[idA]);
        const pugi::xml_node entry = threadsA->xml.document_element().find_child_by_attribute(
            w15::commentEx, "w15:paraId", from.c_str());
        if (from.empty() || !entry) continue;
        pugi::xml_node copy = threadsB->xml.document_element().append_copy(entry);
        copy.attribute("w15:paraId").set_value(idOf[from].c_str());
        // A reply whose comment is in the result neither way stands alone.
        if (pugi::xml_attribute parent = copy.attribute("w15:paraIdParent")) {
            const auto found = idOf.find(parent.value());
            if (found == idOf.end()) {
                copy.remove_attribute(parent);
            } else {
                parent.set_value(found->second.c_str());
            }
        }
    }
}

bool Comments::isCarried(const std::string& resultId) const {
    return carriedIds_.count(resultId) != 0;
}

}  // namespace redline
