list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/image_compile_stub.cpp
)
