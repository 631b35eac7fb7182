// The base system's internal requisitions and barcode structures, stood in for: requisitions are
// created, read back with every nested array (which the readers' release frees), cancelled by a
// write with status 3 and have items cancelled; unknown keys and items fail, and a failed call
// changes no file.
#include <functional>
#include <vector>

#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/RequisicaoInternaDF.h"
#include "platform/family/base/ServidorBase.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

CY Unidades(int64_t quantidade) {
  CY valor;
  valor.int64 = quantidade * 10000;
  return valor;
}

// The readers' release of a requisition that the server answered: every nested array, deepest
// first, counts and pointers set to 0.
void LiberaRequisicao(_REG_REQUISICAOINTERNAPS& requisicao) {
  _REG_ITEMREQUISICAOINTERNAPS* itens = requisicao.pregItens;
  for (uint32_t i = 0; i < requisicao.ulQtdItens; ++i) {
    _REG_ITEMREQUISICAOINTERNAPS& item = itens[i];
    CoTaskMemFree(item.pregAdicionais);
    item.ulQtdAdicionais = 0;
    item.pregAdicionais = nullptr;
    _REG_ATENDIMENTOPS* atendimentos = item.pregAtendimentos;
    for (uint32_t j = 0; j < item.ulQtdAtendimentos; ++j) {
      _REG_ATENDIMENTO_ADICIONALPS* adicionais = atendimentos[j].pregAdicionais;
      for (uint32_t k = 0; k < atendimentos[j].ulQtdAdicionais; ++k) CoTaskMemFree(adicionais[k].pregSubitens);
      CoTaskMemFree(adicionais);
      CoTaskMemFree(atendimentos[j].pregComposicao);
    }
    CoTaskMemFree(atendimentos);
    CoTaskMemFree(item.pregComposicao);
  }
  CoTaskMemFree(itens);
  requisicao.ulQtdItens = 0;
  requisicao.pregItens = nullptr;
}

// Requisition 40: item 0 (10 asked, 4 served) with two components, one further entry and two
// attendances, the first with a component and a further entry of two sub-entries; item 1 (5 asked)
// with nothing nested. Seven arrays in all.
RequisicaoInternaDF Requisicao40() {
  RequisicaoInternaDF requisicao{};
  requisicao.regRequisicao.ulChave = 40;
  requisicao.regRequisicao.lFilialRequisitante = 1;
  Texto(requisicao.regRequisicao.szCodigo, "RI-40");

  ItemRequisicaoInternaDF item{};
  item.regItem.vQuantidade = Unidades(10);
  item.regItem.vQuantidadeAtendida = Unidades(4);
  item.regItem.regProdutoServico = {123, 1, 0, 0};
  Texto(item.regItem.szDescricao, "Parafuso");
  _REG_COMPOSICAO_ITEM_REQUISICAOPS composicao{};
  composicao.vQuantidade = Unidades(6);
  composicao.regPosicaoProduto = {124, 0, 0, 0};
  item.composicao = {composicao, composicao};
  item.composicao[1].iPonteiroLocal = 9;
  AdicionalItemDF adicional;
  std::memset(adicional.cDados, 'i', sizeof adicional.cDados);
  item.adicionais = {adicional};

  AtendimentoDF atendimento{};
  atendimento.regAtendimento.vQuantidade = Unidades(3);
  atendimento.regAtendimento.lLocalEstoqueOrigem = 2;
  _REG_ATENDIMENTO_COMPOSICAOPS componente{};
  componente.vQuantidade = Unidades(3);
  componente.lPonteiroLote = 77;
  atendimento.composicao = {componente};
  AdicionalAtendimentoDF entrada{};
  entrada.regAdicional.cReservado0[0] = 'e';
  SubitemAdicionalDF subitem;
  std::memset(subitem.cDados, 's', sizeof subitem.cDados);
  entrada.subitens = {subitem, subitem};
  entrada.subitens[1].cDados[15] = 'S';
  atendimento.adicionais = {entrada};
  AtendimentoDF outro{};
  outro.regAtendimento.vQuantidade = Unidades(1);
  item.atendimentos = {atendimento, outro};
  requisicao.itens.push_back(item);

  ItemRequisicaoInternaDF simples{};
  simples.regItem.vQuantidade = Unidades(5);
  simples.regItem.regProdutoServico = {200, 0, 0, 0};
  requisicao.itens.push_back(simples);
  return requisicao;
}

