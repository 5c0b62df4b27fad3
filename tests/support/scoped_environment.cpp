#include "support/scoped_environment.h"

#include <cstdlib>
#include <ctime>

#include "platform/platform.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace sonvera::test {
namespace {

void put(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // The C library's copy (getenv, TZ) and the system's (GetEnvironmentVariable).
  ::_putenv_s(name.c_str(), value ? value->c_str() : "");
  ::SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
  ::_tzset();
#else
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
  ::tzset();
#endif
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)), old_(platform::environmentVariable(name_.c_str())) {
  put(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() { put(name_, old_); }

}  // namespace sonvera::test
