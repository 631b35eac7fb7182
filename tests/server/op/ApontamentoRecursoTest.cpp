// Resource reports of a production report: the planned resources of the processes without own
// reports, and the reported resources with their operations and readings, byte by byte in PPAR,
// PPAO, PPAC, PPAQ, PPAI and PPAD; the resource's counter; the refusals that leave every file as it
// was; then both lists through GravaApontamento and back through LeApontamento.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "server/CPPArqEx.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/op/PPRegistrosOP.h"
#include "tests/server/op/EmpresaOPFamilia.h"

namespace {

using namespace TesteOP;

constexpr uint32_t kTamanhoOP = 256;
constexpr uint32_t kTamanhoAR = 64;
constexpr uint32_t kTamanhoAO = 48;
constexpr uint32_t kTamanhoAC = 72;
constexpr uint32_t kTamanhoAQ = 40;
constexpr uint32_t kTamanhoAI = 72;
constexpr uint32_t kTamanhoAD = 24;
constexpr uint16_t kDia = 8900;

std::string Zeros(size_t n) { return std::string(n, '\0'); }
std::string Nome(const char* texto, size_t largura) {
  std::string campo(texto);
  campo.resize(largura, '\0');
  return campo;
}

// The four readings of one operation, which the operation points at: kept in place.
struct Leituras {
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS contador{};
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS quantidade{};
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS intervalo{};
  _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS detalhe{};

  Leituras(const Leituras&) = delete;
  Leituras() {
    contador.vContadorInicial.int64 = 150 * kUm;
    contador.vContadorFinal.int64 = 175 * kUm;
    contador.ulPonteiroUnidadeMedida = 7;
    contador.usNumeroDigitos = 6;
    PPCopiaCampo(contador.szNomeInicial, "INICIAL");
    PPCopiaCampo(contador.szNomeFinal, "FINAL");
    contador.cUnidadeProdutoServico = 'P';
    contador.cAtualizarContadorRecurso = 1;
    quantidade.vQuantidade.int64 = 125000;
    quantidade.ulPonteiroUnidadeMedida = 8;
    PPCopiaCampo(quantidade.szNome, "PECAS");
    quantidade.cUnidadeProdutoServico = 'S';
    intervalo.vValorInicial.int64 = 10 * kUm;
    intervalo.vValorFinal.int64 = 12 * kUm;
    intervalo.ulPonteiroUnidadeMedida = 9;
    intervalo.usDataInicial = kDia;
    intervalo.usDataFinal = kDia + 1;
    intervalo.usHoraInicial = 480;
    intervalo.usHoraFinal = 30;
    PPCopiaCampo(intervalo.szNomeInicial, "DE");
    intervalo.cValorData = 1;
    intervalo.cUnidadeProdutoServico = 'P';
    PPCopiaCampo(detalhe.szNome, "OBS");
    PPCopiaCampo(detalhe.szDetalhe, "Trocada a matriz");
  }

  // An operation that reports all four.
  _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS Operacao(uint32_t ulOperacao) {
    _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS operacao{};
    operacao.ulPonteiroOperacaoProducao = ulOperacao;
    operacao.usDataApontamentoInicial = kDia;
    operacao.usHoraApontamentoInicial = 420;
    operacao.usDataApontamentoFinal = kDia + 1;
    operacao.usHoraApontamentoFinal = 60;
    operacao.cApontaContador = operacao.cApontaQuantidade = operacao.cApontaIntervalo = operacao.cApontaDetalhe = 1;
    operacao.usQuantApontamentoContador = operacao.usQuantApontamentoQuantidade = 1;
    operacao.usQuantApontamentoIntervalo = operacao.usQuantApontamentoDetalhe = 1;
    operacao.pregContadores = &contador;
    operacao.pregQuantidades = &quantidade;
    operacao.pregIntervalos = &intervalo;
    operacao.pregDetalhes = &detalhe;
    return operacao;
  }
};

class ApontamentoRecurso : public EmpresaOPFamilia {
 protected:
  static constexpr int64_t kContador = 100 * kUm;

