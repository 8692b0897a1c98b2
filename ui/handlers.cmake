target_sources(kelvaro_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/event_handlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_picker.cpp
)
