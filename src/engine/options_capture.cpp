#include "engine/options_capture.h"

// Placeholder: this unit is being written.
