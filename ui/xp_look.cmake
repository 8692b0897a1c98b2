target_sources(kelvaro_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/xp_look.cpp)
