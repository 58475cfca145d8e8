#pragma once
// loomwright-cli --paths: the folders and files the configurator and the tool
// use on this machine, as the data-folder rule chooses them.

#include "cli/cli_io.h"
#include "shell/data_folder.h"

namespace lw::cli {

// Prints one "name: path" line per folder or file of the choice.
void Print_Paths(const Data_Folder_Choice& choice, QTextStream& out);

// Chooses the folder for the running executable and prints it; creates and
// copies nothing. Exit code 0, or 2 for an argument after --paths.
int Cmd_Paths(const QStringList& args, CliIO& io);

} // namespace lw::cli
