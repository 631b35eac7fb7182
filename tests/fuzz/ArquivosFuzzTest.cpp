// Damaged files for the storage readers: record files, the control file and variable-record files,
// each seeded with files that the engine itself wrote and then cut, garbled or replaced by random
// bytes. Every answer is checked against what the format says these bytes hold: a record present
// reads as its bytes, anything else gets exactly the error of its kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CQVArqControle.h"
#include "foundation/CQVArqDyn.h"
#include "foundation/CQVArqEx.h"
#include "foundation/CQVException.h"
#include "platform/win32/codepage.h"
#include "tests/foundation/DiretorioDados.h"
#include "tests/fuzz/Fuzz.h"

namespace {

constexpr int kArquivosDeRegistros = 400;
constexpr int kArquivosDeControle = 250;
constexpr int kArquivosDinamicos = 400;

constexpr uint32_t kMaiorEntrada = 8192;
const char kDados[] = "FUZZ.DAT";
const char kControle[] = "QVCTLARQ.DAT";
const char kTextos[] = "TEXTOS.DAT";

std::string Resposta(int numero) { return numero == 0 ? "accepted" : std::to_string(numero); }

// A file seed with the record length that it was written with.
struct Semente {
  std::string bytes;
  uint32_t tamanhoRegistro;
};

// --- Record files --------------------------------------------------------------------------------

class ArquivoDeRegistrosFuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    for (uint32_t tamanho : {88u, 32u, 512u, 1u}) sementes.push_back({Escreve(tamanho), tamanho});
  }

  // A data file as the engine writes it: created with its zero header, records appended, one
  // rewritten in place.
  std::string Escreve(uint32_t tamanho) {
    const std::string nome = "SEMENTE" + std::to_string(tamanho) + ".DAT";
    CQVArqEx arquivo;
    EXPECT_EQ(arquivo.Abre(dados.Caminho(nome).c_str(), 'G', tamanho, true, true), 0);
    for (int i = 0; i < 6; ++i) {
      std::string registro(tamanho, '\0');
      for (uint32_t b = 0; b < tamanho; ++b) registro[b] = static_cast<char>('A' + (i * 7 + b) % 26);
      uint32_t numero = 0;
      EXPECT_EQ(arquivo.Grava(registro.data(), &numero), 0);
    }
    uint32_t terceiro = 3;
    EXPECT_EQ(arquivo.Grava(std::string(tamanho, '\x7F').data(), &terceiro), 0);
    arquivo.Fecha();
    return dados.Le(nome);
  }

  std::string Caminho() const { return dados.Caminho(kDados); }

  // Every record present reads as its bytes (a short last record padded with zeros), every record
  // past the end gives 16021, and the byte helpers give the bytes that are there.
  void ConfereLeitura(Fuzz& fuzz, const std::string& bytes, uint32_t tamanhoRegistro) {
    const uint64_t tamanho = bytes.size();
    CQVArqEx arquivo;
    const int abertura = arquivo.Abre(Caminho().c_str(), 'L', tamanhoRegistro, false, true);
    fuzz.Conta("open", Resposta(abertura));
    ASSERT_EQ(abertura, 0) << fuzz.Descreve(bytes);
    EXPECT_EQ(arquivo.GetTamanho(), tamanho) << fuzz.Descreve(bytes);
    // The header is not counted; a file shorter than it holds no records.
    const int32_t registros = static_cast<int32_t>(tamanho / tamanhoRegistro);
    EXPECT_EQ(arquivo.GetQuantidadeRegistros(), registros == 0 ? 0 : registros - 1) << fuzz.Descreve(bytes);

    std::vector<uint32_t> numeros;
    for (uint32_t n = 0; n <= tamanho / tamanhoRegistro + 1 && n < 40; ++n) numeros.push_back(n);
    for (int i = 0; i < 4; ++i) numeros.push_back(fuzz.Numero(static_cast<uint32_t>(tamanho / tamanhoRegistro) + 4));
    numeros.push_back(0xFFFFFFFF);
    auto registro = std::make_unique<char[]>(tamanhoRegistro);
    for (uint32_t n : numeros) {
      const uint64_t deslocamento = static_cast<uint64_t>(n) * tamanhoRegistro;
      const int lido = arquivo.Le(n, registro.get());
      fuzz.Conta("read", Resposta(lido));
      if (deslocamento >= tamanho) {
        EXPECT_EQ(lido, kQVErroFimArquivo) << "record " << n << ", " << fuzz.Descreve(bytes);
        continue;
      }
      std::string esperado = bytes.substr(deslocamento, tamanhoRegistro);
      esperado.resize(tamanhoRegistro, '\0');
      ASSERT_EQ(lido, 0) << "record " << n << ", " << fuzz.Descreve(bytes);
      EXPECT_EQ(std::string(registro.get(), tamanhoRegistro), esperado)
          << "record " << n << ", " << fuzz.Descreve(bytes);
    }

    for (int i = 0; i < 3; ++i) {
      const uint32_t deslocamento = fuzz.Numero(static_cast<uint32_t>(tamanho) + 8);
      const uint32_t quantidade = fuzz.Entre(1, 300);
      // The text helper: the bytes up to the first zero, zeros after them and past the end.
      auto texto = std::make_unique<char[]>(quantidade);
      EXPECT_EQ(arquivo.LeTexto(quantidade, deslocamento, texto.get()), 0) << fuzz.Descreve(bytes);
      std::string esperado = deslocamento < tamanho ? bytes.substr(deslocamento, quantidade) : "";
      esperado = esperado.substr(0, esperado.find('\0'));
      esperado.resize(quantidade, '\0');
      EXPECT_EQ(std::string(texto.get(), quantidade), esperado)
          << "at " << deslocamento << ", " << fuzz.Descreve(bytes);
      // Position and bytes: 16021 at or past the end, and for a read that runs past it.
      uint32_t ignorado = 0;
      const int posicao = arquivo.Posiciona('P', deslocamento, &ignorado);
      fuzz.Conta("position", Resposta(posicao));
      if (deslocamento >= tamanho) {
        EXPECT_EQ(posicao, kQVErroFimArquivo) << fuzz.Descreve(bytes);
        continue;
      }
      ASSERT_EQ(posicao, 0) << fuzz.Descreve(bytes);
      auto lidos = std::make_unique<char[]>(quantidade);
      const int leitura = arquivo.LeBytes(quantidade, lidos.get());
      fuzz.Conta("byte read", Resposta(leitura));
      if (deslocamento + quantidade > tamanho) {
        EXPECT_EQ(leitura, kQVErroFimArquivo) << fuzz.Descreve(bytes);
      } else {
        EXPECT_EQ(leitura, 0) << fuzz.Descreve(bytes);
        EXPECT_EQ(std::string(lidos.get(), quantidade), bytes.substr(deslocamento, quantidade)) << fuzz.Descreve(bytes);
      }
    }
    arquivo.Fecha();

    const HRESULT verificacao = arquivo.VerificaArquivo(Caminho().c_str(), tamanhoRegistro, true);
    fuzz.Conta("length check", Resposta(verificacao & 0xFFFF));
    EXPECT_EQ(verificacao,
              tamanho % tamanhoRegistro == 0 ? 0 : static_cast<HRESULT>(0x80040000u | kQVErroTamanhoArquivo))
        << fuzz.Descreve(bytes);
  }

  // A rewrite in place changes only its record; an append to a file of whole records adds one
  // record after the last and returns its number.
  void ConfereGravacao(Fuzz& fuzz, const std::string& bytes, uint32_t tamanhoRegistro) {
    const uint64_t tamanho = bytes.size();
    const uint32_t registros = static_cast<uint32_t>(tamanho / tamanhoRegistro);
    CQVArqEx arquivo;
    ASSERT_EQ(arquivo.Abre(Caminho().c_str(), 'G', tamanhoRegistro, false, true), 0) << fuzz.Descreve(bytes);
    std::string esperado = bytes;
    const std::string registro = fuzz.Aleatorios(tamanhoRegistro);
    if (registros >= 2) {
      uint32_t numero = fuzz.Entre(1, registros - 1);
      const uint32_t pedido = numero;
      ASSERT_EQ(arquivo.Grava(registro.data(), &numero), 0) << fuzz.Descreve(bytes);
      EXPECT_EQ(numero, pedido) << fuzz.Descreve(bytes);
      esperado.replace(static_cast<size_t>(numero) * tamanhoRegistro, tamanhoRegistro, registro);
      fuzz.Conta("write", "rewritten");
    }
    // Appends after a torn or empty end are left to the test below.
    if (tamanho > 0 && tamanho % tamanhoRegistro == 0) {
      uint32_t numero = 0;
      ASSERT_EQ(arquivo.Grava(registro.data(), &numero), 0) << fuzz.Descreve(bytes);
      EXPECT_EQ(numero, registros) << fuzz.Descreve(bytes);
      esperado += registro;
      fuzz.Conta("write", "appended");
    }
    arquivo.Fecha();
    EXPECT_EQ(dados.Le(kDados), esperado) << fuzz.Descreve(bytes);
  }

  DiretorioDados dados;
  std::vector<Semente> sementes;
};

