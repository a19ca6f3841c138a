// The "Word.Application" object model on top of a private Writer instance: the application
// (Documents, DisplayAlerts, Visible, Quit, its name), the documents collection (Open) and a
// document (Merge, Close). Names match without regard to case; any other member is refused.
#pragma once

#include <memory>

#include "automation/Object.h"
#include "office/WarmOffice.h"

namespace office {

// The application over `session`, which may still be starting. Quit on an application that was
// never given a document keeps its office warm in `warm`; showing the result to the user starts
// the next warm office there.
automation::Object MakeWordApplication(std::shared_ptr<StartingSession> session,
                                       std::weak_ptr<WarmOffice> warm);

}  // namespace office
