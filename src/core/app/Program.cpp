#include "app/Program.h"

#include "app/ImmediateEnd.h"
#include "app/settings/WriteBehindSettingsStore.h"

int RunProgram(const PlatformServices& own, const MainWindowMaker& makeWindow,
               const std::function<int()>& serveEvents) {
    WriteBehindSettingsStore settings(own.store);
    const auto clock = MakeSystemClock();
    const auto random = MakeSystemRandomSource();
    ImmediateEnd end(settings);
    Platform platform{own.host, own.prompts, settings, own.commonDialog,      own.shell,
                      *clock,   *random,     end,      own.applicationFolder, own.wordIsStandIn};
    const std::unique_ptr<MainWindow> window = makeWindow(platform);
    MainWindow& form = *window;
    settings.setFailureListener([&form](const std::string& description) {
        form.post([&form, description] { form.handlers().settingsWriteFailed(description); });
    });
    form.handlers().Form_Load();
    form.showCentred();
    const int exitCode = serveEvents();
    // Nothing may reach the window once it goes.
    settings.setFailureListener({});
    return exitCode;
}