class RequisicaoInternaTest : public FamiliaSemeada<ServidorBase> {
 protected:
  void SetUp() override {
    FamiliaSemeada<ServidorBase>::SetUp();
    ASSERT_EQ(GravaRequisicoesInternasDF("TESTE", {Requisicao40()}), S_OK);
    requisicoes.servidor = Inicializado();
    ASSERT_NE(requisicoes.servidor, nullptr);
  }

  IQVDF_RequisicaoInterna* Inicializado() {
    auto* servidor = Cria<IQVDF_RequisicaoInterna>(CLSID_QVDF_RequisicaoInterna, IID_IQVDF_RequisicaoInterna);
    if (servidor) {
      const BSTR empresa = SysAllocString(u"TESTE");
      EXPECT_EQ(servidor->Inicializa(empresa, 7, 1234), S_OK);
      SysFreeString(empresa);
    }
    return servidor;
  }
  std::string Arquivo() const { return instalacao_.dir().Read("empresas/TESTE/DF/REQINT.DAT"); }
  std::vector<RequisicaoInternaDF> Guardadas() const {
    std::vector<RequisicaoInternaDF> guardadas;
    EXPECT_EQ(LeRequisicoesInternasDF("TESTE", guardadas), S_OK);
    return guardadas;
  }

  Liberador<IQVDF_RequisicaoInterna> requisicoes{nullptr};
};

}  // namespace

TEST_F(RequisicaoInternaTest, ReadAnswersEveryNestedArrayInItsOwnBlockAndTheReleaseFreesThem) {
  const int32_t antes = TaskMemoryOutstandingBlocks();
  _REG_REQUISICAOINTERNAPS requisicao{};
  ASSERT_EQ(requisicoes.servidor->Le(40, &requisicao), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks() - antes, 7);
  EXPECT_EQ(requisicao.ulChave, 40u);
  EXPECT_STREQ(requisicao.szCodigo, "RI-40");
  ASSERT_EQ(requisicao.ulQtdItens, 2u);

  const _REG_ITEMREQUISICAOINTERNAPS& item = requisicao.pregItens[0];
  EXPECT_EQ(item.vQuantidadeAtendida.int64, Unidades(4).int64);
  EXPECT_STREQ(item.szDescricao, "Parafuso");
  ASSERT_EQ(item.ulQtdComposicao, 2u);
  EXPECT_EQ(item.pregComposicao[1].iPonteiroLocal, 9);
  ASSERT_EQ(item.ulQtdAdicionais, 1u);
  EXPECT_EQ(item.pregAdicionais[15], 'i');
  ASSERT_EQ(item.ulQtdAtendimentos, 2u);
  const _REG_ATENDIMENTOPS& atendimento = item.pregAtendimentos[0];
  EXPECT_EQ(atendimento.vQuantidade.int64, Unidades(3).int64);
  EXPECT_EQ(atendimento.lLocalEstoqueOrigem, 2);
  ASSERT_EQ(atendimento.ulQtdComposicao, 1u);
  EXPECT_EQ(atendimento.pregComposicao[0].lPonteiroLote, 77);
  ASSERT_EQ(atendimento.ulQtdAdicionais, 1u);
  EXPECT_EQ(atendimento.pregAdicionais[0].cReservado0[0], 'e');
  ASSERT_EQ(atendimento.pregAdicionais[0].ulQtdSubitens, 2u);
  EXPECT_EQ(atendimento.pregAdicionais[0].pregSubitens[2 * 16 - 1], 'S');
  // What holds nothing holds no block.
  const _REG_ATENDIMENTOPS& outro = item.pregAtendimentos[1];
  EXPECT_TRUE(outro.ulQtdComposicao == 0 && outro.pregComposicao == nullptr && outro.pregAdicionais == nullptr);
  const _REG_ITEMREQUISICAOINTERNAPS& simples = requisicao.pregItens[1];
  EXPECT_TRUE(simples.ulQtdComposicao == 0 && simples.ulQtdAtendimentos == 0 && simples.pregComposicao == nullptr &&
              simples.pregAdicionais == nullptr && simples.pregAtendimentos == nullptr);

  LiberaRequisicao(requisicao);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), antes);

  // A key it does not hold: the record stays as it was and nothing is allocated.
  std::memset(&requisicao, 0x5A, sizeof requisicao);
  EXPECT_EQ(requisicoes.servidor->Le(41, &requisicao), kFamiliaNaoEncontrado);
  EXPECT_EQ(requisicoes.servidor->Le(0, &requisicao), kFamiliaNaoEncontrado);
  EXPECT_EQ(requisicao.ulChave, 0x5A5A5A5Au);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), antes);
}

