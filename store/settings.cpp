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

} // namespace

Settings::Settings(std::string iniPath) : m_iniPath(std::move(iniPath)) {}

Settings Settings::forUser() { return Settings(); }

std::optional<std::string> Settings::dbPath() const
{
    const auto settings = openSettings(m_iniPath);
    if (!settings->contains(kKey))
        return std::nullopt;
    return settings->value(kKey).toString().toStdString();
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
    const auto settings = openSettings(m_iniPath);
    settings->setValue(kKey, QString::fromStdString(path));
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return std::nullopt;
    return StoreError{kErrSettingsUnsaved, "The settings file '" +
                                               settings->fileName().toStdString() +
                                               "' cannot be written."};
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
