#include "app/orvosyslog.h"

#include <optional>

#include "app/CommandLine.h"
#include "app/MessageFile.h"
#include "app/Options.h"
#include "base/Text.h"
#include "platform/Process.h"

namespace orvo {

TOrvoSysLogger::TOrvoSysLogger()
    : syslog(std::make_unique<TIdSysLog>()), SysLogMessage(std::make_unique<TIdSysLogMessage>()) {
  DataModuleCreate();
}

TOrvoSysLogger::~TOrvoSysLogger() {
  DataModuleDestroy();
}

void TOrvoSysLogger::DataModuleCreate() {
  FShowHelp = false;
  FAutoTimeStamp = true;
  FMessageText.clear();
  FFileName.clear();
  FEcho = false;
  SysLogMessage->Msg().SetPIDAvailable(false);
}

void TOrvoSysLogger::DataModuleDestroy() {}

void TOrvoSysLogger::ParseCommandLine() {
  const options::TScanResult scan = options::ScanParameters(cmdline::ProgramParameters());
  // The MSG part builds its text from the process-id switch first, so it goes in before the
  // scan's other results.
  if (scan.PIDAvailable)
    SysLogMessage->Msg().SetPIDAvailable(true);
  FShowHelp = FShowHelp || scan.ShowHelp;
  FEcho = FEcho || scan.Echo;
  FFileName = scan.FileName;
  FMessageText = scan.MessageText;

  syslog->SetHost(scan.Host);
  syslog->SetPort(scan.Port);
  SysLogMessage->SetFacility(scan.Facility);
  SysLogMessage->SetSeverity(scan.Severity);
  SysLogMessage->Msg().SetPID(platform::CurrentProcessId());
  if (!scan.Tag.empty())
    SysLogMessage->Msg().SetProcess(scan.Tag);
}

bool TOrvoSysLogger::NothingToSend() const noexcept {
  return FMessageText.empty() && FFileName.empty();
}

void TOrvoSysLogger::SendOne(std::string_view content) {
  // No datagram takes more of a line than this, however long the line.
  SysLogMessage->Msg().SetContent(content.substr(0, syslog::kMaxDatagramSize));
  syslog->SendSyslogMessage(*SysLogMessage, FAutoTimeStamp);
}

void TOrvoSysLogger::SendMessages(std::string& echoText) {
  if (!FMessageText.empty()) {
    SendOne(FMessageText);
    echoText = syslog->LastDatagram();
    return;
  }
  const TMessageFile file(FFileName);
  std::string_view rest = file.Text();
  bool sent = false;
  while (const std::optional<std::string_view> line = text::TakeLastLine(rest)) {
    const std::string_view content = text::TrimView(*line);
    if (!content.empty()) {
      SendOne(content);
      sent = true;
    }
  }
  if (sent)
    echoText = syslog->LastDatagram();
}

}  // namespace orvo
