// The program's start, the same on every platform: the services every front-end shares built
// around the platform's own, the main window's start-up sequence while it is hidden, then the
// window shown and its events served until the program ends.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/Form1Handlers.h"
#include "app/Platform.h"

// What only the platform can give.
struct PlatformServices {
    automation::Host& host;
    Prompts& prompts;
    SettingsStore& store;  // written behind by the program, never directly
    OpenFileDialog& commonDialog;
    Shell& shell;
    std::string applicationFolder;
    bool wordIsStandIn = false;
};

// The main window as the program's start drives it, whatever draws it.
class MainWindow {
  public:
    virtual ~MainWindow() = default;
    virtual Form1Handlers& handlers() = 0;
    virtual void showCentred() = 0;
    // Runs `task` soon on the window's own thread. Safe from any thread; a task still waiting
    // when the window goes is dropped with it.
    virtual void post(std::function<void()> task) = 0;
};

using MainWindowMaker = std::function<std::unique_ptr<MainWindow>(Platform&)>;

// Runs the program: makes the main window over the full set of services, runs Form_Load while
// the window is hidden, shows it, and serves events with `serveEvents` until the program ends.
// A settings write that fails behind the window's back is told on the window's own thread.
// Answers the exit code that `serveEvents` gives.
int RunProgram(const PlatformServices& own, const MainWindowMaker& makeWindow,
               const std::function<int()>& serveEvents);
