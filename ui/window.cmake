target_sources(kelvaro_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/program.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_form.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/centred_edit.cpp
)
target_link_libraries(kelvaro_ui PUBLIC ole32 gdi32 user32)
