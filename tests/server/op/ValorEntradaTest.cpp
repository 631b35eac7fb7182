// Valuation of production entries against figures worked out by hand. Orders are saved by the
// handler; their process costs, reports, resource reports and movements are written through the
// record layouts, the consumption movements being real movements posted to the inventory stand-in
// with their unit values, the returns through the returns fixture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "server/op/PPRegistrosOP.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/RetornosOP.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoOP = sizeof(PPDiscoOP);
constexpr uint32_t kTamanhoIT = sizeof(PPDiscoItem);
constexpr uint32_t kTamanhoPR = sizeof(PPDiscoProcesso);
constexpr uint32_t kTamanhoRP = sizeof(PPDiscoRecursoProcesso);

// An amount at eight decimals, as the records and the output hold it.
int64_t V8(double valor) { return std::llround(valor * 1e8); }

template <class Disco>
std::string Bytes(const Disco& disco) {
  return std::string(reinterpret_cast<const char*>(&disco), sizeof disco);
}

// Every period file of the order family.
const char* const kPrefixos[] = {"PPOP", "PPPR", "PPMT", "PPRP", "PPAP", "PPAS", "PPAR", "PPRI", "PPME", "PPLT",
                                 "PPIT", "PPNC", "PPIE", "PPRM", "PPIR", "PPID", "PPPE", "PPEE", "PPTI", "PPIO",
                                 "PPUP", "PPTA", "PPNF", "PPRA", "PPAO", "PPAC", "PPAQ", "PPAI", "PPAD"};

PPDiscoApontamento Interno(int64_t quantidade) {
  PPDiscoApontamento apontamento{};
  apontamento.vQuantidadeApontada.int64 = quantidade;
  apontamento.cTipoProducao = 1;
  return apontamento;
}

PPDiscoApontamentoRecurso Recurso(double custo, uint8_t cPorTempo, uint8_t cTipoCusto, uint8_t cTipo = 1) {
  PPDiscoApontamentoRecurso recurso{};
  recurso.v8Custo.int64 = V8(custo);
  recurso.cCustoTempoPorUnidade = cPorTempo;
  recurso.cTipoCusto = cTipoCusto;
  recurso.cTipo = cTipo;
  return recurso;
}

PPDiscoOperacaoRecurso Operacao(uint16_t usInicio, uint16_t usFim, uint8_t cTipo) {
  PPDiscoOperacaoRecurso operacao{};
  operacao.usDataApontamentoInicial = operacao.usDataApontamentoFinal = DiaFixado();
  operacao.usHoraApontamentoInicial = usInicio;
  operacao.usHoraApontamentoFinal = usFim;
  operacao.cTipoOperacaoProducao = cTipo;
  return operacao;
}

class ValorEntrada : public EmpresaOPRetornos {
 protected:
  void SetUp() override {
    EmpresaOPRetornos::SetUp();
    if (HasFatalFailure()) return;
    SaldoInicialInsumo(1000);
  }

  // An order of one item of `programada` over the processes (each receiving reports as told);
  // every process's costs and situation zeroed/not started, as the tests set them.
  uint32_t Ordem(const std::vector<bool>& recebem, int64_t programada = 10) {
    std::vector<ProcessoOP> processos;
    for (size_t i = 0; i < recebem.size(); ++i)
      processos.push_back({processos_[i % 3], recebem[i], {}, {recurso_}});
    OPTeste op = NovaOP(processos, {{kProdutoFabricado, Quantidade(programada)}});
    const uint32_t chave = GravaNova(op);
    for (size_t i = 0; i < recebem.size(); ++i) Custos(chave, i, 0, 0);
    return chave;
  }
  std::string CabecalhoOP(uint32_t op) const { return Registro("PPOP", kTamanhoOP, QVGetNumeroDaChave(op)); }
  uint32_t RegistroProcesso(uint32_t op, size_t i) const { return U32De(CabecalhoOP(op), 60) + i; }
  std::string Processo(uint32_t op, size_t i) const { return Registro("PPPR", kTamanhoPR, RegistroProcesso(op, i)); }
  int32_t PonteiroProcesso(uint32_t op, size_t i) const { return static_cast<int32_t>(U32De(Processo(op, i), 44)); }
  void AlteraProcesso(uint32_t op, size_t i, size_t deslocamento, const std::string& bytes) {
    Altera("PPPR", kTamanhoPR, RegistroProcesso(op, i), deslocamento, bytes);
  }
  // Indirect cost (K), direct cost per unit, K per internal report.
  void Custos(uint32_t op, size_t i, double indireto, double direto, bool porApontamento = false) {
    AlteraProcesso(op, i, 0, Q(V8(indireto)) + Q(V8(direto)));
    AlteraProcesso(op, i, 98, U8(porApontamento));
  }
  void Situacao(uint32_t op, size_t i, uint8_t cSituacao) { AlteraProcesso(op, i, 95, U8(cSituacao)); }
  void CancelaItem(uint32_t op, int64_t cancelada) {
    Altera("PPIT", kTamanhoIT, U32De(CabecalhoOP(op), 64), 24, Q(cancelada));
  }

