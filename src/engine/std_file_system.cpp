#include "engine/std_file_system.h"

// Placeholder: this unit is being written.
