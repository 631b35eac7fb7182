// GravaOP over a company: every refusal with its code, where a save files an order and how a
// rewrite keeps its month, its processes and its production, one saved order byte by byte from the
// layouts, the history lines, the integration of the items with the sales orders and the
// requirements, the automatic requirement of an input short of stock, the servers that cannot be
// had, and two processes saving orders of one type at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <numeric>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/RequisicaoInternaDF.h"
#include "platform/family/comum/TabelaFamilia.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/family/vendas/PedidoFT.h"
#include "platform/family/vendas/ServidorVendas.h"
#include "server/cadastros/PPCosturasCadastros.h"
#include "tests/crash/Queda.h"
#include "tests/server/op/EmpresaOPFamilia.h"
#include "tests/support/EsperaFilhos.h"
#include "tests/support/VersoesAntigasCadastros.h"

// Gives the company a directory of one of the family's modules (tests/support/VersoesAntigasOP.h,
// whose other declarations clash with PeriodosOP.h).
void RegistraDiretorioModulo(const Instalacao& instalacao, const char* modulo);

namespace {

using VersoesAntigasCadastros::Bytes;

using TesteOP::Chave;
using TesteOP::Erro;
using TesteOP::kMes;
using TesteOP::Q;
using TesteOP::QDe;
using TesteOP::U16;
using TesteOP::U32;
using TesteOP::U32De;

constexpr HRESULT kRecusa = static_cast<HRESULT>(0x80040777);

// A quantity of 64 bits at an offset of a record being written.
Bytes& Q(Bytes& bytes, size_t deslocamento, int64_t valor) {
  const auto bruto = static_cast<uint64_t>(valor);
  return bytes.U32(deslocamento, static_cast<uint32_t>(bruto))
      .U32(deslocamento + 4, static_cast<uint32_t>(bruto >> 32));
}

// The record lengths of the files a save writes.
constexpr uint32_t kOP = 256, kIT = 90, kPR = 128, kMT = 128, kRP = 64, kIP = 16, kPE = 64, kAS = 128, kNC = 128;

template <size_t N>
void Texto(char (&campo)[N], const std::string& texto) {
  std::memset(campo, 0, N);
  std::strncpy(campo, texto.c_str(), N - 1);
}

// A variable-record text as the file holds it: its 16-bit length, then its bytes.
std::string TextoDyn(const std::string& texto) { return U16(static_cast<uint16_t>(texto.size())) + texto; }

// The company with the family's stand-ins, and helpers over the month's files.
class GravaOP : public EmpresaOPFamilia {
 protected:
  HRESULT Grava(OPTeste& op, uint32_t chave, uint32_t* saida) {
    *saida = 0;
    return op_.GravaOP(chave, op.Registro(), saida, 1);
  }
  // An order of one complement item of `programada` units and one process that receives reports.
  OPTeste Simples(int64_t programada = 10) const {
    return NovaOP({{processos_[0], true}}, {{kProdutoFabricado, ::Quantidade(programada)}});
  }

  // The integration of the branch with the sales orders, read again by the handler.
  void IntegraPedidos() {
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = 1;
    ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  }
  void DefineSaldo(uint32_t produto, int64_t quantidade) {
    SaldoInicialES saldo{};
    saldo.regChave.regPosicaoProduto.lPonteiroProduto = produto;
    saldo.regChave.iPonteiroFilial = kFilial;
    saldo.regChave.iPonteiroLocalArmazenagem = 1;
    saldo.vQuantidade.int64 = ::Quantidade(quantidade).int64;
    ASSERT_EQ(GravaSaldosIniciaisES(Instalacao::kEmpresa, {saldo}), S_OK);
  }
  // The programmed quantity of item `indice` of a sales order, as the sales stand-in holds it.
  int64_t ProgramadaPedido(uint32_t pedido, uint16_t indice) {
    TabelaFamilia tabela(empresa_.GetInstalacao().dir().windows_path() + "empresas\\TESTE\\FT\\ITENSPED.DAT",
                         sizeof(ItemPedidoFT));
    TabelaFamilia::Registros registros;
    EXPECT_EQ(tabela.Le(registros), S_OK);
    for (const TabelaFamilia::Registro& bytes : registros) {
      ItemPedidoFT item;
      std::memcpy(static_cast<void*>(&item), bytes.data(), sizeof item);
      if (item.ulChave == pedido && item.usIndice == indice) return item.regItem.vQuantidadeProgramada.int64;
    }
    ADD_FAILURE() << "no item " << indice << " of sales order " << pedido;
    return -1;
  }
};

// ---------------------------------------------------------------------------------------------------
// Refusals

TEST_F(GravaOP, EachRefusalAnswersItsCode) {
  // A stored order whose header (or item) another writer changed, then rewritten as it was read.
  auto regravada = [&](uint32_t tamanho, const char* prefixo, size_t deslocamento, const std::string& bytes,
                       const std::function<void(OPTeste&)>& muda = nullptr) {
    OPTeste op = Simples();
    const uint32_t chave = GravaNova(op);
    const uint32_t registro =
        std::string(prefixo) == "PPOP" ? chave >> 12 : U32De(Registro("PPOP", kOP, chave >> 12), 64);
    Altera(prefixo, tamanho, registro, deslocamento, bytes);
    if (muda) muda(op);
    uint32_t saida = 0;
    return Grava(op, chave, &saida);
  };
  auto nova = [&](const std::function<void(OPTeste&)>& muda) {
    OPTeste op = Simples();
    muda(op);
    uint32_t saida = 0;
    return Grava(op, 0, &saida);
  };
  auto comSituacao = [&](uint8_t situacao) { return regravada(kOP, "PPOP", 170, std::string(1, situacao)); };
  auto programada = [](int64_t quantidade) {
    return [quantidade](OPTeste& op) { op.itens[0].vQuantidadeProgramada.int64 = ::Quantidade(quantidade).int64; };
  };
  // A stored input whose requirement holds these first four quantities, then a new programme.
  auto necessidadeDoInsumo = [&](int64_t solicitada, int64_t programada, int64_t produzida, int64_t cancelada) {
    OPTeste op = NovaOP({{processos_[0], true, {{kProdutoTerceiros, ::Quantidade(1), ::Quantidade(10)}}}},
                        {{kProdutoFabricado, ::Quantidade(10)}});
    const uint32_t chave = GravaNova(op);
    Bytes necessidade(kNC);
    Q(necessidade, 0, solicitada);
    Q(necessidade, 8, programada);
    Q(necessidade, 16, produzida);
    Q(necessidade, 24, cancelada);
    Q(necessidade, 32, 10000);  // scrap, which does not count
    const uint32_t registro = Anexa("PPNC", kNC, necessidade.str());
    const uint32_t processo = U32De(Registro("PPOP", kOP, chave >> 12), 60);
    Altera("PPMT", kMT, U32De(Registro("PPPR", kPR, processo), 48), 52, U32(registro));
    op.itens[0].vQuantidadeProgramada.int64 = ::Quantidade(12).int64;
    uint32_t saida = 0;
    return Grava(op, chave, &saida);
  };

  std::vector<RequisicaoInternaDF> requisicoes(1);
  requisicoes[0].regRequisicao.ulChave = 5;
  ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);

