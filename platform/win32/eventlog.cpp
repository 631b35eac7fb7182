#include "platform/win32/eventlog.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string_view>

#include "platform/win32/clock.h"
#include "platform/win32/codepage.h"
#include "platform/win32/registry.h"
#include "platform/win32/sync.h"

namespace {

class EventSource : public KernelObject {
 public:
  explicit EventSource(std::string source) : source_(std::move(source)) {}
  const std::string& source() const { return source_; }

 private:
  const std::string source_;  // UTF-8
};

std::atomic<int> refusals{0};

struct TypeWord {
  WORD type;
  std::string_view word;
};

constexpr TypeWord kTypeWords[] = {
    {EVENTLOG_SUCCESS, "success"},
    {EVENTLOG_ERROR_TYPE, "error"},
    {EVENTLOG_WARNING_TYPE, "warning"},
    {EVENTLOG_INFORMATION_TYPE, "information"},
    {EVENTLOG_AUDIT_SUCCESS, "audit-success"},
    {EVENTLOG_AUDIT_FAILURE, "audit-failure"},
};

const TypeWord* FindType(WORD type) {
  const auto* found = std::find_if(std::begin(kTypeWords), std::end(kTypeWords),
                                   [&](const TypeWord& entry) { return entry.type == type; });
  return found == std::end(kTypeWords) ? nullptr : found;
}

std::string EventLogPath() {
  const std::string registry = RegistryFilePath();
  const size_t slash = registry.rfind('/');
  return (slash == std::string::npos ? std::string() : registry.substr(0, slash + 1)) +
         "eventlog.txt";
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char ch : text) {
    switch (ch) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += ch;
    }
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: out += text[i];
    }
  }
  return out;
}

std::string Hex(const BYTE* bytes, DWORD size) {
  std::string out;
  char digits[3];
  for (DWORD i = 0; i < size; ++i) {
    snprintf(digits, sizeof digits, "%02x", bytes[i]);
    out += digits;
  }
  return out;
}

std::string FromHex(std::string_view digits) {
  std::string out;
  for (size_t i = 0; i + 1 < digits.size(); i += 2)
    out += static_cast<char>(std::strtoul(std::string(digits.substr(i, 2)).c_str(), nullptr, 16));
  return out;
}

std::string CurrentTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[64];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay,
           now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  return text;
}

bool Append(const std::string& path, std::string_view line) {
  const int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool written = true;
  while (written && !line.empty()) {
    const ssize_t count = write(fd, line.data(), line.size());
    written = count > 0 || (count < 0 && errno == EINTR);
    if (count > 0) line.remove_prefix(static_cast<size_t>(count));
  }
  close(fd);
  return written;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  fields.push_back(line);
  return fields;
}

}  // namespace

HANDLE RegisterEventSourceA(LPCSTR server, LPCSTR source) {
  if (server && *server) {
    SetLastError(RPC_S_SERVER_UNAVAILABLE);
    return nullptr;
  }
  if (!source) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (refusals.load() > 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return new EventSource(Utf8FromAnsi(source));
}

BOOL ReportEventA(HANDLE event_log, WORD type, WORD category, DWORD event_id, void*,
                  WORD string_count, DWORD data_size, LPCSTR* strings, LPVOID data) {
  const EventSource* source = KernelObjectOf<EventSource>(event_log);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const TypeWord* type_word = FindType(type);
  if (!type_word || (string_count && !strings) || (data_size && !data)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  char numbers[32];
  snprintf(numbers, sizeof numbers, "%u\t0x%08X", category, event_id);
  std::string line = CurrentTimeText() + '\t' + Escaped(source->source()) + '\t' +
                     std::string(type_word->word) + '\t' + numbers + '\t' +
                     Hex(static_cast<const BYTE*>(data), data_size);
  for (WORD i = 0; i < string_count; ++i)
    line += '\t' + Escaped(Utf8FromAnsi(strings[i] ? strings[i] : ""));
  line += '\n';
  if (!Append(EventLogPath(), line)) {
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
  }
  return TRUE;
}

BOOL DeregisterEventSource(HANDLE event_log) {
  EventSource* source = KernelObjectOf<EventSource>(event_log);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  delete source;
  return TRUE;
}


std::vector<EventLogEntry> ReadEventLog() {
  std::vector<EventLogEntry> entries;
  std::ifstream file(EventLogPath(), std::ios::binary);
  for (std::string line; std::getline(file, line);) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() < 6) continue;
    const auto* type = std::find_if(std::begin(kTypeWords), std::end(kTypeWords),
                                    [&](const TypeWord& entry) { return entry.word == fields[2]; });
    if (type == std::end(kTypeWords)) continue;
    EventLogEntry entry{
        std::string(fields[0]),
        Unescaped(fields[1]),
        type->type,
        static_cast<WORD>(std::strtoul(std::string(fields[3]).c_str(), nullptr, 10)),
        static_cast<DWORD>(std::strtoul(std::string(fields[4]).c_str(), nullptr, 16)),
        FromHex(fields[5]),
        {}};
    for (size_t i = 6; i < fields.size(); ++i) entry.strings.push_back(Unescaped(fields[i]));
    entries.push_back(std::move(entry));
  }
  return entries;
}

EventSourceRefusal::EventSourceRefusal() { ++refusals; }

EventSourceRefusal::~EventSourceRefusal() { --refusals; }
