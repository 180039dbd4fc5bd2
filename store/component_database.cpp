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
// calculator opens without asking. When that fails the usual message and dialog follow, and
// the reason it failed is returned, to be told instead of "not found". What a first start
// killed half-way left there goes first: its build files, and the empty file an earlier
// version could leave under the real name (an empty file holds no database, so nothing is
// lost; any other file is kept as it is).
std::optional<StoreError> provisionDefault(const std::string& path)
{
    namespace fs = std::filesystem;
    Database::removeStaleBuilds(path);
    const fs::path file = fs::u8path(path);
    std::error_code ec;
    if (fs::exists(file, ec)) {
        const std::uintmax_t size = fs::is_regular_file(file, ec) ? fs::file_size(file, ec) : 1;
        if (ec || size != 0)
            return std::nullopt;
        fs::remove(file, ec);
    }
    try {
        createShippedDatabase(path);
    } catch (const StoreException& e) {
        // Another process starting at the same time may have created it: then all is well.
        if (!fs::exists(file, ec))
            return e.error();
    }
    return std::nullopt;
}

} // namespace

ComponentDatabase ComponentDatabase::open(const std::string& path, OpenOptions options)
{
    ComponentDatabase cd;
    cd.m_path = path;
    cd.m_dbComps = Database::open(path, options);
    // Both lists from one version of the file, so the Antoine sets match the components.
    ReadSnapshot snapshot(*cd.m_dbComps);
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
    const std::optional<StoreError> provisionFault = stored ? std::nullopt : provisionDefault(path);

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
    // The default file is missing because it could not be created: say why (a full disk, a
    // folder that may not be written), not only that it is missing.
    if (error && provisionFault && isMissing(*error) && path == defaultPath)
        error = provisionFault;
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
    const std::optional<StoreError> provisionFault = stored ? std::nullopt : provisionDefault(path);
    try {
        return ComponentDatabase::open(path);
    } catch (const StoreException& e) {
        if (provisionFault && isMissing(e.error()))
            throw StoreException(*provisionFault);
        throw;
    }
}

} // namespace store
