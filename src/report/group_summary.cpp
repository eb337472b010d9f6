#include "report/group_summary.h"

// Placeholder: this unit is being written.
