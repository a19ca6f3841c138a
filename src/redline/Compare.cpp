#include "redline/Compare.h"

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

bool IsWordDocument(const std::string& path) {
    return Package::IsWordPackage(path);
}

std::vector<Change> CompareDocuments(const std::string& original, const std::string& revised,
                                     const std::string& result, const CompareOptions& options,
                                     MarkedDocument* marked) {
    SharePages();
    struct Released {
        ~Released() { ReleasePages(); }  // after the comparison's trees are gone, or failed
    } released;
    return Comparer(original, revised, options).run(result, marked);
}

}  // namespace redline
