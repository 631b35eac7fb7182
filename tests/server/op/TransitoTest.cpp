// Transit of a return between outside processors: the reports that the latest return of an
// outsourced report sends on. The orders and the outsourced report are recorded by the handler; the
// return with its processors in transit (PPTI), their orders (PPIO) and the last-process entries
// (PPUP) is written through its byte layout, and the transit runs as the recording of the return
// runs it. The end-to-end cases record and take back the return through the handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "server/idl/Varmo.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/RetornosOP.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoAP = 200;

// A processor in transit as PPTI holds it, before the transit fills in what it made.
std::string Industrializador(int64_t enviada, int64_t custo8, int32_t industrializador, uint32_t primeiraOP = 0,
                             uint16_t ops = 0, bool novaOP = false) {
  return Q(enviada * kUm) + Q(custo8) + U32(industrializador) + U32(0) + U32(primeiraOP) + U16(0) + U16(ops) +
         U8(novaOP) + std::string(31, '\0');
}
std::string OrdemTransito(int64_t quantidade, uint32_t chaveOP, uint32_t chaveApontamento = 0, bool reutiliza = false) {
  return Q(quantidade * kUm) + U32(chaveOP) + U32(chaveApontamento) + U8(reutiliza) + std::string(19, '\0');
}
std::string UltimoProcesso(int64_t quantidade, uint16_t indice) {
  return Q(quantidade * kUm) + U32(0) + U16(indice) + U16(0);
}

class Transito : public EmpresaOPRetornos {
 protected:
  // An order of the processes given (pointer, receives reports) with these items.
  uint32_t Ordem(const std::vector<ProcessoOP>& processos, std::vector<ItemOP> itens = {}) {
    if (itens.empty()) itens.push_back({kProdutoFabricado, Quantidade(100)});
    OPTeste op = NovaOP(processos, itens);
    return GravaNova(op);
  }
  // Three processes, all receiving reports.
  uint32_t OrdemSimples() { return Ordem({{processos_[0], true}, {processos_[1], true}, {processos_[2], true}}); }


  HRESULT Processa(uint32_t chaveApontamento) {
    return (op_.*Passo(ProcessaTransitoRetorno{}))(kMes, QVGetNumeroDaChave(chaveApontamento));
  }

  // PPPR record of the order's process i; PPIT record of its item i.
  uint32_t RegistroProcesso(uint32_t chaveOP, uint32_t i) const {
    return U32De(Registro("PPOP", 256, QVGetNumeroDaChave(chaveOP)), 60) + i;
  }
  uint32_t RegistroItem(uint32_t chaveOP, uint32_t i) const {
    return U32De(Registro("PPOP", 256, QVGetNumeroDaChave(chaveOP)), 64) + i;
  }
  void CustoTerceirizacao(uint32_t chaveOP, uint32_t i, int64_t custo8) {
    Altera("PPPR", 128, RegistroProcesso(chaveOP, i), 16, Q(custo8));
  }
  uint32_t Relatorios() const { return QuantidadeRegistros("PPAP", kTamanhoAP); }

};

// ---- Direct runs on returns written through their layout --------------------------------------------

