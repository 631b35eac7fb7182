// Recording production reports: the refusals, each of which leaves the month's files as they were;
// the report record, the process's report index, the imported-report marks; the balance offered to
// clients; and the class through COM. The postings to the inventory and sales servers are the
// movements' own tests; here they are seen only through what the report keeps of them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/kelmar/CConexaoFornecedor.h"
#include "platform/win32/clock.h"
#include "platform/win32/codepage.h"
#include "server/PPDatas.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/idl/Varmo.h"
#include "tests/server/EmpresaAtualizacao.h"
#include "tests/server/op/EmpresaOPFamilia.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoAP = 200;
constexpr uint32_t kTamanhoPR = 128;
constexpr uint32_t kTamanhoIT = 90;

// Every period file of the order family that a report could touch.
const char* const kPrefixos[] = {"PPOP", "PPPR", "PPMT", "PPRP", "PPAP", "PPAS", "PPAR", "PPRI", "PPME", "PPLT",
                                 "PPIT", "PPNC", "PPIE", "PPRM", "PPIR", "PPID", "PPPE", "PPEE", "PPTI", "PPIO",
                                 "PPUP", "PPTA", "PPNF", "PPRA", "PPAO", "PPAC", "PPAQ", "PPAI", "PPAD"};

_REG_ES_MOVIMENTOPS Movimento(uint8_t cTipoMovimento, uint32_t produto, int64_t quantidade) {
  _REG_ES_MOVIMENTOPS movimento{};
  movimento.regPosicaoProduto.lPonteiroProduto = produto;
  movimento.vQuantidade.int64 = quantidade;
  movimento.cTipoMovimento = cTipoMovimento;
  movimento.iPonteiroFilial = 1;
  movimento.iPonteiroLocalArmazenagem = 1;
  movimento.iDataMovimento = DiaFixado();
  return movimento;
}

class Apontamento : public EmpresaOPFamilia {
 protected:
  // An order of one complement item of 10 over the given receiving processes.
  uint32_t Ordem(std::vector<int32_t> processos) {
    std::vector<ProcessoOP> dados;
    for (int32_t processo : processos) dados.push_back({processo, true});
    OPTeste op = NovaOP(dados, {{kProdutoFabricado, Quantidade(10)}});
    return GravaNova(op);
  }

  // An internal report of the order's process, started today at 8:00 and ended at 9:00.
  _REG_VARMO_OP_APONTAMENTO Relato(uint32_t chaveOP, int32_t processo, int64_t quantidade, int64_t refugo = 0) const {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroOP = chaveOP;
    reg.lPonteiroProcesso = processo;
    reg.lPonteiroOperacaoProducao = operacao_;
    reg.vQuantidadeApontada.int64 = quantidade * kUm;
    reg.vQuantidadeRefugo.int64 = refugo * kUm;
    reg.cTipoProducao = 1;
    reg.cTipoItem = 1;
    reg.usDataApontamentoInicio = DiaFixado();
    reg.usHoraApontamentoInicio = 8 * 60;
    reg.usDataApontamentoFim = DiaFixado();
    reg.usHoraApontamentoFim = 9 * 60;
    return reg;
  }

