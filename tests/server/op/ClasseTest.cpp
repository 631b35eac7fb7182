// The production-order class through COM: created by activation from the registered server, it
// refuses an interface version other than 64 and stays uninitialised, guards FuncaoGenerica, and
// forwards saving, reading, labels, function 1, report searches and removal, returns from outside
// processing with their invoices, the valuation of entries, cancelling and interrupting, and
// requirements to its handler. No task-allocator block is left once the outputs are freed (the fixture's
// TearDown).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "foundation/QVChave.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "server/idl/Varmo.h"
#include "tests/server/op/EmpresaOP.h"
#include "tests/server/op/EmpresaOPFamilia.h"

namespace {

constexpr HRESULT kVersaoRecusada = static_cast<HRESULT>(0x8004068D);
constexpr HRESULT kNaoInicializado = static_cast<HRESULT>(0x80040631);
constexpr HRESULT kSemFuncao = static_cast<HRESULT>(0x80040001);

class ClasseOP : public EmpresaOP {
 protected:
  void SetUp() override {
    EmpresaOP::SetUp();
    if (HasFatalFailure()) return;
    DiretorioModulo("ES");
    ASSERT_EQ(estoque_.Registra(), S_OK);
    RegistraServidor();
  }
  void TearDown() override {
    if (objeto_) objeto_->Release();
    EmpresaOP::TearDown();
    EXPECT_EQ(estoque_.Movimento.Vivos(), 0);
  }

  // An object of the class through CoCreateInstanceEx, not initialised.
  IQVPP_OP* Cria() {
    MULTI_QI resultado{&IID_IQVPP_OP, nullptr, E_FAIL};
    EXPECT_EQ(CoCreateInstanceEx(CLSID_QVPP_OP, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado), S_OK);
    EXPECT_EQ(resultado.hr, S_OK);
    objeto_ = static_cast<IQVPP_OP*>(static_cast<void*>(resultado.pItf));
    return objeto_;
  }

