// The readers and caches of order types, processes, resources and production operations over the
// module's own classes, reached through COM from a hub of a company whose sessions open: what the
// class saved comes back alike through the reader and the cache; look-ups by code honour the
// class's filter; a removed record answers 1586; every task-allocator block a class hands out goes
// back once; the process cache keeps the stops of today and later under (resource, date); the
// caches follow their load, look-up and drop rules. The maintenance classes are fakes whose stops
// the process class reads.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "access/CPPBufferDados.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "server/cadastros/CPPServidorTipoOP.h"
#include "server/idl/VarmoIdentificadores.h"
#include "tests/crash/Queda.h"
#include "tests/access/TipoRecursoFalso.h"
#include "tests/server/cadastros/EmpresaCadastros.h"

namespace {

constexpr int32_t kRemovido = static_cast<int32_t>(0x80040000 | 1586);
constexpr uint8_t kParadas = 0x80;
constexpr uint8_t kUsuariosTipoOP = 1;
constexpr uint8_t kRecursosProcesso = 2;
// The branch of the resources, one the session's user may work in.
constexpr uint16_t kFilial = 1;

CY Cy(int64_t decimilesimos) {
  CY valor;
  valor.int64 = decimilesimos;
  return valor;
}

template <class Registro>
Registro Novo(const char* codigo, const char* descricao) {
  Registro registro{};
  std::strcpy(registro.szCodigo, codigo);
  std::strcpy(registro.szDescricao, descricao);
  registro.cAtivo = 1;
  if constexpr (std::is_same_v<Registro, _REG_PP_RECURSOPS>) registro.usPonteiroFilial = kFilial;
  return registro;
}

// ---- Fake maintenance classes ---------------------------------------------------------------------

// The programmed maintenances of each resource, one plan each; the lists go out through the task
// allocator. Counts its list calls.
class PlanosFalsos : public ServidorFalso<IQVPP_Manutencao> {
 public:
  std::map<int32_t, std::vector<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS>> paradas;
  int chamadas = 0;

  HRESULT GravaListaPlanoManutencao(int32_t, uint16_t, _REG_PP_PLANO_MANUTENCAOPS*) override { return E_NOTIMPL; }
  HRESULT Grava(int32_t, _REG_PP_PLANO_MANUTENCAOPS, int32_t*) override { return E_NOTIMPL; }
  HRESULT Remove(int32_t, uint8_t) override { return E_NOTIMPL; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return E_NOTIMPL; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return E_NOTIMPL; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_PP_PLANO_MANUTENCAOPS*, uint8_t) override { return E_NOTIMPL; }
  HRESULT Le(int32_t, _REG_PP_PLANO_MANUTENCAOPS*, uint8_t) override { return E_NOTIMPL; }
  HRESULT SetFiltro(_REG_PP_FILTRO_PLANO_MANUTENCAOPS) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return E_NOTIMPL; }
  HRESULT AtualizaPlanoManutencao(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS) override { return E_NOTIMPL; }

  HRESULT BuscaListaPlanoManutencao(_REG_PP_FILTRO_PLANO_MANUTENCAOPS filtro, _REG_PP_LISTA_PLANO_MANUTENCAOPS* lista,
                                    uint8_t) override {
    ++chamadas;
    *lista = {};
    const auto& doRecurso = paradas[filtro.lPonteiroRecurso];
    if (doRecurso.empty()) return S_OK;
    auto* plano = static_cast<_REG_PP_PLANO_MANUTENCAOPS*>(CoTaskMemAlloc(sizeof(_REG_PP_PLANO_MANUTENCAOPS)));
    *plano = _REG_PP_PLANO_MANUTENCAOPS{};
    auto* copia = static_cast<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS*>(
        CoTaskMemAlloc(doRecurso.size() * sizeof(_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS)));
    std::copy(doRecurso.begin(), doRecurso.end(), copia);
    plano->usQuantManutProgramada = static_cast<uint16_t>(doRecurso.size());
    plano->pregManutencaoProgramada = copia;
    lista->usQuantidade = 1;
    lista->pregListaManutencao = plano;
    return S_OK;
  }
};

// No maintenance order for any resource.
class GestaoSemOrdens : public ServidorFalso<IQVPP_GestaoManutencao> {
 public:
  HRESULT BuscaPonteirosPeriodo(uint16_t, uint16_t, _REG_VARMO_PONTEIROS_ULONGPS*) override { return E_NOTIMPL; }
  HRESULT BuscaPonteirosPeriodoRecurso(_REG_PP_DISPONIBILIDADE_RECURSOPS, _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return E_NOTIMPL;
  }
  HRESULT Grava(uint32_t, _REG_PP_MANUTENCAOPS, uint32_t*) override { return E_NOTIMPL; }
  HRESULT Remove(uint32_t) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return S_OK; }
  HRESULT Existe(BSTR, uint32_t*) override { return E_NOTIMPL; }
  HRESULT SetFiltro(_REG_PP_FILTRO_GESTAO_MANUTENCAOPS) override { return S_OK; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* lista) override {
    *lista = {};
    return S_OK;
  }
  HRESULT LePonteiros(int32_t, uint32_t*, _REG_PP_MANUTENCAOPS*, uint16_t) override { return E_NOTIMPL; }
};

