#pragma once

#include "state/component.h"
#include "store/store_errors.h"

#include <optional>
#include <string>
#include <vector>

namespace store {

class ComponentDatabase;

/// The entries of the window's component list, as a rebuild writes them.
struct ComponentList {
    virtual ~ComponentList() = default;
    virtual int count() const = 0;
    /// Sets entry i; appends a new entry when i == count().
    virtual void setItem(int i, const std::string& text) = 0;
    /// Where the values of entry i come from ("" for none), set after setItem; a list that
    /// shows no source ignores it.
    virtual void setItemSource(int /*i*/, const std::string& /*source*/) {}
    /// Removes entry i and every entry after it.
    virtual void removeFrom(int i) = 0;
    /// The selected entry, -1 when none.
    virtual int currentIndex() const = 0;
    /// Selects entry i; -1 selects none.
    virtual void setCurrentIndex(int i) = 0;
    /// The text the list shows (the selected entry's text).
    virtual std::string currentText() const = 0;
};

/// A list without widgets: for the command line, tests and benchmarks.
class VectorComponentList : public ComponentList {
public:
    int count() const override { return static_cast<int>(items.size()); }
    void setItem(int i, const std::string& text) override;
    void setItemSource(int i, const std::string& source) override;
    void removeFrom(int i) override;
    int currentIndex() const override { return current; }
    void setCurrentIndex(int i) override { current = i; }
    std::string currentText() const override;

    std::vector<std::string> items;
    std::vector<std::string> sources; // by entry, "" for none
    int current = -1;
};

/// The list index is 16-bit: entries 0 to 32767. A larger store lists its first 32768
/// components, and the rebuild says so (ListRebuild::capped).
inline constexpr int kMaxListEntries = 32768;

/// Where a rebuild failed: the store was not open (the list is emptied), could not be
/// re-queried (the list is unchanged), or failed while the names were read (the list may be
/// incomplete).
enum class ListFailure { None, NotOpen, Unchanged, Incomplete };

/// What a list rebuild met: a store failure and where, the components the store holds, the
/// entries written, and whether the store holds more than the list can show.
struct ListRebuild {
    std::optional<StoreError> error;
    ListFailure failure = ListFailure::None;
    bool capped = false;
    int held = 0;
    int listed = 0;
};

/// Rebuilds the list from rstComps (re-queried, so the editor's changes show) and keeps the
/// chosen component selected by name. After a failure the list matches rstComps or is empty.
ListRebuild rebuildComponentList(ComponentDatabase& db, ComponentList& list);

/// The selected entry's component as the store holds it: the Antoine set when there is one,
/// the eight constants with the fixed values for missing ones. No name when no entry is
/// selected; a numbered error (and no component) when the store is not open or cannot be read.
struct SelectedComponent {
    std::optional<std::string> name;
    std::optional<state::Component> component;
    std::optional<StoreError> error;
    bool notOpen = false; // the error is that the store was never opened
};
SelectedComponent readSelectedComponent(ComponentDatabase& db, const ComponentList& list);

/// The names the list shows, in list order, for the command line; capped and held as in
/// ListRebuild.
struct ListedComponents {
    std::vector<std::string> names;
    bool capped = false;
    int held = 0;
};

/// The list as the window builds it. Throws StoreException when the store cannot be read,
/// rather than giving a short or empty list.
ListedComponents listComponentNames(ComponentDatabase& db);

/// The component named exactly name, as picking it in the list reads it (also one beyond the
/// list's cap); nothing when the store has no such component. Throws StoreException when the
/// store cannot be read.
std::optional<state::Component> findComponent(ComponentDatabase& db, const std::string& name);

} // namespace store
