# Writes a C++ source that defines one std::string_view holding a text file, so the site
# report's style sheet and script stay readable files. Run as
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -DHEADER=cli/x.h -P embed_text.cmake
file(READ "${INPUT}" text)
set(delimiter "velmora_text")
string(FIND "${text}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${INPUT} holds the raw string's end marker")
endif()
file(WRITE "${OUTPUT}.new"
    "// Generated from ${INPUT} by embed_text.cmake.\n"
    "#include \"${HEADER}\"\n\n"
    "namespace velmora::cli {\n\n"
    "const std::string_view ${NAME} = R\"${delimiter}(${text})${delimiter}\";\n\n"
    "}  // namespace velmora::cli\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