TEST_F(RequisicaoInternaTest, ACreatedRequisitionTakesTheNextKeyAndReadsBackInAnotherObject) {
  // As an order's inputs are sent: two items, the second with the product's stock composition.
  std::vector<_REG_COMPOSICAO_ITEM_REQUISICAOPS> composicao(2);
  std::memset(composicao.data(), 0, composicao.size() * sizeof composicao[0]);
  composicao[0].vQuantidade = Unidades(2);
  composicao[1].vQuantidade = Unidades(8);
  composicao[1].iFilial = 1;
  std::vector<_REG_ITEMREQUISICAOINTERNAPS> itens(2);
  std::memset(itens.data(), 0, itens.size() * sizeof itens[0]);
  itens[0].vQuantidade = Unidades(12);
  itens[0].cItemProduto = 1;
  itens[1].vQuantidade = Unidades(1);
  itens[1].iPonteiroUnidadeMedida = 3;
  itens[1].ulQtdComposicao = 2;
  itens[1].pregComposicao = composicao.data();
  _REG_REQUISICAOINTERNAPS nova{};
  nova.ulChave = 999;  // not read
  nova.lFilialRequisitante = 1;
  nova.lFilialDestino = 1;
  Texto(nova.szCodigo, "000123");
  Texto(nova.szObservacao, "OP: 000123");
  nova.ulQtdItens = 2;
  nova.pregItens = itens.data();

  uint32_t chave = 0;
  ASSERT_EQ(requisicoes.servidor->Inclui(nova, &chave), S_OK);
  EXPECT_EQ(chave, 41u);
  EXPECT_EQ(composicao[1].vQuantidade.int64, Unidades(8).int64);  // the caller's arrays stay its own

  Liberador<IQVDF_RequisicaoInterna> outro{Inicializado()};
  ASSERT_NE(outro.servidor, nullptr);
  const int32_t antes = TaskMemoryOutstandingBlocks();
  _REG_REQUISICAOINTERNAPS lida{};
  ASSERT_EQ(outro.servidor->Le(41, &lida), S_OK);
  EXPECT_EQ(TaskMemoryOutstandingBlocks() - antes, 2);  // the items and one composition
  EXPECT_EQ(lida.ulChave, 41u);
  EXPECT_STREQ(lida.szObservacao, "OP: 000123");
  EXPECT_EQ(lida.cStatusPrincipal, 0);
  ASSERT_EQ(lida.ulQtdItens, 2u);
  EXPECT_EQ(lida.pregItens[0].vQuantidade.int64, Unidades(12).int64);
  EXPECT_EQ(lida.pregItens[0].pregComposicao, nullptr);
  EXPECT_EQ(lida.pregItens[1].iPonteiroUnidadeMedida, 3);
  ASSERT_EQ(lida.pregItens[1].ulQtdComposicao, 2u);
  EXPECT_NE(lida.pregItens[1].pregComposicao, composicao.data());
  EXPECT_EQ(lida.pregItens[1].pregComposicao[1].vQuantidade.int64, Unidades(8).int64);
  EXPECT_EQ(lida.pregItens[1].pregComposicao[1].iFilial, 1);
  EXPECT_EQ(lida.pregItens[1].ulQtdAtendimentos, 0u);
  LiberaRequisicao(lida);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), antes);

  // The requisition kept beside it is untouched; the next one takes the key after.
  const auto guardadas = Guardadas();
  ASSERT_EQ(guardadas.size(), 2u);
  EXPECT_EQ(guardadas[0].itens[0].atendimentos.size(), 2u);
  nova.ulQtdItens = 0;
  nova.pregItens = nullptr;
  ASSERT_EQ(outro.servidor->Inclui(nova, &chave), S_OK);
  EXPECT_EQ(chave, 42u);
}

