#pragma once

#include <QWidget>

class QLabel;

namespace ui {

struct FigureLayout;

/// A figure window: one picture, Image1, unscaled at the top left, and a caption line, Label1,
/// below it. frmFig1, frmFig2 and frmFig3 are its three instances; each has a class of its own
/// so that showSingle<frmFig2>() finds it.
class frmFigure : public QWidget {
    Q_OBJECT
protected:
    explicit frmFigure(const FigureLayout& layout);

private:
    QLabel* Image1;
    QLabel* Label1;
};

/// Figure 1: the T-P phase diagram.
class frmFig1 final : public frmFigure {
    Q_OBJECT
public:
    frmFig1();
};

/// Figure 2: the V-P phase diagram.
class frmFig2 final : public frmFigure {
    Q_OBJECT
public:
    frmFig2();
};

/// Figure 3: the T-P vapour-pressure curve.
class frmFig3 final : public frmFigure {
    Q_OBJECT
public:
    frmFig3();
};

} // namespace ui