TEST_F(ArquivoDeRegistrosFuzz, DamagedRecordFilesReadAsTheirBytesOrGive16021) {
  Fuzz fuzz("CQVArqEx");
  for (int i = 0; i < kArquivosDeRegistros && !HasFailure(); ++i) {
    const Semente& semente = fuzz.Escolhe(sementes);
    const std::string bytes = fuzz.Entrada({semente.bytes}, {}, kMaiorEntrada);
    // Mostly the length the file was written with; sometimes another, as a caller that has it wrong.
    const uint32_t tamanhoRegistro = fuzz.Chance(4) ? fuzz.Entre(1, 600) : semente.tamanhoRegistro;
    dados.Escreve(kDados, bytes);
    ConfereLeitura(fuzz, bytes, tamanhoRegistro);
    // An empty file is given its header by an open for writing; that is the test below.
    if (!HasFailure() && !bytes.empty()) ConfereGravacao(fuzz, bytes, tamanhoRegistro);
  }
}

// An append to a file whose end is torn (a length that is not a whole number of records) or that
// is empty must return a number that reads back the record written, and leave every complete record
// as it was. The engine appends at the unaligned end and into record 0 of an empty file; that is
// being mended in the engine itself, and this test is to be enabled with the mend.
TEST_F(ArquivoDeRegistrosFuzz, AppendAfterATornOrEmptyEndReadsBackTheRecord) {
  Fuzz fuzz("CQVArqEx torn append");
  for (int i = 0; i < kArquivosDeRegistros && !HasFailure(); ++i) {
    const Semente& semente = fuzz.Escolhe(sementes);
    const uint32_t tamanhoRegistro = semente.tamanhoRegistro;
    const std::string bytes = fuzz.Entrada({semente.bytes}, {}, kMaiorEntrada);
    dados.Escreve(kDados, bytes);
    fuzz.Conta("end", bytes.empty() ? "empty" : bytes.size() % tamanhoRegistro ? "torn" : "whole records");
    CQVArqEx arquivo;
    ASSERT_EQ(arquivo.Abre(Caminho().c_str(), 'G', tamanhoRegistro, false, true), 0) << fuzz.Descreve(bytes);
    const std::string registro = fuzz.Aleatorios(tamanhoRegistro);
    uint32_t numero = 0;
    ASSERT_EQ(arquivo.Grava(registro.data(), &numero), 0) << fuzz.Descreve(bytes);
    auto lido = std::make_unique<char[]>(tamanhoRegistro);
    arquivo.InvalidaCache();
    EXPECT_NE(numero, 0u) << fuzz.Descreve(bytes);
    EXPECT_EQ(arquivo.Le(numero, lido.get()), 0) << fuzz.Descreve(bytes);
    EXPECT_EQ(std::string(lido.get(), tamanhoRegistro), registro) << fuzz.Descreve(bytes);
    arquivo.Fecha();
    const size_t completos = bytes.size() / tamanhoRegistro * tamanhoRegistro;
    EXPECT_EQ(dados.Le(kDados).substr(0, completos), bytes.substr(0, completos)) << fuzz.Descreve(bytes);
  }
}

