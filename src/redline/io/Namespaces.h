// XML names an element by its namespace and local name; the prefix is the writer's choice (Word
// writes w:p, a script may write ns0:p or p under a default namespace). Every part is brought to
// one prefix per namespace when it is parsed, so that every later stage may ask for "w:p"; and
// every part written declares each prefix it uses, whichever side its content came from.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace redline {

// The prefixes of one comparison: Word's own for the namespaces Word writes, and one of their
// own for any other namespace either side uses, so that a prefix never stands for two of them.
// Both sides are read at once, so it takes turns.
class Namespaces {
  public:
    // The prefix that stands for `uri` in every part; for a namespace unknown so far, the
    // writer's `wanted` prefix when it stands for nothing else, else one made from it. "" for the
    // package's own namespaces (relationships, content types), which their parts use unprefixed.
    std::string prefixFor(std::string_view uri, std::string_view wanted);
    // The namespace that `prefix` stands for, or "" when nothing read so far gave it one.
    std::string uriOf(std::string_view prefix) const;
    // Whether the prefix is a namespace a reader may ignore (mc:Ignorable) in some part read.
    void markIgnorable(std::string_view prefix);
    bool ignorable(std::string_view prefix) const;
    // Every prefix declared anywhere in a part read, as the comparison names it.
    void markDeclared(std::string_view prefix);
    std::set<std::string, std::less<>> declared() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> prefixByUri_, uriByPrefix_;
    std::set<std::string, std::less<>> ignorable_, declared_;
};

// Renames every element and attribute of a part just parsed from `bytes` to the prefixes of
// `names`, declarations and Markup Compatibility's lists of prefixes with them. A part whose
// declarations already use those prefixes is left as it is, without a walk. Raises BadDocument
// for the Strict form of OOXML, whose namespaces the engine does not read.
void NormalizeNamespaces(pugi::xml_document& document, std::string_view bytes, Namespaces& names);

// Declares on the part's root every prefix that it uses and that is not declared where it is
// used, with the namespace `names` gives it; a namespace ignorable where it came from is
// ignorable here too. A prefix that mc:Ignorable names but nothing declares is taken off it.
// A root that declares every prefix any part read declares needs no walk of its part.
void DeclareNamespaces(pugi::xml_document& document, const Namespaces& names);

}  // namespace redline
