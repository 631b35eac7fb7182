// Taking back a return from outsourced processing, and the list of a report's returns. The reports
// are recorded by the handler; their returns, pending invoices and transit lists are written
// through their byte layouts (RetornosOP.h), the processors in transit in PPTI with their orders in
// PPIO and the last-process reports in PPUP here.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/RetornosOP.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoME = 104;

// Every period file of the order family that a removal could touch.
const char* const kPrefixos[] = {"PPOP", "PPPR", "PPMT", "PPRP", "PPAP", "PPAS", "PPAR", "PPRI", "PPME", "PPLT",
                                 "PPIT", "PPNC", "PPIE", "PPRM", "PPIR", "PPID", "PPPE", "PPEE", "PPTI", "PPIO",
                                 "PPUP", "PPTA", "PPNF", "PPRA", "PPAO", "PPAC", "PPAQ", "PPAI", "PPAD"};

class RemocaoRetorno : public EmpresaOPRetornos {
 protected:
  // An order of one complement item of 10 over the first two processes, both receiving reports.
  uint32_t Ordem() {
    OPTeste op = NovaOP({{processos_[0], true}, {processos_[1], true}}, {{kProdutoFabricado, Quantidade(10)}});
    return GravaNova(op);
  }

  uint32_t Interno(uint32_t chaveOP, int32_t processo, int64_t quantidade) {
    return GravaRelato(Relato(chaveOP, processo, quantidade));
  }

  HRESULT Remove(uint32_t chaveOP, uint32_t chaveApontamento, const RetornoTeste& nome, uint8_t bMarca = 1) {
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg{};
    reg.ulChaveOP = chaveOP;
    reg.ulPonteiroApontamento = QVGetNumeroDaChave(chaveApontamento);
    reg.regRetorno.lPonteiroRegistroEntrada = nome.entrada;
    reg.regRetorno.ulChaveRetornoNFPendente = nome.nf;
    return op_.RemoveApontamentoRetornoIndustrializacao(reg, bMarca);
  }

  // The receipt documents of the report's returns, as LeRetornosIndustExterna lists them.
  std::vector<uint32_t> Entradas(uint32_t chave) {
    _REG_VARMO_LISTA_RETORNO_IND_EXTPS lista{};
    EXPECT_EQ(op_.LeRetornosIndustExterna(chave, &lista), S_OK);
    EXPECT_EQ(lista.pRegRetornos != nullptr, lista.lQuantidade > 0);
    std::vector<uint32_t> entradas;
    for (int32_t i = 0; i < lista.lQuantidade; ++i) entradas.push_back(lista.pRegRetornos[i].lPonteiroRegistroEntrada);
    CoTaskMemFree(lista.pRegRetornos);
    return entradas;
  }

  std::vector<std::string> Mes() const {
    std::vector<std::string> arquivos;
    for (const char* prefixo : kPrefixos) arquivos.push_back(Arquivo(prefixo));
    return arquivos;
  }
};

// ---- Removal --------------------------------------------------------------------------------------

// The report forgets its only return (the forced closure it brought included) and its end; the
// invoice no longer waits. The same return a second time is gone: 1713, nothing written.
TEST_F(RemocaoRetorno, RemovingTheOnlyReturnLeavesNoReturnsAndNoEndAndFreesTheInvoice) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const RetornoTeste retorno{.retornada = 4, .entrada = 0, .nf = NotaPendente(ap), .data = Maio(12), .hora = 600,
                             .encerramento = true};
  DaRetornos(ap, {retorno});
  AlteraRelatorio(ap, 148, U16(Maio(12)) + U16(600));
  AlteraRelatorio(ap, 182, U8(1));

  ASSERT_EQ(Remove(op, ap, retorno), S_OK);
  const std::string relatorio = Relatorio(ap);
  EXPECT_EQ(U32De(relatorio, 96), 0u);
  EXPECT_EQ(U16De(relatorio, 164), 0);
  EXPECT_EQ(U16De(relatorio, 148), 0);
  EXPECT_EQ(U16De(relatorio, 150), 0);
  EXPECT_EQ(U8De(relatorio, 182), 0);
  EXPECT_EQ(U8De(relatorio, 176), 0) << "the report itself stays";
  EXPECT_EQ(U8De(Registro("PPNF", kTamanhoNF, QVGetNumeroDaChave(retorno.nf)), 14), 255);
  EXPECT_TRUE(Entradas(ap).empty());
  ASSERT_FALSE(Linhas().empty());
  const std::string texto = std::string("Retorno remessa industrialização: OP: "_ansi) +
                            static_cast<const char*>(QVChaveParaTexto(op)) + " - Apontamento: " +
                            static_cast<const char*>(QVChaveParaTexto(ap));
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'E', texto}));

  const std::vector<std::string> antes = Mes();
  const size_t linhas = Linhas().size();
  EXPECT_EQ(Remove(op, ap, retorno), Erro(1713));
  EXPECT_EQ(Mes(), antes);
  EXPECT_EQ(Linhas().size(), linhas);
}

