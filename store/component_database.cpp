#include "store/component_database.h"

#include "store/component_schema.h"
#include "store/seed.h"
#include "store/settings.h"

#include <filesystem>

namespace store {

namespace {

void moveToLastIfAny(Recordset& rs)
{
    // An empty query is a usable store (no component yet, or none with Antoine
    // coefficients), not a failure to open.
    if (rs.recordCount() > 0)
        rs.moveLast();
}

bool isMissing(const StoreError& e)
{
    return e.number == kErrFileNotFound || e.number == kErrPathNotValid;
}

std::string errorLine(const StoreError& e)
{
    return "Error " + std::to_string(e.number) + ": " + e.description;
}

std::string failureText(const std::string& path, const StoreError& e)
{
    return "The Component Database could not be opened:\n" + path + "\n\n" + errorLine(e) +
           "\n\nNo component can be chosen until it can be opened.";
}

std::string settingsUnreadableText(const std::string& defaultPath, const StoreError& e)
{
    return "The settings could not be read.\n\n" + errorLine(e) +
           "\n\nThe default Component Database is used:\n" + defaultPath;
}

std::string pathUnsavedText(const std::string& path, const StoreError& e)
{
    return "The Component Database path could not be saved:\n" + path + "\n\n" + errorLine(e) +
           "\n\nIt is used now and will be asked for again at the next start.";
}

// A first start without a stored path: put the shipped database at the default path so the
// calculator opens without asking. When that fails the usual message and dialog follow.
void provisionDefault(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::u8path(path), ec))
        return;
    try {
        createShippedDatabase(path);
    } catch (const StoreException&) {
    }
}

} // namespace

ComponentDatabase ComponentDatabase::open(const std::string& path, OpenOptions options)
{
    ComponentDatabase cd;
    cd.m_path = path;
    cd.m_dbComps = Database::open(path, options);
    cd.m_rstAntCos = cd.m_dbComps->openRecordset(std::string(schema::kAntoineView));
    moveToLastIfAny(*cd.m_rstAntCos);
    cd.m_rstComps = cd.m_dbComps->openRecordset(std::string(schema::kCritView));
    moveToLastIfAny(*cd.m_rstComps);
    return cd;
}

void ComponentDatabase::LoadDatabase(Settings& settings, const std::string& defaultPath,
                                     LoadDatabasePrompts& prompts, OpenOptions options)
{
    unload();
    m_loadError.reset();
    // Settings that cannot be read or written are said once, and the start carries on with
    // what works: the default database, or the file just chosen.
    const std::optional<std::string> stored = settings.dbPath();
    if (const std::optional<StoreError> fault = settings.readFault())
        prompts.showMessage(settingsUnreadableText(defaultPath, *fault), std::string(kAppTitle));
    std::string path = stored.value_or(defaultPath);
    if (!stored)
        provisionDefault(path);

    auto attempt = [&](const std::string& p) -> std::optional<StoreError> {
        try {
            *this = open(p, options);
            return std::nullopt;
        } catch (const StoreException& e) {
            return e.error();
        }
    };

    std::optional<StoreError> error = attempt(path);
    if (error && isMissing(*error)) {
        prompts.showMessage(std::string(kDbNotFoundPrompt), std::string(kDbPathErrorTitle));
        const std::string chosen = prompts.askForFile();
        if (!chosen.empty())
            path = chosen;
        if (const std::optional<StoreError> fault = settings.setDbPath(path))
            prompts.showMessage(pathUnsavedText(path, *fault), std::string(kAppTitle));
        error = attempt(path);
    }
    m_path = path;
    if (error) {
        m_loadError = error;
        prompts.showMessage(failureText(path, *error), std::string(kAppTitle));
    }
}

void ComponentDatabase::unload() noexcept { closeAll(m_rstAntCos, m_rstComps, m_dbComps); }

ComponentDatabase openConfiguredDatabase(Settings& settings, const std::string& defaultPath)
{
    const std::optional<std::string> stored = settings.dbPath();
    const std::string path = stored.value_or(defaultPath);
    if (!stored)
        provisionDefault(path);
    return ComponentDatabase::open(path);
}

} // namespace store
