// The resource-type handler over a company: the seven files at their offsets, what each reading
// kind gives back (one definition of each kind, the stored operation count without an array),
// re-saves, the filter, Existe's own switch, removal without history and its usage check, the
// argument checks that come before any write or output, and the COM class. The master settings of
// a client's session are a recording class object registered under QVPP_MestrePP.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/cadastros/CPPServidorTipoRecurso.h"
#include "server/cadastros/CQVPP_TipoRecurso.h"
#include "server/idl/VarmoIdentificadores.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/support/ClasseGravadora.h"

namespace {

constexpr HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000 | numero); }

// Record lengths of the files.
constexpr size_t kTipo = 104;
constexpr size_t kOperacao = 32;
constexpr size_t kContador = 64;
constexpr size_t kQuantidade = 32;
constexpr size_t kIntervalo = 64;
constexpr size_t kDetalhe = 32;

struct Bstr {
  explicit Bstr(const char16_t* texto) : bstr(SysAllocString(texto)) {}
  ~Bstr() { SysFreeString(bstr); }
  BSTR bstr;
};

uint8_t U8(const std::string& bytes, size_t offset) { return static_cast<uint8_t>(bytes.at(offset)); }
uint32_t U32(const std::string& bytes, size_t offset) {
  uint32_t valor = 0;
  for (int i = 3; i >= 0; --i) valor = (valor << 8) | U8(bytes, offset + i);
  return valor;
}
uint16_t U16(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(U8(bytes, offset) | U8(bytes, offset + 1) << 8);
}

_REG_PP_TIPO_RECURSOPS Tipo(const char* codigo, const char* descricao, uint8_t cTipo = 1, uint8_t cInativo = 0) {
  _REG_PP_TIPO_RECURSOPS tipo{};
  std::strncpy(tipo.szCodigo, codigo, sizeof tipo.szCodigo);
  std::strncpy(tipo.szDescricao, descricao, sizeof tipo.szDescricao);
  tipo.cTipo = cTipo;
  tipo.cInativo = cInativo;
  return tipo;
}

_REG_PP_TIPO_RECURSO_OPERACAOPS Operacao(uint32_t ulPonteiroOperacaoProducao) {
  _REG_PP_TIPO_RECURSO_OPERACAOPS operacao{};
  operacao.ulPonteiroOperacaoProducao = ulPonteiroOperacaoProducao;
  return operacao;
}

_REG_PP_TIPO_RECURSO_CONTADORPS Contador(uint32_t ulUnidade, const char* inicial, const char* final) {
  _REG_PP_TIPO_RECURSO_CONTADORPS contador{};
  contador.ulPonteiroUnidadeMedida = ulUnidade;
  contador.usNumeroDigitos = 6;
  std::strncpy(contador.szNomeInicial, inicial, sizeof contador.szNomeInicial);
  std::strncpy(contador.szNomeFinal, final, sizeof contador.szNomeFinal);
  contador.cObrigatorio = 1;
  contador.cAtualizarContadorRecurso = 2;
  contador.cSugerirContadorInicial = 3;
  contador.cPodeInicialIgualFinal = 4;
  contador.cUnidadeProdutoServico = 'P';
  return contador;
}

// A type read for a test; its arrays go back at the end of the scope.
struct TipoLido {
  _REG_PP_TIPO_RECURSOPS registro{};
  ~TipoLido() { LiberaRegistroTipoRecurso(&registro, 0); }
};