// An object of the test's stack served as the class's only object while this lives.
template <class Interface>
class ClasseDoObjeto {
 public:
  ClasseDoObjeto(REFCLSID clsid, Interface* objeto) {
    auto* fabrica = new FunctionClassFactory([objeto](REFIID, void** saida) {
      objeto->AddRef();
      *saida = objeto;
      return S_OK;
    });
    registro_ = CoRegisterClassObject(clsid, fabrica, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    fabrica->Release();
  }
  ~ClasseDoObjeto() {
    if (SUCCEEDED(registro_)) CoRevokeClassObject(cookie_);
  }
  HRESULT Registro() const { return registro_; }

 private:
  DWORD cookie_ = 0;
  HRESULT registro_ = E_FAIL;
};

// ---- Fakes set into a hub -----------------------------------------------------------------------

// A process server that states two resources without their array.
class ProcessoSemRecursos : public ServidorFalso<IQVPP_Processo> {
 public:
  HRESULT Grava(int32_t, _REG_VARMO_PROCESSOPS, int32_t*) override { return E_NOTIMPL; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return E_NOTIMPL; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_VARMO_PROCESSOPS*, uint8_t) override { return E_NOTIMPL; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return E_NOTIMPL; }
  HRESULT Remove(int32_t) override { return E_NOTIMPL; }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return E_NOTIMPL; }
  HRESULT Le(int32_t lPntr, _REG_VARMO_PROCESSOPS* registro, uint8_t) override {
    *registro = Novo<_REG_VARMO_PROCESSOPS>("P09", "Sem array");
    registro->lPosicao = lPntr;
    registro->usQtdRecursos = 2;
    registro->pregRecursos = nullptr;
    return S_OK;
  }
};

// A resource server whose history hands out its list and then fails.
class HistoricoQueFalha : public ServidorFalso<IQVPP_Recursos> {
 public:
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return E_NOTIMPL; }
  HRESULT VerificaMovimentoRecurso(int32_t, uint8_t*) override { return E_NOTIMPL; }
  HRESULT Remove(int32_t) override { return E_NOTIMPL; }
  HRESULT Grava(int32_t, _REG_PP_RECURSOPS, int32_t*) override { return E_NOTIMPL; }
  HRESULT Le(int32_t, _REG_PP_RECURSOPS*, uint8_t) override { return E_NOTIMPL; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_PP_RECURSOPS*, uint8_t) override { return E_NOTIMPL; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return E_NOTIMPL; }
  HRESULT SetFiltro(_REG_PP_FILTRO_RECURSOPS) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return E_NOTIMPL; }
  HRESULT AlteraManualContadorRecurso(_REG_PP_RECURSO_HISTORICO_CONTADORPS) override { return E_NOTIMPL; }
  HRESULT AtualizaContador(uint32_t, _REG_PP_ATUALIZA_CONTADOR_RECURSOPS) override { return E_NOTIMPL; }
  HRESULT BuscaHistoricoAlteracaoManualContador(uint32_t,
                                                _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS* lista) override {
    lista->ulQuantidade = 2;
    lista->pregLista = static_cast<_REG_PP_RECURSO_HISTORICO_CONTADORPS*>(
        CoTaskMemAlloc(2 * sizeof(_REG_PP_RECURSO_HISTORICO_CONTADORPS)));
    std::memset(lista->pregLista, 0, 2 * sizeof(_REG_PP_RECURSO_HISTORICO_CONTADORPS));
    return E_FAIL;
  }
};

// ---- Fixture -----------------------------------------------------------------------------------

class LeitoresCadastros : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    DefineAcessoTotal(true, {kFilial});
    classePlanos_ = std::make_unique<ClasseDoObjeto<IQVPP_Manutencao>>(CLSID_QVPP_Manutencao, &planos_);
    classeGestao_ = std::make_unique<ClasseDoObjeto<IQVPP_GestaoManutencao>>(CLSID_QVPP_GestaoManutencao, &gestao_);
    ASSERT_EQ(classePlanos_->Registro(), S_OK);
    ASSERT_EQ(classeGestao_->Registro(), S_OK);
    RegistraServidor();
    buffer_.Inicializa(Instalacao::kEmpresa, kUsuarioTeste, kSessaoTeste);
  }
  void TearDown() override {
    buffer_.Finaliza();
    classePlanos_.reset();
    classeGestao_.reset();
    EmpresaCadastros::TearDown();
  }

  int32_t GravaTipoOP(_REG_VARMO_TIPO_OPPS registro, int32_t lPntr = 0) {
    int32_t saida = 0;
    EXPECT_EQ(buffer_.GetITipoOP()->Grava(lPntr, registro, &saida), S_OK);
    return saida;
  }
  int32_t GravaProcesso(_REG_VARMO_PROCESSOPS registro, std::vector<int32_t> recursos = {}) {
    std::vector<_REG_PP_PROCESSO_RECURSOPS> array(recursos.size());
    for (size_t i = 0; i < recursos.size(); ++i) {
      array[i] = _REG_PP_PROCESSO_RECURSOPS{};
      array[i].lPonteiroRecurso = recursos[i];
    }
    registro.usQtdRecursos = static_cast<uint16_t>(array.size());
    registro.pregRecursos = array.empty() ? nullptr : array.data();
    int32_t saida = 0;
    EXPECT_EQ(buffer_.GetIProcesso()->Grava(0, registro, &saida), S_OK);
    return saida;
  }
  int32_t GravaRecurso(_REG_PP_RECURSOPS registro) {
    int32_t saida = 0;
    EXPECT_EQ(buffer_.GetIRecurso()->Grava(0, registro, &saida), S_OK);
    return saida;
  }
  int32_t GravaOperacao(_REG_VARMO_OPERACAO_PRODUCAOPS registro, int32_t lPntr = 0) {
    int32_t saida = 0;
    EXPECT_EQ(buffer_.GetIOperacaoProducao()->Grava(lPntr, registro, &saida), S_OK);
    return saida;
  }
  // Hides the active records from the class's look-ups that honour the filter.
  void EscondeAtivos() {
    _REG_VARMO_FILTROPS filtro{};
    filtro.cAtivo = 2;
    ASSERT_EQ(buffer_.GetIProcesso()->SetFiltro(filtro), S_OK);
    _REG_PP_FILTRO_RECURSOPS filtroRecurso{};
    filtroRecurso.cAtivo = 2;
    ASSERT_EQ(buffer_.GetIRecurso()->SetFiltro(filtroRecurso), S_OK);
    _REG_PP_FILTRO_OPERACAO_PRODUCAOPS filtroOperacao{};
    filtroOperacao.cAtivo = 2;
    ASSERT_EQ(buffer_.GetIOperacaoProducao()->SetFiltro(filtroOperacao), S_OK);
  }

  PlanosFalsos planos_;
  GestaoSemOrdens gestao_;
  // Registered once the test's apartment is up, revoked before it goes.
  std::unique_ptr<ClasseDoObjeto<IQVPP_Manutencao>> classePlanos_;
  std::unique_ptr<ClasseDoObjeto<IQVPP_GestaoManutencao>> classeGestao_;
  CPPBufferDados buffer_;
};