  // The report appended to PPAP for process i of the order and to the end of that process's list.
  uint32_t Relata(uint32_t op, size_t i, PPDiscoApontamento apontamento) {
    apontamento.ulRegistroOP = QVGetNumeroDaChave(op);
    apontamento.lPonteiroProcesso = PonteiroProcesso(op, i);
    if (!apontamento.usDataApontamentoInicio) {
      apontamento.usDataApontamentoInicio = apontamento.usDataApontamentoFim = DiaFixado();
    }
    const uint32_t registro = Anexa("PPAP", sizeof apontamento, Bytes(apontamento));
    const std::string processo = Processo(op, i);
    uint32_t primeiro = 0;
    const uint16_t quantidade = U16De(processo, 82);
    for (uint16_t n = 0; n <= quantidade; ++n) {
      const uint32_t entrada = n < quantidade ? U32De(Registro("PPRA", 4, U32De(processo, 68) + n), 0) : registro;
      const uint32_t novo = Anexa("PPRA", 4, U32(entrada));
      if (!primeiro) primeiro = novo;
    }
    AlteraProcesso(op, i, 68, U32(primeiro));
    AlteraProcesso(op, i, 82, U16(quantidade + 1));
    AlteraProcesso(op, i, 94, U8(1));
    return Chave(registro);
  }
  template <class Disco>
  uint32_t Sequencia(const char* prefixo, const std::vector<Disco>& registros) {
    uint32_t primeiro = 0;
    for (const Disco& registro : registros) {
      const uint32_t n = Anexa(prefixo, sizeof registro, Bytes(registro));
      if (!primeiro) primeiro = n;
    }
    return primeiro;
  }

