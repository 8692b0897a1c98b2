target_sources(kelvaro_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/xp_look.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xp_controls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xp_paint.cpp
)
# _TrackMouseEvent lives in the common controls, GradientFill in msimg32.
target_link_libraries(kelvaro_ui PUBLIC comctl32 msimg32 gdi32 user32)
