// The resources handler: its record layout and texts, the counter operations and their history,
// the filter with the user's branches, the movement checks and removal, and its COM class. The
// frame's own cases run on it in QuadroCadastrosTest.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "server/cadastros/CPPServidorProcesso.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/cadastros/CQVPP_Recursos.h"
#include "tests/server/cadastros/EmpresaCadastros.h"
#include "tests/server/op/PeriodosOP.h"

namespace {

constexpr HRESULT kNaoInicializado = PPErroHResult(1585);
constexpr HRESULT kRemovido = PPErroHResult(1586);
constexpr HRESULT kArgumentoInvalido = PPErroHResult(1587);
constexpr HRESULT kEmUso = PPErroHResult(1588);
constexpr HRESULT kSemContador = PPErroHResult(1592);
constexpr uint32_t kTamanhoRecurso = 200;
constexpr uint32_t kTamanhoCorrecao = 40;
constexpr uint8_t kLeDetalhe = 2;
constexpr uint16_t kMaio2024 = (2024 - 1848) * 12 + 5;  // the pinned clock's month

CY Unidades(int64_t unidades) {
  CY valor;
  valor.int64 = unidades * 10000;
  return valor;
}

template <class T>
T Campo(const std::string& bytes, size_t deslocamento) {
  T valor;
  std::memcpy(&valor, bytes.data() + deslocamento, sizeof valor);
  return valor;
}

// Record n of a record file's bytes.
std::string Registro(const std::string& arquivo, uint32_t tamanho, uint32_t n) {
  return arquivo.substr(static_cast<size_t>(n) * tamanho, tamanho);
}

// The text at a byte offset of a text file: its 16-bit length, then its bytes.
std::string Texto(const std::string& arquivo, uint32_t deslocamento) {
  return arquivo.substr(deslocamento + 2, Campo<uint16_t>(arquivo, deslocamento));
}

_REG_PP_RECURSOPS Recurso(const char* codigo, uint16_t usFilial = 1) {
  _REG_PP_RECURSOPS recurso{};
  std::strcpy(recurso.szCodigo, codigo);
  std::strcpy(recurso.szDescricao, "Torno");
  recurso.usPonteiroFilial = usFilial;
  recurso.cAtivo = 1;
  return recurso;
}

class ServidorRecursos : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    DefineAcessoTotal(true, {1});  // user 7 may work in branch 1 only
    ASSERT_EQ(recursos_.Inicializa(SessaoTeste(), 1), S_OK);
  }
  void TearDown() override {
    recursos_.Finaliza();
    EmpresaCadastros::TearDown();
  }

  int32_t Grava(const _REG_PP_RECURSOPS& recurso) {
    int32_t ponteiro = 0;
    EXPECT_EQ(recursos_.Grava(0, recurso, &ponteiro), S_OK) << recurso.szCodigo;
    return ponteiro;
  }
  // Saves process P01, which resource lRecurso can run.
  void GravaProcessoDoRecurso(int32_t lRecurso, int32_t* plProcesso) {
    CPPServidorProcesso processos;
    ASSERT_EQ(processos.Inicializa(SessaoTeste(), 0), S_OK);
    _REG_PP_PROCESSO_RECURSOPS recursoProcesso{};
    recursoProcesso.lPonteiroRecurso = lRecurso;
    _REG_VARMO_PROCESSOPS processo{};
    std::strcpy(processo.szCodigo, "P01");
    processo.usQtdRecursos = 1;
    processo.pregRecursos = &recursoProcesso;
    ASSERT_EQ(processos.Grava(0, processo, plProcesso), S_OK);
    processos.Finaliza();
  }
  int32_t GravaComContador(const char* codigo, int64_t contador) {
    _REG_PP_RECURSOPS recurso = Recurso(codigo);
    recurso.cPossuiContador = 1;
    recurso.vContadorAtual = Unidades(contador);
    return Grava(recurso);
  }
  HRESULT Corrige(uint32_t ulRecurso, int64_t contador, const char* motivo) {
    _REG_PP_RECURSO_HISTORICO_CONTADORPS correcao{};
    correcao.ulPonteiroRecurso = ulRecurso;
    correcao.vContadorGravado = Unidades(contador);
    std::strcpy(correcao.szMotivo, motivo);
    return recursos_.AlteraManualContadorRecurso(correcao);
  }
  static std::vector<int32_t> Ponteiros(CPPServidorRecursos& recursos) {
    _REG_VARMO_PONTEIROSPS lista{};
    EXPECT_EQ(recursos.BuscaPonteiros(&lista), S_OK);
    return PonteirosLista(lista);
  }
  int64_t ContadorGravado(uint32_t n) const {
    return Campo<int64_t>(Registro(empresa_.Le("PPRECURS.DAT"), kTamanhoRecurso, n), 16);
  }

  CPPServidorRecursos recursos_;
};

