// Composition root: builds the real services, runs the main window's start-up sequence while the
// window is hidden, then shows it.
#include <QApplication>

#include "app/ImmediateEnd.h"
#include "app/Product.h"
#include "app/settings/WriteBehindSettingsStore.h"
#include "office/loader/OfficeEngine.h"
#include "qt/Form1.h"
#include "qt/QSettingsStore.h"
#include "qt/QtOpenFileDialog.h"
#include "qt/QtPrompts.h"
#include "qt/QtShell.h"
#include "qt/SettingsFailureRelay.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QApplication::setApplicationVersion(kVersionText);
    QApplication::setOrganizationName(kMakerName);

    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    // LibreOffice Writer answers "Word.Application" here, from the engine beside the program.
    office::EngineHost host(folder);
    QtPrompts prompts;
    QSettingsStore diskSettings;
    WriteBehindSettingsStore settings(diskSettings);
    QtOpenFileDialog commonDialog;
    QtShell shell;
    const auto clock = MakeSystemClock();
    const auto random = MakeSystemRandomSource();
    ImmediateEnd end(settings);
    Platform platform{host,   prompts, settings, commonDialog, shell,
                      *clock, *random, end,      folder,       true};

    Form1 form(platform);
    commonDialog.setOwner(&form);
    SettingsFailureRelay relay(settings, form);
    form.Form_Load();
    form.showCentred();
    return app.exec();
}