  ServidorEstoque estoque_;
  IQVPP_OP* objeto_ = nullptr;
};

TEST_F(ClasseOP, RefusesAnotherInterfaceVersionAndStaysUninitialised) {
  IQVPP_OP* op = Cria();
  ASSERT_NE(op, nullptr);
  uint32_t chave = 1;
  _REG_VARMO_OPPS registro{};
  EXPECT_EQ(op->Inicializa(Sessao(), 63), kVersaoRecusada);
  EXPECT_EQ(op->LePonteiros(1, &chave, &registro, 0), kNaoInicializado);
  EXPECT_EQ(op->SetFiltro(_REG_VARMO_FILTROPS{}), kNaoInicializado);
  EXPECT_EQ(op->Inicializa(Sessao(), 64), S_OK);
  EXPECT_EQ(op->SetFiltro(_REG_VARMO_FILTROPS{}), S_OK);
  EXPECT_EQ(op->Inicializa(Sessao(), 65), kVersaoRecusada);
  EXPECT_EQ(op->SetFiltro(_REG_VARMO_FILTROPS{}), S_OK) << "a refused version keeps the session";
  EXPECT_EQ(op->Finaliza(), S_OK);
  EXPECT_EQ(op->SetFiltro(_REG_VARMO_FILTROPS{}), kNaoInicializado);
}

// Every slot reaches its handler: before Inicializa each of the last operations to come answers
// 1585, none E_NOTIMPL.
TEST_F(ClasseOP, TheReturnAndValuationSlotsReachTheHandler) {
  IQVPP_OP* op = Cria();
  ASSERT_NE(op, nullptr);
  _REG_VARMO_VALOR_ENTRADA_OUTPS valor{};
  uint32_t registro = 0;
  _REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS pendentes{};
  const std::vector<std::function<HRESULT()>> chamadas = {
      [&] { return op->CalcularValorEntrada({}, &valor); },
      [&] { return op->CalcularValorRecursosNaoApontados({}, &valor); },
      [&] { return op->GravaApontamentoRetornoIndustrializacao({}, &registro); },
      [&] { return op->BuscaListaRetornoNFPendente(&pendentes); },
      [&] { return op->VincularNFRetorno({}); },
      [&] { return op->GravaEntradasPendentes({}); },
  };
  for (size_t i = 0; i < chamadas.size(); ++i) EXPECT_EQ(chamadas[i](), kNaoInicializado) << "call " << i;
  EXPECT_EQ(pendentes.pregRetornoPendente, nullptr);
}

TEST_F(ClasseOP, FuncaoGenericaServesOnlyFunctionOneWithItsEightBytes) {
  IQVPP_OP* op = Cria();
  ASSERT_NE(op, nullptr);
  ASSERT_EQ(op->Inicializa(Sessao(), 64), S_OK);
  uint8_t bytes[8] = {};
  struct Caso {
    uint32_t lFuncao;
    int32_t lQtdBytes;
    uint8_t* pListaBytes;
  };
  const Caso casos[] = {
      {2, 8, bytes}, {0, 8, bytes}, {1, 4, bytes}, {1, 7, bytes}, {1, -8, bytes}, {1, 8, nullptr},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(testing::Message() << "function " << caso.lFuncao << ", " << caso.lQtdBytes << " bytes");
    auto* const kIntocado = reinterpret_cast<_REG_FUNCAO_GENERICA_VARMO*>(0x1234);
    _REG_FUNCAO_GENERICA_VARMO* saida = kIntocado;
    EXPECT_EQ(op->FuncaoGenerica(caso.lFuncao, {caso.lQtdBytes, caso.pListaBytes}, &saida), kSemFuncao);
    EXPECT_EQ(saida, kIntocado);
  }
}

TEST_F(ClasseOP, SavesReadsIssuesLabelsAndRefreshesAnOrder) {
  IQVPP_OP* op = Cria();
  ASSERT_NE(op, nullptr);
  ASSERT_EQ(op->Inicializa(Sessao(), 64), S_OK);
  OPTeste nova = NovaOP({{processos_[0]}, {processos_[1], true, {}, {recurso_}, {{0, 2, "CAIXA"}}}},
                        {{kProdutoFabricado, Quantidade(5)}});
  uint32_t chave = 0;
  ASSERT_EQ(op->GravaOP(0, nova.Registro(), &chave), S_OK);
  constexpr uint16_t kMaio2024 = (2024 - 1848) * 12 + 5;
  EXPECT_EQ(chave, (1u << 12) | kMaio2024);

  _REG_VARMO_OPPS lida{};
  ASSERT_EQ(op->LePonteiros(1, &chave, &lida, 0xFFFF), S_OK);
  EXPECT_EQ(lida.lNumeroOP, 1u) << "numbered by its type";
  EXPECT_EQ(lida.ulChaveOP, chave);
  EXPECT_EQ(lida.lPonteiroTipoOP, tipoOP_);
  ASSERT_EQ(lida.usQtdProcessos, 2);
  ASSERT_NE(lida.pregProcessos, nullptr);
  EXPECT_EQ(lida.pregProcessos[0].lPonteiroProcesso, processos_[0]);
  EXPECT_EQ(lida.pregProcessos[1].lPonteiroProcesso, processos_[1]);
  ASSERT_EQ(lida.pregProcessos[1].usQuantidadeRecursos, 1);
  EXPECT_EQ(lida.pregProcessos[1].pregRecursos[0].lPonteiroRecurso, recurso_);
  ASSERT_EQ(lida.pregProcessos[1].usQtdEtiquetas, 1);
  EXPECT_EQ(lida.pregProcessos[1].pregEtiquetas[0].ulQuantidadeTotal, 10u) << "5 units, 2 labels each";
  ASSERT_EQ(lida.usQtdItens, 1);
  EXPECT_EQ(lida.pregItens[0].vQuantidadeProgramada.int64, Quantidade(5).int64);
  LiberaOP(lida);

  _REG_PP_EMITIR_ETIQUETA_OPPS pedido{chave, 0, 4, 1, 0};
  _REG_PP_LISTA_ETIQUETA_EMITIDAPS emitidas{};
  ASSERT_EQ(op->EmitirEtiquetas(pedido, &emitidas), S_OK);
  ASSERT_EQ(emitidas.ulQuantidade, 10u);
  EXPECT_EQ(emitidas.pregEtiquetas[9].ulChaveOP, chave);
  EXPECT_EQ(emitidas.pregEtiquetas[9].ulNrLoteEtiqueta, 3u);
  CoTaskMemFree(emitidas.pregEtiquetas);

  uint8_t bytes[8];
  const uint32_t ulProcesso = static_cast<uint32_t>(processos_[1]);
  std::memcpy(bytes, &chave, 4);
  std::memcpy(bytes + 4, &ulProcesso, 4);
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(op->FuncaoGenerica(1, {8, bytes}, &saida), S_OK);
  EXPECT_EQ(saida, nullptr) << "function 1 answers nothing";
  ASSERT_EQ(op->LePonteiros(1, &chave, &lida, 0), S_OK);
  EXPECT_EQ(lida.cSituacao, 1) << "nothing reported: not started";
  LiberaOP(lida);
}

// ---- The daily corrections through the class ---------------------------------------------------

class ClasseOPFamilia : public EmpresaOPFamilia {
 protected:
  void SetUp() override {
    EmpresaOPFamilia::SetUp();
    if (HasFatalFailure()) return;
    MULTI_QI resultado{&IID_IQVPP_OP, nullptr, E_FAIL};
    ASSERT_EQ(CoCreateInstanceEx(CLSID_QVPP_OP, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado), S_OK);
    classe_ = static_cast<IQVPP_OP*>(static_cast<void*>(resultado.pItf));
    ASSERT_EQ(classe_->Inicializa(Sessao(), 64), S_OK);
  }
  void TearDown() override {
    if (classe_) classe_->Release();
    EmpresaOPFamilia::TearDown();
  }

