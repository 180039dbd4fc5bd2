#include "ui/ui_fonts.h"

#include <QStringList>

#include <cmath>

namespace ui {

QFont designFont(Face face, double points, QFont::Weight weight, bool underline)
{
    QFont font;
    switch (face) {
    case Face::SansSerif:
    case Face::Arial:
        font.setFamilies(QStringList() << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo") << QStringLiteral("DejaVu Sans"));
        break;
    case Face::ArialBlack:
        font.setFamilies(QStringList() << QStringLiteral("DejaVu Sans") << QStringLiteral("Liberation Sans"));
        break;
    case Face::Serif:
        font.setFamilies(QStringList() << QStringLiteral("Liberation Serif") << QStringLiteral("Tinos") << QStringLiteral("DejaVu Serif"));
        break;
    case Face::SmallFonts:
        font.setFamilies(QStringList() << QStringLiteral("Liberation Sans Narrow") << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans"));
        break;
    case Face::CourierNew:
        font.setFamilies(QStringList() << QStringLiteral("Liberation Mono") << QStringLiteral("Cousine") << QStringLiteral("DejaVu Sans Mono"));
        break;
    }
    font.setPixelSize(static_cast<int>(std::lround(points * 120.0 / 72.0)));
    font.setWeight(weight);
    font.setUnderline(underline);
    return font;
}

} // namespace ui
