#include "base/Exception.h"

#include <utility>

namespace orvo {

Exception::Exception(std::string message) : FMessage(std::move(message)) {}

}  // namespace orvo