// ---- Readers -----------------------------------------------------------------------------------

TEST_F(LeitoresCadastros, OrderTypeSavedIsReadAlikeByReaderAndCacheWithItsUsersFreed) {
  _REG_VARMO_TIPO_OP_USUARIOPS usuarios[2] = {{7, 1, 0, 1, {}}, {9, 0, 1, 0, {}}};
  auto registro = Novo<_REG_VARMO_TIPO_OPPS>("T01", "Normal");
  registro.lUltimaOP = 40;
  std::strcpy(registro.szInfExtra2, "Cliente");
  registro.cObrigaInfExtra2 = 1;
  registro.usQtdUsuarios = 2;
  registro.pregTipoOPUsuario = usuarios;
  const int32_t ponteiro = GravaTipoOP(registro);
  ASSERT_EQ(ponteiro, 1);

  const int32_t blocos = TaskMemoryOutstandingBlocks();
  CPPDadosTipoOP lido;
  ASSERT_EQ(buffer_.LeTipoOP(ponteiro, &lido, kUsuariosTipoOP), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos) << "the users' array goes back";
  EXPECT_EQ(lido.GetCodigo(), "T01");
  EXPECT_EQ(lido.GetDescricao(), "Normal");
  EXPECT_EQ(lido.GetUltimaOP(), 40);
  EXPECT_EQ(lido.GetInfExtra1(), "Inf. Extra 1");
  EXPECT_EQ(lido.GetInfExtra2(), "Cliente");
  EXPECT_EQ(lido.GetObrigaInfExtra2(), 1);
  EXPECT_EQ(lido.GetPosicao(), 1);
  ASSERT_EQ(lido.GetQuantidadeUsuario(), 2);
  EXPECT_EQ(lido.GetRefUsuario(1).GetUsuario(), 9);
  EXPECT_EQ(lido.GetRefUsuario(1).GetCancelamento(), 1);

  CPPDadosTipoOP cacheado;
  ASSERT_EQ(buffer_.LeBufferTipoOP(ponteiro, &cacheado, kUsuariosTipoOP), S_OK);
  EXPECT_EQ(cacheado.GetCodigo(), lido.GetCodigo());
  EXPECT_EQ(cacheado.GetDescricao(), lido.GetDescricao());
  EXPECT_EQ(cacheado.GetUltimaOP(), lido.GetUltimaOP());
  EXPECT_EQ(cacheado.GetInfExtra2(), lido.GetInfExtra2());
  EXPECT_EQ(cacheado.GetPosicao(), lido.GetPosicao());
  ASSERT_EQ(cacheado.GetQuantidadeUsuario(), 2);
  EXPECT_EQ(cacheado.GetRefUsuario(0).GetUsuario(), 7);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
}

TEST_F(LeitoresCadastros, ProcessWithThreeResourcesAndTheirStopsIsReadAndEveryBlockFreedOnce) {
  const uint16_t hoje = DiaFixado();
  planos_.paradas[11] = {{Cy(10000), hoje}, {Cy(20000), static_cast<uint16_t>(hoje + 3)}};
  planos_.paradas[12] = {{Cy(30000), static_cast<uint16_t>(hoje + 1)}};
  planos_.paradas[13] = {{Cy(40000), static_cast<uint16_t>(hoje + 2)}, {Cy(5000), static_cast<uint16_t>(hoje + 4)}};
  auto registro = Novo<_REG_VARMO_PROCESSOPS>("P01", "Corte");
  registro.v8CustoProcesso = Cy(125000);
  const int32_t ponteiro = GravaProcesso(registro, {11, 12, 13});
  ASSERT_EQ(ponteiro, 1);

  const int32_t blocos = TaskMemoryOutstandingBlocks();
  CPPDadosProcesso lido;
  ASSERT_EQ(buffer_.LeProcesso(ponteiro, &lido, kParadas), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos) << "stops of each resource and the resources go back";
  EXPECT_EQ(lido.GetCodigo(), "P01");
  EXPECT_EQ(lido.Getv8CustoProcesso().int64, 125000);
  ASSERT_EQ(lido.GetQuantidadeRecurso(), 3);
  EXPECT_EQ(lido.GetRefRecurso(2).GetPonteiroRecurso(), 13);
  ASSERT_EQ(lido.GetRefRecurso(0).GetQuantidadeParadas(), 2);
  EXPECT_EQ(lido.GetRefRecurso(0).GetRefParadas(1).GetTempoPrevisto().int64, 20000);
  ASSERT_EQ(lido.GetRefRecurso(2).GetQuantidadeParadas(), 2);
  EXPECT_EQ(lido.GetRefRecurso(2).GetRefParadas(1).GetDataManutencao(), hoje + 4);

  CPPDadosProcesso cacheado;
  ASSERT_EQ(buffer_.LeBufferProcesso(ponteiro, &cacheado, kRecursosProcesso), S_OK);
  EXPECT_EQ(cacheado.GetCodigo(), lido.GetCodigo());
  EXPECT_EQ(cacheado.GetDescricao(), lido.GetDescricao());
  EXPECT_EQ(cacheado.Getv8CustoProcesso().int64, lido.Getv8CustoProcesso().int64);
  EXPECT_EQ(cacheado.GetPosicao(), lido.GetPosicao());
  ASSERT_EQ(cacheado.GetQuantidadeRecurso(), 3);
  EXPECT_EQ(cacheado.GetRefRecurso(1).GetPonteiroRecurso(), 12);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
}

