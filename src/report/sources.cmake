list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/report_data.cpp
)
list(APPEND LW_DRAW_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/report_writer.cpp
)