TEST_F(ServidorRecursos, GravaWritesTheRecordAndItsDetailAndLeGivesThemBack) {
  _REG_PP_RECURSOPS recurso = Recurso("TORNO01");
  std::strcpy(recurso.szDescricao, "Torno CNC");
  recurso.vCapacidade = Unidades(8);
  recurso.vContadorAtual = Unidades(120);
  recurso.lPonteiroSecao = 3;
  recurso.ulPonteiroTipoRecurso = 4;
  recurso.usNumeroDigitosContador = 6;
  recurso.cTipo = 2;
  recurso.cPossuiContador = 1;
  std::strcpy(recurso.szNomeContadorInicial, "Horimetro");
  std::strcpy(recurso.szDetalhe, "Revisar a cada turno");
  int32_t ponteiro = 0;
  ASSERT_EQ(recursos_.Grava(0, recurso, &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 1);

  const std::string disco = Registro(empresa_.Le("PPRECURS.DAT"), kTamanhoRecurso, 1);
  EXPECT_EQ(Campo<int64_t>(disco, 0), 80000);
  EXPECT_EQ(Campo<int64_t>(disco, 16), 1200000) << "the counter comes from the COM record";
  EXPECT_EQ(Campo<uint32_t>(disco, 48), 3u);
  EXPECT_EQ(Campo<uint32_t>(disco, 56), 4u);
  EXPECT_EQ(Campo<uint16_t>(disco, 60), 1);
  EXPECT_EQ(Campo<uint16_t>(disco, 62), 6);
  EXPECT_EQ(disco.substr(64, 10), std::string("TORNO01\0\0\0", 10));
  EXPECT_EQ(disco.substr(74, 10), std::string("Torno CNC\0", 10));
  EXPECT_EQ(disco.substr(124, 10), std::string("Horimetro\0", 10));
  EXPECT_EQ(disco[164], 0);
  EXPECT_EQ(disco[165], 1);
  EXPECT_EQ(disco[166], 2);
  EXPECT_EQ(disco[170], 1);
  EXPECT_EQ(Texto(empresa_.Le("PPRECDET.DAT"), Campo<uint32_t>(disco, 44)), "Revisar a cada turno");

  _REG_PP_RECURSOPS lido{};
  ASSERT_EQ(recursos_.Le(1, &lido, kLeDetalhe), S_OK);
  EXPECT_EQ(lido.lPosicaoRecurso, 1);
  EXPECT_STREQ(lido.szCodigo, "TORNO01");
  EXPECT_STREQ(lido.szNomeContadorInicial, "Horimetro");
  EXPECT_EQ(lido.vContadorAtual.int64, 1200000);
  EXPECT_EQ(lido.usNumeroDigitosContador, 6);
  EXPECT_EQ(lido.cPossuiContador, 1);
  EXPECT_STREQ(lido.szDetalhe, "Revisar a cada turno");
  ASSERT_EQ(recursos_.Le(1, &lido, 0), S_OK);
  EXPECT_STREQ(lido.szDetalhe, "") << "the detail only with bit 1";
  EXPECT_EQ(recursos_.Le(1, nullptr, 0), E_POINTER);
  EXPECT_EQ(Linhas(), std::vector<LinhaCadastro>({{'I', "Recurso: TORNO01 - Torno CNC"}}));
}

TEST_F(ServidorRecursos, FullTextFieldsAreNeverReadPastTheirEndAndComeBackTerminated) {
  _REG_PP_RECURSOPS recurso = Recurso("R");
  std::memset(recurso.szCodigo, 'C', sizeof recurso.szCodigo);
  std::memset(recurso.szNomeContadorFinal, 'F', sizeof recurso.szNomeContadorFinal);
  std::memset(recurso.szDetalhe, 'D', sizeof recurso.szDetalhe);
  recurso.cAtivo = 7;  // right after the detail: read past it, it would join the text
  ASSERT_EQ(Grava(recurso), 1);

  const std::string disco = Registro(empresa_.Le("PPRECURS.DAT"), kTamanhoRecurso, 1);
  EXPECT_EQ(disco.substr(64, 10), std::string(10, 'C'));
  EXPECT_EQ(disco.substr(144, 20), std::string(20, 'F'));
  EXPECT_EQ(Texto(empresa_.Le("PPRECDET.DAT"), Campo<uint32_t>(disco, 44)), std::string(512, 'D'));
  _REG_PP_RECURSOPS lido{};
  ASSERT_EQ(recursos_.Le(1, &lido, kLeDetalhe), S_OK);
  EXPECT_EQ(std::string(lido.szCodigo), std::string(10, 'C'));
  EXPECT_EQ(std::string(lido.szNomeContadorFinal), std::string(20, 'F'));
  EXPECT_EQ(std::string(lido.szDetalhe), std::string(511, 'D'));
}

TEST_F(ServidorRecursos, GravaLeavesANegativePointerToTheEngine) {
  Grava(Recurso("R1"));
  const std::string antes = empresa_.Le("PPRECURS.DAT");
  int32_t ponteiro = 0;
  const HRESULT hr = recursos_.Grava(-1, Recurso("R2"), &ponteiro);
  EXPECT_NE(hr, kArgumentoInvalido);
  EXPECT_TRUE(FAILED(hr)) << "past the end of the file";
  EXPECT_EQ(empresa_.Le("PPRECURS.DAT"), antes);
}

TEST_F(ServidorRecursos, AManualCorrectionRecordsTheOldAndNewCounterAndIsListedPerResource) {
  ASSERT_EQ(GravaComContador("R1", 120), 1);
  ASSERT_EQ(GravaComContador("R2", 50), 2);
  ASSERT_EQ(Corrige(2, 55, "Outro recurso"), S_OK);
  ASSERT_EQ(Corrige(1, 100, "Troca do sensor"), S_OK);

  const std::string correcoes = empresa_.Le("PPRCHSCN.DAT");
  ASSERT_EQ(correcoes.size(), 3 * kTamanhoCorrecao);
  const std::string correcao = Registro(correcoes, kTamanhoCorrecao, 2);
  EXPECT_EQ(Campo<int64_t>(correcao, 0), 1200000);
  EXPECT_EQ(Campo<int64_t>(correcao, 8), 1000000);
  EXPECT_EQ(Campo<uint32_t>(correcao, 16), 1u);
  EXPECT_EQ(Texto(empresa_.Le("PPRECDET.DAT"), Campo<uint32_t>(correcao, 20)), "Troca do sensor");
  EXPECT_EQ(Campo<uint32_t>(correcao, 24), kUsuarioTeste);
  EXPECT_EQ(Campo<uint16_t>(correcao, 28), DiaFixado());
  EXPECT_EQ(Campo<uint16_t>(correcao, 30), 10 * 60) << "the pinned 10:00";
  EXPECT_EQ(correcao.substr(32), std::string(8, '\0'));
  EXPECT_EQ(ContadorGravado(1), 1000000);
  EXPECT_EQ(ContadorGravado(2), 550000);

  _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS lista{};
  ASSERT_EQ(recursos_.BuscaHistoricoAlteracaoManualContador(1, &lista), S_OK);
  ASSERT_EQ(lista.ulQuantidade, 1u);
  const _REG_PP_RECURSO_HISTORICO_CONTADORPS entrada = lista.pregLista[0];
  CoTaskMemFree(lista.pregLista);
  EXPECT_EQ(entrada.ulContadorHistorico, 1u) << "the first of the resource, second of the file";
  EXPECT_EQ(entrada.vContadorAnterior.int64, 1200000);
  EXPECT_EQ(entrada.vContadorGravado.int64, 1000000);
  EXPECT_EQ(entrada.ulPonteiroRecurso, 1u);
  EXPECT_EQ(entrada.ulPonteiroUsuarioGravacao, kUsuarioTeste);
  EXPECT_EQ(entrada.usDataGravacao, DiaFixado());
  EXPECT_EQ(entrada.usHoraGravacao, 10 * 60);
  EXPECT_STREQ(entrada.szMotivo, "Troca do sensor");
  EXPECT_EQ(Linhas().size(), 2u) << "a correction writes no history line";

  ASSERT_EQ(recursos_.BuscaHistoricoAlteracaoManualContador(3, &lista), S_OK);
  EXPECT_EQ(lista.ulQuantidade, 0u);
  EXPECT_EQ(lista.pregLista, nullptr);
  EXPECT_EQ(recursos_.BuscaHistoricoAlteracaoManualContador(0, &lista), kArgumentoInvalido);
  EXPECT_EQ(recursos_.BuscaHistoricoAlteracaoManualContador(1, nullptr), E_POINTER);
}

TEST_F(ServidorRecursos, AReasonIsStoredWithinItsFieldAndComesBackCutSoItsTerminatorFits) {
  ASSERT_EQ(GravaComContador("R1", 10), 1);
  ASSERT_EQ(Corrige(1, 11, ""), S_OK);
  _REG_PP_RECURSO_HISTORICO_CONTADORPS cheia{};
  cheia.ulPonteiroRecurso = 1;
  cheia.vContadorGravado = Unidades(12);
  std::memset(cheia.szMotivo, 'M', sizeof cheia.szMotivo);  // 202 characters, no terminator
  cheia.cFiller[0] = 'X';
  ASSERT_EQ(recursos_.AlteraManualContadorRecurso(cheia), S_OK);

  const std::string correcoes = empresa_.Le("PPRCHSCN.DAT");
  EXPECT_EQ(Campo<uint32_t>(Registro(correcoes, kTamanhoCorrecao, 1), 20), 0u) << "no reason, no text";
  const uint32_t motivo = Campo<uint32_t>(Registro(correcoes, kTamanhoCorrecao, 2), 20);
  EXPECT_EQ(Texto(empresa_.Le("PPRECDET.DAT"), motivo), std::string(202, 'M'));

  _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS lista{};
  ASSERT_EQ(recursos_.BuscaHistoricoAlteracaoManualContador(1, &lista), S_OK);
  ASSERT_EQ(lista.ulQuantidade, 2u);
  EXPECT_STREQ(lista.pregLista[0].szMotivo, "");
  EXPECT_EQ(lista.pregLista[1].ulContadorHistorico, 2u);
  EXPECT_EQ(std::string(lista.pregLista[1].szMotivo), std::string(201, 'M'));
  CoTaskMemFree(lista.pregLista);
}

TEST_F(ServidorRecursos, CountersRefuseResourcesWithoutCounterRemovedOrUnnamedAndWriteNothing) {
  ASSERT_EQ(Grava(Recurso("SEM")), 1);
  ASSERT_EQ(GravaComContador("REM", 5), 2);
  ASSERT_EQ(recursos_.Remove(2), S_OK);
  const std::string recursosAntes = empresa_.Le("PPRECURS.DAT");
  const std::string textosAntes = empresa_.Le("PPRECDET.DAT");
  _REG_PP_ATUALIZA_CONTADOR_RECURSOPS atualizacao{Unidades(9)};

  EXPECT_EQ(Corrige(1, 9, "sem contador"), kSemContador);
  EXPECT_EQ(Corrige(2, 9, "removido"), kRemovido);
  EXPECT_EQ(Corrige(0, 9, "nenhum"), kArgumentoInvalido);
  EXPECT_EQ(recursos_.AtualizaContador(2, atualizacao), kRemovido);
  EXPECT_EQ(recursos_.AtualizaContador(0, atualizacao), kArgumentoInvalido);
  EXPECT_EQ(empresa_.Le("PPRECURS.DAT"), recursosAntes);
  EXPECT_EQ(empresa_.Le("PPRECDET.DAT"), textosAntes);
  // The corrections file is made at its first opening, with its header alone.
  EXPECT_EQ(empresa_.Le("PPRCHSCN.DAT"), std::string(kTamanhoCorrecao, '\0'));

  CPPServidorRecursos novo;
  EXPECT_EQ(novo.AtualizaContador(1, atualizacao), kNaoInicializado);
  EXPECT_EQ(novo.AlteraManualContadorRecurso({}), kNaoInicializado);
}

TEST_F(ServidorRecursos, AtualizaContadorStoresTheReadingWithoutCorrectionOrHistory) {
  ASSERT_EQ(GravaComContador("R1", 120), 1);
  const size_t linhas = Linhas().size();
  ASSERT_EQ(recursos_.AtualizaContador(1, {Unidades(130)}), S_OK);
  EXPECT_EQ(ContadorGravado(1), 1300000);
  EXPECT_FALSE(empresa_.Existe("PPRCHSCN.DAT")) << "no correction";
  EXPECT_EQ(Linhas().size(), linhas);
}

// The filter's fields, each against records that differ in it; the user may work in branches 1
// and 999 (the last byte of the user record), so branches 2 and 1000 (past the record) are hidden.
TEST_F(ServidorRecursos, TheFilterTestsEachFieldAndHidesBranchesTheUserMayNotWorkIn) {
  DefineAcessoTotal(true, {1, 999});
  ASSERT_EQ(recursos_.Inicializa(SessaoTeste(), 1), S_OK);
  _REG_PP_RECURSOPS r1 = Recurso("R1");
  r1.ulPonteiroTipoRecurso = 4;
  r1.cTipo = 1;
  r1.lPonteiroSecao = 3;
  _REG_PP_RECURSOPS r2 = Recurso("R2");
  r2.ulPonteiroTipoRecurso = 5;
  r2.cTipo = 2;
  r2.lPonteiroSecao = 4;
  r2.cAtivo = 0xFF;
  ASSERT_EQ(Grava(r1), 1);
  ASSERT_EQ(Grava(r2), 2);
  ASSERT_EQ(Grava(Recurso("R3", 2)), 3);
  ASSERT_EQ(Grava(Recurso("R4", 999)), 4);
  ASSERT_EQ(Grava(Recurso("R5", 1000)), 5);

  int32_t lProcesso = 0;
  ASSERT_NO_FATAL_FAILURE(GravaProcessoDoRecurso(2, &lProcesso));

  struct Caso {
    const char* nome;
    _REG_PP_FILTRO_RECURSOPS filtro;
    std::vector<int32_t> esperados;
  };
  auto filtro = [](auto muda) {
    _REG_PP_FILTRO_RECURSOPS f{};
    muda(f);
    return f;
  };
  using F = _REG_PP_FILTRO_RECURSOPS;
  const Caso casos[] = {
      {"empty", {}, {1, 2, 4}},
      {"branches not checked", filtro([](F& f) { f.cNaoVerificarFiliaisAtivas = 1; }), {1, 2, 3, 4, 5}},
      {"type", filtro([](F& f) { f.ulPonteiroTipoRecurso = 5; }), {2}},
      {"active", filtro([](F& f) { f.cAtivo = 1; }), {1, 4}},
      {"negative active", filtro([](F& f) { f.cAtivo = 0xFF; }), {}},
      {"kind 1", filtro([](F& f) { f.cTipo = 1; }), {1}},
      {"kind 2", filtro([](F& f) { f.cTipo = 2; }), {2}},
      {"kind 3 tests nothing", filtro([](F& f) { f.cTipo = 3; }), {1, 2, 4}},
      {"section", filtro([](F& f) { f.lPonteiroSecao = 4; }), {2}},
      {"resource", filtro([](F& f) { f.lPonteiroRecurso = 4; }), {4}},
      {"branch the user may not work in", filtro([](F& f) { f.usPonteiroFilial = 2; }), {}},
      {"that branch unchecked", filtro([](F& f) {
         f.usPonteiroFilial = 2;
         f.cNaoVerificarFiliaisAtivas = 1;
       }),
       {3}},
      {"process", filtro([&](F& f) { f.lPonteiroProcesso = lProcesso; }), {2}},
      {"missing process", filtro([](F& f) { f.lPonteiroProcesso = 9; }), {}},
  };
  for (const Caso& caso : casos) {
    ASSERT_EQ(recursos_.SetFiltro(caso.filtro), S_OK);
    EXPECT_EQ(Ponteiros(recursos_), caso.esperados) << caso.nome;
  }

  // Without COM the user's branches come from the base system's user server.
  CPPServidorRecursos semCOM;
  ASSERT_EQ(semCOM.Inicializa(SessaoTeste(), 0), S_OK);
  EXPECT_EQ(Ponteiros(semCOM), std::vector<int32_t>({1, 2, 4}));
  EXPECT_TRUE(Linhas().size() == 5u) << "a handler without COM writes no history";
  semCOM.Finaliza();
}

// What each resource is named by; only resource 1 is free.
class MovimentoRecursos : public ServidorRecursos {
 protected:
  static inline std::vector<int32_t> planosRemovidos_;

  static HRESULT PlanoDoRecurso5(const _REG_VARMO_INICIALIZAPS&, int32_t lPonteiroRecurso, uint8_t* pcUsado) {
    *pcUsado = lPonteiroRecurso == 5 ? 1 : 0;
    return S_OK;
  }
  static HRESULT AnotaPlanosRemovidos(const _REG_VARMO_INICIALIZAPS&, int32_t lPonteiroRecurso) {
    planosRemovidos_.push_back(lPonteiroRecurso);
    return S_OK;
  }
  static PPCosturasCadastros Costuras() {
    PPCosturasCadastros costuras = PPGetCosturasCadastros();
    costuras.pVerificaUsoRecursoPlano = &PlanoDoRecurso5;
    costuras.pRemovePlanosRecurso = &AnotaPlanosRemovidos;
    return costuras;
  }

  void SetUp() override {
    ServidorRecursos::SetUp();
    planosRemovidos_.clear();
    for (const char* codigo : {"LIVRE", "PROC", "OP", "APONT", "PLANO", "OPFIM"}) Grava(Recurso(codigo));
    int32_t lProcesso = 0;
    ASSERT_NO_FATAL_FAILURE(GravaProcessoDoRecurso(2, &lProcesso));

    MesOP mes(kMaio2024);
    OrdemTeste ativa;
    ativa.situacao = 1;
    ativa.processos = {{1, {}, {3}, {}}};
    mes.Ordem(ativa);
    OrdemTeste concluida;
    concluida.situacao = 50;
    concluida.processos = {{1, {}, {6}, {}}};
    mes.Ordem(concluida);
    ApontamentoTeste apontamento;
    apontamento.recursos = {{4, {}}};
    mes.Apontamento(apontamento);
    mes.Grava(empresa_);
  }
};

TEST_F(MovimentoRecursos, AResourceHasMovementWhenAProcessMaintenanceActiveOrderOrReportNamesIt) {
  CosturasFalsas costuras(Costuras());
  const uint8_t esperados[] = {0, 1, 1, 1, 1, 0};
  for (int32_t recurso = 1; recurso <= 6; ++recurso) {
    uint8_t cHouve = 9;
    ASSERT_EQ(recursos_.VerificaMovimentoRecurso(recurso, &cHouve), S_OK) << recurso;
    EXPECT_EQ(cHouve, esperados[recurso - 1]) << "resource " << recurso;
  }
  EXPECT_EQ(recursos_.VerificaMovimentoRecurso(1, nullptr), E_POINTER);
  uint8_t cHouve = 9;
  EXPECT_EQ(recursos_.VerificaMovimentoRecurso(0, &cHouve), kArgumentoInvalido) << "no resource, whatever the processes";
  EXPECT_EQ(cHouve, 0);
}

TEST_F(MovimentoRecursos, RemoveRefusesAResourceOfAnActiveOrderAndRemovesAFreeOneWithItsPlans) {
  CosturasFalsas costuras(Costuras());
  const std::string antes = empresa_.Le("PPRECURS.DAT");
  const size_t linhas = Linhas().size();
  EXPECT_EQ(recursos_.Remove(3), kEmUso);
  EXPECT_EQ(empresa_.Le("PPRECURS.DAT"), antes);
  EXPECT_EQ(Linhas().size(), linhas);
  EXPECT_TRUE(planosRemovidos_.empty()) << "plans stay when the removal is refused";

  ASSERT_EQ(recursos_.Remove(1), S_OK);
  EXPECT_EQ(planosRemovidos_, std::vector<int32_t>({1}));
  EXPECT_EQ(Registro(empresa_.Le("PPRECURS.DAT"), kTamanhoRecurso, 1)[164], 1);
  _REG_PP_RECURSOPS lido{};
  EXPECT_EQ(recursos_.Le(1, &lido, 0), kRemovido);
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'E', "Recurso: LIVRE - Torno"}));
}

