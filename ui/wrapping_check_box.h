#pragma once

#include <QCheckBox>

namespace ui {

/// A check box whose caption wraps inside its fixed box, as the design's long captions need.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

} // namespace ui
