list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/knx_address.cpp
)