TEST_F(ServidorRecursos, TheCOMClassChecksTheVersionAnswersFuncaoGenericaWithSuccessAndBracketsExiste) {
  IQVPP_Recursos* objeto = nullptr;
  ASSERT_EQ(PPCriaObjeto<CQVPP_Recursos>(IID_IQVPP_Recursos, reinterpret_cast<void**>(&objeto)), S_OK);
  EXPECT_EQ(objeto->Inicializa(SessaoTeste(), 63), PPErroHResult(1677));
  _REG_VARMO_PONTEIROSPS lista{};
  EXPECT_EQ(objeto->BuscaPonteiros(&lista), kNaoInicializado);
  ASSERT_EQ(objeto->Inicializa(SessaoTeste(), 64), S_OK);

  _REG_FUNCAO_GENERICA_VARMO saida{};
  _REG_FUNCAO_GENERICA_VARMO* pSaida = &saida;
  EXPECT_EQ(objeto->FuncaoGenerica(1, {}, &pSaida), S_OK);
  EXPECT_EQ(pSaida, &saida);

  int32_t ponteiro = 0;
  ASSERT_EQ(objeto->Grava(0, Recurso("R1"), &ponteiro), S_OK);
  _REG_PP_FILTRO_RECURSOPS escondeAtivos{};
  escondeAtivos.cAtivo = 2;
  ASSERT_EQ(objeto->SetFiltro(escondeAtivos), S_OK);
  BSTR codigo = SysAllocString(u"r1");
  EXPECT_EQ(objeto->Existe(codigo, &ponteiro, 0), S_OK);
  EXPECT_EQ(ponteiro, 1);
  EXPECT_EQ(objeto->Existe(codigo, &ponteiro, 1), S_OK);
  EXPECT_EQ(ponteiro, 0);
  SysFreeString(codigo);
  ASSERT_EQ(objeto->BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(lista.lQtd, 0) << "the filter is back after Existe";
  EXPECT_EQ(objeto->Finaliza(), S_OK);
  objeto->Release();
}

}  // namespace
