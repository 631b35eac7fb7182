// The pending invoices of returns from outsourced processing (their list and their link to a
// receipt document) and the later posting of a report's pending entry. Reports are recorded by the
// handler; returns, pending invoices and key lists are written through their byte layouts
// (RetornosOP.h); the entry's stock is seen in the inventory stand-in's balances.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/win32/codepage.h"
#include "server/idl/Varmo.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/RetornosOP.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoME = 104;
constexpr uint16_t kJunho = kMes + 1;
constexpr uint16_t kJulho = kMes + 2;

// Every period file that a link or a posting could touch.
const char* const kPrefixos[] = {"PPOP", "PPAP", "PPRI", "PPME", "PPLT", "PPNF", "PPTA"};

class Pendencias : public EmpresaOPRetornos {
 protected:
  // An order of one complement item of 10 over the first two processes, both receiving reports.
  uint32_t Ordem() {
    OPTeste op = NovaOP({{processos_[0], true}, {processos_[1], true}}, {{kProdutoFabricado, Quantidade(10)}});
    return GravaNova(op);
  }

  HRESULT Vincula(uint32_t nf, uint32_t entrada) { return op_.VincularNFRetorno({nf, entrada}); }

  // The receipt documents of the report's returns, in its run.
  std::vector<uint32_t> Entradas(uint32_t chave) const {
    const std::string relatorio = Relatorio(chave);
    std::vector<uint32_t> entradas;
    for (uint32_t i = 0; i < U16De(relatorio, 164); ++i)
      entradas.push_back(U32De(Registro("PPRI", kTamanhoRI, U32De(relatorio, 96) + i), 16));
    return entradas;
  }
  std::string Nota(uint32_t nf) const {
    return Registro("PPNF", kTamanhoNF, QVGetNumeroDaChave(nf), QVGetMesAnoDaChave(nf));
  }

  std::vector<_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS> Lista() {
    _REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS lista{};
    EXPECT_EQ(op_.BuscaListaRetornoNFPendente(&lista), S_OK);
    EXPECT_EQ(lista.pregRetornoPendente != nullptr, lista.ulQuantidade > 0);
    std::vector<_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS> entradas(
        lista.pregRetornoPendente, lista.pregRetornoPendente + lista.ulQuantidade);
    CoTaskMemFree(lista.pregRetornoPendente);
    return entradas;
  }

  std::vector<std::string> Mes() const {
    std::vector<std::string> arquivos;
    for (const char* prefixo : kPrefixos) arquivos.push_back(Arquivo(prefixo));
    return arquivos;
  }


  MetasFalsas metas_;  // the targets that a posted entry feeds
};

// ---- The list ---------------------------------------------------------------------------------------

