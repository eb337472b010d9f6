#include "report/report_generator.h"

// Placeholder: this unit is being written.
