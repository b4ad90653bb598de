# Copies the files below `base` matching `pattern` into bin/<dest>, keeping
# their sub-folders, as the target `name` (built with everything). The program
# finds its skins and the sample shop beside its executable.
function(pictorra_copy_beside_executable name base pattern dest)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS RELATIVE "${base}" "${base}/${pattern}")
    set(outputs)
    foreach(relative IN LISTS sources)
        set(output "${CMAKE_BINARY_DIR}/bin/${dest}/${relative}")
        get_filename_component(folder "${output}" DIRECTORY)
        add_custom_command(OUTPUT "${output}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
            COMMAND ${CMAKE_COMMAND} -E copy_if_different "${base}/${relative}" "${output}"
            DEPENDS "${base}/${relative}"
            VERBATIM)
        list(APPEND outputs "${output}")
    endforeach()
    add_custom_target(${name} ALL DEPENDS ${outputs})
endfunction()