// Month by month over the open period, invoice by invoice, return by return: one entry per return
// that names a pending invoice, filled from the return, the report and its order. Invoices linked,
// freed or still being recorded, and months outside the period, list nothing.
TEST_F(Pendencias, ListsThePendingInvoicesReturnByReturnInDiscoveryOrderWithEveryField) {
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 5, 2024), Dia(30, 6, 2024), {}}), S_OK);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  const uint32_t op = Ordem();
  Altera("PPOP", 256, QVGetNumeroDaChave(op), 118, U16(3) + U16(4) + U16(5));
  GravaRelato(Relato(op, processos_[0], 2));  // what process 1 may take
  const uint32_t a = Externo(op, 8);
  const uint32_t b = Externo(op, 2, 0, 1);
  AlteraRelatorio(a, 64, U32(77));   // the outgoing invoice
  AlteraRelatorio(a, 116, U32(3));   // the shipment
  const uint32_t nfA = NotaPendente(a);
  const uint32_t vinculada = NotaPendente(a);
  Altera("PPNF", kTamanhoNF, QVGetNumeroDaChave(vinculada), 14, U8(2));
  const uint32_t nfB = NotaPendente(b);
  // June's invoice names May's report; July lies outside the period.
  const std::string pendenteB = U32(b) + std::string(10, '\0') + U8(1) + std::string(17, '\0');
  const uint32_t nfJunho = Chave(Anexa("PPNF", kTamanhoNF, pendenteB, kJunho), kJunho);
  Anexa("PPNF", kTamanhoNF, pendenteB, kJulho);
  DaRetornos(a, {{.retornada = 2, .nf = nfA, .data = Maio(12), .hora = 610},
                 {.retornada = 9, .nf = vinculada},
                 {.retornada = 1, .entrada = 40},
                 {.retornada = 3, .nf = nfA, .data = Maio(14), .hora = 620}});
  DaRetornos(b, {{.retornada = 4, .nf = nfJunho}, {.retornada = 5, .nf = nfB}});

  const std::vector<_REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS> lista = Lista();
  ASSERT_EQ(lista.size(), 4u);
  const struct {
    int64_t retornada;
    uint32_t nf, apontamento;
  } esperados[] = {{2, nfA, a}, {3, nfA, a}, {5, nfB, b}, {4, nfJunho, b}};
  for (size_t i = 0; i < lista.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lista[i].vQuantidadeRetornada.int64, esperados[i].retornada * kUm);
    EXPECT_EQ(lista[i].ulChaveRetornoNFPendente, esperados[i].nf);
    EXPECT_EQ(lista[i].ulChaveApontamento, esperados[i].apontamento);
    EXPECT_EQ(lista[i].ulChaveOP, op);
    EXPECT_EQ(lista[i].lPonteiroIndustrializador, 5);
    EXPECT_EQ(lista[i].regPosicaoProdutoServico.lPonteiroProduto, kProdutoFabricado);
    EXPECT_EQ(lista[i].regPosicaoProdutoServico.iPonteiroItemGrade1, 3);
    EXPECT_EQ(lista[i].regPosicaoProdutoServico.iPonteiroItemGrade2, 4);
    EXPECT_EQ(lista[i].regPosicaoProdutoServico.iPonteiroItemGrade3, 5);
    EXPECT_EQ(lista[i].cTipoProdutoServico, 'P');
    EXPECT_EQ(lista[i].usDataGravacao, Maio(10));
    EXPECT_EQ(lista[i].usHoraGravacao, 600);
  }
  EXPECT_EQ(lista[0].ulChaveNotaFiscalSaida, 77u);
  EXPECT_EQ(lista[0].ulChaveRemessaIndustrializacao, Chave(3));
  EXPECT_EQ(lista[0].lPonteiroProcesso, processos_[0]);
  EXPECT_EQ(lista[0].usDataRetorno, Maio(12));
  EXPECT_EQ(lista[0].usHoraRetorno, 610);
  EXPECT_EQ(lista[1].usDataRetorno, Maio(14));
  EXPECT_EQ(lista[1].usHoraRetorno, 620);
  EXPECT_EQ(lista[2].ulChaveNotaFiscalSaida, 0u);
  EXPECT_EQ(lista[2].ulChaveRemessaIndustrializacao, 0u) << "no shipment";
  EXPECT_EQ(lista[2].lPonteiroProcesso, processos_[1]);
}

// A period without invoices lists nothing and makes no file; the list does not wait for the order
// lock; a damaged invoice (its report past the end) is refused, not read.
TEST_F(Pendencias, ListWithoutInvoicesIsEmptyReadsUnderAnotherHoldersLockAndRefusesADamagedInvoice) {
  const uint32_t ap = Externo(Ordem(), 4);
  DaRetornos(ap, {{.entrada = 11}});
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(op_.GetDiretorio(), 29), 0);
  EXPECT_TRUE(Lista().empty());
  EXPECT_EQ(Arquivo("PPNF"), "");

  NotaPendente(Chave(40));
  _REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS lista{};
  EXPECT_EQ(op_.BuscaListaRetornoNFPendente(&lista), Erro(16021));
  EXPECT_EQ(lista.ulQuantidade, 0u);
  EXPECT_EQ(lista.pregRetornoPendente, nullptr);
  NotaPendente(QVMontaChave(0, 1));
  Altera("PPNF", kTamanhoNF, 1, 14, U8(2));
  EXPECT_EQ(op_.BuscaListaRetornoNFPendente(&lista), Erro(1591)) << "a report key without month";

  CPPServidorOP fechado;
  EXPECT_EQ(fechado.BuscaListaRetornoNFPendente(&lista), Erro(1585));
}