// A class that states a count without its array: nothing is walked under the null array.
TEST_F(LeitoresCadastros, ProcessWhoseResourceCountComesWithoutArrayIsReadWithoutResources) {
  ProcessoSemRecursos falso;
  CPPAcessoDados acesso;
  acesso.SetIProcesso(&falso);
  CPPDadosProcesso lido;
  ASSERT_EQ(acesso.LeProcesso(5, &lido, kParadas), S_OK);
  EXPECT_EQ(lido.GetCodigo(), "P09");
  EXPECT_EQ(lido.GetQuantidadeRecurso(), 0);
  acesso.SetIProcesso(nullptr);
  EXPECT_EQ(falso.referencias, 1u);
}

TEST_F(LeitoresCadastros, ResourceAndItsCounterHistoryAreReadAndTheListFreedOnSuccessAndFailure) {
  auto registro = Novo<_REG_PP_RECURSOPS>("R01", "Torno");
  registro.cPossuiContador = 1;
  registro.usNumeroDigitosContador = 6;
  registro.vCapacidade = Cy(80000);
  registro.vContadorAtual = Cy(1000000);
  const int32_t ponteiro = GravaRecurso(registro);
  ASSERT_EQ(ponteiro, 1);
  _REG_PP_RECURSO_HISTORICO_CONTADORPS correcao{};
  correcao.ulPonteiroRecurso = 1;
  correcao.vContadorGravado = Cy(1500000);
  std::strcpy(correcao.szMotivo, "Troca");
  ASSERT_EQ(buffer_.GetIRecurso()->AlteraManualContadorRecurso(correcao), S_OK);
  correcao.vContadorGravado = Cy(1700000);
  ASSERT_EQ(buffer_.GetIRecurso()->AlteraManualContadorRecurso(correcao), S_OK);

  CPPDadosRecurso lido;
  ASSERT_EQ(buffer_.LeRecurso(ponteiro, &lido, 0), S_OK);
  EXPECT_EQ(lido.GetCodigo(), "R01");
  EXPECT_EQ(lido.GetCapacidade().int64, 80000);
  EXPECT_EQ(lido.GetContadorAtual().int64, 1700000);
  EXPECT_EQ(lido.GetPosicao(), 1);
  CPPDadosRecurso cacheado;
  ASSERT_EQ(buffer_.LeBufferRecurso(ponteiro, &cacheado, 0), S_OK);
  EXPECT_EQ(cacheado.GetCodigo(), lido.GetCodigo());
  EXPECT_EQ(cacheado.GetDescricao(), lido.GetDescricao());
  EXPECT_EQ(cacheado.GetCapacidade().int64, lido.GetCapacidade().int64);
  EXPECT_EQ(cacheado.GetContadorAtual().int64, lido.GetContadorAtual().int64);
  EXPECT_EQ(cacheado.GetNumeroDigitosContador(), lido.GetNumeroDigitosContador());
  EXPECT_EQ(cacheado.GetPosicao(), lido.GetPosicao());

  const int32_t blocos = TaskMemoryOutstandingBlocks();
  CPPDadosListaRecursoHistoricoContador historico;
  ASSERT_EQ(buffer_.LeRecursoHistoricoContador(1, &historico), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
  ASSERT_EQ(historico.GetQuantidadeHistorico(), 2);
  EXPECT_EQ(historico.GetRefHistorico(0).GetContadorAnterior().int64, 1000000);
  EXPECT_EQ(historico.GetRefHistorico(1).GetContadorGravado().int64, 1700000);
  EXPECT_EQ(historico.GetRefHistorico(1).GetContadorHistorico(), 2u);
  EXPECT_EQ(historico.GetRefHistorico(1).GetMotivo(), "Troca");

  HistoricoQueFalha falso;
  CPPAcessoDados acesso;
  acesso.SetIRecurso(&falso);
  EXPECT_EQ(acesso.LeRecursoHistoricoContador(1, &historico), E_FAIL);
  EXPECT_EQ(historico.GetQuantidadeHistorico(), 0) << "cleared";
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos) << "the list handed out before the failure goes back";
  acesso.SetIRecurso(nullptr);
}

