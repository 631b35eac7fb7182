// Cancelling and interrupting orders, seen through the month's files, the sales-order and
// inventory stand-ins, the internal requisitions of the base system's stand-in, the history and a
// fake targets class.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVRelogio.h"
#include "platform/com/classobject.h"
#include "platform/family/base/RequisicaoInternaDF.h"
#include "platform/family/comum/TabelaFamilia.h"
#include "platform/family/vendas/PedidoFT.h"
#include "server/idl/Varmo.h"
#include "server/op/PPCodigosOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/EmpresaOPFamilia.h"
#include "tests/crash/Queda.h"
#include "tests/support/EsperaFilhos.h"

// Gives the company a directory of one of the family's modules (tests/support/VersoesAntigasOP.h,
// whose other declarations clash with PeriodosOP.h).
void RegistraDiretorioModulo(const Instalacao& instalacao, const char* modulo);

namespace {

using namespace TesteOP;

constexpr uint32_t kOP = 256, kPR = 128, kMT = 128, kIT = 90, kAP = 200, kNC = 128, kRM = 60;
constexpr uint32_t kPedido = 77;

class Cancelamento : public EmpresaOPFamilia {
 protected:
  void SetUp() override {
    ASSERT_EQ(metas_.Registro(), S_OK);
    EmpresaOPFamilia::SetUp();
  }

  // An order on the three processes, the first with an input of 10 units of a third party's product.
  uint32_t Ordem(const std::vector<ItemOP>& itens = {{kProdutoFabricado, Quantidade(10)}}) {
    OPTeste op = NovaOP({{processos_[0], true, {{kProdutoTerceiros, Quantidade(1), Quantidade(10)}}},
                         {processos_[1], true},
                         {processos_[2], true}},
                        itens);
    return GravaNova(op);
  }

  std::string Cabecalho(uint32_t chave) const { return Registro("PPOP", kOP, QVGetNumeroDaChave(chave)); }
  std::string Item(uint32_t chave, uint32_t i) const { return Registro("PPIT", kIT, U32De(Cabecalho(chave), 64) + i); }
  uint32_t RegistroProcesso(uint32_t chave, uint32_t i) const { return U32De(Cabecalho(chave), 60) + i; }
  std::string Processo(uint32_t chave, uint32_t i) const { return Registro("PPPR", kPR, RegistroProcesso(chave, i)); }
  std::string Insumo(uint32_t chave) const { return Registro("PPMT", kMT, U32De(Processo(chave, 0), 48)); }
  void Situacao(uint32_t chave, uint8_t situacao) { Altera("PPOP", kOP, QVGetNumeroDaChave(chave), 170, U8(situacao)); }
  void SituacaoProcesso(uint32_t chave, uint32_t i, uint8_t situacao) {
    Altera("PPPR", kPR, RegistroProcesso(chave, i), 95, U8(situacao));
  }
  // The month's order files, to see that a refusal changed none of them.
  std::string Ordens() const { return Arquivo("PPOP") + Arquivo("PPIT") + Arquivo("PPPR") + Arquivo("PPMT"); }

  // The reservations the inventory stand-in holds for the order.
  size_t Reservas(uint32_t chave) {
    const std::string bytes = empresa_.GetInstalacao().dir().Read("empresas/TESTE/ES/RESERVAS.DAT");
    size_t n = 0;
    for (size_t i = 0; i + sizeof(ReservaGravadaES) <= bytes.size(); i += sizeof(ReservaGravadaES))
      n += U32De(bytes.substr(i, 4), 0) == chave;
    return n;
  }

