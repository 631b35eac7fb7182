#include "foundation/CQVArqEx.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/win32/clock.h"
#include "platform/win32/file.h"
#include "tests/foundation/DiretorioDados.h"

namespace {

// Counts the engine's physical operations, makes the open, the write, the seek or the close fail
// with a chosen cause a number of times, and can pretend that the file is as long as
// `comprimentoFingido`.
class ArquivoEspiao : public CQVArqEx {
 public:
  struct Falha {
    int causa = CFileException::none;
    int vezes = 0;
  };

  BOOL Open(const char* nome, UINT flags, CFileException* erro) override {
    ++aberturas;
    if (Dispara(falhaAbertura)) {
      if (erro) *erro = CFileException(falhaAbertura.causa, -1, nome);
      return FALSE;
    }
    return CQVArqEx::Open(nome, flags, erro);
  }
  UINT Read(void* buffer, UINT quantidade) override {
    ++leituras;
    return CQVArqEx::Read(buffer, quantidade);
  }
  void Write(const void* dados, UINT quantidade) override {
    ++escritas;
    if (Dispara(falhaEscrita)) CFileException::Throw(falhaEscrita.causa);
    CQVArqEx::Write(dados, quantidade);
  }
  ULONGLONG GetLength() const override { return comprimentoFingido ? comprimentoFingido : CQVArqEx::GetLength(); }
  ULONGLONG Seek(LONGLONG deslocamento, UINT origem) override {
    if (Dispara(falhaPosicao)) CFileException::Throw(falhaPosicao.causa);
    if (comprimentoFingido && origem == end) return comprimentoFingido;
    return CQVArqEx::Seek(deslocamento, origem);
  }
  void Close() override {
    CQVArqEx::Close();
    if (Dispara(falhaFechamento)) CFileException::Throw(falhaFechamento.causa);
  }

  int aberturas = 0, leituras = 0, escritas = 0;
  Falha falhaAbertura, falhaEscrita, falhaPosicao, falhaFechamento;
  ULONGLONG comprimentoFingido = 0;

 private:
  static bool Dispara(Falha& falha) {
    if (falha.vezes == 0) return false;
    --falha.vezes;
    return true;
  }
};

class CQVArqExTest : public ::testing::Test {
 protected:
  // The byte that fills record n of the files of CriaArquivo: the header is zero.
  static char ByteDo(uint32_t n) { return n == 0 ? 0 : static_cast<char>('a' + n % 26); }
  // A file of `quantidade` records of L bytes after a zero header.
  std::string CriaArquivo(const std::string& nome, uint32_t tamanho, uint32_t quantidade) {
    std::string bytes;
    for (uint32_t n = 0; n <= quantidade; ++n) bytes += Registro(tamanho, ByteDo(n));
    dados.Escreve(nome, bytes);
    return dados.Caminho(nome);
  }
  static std::string Lido(CQVArqEx& arquivo, uint32_t registro, int* resultado = nullptr) {
    std::string buffer(arquivo.GetTamanhoRegistro(), '?');
    const int lido = arquivo.Le(registro, buffer.data());
    if (resultado) *resultado = lido;
    return buffer;
  }

  DiretorioDados dados;
};

TEST_F(CQVArqExTest, MissingFileIsCreatedWithOneZeroRecordAndAppendsNumberFromOne) {
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(dados.Caminho("NOVO.DAT").c_str(), 'G', 16, true, false), 0);
  EXPECT_EQ(dados.Le("NOVO.DAT"), Registro(16, 0));
  const std::string um = Registro(16, '1'), dois = Registro(16, '2');
  uint32_t primeiro = 0, segundo = 0;
  EXPECT_EQ(arquivo.Grava(um.data(), &primeiro), 0);
  EXPECT_EQ(arquivo.Grava(dois.data(), &segundo), 0);
  EXPECT_EQ(primeiro, 1u);
  EXPECT_EQ(segundo, 2u);
  EXPECT_EQ(arquivo.GetQuantidadeRegistros(), 2);
  EXPECT_EQ(dados.Le("NOVO.DAT"), Registro(16, 0) + um + dois);
  EXPECT_EQ(Lido(arquivo, 2), dois);