class TipoRecurso : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    RegistraMestre(S_OK);
    ASSERT_EQ(servidor_.Inicializa(SessaoTeste(), 1), S_OK);
  }
  void TearDown() override {
    servidor_.Finaliza();
    mestre_.reset();
    EmpresaCadastros::TearDown();
  }

  // The master settings that the hub creates for a client's session, answering `resposta`.
  void RegistraMestre(HRESULT resposta) {
    mestre_.reset();
    mestre_.emplace(CLSID_QVPP_MestrePP, IID_IQVPP_MestrePP, typeid(IQVPP_MestrePP), resposta);
    ASSERT_EQ(mestre_->Registro(), S_OK);
  }

  uint32_t Grava(const _REG_PP_TIPO_RECURSOPS& tipo, uint32_t ulPonteiro = 0) {
    uint32_t ulPonteiroOut = 0xFFFF;
    EXPECT_EQ(servidor_.Grava(ulPonteiro, tipo, &ulPonteiroOut), S_OK);
    return ulPonteiroOut;
  }
  HRESULT Le(uint32_t ulPonteiro, uint16_t usTipoLeitura, TipoLido* lido) {
    return servidor_.LePonteiros(1, &ulPonteiro, &lido->registro, usTipoLeitura);
  }
  std::vector<uint32_t> Ponteiros() {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(servidor_.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }
  // Record n of a data file.
  std::string Registro(const char* arquivo, size_t tamanho, uint32_t n) const {
    return empresa_.Le(arquivo).substr(n * tamanho, tamanho);
  }
  size_t Registros(const char* arquivo, size_t tamanho) const {
    return empresa_.Existe(arquivo) ? empresa_.Le(arquivo).size() / tamanho - 1 : 0;
  }
  // A resource of "PPRECURS.DAT" (200 bytes) of the type, removed or not.
  void EscreveRecurso(uint32_t ulTipo, bool bRemovido) const {
    std::string recursos(400, '\0');
    for (int i = 0; i < 4; ++i) recursos[200 + 56 + i] = static_cast<char>(ulTipo >> (8 * i));
    std::memcpy(&recursos[200 + 64], "MAQ", 3);
    recursos[200 + 164] = bRemovido ? 1 : 0;
    recursos[200 + 165] = 1;
    recursos[200 + 166] = 1;
    empresa_.Escreve("PPRECURS.DAT", recursos);
  }

  std::optional<ClasseGravadora> mestre_;
  CPPServidorTipoRecurso servidor_;
};

