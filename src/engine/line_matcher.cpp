#include "engine/line_matcher.h"

// Placeholder: this unit is being written.