  void IntegraPedidos() {
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = 1;
    ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
    PedidoSemeadoFT pedido;
    pedido.ulChave = kPedido;
    pedido.regPedido.iPonteiroFilial = kFilial;
    pedido.itens.resize(2);
    for (auto& item : pedido.itens) item.regItem.vQuantidade.int64 = 100 * kUm;
    ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {pedido}), S_OK);
  }
  int64_t ProgramadaPedido(uint16_t indice) {
    TabelaFamilia tabela(empresa_.GetInstalacao().dir().windows_path() + "empresas\\TESTE\\FT\\ITENSPED.DAT",
                         sizeof(ItemPedidoFT));
    TabelaFamilia::Registros registros;
    EXPECT_EQ(tabela.Le(registros), S_OK);
    for (const TabelaFamilia::Registro& bytes : registros) {
      ItemPedidoFT item;
      std::memcpy(static_cast<void*>(&item), bytes.data(), sizeof item);
      if (item.ulChave == kPedido && item.usIndice == indice) return item.regItem.vQuantidadeProgramada.int64;
    }
    ADD_FAILURE() << "no item " << indice;
    return -1;
  }
  // A requirement of the month, emitted today, of `solicitada` units.
  uint32_t Necessidade(int64_t solicitada) {
    std::string registro = Q(solicitada * kUm) + std::string(kNC - 8, '\0');
    registro.replace(80, 2, U16(DiaFixado()));
    return Anexa("PPNC", kNC, registro);
  }
  uint8_t StatusRequisicao(uint32_t chave) const {
    std::vector<RequisicaoInternaDF> requisicoes;
    EXPECT_EQ(LeRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
    for (const RequisicaoInternaDF& requisicao : requisicoes)
      if (requisicao.regRequisicao.ulChave == chave) return requisicao.regRequisicao.cStatusPrincipal;
    ADD_FAILURE() << "no requisition " << chave;
    return 0xff;
  }

  HRESULT Interrompe(uint32_t chave, const std::string& observacao = "") {
    const std::wstring largo(observacao.begin(), observacao.end());
    std::u16string texto(largo.begin(), largo.end());
    BSTR bs = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(texto.data()), static_cast<UINT>(texto.size()));
    const HRESULT hr = op_.InterromperOP(chave, bs);
    SysFreeString(bs);
    return hr;
  }

  MetasFalsas metas_;  // the targets' class
};

// ---------------------------------------------------------------------------------------------------
// Refusals

TEST_F(Cancelamento, EachRefusalAnswersItsCodeAndChangesNoOrder) {
  const uint32_t chave = Ordem();
  CPPServidorOP semSessao;
  const uint32_t nula = 0;
  EXPECT_EQ(semSessao.Cancela(1, &chave, 1), Erro(1585));
  EXPECT_EQ(semSessao.InterromperOP(chave, nullptr), Erro(1585));
  EXPECT_EQ(op_.Cancela(0, &chave, 1), Erro(1587));
  EXPECT_EQ(op_.Cancela(1, &nula, 1), Erro(1587));
  EXPECT_EQ(op_.InterromperOP(0, nullptr), Erro(1587));

  struct Caso {
    const char* caso;
    std::function<void()> prepara;
    HRESULT cancela, interrompe;
  };
  const Caso casos[] = {
      {"not started", [] {}, S_OK, Erro(1594)},
      {"started", [&] { Situacao(chave, kSituacaoIniciada); }, Erro(1594), S_OK},
      {"suspended", [&] { Situacao(chave, kSituacaoSuspensa); }, Erro(1594), S_OK},
      {"concluded", [&] { Situacao(chave, kSituacaoConcluida); }, Erro(1594), Erro(1594)},
      {"interrupted", [&] { Situacao(chave, kSituacaoInterrompida); }, Erro(1594), Erro(1594)},
      {"cancelled", [&] { Situacao(chave, kSituacaoCancelada); }, Erro(1594), Erro(1594)},
      {"started reprocess order",
       [&] {
         Situacao(chave, kSituacaoIniciada);
         Altera("PPOP", kOP, QVGetNumeroDaChave(chave), 174, U8(1));
       },
       Erro(1594), Erro(1594)},
      {"emitted before the open period",
       [&] { Altera("PPOP", kOP, QVGetNumeroDaChave(chave), 126, U16(Dia(30, 4, 2024))); }, Erro(1649), Erro(1649)},
      {"removed", [&] { Altera("PPOP", kOP, QVGetNumeroDaChave(chave), 171, U8(1)); }, Erro(1586), Erro(1586)},
  };
  const std::string original = Arquivo("PPOP");
  for (const Caso& caso : casos) {
    empresa_.Escreve(MesOP::Nome("PPOP", kMes), original);
    caso.prepara();
    const std::string antes = Ordens();
    if (caso.cancela != S_OK) {
      EXPECT_EQ(op_.Cancela(1, &chave, 1), caso.cancela) << caso.caso;
      EXPECT_EQ(Ordens(), antes) << caso.caso;
    }
    if (caso.interrompe != S_OK) {
      EXPECT_EQ(Interrompe(chave), caso.interrompe) << caso.caso;
      EXPECT_EQ(Ordens(), antes) << caso.caso;
    }
  }
  const uint32_t semOrdens = Chave(1, kMes - 1);
  EXPECT_EQ(op_.Cancela(1, &semOrdens, 1), Erro(16021));
  EXPECT_EQ(op_.InterromperOP(semOrdens, nullptr), Erro(16021));
}