  // The report's key; 0 and a test failure when refused.
  uint32_t Grava(const _REG_VARMO_OP_APONTAMENTO& reg) {
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);
    return chave;
  }

  // The month's files and the resources' own (a resource report may move a resource's counter).
  std::vector<std::string> Mes() const {
    std::vector<std::string> arquivos;
    for (const char* prefixo : kPrefixos) arquivos.push_back(Arquivo(prefixo));
    for (const char* nome : {"PPRECURS.DAT", "PPRCHSCN.DAT", "PPRECDET.DAT"})
      arquivos.push_back(empresa_.Existe(nome) ? empresa_.Le(nome) : std::string());
    return arquivos;
  }

  // Gives the report everything that the writing half would store first: a comment, a resource
  // report whose counter moves the resource's counter, and an imported-report key.
  void ComListas(_REG_VARMO_OP_APONTAMENTO& reg, uint32_t importada) {
    contador_ = {};
    contador_.vContadorInicial.int64 = 100 * kUm;
    contador_.vContadorFinal.int64 = 150 * kUm;
    contador_.cAtualizarContadorRecurso = 1;
    operacaoRecurso_ = {};
    operacaoRecurso_.ulPonteiroOperacaoProducao = static_cast<uint32_t>(operacao_);
    operacaoRecurso_.usQuantApontamentoContador = 1;
    operacaoRecurso_.cApontaContador = 1;
    operacaoRecurso_.pregContadores = &contador_;
    recursoApontamento_ = {};
    recursoApontamento_.lPonteiroProcesso = reg.lPonteiroProcesso;
    recursoApontamento_.lPonteiroRecurso = recurso_;
    recursoApontamento_.usQuantidadeApontamentoOperacao = 1;
    recursoApontamento_.pregOperacoes = &operacaoRecurso_;
    importada_ = importada;
    std::snprintf(reg.szComentario, sizeof reg.szComentario, "RECUSADO");
    reg.usQtdRecursos = 1;
    reg.pregRecursos = &recursoApontamento_;
    reg.usQtdChaveApontamentoImportado = 1;
    reg.plistaChaveApontamentoImportado = &importada_;
  }

  // The branch settings of outsourced reporting: invoicing asked, the one entry given.
  void DefineApontamentoExterno(const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS& inf) {
    CPPServidorMestrePP mestre;
    ASSERT_EQ(mestre.Inicializa(Sessao()), S_OK);
    int32_t primeira = 0;
    ASSERT_EQ(mestre.GravaInfApontExternoFiliais(1, &inf, &primeira), S_OK);
    DefineMestre([&](PPRegistroMestre& registro) {
      registro.cSolicitarFaturamentoApontamentoExterno = 1;
      registro.lPonteiroInfApontExternoFilial = primeira;
      registro.usQtdInfApontExternoFilial = 1;
    });
  }

  // A production operation of the given type, for the rules that depend on it.
  int32_t Operacao(uint8_t cTipoOperacao) const {
    CPPServidorOperacaoProducao operacoes;
    EXPECT_EQ(operacoes.Inicializa(Sessao(), 0), S_OK);
    _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
    std::snprintf(operacao.szCodigo, sizeof operacao.szCodigo, "TIPO%c", cTipoOperacao);
    std::snprintf(operacao.szDescricao, sizeof operacao.szDescricao, "TIPO %c", cTipoOperacao);
    operacao.cAtivo = 1;
    operacao.cTipoOperacao = cTipoOperacao;
    int32_t ponteiro = 0;
    EXPECT_EQ(operacoes.Grava(0, operacao, &ponteiro), S_OK);
    return ponteiro;
  }

  _REG_PP_SALDO_PROCESSOPS Saldo(uint32_t chaveOP, int32_t processo) {
    _REG_PP_SALDO_PROCESSOPS saldo{};
    _REG_PP_KEY_ITEM_APONTAMENTOPS chave{chaveOP, 0, static_cast<uint32_t>(processo), 0, 1, {}};
    EXPECT_EQ(op_.BuscaSaldoParaApontamento(chave, &saldo), S_OK);
    return saldo;
  }

  // Record n of the order's processes (1: its first) and items.
  std::string Processo(uint32_t n) const { return Registro("PPPR", kTamanhoPR, n); }
  std::string Item(uint32_t n) const { return Registro("PPIT", kTamanhoIT, n); }
  std::string Relatorio(uint32_t n) const { return Registro("PPAP", kTamanhoAP, n); }

  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS contador_{};
  _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS operacaoRecurso_{};
  _REG_PP_APONTAMENTO_RECURSOPS recursoApontamento_{};
  uint32_t importada_ = 0;
};

// ---- Refusals ---------------------------------------------------------------------------------------

TEST_F(Apontamento, RefusalsComeBeforeAnyWriteAndLeaveTheMonthAsItWas) {
  const uint32_t duas = Ordem({processos_[0], processos_[1]});
  const uint32_t uma = Ordem({processos_[0]});
  OPTeste comPassagem = NovaOP({{processos_[0], true}, {processos_[1], false}}, {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t passagem = GravaNova(comPassagem);
  const uint32_t anterior = Grava(Relato(duas, processos_[0], 4));
  ASSERT_NE(anterior, 0u);
  const int32_t servico = Operacao('S');
  struct Caso {
    const char* nome;
    std::function<HRESULT(_REG_VARMO_OP_APONTAMENTO&)> prepara;  // changes the report or the files
    HRESULT esperado;
  };
  const std::vector<Caso> casos = {
      {"more than the item still owes", [&](auto& r) { r = Relato(uma, processos_[0], 11); return S_OK; },
       Erro(1596)},
      {"more than programmed on the first process",
       [&](auto& r) { r = Relato(duas, processos_[0], 7); return S_OK; }, Erro(1596)},
      {"more than the previous process", [&](auto& r) { r = Relato(duas, processos_[1], 5); return S_OK; },
       Erro(1604)},
      {"forced closing after a previous process not concluded",
       [&](auto& r) {
         r = Relato(duas, processos_[1], 5);
         r.cEncerramentoForcado = 1;
         return S_OK;
       },
       Erro(1604)},
      {"order concluded",
       [&](auto& r) {
         Altera("PPOP", 256, QVGetNumeroDaChave(uma), 170, U8(50));
         r = Relato(uma, processos_[0], 1);
         return S_OK;
       },
       Erro(1592)},
      {"process suspended",
       [&](auto& r) {
         Altera("PPOP", 256, QVGetNumeroDaChave(uma), 170, U8(2));
         Altera("PPPR", kTamanhoPR, 3, 95, U8(61));
         r = Relato(uma, processos_[0], 1);
         return S_OK;
       },
       Erro(1592)},
      {"outsourced without outsourcer",
       [&](auto& r) {
         r = Relato(duas, processos_[0], 1);
         r.cTipoProducao = 0;
         return S_OK;
       },
       Erro(1723)},
      {"a process the order does not have",
       [&](auto& r) { r = Relato(duas, processos_[2], 1); return S_OK; }, Erro(1587)},
      {"a process of the order that receives no reports",
       [&](auto& r) { r = Relato(passagem, processos_[1], 1); return S_OK; }, Erro(1587)},
      {"an order key without record", [&](auto& r) { r = Relato(kMes, processos_[0], 1); return S_OK; },
       Erro(1591)},
      {"the item would owe less than nothing (the first item, no item matching)",
       [&](auto& r) {
         Altera("PPIT", kTamanhoIT, 1, 8, Q(7 * kUm));  // the first order's item produced 7 already
         r = Relato(duas, processos_[1], 4);
         r.cTipoItem = 3;
         r.lPonteiroPedidoNecessidade = 99;
         return S_OK;
       },
       Erro(1595)},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    _REG_VARMO_OP_APONTAMENTO reg{};
    ASSERT_EQ(caso.prepara(reg), S_OK);
    ComListas(reg, anterior);
    const std::vector<std::string> antes = Mes();
    uint32_t chave = 77;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), caso.esperado);
    EXPECT_EQ(chave, 0u);
    EXPECT_EQ(Mes(), antes);
  }

  // The operation type 'S' reports on a closed order and process.
  _REG_VARMO_OP_APONTAMENTO reg = Relato(uma, processos_[0], 1);
  reg.lPonteiroOperacaoProducao = servico;
  EXPECT_NE(Grava(reg), 0u);
  Altera("PPOP", 256, QVGetNumeroDaChave(uma), 170, U8(50));
  Altera("PPPR", kTamanhoPR, 3, 95, U8(61));
  EXPECT_NE(Grava(reg), 0u);

  // The same lists on an accepted report do write: the comparisons above would have seen them.
  reg = Relato(duas, processos_[1], 1);
  ComListas(reg, anterior);
  const std::string recurso = empresa_.Le("PPRECURS.DAT");
  ASSERT_NE(Grava(reg), 0u);
  EXPECT_NE(empresa_.Le("PPRECURS.DAT"), recurso) << "the resource's counter";
  EXPECT_EQ(QuantidadeRegistros("PPAR", 64), 1u);
  EXPECT_EQ(QuantidadeRegistros("PPTA", 4), 1u);

  CPPServidorOP semSessao;
  uint32_t chave = 0;
  EXPECT_EQ(semSessao.GravaApontamento(Relato(duas, processos_[0], 1), &chave, 1), Erro(1585));
}

