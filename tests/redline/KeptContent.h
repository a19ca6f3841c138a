// The fixture of the tests of what a comparison keeps and how it pairs: a pair written, compared
// through the result checker, and the result's parts read back.
#pragma once

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "redline/Compare.h"
#include "redline/MarkedResult.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/Zip.h"

namespace kept {

using namespace docx;

class KeptContent : public ::testing::Test {
  protected:
    std::vector<redline::Change> compare(const std::string& original, const std::string& revised,
                                         const DocxParts& partsA = {}, const DocxParts& partsB = {},
                                         const redline::CompareOptions& options = {}) {
        WriteDocx(a_, original, partsA);
        WriteDocx(b_, revised, partsB);
        auto changes = CheckedCompare(a_, b_, r_, options);
        EXPECT_EQ(redline::ReadText(r_, redline::Reading::AcceptAll),
                  redline::ReadText(b_, redline::Reading::AcceptAll));
        return changes;
    }
    std::string part(const std::string& name) { return redline::Package::Read(r_).part(name); }
    // What the report and the word diff read back as changed in the result's paragraphs, each
    // span's text followed by ";".
    std::string shownChanges() const {
        std::string shown;
        for (const auto& story : redline::ReadMarked(r_)) {
            for (const auto& block : story.blocks) {
                for (const auto& span : block.paragraph.spans) {
                    if (span.kind != redline::SpanKind::Plain) shown += span.text + ";";
                }
            }
        }
        return shown;
    }
    static int Count(const std::string& text, const std::string& what) {
        int count = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++count;
        return count;
    }

    TemporaryFolder folder_;
    std::string a_ = folder_.path() + "/a.docx", b_ = folder_.path() + "/b.docx",
                r_ = folder_.path() + "/r.docx";
};

inline const std::string kFirstText = "The first paragraph stays where it is.";
inline const std::string kFirst = Text(kFirstText);
inline const std::string kLast = Text("The last paragraph stays where it is too.");

}  // namespace kept