  // A consumption of the input posted to the inventory stand-in at the unit value, and its PPME
  // record (posted, stock type as given); the record's number.
  uint32_t Consumo(double quantidade, double valorUnitario, uint8_t cTipoEstoque = 0) {
    _REG_ES_MOVIMENTOPS movimento{};
    movimento.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
    movimento.vQuantidade.int64 = std::llround(quantidade * kUm);
    movimento.v8ValorUnitario.int64 = V8(valorUnitario);
    movimento.cTipoMovimento = 12;
    movimento.iPonteiroFilial = kFilial;
    movimento.iPonteiroLocalArmazenagem = 1;
    movimento.iDataMovimento = DiaFixado();
    uint32_t numero = 0;
    IQVES_Movimento* estoque = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_QVES_Movimento, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVES_Movimento,
                               reinterpret_cast<void**>(&estoque)),
              S_OK);
    if (!estoque) return 0;
    BSTR empresa = SysAllocString(u"TESTE");
    EXPECT_EQ(estoque->Inicializa(empresa, kUsuarioTeste, 1, kESModuloProducao), S_OK);
    BSTR texto = SysAllocString(u"OP");
    EXPECT_EQ(estoque->GravaMovimento(0, movimento, texto, &numero), S_OK);
    SysFreeString(texto);
    SysFreeString(empresa);
    estoque->Release();
    PPDiscoMovimento disco{};
    disco.vQuantidade = movimento.vQuantidade;
    disco.ulChaveMovimento = QVMontaChave(kMes, numero);
    disco.lPonteiroProduto = kProdutoInsumo;
    disco.cTipoEstoqueArmazenagem = cTipoEstoque;
    disco.cLancado = 1;
    return Anexa("PPME", sizeof disco, Bytes(disco));
  }

  static _REG_VARMO_VALOR_ENTRADA_INPS Entrada(uint32_t op, int32_t processo, double quantidade, uint8_t cCalculoES) {
    _REG_VARMO_VALOR_ENTRADA_INPS entrada{};
    entrada.vQuantidade.int64 = std::llround(quantidade * kUm);
    entrada.lChaveOP = op;
    entrada.lPonteiroProcesso = processo;
    entrada.cCalculoES = cCalculoES;
    return entrada;
  }
  _REG_VARMO_VALOR_ENTRADA_OUTPS Valor(const _REG_VARMO_VALOR_ENTRADA_INPS& entrada) {
    _REG_VARMO_VALOR_ENTRADA_OUTPS saida;
    std::memset(&saida, 0x5a, sizeof saida);
    EXPECT_EQ(op_.CalcularValorEntrada(entrada, &saida, nullptr), S_OK);
    return saida;
  }
  static void Confere(const _REG_VARMO_VALOR_ENTRADA_OUTPS& saida, double percentual, double direto, double indireto,
                      double insumos, const char* caso = "") {
    EXPECT_EQ(saida.v8PercentualApontado.int64, V8(percentual)) << caso;
    EXPECT_EQ(saida.v8ValorCustoDireto.int64, V8(direto)) << caso;
    EXPECT_EQ(saida.v8ValorCustoIndireto.int64, V8(indireto)) << caso;
    EXPECT_EQ(saida.v8ValorCustoInsumos.int64, V8(insumos)) << caso;
  }

  std::vector<std::string> Mes() const {
    std::vector<std::string> arquivos;
    for (const char* prefixo : kPrefixos) arquivos.push_back(Arquivo(prefixo));
    return arquivos;
  }

  // Two processes, both taking reports, an item of 10 (Q = 10).
  // Process 0: K = 2 per internal report, direct 1 per unit. Its reports:
  //   A1 internal, 4, 08:00-10:00: resources R1 per hour without operations 3/h direct (2 h x 3 = 6),
  //      R2 per hour of type 2, operations 'P' 1 h (skipped) and 'X' 30 min, 4/h indirect (0,5 x 4 = 2),
  //      R3 flat 5 indirect; consumption 2 x 1,5 = 3, and one of stock type 1 (not valued);
  //   A2 internal, 1; a removed report of 100.
  //   CYsum 5, n 2, DIRp 6, INDp 7, INSp 3.
  // Process 1: K = 10,12345678, direct 3. Its reports:
  //   B1 internal, 2: not reported resources N1 of process 0 per unit 6 direct (2 x 6 / process 0's
  //      quantity 4 = 3), N2 of process 2 (not before: nothing), N3 of process 0 flat 1,5 indirect;
  //      consumption 1 x 0,125;
  //   B2 internal, 3, after B1.
  void DuasEtapas() {
    op = Ordem({true, true});
    Custos(op, 0, 2, 1, true);
    Custos(op, 1, 10.12345678, 3);
    AlteraProcesso(op, 0, 32, Q(4 * kUm));
    PPDiscoApontamento a1 = Interno(4 * kUm);
    a1.usHoraApontamentoInicio = 8 * 60;
    a1.usHoraApontamentoFim = 10 * 60;
    PPDiscoApontamentoRecurso r2 = Recurso(4, 1, 0, 2);
    r2.ulPrimeiraOperacao = Sequencia<PPDiscoOperacaoRecurso>(
        "PPAO", {Operacao(8 * 60, 9 * 60, 'P'), Operacao(9 * 60, 9 * 60 + 30, 'X')});
    r2.usQuantidadeApontamentoOperacao = 2;
    a1.ulPrimeiroRecurso = Sequencia<PPDiscoApontamentoRecurso>("PPAR", {Recurso(3, 1, 1), r2, Recurso(5, 0, 0)});
    a1.usQtdRecursos = 3;
    a1.ulPrimeiroEstoque = Consumo(2, 1.5);
    Consumo(7, 100, 1);
    a1.usQtdMvtoEstoque = 2;
    Relata(op, 0, a1);
    Relata(op, 0, Interno(1 * kUm));
    PPDiscoApontamento removido = Interno(100 * kUm);
    removido.cExcluido = 1;
    removido.ulPrimeiroEstoque = Consumo(1, 1000);
    removido.usQtdMvtoEstoque = 1;
    Relata(op, 0, removido);

    PPDiscoApontamento b1 = Interno(2 * kUm);
    PPDiscoApontamentoRecurso n1 = Recurso(6, 1, 1), n2 = Recurso(50, 0, 1), n3 = Recurso(1.5, 0, 0);
    n1.lPonteiroProcesso = n3.lPonteiroProcesso = PonteiroProcesso(op, 0);
    n2.lPonteiroProcesso = processos_[2];
    b1.ulPrimeiroRecursoNaoApontado = Sequencia<PPDiscoApontamentoRecurso>("PPAR", {n1, n2, n3});
    b1.usQtdRecursosNaoApontados = 3;
    b1.ulPrimeiroEstoque = Consumo(1, 0.125);
    b1.usQtdMvtoEstoque = 1;
    b1Chave = Relata(op, 1, b1);
    Relata(op, 1, Interno(3 * kUm));
  }

  uint32_t op = 0;
  uint32_t b1Chave = 0;
};

