#include "net/IdUDPClient.h"

namespace orvo {

void TIdUDPClient::SendText(std::string_view text) {
  TIdUDPBase::SendText(Host(), Port(), text);
}

}  // namespace orvo
