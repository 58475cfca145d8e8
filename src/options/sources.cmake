list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/version_check.cpp
)
