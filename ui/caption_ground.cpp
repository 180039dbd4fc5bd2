#include "ui/caption_ground.h"

#include "ui/assets.h"

#include <QLabel>
#include <QPainter>

namespace ui {

QRect captionArea(const QLabel* label)
{
    if (label->wordWrap())
        return label->geometry();
    constexpr int kMargin = 2;
    return label->fontMetrics()
        .boundingRect(label->contentsRect(), static_cast<int>(label->alignment()), label->text())
        .adjusted(-kMargin, -kMargin, kMargin, kMargin)
        .translated(label->pos());
}

QPixmap backgroundClearOfCaptions(const QWidget* window, const QString& asset, QSize size)
{
    QPixmap picture = renderSvgAsset(asset, size);
    const QColor ground = picture.toImage().pixelColor(0, 0);
    QPainter p(&picture);
    for (const QLabel* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        p.fillRect(captionArea(label), ground);
    return picture;
}

} // namespace ui
