// Reading a document back as the office has it, and resolving its tracked changes with the
// office's own commands: how the checks see what the office made of our engine's result.
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextTable.hpp>

#include "office/UnoValues.h"
#include "office/WriterSessionParts.h"

namespace office {

using namespace com::sun::star;

namespace {

void AppendText(const uno::Reference<text::XText>& body, std::string& out) {
    uno::Reference<container::XEnumerationAccess> access(body, uno::UNO_QUERY_THROW);
    auto elements = access->createEnumeration();
    while (elements->hasMoreElements()) {
        uno::Reference<lang::XServiceInfo> element(elements->nextElement(), uno::UNO_QUERY);
        if (!element.is()) continue;
        if (element->supportsService("com.sun.star.text.TextTable")) {
            uno::Reference<text::XTextTable> table(element, uno::UNO_QUERY_THROW);
            const auto rows = table->getRows()->getCount();
            const auto columns = table->getColumns()->getCount();
            for (sal_Int32 r = 0; r < rows; ++r) {
                for (sal_Int32 c = 0; c < columns; ++c) {
                    // Cells are named by column letter and row number: "A1", "B1", ...
                    const std::string name =
                        std::string(1, static_cast<char>('A' + c)) + std::to_string(r + 1);
                    uno::Reference<text::XText> cell(table->getCellByName(UnoString(name)),
                                                     uno::UNO_QUERY);
                    if (cell.is()) AppendText(cell, out);
                    out += '\t';
                }
                out += '\n';
            }
        } else {
            uno::Reference<text::XTextRange> paragraph(element, uno::UNO_QUERY);
            if (paragraph.is()) out += Utf8(paragraph->getString()) + "\n";
        }
    }
}

}  // namespace

std::string WriterSession::text(const DocumentRef& document) {
    std::string out;
    guarded("reading a document", [&] {
        uno::Reference<text::XTextDocument> textDocument(document->component, uno::UNO_QUERY_THROW);
        AppendText(textDocument->getText(), out);
    });
    return out;
}

void WriterSession::resolveAll(const DocumentRef& document, bool accept) {
    guarded(accept ? "accepting every change" : "rejecting every change", [&] {
        uno::Reference<frame::XModel> model(document->component, uno::UNO_QUERY_THROW);
        uno::Reference<frame::XDispatchProvider> provider(model->getCurrentController()->getFrame(),
                                                          uno::UNO_QUERY_THROW);
        frame::DispatchHelper::create(connection_->context)
            ->executeDispatch(
                provider, accept ? ".uno:AcceptAllTrackedChanges" : ".uno:RejectAllTrackedChanges",
                "", 0, {});
    });
}

}  // namespace office
