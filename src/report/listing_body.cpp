#include "report/listing_body.h"

// Placeholder: this unit is being written.