TEST_F(Apontamento, ForcedClosingPassesThePreviousProcessOnlyWhenThatOneConcluded) {
  for (uint8_t concluida : {49, 50}) {
    SCOPED_TRACE(int(concluida));
    const uint32_t op = Ordem({processos_[0], processos_[1]});
    ASSERT_NE(Grava(Relato(op, processos_[0], 4)), 0u);
    _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[1], 5);
    reg.cEncerramentoForcado = 1;
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), Erro(1604));
    const uint32_t primeiroProcesso = QuantidadeRegistros("PPPR", kTamanhoPR) - 1;
    Altera("PPPR", kTamanhoPR, primeiroProcesso, 95, U8(concluida));
    EXPECT_NE(Grava(reg), 0u);
    reg.cEncerramentoForcado = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), Erro(1604)) << "only with forced closing";
  }
}

TEST_F(Apontamento, OutsourcedReportWithIncompleteBranchSettingsIsRefused) {
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS inf{};
  inf.usPonteiroFilial = kFilial;
  inf.usSFAEPonteiroCFOPRemessaExterna = 6901;  // the internal CFOP missing
  DefineApontamentoExterno(inf);
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  const uint32_t anterior = Grava(Relato(op, processos_[0], 1));
  for (uint16_t filial : {kFilial, uint16_t(2)}) {  // incomplete, and none for the branch
    SCOPED_TRACE(filial);
    _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 1);
    reg.cTipoProducao = 0;
    reg.lPonteiroIndustrializador = 0;  // 1723 too, but the settings are checked first
    reg.regRemessaIndustrializacao.usPonteiroFilial = filial;
    ComListas(reg, anterior);
    const std::vector<std::string> antes = Mes();
    uint32_t chave = 0;
    EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), Erro(1690));
    EXPECT_EQ(Mes(), antes);
  }
}

TEST_F(Apontamento, AnotherHolderOfTheOrderLockRefusesTheReportUnwritten) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  const uint32_t anterior = Grava(Relato(op, processos_[0], 1));
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 1);
  ComListas(reg, anterior);
  const std::vector<std::string> antes = Mes();
  CQVArqMarca outro;
  ASSERT_EQ(outro.Marca(op_.GetDiretorio(), 29), 0);
  uint32_t chave = 0;
  // The 50 s go by on the replaced clock.
  EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), Erro(QVMensagemMarca(29, true)));
  EXPECT_EQ(Mes(), antes);
  // Inside a lock the caller holds, no lock is taken.
  EXPECT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 1), &chave, 0), S_OK);
}

