// The frame's cases, run on every master-data handler: the states, the removed mark, the history
// letters, the code search with and without the filter, the argument checks, a refusing usage
// check and a held lock. Each handler is described by a few declarations; what differs between
// them (the signatures of the interface, the departures) stays in the description.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "foundation/CQVArqMarca.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/cadastros/CPPServidorProcesso.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/cadastros/CPPServidorTipoOP.h"
#include "server/cadastros/CPPServidorTipoRecurso.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/server/op/PeriodosOP.h"

namespace {

constexpr HRESULT kNaoInicializado = PPErroHResult(1585);
constexpr HRESULT kSemDiretorio = PPErroHResult(975);
constexpr HRESULT kRemovido = PPErroHResult(1586);
constexpr HRESULT kArgumentoInvalido = PPErroHResult(1587);
constexpr HRESULT kEmUso = PPErroHResult(1588);

// Pointers and counts of either signedness, for comparisons.
template <class N>
int64_t Numero(N numero) {
  return static_cast<int64_t>(numero);
}

// A seam that finds one use of everything.
HRESULT UmaEtapa(const _REG_VARMO_INICIALIZAPS&, int32_t, int32_t* plQtd) {
  *plQtd = 1;
  return S_OK;
}
HRESULT PlanoUsa(const _REG_VARMO_INICIALIZAPS&, int32_t, uint8_t* pcUsado) {
  *pcUsado = 1;
  return S_OK;
}
PPCosturasCadastros CosturasQueUsam() {
  PPCosturasCadastros costuras = PPGetCosturasCadastros();
  costuras.pContaEtapasFluxoProcesso = &UmaEtapa;
  costuras.pContaFluxosTipoOP = &UmaEtapa;
  costuras.pVerificaUsoRecursoPlano = &PlanoUsa;
  return costuras;
}

// What the table needs of the handlers whose interfaces take signed pointers and a reading kind.
template <class T, class R, class F>
struct ComPonteiroAssinado {
  using Tratador = T;
  using Registro = R;
  using Filtro = F;
  using Ponteiro = int32_t;
  using Lista = _REG_VARMO_PONTEIROSPS;
  static constexpr bool kInicializaSemArquivos = false;
  static constexpr bool kHistoricoRemove = true;
  static HRESULT LePonteiros(T& t, int32_t lQtd, Ponteiro* p, R* r) { return t.LePonteiros(lQtd, p, r, 0); }
  static HRESULT Grava(T& t, Ponteiro p, const R& r, Ponteiro* out) { return t.Grava(p, r, out); }
  // Filters that records saved active do not pass.
  static F FiltroQueEsconde() {
    F filtro{};
    filtro.cAtivo = 2;
    return filtro;
  }
  static void Ativa(R& registro) { registro.cAtivo = 1; }
};

struct Processo : ComPonteiroAssinado<CPPServidorProcesso, _REG_VARMO_PROCESSOPS, _REG_VARMO_FILTROPS> {
  static constexpr const char* kTexto = "Processo";
  static constexpr int kMarca = 7;
  static constexpr HRESULT kMarcaOcupada = PPErroHResult(16284);
};
struct TipoOP : ComPonteiroAssinado<CPPServidorTipoOP, _REG_VARMO_TIPO_OPPS, _REG_VARMO_FILTROPS> {
  static constexpr const char* kTexto = "Tipo OP";
  static constexpr int kMarca = 3;
  static constexpr HRESULT kMarcaOcupada = PPErroHResult(16241);
};
struct Recursos : ComPonteiroAssinado<CPPServidorRecursos, _REG_PP_RECURSOPS, _REG_PP_FILTRO_RECURSOPS> {
  static constexpr const char* kTexto = "Recurso";
  static constexpr int kMarca = 6;
  static constexpr HRESULT kMarcaOcupada = PPErroHResult(16276);
};
struct OperacaoProducao : ComPonteiroAssinado<CPPServidorOperacaoProducao, _REG_VARMO_OPERACAO_PRODUCAOPS,
                                              _REG_PP_FILTRO_OPERACAO_PRODUCAOPS> {
  static constexpr const char* kTexto = "Opera\xe7\xe3o";  // Windows-1252
  static constexpr int kMarca = 11;
  static constexpr HRESULT kMarcaOcupada = PPErroHResult(80039);
  static HRESULT LePonteiros(Tratador& t, int32_t lQtd, Ponteiro* p, Registro* r) { return t.LePonteiros(lQtd, p, r); }
};
// Resource types: unsigned pointers, a 16-bit reading kind, an inactive mark instead of an active
// one, no file before the first operation and no history line on removal.
struct TipoRecurso {
  using Tratador = CPPServidorTipoRecurso;
  using Registro = _REG_PP_TIPO_RECURSOPS;
  using Filtro = _REG_PP_FILTRO_TIPO_RECURSOPS;
  using Ponteiro = uint32_t;
  using Lista = _REG_VARMO_PONTEIROS_ULONGPS;
  static constexpr const char* kTexto = "Tipo Recurso";
  static constexpr int kMarca = 15;
  static constexpr HRESULT kMarcaOcupada = PPErroHResult(82023);
  static constexpr bool kInicializaSemArquivos = true;
  static constexpr bool kHistoricoRemove = false;
  static HRESULT LePonteiros(Tratador& t, int32_t lQtd, Ponteiro* p, Registro* r) {
    return t.LePonteiros(static_cast<uint32_t>(lQtd), p, r, 0);
  }
  static HRESULT Grava(Tratador& t, Ponteiro p, const Registro& r, Ponteiro* out) { return t.Grava(p, r, out); }
  static Filtro FiltroQueEsconde() {
    Filtro filtro{};
    filtro.cInativo = 1;  // only inactive types pass
    return filtro;
  }
  static void Ativa(Registro& registro) { registro.cInativo = 0; }
};

template <class C>
class QuadroCadastros : public EmpresaCadastros {
 protected:
  using Tratador = typename C::Tratador;
  using Registro = typename C::Registro;
  using Ponteiro = typename C::Ponteiro;

