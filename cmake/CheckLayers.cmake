# The core's folders form layers, from the ground up. A file may include headers of its own
# folder and of the folders below it; an include that runs upward stops the configure step.
# Usable from a CMakeLists (quorvane_check_layers) and in script mode:
#   cmake -DCORE_DIR=<dir with the layer folders> -P cmake/CheckLayers.cmake
set(QUORVANE_CORE_LAYERS platform infra protocol model session config remote rights transfer
    records textcmd idcard)

function(quorvane_check_layers core_dir)
    set(problems "")
    list(LENGTH QUORVANE_CORE_LAYERS count)
    foreach(layer IN LISTS QUORVANE_CORE_LAYERS)
        list(FIND QUORVANE_CORE_LAYERS ${layer} own)
        file(GLOB files ${core_dir}/${layer}/*.h ${core_dir}/${layer}/*.cpp)
        foreach(file IN LISTS files)
            file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
            foreach(line IN LISTS includes)
                string(REGEX REPLACE "^[^\"]*\"([a-z_]+)/.*$" "\\1" folder "${line}")
                list(FIND QUORVANE_CORE_LAYERS ${folder} theirs)
                if(theirs GREATER own)
                    file(RELATIVE_PATH shown ${core_dir} ${file})
                    string(APPEND problems "  ${shown} includes ${folder}/, a layer above ${layer}\n")
                endif()
            endforeach()
        endforeach()
    endforeach()
    if(problems)
        message(FATAL_ERROR "upward include in the core (order: ${QUORVANE_CORE_LAYERS}):\n${problems}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND CORE_DIR)
    quorvane_check_layers(${CORE_DIR})
endif()
