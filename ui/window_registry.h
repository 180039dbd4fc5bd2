#pragma once

#include <QPointer>
#include <QWidget>

#include <utility>

// The reading windows and the editor exist at most once each, have no owner, and delete
// themselves when closed; showing one again later builds it afresh. The registry is keyed by
// window class, so each window needs a class of its own.
namespace ui {

namespace detail {
template <class W> QPointer<W>& singleSlot()
{
    static QPointer<W> slot;
    return slot;
}
void bringToFront(QWidget* window);
} // namespace detail

/// Shows the one window of class W, modeless and without an owner: creates it from args when
/// none is open, otherwise shows the open one again and brings it to the front. Returns at once.
template <class W, class... Args> W* showSingle(Args&&... args)
{
    QPointer<W>& slot = detail::singleSlot<W>();
    // A window the user has closed is hidden at once but deleted only when the event loop next
    // runs; it must not be shown again, so a hidden one is treated as gone.
    if (slot && !slot->isVisible()) {
        slot->deleteLater();
        slot = nullptr;
    }
    if (!slot) {
        slot = new W(std::forward<Args>(args)...);
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    detail::bringToFront(slot);
    return slot;
}

/// The open window of class W, or nullptr.
template <class W> W* openSingle()
{
    QPointer<W>& slot = detail::singleSlot<W>();
    return slot && slot->isVisible() ? slot.data() : nullptr;
}

} // namespace ui
