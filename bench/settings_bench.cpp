// Prints the cost of remembering a path box's text on every keystroke: 10,000 changes through
// the change handler into the real store, and how soon the last value is on disk.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "app/settings/WriteBehindSettingsStore.h"
#include "qt/QSettingsStore.h"
#include "select/DocumentPickers.h"

namespace {

class SilentPrompts : public Prompts {
  public:
    void inform(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    Answer ask(const std::string&) override { return Answer::No; }
    void reportError(const std::string& text) override { inform(text); }
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder(argc > 1 ? QString(argv[1]) + "/settings-bench-XXXXXX" : QString());
    QSettingsStore disk(folder.path());
    WriteBehindSettingsStore store(disk);
    SilentPrompts prompts;
    RememberedPaths paths(store, prompts);

    const int kKeystrokes = 10000;
    std::string typed = "/home/ann/Documents/";
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeystrokes; ++i) {
        typed += static_cast<char>('a' + i % 26);
        if (typed.size() > 200) typed.resize(20);
        paths.Text1_Change(typed);
    }
    const auto end = std::chrono::steady_clock::now();
    // On disk means: a new reader of the file, as another copy of the program, sees the last text.
    auto onDisk = [&] {
        return QSettingsStore(folder.path())
                   .read("Meldrisk", "Quorvane Paired Office Paper Examiners Highlighter Deskware",
                         "Excel File") == typed;
    };
    bool written = false;
    while (!(written = onDisk()) &&
           std::chrono::steady_clock::now() - end < std::chrono::seconds(5)) {
    }
    const auto seen = std::chrono::steady_clock::now();
    const double perKeystroke =
        std::chrono::duration<double, std::milli>(end - start).count() / kKeystrokes;
    std::printf("keystrokes: %d\nper keystroke on the user-interface thread: %.4f ms\n",
                kKeystrokes, perKeystroke);
    std::printf("last value on disk %.1f ms after the last keystroke\n",
                std::chrono::duration<double, std::milli>(seen - end).count());
    return written ? 0 : 1;
}
