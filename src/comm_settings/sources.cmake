list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/pargen_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comm_check.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/pargen_dialog.cpp
)