// An outsourced report asks for its shipment: made ready before anything is written (a supplier
// that cannot be read refuses the report unwritten), created for the order's month, and linked
// both ways with the report.
TEST_F(Apontamento, OutsourcedReportCreatesItsShipmentLinkedToTheReport) {
  std::vector<__MIDL___MIDL_itf_Brisel_0000_0003> filiais(2);
  std::memset(filiais.data(), 0, filiais.size() * sizeof filiais[0]);
  std::snprintf(filiais[0].szLocalizacao, sizeof filiais[0].szLocalizacao, "Sao Paulo");
  std::snprintf(filiais[1].szLocalizacao, sizeof filiais[1].szLocalizacao, "RJ");
  ASSERT_EQ(ServidorFiliais::GravaFiliais(Instalacao::kEmpresa, filiais), S_OK);
  _REG_CFRT_BASEPS fornecedor{};
  std::snprintf(fornecedor.szLocalizacao, sizeof fornecedor.szLocalizacao, "SAO PAULO");
  ASSERT_EQ(CadastroCFRT::Grava(Instalacao::kEmpresa, {fornecedor}), S_OK);
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS inf{};
  inf.usPonteiroFilial = kFilial;
  inf.usSFAEPonteiroCFOPRemessaInterna = 5901;
  inf.usSFAEPonteiroCFOPRemessaExterna = 6901;
  DefineApontamentoExterno(inf);
  const uint32_t op = Ordem({processos_[0], processos_[1]});

  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 3);
  reg.cTipoProducao = 0;
  reg.lPonteiroIndustrializador = 5;
  reg.regRemessaIndustrializacao.ulChaveOP = op;
  reg.regRemessaIndustrializacao.usPonteiroFilial = kFilial;
  reg.regRemessaIndustrializacao.lPonteiroFornecedor = 9;  // not in the register
  const std::vector<std::string> antes = Mes();
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), kFamiliaNaoEncontrado);
  EXPECT_EQ(Mes(), antes);

  reg.regRemessaIndustrializacao.lPonteiroFornecedor = 1;
  chave = Grava(reg);
  ASSERT_EQ(chave, Chave(1));
  EXPECT_EQ(U32De(Relatorio(1), 116), 1u);
  const std::string remessa = Registro("PPRM", 60, 1);
  EXPECT_EQ(U32De(remessa, 0), chave);
  EXPECT_EQ(U16De(remessa, 26), 5901) << "the supplier's location is the branch's";
  EXPECT_EQ(U16De(remessa, 30), U16De(Relatorio(1), 152)) << "issued when recorded";
  EXPECT_EQ(U16De(remessa, 32), U16De(Relatorio(1), 154));
}

// ---- What a report writes ----------------------------------------------------------------------------

TEST_F(Apontamento, ReportOfAFirstProcessAsRecordedWithItsIndexAndHistory) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 3);
  reg.usDataApontamentoInicio = 0;  // today, now
  reg.usHoraApontamentoInicio = 0;
  std::snprintf(reg.szComentario, sizeof reg.szComentario, "LOTE BOM");
  const uint32_t primeiro = Grava(reg);
  const uint32_t segundo = Grava(Relato(op, processos_[0], 2));
  ASSERT_EQ(primeiro, Chave(1));
  ASSERT_EQ(segundo, Chave(2));

  const std::string ap = Relatorio(1);
  EXPECT_EQ(QDe(ap, 0), 3 * kUm);
  EXPECT_NE(U32De(ap, 56), 0u) << "the comment's place in PPIE";
  EXPECT_EQ(U32De(ap, 80), QVGetNumeroDaChave(op));
  EXPECT_EQ(U32De(ap, 84), static_cast<uint32_t>(operacao_));
  EXPECT_EQ(U32De(ap, 88), static_cast<uint32_t>(processos_[0]));
  const uint16_t agora = static_cast<uint16_t>(PPHoraAtualMinutos());
  EXPECT_EQ(U16De(ap, 144), DiaFixado());
  EXPECT_EQ(U16De(ap, 146), agora);
  EXPECT_EQ(U16De(ap, 148), DiaFixado()) << "the end as given";
  EXPECT_EQ(U16De(ap, 150), 9 * 60);
  EXPECT_EQ(U16De(ap, 152), DiaFixado());
  EXPECT_EQ(U16De(ap, 154), agora);
  EXPECT_EQ(U16De(ap, 156), kUsuarioTeste);
  EXPECT_EQ(U8De(ap, 180), 0) << "not the last process";
  EXPECT_EQ(U8De(Relatorio(2), 180), 0);

  // The process's index is appended anew per report: [1], then [1, 2] after it.
  const std::string processo = Processo(1);
  EXPECT_EQ(U32De(processo, 68), 2u);
  EXPECT_EQ(U16De(processo, 82), 2);
  EXPECT_EQ(Arquivo("PPRA").substr(4), U32(1) + U32(1) + U32(2));
  EXPECT_EQ(QDe(Item(1), 8), 0) << "a first process credits no item";

  ASSERT_FALSE(Linhas().empty());
  const std::string texto = "Apontamento: " + std::string(QVChaveParaTexto(segundo)) + " - OP: " +
                            std::string(QVChaveParaTexto(op)) + " - Processo " + std::to_string(processos_[0]) +
                            " - Tipo " + "Produção"_ansi + " 1";
  EXPECT_EQ(Linhas().back(), (LinhaCadastro{'I', texto}));
}

