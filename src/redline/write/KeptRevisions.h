// The revised document's own tracked changes laid over the result of comparing it, accepted,
// with the original: each stays the change it was, under its author and with its date, whether
// the comparison marked that difference itself (its mark then takes the author) or found none
// (the original held the same change pending: it is written again). What the revised document
// changed without tracking keeps the comparing author's marks.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>

#include "redline/write/Marks.h"

namespace redline {

struct KeptLog {
    // The comparison's own marks, by their id, that now carry another author: whose.
    std::map<int, std::string> authorOf;
    int kept = 0;  // marks of the revised document laid over the result
    int lost = 0;  // characters or objects in its marks that found no place in the result
};

// Lays the changes tracked in `revised` (a part of the revised document as it was read, before
// its changes were accepted) over `result` (the same part of the result).
void KeepRevisions(pugi::xml_node result, const pugi::xml_node& revised, Stamp& stamp,
                   KeptLog& log);

}  // namespace redline
