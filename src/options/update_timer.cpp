#include "options/update_timer.h"

#include <QTimer>

namespace lw {

bool Update_Permitted(const ProgramState& state)
{
    return state.Enable_Internet && state.Enable_Update;
}

void Set_Update_Timer(QTimer& timer, bool enabled)
{
    if (!enabled)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}

QString Update_Link_Html(const QString& link, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(link.toHtmlEscaped(), text.toHtmlEscaped());
}

} // namespace lw
