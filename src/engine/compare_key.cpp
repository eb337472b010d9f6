#include "engine/compare_key.h"

// Placeholder: this unit is being written.