// --- The control file ----------------------------------------------------------------------------

// The name as the control file keeps it: 32 bytes, zero-padded, cut without terminator.
std::string NomeNoControle(const std::string& nome) {
  std::string registro = nome.substr(0, CQVArqControle::kTamanhoNome);
  registro.resize(CQVArqControle::kTamanhoNome, '\0');
  return registro;
}

// Whether a record of the control file, read from record 0 on (a short last one padded with zeros
// as the engine reads it), holds the name.
bool Listado(const std::string& controle, const std::string& nome) {
  for (size_t inicio = 0; inicio < controle.size(); inicio += CQVArqControle::kTamanhoNome) {
    std::string registro = controle.substr(inicio, CQVArqControle::kTamanhoNome);
    registro.resize(CQVArqControle::kTamanhoNome, '\0');
    if (registro == NomeNoControle(nome)) return true;
  }
  return false;
}

class ArquivoDeControleFuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& nome : nomes) {
      CQVArqEx arquivo;
      EXPECT_EQ(arquivo.Abre(dados.Caminho(nome).c_str(), 'G', kTamanhoRegistro, true, true), 0);
      arquivo.Fecha();
      std::filesystem::remove(dados.Linux(nome));
    }
    semente = dados.Le(kControle);
  }

  static constexpr uint32_t kTamanhoRegistro = 64;
  DiretorioDados dados;
  // Names that the engine listed, one of 32 characters or more among them, and one it never saw.
  const std::vector<std::string> nomes = {"PPOPPCAB.DAT", "PPMESTRE.DAT", "PPSECAO.DAT",
                                          "PPARQUIVOCOMNOMEDEMAISDETRINTAEDOIS.DAT"};
  const std::string novo = "PPNOVO.DAT";
  std::string semente;
};