// Two operations: the first reports a counter, saved with two definitions, and has the quantity
// switch off with a definition given anyway; the second reports an interval and a detail.
TEST_F(TipoRecurso, GravaPutsTheTypeItsOperationsAndDefinitionsAtTheirOffsets) {
  _REG_PP_TIPO_RECURSO_CONTADORPS contadores[2] = {Contador(7, "Horimetro inicial", "Horimetro final"),
                                                   Contador(8, "Outro", "Outro")};
  _REG_PP_TIPO_RECURSO_QUANTIDADEPS quantidade{};
  std::strcpy(quantidade.szNome, "Ignorada");
  _REG_PP_TIPO_RECURSO_INTERVALOPS intervalo{};
  intervalo.ulPonteiroUnidadeMedida = 9;
  std::memcpy(intervalo.szNomeInicial, "InicioDoIntervaloXXYY", 22);  // 22 characters, no terminator
  std::strcpy(intervalo.szNomeFinal, "Fim");
  intervalo.cObrigatorio = 1;
  intervalo.cValorData = 1;
  intervalo.cUnidadeProdutoServico = 'S';
  _REG_PP_TIPO_RECURSO_DETALHEPS detalhe{};
  detalhe.usMaxCaracteres = 300;
  detalhe.usMinCaracteres = 5;
  std::strcpy(detalhe.szNome, "Obs");
  detalhe.cObrigatorio = 1;
  _REG_PP_TIPO_RECURSO_OPERACAOPS operacoes[2] = {Operacao(11), Operacao(12)};
  operacoes[0].cApontaContador = 1;
  operacoes[0].usQuantApontaContador = 2;
  operacoes[0].pregContadores = contadores;
  operacoes[0].usQuantApontaQuantidade = 1;
  operacoes[0].pregQuantidades = &quantidade;
  operacoes[1].cApontaIntervalo = 1;
  operacoes[1].usQuantApontaIntervalo = 1;
  operacoes[1].pregIntervalos = &intervalo;
  operacoes[1].cApontaDetalhe = 1;
  operacoes[1].usQuantApontaDetalhe = 1;
  operacoes[1].pregDetalhes = &detalhe;
  _REG_PP_TIPO_RECURSOPS tipo = Tipo("CORTE", "Corte de chapas", 2);
  tipo.cDetalharApontamento = 1;
  std::strcpy(tipo.szDetalhamento, "Corta chapas de aço"_ansi);
  tipo.usQuantOperacaoRecurso = 2;
  tipo.pregOperacoes = operacoes;

  EXPECT_EQ(Grava(tipo), 1u);
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Tipo Recurso: CORTE - Corte de chapas"}}));

  const std::string principal = Registro("PPTIPREC.DAT", kTipo, 1);
  EXPECT_EQ(U32(principal, 0), 1u);
  EXPECT_NE(U32(principal, 4), 0u);
  EXPECT_EQ(U16(principal, 8), 2);
  EXPECT_EQ(principal.substr(10, 10), std::string("CORTE\0\0\0\0\0", 10));
  EXPECT_EQ(principal.substr(20, 16), std::string("Corte de chapas\0", 16));
  EXPECT_EQ(U8(principal, 70), 2);
  EXPECT_EQ(U8(principal, 71), 1);
  EXPECT_EQ(U8(principal, 72), 0);
  EXPECT_EQ(U8(principal, 73), 0);
  EXPECT_EQ(principal.substr(74), std::string(30, '\0'));

  ASSERT_EQ(Registros("PPTROPRC.DAT", kOperacao), 2u);
  const std::string primeira = Registro("PPTROPRC.DAT", kOperacao, 1);
  EXPECT_EQ(U32(primeira, 0), 11u);
  EXPECT_EQ(U32(primeira, 4), 1u);  // the first of the two counters
  EXPECT_EQ(U32(primeira, 8), 0u);  // switch off: the quantity given is not written
  EXPECT_EQ(primeira.substr(20, 12), std::string("\1\0\0\0", 4) + std::string(8, '\0'));
  const std::string segunda = Registro("PPTROPRC.DAT", kOperacao, 2);
  EXPECT_EQ(U32(segunda, 0), 12u);
  EXPECT_EQ(U32(segunda, 4), 0u);
  EXPECT_EQ(U32(segunda, 12), 1u);
  EXPECT_EQ(U32(segunda, 16), 1u);
  EXPECT_EQ(segunda.substr(20, 4), std::string("\0\0\1\1", 4));

  ASSERT_EQ(Registros("PPTRCONT.DAT", kContador), 2u);
  EXPECT_EQ(Registros("PPTRQTDA.DAT", kQuantidade), 0u);
  const std::string contador = Registro("PPTRCONT.DAT", kContador, 1);
  EXPECT_EQ(U32(contador, 0), 7u);
  EXPECT_EQ(U16(contador, 4), 6);
  EXPECT_EQ(contador.substr(6, 20), std::string("Horimetro inicial\0\0\0", 20));
  EXPECT_EQ(contador.substr(26, 20), std::string("Horimetro final\0\0\0\0\0", 20));
  EXPECT_EQ(contador.substr(46, 5), "\1\2\3\4P");
  EXPECT_EQ(contador.substr(51), std::string(13, '\0'));
  EXPECT_EQ(U32(Registro("PPTRCONT.DAT", kContador, 2), 0), 8u);
  const std::string intervaloDisco = Registro("PPTRINTV.DAT", kIntervalo, 1);
  EXPECT_EQ(U32(intervaloDisco, 0), 9u);
  EXPECT_EQ(intervaloDisco.substr(4, 20), "InicioDoIntervaloXXY");  // 20 of the 22 stored
  EXPECT_EQ(intervaloDisco.substr(24, 4), std::string("Fim\0", 4));
  EXPECT_EQ(intervaloDisco.substr(44, 3), "\1\1S");
  const std::string detalheDisco = Registro("PPTRDETL.DAT", kDetalhe, 1);
  EXPECT_EQ(U16(detalheDisco, 0), 300);
  EXPECT_EQ(U16(detalheDisco, 2), 5);
  EXPECT_EQ(detalheDisco.substr(4, 4), std::string("Obs\0", 4));
  EXPECT_EQ(U8(detalheDisco, 24), 1);

  // Read back whole: one definition of each kind reported, the first saved.
  TipoLido lido;
  ASSERT_EQ(Le(1, 7, &lido), S_OK);
  const _REG_PP_TIPO_RECURSOPS& registro = lido.registro;
  EXPECT_EQ(registro.ulPosicao, 1u);
  EXPECT_STREQ(registro.szCodigo, "CORTE");
  EXPECT_STREQ(registro.szDescricao, "Corte de chapas");
  EXPECT_STREQ(registro.szDetalhamento, "Corta chapas de aço"_ansi);
  EXPECT_EQ(registro.cTipo, 2);
  EXPECT_EQ(registro.cDetalharApontamento, 1);
  ASSERT_EQ(registro.usQuantOperacaoRecurso, 2);
  ASSERT_NE(registro.pregOperacoes, nullptr);
  const _REG_PP_TIPO_RECURSO_OPERACAOPS& lida1 = registro.pregOperacoes[0];
  EXPECT_EQ(lida1.ulPonteiroOperacaoProducao, 11u);
  EXPECT_EQ(lida1.ulPonteiroApontaContador, 1u);
  ASSERT_EQ(lida1.usQuantApontaContador, 1);
  EXPECT_EQ(lida1.pregContadores[0].ulPonteiroUnidadeMedida, 7u);
  EXPECT_STREQ(lida1.pregContadores[0].szNomeInicial, "Horimetro inicial");
  EXPECT_EQ(lida1.pregContadores[0].cUnidadeProdutoServico, 'P');
  EXPECT_EQ(lida1.usQuantApontaQuantidade, 0);
  EXPECT_EQ(lida1.pregQuantidades, nullptr);
  const _REG_PP_TIPO_RECURSO_OPERACAOPS& lida2 = registro.pregOperacoes[1];
  EXPECT_EQ(lida2.usQuantApontaContador, 0);
  ASSERT_EQ(lida2.usQuantApontaIntervalo, 1);
  EXPECT_STREQ(lida2.pregIntervalos[0].szNomeInicial, "InicioDoIntervaloXXY");
  EXPECT_EQ(lida2.pregIntervalos[0].cValorData, 1);
  ASSERT_EQ(lida2.usQuantApontaDetalhe, 1);
  EXPECT_EQ(lida2.pregDetalhes[0].usMaxCaracteres, 300);
  EXPECT_STREQ(lida2.pregDetalhes[0].szNome, "Obs");
}

