#pragma once

namespace velmora::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitBelowFailUnder = 1;
// fix: some fix needs a setting that was not given.
inline constexpr int kExitFixesLeft = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFileError = 3;
// Memory ran out: the work was not done, as when a file fails, but it is no file's fault.
inline constexpr int kExitOutOfMemory = 3;

}  // namespace velmora::cli
