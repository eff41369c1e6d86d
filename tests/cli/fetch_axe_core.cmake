# SPDX-License-Identifier: Apache-2.0
# Fetches axe-core's browser script once per build folder from its npm package (the tarball
# alone is fetched; nothing is installed or run). -DSCRIPT=<where axe.min.js goes>.
if(EXISTS "${SCRIPT}")
    return()
endif()
get_filename_component(folder "${SCRIPT}" DIRECTORY)
set(package "axe-core@4.14.1")
file(MAKE_DIRECTORY "${folder}/axe-download")
execute_process(
    COMMAND npm pack --silent --pack-destination "${folder}/axe-download" "${package}"
    OUTPUT_VARIABLE tarball OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "npm pack ${package} failed; the accessibility check needs it")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf "${tarball}" package/axe.min.js
    WORKING_DIRECTORY "${folder}/axe-download"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "axe.min.js is missing from ${package}")
endif()
file(RENAME "${folder}/axe-download/package/axe.min.js" "${SCRIPT}")
file(REMOVE_RECURSE "${folder}/axe-download")
