// Helper for the warm-office tests: keeps a warm office as the program does after its start-up
// check, writes "ready" into the file named on the command line, and waits to be killed.
#include <chrono>
#include <fstream>
#include <thread>

#include "office/OfficeHost.h"

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    office::SessionOptions options;
    options.headless = true;
    office::OfficeHost host(options);
    host.create("Word.Application").call("Quit");
    host.warmOffice().waitUntilSettled();
    std::ofstream(argv[1]) << "ready\n";
    std::this_thread::sleep_for(std::chrono::minutes(5));
    return 0;
}
