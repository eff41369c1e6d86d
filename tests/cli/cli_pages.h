#pragma once

// The pages the velmora-cli tests review, and the JSON Lines reader for analyze's output.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"

namespace velmora::test {

using Json = nlohmann::ordered_json;

inline std::vector<Json> JsonLines(const std::string& text) {
    std::vector<Json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(Json::parse(line));
    }
    return lines;
}

// A page whose analysis touches every field: CR LF line breaks as a loaded page has them.
inline std::string HostingPage(
    const std::string& keywords = "domain, web hosting, Domain, web shop") {
    return "<html>\r\n<head>\r\n<title>Cheap web hosting</title>\r\n"
           "<meta name=\"description\" content=\"Web hosting\r\nwith a domain\">\r\n"
           "<meta name=\"keywords\" content=\"" +
           keywords +
           "\">\r\n</head>\r\n<body>\r\n<p>Web hosting   and domain, web hosting plans.</p>\r\n"
           "<p>domain names, web hosting for you; cheap web hosting, a domain.</p>\r\n"
           "</body>\r\n</html>\r\n";
}

inline std::string CompletePage(const std::string& title, const std::string& keywords) {
    return "<html><head><title>" + title +
           "</title><meta name=\"description\" content=\"d\"><meta name=\"keywords\" content=\"" +
           keywords + "\"></head><body>alpha alpha beta beta gamma gamma</body></html>\r\n";
}

// One of the sample pages shipped in examples/.
inline std::string Example(const std::string& name) {
    return ReadBytes(std::filesystem::path(VELMORA_EXAMPLES) / name);
}

}  // namespace velmora::test
