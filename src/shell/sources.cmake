list(APPEND LW_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/projects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/web_links.cpp
)
list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/shell_seams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/new_project_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_conf_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
