#include "redline/parts/Comparer.h"
#include "redline/io/Names.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <sstream>

#include "redline/io/BothAtOnce.h"
#include "redline/io/Namespaces.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/parts/Comments.h"
#include "redline/parts/Notes.h"
#include "redline/read/BlockText.h"
#include "redline/read/ContentKeys.h"
#include "redline/read/MarkedReading.h"
#include "redline/read/NestedStories.h"
#include "redline/read/ShownText.h"
#include "redline/read/Story.h"
#include "redline/write/KeptRevisions.h"
#include "redline/write/ParagraphIds.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

// Reads one document's main part as it stands.
void LoadSide(DocumentSide& side, const std::string& path, std::shared_ptr<Namespaces> names) {
    try {
        LoadDocument(side, path, std::move(names));
    } catch (const BadDocument& e) {
        throw UnreadableDocument(path, e);
    }
}

// Hears what the writer keeps and inserts: the notes of kept references are paired, those of
// new ones inserted; kept text boxes are gathered to be compared after their story.
class NestedPairing : public NestedStories {
  public:
    NestedPairing(Notes& footnotes, Notes& endnotes) : footnotes_(footnotes), endnotes_(endnotes) {}

    void kept(const pugi::xml_node& a, const pugi::xml_node& b) override {
        // Most kept blocks hold neither: one look at each instead of a walk for every kind.
        if (!HoldsNestedStories(a) || !HoldsNestedStories(b)) return;
        for (auto [name, notes] : {std::pair{w::footnoteReference, &footnotes_},
                                   std::pair{w::endnoteReference, &endnotes_}}) {
            const auto idsA = NoteReferencesIn(a, name), idsB = NoteReferencesIn(b, name);
            for (std::size_t i = 0; i < idsA.size() && i < idsB.size(); ++i)
                notes->pair(idsA[i], idsB[i]);
        }
        const auto boxesA = TextBoxesIn(a), boxesB = TextBoxesIn(b);
        for (std::size_t i = 0; i < boxesA.size() && i < boxesB.size(); ++i) {
            boxes.emplace_back(boxesA[i], boxesB[i]);
        }
    }

    void inserted(const pugi::xml_node& b) override {
        for (auto [name, notes] : {std::pair{w::footnoteReference, &footnotes_},
                                   std::pair{w::endnoteReference, &endnotes_}}) {
            for (const std::string& id : NoteReferencesIn(b, name)) notes->inserted(id);
        }
    }

    std::vector<std::pair<pugi::xml_node, pugi::xml_node>> boxes;

  private:
    Notes& footnotes_;
    Notes& endnotes_;
};

// Block-level content controls that hold changes give way to their content; inline ones stay.
void UnwrapChangedBlockControls(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (Named(child, w::p) || Named(child, w::r)) {
            child = next;
            continue;  // what a paragraph holds is inline
        }
        if (child.type() == pugi::node_element) UnwrapChangedBlockControls(child);
        if (Named(child, w::sdt) && HoldsRevisions(child.child(w::sdtContent))) {
            const pugi::xml_node content = child.child(w::sdtContent);
            while (pugi::xml_node inner = content.first_child()) {
                node.insert_move_before(inner, child);
            }
            node.remove_child(child);
        }
        child = next;
    }
}

}  // namespace

Comparer::Comparer(const std::string& original, const std::string& revised, const Rules& rules,
                   std::shared_ptr<Namespaces> names)
    : rules_(rules), keys_(rules.like), stamp_(rules.author, rules.date), shared_(a_, b_) {
    // One set of prefixes for both sides: content carried from one into the other keeps its
    // meaning, and the result declares what it carried.
    if (!names) names = std::make_shared<Namespaces>();
    BothAtOnce(
        [&] {
            LoadSide(a_, original, names);
            accept(a_, a_.main, a_.main.name);
        },
        [&] {
            LoadSide(b_, revised, names);
            accept(b_, b_.main, b_.main.name);
        });
    // The revised document's own changes stay: the comparison's marks are numbered above them.
    if (!heldB_.empty() && rules_.keepTracked) {
        for (const std::string& name : b_.package.names()) {
            if (name == b_.main.name || !name.ends_with(".xml")) continue;
            try {
                highestB_ = std::max(highestB_, HighestRevisionId(b_.package.part(name)));
            } catch (const BadDocument&) {
                // a part let go already was parsed, and counted then
            }
        }
        stamp_.numberFrom(std::max(stamp_.peek(), highestB_ + 1));
    }
    footnotes_ = std::make_unique<Notes>(*this, "footnote", Part::Footnote);
    endnotes_ = std::make_unique<Notes>(*this, "endnote", Part::Endnote);
    comments_ = std::make_unique<Comments>(*this);
}

Comparer::~Comparer() = default;

std::string Comparer::carryNote(const std::string& kind, const std::string& id) {
    return (kind == "footnote" ? footnotes_ : endnotes_)->carryNote(kind, id);
}