// Each processor that goes on within the order gets a report of kind 1 on the first process with
// own reports after A's (the one without reports between is passed over, the last never takes
// one), with A's invoice, operation, source and item, the return's date, its own processor and
// cost (the process's cost when it has none); its key lies in the processor's PPTA record.
TEST_F(Transito, EachProcessorGetsAKind1ReportOnTheNextProcessWithOwnReports) {
  const uint32_t op = Ordem({{processos_[0], true}, {processos_[1], false}, {processos_[2], true}, {processos_[1], true}});
  const uint32_t ap = Externo(op, 6);
  const uint32_t origem = GravaRelato(Relato(op, processos_[0], 0));
  AlteraRelatorio(ap, 60, U32(77));
  AlteraRelatorio(ap, 64, U32(4321));
  AlteraRelatorio(ap, 140, U32(origem));
  AlteraRelatorio(ap, 158, U16(2));
  CustoTerceirizacao(op, 2, 250000000);
  const uint32_t ti = Anexa("PPTI", 64, Industrializador(2, 123456789, 8));
  Anexa("PPTI", 64, Industrializador(3, 0, 9));
  DaRetornos(ap, {{.retornada = 6, .entrada = 55, .data = Maio(12), .hora = 600, .primeiroTI = ti, .ti = 2,
                   .transito = true}});
  const uint32_t antes = Relatorios();

  ASSERT_EQ(Processa(ap), S_OK);
  ASSERT_EQ(Relatorios(), antes + 2);
  const struct {
    int64_t quantidade, custo;
    int32_t industrializador;
  } esperados[] = {{2, 123456789, 8}, {3, 250000000, 9}};
  for (uint32_t i = 0; i < 2; ++i) {
    const uint32_t n = antes + 1 + i;
    const std::string x = Registro("PPAP", kTamanhoAP, n);
    EXPECT_EQ(QDe(x, 0), esperados[i].quantidade * kUm) << i;
    EXPECT_EQ(QDe(x, 48), esperados[i].custo) << i;
    EXPECT_EQ(U32De(x, 60), 77u);
    EXPECT_EQ(U32De(x, 64), 4321u);
    EXPECT_EQ(U32De(x, 80), QVGetNumeroDaChave(op));
    EXPECT_EQ(static_cast<int32_t>(U32De(x, 84)), operacao_);
    EXPECT_EQ(static_cast<int32_t>(U32De(x, 88)), processos_[2]);
    EXPECT_EQ(static_cast<int32_t>(U32De(x, 132)), esperados[i].industrializador);
    EXPECT_EQ(U32De(x, 140), origem);
    EXPECT_EQ(U16De(x, 144), Maio(12));
    EXPECT_EQ(U16De(x, 146), 600);
    EXPECT_EQ(U16De(x, 158), 2);
    EXPECT_EQ(U8De(x, 174), 1);
    EXPECT_EQ(U8De(x, 175), 0) << "outsourced";
    EXPECT_EQ(U8De(x, 183), 1);
    const std::string t = Registro("PPTI", 64, ti + i);
    ASSERT_NE(U32De(t, 20), 0u);
    EXPECT_EQ(U32De(Registro("PPTA", 4, U32De(t, 20)), 0), Chave(n));
    EXPECT_EQ(U16De(t, 28), 1);
  }
  const std::string r = Registro("PPRI", kTamanhoRI, U32De(Relatorio(ap), 96));
  EXPECT_EQ(U16De(r, 64), 0) << "no pooled report";
}

