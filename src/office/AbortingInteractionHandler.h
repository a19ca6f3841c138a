// Answers every question the office would put to a user with "abort", and keeps the reason,
// so that a document that needs a password or is damaged fails quietly and can be named.
#pragma once

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>
#include <optional>

#include "office/loader/DocumentCheck.h"

namespace office {

class AbortingInteractionHandler
    : public cppu::WeakImplHelper1<com::sun::star::task::XInteractionHandler> {
  public:
    void SAL_CALL
    handle(const com::sun::star::uno::Reference<com::sun::star::task::XInteractionRequest>& request)
        override;

    // The problem behind the last question asked, as far as it tells one.
    std::optional<DocumentProblem> problem() const { return problem_; }

  private:
    std::optional<DocumentProblem> problem_;
};

}  // namespace office
