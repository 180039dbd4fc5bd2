#pragma once

#include "store/app_title.h"
#include "store/recordset.h"
#include "store/store_errors.h"

#include <optional>
#include <string>
#include <string_view>

namespace store {

class Settings;

inline constexpr std::string_view kDbPathErrorTitle = "Database Path ERROR";
/// Line feed then carriage return, in that order, as the message has always shown them.
inline constexpr std::string_view kDbNotFoundPrompt =
    "Component Database Not Found\n\rOpen 'Components.mdb' Database";

/// The modal message box and the file-open dialog LoadDatabase may need; the main window
/// implements them with widgets, tests with fakes.
struct LoadDatabasePrompts {
    virtual ~LoadDatabasePrompts() = default;
    /// A modal message box with one OK button and no icon.
    virtual void showMessage(const std::string& prompt, const std::string& title) = 0;
    /// The file-open dialog; the chosen file's path, or "" when cancelled.
    virtual std::string askForFile() = 0;
};

/// The main window's connection and its two recordsets, open from LoadDatabase to unload.
/// A handle is null when the store could not be opened; every user checks.
class ComponentDatabase {
public:
    ComponentDatabase() = default;
    ComponentDatabase(ComponentDatabase&&) noexcept = default;
    ComponentDatabase& operator=(ComponentDatabase&&) noexcept = default;
    ~ComponentDatabase() { unload(); }

    /// Opens the database at path with both recordsets, each moved to its last row when it
    /// has rows. Throws StoreException; on failure no handle stays open.
    static ComponentDatabase open(const std::string& path, OpenOptions options = {});

    /// Finds and opens the store for the main window: the stored path, or the default path
    /// (creating the shipped database there on first start); when the file or its folder is
    /// missing, one message, one file dialog, the path stored, one more attempt. When the
    /// store still cannot be opened, one message with its number and description; the
    /// handles then stay unset and loadError() tells why.
    void LoadDatabase(Settings& settings, const std::string& defaultPath,
                      LoadDatabasePrompts& prompts, OpenOptions options = {});

    /// Closes rstAntCos, then rstComps, then dbComps, skipping unset handles.
    void unload() noexcept;

    bool isOpen() const { return m_dbComps.has_value(); }
    const std::optional<StoreError>& loadError() const { return m_loadError; }
    const std::string& path() const { return m_path; }

    Database* dbComps() { return m_dbComps ? &*m_dbComps : nullptr; }
    Recordset* rstAntCos() { return m_rstAntCos ? &*m_rstAntCos : nullptr; }
    Recordset* rstComps() { return m_rstComps ? &*m_rstComps : nullptr; }

private:
    std::optional<Database> m_dbComps;
    std::optional<Recordset> m_rstAntCos;
    std::optional<Recordset> m_rstComps;
    std::optional<StoreError> m_loadError;
    std::string m_path;
};

/// For the command line: the database at the stored path, or at defaultPath (created from the
/// shipped data when missing there and no path is stored). No prompts; throws StoreException.
ComponentDatabase openConfiguredDatabase(Settings& settings, const std::string& defaultPath);

} // namespace store
