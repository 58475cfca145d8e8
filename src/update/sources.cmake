list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/valid_ip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/job_file.cpp
)
