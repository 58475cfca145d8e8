list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/knx_address.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_access_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_marking.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_table_edit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/row_operations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/csv_table.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ga_export_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ga_import.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_map.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/knx_table_model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_cell_delegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_grid_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_find_bar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_undo_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_access_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ga_preview_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/knx_exchange_tools.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_map_window.cpp
)
list(APPEND LW_DRAW_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/memory_map_picture.cpp
)