  void SetUp() override {
    EmpresaCadastros::SetUp();
    // Resource types reach the master settings through the hub, so through COM.
    RegistraServidor();
    // Resources pass a search only in the branches where the user may work: theirs is branch 0.
    DefineAcessoTotal(true, {0});
    tratador_ = std::make_unique<Tratador>();
  }
  void TearDown() override {
    tratador_.reset();
    EmpresaCadastros::TearDown();
  }

  HRESULT Inicializa() { return tratador_->Inicializa(SessaoTeste(), 1); }
  static Registro Novo(const char* codigo, const char* descricao) {
    Registro registro{};
    std::strncpy(registro.szCodigo, codigo, sizeof registro.szCodigo - 1);
    std::strncpy(registro.szDescricao, descricao, sizeof registro.szDescricao - 1);
    C::Ativa(registro);
    return registro;
  }
  Ponteiro Grava(Ponteiro ponteiro, const char* codigo, const char* descricao) {
    Ponteiro gravado = 0;
    EXPECT_EQ(C::Grava(*tratador_, ponteiro, Novo(codigo, descricao), &gravado), S_OK) << codigo;
    return gravado;
  }
  HRESULT Le(Ponteiro ponteiro, Registro* registro) { return C::LePonteiros(*tratador_, 1, &ponteiro, registro); }
  HRESULT Existe(const char16_t* codigo, uint8_t cUtilizaFiltro, Ponteiro* ponteiro) {
    BSTR texto = SysAllocString(codigo);
    const HRESULT hr = tratador_->Existe(texto, ponteiro, cUtilizaFiltro);
    SysFreeString(texto);
    return hr;
  }
  static std::string Linha(const char* codigo, const char* descricao) {
    return std::string(C::kTexto) + ": " + codigo + " - " + descricao;
  }

