# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

# Fails when a library source includes from a layer above its own. The layers, lowest first:
#   0 core      src/platform/core (plain C++), and the version and export headers
#   1 os        src/platform/os, <pelidora/platform.h>
#   2 form      src/platform/form, the form model's public headers
#   3 widgets   src/shared, src/control, src/panel, src/about, <pelidora/ucvPelidora.h>,
#               <pelidora/dateitemdelegate.h>
# host/, designer/ and python/ sit above them all and may include anything.
# Run as: cmake -DSOURCE_DIR=<top> -P LayerCheck.cmake
cmake_minimum_required(VERSION 3.25)

function(layer_of_path path out)
    if(path MATCHES "^(src/)?platform/core/"
       OR path MATCHES "^(include/)?pelidora/(global|version|pelidora_export)\\.h$")
        set(${out} 0 PARENT_SCOPE)
    elseif(path MATCHES "^(src/)?platform/os/" OR path MATCHES "^(include/)?pelidora/platform\\.h$")
        set(${out} 1 PARENT_SCOPE)
    elseif(path MATCHES "^(src/)?platform/form/"
           OR path MATCHES "^(include/)?pelidora/(runtimeerror|site|stdfont|propertybag|formfile)\\.h$")
        set(${out} 2 PARENT_SCOPE)
    elseif(path MATCHES "^(src/)?(shared|control|panel|about)/"
           OR path MATCHES "^(include/)?pelidora/(translations|ucvPelidora|dateitemdelegate)\\.h$")
        set(${out} 3 PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

set(names core os form widgets)
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp"
     "${SOURCE_DIR}/include/pelidora/*.h")
set(failures "")
foreach(file IN LISTS files)
    layer_of_path("${file}" own)
    if(own STREQUAL "")
        string(APPEND failures "  ${file}: in no layer (add its folder to cmake/LayerCheck.cmake)\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" target "${line}")
        layer_of_path("${target}" theirs)
        if(NOT theirs STREQUAL "" AND theirs GREATER own)
            list(GET names ${own} own_name)
            list(GET names ${theirs} their_name)
            string(APPEND failures "  ${file} (${own_name}) includes ${target} (${their_name})\n")
        endif()
    endforeach()
endforeach()
if(failures)
    message(FATAL_ERROR "A layer includes from a layer above it:\n${failures}")
endif()
