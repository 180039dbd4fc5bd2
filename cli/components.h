#pragma once

#include "state/component.h"
#include "store/component_database.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace cli {

/// The database --db names, or the one the window uses. Throws store::StoreException.
store::ComponentDatabase openDatabase(const std::optional<std::string>& path);

/// Stored components by name, each read once as picking it in the list does and shared by
/// every state that names it.
class StoredComponents {
public:
    explicit StoredComponents(store::ComponentDatabase db) : m_db(std::move(db)) {}
    /// The component, or null when the database has no component of that name.
    /// Throws store::StoreException.
    std::shared_ptr<const state::Component> find(const std::string& name);

private:
    store::ComponentDatabase m_db;
    std::map<std::string, std::shared_ptr<const state::Component>> m_chosen;
};

} // namespace cli
