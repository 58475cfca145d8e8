#include "lang/language_table.h"

namespace lw {

const QStringList& Default_Texts()
{
    static const QStringList texts = [] {
        QStringList t;
        for (int i = 0; i < Lang_Table_Size; ++i)
            t.append(QStringLiteral(" "));
        return t;
    }();
    return texts;
}

void Set_Default_Texts(ProgramState& state)
{
    state.Lang_Strings = Default_Texts();
    state.Lang_Count = Lang_Table_Size;
}

} // namespace lw
