list(APPEND LW_GUI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/box_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/look.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flat_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/small_widgets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_pictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_registry.cpp
)
