#pragma once

// libgit2 for the whole process, started on first use and stopped at exit. Starting it reads the
// system's TLS certificates, which costs as much as analysing a page or two, so a run starts it
// once, and only when it asks Git something.

namespace velmora::cli {

// Safe to call from several threads and any number of times.
void StartGitLibrary();

}  // namespace velmora::cli
