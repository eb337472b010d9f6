#include "engine/compare_choices.h"

// Placeholder: this unit is being written.
