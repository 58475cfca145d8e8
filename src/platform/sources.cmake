list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ipv4_address.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tick_count.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_runner.cpp
)
# Per-system implementations of the small interfaces above (child process,
# named event, ICMP echo). A Windows build adds its *_windows.cpp files here.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    list(APPEND LW_CORE_SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/child_process_linux.cpp
        ${CMAKE_CURRENT_LIST_DIR}/named_event_linux.cpp
        ${CMAKE_CURRENT_LIST_DIR}/echo_client_linux.cpp
    )
endif()
