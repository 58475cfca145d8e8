#include "knx_access/knx_undo_commands.h"

#include "knx_access/knx_table_model.h"

namespace lw {

KNX_Table_Command::KNX_Table_Command(KNX_Table_Model* model, QList<Cell_Change> changes, const QString& text,
                                     std::function<void(const Cell_Range&)> reveal)
    : QUndoCommand(text)
    , m_model(model)
    , m_changes(std::move(changes))
    , m_bounds(Bounds_Of(m_changes))
    , m_reveal(std::move(reveal))
{
}

void KNX_Table_Command::undo()
{
    m_model->Apply_Changes(m_changes, false);
    if (m_reveal)
        m_reveal(m_bounds);
}

void KNX_Table_Command::redo()
{
    m_model->Apply_Changes(m_changes, true);
    // The first run is the edit itself: the user already sees where it happens.
    if (m_reveal && !m_first)
        m_reveal(m_bounds);
    m_first = false;
}

} // namespace lw
