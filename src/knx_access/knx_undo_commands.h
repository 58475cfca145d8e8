#pragma once
// The undo steps of the commands grid: each keeps the cells it changed, with
// their texts before and after, and writes one or the other through the model.

#include "knx_access/knx_table_edit.h"

#include <QUndoCommand>
#include <functional>

namespace lw {

class KNX_Table_Model;

class KNX_Table_Command : public QUndoCommand {
public:
    // reveal is called after each undo and redo (not the first run) with the
    // range the step touched.
    KNX_Table_Command(KNX_Table_Model* model, QList<Cell_Change> changes, const QString& text,
                      std::function<void(const Cell_Range&)> reveal);

    void undo() override;
    void redo() override;

    const QList<Cell_Change>& Changes() const { return m_changes; }

private:
    KNX_Table_Model* m_model;
    QList<Cell_Change> m_changes;
    Cell_Range m_bounds;
    std::function<void(const Cell_Range&)> m_reveal;
    bool m_first = true;
};

} // namespace lw