TEST_F(Cancelamento, ASecondOrderInTwoRefusesTheListBeforeAnyOrderChanges) {
  std::vector<RequisicaoInternaDF> requisicoes(1);
  requisicoes[0].regRequisicao.ulChave = 5;
  ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
  const uint32_t chaves[] = {Ordem(), Ordem()};
  Altera("PPOP", kOP, QVGetNumeroDaChave(chaves[0]), 40, U32(5));
  Situacao(chaves[1], kSituacaoIniciada);
  const std::string antes = Ordens();
  const size_t reservas = Reservas(chaves[0]);

  EXPECT_EQ(op_.Cancela(2, chaves, 1), Erro(1594));
  EXPECT_EQ(Ordens(), antes);
  EXPECT_EQ(Reservas(chaves[0]), reservas);
  EXPECT_EQ(StatusRequisicao(5), 0) << "only asked whether it could be cancelled";
}

TEST_F(Cancelamento, ARequisitionInUseRefusesTheCancellationAndAnOpenOneIsCancelledWithTheOrder) {
  std::vector<RequisicaoInternaDF> requisicoes(2);
  requisicoes[0].regRequisicao.ulChave = 5;
  requisicoes[1].regRequisicao.ulChave = 6;
  requisicoes[1].regRequisicao.cStatusPrincipal = 1;
  ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
  const uint32_t chaves[] = {Ordem(), Ordem()};
  Altera("PPOP", kOP, QVGetNumeroDaChave(chaves[0]), 40, U32(5));
  Altera("PPOP", kOP, QVGetNumeroDaChave(chaves[1]), 40, U32(6));
  const std::string antes = Ordens();

  EXPECT_EQ(op_.Cancela(2, chaves, 1), Erro(1588));
  EXPECT_EQ(Ordens(), antes);
  EXPECT_EQ(StatusRequisicao(5), 0);

  ASSERT_EQ(op_.Cancela(1, chaves, 1), S_OK);
  EXPECT_EQ(StatusRequisicao(5), 3);
  EXPECT_EQ(U8De(Cabecalho(chaves[0]), 170), kSituacaoCancelada);
}

// ---------------------------------------------------------------------------------------------------
// Cancela

