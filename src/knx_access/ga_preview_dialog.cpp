#include "knx_access/ga_preview_dialog.h"

#include "knx_access/knx_check.h"
#include "widgets/button_pictures.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "base/messages.h"
#include "widgets/small_widgets.h"

#include <QBrush>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>

namespace lw {

namespace {

constexpr int Client_Width = 900;
constexpr int Client_Height = 520;
constexpr int Button_Width = 110;
constexpr int Button_Height = 28;
constexpr int Button_Gap = 8;
constexpr int Row_Height = 20;
constexpr int Options_Height = 34;

// Header entries of the columns after the tick column.
constexpr int Header_Entries[] = {2316, 2309, 2310, 2311, 2312, 2313, 2314, 2315};
constexpr int Column_Widths[] = {24, 50, 200, 80, 130, 60, 60, 55};

const QColor Skipped_Grey(128, 128, 128);
const QColor Note_Orange(176, 96, 0);

} // namespace

GA_Preview_Model::GA_Preview_Model(const ProgramState& state, QObject* parent)
    : QAbstractTableModel(parent), m_state(state)
{
}

void GA_Preview_Model::Set_Plan(GA_Plan plan, int start)
{
    beginResetModel();
    m_plan = std::move(plan);
    m_ticks.fill(true, m_plan.items.size());
    Lay_Out_GA(m_plan, start, m_ticks);
    endResetModel();
    Q_EMIT Layout_Changed();
}

void GA_Preview_Model::Set_Start(int start)
{
    Lay_Out(start);
}

void GA_Preview_Model::Lay_Out(int start)
{
    Lay_Out_GA(m_plan, start, m_ticks);
    if (!m_plan.items.isEmpty())
        Q_EMIT dataChanged(index(0, Position), index(int(m_plan.items.size()) - 1, Status));
    Q_EMIT Layout_Changed();
}

int GA_Preview_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_plan.items.size());
}

int GA_Preview_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Column_Count;
}

QVariant GA_Preview_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_plan.items.size())
        return {};
    const GA_Item& item = m_plan.items[index.row()];
    const bool isNew = item.status == GA_Status::New;
    const bool laidOut = item.position >= 0;
    if (role == Qt::CheckStateRole && index.column() == Tick && isNew)
        return m_ticks[index.row()] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ForegroundRole) {
        if (!isNew)
            return QBrush(Skipped_Grey);
        if (index.column() == Status && item.size.noteLang)
            return QBrush(Note_Orange);
        return {};
    }
    if (role == Qt::ToolTipRole && index.column() == Name)
        return item.entry.description.isEmpty() ? QVariant() : QVariant(item.entry.description);
    if (role == Qt::ToolTipRole && index.column() == Status)
        return GA_Status_Text(item, m_state);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Line: return item.entry.line;
    case Name: return item.entry.name.left(1000);   // a cell shows no more; the row keeps the whole name
    case Address: return item.entry.address;
    case DPT: return item.entry.dpt;
    case Position: return laidOut ? QVariant(item.position) : QVariant();
    case Bit_Mode: return isNew ? QVariant(item.size.Bit_Mode()) : QVariant();
    case Length: return isNew ? QVariant(item.size.length) : QVariant();
    case Status: return GA_Status_Text(item, m_state);
    default: return {};
    }
}

bool GA_Preview_Model::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != Tick || role != Qt::CheckStateRole || index.row() >= m_ticks.size()
        || m_plan.items[index.row()].status != GA_Status::New)
        return false;
    m_ticks[index.row()] = value.toInt() == Qt::Checked;
    Q_EMIT dataChanged(index, index);
    Lay_Out(m_plan.startPosition);
    return true;
}

QVariant GA_Preview_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section <= Tick || section >= Column_Count)
        return {};
    return m_state.Text(Header_Entries[section - 1]);
}

Qt::ItemFlags GA_Preview_Model::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Tick && index.row() < m_plan.items.size()
        && m_plan.items[index.row()].status == GA_Status::New)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

