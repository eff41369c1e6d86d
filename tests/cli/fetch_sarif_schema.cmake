# Fetches the SARIF 2.1.0 JSON schema once per build folder: it ships in a small npm package
# (the tarball alone is fetched, nothing is installed or run). -DSCHEMA=<where it goes>.
if(EXISTS "${SCHEMA}")
    return()
endif()
get_filename_component(folder "${SCHEMA}" DIRECTORY)
set(package "@microsoft/jest-sarif@1.0.0-beta.0")
file(MAKE_DIRECTORY "${folder}/package-download")
execute_process(
    COMMAND npm pack --silent --pack-destination "${folder}/package-download" "${package}"
    OUTPUT_VARIABLE tarball OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "npm pack ${package} failed; the SARIF schema comes from it")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf "${tarball}" package/lib/schemas/sarif-2.1.0-rtm.5.json
    WORKING_DIRECTORY "${folder}/package-download"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "the SARIF schema is missing from ${package}")
endif()
file(RENAME "${folder}/package-download/package/lib/schemas/sarif-2.1.0-rtm.5.json" "${SCHEMA}")
file(REMOVE_RECURSE "${folder}/package-download")
