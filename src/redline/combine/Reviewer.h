// Who a reviewer's copy is from, and names that tell reviewers apart.
#pragma once

#include <string>
#include <vector>

namespace redline {

// The last editor a copy's document properties name, else its author, else its file name
// without the extension.
std::string ReviewerOf(const std::string& path);

// The names the copies' changes carry, in their order: each one's given name (`given`, "" for
// none), else ReviewerOf its path; two alike are told apart as "Ann" and "Ann (2)".
std::vector<std::string> UniqueReviewers(const std::vector<std::string>& paths,
                                         const std::vector<std::string>& given);

}  // namespace redline
