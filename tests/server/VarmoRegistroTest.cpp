#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/registry.h"
#include "server/CPPModulo.h"
#include "server/VarmoPrograma.h"
#include "tests/platform/com/RegistryContent.h"
#include "tests/platform/win32/TemporaryRegistry.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kAppId = "{1817191A-992A-4DD6-A30A-4BD9E5198653}";
const std::string kLibId = "{102BD1D5-3BD5-407C-A130-5EA165D3F883}";

// What registration writes under HKEY_CLASSES_ROOT for a program at `modulo`, as the tables of the
// registry keys give it.
Lines ChavesEsperadas(const std::string& modulo, const std::string& diretorio) {
  Lines chaves = {"AppID",
                  "AppID\\" + kAppId,
                  "AppID\\" + kAppId + " @ = Varmo",
                  "AppID\\Varmo.EXE",
                  "AppID\\Varmo.EXE AppID = " + kAppId,
                  "CLSID"};
  for (const ClasseVarmo& c : kClassesVarmo) {
    const std::string nome = c.nome, clsid = c.textoClsid, descricao = nome + " Class";
    const std::string chave = "CLSID\\" + clsid, versao = "Varmo." + nome + ".1",
                      independente = "Varmo." + nome;
    Lines daClasse = {chave,
                      chave + " @ = " + descricao,
                      chave + " AppID = " + kAppId,
                      chave + "\\LocalServer32",
                      chave + "\\LocalServer32 @ = " + modulo,
                      chave + "\\ProgID",
                      chave + "\\ProgID @ = " + versao,
                      chave + "\\TypeLib",
                      chave + "\\TypeLib @ = " + kLibId,
                      chave + "\\VersionIndependentProgID",
                      chave + "\\VersionIndependentProgID @ = " + independente,
                      independente,
                      independente + " @ = " + descricao,
                      independente + "\\CLSID",
                      independente + "\\CLSID @ = " + clsid,
                      independente + "\\CurVer",
                      independente + "\\CurVer @ = " + versao,
                      versao,
                      versao + " @ = " + descricao,
                      versao + "\\CLSID",
                      versao + "\\CLSID @ = " + clsid};
    chaves.insert(chaves.end(), daClasse.begin(), daClasse.end());
  }
  const std::string biblioteca = "TypeLib\\" + kLibId;
  Lines tipos = {"TypeLib",
                 biblioteca,
                 biblioteca + "\\1.0",
                 biblioteca + "\\1.0 @ = Varmo 1.0 Type Library",
                 biblioteca + "\\1.0\\409",
                 biblioteca + "\\1.0\\409\\win32",
                 biblioteca + "\\1.0\\409\\win32 @ = " + modulo,
                 biblioteca + "\\1.0\\FLAGS",
                 biblioteca + "\\1.0\\FLAGS @ = 0",
                 biblioteca + "\\1.0\\HELPDIR",
                 biblioteca + "\\1.0\\HELPDIR @ = " + diretorio};
  chaves.insert(chaves.end(), tipos.begin(), tipos.end());
  std::sort(chaves.begin(), chaves.end());
  return chaves;
}

Lines Registro() {
  Lines linhas = RegistryContent(HKEY_CLASSES_ROOT, "");
  std::sort(linhas.begin(), linhas.end());
  return linhas;
}

bool Contem(const Lines& linhas, const std::string& linha) {
  return std::find(linhas.begin(), linhas.end(), linha) != linhas.end();
}

void CriaChave(const char* chave) {
  HKEY aberta;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, chave, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &aberta, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(aberta);
}

}  // namespace

TEST(RegistroVarmo, SwitchesCountAfterDashOrSlashOnlyWhenTheyEndTheLine) {
  struct Caso {
    const char* linha;
    PPComandoServidor comando;
  } casos[] = {
      {"\\opt\\qv\\Varmo /RegServer", PPComandoServidor::kRegistra},
      {"\\opt\\qv\\Varmo -regserver", PPComandoServidor::kRegistra},
      {"\\opt\\qv\\Varmo /REGSERVER", PPComandoServidor::kRegistra},
      {"\\opt\\qv\\Varmo -UnregServer", PPComandoServidor::kDesregistra},
      {"\\opt\\qv\\Varmo /unregserver", PPComandoServidor::kDesregistra},
      // a dash earlier in the line is scanned past
      {"\\opt\\qv-2\\Varmo /RegServer", PPComandoServidor::kRegistra},
      {"\\opt\\qv\\Varmo /RegServer /Silent", PPComandoServidor::kExecuta},
      {"\\opt\\qv\\Varmo /RegServer ", PPComandoServidor::kExecuta},
      {"\\opt\\qv\\Varmo RegServer", PPComandoServidor::kExecuta},
      {"\\opt\\qv\\Varmo -Embedding", PPComandoServidor::kExecuta},
      {"\\opt\\qv\\Varmo", PPComandoServidor::kExecuta},
  };
  for (const Caso& caso : casos) EXPECT_EQ(PPComandoLinha(caso.linha), caso.comando) << caso.linha;

  EXPECT_EQ(PPCaminhoPrograma("\\opt\\qv\\Varmo /RegServer"), "\\opt\\qv\\Varmo");
  EXPECT_EQ(PPCaminhoPrograma("\"\\opt\\meu qv\\Varmo\" -Embedding"), "\\opt\\meu qv\\Varmo");
}

