// A model reaching up into the store: the layer check must refuse this file.
#include "store/recordset.h"
