#pragma once

#include "store/component_database.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace core {
class MainViewModel;
}

namespace cli {

/// The database --db names, or the one the window uses. Throws store::StoreException.
store::ComponentDatabase openDatabase(const std::optional<std::string>& path);

/// Stored components by name, each loaded once as picking it in the list does; the view
/// model just after the choice is shared by every state that names the component.
class StoredComponents {
public:
    explicit StoredComponents(store::ComponentDatabase db) : m_db(std::move(db)) {}
    /// The chosen state, or null when the database has no component of that name.
    /// Throws store::StoreException.
    std::shared_ptr<const core::MainViewModel> find(const std::string& name);

private:
    store::ComponentDatabase m_db;
    std::map<std::string, std::shared_ptr<const core::MainViewModel>> m_chosen;
};

} // namespace cli
