#include "ui/window_style.h"

#include "store/app_title.h"

#include <QTextDocument>
#include <QWidget>

namespace ui {

QString appTitle()
{
    return QString::fromUtf8(store::kAppTitle.data(),
                             static_cast<qsizetype>(store::kAppTitle.size()));
}

void fillBackground(QWidget* w, const QColor& color,
                    std::initializer_list<QPalette::ColorRole> roles)
{
    QPalette pal = w->palette();
    for (QPalette::ColorRole role : roles)
        pal.setColor(role, color);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QFont underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space: pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QString fromStd(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string toStd(const QString& s) { return s.toUtf8().toStdString(); }

} // namespace ui
