// Reversal of production reports: a report taken back with everything its recording posted.
//
// A removal runs in two halves, as recording does. The first reads: the report, its order, the
// process it reported, the item it credited, the reprocess order it opened and its shipment; every
// refusal that does not depend on removing the transit reports is decided there. The second
// writes, ordered so that a removal that fails halfway can be run again: the stock reversals first
// (each movement marked not posted as soon as the inventory removed it), then the quantities, whose
// calls to other servers come before the local rewrites (the sales release marked taken back at
// once), and the removed mark last. The reversal mirrors recording's conditions and item match.
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "platform/win32/codepage.h"
#include "server/CPPArqEx.h"
#include "server/PPDatas.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

constexpr uint8_t kOperacaoNormal = 'O';  // the operations whose reports changed items and processes
constexpr uint8_t kOrdemServico = 'S';

// The balance's input for a report of usMesAno.
_REG_VARMO_OP_APONTAMENTO ChaveSaldo(uint16_t usMesAno, const PPDiscoApontamento& apontamento) {
  _REG_VARMO_OP_APONTAMENTO reg{};
  reg.lPonteiroOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
  reg.lPonteiroProcesso = apontamento.lPonteiroProcesso;
  reg.lPonteiroPedidoNecessidade = apontamento.lPonteiroPedidoNecessidade;
  reg.usIdxItemPedido = apontamento.usIdxItemPedido;
  reg.cTipoItem = apontamento.cTipoItem;
  return reg;
}

int64_t Liquido(const PPDiscoApontamento& apontamento) {
  return apontamento.vQuantidadeApontada.int64 - apontamento.vQuantidadeRefugo.int64;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One removal

class CPPServidorOP::RemocaoApontamento {
 public:
  RemocaoApontamento(CPPServidorOP& op, uint32_t ulChave)
      : op_(op), usMesAno_(QVGetMesAnoDaChave(ulChave)), ulRegistro_(QVGetNumeroDaChave(ulChave)) {}

  HRESULT Le() { return PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::AP), ulRegistro_, &ap_); }
  bool Removido() const { return ap_.cExcluido != 0; }
  HRESULT VerificaTipo() const;
  // Reads only.
  HRESULT Prepara();
  HRESULT Verifica();
  HRESULT VerificaPosterior() const;
  // Writes.
  HRESULT RemoveTransito(bool* pbRemoveu);
  HRESULT MarcaConsumidos();
  HRESULT EstornaMovimentos();
  HRESULT AjustaQuantidades();
  HRESULT CancelaReprocesso();
  HRESULT CancelaRemessa();
  HRESULT Carimba();
  void GravaHistorico();
  HRESULT AtualizaSituacao();

 private:
  HRESULT LeProcesso();
  HRESULT LeReprocesso();
  HRESULT LeRemessa();
  HRESULT LeRetornos(std::vector<PPDiscoRetorno>& retornos) const;
  HRESULT EstornaItem();
  HRESULT EstornaMeta();
  CString Caminho(PPArquivoPeriodoOP arquivo) const { return op_.CaminhoArquivo(arquivo, usMesAno_); }
  uint32_t ChaveOP() const { return QVMontaChave(usMesAno_, ap_.ulRegistroOP); }

  CPPServidorOP& op_;
  const uint16_t usMesAno_;
  const uint32_t ulRegistro_;
  PPDiscoApontamento ap_{};
  PPDiscoOP ordem_{};
  SaldoProcesso saldo_{};
  // The reported process (first receiving process of the pointer); 0: none.
  uint32_t ulRegistroProcesso_ = 0;
  PPDiscoProcesso processo_{};
  bool bUltimo_ = false;
  // The item that recording credited (matched or the order's first); 0: none.
  uint32_t ulRegistroItem_ = 0;
  PPDiscoItem item_{};
  bool bCancelaReprocesso_ = false;
  bool bCancelaRemessa_ = false;
  bool bReprocessoEstornado_ = false;
};