TEST_F(LeitoresCadastros, OperationSavedIsReadAlikeByReaderAndCache) {
  auto registro = Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O01", "Furar");
  registro.cTipoOperacao = 'P';
  registro.cVisualizarEmApontamentoRecurso = 1;
  const int32_t ponteiro = GravaOperacao(registro);
  ASSERT_EQ(ponteiro, 1);
  CPPDadosOperacaoProducao lido;
  ASSERT_EQ(buffer_.LeOperacaoProducao(ponteiro, &lido), S_OK);
  EXPECT_EQ(lido.GetCodigo(), "O01");
  EXPECT_EQ(lido.GetDescricao(), "Furar");
  EXPECT_EQ(lido.GetTipoOperacao(), 'P');
  EXPECT_EQ(lido.GetVisualizarEmApontamentoRecurso(), 1);
  EXPECT_EQ(lido.GetAtivo(), 1);
  EXPECT_EQ(lido.GetPosicao(), 1);
  CPPDadosOperacaoProducao cacheado;
  ASSERT_EQ(buffer_.LeBufferOperacao(ponteiro, &cacheado), S_OK);
  EXPECT_EQ(cacheado.GetCodigo(), lido.GetCodigo());
  EXPECT_EQ(cacheado.GetDescricao(), lido.GetDescricao());
  EXPECT_EQ(cacheado.GetTipoOperacao(), lido.GetTipoOperacao());
  EXPECT_EQ(cacheado.GetVisualizarEmApontamentoRecurso(), lido.GetVisualizarEmApontamentoRecurso());
  EXPECT_EQ(cacheado.GetPosicao(), lido.GetPosicao());
}