  // The one-shot helpers open, act and close.
  EXPECT_EQ(arquivo.Fecha(), 0);
  uint32_t terceiro = 0;
  CQVArqEx avulso;
  EXPECT_EQ(avulso.GravaRegistro(dados.Caminho("NOVO.DAT").c_str(), um.data(), 16, &terceiro, false), 0);
  EXPECT_EQ(terceiro, 3u);
  std::string lido(16, '?');
  EXPECT_EQ(avulso.LeRegistro(dados.Caminho("NOVO.DAT").c_str(), 2, lido.data(), 16), 0);
  EXPECT_EQ(lido, dois);
  EXPECT_FALSE(avulso.EstaAberto());
}

TEST_F(CQVArqExTest, ModeCCreatesAnEmptyFileWhereAnAppendIsRecordZero) {
  const std::string nome = CriaArquivo("CRIADO.DAT", 8, 3);
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'C', 8, false, false), 0);
  EXPECT_EQ(dados.Le("CRIADO.DAT"), "");
  const std::string cabecalho = Registro(8, 'H');
  uint32_t numero = 0;
  EXPECT_EQ(arquivo.Grava(cabecalho.data(), &numero), 0);
  EXPECT_EQ(numero, 0u);
  EXPECT_EQ(dados.Le("CRIADO.DAT"), cabecalho);
}

// What a creator killed between making a file and writing its header leaves. An append there would
// land in record 0, the header, and be numbered 0.
TEST_F(CQVArqExTest, EmptyFileHasNoRecordsForReadersAndGetsItsHeaderAtTheOpenForWriting) {
  dados.Escreve("VAZIO.DAT", "");
  const std::string nome = dados.Caminho("VAZIO.DAT");
  CQVArqEx leitura;
  ASSERT_EQ(leitura.Abre(nome.c_str(), 'L', 8, true, true), 0);
  EXPECT_EQ(leitura.GetQuantidadeRegistros(), 0);
  int32_t quantidade = -7;
  EXPECT_EQ(QVGetQuantidadeRegistrosArquivo(nome.c_str(), 8, &quantidade), 0);
  EXPECT_EQ(quantidade, 0);
  EXPECT_EQ(dados.Le("VAZIO.DAT"), "");  // a reader writes nothing

  CQVArqEx gravacao;
  ASSERT_EQ(gravacao.Abre(nome.c_str(), 'G', 8, false, true), 0);
  EXPECT_EQ(dados.Le("VAZIO.DAT"), Registro(8, 0));
  const std::string registro = Registro(8, 'r');
  uint32_t numero = 0;
  EXPECT_EQ(gravacao.Grava(registro.data(), &numero), 0);
  EXPECT_EQ(numero, 1u);
  EXPECT_EQ(dados.Le("VAZIO.DAT"), Registro(8, 0) + registro);
  EXPECT_EQ(leitura.GetQuantidadeRegistros(), 1);
}

// Dies at its first write, which is the header of the file it has just made.
class CriadorMorto : public CQVArqEx {
 public:
  void Write(const void*, UINT) override { kill(getpid(), SIGKILL); }
};

TEST_F(CQVArqExTest, FileOfACreatorKilledBeforeItsHeaderIsCompletedAndListedByTheNextWriter) {
  const std::string nome = dados.Caminho("MORTO.DAT");
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    CriadorMorto criador;
    criador.Abre(nome.c_str(), 'G', 8, true, true);
    _exit(0);
  }
  int estado = 0;
  ASSERT_EQ(waitpid(filho, &estado, 0), filho);
  ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL);
  ASSERT_TRUE(dados.Existe("MORTO.DAT"));
  ASSERT_EQ(dados.Le("MORTO.DAT"), "");

  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', 8, true, true), 0);
  const std::string registro = Registro(8, 'r');
  uint32_t numero = 0;
  EXPECT_EQ(arquivo.Grava(registro.data(), &numero), 0);
  EXPECT_EQ(numero, 1u);
  EXPECT_EQ(dados.Le("MORTO.DAT"), Registro(8, 0) + registro);

  // Listed as its creation would have listed it: once gone, it is missing, not made anew.
  ASSERT_EQ(arquivo.Fecha(), 0);
  std::filesystem::remove(dados.Linux("MORTO.DAT"));
  CQVArqEx depois;
  EXPECT_EQ(depois.Abre(nome.c_str(), 'G', 8, true, true), 16055);
}

