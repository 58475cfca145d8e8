list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/text_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/projects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/web_links.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/box_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_seams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/look.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flat_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/small_widgets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_pictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_registry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/new_project_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_conf_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