TEST_F(LeitoresCadastros, LookUpsByCodeFindOtherCaseAndHonourTheClassFilter) {
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("Pa1", "Corte")), 1);
  ASSERT_EQ(GravaRecurso(Novo<_REG_PP_RECURSOPS>("Ra1", "Torno")), 1);
  ASSERT_EQ(GravaOperacao(Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("Oa1", "Furar")), 1);

  int32_t ponteiro = -1;
  EXPECT_EQ(buffer_.ExisteProcesso("pA1", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 1);
  EXPECT_EQ(buffer_.ExisteRecurso("rA1", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 1);
  EXPECT_EQ(buffer_.ExisteOperacaoProducao("oA1", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 1);
  EXPECT_EQ(buffer_.ExisteProcesso("P99", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 0);
  CPPDadosProcesso processo;
  EXPECT_EQ(buffer_.ExisteProcesso("PA1", &processo), S_OK);
  EXPECT_EQ(processo.GetDescricao(), "Corte");
  CPPDadosOperacaoProducao operacao;
  EXPECT_EQ(buffer_.ExisteOperacaoProducao("OA1", &operacao), S_OK);
  EXPECT_EQ(operacao.GetDescricao(), "Furar");

  EscondeAtivos();
  ponteiro = -1;
  EXPECT_EQ(buffer_.ExisteProcesso("Pa1", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 0) << "the filter hides it";
  ponteiro = -1;
  EXPECT_EQ(buffer_.ExisteRecurso("Ra1", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 0);
  ponteiro = -1;
  EXPECT_EQ(buffer_.ExisteOperacaoProducao("Oa1", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 0);
  EXPECT_EQ(buffer_.ExisteProcesso("Pa1", &processo), S_OK);
  EXPECT_EQ(processo.GetCodigo(), "") << "absent: cleared";
  EXPECT_EQ(buffer_.ExisteOperacaoProducao("Oa1", &operacao), S_OK);
  EXPECT_EQ(operacao.GetCodigo(), "");
}

TEST_F(LeitoresCadastros, RemovedOrUnknownRecordsAnswerTheClassErrorWithTheObjectClearedButTheOperation) {
  ASSERT_EQ(GravaTipoOP(Novo<_REG_VARMO_TIPO_OPPS>("T01", "Normal")), 1);
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("P01", "Corte")), 1);
  ASSERT_EQ(GravaRecurso(Novo<_REG_PP_RECURSOPS>("R01", "Torno")), 1);
  ASSERT_EQ(GravaOperacao(Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O01", "Furar")), 1);
  ASSERT_EQ(buffer_.GetITipoOP()->Remove(1), S_OK);
  ASSERT_EQ(buffer_.GetIProcesso()->Remove(1), S_OK);
  ASSERT_EQ(buffer_.GetIRecurso()->Remove(1), S_OK);
  ASSERT_EQ(buffer_.GetIOperacaoProducao()->Remove(1), S_OK);

  for (const int32_t ponteiro : {1, 99}) {
    SCOPED_TRACE(ponteiro);
    CPPDadosTipoOP tipo;
    tipo.SetCodigo("X");
    const int32_t hrTipo = buffer_.LeTipoOP(ponteiro, &tipo, kUsuariosTipoOP);
    EXPECT_LT(hrTipo, 0);
    EXPECT_EQ(tipo.GetCodigo(), "");
    CPPDadosProcesso processo;
    processo.SetCodigo("X");
    const int32_t hrProcesso = buffer_.LeProcesso(ponteiro, &processo, kParadas);
    EXPECT_LT(hrProcesso, 0);
    EXPECT_EQ(processo.GetCodigo(), "");
    CPPDadosRecurso recurso;
    recurso.SetCodigo("X");
    const int32_t hrRecurso = buffer_.LeRecurso(ponteiro, &recurso, 0);
    EXPECT_LT(hrRecurso, 0);
    EXPECT_EQ(recurso.GetCodigo(), "");
    CPPDadosOperacaoProducao operacao;
    operacao.SetCodigo("X");
    const int32_t hrOperacao = buffer_.LeOperacaoProducao(ponteiro, &operacao);
    EXPECT_LT(hrOperacao, 0);
    EXPECT_EQ(operacao.GetCodigo(), "X") << "not cleared";
    if (ponteiro == 1) {
      EXPECT_EQ(hrTipo, kRemovido);
      EXPECT_EQ(hrProcesso, kRemovido);
      EXPECT_EQ(hrRecurso, kRemovido);
      EXPECT_EQ(hrOperacao, kRemovido);
    }
    CPPDadosOperacaoProducao naoGuardada;
    EXPECT_EQ(buffer_.LeBufferOperacao(ponteiro, &naoGuardada), hrOperacao);
    EXPECT_EQ(buffer_.GetMapaOperacao().GetCount(), 0u) << "a failed read stores nothing";
  }
}

TEST_F(LeitoresCadastros, WithoutTheClassEveryReaderAnswersTheHubsError) {
  CPPBufferDados semEmpresa;
  semEmpresa.Inicializa("NENHUMA", kUsuarioTeste, kSessaoTeste);
  CPPDadosTipoOP tipo;
  const int32_t hr = semEmpresa.LeTipoOP(1, &tipo, 0);
  ASSERT_LT(hr, 0);
  EXPECT_EQ(hr, semEmpresa.GetHR());
  CPPDadosProcesso processo;
  EXPECT_EQ(semEmpresa.LeProcesso(1, &processo, 0), semEmpresa.GetHR());
  CPPDadosRecurso recurso;
  EXPECT_EQ(semEmpresa.LeRecurso(1, &recurso, 0), semEmpresa.GetHR());
  CPPDadosListaRecursoHistoricoContador historico;
  EXPECT_EQ(semEmpresa.LeRecursoHistoricoContador(1, &historico), semEmpresa.GetHR());
  CPPDadosOperacaoProducao operacao;
  operacao.SetCodigo("X");
  EXPECT_EQ(semEmpresa.LeOperacaoProducao(1, &operacao), semEmpresa.GetHR());
  EXPECT_EQ(operacao.GetCodigo(), "X");
  int32_t ponteiro = -1;
  EXPECT_EQ(semEmpresa.ExisteRecurso("R01", ponteiro), semEmpresa.GetHR());
  EXPECT_EQ(ponteiro, 0);
  EXPECT_EQ(semEmpresa.LeBufferTipoOP(1, &tipo, 0), semEmpresa.GetHR());
  EXPECT_FALSE(semEmpresa.GetCarregadoTipoOP());
  semEmpresa.Finaliza();
}

// ---- Caches ------------------------------------------------------------------------------------

TEST_F(LeitoresCadastros, TheReadingKindTakesNoPartInTheOrderTypeKey) {
  _REG_VARMO_TIPO_OP_USUARIOPS usuario{7, 1, 1, 1, {}};
  auto registro = Novo<_REG_VARMO_TIPO_OPPS>("T01", "Normal");
  registro.usQtdUsuarios = 1;
  registro.pregTipoOPUsuario = &usuario;
  ASSERT_EQ(GravaTipoOP(registro), 1);
  CPPDadosTipoOP tipo;
  ASSERT_EQ(buffer_.LeBufferTipoOP(1, &tipo, 2), S_OK);
  EXPECT_EQ(tipo.GetQuantidadeUsuario(), 0);
  ASSERT_EQ(buffer_.LeBufferTipoOP(1, &tipo, kUsuariosTipoOP), S_OK);
  EXPECT_EQ(tipo.GetCodigo(), "T01");
  EXPECT_EQ(tipo.GetQuantidadeUsuario(), 0) << "the first read, without users";
}

TEST_F(LeitoresCadastros, ProcessCacheKeepsStopsOfTodayAndLaterOnMissesWithBit7) {
  const uint16_t hoje = DiaFixado();
  const uint16_t ontem = static_cast<uint16_t>(hoje - 1);
  const uint16_t depois = static_cast<uint16_t>(hoje + 5);
  planos_.paradas[11] = {{Cy(1000), ontem}, {Cy(2000), hoje}};
  planos_.paradas[12] = {{Cy(3000), depois}};
  planos_.paradas[13] = {{Cy(4000), static_cast<uint16_t>(hoje + 9)}};
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("P01", "Corte"), {11, 12, 13}), 1);
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("P02", "Dobra"), {11}), 2);
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("P03", "Solda"), {11}), 3);
  const auto& paradas = buffer_.GetMapaParadaRecurso();
  auto Parada = [&](int32_t recurso, uint16_t data) {
    CPPDadosPlanoManutencaoProgramacao parada;
    parada.SetDataManutencao(1);
    EXPECT_EQ(buffer_.LeBufferPaOrvelecurso({recurso, data}, &parada), S_OK);
    return parada.GetTempoPrevisto().int64;
  };

  CPPDadosProcesso processo;
  ASSERT_EQ(buffer_.LeBufferProcesso(1, &processo, kParadas), S_OK);
  EXPECT_EQ(paradas.GetCount(), 3u) << "not yesterday's";
  const int chamadas = planos_.chamadas;
  EXPECT_EQ(Parada(11, hoje), 2000);
  EXPECT_EQ(Parada(12, depois), 3000);
  EXPECT_EQ(Parada(13, static_cast<uint16_t>(hoje + 9)), 4000);
  EXPECT_EQ(Parada(11, ontem), 0) << "absent: cleared";
  EXPECT_EQ(planos_.chamadas, chamadas) << "the stops come from the cache";

  // A process cached by kind 0 is returned to kind 0x80 without stops, and stores none.
  planos_.paradas[11] = {{Cy(9000), hoje}};
  ASSERT_EQ(buffer_.LeBufferProcesso(2, &processo, 0), S_OK);
  ASSERT_EQ(buffer_.LeBufferProcesso(2, &processo, kParadas), S_OK);
  EXPECT_EQ(processo.GetCodigo(), "P02");
  EXPECT_EQ(processo.GetQuantidadeRecurso(), 0);
  ASSERT_EQ(buffer_.LeBufferProcesso(1, &processo, kParadas), S_OK);
  EXPECT_EQ(processo.GetQuantidadeRecurso(), 3);
  EXPECT_EQ(planos_.chamadas, chamadas) << "hits read nothing";
  EXPECT_EQ(paradas.GetCount(), 3u);
  EXPECT_EQ(Parada(11, hoje), 2000);

  // A miss with bit 7 replaces the stop under the same key.
  ASSERT_EQ(buffer_.LeBufferProcesso(3, &processo, kParadas), S_OK);
  EXPECT_EQ(paradas.GetCount(), 3u);
  EXPECT_EQ(Parada(11, hoje), 9000);
}