  struct Caso {
    const char* caso;
    std::function<HRESULT()> grava;
    HRESULT esperado;
  };
  const Caso casos[] = {
      {"before Inicializa",
       [&] {
         CPPServidorOP novo;
         OPTeste op = Simples();
         uint32_t saida = 0;
         return novo.GravaOP(0, op.Registro(), &saida, 1);
       },
       Erro(1585)},
      {"removed order", [&] { return regravada(kOP, "PPOP", 171, "\x01"); }, Erro(1586)},
      {"limited order of two items",
       [&] {
         return nova([](OPTeste& op) {
           op.cabecalho.cPossuiItemQtdLimitada = 1;
           op.itens.push_back(op.itens[0]);
         });
       },
       Erro(1589)},
      {"limited complement item that replicates nothing",
       [&] {
         return nova([](OPTeste& op) {
           op.cabecalho.cPossuiItemQtdLimitada = 1;
           op.itens[0].cGerouOPQtdLimitada = 1;
         });
       },
       Erro(1589)},
      {"replicated beyond balance and programme",
       [&] {
         return nova([](OPTeste& op) {
           op.cabecalho.cPossuiItemQtdLimitada = 1;
           op.itens[0].vQuantidadeReplicada.int64 = ::Quantidade(20, 1).int64;  // 10 + 10 at most
         });
       },
       Erro(1589)},
      {"stored text beyond its file",
       [&] {
         return regravada(kOP, "PPOP", 4, U32(0x00FFFFF0), [](OPTeste& op) { Texto(op.cabecalho.szInfExtra1, "B"); });
       },
       Erro(1590)},
      {"concluded with loss", [&] { return comSituacao(49); }, Erro(1592)},
      {"concluded", [&] { return comSituacao(50); }, Erro(1592)},
      {"interrupted", [&] { return comSituacao(62); }, Erro(1592)},
      {"cancelled", [&] { return comSituacao(99); }, Erro(1592)},
      {"item with production left out",
       [&] {
         return regravada(kIT, "PPIT", 8, Q(::Quantidade(5).int64),
                          [](OPTeste& op) { op.itens[0].usIdxItemPedido = 9; });
       },
       Erro(1595)},
      // 10 programmed, 5 produced, 3 lost, 3 cancelled: 10 - 5 - (3 - 3) would let it pass.
      {"item whose production and losses exceed its programme",
       [&] {
         OPTeste op = Simples();
         const uint32_t chave = GravaNova(op);
         Altera("PPOP", kOP, chave >> 12, 170, "\x02");
         const uint32_t item = U32De(Registro("PPOP", kOP, chave >> 12), 64);
         Altera("PPIT", kIT, item, 8, Q(50000) + Q(30000) + Q(30000));
         op.itens[0].vQuantidadeCancelada.int64 = ::Quantidade(3).int64;
         uint32_t saida = 0;
         return Grava(op, chave, &saida);
       },
       Erro(1595)},
      {"emitted outside the open period",
       [&] { return nova([](OPTeste& op) { op.cabecalho.usDataEmissao = Dia(1, 6, 2024); }); }, Erro(1649)},
      {"started order with another programme", [&] { return regravada(kOP, "PPOP", 170, "\x02", programada(12)); },
       Erro(1708)},
      {"requirement of an input requested", [&] { return necessidadeDoInsumo(1, 0, 0, 0); }, Erro(1708)},
      {"requirement of an input programmed", [&] { return necessidadeDoInsumo(0, 1, 0, 0); }, Erro(1708)},
      {"requirement of an input produced", [&] { return necessidadeDoInsumo(0, 0, 1, 0); }, Erro(1708)},
      {"requirement of an input cancelled", [&] { return necessidadeDoInsumo(0, 0, 0, 1); }, Erro(1708)},
      {"requirement of an input with only scrap", [&] { return necessidadeDoInsumo(0, 0, 0, 0); }, S_OK},
      {"requisition that cannot be cancelled",
       [&] {
         base_.RequisicaoInterna.FalhaMetodo("Grava", 1, kRecusa);
         return regravada(kOP, "PPOP", 40, U32(5), programada(12));
       },
       Erro(1734)},
  };
  for (const Caso& caso : casos) EXPECT_EQ(caso.grava(), caso.esperado) << caso.caso;
}