// An append cut short by a crash leaves a partial last record. The next append must give back a
// number that reads back what it wrote, and no byte already in the file may be overwritten.
TEST_F(CQVArqExTest, AppendAfterATornAppendStartsAtTheNextWholeRecordAndNotesTheFile) {
  const std::string nome = CriaArquivo("RASGADO.DAT", 8, 2);
  const std::string antes = dados.Le("RASGADO.DAT") + "ccc";
  dados.Escreve("RASGADO.DAT", antes);
  CQVArqEx outro;
  ASSERT_EQ(outro.Abre(dados.Caminho("ANTES.DAT").c_str(), 'L', 8, false, true), 16055);
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', 8, false, true), 0);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "ANTES.DAT");

  const std::string registro = Registro(8, 'n'), seguinte = Registro(8, 's');
  uint32_t numero = 0, proximo = 0;
  EXPECT_EQ(arquivo.Grava(registro.data(), &numero), 0);
  EXPECT_EQ(numero, 4u);
  EXPECT_EQ(Lido(arquivo, numero), registro);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "RASGADO.DAT");
  EXPECT_EQ(arquivo.Grava(seguinte.data(), &proximo), 0);
  EXPECT_EQ(proximo, 5u);
  EXPECT_EQ(dados.Le("RASGADO.DAT"), antes + std::string(5, 0) + registro + seguinte);
  EXPECT_EQ(arquivo.GetQuantidadeRegistros(), 5);
}

TEST_F(CQVArqExTest, ReadPastEndGives16021AndNotesTheFile) {
  const std::string nome = CriaArquivo("CURTO.DAT", 8, 3);
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 8, false, true), 0);
  int resultado = 0;
  Lido(arquivo, arquivo.GetQuantidadeRegistros() + 1, &resultado);
  EXPECT_EQ(resultado, 16021);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "CURTO.DAT");
  EXPECT_EQ(dados.NotaErros("Usuario"), "0");
  EXPECT_EQ(Lido(arquivo, 3), Registro(8, ByteDo(3)));
}

TEST_F(CQVArqExTest, RewritesInPlaceAndWritesBeyondTheEndWithZerosBetween) {
  const std::string nome = CriaArquivo("REGRAVA.DAT", 4, 6);
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', 4, false, true), 0);
  uint32_t numero = 5;
  EXPECT_EQ(arquivo.Grava("XXXX", &numero), 0);
  EXPECT_EQ(numero, 5u);
  EXPECT_EQ(arquivo.GetTamanho(), 7u * 4);
  EXPECT_EQ(Lido(arquivo, 5), "XXXX");

  numero = 9;
  EXPECT_EQ(arquivo.Grava("YYYY", &numero), 0);
  EXPECT_EQ(numero, 9u);
  EXPECT_EQ(arquivo.GetQuantidadeRegistros(), 9);
  EXPECT_EQ(Lido(arquivo, 7), Registro(4, 0));
  EXPECT_EQ(Lido(arquivo, 8), Registro(4, 0));
  EXPECT_EQ(Lido(arquivo, 9), "YYYY");
}

TEST_F(CQVArqExTest, WrappedRecordNumbersNeverReachAnotherRecord) {
  // 0x00800001 x 512 is 4 GiB + 512: in 32 bits it would be record 1.
  const uint32_t numeroLongo = 0x00800001;
  const std::string nome = CriaArquivo("LONGE.DAT", 512, 3);
  const std::string antes = dados.Le("LONGE.DAT");
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', 512, false, true), 0);
  int resultado = 0;
  Lido(arquivo, numeroLongo, &resultado);
  EXPECT_EQ(resultado, 16021);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "LONGE.DAT");
  uint32_t numero = numeroLongo;
  const std::string registro = Registro(512, 'Z');
  EXPECT_EQ(arquivo.Grava(registro.data(), &numero), 16021);
  EXPECT_EQ(numero, numeroLongo);
  EXPECT_EQ(dados.Le("LONGE.DAT"), antes);
}

