// The process handler over a company: the records it writes byte by byte, the reading bits, the
// maintenance stops summed per date from fake maintenance servers, the order filter through the
// order seam, the resource filter, and the checks of Remove; and the COM class's Existe bracket.
#include "server/cadastros/CPPServidorProcesso.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/standin.h"
#include "platform/com/taskmem.h"
#include "server/cadastros/CQVPP_Processo.h"
#include "server/idl/VarmoIdentificadores.h"
#include "tests/access/TipoRecursoFalso.h"
#include "tests/server/cadastros/EmpresaCadastros.h"

namespace {

constexpr HRESULT kNaoInicializado = static_cast<HRESULT>(0x80040000 | 1585);
constexpr HRESULT kArgumentoInvalido = static_cast<HRESULT>(0x80040000 | 1587);
constexpr HRESULT kEmUso = static_cast<HRESULT>(0x80040000 | 1588);
constexpr HRESULT kMesSemOrdens = static_cast<HRESULT>(0x80040000 | 1616);
constexpr HRESULT kFalhaServidor = static_cast<HRESULT>(0x80040123);

CY Cy(int64_t decimilesimos) {
  CY valor;
  valor.int64 = decimilesimos;
  return valor;
}

template <class T>
T Campo(const std::string& arquivo, size_t registro, size_t tamanho, size_t deslocamento) {
  T valor;
  std::memcpy(&valor, arquivo.data() + registro * tamanho + deslocamento, sizeof valor);
  return valor;
}

std::string Texto(const std::string& arquivo, size_t registro, size_t tamanho, size_t deslocamento, size_t largura) {
  return arquivo.substr(registro * tamanho + deslocamento, largura);
}

// A process as a client fills it; `recursos` is the caller's array.
_REG_VARMO_PROCESSOPS Processo(const char* codigo, const char* descricao,
                               std::vector<_REG_PP_PROCESSO_RECURSOPS>* recursos = nullptr) {
  _REG_VARMO_PROCESSOPS registro{};
  std::strcpy(registro.szCodigo, codigo);
  std::strcpy(registro.szDescricao, descricao);
  registro.cAtivo = 1;
  if (recursos) {
    registro.usQtdRecursos = static_cast<uint16_t>(recursos->size());
    registro.pregRecursos = recursos->data();
  }
  return registro;
}

_REG_PP_PROCESSO_RECURSOPS Recurso(int32_t lPonteiro, uint8_t cSomar = 0) {
  _REG_PP_PROCESSO_RECURSOPS recurso{};
  recurso.lPonteiroRecurso = lPonteiro;
  recurso.cSomarCapacidadeDisponivel = cSomar;
  return recurso;
}

// ---- Fake maintenance servers ------------------------------------------------------------------

// Registers an object of the test's stack as the class's only object while it lives.
template <class Interface>
class ClasseFalsa {
 public:
  ClasseFalsa(REFCLSID clsid, Interface* objeto) {
    auto* fabrica = new FunctionClassFactory([objeto](REFIID, void** saida) {
      objeto->AddRef();
      *saida = objeto;
      return S_OK;
    });
    registro_ = CoRegisterClassObject(clsid, fabrica, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    fabrica->Release();
  }
  ~ClasseFalsa() {
    if (SUCCEEDED(registro_)) CoRevokeClassObject(cookie_);
  }
  HRESULT Registro() const { return registro_; }

 private:
  DWORD cookie_ = 0;
  HRESULT registro_ = E_FAIL;
};

// The plans of each resource: per plan, its programmed maintenances. Every array goes out through
// the task allocator, components included, so that a leak of the handler shows.
class ManutencaoFalsa : public ServidorFalso<IQVPP_Manutencao> {
 public:
  std::map<int32_t, std::vector<std::vector<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS>>> planos;
  HRESULT falha = S_OK;  // answered after the list is handed out
  std::vector<_REG_PP_FILTRO_PLANO_MANUTENCAOPS> filtros;
  std::vector<uint8_t> leituras;

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
                                    uint8_t cTipoLeitura) override {
    filtros.push_back(filtro);
    leituras.push_back(cTipoLeitura);
    *lista = {};
    const auto& doRecurso = planos[filtro.lPonteiroRecurso];
    if (doRecurso.empty()) return falha;
    auto* array = static_cast<_REG_PP_PLANO_MANUTENCAOPS*>(
        CoTaskMemAlloc(doRecurso.size() * sizeof(_REG_PP_PLANO_MANUTENCAOPS)));
    for (size_t i = 0; i < doRecurso.size(); ++i) {
      array[i] = _REG_PP_PLANO_MANUTENCAOPS{};
      array[i].usQuantComponentes = 1;
      array[i].pregComponentes = static_cast<_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS*>(
          CoTaskMemAlloc(sizeof(_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS)));
      const auto& programadas = doRecurso[i];
      array[i].usQuantManutProgramada = static_cast<uint16_t>(programadas.size());
      auto* copia = static_cast<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS*>(
          CoTaskMemAlloc(programadas.size() * sizeof(_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS)));
      std::copy(programadas.begin(), programadas.end(), copia);
      array[i].pregManutencaoProgramada = copia;
    }
    lista->usQuantidade = static_cast<uint16_t>(doRecurso.size());
    lista->pregListaManutencao = array;
    return falha;
  }
};

// The maintenance orders of each resource that the filter asks for, each with one component.
class GestaoManutencaoFalsa : public ServidorFalso<IQVPP_GestaoManutencao> {
 public:
  struct Ordem {
    int32_t lPonteiroRecurso;
    uint16_t usDataEmissao;
    uint16_t usDataInicio;
    int64_t tempo;
  };
  std::vector<Ordem> ordens;  // key = index + 1
  std::vector<_REG_PP_FILTRO_GESTAO_MANUTENCAOPS> filtros;

