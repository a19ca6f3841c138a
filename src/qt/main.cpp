// Composition root: the Linux program's own services (LibreOffice Writer answering
// "Word.Application", Qt's message boxes, dialog and shell, QSettings), handed to the program's
// start with the Qt main window.
#include <QApplication>

#include "app/Product.h"
#include "app/Program.h"
#include "office/loader/OfficeEngine.h"
#include "qt/Form1.h"
#include "qt/QSettingsStore.h"
#include "qt/QtOpenFileDialog.h"
#include "qt/QtPrompts.h"
#include "qt/QtShell.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QApplication::setApplicationVersion(kVersionText);
    QApplication::setOrganizationName(kMakerName);

    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    office::EngineHost host(folder);
    QtPrompts prompts;
    QSettingsStore store;
    QtOpenFileDialog commonDialog;
    QtShell shell;
    return RunProgram(
        {host, prompts, store, commonDialog, shell, folder, true},
        [&](Platform& platform) {
            auto form = std::make_unique<Form1>(platform);
            commonDialog.setOwner(form.get());
            return form;
        },
        [&] { return app.exec(); });
}
