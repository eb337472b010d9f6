// Placeholder: the compare-type flows are being written.
