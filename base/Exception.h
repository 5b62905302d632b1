#pragma once

#include <exception>
#include <string>

namespace orvo {

// The general exception type. Every failure of the system is one of these (or derived from it)
// and carries exactly the message text that the program prints on failure.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message);

  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// The general conversion error: a text that does not read as a number or a date.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace orvo
