# Fields, pickers, the Set and Clear buttons and the version label's menu.
target_sources(kelvaro_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/event_handlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_picker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filter_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_helpers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_menu.cpp
)