  std::unique_ptr<Tratador> tratador_;
};

using Cadastros = ::testing::Types<Processo, TipoOP, Recursos, OperacaoProducao, TipoRecurso>;
TYPED_TEST_SUITE(QuadroCadastros, Cadastros);

TYPED_TEST(QuadroCadastros, EveryOperationButInicializaAndFinalizaWaitsForInicializa) {
  auto& t = *this->tratador_;
  typename TypeParam::Lista lista{};
  typename TypeParam::Registro registro{};
  typename TypeParam::Ponteiro ponteiro = 1;
  EXPECT_EQ(t.BuscaPonteiros(&lista), kNaoInicializado);
  EXPECT_EQ(TypeParam::LePonteiros(t, 1, &ponteiro, &registro), kNaoInicializado);
  EXPECT_EQ(this->Existe(u"P01", 0, &ponteiro), kNaoInicializado);
  EXPECT_EQ(TypeParam::Grava(t, 0, registro, &ponteiro), kNaoInicializado);
  EXPECT_EQ(t.Remove(1), kNaoInicializado);
  EXPECT_EQ(t.SetFiltro(typename TypeParam::Filtro{}), kNaoInicializado);
  EXPECT_EQ(t.LimpaFiltro(), kNaoInicializado);
  EXPECT_EQ(t.Finaliza(), S_OK);
  ASSERT_EQ(this->Inicializa(), S_OK);
  EXPECT_EQ(t.Finaliza(), S_OK);
  EXPECT_EQ(t.Remove(1), kNaoInicializado) << "Finaliza leaves the handler as new";
}

TYPED_TEST(QuadroCadastros, ACompanyWithoutDataDirectoryGives975) {
  auto& t = *this->tratador_;
  _REG_VARMO_INICIALIZAPS sessao = SessaoTeste();
  std::strcpy(sessao.szEmpresa, "NENHUMA");
  if constexpr (TypeParam::kInicializaSemArquivos) {
    ASSERT_EQ(t.Inicializa(sessao, 0), S_OK);
    typename TypeParam::Lista lista{};
    EXPECT_EQ(t.BuscaPonteiros(&lista), kSemDiretorio);
  } else {
    EXPECT_EQ(t.Inicializa(sessao, 1), kSemDiretorio);
    EXPECT_EQ(t.Remove(1), kNaoInicializado);
  }
}

TYPED_TEST(QuadroCadastros, GravaAppendsThenRewritesAndRemoveMarksOnceWithOneLineEach) {
  auto& t = *this->tratador_;
  ASSERT_EQ(this->Inicializa(), S_OK);
  EXPECT_EQ(Numero(this->Grava(0, "P01", "Corte")), 1);
  EXPECT_EQ(Numero(this->Grava(1, "P01", "Corte fino")), 1);
  EXPECT_EQ(t.Remove(1), S_OK);
  EXPECT_EQ(t.Remove(1), S_OK) << "a removed record stays removed";
  std::vector<LinhaCadastro> esperadas = {{'I', this->Linha("P01", "Corte")}, {'A', this->Linha("P01", "Corte fino")}};
  if (TypeParam::kHistoricoRemove) esperadas.push_back({'E', this->Linha("P01", "Corte fino")});
  EXPECT_EQ(this->Linhas(), esperadas);

  typename TypeParam::Registro registro{};
  EXPECT_EQ(this->Le(1, &registro), kRemovido);
  typename TypeParam::Lista lista{};
  ASSERT_EQ(t.BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(Numero(lista.lQtd), 0);
  EXPECT_EQ(lista.plPonteiro, nullptr);
  typename TypeParam::Ponteiro ponteiro = 9;
  ASSERT_EQ(this->Existe(u"p01", 0, &ponteiro), S_OK);
  EXPECT_EQ(Numero(ponteiro), 0);
}

TYPED_TEST(QuadroCadastros, ExisteIgnoresCaseAndTheFilterUnlessAskedToUseIt) {
  auto& t = *this->tratador_;
  ASSERT_EQ(this->Inicializa(), S_OK);
  this->Grava(0, "SERRA", "Serra");
  this->Grava(0, "CORTE", "Corte");
  typename TypeParam::Ponteiro ponteiro = 0;
  ASSERT_EQ(this->Existe(u"corte", 1, &ponteiro), S_OK);
  EXPECT_EQ(Numero(ponteiro), 2);

  ASSERT_EQ(t.SetFiltro(TypeParam::FiltroQueEsconde()), S_OK);
  ASSERT_EQ(this->Existe(u"corte", 1, &ponteiro), S_OK);
  EXPECT_EQ(Numero(ponteiro), 0) << "hidden by the filter";
  ASSERT_EQ(this->Existe(u"corte", 0, &ponteiro), S_OK);
  EXPECT_EQ(Numero(ponteiro), 2);
  typename TypeParam::Lista lista{};
  ASSERT_EQ(t.BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(Numero(lista.lQtd), 0) << "the filter is still set";
  ASSERT_EQ(t.LimpaFiltro(), S_OK);
  ASSERT_EQ(t.BuscaPonteiros(&lista), S_OK);
  ASSERT_EQ(Numero(lista.lQtd), 2);
  EXPECT_EQ(Numero(lista.plPonteiro[0]), 1);
  EXPECT_EQ(Numero(lista.plPonteiro[1]), 2);
  CoTaskMemFree(lista.plPonteiro);

  EXPECT_EQ(this->Existe(u"", 0, &ponteiro), kArgumentoInvalido);
}

TYPED_TEST(QuadroCadastros, ArgumentsOutOfRangeGive1587) {
  auto& t = *this->tratador_;
  ASSERT_EQ(this->Inicializa(), S_OK);
  typename TypeParam::Ponteiro ponteiro = 1;
  typename TypeParam::Registro registro{};
  EXPECT_EQ(TypeParam::LePonteiros(t, 0, &ponteiro, &registro), kArgumentoInvalido);
  EXPECT_EQ(t.Remove(0), kArgumentoInvalido);
}

TYPED_TEST(QuadroCadastros, ARecordInUseIsRefusedWith1588AndNothingIsWritten) {
  auto& t = *this->tratador_;
  ASSERT_EQ(this->Inicializa(), S_OK);
  this->Grava(0, "P01", "Corte");
  const std::map<std::string, std::string> antes = this->empresa_.Arquivos();
  const size_t linhas = this->Linhas().size();
  {
    CosturasFalsas usam(CosturasQueUsam());
    if constexpr (std::is_same_v<TypeParam, TipoRecurso>) {
      // A resource of the type.
      CPPServidorRecursos recursos;
      ASSERT_EQ(recursos.Inicializa(SessaoTeste(), 0), S_OK);
      _REG_PP_RECURSOPS recurso{};
      std::strcpy(recurso.szCodigo, "R1");
      recurso.ulPonteiroTipoRecurso = 1;
      int32_t p = 0;
      ASSERT_EQ(recursos.Grava(0, recurso, &p), S_OK);
      const std::map<std::string, std::string> comRecurso = this->empresa_.Arquivos();
      EXPECT_EQ(t.Remove(1), kEmUso);
      EXPECT_EQ(this->empresa_.Arquivos(), comRecurso);
      return;
    }
    if constexpr (std::is_same_v<TypeParam, OperacaoProducao>) {
      // A report of 05/2024 names the operation. The checks open the month's files as the engine
      // does, creating the missing ones, and the resource types' files: the operations' own file
      // is what must stay.
      MesOP mes(static_cast<uint16_t>((2024 - 1848) * 12 + 5));
      mes.Apontamento({.operacao = 1});
      mes.Grava(this->empresa_);
      const std::string operacoes = this->empresa_.Le("PPOPPCAB.DAT");
      EXPECT_EQ(t.Remove(1), kEmUso);
      EXPECT_EQ(this->empresa_.Le("PPOPPCAB.DAT"), operacoes);
      EXPECT_EQ(this->Linhas().size(), linhas);
      return;
    }
    EXPECT_EQ(t.Remove(1), kEmUso);
  }
  EXPECT_EQ(this->empresa_.Arquivos(), antes);
  EXPECT_EQ(this->Linhas().size(), linhas);
}

TYPED_TEST(QuadroCadastros, GravaWaitsForTheEntityLockAndGivesItsHoldersMessageWhenTheClockRunsOut) {
  auto& t = *this->tratador_;
  ASSERT_EQ(this->Inicializa(), S_OK);
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(this->empresa_.Diretorio().c_str(), TypeParam::kMarca), 0);
  const DWORD inicio = GetTickCount();
  typename TypeParam::Ponteiro ponteiro = 0;
  EXPECT_EQ(TypeParam::Grava(t, 0, this->Novo("P01", "Corte"), &ponteiro), TypeParam::kMarcaOcupada);
  EXPECT_GE(GetTickCount() - inicio, CQVArqMarca::kEsperaMarca) << "it waited the whole time";
  EXPECT_TRUE(this->Linhas().empty());
  ASSERT_EQ(outro.Desmarca(), 0);
  EXPECT_EQ(TypeParam::Grava(t, 0, this->Novo("P01", "Corte"), &ponteiro), S_OK);
  EXPECT_EQ(Numero(ponteiro), 1);
}

}  // namespace
