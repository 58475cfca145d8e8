list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/text_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_state.cpp
)