TEST_F(Cancelamento, CancellingGivesBackItemsInputsRequirementsAndReservations) {
  IntegraPedidos();
  const uint32_t pedida = Necessidade(8);
  const uint32_t doInsumo = Necessidade(10);
  const uint32_t chave = Ordem({{kProdutoFabricado, Quantidade(30), kItemPedido, kPedido, 1},
                                {kProdutoFabricado, Quantidade(5), kItemNecessidade, Chave(pedida)},
                                {kProdutoFabricado, Quantidade(2)}});
  Altera("PPMT", kMT, U32De(Processo(chave, 0), 48), 52, U32(doInsumo));
  // Two of the sales order's 30 were cancelled on the order since.
  Altera("PPIT", kIT, U32De(Cabecalho(chave), 64), 24, Q(2 * kUm));
  ASSERT_EQ(ProgramadaPedido(1), 30 * kUm);
  ASSERT_EQ(QDe(Registro("PPNC", kNC, pedida), 8), 5 * kUm);
  ASSERT_GT(Reservas(chave), 0u);
  const size_t linhas = Linhas().size();

  ASSERT_EQ(op_.Cancela(1, &chave, 1), S_OK);

  const std::string cabecalho = Cabecalho(chave);
  EXPECT_EQ(U8De(cabecalho, 170), kSituacaoCancelada);
  EXPECT_EQ(U16De(cabecalho, 114), 7);
  EXPECT_EQ(U16De(cabecalho, 146), DiaFixado());
  EXPECT_EQ(U16De(cabecalho, 148), QVGetMinutosAtual());
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(U8De(Processo(chave, i), 95), kSituacaoCancelada) << i;
    EXPECT_EQ(U8De(Item(chave, i), 58), 1) << "item " << i << " cancelled";
  }
  EXPECT_EQ(ProgramadaPedido(1), 2 * kUm) << "the 28 still open given back";
  EXPECT_EQ(QDe(Registro("PPNC", kNC, pedida), 8), 0);
  EXPECT_EQ(U8De(Insumo(chave), 96), 1);
  EXPECT_EQ(U16De(Registro("PPNC", kNC, doInsumo), 82), DiaFixado()) << "the input's requirement cancelled";
  EXPECT_EQ(Reservas(chave), 0u);
  const std::vector<LinhaCadastro> depois = Linhas();
  ASSERT_GT(depois.size(), linhas);
  EXPECT_EQ(depois.back(), (LinhaCadastro{'I', "Cancelamento OP: 0524-" + std::string(5, '0') + "1 - Filial: 1 - "
                                                   "Projeto: 0 - Produto: 1-0-0-0 - Tipo OP: " +
                                                   std::to_string(tipoOP_) + " - Fluxo: 0"}));

  // Cancelled once: a second time is refused and gives nothing back again.
  EXPECT_EQ(op_.Cancela(1, &chave, 1), Erro(1594));
  EXPECT_EQ(ProgramadaPedido(1), 2 * kUm);
}

TEST_F(Cancelamento, ACancellationBrokenOffIsRunAgainWithoutGivingBackTwice) {
  IntegraPedidos();
  const uint32_t chave = Ordem({{kProdutoFabricado, Quantidade(30), kItemPedido, kPedido, 1},
                                {kProdutoFabricado, Quantidade(20), kItemPedido, kPedido, 0}});
  ASSERT_EQ(ProgramadaPedido(0), 20 * kUm);
  // The sales server refuses the second item's difference: the first is given back and marked.
  vendas_.Pedido.FalhaMetodo("AtualizaQuantidadesProgramadas", 1, E_FAIL, 1);
  EXPECT_EQ(op_.Cancela(1, &chave, 1), E_FAIL);
  EXPECT_EQ(ProgramadaPedido(1), 0);
  EXPECT_EQ(ProgramadaPedido(0), 20 * kUm);
  EXPECT_EQ(U8De(Cabecalho(chave), 170), kSituacaoNaoIniciada);

  ASSERT_EQ(op_.Cancela(1, &chave, 1), S_OK);
  EXPECT_EQ(ProgramadaPedido(1), 0);
  EXPECT_EQ(ProgramadaPedido(0), 0);
  EXPECT_EQ(U8De(Cabecalho(chave), 170), kSituacaoCancelada);
}

// ---------------------------------------------------------------------------------------------------
// Shared steps