// 2.
HRESULT CPPServidorOP::RemocaoApontamento::VerificaTipo() const {
  if (ap_.cTipoApontamento != 0 && ap_.cTipoApontamento != 4) return PPErroHResult(kPPErroTipoApontamento);
  if (ap_.usQtdChaveVinculada != 0) return PPErroHResult(kPPErroApontamentoVinculado);
  return S_OK;
}

HRESULT CPPServidorOP::RemocaoApontamento::Prepara() {
  if (HRESULT hr = Le()) return hr;
  if (Removido()) return S_OK;
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::OP), ap_.ulRegistroOP, &ordem_)) return hr;
  if (HRESULT hr = op_.CalculaSaldoProcesso(ChaveSaldo(usMesAno_, ap_), &saldo_)) return hr;
  if (HRESULT hr = LeProcesso()) return hr;
  if (!bUltimo_) return S_OK;
  return op_.LocalizaItemApontamento(usMesAno_, ordem_, ap_.cTipoItem, ap_.lPonteiroPedidoNecessidade,
                                     ap_.usIdxItemPedido, ap_.ulChaveApontamentoOPOrigem, &ulRegistroItem_, &item_);
}

// 10.'s process, found as recording found it.
HRESULT CPPServidorOP::RemocaoApontamento::LeProcesso() {
  ulRegistroProcesso_ = 0;
  bUltimo_ = false;
  ulRegistroItem_ = 0;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(PPArquivoPeriodoOP::PR), 'L', sizeof(PPDiscoProcesso), false, true))
    return PPErroHResultMotor(erro);
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaOP(arquivo, ordem_.ulPrimeiroProcesso, ordem_.usQtdProcessos, processos)) return hr;
  for (uint32_t i = 0; i < processos.size(); ++i) {
    if (!processos[i].cRecebeApontamento || processos[i].lPonteiroProcesso != ap_.lPonteiroProcesso) continue;
    ulRegistroProcesso_ = ordem_.ulPrimeiroProcesso + i;
    processo_ = processos[i];
    bUltimo_ = i + 1 == processos.size();
    return S_OK;
  }
  return S_OK;
}

// 5. (1720), 6., 7., 9. and the reprocess reversal's 1596: before anything is written.
HRESULT CPPServidorOP::RemocaoApontamento::Verifica() {
  if (saldo_.cHouveEncerramentoForcado && ap_.cEncerramentoForcado != 1)
    return PPErroHResult(kPPErroEncerramentoForcado);
  if (HRESULT hr = LeReprocesso()) return hr;
  if (HRESULT hr = LeRemessa()) return hr;
  if (ordem_.cSituacao == kSituacaoCancelada || ordem_.cSituacao == kSituacaoInterrompida)
    return PPErroHResult(kPPErroSituacaoOP);
  const bool bReprocesso = ap_.cTipoOperacao == kOperacaoNormal && bUltimo_ && ulRegistroItem_ &&
                           item_.cTipoItem == kItemReprocesso;
  return bReprocesso ? op_.VerificaItemReprocesso(ap_) : S_OK;
}

// 6. A reprocess order not started is cancelled in 13., so what the cancelling refuses is decided
// here too: its emission date outside the open period.
HRESULT CPPServidorOP::RemocaoApontamento::LeReprocesso() {
  bCancelaReprocesso_ = false;
  const uint32_t chave = ap_.ulChaveOPReprocesso;
  if (!ap_.cGerouReprocesso || !chave) return S_OK;
  PPDiscoOP reprocesso;
  const CString caminho = op_.CaminhoArquivo(PPArquivoPeriodoOP::OP, QVGetMesAnoDaChave(chave));
  if (HRESULT hr = PPLeRegistroMesOP(caminho, QVGetNumeroDaChave(chave), &reprocesso)) return hr;
  if (reprocesso.cSituacao == kSituacaoCancelada) return S_OK;
  if (reprocesso.cSituacao != kSituacaoNaoIniciada) return PPErroHResult(kPPErroReprocessoIniciado);
  const _REG_VARMO_MESTRE& mestre = op_.m_regMestre;
  if (reprocesso.usDataEmissao < mestre.usDataInferiorPeriodo || reprocesso.usDataEmissao > mestre.usDataSuperiorPeriodo)
    return PPErroHResult(kPPErroForaPeriodo);
  bCancelaReprocesso_ = true;
  return S_OK;
}

