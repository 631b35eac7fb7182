// The two code tables, collections and scrap reasons, over a company: the record at its offsets, the
// history texts, what they keep where other master data differ (an empty code is searched, removed
// records are read, a removal is marked again), a position <= 0 that Remove refuses before writing,
// their filters, their usage checks over the order files, their locks; and the initialiser base
// they live on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "platform/com/bstr.h"
#include "platform/family/kelmar/CQVInicializador.h"
#include "server/cadastros/CPPServidorColecao.h"
#include "server/cadastros/CPPServidorMotivoRefugo.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/server/op/PeriodosOP.h"

namespace {

constexpr HRESULT kNaoInicializado = PPErroHResult(1585);
constexpr HRESULT kRemovido = PPErroHResult(1586);
constexpr HRESULT kArgumentoInvalido = PPErroHResult(1587);
constexpr HRESULT kEmUso = PPErroHResult(1588);
constexpr HRESULT kAlemDoFim = PPErroHResult(16021);
constexpr HRESULT kArquivoPartido = PPErroHResult(1722);
constexpr size_t kTamanho = 128;
constexpr uint16_t kMaio2024 = (2024 - 1848) * 12 + 5;

struct Colecao {
  using Tratador = CPPServidorColecao;
  using Registro = _REG_PP_COLECAOPS;
  using Filtro = _REG_PP_FILTRO_COLECAOPS;
  static constexpr const char* kArquivo = "PPCOLCAO.DAT";
  static constexpr const char* kTexto = "Projeto";
  static constexpr int kMarca = 4;
  static void Estado(Registro& registro, uint8_t cEstado) { registro.cSituacao = cEstado; }
  static uint8_t Estado(const Registro& registro) { return registro.cSituacao; }
  static Filtro FiltroDe(uint8_t cEstado) { return {cEstado, {}}; }
  // A requirement of the month names the collection.
  static void Usa(MesOP& mes, int32_t lPosicao) { mes.Necessidade({.produto = 5, .colecao = lPosicao}); }
};

struct MotivoRefugo {
  using Tratador = CPPServidorMotivoRefugo;
  using Registro = _REG_PP_MOTIVO_REFUGOPS;
  using Filtro = _REG_PP_FILTRO_MOTIVO_REFUGOPS;
  static constexpr const char* kArquivo = "PPMOTREF.DAT";
  static constexpr const char* kTexto = "Motivo Refugo";
  static constexpr int kMarca = 10;
  static void Estado(Registro& registro, uint8_t cEstado) { registro.cAtivo = cEstado; }
  static uint8_t Estado(const Registro& registro) { return registro.cAtivo; }
  static Filtro FiltroDe(uint8_t cEstado) { return {cEstado, {}}; }
  // A production report of the month gives the reason for its scrap.
  static void Usa(MesOP& mes, int32_t lPosicao) { mes.Apontamento({.operacao = 3, .motivoRefugo = lPosicao}); }
};

struct Bstr {
  explicit Bstr(const char16_t* texto) : bstr(SysAllocString(texto)) {}
  ~Bstr() { SysFreeString(bstr); }
  BSTR bstr;
};

template <class C>
class TabelaCodigo : public EmpresaCadastros {
 protected:
  using Registro = typename C::Registro;

  void SetUp() override {
    EmpresaCadastros::SetUp();
    ASSERT_EQ(tratador_.Inicializa(SessaoTeste(), 1), S_OK);
  }
  void TearDown() override {
    tratador_.Finaliza();
    EmpresaCadastros::TearDown();
  }