TEST_F(Cancelamento, InterruptionCarriesConcludedRunningAndNotStartedProcesses) {
  struct Caso {
    uint8_t antes[3], depois[3];
  };
  const Caso casos[] = {
      {{50, 3, 1}, {50, 62, 99}}, {{49, 4, 1}, {49, 62, 99}}, {{50, 50, 61}, {50, 50, 62}},
      {{5, 1, 1}, {62, 99, 99}},  {{50, 1, 2}, {50, 62, 62}}, {{1, 1, 1}, {99, 99, 99}},
      // An interruption broken off after its processes, run again.
      {{50, 62, 99}, {50, 62, 99}},
  };
  for (const Caso& caso : casos) {
    const uint32_t chave = Ordem();
    Situacao(chave, kSituacaoIniciada);
    for (uint32_t i = 0; i < 3; ++i) SituacaoProcesso(chave, i, caso.antes[i]);
    ASSERT_EQ(Interrompe(chave), S_OK);
    for (uint32_t i = 0; i < 3; ++i) {
      EXPECT_EQ(U8De(Processo(chave, i), 95), caso.depois[i])
          << int{caso.antes[0]} << "," << int{caso.antes[1]} << "," << int{caso.antes[2]} << " process " << i;
    }
  }
}

TEST_F(Cancelamento, InterruptionSetsTheOrderAsideAndNoLaterSaveRebuildsItsReservations) {
  IntegraPedidos();
  const uint32_t chave = Ordem({{kProdutoFabricado, Quantidade(30), kItemPedido, kPedido, 1}});
  Situacao(chave, kSituacaoIniciada);
  SituacaoProcesso(chave, 0, kSituacaoEmProducao);
  Altera("PPIT", kIT, U32De(Cabecalho(chave), 64), 8, Q(12 * kUm));  // 12 produced
  ASSERT_EQ(op_.AtualizaReservasOP(chave), S_OK);
  ASSERT_GT(Reservas(chave), 0u);
  const size_t linhas = Linhas().size();

  ASSERT_EQ(Interrompe(chave), S_OK);
  const std::string cabecalho = Cabecalho(chave);
  EXPECT_EQ(U8De(cabecalho, 170), kSituacaoInterrompida);
  EXPECT_EQ(U16De(cabecalho, 114), 7);
  EXPECT_EQ(U16De(cabecalho, 150), DiaFixado());
  EXPECT_EQ(U16De(cabecalho, 152), QVGetMinutosAtual());
  EXPECT_EQ(ProgramadaPedido(1), 12 * kUm) << "what was produced stays programmed";
  EXPECT_EQ(U8De(Insumo(chave), 96), 1);
  EXPECT_EQ(Reservas(chave), 0u);
  ASSERT_EQ(Linhas().size(), linhas + 1);
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', "Interrompida a OP " + std::string(QVChaveParaTexto(chave))}));

  OPTeste op = NovaOP({{processos_[0], true}}, {{kProdutoFabricado, Quantidade(10)}});
  uint32_t saida = 0;
  EXPECT_EQ(op_.GravaOP(chave, op.Registro(), &saida, 1), Erro(1592));
  EXPECT_EQ(op_.AtualizaReservasOP(chave), S_OK);
  EXPECT_EQ(Reservas(chave), 0u);
  EXPECT_EQ(Interrompe(chave), Erro(1594));
}

TEST_F(Cancelamento, AnEmptyObservationKeepsTheFormerTextAndAnotherBecomesANewText) {
  OPTeste op = NovaOP({{processos_[0], true}}, {{kProdutoFabricado, Quantidade(10)}});
  std::strcpy(op.cabecalho.szObservacao, "ANTES");
  const uint32_t vazia = GravaNova(op);
  const uint32_t escrita = GravaNova(op);
  const uint32_t texto = U32De(Cabecalho(vazia), 24);
  ASSERT_NE(texto, 0u);
  Situacao(vazia, kSituacaoIniciada);
  Situacao(escrita, kSituacaoSuspensa);

  ASSERT_EQ(Interrompe(vazia, ""), S_OK);
  EXPECT_EQ(U32De(Cabecalho(vazia), 24), texto);

  const std::string antes = Arquivo("PPIE");
  ASSERT_EQ(Interrompe(escrita, "PAROU POR FALTA"), S_OK);
  const uint32_t novo = U32De(Cabecalho(escrita), 24);
  EXPECT_EQ(novo, antes.size()) << "appended";
  const std::string depois = Arquivo("PPIE");
  EXPECT_EQ(depois.substr(0, antes.size()), antes) << "the former texts stay";
  EXPECT_EQ(depois.substr(novo), U16(15) + "PAROU POR FALTA");
}

