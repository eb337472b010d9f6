#include "report/report_lines.h"

// Placeholder: this unit is being written.
