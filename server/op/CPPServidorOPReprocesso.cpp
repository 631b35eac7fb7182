// Reprocessing: the order that takes a report's quantity back through the processes it went
// through (GeraOPReprocesso), and what that order's last-process reports give back to the report
// they came from, its order's items and their sources (CreditaApontamentoOrigem). Both run inside
// the order lock that the caller holds.
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/QVChave.h"
#include "server/CPPArqEx.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

// What the reprocess order takes of its origin: the header with its texts, and the processes with
// their inputs, resources, images and labels. The origin's items, simple reports and reports stay
// behind: the new order has an item of its own, and what the origin recorded is not work that the
// new order did.
constexpr uint16_t kLeituraReprocesso = CPPServidorOP::kLeTextos | CPPServidorOP::kLeInsumos |
                                        CPPServidorOP::kLeRecursos | CPPServidorOP::kLeImagens |
                                        CPPServidorOP::kLeEtiquetas;

// How many of the order's processes, from the first, the reprocess order takes: up to and including
// the reported one, the first receiving process of the report's pointer (as the report found it).
// 0 when the order has none.
uint16_t ProcessosAteOApontado(const _REG_VARMO_OPPS& ordem, int32_t lPonteiroProcesso) {
  for (uint16_t i = 0; i < ordem.usQtdProcessos; ++i) {
    const _REG_VARMO_OP_PROCESSOPS& processo = ordem.pregProcessos[i];
    if (processo.cRecebeApontamento && processo.lPonteiroProcesso == lPonteiroProcesso) return i + 1;
  }
  return 0;
}

// The origin's header, less what names the origin itself: its key, its internal requisition (the
// new order's inputs get their own) and the dates of its cancellation or interruption. Saved as a
// new order, it is numbered as its origin and starts in situation 1.
_REG_VARMO_OPPS CabecalhoReprocesso(const _REG_VARMO_OPPS& ordem) {
  _REG_VARMO_OPPS nova = ordem;
  nova.ulChaveOP = 0;
  nova.lPonteiroOP = 0;
  nova.ulChaveRequisicaoInterna = 0;
  nova.usDataCancelamento = nova.usHoraCancelamento = 0;
  nova.usDataInterrupcao = nova.usHoraInterrupcao = 0;
  nova.cOPReprocesso = 1;
  nova.cReprocessoConfirmado = 0;
  nova.cPossuiItemQtdLimitada = 0;
  nova.usQtdItens = 0;
  nova.pregItens = nullptr;
  nova.usQtdProcessos = 0;
  nova.pregProcessos = nullptr;
  return nova;
}

// The reprocess order's one item: the reported quantity (scrap included) of the order's product,
// with the order and the report it came from.
_REG_VARMO_OP_ITEMPS ItemReprocesso(const _REG_VARMO_OPPS& ordem, const PPDiscoApontamento& apontamento,
                                    uint32_t ulChaveApontamento) {
  _REG_VARMO_OP_ITEMPS item{};
  item.vQuantidadeProgramada.int64 = apontamento.vQuantidadeApontada.int64;
  item.ulChaveOPReprocessada = ordem.ulChaveOP;
  item.ulChaveApontamentoOPOrigem = ulChaveApontamento;
  item.regPosicaoProdutoServico = ordem.regPosicaoProdutoServico;
  item.usPonteiroFilial = ordem.usPonteiroFilial;
  item.cEhReprocessoUltProcesso = apontamento.cUltimoProcesso;
  item.cTipoProdutoServico = ordem.cTipoProdutoServico;
  item.cTipoItem = kItemReprocesso;
  return item;
}

// The origin report's item: same kind, source, sales-order line and report of origin.
bool ItemDaOrigem(const PPDiscoItem& item, const PPDiscoApontamento& origem) {
  return item.cTipoItem == origem.cTipoItem && item.lPonteiroPedidoNecessidade == origem.lPonteiroPedidoNecessidade &&
         item.usIdxItemPedido == origem.usIdxItemPedido &&
         item.ulChaveApontamentoOPOrigem == origem.ulChaveApontamentoOPOrigem;
}

// What the item, once produced by the amount, still owed of it: a credit past its programme goes
// to no source (never below 0).
int64_t Creditado(const PPDiscoItem& item, int64_t quantia) {
  const int64_t restante = item.vQuantidadeProgramada.int64 - item.vQuantidadeCancelada.int64 -
                           item.vQuantidadePerdida.int64 - item.vQuantidadeProduzida.int64;
  const int64_t creditado = restante < 0 ? quantia + restante : quantia;
  return creditado < 0 ? 0 : creditado;
}

HRESULT LeItens(const CString& caminho, const PPDiscoOP& op, std::vector<PPDiscoItem>& itens) {
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(caminho, 'L', sizeof(PPDiscoItem), false, true)) return PPErroHResultMotor(erro);
  return PPLeSequenciaOP(arquivo, op.ulPrimeiroItem, op.usQtdItens, itens);
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// The reprocess order

