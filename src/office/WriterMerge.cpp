// The merge of the Word stand-in: the two documents compared by our own engine, each as a Word
// 2007+ file, and the result opened in the office as a new untitled document.
#include <com/sun/star/frame/XStorable.hpp>

#include "automation/Error.h"
#include "office/FileUrl.h"
#include "office/OfficeDocuments.h"
#include "office/UnoValues.h"
#include "office/WriterSessionParts.h"
#include "office/loader/DocumentCheck.h"
#include "office/loader/EngineComparison.h"

namespace office {

using namespace com::sun::star;
using automation::Error;

namespace {

// The office's filter for Word 2007+ documents.
constexpr const char* kWordFilter = "MS Word 2007 XML";

}  // namespace

std::string WriterSession::author() const {
    return options_.author.empty() ? DefaultAuthor() : options_.author;
}

void WriterSession::storeAsDocx(const DocumentRef& document, const std::string& docxPath) {
    guarded("converting \"" + document->path + "\"", [&] {
        uno::Reference<frame::XStorable> storable(document->component, uno::UNO_QUERY_THROW);
        storable->storeToURL(UnoString(FileUrlFromPath(docxPath)),
                             SequenceOf<beans::PropertyValue>({
                                 Property("FilterName", uno::Any(UnoString(kWordFilter))),
                                 Property("Overwrite", uno::Any(true)),
                             }));
    });
}

ComparisonSession::DocumentRef WriterSession::compare(const DocumentRef& original,
                                                      const std::string& revisedPath,
                                                      bool formatting) {
    if (!original || original->closed) throw Error("The document to compare is closed.");
    // The original is open already: the office stores what it has instead of reading it again.
    const UserDocument first{original->path,
                             [&](const std::string& docx) { storeAsDocx(original, docx); }};
    const UserDocument second{revisedPath,
                              [&](const std::string& docx) { convert(revisedPath, docx); }};
    const WorkFolder work(connection_->process->profile());
    const std::string resultDocx = work.file("result.docx");
    // Writer shows the result: block-level controls that hold changes give way to their content.
    redline::CompareOptions options;
    options.author = author();
    options.date = redline::RevisionDate();
    options.formatting = formatting;
    options.forWriter = true;
    CompareUserDocuments(first, second, resultDocx, options, work.path());
    auto made = std::make_shared<Document>();
    // An untitled document made from the result, as the merge of Word gives one.
    guarded("comparing \"" + original->path + "\" with \"" + revisedPath + "\"", [&] {
        made->component = LoadCheckedDocument(connection_->desktop, resultDocx, true, made->filter);
    });
    return made;
}

void WriterSession::convert(const std::string& path, const std::string& docxPath) {
    const DocumentRef document = open(path);
    storeAsDocx(document, docxPath);
    close(document);
}

}  // namespace office
