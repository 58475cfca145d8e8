list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/language_table.cpp
    ${CMAKE_CURRENT_LIST_DIR}/extended_texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/language_encoding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/language_file.cpp
)
