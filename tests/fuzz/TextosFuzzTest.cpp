// Damaged text files for their readers: the registry file and the message catalogue, each seeded
// with a real one (a registry that the registry wrote, the module's own catalogue) and then cut,
// garbled or replaced by random bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/CQVMensagem.h"
#include "foundation/QVSistema.h"
#include "platform/win32/messagebox.h"
#include "platform/win32/registry.h"
#include "platform/win32/registry_text.h"
#include "tests/fuzz/Fuzz.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr int kRegistros = 3000;
constexpr int kRegistrosPelaInterface = 300;
constexpr int kCatalogos = 600;

constexpr size_t kMaiorEntrada = 16384;
const char kChaveInstalacao[] = "SOFTWARE\\QV Rivovoda";

// --- The registry file ---------------------------------------------------------------------------

class RegistroFuzz : public ::testing::Test {
 protected:
  // A registry file as the registry writes it, with every type of value, the escapes of strings,
  // a default value and a key without values.
  void SetUp() override {
    const std::string chave = std::string(kChaveInstalacao) + "\\Fuzz";
    instalacao.GravaValor(chave, "Texto", "aspas \" barra \\ linha\nretorno\r fim \xE7\xE3o");
    instalacao.GravaValor(chave, "", "valor padr\xE3o");
    HKEY aberta = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, chave.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &aberta,
                              nullptr),
              ERROR_SUCCESS);
    const DWORD numero = 0x2A;
    const BYTE binario[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
    const char expansivel[] = "%HOME%\\qv";
    EXPECT_EQ(RegSetValueExA(aberta, "Numero", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&numero), 4), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(aberta, "Binario", 0, REG_BINARY, binario, sizeof binario), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(aberta, "Caminho", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expansivel),
                             sizeof expansivel),
              ERROR_SUCCESS);
    RegCloseKey(aberta);
    HKEY vazia = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vazia", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &vazia,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(vazia);
    // The temporary directory's name, which differs from run to run, made a fixed one, so that a
    // seed's inputs are the same in every run.
    semente = instalacao.dir().Read("registry.reg");
    std::string diretorio;
    for (char ch : instalacao.dir().windows_path()) diretorio += ch == '\\' ? "\\\\" : std::string(1, ch);
    for (size_t onde; (onde = semente.find(diretorio)) != std::string::npos;)
      semente.replace(onde, diretorio.size(), "\\\\srv\\\\qv\\\\");
  }

  // Replaces the registry file as a writer does, so that the registry sees a new file.
  void Substitui(const std::string& texto) const {
    const std::string caminho = instalacao.dir().path() + "/registry.reg";
    instalacao.dir().Write("registry.reg.novo", texto);
    std::filesystem::rename(caminho + ".novo", caminho);
  }

  Instalacao instalacao;
  std::string semente;
  const std::vector<std::string> dicionario = {
      "[HKEY_LOCAL_MACHINE\\", "[HKEY_CURRENT_USER]", "[HKEY_CLASSES_ROOT\\a\\b]", "]\n", "\"=\"", "\"Nome\"=",
      "@=", "dword:", "hex:", "hex(2):", "\\\\", "\\\"", "\\n", "\\r", "\n", "\r\n", "; nota\n", "REGEDIT4\n",
      "Windows Registry Editor Version 5.00\n", ",ff", "00", "\"", "\\"};
};

// A text is taken or refused whole; a taken one is written back as a text that reads as the same
// tree, so that whatever the registry accepts it also keeps. Returns whether it was taken.
bool ConfereTextoDoRegistro(Fuzz& fuzz, const std::string& texto) {
  RegistryTree arvore;
  const bool aceito = ParseRegistryText(texto, arvore);
  fuzz.Conta("parse", aceito ? "accepted" : "refused (ERROR_REGISTRY_CORRUPT)");
  if (!aceito) return false;
  const std::string escrito = RegistryText(arvore);
  RegistryTree relida;
  EXPECT_TRUE(ParseRegistryText(escrito, relida)) << fuzz.Descreve(texto);
  EXPECT_EQ(RegistryText(relida), escrito) << fuzz.Descreve(texto);
  return true;
}

// A registry of one key `niveis` levels below HKEY_LOCAL_MACHINE.
std::string ChaveProfunda(int niveis) {
  std::string texto = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE";
  for (int i = 0; i < niveis; ++i) texto += "\\k";
  return texto + "]\n";
}

TEST_F(RegistroFuzz, DamagedRegistryTextIsRefusedWholeOrWrittenBackAsTheSameTree) {
  Fuzz fuzz("registry text");
  // Found faults first: a key deeper than Windows keeps them was taken, and 50,000 levels made the
  // next writer of the registry run out of memory.
  const struct {
    std::string texto;
    bool aceito;
  } casos[] = {{ChaveProfunda(512), true}, {ChaveProfunda(513), false}, {ChaveProfunda(50000), false}};
  for (const auto& caso : casos) {
    fuzz.NovaEntrada();
    EXPECT_EQ(ConfereTextoDoRegistro(fuzz, caso.texto), caso.aceito) << caso.texto.size() << " bytes";
  }
  for (int i = 0; i < kRegistros && !HasFailure(); ++i)
    ConfereTextoDoRegistro(fuzz, fuzz.Entrada({semente}, dicionario, kMaiorEntrada));
}