TEST_F(CQVArqExTest, RangesReachingPastFourGigabytesAreBeyondTheEndAndWriteNothing) {
  constexpr uint32_t L = 512;
  constexpr uint32_t kUltimoQueNaoCabe = 0xFFFFFE00u / L;  // offset 0xFFFFFE00 + 512 = 2^32
  const std::string nome = CriaArquivo("ENORME.DAT", L, 1);
  const std::string registro = Registro(L, 'Z');
  ArquivoEspiao arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', L, false, true), 0);
  arquivo.comprimentoFingido = 0xFFFFFF00u;  // the file claims to end 256 bytes below 4 GiB

  int resultado = 0;
  Lido(arquivo, kUltimoQueNaoCabe, &resultado);
  EXPECT_EQ(resultado, 16021);
  uint32_t acrescimo = 0, regravacao = kUltimoQueNaoCabe, bytes = 0;
  EXPECT_EQ(arquivo.Grava(registro.data(), &acrescimo), 16021);
  EXPECT_EQ(arquivo.Grava(registro.data(), &regravacao), 16021);
  EXPECT_EQ(arquivo.GravaBytes(L, registro.data(), &bytes), static_cast<HRESULT>(0x80040000u | 16021));
  EXPECT_EQ(arquivo.escritas, 0);
  EXPECT_EQ(dados.Le("ENORME.DAT").size(), 2u * L);
}

TEST_F(CQVArqExTest, RecordLengthMustBeFrom1To32768) {
  const std::string nome = CriaArquivo("TAMANHO.DAT", 1, 0);
  struct Caso {
    uint32_t tamanho;
    int resultado;
  } casos[] = {{0, 16179}, {32769, 16179}, {70000, 16179}, {1, 0}, {32768, 0}};
  for (const Caso& caso : casos) {
    CQVArqEx arquivo;
    EXPECT_EQ(arquivo.Abre(nome.c_str(), 'L', caso.tamanho, false, true), caso.resultado) << caso.tamanho;
    EXPECT_EQ(arquivo.EstaAberto(), caso.resultado == 0) << caso.tamanho;
  }
}

TEST_F(CQVArqExTest, CacheBlockHoldsFloorOf32768ByLRecords) {
  struct Caso {
    uint32_t tamanho, porBloco;
  } casos[] = {{512, 64}, {88, 372}, {32768, 1}};
  for (const Caso& caso : casos) {
    const std::string nome = CriaArquivo("BLOCO.DAT", caso.tamanho, caso.porBloco + 1);
    ArquivoEspiao arquivo;
    ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', caso.tamanho, false, true), 0);
    for (uint32_t n = 0; n < caso.porBloco; ++n) Lido(arquivo, n);
    EXPECT_EQ(Lido(arquivo, caso.porBloco - 1), Registro(caso.tamanho, ByteDo(caso.porBloco - 1)));
    EXPECT_EQ(arquivo.leituras, 1) << caso.tamanho;
    EXPECT_EQ(Lido(arquivo, caso.porBloco), Registro(caso.tamanho, ByteDo(caso.porBloco)));
    EXPECT_EQ(arquivo.leituras, 2) << caso.tamanho;
  }
}

TEST_F(CQVArqExTest, BlockExpiresWhenOlderThan60000Ms) {
  const std::string nome = CriaArquivo("EXPIRA.DAT", 8, 10);
  struct Caso {
    DWORD idade;
    bool expira;
    bool relido;
  } casos[] = {{60000, true, false}, {60001, true, true}, {600000, false, false}};
  for (const Caso& caso : casos) {
    TestClock relogio;
    ArquivoEspiao arquivo;
    arquivo.SetExpiraCache(caso.expira);
    ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 8, false, true), 0);
    Lido(arquivo, 1);
    relogio.Advance(caso.idade);
    EXPECT_EQ(Lido(arquivo, 2), Registro(8, ByteDo(2)));
    EXPECT_EQ(arquivo.leituras, caso.relido ? 2 : 1) << caso.idade;
  }
}