  HRESULT BuscaPonteirosPeriodo(uint16_t, uint16_t, _REG_VARMO_PONTEIROS_ULONGPS*) override { return E_NOTIMPL; }
  HRESULT BuscaPonteirosPeriodoRecurso(_REG_PP_DISPONIBILIDADE_RECURSOPS, _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return E_NOTIMPL;
  }
  HRESULT Grava(uint32_t, _REG_PP_MANUTENCAOPS, uint32_t*) override { return E_NOTIMPL; }
  HRESULT Remove(uint32_t) override { return E_NOTIMPL; }
  HRESULT LimpaFiltro() override { return E_NOTIMPL; }
  HRESULT Existe(BSTR, uint32_t*) override { return E_NOTIMPL; }

  HRESULT SetFiltro(_REG_PP_FILTRO_GESTAO_MANUTENCAOPS filtro) override {
    filtros.push_back(filtro);
    return S_OK;
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* lista) override {
    std::vector<uint32_t> chaves;
    for (size_t i = 0; i < ordens.size(); ++i)
      if (ordens[i].lPonteiroRecurso == filtros.back().lPonteiroRecurso) chaves.push_back(static_cast<uint32_t>(i + 1));
    *lista = {};
    if (chaves.empty()) return S_OK;
    lista->plPonteiro = static_cast<uint32_t*>(CoTaskMemAlloc(chaves.size() * sizeof(uint32_t)));
    std::copy(chaves.begin(), chaves.end(), lista->plPonteiro);
    lista->lQtd = static_cast<uint32_t>(chaves.size());
    return S_OK;
  }
  HRESULT LePonteiros(int32_t lQtd, uint32_t* plPntrs, _REG_PP_MANUTENCAOPS* registros, uint16_t) override {
    for (int32_t i = 0; i < lQtd; ++i) {
      const Ordem& ordem = ordens[plPntrs[i] - 1];
      registros[i] = _REG_PP_MANUTENCAOPS{};
      registros[i].lPonteiroRecurso = ordem.lPonteiroRecurso;
      registros[i].usDataEmissao = ordem.usDataEmissao;
      registros[i].usDataInicio = ordem.usDataInicio;
      registros[i].vTempoPrevisto = Cy(ordem.tempo);
      registros[i].usQtdComponentes = 1;
      registros[i].pregComponentes =
          static_cast<_REG_PP_MANUTENCAO_COMPONENTEPS*>(CoTaskMemAlloc(sizeof(_REG_PP_MANUTENCAO_COMPONENTEPS)));
    }
    return S_OK;
  }
};

// Both maintenance classes, served by the fakes while it lives.
struct ServidoresManutencao {
  ManutencaoFalsa planos;
  GestaoManutencaoFalsa gestao;
  ClasseFalsa<IQVPP_Manutencao> classePlanos{CLSID_QVPP_Manutencao, &planos};
  ClasseFalsa<IQVPP_GestaoManutencao> classeGestao{CLSID_QVPP_GestaoManutencao, &gestao};
};

// ---- Fake seams --------------------------------------------------------------------------------

std::vector<PPProcessoOP> g_processosOP;
std::vector<uint32_t> g_opsLidas;
int32_t g_etapasFluxo = 0;
std::vector<int32_t> g_processosFluxo;

HRESULT LeProcessosOPFalso(const _REG_VARMO_INICIALIZAPS&, uint32_t lPonteiroOP, std::vector<PPProcessoOP>* processos) {
  g_opsLidas.push_back(lPonteiroOP);
  *processos = g_processosOP;
  return S_OK;
}

HRESULT ContaEtapasFalso(const _REG_VARMO_INICIALIZAPS&, int32_t lPonteiroProcesso, int32_t* plQtd) {
  g_processosFluxo.push_back(lPonteiroProcesso);
  *plQtd = g_etapasFluxo;
  return S_OK;
}

PPCosturasCadastros CosturasDoTeste() {
  PPCosturasCadastros costuras = PPGetCosturasCadastros();
  costuras.pLeProcessosOP = &LeProcessosOPFalso;
  costuras.pContaEtapasFluxoProcesso = &ContaEtapasFalso;
  return costuras;
}

// ---- Fixture -----------------------------------------------------------------------------------

constexpr size_t kTamanhoProcesso = 128;
constexpr size_t kTamanhoRecurso = 32;

class ServidorProcesso : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    g_processosOP.clear();
    g_opsLidas.clear();
    g_etapasFluxo = 0;
    g_processosFluxo.clear();
  }

  void Inicializa(CPPServidorProcesso& processo) { ASSERT_EQ(processo.Inicializa(SessaoTeste(), 1), S_OK); }

  int32_t Grava(CPPServidorProcesso& processo, int32_t lPntr, const _REG_VARMO_PROCESSOPS& registro) {
    int32_t lSaida = -1;
    EXPECT_EQ(processo.Grava(lPntr, registro, &lSaida), S_OK);
    return lSaida;
  }

  std::vector<int32_t> Busca(CPPServidorProcesso& processo) {
    _REG_VARMO_PONTEIROSPS lista{};
    EXPECT_EQ(processo.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }
};