// Processors that start a new order are pooled into one report of kind 2 for A's outsourcer, from
// A's start, at the process's cost, closed at once by an automatic return of the pool that carries
// the triggering return's receipt document or pending invoice, date and forced closing; its key is
// the return's list (offsets 44/64). The processor that goes on within the order keeps its own.
TEST_F(Transito, NewOrderProcessorsArePooledIntoOneReportClosedByAnAutomaticReturn) {
  const struct {
    const char* caso;
    uint32_t entrada;
    bool nota;
  } casos[] = {{"with its receipt document", 55, false}, {"with its pending invoice", 0, true}};
  for (const auto& caso : casos) {
    const uint32_t op = OrdemSimples();
    const uint32_t ap = Externo(op, 6);
    CustoTerceirizacao(op, 1, 310000000);
    const uint32_t ti = Anexa("PPTI", 64, Industrializador(2, 111, 8, 0, 0, true));
    Anexa("PPTI", 64, Industrializador(1, 0, 9));
    Anexa("PPTI", 64, Industrializador(1, 222, 10, 0, 0, true));
    const uint32_t nf = caso.nota ? NotaPendente(ap) : 0;
    DaRetornos(ap, {{.retornada = 6, .entrada = caso.entrada, .nf = nf, .data = Maio(13), .hora = 700,
                     .primeiroTI = ti, .ti = 3, .encerramento = true, .transito = true}});
    const uint32_t antes = Relatorios();

    ASSERT_EQ(Processa(ap), S_OK) << caso.caso;
    ASSERT_EQ(Relatorios(), antes + 2) << caso.caso;
    EXPECT_EQ(static_cast<int32_t>(U32De(Registro("PPAP", kTamanhoAP, antes + 1), 132)), 9) << caso.caso;
    const uint32_t y = antes + 2;
    const std::string pool = Registro("PPAP", kTamanhoAP, y);
    EXPECT_EQ(QDe(pool, 0), 3 * kUm) << caso.caso;
    EXPECT_EQ(QDe(pool, 48), 310000000) << caso.caso;
    EXPECT_EQ(static_cast<int32_t>(U32De(pool, 88)), processos_[1]) << caso.caso;
    EXPECT_EQ(U32De(pool, 132), 5u) << caso.caso;
    EXPECT_EQ(U16De(pool, 144), DiaFixado()) << caso.caso;
    EXPECT_EQ(U16De(pool, 146), 8 * 60) << caso.caso;
    EXPECT_EQ(U8De(pool, 183), 2) << caso.caso;
    EXPECT_EQ(U16De(Registro("PPTI", 64, ti), 28), 0) << caso.caso << ": pooled processors name no report";

    ASSERT_EQ(U16De(pool, 164), 1) << caso.caso;
    const std::string automatico = Registro("PPRI", kTamanhoRI, U32De(pool, 96));
    EXPECT_EQ(QDe(automatico, 0), 3 * kUm) << caso.caso;
    EXPECT_EQ(U32De(automatico, 16), caso.entrada) << caso.caso;
    EXPECT_EQ(U32De(automatico, 24), nf) << caso.caso;
    EXPECT_EQ(U16De(automatico, 48), Maio(13)) << caso.caso;
    EXPECT_EQ(U16De(automatico, 50), 700) << caso.caso;
    EXPECT_EQ(U8De(automatico, 67), 1) << caso.caso;
    EXPECT_EQ(U8De(automatico, 69), 1) << caso.caso;

    const std::string r = Registro("PPRI", kTamanhoRI, U32De(Relatorio(ap), 96));
    ASSERT_EQ(U16De(r, 64), 1) << caso.caso;
    EXPECT_EQ(U32De(Registro("PPTA", 4, U32De(r, 44)), 0), Chave(y)) << caso.caso;
  }
}

// A last-process entry becomes a report of kind 2 on the order's last process for the item at
// its index (source, origin, line and kind of the item; gross quantity too when the process weighs
// gross), dated by the return; its record goes into the entry. An entry of quantity 0 records
// nothing. The pooled report reached the middle process, so that the last one may report.
TEST_F(Transito, LastProcessEntriesReportTheirItemAndZeroQuantityRecordsNothing) {
  const uint32_t op = Ordem({{processos_[0], true}, {processos_[1], true}, {processos_[2], true}},
                            {{kProdutoFabricado, Quantidade(100)},
                             {kProdutoFabricado, Quantidade(100), 1, 0, 3}});
  const uint32_t ap = Externo(op, 6);
  Altera("PPPR", 128, RegistroProcesso(op, 2), 96, U8(1));
  Altera("PPIT", 90, RegistroItem(op, 1), 44, U32(0));
  const uint32_t ti = Anexa("PPTI", 64, Industrializador(4, 0, 8, 0, 0, true));
  const uint32_t up = Anexa("PPUP", 16, UltimoProcesso(0, 0));
  Anexa("PPUP", 16, UltimoProcesso(3, 1));
  DaRetornos(ap, {{.retornada = 6, .entrada = 55, .data = Maio(14), .hora = 800, .primeiroTI = ti, .primeiroUP = up,
                   .ti = 1, .up = 2, .transito = true}});
  const uint32_t antes = Relatorios();

  ASSERT_EQ(Processa(ap), S_OK);
  ASSERT_EQ(Relatorios(), antes + 2) << "the pool and one last-process report";
  EXPECT_EQ(U32De(Registro("PPUP", 16, up), 8), 0u);
  const uint32_t w = U32De(Registro("PPUP", 16, up + 1), 8);
  ASSERT_EQ(w, antes + 2);
  const std::string ultimo = Registro("PPAP", kTamanhoAP, w);
  EXPECT_EQ(QDe(ultimo, 0), 3 * kUm);
  EXPECT_EQ(QDe(ultimo, 8), 3 * kUm) << "the last process weighs gross";
  EXPECT_EQ(static_cast<int32_t>(U32De(ultimo, 88)), processos_[2]);
  EXPECT_EQ(static_cast<int32_t>(U32De(ultimo, 84)), operacao_);
  EXPECT_EQ(U16De(ultimo, 144), Maio(14));
  EXPECT_EQ(U16De(ultimo, 146), 800);
  EXPECT_EQ(U16De(ultimo, 148), Maio(14));
  EXPECT_EQ(U16De(ultimo, 150), 800);
  EXPECT_EQ(U16De(ultimo, 158), 3) << "the item's line";
  EXPECT_EQ(U8De(ultimo, 174), 1);
  EXPECT_EQ(U8De(ultimo, 175), 1) << "made in the plant";
  EXPECT_EQ(U8De(ultimo, 180), 1);
  EXPECT_EQ(U8De(ultimo, 183), 2);
  EXPECT_EQ(QDe(Registro("PPIT", 90, RegistroItem(op, 1)), 8), 3 * kUm) << "the item at the index produced it";
}

