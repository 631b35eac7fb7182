#include <gtest/gtest.h>

#include "platform/com/registrar.h"
#include "platform/com/typelib.h"
#include "tests/platform/com/RegistryContent.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

using Lines = std::vector<std::string>;

void CreateKey(HKEY root, const char* key) {
  HKEY opened;
  ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(opened);
}

const char kScript[] = R"(
HKCR
{
    NoRemove Pasta
    {
        ForceRemove 'Classe X' = s 'Texto da classe'
        {
            val Numero = d 0x2A
            Servidor = s '%MODULE%'
        }
    }
    Nome.Prog = s 'isn''t'
    {
        CurVer = s '100%%'
    }
}
)";

}  // namespace

TEST(Registrar, RegistersKeysAndValuesAndUnregistersAllButNoRemoveKeys) {
  TemporaryRegistry registry;
  CreateKey(HKEY_CLASSES_ROOT, "Pasta\\Alheia");           // a neighbour under the NoRemove key
  CreateKey(HKEY_CLASSES_ROOT, "Pasta\\Classe X\\Velha");  // swept away by ForceRemove

  ASSERT_EQ(UpdateRegistryFromScript(kScript, {{"MODULE", "\\opt\\qv\\Varmo"}}, true), S_OK);
  EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, ""),
            (Lines{"Nome.Prog", "Nome.Prog @ = isn't", "Nome.Prog\\CurVer",
                   "Nome.Prog\\CurVer @ = 100%", "Pasta", "Pasta\\Alheia", "Pasta\\Classe X",
                   "Pasta\\Classe X @ = Texto da classe", "Pasta\\Classe X Numero = type 4",
                   "Pasta\\Classe X\\Servidor", "Pasta\\Classe X\\Servidor @ = \\opt\\qv\\Varmo"}));
  DWORD numero = 0, size = sizeof numero;
  HKEY classe;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Pasta\\Classe X", 0, KEY_READ, &classe),
            ERROR_SUCCESS);
  RegQueryValueExA(classe, "Numero", nullptr, nullptr, reinterpret_cast<BYTE*>(&numero), &size);
  RegCloseKey(classe);
  EXPECT_EQ(numero, 42u);

  ASSERT_EQ(UpdateRegistryFromScript(kScript, {{"MODULE", "x"}}, false), S_OK);
  EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, ""), (Lines{"Pasta", "Pasta\\Alheia"}));
  // what is gone already is no failure
  EXPECT_EQ(UpdateRegistryFromScript(kScript, {{"MODULE", "x"}}, false), S_OK);
}

TEST(Registrar, ScriptThatCannotBeReadChangesNothing) {
  TemporaryRegistry registry;
  const char* const bad[] = {
      "HKCR { Chave = s 'a' ",                 // block not closed
      "HKCR { val Solto = s 'a' }",            // a value outside any key
      "HKXX { Chave }",                        // unknown root
      "HKCR { Chave = x 'a' }",                // unknown type
      "HKCR { Chave = d 'doze' }",             // not a number
      "HKCR { Chave = s 'sem fim }",           // quote not closed
      "HKCR { Chave = s '%DESCONHECIDO%' }",   // parameter without value
      "HKCR { Boa = s 'a' } HKCR { Ruim = }",  // the good part is not applied either
  };
  for (const char* script : bad) {
    EXPECT_EQ(UpdateRegistryFromScript(script, {}, true), HRESULT_FROM_WIN32(ERROR_INVALID_DATA))
        << script;
    EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, ""), Lines{}) << script;
  }
}

TEST(TypeLibrary, RegistrationWritesVersionLocalePathFlagsAndHelpDirectory) {
  TemporaryRegistry registry;
  const GUID libid = {0x102BD1D5, 0x3BD5, 0x407C, {0xA1, 0x30, 0x5E, 0xA1, 0x65, 0xD3, 0xF8, 0x83}};
  const TypeLibRecord library{libid, 1, 0, 0x0409, "Varmo 1.0 Type Library", 0};
  const TypeLibRecord other_version{libid, 2, 10, 0, "Varmo 2.10", 4};
  ASSERT_EQ(RegisterTypeLib(library, "\\opt\\qv\\Varmo", "\\opt\\qv"), S_OK);
  ASSERT_EQ(RegisterTypeLib(other_version, "\\opt\\qv2\\Varmo", "\\opt\\qv2"), S_OK);
  const std::string key = "TypeLib\\{102BD1D5-3BD5-407C-A130-5EA165D3F883}";
  EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, key + "\\1.0"),
            (Lines{key + "\\1.0", key + "\\1.0 @ = Varmo 1.0 Type Library", key + "\\1.0\\409",
                   key + "\\1.0\\409\\win32", key + "\\1.0\\409\\win32 @ = \\opt\\qv\\Varmo",
                   key + "\\1.0\\FLAGS", key + "\\1.0\\FLAGS @ = 0", key + "\\1.0\\HELPDIR",
                   key + "\\1.0\\HELPDIR @ = \\opt\\qv"}));
  EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, key + "\\2.a\\FLAGS"),
            (Lines{key + "\\2.a\\FLAGS", key + "\\2.a\\FLAGS @ = 4"}));

  EXPECT_EQ(UnRegisterTypeLib(libid, 1, 0, 0x0409, SYS_WIN32), S_OK);
  EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, key + "\\1.0"), Lines{});
  EXPECT_FALSE(RegistryContent(HKEY_CLASSES_ROOT, key + "\\2.a").empty());
  EXPECT_EQ(UnRegisterTypeLib(libid, 1, 0, 0x0409, SYS_WIN32), TYPE_E_REGISTRYACCESS);
  EXPECT_EQ(UnRegisterTypeLib(libid, 2, 10, 0, SYS_WIN32), S_OK);
  EXPECT_EQ(RegistryContent(HKEY_CLASSES_ROOT, "TypeLib"), Lines{"TypeLib"});
}
