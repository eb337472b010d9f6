#include "engine/text_reader.h"

// Placeholder: this unit is being written.