TEST_F(GravaOP, ANewProgrammeCancelsTheRequisitionOfTheOldOne) {
  std::vector<RequisicaoInternaDF> requisicoes(1);
  requisicoes[0].regRequisicao.ulChave = 5;
  ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
  OPTeste op = Simples();
  const uint32_t chave = GravaNova(op);
  Altera("PPOP", kOP, chave >> 12, 40, U32(5));
  op.itens[0].vQuantidadeProgramada.int64 = ::Quantidade(12).int64;
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);

  EXPECT_EQ(U32De(Registro("PPOP", kOP, chave >> 12), 40), 0u);
  ASSERT_EQ(LeRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
  ASSERT_EQ(requisicoes.size(), 1u);
  EXPECT_EQ(requisicoes[0].regRequisicao.cStatusPrincipal, 3);
}

// ---------------------------------------------------------------------------------------------------
// Where a save files an order

TEST_F(GravaOP, AnOrderWithoutDateIsFiledInTheClockMonthAndNumberedByItsType) {
  for (uint32_t n = 1; n <= 2; ++n) {
    OPTeste op = Simples();
    op.cabecalho.usDataEmissao = 0;
    uint32_t chave = 0;
    ASSERT_EQ(Grava(op, 0, &chave), S_OK);
    EXPECT_EQ(chave, Chave(n));
    const std::string cabecalho = Registro("PPOP", kOP, n);
    EXPECT_EQ(U32De(cabecalho, 0), n) << "the order type's next number";
    EXPECT_EQ(cabecalho.substr(126, 2), U16(DiaFixado()));
  }
}

TEST_F(GravaOP, ARewriteWritesTheMonthOfItsKey) {
  OPTeste op = Simples();
  const uint32_t chave = GravaNova(op);
  op.cabecalho.usDataEmissao = Dia(20, 4, 2024);
  Texto(op.cabecalho.szObservacao, "REVISTA");
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  EXPECT_EQ(saida, chave);
  EXPECT_EQ(QuantidadeRegistros("PPOP", kOP), 1u);
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPOP", kMes - 1)));
  EXPECT_EQ(Registro("PPOP", kOP, 1).substr(126, 2), U16(DiaFixado())) << "the stored emission date";
}

// The process handler's filter by order asks the orders' seam, which reads through this handler.
TEST_F(GravaOP, TheMasterDataSeamReadsTheProcessesOfASavedOrderInItsOrder) {
  OPTeste op = NovaOP({{processos_[1], false}, {processos_[0], true}}, {{kProdutoFabricado, ::Quantidade(5)}});
  const uint32_t chave = GravaNova(op);
  std::vector<PPProcessoOP> processos;
  ASSERT_EQ(PPGetCosturasCadastros().pLeProcessosOP(Sessao(), chave, &processos), S_OK);
  ASSERT_EQ(processos.size(), 2u);
  EXPECT_EQ(processos[0].lPonteiroProcesso, processos_[1]);
  EXPECT_EQ(processos[0].cRecebeApontamento, 0);
  EXPECT_EQ(processos[1].lPonteiroProcesso, processos_[0]);
  EXPECT_EQ(processos[1].cRecebeApontamento, 1);
}

TEST_F(GravaOP, ASecondSaveAppendsANewRunOfItemsAndLeavesTheOldOne) {
  OPTeste op =
      NovaOP({{processos_[0], true}}, {{kProdutoFabricado, ::Quantidade(4)}, {kProdutoFabricado, ::Quantidade(6)}});
  const uint32_t chave = GravaNova(op);
  EXPECT_EQ(Registro("PPOP", kOP, 1).substr(64, 4), U32(1));
  const std::string primeiros = Arquivo("PPIT").substr(kIT, 2 * kIT);
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  EXPECT_EQ(Registro("PPOP", kOP, 1).substr(64, 4), U32(3));
  EXPECT_EQ(Registro("PPOP", kOP, 1).substr(110, 2), U16(2));
  EXPECT_EQ(QuantidadeRegistros("PPIT", kIT), 4u);
  EXPECT_EQ(Arquivo("PPIT").substr(kIT, 2 * kIT), primeiros);
  EXPECT_EQ(QuantidadeRegistros("PPPR", kPR), 1u) << "the processes are kept in place";
}

TEST_F(GravaOP, AStartedOrderTakesNewTextsButNotANewProgramme) {
  OPTeste op = Simples();
  const uint32_t chave = GravaNova(op);
  // Started: its process is in production, so the save's situation refresh keeps it in 2.
  Altera("PPOP", kOP, 1, 170, "\x02");
  Altera("PPPR", kPR, 1, 95, "\x03");
  Texto(op.cabecalho.szObservacao, "NOVA OBSERVACAO");
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  const uint32_t texto = U32De(Registro("PPOP", kOP, 1), 24);
  EXPECT_EQ(Arquivo("PPIE").substr(texto, 17), TextoDyn("NOVA OBSERVACAO"));

  op.itens[0].vQuantidadeProgramada.int64 = ::Quantidade(11).int64;
  EXPECT_EQ(Grava(op, chave, &saida), Erro(1708));
}