// 7. A shipment already cancelled (by an earlier run of this removal) has nothing left to refuse.
HRESULT CPPServidorOP::RemocaoApontamento::LeRemessa() {
  bCancelaRemessa_ = false;
  if (ap_.ulRegistroRemessa == 0) return S_OK;
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa{};
  const HRESULT hr = op_.LeRemessaIndustrializacao(QVMontaChave(usMesAno_, ap_.ulRegistroRemessa), &remessa, nullptr, 0);
  if (hr == PPErroHResult(kPPErroRegistroRemovido)) return S_OK;
  if (hr) return hr;
  const bool bFaturada =
      remessa.cStatusFaturamento == kRemessaFaturada || remessa.cStatusFaturamento == kRemessaFaturadaComApontamento;
  if (bFaturada && !op_.m_regMestre.cPermitirCancelRemessaIndustrializacao)
    return PPErroHResult(kPPErroRemessaFaturada);
  bCancelaRemessa_ = true;
  return S_OK;
}

// 5. (1596), after the transit reports are gone.
HRESULT CPPServidorOP::RemocaoApontamento::VerificaPosterior() const { return ConfereSaldoPosterior(saldo_, ap_); }

HRESULT CPPServidorOP::ConfereSaldoPosterior(const SaldoProcesso& saldo, const PPDiscoApontamento& apontamento) {
  if (saldo.cUltimoProcesso) return S_OK;
  const int64_t restante =
      saldo.vApontadoAtual.int64 + saldo.vRefugoAtual.int64 - apontamento.vQuantidadeApontada.int64;
  if (saldo.vApontadoPosterior.int64 + saldo.vRefugoPosterior.int64 > restante)
    return PPErroHResult(kPPErroSaldoApontamento);
  return S_OK;
}

// 3.
HRESULT CPPServidorOP::RemocaoApontamento::RemoveTransito(bool* pbRemoveu) {
  *pbRemoveu = false;
  std::vector<PPDiscoRetorno> retornos;
  if (HRESULT hr = LeRetornos(retornos)) return hr;
  for (const PPDiscoRetorno& retorno : retornos) {
    if (retorno.cGeraTransitoIndustrializacao != 1) continue;
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg{};
    reg.ulChaveOP = ChaveOP();
    reg.ulPonteiroApontamento = ulRegistro_;
    reg.regRetorno.lPonteiroRegistroEntrada = retorno.lPonteiroRegistroEntrada;
    reg.regRetorno.ulChaveRetornoNFPendente = retorno.ulChaveRetornoNFPendente;
    if (HRESULT hr = op_.RemoveApontamentoRetornoIndustrializacao(reg, 0); FAILED(hr)) return hr;
    *pbRemoveu = true;
  }
  return S_OK;
}

HRESULT CPPServidorOP::RemocaoApontamento::LeRetornos(std::vector<PPDiscoRetorno>& retornos) const {
  retornos.clear();
  if (ap_.usQtdRetornoIndustExt == 0) return S_OK;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(PPArquivoPeriodoOP::RI), 'L', sizeof(PPDiscoRetorno), false, true))
    return PPErroHResultMotor(erro);
  return PPLeSequenciaOP(arquivo, ap_.ulPrimeiroRetorno, ap_.usQtdRetornoIndustExt, retornos);
}

// 8. Setting the flag again on a retry changes nothing.
HRESULT CPPServidorOP::RemocaoApontamento::MarcaConsumidos() {
  return op_.MarcaApontamentosImportados(usMesAno_, ap_.usQtdChaveApontamentoImportado, ap_.ulPrimeiraChaveImportada,
                                         1);
}

