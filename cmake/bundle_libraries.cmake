# Install-time step of the portable program folder (LW_BUNDLE_FOLDER): copies
# the libraries that a standard Debian 12 desktop lacks - Qt 6, pugixml, and the
# helpers and X11 extensions only Qt uses - into lib/, the X11 and offscreen
# platform plugins into plugins/, and points the programs and plugins at them
# through $ORIGIN. Libraries every desktop has (C and C++ runtime, X11, xcb,
# OpenGL, fontconfig, freetype, glib, ICU, D-Bus) stay the system's.

set(bundle_regex "/lib(Qt6[^/]*|pugixml|double-conversion|b2|md4c|pcre2-16|xcb-(icccm|image|keysyms|render-util|util|xkb|xinerama|cursor)|xkbcommon-x11)\\.so[^/]*$")
set(folder "${LW_BUNDLE_FOLDER}")
set(programs "${folder}/loomwright" "${folder}/loomwright-cli")
file(RENAME "${folder}/Loomwright" "${folder}/loomwright")

set(plugins)
foreach(plugin platforms/libqxcb.so platforms/libqoffscreen.so xcbglintegrations/libqxcb-glx-integration.so)
    if(EXISTS "${LW_BUNDLE_QT_PLUGIN_DIR}/${plugin}")
        get_filename_component(sub "${plugin}" DIRECTORY)
        file(COPY "${LW_BUNDLE_QT_PLUGIN_DIR}/${plugin}" DESTINATION "${folder}/plugins/${sub}")
        list(APPEND plugins "${folder}/plugins/${plugin}")
    endif()
endforeach()

file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${programs}
    MODULES ${plugins}
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    POST_INCLUDE_REGEXES "${bundle_regex}"
    POST_EXCLUDE_REGEXES ".*")
if(unresolved)
    message(FATAL_ERROR "Libraries not found for the portable folder: ${unresolved}")
endif()

find_program(PATCHELF patchelf REQUIRED)
file(MAKE_DIRECTORY "${folder}/lib")
foreach(library ${resolved})
    get_filename_component(name "${library}" NAME)
    # The file under the name the programs ask for; a link is followed.
    file(COPY_FILE "${library}" "${folder}/lib/${name}")
    file(CHMOD "${folder}/lib/${name}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND "${PATCHELF}" --set-rpath "$ORIGIN" "${folder}/lib/${name}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(program ${programs})
    execute_process(COMMAND "${PATCHELF}" --set-rpath "$ORIGIN/lib" "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(plugin ${plugins})
    execute_process(COMMAND "${PATCHELF}" --set-rpath "$ORIGIN/../../lib" "${plugin}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
list(LENGTH resolved count)
message(STATUS "Portable folder: ${count} libraries bundled")
