#include "ui/save_file.h"

#include <QSaveFile>

namespace ui {

std::optional<QString> saveFile(const QString& path, std::string_view bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
            static_cast<qint64>(bytes.size()) &&
        file.commit())
        return std::nullopt;
    return file.errorString();
}

} // namespace ui
