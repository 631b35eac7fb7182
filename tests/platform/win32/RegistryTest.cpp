#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/registry.h"
#include "platform/win32/registry_text.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

constexpr const char* kInstallation = "SOFTWARE\\QV Rivovoda";

// A string value's bytes as a query gives them: the text and its terminating zero.
std::string Z(const char* text) { return std::string(text) + '\0'; }

class RegistryTest : public ::testing::Test {
 protected:
  HKEY Create(HKEY root, const char* sub_key, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(root, sub_key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, disposition),
              ERROR_SUCCESS)
        << sub_key;
    return key;
  }

  static LONG SetString(HKEY key, const char* name, const std::string& text, DWORD type = REG_SZ) {
    return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  }

  static LONG SetDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
  }

  // The value's type and bytes, or the error of the query.
  struct Read {
    LONG error;
    DWORD type;
    std::string bytes;
  };
  static Read Query(HKEY key, const char* name) {
    Read read{0, REG_NONE, std::string(256, '\0')};
    auto size = static_cast<DWORD>(read.bytes.size());
    read.error = RegQueryValueExA(key, name, nullptr, &read.type,
                                  reinterpret_cast<BYTE*>(read.bytes.data()), &size);
    read.bytes.resize(read.error == ERROR_SUCCESS ? size : 0);
    return read;
  }

  // What shows that the file was written again: every write renames a new file into place.
  std::string FileVersion() const {
    struct stat status {};
    EXPECT_EQ(stat(registry_.path().c_str(), &status), 0);
    return std::to_string(status.st_ino) + "@" + std::to_string(status.st_mtim.tv_sec) + "." +
           std::to_string(status.st_mtim.tv_nsec);
  }

  TemporaryRegistry registry_;
};