  void SetUp() override {
    EmpresaOPFamilia::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(recursos_.Inicializa(Sessao(), 0), S_OK);
    _REG_PP_RECURSOPS recurso{};
    PPCopiaCampo(recurso.szCodigo, "PRENSA");
    PPCopiaCampo(recurso.szDescricao, "PRENSA");
    recurso.cAtivo = 1;
    recurso.usPonteiroFilial = kFilial;
    recurso.vCapacidade.int64 = 120 * kUm;
    recurso.vSetup.int64 = 15 * kUm;
    recurso.v8Custo.int64 = 250000000;  // 2.5, eight decimals
    recurso.vPercEficiencia.int64 = 85 * kUm;
    recurso.lPonteiroCentroCustos = 33;
    recurso.cTipo = 2;
    recurso.cCustoTempoPorUnidade = 1;
    recurso.cTipoCusto = 3;
    recurso.cPossuiContador = 1;
    recurso.vContadorAtual.int64 = kContador;
    ASSERT_EQ(recursos_.Grava(0, recurso, &prensa_), S_OK);

    CPPServidorOperacaoProducao operacoes;
    ASSERT_EQ(operacoes.Inicializa(Sessao(), 0), S_OK);
    _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
    PPCopiaCampo(operacao.szCodigo, "MEDIR");
    PPCopiaCampo(operacao.szDescricao, "MEDIR");
    operacao.cAtivo = 1;
    operacao.cTipoOperacao = 'M';
    ASSERT_EQ(operacoes.Grava(0, operacao, &medir_), S_OK);
  }
  void TearDown() override {
    recursos_.Finaliza();
    EmpresaOPFamilia::TearDown();
  }

  HRESULT GravaApontamentosRecurso(const std::vector<_REG_PP_APONTAMENTO_RECURSOPS>& entradas, uint32_t* primeiro) {
    return (op_.*Passo(TesteOP::GravaApontamentosRecurso{}))(kMes, static_cast<uint16_t>(entradas.size()),
                                        entradas.empty() ? nullptr : entradas.data(), primeiro);
  }
  HRESULT GravaRecursosNaoApontados(const std::vector<uint32_t>& processos, PPDiscoApontamento& ap) {
    return (op_.*Passo(TesteOP::GravaRecursosNaoApontados{}))(kMes, processos, ap);
  }

  // A reported resource, with the caller's master fields wrong on purpose: the master's win.
  _REG_PP_APONTAMENTO_RECURSOPS Entrada(int32_t recurso, std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS>& ops) {
    _REG_PP_APONTAMENTO_RECURSOPS entrada{};
    entrada.vCapacidade.int64 = entrada.vSetup.int64 = entrada.v8Custo.int64 = entrada.vPercEficiencia.int64 = 1;
    entrada.lPonteiroCentroCustos = 99;
    entrada.cTipo = entrada.cCustoTempoPorUnidade = entrada.cTipoCusto = 9;
    entrada.lPonteiroProcesso = processos_[2];
    entrada.lPonteiroRecurso = recurso;
    entrada.cDesconsiderarTempos = 1;
    entrada.usQuantidadeApontamentoOperacao = static_cast<uint16_t>(ops.size());
    entrada.pregOperacoes = ops.empty() ? nullptr : ops.data();
    return entrada;
  }

  int64_t Contador(int32_t recurso) {
    _REG_PP_RECURSOPS lido{};
    EXPECT_EQ(recursos_.Le(recurso, &lido, 0), S_OK);
    return lido.vContadorAtual.int64;
  }
  void ZeraContador(int32_t recurso) {
    _REG_PP_ATUALIZA_CONTADOR_RECURSOPS atualizacao{};
    atualizacao.vContador.int64 = kContador;
    ASSERT_EQ(recursos_.AtualizaContador(static_cast<uint32_t>(recurso), atualizacao), S_OK);
  }

  std::string TextoIE(uint32_t ulTexto) const {
    CQVArqDyn arquivo;
    CString texto;
    EXPECT_EQ(PPAbreArquivoDyn(op_.CaminhoArquivo(PPArquivoPeriodoOP::IE, kMes), &arquivo, CFile::modeRead), S_OK);
    EXPECT_EQ(PPLeTextoDyn(&arquivo, ulTexto, texto), S_OK);
    PPFechaArquivoDyn(&arquivo);
    return static_cast<const char*>(texto);
  }

  // The master record's part of a resource report (offsets 0 to 35) for PRENSA.
  static std::string CadastroPrensa() { return Q(120 * kUm) + Q(15 * kUm) + Q(250000000) + Q(85 * kUm) + U32(33); }

