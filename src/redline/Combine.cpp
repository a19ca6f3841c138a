#include "redline/Combine.h"

#include "redline/combine/Combiner.h"

namespace redline {

std::vector<Change> CombineDocuments(const std::string& original,
                                     const std::vector<ReviewedCopy>& copies,
                                     const std::string& result, const CompareOptions& options,
                                     MarkedDocument* marked) {
    return Combiner(original, copies, options).run(result, marked);
}

}  // namespace redline
