#include "ui/table_export.h"

#include "ui/message_box.h"
#include "ui/window_style.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QTableWidget>

namespace ui {

QString exportFolder(const std::optional<store::Settings>& settings)
{
    QString folder;
    if (settings)
        folder = fromStd(settings->exportFolder().value_or(std::string()));
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return folder;
}

void saveCsvAs(QWidget* parent, const QString& caption, std::optional<store::Settings>& settings,
               const std::function<bool(const QString&)>& write, const QString& failure,
               const QString& title)
{
    const QString path =
        QFileDialog::getSaveFileName(parent, caption, exportFolder(settings), "CSV file (*.csv)");
    if (path.isEmpty())
        return;
    if (settings)
        settings->setExportFolder(QFileInfo(path).absolutePath().toStdString());
    if (!write(path))
        showMessageBox(parent, failure + "\n" + path, title);
}

void fillTable(QTableWidget* grid, const plots::TextTable& table,
               const std::function<std::optional<Qt::Alignment>(std::size_t column)>& align)
{
    grid->setColumnCount(static_cast<int>(table.columns.size()));
    grid->setRowCount(static_cast<int>(table.rows.size()));
    QStringList headers;
    for (const std::string& c : table.columns)
        headers << fromStd(c);
    grid->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(fromStd(table.rows[r][c]));
            if (const std::optional<Qt::Alignment> a = align(c))
                item->setTextAlignment(*a);
            grid->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    grid->resizeColumnsToContents();
}

} // namespace ui