// ---- The link -----------------------------------------------------------------------------------------

// The invoice takes the document, the session's user, today, the time and state 2; the return that
// names it takes the document, the report's other returns stay as they were; a history line says
// it. The link then no longer lists the invoice.
TEST_F(Pendencias, LinkStoresTheReceiptInTheInvoiceAndTheReturnAndWritesItsHistoryLine) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const uint32_t nf = NotaPendente(ap);
  const uint32_t outra = NotaPendente(ap);
  DaRetornos(ap, {{.entrada = 11}, {.nf = nf}, {.nf = outra}});
  ASSERT_EQ(Lista().size(), 2u);

  ASSERT_EQ(Vincula(nf, 55), S_OK);
  const std::string nota = Nota(nf);
  EXPECT_EQ(U32De(nota, 0), ap);
  EXPECT_EQ(U32De(nota, 4), 55u);
  EXPECT_EQ(U16De(nota, 8), kUsuarioTeste);
  EXPECT_EQ(U16De(nota, 10), DiaFixado());
  EXPECT_EQ(U16De(nota, 12), 600) << "10:00 on the pinned clock";
  EXPECT_EQ(U8De(nota, 14), 2);
  EXPECT_EQ(nota.substr(15), std::string(17, '\0'));
  EXPECT_EQ(Entradas(ap), (std::vector<uint32_t>{11, 55, 0}));
  EXPECT_EQ(U8De(Nota(outra), 14), 1);
  ASSERT_FALSE(Linhas().empty());
  const std::string texto = std::string("Vincular NF retorno pendente - OP: ") +
                            static_cast<const char*>(QVChaveParaTexto(op)) + " - Apontamento: " +
                            static_cast<const char*>(QVChaveParaTexto(ap)) + " - RE: " +
                            static_cast<const char*>(QVChaveParaTexto(55));
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', texto}));
  const auto lista = Lista();
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(lista[0].ulChaveRetornoNFPendente, outra);
}

// A transit return's document goes to the returns of the same invoice in the reports its transit
// made (listed at return offsets 44/64); their other returns, and a report removed since, keep
// theirs.
TEST_F(Pendencias, LinkOfATransitReturnReachesTheSameInvoicesReturnsInTheReportsItMade) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  GravaRelato(Relato(op, processos_[0], 4));  // what process 1 may take
  const uint32_t feito = Externo(op, 3, 0, 1);
  const uint32_t removido = Externo(op, 1, 0, 1);
  const uint32_t nf = NotaPendente(ap);
  const uint32_t outra = NotaPendente(feito);
  DaRetornos(ap, {{.retornada = 4, .nf = nf, .primeiraGerada = Chaves({feito, removido}), .geradas = 2,
                   .transito = true}});
  DaRetornos(feito, {{.nf = outra}, {.retornada = 3, .nf = nf, .automatico = true}});
  DaRetornos(removido, {{.nf = nf, .automatico = true}});
  AlteraRelatorio(removido, 176, U8(1));

  ASSERT_EQ(Vincula(nf, 56), S_OK);
  EXPECT_EQ(Entradas(ap), (std::vector<uint32_t>{56}));
  EXPECT_EQ(Entradas(feito), (std::vector<uint32_t>{0, 56}));
  EXPECT_EQ(Entradas(removido), (std::vector<uint32_t>{0}));
  EXPECT_EQ(U8De(Nota(nf), 14), 2);
}

