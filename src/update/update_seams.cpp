#include "update/update_seams.h"

namespace lw {

Update_Seams With_Defaults(Update_Seams seams)
{
    if (!seams.Make_Echo_Client)
        seams.Make_Echo_Client = [] { return Make_System_Echo_Client(); };
    if (!seams.Clock)
        seams.Clock = std::make_shared<System_Ping_Clock>();
    if (!seams.Start_Program)
        seams.Start_Program = [](const QString& NomeSW, const QString& Parameter, bool tipo,
                                 const Run_Waiting& waiting) {
            Runner_Settings settings;
            settings.Waiting = waiting;
            return Start_Program(NomeSW, Parameter, tipo, settings);
        };
    return seams;
}

} // namespace lw
