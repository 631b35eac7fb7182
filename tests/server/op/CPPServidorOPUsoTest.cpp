// The usage checks of master data in the order handler's period files, on a company whose files are
// written byte by byte (PeriodosOP.h): what each check finds and what it passes over, the first and
// the last month of the calendar, the grade levels of ProdutoTeveMovimentacao, the engine's errors,
// and the master settings reaching the checks through the first slot of their seam.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "server/PPMovimentacaoProduto.h"
#include "server/op/CPPServidorOPUso.h"
#include "server/op/PPConsultaMovimentacaoOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/PeriodosOP.h"

namespace {

HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000u | numero); }

constexpr uint16_t kMes = 1500;  // 12/1972

_REG_VARMO_FILTROPS FiltroOP(int32_t fluxo, int32_t colecao) {
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroFluxoProcesso = fluxo;
  filtro.lPonteiroColecao = colecao;
  return filtro;
}

_REG_VARMO_FILTRO_APONTAMENTOPS FiltroApontamento(int32_t operacao, int32_t motivo) {
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.lPonteiroOperacao = operacao;
  filtro.lPonteiroMotivoRefugo = motivo;
  return filtro;
}

// Every check, with arguments that name nothing in particular; ProdutoTeveMovimentacao answers
// through the byte as the others do.
struct Verificacao {
  const char* nome;
  std::function<HRESULT(CPPServidorOPUso&, uint8_t*)> chama;
};
const std::vector<Verificacao>& Verificacoes() {
  static const std::vector<Verificacao> verificacoes = {
      {"VerificaUsoProcesso", [](CPPServidorOPUso& uso, uint8_t* p) { return uso.VerificaUsoProcesso(7, p); }},
      {"VerificaUsoFluxoColecao",
       [](CPPServidorOPUso& uso, uint8_t* p) { return uso.VerificaUsoFluxoColecao(FiltroOP(3, 4), p); }},
      {"VerificaUsoColecaoNecessidade",
       [](CPPServidorOPUso& uso, uint8_t* p) { return uso.VerificaUsoColecaoNecessidade(FiltroOP(0, 4), p); }},
      {"VerificaUsoRecursoOP", [](CPPServidorOPUso& uso, uint8_t* p) { return uso.VerificaUsoRecursoOP(11, p); }},
      {"VerificaUsoRecursoApontamento",
       [](CPPServidorOPUso& uso, uint8_t* p) { return uso.VerificaUsoRecursoApontamento(11, p); }},
      {"VerificaUsoApontamento",
       [](CPPServidorOPUso& uso, uint8_t* p) { return uso.VerificaUsoApontamento(FiltroApontamento(21, 31), p); }},
      {"ProdutoTeveMovimentacao",
       [](CPPServidorOPUso& uso, uint8_t* p) {
         int32_t teve = p ? *p : 0;
         uint16_t nivel = 0;
         const HRESULT hr = uso.ProdutoTeveMovimentacao(5, p ? &teve : nullptr, &nivel);
         if (p) *p = static_cast<uint8_t>(teve);
         return hr;
       }},
  };
  return verificacoes;
}

class UsoOP : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(uso_.Inicializa(SessaoTeste(), 0), S_OK); }

  // Overwrites 4 bytes of a file of the company.
  void Altera(const std::string& nome, size_t deslocamento, uint32_t valor) const {
    std::string bytes = empresa_.Le(nome);
    ASSERT_LE(deslocamento + 4, bytes.size()) << nome;
    std::memcpy(bytes.data() + deslocamento, &valor, 4);
    empresa_.Escreve(nome, bytes);
  }
  // A torn append: one byte more than whole records.
  void Rasga(const std::string& nome) const { empresa_.Escreve(nome, empresa_.Le(nome) + "x"); }

  uint8_t EmUsoProcesso(int32_t processo) {
    uint8_t emUso = 9;
    EXPECT_EQ(uso_.VerificaUsoProcesso(processo, &emUso), S_OK) << processo;
    return emUso;
  }

  EmpresaTeste empresa_;
  CPPServidorOPUso uso_;
};

}  // namespace

