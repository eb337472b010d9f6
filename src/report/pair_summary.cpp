#include "report/pair_summary.h"

// Placeholder: this unit is being written.
