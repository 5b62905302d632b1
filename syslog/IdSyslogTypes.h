#pragma once

#include <cstdint>

namespace orvo {

// Facilities in declaration order. The ordinal is the code the priority carries, except that
// sfClockDaemonOne (ordinal 8) has code 9 and sfUUCP (ordinal 9) has code 8.
enum class TIdSyslogFacility : std::uint8_t {
  sfKernel,
  sfUserLevel,
  sfMailSystem,
  sfSystemDaemon,
  sfSecurityOne,
  sfSysLogInternal,
  sfLPR,
  sfNNTP,
  sfClockDaemonOne,
  sfUUCP,
  sfSecurityTwo,
  sfFTPDaemon,
  sfNTP,
  sfLogAudit,
  sfLogAlert,
  sfClockDaemonTwo,
  sfLocalUseZero,
  sfLocalUseOne,
  sfLocalUseTwo,
  sfLocalUseThree,
  sfLocalUseFour,
  sfLocalUseFive,
  sfLocalUseSix,
  sfLocalUseSeven,
};

// Severities; ordinal and code are equal.
enum class TIdSyslogSeverity : std::uint8_t {
  slEmergency,
  slAlert,
  slCritical,
  slError,
  slWarning,
  slNotice,
  slInformational,
  slDebug,
};

// Facility code × 8 + severity code, 0..191.
using TIdSyslogPRI = std::uint8_t;

constexpr int kFacilityCount = 24;
constexpr int kSeverityCount = 8;

namespace syslog {
// Exchanges 8 and 9 and leaves every other value alone; the exchange is its own inverse.
constexpr int SwapClockAndUucp(int value) noexcept {
  return value == 8 ? 9 : value == 9 ? 8 : value;
}
}  // namespace syslog

constexpr int FacilityToCode(TIdSyslogFacility facility) noexcept {
  return syslog::SwapClockAndUucp(static_cast<int>(facility));
}

// The code must lie in 0..23.
constexpr TIdSyslogFacility CodeToFacility(int code) noexcept {
  return static_cast<TIdSyslogFacility>(syslog::SwapClockAndUucp(code));
}

constexpr int SeverityToCode(TIdSyslogSeverity severity) noexcept {
  return static_cast<int>(severity);
}

// The code must lie in 0..7.
constexpr TIdSyslogSeverity CodeToSeverity(int code) noexcept {
  return static_cast<TIdSyslogSeverity>(code);
}

}  // namespace orvo