TEST_F(CQVArqExTest, WriteOnAnyObjectMakesOthersReadAgainUntilTheNextBlockRead) {
  const std::string nome = CriaArquivo("PARTILHA.DAT", 8, 4);
  ArquivoEspiao escritor, leitor;
  ASSERT_EQ(escritor.Abre(nome.c_str(), 'G', 8, false, true), 0);
  ASSERT_EQ(leitor.Abre(nome.c_str(), 'L', 8, false, true), 0);
  EXPECT_EQ(Lido(leitor, 2), Registro(8, ByteDo(2)));
  EXPECT_EQ(leitor.leituras, 1);

  uint32_t numero = 2;
  const std::string novo = Registro(8, 'Z');
  ASSERT_EQ(escritor.Grava(novo.data(), &numero), 0);
  EXPECT_EQ(Lido(leitor, 2), novo);  // read again, although its block is young
  EXPECT_EQ(leitor.leituras, 2);

  // The rule is process-wide and coarse: once any object reads a block, the others trust theirs
  // again for the rest of their 60 seconds, even a block older than the last write.
  const std::string outro = Registro(8, 'Y');
  ASSERT_EQ(escritor.Grava(outro.data(), &numero), 0);
  Lido(escritor, 1);
  EXPECT_EQ(Lido(leitor, 2), novo);
  EXPECT_EQ(leitor.leituras, 2);
}

TEST_F(CQVArqExTest, ReadAfterFechaIsServedFromTheCacheWithoutReopening) {
  const std::string nome = CriaArquivo("FECHADO.DAT", 8, 4);
  ArquivoEspiao arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 8, false, true), 0);
  Lido(arquivo, 1);
  ASSERT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(Lido(arquivo, 3), Registro(8, ByteDo(3)));
  EXPECT_FALSE(arquivo.EstaAberto());
  EXPECT_EQ(arquivo.aberturas, 1);
}

TEST_F(CQVArqExTest, AbreWithAnotherNameDoesNotReopenUntilFecha) {
  const std::string primeiro = CriaArquivo("PRIMEIRO.DAT", 8, 2);
  dados.Escreve("SEGUNDO.DAT", Registro(8, 0) + Registro(8, 'S'));
  ArquivoEspiao arquivo;
  ASSERT_EQ(arquivo.Abre(primeiro.c_str(), 'L', 8, false, true), 0);
  EXPECT_EQ(arquivo.Abre(dados.Caminho("SEGUNDO.DAT").c_str(), 'L', 8, false, true), 0);
  EXPECT_EQ(arquivo.aberturas, 1);
  EXPECT_EQ(Lido(arquivo, 1), Registro(8, ByteDo(1)));  // still the first file

  ASSERT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(Lido(arquivo, 1), Registro(8, 'S'));
  EXPECT_EQ(arquivo.aberturas, 2);
}

TEST_F(CQVArqExTest, MissingFileWithoutCreateGives16055AfterOneAttempt) {
  ArquivoEspiao arquivo;
  EXPECT_EQ(arquivo.Abre(dados.Caminho("FALTA.DAT").c_str(), 'L', 8, false, false), 16055);
  EXPECT_EQ(arquivo.aberturas, 1);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "FALTA.DAT");
  EXPECT_FALSE(dados.Existe("FALTA.DAT"));
  EXPECT_EQ(arquivo.GetQuantidadeRegistros(), -1);
  EXPECT_EQ(arquivo.GetTamanho(), 0u);
}

TEST_F(CQVArqExTest, OpenFailuresRetryOrEndAsTheirCauseSays) {
  const std::string nome = CriaArquivo("ABRE.DAT", 8, 1);
  struct Caso {
    int causa, vezes, resultado, aberturas;
  } casos[] = {
      {CFileException::sharingViolation, 29, 0, 30},     {CFileException::sharingViolation, 30, 16110, 30},
      {CFileException::tooManyOpenFiles, 30, 16071, 30}, {CFileException::accessDenied, 30, 16080, 30},
      {CFileException::lockViolation, 30, 16128, 30},    {CFileException::diskFull, 30, 16136, 30},
      {CFileException::genericException, 30, 16144, 30}, {CFileException::hardIO, 30, 16144, 30},
      {CFileException::badPath, 1, 16063, 1},            {CFileException::invalidFile, 1, 16098, 1},
      {CFileException::directoryFull, 1, 16101, 1},
  };
  TestClock relogio;
  for (const Caso& caso : casos) {
    ArquivoEspiao arquivo;
    arquivo.falhaAbertura = {caso.causa, caso.vezes};
    EXPECT_EQ(arquivo.Abre(nome.c_str(), 'G', 8, false, true), caso.resultado) << caso.causa << "x" << caso.vezes;
    EXPECT_EQ(arquivo.aberturas, caso.aberturas) << caso.causa << "x" << caso.vezes;
  }
}

