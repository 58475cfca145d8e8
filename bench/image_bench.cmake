# Benchmark of the device image compile and save of a 512-row project. Built
# with the rest but not a test: run build/bin/bench_image_compile by hand.
add_executable(bench_image_compile ${CMAKE_CURRENT_LIST_DIR}/bench_image_compile.cpp)
target_link_libraries(bench_image_compile PRIVATE loomwright_core)