// A processor's orders: an order that goes on gets a report of kind 3 on its first process with own
// reports, at that process's cost, for the processor, its key in the order entry; a reused report
// gets A's key appended to its linked reports (bytes 128/170), where the return's removal unlinks it.
TEST_F(Transito, ProcessorOrdersGetAKind3ReportOrLinkTheReusedReport) {
  const uint32_t op = OrdemSimples();
  const uint32_t ap = Externo(op, 6);
  const uint32_t outra = Ordem({{processos_[1], false}, {processos_[2], true}, {processos_[0], true}});
  CustoTerceirizacao(outra, 1, 420000000);
  const uint32_t reutilizado = GravaRelato(Relato(op, processos_[0], 0));
  const uint32_t vinculado = Chave(66);
  AlteraRelatorio(reutilizado, 128, U32(Chaves({vinculado})));
  AlteraRelatorio(reutilizado, 170, U16(1));
  AlteraRelatorio(ap, 64, U32(4321));
  const uint32_t io = Anexa("PPIO", 36, OrdemTransito(2, outra));
  Anexa("PPIO", 36, OrdemTransito(1, op, reutilizado, true));
  const uint32_t ti = Anexa("PPTI", 64, Industrializador(3, 0, 8, io, 2, true));
  DaRetornos(ap, {{.retornada = 6, .entrada = 55, .data = Maio(15), .hora = 900, .primeiroTI = ti, .ti = 1,
                   .transito = true}});
  const uint32_t antes = Relatorios();

  ASSERT_EQ(Processa(ap), S_OK);
  ASSERT_EQ(Relatorios(), antes + 2) << "the pool and the other order's report";
  const uint32_t v = U32De(Registro("PPIO", 36, io), 12);
  ASSERT_EQ(v, Chave(antes + 2));
  const std::string outro = Relatorio(v);
  EXPECT_EQ(QDe(outro, 0), 2 * kUm);
  EXPECT_EQ(QDe(outro, 48), 420000000);
  EXPECT_EQ(U32De(outro, 64), 4321u);
  EXPECT_EQ(U32De(outro, 80), QVGetNumeroDaChave(outra));
  EXPECT_EQ(static_cast<int32_t>(U32De(outro, 88)), processos_[2]);
  EXPECT_EQ(U32De(outro, 132), 8u);
  EXPECT_EQ(U16De(outro, 144), Maio(15));
  EXPECT_EQ(U8De(outro, 175), 0);
  EXPECT_EQ(U8De(outro, 183), 3);

  EXPECT_EQ(U32De(Registro("PPIO", 36, io + 1), 12), reutilizado) << "a reused report stays named";
  const std::string reuso = Relatorio(reutilizado);
  ASSERT_EQ(U16De(reuso, 170), 2);
  EXPECT_EQ(U32De(Registro("PPTA", 4, U32De(reuso, 128)), 0), vinculado);
  EXPECT_EQ(U32De(Registro("PPTA", 4, U32De(reuso, 128) + 1), 0), ap);
  EXPECT_EQ(U16De(reuso, 198), 0) << "its imported keys untouched";
}