TEST(RegistroVarmo, RegistrationWritesTheKeysOfEveryClassAndTheTypeLibrary) {
  for (const char* linha : {"\\opt\\qv\\Varmo /RegServer", "\\opt\\qv\\Varmo -regserver"}) {
    TemporaryRegistry registro;
    EXPECT_EQ(VarmoExecuta(linha), S_OK) << linha;
    const Lines linhas = Registro();
    EXPECT_EQ(linhas, ChavesEsperadas("\\opt\\qv\\Varmo", "\\opt\\qv")) << linha;
    // one class spelled out, so that a slip in the class table shows too
    EXPECT_TRUE(Contem(
        linhas,
        "CLSID\\{FE060C07-D7ED-4A54-9D21-6D399323812B}\\LocalServer32 @ = \\opt\\qv\\Varmo"));
    EXPECT_TRUE(Contem(linhas, "Varmo.QVPP_TipoOP\\CurVer @ = Varmo.QVPP_TipoOP.1"));
    EXPECT_TRUE(
        Contem(linhas, "Varmo.QVPP_TipoOP.1\\CLSID @ = {FE060C07-D7ED-4A54-9D21-6D399323812B}"));
  }
}

TEST(RegistroVarmo, ProgramPathBecomesTheModuleWithItsQuotesAndBlanks) {
  struct Caso {
    std::string linha;
    HRESULT resultado;
    std::string modulo;
  } casos[] = {
      {"\\opt\\d'agua\\Varmo /RegServer", S_OK, "\\opt\\d'agua\\Varmo"},
      {"\"\\opt\\meu qv\\Varmo\" /RegServer", S_OK, "\\opt\\meu qv\\Varmo"},
      {"\\" + std::string(252, 'x') + "\\Varmo /RegServer", S_OK,
       "\\" + std::string(252, 'x') + "\\Varmo"},
      {"\\" + std::string(253, 'x') + "\\Varmo /RegServer", E_OUTOFMEMORY, ""},  // 260 characters
  };
  for (const Caso& caso : casos) {
    TemporaryRegistry registro;
    EXPECT_EQ(VarmoExecuta(caso.linha.c_str()), caso.resultado) << caso.linha;
    const Lines linhas = Registro();
    EXPECT_EQ(Contem(linhas, "CLSID\\{FE060C07-D7ED-4A54-9D21-6D399323812B}\\LocalServer32 @ = " +
                                 caso.modulo),
              caso.resultado == S_OK)
        << caso.linha;
    if (FAILED(caso.resultado)) {  // the AppID script fails the same way, without counting
      EXPECT_EQ(linhas, Lines{}) << caso.linha;
    }
  }
}

TEST(RegistroVarmo, RegistrationStopsAtTheFirstClassThatFailsAndGivesItsError) {
  TemporaryRegistry registro;
  ClasseVarmo semScript = kClassesVarmo[1];
  semScript.script = 106;  // the number that has no script
  const PPClasseServidor classes[] = {
      {&kClassesVarmo[0], nullptr}, {&semScript, nullptr}, {&kClassesVarmo[2], nullptr}};
  CPPModulo& modulo = PPModulo();
  modulo.Inicializa(classes, 3, kPPBibliotecaVarmo);
  EXPECT_EQ(modulo.RegistraServidor("\\opt\\qv\\Varmo"), HRESULT_FROM_WIN32(1814));
  modulo.Termina();

  const Lines linhas = Registro();
  EXPECT_TRUE(Contem(linhas, "AppID\\Varmo.EXE"));
  EXPECT_TRUE(Contem(linhas, "Varmo.QVPP_TipoOP"));
  EXPECT_FALSE(Contem(linhas, "Varmo.QVPP_FluxoProcesso"));
  EXPECT_FALSE(Contem(linhas, "TypeLib"));
}

TEST(RegistroVarmo, UnregistrationLeavesTheAppIdAndClsidKeysAndOthersEntries) {
  TemporaryRegistry registro;
  CriaChave("CLSID\\{00000000-1111-2222-3333-444444444444}\\LocalServer32");
  CriaChave("AppID\\Outro.EXE");
  ASSERT_EQ(VarmoExecuta("\\opt\\qv\\Varmo /RegServer"), S_OK);
  EXPECT_EQ(VarmoExecuta("\\opt\\qv\\Varmo -UnregServer"), S_OK);
  EXPECT_EQ(
      RegistryContent(HKEY_CLASSES_ROOT, ""),
      (Lines{"AppID", "AppID\\Outro.EXE", "CLSID", "CLSID\\{00000000-1111-2222-3333-444444444444}",
             "CLSID\\{00000000-1111-2222-3333-444444444444}\\LocalServer32", "TypeLib"}));
  // nothing left to remove is no failure either
  EXPECT_EQ(VarmoExecuta("\\opt\\qv\\Varmo /UnregServer"), S_OK);
}
