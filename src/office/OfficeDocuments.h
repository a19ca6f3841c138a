// Loading the documents the user names into the office, and checking that each one really is a
// word processing document before anything relies on it.
#pragma once

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <string>

namespace office {

// Loads `path` hidden (read-only, or as an untitled copy when `asTemplate`), never running its
// macros, and answers its filter in `filter`. Raises DocumentError naming what is wrong.
com::sun::star::uno::Reference<com::sun::star::lang::XComponent> LoadCheckedDocument(
    const com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2>& desktop,
    const std::string& path, bool asTemplate, std::string& filter);

// Closes a document without saving and without asking; one already gone is no matter.
void CloseQuietly(
    const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& component);

}  // namespace office
