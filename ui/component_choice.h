#pragma once

#include "core/main_view_model.h"
#include "store/component_selection.h"

// The main window's component list between the store and the view model: the store rebuilds
// the list and reads the chosen component as values; here they become the message and the
// state the window shows.
namespace ui {

/// Rebuilds the list on focus and says in the message what the rebuild met: a store
/// failure, an empty store, or more components than the list shows.
store::ListRebuild showComponentList(store::ComponentDatabase& db, store::ComponentList& list,
                                     core::MainViewModel& vm);

/// Takes the selected entry's component into the view model when the list loses focus. A
/// store failure changes nothing of the state and says number and description in the
/// message. True when a component was taken.
bool takeSelectedComponent(store::ComponentDatabase& db, const store::ComponentList& list,
                           core::MainViewModel& vm);

} // namespace ui