// Bit 0 the text, bit 1 or 2 the operations, bit 2 their definitions; without bits 1 and 2 the
// stored operation count comes with no array.
TEST_F(TipoRecurso, EachReadingKindGivesItsParts) {
  _REG_PP_TIPO_RECURSO_CONTADORPS contador = Contador(7, "Ini", "Fim");
  _REG_PP_TIPO_RECURSO_OPERACAOPS operacao = Operacao(11);
  operacao.cApontaContador = 1;
  operacao.usQuantApontaContador = 1;
  operacao.pregContadores = &contador;
  _REG_PP_TIPO_RECURSOPS tipo = Tipo("PRENSA", "Prensas");
  std::strcpy(tipo.szDetalhamento, "Texto");
  tipo.usQuantOperacaoRecurso = 1;
  tipo.pregOperacoes = &operacao;
  ASSERT_EQ(Grava(tipo), 1u);

  struct Caso {
    uint16_t usTipoLeitura;
    const char* texto;
    bool operacoes;
    uint16_t contadores;
  };
  for (const Caso& caso : {Caso{0, "", false, 0}, Caso{1, "Texto", false, 0}, Caso{2, "", true, 0},
                           Caso{4, "", true, 1}, Caso{6, "", true, 1}}) {
    SCOPED_TRACE(caso.usTipoLeitura);
    TipoLido lido;
    ASSERT_EQ(Le(1, caso.usTipoLeitura, &lido), S_OK);
    EXPECT_STREQ(lido.registro.szDetalhamento, caso.texto);
    EXPECT_EQ(lido.registro.usQuantOperacaoRecurso, 1);
    ASSERT_EQ(lido.registro.pregOperacoes != nullptr, caso.operacoes);
    if (!caso.operacoes) continue;
    EXPECT_EQ(lido.registro.pregOperacoes[0].ulPonteiroApontaContador, 1u);
    EXPECT_EQ(lido.registro.pregOperacoes[0].usQuantApontaContador, caso.contadores);
    EXPECT_EQ(lido.registro.pregOperacoes[0].pregContadores != nullptr, caso.contadores == 1);
  }
}

