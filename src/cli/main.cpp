#include <iostream>
#include <string>
#include <vector>

#include "cli_app.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  const sonvera::platform::Utf8Console console;
  const std::vector<std::string> arguments = sonvera::platform::commandLineArguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& a : arguments) pointers.push_back(a.c_str());
  return sonvera::cli::runCli(static_cast<int>(pointers.size()), pointers.data(), std::cout, std::cerr);
}