std::vector<Change> Comparer::run(const std::string& result, MarkedDocument* marked) {
    std::vector<Change> changes = compare();
    if (marked) {
        PartsInPackage inPackage(b_);
        *marked = ReadMarkedDocument(b_, [&](const std::string& name) -> const PackagePart* {
            const auto found = partsB_.find(name);
            return found != partsB_.end() ? found->second.get() : inPackage(name);
        });
    }
    DeclareNamespaces(b_.main.xml, b_.package.namespaces());
    SavePart(b_.main, b_.package);
    for (const auto& [name, part] : partsB_) {
        DeclareNamespaces(part->xml, b_.package.namespaces());
        SavePart(*part, b_.package);
    }
    b_.package.write(result);
    return changes;
}

std::vector<Change> Comparer::runInMemory() {
    std::vector<Change> changes = compare();
    for (const auto& [name, part] : partsB_) {
        DeclareNamespaces(part->xml, b_.package.namespaces());
        b_.package.put(name, SerializePart(part->xml));
        part->relationships.save(b_.package);
    }
    partsB_.clear();
    return changes;
}

std::vector<Change> Comparer::compare() {
    const auto [bodyA, bodyB] =
        readStories(a_.main, b_.main, a_.main.xml.child(w::document).child(w::body),
                    b_.main.xml.child(w::document).child(w::body));
    // Skipped comments stay as the revised document has them; the original's are left behind.
    if (!rules_.leave.comments) carriesComments_ = comments_->pair(bodyA, bodyB);
    compareStories(a_.main, b_.main, bodyA, bodyB, Part::Body, rules_.moves);
    if (rules_.formatting) sectionProperties();
    headersAndFooters();
    // Skipped notes stay as the revised document has them; a deleted reference still brings
    // its note along, deleted, as part of the text it stands in.
    if (!rules_.leave.footnotes) footnotes_->process();
    if (!rules_.leave.endnotes) endnotes_->process();
    if (!rules_.leave.comments) comments_->process();
    shared_.finish();
    stamp_.finish();
    keepRevisions();
    stamp_.finish();  // an equation laid over is marked through the stamp as well
    if (rules_.unwrapChangedControls) {
        UnwrapChangedBlockControls(b_.main.xml.document_element());
        for (const auto& [name, part] : partsB_) {
            UnwrapChangedBlockControls(part->xml.document_element());
        }
    }
    // Paragraph ids live in Word 2010's namespace: where no part declares it, there are none.
    if (b_.package.namespaces().declared().count("w14")) {
        std::vector<pugi::xml_node> stories{b_.main.xml.document_element()};
        for (const auto& [name, part] : partsB_) stories.push_back(part->xml.document_element());
        MakeParagraphIdsUnique(stories);
    }
    if (!rules_.leave.comments) comments_->thread();
    // The original is no longer needed: its memory goes before the result's text is made.
    a_.main.xml.reset();
    partsA_.clear();
    return std::move(changes_);
}

std::pair<Story, Story> Comparer::readStories(const PackagePart& a, const PackagePart& b,
                                              const pugi::xml_node& containerA,
                                              const pugi::xml_node& containerB) {
    ContentKeys keysA(a_.package, a), keysB(b_.package, b);
    StoryReader readerA(keys_, keysA), readerB(keys_, keysB);
    std::pair<Story, Story> stories;
    auto readA = [&] { stories.first = readerA.read(containerA); };
    auto readB = [&] { stories.second = readerB.read(containerB); };
    // A long story of each side is read at once on two cores: the sides share only the key
    // table, which then takes turns. Likeness keys every word there, too often to take turns.
    constexpr std::size_t kWorthAThread = 4096;  // elements
    if (!keys_.like().any() && HoldsAtLeast(containerB, kWorthAThread)) {
        KeyTable::Shared shared(keys_);
        BothAtOnce(readA, readB);
    } else {
        readA();
        readB();
    }
    return stories;
}

void Comparer::compareStories(const PackagePart& a, PackagePart& b,
                              const pugi::xml_node& containerA, const pugi::xml_node& containerB,
                              Part part, bool moves, bool record) {
    const auto [storyA, storyB] = readStories(a, b, containerA, containerB);
    compareStories(a, b, storyA, storyB, part, moves, record);
}

