#pragma once

#include <QString>

class QAction;
class QIcon;
class QWidget;

// Who the program is to the desktop and to its user: icon, desktop entry id, version, and the
// About box with the licences and the credits of the component data.
namespace ui {

/// The title of the About box and the text of every action that opens it.
inline constexpr char kAboutTitle[] = "About Tavrel1";

/// Names the running application to the desktop: version, desktop entry id (on Wayland it
/// also finds the installed icon) and the window icon of every window. Call once, after the
/// QApplication exists.
void identifyApplication();

/// The application icon, drawn from the compiled-in app_icon.svg at the sizes desktops use.
QIcon appIcon();

/// The About box's text (rich text): version, licences, and the credits of the component data.
QString aboutText();

/// Shows the About box, modal over parent.
void showAbout(QWidget* parent);

/// An "About Tavrel1" action owned by parent that shows the About box over it. Its menu role
/// makes it the standard About entry of a desktop's own application menu.
QAction* makeAboutAction(QWidget* parent);

/// Gives window a Help menu with About where the desktop draws menu bars itself (a global
/// menu); elsewhere it adds nothing, so the window's fixed layout keeps every control in place.
void addAboutToDesktopMenu(QWidget* window);

} // namespace ui
