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

  // Stamps the message with the local time when stampNow is set, encodes it (at most 1024
  // bytes) and sends the text to Host:Port. Send failures reach the caller; the message keeps
  // its new time stamp.
  void SendSyslogMessage(TIdSysLogMessage& message, bool stampNow);

  // The datagram text of the last SendSyslogMessage, exactly as it was handed to the socket.
  const std::string& LastDatagram() const noexcept { return FDatagram; }

 private:
  // The datagram text of the last send; its storage serves every later one, so a stream of
  // messages encodes without allocating.
  std::string FDatagram;
  // Read once for every send.
  platform::TLocalClock FClock;
};

}  // namespace orvo
