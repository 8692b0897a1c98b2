// Filled by the Windows bindings.