// ---- A new entry and the stored reports ----------------------------------------------------------

// A new entry of 2 at process 1 (cCalculoES 0): process 0 shared out, process 1 by its own data.
// Nothing is written, and the eighth decimal stays.
TEST_F(ValorEntrada, NewEntryValuesEarlierProcessesFromTheirReportsAndItsOwnFromItsCostData) {
  DuasEtapas();
  const std::vector<std::string> antes = Mes();
  const _REG_VARMO_VALOR_ENTRADA_OUTPS saida = Valor(Entrada(op, PonteiroProcesso(op, 1), 2, 0));
  // Process 0: s = 5 / 10 = 0,5; K = 2 x 2 = 4; X1 = 0,5 x (4 + 7) = 5,5; X2 = 0,5 x 6 + 1 x 5 = 8;
  //   t = 2 / 5 = 0,4: IND 2,2, DIR 3,2, INS 0,4 x 3 = 1,2.
  // Process 1 (step 2d): g = 2 / 10: IND 10,12345678 x 0,2 = 2,024691356 -> 2,02469136; DIR 3 x 2 = 6.
  Confere(saida, 0.2, 9.2, 4.22469136, 1.2);
  EXPECT_EQ(Mes(), antes);
}

// The same entry valued from the stored reports of process 1 (cCalculoES 1), rounded to two
// decimals; the stop report keeps B2 out, without it B2 shares the inputs.
TEST_F(ValorEntrada, StoredReportsOfTheEntrysProcessGiveTwoDecimalsAndTheStopReportEndsTheWalk) {
  DuasEtapas();
  _REG_VARMO_VALOR_ENTRADA_INPS entrada = Entrada(op, PonteiroProcesso(op, 1), 2, 1);
  entrada.lChaveApontamento = b1Chave;
  // Process 0 as before: IND 2,2, DIR 3,2, INS 1,2.
  // Process 1 (entry's): CYsum 2, DIRp 3 (N1), INDp 1,5 (N3), INSp 0,125; f = 0,2;
  //   IND 0,2 x (10,12345678 + 1,5) = 2,32469136; DIR 3 x 2 + 0,2 x 3 = 6,6; t = 2 / 2: INS 0,125.
  // Totals 9,8 / 4,52469136 / 1,325 -> two decimals: 9,8 / 4,52 / 1,33.
  Confere(Valor(entrada), 0.2, 9.8, 4.52, 1.33, "stop at B1");
  // Without the stop: CYsum 5, t = 2 / 5 = 0,4: INS 1,2 + 0,05 = 1,25.
  entrada.lChaveApontamento = 0;
  Confere(Valor(entrada), 0.2, 9.8, 4.52, 1.25, "whole list");
}