// A switch saved on without definitions names no record: the read gives none (not record 0, the
// all-zero header, as a definition).
TEST_F(TipoRecurso, ASwitchSavedWithoutDefinitionsReadsBackNone) {
  _REG_PP_TIPO_RECURSO_OPERACAOPS operacao = Operacao(11);
  operacao.cApontaQuantidade = 1;
  _REG_PP_TIPO_RECURSOPS tipo = Tipo("T1", "Tipo");
  tipo.usQuantOperacaoRecurso = 1;
  tipo.pregOperacoes = &operacao;
  ASSERT_EQ(Grava(tipo), 1u);
  TipoLido lido;
  ASSERT_EQ(Le(1, 4, &lido), S_OK);
  ASSERT_NE(lido.registro.pregOperacoes, nullptr);
  EXPECT_EQ(lido.registro.pregOperacoes[0].cApontaQuantidade, 1);
  EXPECT_EQ(lido.registro.pregOperacoes[0].usQuantApontaQuantidade, 0);
  EXPECT_EQ(lido.registro.pregOperacoes[0].pregQuantidades, nullptr);
}

TEST_F(TipoRecurso, ARewriteAppendsNewRunsAndWritesA) {
  _REG_PP_TIPO_RECURSO_OPERACAOPS operacao = Operacao(11);
  _REG_PP_TIPO_RECURSOPS tipo = Tipo("T1", "Antes");
  std::strcpy(tipo.szDetalhamento, "Um");
  tipo.usQuantOperacaoRecurso = 1;
  tipo.pregOperacoes = &operacao;
  ASSERT_EQ(Grava(tipo), 1u);
  const uint32_t textoAntes = U32(Registro("PPTIPREC.DAT", kTipo, 1), 4);
  std::strcpy(tipo.szDescricao, "Depois");
  operacao.ulPonteiroOperacaoProducao = 12;
  EXPECT_EQ(Grava(tipo, 1), 1u);

  EXPECT_EQ(Registros("PPTIPREC.DAT", kTipo), 1u);
  EXPECT_EQ(Registros("PPTROPRC.DAT", kOperacao), 2u);
  const std::string principal = Registro("PPTIPREC.DAT", kTipo, 1);
  EXPECT_EQ(U32(principal, 0), 2u);
  EXPECT_GT(U32(principal, 4), textoAntes);
  EXPECT_EQ(U32(Registro("PPTROPRC.DAT", kOperacao, 1), 0), 11u);
  EXPECT_EQ(Linhas(),
            (std::vector<LinhaCadastro>{{'I', "Tipo Recurso: T1 - Antes"}, {'A', "Tipo Recurso: T1 - Depois"}}));
}

// The COM record's texts are read within their fields and written back cut so the terminator fits.
TEST_F(TipoRecurso, TextsWithoutTerminatorStayInsideTheirFields) {
  _REG_PP_TIPO_RECURSOPS tipo = Tipo("", "");
  std::memset(tipo.szCodigo, 'C', sizeof tipo.szCodigo);
  std::memset(tipo.szDescricao, 'D', sizeof tipo.szDescricao);
  std::memset(tipo.szDetalhamento, 'x', sizeof tipo.szDetalhamento);
  tipo.cTipo = 7;  // right after the text: must not join it
  ASSERT_EQ(Grava(tipo), 1u);
  EXPECT_EQ(Registro("PPTIPREC.DAT", kTipo, 1).substr(10, 60), std::string(10, 'C') + std::string(50, 'D'));
  TipoLido lido;
  ASSERT_EQ(Le(1, 1, &lido), S_OK);
  EXPECT_EQ(std::string(lido.registro.szCodigo), std::string(10, 'C'));
  EXPECT_EQ(std::string(lido.registro.szDescricao), std::string(50, 'D'));
  EXPECT_EQ(std::string(lido.registro.szDetalhamento), std::string(501, 'x'));
  EXPECT_EQ(lido.registro.cTipo, 7);
}

