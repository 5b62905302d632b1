#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "syslog/IdSyslogTypes.h"

// The option scan and its helpers: server address, priority names and field splitting.
namespace orvo::options {

// Entries of one name or of two names joined by a colon; an entry's position is the ordinal of
// the facility or severity it selects. Both tables spell "alart".
inline constexpr std::array<std::string_view, 24> kFacilityNames = {
    "kern",   "user",   "mail",     "daemon", "auth:security", "syslog", "lpr",    "news",
    "cron",   "uucp",   "authpriv", "ftp",    "ntp",           "audit",  "alart",  "cron2",
    "local0", "local1", "local2",   "local3", "local4",        "local5", "local6", "local7"};
inline constexpr std::array<std::string_view, 8> kSeverityNames = {
    "emerg:panic", "alart", "crit", "error:err", "warn:warning", "notice", "info", "debug"};

// Field number index (from 0) of text split at separator; a separator inside double quotes
// belongs to the field, and a field that begins with a double quote is unquoted.
std::string ExtractField(int index, char separator, std::string_view text);

// host := the part before the first colon, always; port := the part after it when that reads
// as an integer above 0, else the port stays as it was.
void ParseHostPort(std::string_view value, std::string& host, std::int32_t& port);

// facility := the entry named by field 0 of value split at dots, else sfUserLevel; severity :=
// the entry named by field 1, else slNotice. Both are always written.
void ParsePriority(std::string_view value, TIdSyslogFacility& facility,
                   TIdSyslogSeverity& severity);

// Everything the option scan reads from the parameters (parameter 0 is the program).
struct TScanResult {
  std::string Host = "127.0.0.1";
  std::int32_t Port = 514;
  std::string Tag{};
  TIdSyslogFacility Facility = TIdSyslogFacility::sfUserLevel;
  TIdSyslogSeverity Severity = TIdSyslogSeverity::slNotice;
  bool ShowHelp = false;
  bool Echo = false;
  bool PIDAvailable = false;
  std::string FileName{};
  std::string MessageText{};
};

TScanResult ScanParameters(const std::vector<std::string>& parameters);

}  // namespace orvo::options