TEST(UsoOPSessao, ChecksAnswer1585OutsideASessionAndE_POINTERWithoutTheirOutArguments) {
  EmpresaTeste empresa;
  CPPServidorOPUso uso;
  for (const Verificacao& verificacao : Verificacoes()) {
    uint8_t emUso = 1;
    EXPECT_EQ(verificacao.chama(uso, &emUso), Erro(1585)) << verificacao.nome;
    EXPECT_EQ(emUso, 0) << verificacao.nome;
  }

  ASSERT_EQ(uso.Inicializa(SessaoTeste(), 1), S_OK);
  for (const Verificacao& verificacao : Verificacoes())
    EXPECT_EQ(verificacao.chama(uso, nullptr), E_POINTER) << verificacao.nome;
  int32_t teve = 0;
  EXPECT_EQ(uso.ProdutoTeveMovimentacao(5, &teve, nullptr), E_POINTER);

  EXPECT_EQ(uso.Finaliza(), S_OK);
  for (const Verificacao& verificacao : Verificacoes()) {
    uint8_t emUso = 0;
    EXPECT_EQ(verificacao.chama(uso, &emUso), Erro(1585)) << verificacao.nome;
  }

  // A company without data directory: 975, after the session that was open is finalised.
  ASSERT_EQ(uso.Inicializa(SessaoTeste(), 0), S_OK);
  _REG_VARMO_INICIALIZAPS outra = SessaoTeste();
  std::strcpy(outra.szEmpresa, "NENHUMA");
  EXPECT_EQ(uso.Inicializa(outra, 0), Erro(975));
  uint8_t emUso = 0;
  EXPECT_EQ(uso.VerificaUsoProcesso(7, &emUso), Erro(1585));
}

TEST_F(UsoOP, WithoutPeriodFilesEveryCheckAnswers0WithItsFlagClearAndCreatesNoFile) {
  const auto antes = empresa_.Arquivos();
  for (const Verificacao& verificacao : Verificacoes()) {
    uint8_t emUso = 1;
    EXPECT_EQ(verificacao.chama(uso_, &emUso), S_OK) << verificacao.nome;
    EXPECT_EQ(emUso, 0) << verificacao.nome;
  }
  EXPECT_EQ(empresa_.Arquivos(), antes);
}

TEST_F(UsoOP, AProcessIsInUseOnlyThroughAnOrderThatIsNotRemoved) {
  MesOP mes(kMes);
  mes.Ordem({.removida = true, .processos = {{.processo = 7}}});
  mes.Ordem({.processos = {{.processo = 8, .insumos = {{.produto = 7}}, .recursos = {7}, .operacoes = {7}},
                           {.processo = 9}}});
  mes.Grava(empresa_);
  EXPECT_EQ(EmUsoProcesso(7), 0) << "only a removed order has it";
  EXPECT_EQ(EmUsoProcesso(8), 1);
  EXPECT_EQ(EmUsoProcesso(9), 1) << "the second process of the run";
  EXPECT_EQ(EmUsoProcesso(10), 0);
}

TEST_F(UsoOP, TheChecksReachTheFirstAndTheLastMonthOfTheCalendar) {
  MesOP primeiro(949), ultimo(2148);
  primeiro.Ordem({.fluxo = 3, .processos = {{.processo = 7}}});
  ultimo.Apontamento({.recursos = {{.recurso = 14}}});
  ultimo.Necessidade({.produto = 5, .grade = {1, 2, 3}, .colecao = 4});
  primeiro.Grava(empresa_);
  ultimo.Grava(empresa_);
  ASSERT_TRUE(empresa_.Existe("PPOP0127.DAT"));
  ASSERT_TRUE(empresa_.Existe("PPAP1226.DAT"));
  ASSERT_TRUE(empresa_.Existe("PPNC1226.DAT"));

  uint8_t processo = 0, fluxo = 0, recurso = 0, colecao = 0;
  EXPECT_EQ(uso_.VerificaUsoProcesso(7, &processo), S_OK);
  EXPECT_EQ(uso_.VerificaUsoFluxoColecao(FiltroOP(3, 0), &fluxo), S_OK);
  EXPECT_EQ(uso_.VerificaUsoRecursoApontamento(14, &recurso), S_OK);
  EXPECT_EQ(uso_.VerificaUsoColecaoNecessidade(FiltroOP(0, 4), &colecao), S_OK);
  EXPECT_EQ(processo + fluxo + recurso + colecao, 4) << +processo << +fluxo << +recurso << +colecao;
  int32_t teve = 0;
  uint16_t nivel = 0;
  EXPECT_EQ(uso_.ProdutoTeveMovimentacao(5, &teve, &nivel), S_OK);
  EXPECT_EQ(teve, 1);
  EXPECT_EQ(nivel, 3);
}

