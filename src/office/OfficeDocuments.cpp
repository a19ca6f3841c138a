#include "office/OfficeDocuments.h"

#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <rtl/ref.hxx>

#include "office/AbortingInteractionHandler.h"
#include "office/FileUrl.h"
#include "office/UnoValues.h"
#include "office/loader/DocumentCheck.h"

namespace office {

using namespace com::sun::star;
using rtl::OUString;

namespace {

// Filters of the formats a word processor opens as its own documents.
bool IsWordFilter(const std::string& filter) {
    for (const char* prefix : {"MS Word", "MS WinWord", "Office Open XML Text", "writer8",
                               "StarOffice XML (Writer)", "Rich Text Format"}) {
        if (filter.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

std::string FilterOf(const uno::Reference<frame::XModel>& model) {
    for (const auto& arg : model->getArgs()) {
        if (arg.Name == "FilterName") {
            OUString filter;
            arg.Value >>= filter;
            return Utf8(filter);
        }
    }
    return {};
}

}  // namespace

void CloseQuietly(const uno::Reference<lang::XComponent>& component) {
    try {
        uno::Reference<util::XModifiable> modifiable(component, uno::UNO_QUERY);
        if (modifiable.is()) modifiable->setModified(false);
        uno::Reference<util::XCloseable> closeable(component, uno::UNO_QUERY);
        if (closeable.is()) {
            closeable->close(true);
        } else if (component.is()) {
            component->dispose();
        }
    } catch (const uno::Exception&) {
        // Already closed or vetoed: nothing the user needs to hear about.
    }
}

uno::Reference<lang::XComponent> LoadCheckedDocument(
    const uno::Reference<frame::XDesktop2>& desktop, const std::string& path, bool asTemplate,
    std::string& filter) {
    const std::string absolute = AbsolutePath(path);
    if (auto problem = CheckOnDisk(absolute)) throw DocumentError(*problem, path);
    // Known from the container itself, whatever the office would make of it.
    if (auto problem = CheckContainer(absolute)) throw DocumentError(*problem, path);
    rtl::Reference<AbortingInteractionHandler> handler(new AbortingInteractionHandler);
    const auto properties = SequenceOf<beans::PropertyValue>({
        Property("Hidden", uno::Any(true)),
        Property(asTemplate ? "AsTemplate" : "ReadOnly", uno::Any(true)),
        Property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
        Property("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)),
        Property("InteractionHandler",
                 uno::Any(uno::Reference<task::XInteractionHandler>(handler.get()))),
    });
    uno::Reference<lang::XComponent> component;
    std::string refusal;  // what the office said, for a developer's eyes
    try {
        component = desktop->loadComponentFromURL(UnoString(FileUrlFromPath(absolute)), "_blank", 0,
                                                  properties);
    } catch (const lang::DisposedException&) {
        throw;  // the office itself is gone: the session reports that
    } catch (const uno::Exception& e) {
        // A refused load says little; what the handler heard and the file itself say more.
        refusal = Utf8(e.Message);
    }
    if (!component.is()) {
        DocumentProblem problem = DocumentProblem::NotWordDocument;
        if (handler->problem() == DocumentProblem::PasswordProtected) {
            problem = DocumentProblem::PasswordProtected;
        } else if (LooksLikeOldWordFormat(absolute)) {
            problem = DocumentProblem::OldWordFormat;
        } else if (LooksLikeDocumentFile(absolute)) {
            problem = DocumentProblem::Damaged;
        }
        throw DocumentError(problem, path, refusal);
    }
    uno::Reference<frame::XModel> model(component, uno::UNO_QUERY);
    uno::Reference<lang::XServiceInfo> info(component, uno::UNO_QUERY);
    filter = model.is() ? FilterOf(model) : "";
    if (!info.is() || !info->supportsService("com.sun.star.text.TextDocument") ||
        !IsWordFilter(filter)) {
        CloseQuietly(component);
        throw DocumentError(DocumentProblem::NotWordDocument, path);
    }
    return component;
}

}  // namespace office
