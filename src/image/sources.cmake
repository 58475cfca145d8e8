list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/image_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_codes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_compile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_inspect.cpp
)
