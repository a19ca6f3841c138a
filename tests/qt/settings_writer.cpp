// Helper for the shared-store test: writes one key COUNT times into the store below FOLDER,
// as another running copy of the program would. Values are "TAG-<n>".
#include <QCoreApplication>
#include <iostream>
#include <string>

#include "qt/QSettingsStore.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 4) return 2;
    QSettingsStore store(QString::fromLocal8Bit(argv[1]));
    const int count = std::stoi(argv[3]);
    try {
        for (int i = 1; i <= count; ++i) {
            store.write("Meldrisk", "Shared", "Excel File",
                        std::string(argv[2]) + "-" + std::to_string(i));
        }
    } catch (const SettingsError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
