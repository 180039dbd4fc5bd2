#pragma once

namespace ui {

/// The application's title: the main window's caption, the instructions window's caption and
/// the title of message boxes that have none of their own.
inline constexpr char kAppTitle[] = "Tavrel1";

} // namespace ui
