#pragma once

#include <QObject>
#include <QString>

#include <exception>

class QWidget;

namespace ui {

/// How a window reports a failure no handler expected.
using ErrorSink = void (*)(QWidget* owner, const QString& text);

/// Reports text to the user: a message box over owner, titled with the application title,
/// unless a test has put its own sink in place.
void showError(QWidget* owner, const QString& text);

/// Puts sink in place of the message box (nullptr restores it); returns the sink it replaced.
ErrorSink setErrorSink(ErrorSink sink);

/// Runs a window handler so that no exception leaves it into Qt's event loop: whatever it
/// throws is shown by showError and the window carries on.
template <class Body> void guarded(QWidget* owner, Body&& body) noexcept
{
    try {
        body();
    } catch (const std::exception& e) {
        showError(owner, QString::fromUtf8(e.what()));
    } catch (...) {
        showError(owner, QObject::tr("Unexpected internal error"));
    }
}

} // namespace ui
