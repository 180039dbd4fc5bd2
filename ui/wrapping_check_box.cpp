#include "ui/wrapping_check_box.h"

#include <QPainter>
#include <QStyleOption>

namespace ui {

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
    QStyleOptionButton box = opt;
    box.rect = indicator;
    box.rect.moveTop((height() - indicator.height()) / 2);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, this);

    const int textLeft = indicator.right() + 4;
    const QRect textRect(textLeft, 0, width() - textLeft, height());
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect =
            p.boundingRect(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text())
                .adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

bool WrappingCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

} // namespace ui