  // A new order of 10 of the made product over two receiving processes, saved through the class.
  uint32_t Ordem() {
    OPTeste nova = NovaOP({{processos_[0], true}, {processos_[1], true}}, {{kProdutoFabricado, Quantidade(10)}});
    uint32_t chave = 0;
    EXPECT_EQ(classe_->GravaOP(0, nova.Registro(), &chave), S_OK);
    return chave;
  }
  // cTipoProducao 1 in house, 0 outsourced (to processor 5).
  uint32_t Relata(uint32_t chaveOP, int64_t unidades, uint8_t cTipoProducao = 1) {
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.lPonteiroOP = chaveOP;
    reg.lPonteiroProcesso = processos_[0];
    reg.lPonteiroOperacaoProducao = operacao_;
    reg.vQuantidadeApontada = Quantidade(unidades);
    reg.cTipoProducao = cTipoProducao;
    reg.lPonteiroIndustrializador = cTipoProducao ? 0 : 5;
    reg.cTipoItem = 1;
    reg.usDataApontamentoInicio = reg.usDataApontamentoFim = DiaFixado();
    reg.usHoraApontamentoInicio = 8 * 60;
    reg.usHoraApontamentoFim = 9 * 60;
    uint32_t chave = 0;
    EXPECT_EQ(classe_->GravaApontamento(reg, &chave), S_OK);
    return chave;
  }
  uint8_t Situacao(uint32_t chaveOP) {
    _REG_VARMO_OPPS lida{};
    EXPECT_EQ(classe_->LeCabecalhoOP(chaveOP, &lida), S_OK);
    const uint8_t situacao = lida.cSituacao;
    LiberaOP(lida);
    return situacao;
  }
  std::vector<uint32_t> RelatosDa(uint32_t chaveOP) {
    _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
    filtro.lChaveOP = chaveOP;
    _REG_VARMO_PONTEIROS_ULONGPS chaves{};
    EXPECT_EQ(classe_->BuscaPonteirosApontamento(filtro, &chaves), S_OK);
    std::vector<uint32_t> lista(chaves.plPonteiro, chaves.plPonteiro + chaves.lQtd);
    if (chaves.lQtd == 0) {
      EXPECT_EQ(chaves.plPonteiro, nullptr) << "no array for no key";
    }
    CoTaskMemFree(chaves.plPonteiro);
    return lista;
  }
  uint32_t Necessidade(int64_t unidades) {
    _REG_VARMO_OP_NECESSIDADE reg{};
    reg.vQtdSolicitada = Quantidade(unidades);
    reg.regPosProduto.lPonteiroProduto = kProdutoFabricado;
    reg.usPonteiroFilial = kFilial;
    uint32_t chave = 0;
    EXPECT_EQ(classe_->GravaNecessidade(0, reg, &chave), S_OK);
    return chave;
  }
  _REG_VARMO_OP_NECESSIDADE LeNecessidade(uint32_t chave) {
    _REG_VARMO_OP_NECESSIDADE lida{};
    EXPECT_EQ(classe_->LeNecessidade(chave, &lida), S_OK);
    return lida;
  }

