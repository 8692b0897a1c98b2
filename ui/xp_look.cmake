target_sources(kelvaro_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/xp_look.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xp_paint.cpp
)
# GradientFill lives in msimg32.
target_link_libraries(kelvaro_ui PUBLIC msimg32 gdi32 user32)
