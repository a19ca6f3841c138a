#include "support/ResultCheck.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <stdexcept>
#include <string_view>

#include "support/StrictXml.h"
#include "support/XmlNames.h"
#include "support/Zip.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Is(const pugi::xml_node& node, std::string_view name) {
    return name == node.name();
}

bool IsOneOf(const pugi::xml_node& node, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), std::string_view(node.name())) != names.end();
}

// A part's relationships: "word/_rels/document.xml.rels" for "word/document.xml".
std::string RelationshipsOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

// The package name a relationship's target stands for, seen from `part`'s folder.
std::string TargetName(const std::string& part, const std::string& target) {
    std::string joined = target;
    if (!target.empty() && target[0] == '/') {
        joined = target.substr(1);
    } else {
        const std::size_t slash = part.rfind('/');
        joined = (slash == std::string::npos ? "" : part.substr(0, slash + 1)) + target;
    }
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('/', start), joined.size());
        const std::string piece = joined.substr(start, end - start);
        if (piece == "..") {
            if (!pieces.empty()) pieces.pop_back();
        } else if (!piece.empty() && piece != ".") {
            pieces.push_back(piece);
        }
        start = end + 1;
    }
    std::string name;
    for (const std::string& piece : pieces) name += (name.empty() ? "" : "/") + piece;
    return name;
}

const std::set<std::string_view>& ChangeElements() {
    static const std::set<std::string_view> names = {"w:ins",
                                                     "w:del",
                                                     "w:moveFrom",
                                                     "w:moveTo",
                                                     "w:rPrChange",
                                                     "w:pPrChange",
                                                     "w:sectPrChange",
                                                     "w:tblPrChange",
                                                     "w:trPrChange",
                                                     "w:tcPrChange",
                                                     "w:tblGridChange",
                                                     "w:tblPrExChange",
                                                     "w:cellIns",
                                                     "w:cellDel",
                                                     "w:cellMerge",
                                                     "w:numberingChange",
                                                     "w:moveFromRangeStart",
                                                     "w:moveToRangeStart",
                                                     "w:customXmlInsRangeStart",
                                                     "w:customXmlDelRangeStart",
                                                     "w:customXmlMoveFromRangeStart",
                                                     "w:customXmlMoveToRangeStart"};
    return names;
}

bool IsContentMark(const pugi::xml_node& node) {
    return IsOneOf(node, {"w:ins", "w:del", "w:moveFrom", "w:moveTo"});
}

// Where the schema lets a mark of inserted, deleted or moved content stand.
bool PlacedWell(const pugi::xml_node& mark) {
    const pugi::xml_node parent = mark.parent();
    const std::string_view name = parent.name();
    if (Is(parent, "w:rPr")) return Is(parent.parent(), "w:pPr");  // the paragraph's mark
    if (Is(parent, "w:trPr") || Is(parent, "m:ctrlPr")) {
        return Is(mark, "w:ins") || Is(mark, "w:del");
    }
    // A change inside a change of its own kind: inserted twice, or deleted twice.
    const bool adds = IsOneOf(mark, {"w:ins", "w:moveTo"}), removes = !adds;
    if ((adds && IsOneOf(parent, {"w:ins", "w:moveTo"})) ||
        (removes && IsOneOf(parent, {"w:del", "w:moveFrom"}))) {
        return false;
    }
    if (name.starts_with("m:")) {
        return IsOneOf(parent, {"m:oMath", "m:e", "m:num", "m:den", "m:sub", "m:sup", "m:deg",
                                "m:lim", "m:fName"});
    }
    return IsOneOf(parent,
                   {"w:body",      "w:p",        "w:tc",        "w:hdr",         "w:ftr",
                    "w:footnote",  "w:endnote",  "w:comment",   "w:txbxContent", "w:sdtContent",
                    "w:hyperlink", "w:smartTag", "w:customXml", "w:fldSimple",   "w:ins",
                    "w:del",       "w:moveFrom", "w:moveTo",    "w:docPartBody", "w:dir",
                    "w:bdo",       "w:tbl",      "w:tr"}) &&
           // In a table or row only what holds no content: a run needs a paragraph.
           (!IsOneOf(parent, {"w:tbl", "w:tr"}) || !mark.first_child());
}

// Whether a text begins or ends with white space that a reader drops: only xml:space="preserve"
// keeps it.
bool LosesEndSpaces(const pugi::xml_node& text) {
    const std::string_view value = text.text().get();
    if (value.empty()) return false;
    auto white = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return (white(value.front()) || white(value.back())) &&
           std::string_view(text.attribute("xml:space").value()) != "preserve";
}

class Checker {
  public:
    explicit Checker(const std::string& path) : entries_(ReadZip(path)) {}

