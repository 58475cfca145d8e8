#include "image/image_check.h"

#include "comm_settings/comm_check.h"
#include "comm_settings/pargen_file.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_check.h"
#include "lang/language_table.h"

namespace lw::image {

namespace {

Project_Check Failed(Project_Check check, const Check_Result& result, const ProgramState& state)
{
    check.Stop = Check_Stop::Check;
    check.Result = result;
    // A state without a language table (a caller that loaded none) gets the
    // built-in texts: a failed check always has a message.
    if (state.Lang_Strings.isEmpty()) {
        ProgramState defaults;
        Set_Default_Texts(defaults);
        check.Message = Check_Message(result, defaults);
    } else {
        check.Message = Check_Message(result, state);
    }
    if (check.Message.isEmpty())
        check.Message = QStringLiteral("The data check failed (entry %1, row %2)").arg(result.langIndex).arg(result.row);
    return check;
}

} // namespace

Project_Check Check_Project(const ProgramState& state, bool compiledRows)
{
    Project_Check check;
    ParGen_Values values;
    QString error = Load_ParGen(state.File_ParGen, values, &check.ParGen_Not_Rooted);
    if (!error.isEmpty()) {
        check.Stop = Check_Stop::File;
        check.Message = error;
        return check;
    }
    const Check_Result comm = Controllo_Dati(values);
    if (!comm.ok)
        return Failed(check, comm, state);

    {
        // The table lives only as long as its check.
        Text_Table table = Fresh_KNX_Table();
        const KNX_Read_Result read = Read_KNX_Access_File(state.File_KNX_Access, table);
        if (!read.Ok()) {
            check.Stop = Check_Stop::File;
            check.Message = read.error;
            return check;
        }
        const Check_Result knx = Controllo_dati(table);
        if (!knx.ok)
            return Failed(check, knx, state);
    }
    if (compiledRows) {
        const Check_Result rows = Check_Compiled_Rows(state.File_KNX_Access);
        if (!rows.ok)
            return Failed(check, rows, state);
    }
    return check;
}

} // namespace lw::image
