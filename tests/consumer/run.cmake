# SPDX-FileCopyrightText: The Pelidora authors
# SPDX-License-Identifier: MIT

# Installs the build tree into a scratch prefix, builds the project in this folder against
# it the way an outside project would, and runs the program. Any failing step fails the
# test and shows that step's output.
#
# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DCMAKE_COMMAND=... -P run.cmake

foreach(var SOURCE_DIR BUILD_DIR WORK_DIR CMAKE_COMMAND)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
        message(FATAL_ERROR "run.cmake needs -D${var}=...")
    endif()
endforeach()

function(run_step name)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "consumer: ${name} failed (${result}):\n${output}")
    endif()
    message(STATUS "consumer: ${name}: ok")
endfunction()

# Build the consumer the way the library was built: same generator, compiler, type, Qt.
file(STRINGS "${BUILD_DIR}/CMakeCache.txt" cache
     REGEX "^(CMAKE_GENERATOR|CMAKE_CXX_COMPILER|CMAKE_BUILD_TYPE|Qt6_DIR|PELIDORA_SANITIZE):")
foreach(line IN LISTS cache)
    if(line MATCHES "^([^:]+):[^=]*=(.*)$")
        set(main_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    endif()
endforeach()

# A prefix left from an earlier run could hide an install rule that went missing.
set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${WORK_DIR}")

run_step("install" "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")

# The package must not point back into the tree it was built in, or it breaks once moved.
file(GLOB_RECURSE package_files "${prefix}/*/cmake/Pelidora/*.cmake")
if(NOT package_files)
    message(FATAL_ERROR "consumer: no package files under ${prefix}/*/cmake/Pelidora")
endif()
foreach(file IN LISTS package_files)
    file(READ "${file}" text)
    foreach(tree "${SOURCE_DIR}" "${BUILD_DIR}")
        string(FIND "${text}" "${tree}" at)
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "consumer: ${file} refers to ${tree}")
        endif()
    endforeach()
endforeach()

set(configure "${CMAKE_COMMAND}" -S "${SOURCE_DIR}/tests/consumer" -B "${WORK_DIR}/build"
    "-DCMAKE_PREFIX_PATH=${prefix}")
if(main_CMAKE_GENERATOR)
    list(APPEND configure -G "${main_CMAKE_GENERATOR}")
endif()
foreach(var CMAKE_CXX_COMPILER CMAKE_BUILD_TYPE Qt6_DIR)
    if(main_${var})
        list(APPEND configure "-D${var}=${main_${var}}")
    endif()
endforeach()
if(main_PELIDORA_SANITIZE)
    list(APPEND configure "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
endif()
run_step("configure" ${configure})

file(STRINGS "${WORK_DIR}/build/CMakeCache.txt" found REGEX "^Pelidora_DIR:")
string(FIND "${found}" "${prefix}/" at)
if(NOT at GREATER -1)
    message(FATAL_ERROR "consumer: found the package elsewhere than ${prefix}: ${found}")
endif()

run_step("build" "${CMAKE_COMMAND}" --build "${WORK_DIR}/build")

# The Qt Designer plugin, when it was built, lies where Designer looks under the prefix and
# finds the library from there; the program loads it.
set(plugin "")
if(EXISTS "${BUILD_DIR}/plugins/designer")
    file(GLOB_RECURSE plugin "${prefix}/*/qt6/plugins/designer/*pelidora_designer*")
    if(NOT plugin)
        message(FATAL_ERROR "consumer: no Designer plugin under ${prefix}/LIBDIR/qt6/plugins/designer")
    endif()
endif()
run_step("run" "${WORK_DIR}/build/pelidora_consumer" ${plugin})