TEST_F(TipoRecurso, ACountWithoutItsArrayIs1587BeforeAnythingIsWritten) {
  _REG_PP_TIPO_RECURSOPS semOperacoes = Tipo("T1", "Tipo");
  std::strcpy(semOperacoes.szDetalhamento, "Texto");
  semOperacoes.usQuantOperacaoRecurso = 1;
  _REG_PP_TIPO_RECURSO_OPERACAOPS operacao = Operacao(11);
  operacao.cApontaIntervalo = 1;
  operacao.usQuantApontaIntervalo = 2;
  _REG_PP_TIPO_RECURSOPS semIntervalos = semOperacoes;
  semIntervalos.pregOperacoes = &operacao;
  uint32_t ulPonteiro = 0;
  EXPECT_EQ(servidor_.Grava(0, semOperacoes, &ulPonteiro), Erro(1587));
  EXPECT_EQ(servidor_.Grava(0, semIntervalos, &ulPonteiro), Erro(1587));
  EXPECT_EQ(Registros("PPTIPREC.DAT", kTipo), 0u);
  EXPECT_EQ(Registros("PPTROPRC.DAT", kOperacao), 0u);
  EXPECT_TRUE(Linhas().empty());

  // A list whose switch is off is never read, so its missing array is no error.
  operacao.cApontaIntervalo = 0;
  EXPECT_EQ(Grava(semIntervalos), 1u);
  EXPECT_EQ(Registros("PPTRINTV.DAT", kIntervalo), 0u);
  EXPECT_EQ(servidor_.Grava(0, semIntervalos, nullptr), E_POINTER);
}