  static Registro Novo(const char* codigo, const char* descricao, uint8_t cEstado = 0) {
    Registro registro{};
    std::strncpy(registro.szCodigo, codigo, sizeof registro.szCodigo - 1);
    std::strncpy(registro.szDescricao, descricao, sizeof registro.szDescricao - 1);
    C::Estado(registro, cEstado);
    return registro;
  }
  int32_t Grava(const Registro& registro, int32_t lPosicao = 0) {
    int32_t lPosicaoOut = -7;
    EXPECT_EQ(tratador_.Grava(lPosicao, registro, &lPosicaoOut), S_OK);
    return lPosicaoOut;
  }
  int32_t Existe(const char16_t* codigo, uint8_t cUtilizaFiltro) {
    const Bstr texto(codigo);
    int32_t lPosicao = -7;
    EXPECT_EQ(tratador_.Existe(texto.bstr, &lPosicao, cUtilizaFiltro), S_OK);
    return lPosicao;
  }
  std::vector<int32_t> Ponteiros() {
    _REG_VARMO_PONTEIROSPS lista{};
    EXPECT_EQ(tratador_.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }
  std::string Arquivo() const { return empresa_.Le(C::kArquivo); }
  std::string Disco(int n) const { return Arquivo().substr(n * kTamanho, kTamanho); }
  static LinhaCadastro Linha(char operacao, const char* codigo, const char* descricao) {
    return {operacao, std::string(C::kTexto) + ": " + codigo + " - " + descricao};
  }

  typename C::Tratador tratador_;
};

using Tabelas = ::testing::Types<Colecao, MotivoRefugo>;
TYPED_TEST_SUITE(TabelaCodigo, Tabelas);

TYPED_TEST(TabelaCodigo, GravaWritesTheRecordAtItsOffsetsAndRewritesInPlace) {
  EXPECT_EQ(this->Grava(this->Novo("c01", "Primeira", 'A')), 1);
  EXPECT_EQ(this->Grava(this->Novo("C02", "Segunda", 3)), 2);
  std::string esperado(kTamanho, '\0');
  std::memcpy(&esperado[0], "c01", 3);
  std::memcpy(&esperado[10], "Primeira", 8);
  esperado[60] = 'A';
  EXPECT_EQ(this->Disco(1), esperado);
  EXPECT_EQ(this->Arquivo().size(), 3 * kTamanho);
  EXPECT_EQ(this->Disco(0), std::string(kTamanho, '\0'));

  EXPECT_EQ(this->Grava(this->Novo("C01", "Outra", 1), 1), 1);
  EXPECT_EQ(this->Arquivo().size(), 3 * kTamanho) << "a rewrite stays in place";
  typename TypeParam::Registro lido{};
  ASSERT_EQ(this->tratador_.Le(1, &lido), S_OK);
  EXPECT_EQ(lido.lPosicao, 1);
  EXPECT_STREQ(lido.szCodigo, "C01");
  EXPECT_STREQ(lido.szDescricao, "Outra");
  EXPECT_EQ(TypeParam::Estado(lido), 1);
  EXPECT_EQ(this->Linhas(), (std::vector<LinhaCadastro>{this->Linha('I', "c01", "Primeira"),
                                                        this->Linha('I', "C02", "Segunda"),
                                                        this->Linha('A', "C01", "Outra")}));
}

// The COM record's texts are read within their fields: a full code and description are cut to the
// disk's 10 and 50 characters and come back terminated.
TYPED_TEST(TabelaCodigo, FullTextsAreCutToTheirDiskFields) {
  typename TypeParam::Registro registro{};
  std::memset(registro.szCodigo, 'C', sizeof registro.szCodigo);
  std::memset(registro.szDescricao, 'D', sizeof registro.szDescricao);
  TypeParam::Estado(registro, 7);  // right after the description: must not join it
  ASSERT_EQ(this->Grava(registro), 1);
  EXPECT_EQ(this->Disco(1).substr(0, 61), std::string(10, 'C') + std::string(50, 'D') + '\7');
  typename TypeParam::Registro lido{};
  ASSERT_EQ(this->tratador_.Le(1, &lido), S_OK);
  EXPECT_EQ(std::string(lido.szCodigo), std::string(10, 'C'));
  EXPECT_EQ(std::string(lido.szDescricao), std::string(50, 'D'));
}

// Reading neither counts nor skips: a count <= 0 answers 0 untouched, a removed record reads like a
// live one, and a position past the end is the engine's error.
TYPED_TEST(TabelaCodigo, LePonteirosDeliversRemovedRecordsAndHasNoCountCheck) {
  ASSERT_EQ(this->Grava(this->Novo("A", "Um")), 1);
  ASSERT_EQ(this->Grava(this->Novo("B", "Dois")), 2);
  ASSERT_EQ(this->tratador_.Remove(2), S_OK);
  typename TypeParam::Registro registros[2];
  std::memset(registros, 0xAB, sizeof registros);
  int32_t ponteiros[2] = {2, 1};
  for (int32_t lQtd : {0, -1}) EXPECT_EQ(this->tratador_.LePonteiros(lQtd, ponteiros, registros), S_OK);
  EXPECT_EQ(registros[0].lPosicao, static_cast<int32_t>(0xABABABAB));
  ASSERT_EQ(this->tratador_.LePonteiros(2, ponteiros, registros), S_OK);
  EXPECT_EQ(registros[0].lPosicao, 2);
  EXPECT_STREQ(registros[0].szCodigo, "B");
  EXPECT_EQ(registros[1].lPosicao, 1);
  EXPECT_STREQ(registros[1].szDescricao, "Um");
  EXPECT_EQ(this->tratador_.Le(3, registros), kAlemDoFim);
}

// A position <= 0 is refused before anything opens (position 0 would mark the zero header and
// append it removed); a removed record is marked again with a second 'E' line, and a rewrite of it
// is refused.
TYPED_TEST(TabelaCodigo, RemoveRefusesPositionsUpToZeroAndMarksARemovedRecordAgain) {
  ASSERT_EQ(this->Grava(this->Novo("c01", "Primeira")), 1);
  const std::string antes = this->Arquivo();
  for (int32_t lPosicao : {0, -1}) EXPECT_EQ(this->tratador_.Remove(lPosicao), kArgumentoInvalido) << lPosicao;
  EXPECT_EQ(this->tratador_.Remove(2), kAlemDoFim);
  EXPECT_EQ(this->Arquivo(), antes);

  ASSERT_EQ(this->tratador_.Remove(1), S_OK);
  EXPECT_EQ(static_cast<uint8_t>(this->Disco(1)[61]), 1);
  ASSERT_EQ(this->tratador_.Remove(1), S_OK);
  EXPECT_EQ(this->Arquivo().size(), 2 * kTamanho);
  int32_t lPosicao = 0;
  EXPECT_EQ(this->tratador_.Grava(1, this->Novo("c01", "De novo"), &lPosicao), kRemovido);
  EXPECT_EQ(this->tratador_.Grava(-1, this->Novo("c01", "De novo"), &lPosicao), kAlemDoFim);
  EXPECT_EQ(this->Arquivo().size(), 2 * kTamanho);
  const LinhaCadastro remocao = this->Linha('E', "c01", "Primeira");
  EXPECT_EQ(this->Linhas(),
            (std::vector<LinhaCadastro>{this->Linha('I', "c01", "Primeira"), remocao, remocao}));
  EXPECT_TRUE(this->Ponteiros().empty());
}

// The code is compared without regard to case; an empty code is searched like any other; removed
// records are skipped; the filter applies only when asked for with 1 and stays set.
TYPED_TEST(TabelaCodigo, ExisteIgnoresCaseSearchesAnEmptyCodeAndFiltersOnlyWhenAsked) {
  ASSERT_EQ(this->Grava(this->Novo("CORTE", "Corte", 0)), 1);
  ASSERT_EQ(this->Grava(this->Novo("", "Sem codigo", 0)), 2);
  ASSERT_EQ(this->Grava(this->Novo("Corte", "Outro", 0)), 3);
  EXPECT_EQ(this->Existe(u"corte", 1), 1);
  EXPECT_EQ(this->Existe(u"", 1), 2);
  EXPECT_EQ(this->Existe(u"nada", 1), 0);
  ASSERT_EQ(this->tratador_.Remove(1), S_OK);
  EXPECT_EQ(this->Existe(u"CORTE", 1), 3);

  // A filter that hides records of state 0 ('A' for scrap reasons, any bit for collections).
  ASSERT_EQ(this->tratador_.SetFiltro(TypeParam::FiltroDe(TypeParam::kMarca == 4 ? 0xFF : 'A')), S_OK);
  EXPECT_EQ(this->Existe(u"corte", 1), 0);
  for (uint8_t cUtilizaFiltro : {0, 2}) EXPECT_EQ(this->Existe(u"corte", cUtilizaFiltro), 3);
  EXPECT_TRUE(this->Ponteiros().empty()) << "the filter stays in force";
  ASSERT_EQ(this->tratador_.LimpaFiltro(), S_OK);
  EXPECT_EQ(this->Ponteiros(), (std::vector<int32_t>{2, 3}));
}

// A record that the order files name is refused with 1588 and left as it was; once the name goes,
// it is removed.
TYPED_TEST(TabelaCodigo, ARecordInUseIsRefusedWith1588AndNothingIsWritten) {
  ASSERT_EQ(this->Grava(this->Novo("c01", "Primeira")), 1);
  ASSERT_EQ(this->Grava(this->Novo("c02", "Segunda")), 2);
  MesOP mes(kMaio2024);
  TypeParam::Usa(mes, 2);
  mes.Grava(this->empresa_);
  const std::string antes = this->Arquivo();
  EXPECT_EQ(this->tratador_.Remove(2), kEmUso);
  EXPECT_EQ(this->Arquivo(), antes);
  EXPECT_EQ(this->tratador_.Remove(1), S_OK);
  EXPECT_EQ(this->Linhas().back(), this->Linha('E', "c01", "Primeira"));
}

TYPED_TEST(TabelaCodigo, WritersWaitForTheTablesLockAndGiveItsHoldersMessage) {
  ASSERT_EQ(this->Grava(this->Novo("c01", "Primeira")), 1);
  const std::string antes = this->Arquivo();
  const HRESULT kOcupada = PPErroHResult(QVMensagemMarca(TypeParam::kMarca, true));
  {
    CQVArqMarca outro;
    ASSERT_EQ(outro.Marca(this->empresa_.Diretorio().c_str(), TypeParam::kMarca), 0);
    int32_t lPosicao = 0;
    EXPECT_EQ(this->tratador_.Grava(0, this->Novo("c02", "Segunda"), &lPosicao), kOcupada);
    EXPECT_EQ(this->tratador_.Grava(1, this->Novo("c01", "Outra"), &lPosicao), kOcupada);
    EXPECT_EQ(this->tratador_.Remove(1), kOcupada);
    EXPECT_EQ(this->Arquivo(), antes);
  }
  EXPECT_EQ(this->tratador_.Remove(1), S_OK);
  EXPECT_EQ(this->Linhas().size(), 2u);
}

// Before Inicializa, after Finaliza and after a failed Inicializa every operation answers 1585. A
// handler built without COM writes no history; a company name that fills its field names no
// directory (975).
TYPED_TEST(TabelaCodigo, InicializaStartsTheSessionAndFinalizaEndsIt) {
  auto& t = this->tratador_;
  auto respondeNaoInicializado = [&] {
    _REG_VARMO_PONTEIROSPS lista{};
    typename TypeParam::Registro registro{};
    int32_t lPosicao = 1;
    const Bstr codigo(u"c01");
    EXPECT_EQ(t.BuscaPonteiros(&lista), kNaoInicializado);
    EXPECT_EQ(t.LePonteiros(1, &lPosicao, &registro), kNaoInicializado);
    EXPECT_EQ(t.Le(1, &registro), kNaoInicializado);
    EXPECT_EQ(t.Grava(0, registro, &lPosicao), kNaoInicializado);
    EXPECT_EQ(t.Remove(1), kNaoInicializado);
    EXPECT_EQ(t.Existe(codigo.bstr, &lPosicao, 0), kNaoInicializado);
    EXPECT_EQ(t.SetFiltro(typename TypeParam::Filtro{}), kNaoInicializado);
    EXPECT_EQ(t.LimpaFiltro(), kNaoInicializado);
  };
  EXPECT_EQ(t.Finaliza(), S_OK);
  respondeNaoInicializado();

  ASSERT_EQ(t.Inicializa(SessaoTeste(), 0), S_OK);
  ASSERT_EQ(t.SetFiltro(TypeParam::FiltroDe(1)), S_OK);
  ASSERT_EQ(t.Inicializa(SessaoTeste(), 0), S_OK);  // finalises first: the filter is gone
  const typename TypeParam::Filtro zero{};
  EXPECT_EQ(std::memcmp(&t.GetFiltro(), &zero, sizeof zero), 0);
  EXPECT_EQ(this->Grava(this->Novo("c01", "Primeira")), 1);
  EXPECT_EQ(t.Remove(1), S_OK);
  EXPECT_TRUE(this->Linhas().empty());

  _REG_VARMO_INICIALIZAPS semTerminador = SessaoTeste();
  std::memset(semTerminador.szEmpresa, 'E', sizeof semTerminador.szEmpresa);
  EXPECT_EQ(t.Inicializa(semTerminador, 1), PPErroHResult(975));
  respondeNaoInicializado();
}

using Colecoes = TabelaCodigo<Colecao>;
using MotivosRefugo = TabelaCodigo<MotivoRefugo>;

// A filter passes the situations that share a bit with it; 0 passes all.
TEST_F(Colecoes, TheFilterPassesSituationsThatShareABit) {
  for (uint8_t cSituacao : {0, 1, 2, 3}) ASSERT_EQ(Grava(Novo("C", "Colecao", cSituacao)), cSituacao + 1);
  struct Caso {
    uint8_t cFiltro;
    std::vector<int32_t> ponteiros;
  };
  const Caso casos[] = {{0, {1, 2, 3, 4}}, {3, {2, 3, 4}}, {1, {2, 4}}, {2, {3, 4}}, {4, {}}};
  for (const Caso& caso : casos) {
    SCOPED_TRACE(static_cast<int>(caso.cFiltro));
    ASSERT_EQ(tratador_.SetFiltro({caso.cFiltro, {}}), S_OK);
    EXPECT_EQ(Ponteiros(), caso.ponteiros);
  }
}

// An order names the collection as its project; a check that cannot read the order files refuses
// the removal too.
TEST_F(Colecoes, AnOrderOrAFailedCheckRefusesTheRemovalWith1588) {
  ASSERT_EQ(Grava(Novo("c01", "Primeira")), 1);
  ASSERT_EQ(Grava(Novo("c02", "Segunda")), 2);
  MesOP mes(kMaio2024);
  mes.Ordem({.colecao = 1});
  mes.Grava(empresa_);
  EXPECT_EQ(tratador_.Remove(1), kEmUso);

  empresa_.Escreve(MesOP::Nome("PPOP", kMaio2024), std::string(300, '\0'));  // a torn append
  EXPECT_EQ(tratador_.Remove(2), kEmUso);
  EXPECT_EQ(static_cast<uint8_t>(Disco(1)[61]) | static_cast<uint8_t>(Disco(2)[61]), 0);
  EXPECT_EQ(Linhas().size(), 2u);
}

// 'A' passes the active reasons only; any other filter value passes all.
TEST_F(MotivosRefugo, TheFilterAPassesActiveReasonsOnly) {
  ASSERT_EQ(Grava(Novo("M1", "Ativo", 'A')), 1);
  ASSERT_EQ(Grava(Novo("M2", "Inativo", 'I')), 2);
  ASSERT_EQ(Grava(Novo("M3", "Um", 1)), 3);
  struct Caso {
    uint8_t cFiltro;
    std::vector<int32_t> ponteiros;
  };
  const Caso casos[] = {{'A', {1}}, {0, {1, 2, 3}}, {1, {1, 2, 3}}, {'I', {1, 2, 3}}, {'a', {1, 2, 3}}};
  for (const Caso& caso : casos) {
    SCOPED_TRACE(static_cast<int>(caso.cFiltro));
    ASSERT_EQ(tratador_.SetFiltro({caso.cFiltro, {}}), S_OK);
    EXPECT_EQ(Ponteiros(), caso.ponteiros);
  }
}

// The reports' check's error is the removal's answer, not 1588.
TEST_F(MotivosRefugo, AFailedCheckIsReturnedAsItIs) {
  ASSERT_EQ(Grava(Novo("M1", "Ativo", 'A')), 1);
  empresa_.Escreve(MesOP::Nome("PPAP", kMaio2024), std::string(300, '\0'));  // a torn append
  EXPECT_EQ(tratador_.Remove(1), kArquivoPartido);
  EXPECT_EQ(static_cast<uint8_t>(Disco(1)[61]), 0);
}

// The base keeps the session and runs the hooks: OnInicializa with the session stored, OnFinaliza
// while it still is; a failing OnInicializa undoes the start.
class Inicializador : public CQVInicializador {
 public:
  HRESULT resposta = S_OK;
  std::vector<std::string> chamadas;

