#include "office/AbortingInteractionHandler.h"

#include <com/sun/star/document/BrokenPackageRequest.hpp>
#include <com/sun/star/task/DocumentMSPasswordRequest.hpp>
#include <com/sun/star/task/DocumentPasswordRequest.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionDisapprove.hpp>

namespace office {

using namespace com::sun::star;

void AbortingInteractionHandler::handle(const uno::Reference<task::XInteractionRequest>& request) {
    if (!request.is()) return;
    const uno::Any what = request->getRequest();
    // The password requests of every document kind derive from PasswordRequest.
    if (what.isExtractableTo(cppu::UnoType<task::PasswordRequest>::get())) {
        problem_ = DocumentProblem::PasswordProtected;
    } else if (what.isExtractableTo(cppu::UnoType<document::BrokenPackageRequest>::get())) {
        problem_ = DocumentProblem::Damaged;
    } else if (!problem_) {
        problem_ = DocumentProblem::Damaged;
    }
    const auto continuations = request->getContinuations();
    for (const auto& c : continuations) {
        uno::Reference<task::XInteractionAbort> abort(c, uno::UNO_QUERY);
        if (abort.is()) return abort->select();
    }
    for (const auto& c : continuations) {
        uno::Reference<task::XInteractionDisapprove> disapprove(c, uno::UNO_QUERY);
        if (disapprove.is()) return disapprove->select();
    }
}

}  // namespace office
