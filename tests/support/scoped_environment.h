#pragma once
// Sets (or removes) an environment variable for one scope and puts the old
// value back; the C library's time zone follows TZ.

#include <optional>
#include <string>

namespace sonvera::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace sonvera::test
