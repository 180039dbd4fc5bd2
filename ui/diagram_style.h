#pragma once

#include "state/result_sheet.h"

#include <QColor>
#include <qcustomplot.h>

namespace ui {

/// The colour and marker of a model, the same in every diagram.
struct ModelStyle {
    QColor color;
    QCPScatterStyle::ScatterShape shape;
};

/// Nine colours told apart also in grey print and by most colour-blind readers (the
/// categorical palette of matplotlib's "tab10" without its olive), each with its own marker.
inline ModelStyle modelStyle(state::Row row)
{
    static const ModelStyle kStyles[] = {
        {QColor(0x7f, 0x7f, 0x7f), QCPScatterStyle::ssCross},            // virial
        {QColor(0x1f, 0x77, 0xb4), QCPScatterStyle::ssCircle},           // van der Waals
        {QColor(0xff, 0x7f, 0x0e), QCPScatterStyle::ssSquare},           // Redlich-Kwong
        {QColor(0x2c, 0xa0, 0x2c), QCPScatterStyle::ssDiamond},          // Soave
        {QColor(0xd6, 0x27, 0x28), QCPScatterStyle::ssTriangle},         // Peng-Robinson
        {QColor(0x94, 0x67, 0xbd), QCPScatterStyle::ssTriangleInverted}, // PRSV1
        {QColor(0x8c, 0x56, 0x4b), QCPScatterStyle::ssPlus},             // PRSV2
        {QColor(0xe3, 0x77, 0xc2), QCPScatterStyle::ssStar},             // ESD
        {QColor(0x17, 0xbe, 0xcf), QCPScatterStyle::ssCrossSquare},      // Dieterici
    };
    return kStyles[static_cast<int>(row)];
}

} // namespace ui