void Comparer::compareStories(const PackagePart& a, PackagePart& b, const Story& storyA,
                              const Story& storyB, Part part, bool moves, bool record) {
    CommentCarryOver* comments = carriesComments_ ? comments_.get() : nullptr;
    PartCarryOver carryOver(shared_, a, b, this, comments);
    NestedPairing nested(*footnotes_, *endnotes_);
    std::vector<Change> unrecorded;
    WriteContext context{stamp_,    rules_, keys_, carryOver, record ? changes_ : unrecorded,
                         nextMove_, &nested};
    if (part == Part::Body) context.carriedSections = &carriedSections_;
    context.comments = comments;
    CompareStory(storyA, storyB, context, part, moves);
    if (rules_.leave.textBoxes) return;
    for (const auto& [boxA, boxB] : nested.boxes) {
        const auto contentsA = BoxContents(boxA, ShapeForms::Both),
                   contentsB = BoxContents(boxB, ShapeForms::Both);
        // The shape's own content and its older (VML) form get the same marks, reported once:
        // every box of the shape (a group holds several) is reported from its own form alone.
        for (std::size_t i = 0; i < contentsB.size() && !contentsA.empty(); ++i) {
            compareStories(a, b, contentsA[std::min(i, contentsA.size() - 1)], contentsB[i],
                           Part::TextBox, false, record && !InOlderForm(contentsB[i], boxB));
        }
    }
}

void Comparer::markStory(const pugi::xml_node& container, Mark mark, Part part) {
    const int since = stamp_.peek();
    for (pugi::xml_node block : container.children()) {
        if (Named(block, w::p) || Named(block, w::tbl) || Named(block, w::sdt)) {
            MarkBlock(block, mark, stamp_);
        }
    }
    changes_.push_back({mark == Mark::Insert ? ChangeKind::Insertion : ChangeKind::Deletion, part,
                        ShownText(container), 0, 0, stamp_.peek() > since ? since : 0});
}

PackagePart* Comparer::part(DocumentSide& side,
                            std::map<std::string, std::unique_ptr<PackagePart>>& parts,
                            const std::string& name) {
    if (name.empty()) return nullptr;
    if (name == side.main.name) return &side.main;
    if (const auto found = parts.find(name); found != parts.end()) return found->second.get();
    auto loaded = std::make_unique<PackagePart>();
    try {
        if (!LoadPart(side.package, name, *loaded)) return nullptr;
    } catch (const BadDocument& e) {
        throw UnreadableDocument(side.path, e);
    }
    accept(side, *loaded, name);
    return (parts[name] = std::move(loaded)).get();
}

// Each document is compared as it reads now, its own tracked changes accepted; the revised
// document's part is kept as it was read, to lay its changes over the result's.
void Comparer::accept(DocumentSide& side, PackagePart& part, const std::string& name) {
    pugi::xml_node root = part.xml.document_element();
    if (!HoldsRevisions(root)) return;
    const bool revised = &side == &b_;
    CountRevisions(root, revised ? heldB_ : heldA_);
    if (revised) highestB_ = std::max(highestB_, HighestRevisionId(root));
    if (revised && rules_.keepTracked) asRead_[name].reset(part.xml);
    AcceptRevisions(root);
}

void Comparer::keepRevisions() {
    KeptLog log;
    for (const auto& [name, asRead] : asRead_) {
        const auto found = partsB_.find(name);
        PackagePart* part = name == b_.main.name     ? &b_.main
                            : found != partsB_.end() ? found->second.get()
                                                     : nullptr;
        if (part)
            KeepRevisions(part->xml.document_element(), asRead.document_element(), stamp_, log);
    }
    asRead_.clear();
    notKept_ = log.lost;
    // A change is the revised document's where a mark of it took that document's author: its
    // marks are numbered from its own mark up to the next change's.
    std::vector<std::pair<int, Change*>> byMark;
    for (Change& change : changes_) {
        if (change.mark > 0) byMark.emplace_back(change.mark, &change);
    }
    std::sort(byMark.begin(), byMark.end());
    for (const auto& [id, author] : log.authorOf) {
        auto at =
            std::upper_bound(byMark.begin(), byMark.end(), std::pair<int, Change*>{id, nullptr},
                             [](const auto& x, const auto& y) { return x.first < y.first; });
        if (at == byMark.begin()) continue;
        Change& change = *std::prev(at)->second;
        if (change.trackedBy.empty()) change.trackedBy = author;
    }
}

TrackedInputs Comparer::trackedInputs() const {
    TrackedInputs inputs;
    for (const auto& [author, count] : heldA_) inputs.original.push_back({author, count});
    for (const auto& [author, count] : heldB_) inputs.revised.push_back({author, count});
    inputs.accepted = !rules_.keepTracked;
    inputs.notKept = notKept_;
    return inputs;
}

PackagePart* Comparer::originalPart(const std::string& name) {
    return part(a_, partsA_, name);
}

PackagePart* Comparer::resultPart(const std::string& name) {
    return part(b_, partsB_, name);
}

PackagePart* Comparer::addResultPart(const std::string& name, const std::string& type,
                                     const std::string& contentType, const std::string& rootXml) {
    b_.package.put(name, rootXml);
    shared_.addOverride(name, contentType);
    b_.main.relationships.add({type, TargetFrom(b_.main.name, name)});
    return resultPart(name);
}

}  // namespace redline