TEST_F(LeitoresCadastros, AnEmptyClassLoadsTheCacheAndLaterMissesStillReadAndStore) {
  ASSERT_EQ(buffer_.InicializaBufferOperacao(), S_OK);
  EXPECT_TRUE(buffer_.GetCarregadoOperacao());
  EXPECT_EQ(buffer_.GetMapaOperacao().GetTamanhoTabela(), 17u) << "a count of 0 keeps the table";
  ASSERT_EQ(GravaOperacao(Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O01", "Furar")), 1);
  CPPDadosOperacaoProducao operacao;
  ASSERT_EQ(buffer_.LeBufferOperacao(1, &operacao), S_OK);
  EXPECT_EQ(operacao.GetCodigo(), "O01");
  EXPECT_EQ(buffer_.GetMapaOperacao().GetCount(), 1u);

  for (int i = 0; i < 100; ++i) {
    const std::string codigo = "R" + std::to_string(i);
    ASSERT_EQ(GravaRecurso(Novo<_REG_PP_RECURSOPS>(codigo.c_str(), "Torno")), i + 1);
  }
  ASSERT_EQ(buffer_.InicializaBufferRecurso(), S_OK);
  EXPECT_EQ(buffer_.GetMapaRecurso().GetTamanhoTabela(), 121u) << "100 x 1.21";
}

TEST_F(LeitoresCadastros, CacheLookUpsFindACachedCodeOrFallBackToTheClass) {
  ASSERT_EQ(GravaRecurso(Novo<_REG_PP_RECURSOPS>("R01", "Torno")), 1);
  ASSERT_EQ(GravaRecurso(Novo<_REG_PP_RECURSOPS>("R02", "Prensa")), 2);
  ASSERT_EQ(GravaOperacao(Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O01", "Furar")), 1);
  ASSERT_EQ(GravaOperacao(Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O02", "Cortar")), 2);
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("P01", "Corte")), 1);
  CPPDadosRecurso recurso;
  CPPDadosOperacaoProducao operacao;
  CPPDadosProcesso processo;
  ASSERT_EQ(buffer_.LeBufferRecurso(1, &recurso, 0), S_OK);
  ASSERT_EQ(buffer_.LeBufferOperacao(1, &operacao), S_OK);
  ASSERT_EQ(buffer_.LeBufferProcesso(1, &processo, 0), S_OK);
  // Renamed in the class: only the cache still knows the old codes.
  auto renomeada = Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O91", "Nova");
  ASSERT_EQ(GravaOperacao(renomeada, 1), 1);
  _REG_PP_RECURSOPS recursoRenomeado = Novo<_REG_PP_RECURSOPS>("R91", "Novo");
  int32_t saida = 0;
  ASSERT_EQ(buffer_.GetIRecurso()->Grava(1, recursoRenomeado, &saida), S_OK);

  ASSERT_EQ(buffer_.ExisteBufferRecurso("r01", &recurso, 0), S_OK);
  EXPECT_EQ(recurso.GetDescricao(), "Torno");
  ASSERT_EQ(buffer_.ExisteBufferOperacao("o01", &operacao), S_OK);
  EXPECT_EQ(operacao.GetDescricao(), "Furar");
  ASSERT_EQ(buffer_.ExisteBufferProcesso("p01", &processo, 0), S_OK);
  EXPECT_EQ(processo.GetDescricao(), "Corte");

  ASSERT_EQ(buffer_.ExisteBufferRecurso("r02", &recurso, 0), S_OK);
  EXPECT_EQ(recurso.GetDescricao(), "Prensa");
  ASSERT_EQ(buffer_.ExisteBufferOperacao("o02", &operacao), S_OK);
  EXPECT_EQ(operacao.GetDescricao(), "Cortar");
  EXPECT_EQ(buffer_.GetMapaOperacao().GetCount(), 2u) << "the fallback's read is kept";

  // Not cached and hidden by the class's filter: pointer 0, which the class reads as an empty record.
  EscondeAtivos();
  EXPECT_EQ(buffer_.ExisteBufferOperacao("O91", &operacao), S_OK);
  EXPECT_EQ(operacao.GetCodigo(), "");
}

TEST_F(LeitoresCadastros, LimparBufferAndTheTimedRefreshDropTheseCaches) {
  planos_.paradas[11] = {{Cy(2000), DiaFixado()}};
  ASSERT_EQ(GravaTipoOP(Novo<_REG_VARMO_TIPO_OPPS>("T01", "Normal")), 1);
  ASSERT_EQ(GravaProcesso(Novo<_REG_VARMO_PROCESSOPS>("P01", "Corte"), {11}), 1);
  ASSERT_EQ(GravaRecurso(Novo<_REG_PP_RECURSOPS>("R01", "Torno")), 1);
  ASSERT_EQ(GravaOperacao(Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("O01", "Furar")), 1);
  auto Enche = [&] {
    CPPDadosTipoOP tipo;
    CPPDadosProcesso processo;
    CPPDadosRecurso recurso;
    CPPDadosOperacaoProducao operacao;
    ASSERT_EQ(buffer_.LeBufferTipoOP(1, &tipo, 0), S_OK);
    ASSERT_EQ(buffer_.LeBufferProcesso(1, &processo, kParadas), S_OK);
    ASSERT_EQ(buffer_.LeBufferRecurso(1, &recurso, 0), S_OK);
    ASSERT_EQ(buffer_.LeBufferOperacao(1, &operacao), S_OK);
    ASSERT_EQ(buffer_.GetMapaParadaRecurso().GetCount(), 1u);
  };
  auto Vazios = [&] {
    EXPECT_FALSE(buffer_.GetCarregadoTipoOP());
    EXPECT_FALSE(buffer_.GetCarregadoProcesso());
    EXPECT_FALSE(buffer_.GetCarregadoRecurso());
    EXPECT_FALSE(buffer_.GetCarregadoOperacao());
    EXPECT_EQ(buffer_.GetMapaTipoOP().GetCount(), 0u);
    EXPECT_EQ(buffer_.GetMapaProcesso().GetCount(), 0u);
    EXPECT_EQ(buffer_.GetMapaRecurso().GetCount(), 0u);
    EXPECT_EQ(buffer_.GetMapaOperacao().GetCount(), 0u);
    EXPECT_EQ(buffer_.GetMapaParadaRecurso().GetCount(), 0u);
  };
  Enche();
  buffer_.LimparBuffer(true);
  Vazios();

  buffer_.SetMinutesToRefresh(1);
  buffer_.SetRefresh(true);
  Enche();
  empresa_.Relogio().Advance(60001);
  CPPDadosPlanoManutencaoProgramacao parada;
  EXPECT_EQ(buffer_.LeBufferPaOrvelecurso({11, DiaFixado()}, &parada), S_OK);
  EXPECT_EQ(parada.GetTempoPrevisto().int64, 2000) << "the stops' read does not refresh";
  CPPDadosMestre mestre;
  ASSERT_EQ(buffer_.LeBufferMestrePP(&mestre), S_OK);
  Vazios();
}

// ---- Across processes ----------------------------------------------------------------------------

struct MudancaFilho {
  std::atomic<int> etapa;  // 1: the parent has cached the type; 2: the child has changed it
  std::atomic<int32_t> erro;
};

// The child's run: once the parent has cached the type, its own handler without COM renames it.
[[noreturn]] void MudaTipoNoFilho(MudancaFilho& relato) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (relato.etapa < 1 && std::chrono::steady_clock::now() < limite)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  CPPServidorTipoOP tipo;
  HRESULT hr = tipo.Inicializa(SessaoTeste(), 0);
  int32_t ponteiro = 0;
  if (hr == S_OK) hr = tipo.Grava(1, Novo<_REG_VARMO_TIPO_OPPS>("TOP1", "Mudado"), &ponteiro);
  relato.erro = hr;
  relato.etapa = 2;
  _exit(hr == S_OK ? 0 : 1);
}

class LeitoresDoisProcessos : public EmpresaCadastros {};

TEST_F(LeitoresDoisProcessos, AnotherProcessChangeShowsInTheCacheOnlyAfterTheRefreshInterval) {
  // The type on disk, and the child forked before the parent starts the server or a COM thread.
  PPRegistroTipoOP registro{};
  std::memcpy(registro.szCodigo, "TOP1", 4);
  std::memcpy(registro.szDescricao, "Corte", 5);
  registro.cAtivo = 1;
  std::string cabecalhos(2 * sizeof registro, '\0');
  std::memcpy(cabecalhos.data() + sizeof registro, &registro, sizeof registro);
  empresa_.Escreve("PPTOPCAB.DAT", cabecalhos);
  empresa_.Escreve("PPTOPUSU.DAT", std::string(16, '\0'));
  Partilhado<MudancaFilho> relato;
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) MudaTipoNoFilho(*relato);

  RegistraServidor();
  CPPBufferDados buffer;
  buffer.Inicializa(Instalacao::kEmpresa, kUsuarioTeste, kSessaoTeste);
  buffer.SetMinutesToRefresh(1);
  buffer.SetRefresh(true);
  CPPDadosTipoOP tipo;
  EXPECT_EQ(buffer.LeBufferTipoOP(1, &tipo, 0), S_OK);
  EXPECT_EQ(tipo.GetDescricao(), "Corte");
  relato->etapa = 1;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(5);
  int estado = -1;
  while (waitpid(filho, &estado, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > limite) {
      kill(filho, SIGKILL);
      waitpid(filho, &estado, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "child: 0x" << std::hex << relato->erro.load();

  empresa_.Relogio().Advance(59000);
  EXPECT_EQ(buffer.LeBufferTipoOP(1, &tipo, 0), S_OK);
  EXPECT_EQ(tipo.GetDescricao(), "Corte") << "inside the interval the cached record";
  empresa_.Relogio().Advance(1001);
  EXPECT_EQ(buffer.LeBufferTipoOP(1, &tipo, 0), S_OK);
  EXPECT_EQ(tipo.GetDescricao(), "Mudado");
  buffer.Finaliza();
}

}  // namespace