 protected:
  HRESULT OnInicializa() override {
    chamadas.push_back("I " + std::string(GetEmpresa()) + " " + std::to_string(GetUsuario()) + " " +
                       std::to_string(GetNumeroSessao()) + (EstaInicializado() ? " sim" : " nao"));
    return resposta;
  }
  void OnFinaliza() override { chamadas.push_back("F " + std::string(GetEmpresa())); }
};

TEST(CQVInicializador, KeepsTheSessionAndRunsItsHooksInOrder) {
  Inicializador objeto;
  EXPECT_FALSE(objeto.EstaInicializado());
  ASSERT_EQ(objeto.Inicializa("EMP", 7, 42), S_OK);
  EXPECT_TRUE(objeto.EstaInicializado());
  EXPECT_EQ(std::string(objeto.GetEmpresa()), "EMP");
  EXPECT_EQ(objeto.GetUsuario(), 7);
  EXPECT_EQ(objeto.GetNumeroSessao(), 42);
  EXPECT_EQ(objeto.Finaliza(), S_OK);
  EXPECT_FALSE(objeto.EstaInicializado());
  EXPECT_EQ(std::string(objeto.GetEmpresa()), "");
  EXPECT_EQ(objeto.GetNumeroSessao(), 0);

  objeto.resposta = PPErroHResult(975);
  EXPECT_EQ(objeto.Inicializa("OUTRA", 8, 43), PPErroHResult(975));
  EXPECT_FALSE(objeto.EstaInicializado());
  EXPECT_EQ(objeto.GetUsuario(), 0);
  EXPECT_EQ(objeto.chamadas, (std::vector<std::string>{"I EMP 7 42 sim", "F EMP", "I OUTRA 8 43 sim", "F OUTRA"}));
}

}  // namespace
