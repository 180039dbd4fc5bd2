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

std::string failureText(const std::string& path, const StoreError& e)
{
    return "The Component Database could not be opened:\n" + path + "\n\nError " +
           std::to_string(e.number) + ": " + e.description +
           "\n\nNo component can be chosen until it can be opened.";
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
    const std::optional<std::string> stored = settings.dbPath();
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
        settings.setDbPath(path);
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