// Kind, activity (both switches let every type pass) and operation, with removed types skipped.
TEST_F(TipoRecurso, TheFilterTestsKindActivityAndOperation) {
  _REG_PP_TIPO_RECURSO_OPERACAOPS op11 = Operacao(11);
  _REG_PP_TIPO_RECURSO_OPERACAOPS op11e12[2] = {Operacao(11), Operacao(12)};
  _REG_PP_TIPO_RECURSOPS a = Tipo("A", "Ativo", 1, 0);
  a.usQuantOperacaoRecurso = 1;
  a.pregOperacoes = &op11;
  _REG_PP_TIPO_RECURSOPS b = Tipo("B", "Inativo", 2, 1);
  _REG_PP_TIPO_RECURSOPS c = Tipo("C", "Inativo", 1, 1);
  c.usQuantOperacaoRecurso = 2;
  c.pregOperacoes = op11e12;
  ASSERT_EQ(Grava(a), 1u);
  ASSERT_EQ(Grava(b), 2u);
  ASSERT_EQ(Grava(c), 3u);
  ASSERT_EQ(Grava(Tipo("D", "Removido")), 4u);
  ASSERT_EQ(servidor_.Remove(4), S_OK);

  struct Caso {
    _REG_PP_FILTRO_TIPO_RECURSOPS filtro;
    std::vector<uint32_t> ponteiros;
  };
  const Caso casos[] = {
      {{0, 0, 0, 0}, {1, 2, 3}}, {{0, 1, 0, 0}, {1, 3}}, {{0, 0, 1, 0}, {1}},    {{0, 0, 0, 1}, {2, 3}},
      {{0, 0, 1, 1}, {1, 2, 3}}, {{12, 0, 0, 0}, {3}},  {{11, 0, 1, 0}, {1}}, {{13, 0, 0, 0}, {}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(::testing::PrintToString(caso.ponteiros));
    ASSERT_EQ(servidor_.SetFiltro(caso.filtro), S_OK);
    EXPECT_EQ(Ponteiros(), caso.ponteiros);
  }

  // BuscaRegistros reads the same types.
  ASSERT_EQ(servidor_.SetFiltro({0, 1, 0, 0}), S_OK);
  _REG_PP_LISTA_TIPO_RECURSOPS lista{};
  ASSERT_EQ(servidor_.BuscaRegistros(&lista, 2), S_OK);
  ASSERT_EQ(lista.ulQtd, 2u);
  EXPECT_STREQ(lista.pregLista[0].szCodigo, "A");
  EXPECT_EQ(lista.pregLista[0].ulPosicao, 1u);
  EXPECT_EQ(lista.pregLista[1].ulPosicao, 3u);
  ASSERT_EQ(lista.pregLista[1].usQuantOperacaoRecurso, 2);
  EXPECT_EQ(lista.pregLista[1].pregOperacoes[1].ulPonteiroOperacaoProducao, 12u);
  for (uint32_t i = 0; i < lista.ulQtd; ++i) LiberaRegistroTipoRecurso(&lista.pregLista[i], 0);
  CoTaskMemFree(lista.pregLista);

  ASSERT_EQ(servidor_.SetFiltro({13, 0, 0, 0}), S_OK);
  lista.ulQtd = 9;
  ASSERT_EQ(servidor_.BuscaRegistros(&lista, 7), S_OK);
  EXPECT_EQ(lista.ulQtd, 0u);
  EXPECT_EQ(lista.pregLista, nullptr);
}

TEST_F(TipoRecurso, ExisteIgnoresCaseAndAppliesTheFilterOnlyWhenAsked) {
  ASSERT_EQ(Grava(Tipo("CORTE", "Corte", 1)), 1u);
  ASSERT_EQ(servidor_.SetFiltro({0, 2, 0, 0}), S_OK);
  const Bstr corte(u"corte");
  uint32_t ulPosicao = 9;
  ASSERT_EQ(servidor_.Existe(corte.bstr, &ulPosicao, 1), S_OK);
  EXPECT_EQ(ulPosicao, 0u);
  for (uint8_t cUtilizaFiltro : {0, 2}) {
    ASSERT_EQ(servidor_.Existe(corte.bstr, &ulPosicao, cUtilizaFiltro), S_OK);
    EXPECT_EQ(ulPosicao, 1u);
  }
  EXPECT_TRUE(Ponteiros().empty()) << "the filter stays in force";

  const Bstr vazio(u"");
  EXPECT_EQ(servidor_.Existe(vazio.bstr, &ulPosicao, 0), Erro(1587));
  EXPECT_EQ(servidor_.Existe(corte.bstr, nullptr, 0), E_POINTER);
  ASSERT_EQ(servidor_.Remove(1), S_OK);
  ASSERT_EQ(servidor_.Existe(corte.bstr, &ulPosicao, 0), S_OK);
  EXPECT_EQ(ulPosicao, 0u);
}

TEST_F(TipoRecurso, RemoveRefusesATypeThatAResourceHasAndWritesNoHistory) {
  ASSERT_EQ(Grava(Tipo("CORTE", "Corte")), 1u);
  EscreveRecurso(1, false);
  EXPECT_EQ(servidor_.Remove(1), Erro(1588));
  EXPECT_EQ(U8(Registro("PPTIPREC.DAT", kTipo, 1), 73), 0);

  EscreveRecurso(1, true);  // a removed resource no longer holds it
  EXPECT_EQ(servidor_.Remove(1), S_OK);
  EXPECT_EQ(U8(Registro("PPTIPREC.DAT", kTipo, 1), 73), 1);
  EscreveRecurso(1, false);  // once removed, the type is left as it is
  EXPECT_EQ(servidor_.Remove(1), S_OK);
  TipoLido lido;
  EXPECT_EQ(Le(1, 0, &lido), Erro(1586));
  uint32_t ulPonteiro = 0;
  EXPECT_EQ(servidor_.Grava(1, Tipo("CORTE", "De novo"), &ulPonteiro), Erro(1586));
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Tipo Recurso: CORTE - Corte"}}));
  EXPECT_EQ(servidor_.Remove(0), Erro(1587));
}

TEST_F(TipoRecurso, LePonteirosRefusesItsArgumentsBeforeTouchingTheOutput) {
  ASSERT_EQ(Grava(Tipo("A", "Um")), 1u);
  ASSERT_EQ(Grava(Tipo("B", "Dois")), 2u);
  _REG_PP_TIPO_RECURSOPS registros[2];
  std::memset(registros, 0xAB, sizeof registros);
  uint32_t ponteiros[2] = {1, 0};
  EXPECT_EQ(servidor_.LePonteiros(0, ponteiros, registros, 0), Erro(1587));
  EXPECT_EQ(servidor_.LePonteiros(1, nullptr, registros, 0), Erro(1587));
  EXPECT_EQ(servidor_.LePonteiros(1, ponteiros, nullptr, 0), Erro(1587));
  EXPECT_EQ(servidor_.LePonteiros(2, ponteiros, registros, 0), Erro(1587));
  EXPECT_EQ(registros[0].szCodigo[0], static_cast<char>(0xAB));

  // A removed type stops the read; the types before it stay filled.
  ASSERT_EQ(servidor_.Remove(2), S_OK);
  ponteiros[1] = 2;
  EXPECT_EQ(servidor_.LePonteiros(2, ponteiros, registros, 0), Erro(1586));
  EXPECT_STREQ(registros[0].szCodigo, "A");
  EXPECT_EQ(registros[0].pregOperacoes, nullptr);
}

// A client's session asks the master settings (version 64); a handler built by a handler does not,
// and writes no history. A company name that fills its field (no directory can be named by a cut
// one) or failing settings leave the handler uninitialised.
TEST_F(TipoRecurso, InicializaAsksTheMasterSettingsOnlyThroughCOM) {
  const std::vector<ClasseGravadora::Chamada> chamadas = mestre_->Chamadas();
  ASSERT_EQ(chamadas.size(), 1u);
  EXPECT_EQ(chamadas[0].versao, 64);
  EXPECT_STREQ(chamadas[0].registro.szEmpresa, SessaoTeste().szEmpresa);
  EXPECT_EQ(chamadas[0].registro.lNumeroSessao, SessaoTeste().lNumeroSessao);

  servidor_.Finaliza();
  RegistraMestre(S_OK);
  ASSERT_EQ(servidor_.Inicializa(SessaoTeste(), 0), S_OK);
  EXPECT_EQ(Grava(Tipo("A", "Um")), 1u);
  EXPECT_EQ(mestre_->Criacoes(), 0);
  EXPECT_TRUE(Linhas().empty());

  _REG_VARMO_INICIALIZAPS semTerminador = SessaoTeste();
  std::memset(semTerminador.szEmpresa, 'E', sizeof semTerminador.szEmpresa);
  EXPECT_EQ(servidor_.Inicializa(semTerminador, 0), Erro(975));
  EXPECT_EQ(servidor_.LimpaFiltro(), Erro(1585));

  RegistraMestre(Erro(1677));
  EXPECT_EQ(servidor_.Inicializa(SessaoTeste(), 1), Erro(1677));
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  EXPECT_EQ(servidor_.BuscaPonteiros(&lista), Erro(1585));
  EXPECT_EQ(mestre_->Vivos(), 0);
}

// The class forwards as it comes: Existe with the switch off finds what the filter hides, and the
// filter stays for the next search.
TEST_F(TipoRecurso, TheCOMClassForwardsEveryMethod) {
  IQVPP_TipoRecurso* classe = nullptr;
  ASSERT_EQ(PPCriaObjeto<CQVPP_TipoRecurso>(IID_IQVPP_TipoRecurso, reinterpret_cast<void**>(&classe)), S_OK);
  EXPECT_EQ(classe->Inicializa(SessaoTeste(), 63), Erro(1677));
  EXPECT_EQ(classe->LimpaFiltro(), Erro(1585));
  ASSERT_EQ(classe->Inicializa(SessaoTeste(), 64), S_OK);
  uint32_t ulPonteiro = 0;
  ASSERT_EQ(classe->Grava(0, Tipo("CORTE", "Corte", 1), &ulPonteiro), S_OK);
  ASSERT_EQ(classe->SetFiltro({0, 2, 0, 0}), S_OK);
  const Bstr corte(u"Corte");
  uint32_t ulPosicao = 0;
  ASSERT_EQ(classe->Existe(corte.bstr, &ulPosicao, 0), S_OK);
  EXPECT_EQ(ulPosicao, 1u);
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  ASSERT_EQ(classe->BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(lista.lQtd, 0u);
  ASSERT_EQ(classe->LimpaFiltro(), S_OK);
  _REG_PP_LISTA_TIPO_RECURSOPS registros{};
  ASSERT_EQ(classe->BuscaRegistros(&registros, 0), S_OK);
  ASSERT_EQ(registros.ulQtd, 1u);
  CoTaskMemFree(registros.pregLista);
  TipoLido lido;
  ASSERT_EQ(classe->LePonteiros(1, &ulPonteiro, &lido.registro, 0), S_OK);
  EXPECT_STREQ(lido.registro.szCodigo, "CORTE");
  EXPECT_EQ(classe->Remove(1), S_OK);
  EXPECT_EQ(classe->FuncaoGenerica(1, {}, nullptr), static_cast<HRESULT>(0x80040001));
  EXPECT_EQ(classe->Finaliza(), S_OK);
  EXPECT_EQ(classe->Remove(1), Erro(1585));
  classe->Release();
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Tipo Recurso: CORTE - Corte"}}));
}

}  // namespace
