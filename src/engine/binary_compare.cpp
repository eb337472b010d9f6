#include "engine/binary_compare.h"

// Placeholder: this unit is being written.
