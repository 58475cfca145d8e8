list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/version_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/language_pages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/update_timer.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/options_seams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/soft_options_dialog.cpp
)