    std::vector<std::string> run() {
        contentTypes();
        for (const auto& [name, bytes] : entries_) {
            if (!name.ends_with(".xml") && !name.ends_with(".rels")) continue;
            // Read strictly first: the lenient parser below takes bytes that are not UTF-8,
            // characters XML forbids and a second root.
            if (const std::string strict = StrictXmlProblem(bytes); !strict.empty()) {
                problem(name + " is not well-formed: " + strict);
                continue;
            }
            auto& xml = parts_[name];
            xml.load_buffer(bytes.data(), bytes.size());
            for (const std::string& prefix : RenameToTestPrefixes(xml.document_element())) {
                problem(name + " uses the undeclared prefix " + prefix);
            }
        }
        for (auto& [name, xml] : parts_) {
            if (name.ends_with(".rels")) {
                relationshipTargets(name, xml);
            } else if (Is(xml.document_element(), "w:styles")) {
                styleIds(name, xml.document_element());
            } else {
                story(name, xml.document_element());
            }
        }
        moveNames();
        commentsThere();
        std::vector<std::string> out(problems_.begin(), problems_.end());
        return out;
    }

  private:
    void problem(const std::string& text) { problems_.insert(text); }

    void contentTypes() {
        const std::string* types = FindEntry(entries_, "[Content_Types].xml");
        pugi::xml_document xml;
        if (!types || !xml.load_buffer(types->data(), types->size())) {
            problem("no readable [Content_Types].xml");
            return;
        }
        std::set<std::string> extensions, names;
        for (const pugi::xml_node& node : xml.document_element().children()) {
            const std::string_view local =
                std::string_view(node.name()).substr(std::string_view(node.name()).find(':') + 1);
            if (local == "Default") extensions.insert(Lower(node.attribute("Extension").value()));
            if (local == "Override") names.insert(Lower(node.attribute("PartName").value()));
        }
        std::set<std::string> seen;
        for (const auto& [name, bytes] : entries_) {
            if (!seen.insert(name).second) problem(name + " is in the package twice");
            if (name == "[Content_Types].xml" || name.ends_with("/")) continue;
            const std::size_t dot = name.rfind('.');
            const std::string extension =
                dot == std::string::npos || name.find('/', dot) != std::string::npos
                    ? ""
                    : Lower(name.substr(dot + 1));
            if (!names.count(Lower("/" + name)) && !extensions.count(extension)) {
                problem(name + " has no content type");
            }
        }
    }

    // Every relationship a part names exists, and every part an internal one points at.
    void relationshipTargets(const std::string& name, pugi::xml_document& xml) {
        const std::size_t folder = name.find("_rels/");
        const std::string source =
            name.substr(0, folder) + name.substr(folder + 6, name.size() - folder - 11);
        for (const pugi::xml_node& node : xml.document_element().children()) {
            if (std::string_view(node.attribute("TargetMode").value()) == "External") continue;
            const std::string target = TargetName(source, node.attribute("Target").value());
            if (!FindEntry(entries_, target)) {
                problem(name + " points at " + target + ", which is missing");
            }
        }
    }

    // A style is named by its id, which only one style of the part may have.
    void styleIds(const std::string& part, const pugi::xml_node& styles) {
        std::set<std::string> ids;
        for (const pugi::xml_node& style : styles.children("w:style")) {
            const std::string id = style.attribute("w:styleId").value();
            if (!ids.insert(id).second) problem(part + ": two styles with the id " + id);
        }
    }

    std::set<std::string> relationshipIds(const std::string& part) {
        std::set<std::string> ids;
        const auto found = parts_.find(RelationshipsOf(part));
        if (found == parts_.end()) return ids;
        for (const pugi::xml_node& node : found->second.document_element().children()) {
            ids.insert(node.attribute("Id").value());
        }
        return ids;
    }

    void story(const std::string& name, const pugi::xml_node& root) {
        const std::set<std::string> ids = relationshipIds(name);
        std::map<std::string, int> opened;  // move ranges open in document order, by kind
        rangeIds_.clear();
        endedIds_.clear();
        walk(name, root, ids, opened, false);
        for (const std::string kind : {"moveFrom", "moveTo"}) {
            for (const std::string& id : rangeIds_[kind]) {
                if (!endedIds_[kind].count(id)) {
                    problem(name + ": a " + kind + " range never ends (" + id + ")");
                }
            }
        }
    }

