#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace ui {

/// Writes the bytes to path through a temporary file that replaces it only when every byte
/// was written, so a failed save leaves an earlier file whole. Nothing on success, else the
/// reason.
std::optional<QString> saveFile(const QString& path, std::string_view bytes);

} // namespace ui
