#include "engine/dp_filters.h"

// Placeholder: this unit is being written.
