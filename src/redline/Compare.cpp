#include "redline/Compare.h"
#include "redline/Front.h"

#include <ctime>

#include "redline/io/Package.h"
#include "redline/io/PagePool.h"
#include "redline/parts/Comparer.h"

namespace redline {

std::string RevisionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

Rules RulesOf(const CompareOptions& options) {
    Rules rules;
    rules.author = options.author;
    rules.date = options.date.empty() ? RevisionDate() : options.date;
    rules.formatting = options.formatting;
    rules.moves = options.moves;
    rules.characterLevel = options.characterLevel;
    rules.tablesAsParagraphs = options.skip.tables;
    rules.unwrapChangedControls = options.forWriter;
    rules.keepTracked = !options.acceptTracked;
    rules.like = {options.ignoreCase, options.ignoreWhitespace, options.skip.fields};
    const Skipped& skip = options.skip;
    rules.leave = {skip.headers,  skip.footers,   skip.footnotes,
                   skip.endnotes, skip.textBoxes, skip.comments};
    return rules;
}

bool IsWordDocument(const std::string& path) {
    return Package::IsWordPackage(path);
}

std::vector<Change> CompareDocuments(const std::string& original, const std::string& revised,
                                     const std::string& result, const CompareOptions& options,
                                     MarkedDocument* marked, TrackedInputs* tracked) {
    SharePages();
    struct Released {
        ~Released() { ReleasePages(); }  // after the comparison's trees are gone, or failed
    } released;
    Comparer comparer(original, revised, RulesOf(options));
    std::vector<Change> changes = comparer.run(result, marked);
    if (tracked) *tracked = comparer.trackedInputs();
    return changes;
}

}  // namespace redline