TEST_F(Cancelamento, InterruptionClosesTheOrdersShipmentsNotInvoiced) {
  const uint32_t chave = Ordem();
  const uint32_t outra = Ordem();
  Situacao(chave, kSituacaoIniciada);
  auto remessa = [&](uint32_t ordem, uint8_t estado) {
    return Anexa("PPRM", kRM, U32(0) + U32(ordem) + std::string(28, '\0') + U8(estado) + std::string(23, '\0'));
  };
  const uint32_t pendente = remessa(chave, 1), faturada = remessa(chave, 2), cancelada = remessa(chave, 8),
                 deOutra = remessa(outra, 1);

  ASSERT_EQ(Interrompe(chave), S_OK);
  EXPECT_EQ(U8De(Registro("PPRM", kRM, pendente), 36), 0);
  EXPECT_EQ(U8De(Registro("PPRM", kRM, faturada), 36), 2);
  EXPECT_EQ(U8De(Registro("PPRM", kRM, cancelada), 36), 0);
  EXPECT_EQ(U8De(Registro("PPRM", kRM, deOutra), 36), 1);
}

// ---------------------------------------------------------------------------------------------------
// Reprocessing

TEST_F(Cancelamento, ACancelledReprocessOrderRestoresItsOriginReportAndPostsItsTarget) {
  OPTeste dados = NovaOP({{processos_[0], true}, {processos_[1], true}}, {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t origem = GravaNova(dados);
  auto relato = [&](int32_t processo, int64_t quantidade) {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroOP = origem;
    reg.lPonteiroProcesso = processo;
    reg.lPonteiroOperacaoProducao = operacao_;
    reg.vQuantidadeApontada.int64 = quantidade * kUm;
    reg.cTipoProducao = 1;
    reg.cTipoItem = 1;
    reg.usDataApontamentoInicio = reg.usDataApontamentoFim = DiaFixado();
    reg.usHoraApontamentoInicio = 8 * 60;
    reg.usHoraApontamentoFim = 9 * 60;
    return reg;
  };
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(relato(processos_[0], 6), &chave, 1), S_OK);
  _REG_VARMO_OP_APONTAMENTO reprocessar = relato(processos_[0], 4);
  reprocessar.cGerouReprocesso = 1;
  uint32_t chaveOrigem = 0;
  ASSERT_EQ(op_.GravaApontamento(reprocessar, &chaveOrigem, 1), S_OK);
  ASSERT_EQ(op_.GravaApontamento(relato(processos_[1], 6), &chave, 1), S_OK);
  const uint32_t nOrigem = QVGetNumeroDaChave(chaveOrigem);
  const uint32_t nova = U32De(Registro("PPAP", kAP, nOrigem), 136);
  ASSERT_NE(nova, 0u);
  ASSERT_EQ(U8De(Processo(origem, 1), 95), kSituacaoEmReprocesso);
  ASSERT_EQ(QDe(Registro("PPAP", kAP, nOrigem), 32), 0);

  ASSERT_EQ(op_.Cancela(1, &nova, 1), S_OK);
  EXPECT_EQ(U8De(Cabecalho(nova), 170), kSituacaoCancelada);
  EXPECT_EQ(QDe(Registro("PPAP", kAP, nOrigem), 32), 4 * kUm) << "all of it counts as back";
  EXPECT_EQ(U8De(Processo(origem, 1), 95), kSituacaoEmProducao) << "no more reprocessing to wait for";
  ASSERT_EQ(metas_.apontadas.size(), 1u);
  const _REG_PP_META_PRODUCAOPS& meta = metas_.apontadas[0];
  EXPECT_EQ(meta.regKey.ulPonteiroFilial, kFilial);
  EXPECT_EQ(meta.regKey.ulPonteiroProjeto, 0u);
  EXPECT_EQ(meta.regKey.usMesAno, kMes);
  EXPECT_EQ(meta.regKey.regPosicaoProdutoServico.lPonteiroProduto, kProdutoFabricado);
  EXPECT_EQ(meta.regKey.cTipoProdutoServico, 'P');
  EXPECT_EQ(meta.vQuantProduzida.int64, 4 * kUm);
}

// ---------------------------------------------------------------------------------------------------
// Two processes

struct RelatoDoisProcessos {
  std::atomic<int32_t> hrPreparo, hrApontamento, hrCancela;
  std::atomic<bool> apontadorTemMarca, cancelamentoComecou;
  uint32_t chaveOP;
  int32_t operacao;
};

bool Espera(const std::atomic<bool>& sinal) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!sinal && std::chrono::steady_clock::now() < limite) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return sinal;
}