// The other returns are appended anew in their order and the report points at them; its end is
// the latest kept return by date, then time; the reports that the removed return consumed are
// pending again.
TEST_F(RemocaoRetorno, KeptReturnsMoveToANewRunInOrderAndTheLatestOfThemEndsTheReport) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 6);
  const uint32_t consumido = Interno(op, processos_[0], 0);
  ASSERT_EQ(U8De(Relatorio(consumido), 184), 0);
  const RetornoTeste a{.entrada = 11, .data = Maio(12), .hora = 600};
  const RetornoTeste b{.retornada = 2, .entrada = 12, .data = Maio(13), .hora = 100,
                       .primeiraImportada = Chaves({consumido}), .importadas = 1};
  const RetornoTeste c{.entrada = 13, .data = Maio(11), .hora = 1400};
  DaRetornos(ap, {a, b, c});
  const std::string antigos = Arquivo("PPRI");

  ASSERT_EQ(Remove(op, ap, b), S_OK);
  const std::string relatorio = Relatorio(ap);
  EXPECT_EQ(U32De(relatorio, 96), 4u);
  EXPECT_EQ(U16De(relatorio, 164), 2);
  EXPECT_EQ(Arquivo("PPRI"), antigos + Bytes(a) + Bytes(c)) << "the old run stays as it was";
  EXPECT_EQ(U16De(relatorio, 148), Maio(12));
  EXPECT_EQ(U16De(relatorio, 150), 600);
  EXPECT_EQ(U8De(Relatorio(consumido), 184), 1);
  EXPECT_EQ(Entradas(ap), (std::vector<uint32_t>{11, 13}));
}

// Refused before anything is written: a return that is not the report's (any more), one marked
// automatic, one beside a forced closure, one whose process the next one has used up.
TEST_F(RemocaoRetorno, RefusalsLeaveTheMonthAsItWas) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const RetornoTeste forcado{.retornada = 1, .entrada = 21, .encerramento = true};
  const RetornoTeste comum{.retornada = 1, .entrada = 22};
  const RetornoTeste automatico{.retornada = 1, .entrada = 23, .automatico = true};
  DaRetornos(ap, {forcado, comum, automatico});
  const struct {
    const char* caso;
    RetornoTeste nome;
    HRESULT esperado;
  } casos[] = {
      {"not among the report's returns", {.entrada = 99}, Erro(1713)},
      {"the same receipt, another invoice", {.entrada = 22, .nf = Chave(1)}, Erro(1713)},
      {"automatic", automatico, Erro(1713)},
      {"another return closes by force", comum, Erro(1720)},
  };
  for (const auto& caso : casos) {
    const std::vector<std::string> antes = Mes();
    EXPECT_EQ(Remove(op, ap, caso.nome), caso.esperado) << caso.caso;
    EXPECT_EQ(Mes(), antes) << caso.caso;
  }
  CPPServidorOP fechado;
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg{};
  EXPECT_EQ(fechado.RemoveApontamentoRetornoIndustrializacao(reg, 1), Erro(1585));
}

