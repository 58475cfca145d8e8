#include "cli/cli_io.h"

namespace lw::cli {

int Cmd_Lang(const QStringList&, CliIO& io)
{
    return Usage_Error(io, QStringLiteral("this command is not available yet"));
}

int Cmd_Lang_Check(const QStringList&, CliIO& io)
{
    return Usage_Error(io, QStringLiteral("this command is not available yet"));
}

} // namespace lw::cli
