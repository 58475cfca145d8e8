#pragma once
// The parts of the benchmark. Each appends its figures to the table; a part
// returns false (after printing why) when its set-up failed.

#include "bench_kit.h"

#include <vector>

namespace lw::bench {

struct Bench_Options {
    QString dirApp;        // prepared by Prepare_App_Folder
    QString self;          // this program, started again for the child measurements
    QString cli;           // loomwright-cli
    int rounds = 30;       // timed rounds of each in-process figure
    int processes = 15;    // started processes of each whole-process figure
};

// Start-up (in this process, warm), the language load and switch, the Set
// Communication and KNX Access dialogs: all on the windows the main window made.
bool Bench_Windows(const Bench_Options& options, std::vector<Figure>& figures);

// Compile_Image with Save_Image of the 512-row project, and its parts.
bool Bench_Image(const Bench_Options& options, std::vector<Figure>& figures);

// The memory map computed, the map window repainted after an edit, and
// loomwright-cli report --pdf of the 512-row project as a whole process.
bool Bench_Map(const Bench_Options& options, std::vector<Figure>& figures);

// The first start-up in a fresh process, peak memory, and loomwright-cli compile
// against loomwright-cli --version.
bool Bench_Processes(const Bench_Options& options, std::vector<Figure>& figures);

// Reading a 100 000-line group-address export, the import preview of 20 000
// addresses, and loomwright-cli import-ga of 500 addresses against --version.
bool Bench_Exchange(const Bench_Options& options, std::vector<Figure>& figures);

// The child of Bench_Processes: starts the configurator's windows in dirApp as
// the program does, opens the KNX Access dialog, and writes what it measured to
// resultFile as "key value" lines. Runs before any QApplication exists.
int Run_Child(int argc, char** argv, const QString& dirApp, const QString& resultFile);

} // namespace lw::bench
