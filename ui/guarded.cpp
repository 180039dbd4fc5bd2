#include "ui/guarded.h"

#include "ui/message_box.h"
#include "ui/window_style.h"

namespace ui {
namespace {

ErrorSink g_sink = nullptr;

} // namespace

void showError(QWidget* owner, const QString& text)
{
    if (g_sink != nullptr) {
        g_sink(owner, text);
        return;
    }
    // A second failure while reporting the first must not escape either.
    try {
        showMessageBox(owner, text, appTitle());
    } catch (...) {
    }
}

ErrorSink setErrorSink(ErrorSink sink)
{
    const ErrorSink previous = g_sink;
    g_sink = sink;
    return previous;
}

} // namespace ui
