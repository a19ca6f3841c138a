// What the end-to-end tests and the launch benchmark need from the X server beyond xdotool:
//   x11_probe close WINDOW            asks the window to close, as a window manager would
//   x11_probe clipboard               prints the clipboard's text
//   x11_probe icon-sizes WINDOW       prints the sizes of the window's icon, e.g. "32x32 48x48"
//   x11_probe screenshot FILE.png     saves the whole screen
//   x11_probe launch NAME PROGRAM...  starts PROGRAM, prints its process id and the seconds
//                                     until a window named NAME was mapped
// Qt's headers first: Xlib's macros (Bool, Status...) would break them.
#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
// clang-format on
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

Window WindowArgument(const char* text) {
    return static_cast<Window>(std::strtoul(text, nullptr, 0));
}

int Close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

int IconSizes(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    if (XGetWindowProperty(display, window, icon, 0, 1 << 24, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) != Success ||
        !data) {
        return 1;
    }
    const auto* values = reinterpret_cast<unsigned long*>(data);
    std::string sizes;
    for (unsigned long i = 0; i + 1 < count;) {
        const unsigned long width = values[i], height = values[i + 1];
        sizes += (sizes.empty() ? "" : " ") + std::to_string(width) + "x" + std::to_string(height);
        i += 2 + width * height;
    }
    XFree(data);
    std::printf("%s\n", sizes.c_str());
    return 0;
}

bool Named(Display* display, Window window, const char* name) {
    char* title = nullptr;
    const bool same = XFetchName(display, window, &title) && title && std::strcmp(title, name) == 0;
    if (title) XFree(title);
    return same;
}

int Launch(Display* display, const char* name, char** program) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(program[0], program);
        _exit(127);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && Named(display, event.xmap.window, name)) break;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%d %.3f\n", static_cast<int>(child), took.count());
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) return 2;
    const std::string command = argv[1];
    if (command == "clipboard" || command == "screenshot") {
        QGuiApplication app(argc, argv);
        if (command == "clipboard") {
            std::printf("%s\n", QGuiApplication::clipboard()->text().toUtf8().constData());
            return 0;
        }
        return argc == 3 && QGuiApplication::primaryScreen()->grabWindow(0).save(argv[2]) ? 0 : 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 3;
    if (command == "close" && argc == 3) return Close(display, WindowArgument(argv[2]));
    if (command == "icon-sizes" && argc == 3) return IconSizes(display, WindowArgument(argv[2]));
    if (command == "launch" && argc >= 4) return Launch(display, argv[2], argv + 3);
    return 2;
}