// Creating a missing data file through a damaged control file: a name that some record holds is
// refused with 16055 and nothing is made; any other name is made with its zero header and appended
// after the last (possibly torn) record, every byte before it kept.
TEST_F(ArquivoDeControleFuzz, DamagedControlFileRefusesListedNamesAndListsNewOnesAfterItsEnd) {
  Fuzz fuzz("CQVArqControle");
  for (int i = 0; i < kArquivosDeControle && !HasFailure(); ++i) {
    const bool existe = !fuzz.Chance(20);
    std::string controle = fuzz.Entrada({semente}, {NomeNoControle(novo)}, kMaiorEntrada);
    if (!existe) controle.clear();
    const std::string nome = fuzz.Chance(3) ? novo : fuzz.Escolhe(nomes);
    if (existe)
      dados.Escreve(kControle, controle);
    else
      std::filesystem::remove(dados.Linux(kControle));

    CQVArqEx arquivo;
    const int resultado = arquivo.Abre(dados.Caminho(nome).c_str(), 'G', kTamanhoRegistro, true, true);
    arquivo.Fecha();
    fuzz.Conta("create", Resposta(resultado));
    if (Listado(controle, nome)) {
      EXPECT_EQ(resultado, kQVErroArquivoInexistente) << nome << ", " << fuzz.Descreve(controle);
      EXPECT_FALSE(dados.Existe(nome)) << fuzz.Descreve(controle);
      EXPECT_EQ(dados.Le(kControle), controle) << fuzz.Descreve(controle);
      continue;
    }
    EXPECT_EQ(resultado, 0) << nome << ", " << fuzz.Descreve(controle);
    EXPECT_EQ(dados.Le(nome), std::string(kTamanhoRegistro, '\0')) << fuzz.Descreve(controle);
    // A control file that is missing or empty first gets its zero record 0.
    std::string esperado = controle.empty() ? std::string(CQVArqControle::kTamanhoNome, '\0') : controle;
    esperado.resize((esperado.size() + CQVArqControle::kTamanhoNome - 1) / CQVArqControle::kTamanhoNome *
                        CQVArqControle::kTamanhoNome,
                    '\0');
    EXPECT_EQ(dados.Le(kControle), esperado + NomeNoControle(nome)) << nome << ", " << fuzz.Descreve(controle);
    std::filesystem::remove(dados.Linux(nome));
  }
}

// --- Variable-record files -----------------------------------------------------------------------

constexpr UINT kCria = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr UINT kGrava = CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr UINT kLe = CFile::modeRead | CFile::shareDenyNone;

std::string Comprimento(size_t n) { return {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF)}; }

uint32_t ComprimentoEm(const std::string& bytes, uint32_t ponteiro) {
  return static_cast<uint8_t>(bytes[ponteiro]) | static_cast<uint8_t>(bytes[ponteiro + 1]) << 8;
}

// An answer of the reader: "accepted" with the record's bytes, or the error.
struct Leitura {
  std::string resposta;
  std::string registro;
  bool operator==(const Leitura&) const = default;
};

