#pragma once
// The exit codes of the executable, whether a command or the window ends it;
// a header of their own so the window module need not see the command line.

namespace qm {

enum ExitCode : int { kOk = 0, kStopped = 1, kUsage = 2, kFileSystem = 3 };

} // namespace qm
