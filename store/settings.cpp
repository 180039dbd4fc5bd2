#include "store/settings.h"

#include "store/app_title.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace store {

namespace {

constexpr const char* kKey = "Startup/DBPath";
constexpr const char* kExportFolderKey = "Diagrams/ExportFolder";

QString appName()
{
    return QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
}

std::unique_ptr<QSettings> openSettings(const std::string& iniPath)
{
    if (iniPath.empty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, appName(),
                                           appName());
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

std::optional<std::string> Settings::exportFolder() const
{
    return readText(m_iniPath, kExportFolderKey);
}

std::optional<StoreError> Settings::readFault() const
{
    const auto settings = openSettings(m_iniPath);
    // QSettings reads what it can and treats an unreadable file as empty; only opening the
    // file tells a file we may not read from one not written yet. (On Windows the native
    // store is the registry, which has no file to open.)
    QFile file(settings->fileName());
    std::string reason;
    if (file.exists() && !file.open(QIODevice::ReadOnly))
        reason = file.errorString().toStdString();
    else if (settings->status() == QSettings::FormatError)
        reason = "it is not a settings file";
    else if (settings->status() != QSettings::NoError)
        reason = "access denied";
    else
        return std::nullopt;
    return StoreError{kErrSettingsUnreadable, "The settings file '" +
                                                  settings->fileName().toStdString() +
                                                  "' cannot be read: " + reason + "."};
}

std::optional<StoreError> Settings::setDbPath(const std::string& path)
{
    if (writeText(m_iniPath, kKey, path))
        return std::nullopt;
    return StoreError{kErrSettingsUnsaved, "The settings file '" +
                                               openSettings(m_iniPath)->fileName().toStdString() +
                                               "' cannot be written."};
}

bool Settings::setExportFolder(const std::string& folder)
{
    return writeText(m_iniPath, kExportFolderKey, folder);
}

std::string Settings::diagramUnit(const std::string& quantity) const
{
    return readText(m_iniPath, ("Diagrams/Units/" + quantity).c_str()).value_or(std::string());
}

bool Settings::setDiagramUnit(const std::string& quantity, const std::string& symbol)
{
    return writeText(m_iniPath, ("Diagrams/Units/" + quantity).c_str(), symbol);
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
    return QDir(base).filePath(appName() + QStringLiteral("/Components.mdb")).toStdString();
#endif
}

} // namespace store
