// A marked-up result read through the model, for reports: each story's blocks and inlines, with
// their marks, as the spans of MarkedResult.h. Read from the comparison's own result in memory,
// or from a file.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "redline/MarkedResult.h"
#include "redline/read/Document.h"

namespace redline {

// The part `name` of the result as it stands, or nullptr when it has none.
using PartSource = std::function<const PackagePart*(const std::string& name)>;

// The marked-up document whose main part `side` holds, its other parts from `parts`.
MarkedDocument ReadMarkedDocument(const DocumentSide& side, const PartSource& parts);

// The parts of a side's package as they stand in it, each read once: for the parts that a
// comparison did not hold in memory.
class PartsInPackage {
  public:
    explicit PartsInPackage(const DocumentSide& side) : side_(side) {}
    const PackagePart* operator()(const std::string& name);

  private:
    const DocumentSide& side_;
    std::map<std::string, std::unique_ptr<PackagePart>> parts_;
};

}  // namespace redline