// Without transit, what the next process reported must stay covered once the report's quantity
// is out of its process (4 + 0 - 4 < 3); a transit return is not held back by it.
TEST_F(RemocaoRetorno, NextProcessReportedMoreThanWouldRemainRefuses1596UnlessTheReturnMadeTransit) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const RetornoTeste retorno{.retornada = 4, .entrada = 31};
  const RetornoTeste transito{.retornada = 0, .entrada = 32, .transito = true};
  DaRetornos(ap, {retorno, transito});
  ASSERT_NE(Interno(op, processos_[1], 3), 0u);
  const std::vector<std::string> antes = Mes();
  EXPECT_EQ(Remove(op, ap, retorno), Erro(1596));
  EXPECT_EQ(Mes(), antes);
  EXPECT_EQ(Remove(op, ap, transito), S_OK);
  EXPECT_EQ(Entradas(ap), (std::vector<uint32_t>{31}));
}

TEST_F(RemocaoRetorno, AnotherHolderOfTheOrderLockRefusesUnwrittenAndANestedCallTakesNone) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const RetornoTeste retorno{.entrada = 41};
  DaRetornos(ap, {retorno});
  const std::vector<std::string> antes = Mes();
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(op_.GetDiretorio(), 29), 0);
  // The lock's wait goes by on the replaced clock.
  EXPECT_EQ(Remove(op, ap, retorno), Erro(QVMensagemMarca(29, true)));
  EXPECT_EQ(Mes(), antes);
  EXPECT_EQ(Remove(op, ap, retorno, 0), S_OK);
  EXPECT_TRUE(Entradas(ap).empty());
}

// The invoice is freed before the report forgets the return: when that fails, the return is still
// listed and the removal runs again once the invoice can be written.
TEST_F(RemocaoRetorno, InvoiceThatCannotBeFreedLeavesTheReturnListedForARetry) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  NotaPendente(ap);
  const RetornoTeste retorno{.entrada = 0, .nf = Chave(2)};
  DaRetornos(ap, {retorno});
  EXPECT_EQ(Remove(op, ap, retorno), Erro(16021));
  EXPECT_EQ(Entradas(ap), (std::vector<uint32_t>{0}));
  ASSERT_EQ(NotaPendente(ap), Chave(2));
  EXPECT_EQ(Remove(op, ap, retorno), S_OK);
  EXPECT_TRUE(Entradas(ap).empty());
  EXPECT_EQ(U8De(Registro("PPNF", kTamanhoNF, 2), 14), 255);
}

// ---- Transit --------------------------------------------------------------------------------------

// A report that the transit reused keeps its other links: its list appended anew without the
// report whose return goes.
TEST_F(RemocaoRetorno, TransitThatReusedAReportOnlyUnlinksIt) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const uint32_t reutilizado = Interno(op, processos_[0], 0);
  const uint32_t outro = Chave(77);
  AlteraRelatorio(reutilizado, 128, U32(Chaves({ap, outro})));
  AlteraRelatorio(reutilizado, 170, U16(2));
  const uint32_t io = Anexa("PPIO", 36, Q(1 * kUm) + U32(op) + U32(reutilizado) + U8(1) + std::string(19, '\0'));
  const uint32_t ti =
      Anexa("PPTI", 64, Q(4 * kUm) + Q(0) + U32(5) + U32(0) + U32(io) + U16(0) + U16(1) + std::string(32, '\0'));
  const RetornoTeste retorno{.retornada = 4, .entrada = 51, .primeiroTI = ti, .ti = 1, .transito = true};
  DaRetornos(ap, {retorno});
  const uint32_t chaves = QuantidadeRegistros("PPTA", 4);

  ASSERT_EQ(Remove(op, ap, retorno), S_OK);
  const std::string relatorio = Relatorio(reutilizado);
  EXPECT_EQ(U32De(relatorio, 128), chaves + 1);
  EXPECT_EQ(U16De(relatorio, 170), 1);
  EXPECT_EQ(U32De(Registro("PPTA", 4, chaves + 1), 0), outro);
  EXPECT_EQ(U8De(relatorio, 176), 0) << "reused, not removed";
  EXPECT_TRUE(Entradas(ap).empty());
}