TFGAPreview::TFGAPreview(const ProgramState& state, Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_state(state)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("FGAPreview"));
    setModal(true);
    Apply_Window_Look(this);
    Set_Fixed_Client_Size(this, Client_Width, Client_Height);
    setWindowTitle(m_state.Text(Lang_Preview_Caption));

    auto* title = new Title_Panel(this);
    Set_Label_Text(title->L_SW_Code, state.SW_Code);
    Set_Label_Text(title->L_SW_Desc, m_state.Text(Lang_Preview_Caption));

    const int optionsY = Title_Panel_Height + 7;
    QLabel* sourceLabel = Make_Label(this, "L_Source", 8, optionsY + 3);
    Set_Label_Text(sourceLabel, m_state.Text(Lang_Preview_Source));
    ED_Source = new QLineEdit(this);
    ED_Source->setObjectName(QStringLiteral("ED_Source"));
    ED_Source->setFont(Base_Font());
    ED_Source->setGeometry(sourceLabel->x() + sourceLabel->width() + 8, optionsY, 110, 22);

    QLabel* startLabel = Make_Label(this, "L_Start", ED_Source->x() + ED_Source->width() + 24, optionsY + 3);
    Set_Label_Text(startLabel, m_state.Text(Lang_Preview_Start));
    SE_Start = new QSpinBox(this);
    SE_Start->setObjectName(QStringLiteral("SE_Start"));
    SE_Start->setFont(Base_Font());
    SE_Start->setRange(0, KNX_Max_Num_Byte - 1);
    SE_Start->setGeometry(startLabel->x() + startLabel->width() + 8, optionsY, 80, 22);

    const int gridY = Title_Panel_Height + Options_Height;
    Model = new GA_Preview_Model(m_state, this);
    Grid_Preview = new QTableView(this);
    Grid_Preview->setObjectName(QStringLiteral("Grid_Preview"));
    Grid_Preview->setGeometry(0, gridY, Client_Width, Client_Height - gridY - Button_Panel_Height - 22);
    Grid_Preview->setModel(Model);
    Grid_Preview->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid_Preview->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid_Preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_Preview->setWordWrap(false);
    Grid_Preview->verticalHeader()->hide();
    Grid_Preview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid_Preview->verticalHeader()->setDefaultSectionSize(Row_Height);
    Grid_Preview->horizontalHeader()->setHighlightSections(false);
    Grid_Preview->horizontalHeader()->setStretchLastSection(true);
    Grid_Preview->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < int(std::size(Column_Widths)); ++c)
        Grid_Preview->setColumnWidth(c, Column_Widths[c]);

    L_Summary = Make_Label(this, "L_Summary", 8, Client_Height - Button_Panel_Height - 18);
    L_Summary->setFixedWidth(Client_Width - 16);

    auto* buttons = new Button_Panel(this);
    buttons->setGeometry(0, Client_Height - Button_Panel_Height, Client_Width, Button_Panel_Height);
    const auto make = [buttons](const char* name, int slot) {
        const QRect place(Button_Gap + slot * (Button_Width + Button_Gap), 6, Button_Width, Button_Height);
        return new Flat_Button(buttons, name, place, Hover_Sky_Blue(), Flat_Button::Arrangement::Picture_Left);
    };
    Btn_Import = make("Btn_Import", 0);
    Btn_Import->Set_Picture(Draw_Picture(Picture::OK, 16));
    Btn_Import->setText(m_state.Text(Lang_Preview_Import));
    Btn_Cancel = make("Btn_Cancel", 1);
    Btn_Cancel->Set_Picture(Draw_Picture(Picture::Cancel, 16));
    Btn_Cancel->setText(m_state.Text(Lang_Preview_Cancel));

    connect(Btn_Import, &Flat_Button::clicked, this, &TFGAPreview::Btn_ImportClick);
    connect(Btn_Cancel, &Flat_Button::clicked, this, &QDialog::reject);
    connect(SE_Start, &QSpinBox::valueChanged, Model, &GA_Preview_Model::Set_Start);
    connect(Model, &GA_Preview_Model::Layout_Changed, this, &TFGAPreview::Show_Summary);
}

void TFGAPreview::Load(const Text_Table& table, const QList<GA_Entry>& entries, const QString& source)
{
    m_table = table;
    ED_Source->setText(source);
    const int start = std::min(Default_Start_Position(table), KNX_Max_Num_Byte - 1);
    const QSignalBlocker block(SE_Start);
    SE_Start->setValue(start);
    Model->Set_Plan(Classify_GA(table, entries), start);
}

void TFGAPreview::Show_Summary()
{
    const GA_Plan& plan = Model->Plan();
    QString text = Fill_Text(m_state.Text(Lang_Preview_Summary),
                             {QString::number(plan.items.size()), QString::number(plan.imported),
                              QString::number(plan.skipped)});
    if (!plan.Fits()) {
        GA_Apply_Result overflow;
        overflow.faultLang = Lang_GA_Past_End;
        text += QStringLiteral(" · ") + GA_Apply_Message(overflow, plan, m_state);
    }
    Set_Label_Text(L_Summary, text);
    Btn_Import->setEnabled(plan.imported > 0);
}

void TFGAPreview::Btn_ImportClick()
{
    Text_Table result = m_table;
    const GA_Apply_Result applied = Apply_GA_Plan(result, Model->Plan(), ED_Source->text(), false);
    if (!applied.Ok()) {
        m_messages.Error(GA_Apply_Message(applied, Model->Plan(), m_state));
        return;
    }
    m_result = std::move(result);
    m_imported = Model->Plan().imported;
    accept();
}

} // namespace lw
