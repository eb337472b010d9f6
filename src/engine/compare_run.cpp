#include "engine/compare_run.h"

// Placeholder: this unit is being written.