// 11.
HRESULT CPPServidorOP::RemocaoApontamento::EstornaMovimentos() {
  const uint32_t ulChaveOP = ChaveOP();
  if (HRESULT hr = op_.EstornaListaMovimentos(usMesAno_, ulChaveOP, ap_.ulPrimeiroEstoque, ap_.usQtdMvtoEstoque))
    return hr;
  std::vector<PPDiscoRetorno> retornos;
  if (HRESULT hr = LeRetornos(retornos)) return hr;
  for (const PPDiscoRetorno& retorno : retornos) {
    if (HRESULT hr = op_.EstornaRetorno(usMesAno_, ulChaveOP, retorno); FAILED(hr)) return hr;
    if (static_cast<int32_t>(retorno.ulChaveRetornoNFPendente) <= 0) continue;
    if (HRESULT hr = op_.LiberaNFPendente(retorno.ulChaveRetornoNFPendente); FAILED(hr)) return hr;
  }
  if (ap_.ulMovimentoRefugo) {
    if (HRESULT hr = op_.EstornaListaMovimentos(usMesAno_, ulChaveOP, ap_.ulMovimentoRefugo, 1)) return hr;
  }
  return op_.EstornaListaMovimentos(usMesAno_, ulChaveOP, ap_.ulPrimeiraEntrada, ap_.usQtdMvtoEntrada);
}

// 10. Only a normal operation's report on its process changed the item and the process.
HRESULT CPPServidorOP::RemocaoApontamento::AjustaQuantidades() {
  if (ap_.cTipoOperacao != kOperacaoNormal || !ulRegistroProcesso_) return S_OK;
  if (bUltimo_) {
    if (HRESULT hr = EstornaItem(); FAILED(hr)) return hr;
  }
  processo_.cEncerramentoForcado = 0;
  return PPRegravaRegistroMesOP(Caminho(PPArquivoPeriodoOP::PR), ulRegistroProcesso_, processo_);
}

// The sales release and the target first: once they are taken back nothing local is left to fail
// between them and their marks. A release is taken back only when the report says it was done, and
// the report says so no more as soon as it is taken back.
HRESULT CPPServidorOP::RemocaoApontamento::EstornaItem() {
  const uint8_t cTipo = ulRegistroItem_ ? item_.cTipoItem : ap_.cTipoItem;
  if (cTipo == kItemPedido && !ap_.cGerouReprocesso && ap_.cLiberacaoItemPedido == 1) {
    if (HRESULT hr = op_.LiberaItemPedido(usMesAno_, ap_, 1); FAILED(hr)) return hr;
    ap_.cLiberacaoItemPedido = 0;
    if (HRESULT hr = PPRegravaRegistroMesOP(Caminho(PPArquivoPeriodoOP::AP), ulRegistro_, ap_)) return hr;
  }
  if (HRESULT hr = EstornaMeta(); FAILED(hr)) return hr;
  if (cTipo == kItemNecessidade && !ap_.cGerouReprocesso && ulRegistroItem_) {
    if (HRESULT hr = op_.AtualizaNecessidadeApontamento(item_.lPonteiroPedidoNecessidade, ap_, 1)) return hr;
  }
  if (cTipo == kItemReprocesso) {
    if (HRESULT hr = op_.EstornaItemReprocesso(usMesAno_, ulRegistro_, ap_); FAILED(hr)) return hr;
    bReprocessoEstornado_ = true;
  }
  if (ap_.cGerouReprocesso || !ulRegistroItem_) return S_OK;
  item_.vQuantidadeProduzida.int64 -= Liquido(ap_);
  item_.vQuantidadePerdida.int64 -= ap_.vQuantidadeRefugo.int64;
  item_.cEncerramentoForcado = 0;
  return PPRegravaRegistroMesOP(Caminho(PPArquivoPeriodoOP::IT), ulRegistroItem_, item_);
}

// Recording posts a service order's target for an internal last-process report without entries
// (and not for a reprocess item); its reversal is sent under the same conditions and key.
HRESULT CPPServidorOP::RemocaoApontamento::EstornaMeta() {
  if (ap_.cTipoProducao != kProducaoInterna || ap_.usQtdMvtoEntrada != 0 || ap_.cGerouReprocesso) return S_OK;
  if (ap_.vQuantidadeApontada.int64 <= 0 || ordem_.cTipoProdutoServico != kOrdemServico) return S_OK;
  if (item_.cTipoItem == kItemReprocesso) return S_OK;
  return op_.ApontaMetaProducao(
      MetaServicoApontamento(ordem_, item_, ap_.usDataGravacao, -ap_.vQuantidadeApontada.int64));
}

