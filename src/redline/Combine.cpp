#include "redline/Combine.h"

#include <stdexcept>

#include "redline/Front.h"
#include "redline/combine/Combiner.h"
#include "redline/combine/Reviewer.h"

namespace redline {

namespace {

std::vector<std::string> PathsOf(const std::vector<ReviewedCopy>& copies) {
    std::vector<std::string> paths;
    for (const ReviewedCopy& copy : copies) paths.push_back(copy.path);
    return paths;
}

}  // namespace

std::vector<Change> CombineDocuments(const std::string& original,
                                     const std::vector<ReviewedCopy>& copies,
                                     const std::string& result, const CompareOptions& options,
                                     MarkedDocument* marked) {
    if (copies.empty()) throw std::invalid_argument("no reviewer's copy to combine");
    if (copies.size() > kMostReviewers) {
        throw std::invalid_argument("more than " + std::to_string(kMostReviewers) +
                                    " reviewers' copies to combine");
    }
    return Combiner(original, PathsOf(copies), ReviewerNames(copies), RulesOf(options))
        .run(result, marked);
}

std::vector<std::string> ReviewerNames(const std::vector<ReviewedCopy>& copies) {
    std::vector<std::string> given;
    for (const ReviewedCopy& copy : copies) given.push_back(copy.reviewer);
    return UniqueReviewers(PathsOf(copies), given);
}

std::string DocumentReviewer(const std::string& path) {
    return ReviewerOf(path);
}

}  // namespace redline
