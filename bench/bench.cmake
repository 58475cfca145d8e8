# Benchmarks: plain executables in <build>/bench, run by hand, not by CTest.

add_executable(bench_knx_dialog ${CMAKE_CURRENT_LIST_DIR}/bench_knx_dialog.cpp)
target_link_libraries(bench_knx_dialog PRIVATE loomwright_gui)
set_target_properties(bench_knx_dialog PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