// Refused before anything is written, without history line.
TEST_F(Pendencias, LinkRefusalsLeaveEverythingAsItWas) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const uint32_t nf = NotaPendente(ap);
  const uint32_t linkada = NotaPendente(ap);
  Altera("PPNF", kTamanhoNF, QVGetNumeroDaChave(linkada), 14, U8(2));
  const uint32_t gravando = NotaPendente(ap);
  Altera("PPNF", kTamanhoNF, QVGetNumeroDaChave(gravando), 14, U8(0));
  const uint32_t semRetorno = NotaPendente(ap);
  DaRetornos(ap, {{.entrada = 21}, {.nf = nf}, {.nf = linkada}, {.nf = gravando}});
  const uint32_t outro = Externo(op, 1);
  const uint32_t nfRemovido = NotaPendente(outro);
  DaRetornos(outro, {{.nf = nfRemovido}});
  AlteraRelatorio(outro, 176, U8(1));
  const struct {
    const char* caso;
    uint32_t nf, entrada;
    HRESULT esperado;
  } casos[] = {
      {"invoice key 0", 0, 55, Erro(1591)},
      {"invoice key without record", kMes, 55, Erro(1591)},
      {"invoice key without month", 1u << 12, 55, Erro(1591)},
      {"receipt 0", nf, 0, Erro(1591)},
      {"invoice linked already", linkada, 55, Erro(1592)},
      {"invoice still being recorded", gravando, 55, Erro(1592)},
      {"report removed", nfRemovido, 55, Erro(1586)},
      {"no return names the invoice", semRetorno, 55, Erro(1586)},
      {"another return carries the receipt", nf, 21, Erro(1636)},
      {"invoice past the end", Chave(99), 55, Erro(16021)},
  };
  for (const auto& caso : casos) {
    const std::vector<std::string> antes = Mes();
    const size_t linhas = Linhas().size();
    EXPECT_EQ(Vincula(caso.nf, caso.entrada), caso.esperado) << caso.caso;
    EXPECT_EQ(Mes(), antes) << caso.caso;
    EXPECT_EQ(Linhas().size(), linhas) << caso.caso;
  }
  CQVArqMarca outroDono;
  ASSERT_EQ(outroDono.Marca(op_.GetDiretorio(), 29), 0);
  const std::vector<std::string> antes = Mes();
  EXPECT_EQ(Vincula(nf, 55), Erro(QVMensagemMarca(29, true))) << "the lock's wait goes by on the replaced clock";
  EXPECT_EQ(Mes(), antes);
  CPPServidorOP fechado;
  EXPECT_EQ(fechado.VincularNFRetorno({nf, 55}), Erro(1585));
}

// A link broken off after the return took the document but before the invoice did runs again to
// its end: the target carrying the document already is not a second use of it.
TEST_F(Pendencias, LinkBrokenOffBeforeTheInvoiceIsWrittenRunsAgainToItsEnd) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const uint32_t nf = NotaPendente(ap);
  DaRetornos(ap, {{.entrada = 57, .nf = nf}});
  ASSERT_EQ(Vincula(nf, 57), S_OK);
  EXPECT_EQ(U8De(Nota(nf), 14), 2);
  EXPECT_EQ(Entradas(ap), (std::vector<uint32_t>{57}));
}

// ---- The pending entry --------------------------------------------------------------------------------

class EntradasPendentes : public Pendencias {
 protected:
  // A last-process report of 4 on a one-process order, whose entry of 4 is left pending; its key.
  uint32_t RelatoPendente() {
    OPTeste ordem = NovaOP({{processos_[0], true}}, {{kProdutoFabricado, Quantidade(10)}});
    chaveOP_ = GravaNova(ordem);
    _REG_VARMO_OP_APONTAMENTO reg = Relato(chaveOP_, processos_[0], 4);
    entrada_.regPosicaoProduto.lPonteiroProduto = kProdutoFabricado;
    entrada_.vQuantidade.int64 = 4 * kUm;
    entrada_.cTipoMovimento = 11;
    entrada_.iPonteiroFilial = kFilial;
    entrada_.iPonteiroLocalArmazenagem = 1;
    reg.usQtdMvtoEntrada = 1;
    reg.pregMvtoEntrada = &entrada_;
    reg.cPossuiEntradaPendente = 1;
    reg.cTipoApontamento = 4;
    return GravaRelato(reg);
  }
  // The posting's input as a client sends it: the entries as given, under the report's key.
  _REG_VARMO_OP_APONTAMENTO Posta(uint32_t chave) {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroApontamento = chave;
    reg.usQtdMvtoEntrada = 1;
    reg.pregMvtoEntrada = &entrada_;
    return reg;
  }