    void walk(const std::string& part, const pugi::xml_node& node,
              const std::set<std::string>& relationships, std::map<std::string, int>& open,
              bool deleted) {
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            const std::string_view name = attribute.name();
            const std::string value = attribute.value();
            if ((name.starts_with("r:") || name == "o:relid") && !value.empty() &&
                !relationships.count(value)) {
                problem(part + " names the relationship " + value + ", which is missing");
            }
            if (name == "w14:paraId" && !paraIds_.insert(value).second) {
                problem("the paragraph id " + value + " is used twice");
            }
            if (name == "w15:paraIdParent") replyParents_.insert(value);
        }
        const std::string_view name = node.name();
        if (IsOneOf(node, {"w:footnote", "w:endnote", "w:comment"}) &&
            !noteIds_.insert(std::string(name) + node.attribute("w:id").value()).second) {
            problem(part + ": two " + std::string(name.substr(2)) + "s with the id " +
                    node.attribute("w:id").value());
        }
        if (ChangeElements().count(name)) {
            const std::string id = node.attribute("w:id").value();
            if (!changeIds_.insert(id).second) problem("the change id " + id + " is used twice");
        }
        if (IsContentMark(node) && !PlacedWell(node)) {
            problem(part + ": " + std::string(name) + " inside " + node.parent().name());
        }
        if (IsContentMark(node) && !Is(node.parent(), "w:rPr")) {
            for (const pugi::xml_node& child : node.children()) {
                if (IsOneOf(child, {"w:p", "w:tbl", "w:tr", "w:tc"})) {
                    problem(part + ": " + child.name() + " inside " + std::string(name));
                }
            }
        }
        moveRange(part, node, open);
        if (IsOneOf(node, {"w:commentReference", "w:commentRangeStart"})) {
            commentMarks_.insert(node.attribute("w:id").value());
        }
        if (IsOneOf(node, {"w:t", "w:delText"}) && LosesEndSpaces(node)) {
            problem(part + ": a text whose spaces at its ends are not kept");
        }
        if (Is(node, "w:t") && deleted) problem(part + ": w:t inside a deletion");
        if (Is(node, "w:delText") && !deleted) problem(part + ": w:delText outside a deletion");
        if (Is(node, "w:instrText") && deleted) problem(part + ": w:instrText inside a deletion");
        if (Is(node, "w:delInstrText") && !deleted) {
            problem(part + ": w:delInstrText outside a deletion");
        }
        const bool removes = IsOneOf(node, {"w:del", "w:moveFrom"}) &&
                             !IsOneOf(node.parent(), {"w:rPr", "w:trPr", "m:ctrlPr"});
        const bool adds = IsOneOf(node, {"w:ins", "w:moveTo"});
        // A text box is a story of its own, marked inside as its own text changed.
        const bool story = Is(node, "w:txbxContent");
        std::map<std::string, int> inStory;
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() == pugi::node_element) {
                walk(part, child, relationships, story ? inStory : open,
                     !story && ((deleted && !adds) || removes));
            }
        }
    }

    // Move ranges open and close in document order, and every moved run lies inside one.
    void moveRange(const std::string& part, const pugi::xml_node& node,
                   std::map<std::string, int>& open) {
        const std::string_view name = node.name();
        for (const std::string kind : {"moveFrom", "moveTo"}) {
            const std::string id = node.attribute("w:id").value();
            if (name == "w:" + kind + "RangeStart") {
                ++open[kind];
                moveNames_[kind].insert(node.attribute("w:name").value());
                if (!rangeIds_[kind].insert(id).second) {
                    problem(part + ": two " + kind + " ranges with id " + id);
                }
            } else if (name == "w:" + kind + "RangeEnd") {
                --open[kind];
                if (!rangeIds_[kind].count(id)) {
                    problem(part + ": a " + kind + " range ends that never began (" + id + ")");
                }
                endedIds_[kind].insert(id);
            } else if (name == "w:" + kind && open[kind] <= 0 && !Is(node.parent(), "w:rPr")) {
                // (a paragraph's mark comes ahead of the range that its text opens)
                problem(part + ": w:" + kind + " outside a " + kind + " range");
            }
        }
    }

    // Every comment a mark names is there, and so is every comment a reply answers.
    void commentsThere() {
        for (const std::string& id : commentMarks_) {
            if (!noteIds_.count("w:comment" + id)) problem("the comment " + id + " is missing");
        }
        for (const std::string& parent : replyParents_) {
            if (!paraIds_.count(parent)) {
                problem("a reply answers the paragraph " + parent + ", which is missing");
            }
        }
    }

    void moveNames() {
        for (const std::string& name : moveNames_["moveFrom"]) {
            if (!moveNames_["moveTo"].count(name)) problem("the move " + name + " never arrives");
        }
        for (const std::string& name : moveNames_["moveTo"]) {
            if (!moveNames_["moveFrom"].count(name)) problem("the move " + name + " never left");
        }
    }

    ZipEntries entries_;
    std::map<std::string, pugi::xml_document> parts_;
    std::set<std::string> problems_, paraIds_, changeIds_, noteIds_, commentMarks_, replyParents_;
    std::map<std::string, std::set<std::string>> moveNames_, rangeIds_, endedIds_;
};

}  // namespace

std::vector<std::string> ResultProblems(const std::string& path) {
    try {
        return Checker(path).run();
    } catch (const std::exception& e) {
        return {e.what()};
    }
}

std::string NewResultProblems(const std::string& result, const std::vector<std::string>& inputs) {
    std::set<std::string> known;
    for (const std::string& input : inputs) {
        for (const std::string& problem : ResultProblems(input)) known.insert(problem);
    }
    std::string out;
    for (const std::string& problem : ResultProblems(result)) {
        if (!known.count(problem)) out += problem + "\n";
    }
    return out;
}

std::vector<redline::Change> CheckedCompare(const std::string& original, const std::string& revised,
                                            const std::string& result,
                                            const redline::CompareOptions& options) {
    auto changes = redline::CompareDocuments(original, revised, result, options);
    const std::string problems = NewResultProblems(result, {original, revised});
    if (!problems.empty()) throw std::logic_error("the result breaks its own rules:\n" + problems);
    return changes;
}
