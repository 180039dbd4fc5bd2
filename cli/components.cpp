#include "cli/components.h"

#include "store/component_selection.h"
#include "store/settings.h"

namespace cli {

store::ComponentDatabase openDatabase(const std::optional<std::string>& path)
{
    if (path)
        return store::ComponentDatabase::open(*path);
    store::Settings settings = store::Settings::forUser();
    return store::openConfiguredDatabase(settings, store::defaultDatabasePath());
}

std::shared_ptr<const state::Component> StoredComponents::find(const std::string& name)
{
    if (const auto it = m_chosen.find(name); it != m_chosen.end())
        return it->second;
    std::shared_ptr<const state::Component> chosen;
    if (std::optional<state::Component> found = store::findComponent(m_db, name))
        chosen = std::make_shared<const state::Component>(std::move(*found));
    // A file of ever new names must not grow the cache without end.
    constexpr std::size_t kMaxCached = 4096;
    if (m_chosen.size() >= kMaxCached)
        m_chosen.clear();
    m_chosen.emplace(name, chosen);
    return chosen;
}

} // namespace cli
