#include "syslog/IdSysLog.h"

#include "platform/Clock.h"

namespace orvo {

namespace {
constexpr std::int32_t kSyslogPort = 514;
}  // namespace

TIdSysLog::TIdSysLog() {
  SetPort(kSyslogPort);
}

void TIdSysLog::SendSyslogMessage(TIdSysLogMessage& message, bool stampNow) {
  if (stampNow)
    message.SetTimeStamp(platform::GetLocalTime());
  SendText(message.EncodeText());
}

}  // namespace orvo