// An order in transit with no process with own reports before its last: 1712; an entry whose item
// index lies past the order's items: 1587, nothing recorded for it.
TEST_F(Transito, OrderWithoutProcessBeforeItsLastAndItemPastTheOrderAreRefused) {
  const uint32_t op = Ordem({{processos_[0], true}, {processos_[1], true}});
  const uint32_t ap = Externo(op, 6);
  const uint32_t semProcesso = Ordem({{processos_[1], false}, {processos_[2], true}});
  const uint32_t io = Anexa("PPIO", 36, OrdemTransito(1, semProcesso));
  const uint32_t ti = Anexa("PPTI", 64, Industrializador(1, 0, 8, io, 1, true));
  DaRetornos(ap, {{.retornada = 6, .entrada = 55, .primeiroTI = ti, .ti = 1, .transito = true}});
  uint32_t antes = Relatorios();
  EXPECT_EQ(Processa(ap), Erro(1712));
  EXPECT_EQ(Relatorios(), antes);

  const uint32_t up = Anexa("PPUP", 16, UltimoProcesso(1, 1));
  DaRetornos(ap, {{.retornada = 6, .entrada = 56, .primeiroUP = up, .up = 1, .transito = true}});
  antes = Relatorios();
  EXPECT_EQ(Processa(ap), Erro(1587));
  EXPECT_EQ(Relatorios(), antes);
  EXPECT_EQ(U32De(Registro("PPUP", 16, up), 8), 0u);
}

// ---- Through the recording of a return --------------------------------------------------------------

class TransitoRetorno : public Transito {
 protected:
  void SetUp() override {
    Transito::SetUp();
    if (HasFatalFailure()) return;
    SaldoInicialInsumo(10);
  }

  // A transit return of 6 with the return's consumption of 2 of the input.
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS Entrada(uint32_t op, uint32_t ap) {
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg{};
    reg.ulChaveOP = op;
    reg.ulPonteiroApontamento = QVGetNumeroDaChave(ap);
    _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& r = reg.regRetorno;
    r.vQuantidadeRetornada.int64 = 6 * kUm;
    r.lPonteiroRegistroEntrada = 55;
    r.cGeraTransitoIndustrializacao = 1;
    baixa_.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
    baixa_.vQuantidade.int64 = 2 * kUm;
    baixa_.cTipoMovimento = 12;
    baixa_.iPonteiroFilial = kFilial;
    baixa_.iPonteiroLocalArmazenagem = 1;
    r.usQtdMvtoEstoque = 1;
    r.pregMovimentos = &baixa_;
    r.usQtdIndustrializadores = static_cast<uint16_t>(industrializadores_.size());
    r.pregIndustrializadores = industrializadores_.data();
    r.usQtdApontUltProcesso = static_cast<uint16_t>(ultimos_.size());
    r.pregApontUltProcesso = ultimos_.data();
    return reg;
  }
  void Industrializador(int64_t enviada, int32_t industrializador, bool novaOP,
                        std::vector<_REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS>* ordens = nullptr) {
    _REG_PP_TRANSITO_INDUSTRIALIZADORESPS t{};
    t.vQuantidadeEnviada.int64 = enviada * kUm;
    t.lPonteiroIndustrializador = industrializador;
    t.cIniciarNovaOP = novaOP;
    if (ordens) {
      t.usQtdOP = static_cast<uint16_t>(ordens->size());
      t.pregOP = ordens->data();
    }
    industrializadores_.push_back(t);
  }
  std::vector<uint32_t> Gerados(uint32_t antes) const {
    std::vector<uint32_t> gerados;
    for (uint32_t n = antes + 1; n <= Relatorios(); ++n) gerados.push_back(n);
    return gerados;
  }

