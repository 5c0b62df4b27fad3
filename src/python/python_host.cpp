#include "python_host.h"

namespace sonvera::python {

bool PythonHost::askYesNo(const std::string& text) {
  // A question answered No ends the command: it is what the call raises.
  if (!yes) messages.push_back({text, "answered No (yes=True answers Yes)", {}});
  return yes;
}

Refusal PythonHost::refusal(const std::string& path, const char* whatFailed) const {
  Refusal r = messages.empty() ? Refusal{whatFailed, {}, {}} : messages.front();
  r.path = path;
  return r;
}

}  // namespace sonvera::python