// ---- Saving and reading ------------------------------------------------------------------------

TEST_F(ServidorProcesso, GravaWritesEveryFieldInPlaceAndLeGivesItBack) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos = {Recurso(11, 1), Recurso(12, 0)};
  _REG_VARMO_PROCESSOPS registro = Processo("P01", "Corte", &recursos);
  registro.v8CustoProcesso = Cy(125000);  // 12.5
  registro.vCapacidadeDia = Cy(80000);    // 8
  registro.lPonteiroSecao = 4;
  registro.cCustoPorApontamento = 1;
  std::strcpy(registro.szObservacao, "Usar luvas");
  registro.lPosicao = 99;  // ignored on writing
  EXPECT_EQ(Grava(processo, 0, registro), 1);

  const std::string arquivo = empresa_.Le("PPPROCES.DAT");
  ASSERT_EQ(arquivo.size(), 2 * kTamanhoProcesso);
  EXPECT_EQ(arquivo.substr(0, kTamanhoProcesso), std::string(kTamanhoProcesso, '\0'));
  EXPECT_EQ(Campo<int64_t>(arquivo, 1, kTamanhoProcesso, 0), 125000);
  EXPECT_EQ(Campo<int64_t>(arquivo, 1, kTamanhoProcesso, 8), 80000);
  EXPECT_NE(Campo<uint32_t>(arquivo, 1, kTamanhoProcesso, 16), 0u);
  EXPECT_EQ(Campo<uint32_t>(arquivo, 1, kTamanhoProcesso, 20), 4u);
  EXPECT_EQ(Texto(arquivo, 1, kTamanhoProcesso, 24, 10), std::string("P01\0\0\0\0\0\0\0", 10));
  EXPECT_EQ(Texto(arquivo, 1, kTamanhoProcesso, 34, 5), "Corte");
  EXPECT_EQ(Texto(arquivo, 1, kTamanhoProcesso, 39, 45), std::string(45, '\0'));
  EXPECT_EQ(arquivo[kTamanhoProcesso + 84], 1);
  EXPECT_EQ(arquivo[kTamanhoProcesso + 85], 0);
  EXPECT_EQ(arquivo[kTamanhoProcesso + 86], 1);
  EXPECT_EQ(Texto(arquivo, 1, kTamanhoProcesso, 87, 35), std::string(35, '\0'));
  EXPECT_EQ(Campo<uint32_t>(arquivo, 1, kTamanhoProcesso, 122), 1u);
  EXPECT_EQ(Campo<uint16_t>(arquivo, 1, kTamanhoProcesso, 126), 2);

  const std::string recursosDisco = empresa_.Le("PPPRCREC.DAT");
  ASSERT_EQ(recursosDisco.size(), 3 * kTamanhoRecurso);
  EXPECT_EQ(Campo<int32_t>(recursosDisco, 1, kTamanhoRecurso, 0), 11);
  EXPECT_EQ(recursosDisco[kTamanhoRecurso + 4], 1);
  EXPECT_EQ(Texto(recursosDisco, 1, kTamanhoRecurso, 5, 27), std::string(27, '\0'));
  EXPECT_EQ(Campo<int32_t>(recursosDisco, 2, kTamanhoRecurso, 0), 12);
  EXPECT_EQ(recursosDisco[2 * kTamanhoRecurso + 4], 0);

  _REG_VARMO_PROCESSOPS lido;
  std::memset(&lido, 0x5A, sizeof lido);
  ASSERT_EQ(processo.Le(1, &lido, kPPLeituraProcessoObservacao | kPPLeituraProcessoRecursos), S_OK);
  EXPECT_EQ(lido.v8CustoProcesso.int64, 125000);
  EXPECT_EQ(lido.vCapacidadeDia.int64, 80000);
  EXPECT_EQ(lido.lPonteiroSecao, 4u);
  EXPECT_EQ(lido.lPosicao, 1);
  EXPECT_STREQ(lido.szCodigo, "P01");
  EXPECT_STREQ(lido.szDescricao, "Corte");
  EXPECT_STREQ(lido.szObservacao, "Usar luvas");
  EXPECT_EQ(lido.cAtivo, 1);
  EXPECT_EQ(lido.cCustoPorApontamento, 1);
  EXPECT_EQ(lido.cFiller[0], 0);
  ASSERT_EQ(lido.usQtdRecursos, 2);
  EXPECT_EQ(lido.pregRecursos[0].lPonteiroRecurso, 11);
  EXPECT_EQ(lido.pregRecursos[0].cSomarCapacidadeDisponivel, 1);
  EXPECT_EQ(lido.pregRecursos[0].usQtdParadas, 0);
  EXPECT_EQ(lido.pregRecursos[0].pregParadas, nullptr);
  EXPECT_EQ(lido.pregRecursos[1].lPonteiroRecurso, 12);
  PPLiberaRegistroProcesso(&lido);

  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Processo: P01 - Corte"}}));
}