TEST_F(Apontamento, LastProcessReportCreditsTheMatchingItemOrElseTheFirst) {
  const uint32_t op = Ordem({processos_[0]});
  ASSERT_NE(Grava(Relato(op, processos_[0], 4, 1)), 0u);
  std::string item = Item(1);
  EXPECT_EQ(QDe(item, 8), 3 * kUm) << "produced net of scrap";
  EXPECT_EQ(QDe(item, 16), 1 * kUm) << "lost";
  EXPECT_EQ(U8De(Relatorio(1), 180), 1);

  _REG_VARMO_OP_APONTAMENTO outro = Relato(op, processos_[0], 2);
  outro.cTipoItem = 3;
  outro.lPonteiroPedidoNecessidade = 99;
  ASSERT_NE(Grava(outro), 0u);
  EXPECT_EQ(QDe(Item(1), 8), 5 * kUm) << "no item matches: the first";
  EXPECT_EQ(QDe(Relatorio(2), 40), 0) << "a complement item takes no credit";
}

TEST_F(Apontamento, ZeroQuantityAndOutsourcedReportsChangeNoItem) {
  const uint32_t op = Ordem({processos_[0]});
  const std::string antes = Item(1);
  const size_t linhas = Linhas().size();
  // A report of nothing posts none of its movements, and names none.
  _REG_VARMO_OP_APONTAMENTO nada = Relato(op, processos_[0], 0);
  _REG_ES_MOVIMENTOPS baixa = Movimento(12, kProdutoInsumo, 1 * kUm);
  _REG_ES_MOVIMENTOPS entrada = Movimento(11, kProdutoFabricado, 1 * kUm);
  nada.usQtdMvtoEstoque = 1;
  nada.pregMovimentos = &baixa;
  nada.usQtdMvtoEntrada = 1;
  nada.pregMvtoEntrada = &entrada;
  nada.cPossuiRefugo = 1;
  nada.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1 * kUm);
  ASSERT_NE(Grava(nada), 0u);
  EXPECT_EQ(Arquivo("PPME"), "");
  for (size_t deslocamento : {68, 72, 92}) EXPECT_EQ(U32De(Relatorio(1), deslocamento), 0u) << deslocamento;
  EXPECT_EQ(U16De(Relatorio(1), 160), 0);
  EXPECT_EQ(U16De(Relatorio(1), 162), 0);
  EXPECT_EQ(Linhas().size(), linhas + 1) << "the history line is written all the same";
  _REG_VARMO_OP_APONTAMENTO externo = Relato(op, processos_[0], 3);
  externo.cTipoProducao = 0;
  externo.lPonteiroIndustrializador = 5;
  ASSERT_NE(Grava(externo), 0u);
  EXPECT_EQ(Item(1), antes);
  EXPECT_EQ(U8De(Relatorio(1), 180), 0) << "a report of nothing is no last-process report";
  EXPECT_EQ(U8De(Relatorio(2), 180), 1);
  EXPECT_EQ(U8De(Relatorio(2), 175), 0);
  EXPECT_EQ(U16De(Processo(1), 82), 2) << "both entered the process's index";
}

TEST_F(Apontamento, ForcedClosingOfAProcessThatIsNotTheLastMarksTheProcess) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 4);
  reg.cEncerramentoForcado = 1;
  std::snprintf(reg.szMotivoEncerramentoForcado, sizeof reg.szMotivoEncerramentoForcado, "QUEBRA");
  ASSERT_NE(Grava(reg), 0u);
  EXPECT_EQ(U8De(Processo(1), 97), 1);
  EXPECT_NE(U32De(Relatorio(1), 76), 0u);
  EXPECT_EQ(U8De(Relatorio(1), 179), 1);
  EXPECT_EQ(Saldo(op, processos_[0]).cHouveEncerramentoForcado, 1);
}

TEST_F(Apontamento, ImportedReportWithoutConsumptionIsPendingUntilAReportListsIt) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  _REG_VARMO_OP_APONTAMENTO importado = Relato(op, processos_[0], 2);
  importado.cTipoApontamento = 5;
  const uint32_t chave = Grava(importado);
  EXPECT_EQ(U8De(Relatorio(1), 183), 5);
  EXPECT_EQ(U8De(Relatorio(1), 184), 1);

  _REG_VARMO_OP_APONTAMENTO seguinte = Relato(op, processos_[0], 1);
  uint32_t chaves[] = {chave};
  seguinte.usQtdChaveApontamentoImportado = 1;
  seguinte.plistaChaveApontamentoImportado = chaves;
  ASSERT_NE(Grava(seguinte), 0u);
  EXPECT_EQ(U8De(Relatorio(1), 184), 0);
  EXPECT_EQ(U32De(Relatorio(2), 194), 1u);
  EXPECT_EQ(U16De(Relatorio(2), 198), 1);
  EXPECT_EQ(Arquivo("PPTA").substr(4), U32(chave));
  EXPECT_EQ(U8De(Relatorio(2), 184), 0) << "not an import";
}

// ---- The balance --------------------------------------------------------------------------------------

