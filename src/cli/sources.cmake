# The command-line tool: its commands form an object library so that tests run them in-process.
add_library(loomwright_cli_commands OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/cli.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cli_io.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmd_lang.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmd_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmd_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmd_update.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmd_map.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmd_report.cpp
)
target_link_libraries(loomwright_cli_commands PUBLIC loomwright_draw)

add_executable(loomwright-cli ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(loomwright-cli PRIVATE loomwright_cli_commands loomwright_draw)