  IQVPP_OP* classe_ = nullptr;
};

TEST_F(ClasseOPFamilia, AWrongReportIsFoundAndTakenBackAndTheOrderCancelled) {
  const uint32_t op = Ordem();
  const uint32_t relato = Relata(op, 10);
  ASSERT_EQ(Situacao(op), 2);
  EXPECT_EQ(RelatosDa(op), std::vector<uint32_t>{relato});

  EXPECT_EQ(classe_->RemoveApontamento(relato), S_OK);
  EXPECT_TRUE(RelatosDa(op).empty()) << "a removed report matches no search";
  EXPECT_EQ(Situacao(op), 1) << "nothing reported any more";

  EXPECT_EQ(classe_->Cancela(1, const_cast<uint32_t*>(&op)), S_OK);
  EXPECT_EQ(Situacao(op), 99);
  EXPECT_EQ(classe_->Cancela(1, const_cast<uint32_t*>(&op)), TesteOP::Erro(1594)) << "cancelled once";
}

// An outsourced report of 4 of the 10 comes back without its invoice: the invoice waits in the
// list until its receipt document is linked, and the entry of the 4 is 40 % of the order.
TEST_F(ClasseOPFamilia, AnOutsourcedReportComesBackAndItsInvoiceIsLinkedAndItsEntryValued) {
  const uint32_t op = Ordem();
  const uint32_t relato = Relata(op, 4, 0);
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS retorno{};
  retorno.ulChaveOP = op;
  retorno.ulPonteiroApontamento = QVGetNumeroDaChave(relato);
  retorno.regRetorno.vQuantidadeRetornada = Quantidade(4);
  uint32_t registro = 0;
  ASSERT_EQ(classe_->GravaApontamentoRetornoIndustrializacao(retorno, &registro), S_OK);
  EXPECT_NE(registro, 0u);

  _REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS pendentes{};
  ASSERT_EQ(classe_->BuscaListaRetornoNFPendente(&pendentes), S_OK);
  ASSERT_EQ(pendentes.ulQuantidade, 1u);
  const _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS pendente = pendentes.pregRetornoPendente[0];
  CoTaskMemFree(pendentes.pregRetornoPendente);
  EXPECT_EQ(pendente.ulChaveApontamento, relato);
  EXPECT_EQ(pendente.ulChaveOP, op);
  EXPECT_EQ(pendente.vQuantidadeRetornada.int64, Quantidade(4).int64);

  EXPECT_EQ(classe_->VincularNFRetorno({pendente.ulChaveRetornoNFPendente, 77}), S_OK);
  pendentes = {};
  ASSERT_EQ(classe_->BuscaListaRetornoNFPendente(&pendentes), S_OK);
  EXPECT_EQ(pendentes.ulQuantidade, 0u) << "linked: no longer pending";
  CoTaskMemFree(pendentes.pregRetornoPendente);
  EXPECT_EQ(classe_->VincularNFRetorno({pendente.ulChaveRetornoNFPendente, 78}), TesteOP::Erro(1592));

  _REG_VARMO_VALOR_ENTRADA_INPS entrada{};
  entrada.vQuantidade = Quantidade(4);
  entrada.lChaveOP = op;
  entrada.lPonteiroProcesso = processos_[1];
  _REG_VARMO_VALOR_ENTRADA_OUTPS valor{};
  ASSERT_EQ(classe_->CalcularValorEntrada(entrada, &valor), S_OK);
  EXPECT_EQ(valor.v8PercentualApontado.int64, 40'000'000) << "4 of 10, eight decimals";
  EXPECT_EQ(classe_->CalcularValorRecursosNaoApontados(entrada, &valor), S_OK);

  _REG_VARMO_OP_APONTAMENTO semPendencia{};
  semPendencia.lPonteiroApontamento = relato;
  EXPECT_EQ(classe_->GravaEntradasPendentes(semPendencia), TesteOP::Erro(1592)) << "no entry was left for later";
}

TEST_F(ClasseOPFamilia, ARunningOrderIsInterruptedWithItsObservation) {
  const uint32_t op = Ordem();
  Relata(op, 4);
  BSTR observacao = SysAllocString(u"Parada da linha");
  EXPECT_EQ(classe_->InterromperOP(op, observacao), S_OK);
  SysFreeString(observacao);
  EXPECT_EQ(Situacao(op), 62);
  uint32_t chave = op;
  EXPECT_EQ(classe_->Cancela(1, &chave), TesteOP::Erro(1594)) << "an interrupted order is not cancelled";
}

TEST_F(ClasseOPFamilia, RequirementsAreGroupedAndTheGroupCancelledBackIntoTheDemand) {
  const uint32_t primeira = Necessidade(5);
  const uint32_t segunda = Necessidade(3);
  uint32_t membros[] = {primeira, segunda};
  uint32_t grupo = 0;
  ASSERT_EQ(classe_->AgruparNecessidades({2, membros}, &grupo), S_OK);
  const _REG_VARMO_OP_NECESSIDADE agrupada = LeNecessidade(grupo);
  EXPECT_EQ(agrupada.cTipoRegistro, 3);
  EXPECT_EQ(agrupada.vQtdSolicitada.int64, Quantidade(8).int64);
  EXPECT_EQ(LeNecessidade(primeira).vQtdAgrupada.int64, Quantidade(5).int64);

  ASSERT_EQ(classe_->CancelaNecessidade(grupo), S_OK);
  EXPECT_EQ(LeNecessidade(primeira).vQtdAgrupada.int64, 0);
  EXPECT_EQ(LeNecessidade(grupo).vQtdCancelada.int64, Quantidade(8).int64);

  _REG_PP_FILTRO_QTDS_NECESSARIASPS filtro{};
  filtro.cLerNecessidades = 1;
  _REG_VARMO_LISTA_QTDS_NECESSARIASPS lista{};
  ASSERT_EQ(classe_->BuscaQtdsNecessarias(filtro, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 1);
  EXPECT_EQ(lista.pRegQtdsNecessarias[0].regPosicaoProduto.lPonteiroProduto, kProdutoFabricado);
  EXPECT_EQ(lista.pRegQtdsNecessarias[0].vSaldoProduzir.int64, Quantidade(8).int64) << "both members pending again";
  CoTaskMemFree(lista.pRegQtdsNecessarias);
}

}  // namespace