// 13.
HRESULT CPPServidorOP::RemocaoApontamento::CancelaReprocesso() {
  if (!bCancelaReprocesso_) return S_OK;
  const uint32_t chave = ap_.ulChaveOPReprocesso;
  return op_.Cancela(1, &chave, 0);
}

// 14.
HRESULT CPPServidorOP::RemocaoApontamento::CancelaRemessa() {
  if (!bCancelaRemessa_) return S_OK;
  return op_.CancelaRemessaIndustrializacao(QVMontaChave(usMesAno_, ap_.ulRegistroRemessa));
}

// 15. The record as the steps before left it (a transit removal or a re-flag may have touched it).
HRESULT CPPServidorOP::RemocaoApontamento::Carimba() {
  if (HRESULT hr = Le()) return hr;
  ap_.usDataGravacao = QVGetDataAtual(false);
  ap_.usHoraGravacao = static_cast<uint16_t>(PPHoraAtualMinutos());
  ap_.usPonteiroUsuarioGravacao = op_.m_usUsuario;
  ap_.cExcluido = 1;
  return PPRegravaRegistroMesOP(Caminho(PPArquivoPeriodoOP::AP), ulRegistro_, ap_);
}

// 16.
void CPPServidorOP::RemocaoApontamento::GravaHistorico() {
  if (!op_.m_historico.EstaAberto()) return;
  op_.m_historico.GravaLinha(kPPHistoricoExclusao, "Apontamento: %s",
                             static_cast<const char*>(QVChaveParaTexto(QVMontaChave(usMesAno_, ulRegistro_))));
}

// 17.
HRESULT CPPServidorOP::RemocaoApontamento::AtualizaSituacao() {
  const uint32_t ulChaveOP = ChaveOP();
  if (HRESULT hr = op_.AtualizaSituacaoProcesso(ulChaveOP, ap_.lPonteiroProcesso, 0); FAILED(hr)) return hr;
  if (HRESULT hr = op_.AtualizaReservasOP(ulChaveOP); FAILED(hr)) return hr;
  if (!bReprocessoEstornado_) return S_OK;
  const uint32_t ulOrigem = ap_.ulChaveApontamentoOPOrigem;
  const uint16_t usMesOrigem = QVGetMesAnoDaChave(ulOrigem);
  PPDiscoApontamento origem;
  if (HRESULT hr = PPLeRegistroMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesOrigem), QVGetNumeroDaChave(ulOrigem),
                              &origem))
    return hr;
  const uint32_t ulChaveOPOrigem = QVMontaChave(usMesOrigem, origem.ulRegistroOP);
  if (HRESULT hr = op_.AtualizaSituacaoProcesso(ulChaveOPOrigem, origem.lPonteiroProcesso, 0); FAILED(hr)) return hr;
  if (HRESULT hr = op_.AtualizaReservasOP(ulChaveOPOrigem); FAILED(hr)) return hr;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// RemoveApontamento

