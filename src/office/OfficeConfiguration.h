// Reading and writing the office's own configuration: the user's name that tracked changes
// carry, and the product's name.
#pragma once

#include <com/sun/star/uno/XComponentContext.hpp>
#include <string>

namespace office {

void SetAuthor(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context,
    const std::string& author);

// The product name the office gives itself, or "LibreOffice" when it names none.
std::string ReadProductName(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);

}  // namespace office
