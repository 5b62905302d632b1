#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// The MSG part of a syslog message: one stored text of the form tag, optional "[pid]", ":",
// content. Process, PID and Content have no storage of their own: every read parses Text and
// every write rebuilds it as tag + FormatPidPart(pid) + content.
class TIdSysLogMsgPart {
 public:
  TIdSysLogMsgPart() = default;
  TIdSysLogMsgPart(const TIdSysLogMsgPart&) = default;
  TIdSysLogMsgPart& operator=(const TIdSysLogMsgPart&) = default;
  virtual ~TIdSysLogMsgPart() = default;

  // Whether the writes put "[pid]" before the colon.
  bool PIDAvailable() const noexcept { return FPIDAvailable; }
  void SetPIDAvailable(bool value);

  // The whole MSG part, byte for byte what is sent.
  const std::string& Text() const noexcept { return FText; }
  void SetText(std::string value) noexcept { FText = std::move(value); }

  // The tag: what stands before the first "[" of the part before the first colon. A written
  // tag is cut to fit 32 characters together with the PID part, then to its leading run of
  // ASCII letters and digits.
  std::string Process() const;
  void SetProcess(std::string_view value);

  // The number in brackets before the first colon, or -1 when there is none. A bracketed text
  // that is no integer raises EConvertError, on reads and on the writes that read it.
  std::int32_t PID() const;
  void SetPID(std::int32_t value);

  // Everything after the first colon, or the whole text when no colon stands past the first
  // character.
  std::string Content() const;
  void SetContent(std::string_view value);

  // Copies Text only; PIDAvailable stays as it was.
  virtual void Assign(const TIdSysLogMsgPart& source);

  // "[pid]:" when PIDAvailable, else ":".
  virtual std::string FormatPidPart(std::int32_t pid) const;

 private:
  void Rebuild(std::string_view tag, std::string_view pidPart, std::string_view content);
  // Rebuild with the text's own tag.
  void RebuildWithPid(std::int32_t pid, std::string_view content);

  bool FPIDAvailable = false;
  std::string FText;
};

namespace syslog {

// The longest leading run of ASCII digits and letters.
std::string_view KeepLeadingAlnum(std::string_view text) noexcept;

}  // namespace syslog

}  // namespace orvo
