list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/text_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/box_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
