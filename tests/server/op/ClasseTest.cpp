// The production-order class through COM: created by activation from the registered server, it
// refuses an interface version other than 64 and stays uninitialised, answers E_NOTIMPL in the
// slots whose operations are still to come, guards FuncaoGenerica, and forwards saving, reading,
// labels and function 1 to its handler. No task-allocator block is left once the outputs are freed
// (the fixture's TearDown).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "server/idl/Varmo.h"
#include "tests/server/op/EmpresaOP.h"

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

// Before and after Inicializa alike: nothing is called.
TEST_F(ClasseOP, MethodsStillToComeAnswerNotImplemented) {
  IQVPP_OP* op = Cria();
  ASSERT_NE(op, nullptr);
  const std::vector<std::function<HRESULT()>> chamadas = {
      [&] { return op->BuscaQtdsNecessarias({}, nullptr); },
      [&] { return op->BuscaListaDadoPedido({}, nullptr); },
      [&] { return op->Cancela(0, nullptr); },
      [&] { return op->RemoveApontamento(0); },
      [&] { return op->LeRetornosIndustExterna(0, nullptr); },
      [&] { return op->CalcularValorEntrada({}, nullptr); },
      [&] { return op->CalcularValorRecursosNaoApontados({}, nullptr); },
      [&] { return op->BuscaApontamentos(nullptr); },
      [&] { return op->BuscaApontamentosRecursoPeriodo({}, nullptr); },
      [&] { return op->BuscaApontamentosRecursos({}, nullptr); },
      [&] { return op->GravaApontamentoRetornoIndustrializacao({}, nullptr); },
      [&] { return op->RemoveApontamentoRetornoIndustrializacao({}); },
      [&] { return op->BuscaOPGeradoraDaEntrada({}, nullptr); },
      [&] { return op->BuscaOPConsumidoraInsumo({}, nullptr); },
      [&] { return op->BuscaListaRetornoNFPendente(nullptr); },
      [&] { return op->VincularNFRetorno({}); },
      [&] { return op->BuscaPonteirosApontamento({}, nullptr); },
      [&] { return op->GravaEntradasPendentes({}); },
      [&] { return op->BuscaPonteirosNecessidades(nullptr); },
      [&] { return op->BuscaPonteirosNecessidadesPeriodo(0, 0, nullptr); },
      [&] { return op->LePonteirosNecessidades(0, nullptr, nullptr); },
      [&] { return op->GravaNecessidade(0, {}, nullptr); },
      [&] { return op->CancelaNecessidade(0); },
      [&] { return op->LeNecessidade(0, nullptr); },
      [&] { return op->AgruparNecessidades({}, nullptr); },
      [&] { return op->InterromperOP(0, nullptr); },
  };
  for (int inicializado = 0; inicializado < 2; ++inicializado) {
    if (inicializado) {
      ASSERT_EQ(op->Inicializa(Sessao(), 64), S_OK);
    }
    for (size_t i = 0; i < chamadas.size(); ++i) EXPECT_EQ(chamadas[i](), E_NOTIMPL) << "call " << i;
  }
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

}  // namespace
