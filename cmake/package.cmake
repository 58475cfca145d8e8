# Installation and packages (scripts/package):
#   component "system"   - the Debian package: /usr/bin, /usr/share/loomwright/LANGUAGE,
#                          desktop entry, icon, AppStream metainfo, manual pages, copyright
#   component "portable" - the program folder of the portable .tar.gz, ready to run in place,
#                          with the Qt 6 and pugixml libraries it needs
# The stand-in updater NetLoader.exe belongs to neither.

# cpack builds only what it installs (scripts/package builds those targets first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(LW_APP_ID org.loomwright.Loomwright)
set(LW_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(LW_DEB_VERSION ${PROJECT_VERSION}-1)
set(LW_GENERATED ${CMAKE_BINARY_DIR}/packaging)

file(GLOB LW_LANGUAGE_FILES ${CMAKE_SOURCE_DIR}/languages/*.lng ${CMAKE_SOURCE_DIR}/languages/*.bmp)
configure_file(${LW_PACKAGING}/${LW_APP_ID}.metainfo.xml.in ${LW_GENERATED}/${LW_APP_ID}.metainfo.xml @ONLY)
configure_file(${LW_PACKAGING}/README.portable ${LW_GENERATED}/README @ONLY)
foreach(page loomwright loomwright-cli)
    configure_file(${LW_PACKAGING}/${page}.1 ${LW_GENERATED}/${page}.1 @ONLY)
endforeach()
configure_file(${LW_PACKAGING}/changelog.Debian ${LW_GENERATED}/changelog.Debian @ONLY)

# Debian wants the manual pages and the changelog compressed with gzip -9n
# (no name, no time stamp: the same bytes on every build).
install(CODE "
    foreach(page loomwright.1 loomwright-cli.1 changelog.Debian)
        execute_process(COMMAND gzip -9nkf \"${LW_GENERATED}/\${page}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
" COMPONENT system)

# Bind every symbol at start-up and make the relocations read-only afterwards
# (the hardening Debian's own packages get from dpkg-buildflags).
foreach(program Loomwright loomwright-cli)
    target_link_options(${program} PRIVATE -Wl,-z,relro -Wl,-z,now)
endforeach()

# --- The Debian package --------------------------------------------------------
install(TARGETS Loomwright loomwright-cli RUNTIME DESTINATION bin COMPONENT system)
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(RENAME \"\${bin}/Loomwright\" \"\${bin}/loomwright\")
    # A stripped install also drops the compiler's notes, as Debian's own packages do.
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program loomwright loomwright-cli)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                                    \"\${bin}/\${program}\" COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
" COMPONENT system)
install(FILES ${LW_LANGUAGE_FILES} DESTINATION share/loomwright/LANGUAGE COMPONENT system)
install(FILES ${LW_PACKAGING}/${LW_APP_ID}.desktop DESTINATION share/applications COMPONENT system)
install(FILES ${LW_PACKAGING}/${LW_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT system)
install(FILES ${LW_GENERATED}/${LW_APP_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT system)
install(FILES ${LW_GENERATED}/loomwright.1.gz ${LW_GENERATED}/loomwright-cli.1.gz
        DESTINATION share/man/man1 COMPONENT system)
install(FILES ${LW_PACKAGING}/copyright ${LW_GENERATED}/changelog.Debian.gz
        DESTINATION share/doc/loomwright COMPONENT system)

# --- The portable program folder ----------------------------------------------
install(TARGETS Loomwright loomwright-cli RUNTIME DESTINATION . COMPONENT portable)
install(FILES ${LW_LANGUAGE_FILES} DESTINATION LANGUAGE COMPONENT portable)
install(DIRECTORY DESTINATION MASTER COMPONENT portable)
install(DIRECTORY DESTINATION PROJECTS COMPONENT portable)
install(FILES ${LW_GENERATED}/README ${LW_PACKAGING}/qt.conf DESTINATION . COMPONENT portable)
# Qt 6 and pugixml are not part of a standard Debian 12 desktop: their
# libraries, with the X11 platform plugin and the few helpers only Qt uses,
# go into lib/ and plugins/; the programs find them through $ORIGIN.
get_target_property(LW_QT_CORE_LOCATION Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT LW_QT_CORE_LOCATION)
    get_target_property(LW_QT_CORE_LOCATION Qt6::Core LOCATION)
endif()
get_filename_component(LW_QT_LIB_DIR ${LW_QT_CORE_LOCATION} DIRECTORY)
set(LW_QT_PLUGIN_DIR ${LW_QT_LIB_DIR}/qt6/plugins)
install(CODE "
    set(LW_BUNDLE_QT_PLUGIN_DIR \"${LW_QT_PLUGIN_DIR}\")
    set(LW_BUNDLE_FOLDER \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/bundle_libraries.cmake\")
" COMPONENT portable)

# --- CPack ----------------------------------------------------------------------
set(CPACK_PACKAGE_NAME loomwright)
set(CPACK_PACKAGE_VENDOR "The Loomwright developers")
set(CPACK_PACKAGE_CONTACT "The Loomwright developers <maintainers@loomwright.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of the KG4315 SNMP / KNX protocol converter")
set(CPACK_PACKAGE_DESCRIPTION
"Loomwright configures the KG4315 protocol converter, which joins a KNX
installation to an Ethernet network: its communication settings and its
table of up to 512 KNX active commands. It compiles a configuration into
the converter's device image and runs the maker's network updater after a
ping test. The package holds the configurator, the command-line tool
loomwright-cli and the interface languages English, Italian, German,
French and Spanish.")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_LW_PORTABLE_FILE_NAME Loomwright-${PROJECT_VERSION}-portable-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://loomwright.example/")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The data folder is chosen per generator: see package_generators.cmake.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/package_generators.cmake)
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
include(CPack)

# Builds both packages and runs the unpacked copies (needs dpkg-dev,
# desktop-file-utils, appstream and patchelf: scripts/setup-deps). A sanitized
# build is not packaged.
if(NOT LOOMWRIGHT_SANITIZE)
    add_test(NAME package_install
             COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_package.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
    set_tests_properties(package_install PROPERTIES TIMEOUT 600)
endif()
