#pragma once

#include "plots/reference_diagrams.h"
#include "store/settings.h"

#include <QString>
#include <Qt>

#include <cstddef>
#include <functional>
#include <optional>

class QTableWidget;
class QWidget;

namespace ui {

/// The folder a file dialog opens in: the remembered export folder while it exists, else the
/// home folder.
QString exportFolder(const std::optional<store::Settings>& settings);

/// Asks for a CSV file, remembers its folder and writes it with `write` (false on failure);
/// a failure is shown as `failure`, a line break and the path.
void saveCsvAs(QWidget* parent, const QString& caption, std::optional<store::Settings>& settings,
               const std::function<bool(const QString&)>& write, const QString& failure,
               const QString& title);

/// The table's header and cells in the grid, columns fitted to them; `align` gives a column's
/// alignment, std::nullopt for the grid's default.
void fillTable(QTableWidget* grid, const plots::TextTable& table,
               const std::function<std::optional<Qt::Alignment>(std::size_t column)>& align);

} // namespace ui
