// The merge of the Word stand-in: each document as a Word 2007+ file, compared by our own
// engine, and the result opened in the office as a new untitled document.
#include <com/sun/star/frame/XStorable.hpp>
#include <filesystem>

#include "automation/Error.h"
#include "office/EngineMerge.h"
#include "office/FileUrl.h"
#include "office/OfficeDocuments.h"
#include "office/UnoValues.h"
#include "office/WriterSessionParts.h"
#include "office/loader/DocumentCheck.h"
#include "redline/Package.h"

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

std::string WriterSession::asDocx(const DocumentRef& document, const std::string& docxPath) {
    if (redline::Package::IsWordPackage(AbsolutePath(document->path))) {
        return AbsolutePath(document->path);
    }
    guarded("converting \"" + document->path + "\"", [&] {
        uno::Reference<frame::XStorable> storable(document->component, uno::UNO_QUERY_THROW);
        storable->storeToURL(UnoString(FileUrlFromPath(docxPath)),
                             SequenceOf<beans::PropertyValue>({
                                 Property("FilterName", uno::Any(UnoString(kWordFilter))),
                                 Property("Overwrite", uno::Any(true)),
                             }));
    });
    return docxPath;
}

std::string WriterSession::asDocx(const std::string& path, const std::string& docxPath) {
    const std::string absolute = AbsolutePath(path);
    if (auto problem = CheckOnDisk(absolute)) throw DocumentError(*problem, path);
    if (auto problem = CheckContainer(absolute)) throw DocumentError(*problem, path);
    if (redline::Package::IsWordPackage(absolute)) return absolute;
    const DocumentRef document = open(path);
    const std::string converted = asDocx(document, docxPath);
    close(document);
    return converted;
}

ComparisonSession::DocumentRef WriterSession::compare(const DocumentRef& original,
                                                      const std::string& revisedPath,
                                                      bool formatting) {
    if (!original || original->closed) throw Error("The document to compare is closed.");
    ScratchFolder scratch(connection_->process->profile());
    EngineRun run;
    run.originalDocx = asDocx(original, scratch.file("original.docx"));
    run.revisedDocx = asDocx(revisedPath, scratch.file("revised.docx"));
    run.resultDocx = scratch.file("result.docx");
    run.originalName = original->path;
    run.revisedName = revisedPath;
    run.author = author();
    run.formatting = formatting;
    RunEngine(run);
    auto result = std::make_shared<Document>();
    // An untitled document made from the result, as the merge of Word gives one.
    guarded("comparing \"" + original->path + "\" with \"" + revisedPath + "\"", [&] {
        result->component =
            LoadCheckedDocument(connection_->desktop, run.resultDocx, true, result->filter);
    });
    return result;
}

void WriterSession::convert(const std::string& path, const std::string& docxPath) {
    const std::string made = asDocx(path, docxPath);
    if (made == docxPath) return;
    // A Word 2007+ document is taken as it is.
    std::error_code error;
    std::filesystem::copy_file(made, docxPath, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) throw Error("\"" + path + "\" could not be copied: " + error.message());
}

}  // namespace office
