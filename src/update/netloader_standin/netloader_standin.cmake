# Stand-in for the maker's network updater: built as NetLoader.exe into
# <build>/bin only (it has no install rule), so that the whole update road can
# be run on a machine without the maker's tools. It opens no network connection.
add_executable(netloader_standin
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/job_check.cpp
)
target_link_libraries(netloader_standin PRIVATE loomwright_core Qt6::Widgets)
set_target_properties(netloader_standin PROPERTIES OUTPUT_NAME NetLoader SUFFIX .exe)
