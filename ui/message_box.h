#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ui {

/// Shows a modal message box with one OK button and no icon and returns when it is closed.
void showMessageBox(QWidget* parent, const QString& prompt, const QString& title);

} // namespace ui
