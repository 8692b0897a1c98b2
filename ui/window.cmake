target_sources(kelvaro_ui PRIVATE)
