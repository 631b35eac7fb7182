// The event log: entries are appended to "eventlog.txt" in the directory of the registry file (the
// local installation keeps both there). The directory is not created here; when the file cannot be
// written, ReportEventA fails, as a full or unavailable log does on Windows.
//
// One entry is one line of tab-separated fields, in UTF-8 so that it reads well on a terminal (the
// strings given are the system's Windows-1252):
//   time <TAB> source <TAB> type <TAB> category <TAB> event id <TAB> data <TAB> string <TAB> ...
// The time ("2024-01-15 09:00:00.000") comes from the process clock (clock.h); the type is one word
// (error, warning, information, success, audit-success, audit-failure); the event identifier is in
// hexadecimal, as the system's identifiers are HRESULTs; data is the binary data in hexadecimal
// (empty when none). Inside the strings a backslash, a tab, a line feed and a carriage return are
// written \\, \t, \n and \r, so that an entry stays on one line. One entry is written with one
// append, so entries of several threads or processes never mix. Only the local machine's log
// exists: a server name other than null or "" fails.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/base.h"

constexpr WORD EVENTLOG_SUCCESS = 0x0000;
constexpr WORD EVENTLOG_ERROR_TYPE = 0x0001;
constexpr WORD EVENTLOG_WARNING_TYPE = 0x0002;
constexpr WORD EVENTLOG_INFORMATION_TYPE = 0x0004;
constexpr WORD EVENTLOG_AUDIT_SUCCESS = 0x0008;
constexpr WORD EVENTLOG_AUDIT_FAILURE = 0x0010;

// A KernelObject handle; null on failure (see EventSourceRefusal).
HANDLE RegisterEventSourceA(LPCSTR server, LPCSTR source);
BOOL ReportEventA(HANDLE event_log, WORD type, WORD category, DWORD event_id, void* user_sid,
                  WORD string_count, DWORD data_size, LPCSTR* strings, LPVOID data);
BOOL DeregisterEventSource(HANDLE event_log);


// For tests: the entries written so far, read back from the file (strings and source in UTF-8).
struct EventLogEntry {
  std::string time;  // as written: "2024-01-15 09:00:00.000"
  std::string source;
  WORD type;
  WORD category;
  DWORD event_id;
  std::string data;
  std::vector<std::string> strings;
};
std::vector<EventLogEntry> ReadEventLog();

// For tests: while one lives, RegisterEventSourceA fails with ERROR_ACCESS_DENIED, as it does for a
// user who may not write the log.
class EventSourceRefusal {
 public:
  EventSourceRefusal();
  ~EventSourceRefusal();
  EventSourceRefusal(const EventSourceRefusal&) = delete;
  EventSourceRefusal& operator=(const EventSourceRefusal&) = delete;
};