TEST_F(CQVArqExTest, ReadOnlyFileDeniedForWritingGives16081) {
  const std::string nome = CriaArquivo("LEITURA.DAT", 8, 1);
  ASSERT_TRUE(SetFileAttributesA(nome.c_str(), FILE_ATTRIBUTE_READONLY));
  TestClock relogio;
  CQVArqEx gravacao, leitura;
  EXPECT_EQ(gravacao.Abre(nome.c_str(), 'G', 8, false, true), 16081);
  EXPECT_EQ(leitura.Abre(nome.c_str(), 'L', 8, false, true), 0);
}

TEST_F(CQVArqExTest, WriteFailuresRetryOrEndAsTheirCauseSays) {
  struct Caso {
    int causa, vezes, resultado, escritas;
  } casos[] = {
      {CFileException::diskFull, 29, 0, 30},          {CFileException::diskFull, 30, 16136, 30},
      {CFileException::sharingViolation, 30, 16110, 30}, {CFileException::accessDenied, 30, 16080, 30},
      {CFileException::lockViolation, 30, 16128, 30}, {CFileException::genericException, 30, 16144, 30},
      {CFileException::hardIO, 1, 16039, 1},          {CFileException::badSeek, 1, 16012, 1},
      {CFileException::fileNotFound, 1, 16055, 1},    {CFileException::badPath, 1, 16063, 1},
      {CFileException::invalidFile, 1, 16098, 1},
  };
  for (const Caso& caso : casos) {
    const std::string nome = CriaArquivo("GRAVA.DAT", 8, 0);
    ArquivoEspiao arquivo;
    ASSERT_EQ(arquivo.Abre(nome.c_str(), 'G', 8, false, true), 0);
    arquivo.falhaEscrita = {caso.causa, caso.vezes};
    uint32_t numero = 0;
    const std::string registro = Registro(8, 'W');
    EXPECT_EQ(arquivo.Grava(registro.data(), &numero), caso.resultado) << caso.causa << "x" << caso.vezes;
    EXPECT_EQ(arquivo.escritas, caso.escritas) << caso.causa << "x" << caso.vezes;
    EXPECT_EQ(dados.Le("GRAVA.DAT"), Registro(8, 0) + (caso.resultado ? "" : registro));
    if (caso.resultado == 0) {
      EXPECT_EQ(numero, 1u);
    }
  }
}

TEST_F(CQVArqExTest, PosicionaByMode) {
  const std::string nome = CriaArquivo("POSICAO.DAT", 8, 2);
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 8, false, false), 0);
  struct Caso {
    char modo;
    uint32_t deslocamento;
    int resultado;
    uint32_t valor;
  } casos[] = {{'F', 0, 0, 24}, {'I', 5, 0, 0}, {'P', 23, 0, 0}, {'P', 24, 16021, 0}, {'X', 0, 16179, 99}};
  for (const Caso& caso : casos) {
    uint32_t valor = 99;
    EXPECT_EQ(arquivo.Posiciona(caso.modo, caso.deslocamento, &valor), caso.resultado) << caso.modo;
    EXPECT_EQ(valor, caso.valor) << caso.modo;
  }
  char byte = 0;
  uint32_t ignorado;
  ASSERT_EQ(arquivo.Posiciona('P', 8, &ignorado), 0);
  EXPECT_EQ(arquivo.LeBytes(1, &byte), 0);
  EXPECT_EQ(byte, 'b');
}

