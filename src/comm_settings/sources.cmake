list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/pargen_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comm_check.cpp
)
