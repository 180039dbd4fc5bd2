// The browser edition reaching the store, which needs SQLite: the layer check must refuse this.
#include "store/component_database.h"