// Running into the end is how scans stop: only the other failures name the file in the note.
TEST_F(CQVArqExTest, PositionAndCloseFailuresNoteTheFileUnlessTheEndWasReached) {
  const std::string nome = CriaArquivo("NOTA.DAT", 8, 2);
  enum Operacao { kPosiciona, kFecha };
  struct Caso {
    Operacao operacao;
    int causa, resultado;
    const char* nota;
  } casos[] = {
      {kPosiciona, CFileException::endOfFile, 16021, "ANTES.DAT"},
      {kPosiciona, CFileException::hardIO, 16039, "NOTA.DAT"},
      {kFecha, CFileException::endOfFile, 16144, "ANTES.DAT"},
      {kFecha, CFileException::sharingViolation, 16110, "NOTA.DAT"},
  };
  for (const Caso& caso : casos) {
    CQVArqEx anterior;
    ASSERT_EQ(anterior.Abre(dados.Caminho("ANTES.DAT").c_str(), 'L', 8, false, true), 16055);
    ArquivoEspiao arquivo;
    ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 8, false, true), 0);
    uint32_t valor = 0;
    if (caso.operacao == kPosiciona) {
      arquivo.falhaPosicao = {caso.causa, 1};
      EXPECT_EQ(arquivo.Posiciona('I', 0, &valor), caso.resultado) << caso.causa;
    } else {
      arquivo.falhaFechamento = {caso.causa, 1};
      EXPECT_EQ(arquivo.Fecha(), caso.resultado) << caso.causa;
    }
    EXPECT_EQ(dados.NotaErros("Arquivo"), caso.nota) << caso.operacao << " " << caso.causa;
  }
}

// The length said the record was there, but the file was cut before the read reached it.
TEST_F(CQVArqExTest, RecordCutAwayBeforeItsReadIsPastTheEndAndNoted) {
  const std::string nome = CriaArquivo("CORTADO.DAT", 8, 2);
  ArquivoEspiao arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 8, false, true), 0);
  arquivo.comprimentoFingido = 5 * 8;
  int resultado = 0;
  Lido(arquivo, 3, &resultado);
  EXPECT_EQ(resultado, 16021);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "CORTADO.DAT");
}

TEST_F(CQVArqExTest, AlocaCacheTotalLoadsTheRestOfTheFileInOneRead) {
  const std::string nome = CriaArquivo("TOTAL.DAT", 128, 600);  // 256 records per block
  ArquivoEspiao arquivo;
  ASSERT_EQ(arquivo.Abre(nome.c_str(), 'L', 128, false, true), 0);
  EXPECT_EQ(arquivo.AlocaCacheTotal(), 0);
  for (uint32_t n = 0; n <= 600; n += 50) Lido(arquivo, n);
  EXPECT_EQ(Lido(arquivo, 600), Registro(128, ByteDo(600)));
  EXPECT_EQ(arquivo.leituras, 1);
}

TEST_F(CQVArqExTest, ErrosNoteKindsAndItsClearingByTheCreateOpen) {
  CQVArqEx falha, criacao;
  EXPECT_EQ(falha.Abre(dados.Caminho("X.DAT").c_str(), 'L', 8, false, true), 16055);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "X.DAT");
  EXPECT_EQ(falha.RegistraErro('Z'), 16179);

  EXPECT_EQ(criacao.Abre(dados.Caminho("OUTRO.DAT").c_str(), 'C', 8, false, true), 0);
  EXPECT_EQ(dados.NotaErros("Arquivo"), "X.DAT");  // another file's note stays
  ASSERT_EQ(criacao.Fecha(), 0);
  EXPECT_EQ(criacao.Abre(dados.Caminho("X.DAT").c_str(), 'C', 8, false, true), 0);
  EXPECT_EQ(dados.NotaErros("Arquivo"), " ");
  EXPECT_EQ(dados.NotaErros("Usuario"), "0");
}

TEST_F(CQVArqExTest, TextsAreAppendedWithTheirTerminatorAndReadBackUpToIt) {
  const std::string nome = dados.Caminho("TEXTOS.DAT");
  CQVArqEx arquivo;
  uint32_t primeiro = 99, segundo = 99, vazio = 99;
  EXPECT_EQ(arquivo.GravaTextoArquivo(nome.c_str(), "abc", &primeiro), 0);
  EXPECT_EQ(arquivo.GravaTextoArquivo(nome.c_str(), "de", &segundo), 0);
  EXPECT_EQ(arquivo.GravaTextoArquivo(nome.c_str(), "", &vazio), 0);
  EXPECT_EQ(primeiro, 1u);  // after the new file's zero byte: offset 0 means "no text"
  EXPECT_EQ(segundo, 5u);
  EXPECT_EQ(vazio, 0u);
  EXPECT_EQ(dados.Le("TEXTOS.DAT"), std::string("\0abc\0de\0", 8));

  char texto[8];
  EXPECT_EQ(arquivo.LeTextoArquivo(nome.c_str(), sizeof texto, primeiro, texto), 0);
  EXPECT_EQ(std::string(texto, sizeof texto), std::string("abc\0\0\0\0\0", 8));  // "de" zeroed
  EXPECT_EQ(arquivo.LeTextoArquivo(nome.c_str(), sizeof texto, segundo, texto), 0);
  EXPECT_EQ(std::string(texto, sizeof texto), std::string("de\0\0\0\0\0\0", 8));  // short read
}