  uint32_t chaveOP_ = 0;
  _REG_ES_MOVIMENTOPS entrada_{};
};

// The stored entry is posted into stock as a new posted run that the report now lists, the report
// is no longer pending, its target is fed and a history line says it; the entries go under the
// report's order although the client named none. A second posting is refused: nothing is pending.
TEST_F(EntradasPendentes, PostingMovesTheStockClearsThePendingMarkAndPointsTheReportAtTheNewRun) {
  const uint32_t ap = RelatoPendente();
  ASSERT_EQ(U8De(Relatorio(ap), 181), 1);
  ASSERT_EQ(Saldo(kProdutoFabricado), 0);
  const uint32_t locais = QuantidadeRegistros("PPME", kTamanhoME);

  ASSERT_EQ(op_.GravaEntradasPendentes(Posta(ap), nullptr), S_OK);
  EXPECT_EQ(Saldo(kProdutoFabricado), 4 * kUm);
  const std::string relatorio = Relatorio(ap);
  EXPECT_EQ(U8De(relatorio, 181), 0);
  EXPECT_EQ(U16De(relatorio, 160), 1);
  ASSERT_EQ(U32De(relatorio, 68), locais + 1);
  const std::string local = Registro("PPME", kTamanhoME, locais + 1);
  EXPECT_EQ(U8De(local, 88), 1) << "posted";
  EXPECT_EQ(U32De(local, 32) & 0xFFF, kMes);
  ASSERT_EQ(metas_.apontadas.size(), 1u);
  EXPECT_EQ(metas_.apontadas[0].vQuantProduzida.int64, 4 * kUm);
  ASSERT_FALSE(Linhas().empty());
  const std::string texto = std::string("Entrada pendente da produção - OP: "_ansi) +
                            static_cast<const char*>(QVChaveParaTexto(chaveOP_)) + " - Apontamento: " +
                            static_cast<const char*>(QVChaveParaTexto(ap));
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', texto}));

  const std::vector<std::string> antes = Mes();
  EXPECT_EQ(op_.GravaEntradasPendentes(Posta(ap), nullptr), Erro(1592));
  EXPECT_EQ(Mes(), antes);
  EXPECT_EQ(Saldo(kProdutoFabricado), 4 * kUm);
}

// The entries that the report stored, read back under bit 15, are what a client posts; the stored
// copy keeps no movement type, which the client gives (a production entry).
TEST_F(EntradasPendentes, EntriesReadBackFromThePendingReportPostAsStored) {
  const uint32_t ap = RelatoPendente();
  _REG_VARMO_OP_APONTAMENTO lido;
  ASSERT_EQ(op_.LeApontamento(ap, &lido, nullptr, 0x8000), S_OK);
  ASSERT_EQ(lido.usQtdMvtoEntrada, 1);
  EXPECT_EQ(lido.pregMvtoEntrada[0].vQuantidade.int64, 4 * kUm);
  lido.pregMvtoEntrada[0].cTipoMovimento = 11;
  EXPECT_EQ(op_.GravaEntradasPendentes(lido, nullptr), S_OK);
  LiberaRegistroApontamento(&lido, 0);
  EXPECT_EQ(Saldo(kProdutoFabricado), 4 * kUm);
  EXPECT_EQ(U8De(Relatorio(ap), 181), 0);
}