// A process that is over (or stopped) replaces Q by what its reports made; items summing to 0 give
// 0 % and no share of the entry's process cost data.
TEST_F(ValorEntrada, ConcludedProcessReplacesTheBaseQuantityAndItemsOfZeroGiveNothingOfTheirShare) {
  DuasEtapas();
  const _REG_VARMO_VALOR_ENTRADA_INPS entrada = Entrada(op, PonteiroProcesso(op, 1), 2, 0);
  for (uint8_t cSituacao : {50, 49, 61, 62}) {
    Situacao(op, 0, cSituacao);
    // Q = 4 + 1 = 5. Process 0: s = 1; X1 = 11; X2 = 6 + 5 = 11; t = 0,4: IND 4,4, DIR 4,4, INS 1,2.
    // Process 1: g = 2 / 5: IND 10,12345678 x 0,4 = 4,04938271; DIR 6.
    Confere(Valor(entrada), 0.4, 10.4, 8.44938271, 1.2, std::to_string(cSituacao).c_str());
  }
  Situacao(op, 0, 3);
  CancelaItem(op, 10 * kUm);
  // Q = 0: s = 0 and g = 0. Process 0: X2 = 1 x 5 = 5, t = 0,4: DIR 2, INS 1,2. Process 1: DIR 6.
  Confere(Valor(entrada), 0, 8, 0, 1.2, "items of 0");
}

// An outsourced report: its returns' quantities, the returns' input movements of stock type 0 and
// its own consumption, and the outsourcing cost of what came back; its resources do not count.
TEST_F(ValorEntrada, OutsourcedReportCountsItsReturnsTheirInputsAndTheOutsourcingCost) {
  op = Ordem({true, true});
  PPDiscoApontamento externo{};
  externo.vQuantidadeApontada.int64 = 6 * kUm;
  externo.v8CustoTerceirizacao.int64 = V8(2.5);
  externo.ulPrimeiroRecurso = Sequencia<PPDiscoApontamentoRecurso>("PPAR", {Recurso(100, 0, 1)});
  externo.usQtdRecursos = 1;
  externo.ulPrimeiroEstoque = Consumo(1, 4);
  externo.usQtdMvtoEstoque = 1;
  const uint32_t ap = Relata(op, 0, externo);
  const uint32_t movimentos = Consumo(2, 1);
  Consumo(5, 9, 1);
  DaRetornos(ap, {{.retornada = 3, .primeiroMovimento = movimentos, .movimentos = 2}, {.retornada = 1}});

  // QEXT 4, INSp 2 x 1 + 1 x 4 = 6, OUTp 4 x 2,5 = 10. Process 0: X2 = 10; t = 2 / 4 = 0,5:
  // DIR 5, INS 3. Process 1 (no cost data): nothing.
  Confere(Valor(Entrada(op, PonteiroProcesso(op, 1), 2, 0)), 0.2, 5, 0, 3);
}

// Offset 179 of the order decides whether a process without reports adds its cost data.
TEST_F(ValorEntrada, ProcessWithoutReportsAddsItsCostDataUnlessTheOrderCostsOnlyReportedProcesses) {
  op = Ordem({false, true});
  Custos(op, 0, 4, 0.5);
  Custos(op, 1, 1, 1);
  // Process 0: g = 2 / 10: IND 4 x 0,2 = 0,8, DIR 0,5 x 2 = 1. Process 1: IND 1 x 0,2, DIR 1 x 2.
  Confere(Valor(Entrada(op, PonteiroProcesso(op, 1), 2, 0)), 0.2, 3, 1, 0, "179 = 0");
  Altera("PPOP", kTamanhoOP, QVGetNumeroDaChave(op), 179, U8(1));
  Confere(Valor(Entrada(op, PonteiroProcesso(op, 1), 2, 0)), 0.2, 2, 0.2, 0, "179 = 1");
}

