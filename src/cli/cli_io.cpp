#include "cli/cli_io.h"

namespace lw::cli {

int Usage_Error(CliIO& io, const QString& message)
{
    io.err << "loomwright-cli: " << message << "\n"
           << "Try 'loomwright-cli --help'.\n";
    io.err.flush();
    return 2;
}

} // namespace lw::cli