  _REG_ES_MOVIMENTOPS baixa_{};
  std::vector<_REG_PP_TRANSITO_INDUSTRIALIZADORESPS> industrializadores_;
  std::vector<_REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS> ultimos_;
};

// What the transit makes is found again by the return's removal: every report it made is removed
// (the pool with its automatic return), the reused report unlinked, the consumption back in stock.
TEST_F(TransitoRetorno, RecordedTransitIsTakenBackWholeWithItsReturn) {
  const uint32_t op = OrdemSimples();
  const uint32_t ap = Externo(op, 6);
  const uint32_t reutilizado = GravaRelato(Relato(op, processos_[0], 0));
  const uint32_t outra = OrdemSimples();
  std::vector<_REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS> ordens(2);
  ordens[0].vQuantidadeApontada.int64 = 1 * kUm;
  ordens[0].ulChaveOP = outra;
  ordens[1].ulChaveOP = op;
  ordens[1].ulChaveApontamento = reutilizado;
  ordens[1].cReutilizarApontamento = 1;
  Industrializador(2, 8, false);
  Industrializador(3, 9, true, &ordens);
  ultimos_.push_back({});
  ultimos_[0].vQuantidade.int64 = 2 * kUm;
  const int64_t estoque = Saldo(kProdutoInsumo);
  const uint32_t antes = Relatorios();

  uint32_t pntr = 0;
  ASSERT_EQ(op_.GravaApontamentoRetornoIndustrializacao(Entrada(op, ap), &pntr, 1), S_OK);
  const std::vector<uint32_t> gerados = Gerados(antes);
  ASSERT_EQ(gerados.size(), 4u) << "processor, pool, last process, other order";
  EXPECT_EQ(U16De(Relatorio(reutilizado), 170), 1);
  EXPECT_EQ(Saldo(kProdutoInsumo), estoque - 2 * kUm);

  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS nome{};
  nome.ulChaveOP = op;
  nome.ulPonteiroApontamento = QVGetNumeroDaChave(ap);
  nome.regRetorno.lPonteiroRegistroEntrada = 55;
  ASSERT_EQ(op_.RemoveApontamentoRetornoIndustrializacao(nome, 1), S_OK);
  for (uint32_t n : gerados) EXPECT_EQ(U8De(Registro("PPAP", kTamanhoAP, n), 176), 1) << n;
  EXPECT_EQ(U16De(Relatorio(reutilizado), 170), 0);
  EXPECT_EQ(U8De(Relatorio(reutilizado), 176), 0) << "reused, not removed";
  EXPECT_EQ(U16De(Relatorio(ap), 164), 0);
  EXPECT_EQ(Saldo(kProdutoInsumo), estoque);
}

// The third report fails (its processor names no outsourcer: 1723): the return is taken back with
// the two reports already made, and the stock holds what it held before the return.
TEST_F(TransitoRetorno, FailureOfTheThirdReportTakesTheReturnBackWithTheReportsMade) {
  const uint32_t op = OrdemSimples();
  const uint32_t ap = Externo(op, 6);
  Industrializador(1, 8, false);
  Industrializador(2, 9, false);
  Industrializador(1, 0, false);
  const int64_t estoque = Saldo(kProdutoInsumo);
  const uint32_t antes = Relatorios();

  uint32_t pntr = 99;
  EXPECT_EQ(op_.GravaApontamentoRetornoIndustrializacao(Entrada(op, ap), &pntr, 1), Erro(1723));
  EXPECT_EQ(pntr, 0u);
  const std::vector<uint32_t> gerados = Gerados(antes);
  ASSERT_EQ(gerados.size(), 2u);
  for (uint32_t n : gerados) EXPECT_EQ(U8De(Registro("PPAP", kTamanhoAP, n), 176), 1) << n;
  EXPECT_EQ(U16De(Relatorio(ap), 164), 0);
  EXPECT_EQ(Saldo(kProdutoInsumo), estoque);
}

}  // namespace