TEST_F(RequisicaoInternaTest, AWriteOfTheWholeRecordWithStatusThreeCancelsIt) {
  // As the readers cancel a requisition: read it, mark it and its items, write it whole.
  _REG_REQUISICAOINTERNAPS requisicao{};
  ASSERT_EQ(requisicoes.servidor->Le(40, &requisicao), S_OK);
  requisicao.cStatusPrincipal = 3;
  for (uint32_t i = 0; i < requisicao.ulQtdItens; ++i) {
    _REG_ITEMREQUISICAOINTERNAPS& item = requisicao.pregItens[i];
    item.vQuantidade = item.vQuantidadeAtendida;
    item.cItemCancelado = 1;
  }
  uint32_t chave = 0;
  ASSERT_EQ(requisicoes.servidor->Grava(requisicao, &chave), S_OK);
  EXPECT_EQ(chave, 40u);
  LiberaRequisicao(requisicao);

  const int32_t antes = TaskMemoryOutstandingBlocks();
  ASSERT_EQ(requisicoes.servidor->Le(40, &requisicao), S_OK);
  EXPECT_EQ(requisicao.cStatusPrincipal, 3);
  ASSERT_EQ(requisicao.ulQtdItens, 2u);
  EXPECT_EQ(requisicao.pregItens[0].vQuantidade.int64, Unidades(4).int64);
  EXPECT_EQ(requisicao.pregItens[1].vQuantidade.int64, 0);
  EXPECT_EQ(requisicao.pregItens[0].cItemCancelado, 1);
  EXPECT_EQ(requisicao.pregItens[1].cItemCancelado, 1);
  // The nested arrays went through the write with the record.
  ASSERT_EQ(requisicao.pregItens[0].ulQtdAtendimentos, 2u);
  EXPECT_EQ(requisicao.pregItens[0].pregAtendimentos[0].pregAdicionais[0].ulQtdSubitens, 2u);
  EXPECT_EQ(TaskMemoryOutstandingBlocks() - antes, 7);
  LiberaRequisicao(requisicao);

  // A key it does not hold: nothing is written and the output stays.
  const std::string arquivo = Arquivo();
  _REG_REQUISICAOINTERNAPS desconhecida{};
  desconhecida.ulChave = 41;
  chave = 0xFFFF;
  EXPECT_EQ(requisicoes.servidor->Grava(desconhecida, &chave), kFamiliaNaoEncontrado);
  EXPECT_EQ(chave, 0xFFFFu);
  EXPECT_EQ(Arquivo(), arquivo);
}

