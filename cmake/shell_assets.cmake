# The shipped languages, placed beside the configurator.

set(LW_SHIPPED_LANGUAGES ${CMAKE_SOURCE_DIR}/languages)
set(LW_COPY_MISSING ${CMAKE_SOURCE_DIR}/cmake/copy_missing.cmake)

# <build>/bin/LANGUAGE receives every shipped file it lacks; files already there stay.
add_custom_target(loomwright_languages ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${LW_SHIPPED_LANGUAGES} -DDST=${CMAKE_BINARY_DIR}/bin/LANGUAGE -P ${LW_COPY_MISSING}
    COMMENT "Placing the shipped languages in bin/LANGUAGE"
    VERBATIM)
add_dependencies(Loomwright loomwright_languages)

# The test of the shipped languages reads them from the sources and runs the copy rule.
if(TARGET test_shell_shipped_languages)
    target_compile_definitions(test_shell_shipped_languages PRIVATE
        LW_SHIPPED_LANGUAGES="${LW_SHIPPED_LANGUAGES}"
        LW_COPY_MISSING="${LW_COPY_MISSING}"
        LW_CMAKE_COMMAND="${CMAKE_COMMAND}")
endif()