  // Every file the writers touch, to show that a refusal left them as they were.
  std::string Arquivos() const {
    std::string tudo;
    for (const char* prefixo : {"PPAR", "PPAO", "PPAC", "PPAQ", "PPAI", "PPAD", "PPIE"}) tudo += Arquivo(prefixo) + "|";
    return tudo;
  }

  CPPServidorRecursos recursos_;
  int32_t prensa_ = 0;
  int32_t medir_ = 0;
};

// ---- Reported resources ---------------------------------------------------------------------------

TEST_F(ApontamentoRecurso, EachEntryIsStoredAfterItsOperationsWithTheMasterFieldsOfItsResource) {
  // Runs already in the files: the new ones follow them.
  Anexa("PPAR", kTamanhoAR, std::string(kTamanhoAR, '\x7'));
  Anexa("PPAO", kTamanhoAO, std::string(kTamanhoAO, '\x7'));
  Leituras leituras;
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> ops = {leituras.Operacao(static_cast<uint32_t>(medir_))};
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> nenhuma;
  const std::vector<_REG_PP_APONTAMENTO_RECURSOPS> entradas = {Entrada(prensa_, ops), Entrada(recurso_, nenhuma)};

  uint32_t primeiro = 0;
  ASSERT_EQ(GravaApontamentosRecurso(entradas, &primeiro), S_OK);
  EXPECT_EQ(primeiro, 2u);
  ASSERT_EQ(QuantidadeRegistros("PPAR", kTamanhoAR), 3u);

  EXPECT_EQ(Registro("PPAR", kTamanhoAR, 2),
            CadastroPrensa() + U32(processos_[2]) + U32(prensa_) + U8(2) + U8(1) + U8(1) + U8(3) + Zeros(10) +
                U32(2) + U16(1));
  // The plain resource's master: capacity 60 and nothing else; no operations.
  EXPECT_EQ(Registro("PPAR", kTamanhoAR, 3),
            Q(60 * kUm) + Zeros(28) + U32(processos_[2]) + U32(recurso_) + U8(0) + U8(1) + Zeros(12) + U32(0) + U16(0));

  EXPECT_EQ(Registro("PPAO", kTamanhoAO, 2), U32(medir_) + U32(1) + U32(1) + U32(1) + U32(1) + U16(kDia) + U16(420) +
                                                 U16(kDia + 1) + U16(60) + U8(1) + U8(1) + U8(1) + U8(1) + U8('M') +
                                                 Zeros(15));
  EXPECT_EQ(Registro("PPAC", kTamanhoAC, 1), Q(150 * kUm) + Q(175 * kUm) + U32(7) + U16(6) + Nome("INICIAL", 20) +
                                                 Nome("FINAL", 20) + U8('P') + U8(1) + Zeros(8));
  EXPECT_EQ(Registro("PPAQ", kTamanhoAQ, 1), Q(125000) + U32(8) + Zeros(20) + U8('S') + Zeros(7));
  EXPECT_EQ(Registro("PPAI", kTamanhoAI, 1), Q(10 * kUm) + Q(12 * kUm) + U32(9) + U16(kDia) + U16(kDia + 1) +
                                                 U16(480) + U16(30) + Zeros(41) + U8('P') + Zeros(2));
  const std::string detalhe = Registro("PPAD", kTamanhoAD, 1);
  ASSERT_NE(U32De(detalhe, 0), 0u);
  EXPECT_EQ(detalhe.substr(4), Zeros(20));
  EXPECT_EQ(TextoIE(U32De(detalhe, 0)), "Trocada a matriz");

  EXPECT_EQ(Contador(prensa_), 175 * kUm);
}

TEST_F(ApontamentoRecurso, CounterReadingUpdatesTheResourceOnlyWhenAskedAndAboveZero) {
  struct Caso {
    uint8_t cAtualizar;
    int64_t inicial, final;
    int64_t esperado;
  };
  const Caso casos[] = {
      {0, 150 * kUm, 175 * kUm, kContador},  // not asked
      {1, 0, 0, kContador},                   // nothing read
      {1, -5 * kUm, -1 * kUm, kContador},     // nothing above zero
      {1, 0, 175 * kUm, 175 * kUm},
      {1, 150 * kUm, 0, 0},  // the final reading is the counter, even a counter that turned over to 0
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(testing::Message() << int(caso.cAtualizar) << " " << caso.inicial << " " << caso.final);
    ZeraContador(prensa_);
    Leituras leituras;
    leituras.contador.cAtualizarContadorRecurso = caso.cAtualizar;
    leituras.contador.vContadorInicial.int64 = caso.inicial;
    leituras.contador.vContadorFinal.int64 = caso.final;
    std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> ops = {leituras.Operacao(static_cast<uint32_t>(medir_))};
    uint32_t primeiro = 0;
    ASSERT_EQ(GravaApontamentosRecurso({Entrada(prensa_, ops)}, &primeiro), S_OK);
    EXPECT_EQ(Contador(prensa_), caso.esperado);
  }
}

TEST_F(ApontamentoRecurso, ReadingIsStoredOnlyWhenTheOperationReportsItAndBringsIt) {
  Leituras leituras;
  // Reported but not brought; brought but not reported (an update asked for is not made either).
  _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS semLeituras{};
  semLeituras.ulPonteiroOperacaoProducao = static_cast<uint32_t>(operacao_);
  semLeituras.cApontaContador = semLeituras.cApontaQuantidade = semLeituras.cApontaIntervalo = 1;
  semLeituras.cApontaDetalhe = 1;
  _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS naoReportadas = leituras.Operacao(static_cast<uint32_t>(medir_));
  naoReportadas.cApontaContador = naoReportadas.cApontaQuantidade = naoReportadas.cApontaIntervalo = 0;
  naoReportadas.cApontaDetalhe = 0;
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> ops = {semLeituras, naoReportadas};

  uint32_t primeiro = 0;
  ASSERT_EQ(GravaApontamentosRecurso({Entrada(prensa_, ops)}, &primeiro), S_OK);
  ASSERT_EQ(primeiro, 1u);
  EXPECT_EQ(U32De(Registro("PPAR", kTamanhoAR, 1), 58), 1u);
  EXPECT_EQ(U16De(Registro("PPAR", kTamanhoAR, 1), 62), 2u);
  for (uint32_t n : {1u, 2u}) {
    SCOPED_TRACE(n);
    const std::string operacao = Registro("PPAO", kTamanhoAO, n);
    EXPECT_EQ(operacao.substr(4, 16), Zeros(16));  // no reading records
    EXPECT_EQ(operacao.substr(28, 4), Zeros(4));   // and none said to be there
  }
  EXPECT_EQ(U8De(Registro("PPAO", kTamanhoAO, 1), 32), 0);  // the plain operation's type
  EXPECT_EQ(U8De(Registro("PPAO", kTamanhoAO, 2), 32), 'M');
  EXPECT_EQ(QuantidadeRegistros("PPAC", kTamanhoAC), 0u);
  EXPECT_EQ(QuantidadeRegistros("PPAQ", kTamanhoAQ), 0u);
  EXPECT_EQ(QuantidadeRegistros("PPAI", kTamanhoAI), 0u);
  EXPECT_EQ(QuantidadeRegistros("PPAD", kTamanhoAD), 0u);
  EXPECT_EQ(Contador(prensa_), kContador);
}

TEST_F(ApontamentoRecurso, NoEntriesWriteNothing) {
  uint32_t primeiro = 99;
  ASSERT_EQ(GravaApontamentosRecurso({}, &primeiro), S_OK);
  EXPECT_EQ(primeiro, 0u);
  EXPECT_EQ(Arquivos(), "|||||||");
}

TEST_F(ApontamentoRecurso, MalformedEntryOrUnknownResourceRefusesBeforeAnyRecord) {
  _REG_PP_RECURSOPS nenhum{};
  const HRESULT hrDesconhecido = recursos_.Le(999, &nenhum, 0);
  ASSERT_TRUE(FAILED(hrDesconhecido));

  struct Caso {
    const char* nome;
    // Spoils the second entry, or the operation that both entries share.
    void (*muda)(_REG_PP_APONTAMENTO_RECURSOPS& segunda, _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao);
    bool bDesconhecido;
  };
  const Caso casos[] = {
      {"two counters", [](auto&, auto& o) { o.usQuantApontamentoContador = 2; }, false},
      {"two details", [](auto&, auto& o) { o.usQuantApontamentoDetalhe = 2; }, false},
      {"quantity without array", [](auto&, auto& o) { o.pregQuantidades = nullptr; }, false},
      {"interval without array", [](auto&, auto& o) { o.pregIntervalos = nullptr; }, false},
      {"operations without array", [](auto& r, auto&) { r.pregOperacoes = nullptr; }, false},
      {"unknown resource", [](auto& r, auto&) { r.lPonteiroRecurso = 999; }, true},
  };
  // Something stored already, which must stay as it is.
  Leituras leituras;
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> antes = {leituras.Operacao(static_cast<uint32_t>(medir_))};
  uint32_t primeiro = 0;
  ASSERT_EQ(GravaApontamentosRecurso({Entrada(recurso_, antes)}, &primeiro), S_OK);
  ZeraContador(prensa_);
  const std::string arquivos = Arquivos();

  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> ops = {leituras.Operacao(static_cast<uint32_t>(medir_))};
    std::vector<_REG_PP_APONTAMENTO_RECURSOPS> entradas = {Entrada(prensa_, ops), Entrada(prensa_, ops)};
    caso.muda(entradas[1], ops[0]);
    const HRESULT esperado = caso.bDesconhecido ? hrDesconhecido : Erro(kPPErroArgumentoInvalido);
    EXPECT_EQ(GravaApontamentosRecurso(entradas, &primeiro), esperado);
    EXPECT_EQ(Arquivos(), arquivos);
    EXPECT_EQ(Contador(prensa_), kContador);
  }