TEST_F(RequisicaoInternaTest, ItemsAreCancelledByIndexAllOrNone) {
  const uint16_t segundo = 1;
  ASSERT_EQ(requisicoes.servidor->CancelaItens(40, 1, &segundo), S_OK);
  auto guardadas = Guardadas();
  ASSERT_EQ(guardadas.size(), 1u);
  const _REG_ITEMREQUISICAOINTERNAPS& cancelado = guardadas[0].itens[1].regItem;
  EXPECT_EQ(cancelado.cItemCancelado, 1);
  EXPECT_EQ(cancelado.vQuantidadeCancelada.int64, Unidades(5).int64);
  EXPECT_EQ(guardadas[0].itens[0].regItem.cItemCancelado, 0);

  // An item or a requisition it does not hold: no item is touched.
  const std::string arquivo = Arquivo();
  const uint16_t itens[] = {0, 2};
  EXPECT_EQ(requisicoes.servidor->CancelaItens(40, 2, itens), kFamiliaNaoEncontrado);
  EXPECT_EQ(requisicoes.servidor->CancelaItens(41, 1, itens), kFamiliaNaoEncontrado);
  EXPECT_EQ(Arquivo(), arquivo);

  // What is left to serve of a partly served item is cancelled; what was served stays.
  ASSERT_EQ(requisicoes.servidor->CancelaItens(40, 1, itens), S_OK);
  guardadas = Guardadas();
  const _REG_ITEMREQUISICAOINTERNAPS& parcial = guardadas[0].itens[0].regItem;
  EXPECT_EQ(parcial.cItemCancelado, 1);
  EXPECT_EQ(parcial.vQuantidadeCancelada.int64, Unidades(6).int64);
  EXPECT_EQ(parcial.vQuantidadeAtendida.int64, Unidades(4).int64);
  EXPECT_EQ(guardadas[0].itens[0].atendimentos.size(), 2u);
}

TEST_F(RequisicaoInternaTest, AFailedCallChangesNoFileAndLeavesItsOutput) {
  _REG_ITEMREQUISICAOINTERNAPS item{};
  item.vQuantidade = Unidades(1);
  _REG_REQUISICAOINTERNAPS nova{};
  nova.ulQtdItens = 1;
  nova.pregItens = &item;
  _REG_REQUISICAOINTERNAPS lida;
  uint32_t chave = 0;
  const uint16_t primeiro = 0;
  const int32_t blocos = TaskMemoryOutstandingBlocks();
  struct Caso {
    const char* metodo;
    std::function<HRESULT()> chamada;
  };
  const Caso casos[] = {
      {"Le",
       [&] {
         const HRESULT hr = requisicoes.servidor->Le(40, &lida);
         if (SUCCEEDED(hr)) LiberaRequisicao(lida);
         return hr;
       }},
      {"Grava",
       [&] {
         _REG_REQUISICAOINTERNAPS regravada = nova;
         regravada.ulChave = 40;
         return requisicoes.servidor->Grava(regravada, &chave);
       }},
      {"Inclui", [&] { return requisicoes.servidor->Inclui(nova, &chave); }},
      {"CancelaItens", [&] { return requisicoes.servidor->CancelaItens(40, 1, &primeiro); }},
  };
  constexpr HRESULT kFalha = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.metodo);
    const std::string arquivo = Arquivo();
    std::memset(&lida, 0x5A, sizeof lida);
    chave = 0xFFFF;
    modulo_.RequisicaoInterna.FalhaMetodo(caso.metodo, 1, kFalha);
    EXPECT_EQ(caso.chamada(), kFalha);
    EXPECT_EQ(Arquivo(), arquivo);
    EXPECT_EQ(lida.ulChave, 0x5A5A5A5Au);
    EXPECT_EQ(chave, 0xFFFFu);
    EXPECT_EQ(caso.chamada(), S_OK);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);

  // A record that counts an array it does not carry is refused before anything is written.
  const std::string arquivo = Arquivo();
  item.ulQtdComposicao = 1;
  EXPECT_EQ(requisicoes.servidor->Inclui(nova, &chave), E_POINTER);
  nova.pregItens = nullptr;
  EXPECT_EQ(requisicoes.servidor->Inclui(nova, &chave), E_POINTER);
  EXPECT_EQ(chave, 0xFFFFu);
  EXPECT_EQ(Arquivo(), arquivo);

  // Keys must be given and distinct in what is seeded.
  RequisicaoInternaDF semChave{};
  EXPECT_EQ(GravaRequisicoesInternasDF("TESTE", {semChave}), E_INVALIDARG);
  EXPECT_EQ(GravaRequisicoesInternasDF("TESTE", {Requisicao40(), Requisicao40()}), E_INVALIDARG);
  EXPECT_EQ(Arquivo(), arquivo);

  Liberador<IQVDF_RequisicaoInterna> novo{
      Cria<IQVDF_RequisicaoInterna>(CLSID_QVDF_RequisicaoInterna, IID_IQVDF_RequisicaoInterna)};
  ASSERT_NE(novo.servidor, nullptr);
  EXPECT_EQ(novo.servidor->Le(40, &lida), kFamiliaNaoInicializado);
}