TEST_F(GravaOP, AKeptProcessTakesNewInputsAndResourcesAndItsLabelsFollowTheTotal) {
  OPTeste op = NovaOP({{processos_[0], true, {{kProdutoTerceiros, ::Quantidade(1)}}, {recurso_}, {{0, 3}}}},
                      {{kProdutoFabricado, ::Quantidade(10)}});
  const uint32_t chave = GravaNova(op);
  EXPECT_EQ(U32De(Registro("PPPE", kPE, 1), 8), 30u);
  op.itens[0].vQuantidadeProgramada.int64 = ::Quantidade(12).int64;
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);

  EXPECT_EQ(QuantidadeRegistros("PPPR", kPR), 1u);
  const std::string processo = Registro("PPPR", kPR, 1);
  EXPECT_EQ(U32De(processo, 48), 2u) << "the inputs anew";
  EXPECT_EQ(QDe(Registro("PPMT", kMT, 2), 8), 120000) << "for the new total";
  EXPECT_EQ(U32De(processo, 56), 2u) << "the resources anew";
  EXPECT_EQ(U32De(processo, 60), 1u) << "the labels in place";
  EXPECT_EQ(QuantidadeRegistros("PPPE", kPE), 1u);
  EXPECT_EQ(U32De(Registro("PPPE", kPE, 1), 8), 36u);
  EXPECT_EQ(Grava(op, Chave(1, kMes + 1), &saida), Erro(16021)) << "a month without orders";
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPOP", kMes + 1)));
}

// ---------------------------------------------------------------------------------------------------
// One order byte by byte

