#include "ui/assets.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

// Resources compiled into a static library are registered only when something names them;
// Q_INIT_RESOURCE must be used outside any namespace.
static void initAssetResources() { Q_INIT_RESOURCE(assets); }

namespace ui {
namespace {

QString assetPath(const QString& name)
{
    static const bool registered = (initAssetResources(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/assets/") + name;
}

} // namespace

QByteArray readAsset(const QString& name)
{
    QFile file(assetPath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QPixmap renderSvgAsset(const QString& name, QSize size, const QColor& background)
{
    QPixmap pixmap(size);
    pixmap.fill(background);
    QSvgRenderer renderer(readAsset(name));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

} // namespace ui