TEST_F(RequisicaoInternaTest, BarcodeStructuresOfTheInstallationAnswerByPointer) {
  Liberador<IQVDF_EstrCodBar> barras{Cria<IQVDF_EstrCodBar>(CLSID_QVDF_EstrCodBar, IID_IQVDF_EstrCodBar)};
  ASSERT_NE(barras.servidor, nullptr);
  _REG_ESTRUTURA_CODIGO_BARRASPS estrutura{};
  EXPECT_EQ(barras.servidor->Le(1, &estrutura), kFamiliaNaoInicializado);
  ASSERT_EQ(barras.servidor->Inicializa(), S_OK);

  // Without the installation's registers directory there is nowhere to keep them.
  EXPECT_EQ(barras.servidor->Le(1, &estrutura), kFamiliaSemDiretorio);
  EXPECT_EQ(GravaEstruturasCodigoBarrasDF({}), kFamiliaSemDiretorio);
  instalacao_.dir().Write("cadastros/.keep", "");
  instalacao_.GravaValor("SOFTWARE\\QV Rivovoda", "Cadastros", instalacao_.dir().windows_path() + "cadastros\\");

  std::vector<_REG_ESTRUTURA_CODIGO_BARRASPS> estruturas(2);
  estruturas[0].iTipo = kEstruturaCodigoBarrasOP;
  std::memset(estruturas[0].cReservado2, 'b', sizeof estruturas[0].cReservado2);
  estruturas[1].iTipo = 3;
  ASSERT_EQ(GravaEstruturasCodigoBarrasDF(estruturas), S_OK);

  ASSERT_EQ(barras.servidor->Le(1, &estrutura), S_OK);
  EXPECT_EQ(estrutura.iTipo, kEstruturaCodigoBarrasOP);
  EXPECT_EQ(estrutura.cReservado2[79], 'b');
  ASSERT_EQ(barras.servidor->Le(2, &estrutura), S_OK);
  EXPECT_EQ(estrutura.iTipo, 3);
  for (const int32_t desconhecido : {0, 3, -1}) {
    SCOPED_TRACE(desconhecido);
    EXPECT_EQ(barras.servidor->Le(desconhecido, &estrutura), kFamiliaNaoEncontrado);
    EXPECT_EQ(estrutura.iTipo, 3);
  }

  // Read afresh: a change of the file shows in the next call.
  estruturas[0].iTipo = 7;
  ASSERT_EQ(GravaEstruturasCodigoBarrasDF({estruturas[0]}), S_OK);
  ASSERT_EQ(barras.servidor->Le(1, &estrutura), S_OK);
  EXPECT_EQ(estrutura.iTipo, 7);
  EXPECT_EQ(barras.servidor->Le(2, &estrutura), kFamiliaNaoEncontrado);

  modulo_.EstrCodBar.FalhaMetodo("Le", 1, E_OUTOFMEMORY);
  EXPECT_EQ(barras.servidor->Le(1, &estrutura), E_OUTOFMEMORY);
  EXPECT_EQ(barras.servidor->Le(1, &estrutura), S_OK);
}
