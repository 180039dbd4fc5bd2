#pragma once

#include "state/component.h"
#include "store/store_errors.h"

#include <optional>
#include <string>
#include <vector>

namespace core {
class MainViewModel;
}

namespace store {

class ComponentDatabase;

/// The entries of the drop-down list cmbComp, as the selection handlers see them.
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
/// components and says so in lblStCond.
inline constexpr int kMaxListEntries = 32768;

/// What a list rebuild met: a store failure, and whether the store holds more components
/// than the list shows.
struct ListRebuild {
    std::optional<StoreError> error;
    bool capped = false;
};

/// Rebuilds the list from rstComps (re-queried, so the editor's changes show) and keeps the
/// chosen component selected by name. An empty, unreadable or unopened store leaves a clear
/// message in lblStCond; the list then matches rstComps or is empty.
ListRebuild cmbComp_GotFocus(ComponentDatabase& db, ComponentList& list, core::MainViewModel& vm);

/// Loads the selected component into the calculation state: Antoine coefficients and
/// AntoineAvailable, the three-line message, the two-phase buttons, and the eight constants
/// with the fixed values for missing ones. Nothing when no entry is selected. A store
/// failure changes nothing of the state and shows number and description in lblStCond.
/// True when a component was loaded.
bool cmbComp_LostFocus(ComponentDatabase& db, const ComponentList& list, core::MainViewModel& vm);

/// The names the list shows, in list order, and the window's message (lines joined by "\n")
/// when the store holds more than the list can show.
struct ListedComponents {
    std::vector<std::string> names;
    std::optional<std::string> capNotice;
};

/// For the command line: the list as the window builds it. Throws StoreException when the
/// store cannot be read, rather than giving a short or empty list.
ListedComponents listComponentNames(ComponentDatabase& db, core::MainViewModel& vm);

/// Chooses the component named exactly name as picking it in the list does, also one beyond
/// the list's cap; false (and nothing changed) when the store has no such component. Throws
/// StoreException when the store cannot be read.
bool loadComponent(ComponentDatabase& db, const std::string& name, core::MainViewModel& vm);

/// The component named exactly name, as picking it in the list reads it (also one beyond the
/// list's cap); nothing when the store has no such component. Throws StoreException when the
/// store cannot be read.
std::optional<state::Component> findComponent(ComponentDatabase& db, const std::string& name);

} // namespace store
