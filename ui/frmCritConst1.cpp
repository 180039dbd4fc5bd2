#include "ui/frmCritConst1.h"

namespace ui {

frmCritConst1::frmCritConst1(QWidget* parent) : QWidget(parent)
{
    setObjectName("frmCritConst1");
    setWindowTitle("Critical Constants - Eq of State");
}

} // namespace ui