TEST_F(RegistryTest, FourValueTypesRoundTripThroughTheFile) {
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
  } cases[] = {
      {"Mensagens", REG_SZ, Z("\\srv\\qv\\Mensagens\\")},
      {"Titulo", REG_SZ, Z("Produ\xE7\xE3o \"PP\"\n2")},
      {"", REG_SZ, Z("padr\xE3o")},
      {"Caminho", REG_EXPAND_SZ, Z("%HOME%\\qv")},
      {"Versao", REG_DWORD, std::string("\x2a\0\0\0", 4)},
      {"Chave", REG_BINARY, std::string("\x00\x01\xff", 3)},
      {"Vazio", REG_BINARY, std::string()},
  };
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  for (const Case& c : cases)
    ASSERT_EQ(RegSetValueExA(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                             static_cast<DWORD>(c.bytes.size())),
              ERROR_SUCCESS);
  RegCloseKey(key);

  EXPECT_EQ(registry_.Text(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QV Rivovoda]\n"
            "\"Mensagens\"=\"\\\\srv\\\\qv\\\\Mensagens\\\\\"\n"
            "\"Titulo\"=\"Produ\xE7\xE3o \\\"PP\\\"\\n2\"\n"
            "@=\"padr\xE3o\"\n"
            "\"Caminho\"=hex(2):\"%HOME%\\\\qv\"\n"
            "\"Versao\"=dword:0000002a\n"
            "\"Chave\"=hex:00,01,ff\n"
            "\"Vazio\"=hex:\n"
            "\n");

  // Another file with the same text is parsed afresh: the values come back from the text alone.
  TemporaryRegistry copy;
  copy.dir().Write("registry.reg", registry_.Text());
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallation, 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const Case& c : cases) {
    const Read read = Query(key, c.name);
    EXPECT_EQ(read.error, ERROR_SUCCESS) << c.name;
    EXPECT_EQ(read.type, c.type) << c.name;
    EXPECT_EQ(read.bytes, c.bytes) << c.name;
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, ReadsAHandWrittenExport) {
  registry_.dir().Write("registry.reg",
                        "REGEDIT4\r\n"
                        "; written by the installation\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QV Rivovoda\\Empresas\\001]\r\n"
                        "\"PP\"=\"\\\\srv\\\\qv\\\\001\\\\PP\\\\\"\r\n"
                        "\"Codigo\"=dword:7\r\n"
                        "\"PP\"=\"\\\\dados\\\\\"\r\n"
                        "[HKEY_CURRENT_USER]\r\n"
                        "@=hex:AB,cd\r\n");
  HKEY key;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda\\Empresas\\001", 0, KEY_READ, &key),
      ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "PP").bytes, Z("\\dados\\"));  // the last one wins
  EXPECT_EQ(Query(key, "Codigo").bytes, std::string("\x07\0\0\0", 4));
  RegCloseKey(key);
  EXPECT_EQ(Query(HKEY_CURRENT_USER, nullptr).bytes, "\xAB\xCD");
  EXPECT_EQ(Query(HKEY_CLASSES_ROOT, "x").error, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheCaseTheyWereCreatedWith) {
  HKEY created = Create(HKEY_LOCAL_MACHINE, "Software\\QV Rivovoda\\Empresas\\001");
  ASSERT_EQ(SetString(created, "PP", "\\srv\\PP\\"), ERROR_SUCCESS);
  HKEY opened;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\qv rivovoda\\EMPRESAS\\001\\", 0,
                          KEY_ALL_ACCESS, &opened),
            ERROR_SUCCESS);
  EXPECT_EQ(Query(opened, "pp").bytes, Z("\\srv\\PP\\"));
  ASSERT_EQ(SetString(opened, "pP", "\\outro\\"), ERROR_SUCCESS);

  DWORD count = 0;
  EXPECT_EQ(RegQueryInfoKeyA(created, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(count, 1u);
  char name[16];
  DWORD name_size = sizeof name;
  EXPECT_EQ(RegEnumValueA(created, 0, name, &name_size, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_STREQ(name, "PP");
  EXPECT_NE(registry_.Text().find("[HKEY_LOCAL_MACHINE\\Software\\QV Rivovoda\\Empresas\\001]"),
            std::string::npos);
  DWORD disposition = 0;
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV RIVOVODA", &disposition));
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(created);
  RegCloseKey(opened);
}

TEST_F(RegistryTest, EnumeratesKeysByNameAndValuesByCreationWithTheirLongestSizes) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  for (const char* sub_key : {"b", "Orvel Empresarial", "A"}) RegCloseKey(Create(key, sub_key));
  ASSERT_EQ(SetString(key, "Relatorios", "\\rel\\"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, "N", 3), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "Ajuda", "\\ajuda\\longa\\"), ERROR_SUCCESS);

  std::vector<std::string> subkeys;
  char name[64];
  DWORD name_size;
  for (DWORD i = 0;; ++i) {
    name_size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != 0) break;
    EXPECT_EQ(name_size, strlen(name));
    subkeys.push_back(name);
  }
  EXPECT_EQ(subkeys, (std::vector<std::string>{"A", "b", "Orvel Empresarial"}));
  name_size = sizeof name;
  EXPECT_EQ(RegEnumKeyExA(key, 3, name, &name_size, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  name_size = 17;  // "Orvel Empresarial" needs 18 with its zero
  EXPECT_EQ(RegEnumKeyExA(key, 2, name, &name_size, nullptr, nullptr, nullptr, nullptr),
            ERROR_MORE_DATA);

  std::vector<std::string> values;
  DWORD type;
  BYTE data[64];
  DWORD data_size;
  for (DWORD i = 0;; ++i) {
    name_size = sizeof name;
    data_size = sizeof data;
    if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &data_size) != 0) break;
    values.push_back(name + std::string(":") + std::to_string(type) + ":" +
                     std::to_string(data_size));
  }
  EXPECT_EQ(values, (std::vector<std::string>{"Relatorios:1:6", "N:4:4", "Ajuda:1:14"}));
  name_size = sizeof name;
  data_size = 13;
  EXPECT_EQ(RegEnumValueA(key, 2, name, &name_size, nullptr, &type, data, &data_size),
            ERROR_MORE_DATA);
  EXPECT_EQ(data_size, 14u);

  DWORD subkey_count, longest_subkey, value_count, longest_name, longest_data;
  ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkey_count, &longest_subkey,
                             nullptr, &value_count, &longest_name, &longest_data, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkey_count, 3u);
  EXPECT_EQ(longest_subkey, 17u);
  EXPECT_EQ(value_count, 3u);
  EXPECT_EQ(longest_name, 10u);
  EXPECT_EQ(longest_data, 14u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, QueriesGiveSizesMoreDataAndFileNotFound) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  ASSERT_EQ(SetString(key, "Imagens", "\\imagens\\"), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Imagens", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 10u);
  char small[6] = "xxxxx";
  size = sizeof small;
  EXPECT_EQ(
      RegQueryValueExA(key, "Imagens", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
      ERROR_MORE_DATA);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(Query(key, "Ajuda").error, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Query(key, nullptr).error, ERROR_FILE_NOT_FOUND);  // no default value was set

  HKEY missing = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nada", 0, KEY_READ, &missing),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(RegOpenKeyExA(HKEY_USERS, "x", 0, KEY_READ, &missing), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\\\QV", 0, KEY_READ, &missing),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryTest, DeleteKeyRefusesSubkeysAndDeleteTreeTakesEverything) {
  HKEY installation = Create(HKEY_LOCAL_MACHINE, kInstallation);
  HKEY company = Create(installation, "Empresas\\001");
  ASSERT_EQ(SetString(company, "PP", "\\pp\\"), ERROR_SUCCESS);

  EXPECT_EQ(RegDeleteKeyA(installation, "Empresas"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(installation, "Empresas\\002"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(company, "PP"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(company, "PP"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(installation, "EMPRESAS\\001"), ERROR_SUCCESS);
  EXPECT_EQ(Query(company, "PP").error, ERROR_KEY_DELETED);  // the open key refers to a gone path

  RegCloseKey(Create(installation, "Empresas\\003\\Filial"));
  ASSERT_EQ(SetString(installation, "Mensagens", "\\msg\\"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTreeA(installation, "Empresas"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTreeA(installation, "Empresas"), ERROR_FILE_NOT_FOUND);
  HKEY gone;
  EXPECT_EQ(RegOpenKeyExA(installation, "Empresas\\003", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Query(installation, "Mensagens").error, ERROR_SUCCESS);

  RegCloseKey(Create(installation, "Outra"));
  EXPECT_EQ(RegDeleteTreeA(installation, nullptr), ERROR_SUCCESS);  // empties the key, keeps it
  DWORD subkeys = 1, values = 1;
  EXPECT_EQ(RegQueryInfoKeyA(installation, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys + values, 0u);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);  // a root stays
  RegCloseKey(company);
  RegCloseKey(installation);
}

TEST_F(RegistryTest, KeyOpenedForReadingRefusesWrites) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda\\Existente"));
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallation, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(SetString(key, "Ajuda", "\\ajuda\\"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueA(key, "Ajuda"), ERROR_ACCESS_DENIED);
  HKEY sub;
  EXPECT_EQ(RegCreateKeyExA(key, "Nova", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(
      RegCreateKeyExA(key, "Existente", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(sub);
  RegCloseKey(key);
}

// Deeper keys than Windows keeps would make the file one that reading refuses as damaged.
TEST_F(RegistryTest, CreateRefusesKeysDeeperThanTheFileKeeps) {
  std::string deepest = "k";
  for (size_t level = 1; level < kRegistryMaxLevels; ++level) deepest += "\\k";
  HKEY key = Create(HKEY_CURRENT_USER, deepest.c_str());
  ASSERT_NE(key, nullptr);
  HKEY sub = nullptr;
  EXPECT_EQ(RegCreateKeyExA(key, "mais", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(sub, nullptr);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (deepest + "\\mais").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(key);

  const std::string text = registry_.Text();
  RegistryTree tree;
  EXPECT_TRUE(ParseRegistryText(text, tree));
  EXPECT_EQ(text.find("mais"), std::string::npos);
}

TEST_F(RegistryTest, DamagedFileIsRefusedAndNeverOverwritten) {
  const char* damaged[] = {
      "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n",                     // no header
      "Windows Registry Editor Version 5.00\n\"A\"=\"1\"\n",  // a value outside any key
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\n",
      "Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\SOFTWARE]\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\\\SOFTWARE]\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE]\n\"A\"=\"C:\\x\"\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE]\n\"A\"=\"cut\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE]\n\"A\"=dword:123456789\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE]\n\"A\"=hex:01,\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE]\n\"A\"=hex(7):00\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE]\n\"A\"=\"1\" x\n",
  };
  for (const char* text : damaged) {
    registry_.dir().Write("registry.reg", text);
    HKEY key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, nullptr, 0, KEY_READ, &key), ERROR_REGISTRY_CORRUPT)
        << text;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallation, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_REGISTRY_CORRUPT)
        << text;
    EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, "A", 1), ERROR_REGISTRY_CORRUPT) << text;
    EXPECT_EQ(registry_.Text(), text);
  }
  registry_.dir().Write("registry.reg", "Windows Registry Editor Version 5.00\n");
  EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, "A", 1), ERROR_SUCCESS);  // a mended file is used again
}

std::string WriterValueName(int writer, int i) {
  char name[32];
  snprintf(name, sizeof name, "w%d_%d", writer, i);
  return name;
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothingAndReadersNeverSeeHalfAFile) {
  constexpr int kValuesPerWriter = 200;
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  ASSERT_EQ(SetDword(key, "antes", 1), ERROR_SUCCESS);  // the parent has the file cached

  pid_t writers[2];
  for (int writer = 0; writer < 2; ++writer) {
    writers[writer] = fork();
    ASSERT_GE(writers[writer], 0);
    if (writers[writer] == 0) {
      int failures = 0;
      for (int i = 0; i < kValuesPerWriter; ++i) {
        HKEY own;
        const std::string name = WriterValueName(writer, i);
        failures += RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallation, 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &own, nullptr) != ERROR_SUCCESS;
        failures += SetDword(own, name.c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS;
        RegCloseKey(own);
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  int finished = 0, bad_reads = 0, status = 0;
  while (finished < 2) {
    bad_reads += Query(key, "antes").error != ERROR_SUCCESS;
    for (pid_t& writer : writers)
      if (writer > 0 && waitpid(writer, &status, WNOHANG) == writer) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        writer = 0;
        ++finished;
      }
  }
  EXPECT_EQ(bad_reads, 0);

  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 2u * kValuesPerWriter + 1);
  for (int writer = 0; writer < 2; ++writer)
    for (int i = 0; i < kValuesPerWriter; ++i) {
      const std::string name = WriterValueName(writer, i);
      EXPECT_EQ(Query(key, name.c_str()).error, ERROR_SUCCESS) << name;
    }
  RegCloseKey(key);
}

// A number's bytes as a query gives them.
std::string DwordBytes(DWORD value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// Every save of a test falls into one tick, as on a file system that keeps seconds.
void OneTick(struct stat& status) { status.st_mtim = status.st_ctim = timespec{}; }

// As OneTick, on a file system that also hands out inode numbers again (ext2 in a loop mount shows
// both): the numbers are folded so that they come back also where the file system never reuses
// them. A process's remembered identity of the file then matches later files of the same size.
void OneTickAndTwoInodes(struct stat& status) {
  OneTick(status);
  status.st_ino %= 2;
}

// Points the registry at a fresh directory in memory (/dev/shm, where the machine has one) while it
// lives, so that thousands of synced saves cost no disk writes.
class RegistryInMemory {
 public:
  RegistryInMemory() {
    const char* previous = getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    if (std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    registry_.emplace();
    if (previous) {
      setenv("TMPDIR", saved.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

 private:
  std::optional<TemporaryRegistry> registry_;
};

TEST_F(RegistryTest, ProcessesUpdatingAtOnceLoseNothingAlsoWhenTheFileLooksUnchanged) {
  constexpr int kWriters = 8;
  constexpr DWORD kUpdatesPerWriter = 300;
  RegistryInMemory in_memory;
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  for (int writer = 0; writer < kWriters; ++writer)  // numbers keep the file's size
    ASSERT_EQ(SetDword(key, WriterValueName(writer, 0).c_str(), 0), ERROR_SUCCESS);

  std::vector<pid_t> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    writers.push_back(fork());
    ASSERT_GE(writers.back(), 0);
    if (writers.back() == 0) {  // may take a later file of the same size for the one it read
      RegistryFileStatusForTests looks_unchanged(OneTickAndTwoInodes);
      const std::string name = WriterValueName(writer, 0);
      int failures = 0;
      for (DWORD i = 1; i <= kUpdatesPerWriter; ++i)
        failures += SetDword(key, name.c_str(), i) != ERROR_SUCCESS;
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t writer : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int writer = 0; writer < kWriters; ++writer) {
    const std::string name = WriterValueName(writer, 0);
    EXPECT_EQ(Query(key, name.c_str()).bytes, DwordBytes(kUpdatesPerWriter)) << name;
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, ReaderSeesTheSavesOfAnotherProcessThatFallIntoOneTick) {
  RegistryFileStatusForTests one_tick(OneTick);
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  ASSERT_EQ(SetDword(key, "N", 0), ERROR_SUCCESS);
  // Two saves of the same size by another process: where the file system gives a freed inode
  // number to the next file (ext4 does), the second file gets the number of the one that this
  // process read unless the reader keeps it from being freed. Elsewhere this test cannot fail.
  for (DWORD round = 1; round <= 5; ++round) {
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
      _exit(SetDword(key, "N", 2 * round - 1) == ERROR_SUCCESS &&
                    SetDword(key, "N", 2 * round) == ERROR_SUCCESS
                ? 0
                : 1);
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(Query(key, "N").bytes, DwordBytes(2 * round)) << "round " << round;
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, WriteThatChangesNothingLeavesTheFileAlone) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, kInstallation);
  ASSERT_EQ(SetString(key, "Mensagens", "\\msg\\"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, "N", 7), ERROR_SUCCESS);
  const std::string before = FileVersion();

  EXPECT_EQ(SetString(key, "MENSAGENS", "\\msg\\"), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(key, "n", 7), ERROR_SUCCESS);
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, kInstallation));
  EXPECT_EQ(FileVersion(), before);

  HKEY empty = Create(key, "Vazia");
  const std::string with_empty_key = FileVersion();
  EXPECT_NE(with_empty_key, before);  // a real change does write
  EXPECT_EQ(RegDeleteTreeA(empty, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(FileVersion(), with_empty_key);
  RegCloseKey(empty);
  RegCloseKey(key);
}

TEST_F(RegistryTest, ExpandsEnvironmentNamesAndLeavesUnknownOnesAsWritten) {
  setenv("QV_TESTE_DIR", "/srv/qv", 1);
  struct Case {
    const char* source;
    const char* expanded;
  } cases[] = {
      {"%QV_TESTE_DIR%\\PP", "/srv/qv\\PP"},
      {"%qv_teste_dir%", "/srv/qv"},
      {"%QV_NAO_EXISTE%\\x", "%QV_NAO_EXISTE%\\x"},
      {"%QV_NAO_EXISTE%QV_TESTE_DIR%", "%QV_NAO_EXISTE/srv/qv"},
      {"100% %%", "100% %%"},
      {"", ""},
  };
  for (const Case& c : cases) {
    char buffer[64];
    EXPECT_EQ(ExpandEnvironmentStringsA(c.source, buffer, sizeof buffer), strlen(c.expanded) + 1)
        << c.source;
    EXPECT_STREQ(buffer, c.expanded);
  }
  char small[4] = "abc";
  EXPECT_EQ(ExpandEnvironmentStringsA("%QV_TESTE_DIR%", small, sizeof small), 8u);
  EXPECT_STREQ(small, "abc");
  unsetenv("QV_TESTE_DIR");
}

TEST(RegistryFile, ComesFromQvRegistryThenTheUserConfiguration) {
  TemporaryRegistry registry;
  EXPECT_EQ(RegistryFilePath(), registry.path());
  const char* xdg = getenv("XDG_CONFIG_HOME");
  const std::string home = getenv("HOME") ? getenv("HOME") : "", saved_xdg = xdg ? xdg : "";
  unsetenv("QV_REGISTRY");
  setenv("XDG_CONFIG_HOME", "/etc/xdg-qv", 1);
  EXPECT_EQ(RegistryFilePath(), "/etc/xdg-qv/qv/registry.reg");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "/home/pp", 1);
  EXPECT_EQ(RegistryFilePath(), "/home/pp/.config/qv/registry.reg");
  setenv("HOME", home.c_str(), 1);
  if (xdg) setenv("XDG_CONFIG_HOME", saved_xdg.c_str(), 1);
}

}  // namespace