TEST_F(GravaOP, OneSavedOrderByteByByte) {
  DefineMestre([](PPRegistroMestre& mestre) {
    mestre.cTipoPerdaInsumo = 1;
    mestre.cCustearSoProcessoApontado = 1;
  });
  std::vector<_REG_MENSAGEMPS> mensagens(1);
  std::memset(&mensagens[0], 0, sizeof mensagens[0]);
  std::strcpy(reinterpret_cast<char*>(mensagens[0].cReservado0), "MENSAGEM DA OP");
  ASSERT_EQ(GravaMensagensDF(Instalacao::kEmpresa, mensagens), S_OK);

  OPTeste op =
      NovaOP({{processos_[0], true, {{kProdutoTerceiros}}, {recurso_}, {{999, 3, "ETIQUETA DA OP"}}, {"FOTO.JPG"}}},
             {{kProdutoFabricado, ::Quantidade(10)}});
  _REG_VARMO_OPPS& c = op.cabecalho;
  c.regPosicaoProdutoServico = {kProdutoFabricado, 11, 12, 13};
  c.lPonteiroFluxoProcesso = 3;
  c.lPonteiroContaContabil = 99;  // the type's account replaces it
  c.lPonteiroForEPTETPE = 6;
  c.lPonteiroOPGeradora = 8;
  c.lPonteiroColecao = 5;
  c.usPonteiroUsuarioEmissao = 3;  // the session's user replaces it
  c.usPonteiroMensagem = 1;
  c.usHoraPrevisaoInicio = 420;
  c.usHoraPrevisaoConclusao = 1020;
  c.cIndustrializacaoParaETPE = 1;
  c.cFazEntradaDepoisNoES = 1;  // the type's replaces it
  Texto(c.szInfExtra1, "INF1");
  Texto(c.szObservacao, "OBS");
  Texto(c.szNumeroLote, "LOTE7");

  _REG_VARMO_OP_PROCESSOPS& p = op.processos[0];
  p.v8CustoIndireto.int64 = 101;
  p.v8CustoDireto.int64 = 102;
  p.v8CustoTerceirizacao.int64 = 103;
  p.v8TempoPadraoMinPorUnidade.int64 = 104;
  p.vCapacidadeProdutiva.int64 = ::Quantidade(60).int64;
  p.usPercentualQuebra = 500;
  p.cApontarPesoBruto = 1;
  p.cCustoPorApontamento = 1;
  p.cSituacao = 3;  // a new process starts in 1
  Texto(p.szDetalhe, "DETALHE");

  _REG_VARMO_OP_PROCESSO_INSUMOPS& i = op.insumos[0][0];
  i.regPosicaoProduto = {kProdutoTerceiros, 21, 22, 23};
  i.vQuantidadeUnitaria.int64 = 3333;  // x 10 = 3.333, kept to 2 decimals: 3.33
  i.vQuantUnitariaComQuebra.int64 = 3456;
  i.vQuantidadeTotal.int64 = i.vQuantTotalComQuebra.int64 = ::Quantidade(77).int64;  // recomputed
  i.v8ValorUnitario.int64 = 123;
  i.lPonteiroNecessidade = 9;  // only an automatic requirement sets it
  i.lPonteiroLote = 41;
  i.lPonteiroForLote = 42;
  i.lPonteiroForEPTETPE = 43;
  i.lPonteiroCliEPTETPE = 44;
  i.lPonteiroVolumeES = 45;
  i.usPonteiroLocalEstocagem = 1;
  i.usPercentualQuebra = 1000;
  i.cPermiteAlterar = 1;
  i.cTipoProducao = 1;

  _REG_PP_OP_RECURSOPS& r = op.recursos[0][0];
  r.vCapacidade.int64 = ::Quantidade(60).int64;
  r.vSetup.int64 = ::Quantidade(1, 5000).int64;
  r.v8Custo.int64 = 77;
  r.vPercEficiencia.int64 = ::Quantidade(90).int64;
  r.cDesconsiderarTempos = 1;
  r.cCustoTempoPorUnidade = 3;
  r.cTipoCusto = 4;
  r.cTipo = 2;

  _REG_PP_OP_PROCESSO_ETIQUETAPS& e = op.etiquetas[0][0];
  e.ulQuantidadeEmitida = 5;  // none issued yet
  Texto(e.szLeiaute, "ETQ.LAY");

  _REG_VARMO_OP_APONTAMENTO simples{};
  simples.vQuantidadeApontada.int64 = ::Quantidade(4).int64;
  simples.vQuantidadeBruta.int64 = ::Quantidade(5).int64;
  simples.vQuantidadeTara.int64 = ::Quantidade(1).int64;
  simples.lPonteiroOperacaoProducao = operacao_;
  simples.usDataApontamentoInicio = static_cast<uint16_t>(DiaFixado() - 1);
  simples.usHoraApontamentoInicio = 480;
  simples.usDataApontamentoFim = DiaFixado();
  simples.usHoraApontamentoFim = 540;
  simples.cTipoOperacao = 9;  // the operation's kind replaces it
  simples.cTipoProducao = 1;
  Texto(simples.szComentario, "COMENTARIO");
  p.usQuantidadeApontamentosSimples = 1;
  p.pregApontamentosSimples = &simples;

  op.itens[0].regPosicaoProdutoServico = {kProdutoFabricado, 11, 12, 13};
  op.itens[0].vQuantidadeReplicada.int64 = ::Quantidade(12).int64;
  op.itens[0].ulChaveOPReprocessada = 31;
  op.itens[0].ulChaveApontamentoOPOrigem = 32;
  op.itens[0].usIdxItemPedido = 4;

  ASSERT_EQ(GravaNova(op), Chave(1));

  // Texts in the order of the save: the header's, then the process's detail, its label's layout
  // and its simple report's comment; the image's name in its own file.
  EXPECT_EQ(Arquivo("PPIE"), "QV" + TextoDyn("INF1") + TextoDyn("OBS") + TextoDyn("LOTE7") +
                                 TextoDyn("MENSAGEM DA OP") + TextoDyn("DETALHE") + TextoDyn("ETQ.LAY") +
                                 TextoDyn("COMENTARIO"));
  EXPECT_EQ(Arquivo("PPIN"), "QV" + TextoDyn("FOTO.JPG"));

  Bytes cabecalho(kOP);
  cabecalho.U32(0, 1).U32(4, 2).U32(24, 8).U32(28, 20).U32(44, static_cast<uint32_t>(tipoOP_)).U32(48, 3);
  cabecalho.U32(52, kProdutoFabricado).U32(60, 1).U32(64, 1).U32(68, 6).U32(72, 8).U32(76, 5).U32(80, 13);
  cabecalho.U16(108, 1).U16(110, 1).U16(112, kUsuarioTeste).U16(114, kUsuarioTeste).U16(116, kFilial);
  cabecalho.U16(118, 11).U16(120, 12).U16(122, 13).U16(124, 1);
  cabecalho.U16(126, DiaFixado()).U16(128, 600).U16(130, DiaFixado()).U16(132, 420);
  cabecalho.U16(138, static_cast<uint16_t>(DiaFixado() + 5)).U16(140, 1020);
  cabecalho.U8(170, 1).U8(172, 2).U8(173, 1).U8(176, 1).U8(177, 1).U8(179, 1).U8(182, 'P');
  EXPECT_EQ(Registro("PPOP", kOP, 1), cabecalho.str());

  Bytes item(kIT);
  Q(item, 0, 100000).U32(32, 0).U32(36, kProdutoFabricado).U32(40, 31).U32(44, 32);
  item.U16(48, 11).U16(50, 12).U16(52, 13).U16(54, 4).U8(56, 1).U8(62, 'P');
  Q(item, 82, 120000);
  EXPECT_EQ(Registro("PPIT", kIT, 1), item.str());

  Bytes processo(kPR);
  Q(processo, 0, 101);
  Q(processo, 8, 102);
  Q(processo, 16, 103);
  Q(processo, 24, 104);
  Q(processo, 32, 600000);
  processo.U32(40, 36).U32(44, static_cast<uint32_t>(processos_[0])).U32(48, 1).U32(52, 1).U32(56, 1).U32(60, 1);
  processo.U32(64, 1).U16(72, 1).U16(74, 1).U16(76, 1).U16(78, 1).U16(80, 1);
  processo.U16(84, static_cast<uint16_t>(DiaFixado() - 1)).U16(86, 480).U16(88, DiaFixado()).U16(90, 540);
  processo.U16(92, 500).U8(94, 1).U8(95, 1).U8(96, 1).U8(98, 1);
  EXPECT_EQ(Registro("PPPR", kPR, 1), processo.str());

  Bytes insumo(kMT);
  Q(insumo, 0, 3333);
  Q(insumo, 8, 33300);
  Q(insumo, 16, 3456);
  Q(insumo, 24, 34600);
  Q(insumo, 32, 123);
  insumo.U32(48, kProdutoTerceiros).U32(56, 41).U32(60, 42).U32(64, 43).U32(68, 44);
  insumo.U16(76, 21).U16(78, 22).U16(80, 23).U16(82, 1).U16(84, 1000);
  insumo.U8(94, 1).U8(97, 2).U8(98, 1).U32(124, 45);
  EXPECT_EQ(Registro("PPMT", kMT, 1), insumo.str());

  Bytes recurso(kRP);
  Q(recurso, 0, 600000);
  Q(recurso, 8, 15000);
  Q(recurso, 16, 77);
  Q(recurso, 24, 900000);
  recurso.U32(32, static_cast<uint32_t>(recurso_)).U8(36, 1).U8(37, 2).U8(38, 3).U8(39, 4);
  EXPECT_EQ(Registro("PPRP", kRP, 1), recurso.str());

  EXPECT_EQ(Registro("PPIP", kIP, 1), Bytes(kIP).U32(0, 2).str());

  Bytes etiqueta(kPE);
  etiqueta.U32(0, 45).U32(4, 0).U32(8, 30).U16(12, 3).Texto(14, 50, "ETIQUETA DA OP");
  EXPECT_EQ(Registro("PPPE", kPE, 1), etiqueta.str());

  Bytes apontamento(kAS);
  Q(apontamento, 0, 40000);
  Q(apontamento, 8, 50000);
  Q(apontamento, 16, 10000);
  apontamento.U32(32, 54).U32(36, static_cast<uint32_t>(operacao_));
  apontamento.U16(60, static_cast<uint16_t>(DiaFixado() - 1)).U16(62, 480).U16(64, DiaFixado()).U16(66, 540);
  apontamento.U16(68, DiaFixado()).U16(70, 600).U16(72, kUsuarioTeste).U8(84, 0).U8(85, 1);
  EXPECT_EQ(Registro("PPAS", kAS, 1), apontamento.str());
}

