// A document as canonical text, for checking a comparison against its inputs without the
// engine's own reading: every paragraph's properties and its characters with the formatting and
// context (link, field, content control) of each, whatever runs they were cut into; tables with
// their grid, rows and cells; notes where their references stand; headers and footers; pictures
// and objects by what their parts hold, never by generated names or ids. Tracked changes are
// first accepted or rejected by the XML-level resolver.
#pragma once

#include <string>

#include "support/TrackedChanges.h"

// The canonical text of the .docx at `path` with every tracked change resolved as `resolution`;
// with an `author`, that author's changes so and everyone else's the other way.
std::string CanonicalDocument(const std::string& path, Resolution resolution = Resolution::Accept,
                              const std::string& author = "");
