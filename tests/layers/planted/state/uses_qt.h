// The state layer with a Qt header: the layer check must refuse this file.
#pragma once
#include <QString>
