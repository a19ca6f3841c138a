// Composition root: builds the real services and opens the main window.
#include <QApplication>

#include "app/Form1.h"
#include "app/SettingsFailureRelay.h"
#include "app/settings/QSettingsStore.h"
#include "app/settings/WriteBehindSettingsStore.h"
#include "platform/desktop/QtOpenFileDialog.h"
#include "platform/desktop/QtPrompts.h"

// The only place that knows which platform it runs on: Word itself over COM on Windows, our
// LibreOffice Writer stand-in elsewhere.
#ifdef _WIN32
#include "platform/com/ComHost.h"
using WordHost = com::ComHost;
#else
#include "platform/office/OfficeHost.h"
using WordHost = office::OfficeHost;
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QApplication::setApplicationVersion("7.00");
    QApplication::setOrganizationName("Meldrisk");

    WordHost host;
    QtPrompts prompts;
    QSettingsStore diskSettings;
    WriteBehindSettingsStore settings(diskSettings);
    QtOpenFileDialog commonDialog;
    Platform platform{host, prompts, settings, commonDialog};

    Form1 form(platform);
    commonDialog.setOwner(&form);
    SettingsFailureRelay relay(settings, form);
    form.showCentred();
    return app.exec();
}
