#pragma once

#include <string>

#include "net/IdUDPClient.h"
#include "platform/Clock.h"
#include "syslog/IdSysLogMessage.h"

namespace orvo {

// The syslog sender: a UDP client preset to the syslog port 514 that sends one message as one
// datagram.
class TIdSysLog : public TIdUDPClient {
 public:
  TIdSysLog();

  // Stamps the message now when stampNow is set, encodes it and sends the text to Host:Port;
  // send failures reach the caller, with the new stamp kept.
  void SendSyslogMessage(TIdSysLogMessage& message, bool stampNow);

  // The datagram text of the last SendSyslogMessage, exactly as it was handed to the socket.
  const std::string& LastDatagram() const noexcept { return FDatagram; }

 private:
  // Its storage serves every later send, so a stream of messages encodes without allocating.
  std::string FDatagram;
  // Read once for every send.
  platform::TLocalClock FClock;
};

}  // namespace orvo
