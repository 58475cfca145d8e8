# Copies the language files and flag pictures of SRC into DST, each only when
# DST does not hold a file of that name yet: a user's own files are kept.
file(MAKE_DIRECTORY "${DST}")
file(GLOB shipped LIST_DIRECTORIES false "${SRC}/*.lng" "${SRC}/*.bmp")
foreach(path ${shipped})
    get_filename_component(name "${path}" NAME)
    if(NOT EXISTS "${DST}/${name}" AND NOT IS_SYMLINK "${DST}/${name}")
        file(COPY "${path}" DESTINATION "${DST}")
    endif()
endforeach()
