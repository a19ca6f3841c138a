#include "compare/WordConversions.h"

#include <cctype>
#include <map>

#include "automation/Error.h"
#include "automation/WordEnumerations.h"
#include "compare/Word1.h"

using automation::Object;
using automation::Variant;

namespace {

// Given for every document: Word then refuses one that is protected by a password instead of
// asking for it, a dialog nobody would see. A document without one opens as ever.
constexpr const char* kNoPassword = "quorvane-no-password";

}  // namespace

WordConversions::WordConversions(automation::Host& host) {
    word_ = host.create(kWordProgId);
    word_.put("Visible", Variant::boolean(false));
    word_.put("DisplayAlerts", Variant::int32(wd::kAlertsNone));
}

WordConversions::~WordConversions() {
    try {
        word_.call("Quit", {}, {{"SaveChanges", Variant::int32(wd::kDoNotSaveChanges)}});
    } catch (const automation::Error&) {
        // Word has gone already: nothing is left to end.
    }
}

std::optional<int> WordConversions::FormatFor(const std::string& extension) {
    static const std::map<std::string, int> formats = {
        {".docx", wd::kFormatXmlDocument}, {".doc", wd::kFormatDocument97},
        {".rtf", wd::kFormatRtf},          {".odt", wd::kFormatOpenDocumentText},
        {".pdf", wd::kFormatPdf},
    };
    const auto found = formats.find(extension);
    if (found == formats.end()) return std::nullopt;
    return found->second;
}

void WordConversions::toDocx(const std::string& path, const std::string& docxPath) {
    saveAs(path, docxPath, wd::kFormatXmlDocument);
}

void WordConversions::fromDocx(const std::string& docxPath, const std::string& path) {
    const auto dot = path.find_last_of("./\\");
    std::string extension = dot == std::string::npos || path[dot] != '.' ? "" : path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto format = FormatFor(extension);
    if (!format) throw automation::Error("Word cannot store a document as \"" + path + "\".");
    saveAs(docxPath, path, *format);
}

void WordConversions::saveAs(const std::string& path, const std::string& target, int format) {
    const Object document = word_.get("Documents")
                                .call("Open", {},
                                      {{"FileName", Variant::text(path)},
                                       {"ConfirmConversions", Variant::boolean(false)},
                                       {"ReadOnly", Variant::boolean(true)},
                                       {"AddToRecentFiles", Variant::boolean(false)},
                                       {"PasswordDocument", Variant::text(kNoPassword)},
                                       {"Visible", Variant::boolean(false)}})
                                .toObject();
    struct Closer {
        const Object& document;
        ~Closer() {
            try {
                document.call("Close", {},
                              {{"SaveChanges", Variant::int32(wd::kDoNotSaveChanges)}});
            } catch (const automation::Error&) {
                // Closing failed after the work was done or had failed: Quit ends it.
            }
        }
    } closer{document};
    document.call("SaveAs2", {},
                  {{"FileName", Variant::text(target)},
                   {"FileFormat", Variant::int32(format)},
                   {"AddToRecentFiles", Variant::boolean(false)}});
}
