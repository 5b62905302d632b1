#include "syslog/IdSysLog.h"

namespace orvo {

namespace {
constexpr std::int32_t kSyslogPort = 514;
}  // namespace

TIdSysLog::TIdSysLog() {
  SetPort(kSyslogPort);
}

void TIdSysLog::SendSyslogMessage(TIdSysLogMessage& message, bool stampNow) {
  // One clock reading both stamps the message and serves the year rule of the encoding.
  const TDateTime now = FClock.Now();
  if (stampNow)
    message.SetTimeStamp(now);
  message.EncodeTextInto(FDatagram, now);
  SendText(FDatagram);
}

}  // namespace orvo
