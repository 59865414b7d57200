#pragma once

#include <string>

namespace tabrel {

// The desktop clipboard. Text crosses as UTF-8 with "\n" line ends, as the
// editors and terminals it is pasted into expect.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void Clear() = 0;
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace tabrel