TEST_F(ServidorProcesso, EachSaveAppendsItsOwnRunOfResourcesAndANewText) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> primeiros = {Recurso(11), Recurso(12)};
  _REG_VARMO_PROCESSOPS registro = Processo("P01", "Corte", &primeiros);
  std::strcpy(registro.szObservacao, "Primeira");
  ASSERT_EQ(Grava(processo, 0, registro), 1);
  const uint32_t primeiroTexto = Campo<uint32_t>(empresa_.Le("PPPROCES.DAT"), 1, kTamanhoProcesso, 16);

  std::vector<_REG_PP_PROCESSO_RECURSOPS> segundos = {Recurso(21), Recurso(22)};
  registro = Processo("P01", "Corte fino", &segundos);
  std::strcpy(registro.szObservacao, "Segunda");
  ASSERT_EQ(Grava(processo, 1, registro), 1);

  const std::string arquivo = empresa_.Le("PPPROCES.DAT");
  ASSERT_EQ(arquivo.size(), 2 * kTamanhoProcesso);
  EXPECT_EQ(Campo<uint32_t>(arquivo, 1, kTamanhoProcesso, 122), 3u);
  EXPECT_EQ(Campo<uint16_t>(arquivo, 1, kTamanhoProcesso, 126), 2);
  EXPECT_GT(Campo<uint32_t>(arquivo, 1, kTamanhoProcesso, 16), primeiroTexto);
  const std::string recursos = empresa_.Le("PPPRCREC.DAT");
  ASSERT_EQ(recursos.size(), 5 * kTamanhoRecurso);
  EXPECT_EQ(Campo<int32_t>(recursos, 1, kTamanhoRecurso, 0), 11);  // the old run stays
  EXPECT_EQ(Campo<int32_t>(recursos, 3, kTamanhoRecurso, 0), 21);
  EXPECT_EQ(Campo<int32_t>(recursos, 4, kTamanhoRecurso, 0), 22);

  _REG_VARMO_PROCESSOPS lido{};
  ASSERT_EQ(processo.Le(1, &lido, kPPLeituraProcessoObservacao | kPPLeituraProcessoRecursos), S_OK);
  EXPECT_STREQ(lido.szObservacao, "Segunda");
  ASSERT_EQ(lido.usQtdRecursos, 2);
  EXPECT_EQ(lido.pregRecursos[0].lPonteiroRecurso, 21);
  EXPECT_EQ(lido.pregRecursos[1].lPonteiroRecurso, 22);
  PPLiberaRegistroProcesso(&lido);

  EXPECT_EQ(Linhas(),
            (std::vector<LinhaCadastro>{{'I', "Processo: P01 - Corte"}, {'A', "Processo: P01 - Corte fino"}}));
}

