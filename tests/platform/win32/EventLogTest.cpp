#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/win32/module.h"
#include "platform/win32/clock.h"
#include "platform/win32/eventlog.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

TEST(EventLog, EntriesAreAppendedBesideTheRegistryAndReadBack) {
  TemporaryRegistry registry;
  TestClock clock;
  clock.SetLocalTime(SYSTEMTIME{2024, 5, 0, 10, 14, 30, 5, 7});
  HANDLE source = RegisterEventSourceA(nullptr, "QV Rivovoda");
  ASSERT_NE(source, nullptr);
  LPCSTR warning[] = {"\n\nA primeira tentativa de instanciar o servidor falhou",
                      "\nHR: 0x800706BA (O servidor RPC n\xE3o est\xE1 dispon\xEDvel. )\n"
                      "Programa: \\usr\\bin\\Varmo\ttab\\fim\n"};
  EXPECT_TRUE(
      ReportEventA(source, EVENTLOG_WARNING_TYPE, 0, 0x800706BA, nullptr, 2, 0, warning, nullptr));
  clock.Advance(1500);
  LPCSTR error[] = {"\n\nErro instanciando servidor"};
  BYTE data[] = {0x01, 0xAB};
  EXPECT_TRUE(ReportEventA(source, EVENTLOG_ERROR_TYPE, 3, 0x80040154, nullptr, 1, sizeof data,
                           error, data));
  EXPECT_TRUE(DeregisterEventSource(source));

  const std::string file = registry.dir().Read("eventlog.txt");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2) << "one line per entry";
  EXPECT_NE(file.find("n\xC3\xA3o est\xC3\xA1"), std::string::npos) << "written as UTF-8";

  const std::vector<EventLogEntry> entries = ReadEventLog();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].time, "2024-05-10 14:30:05.007");
  EXPECT_EQ(entries[0].source, "QV Rivovoda");
  EXPECT_EQ(entries[0].type, EVENTLOG_WARNING_TYPE);
  EXPECT_EQ(entries[0].category, 0);
  EXPECT_EQ(entries[0].event_id, 0x800706BAu);
  EXPECT_EQ(entries[0].data, "");
  EXPECT_EQ(entries[0].strings,
            (std::vector<std::string>{"\n\nA primeira tentativa de instanciar o servidor falhou",
                                      "\nHR: 0x800706BA (O servidor RPC não está disponível. )\n"
                                      "Programa: \\usr\\bin\\Varmo\ttab\\fim\n"}));
  EXPECT_EQ(entries[1].time, "2024-05-10 14:30:06.507");
  EXPECT_EQ(entries[1].type, EVENTLOG_ERROR_TYPE);
  EXPECT_EQ(entries[1].category, 3);
  EXPECT_EQ(entries[1].event_id, 0x80040154u);
  EXPECT_EQ(entries[1].data, "\x01\xAB");
  EXPECT_EQ(entries[1].strings, (std::vector<std::string>{"\n\nErro instanciando servidor"}));
}

TEST(EventLog, RefusedOrBrokenSourcesReportNothing) {
  TemporaryRegistry registry;
  {
    EventSourceRefusal refusal;
    EXPECT_EQ(RegisterEventSourceA(nullptr, "QV Rivovoda"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_EQ(RegisterEventSourceA("\\\\outra", "QV Rivovoda"), nullptr);
  LPCSTR text[] = {"x"};
  EXPECT_FALSE(ReportEventA(nullptr, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 1, 0, text, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  HANDLE source = RegisterEventSourceA(nullptr, "QV Rivovoda");
  ASSERT_NE(source, nullptr);
  EXPECT_FALSE(ReportEventA(source, 0x20, 0, 1, nullptr, 1, 0, text, nullptr));
  EXPECT_TRUE(ReportEventA(source, EVENTLOG_INFORMATION_TYPE, 0, 1, nullptr, 1, 0, text, nullptr));
  DeregisterEventSource(source);
  ASSERT_EQ(ReadEventLog().size(), 1u);
  EXPECT_EQ(ReadEventLog()[0].type, EVENTLOG_INFORMATION_TYPE);
}

TEST(ModuleFileName, IsTheProgramPathWithBackslashesCutToTheBuffer) {
  char linux_path[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", linux_path, sizeof linux_path - 1), 0);
  std::string expected = linux_path;
  std::replace(expected.begin(), expected.end(), '/', '\\');

  char buffer[4096];
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), expected.size());
  EXPECT_EQ(buffer, expected);
  char small[6];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(small), expected.substr(0, 5));
}

}  // namespace