// A posting of which nothing reaches the stock answers the refusal and leaves the report pending
// as it was, so that it is posted once the inventory takes it. Once one movement is in stock the
// report lists the new run, the refused one unposted, and nothing is pending any more.
TEST_F(EntradasPendentes, PostingThatReachesNoStockLeavesTheReportPendingForARetry) {
  const uint32_t ap = RelatoPendente();
  const std::string antes = Relatorio(ap);
  const size_t linhas = Linhas().size();
  estoque_.Movimento.FalhaMetodo("GravaMovimento", 1, E_FAIL, 0);
  EXPECT_EQ(op_.GravaEntradasPendentes(Posta(ap), nullptr), E_FAIL);
  EXPECT_EQ(Relatorio(ap), antes);
  EXPECT_EQ(Linhas().size(), linhas);
  EXPECT_EQ(Saldo(kProdutoFabricado), 0);
  ASSERT_EQ(op_.GravaEntradasPendentes(Posta(ap), nullptr), S_OK);
  EXPECT_EQ(Saldo(kProdutoFabricado), 4 * kUm);

  const uint32_t parcial = RelatoPendente();
  _REG_ES_MOVIMENTOPS duas[] = {entrada_, entrada_};
  _REG_VARMO_OP_APONTAMENTO reg = Posta(parcial);
  reg.usQtdMvtoEntrada = 2;
  reg.pregMvtoEntrada = duas;
  estoque_.Movimento.FalhaMetodo("GravaMovimento", 1, E_FAIL, 1);
  EXPECT_EQ(op_.GravaEntradasPendentes(reg, nullptr), E_FAIL);
  const std::string relatorio = Relatorio(parcial);
  EXPECT_EQ(U8De(relatorio, 181), 0);
  EXPECT_EQ(U16De(relatorio, 160), 2);
  EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, U32De(relatorio, 68)), 88), 1);
  EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, U32De(relatorio, 68) + 1), 88), 0);
  EXPECT_EQ(Saldo(kProdutoFabricado), 8 * kUm);
  EXPECT_EQ(op_.GravaEntradasPendentes(reg, nullptr), Erro(1592));
}

// Refused before anything is written.
TEST_F(EntradasPendentes, RefusalsLeaveEverythingAsItWas) {
  const uint32_t pendente = RelatoPendente();
  const uint32_t removido = RelatoPendente();
  AlteraRelatorio(removido, 176, U8(1));
  const uint32_t semPendencia = GravaRelato(Relato(chaveOP_, processos_[0], 1));
  _REG_VARMO_OP_APONTAMENTO semArray = Posta(pendente);
  semArray.pregMvtoEntrada = nullptr;
  const struct {
    const char* caso;
    _REG_VARMO_OP_APONTAMENTO reg;
    HRESULT esperado;
  } casos[] = {
      {"key 0", Posta(0), Erro(1591)},
      {"key without record", Posta(kMes), Erro(1591)},
      {"key without month", Posta(QVMontaChave(0, QVGetNumeroDaChave(pendente))), Erro(1591)},
      {"entries without their array", semArray, Erro(1587)},
      {"report removed", Posta(removido), Erro(1586)},
      {"nothing pending", Posta(semPendencia), Erro(1592)},
      {"report past the end", Posta(Chave(99)), Erro(16021)},
      {"month without reports", Posta(Chave(1, kJunho)), Erro(16021)},
  };
  for (const auto& caso : casos) {
    const std::vector<std::string> antes = Mes();
    EXPECT_EQ(op_.GravaEntradasPendentes(caso.reg, nullptr), caso.esperado) << caso.caso;
    EXPECT_EQ(Mes(), antes) << caso.caso;
  }
  EXPECT_EQ(Arquivo("PPAP", kJunho), "");
  EXPECT_EQ(Saldo(kProdutoFabricado), 0);
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(op_.GetDiretorio(), 29), 0);
  EXPECT_EQ(op_.GravaEntradasPendentes(Posta(pendente), nullptr), Erro(QVMensagemMarca(29, true)));
  EXPECT_EQ(U8De(Relatorio(pendente), 181), 1);
  CPPServidorOP fechado;
  EXPECT_EQ(fechado.GravaEntradasPendentes(Posta(pendente), nullptr), Erro(1585));
}

}  // namespace