TEST_F(GravaOP, EachSaveWritesAHistoryLine) {
  const size_t antes = Linhas().size();
  OPTeste op = Simples();
  const uint32_t chave = GravaNova(op);
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  OPTeste servico = Simples();
  servico.cabecalho.cTipoProdutoServico = 'S';
  servico.cabecalho.regPosicaoProdutoServico = {4, 1, 2, 3};
  servico.cabecalho.lPonteiroColecao = 6;
  servico.cabecalho.lPonteiroFluxoProcesso = 2;
  GravaNova(servico);

  const std::string tipo = std::to_string(tipoOP_);
  const std::vector<LinhaCadastro> linhas = Linhas();
  ASSERT_EQ(linhas.size(), antes + 3);
  EXPECT_EQ(
      std::vector<LinhaCadastro>(linhas.begin() + static_cast<std::ptrdiff_t>(antes), linhas.end()),
      (std::vector<LinhaCadastro>{
          {'I', "OP: 0524-000001 - Filial: 1 - Projeto: 0 - Produto: 1-0-0-0 - Tipo OP: " + tipo + " - Fluxo: 0"},
          {'A', "OP: 0524-000001 - Filial: 1 - Projeto: 0 - Produto: 1-0-0-0 - Tipo OP: " + tipo + " - Fluxo: 0"},
          {'I', "OP: 0524-000002 - Filial: 1 - Projeto: 6 - Servi\xe7o: 4-1-2-3 - Tipo OP: " + tipo + " - Fluxo: 2"}}));
}

// ---------------------------------------------------------------------------------------------------
// Integration of the items

TEST_F(GravaOP, SalesOrdersProgrammedQuantitiesFollowSavesAndRewrites) {
  constexpr uint32_t kPedido = 77;
  PedidoSemeadoFT pedido;
  pedido.ulChave = kPedido;
  pedido.regPedido.iPonteiroFilial = kFilial;
  pedido.itens.resize(2);
  for (auto& item : pedido.itens) item.regItem.vQuantidade.int64 = ::Quantidade(100).int64;
  ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {pedido}), S_OK);

  OPTeste op = NovaOP({{processos_[0], true}}, {{kProdutoFabricado, ::Quantidade(30), 3, kPedido, 1}});
  GravaNova(op);
  EXPECT_EQ(ProgramadaPedido(kPedido, 1), 0) << "the branch does not integrate sales orders";

  IntegraPedidos();
  const uint32_t chave = GravaNova(op);
  EXPECT_EQ(ProgramadaPedido(kPedido, 1), 300000);
  EXPECT_EQ(ProgramadaPedido(kPedido, 0), 0);
  const uint32_t item = U32De(Registro("PPOP", kOP, chave >> 12), 64);
  EXPECT_EQ(Registro("PPIT", kIT, item).substr(57, 1), "\x01") << "integrated";

  op.itens[0].vQuantidadeProgramada.int64 = ::Quantidade(20).int64;
  op.itens[0].vQuantidadeCancelada.int64 = ::Quantidade(2).int64;
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  EXPECT_EQ(ProgramadaPedido(kPedido, 1), 180000) << "20 programmed less 2 cancelled";
}

TEST_F(GravaOP, RequirementsTakeTheDifferencesAndCancelledOnesKeepWhatIsGivenBack) {
  // Order 1, cancelled, generated the third requirement.
  OPTeste outra = Simples();
  ASSERT_EQ(GravaNova(outra), Chave(1));
  Altera("PPOP", kOP, 1, 170, "\x63");
  auto necessidade = [](uint16_t usCancelamento, uint32_t ordem) {
    Bytes bytes(kNC);
    Q(bytes, 0, 100000);
    bytes.U32(40, ordem).U32(44, kProdutoFabricado).U16(74, kFilial).U16(80, DiaFixado()).U16(82, usCancelamento);
    return bytes.str();
  };
  const uint32_t livre = Anexa("PPNC", kNC, necessidade(0, 0));
  const uint32_t cancelada = Anexa("PPNC", kNC, necessidade(DiaFixado(), 0));
  const uint32_t daCancelada = Anexa("PPNC", kNC, necessidade(0, 1));

  OPTeste op = NovaOP({{processos_[0], true}}, {{kProdutoFabricado, ::Quantidade(5), 2, Chave(livre)},
                                                {kProdutoFabricado, ::Quantidade(5), 2, Chave(cancelada)},
                                                {kProdutoFabricado, ::Quantidade(5), 2, Chave(daCancelada)}});
  const uint32_t chave = GravaNova(op);
  for (uint32_t registro : {livre, cancelada, daCancelada}) {
    EXPECT_EQ(QDe(Registro("PPNC", kNC, registro), 8), 50000) << registro;
    EXPECT_EQ(QDe(Registro("PPNC", kNC, registro), 24), 0) << registro;
  }

  for (auto& item : op.itens) item.vQuantidadeProgramada.int64 = ::Quantidade(3).int64;
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  EXPECT_EQ(QDe(Registro("PPNC", kNC, livre), 8), 30000);
  EXPECT_EQ(QDe(Registro("PPNC", kNC, livre), 24), 0) << "it may be asked for again";
  EXPECT_EQ(QDe(Registro("PPNC", kNC, cancelada), 8), 30000);
  EXPECT_EQ(QDe(Registro("PPNC", kNC, cancelada), 24), 20000) << "cancelled by hand";
  EXPECT_EQ(QDe(Registro("PPNC", kNC, daCancelada), 8), 30000);
  EXPECT_EQ(QDe(Registro("PPNC", kNC, daCancelada), 24), 20000) << "its order is cancelled";
  const uint32_t primeiro = U32De(Registro("PPOP", kOP, chave >> 12), 64);
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(Registro("PPIT", kIT, primeiro + i).substr(57, 1), "\x01") << i;
}