// Through the registry's calls: a damaged file gives ERROR_REGISTRY_CORRUPT, any other file the
// value that its text holds (or no value).
TEST_F(RegistroFuzz, DamagedRegistryFileGivesRegistryCorruptOrItsValues) {
  Fuzz fuzz("registry file");
  for (int i = 0; i < kRegistrosPelaInterface && !HasFailure(); ++i) {
    const std::string texto = fuzz.Entrada({semente}, dicionario, kMaiorEntrada);
    RegistryTree arvore;
    const bool aceito = ParseRegistryText(texto, arvore);
    RegistryKey* chave = arvore.roots[2].Subkey("SOFTWARE");
    chave = chave ? chave->Subkey("QV Rivovoda") : nullptr;
    const RegistryValue* esperado = chave ? chave->Value("Mensagens") : nullptr;
    Substitui(texto);

    HKEY aberta = nullptr;
    LONG resultado = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChaveInstalacao, 0, KEY_READ, &aberta);
    char dados[1024] = {};
    DWORD tipo = REG_NONE, tamanho = sizeof dados;
    if (resultado == ERROR_SUCCESS) {
      resultado = RegQueryValueExA(aberta, "Mensagens", nullptr, &tipo, reinterpret_cast<BYTE*>(dados), &tamanho);
      RegCloseKey(aberta);
    }
    fuzz.Conta("query", std::to_string(resultado));
    if (!aceito) {
      EXPECT_EQ(resultado, static_cast<LONG>(ERROR_REGISTRY_CORRUPT)) << fuzz.Descreve(texto);
    } else if (!esperado) {
      EXPECT_EQ(resultado, static_cast<LONG>(ERROR_FILE_NOT_FOUND)) << fuzz.Descreve(texto);
    } else if (esperado->data.size() <= sizeof dados) {
      ASSERT_EQ(resultado, static_cast<LONG>(ERROR_SUCCESS)) << fuzz.Descreve(texto);
      EXPECT_EQ(tipo, esperado->type) << fuzz.Descreve(texto);
      EXPECT_EQ(std::string(dados, tamanho), esperado->data) << fuzz.Descreve(texto);
    }
  }
}

// --- The message catalogue -----------------------------------------------------------------------

// What the catalogue's format gives for a number: the first line whose leading number (after
// optional blanks) is that number, a line of more than 1023 characters going on as the next line;
// its text from the ninth character, each backslash-n a line break, without the line's own ending.
std::string MensagemEsperada(const std::string& catalogo, int numero) {
  constexpr size_t kMaximoLinha = 1023;
  size_t inicio = 0;
  while (inicio < catalogo.size()) {
    const size_t fimDaLinha = catalogo.find('\n', inicio);
    const size_t fim = std::min({fimDaLinha == std::string::npos ? catalogo.size() : fimDaLinha + 1,
                                 inicio + kMaximoLinha});
    std::string linha = catalogo.substr(inicio, fim - inicio);
    inicio = fim;
    if (static_cast<int>(strtol(linha.c_str(), nullptr, 10)) != numero) continue;
    if (linha.ends_with('\n')) linha.pop_back();
    if (linha.ends_with('\r')) linha.pop_back();
    std::string texto;
    for (size_t i = 8; i < linha.size(); ++i) {
      const bool quebra = linha.compare(i, 2, "\\n") == 0;
      texto += quebra ? '\n' : linha[i];
      i += quebra;
    }
    return texto;
  }
  return "";
}

std::string LeArquivo(const char* caminho) {
  std::ifstream entrada(caminho, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(entrada), {});
}

TEST(CatalogoFuzz, DamagedCatalogueGivesTheTextOfTheFirstLineOfTheNumberOrNone) {
  Instalacao instalacao;
  const std::string real = LeArquivo(QV_CATALOGO_PATH);
  ASSERT_FALSE(real.empty());
  std::vector<int> numeros;
  for (size_t inicio = 0; inicio < real.size();) {
    numeros.push_back(atoi(real.c_str() + inicio));
    const size_t fim = real.find('\n', inicio);
    inicio = fim == std::string::npos ? real.size() : fim + 1;
  }
  const std::vector<std::string> dicionario = {"\\n", "\r\n", "\n", "00016021", "        ", "\\", "-1 ", "+16021",
                                               std::string(1100, 'x')};
  Fuzz fuzz("CQVMensagem");
  for (int i = 0; i < kCatalogos && !HasFailure(); ++i) {
    const std::string catalogo = fuzz.Entrada({real}, dicionario, kMaiorEntrada);
    if (fuzz.Chance(50)) {  // no catalogue at all: one box, no text
      std::filesystem::remove(instalacao.dir().path() + "/mensagens/QVPPMens.txt");
      MessageBoxCapture caixas;
      EXPECT_STREQ(QVLeMensagem(fuzz.Escolhe(numeros), kQVSistemaPP), "");
      EXPECT_EQ(caixas.boxes().size(), 1u);
      fuzz.Conta("lookup", "no catalogue (box)");
      continue;
    }
    instalacao.GravaCatalogo(catalogo);
    const size_t linha = catalogo.rfind('\n', fuzz.Numero(static_cast<uint32_t>(catalogo.size()) + 1));
    const std::vector<int> procurados = {fuzz.Escolhe(numeros), fuzz.Escolhe(numeros), fuzz.Escolhe(numeros),
                                         atoi(catalogo.c_str() + (linha == std::string::npos ? 0 : linha + 1)),
                                         static_cast<int>(fuzz.Numero(0xFFFFFFFF))};
    for (int numero : procurados) {
      const std::string texto = QVLeMensagem(numero, kQVSistemaPP).str();
      fuzz.Conta("lookup", texto.empty() ? "no text" : "text");
      EXPECT_EQ(texto, MensagemEsperada(catalogo, numero)) << numero << ", " << fuzz.Descreve(catalogo);
    }
  }
}

}  // namespace
