#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

#include <initializer_list>
#include <string>
#include <string_view>

class QWidget;

// What every window of the program shares: its title, the frame of a fixed-size window, the
// way a control is given a background colour, and the std::string edge of the ui layer.
namespace ui {

/// The application's title, as the store spells it for its own messages.
QString appTitle();

/// A fixed-size window with title bar, system menu, minimise and close buttons (no maximise).
inline constexpr Qt::WindowFlags kFixedWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

/// Paints w's background in color: the given palette roles (the window colour unless told
/// otherwise; entry boxes and check boxes also need Base and Button), filled automatically.
void fillBackground(QWidget* w, const QColor& color,
                    std::initializer_list<QPalette::ColorRole> roles = {QPalette::Window});

/// The font, underlined (the design's captions).
QFont underlined(QFont font);

/// A tooltip that shows text as it is. Qt reads a tooltip that looks like HTML as HTML, so
/// such a text (a component name or source may hold "<b>" or "&") is escaped and wrapped;
/// any other text is returned unchanged.
QString plainToolTip(const QString& text);

/// UTF-8 both ways: the store and core speak std::string.
QString fromStd(std::string_view s);
std::string toStd(const QString& s);

} // namespace ui