TEST_F(ServidorProcesso, ReadingBitsChooseTheTextAndTheResources) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos = {Recurso(11)};
  _REG_VARMO_PROCESSOPS comTudo = Processo("P01", "Corte", &recursos);
  std::strcpy(comTudo.szObservacao, "Nota");
  ASSERT_EQ(Grava(processo, 0, comTudo), 1);
  ASSERT_EQ(Grava(processo, 0, Processo("P02", "Dobra")), 2);
  EXPECT_EQ(Campo<uint32_t>(empresa_.Le("PPPROCES.DAT"), 2, kTamanhoProcesso, 16), 0u);  // empty text: no offset

  const struct {
    uint8_t cTipoLeitura;
    const char* observacao;
    uint16_t usQtdRecursos;
  } casos[] = {{0, "", 0}, {1, "Nota", 0}, {2, "", 1}, {3, "Nota", 1}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(static_cast<int>(caso.cTipoLeitura));
    int32_t ponteiros[] = {1, 2};
    _REG_VARMO_PROCESSOPS lidos[2];
    ASSERT_EQ(processo.LePonteiros(2, ponteiros, lidos, caso.cTipoLeitura), S_OK);
    EXPECT_STREQ(lidos[0].szObservacao, caso.observacao);
    EXPECT_EQ(lidos[0].usQtdRecursos, caso.usQtdRecursos);
    EXPECT_EQ(lidos[0].pregRecursos != nullptr, caso.usQtdRecursos > 0);
    EXPECT_STREQ(lidos[1].szCodigo, "P02");
    EXPECT_STREQ(lidos[1].szObservacao, "");
    EXPECT_EQ(lidos[1].usQtdRecursos, 0);
    EXPECT_EQ(lidos[1].pregRecursos, nullptr);
    for (auto& lido : lidos) PPLiberaRegistroProcesso(&lido);
  }
}

TEST_F(ServidorProcesso, TextsAreTakenWithinTheirFieldsAndGivenBackTerminated) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  _REG_VARMO_PROCESSOPS registro{};
  std::memset(registro.szCodigo, 'C', sizeof registro.szCodigo);
  std::memset(registro.szDescricao, 'D', sizeof registro.szDescricao);
  std::memset(registro.szObservacao, 'O', sizeof registro.szObservacao);
  registro.cAtivo = 7;  // the byte after the text: never read as part of it
  ASSERT_EQ(Grava(processo, 0, registro), 1);

  const std::string arquivo = empresa_.Le("PPPROCES.DAT");
  EXPECT_EQ(Texto(arquivo, 1, kTamanhoProcesso, 24, 10), std::string(10, 'C'));
  EXPECT_EQ(Texto(arquivo, 1, kTamanhoProcesso, 34, 50), std::string(50, 'D'));
  _REG_VARMO_PROCESSOPS lido{};
  ASSERT_EQ(processo.Le(1, &lido, kPPLeituraProcessoObservacao), S_OK);
  EXPECT_EQ(std::string(lido.szCodigo), std::string(10, 'C'));
  EXPECT_EQ(std::string(lido.szDescricao), std::string(50, 'D'));
  EXPECT_EQ(std::string(lido.szObservacao), std::string(501, 'O'));
  EXPECT_EQ(lido.cAtivo, 7);
}

TEST_F(ServidorProcesso, ACountWithoutItsArrayOrANullOutputIsRefusedBeforeAnyWrite) {
  CPPServidorProcesso processo;
  EXPECT_EQ(processo.Grava(0, Processo("P01", "Corte"), nullptr), kNaoInicializado);
  Inicializa(processo);
  const auto antes = empresa_.Arquivos();
  _REG_VARMO_PROCESSOPS registro = Processo("P01", "Corte");
  registro.usQtdRecursos = 2;
  int32_t lSaida = -1;
  EXPECT_EQ(processo.Grava(0, registro, &lSaida), kArgumentoInvalido);
  EXPECT_EQ(processo.Grava(0, Processo("P01", "Corte"), nullptr), E_POINTER);
  int32_t ponteiro = 1;
  EXPECT_EQ(processo.LePonteiros(1, &ponteiro, nullptr, 0), E_POINTER);
  EXPECT_EQ(empresa_.Arquivos(), antes);
  EXPECT_TRUE(Linhas().empty());
}

TEST_F(ServidorProcesso, AResourceRunOutsideItsFileIsAnErrorAndLeavesNoArray) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos = {Recurso(11)};
  ASSERT_EQ(Grava(processo, 0, Processo("P01", "Corte", &recursos)), 1);
  std::string arquivo = empresa_.Le("PPPROCES.DAT");
  const uint16_t quantidade = 5;  // the run now claims records 1 .. 5 of a file that holds 1
  std::memcpy(&arquivo[kTamanhoProcesso + 126], &quantidade, sizeof quantidade);
  empresa_.Escreve("PPPROCES.DAT", arquivo);

  _REG_VARMO_PROCESSOPS lido{};
  EXPECT_TRUE(FAILED(processo.Le(1, &lido, kPPLeituraProcessoRecursos)));
  EXPECT_EQ(lido.usQtdRecursos, 0);
  EXPECT_EQ(lido.pregRecursos, nullptr);
}

// ---- Maintenance stops -------------------------------------------------------------------------

