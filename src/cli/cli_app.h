#pragma once
// sonvera-cli as a function, so tests can run its commands in-process.

#include <iosfwd>

namespace sonvera::cli {

// Exit codes: 0 success, 1 after a message of the program, 2 usage error.
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace sonvera::cli
