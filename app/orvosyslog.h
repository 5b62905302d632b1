#pragma once

#include <memory>
#include <string>

#include "syslog/IdSysLog.h"
#include "syslog/IdSysLogMessage.h"

namespace orvo {

// The program's data module: it owns the syslog sender and the one message object, reads the
// command line into them and sends the message text or the lines of the message file.
class TOrvoSysLogger {
 public:
  // Makes the sender first (it brings up the process-wide socket stack), then the message
  // (which asks that stack for the local address), then runs DataModuleCreate.
  TOrvoSysLogger();
  ~TOrvoSysLogger();
  TOrvoSysLogger(const TOrvoSysLogger&) = delete;
  TOrvoSysLogger& operator=(const TOrvoSysLogger&) = delete;

  const std::unique_ptr<TIdSysLog> syslog;
  const std::unique_ptr<TIdSysLogMessage> SysLogMessage;

  void DataModuleCreate();
  void DataModuleDestroy();

  // The option scan: server, priority, tag, switches, message file and message words.
  void ParseCommandLine();
  // True when there is neither a message text nor a message file.
  bool NothingToSend() const noexcept;
  // Sends the message text, or else every non-blank line of the message file from the last to
  // the first, trimmed. echoText receives the datagram text of the last send of the call, or
  // stays as it was when nothing was sent.
  void SendMessages(std::string& echoText);

  bool ShowHelp() const noexcept { return FShowHelp; }
  bool AutoTimeStamp() const noexcept { return FAutoTimeStamp; }
  bool Echo() const noexcept { return FEcho; }
  const std::string& MessageText() const noexcept { return FMessageText; }
  void SetMessageText(std::string value) { FMessageText = std::move(value); }
  const std::string& FileName() const noexcept { return FFileName; }

 private:
  void SendOne(std::string_view content);

  bool FShowHelp = false;
  bool FAutoTimeStamp = false;
  bool FEcho = false;
  std::string FMessageText;
  std::string FFileName;
};

}  // namespace orvo