TEST_F(UsoOP, FlowsAndCollectionsAreInUseThroughOrdersAndRequirementsThatAreNotRemoved) {
  MesOP mes(kMes);
  mes.Ordem({.fluxo = 3, .colecao = 4});
  mes.Ordem({.removida = true, .fluxo = 5, .colecao = 6});
  mes.Ordem({});
  mes.Necessidade({.produto = 1, .colecao = 40});
  mes.Necessidade({.produto = 1, .colecao = 60, .removida = true});
  mes.Necessidade({.produto = 1});
  mes.Grava(empresa_);
  const struct {
    int32_t fluxo, colecao;
    uint8_t ordens, necessidades;
  } casos[] = {
      {3, 0, 1, 0}, {0, 4, 1, 0},  {5, 4, 1, 0},  {4, 0, 0, 0}, {0, 3, 0, 0}, {5, 0, 0, 0},
      {0, 6, 0, 0}, {0, 40, 0, 1}, {0, 60, 0, 0}, {0, 0, 0, 0},  // a zero field looks for nothing, not for the records
                                                                 // without it
  };
  for (const auto& caso : casos) {
    uint8_t ordens = 9, necessidades = 9;
    EXPECT_EQ(uso_.VerificaUsoFluxoColecao(FiltroOP(caso.fluxo, caso.colecao), &ordens), S_OK);
    EXPECT_EQ(uso_.VerificaUsoColecaoNecessidade(FiltroOP(caso.fluxo, caso.colecao), &necessidades), S_OK);
    EXPECT_EQ(ordens, caso.ordens) << caso.fluxo << "/" << caso.colecao;
    EXPECT_EQ(necessidades, caso.necessidades) << caso.fluxo << "/" << caso.colecao;
  }
}

TEST_F(UsoOP, AResourceIsInUseThroughOpenOrdersAndThroughReportsOfAnyOrder) {
  MesOP mes(kMes);
  mes.Ordem({.situacao = 1, .processos = {{.recursos = {11}}}});
  mes.Ordem({.situacao = 2, .processos = {{.recursos = {30}}, {.recursos = {31, 12}}}});
  mes.Ordem({.situacao = 61, .processos = {{.recursos = {13}}}});
  mes.Ordem({.situacao = 50, .processos = {{.recursos = {14}}}});
  mes.Ordem({.situacao = 49, .processos = {{.recursos = {15}}}});
  mes.Ordem({.situacao = 62, .processos = {{.recursos = {20}}}});
  mes.Ordem({.situacao = 1, .removida = true, .processos = {{.recursos = {16}}}});
  mes.Apontamento({.recursosNaoApontados = {14}, .recursos = {{.recurso = 32}, {.recurso = 17}}});
  mes.Apontamento({.excluido = true, .recursosNaoApontados = {18}, .recursos = {{.recurso = 19}}});
  mes.Grava(empresa_);
  const struct {
    int32_t recurso;
    uint8_t ordens, apontamentos;
  } casos[] = {
      {11, 1, 0}, {12, 1, 0},
      {13, 1, 0}, {14, 0, 1},  // a finished order's resource, in a report's resources not reported
      {15, 0, 0}, {20, 0, 0},
      {16, 0, 0}, {17, 0, 1},  // the second resource report
      {18, 0, 0}, {19, 0, 0},  // only in a removed report
      {21, 0, 0},
  };
  for (const auto& caso : casos) {
    uint8_t ordens = 9, apontamentos = 9;
    EXPECT_EQ(uso_.VerificaUsoRecursoOP(caso.recurso, &ordens), S_OK);
    EXPECT_EQ(uso_.VerificaUsoRecursoApontamento(caso.recurso, &apontamentos), S_OK);
    EXPECT_EQ(ordens, caso.ordens) << caso.recurso;
    EXPECT_EQ(apontamentos, caso.apontamentos) << caso.recurso;
  }
}

