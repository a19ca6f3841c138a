// What the files of WriterSession share: an open document and the connection to the office.
// Private to the session's own files.
#pragma once

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <memory>
#include <string>

#include "office/OfficeProcess.h"
#include "office/WriterSession.h"

namespace office {

class ComparisonSession::Document {
  public:
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> component;
    std::string path;  // as the user wrote it
    std::string url;
    std::string filter;
    bool closed = false;
};

struct WriterSession::Connection {
    std::unique_ptr<OfficeProcess> process;
    com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> context;
    com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2> desktop;
    bool lost = false;
};

}  // namespace office