std::ostream& operator<<(std::ostream& saida, const Leitura& leitura) {
  return saida << leitura.resposta << " (" << leitura.registro.size() << " bytes)";
}

// What the format says that a read at `ponteiro` into `tamanhoBuffer` bytes gives.
Leitura LeituraEsperada(const std::string& bytes, uint32_t ponteiro, uint32_t tamanhoBuffer) {
  if (ponteiro < 2 || ponteiro >= bytes.size()) return {"invalid pointer", ""};
  if (ponteiro + 2ull > bytes.size()) return {"end of file", ""};
  const uint32_t tamanho = ComprimentoEm(bytes, ponteiro);
  if (tamanho > tamanhoBuffer) return {"read failure", ""};
  if (ponteiro + 2ull + tamanho > bytes.size()) return {"end of file", ""};
  return {"accepted", bytes.substr(ponteiro + 2, tamanho)};
}

// The reader's answer; an unexpected exception gives its own answer, which no expectation names.
template <typename Operacao>
std::string RespostaDe(Operacao operacao) {
  try {
    operacao();
    return "accepted";
  } catch (const CQVException& erro) {
    const std::string texto = Utf8FromAnsi(erro.GetTexto().str());
    if (texto == "O ponteiro para o registro não é válido") return "invalid pointer";
    if (texto == "Falha ao ler arquivo") return "read failure";
    return "CQVException " + texto;
  } catch (const CFileException& erro) {
    if (erro.m_cause == CFileException::endOfFile) return "end of file";
    if (erro.m_cause == CFileException::invalidFile) return "invalid file";
    return "CFileException " + std::to_string(erro.m_cause);
  }
}

Leitura Le(CQVArqDyn& arquivo, uint32_t ponteiro, uint32_t tamanhoBuffer) {
  auto buffer = std::make_unique<char[]>(tamanhoBuffer);  // exactly its size, so that an overrun shows
  uint32_t lidos = 0;
  const std::string resposta = RespostaDe([&] { lidos = arquivo.Le(ponteiro, buffer.get(), tamanhoBuffer); });
  return {resposta, resposta == "accepted" ? std::string(buffer.get(), lidos) : ""};
}

class ArquivoDinamicoFuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    CQVArqDyn arquivo(Caminho().c_str(), kCria);
    std::vector<uint32_t> ponteiros;
    for (const std::string& texto : {std::string(), std::string("Observa\xE7\xE3o do processo"), std::string(300, 'x'),
                                     std::string("\0\x01QV\xFF", 5), std::string("curta")}) {
      uint32_t ponteiro = 0;
      arquivo.Grava(&ponteiro, texto.data(), static_cast<uint32_t>(texto.size()));
      ponteiros.push_back(ponteiro);
    }
    arquivo.Grava(&ponteiros[2], "reescrita no lugar", 18);
    arquivo.Grava(&ponteiros[4], "longa demais para o lugar", 25);
    arquivo.Fecha();
    semente = dados.Le(kTextos);
  }

  std::string Caminho() const { return dados.Caminho(kTextos); }

  // Opens for reading: an empty file or one with the signature is taken, any other is refused as
  // invalid and left as it is.
  bool ConfereAbertura(Fuzz& fuzz, const std::string& bytes) {
    const bool valido = bytes.empty() || bytes.starts_with("QV");
    const std::string resposta = RespostaDe([&] { CQVArqDyn(Caminho().c_str(), kLe); });
    fuzz.Conta("open", resposta);
    EXPECT_EQ(resposta, valido ? "accepted" : "invalid file") << fuzz.Descreve(bytes);
    EXPECT_EQ(dados.Le(kTextos), bytes) << fuzz.Descreve(bytes);
    return valido;
  }

  // Walks the records from the first, then reads at random pointers into random buffers.
  void ConfereLeitura(Fuzz& fuzz, const std::string& bytes) {
    CQVArqDyn arquivo(Caminho().c_str(), kLe);
    uint32_t ponteiro = 2;
    for (int i = 0; i < 64 && ponteiro < bytes.size(); ++i) {
      const Leitura esperada = LeituraEsperada(bytes, ponteiro, CQVArqDyn::kMaiorRegistro);
      const Leitura obtida = Le(arquivo, ponteiro, CQVArqDyn::kMaiorRegistro);
      fuzz.Conta("read", obtida.resposta);
      ASSERT_EQ(obtida, esperada) << "at " << ponteiro << ", " << fuzz.Descreve(bytes);
      if (obtida.resposta != "accepted") break;
      ponteiro += 2 + static_cast<uint32_t>(obtida.registro.size());
    }
    const uint32_t tamanho = static_cast<uint32_t>(bytes.size());
    for (uint32_t ponteiroQualquer : {0u, 1u, tamanho, tamanho + 1, 0xFFFFFFFFu, fuzz.Numero(tamanho + 4),
                                      fuzz.Numero(tamanho + 4), fuzz.Numero(tamanho + 4)}) {
      const uint32_t tamanhoBuffer = fuzz.Chance(2) ? fuzz.Numero(400) : CQVArqDyn::kMaiorRegistro;
      const Leitura obtida = Le(arquivo, ponteiroQualquer, tamanhoBuffer);
      fuzz.Conta("read", obtida.resposta);
      EXPECT_EQ(obtida, LeituraEsperada(bytes, ponteiroQualquer, tamanhoBuffer))
          << "at " << ponteiroQualquer << " into " << tamanhoBuffer << ", " << fuzz.Descreve(bytes);
    }
  }

  // Rewrites at a random pointer: in place when the length found there is at least the new one,
  // else appended at the end; a pointer whose length field is cut gives the end of the file. The
  // record then reads back.
  void ConfereGravacao(Fuzz& fuzz, const std::string& bytes) {
    CQVArqDyn arquivo(Caminho().c_str(), kGrava);
    std::string esperado = bytes.empty() ? "QV" : bytes;  // opened for writing, an empty file is signed
    const std::string registro = fuzz.Aleatorios(fuzz.Numero(80));
    uint32_t ponteiro = esperado.size() > 2 ? fuzz.Entre(2, static_cast<uint32_t>(esperado.size()) - 1) : 0;
    const uint32_t pedido = ponteiro;
    const std::string resposta =
        RespostaDe([&] { arquivo.Grava(&ponteiro, registro.data(), static_cast<uint32_t>(registro.size())); });
    if (pedido != 0 && pedido + 2ull > esperado.size()) {
      fuzz.Conta("rewrite", resposta);
      EXPECT_EQ(resposta, "end of file") << fuzz.Descreve(bytes);
      return;
    }
    ASSERT_EQ(resposta, "accepted") << "at " << pedido << ", " << fuzz.Descreve(bytes);
    const bool noLugar = pedido != 0 && ComprimentoEm(esperado, pedido) >= registro.size();
    fuzz.Conta("rewrite", noLugar ? "in place" : "appended");
    const uint32_t onde = noLugar ? pedido : static_cast<uint32_t>(esperado.size());
    EXPECT_EQ(ponteiro, onde) << fuzz.Descreve(bytes);
    const std::string gravado = Comprimento(registro.size()) + registro;
    if (esperado.size() < onde + gravado.size()) esperado.resize(onde + gravado.size());
    esperado.replace(onde, gravado.size(), gravado);
    EXPECT_EQ(Le(arquivo, ponteiro, CQVArqDyn::kMaiorRegistro), (Leitura{"accepted", registro}))
        << fuzz.Descreve(bytes);
    arquivo.Fecha();
    EXPECT_EQ(dados.Le(kTextos), esperado) << fuzz.Descreve(bytes);
  }

  DiretorioDados dados;
  std::string semente;
};

TEST_F(ArquivoDinamicoFuzz, DamagedVariableRecordFilesReadAsTheirRecordsOrThrowTheirError) {
  Fuzz fuzz("CQVArqDyn");
  const std::vector<std::string> dicionario = {"QV", Comprimento(0), Comprimento(0xFFFF), Comprimento(1)};
  for (int i = 0; i < kArquivosDinamicos && !HasFailure(); ++i) {
    const std::string bytes = fuzz.Entrada({semente}, dicionario, kMaiorEntrada);
    dados.Escreve(kTextos, bytes);
    if (!ConfereAbertura(fuzz, bytes)) continue;
    ConfereLeitura(fuzz, bytes);
    if (!HasFailure()) ConfereGravacao(fuzz, bytes);
  }
}

}  // namespace