TEST_F(Apontamento, BalanceCountsStoredReportsNetOfScrapAroundTheProcess) {
  const uint32_t op = Ordem({processos_[0], processos_[1], processos_[2]});
  ASSERT_NE(Grava(Relato(op, processos_[0], 6, 1)), 0u);
  ASSERT_NE(Grava(Relato(op, processos_[1], 3)), 0u);
  const uint32_t removido = Grava(Relato(op, processos_[1], 1));
  Altera("PPAP", kTamanhoAP, QVGetNumeroDaChave(removido), 176, U8(1));

  const _REG_PP_SALDO_PROCESSOPS meio = Saldo(op, processos_[1]);
  EXPECT_EQ(meio.vApontamentoProcessoAnterior.int64, 5 * kUm);
  EXPECT_EQ(meio.vRefugoProcessoAnterior.int64, 1 * kUm);
  EXPECT_EQ(meio.vApontamentoProcessoAtual.int64, 3 * kUm) << "the removed report does not count";
  EXPECT_EQ(meio.vApontamentoProcessoPosterior.int64, 0);
  EXPECT_EQ(meio.vQuantidadeProgramada.int64, 10 * kUm);
  EXPECT_EQ(meio.vSaldoItemAtual.int64, 0) << "only the last process has an item balance";
  EXPECT_EQ(meio.ulPonteiroProcessoAnterior, static_cast<uint32_t>(processos_[0]));
  EXPECT_EQ(meio.ulPonteiroProcessoAtual, static_cast<uint32_t>(processos_[1]));
  EXPECT_EQ(meio.ulPonteiroProcessoPosterior, static_cast<uint32_t>(processos_[2]));
  EXPECT_EQ(meio.cPrimeiroProcesso, 0);
  EXPECT_EQ(meio.cUltimoProcesso, 0);
  EXPECT_EQ(meio.cSituacaoProcessoAnterior, U8De(Processo(1), 95));

  const _REG_PP_SALDO_PROCESSOPS primeiro = Saldo(op, processos_[0]);
  EXPECT_EQ(primeiro.cPrimeiroProcesso, 1);
  EXPECT_EQ(primeiro.cSituacaoProcessoAnterior, 1);
  EXPECT_EQ(primeiro.vApontamentoProcessoAtual.int64, 5 * kUm);
  EXPECT_EQ(primeiro.vRefugoProcessoAtual.int64, 1 * kUm);
  EXPECT_EQ(primeiro.vApontamentoProcessoPosterior.int64, 3 * kUm);

  const _REG_PP_SALDO_PROCESSOPS ultimo = Saldo(op, processos_[2]);
  EXPECT_EQ(ultimo.cUltimoProcesso, 1);
  EXPECT_EQ(ultimo.vSaldoItemAtual.int64, 10 * kUm);
  EXPECT_EQ(ultimo.ulPonteiroProcessoPosterior, 0u);

  _REG_PP_SALDO_PROCESSOPS saldo{};
  saldo.cPrimeiroProcesso = 9;
  _REG_PP_KEY_ITEM_APONTAMENTOPS fora{op, 0, 12345, 0, 1, {}};
  EXPECT_EQ(op_.BuscaSaldoParaApontamento(fora, &saldo), Erro(1587));
  EXPECT_EQ(saldo.cPrimeiroProcesso, 0) << "zeroed first";
  CPPServidorOP semSessao;
  EXPECT_EQ(semSessao.BuscaSaldoParaApontamento(fora, &saldo), Erro(1585));
}

TEST_F(Apontamento, SecondReportOfAProcessIsCheckedAgainstTheFirst) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  ASSERT_NE(Grava(Relato(op, processos_[0], 6)), 0u);
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 5), &chave, 1), Erro(1596));
  EXPECT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 4), &chave, 1), S_OK);
  EXPECT_EQ(Saldo(op, processos_[0]).vApontamentoProcessoAtual.int64, 10 * kUm);
}

// ---- Postings (the movements' operations) -------------------------------------------------------------