// ---- Reprocess chains ------------------------------------------------------------------------------

// X, Y and Z of two processes each; direct cost per unit X 1 / 2, Y 10 / 20, Z 100 / 200; items
// X 10, Y 2, Z 1. X's A (process 0, 2) made Y; Y's B (process 0, 1) made Z; Y's last-process C (2)
// continues A; Z has Z0 (process 0, 1) and its last-process D (1) continues `origemD`.
class ValorEntradaReprocesso : public ValorEntrada {
 protected:
  void Cadeia(bool bCirculo) {
    x = Ordem({true, true}, 10);
    y = Ordem({true, true}, 2);
    z = Ordem({true, true}, 1);
    Custos(x, 0, 0, 1), Custos(x, 1, 0, 2);
    Custos(y, 0, 0, 10), Custos(y, 1, 0, 20);
    Custos(z, 0, 0, 100), Custos(z, 1, 0, 200);
    PPDiscoApontamento a = Interno(2 * kUm);
    a.cGerouReprocesso = 1;
    a.ulChaveOPReprocesso = y;
    chaveA = Relata(x, 0, a);
    PPDiscoApontamento b = Interno(1 * kUm);
    b.cGerouReprocesso = 1;
    b.ulChaveOPReprocesso = z;
    const uint32_t chaveB = Relata(y, 0, b);
    PPDiscoApontamento c = Interno(2 * kUm);
    c.cUltimoProcesso = 1;
    c.ulChaveApontamentoOPOrigem = chaveA;
    Relata(y, 1, c);
    Relata(z, 0, Interno(1 * kUm));
    PPDiscoApontamento d = Interno(1 * kUm);
    d.cUltimoProcesso = 1;
    d.ulChaveApontamentoOPOrigem = bCirculo ? chaveA : chaveB;
    Relata(z, 1, d);
  }
  uint32_t x = 0, y = 0, z = 0, chaveA = 0;
};

// Valued from X (entry of 4 at process 1):
// Z (vQ 1, last process): Z0 s = 1, t = 1: 100; D continues B: Y up to B for 1 (B would make Z,
//   the order that asks: not followed): f = 1 / 2, DIR 10 x 1 = 10; D's own: 200 x 1. Z = 310.
// Y (vQ 2, last process): B makes Z for 1: r = 2 / 1: 620; B: s = 1 / 2, X2 = 10 x 1, t = 2: 20;
//   C continues A: X up to A for 2 (A would make Y, who asks: not followed): 1 x 2 = 2;
//   C's own: 20 x 2 = 40. Y = 682.
// X: A makes Y for 2: r = 4 / 2: 1364; A: X2 = 1 x 2, t = 4 / 2: 4; process 1: 2 x 4 = 8. 1376.
// Valued from Y's new entry of 2 (origin A): Z 310 x 2 + 20, then A's X for 2 added as it is (2),
// then 20 x 2: 682.
TEST_F(ValorEntradaReprocesso, ThreeOrderChainKeepsItsValueFromTheOriginAndFromTheReprocessOrder) {
  Cadeia(false);
  Confere(Valor(Entrada(x, PonteiroProcesso(x, 1), 4, 0)), 0.4, 1376, 0, 0, "from X");
  _REG_VARMO_VALOR_ENTRADA_INPS entrada = Entrada(y, PonteiroProcesso(y, 1), 2, 0);
  entrada.ulChaveOPOrigem = chaveA;
  Confere(Valor(entrada), 1, 682, 0, 0, "from Y");
}

// Z's D names X's A: X -> Y -> Z -> X (up to A) -> Y again with the arguments of the Y already under
// way, which counts 0:
// X up to A for 1 (vQ 1): A's Y is a repeat: 0; f = 1 / 10, DIR 1 x 1 = 1.
// Z = 100 + 1 + 200 = 301; Y = 2 x 301 + 20 + 2 + 40 = 664; X = 2 x 664 + 4 + 8 = 1340.
TEST_F(ValorEntradaReprocesso, OriginKeysClosingACircleEndWithTheRepeatedValuationCountedZero) {
  Cadeia(true);
  Confere(Valor(Entrada(x, PonteiroProcesso(x, 1), 4, 0)), 0.4, 1340, 0, 0);
}

