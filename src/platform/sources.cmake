# The system layer in os/ is plain C++ without Qt: it is built as a library of
# its own (so nothing in it can reach for Qt) and cross-built for Windows by
# tests/windows. The Qt adapters the program calls sit beside it.
set(LW_OS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/os/ipv4.cpp
    ${CMAKE_CURRENT_LIST_DIR}/os/run_program.cpp
)
if(WIN32)
    list(APPEND LW_OS_SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/os/file_windows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/tick_windows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/child_windows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/event_windows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/echo_windows.cpp
    )
    set(LW_OS_LIBRARIES shell32 iphlpapi ws2_32)
else()
    list(APPEND LW_OS_SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/os/file_posix.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/tick_posix.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/child_linux.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/event_linux.cpp
        ${CMAKE_CURRENT_LIST_DIR}/os/echo_linux.cpp
    )
    set(LW_OS_LIBRARIES)
endif()

list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/native_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ipv4_address.cpp
    ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
    ${CMAKE_CURRENT_LIST_DIR}/named_event.cpp
    ${CMAKE_CURRENT_LIST_DIR}/echo_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_runner.cpp
)