// The report of the last process with its entry and scrap, byte by byte.
TEST_F(Apontamento, LastProcessReportWithEntryAndScrapIsStoredByteByByte) {
  const uint32_t op = Ordem({processos_[0]});
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 6, 1);
  _REG_ES_MOVIMENTOPS entrada = Movimento(11, kProdutoFabricado, 5 * kUm);
  reg.usQtdMvtoEntrada = 1;
  reg.pregMvtoEntrada = &entrada;
  reg.cPossuiRefugo = 1;
  reg.regMovimentoRefugo = Movimento(13, kProdutoFabricado, 1 * kUm);
  reg.vQuantidadeBruta.int64 = 7 * kUm;
  reg.vQuantidadeTara.int64 = 1 * kUm;
  reg.v8CustoTerceirizacao.int64 = 123;
  reg.lPonteiroSuplementoInfo1 = 11;
  reg.lPonteiroSuplementoInfo2 = 12;
  reg.lPonteiroSuplementoInfo3 = 13;
  reg.lPonteiroMotivoRefugo = 14;
  reg.lPonteiroNotaFiscalSaida = 15;
  reg.cProducaoExterna = 1;
  ASSERT_EQ(Grava(reg), Chave(1));

  const uint16_t agora = static_cast<uint16_t>(PPHoraAtualMinutos());
  const std::string esperado =
      Q(6 * kUm) + Q(7 * kUm) + Q(1 * kUm) + Q(1 * kUm) + Q(0) + Q(0) + Q(123) +  // 0..55
      U32(0) + U32(0) + U32(15) + U32(1) + U32(2) + U32(0) +                          // 56..79
      U32(QVGetNumeroDaChave(op)) + U32(static_cast<uint32_t>(operacao_)) +           // 80, 84
      U32(static_cast<uint32_t>(processos_[0])) + U32(0) + U32(0) +                   // 88..99
      U32(11) + U32(12) + U32(13) + U32(14) + U32(0) + U32(0) + U32(0) + U32(0) +     // 100..131
      U32(0) + U32(0) + U32(0) +                                                      // 132..143
      U16(DiaFixado()) + U16(8 * 60) + U16(DiaFixado()) + U16(9 * 60) + U16(DiaFixado()) + U16(agora) +
      U16(kUsuarioTeste) + U16(0) + U16(1) + U16(0) + U16(0) + U16(0) + U16(0) + U16(0) +  // 156..171
      U8(0) + U8(0) + U8(1) + U8(1) + U8(0) + U8(1) + U8(0) + U8(0) + U8(1) + U8(0) + U8(0) + U8(0) + U8(0) +
      U8(1) + std::string(8, '\0') + U32(0) + U16(0);
  ASSERT_EQ(esperado.size(), kTamanhoAP);
  EXPECT_EQ(Relatorio(1), esperado);
  EXPECT_EQ(QDe(Item(1), 8), 5 * kUm);
  EXPECT_EQ(QDe(Item(1), 16), 1 * kUm);
}

// The second consumption movement refused: both are stored, the first posted, the second not,
// and the report references them before the failure is returned; nothing after the consumption
// runs.
TEST_F(Apontamento, FailedConsumptionLeavesTheReportReferencingWhatWasStored) {
  const uint32_t op = Ordem({processos_[0]});
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 2);
  _REG_ES_MOVIMENTOPS baixas[] = {Movimento(12, kProdutoInsumo, 1 * kUm), Movimento(12, kProdutoTerceiros, 1 * kUm)};
  _REG_ES_MOVIMENTOPS entrada = Movimento(11, kProdutoFabricado, 2 * kUm);
  reg.usQtdMvtoEstoque = 2;
  reg.pregMovimentos = baixas;
  reg.usQtdMvtoEntrada = 1;
  reg.pregMvtoEntrada = &entrada;
  estoque_.Movimento.FalhaMetodo("GravaMovimento", 1, E_FAIL, 1);
  const size_t linhas = Linhas().size();
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(reg, &chave, 1), E_FAIL);
  EXPECT_EQ(chave, Chave(1)) << "the report exists";
  const std::string ap = Relatorio(1);
  EXPECT_EQ(U32De(ap, 92), 1u);
  EXPECT_EQ(U16De(ap, 162), 2);
  EXPECT_EQ(U32De(ap, 68), 0u) << "no entry after the failure";
  EXPECT_EQ(U16De(ap, 160), 0);
  ASSERT_EQ(QuantidadeRegistros("PPME", 104), 2u);
  EXPECT_EQ(U8De(Registro("PPME", 104, 1), 88), 1);
  EXPECT_NE(U32De(Registro("PPME", 104, 1), 32), 0u);
  EXPECT_EQ(U8De(Registro("PPME", 104, 2), 88), 0);
  EXPECT_EQ(U32De(Registro("PPME", 104, 2), 32), 0u);
  EXPECT_EQ(U16De(Processo(1), 82), 1) << "the process's index holds it";
  EXPECT_EQ(Linhas().size(), linhas) << "the operation ended at the failure";
}

// A batch record only for a movement that has a batch number or dates.
TEST_F(Apontamento, OnlyMovementsWithABatchGetABatchRecord) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  _REG_VARMO_OP_APONTAMENTO reg = Relato(op, processos_[0], 2);
  _REG_ES_MOVIMENTOPS baixas[] = {Movimento(12, kProdutoInsumo, 1 * kUm), Movimento(12, kProdutoInsumo, 1 * kUm),
                                  Movimento(12, kProdutoInsumo, 1 * kUm)};
  std::snprintf(baixas[1].regLotePS.cNumeroLote, sizeof baixas[1].regLotePS.cNumeroLote, "L-7");
  baixas[2].regLotePS.iDataValidade = DiaFixado();
  reg.usQtdMvtoEstoque = 3;
  reg.pregMovimentos = baixas;
  ASSERT_EQ(Grava(reg), Chave(1));
  ASSERT_EQ(QuantidadeRegistros("PPLT", 62), 2u);
  EXPECT_EQ(U32De(Registro("PPME", 104, 1), 36), 0u);
  EXPECT_EQ(U32De(Registro("PPME", 104, 2), 36), 1u);
  EXPECT_EQ(U32De(Registro("PPME", 104, 3), 36), 2u);
  EXPECT_EQ(Registro("PPLT", 62, 1).substr(0, 4), std::string("L-7") + '\0');
  EXPECT_EQ(U16De(Registro("PPLT", 62, 2), 58), DiaFixado());
  EXPECT_EQ(U16De(Relatorio(1), 162), 3);
}

