#pragma once

#include "store/store_errors.h"

#include <optional>
#include <string>

namespace store {

/// The stored settings of application "Tavrel1": the database path (group "Startup", key
/// "DBPath") and the folder the diagrams were last exported to (group "Diagrams", key
/// "ExportFolder").
class Settings {
public:
    /// Settings kept in an INI file at iniPath (tests, portable use).
    explicit Settings(std::string iniPath);
    /// The user's own settings store of the platform (registry, plist, ~/.config).
    static Settings forUser();

    /// The stored database path; nullopt when the key is absent or the settings cannot be
    /// read (readFault() then says why).
    std::optional<std::string> dbPath() const;
    /// Why the settings exist but cannot be read (kErrSettingsUnreadable); nullopt when they
    /// can be read or do not exist yet.
    std::optional<StoreError> readFault() const;
    /// Stores the path; kErrSettingsUnsaved when the settings could not be written.
    std::optional<StoreError> setDbPath(const std::string& path);

    /// The folder of the last diagram export; nullopt when none is stored.
    std::optional<std::string> exportFolder() const;
    /// Stores the folder; false when the settings store could not be written.
    bool setExportFolder(const std::string& folder);

    /// The unit the diagrams show a quantity in (key "Units/<quantity>" of group "Diagrams",
    /// quantity "Temperature", "Pressure" or "Volume"): its ASCII symbol, "" when none is
    /// stored (the diagrams' own unit).
    std::string diagramUnit(const std::string& quantity) const;
    /// Stores the symbol ("" for the diagrams' own unit); false when it could not be written.
    bool setDiagramUnit(const std::string& quantity, const std::string& symbol);

private:
    Settings() = default;
    std::string m_iniPath; // empty: the user's native store
};

/// The database path when no setting exists: "C:\Program Files\Nordvale\Components.mdb" on
/// Windows, elsewhere Components.mdb in the user's data folder of "Tavrel1".
std::string defaultDatabasePath();

} // namespace store
