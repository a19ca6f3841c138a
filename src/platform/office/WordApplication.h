// The "Word.Application" object model on top of a private Writer instance: the application
// (Documents, DisplayAlerts, Visible, Quit, its name), the documents collection (Open) and a
// document (Merge, Close). Names match without regard to case; any other member is refused.
#pragma once

#include <memory>

#include "platform/automation/Object.h"
#include "platform/office/WriterSession.h"

namespace office {

automation::Object MakeWordApplication(std::shared_ptr<WriterSession> session);

}  // namespace office