// ---- Two writers -------------------------------------------------------------------------------------

// A second report of the same process waits for the order lock while another writer reports, and
// its balance then counts what that one stored: 6 + 5 exceed the 10 programmed.
TEST_F(Apontamento, SecondReportWaitsForTheLockAndItsBalanceSeesTheFirst) {
  const uint32_t op = Ordem({processos_[0], processos_[1]});
  TestClock relogio(TestClock::SleepMode::kBlocks);  // the waiter's retries wait for this test
  CQVArqMarca marca;
  ASSERT_EQ(marca.Marca(op_.GetDiretorio(), 29), 0);

  // Initialised here, so that the only wait of its thread is the lock's.
  CPPServidorOP outro;
  ASSERT_EQ(outro.Inicializa(Sessao()), S_OK);
  std::atomic<bool> terminou{false};
  HRESULT resultado = E_FAIL;
  std::thread segundo([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    uint32_t chave = 0;
    resultado = outro.GravaApontamento(Relato(op, processos_[0], 5), &chave, 1);
    CoUninitialize();
    terminou = true;
  });
  relogio.AwaitWaiters(1);
  EXPECT_FALSE(terminou);
  uint32_t chave = 0;
  EXPECT_EQ(op_.GravaApontamento(Relato(op, processos_[0], 6), &chave, 0), S_OK) << "inside the lock held";
  EXPECT_FALSE(terminou) << "still waiting";
  ASSERT_EQ(marca.Desmarca(), 0);
  while (!terminou) {
    relogio.Advance(100);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  segundo.join();
  EXPECT_EQ(outro.Finaliza(), S_OK);
  EXPECT_EQ(resultado, Erro(1596));
  EXPECT_EQ(QuantidadeRegistros("PPAP", kTamanhoAP), 1u);
  EXPECT_EQ(Saldo(op, processos_[0]).vApontamentoProcessoAtual.int64, 6 * kUm);
}

// ---- Through COM --------------------------------------------------------------------------------------

TEST_F(Apontamento, ThroughTheClassReportsFirstThenLastProcessAndReadsThemBack) {
  MULTI_QI resultado{&IID_IQVPP_OP, nullptr, E_FAIL};
  ASSERT_EQ(CoCreateInstanceEx(CLSID_QVPP_OP, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado), S_OK);
  auto* classe = static_cast<IQVPP_OP*>(static_cast<void*>(resultado.pItf));
  const std::unique_ptr<IQVPP_OP, void (*)(IQVPP_OP*)> dono(classe, [](IQVPP_OP* p) { p->Release(); });
  ASSERT_EQ(classe->Inicializa(Sessao(), 64), S_OK);
  OPTeste nova = NovaOP({{processos_[0], true}, {processos_[1], true}}, {{kProdutoFabricado, Quantidade(10)}});
  uint32_t op = 0;
  ASSERT_EQ(classe->GravaOP(0, nova.Registro(), &op), S_OK);

  uint32_t primeiro = 0, ultimo = 0;
  EXPECT_EQ(classe->GravaApontamento(Relato(op, processos_[0], 10), &primeiro), S_OK);
  EXPECT_EQ(classe->GravaApontamento(Relato(op, processos_[1], 4), &ultimo), S_OK);
  EXPECT_EQ(primeiro, Chave(1));
  EXPECT_EQ(ultimo, Chave(2));

  _REG_PP_SALDO_PROCESSOPS saldo{};
  _REG_PP_KEY_ITEM_APONTAMENTOPS chave{op, 0, static_cast<uint32_t>(processos_[1]), 0, 1, {}};
  ASSERT_EQ(classe->BuscaSaldoParaApontamento(chave, &saldo), S_OK);
  EXPECT_EQ(saldo.vApontamentoProcessoAnterior.int64, 10 * kUm);
  EXPECT_EQ(saldo.vApontamentoProcessoAtual.int64, 4 * kUm);
  EXPECT_EQ(saldo.vSaldoItemAtual.int64, 6 * kUm);
  EXPECT_EQ(saldo.cUltimoProcesso, 1);

  _REG_VARMO_OPPS lida{};
  ASSERT_EQ(classe->LePonteiros(1, &op, &lida, CPPServidorOP::kLeProcessos | CPPServidorOP::kLeItens), S_OK);
  ASSERT_EQ(lida.usQtdProcessos, 2);
  ASSERT_EQ(lida.pregProcessos[0].usQuantidadeApontamentos, 1);
  EXPECT_EQ(lida.pregProcessos[0].pregApontamentos[0].lPonteiroApontamento, primeiro);
  ASSERT_EQ(lida.pregProcessos[1].usQuantidadeApontamentos, 1);
  EXPECT_EQ(lida.pregProcessos[1].pregApontamentos[0].vQuantidadeApontada.int64, 4 * kUm);
  EXPECT_EQ(lida.pregItens[0].vQuantidadeProduzida.int64, 4 * kUm);
  LiberaOP(lida);
}

}  // namespace
