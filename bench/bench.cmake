# loomwright-bench: the benchmark of every user action at full size. Built with
# the rest into <build>/bin, beside loomwright-cli which it starts; not a test.
# scripts/bench builds it in release mode and runs it.
add_executable(loomwright-bench
    ${CMAKE_CURRENT_LIST_DIR}/bench_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_kit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_processes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_exchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bench_map.cpp
)
target_link_libraries(loomwright-bench PRIVATE loomwright_gui)
add_dependencies(loomwright-bench loomwright-cli)