TEST_F(ServidorProcesso, StopsOfEachResourceAreItsPlansAndMaintenanceOrdersSummedPerDate) {
  ServidoresManutencao manutencao;
  ASSERT_EQ(manutencao.classePlanos.Registro(), S_OK);
  ASSERT_EQ(manutencao.classeGestao.Registro(), S_OK);
  // Resource 11: two plans meeting on day 60010, and orders on 60020 (started) and 60030
  // (emitted, not started). Resource 12: one order only.
  manutencao.planos.planos[11] = {{{Cy(15000), 60010}, {Cy(20000), 60020}}, {{Cy(5000), 60010}}};
  manutencao.gestao.ordens = {{11, 60005, 60020, 10000}, {12, 60040, 0, 7000}, {11, 60030, 0, 30000}};
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos = {Recurso(11), Recurso(12)};
  ASSERT_EQ(Grava(processo, 0, Processo("P01", "Corte", &recursos)), 1);

  _REG_VARMO_PROCESSOPS lido{};
  ASSERT_EQ(processo.Le(1, &lido, kPPLeituraProcessoParadas), S_OK);
  ASSERT_EQ(lido.usQtdRecursos, 2);
  const _REG_PP_PROCESSO_RECURSOPS primeiro = lido.pregRecursos[0];
  ASSERT_EQ(primeiro.usQtdParadas, 3);
  EXPECT_EQ(primeiro.pregParadas[0].usDataManutencao, 60010);
  EXPECT_EQ(primeiro.pregParadas[0].vTempoPrevisto.int64, 20000);
  EXPECT_EQ(primeiro.pregParadas[1].usDataManutencao, 60020);
  EXPECT_EQ(primeiro.pregParadas[1].vTempoPrevisto.int64, 30000);
  EXPECT_EQ(primeiro.pregParadas[2].usDataManutencao, 60030);
  EXPECT_EQ(primeiro.pregParadas[2].vTempoPrevisto.int64, 30000);
  const _REG_PP_PROCESSO_RECURSOPS segundo = lido.pregRecursos[1];
  ASSERT_EQ(segundo.usQtdParadas, 1);
  EXPECT_EQ(segundo.pregParadas[0].usDataManutencao, 60040);
  EXPECT_EQ(segundo.pregParadas[0].vTempoPrevisto.int64, 7000);
  PPLiberaRegistroProcesso(&lido);

  ASSERT_EQ(manutencao.planos.filtros.size(), 2u);
  EXPECT_EQ(manutencao.planos.filtros[0].lPonteiroRecurso, 11);
  EXPECT_EQ(manutencao.planos.filtros[0].cAtivo, 'A');
  EXPECT_EQ(manutencao.planos.filtros[0].lPonteiroPlanoManutencao, 0);
  EXPECT_EQ(manutencao.planos.filtros[1].lPonteiroRecurso, 12);
  EXPECT_EQ(manutencao.planos.leituras, (std::vector<uint8_t>{128, 128}));
  ASSERT_EQ(manutencao.gestao.filtros.size(), 2u);
  EXPECT_EQ(manutencao.gestao.filtros[0].lPonteiroRecurso, 11);
  EXPECT_EQ(manutencao.gestao.filtros[0].cSituacaoManutencao, 7);
  EXPECT_EQ(manutencao.gestao.filtros[0].cTipoManutencao, 2);
  EXPECT_EQ(manutencao.gestao.filtros[1].lPonteiroRecurso, 12);
}

TEST_F(ServidorProcesso, AFailingPlanServerIsTheAnswerAndNothingStaysAllocated) {
  ServidoresManutencao manutencao;
  manutencao.planos.planos[11] = {{{Cy(15000), 60010}}};
  manutencao.planos.falha = kFalhaServidor;
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos = {Recurso(11), Recurso(12)};
  ASSERT_EQ(Grava(processo, 0, Processo("P01", "Corte", &recursos)), 1);
  ASSERT_EQ(Grava(processo, 0, Processo("P02", "Dobra", &recursos)), 2);

  int32_t ponteiros[] = {1, 2};
  _REG_VARMO_PROCESSOPS lidos[2];
  EXPECT_EQ(processo.LePonteiros(2, ponteiros, lidos, kPPLeituraProcessoParadas), kFalhaServidor);
  EXPECT_EQ(lidos[0].usQtdRecursos, 0);
  EXPECT_EQ(lidos[0].pregRecursos, nullptr);
  EXPECT_EQ(lidos[1].pregRecursos, nullptr);  // never reached: zeroed
  // TearDown finds every block of the fake's lists given back.
}

// ---- Filters -----------------------------------------------------------------------------------

