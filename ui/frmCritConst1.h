#pragma once

#include <QWidget>

namespace ui {

/// The component constants editor.
class frmCritConst1 : public QWidget {
    Q_OBJECT
public:
    explicit frmCritConst1(QWidget* parent = nullptr);
};

} // namespace ui
