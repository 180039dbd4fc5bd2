#include "ui/component_choice.h"

#include "core/component_messages.h"

namespace ui {

store::ListRebuild showComponentList(store::ComponentDatabase& db, store::ComponentList& list,
                                     core::MainViewModel& vm)
{
    const store::ListRebuild r = store::rebuildComponentList(db, list);
    switch (r.failure) {
    case store::ListFailure::NotOpen:
        vm.setStCond(core::storeNotOpenMessage());
        return r;
    case store::ListFailure::Unchanged:
        vm.setStCond(core::storeFailureMessage(r.error->number, r.error->description,
                                               "The component list is unchanged."));
        return r;
    case store::ListFailure::Incomplete:
        vm.setStCond(core::storeFailureMessage(r.error->number, r.error->description,
                                               "The component list may be incomplete."));
        break;
    case store::ListFailure::None:
        break;
    }
    if (r.listed == 0 && r.held == 0)
        vm.setStCond(core::noComponentsMessage());
    else if (r.capped)
        vm.setStCond(core::listCappedMessage(r.held, store::kMaxListEntries));
    return r;
}

bool takeSelectedComponent(store::ComponentDatabase& db, const store::ComponentList& list,
                           core::MainViewModel& vm)
{
    const store::SelectedComponent s = store::readSelectedComponent(db, list);
    if (!s.name)
        return false;
    if (s.notOpen) {
        vm.setStCond(core::storeNotOpenMessage());
        return false;
    }
    if (s.error) {
        vm.setStCond(core::storeFailureMessage(s.error->number, s.error->description,
                                               "Component " + *s.name + " NOT loaded."));
        return false;
    }
    vm.componentChosen(*s.component);
    return true;
}

} // namespace ui