// ---------------------------------------------------------------------------------------------------
// Automatic requirements of inputs

TEST_F(GravaOP, AnInputShortOfStockGetsALinkedRequirementOfTheShortfall) {
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cGerarNecessidadeAutomatica = 1; });
  struct Caso {
    int64_t saldo;
    int64_t falta;  // 0: no requirement
  };
  for (const Caso caso : {Caso{3, 7}, Caso{-2, 10}, Caso{15, 0}}) {
    DefineSaldo(kProdutoInsumo, caso.saldo);
    const uint32_t antes = empresa_.Existe(MesOP::Nome("PPNC", kMes)) ? QuantidadeRegistros("PPNC", kNC) : 0;
    OPTeste op = NovaOP({{processos_[0],
                          true,
                          {{kProdutoInsumo, ::Quantidade(1), ::Quantidade(10)},
                           {kProdutoTerceiros, ::Quantidade(1), ::Quantidade(10)}}}},
                        {{kProdutoFabricado, ::Quantidade(10)}});
    const uint32_t chave = GravaNova(op);
    const uint32_t primeiroInsumo = U32De(Registro("PPPR", kPR, U32De(Registro("PPOP", kOP, chave >> 12), 60)), 48);
    const std::string terceiros = Registro("PPMT", kMT, primeiroInsumo + 1);
    EXPECT_EQ(terceiros.substr(52, 4), U32(0)) << "a third party's product gets none";
    const std::string insumo = Registro("PPMT", kMT, primeiroInsumo);
    if (caso.falta == 0) {
      EXPECT_EQ(insumo.substr(52, 4), U32(0)) << caso.saldo;
      EXPECT_EQ(QuantidadeRegistros("PPNC", kNC), antes) << caso.saldo;
      continue;
    }
    ASSERT_EQ(QuantidadeRegistros("PPNC", kNC), antes + 1) << caso.saldo;
    EXPECT_EQ(insumo.substr(52, 4), U32(antes + 1)) << caso.saldo;
    EXPECT_EQ(insumo.substr(95, 1), "\x01") << caso.saldo;
    Bytes necessidade(kNC);
    Q(necessidade, 0, caso.falta * 10000);
    necessidade.U32(40, chave >> 12).U32(44, kProdutoInsumo).U16(74, kFilial).U16(76, kUsuarioTeste);
    necessidade.U16(80, DiaFixado()).U8(94, 1);
    EXPECT_EQ(Registro("PPNC", kNC, antes + 1), necessidade.str()) << caso.saldo;
  }
}

// A rewrite replaces the inputs: the stored input's requirement gives up what it still asked for,
// as a cancellation does, and the new input gets its own.
TEST_F(GravaOP, ARewriteSettlesTheRequirementOfTheReplacedInput) {
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cGerarNecessidadeAutomatica = 1; });
  DefineSaldo(kProdutoInsumo, 3);
  OPTeste op = NovaOP({{processos_[0], true, {{kProdutoInsumo, ::Quantidade(1), ::Quantidade(10)}}}},
                      {{kProdutoFabricado, ::Quantidade(10)}});
  const uint32_t chave = GravaNova(op);
  ASSERT_EQ(QDe(Registro("PPNC", kNC, 1), 0), 70000);
  // 2 programmed and 1 grouped elsewhere: 4 are still asked for.
  Altera("PPNC", kNC, 1, 8, Q(20000));
  Altera("PPNC", kNC, 1, 114, Q(10000));

  // The same programme: the inputs are written anew.
  uint32_t saida = 0;
  ASSERT_EQ(Grava(op, chave, &saida), S_OK);
  const std::string antiga = Registro("PPNC", kNC, 1);
  EXPECT_EQ(QDe(antiga, 24), 40000) << "cancelled: requested - programmed - grouped";
  EXPECT_EQ(antiga.substr(78, 2), U16(kUsuarioTeste));
  EXPECT_EQ(antiga.substr(82, 2), U16(DiaFixado()));
  ASSERT_EQ(QuantidadeRegistros("PPNC", kNC), 2u);
  EXPECT_EQ(QDe(Registro("PPNC", kNC, 2), 0), 70000);
  EXPECT_EQ(U32De(Registro("PPNC", kNC, 2), 40), chave >> 12);
  EXPECT_EQ(Registro("PPMT", kMT, 2).substr(52, 4), U32(2));
  EXPECT_EQ(Registro("PPMT", kMT, 2).substr(95, 1), "\x01");
  EXPECT_EQ(U32De(Registro("PPPR", kPR, 1), 48), 2u);
}

// ---------------------------------------------------------------------------------------------------
// Outside servers that cannot be had

