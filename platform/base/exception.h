#pragma once

#include <string>

namespace platform {

// A failure that ends the running message handler; the dialog reports it in a message box
// with a stop icon and goes on.
class CException {
 public:
  virtual ~CException() = default;
  virtual std::string GetErrorMessage() const = 0;
};

}  // namespace platform