  // An operation that is not known, in the second entry: the first entry's readings and counter
  // are not written either.
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> ops = {leituras.Operacao(static_cast<uint32_t>(medir_))};
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> desconhecida = {leituras.Operacao(999)};
  EXPECT_TRUE(FAILED(GravaApontamentosRecurso({Entrada(prensa_, ops), Entrada(prensa_, desconhecida)}, &primeiro)));
  EXPECT_EQ(Arquivos(), arquivos);
  EXPECT_EQ(Contador(prensa_), kContador);
}

// ---- Resources not reported -----------------------------------------------------------------------

TEST_F(ApontamentoRecurso, PlannedResourcesOfTheListedProcessesBecomeReportsFromTheMaster) {
  OPTeste op = NovaOP({{processos_[0], false, {}, {prensa_, recurso_}},
                       {processos_[1], false, {}, {}},
                       {processos_[2], true, {}, {prensa_}}},
                      {{kProdutoFabricado, Quantidade(10)}});
  op.recursos[0][0].vCapacidade.int64 = 1;  // the order's plan is not what is stored
  op.recursos[0][1].cDesconsiderarTempos = 1;
  const uint32_t chave = GravaNova(op);
  ASSERT_NE(chave, 0u);
  const uint32_t primeiroProcesso = U32De(Registro("PPOP", kTamanhoOP, QVGetNumeroDaChave(chave)), 60);
  Anexa("PPAR", kTamanhoAR, std::string(kTamanhoAR, '\x7'));

  PPDiscoApontamento ap{};
  ap.ulPrimeiroRecurso = 77;
  ASSERT_EQ(GravaRecursosNaoApontados({primeiroProcesso, primeiroProcesso + 1}, ap), S_OK);
  EXPECT_EQ(ap.ulPrimeiroRecursoNaoApontado, 2u);
  EXPECT_EQ(ap.usQtdRecursosNaoApontados, 2u);
  EXPECT_EQ(ap.ulPrimeiroRecurso, 77u);
  ASSERT_EQ(QuantidadeRegistros("PPAR", kTamanhoAR), 3u);
  EXPECT_EQ(Registro("PPAR", kTamanhoAR, 2), CadastroPrensa() + U32(processos_[0]) + U32(prensa_) + U8(2) + U8(0) +
                                                 U8(1) + U8(3) + Zeros(16));
  EXPECT_EQ(Registro("PPAR", kTamanhoAR, 3),
            Q(60 * kUm) + Zeros(28) + U32(processos_[0]) + U32(recurso_) + U8(0) + U8(1) + Zeros(18));
  EXPECT_EQ(Contador(prensa_), kContador);

  // Processes that planned nothing: no run.
  PPDiscoApontamento vazio{};
  ASSERT_EQ(GravaRecursosNaoApontados({primeiroProcesso + 1}, vazio), S_OK);
  EXPECT_EQ(vazio.ulPrimeiroRecursoNaoApontado, 0u);
  EXPECT_EQ(vazio.usQtdRecursosNaoApontados, 0u);
  EXPECT_EQ(QuantidadeRegistros("PPAR", kTamanhoAR), 3u);
}