TEST_F(GravaOP, AServerThatCannotBeHadAnswersItsCreationResult) {
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cGerarNecessidadeAutomatica = 1; });
  IntegraPedidos();
  struct Caso {
    const char* servidor;
    ClasseFamilia& classe;
    std::function<void(OPTeste&)> usa;
  };
  const Caso casos[] = {
      {"messages", base_.Mensagem, [](OPTeste& op) { op.cabecalho.usPonteiroMensagem = 1; }},
      {"stock movements", estoque_.Movimento,
       [&](OPTeste& op) {
         op.insumos[0].push_back({});
         op.insumos[0][0].regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
       }},
      {"sales orders", vendas_.Pedido,
       [](OPTeste& op) {
         op.itens[0].cTipoItem = 3;
         op.itens[0].lPonteiroPedidoNecessidade = 77;
       }},
  };
  for (const Caso& caso : casos) {
    caso.classe.FalhaInicializacao(kRecusa);
    OPTeste op = Simples();
    caso.usa(op);
    uint32_t saida = 0;
    EXPECT_EQ(Grava(op, 0, &saida), kRecusa) << caso.servidor;
    caso.classe.FalhaInicializacao(S_OK);
  }
}

// ---------------------------------------------------------------------------------------------------
// Two processes

constexpr int kOrdensPorFilho = 4;

struct OrdensFilhos {
  std::atomic<int> prontos;
  std::atomic<int32_t> erro[2];
  uint32_t chaves[2][kOrdensPorFilho];
};

// A child's run, as the order-type numbering test does it: a clock of its own moved on in real
// time, so that waiting for the other's lock takes real time, and a handler of its own.
[[noreturn]] void GravaNoFilho(int indice, int32_t tipoOP, OrdensFilhos& relato) {
  TestClock relogio(TestClock::SleepMode::kBlocks);
  std::atomic<bool> fim{false};
  std::thread ponteiro([&] {
    while (!fim) {
      relogio.Advance(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  CPPServidorOP op;
  _REG_VARMO_INICIALIZAPS sessao = SessaoTeste();
  sessao.cInicializarCompleto = 1;
  HRESULT hr = op.Inicializa(sessao);
  ++relato.prontos;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (relato.prontos < 2 && std::chrono::steady_clock::now() < limite) std::this_thread::yield();
  _REG_VARMO_OP_ITEMPS item{};
  item.regPosicaoProdutoServico.lPonteiroProduto = 1;
  item.vQuantidadeProgramada.int64 = ::Quantidade(indice + 1).int64;
  item.cTipoItem = 1;
  item.cTipoProdutoServico = 'P';
  _REG_VARMO_OPPS registro{};
  registro.lPonteiroTipoOP = tipoOP;
  registro.regPosicaoProdutoServico.lPonteiroProduto = 1;
  registro.usPonteiroFilial = 1;
  registro.cTipoProdutoServico = 'P';
  registro.usQtdItens = 1;
  registro.pregItens = &item;
  for (int i = 0; hr == S_OK && i < kOrdensPorFilho; ++i) hr = op.GravaOP(0, registro, &relato.chaves[indice][i], 1);
  relato.erro[indice] = hr;
  _exit(hr == S_OK ? 0 : 1);
}

class GravaOPDoisProcessos : public EmpresaCadastros {};

TEST_F(GravaOPDoisProcessos, TwoProcessesSavingOrdersOfOneTypeKeepThemAllWithDistinctNumbers) {
  // Set up on disk only: the parent starts no server or COM thread before the children exist.
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 5, 2024), Dia(31, 5, 2024), {}}), S_OK);
  empresa_.Escreve("PPTOPCAB.DAT",
                   std::string(256, '\0') + Bytes(256).Texto(32, 10, "TOP1").Texto(42, 50, "Corte").U8(218, 1).str());
  empresa_.Escreve("PPTOPUSU.DAT", std::string(16, '\0'));
  RegistraDiretorioModulo(empresa_.GetInstalacao(), "ES");
  ServidorEstoque estoque;
  ASSERT_EQ(estoque.Registra(), S_OK);
  RegistraServidor();

  Partilhado<OrdensFilhos> relato;
  pid_t filhos[2];
  for (int indice = 0; indice < 2; ++indice) {
    filhos[indice] = fork();
    ASSERT_GE(filhos[indice], 0);
    if (filhos[indice] == 0) GravaNoFilho(indice, 1, *relato);
  }
  std::vector<int> estados;
  ASSERT_NO_FATAL_FAILURE(estados = EsperaFilhos(filhos, std::chrono::minutes(10)));
  for (int indice = 0; indice < 2; ++indice) {
    EXPECT_TRUE(WIFEXITED(estados[indice]) && WEXITSTATUS(estados[indice]) == 0)
        << "child " << indice << ": 0x" << std::hex << relato->erro[indice].load();
  }

  // Every order is there once, numbered 1 .. 8, each with its own item run of its child's quantity.
  const std::string ordens = empresa_.Le(MesOP::Nome("PPOP", kMes));
  const std::string itens = empresa_.Le(MesOP::Nome("PPIT", kMes));
  ASSERT_EQ(ordens.size(), (2 * kOrdensPorFilho + 1) * kOP);
  std::set<uint32_t> chaves, numeros, runs;
  for (int indice = 0; indice < 2; ++indice) {
    for (uint32_t chave : relato->chaves[indice]) {
      chaves.insert(chave);
      const std::string cabecalho = ordens.substr((chave >> 12) * kOP, kOP);
      numeros.insert(U32De(cabecalho, 0));
      const uint32_t item = U32De(cabecalho, 64);
      runs.insert(item);
      ASSERT_LT(item * kIT, itens.size());
      EXPECT_EQ(QDe(itens.substr(item * kIT, kIT), 0), (indice + 1) * 10000) << "order " << (chave >> 12);
    }
  }
  std::set<uint32_t> esperados;
  for (uint32_t n = 1; n <= 2 * kOrdensPorFilho; ++n) esperados.insert(n);
  EXPECT_EQ(numeros, esperados);
  EXPECT_EQ(chaves.size(), 2u * kOrdensPorFilho);
  EXPECT_EQ(runs.size(), 2u * kOrdensPorFilho);
}

}  // namespace
