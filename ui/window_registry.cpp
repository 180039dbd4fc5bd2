#include "ui/window_registry.h"

namespace ui::detail {

void bringToFront(QWidget* window)
{
    // show() alone leaves a minimised window minimised.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace ui::detail
