#include "knx_access/knx_exchange_tools.h"

#include "knx_access/csv_table.h"
#include "knx_access/ga_export_reader.h"
#include "knx_access/ga_import.h"
#include "knx_access/ga_preview_dialog.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_check.h"
#include "knx_access/knx_table_model.h"
#include "platform/atomic_file.h"
#include "base/messages.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace lw {

namespace {

// Largest CSV file read.
constexpr qint64 Max_Csv_Bytes = qint64(64) << 20;

Exchange_Seams With_Defaults(Exchange_Seams seams, QWidget* parent)
{
    if (!seams.Own_Address)
        seams.Own_Address = [] { return QString(); };
    if (!seams.Open_File)
        seams.Open_File = [parent](const QString& caption, const QString& filter) {
            return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
        };
    if (!seams.Save_File)
        seams.Save_File = [parent](const QString& caption, const QString& filter) {
            return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
        };
    if (!seams.Run_Preview)
        seams.Run_Preview = [](TFGAPreview& preview) { return preview.exec() == QDialog::Accepted; };
    return seams;
}

QString File_Fault(const QString& path, const Exchange_Error& error, const ProgramState& state)
{
    return QFileInfo(path).fileName() + QStringLiteral(": ") + Exchange_Message(error, state);
}

} // namespace

KNX_Exchange_Tools::KNX_Exchange_Tools(TFKNXAccess& dialog, QMenu* menu, ProgramState& state, Messages& messages)
    : QObject(&dialog), m_dialog(dialog), m_state(state), m_messages(messages)
{
    Act_Import_GA = menu->addAction(QString());
    Act_Import_GA->setObjectName(QStringLiteral("Act_Import_GA"));
    Act_Import_Csv = menu->addAction(QString());
    Act_Import_Csv->setObjectName(QStringLiteral("Act_Import_Csv"));
    Act_Export_Csv = menu->addAction(QString());
    Act_Export_Csv->setObjectName(QStringLiteral("Act_Export_Csv"));
    connect(Act_Import_GA, &QAction::triggered, this, &KNX_Exchange_Tools::Import_GA);
    connect(Act_Import_Csv, &QAction::triggered, this, &KNX_Exchange_Tools::Import_Csv);
    connect(Act_Export_Csv, &QAction::triggered, this, &KNX_Exchange_Tools::Export_Csv);
}

void KNX_Exchange_Tools::Set_Lang()
{
    Act_Import_GA->setText(m_state.Text(Lang_Tools_Import_GA));
    Act_Import_Csv->setText(m_state.Text(Lang_Tools_Import_Csv));
    Act_Export_Csv->setText(m_state.Text(Lang_Tools_Export_Csv));
}

void KNX_Exchange_Tools::Import_GA()
{
    const Exchange_Seams seams = With_Defaults(Seams, &m_dialog);
    const QString path = seams.Open_File(m_state.Text(Lang_Preview_Caption), m_state.Text(Lang_Tools_GA_Filter));
    if (path.isEmpty())
        return;
    const GA_Export exported = Read_GA_Export_File(path);
    if (exported.error.Failed()) {
        m_messages.Error(File_Fault(path, exported.error, m_state));
        return;
    }
    TFGAPreview preview(m_state, m_messages, &m_dialog);
    preview.Load(m_dialog.Model->Table(), exported.entries, seams.Own_Address());
    if (!seams.Run_Preview(preview) || preview.Imported() == 0)
        return;
    m_dialog.Apply_Table(preview.Result(),
                         Fill_Text(m_state.Text(Lang_Tools_GA_Step), {QString::number(preview.Imported())}));
}

void KNX_Exchange_Tools::Import_Csv()
{
    const Exchange_Seams seams = With_Defaults(Seams, &m_dialog);
    const QString path = seams.Open_File(m_state.Text(Lang_Tools_Import_Csv), m_state.Text(Lang_Tools_Csv_Filter));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QString reason;
    if (!Read_File(path, bytes, reason, Max_Csv_Bytes)) {
        m_messages.Error(reason);
        return;
    }
    Text_Table table;
    const Exchange_Error error = Import_KNX_Csv(bytes, table);
    if (error.Failed()) {
        m_messages.Error(File_Fault(path, error, m_state));
        return;
    }
    // The same rule as the command line: a table that fails the check is not taken.
    const Check_Result check = Controllo_dati(table);
    if (!check.ok) {
        m_messages.Error(Check_Message(check, m_state));
        return;
    }
    Set_KNX_Headers(table, m_state);
    m_dialog.Apply_Table(table, Fill_Text(m_state.Text(Lang_Tools_Csv_Step), {QString::number(Last_Table_Row(table))}));
}

void KNX_Exchange_Tools::Export_Csv()
{
    const Exchange_Seams seams = With_Defaults(Seams, &m_dialog);
    QString path = seams.Save_File(m_state.Text(Lang_Tools_Export_Csv), m_state.Text(Lang_Tools_Csv_Filter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const QString error = Write_File_Atomic(path, Export_KNX_Csv(m_dialog.Model->Table()));
    if (!error.isEmpty())
        m_messages.Error(error);
}

} // namespace lw
