#pragma once

#include <QPointer>
#include <QWidget>

namespace ui {

/// Shows the one window of type W: creates it when none is open (modeless, no owner, deleted
/// on close), otherwise shows the open one again and brings it to the front.
template <class W, class Make> W* showSingle(QPointer<W>& slot, Make make)
{
    if (slot == nullptr) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->showNormal();
    slot->raise();
    slot->activateWindow();
    return slot;
}

// The three windows the main window's buttons open.
QWidget* showInformationWindow();
QWidget* showInstructionsWindow();
QWidget* showEditorWindow();

} // namespace ui