TEST_F(UsoOP, OperationsAndScrapReasonsAreInUseThroughReportsAndOperationsAlsoThroughOrders) {
  MesOP mes(kMes);
  mes.Apontamento(
      {.operacao = 21,
       .motivoRefugo = 31,
       .recursos = {{.recurso = 1, .operacoes = {22}}, {.recurso = 2}, {.recurso = 3, .operacoes = {41, 23}}}});
  mes.Apontamento(
      {.excluido = true, .operacao = 24, .motivoRefugo = 34, .recursos = {{.recurso = 1, .operacoes = {25}}}});
  mes.Ordem({.processos = {{.processo = 1}, {.processo = 2, .operacoes = {42, 26}}}});
  mes.Ordem({.removida = true, .processos = {{.processo = 1, .operacoes = {27}}}});
  mes.Grava(empresa_);
  const struct {
    int32_t operacao, motivo;
    uint8_t emUso;
  } casos[] = {
      {21, 0, 1}, {22, 0, 1}, {23, 0, 1}, {0, 31, 1}, {99, 31, 1}, {26, 0, 1},  // an order's simple report
      {24, 0, 0}, {25, 0, 0}, {0, 34, 0}, {27, 0, 0},                           // removed report, removed order
      {0, 26, 0},                                                               // a scrap reason named only in an order
      {0, 21, 0}, {31, 0, 0}, {0, 0, 0},
  };
  for (const auto& caso : casos) {
    uint8_t emUso = 9;
    EXPECT_EQ(uso_.VerificaUsoApontamento(FiltroApontamento(caso.operacao, caso.motivo), &emUso), S_OK);
    EXPECT_EQ(emUso, caso.emUso) << caso.operacao << "/" << caso.motivo;
  }
}

TEST_F(UsoOP, EveryRecordOfTheProductRaisesTheGradeLevelByTheGradeItemsItCarries) {
  constexpr GradeTeste k100{7, 0, 0}, k010{0, 7, 0}, k001{0, 0, 7}, k110{7, 7, 0}, k101{7, 0, 7}, k111{7, 7, 7};
  const struct Caso {
    const char* nome;
    std::function<void(MesOP&)> monta;
    uint16_t nivelEntrada;
    int32_t teve;
    uint16_t nivel;
  } casos[] = {
      {"another product only",
       [&](MesOP& m) {
         m.Necessidade({.produto = 6, .grade = k111});
         m.Ordem({.produto = 6, .grade = k111, .processos = {{.insumos = {{6, k111}}}}, .itens = {{6, k111}}});
         m.Apontamento({.entradas = {{6, k111}}});
       },
       0, 0, 0},
      {"the product without grade items",
       [&](MesOP& m) {
         m.Necessidade({.produto = 5});
         m.Ordem({.itens = {{.produto = 5}}});
       },
       0, 1, 0},
      {"a first grade item", [&](MesOP& m) { m.Necessidade({.produto = 5, .grade = k100}); }, 0, 1, 1},
      {"a second without a first", [&](MesOP& m) { m.Necessidade({.produto = 5, .grade = k010}); }, 0, 1, 0},
      {"a third needs the second", [&](MesOP& m) { m.Necessidade({.produto = 5, .grade = k101}); }, 0, 1, 1},
      {"the levels add up across records and passes",
       [&](MesOP& m) {
         m.Necessidade({.produto = 5, .grade = k100});
         m.Ordem({.processos = {{.insumos = {{5, k001}}}}, .itens = {{5, k010}}});
       },
       0, 1, 3},
      {"the level comes in from the caller",
       [&](MesOP& m) {
         m.Apontamento({.estoque = {{5, k010}}});
       },
       1, 1, 2},
      {"the order's product", [&](MesOP& m) { m.Ordem({.produto = 5, .grade = k110}); }, 0, 1, 2},
      {"a service is no use of the product",
       [&](MesOP& m) {
         m.Ordem({.tipo = 'S', .produto = 5, .grade = k111, .itens = {{5, k111, 'S'}}});
       },
       0, 0, 0},
      {"removed records",
       [&](MesOP& m) {
         m.Necessidade({.produto = 5, .grade = k111, .removida = true});
         m.Ordem({.removida = true,
                  .produto = 5,
                  .grade = k111,
                  .processos = {{.insumos = {{5, k111}}}},
                  .itens = {{5, k111}}});
         m.Apontamento({.excluido = true, .entradas = {{5, k111}}, .estoque = {{5, k111}}});
       },
       0, 0, 0},
      {"a report's entry",
       [&](MesOP& m) {
         m.Apontamento({.entradas = {{6, {}}, {5, k100}}});
       },
       0, 1, 1},
      {"a report's entry left pending",
       [&](MesOP& m) {
         m.Apontamento({.entradas = {{5, k100}}, .entradaPendente = true});
       },
       0, 1, 1},
      {"a report's scrap entry",
       [&](MesOP& m) {
         m.Apontamento({.refugo = {{5, k100}}});
       },
       0, 1, 1},
      {"a report's stock movement",
       [&](MesOP& m) {
         m.Apontamento({.estoque = {{6, {}}, {5, k100}}});
       },
       0, 1, 1},
      {"a stock movement of a report's second return",
       [&](MesOP& m) {
         m.Apontamento({.retornos = {{{6, k111}}, {{6, {}}, {5, k100}}}});
       },
       0, 1, 1},
  };
  const auto vazio = empresa_.Arquivos();
  for (const Caso& caso : casos) {
    empresa_.Restaura(vazio);
    MesOP mes(kMes);
    caso.monta(mes);
    mes.Grava(empresa_);
    int32_t teve = 9;
    uint16_t nivel = caso.nivelEntrada;
    EXPECT_EQ(uso_.ProdutoTeveMovimentacao(5, &teve, &nivel), S_OK) << caso.nome;
    EXPECT_EQ(teve, caso.teve) << caso.nome;
    EXPECT_EQ(nivel, caso.nivel) << caso.nome;
  }
}

