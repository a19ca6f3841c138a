#include "redline/Compare.h"

#include <ctime>
#include <functional>

#include "redline/Adoption.h"
#include "redline/Document.h"
#include "redline/Xml.h"

namespace redline {

namespace {

// Keys for pictures and other objects: what they show, whatever the ids that name it.
class ContentKeys : public ObjectKeys {
  public:
    explicit ContentKeys(const DocumentSide& side) : side_(side) {}

    std::string describe(const pugi::xml_node& node) override {
        return CanonicalXml(
            node,
            [this](const pugi::xml_node& owner,
                   const pugi::xml_attribute& attribute) -> std::string {
                const std::string_view name = attribute.name();
                if (name.starts_with("r:") || name == "o:relid") return target(attribute.value());
                // Ids and names that each document numbers in its own way.
                const std::string_view element = owner.name();
                if ((element == "wp:docPr" || element == "pic:cNvPr") &&
                    (name == "id" || name == "name")) {
                    return {};
                }
                if (name == "wp14:anchorId" || name == "wp14:editId" || name == "w:id") return {};
                return attribute.value();
            });
    }

  private:
    std::string target(const std::string& id) {
        const Relationship* relationship = side_.relationships.find(id);
        if (!relationship) return "?";
        if (relationship->external) return relationship->target;
        const std::string part = side_.relationships.partOf(*relationship);
        if (!side_.package.has(part)) return "?";
        return std::to_string(std::hash<std::string>{}(side_.package.part(part)));
    }

    const DocumentSide& side_;
};

void Load(DocumentSide& side, const std::string& path) {
    try {
        LoadDocument(side, path);
    } catch (const BadDocument& e) {
        throw UnreadableDocument(path, e.what());
    }
}

}  // namespace

std::string RevisionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::vector<Change> CompareDocuments(const std::string& original, const std::string& revised,
                                     const std::string& result, const CompareOptions& options) {
    DocumentSide a, b;
    Load(a, original);
    Load(b, revised);
    AcceptRevisions(a.document);
    AcceptRevisions(b.document);

    KeyTable keys;
    ContentKeys objectsA(a), objectsB(b);
    StoryReader readerA(keys, objectsA), readerB(keys, objectsB);
    Stamp stamp(options.author, options.date.empty() ? RevisionDate() : options.date);
    Adoption adoption(a, b);
    std::vector<Change> changes;
    WriteContext context{stamp, options.formatting, readerA, readerB, adoption, changes};

    const Story bodyA = readerA.read(a.document.child("w:document").child("w:body"));
    const Story bodyB = readerB.read(b.document.child("w:document").child("w:body"));
    WriteStory(bodyA, bodyB, context, Part::Body, true);

    adoption.finish();
    b.package.put(b.mainPart, SerializePart(b.document));
    b.package.write(result);
    return changes;
}

}  // namespace redline