TEST_F(CQVArqExTest, ByteHelpersAppendOrWriteInsideTheFile) {
  CQVArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(dados.Caminho("BYTES.DAT").c_str(), 'G', 1, true, true), 0);
  uint32_t deslocamento = 0;
  EXPECT_EQ(arquivo.GravaBytes(3, "abc", &deslocamento), 0);
  EXPECT_EQ(deslocamento, 1u);
  deslocamento = 2;
  EXPECT_EQ(arquivo.GravaBytes(1, "X", &deslocamento), 0);
  EXPECT_EQ(deslocamento, 2u);
  deslocamento = 4;
  EXPECT_EQ(arquivo.GravaBytes(1, "Y", &deslocamento), static_cast<HRESULT>(0x80040000u | 16021));
  EXPECT_EQ(dados.Le("BYTES.DAT"), std::string("\0aXc", 4));

  char lidos[4] = {};
  EXPECT_EQ(arquivo.LeBytesPosicao(10, 1, lidos), 0);
  EXPECT_EQ(std::string(lidos, 3), "aXc");
  uint32_t ignorado;
  ASSERT_EQ(arquivo.Posiciona('I', 0, &ignorado), 0);
  EXPECT_EQ(arquivo.LeBytes(4, lidos), 0);
  EXPECT_EQ(arquivo.LeBytes(1, lidos), 16021);
}

TEST_F(CQVArqExTest, FileChecksAndCounts) {
  dados.Escreve("INTEIRO.DAT", Registro(24, 0));
  dados.Escreve("RASGADO.DAT", Registro(25, 0));
  CQVArqEx arquivo;
  EXPECT_EQ(arquivo.VerificaArquivo(dados.Caminho("INTEIRO.DAT").c_str(), 8, true), 0);
  EXPECT_EQ(arquivo.VerificaArquivo(dados.Caminho("RASGADO.DAT").c_str(), 8, true),
            static_cast<HRESULT>(0x80040000u | 16230));
  EXPECT_EQ(arquivo.VerificaArquivo(dados.Caminho("RASGADO.DAT").c_str(), 8, false), 0);
  EXPECT_EQ(arquivo.GetTamanhoArquivo(dados.Caminho("RASGADO.DAT").c_str(), 8), 25u);

  int32_t quantidade = -7;
  EXPECT_EQ(QVGetQuantidadeRegistrosArquivo(dados.Caminho("INTEIRO.DAT").c_str(), 8, &quantidade), 0);
  EXPECT_EQ(quantidade, 2);
  EXPECT_EQ(QVGetQuantidadeRegistrosArquivo(dados.Caminho("FALTA.DAT").c_str(), 8, &quantidade), 0);
  EXPECT_EQ(quantidade, 0);
  EXPECT_EQ(QVGetQuantidadeRegistrosArquivo((dados.Diretorio() + "NAO\\FALTA.DAT").c_str(), 8, &quantidade),
            static_cast<HRESULT>(0x80070003u));

  EXPECT_TRUE(QVTestaExistenciaArquivo(dados.Caminho("inteiro.dat").c_str()));
  EXPECT_FALSE(QVTestaExistenciaArquivo(dados.Caminho("FALTA.DAT").c_str()));
  CQVArqEx exclusivo;  // a file held by a writer is still there
  ASSERT_EQ(exclusivo.Abre(dados.Caminho("INTEIRO.DAT").c_str(), 'G', 8, false, true), 0);
  EXPECT_TRUE(QVTestaExistenciaArquivo(dados.Caminho("INTEIRO.DAT").c_str()));
}

}  // namespace
