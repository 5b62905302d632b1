#include "app/Options.h"

#include <algorithm>
#include <optional>

#include "base/Text.h"

namespace orvo::options {

namespace {

// The text of a quoted field: after the opening quote up to the closing one, two quotes in a
// row standing for one; without a closing quote the rest without its last character.
std::string Unquote(std::string_view field) {
  field = field.substr(0, 2048);
  std::string result;
  for (std::size_t at = 1; at < field.size(); ++at) {
    if (field[at] != '"') {
      result += field[at];
    } else if (at + 1 < field.size() && field[at + 1] == '"') {
      result += '"';
      ++at;
    } else {
      return result;
    }
  }
  if (!result.empty())
    result.pop_back();
  return result;
}

bool NameMatches(std::string_view name, std::string_view entry) {
  const std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos)
    return name == entry;
  return name == entry.substr(0, colon) || name == entry.substr(colon + 1);
}

enum class TOption { None, Help, Host, Priority, PidAndEcho, Echo, Pid, Tag, File };

struct TOptionEntry {
  std::string_view Prefix;
  TOption Option;
  bool TakesValue;
};

// The first entry whose prefix starts the parameter decides, so the order is binding.
constexpr std::array<TOptionEntry, 9> kOptionTable = {{{"-help", TOption::Help, false},
                                                       {"-h", TOption::Host, true},
                                                       {"-p", TOption::Priority, true},
                                                       {"-is", TOption::PidAndEcho, false},
                                                       {"-si", TOption::PidAndEcho, false},
                                                       {"-s", TOption::Echo, false},
                                                       {"-i", TOption::Pid, false},
                                                       {"-t", TOption::Tag, true},
                                                       {"-f", TOption::File, true}}};

const TOptionEntry* OptionOf(std::string_view parameter) {
  for (const TOptionEntry& entry : kOptionTable)
    if (parameter.starts_with(entry.Prefix))
      return &entry;
  return nullptr;
}

void ApplyOption(TOption option, const std::string& value, TScanResult& result) {
  switch (option) {
    case TOption::Help:
      result.ShowHelp = true;
      break;
    case TOption::Host:
      ParseHostPort(value, result.Host, result.Port);
      break;
    case TOption::Priority:
      ParsePriority(value, result.Facility, result.Severity);
      break;
    case TOption::PidAndEcho:
      result.PIDAvailable = true;
      result.Echo = true;
      break;
    case TOption::Echo:
      result.Echo = true;
      break;
    case TOption::Pid:
      result.PIDAvailable = true;
      break;
    case TOption::Tag:
      result.Tag = value;
      break;
    case TOption::File:
      result.FileName = value;
      break;
    case TOption::None:
      break;
  }
}

// The first word is trimmed; every later one is added after one blank, untrimmed.
void AppendWord(std::string& text, std::string_view word) {
  if (text.empty()) {
    text = text::Trim(word);
  } else {
    text += ' ';
    text += word;
  }
}

// The position of the first entry one of whose names equals name, which must be lower-case
// already. An empty name matches nothing.
std::optional<std::size_t> FindName(std::string_view name, const std::string_view* table,
                                    std::size_t count) {
  if (name.empty())
    return std::nullopt;
  for (std::size_t position = 0; position < count; ++position)
    if (NameMatches(name, table[position]))
      return position;
  return std::nullopt;
}

// The position in kFacilityNames (or kSeverityNames) of field 0 (or field 1) of value split at
// dots, lowered; nothing when it names no entry.
std::optional<std::size_t> FacilityOrdinal(std::string_view value) {
  return FindName(text::Lower(ExtractField(0, '.', value)), kFacilityNames.data(),
                  kFacilityNames.size());
}

std::optional<std::size_t> SeverityOrdinal(std::string_view value) {
  return FindName(text::Lower(ExtractField(1, '.', value)), kSeverityNames.data(),
                  kSeverityNames.size());
}

}  // namespace

std::string ExtractField(int index, char separator, std::string_view text) {
  std::string field;
  int number = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"')
      quoted = !quoted;
    const bool separates = !quoted && c == separator;
    if (separates) {
      if (number == index)
        break;
      ++number;
    }
    if (number == index && !separates)
      field += c;
  }
  if (field.starts_with('"'))
    return Unquote(field);
  return field;
}

void ParseHostPort(std::string_view value, std::string& host, std::int32_t& port) {
  host = ExtractField(0, ':', value);
  const std::int32_t number = text::TryReadInteger(ExtractField(1, ':', value)).value_or(-1);
  if (number > 0)
    port = number;
}

void ParsePriority(std::string_view value, TIdSyslogFacility& facility,
                   TIdSyslogSeverity& severity) {
  // Every priority starts again from the defaults.
  facility = TIdSyslogFacility::sfUserLevel;
  if (const auto ordinal = FacilityOrdinal(value))
    facility = static_cast<TIdSyslogFacility>(*ordinal);
  severity = TIdSyslogSeverity::slNotice;
  if (const auto ordinal = SeverityOrdinal(value))
    severity = static_cast<TIdSyslogSeverity>(*ordinal);
}

TScanResult ScanParameters(const std::vector<std::string>& parameters) {
  TScanResult result;
  const std::size_t count = parameters.empty() ? 0 : parameters.size() - 1;
  std::size_t i = 1;
  for (; i <= count; ++i) {
    const std::string_view parameter = text::TrimView(parameters[i]);
    const TOptionEntry* entry = OptionOf(parameter);
    if (entry == nullptr) {
      // "--" ends the options and is no word of the message.
      if (parameter == "--")
        ++i;
      break;
    }
    if (!entry->TakesValue) {
      ApplyOption(entry->Option, {}, result);
      continue;
    }
    if (++i > count)
      break;
    ApplyOption(entry->Option, parameters[i], result);
  }
  for (; i <= count; ++i)
    AppendWord(result.MessageText, parameters[i]);
  return result;
}

}  // namespace orvo::options
