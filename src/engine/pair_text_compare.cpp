#include "engine/pair_text_compare.h"

// Placeholder: this unit is being written.
