# Fields, pickers, the Set and Clear buttons and the version label's menu.
target_sources(kelvaro_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dialog_owner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/event_handlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_picker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filter_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_helpers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_text.cpp
)
target_link_libraries(kelvaro_ui PUBLIC comdlg32 shell32 ole32)