TEST_F(UsoOP, ProdutoTeveMovimentacaoReadsNoFurtherOnceTheLevelIs3) {
  // The requirements come first; the orders after them are in a torn file.
  MesOP mes(kMes);
  mes.Necessidade({.produto = 5, .grade = {1, 2, 0}});
  mes.Necessidade({.produto = 5, .grade = {0, 0, 3}});
  mes.Ordem({.processos = {{.processo = 1}}});
  mes.Grava(empresa_);
  Rasga(MesOP::Nome("PPOP", kMes));

  int32_t teve = 0;
  uint16_t nivel = 0;
  EXPECT_EQ(uso_.ProdutoTeveMovimentacao(5, &teve, &nivel), S_OK);
  EXPECT_EQ(teve, 1);
  EXPECT_EQ(nivel, 3);

  teve = 1;
  nivel = 3;
  Rasga(MesOP::Nome("PPNC", kMes));
  EXPECT_EQ(uso_.ProdutoTeveMovimentacao(5, &teve, &nivel), S_OK) << "nothing is read at level 3";
  EXPECT_EQ(teve, 0);
  EXPECT_EQ(nivel, 3);

  // Below 3 the orders are read, and the torn file answers.
  MesOP outro(kMes + 1);
  outro.Necessidade({.produto = 5, .grade = {1, 2, 0}});
  empresa_.Apaga(MesOP::Nome("PPNC", kMes));
  outro.Grava(empresa_);
  nivel = 0;
  EXPECT_EQ(uso_.ProdutoTeveMovimentacao(5, &teve, &nivel), Erro(1722));
  EXPECT_EQ(nivel, 2);
}

