#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "base/DateTime.h"
#include "net/IdComponent.h"
#include "net/IdException.h"
#include "syslog/IdSysLogMsgPart.h"
#include "syslog/IdSyslogTypes.h"

namespace orvo {

// A bad PRI value, a host name with a space, or a time stamp text that does not read.
class EInvalidSyslogMessage : public EIdException {
 public:
  using EIdException::EIdException;
};

// A datagram stream that holds fewer bytes than asked for.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

// One syslog message in the BSD layout: "<PRI>Mmm dd hh:mm:ss HOSTNAME MSG". It encodes itself
// into the datagram text and decodes a received one.
//
// Invariant: Pri() == FacilityToCode(Facility()) * 8 + SeverityToCode(Severity()).
class TIdSysLogMessage : public TIdBaseComponent {
 public:
  // Pri 13, the local host's first IPv4 address as host name, a zero time stamp and an empty
  // MSG part; raises the stack's error when the local host name does not resolve.
  TIdSysLogMessage();
  ~TIdSysLogMessage() override;

  TIdSysLogMsgPart& Msg() noexcept { return *FMsg; }
  const TIdSysLogMsgPart& Msg() const noexcept { return *FMsg; }
  // Copies the part's Text into the owned part; the owned part stays the same object.
  void SetMsg(const TIdSysLogMsgPart& part);

  TIdSyslogFacility Facility() const noexcept { return FFacility; }
  void SetFacility(TIdSyslogFacility value);

  TIdSyslogSeverity Severity() const noexcept { return FSeverity; }
  void SetSeverity(TIdSyslogSeverity value);

  // Any text without a space (code 32); one with a space raises EInvalidSyslogMessage.
  const std::string& Hostname() const noexcept { return FHostname; }
  void SetHostname(std::string value);

  // The MSG text taken by the last parse.
  const std::string& MsgText() const noexcept { return FMsgText; }

  // Zero until set; a zero or other-year stamp is replaced by now when encoding.
  TDateTime TimeStamp() const noexcept { return FTimeStamp; }
  void SetTimeStamp(TDateTime value) noexcept { FTimeStamp = value; }

  // The text handed to the last parse.
  const std::string& RawText() const noexcept { return FRawText; }

  // The sender address handed in with the last datagram read.
  const std::string& PeerAddress() const noexcept { return FPeerAddress; }

  // Writing a value outside 0..191 raises EInvalidSyslogMessage and changes nothing; writing the
  // current value does nothing.
  TIdSyslogPRI Pri() const noexcept { return FPri; }
  void SetPri(std::int32_t value);

  // Takes Pri, Hostname, Msg.Text and TimeStamp of the source. A source host name with a space
  // raises EInvalidSyslogMessage before anything changes.
  virtual void Assign(const TIdSysLogMessage& source);

  // Replaces every byte of 128 and above by "?".
  virtual void MaskNonAscii(std::string& text) const;

  // The parse steps. A position is a 0-based index into RawText that each step moves past what
  // it took. ParsePri and ParseHeader never fail: a section that does not read leaves the
  // defaults (PRI 13; time stamp now and host name PeerAddress) and the position where it was.
  virtual void ParsePri(std::size_t& position);
  virtual void ParseHeader(std::size_t& position);
  virtual void ParseMsg(std::size_t& position);
  virtual void ParseRawText();

  virtual void UpdatePri();

  // "Mmm dd hh:mm:ss " (separators not examined) in the current local year. Raises
  // EInvalidSyslogMessage for a text that does not read, EConvertError for a day the month lacks.
  virtual TDateTime ParseTimeStamp(std::string_view text) const;

  // "<PRI>" + BuildHeader() + " " + Msg.Text, cut to its first 1024 bytes. Raises nothing.
  virtual std::string EncodeText();

  // EncodeText into `text`, whose storage a caller keeps from message to message; `now` is the
  // clock reading the year rule compares the stamp with.
  void EncodeTextInto(std::string& text, TDateTime now);

  // Reads and parses min(size, 1024) bytes sent by `peer`; raises EReadError, with only
  // PeerAddress changed, when the stream holds fewer.
  virtual void LoadFromDatagram(std::istream& source, std::int64_t size, std::string peer);

  void ParseText(std::string text);

  // "Mmm dd hh:mm:ss HOSTNAME"; first replaces a time stamp of another year than today's by now.
  std::string BuildHeader();

 private:
  void RenewTimeStampOfAnotherYear(TDateTime now) noexcept;

  std::unique_ptr<TIdSysLogMsgPart> FMsg;
  TIdSyslogFacility FFacility = TIdSyslogFacility::sfUserLevel;
  TIdSyslogSeverity FSeverity = TIdSyslogSeverity::slNotice;
  std::string FHostname;
  std::string FMsgText;
  TDateTime FTimeStamp;
  std::string FRawText;
  std::string FPeerAddress;
  TIdSyslogPRI FPri = 13;
};

namespace syslog {

// The datagram text's upper bound, in bytes, both ways.
constexpr std::size_t kMaxDatagramSize = 1024;

// 1..12 for "JAN".."DEC" in any letter case (the whole text must match), else 0.
int MonthFromName(std::string_view text) noexcept;

}  // namespace syslog

}  // namespace orvo