HRESULT CPPServidorOP::RemoveApontamento(uint32_t ulChave, uint8_t bMarca) {
  // 1. and 2.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!QVGetMesAnoDaChave(ulChave) || !QVGetNumeroDaChave(ulChave)) return PPErroHResult(kPPErroChaveAusente);
  // 18. Held to the end, on every exit.
  CQVArqMarca marca;
  if (bMarca) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  RemocaoApontamento remocao(*this, ulChave);
  if (HRESULT hr = remocao.Le()) return hr;
  if (bMarca) {
    if (HRESULT hr = remocao.VerificaTipo()) return hr;
  }
  // 4. A report removed already is left as it is.
  if (HRESULT hr = remocao.Prepara()) return hr;
  if (remocao.Removido()) return S_OK;
  if (HRESULT hr = remocao.Verifica()) return hr;
  // 3. The transit reports go first; what they changed is read again.
  bool bRemoveu = false;
  if (HRESULT hr = remocao.RemoveTransito(&bRemoveu)) return hr;
  if (bRemoveu) {
    if (HRESULT hr = remocao.Prepara()) return hr;
    if (remocao.Removido()) return S_OK;
    if (HRESULT hr = remocao.Verifica()) return hr;
  }
  if (HRESULT hr = remocao.VerificaPosterior()) return hr;
  // 8., 11., 10., 13. to 17.
  if (HRESULT hr = remocao.MarcaConsumidos()) return hr;
  if (HRESULT hr = remocao.EstornaMovimentos()) return hr;
  if (HRESULT hr = remocao.AjustaQuantidades()) return hr;
  if (HRESULT hr = remocao.CancelaReprocesso(); FAILED(hr)) return hr;
  if (HRESULT hr = remocao.CancelaRemessa()) return hr;
  if (HRESULT hr = remocao.Carimba()) return hr;
  remocao.GravaHistorico();
  return remocao.AtualizaSituacao();
}

// ---------------------------------------------------------------------------------------------------
// The reprocess reversal

HRESULT CPPServidorOP::VerificaItemReprocesso(const PPDiscoApontamento& apontamento) {
  const uint32_t ulOrigem = apontamento.ulChaveApontamentoOPOrigem;
  const uint16_t usMesOrigem = QVGetMesAnoDaChave(ulOrigem);
  if (!usMesOrigem || !QVGetNumeroDaChave(ulOrigem)) return PPErroHResult(kPPErroChaveAusente);
  PPDiscoApontamento origem;
  if (HRESULT hr = PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesOrigem), QVGetNumeroDaChave(ulOrigem),
                              &origem))
    return hr;
  if (origem.cUltimoProcesso) return S_OK;
  SaldoProcesso saldo;
  if (HRESULT hr = CalculaSaldoProcesso(ChaveSaldo(usMesOrigem, origem), &saldo)) return hr;
  if (saldo.vApontadoAtual.int64 - Liquido(apontamento) < saldo.vApontadoPosterior.int64)
    return PPErroHResult(kPPErroSaldoApontamento);
  return S_OK;
}

HRESULT CPPServidorOP::EstornaItemReprocesso(uint16_t usMesAno, uint32_t ulRegistro, PPDiscoApontamento& apontamento) {
  if (HRESULT hr = VerificaItemReprocesso(apontamento)) return hr;
  return CreditaApontamentoOrigem(usMesAno, ulRegistro, apontamento, 1);
}

// ---------------------------------------------------------------------------------------------------
// Movements

// The local copy is rewritten right after each removal, before the next outside call: whatever
// fails later, a retry finds the movements already taken back marked as not posted.
HRESULT CPPServidorOP::EstornaListaMovimentos(uint16_t usMesAno, uint32_t ulChaveOP, uint32_t ulPrimeiro,
                                              uint16_t usQtd) {
  if (usQtd == 0) return S_OK;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(CaminhoArquivo(PPArquivoPeriodoOP::ME, usMesAno), 'G', sizeof(PPDiscoMovimento), false,
                              true))
    return PPErroHResultMotor(erro);
  std::vector<PPDiscoMovimento> movimentos;
  if (HRESULT hr = PPLeSequenciaOP(arquivo, ulPrimeiro, usQtd, movimentos)) return hr;
  for (uint32_t i = 0; i < movimentos.size(); ++i) {
    PPDiscoMovimento& movimento = movimentos[i];
    if (static_cast<int32_t>(movimento.ulChaveMovimento) <= 0 || movimento.cLancado != 1) continue;
    bool bRemovido = false;
    const HRESULT hr = EstornaMovimentoEstoque(ulChaveOP, movimento.ulChaveMovimento, &bRemovido);
    if (bRemovido) {
      movimento.cLancado = 0;
      uint32_t ulRegistro = ulPrimeiro + i;
      if (int erro = arquivo.Grava(&movimento, &ulRegistro)) return FAILED(hr) ? hr : PPErroHResultMotor(erro);
    }
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}