TEST_F(ServidorProcesso, FilterFieldsEachRestrictTheSearch) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos5 = {Recurso(5)};
  std::vector<_REG_PP_PROCESSO_RECURSOPS> recursos65 = {Recurso(6), Recurso(5)};
  _REG_VARMO_PROCESSOPS semRecursos = Processo("P01", "A");
  semRecursos.lPonteiroSecao = 3;
  _REG_VARMO_PROCESSOPS inativo = Processo("P02", "B", &recursos5);
  inativo.cAtivo = 2;
  _REG_VARMO_PROCESSOPS comDois = Processo("P03", "C", &recursos65);
  comDois.lPonteiroSecao = 3;
  ASSERT_EQ(Grava(processo, 0, semRecursos), 1);
  ASSERT_EQ(Grava(processo, 0, inativo), 2);
  ASSERT_EQ(Grava(processo, 0, comDois), 3);
  ASSERT_EQ(Grava(processo, 0, Processo("P04", "D")), 4);
  ASSERT_EQ(processo.Remove(4), S_OK);

  const struct {
    const char* nome;
    void (*define)(_REG_VARMO_FILTROPS&);
    std::vector<int32_t> esperados;
  } casos[] = {
      {"none", [](_REG_VARMO_FILTROPS&) {}, {1, 2, 3}},
      {"active", [](_REG_VARMO_FILTROPS& f) { f.cAtivo = 2; }, {2}},
      {"process", [](_REG_VARMO_FILTROPS& f) { f.lPonteiroProcesso = 3; }, {3}},
      {"section", [](_REG_VARMO_FILTROPS& f) { f.lPonteiroSecao = 3; }, {1, 3}},
      {"resource", [](_REG_VARMO_FILTROPS& f) { f.lPonteiroRecurso = 5; }, {2, 3}},
      {"resource 6", [](_REG_VARMO_FILTROPS& f) { f.lPonteiroRecurso = 6; }, {3}},
      {"resource and section", [](_REG_VARMO_FILTROPS& f) { f.lPonteiroRecurso = 5, f.lPonteiroSecao = 3; }, {3}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    _REG_VARMO_FILTROPS filtro{};
    caso.define(filtro);
    ASSERT_EQ(processo.SetFiltro(filtro), S_OK);
    EXPECT_EQ(Busca(processo), caso.esperados);
  }
  // Existe honours the resource filter only when asked to.
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroRecurso = 5;
  ASSERT_EQ(processo.SetFiltro(filtro), S_OK);
  const BSTR codigo = SysAllocString(u"p01");
  int32_t lPntr = -1;
  EXPECT_EQ(processo.Existe(codigo, &lPntr, 1), S_OK);
  EXPECT_EQ(lPntr, 0);
  EXPECT_EQ(processo.Existe(codigo, &lPntr, 0), S_OK);
  EXPECT_EQ(lPntr, 1);
  SysFreeString(codigo);
}

