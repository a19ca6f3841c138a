#include "redline/parts/Notes.h"

#include "redline/io/Names.h"

#include <cstdlib>

#include "redline/io/Xml.h"
#include "redline/parts/Comparer.h"

namespace redline {

Notes::Notes(Comparer& comparer, std::string kind, Part part)
    : comparer_(comparer), kind_(std::move(kind)), part_(part) {}

std::string Notes::relationshipType() const {
    return "http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + kind_ + "s";
}

bool Notes::load() {
    if (b_) return true;
    a_ = comparer_.originalPart(comparer_.original().partOfType("/" + kind_ + "s"));
    b_ = comparer_.resultPart(comparer_.result().partOfType("/" + kind_ + "s"));
    if (!b_) {
        // The original's notes come into a result that had none.
        std::string name = "word/" + kind_ + "s.xml";
        for (int n = 2; comparer_.result().package.has(name); ++n) {
            name = "word/" + kind_ + "s" + std::to_string(n) + ".xml";
        }
        b_ = comparer_.addResultPart(
            name, relationshipType(),
            "application/vnd.openxmlformats-officedocument.wordprocessingml." + kind_ + "s+xml",
            "<w:" + kind_ +
                "s xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
                "main\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships\"/>");
    }
    for (const pugi::xml_node& note : b_->xml.document_element().children(element())) {
        nextId_ = std::max(nextId_, std::strtol(note.attribute("w:id").value(), nullptr, 10) + 1);
    }
    return true;
}

const char* Notes::element() const {
    return kind_ == "footnote" ? w::footnote : w::endnote;
}

pugi::xml_node Notes::note(PackagePart& part, const std::string& id) const {
    return part.xml.first_child().find_child_by_attribute(element(), "w:id", id.c_str());
}

std::string Notes::carryNote(const std::string&, const std::string& id) {
    load();
    const pugi::xml_node original = a_ ? note(*a_, id) : pugi::xml_node();
    if (!original) return id;
    pugi::xml_node copy = b_->xml.first_child().append_copy(original);
    const std::string newId = std::to_string(nextId_++);
    copy.attribute("w:id").set_value(newId.c_str());
    PartCarryOver(comparer_.shared(), *a_, *b_, this).carry(copy);
    done_.insert(newId);
    comparer_.markStory(copy, Mark::Delete, part_);
    return newId;
}

void Notes::process() {
    while (!pairs_.empty() || !inserted_.empty()) {
        load();
        auto pairs = std::move(pairs_);
        auto inserted = std::move(inserted_);
        pairs_.clear();
        inserted_.clear();
        for (const auto& [idA, idB] : pairs) {
            const pugi::xml_node noteB = note(*b_, idB);
            const pugi::xml_node noteA = a_ ? note(*a_, idA) : pugi::xml_node();
            if (!noteB || !done_.insert(idB).second) continue;
            if (noteA) {
                comparer_.compareStories(*a_, *b_, noteA, noteB, part_, false);
            } else {
                comparer_.markStory(noteB, Mark::Insert, part_);
            }
        }
        for (const std::string& idB : inserted) {
            const pugi::xml_node noteB = note(*b_, idB);
            if (noteB && done_.insert(idB).second) comparer_.markStory(noteB, Mark::Insert, part_);
        }
    }
}

}  // namespace redline