// The inputs' totals are not set here: GravaOP computes every input's two totals from the new
// order's total (the report's quantity) as it writes them, with the input's rounding.
HRESULT CPPServidorOP::GeraOPReprocesso(uint16_t usMesAno, uint32_t ulRegistroApontamento,
                                        PPDiscoApontamento& apontamento) {
  const uint32_t ulChaveOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
  _REG_VARMO_OPPS ordem{};
  HRESULT hr = LePonteiros(1, &ulChaveOP, &ordem, kLeituraReprocesso);
  uint32_t ulChaveNova = 0;
  if (SUCCEEDED(hr)) {
    const uint16_t usProcessos = ProcessosAteOApontado(ordem, apontamento.lPonteiroProcesso);
    _REG_VARMO_OP_ITEMPS item = ItemReprocesso(ordem, apontamento, QVMontaChave(usMesAno, ulRegistroApontamento));
    _REG_VARMO_OPPS nova = CabecalhoReprocesso(ordem);
    nova.usQtdProcessos = usProcessos;
    nova.pregProcessos = ordem.pregProcessos;
    nova.usQtdItens = 1;
    nova.pregItens = &item;
    hr = usProcessos ? GravaOP(0, nova, &ulChaveNova, 0) : PPErroHResult(kPPErroArgumentoInvalido);
  }
  LiberaRegistroOP(&ordem, 0);
  if (FAILED(hr)) return hr;
  apontamento.ulChaveOPReprocesso = ulChaveNova;
  return PPRegravaRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesAno), ulRegistroApontamento, apontamento);
}

// ---------------------------------------------------------------------------------------------------
// Crediting the origin report

HRESULT CPPServidorOP::CreditaApontamentoOrigem(uint16_t usMesAno, uint32_t ulRegistroApontamento,
                                                PPDiscoApontamento& apontamento, uint8_t cEstorno) {
  const uint32_t ulChaveOrigem = apontamento.ulChaveApontamentoOPOrigem;
  const uint16_t usMesOrigem = QVGetMesAnoDaChave(ulChaveOrigem);
  const uint32_t ulRegistroOrigem = QVGetNumeroDaChave(ulChaveOrigem);
  if (!usMesOrigem || !ulRegistroOrigem) return PPErroHResult(kPPErroChaveAusente);

  // The origin report: what came back of it, never more than it reported.
  const CString caminhoOrigem = CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesOrigem);
  PPDiscoApontamento origem;
  if (HRESULT hr = PPLeRegistroMesOP(caminhoOrigem, ulRegistroOrigem, &origem)) return hr;
  int64_t quantia = apontamento.vQuantidadeApontada.int64 - apontamento.vQuantidadeRefugo.int64;
  if (quantia > origem.vQuantidadeApontada.int64) quantia = origem.vQuantidadeApontada.int64;
  const int64_t sinal = cEstorno ? -1 : 1;
  origem.vQuantidadeReprocessada.int64 += sinal * quantia;
  if (HRESULT hr = PPRegravaRegistroMesOP(caminhoOrigem, ulRegistroOrigem, origem)) return hr;

  const uint32_t ulChaveOPOrigem = QVMontaChave(usMesOrigem, origem.ulRegistroOP);
  if (origem.cUltimoProcesso) {
    // The origin's items, as produced by what came back.
    PPDiscoOP op;
    if (HRESULT hr = PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesOrigem), origem.ulRegistroOP, &op))
      return hr;
    const CString caminhoItens = CaminhoArquivo(PPArquivoPeriodoOP::IT, usMesOrigem);
    std::vector<PPDiscoItem> itens;
    if (HRESULT hr = LeItens(caminhoItens, op, itens)) return hr;
    // The report's credit and release flag are kept before a failure is returned, as the report's
    // other postings are.
    const CString caminho = CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesAno);
    bool bAlterado = false;
    HRESULT hr = S_OK;
    for (uint32_t i = 0; i < itens.size() && SUCCEEDED(hr); ++i) {
      PPDiscoItem& item = itens[i];
      if (!ItemDaOrigem(item, origem)) continue;
      item.vQuantidadeProduzida.int64 += sinal * quantia;
      const bool bComFonte = item.cTipoItem == kItemNecessidade || item.cTipoItem == kItemPedido;
      if (!cEstorno && bComFonte) {
        apontamento.vQuantidadeCreditadaItem.int64 = Creditado(item, quantia);
        bAlterado = true;
      }
      if (hr = PPRegravaRegistroMesOP(caminhoItens, op.ulPrimeiroItem + i, item); FAILED(hr)) break;
      if (item.cTipoItem == kItemNecessidade) {
        hr = AtualizaNecessidadeApontamento(item.lPonteiroPedidoNecessidade, apontamento, cEstorno);
      } else if (item.cTipoItem == kItemPedido && (cEstorno ? apontamento.cLiberacaoItemPedido != 0
                                                              : m_regMestre.cLiberarItemPedido != 0)) {
        // Only a release the sales server says it did is recorded (172), and only such a release is
        // taken back: a credit that released nothing has nothing to return to the sales order.
        hr = LiberaItemPedido(usMesAno, apontamento, cEstorno);
        if (!cEstorno && hr == 1) {
          apontamento.cLiberacaoItemPedido = 1;
          bAlterado = true;
        }
      }
    }
    if (bAlterado) {
      if (HRESULT hrRegrava = PPRegravaRegistroMesOP(caminho, ulRegistroApontamento, apontamento))
        return FAILED(hr) ? hr : hrRegrava;
    }
    if (FAILED(hr)) return hr;
  }
  // What came back counts on the origin's process, and through it on its order.
  if (HRESULT hr = AtualizaSituacaoProcesso(ulChaveOPOrigem, origem.lPonteiroProcesso, 0); FAILED(hr)) return hr;
  return S_OK;
}