TEST_F(ServidorProcesso, AnOrderFilterDeliversTheOrdersReportedProcessesInTheOrdersOrder) {
  CosturasFalsas costuras(CosturasDoTeste());
  CPPServidorProcesso processo;
  Inicializa(processo);
  for (const char* codigo : {"A", "B", "C", "D"}) Grava(processo, 0, Processo(codigo, codigo));

  const struct {
    const char* nome;
    std::vector<PPProcessoOP> processosOP;
    std::vector<int32_t> esperados;
  } casos[] = {
      {"B, A", {{2, 1}, {1, 1}}, {2, 1}},
      {"C receives no reports", {{3, 1}, {2, 0}, {1, 1}}, {3, 1}},
      // The order runs B twice: B once, at its first place, and D keeps its place.
      {"B, A, B, D", {{2, 1}, {1, 1}, {2, 1}, {4, 1}}, {2, 1, 4}},
      {"no processes", {}, {}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    g_processosOP = caso.processosOP;
    _REG_VARMO_FILTROPS filtro{};
    filtro.lPonteiroOP = 77;
    ASSERT_EQ(processo.SetFiltro(filtro), S_OK);
    EXPECT_EQ(Busca(processo), caso.esperados);
  }
  EXPECT_EQ(g_opsLidas, (std::vector<uint32_t>{77, 77, 77, 77}));

  // The other fields still apply.
  g_processosOP = {{2, 1}, {1, 1}};
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroOP = 77;
  filtro.lPonteiroProcesso = 1;
  ASSERT_EQ(processo.SetFiltro(filtro), S_OK);
  EXPECT_EQ(Busca(processo), (std::vector<int32_t>{1}));
  ASSERT_EQ(processo.LimpaFiltro(), S_OK);
  EXPECT_EQ(Busca(processo), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(ServidorProcesso, AnOrderThatCannotBeReadIsSetFiltrosAnswerAndLetsNothingPass) {
  CPPServidorProcesso processo;
  Inicializa(processo);
  Grava(processo, 0, Processo("A", "A"));
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroOP = 77;
  EXPECT_EQ(processo.SetFiltro(filtro), kMesSemOrdens);  // month 77 has no order files
  EXPECT_EQ(processo.GetFiltro().lPonteiroOP, 77u);
  EXPECT_TRUE(Busca(processo).empty());
}

// ---- Removal -----------------------------------------------------------------------------------

// One order of 05/2024 whose only process runs process `lPonteiroProcesso` (the order files'
// fields that the check reads: first process 60, count 108; the process pointer 44).
void GravaOrdemComProcesso(const EmpresaTeste& empresa, int32_t lPonteiroProcesso) {
  std::string ordens(2 * 256, '\0');
  const uint32_t primeiro = 1;
  const uint16_t quantidade = 1;
  std::memcpy(&ordens[256 + 60], &primeiro, sizeof primeiro);
  std::memcpy(&ordens[256 + 108], &quantidade, sizeof quantidade);
  std::string processos(2 * 128, '\0');
  std::memcpy(&processos[128 + 44], &lPonteiroProcesso, sizeof lPonteiroProcesso);
  empresa.Escreve("PPOP0524.DAT", ordens);
  empresa.Escreve("PPPR0524.DAT", processos);
}

TEST_F(ServidorProcesso, RemoveIsRefusedByAFlowStepOrAnOrderAndThenWritesNothing) {
  CosturasFalsas costuras(CosturasDoTeste());
  CPPServidorProcesso processo;
  Inicializa(processo);
  Grava(processo, 0, Processo("P01", "Corte"));
  Grava(processo, 0, Processo("P02", "Dobra"));
  GravaOrdemComProcesso(empresa_, 2);
  const std::string antes = empresa_.Le("PPPROCES.DAT");

  g_etapasFluxo = 1;  // a flow names process 1, no order runs it
  EXPECT_EQ(processo.Remove(1), kEmUso);
  g_etapasFluxo = 0;
  EXPECT_EQ(processo.Remove(2), kEmUso);  // an order runs process 2
  EXPECT_EQ(g_processosFluxo, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(empresa_.Le("PPPROCES.DAT"), antes);
  EXPECT_EQ(Linhas().size(), 2u);

  EXPECT_EQ(processo.Remove(1), S_OK);
  EXPECT_EQ(empresa_.Le("PPPROCES.DAT")[kTamanhoProcesso + 85], 1);
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'E', "Processo: P01 - Corte"}));
  _REG_VARMO_PROCESSOPS lido{};
  EXPECT_EQ(processo.Le(1, &lido, 0), static_cast<HRESULT>(0x80040000 | 1586));
}

// ---- The COM class -----------------------------------------------------------------------------

TEST_F(ServidorProcesso, TheClassForwardsAndItsExisteClearsTheFilterOnlyForTheCall) {
  IQVPP_Processo* objeto = nullptr;
  ASSERT_EQ(PPCriaObjeto<CQVPP_Processo>(IID_IQVPP_Processo, reinterpret_cast<void**>(&objeto)), S_OK);
  EXPECT_EQ(objeto->Inicializa(SessaoTeste(), 63), static_cast<HRESULT>(0x80040000 | 1677));
  EXPECT_EQ(objeto->LimpaFiltro(), kNaoInicializado);
  ASSERT_EQ(objeto->Inicializa(SessaoTeste(), 64), S_OK);
  int32_t lPntr = 0;
  _REG_VARMO_PROCESSOPS inativo = Processo("P02", "Dobra");
  inativo.cAtivo = 2;
  ASSERT_EQ(objeto->Grava(0, Processo("P01", "Corte"), &lPntr), S_OK);
  ASSERT_EQ(objeto->Grava(0, inativo, &lPntr), S_OK);
  _REG_VARMO_FILTROPS filtro{};
  filtro.cAtivo = 1;
  ASSERT_EQ(objeto->SetFiltro(filtro), S_OK);

  const BSTR codigo = SysAllocString(u"P02");
  EXPECT_EQ(objeto->Existe(codigo, &lPntr, 0), S_OK);
  EXPECT_EQ(lPntr, 2);
  EXPECT_EQ(objeto->Existe(codigo, &lPntr, 1), S_OK);
  EXPECT_EQ(lPntr, 0);
  SysFreeString(codigo);
  _REG_VARMO_PONTEIROSPS lista{};
  ASSERT_EQ(objeto->BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(PonteirosLista(lista), (std::vector<int32_t>{1}));
  _REG_VARMO_PROCESSOPS lido{};
  ASSERT_EQ(objeto->Le(2, &lido, 0), S_OK);
  EXPECT_STREQ(lido.szDescricao, "Dobra");
  EXPECT_EQ(objeto->Remove(2), S_OK);
  EXPECT_EQ(objeto->Finaliza(), S_OK);
  objeto->Release();
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Processo: P01 - Corte"},
                                                  {'I', "Processo: P02 - Dobra"},
                                                  {'E', "Processo: P02 - Dobra"}}));
}

}  // namespace