TEST_F(UsoOP, AFileThatCannotBeOpenedOrARunOutsideItsFileGivesTheEnginesError) {
  // Record 1 of a file starts after its header.
  const auto registro1 = [](size_t tamanho, size_t deslocamento) { return tamanho + deslocamento; };
  const auto processo7 = [this] {
    uint8_t emUso = 9;
    const HRESULT hr = uso_.VerificaUsoProcesso(7, &emUso);
    EXPECT_EQ(emUso, 0);
    return hr;
  };
  const struct Caso {
    const char* nome;
    std::function<void()> estraga;
    std::function<HRESULT()> chama;
    HRESULT hr;
  } casos[] = {
      {"a torn process file", [&] { Rasga(MesOP::Nome("PPPR", kMes)); }, processo7, Erro(1722)},
      {"a process run past the end of its file", [&] { Altera(MesOP::Nome("PPOP", kMes), registro1(256, 60), 3); },
       processo7, Erro(16021)},
      {"a process run that starts at the header", [&] { Altera(MesOP::Nome("PPOP", kMes), registro1(256, 60), 0); },
       processo7, Erro(16021)},
      {"a resource-operation run past the end of its file",
       [&] { Altera(MesOP::Nome("PPAR", kMes), registro1(64, 58), 2); },
       [&] {
         uint8_t emUso = 9;
         return uso_.VerificaUsoApontamento(FiltroApontamento(99, 0), &emUso);
       },
       Erro(16021)},
      {"a report's entries past the end of the movements",
       [&] { Altera(MesOP::Nome("PPAP", kMes), registro1(200, 68), 2); },
       [&] {
         int32_t teve = 0;
         uint16_t nivel = 0;
         return uso_.ProdutoTeveMovimentacao(5, &teve, &nivel);
       },
       Erro(16021)},
  };
  const auto vazio = empresa_.Arquivos();
  for (const Caso& caso : casos) {
    empresa_.Restaura(vazio);
    MesOP mes(kMes);
    mes.Ordem({.processos = {{.processo = 8}, {.processo = 9}}});
    mes.Apontamento({.recursos = {{.recurso = 1, .operacoes = {22}}}, .entradas = {{6, {}}}});
    mes.Grava(empresa_);
    caso.estraga();
    EXPECT_EQ(caso.chama(), caso.hr) << caso.nome;
  }
}

TEST_F(UsoOP, AnOperationFoundInTheReportsNeverOpensTheOrders) {
  MesOP mes(kMes);
  mes.Apontamento({.operacao = 21});
  mes.Ordem({.processos = {{.operacoes = {26}}}});
  mes.Grava(empresa_);
  Rasga(MesOP::Nome("PPPR", kMes));
  uint8_t emUso = 0;
  EXPECT_EQ(uso_.VerificaUsoApontamento(FiltroApontamento(21, 0), &emUso), S_OK);
  EXPECT_EQ(emUso, 1);
  EXPECT_EQ(uso_.VerificaUsoApontamento(FiltroApontamento(26, 0), &emUso), Erro(1722));
  EXPECT_EQ(emUso, 0);
}

// ---------------------------------------------------------------------------------------------------
// The seam

namespace {

// A handler of the other slots that never finds a use.
class TratadorSemUso {
 public:
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint8_t) { return S_OK; }
  HRESULT ProdutoTeveMovimentacao(uint32_t, int32_t*, uint16_t*) { return S_OK; }
};

// Fakes in the slots after the first for the test's life; the old ones are given back.
class OutrosSlotsSemUso {
 public:
  OutrosSlotsSemUso() {
    for (int slot = kPPMovimentacaoFichaTecnica; slot < kPPQuantidadeSlotsMovimentacao; ++slot)
      anteriores_[slot] =
          PPDefineConsultaMovimentacao(static_cast<PPSlotMovimentacao>(slot), PPConsultaDe<TratadorSemUso>());
  }
  ~OutrosSlotsSemUso() {
    for (int slot = kPPMovimentacaoFichaTecnica; slot < kPPQuantidadeSlotsMovimentacao; ++slot)
      PPDefineConsultaMovimentacao(static_cast<PPSlotMovimentacao>(slot), anteriores_[slot]);
  }

 private:
  PPConsultaMovimentacao anteriores_[kPPQuantidadeSlotsMovimentacao] = {};
};

}  // namespace

TEST_F(UsoOP, TheMasterSettingsReachTheOrderChecksThroughTheFirstSlot) {
  EXPECT_EQ(PPGetConsultaMovimentacao(kPPMovimentacaoOP).pCria, PPConsultaMovimentacaoOP().pCria);
  OutrosSlotsSemUso outros;
  MesOP mes(kMes);
  mes.Ordem({.itens = {{.produto = 5, .grade = {7, 7, 0}}}});
  mes.Grava(empresa_);
  auto mestre = empresa_.Servidor();
  int32_t teve = 0;
  uint16_t nivel = 0;
  EXPECT_EQ(mestre->ProdutoTeveMovimentacao(5, &teve, &nivel), S_OK);
  EXPECT_EQ(teve, 1);
  EXPECT_EQ(nivel, 2);
  EXPECT_EQ(mestre->ProdutoTeveMovimentacao(6, &teve, &nivel), S_OK);
  EXPECT_EQ(teve, 0);
  EXPECT_EQ(nivel, 0);
}
