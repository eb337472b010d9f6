#include "engine/run_status.h"

// Placeholder: this unit is being written.