// The reports that the transit made go with the return: a processor's order report, the report
// made for the processor, the last-process report and the return's own key. Their removal is
// RemoveApontamento's (bMarca 0, under this lock).
TEST_F(RemocaoRetorno, TransitReturnTakesTheReportsItMadeWithIt) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  const RetornoTeste sem{.retornada = 4, .entrada = 61};  // the next process reports against it first
  DaRetornos(ap, {sem});
  uint32_t gerados[4];
  for (uint32_t& gerado : gerados) gerado = Interno(op, processos_[1], 1);
  const uint32_t io = Anexa("PPIO", 36, Q(1 * kUm) + U32(op) + U32(gerados[0]) + U8(0) + std::string(19, '\0'));
  const uint32_t doIndustrializador = Chaves({gerados[1]});
  const uint32_t ti = Anexa("PPTI", 64, Q(4 * kUm) + Q(0) + U32(5) + U32(doIndustrializador) + U32(io) + U16(1) +
                                            U16(1) + std::string(32, '\0'));
  const uint32_t up = Anexa("PPUP", 16, Q(1 * kUm) + U32(QVGetNumeroDaChave(gerados[2])) + U16(0) + U16(0));
  const RetornoTeste retorno{.retornada = 4, .entrada = 61, .primeiroTI = ti, .primeiroUP = up,
                             .primeiraGerada = Chaves({gerados[3]}), .ti = 1, .up = 1, .geradas = 1,
                             .transito = true};
  DaRetornos(ap, {retorno});

  ASSERT_EQ(Remove(op, ap, retorno), S_OK);
  for (uint32_t gerado : gerados) EXPECT_EQ(U8De(Relatorio(gerado), 176), 1) << QVChaveParaTexto(gerado);
  EXPECT_TRUE(Entradas(ap).empty());
}

// ---- What the return posted -------------------------------------------------------------------------

// The return's stock movement and its scrap entry leave the inventory and are kept as not posted.
// The reversal of each movement is EstornaListaMovimentos'.
TEST_F(RemocaoRetorno, ReturnMovementsAndScrapEntryAreTakenBackFromTheInventory) {
  SaldoInicialES saldo{};
  saldo.regChave.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
  saldo.regChave.iPonteiroFilial = kFilial;
  saldo.regChave.iPonteiroLocalArmazenagem = 1;
  saldo.vQuantidade.int64 = 10 * kUm;
  ASSERT_EQ(GravaSaldosIniciaisES(Instalacao::kEmpresa, {saldo}), S_OK);
  const uint32_t op = Ordem();
  // The report posts them; the return is made to hold the same records.
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 4);
  reg.cTipoProducao = 0;
  reg.lPonteiroIndustrializador = 5;
  _REG_ES_MOVIMENTOPS baixa{};
  baixa.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
  baixa.vQuantidade.int64 = 2 * kUm;
  baixa.cTipoMovimento = 12;
  baixa.iPonteiroFilial = kFilial;
  baixa.iPonteiroLocalArmazenagem = 1;
  reg.usQtdMvtoEstoque = 1;
  reg.pregMovimentos = &baixa;
  reg.cPossuiRefugo = 1;
  reg.regMovimentoRefugo = baixa;
  reg.regMovimentoRefugo.regPosicaoProduto.lPonteiroProduto = kProdutoFabricado;
  reg.regMovimentoRefugo.cTipoMovimento = 13;
  const uint32_t ap = GravaRelato(reg);
  const uint32_t movimento = U32De(Relatorio(ap), 92);
  const uint32_t refugo = U32De(Relatorio(ap), 72);
  ASSERT_NE(movimento, 0u);
  ASSERT_NE(refugo, 0u);
  const RetornoTeste retorno{.retornada = 4, .entrada = 71, .primeiroMovimento = movimento, .movimentos = 1,
                             .possuiRefugo = true, .movimentoRefugo = refugo};
  DaRetornos(ap, {retorno});
  std::vector<uint32_t> chaves;
  for (uint32_t n : {movimento, refugo}) {
    const std::string local = Registro("PPME", kTamanhoME, n);
    ASSERT_EQ(U8De(local, 88), 1);
    chaves.push_back(U32De(local, 32));
  }

  ASSERT_EQ(Remove(op, ap, retorno), S_OK);
  for (uint32_t n : {movimento, refugo}) EXPECT_EQ(U8De(Registro("PPME", kTamanhoME, n), 88), 0) << n;
  for (uint32_t chave : chaves) {
    char nome[48];
    std::snprintf(nome, sizeof nome, "empresas/TESTE/ES/MV%04u.DAT", chave & 0xfffu);
    const std::string gravados = empresa_.GetInstalacao().dir().Read(nome);
    const size_t removido = (chave >> 12) * sizeof(MovimentoGravadoES) - sizeof(MovimentoGravadoES) +
                            offsetof(MovimentoGravadoES, cRemovido);
    ASSERT_GT(gravados.size(), removido);
    EXPECT_EQ(U8De(gravados, removido), 1) << "the inventory's movement " << chave;
  }
}