// A child's clock of its own, moved on in real time, so that waiting for the other's lock takes
// real time (and never the lock's 50 s).
class RelogioFilho {
 public:
  RelogioFilho() : relogio_(TestClock::SleepMode::kBlocks), ponteiro_([this] {
    while (!fim_) {
      relogio_.Advance(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }) {}
  ~RelogioFilho() {
    fim_ = true;
    ponteiro_.join();
  }

 private:
  TestClock relogio_;
  std::atomic<bool> fim_{false};
  std::thread ponteiro_;
};

_REG_VARMO_INICIALIZAPS SessaoCompleta() {
  _REG_VARMO_INICIALIZAPS sessao = SessaoTeste();
  sessao.cInicializarCompleto = 1;
  return sessao;
}

// The first child: the production operation and an order of one receiving process, not started.
[[noreturn]] void PreparaNoFilho(RelatoDoisProcessos& relato) {
  RelogioFilho relogio;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  HRESULT hr = S_OK;
  {
    CPPServidorOperacaoProducao operacoes;
    hr = operacoes.Inicializa(SessaoTeste(), 0);
    _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
    std::strcpy(operacao.szCodigo, "PRODUZIR");
    std::strcpy(operacao.szDescricao, "PRODUZIR");
    operacao.cAtivo = 1;
    operacao.cVisualizarEmApontamentoOP = 1;
    if (hr == S_OK) hr = operacoes.Grava(0, operacao, &relato.operacao);
    CPPServidorOP op;
    if (hr == S_OK) hr = op.Inicializa(SessaoCompleta());
    _REG_VARMO_OP_PROCESSOPS processo{};
    processo.lPonteiroProcesso = 1;
    processo.cRecebeApontamento = 1;
    processo.cSituacao = 1;
    _REG_VARMO_OP_ITEMPS item{};
    item.regPosicaoProdutoServico.lPonteiroProduto = 1;
    item.vQuantidadeProgramada.int64 = 10 * kUm;
    item.cTipoItem = 1;
    item.cTipoProdutoServico = 'P';
    _REG_VARMO_OPPS registro{};
    registro.lPonteiroTipoOP = 1;
    registro.regPosicaoProdutoServico.lPonteiroProduto = 1;
    registro.usPonteiroFilial = 1;
    registro.cTipoProdutoServico = 'P';
    registro.cSituacao = 1;
    registro.usQtdProcessos = 1;
    registro.pregProcessos = &processo;
    registro.usQtdItens = 1;
    registro.pregItens = &item;
    if (hr == S_OK) hr = op.GravaOP(0, registro, &relato.chaveOP, 1);
    op.Finaliza();
  }
  relato.hrPreparo = hr;
  CoUninitialize();
  _exit(hr == S_OK ? 0 : 1);
}

// The reporting child records its report inside the lock it took first; the cancelling child
// starts while that lock is held.
[[noreturn]] void ConcorreNoFilho(bool bApontamento, const std::string& diretorio, RelatoDoisProcessos& relato) {
  RelogioFilho relogio;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  HRESULT hr = S_OK;
  {
    CPPServidorOP op;
    hr = op.Inicializa(SessaoCompleta());
    if (bApontamento) {
      CQVArqMarca marca;
      if (hr == S_OK) hr = PPErroHResultMotor(marca.Marca(diretorio.c_str(), kPPMarcaOP));
      relato.apontadorTemMarca = true;
      Espera(relato.cancelamentoComecou);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the cancellation waits by now
      _REG_VARMO_OP_APONTAMENTO reg{};
      reg.lPonteiroOP = relato.chaveOP;
      reg.lPonteiroProcesso = 1;
      reg.lPonteiroOperacaoProducao = relato.operacao;
      reg.vQuantidadeApontada.int64 = 4 * kUm;
      reg.cTipoProducao = 1;
      reg.cTipoItem = 1;
      reg.usDataApontamentoInicio = reg.usDataApontamentoFim = DiaFixado();
      reg.usHoraApontamentoInicio = 8 * 60;
      reg.usHoraApontamentoFim = 9 * 60;
      uint32_t chave = 0;
      if (hr == S_OK) hr = op.GravaApontamento(reg, &chave, 0);
      relato.hrApontamento = hr;
    } else {
      Espera(relato.apontadorTemMarca);
      relato.cancelamentoComecou = true;
      const uint32_t chave = relato.chaveOP;
      if (hr == S_OK) hr = op.Cancela(1, &chave, 1);
      relato.hrCancela = hr;
    }
    op.Finaliza();
  }
  CoUninitialize();
  _exit(0);
}

class CancelamentoDoisProcessos : public EmpresaCadastros {};

TEST_F(CancelamentoDoisProcessos, ACancellationWaitsForAReportOfTheOrderAndThenFindsItStarted) {
  // Set up on disk only: the parent starts no server or COM thread before the children exist.
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 5, 2024), Dia(31, 5, 2024), {}}), S_OK);
  std::string tipo(256, '\0');
  tipo.replace(32, 4, "TOP1");
  tipo.replace(42, 5, "Corte");
  tipo[218] = 1;
  empresa_.Escreve("PPTOPCAB.DAT", std::string(256, '\0') + tipo);
  empresa_.Escreve("PPTOPUSU.DAT", std::string(16, '\0'));
  RegistraDiretorioModulo(empresa_.GetInstalacao(), "ES");
  ServidorEstoque estoque;
  ASSERT_EQ(estoque.Registra(), S_OK);
  RegistraServidor();

  Partilhado<RelatoDoisProcessos> relato;
  const pid_t preparo[] = {fork()};
  ASSERT_GE(preparo[0], 0);
  if (preparo[0] == 0) PreparaNoFilho(*relato);
  ASSERT_NO_FATAL_FAILURE(EsperaFilhos(preparo, std::chrono::minutes(5)));
  ASSERT_EQ(relato->hrPreparo.load(), S_OK);

  pid_t filhos[2];
  for (int indice = 0; indice < 2; ++indice) {
    filhos[indice] = fork();
    ASSERT_GE(filhos[indice], 0);
    if (filhos[indice] == 0) ConcorreNoFilho(indice == 0, empresa_.Diretorio(), *relato);
  }
  ASSERT_NO_FATAL_FAILURE(EsperaFilhos(filhos, std::chrono::minutes(5)));
  EXPECT_EQ(relato->hrApontamento.load(), S_OK);
  EXPECT_EQ(relato->hrCancela.load(), Erro(1594)) << "it read the order only once the report was in";
  const std::string ordens = empresa_.Le(MesOP::Nome("PPOP", kMes));
  ASSERT_GE(ordens.size(), 2u * kOP);
  EXPECT_EQ(U8De(ordens.substr(kOP * QVGetNumeroDaChave(relato->chaveOP), kOP), 170), kSituacaoIniciada);
}

}  // namespace
