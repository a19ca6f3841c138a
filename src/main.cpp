// Composition root: builds the real services and opens the main window.
#include <QApplication>

#include "app/Form1.h"
#include "platform/desktop/QtPrompts.h"
#include "platform/office/OfficeHost.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QApplication::setApplicationVersion("7.00");
    QApplication::setOrganizationName("Meldrisk");

    office::OfficeHost host;
    QtPrompts prompts;
    Platform platform{host, prompts};

    Form1 form(platform);
    form.showCentred();
    return app.exec();
}