// ---- The list -------------------------------------------------------------------------------------

// Only the return's quantity, receipt, invoice, dates, times, user and movement count; every
// other byte of the entry stays zero, however full the stored return is.
TEST_F(RemocaoRetorno, ListOfReturnsFillsOnlyItsNamedFields) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  std::string cheio = Bytes({.retornada = 3, .entrada = 81, .nf = Chave(9), .data = Maio(14), .hora = 700,
                             .primeiroMovimento = 5, .movimentos = 2, .possuiRefugo = true, .movimentoRefugo = 6,
                             .primeiroTI = 7, .primeiroUP = 8, .primeiraGerada = 9, .primeiraImportada = 10, .ti = 1,
                             .up = 1, .geradas = 1, .importadas = 1, .encerramento = true, .transito = true,
                             .automatico = true});
  cheio.replace(8, 8, Q(1 * kUm));     // scrap
  cheio.replace(28, 4, U32(12));       // scrap reason
  cheio.replace(76, 4, U32(13));       // comment
  cheio.replace(86, 4, U32(14));       // forced-closure reason
  Anexa("PPRI", kTamanhoRI, cheio);
  AlteraRelatorio(ap, 96, U32(1));
  AlteraRelatorio(ap, 164, U16(1));

  _REG_VARMO_LISTA_RETORNO_IND_EXTPS lista{};
  ASSERT_EQ(op_.LeRetornosIndustExterna(ap, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 1);
  ASSERT_NE(lista.pRegRetornos, nullptr);
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS esperado{};
  esperado.vQuantidadeRetornada.int64 = 3 * kUm;
  esperado.lPonteiroRegistroEntrada = 81;
  esperado.ulChaveRetornoNFPendente = Chave(9);
  esperado.usDataRetorno = Maio(14);
  esperado.usHoraRetorno = 700;
  esperado.usDataGravacao = Maio(10);
  esperado.usHoraGravacao = 600;
  esperado.usPonteiroUsuarioGravacao = 7;
  esperado.usQtdMvtoEstoque = 2;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(lista.pRegRetornos), sizeof esperado),
            std::string(reinterpret_cast<const char*>(&esperado), sizeof esperado));
  CoTaskMemFree(lista.pRegRetornos);
}

// A report without returns lists none, without an array; a key without record, or of a month
// without reports, is refused and makes no file.
TEST_F(RemocaoRetorno, ListOfAReportWithoutReturnsIsEmptyAndBadKeysAreRefused) {
  const uint32_t op = Ordem();
  const uint32_t ap = Externo(op, 4);
  EXPECT_TRUE(Entradas(ap).empty());
  const struct {
    uint32_t chave;
    HRESULT esperado;
  } casos[] = {{kMes, Erro(1591)}, {Chave(1, 0), Erro(1591)}, {Chave(9), Erro(16021)}};
  for (const auto& caso : casos) {
    _REG_VARMO_LISTA_RETORNO_IND_EXTPS lista{};
    EXPECT_EQ(op_.LeRetornosIndustExterna(caso.chave, &lista), caso.esperado) << caso.chave;
    EXPECT_EQ(lista.lQuantidade, 0);
    EXPECT_EQ(lista.pRegRetornos, nullptr);
  }
  _REG_VARMO_LISTA_RETORNO_IND_EXTPS lista{};
  EXPECT_NE(op_.LeRetornosIndustExterna(Chave(1, kMes - 1), &lista), S_OK);
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPAP", kMes - 1)));
}

}  // namespace