// ---- Resources of processes without reports --------------------------------------------------------

// Four processes: 0 without reports (counted, then forgotten), 1 with reports, 2 without reports
// (counted), 3 the reported one (its resources never count).
TEST_F(ValorEntrada, ResourcesNotReportedCountOnlyTheRunJustBeforeTheReportedProcess) {
  op = Ordem({false, true, false, true});
  for (size_t i = 0; i < 4; ++i) AlteraProcesso(op, i, 44, U32(901 + i));
  struct Plano {
    size_t processo;
    double custo;
    uint8_t cPorUnidade, cDireto;
  };
  AlteraProcesso(op, 0, 32, Q(6 * kUm));
  AlteraProcesso(op, 2, 32, Q(4 * kUm));
  for (const Plano& plano : {Plano{0, 8, 1, 1}, Plano{2, 10, 1, 0}, Plano{3, 1000, 0, 1}}) {
    const uint32_t registro = U32De(Processo(op, plano.processo), 56);
    Altera("PPRP", kTamanhoRP, registro, 16, Q(V8(plano.custo)));
    Altera("PPRP", kTamanhoRP, registro, 38, U8(plano.cPorUnidade) + U8(plano.cDireto));
  }
  // A second resource of process 2, flat 6 direct: appended as the process's run grows by one.
  const uint32_t primeiro = U32De(Processo(op, 2), 56);
  std::string segundo = Registro("PPRP", kTamanhoRP, primeiro);
  segundo.replace(16, 8, Q(V8(6)));
  segundo.replace(38, 2, U8(0) + U8(1));
  const uint32_t novo = Anexa("PPRP", kTamanhoRP, Registro("PPRP", kTamanhoRP, primeiro));
  Anexa("PPRP", kTamanhoRP, segundo);
  AlteraProcesso(op, 2, 56, U32(novo));
  AlteraProcesso(op, 2, 76, U16(2));

  _REG_VARMO_VALOR_ENTRADA_INPS entrada = Entrada(op, 904, 3, 0);
  entrada.v8PercentualApontado.int64 = V8(0.25);
  _REG_VARMO_VALOR_ENTRADA_OUTPS saida;
  std::memset(&saida, 0x5a, sizeof saida);
  ASSERT_EQ(op_.CalcularValorRecursosNaoApontados(entrada, &saida), S_OK);
  // Process 0: 3 x 8 / 6 = 4 direct, dropped at process 1. Process 2: 3 x 10 / 4 = 7,5 indirect;
  // 0,25 x 6 = 1,5 direct.
  Confere(saida, 0, 1.5, 7.5, 0);
}

// ---- Failures ----------------------------------------------------------------------------------------

TEST_F(ValorEntrada, BeforeInicializaBothAnswer1585AndAFailedInventoryReadEndsTheValuation) {
  CPPServidorOP fechado;
  _REG_VARMO_VALOR_ENTRADA_OUTPS saida{};
  EXPECT_EQ(fechado.CalcularValorEntrada({}, &saida, nullptr), Erro(1585));
  EXPECT_EQ(fechado.CalcularValorRecursosNaoApontados({}, &saida), Erro(1585));

  DuasEtapas();
  estoque_.Movimento.FalhaMetodo("LeMovimento", 1, E_FAIL);
  std::memset(&saida, 0x5a, sizeof saida);
  EXPECT_EQ(op_.CalcularValorEntrada(Entrada(op, PonteiroProcesso(op, 1), 2, 0), &saida, nullptr), E_FAIL);
  EXPECT_EQ(op_.CalcularValorEntrada(Entrada(Chave(0), 0, 2, 0), &saida, nullptr), Erro(1591));
  EXPECT_EQ(op_.CalcularValorEntrada(Entrada(Chave(1, kMes - 1), 0, 2, 0), &saida, nullptr), Erro(1616));
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPOP", kMes - 1)));
}

}  // namespace
