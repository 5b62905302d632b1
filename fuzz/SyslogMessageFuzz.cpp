// Feeds arbitrary bytes to the syslog parser as a datagram, then drives the MSG part with
// arbitrary writes. After every step the priority must agree with facility and severity, and
// no exception other than the system's own may escape.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "base/Exception.h"
#include "syslog/IdSysLogMessage.h"

namespace {

using orvo::TIdSysLogMessage;

void Require(bool condition) {
  if (!condition)
    std::abort();
}

void RequirePriInvariant(const TIdSysLogMessage& message) {
  Require(message.Pri() ==
          orvo::FacilityToCode(message.Facility()) * 8 + orvo::SeverityToCode(message.Severity()));
  Require(message.Pri() <= 191);
}

TIdSysLogMessage& Message() {
  // Made once: construction reads the local address through the socket stack.
  static TIdSysLogMessage message;
  return message;
}

void LoadDatagram(TIdSysLogMessage& message, const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream stream(bytes);
  message.LoadFromDatagram(stream, static_cast<std::int64_t>(size), "192.0.2.1");
  RequirePriInvariant(message);
  Require(message.RawText() == bytes.substr(0, orvo::syslog::kMaxDatagramSize));

  const std::string encoded = message.EncodeText();
  Require(!encoded.empty() && encoded.size() <= orvo::syslog::kMaxDatagramSize);
  const int pri = message.Pri();
  message.ParseText(encoded);
  Require(message.Pri() == pri);
  RequirePriInvariant(message);
}

void WriteMsgPart(TIdSysLogMessage& message, FuzzedDataProvider& input) {
  orvo::TIdSysLogMsgPart& part = message.Msg();
  for (int step = 0; step < 16 && input.remaining_bytes() > 0; ++step) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
      case 0:
        part.SetText(input.ConsumeRandomLengthString(64));
        break;
      case 1:
        part.SetProcess(input.ConsumeRandomLengthString(64));
        Require(part.Process().size() <= 32);
        break;
      case 2: {
        const std::string content = input.ConsumeRandomLengthString(64);
        part.SetContent(content);
        if (part.PIDAvailable())
          Require(part.Content() == content);
        break;
      }
      case 3: {
        const std::int32_t pid = input.ConsumeIntegral<std::int32_t>();
        part.SetPID(pid);
        if (part.PIDAvailable())
          Require(part.PID() == pid);
        break;
      }
      case 4:
        part.SetPIDAvailable(input.ConsumeBool());
        break;
      case 5:
        message.SetPri(input.ConsumeIntegralInRange(-1, 255));
        break;
      default:
        (void)part.PID();
        (void)part.Content();
        break;
    }
    RequirePriInvariant(message);
    Require(message.EncodeText().size() <= orvo::syslog::kMaxDatagramSize);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TIdSysLogMessage& message = Message();
  try {
    LoadDatagram(message, data, size);
  } catch (const orvo::Exception&) {
    // The system's own failures are allowed; anything else escapes and is reported.
  }
  FuzzedDataProvider input(data, size);
  try {
    WriteMsgPart(message, input);
  } catch (const orvo::Exception&) {
  }
  return 0;
}
