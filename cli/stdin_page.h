#pragma once

// "-" among the pages: standard input read once into a private temporary file, which the page
// is loaded from as any other and which goes when the run ends.

#include <memory>
#include <string>
#include <vector>

#include "cli/page_inputs.h"

namespace velmora::cli {

class StandardInputPage {
public:
    // Reads standard input whole; throws FileError when it cannot be read or kept.
    StandardInputPage();
    ~StandardInputPage();
    StandardInputPage(const StandardInputPage&) = delete;
    StandardInputPage& operator=(const StandardInputPage&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Points the "-" inputs at standard input's page, read once, and names them "<stdin>"; null
// when no input is "-".
std::unique_ptr<StandardInputPage> TakeStandardInput(std::vector<PageInput>& inputs);

}  // namespace velmora::cli