// ---- Through the report -----------------------------------------------------------------------------

TEST_F(ApontamentoRecurso, ReportStoresBothListsAndReadsThemBack) {
  OPTeste op = NovaOP({{processos_[0], false, {}, {prensa_}}, {processos_[2], true, {}, {recurso_}}},
                      {{kProdutoFabricado, Quantidade(10)}});
  const uint32_t chaveOP = GravaNova(op);
  ASSERT_NE(chaveOP, 0u);

  Leituras leituras;
  std::vector<_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS> ops = {leituras.Operacao(static_cast<uint32_t>(medir_))};
  std::vector<_REG_PP_APONTAMENTO_RECURSOPS> entradas = {Entrada(prensa_, ops)};
  _REG_VARMO_OP_APONTAMENTO reg{};
  reg.lPonteiroOP = chaveOP;
  reg.lPonteiroProcesso = processos_[2];
  reg.lPonteiroOperacaoProducao = operacao_;
  reg.vQuantidadeApontada.int64 = 4 * kUm;
  reg.cTipoProducao = 1;
  reg.cTipoItem = 1;
  reg.usDataApontamentoInicio = reg.usDataApontamentoFim = DiaFixado();
  reg.usHoraApontamentoInicio = 8 * 60;
  reg.usHoraApontamentoFim = 9 * 60;
  reg.usQtdRecursos = 1;
  reg.pregRecursos = entradas.data();
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaApontamento(reg, &chave, 1), S_OK);

  const std::string registro = Registro("PPAP", 200, QVGetNumeroDaChave(chave));
  EXPECT_EQ(U32De(registro, 120), 1u);
  EXPECT_EQ(U16De(registro, 166), 1u);
  EXPECT_EQ(U32De(registro, 124), 2u);
  EXPECT_EQ(U16De(registro, 168), 1u);
  EXPECT_EQ(Contador(prensa_), 175 * kUm);

  _REG_VARMO_OP_APONTAMENTO lido;
  ASSERT_EQ(op_.LeApontamento(chave, &lido, nullptr, 0x48), S_OK);
  ASSERT_EQ(lido.usQtdRecursosNaoApontados, 1u);
  EXPECT_EQ(lido.pregRecursosNaoApontados[0].lPonteiroProcesso, processos_[0]);
  EXPECT_EQ(lido.pregRecursosNaoApontados[0].lPonteiroRecurso, prensa_);
  EXPECT_EQ(lido.pregRecursosNaoApontados[0].usQuantidadeApontamentoOperacao, 0u);
  ASSERT_EQ(lido.usQtdRecursos, 1u);
  const _REG_PP_APONTAMENTO_RECURSOPS& recurso = lido.pregRecursos[0];
  EXPECT_EQ(recurso.vCapacidade.int64, 120 * kUm);
  EXPECT_EQ(recurso.lPonteiroProcesso, processos_[2]);
  ASSERT_EQ(recurso.usQuantidadeApontamentoOperacao, 1u);
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao = recurso.pregOperacoes[0];
  EXPECT_EQ(operacao.cTipoOperacaoProducao, 'M');
  ASSERT_EQ(operacao.usQuantApontamentoContador, 1u);
  EXPECT_EQ(operacao.pregContadores[0].vContadorFinal.int64, 175 * kUm);
  EXPECT_STREQ(operacao.pregContadores[0].szNomeInicial, "INICIAL");
  ASSERT_EQ(operacao.usQuantApontamentoQuantidade, 1u);
  EXPECT_EQ(operacao.pregQuantidades[0].vQuantidade.int64, 125000);
  ASSERT_EQ(operacao.usQuantApontamentoIntervalo, 1u);
  EXPECT_EQ(operacao.pregIntervalos[0].usHoraFinal, 30u);
  ASSERT_EQ(operacao.usQuantApontamentoDetalhe, 1u);
  EXPECT_STREQ(operacao.pregDetalhes[0].szDetalhe, "Trocada a matriz");
  LiberaRegistroApontamento(&lido, 0);
}

}  // namespace
