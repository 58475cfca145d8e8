list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/valid_ip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/job_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ping_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/update_seams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/updater_outcome.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/boot_tcp_dialog.cpp
)
