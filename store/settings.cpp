#include "store/settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace store {

namespace {

constexpr const char* kAppName = "Tavrel1";
constexpr const char* kKey = "Startup/DBPath";
constexpr const char* kExportFolderKey = "Diagrams/ExportFolder";

std::unique_ptr<QSettings> openSettings(const std::string& iniPath)
{
    if (iniPath.empty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kAppName,
                                           kAppName);
    return std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat);
}

std::optional<std::string> readText(const std::string& iniPath, const char* key)
{
    const auto settings = openSettings(iniPath);
    if (!settings->contains(key))
        return std::nullopt;
    return settings->value(key).toString().toStdString();
}

bool writeText(const std::string& iniPath, const char* key, const std::string& text)
{
    const auto settings = openSettings(iniPath);
    settings->setValue(key, QString::fromStdString(text));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace

Settings::Settings(std::string iniPath) : m_iniPath(std::move(iniPath)) {}

Settings Settings::forUser() { return Settings(); }

std::optional<std::string> Settings::dbPath() const { return readText(m_iniPath, kKey); }

bool Settings::setDbPath(const std::string& path) { return writeText(m_iniPath, kKey, path); }

std::optional<std::string> Settings::exportFolder() const
{
    return readText(m_iniPath, kExportFolderKey);
}

bool Settings::setExportFolder(const std::string& folder)
{
    return writeText(m_iniPath, kExportFolderKey, folder);
}

std::string defaultDatabasePath()
{
#ifdef Q_OS_WIN
    return "C:\\Program Files\\Nordvale\\Components.mdb";
#else
    // The per-user data folder of the application "Tavrel1" (what AppDataLocation gives when
    // the application is named so and has no organisation), spelled out so the CLI, which
    // may run without an application object, finds the same file.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(QStringLiteral("Tavrel1/Components.mdb")).toStdString();
#endif
}

} // namespace store
