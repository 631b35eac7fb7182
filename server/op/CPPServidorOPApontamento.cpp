// Recording a production report (GravaApontamento) and the reporting balance it is checked
// against (CalculaSaldoProcesso, BuscaSaldoParaApontamento), with the report's own lists: the
// process's report index (PPRA) and the imported-report keys (PPTA).
//
// A report runs in two halves. The first only reads: the balance, the order, its operation, its
// processes, the origin report, the branch settings of an outsourced report, the item that a
// last-process report credits and the shipment that an outsourced report asks for. Every refusal
// is decided there, so a refused report leaves the month's files as they were and makes none. The
// second half writes: texts, resource reports, keys, the item and the process, the shipment, the
// report record, the process's index, then the postings to the outside servers. After each posting
// step the report record is rewritten with the movement runs stored so far, before the next step
// runs or its failure is returned, so that whatever was posted stays reachable from the report and
// can be reversed. Nothing written is undone.
#include <cstring>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPDatas.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"
#include "platform/win32/codepage.h"

namespace {

using Arquivos = CPPArquivosOP;

constexpr uint8_t kOperacaoServico = 'S';  // an operation that reports also on closed orders
constexpr uint8_t kOrdemServico = 'S';     // the order's cTipoProdutoServico of a service order
constexpr uint8_t kApontamentoNormal = 0;
constexpr uint8_t kApontamentoImportacao = 5;

bool SituacaoFechada(uint8_t cSituacao) {
  return cSituacao == kSituacaoConcluidaComPerda || cSituacao == kSituacaoConcluida ||
         cSituacao == kSituacaoSuspensa || cSituacao == kSituacaoInterrompida || cSituacao == kSituacaoCancelada;
}

bool Concluida(uint8_t cSituacao) {
  return cSituacao == kSituacaoConcluidaComPerda || cSituacao == kSituacaoConcluida;
}

// The item serves the report's source: same kind, same sales order or requirement, same line.
bool ItemDoApontamento(const PPDiscoItem& item, uint8_t cTipoItem, uint32_t lPonteiroPedidoNecessidade,
                       uint16_t usIdxItemPedido) {
  return item.cTipoItem == cTipoItem && item.lPonteiroPedidoNecessidade == lPonteiroPedidoNecessidade &&
         item.usIdxItemPedido == usIdxItemPedido;
}

// What an item still owes: programmed - cancelled - lost - produced.
int64_t SaldoItem(const PPDiscoItem& item) {
  return item.vQuantidadeProgramada.int64 - item.vQuantidadeCancelada.int64 - item.vQuantidadePerdida.int64 -
         item.vQuantidadeProduzida.int64;
}

HRESULT LeRegistroArquivo(const CString& caminho, uint32_t ulRegistro, void* pDisco, uint32_t tamanho) {
  if (ulRegistro == 0) return PPErroHResult(kQVErroFimArquivo);
  CPPArqEx arquivo;
  return PPErroHResultMotor(arquivo.LeRegistro(caminho, ulRegistro, pDisco, tamanho));
}

HRESULT GravaRegistroArquivo(const CString& caminho, uint32_t ulRegistro, const void* pDisco, uint32_t tamanho) {
  CPPArqEx arquivo;
  return PPErroHResultMotor(arquivo.GravaRegistro(caminho, pDisco, tamanho, &ulRegistro, false));
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One report: what the checking half finds and the writing half uses.

class CPPServidorOP::GravacaoApontamento {
 public:
  GravacaoApontamento(CPPServidorOP& op, const _REG_VARMO_OP_APONTAMENTO& reg)
      : op_(op),
        reg_(reg),
        usMesAno_(QVGetMesAnoDaChave(reg.lPonteiroOP)),
        ulRegistroOP_(QVGetNumeroDaChave(reg.lPonteiroOP)),
        bQuantidade_(reg.vQuantidadeApontada.int64 > 0),
        bInterna_(reg.cTipoProducao == kProducaoInterna) {}

  // Steps 4 to 11, and the refusals of 14 and the shipment of 15 decided ahead: reads only.
  HRESULT VerificaSaldo();
  HRESULT LeOrdem();
  HRESULT LeProcessos();
  HRESULT LeOrigem();
  HRESULT VerificaExterno();
  HRESULT PreparaItem();
  HRESULT PreparaRemessa();
  // Steps 6, 12 to 24.
  HRESULT MontaApontamento();
  HRESULT GravaTextos();
  HRESULT GravaListas();
  HRESULT AtualizaItemProcesso();
  HRESULT AnexaApontamento(uint32_t* plPntrOut);
  HRESULT IncluiNoProcesso() { return op_.IncluiApontamentoNoProcesso(usMesAno_, ulRegistro_, ulRegistroProcesso_); }
  HRESULT GravaPostagens();
  HRESULT MarcaImportados();
  HRESULT AtualizaSituacao() { return op_.AtualizaSituacaoProcesso(reg_.lPonteiroOP, reg_.lPonteiroProcesso, 0); }
  void GravaHistorico();
  HRESULT CreditaOrigem();

 private:
  HRESULT Regrava() const;
  HRESULT PostaEntradas();
  HRESULT PostaMeta();
  CString Caminho(PPArquivoPeriodoOP arquivo) const { return op_.CaminhoArquivo(arquivo, usMesAno_); }

  CPPServidorOP& op_;
  const _REG_VARMO_OP_APONTAMENTO& reg_;
  const uint16_t usMesAno_;
  const uint32_t ulRegistroOP_;
  const bool bQuantidade_;  // something was reported: the item, postings and origin follow
  const bool bInterna_;
  uint16_t usData_ = 0;  // the recording date and time, read once
  uint16_t usHora_ = 0;
  SaldoProcesso saldo_{};
  PPDiscoOP ordem_{};
  uint8_t cTipoOperacao_ = 0;
  uint32_t ulRegistroProcesso_ = 0;
  bool bUltimo_ = false;  // the reported process is the order's last process
  std::vector<uint32_t> naoApontados_;  // processes without own reports directly before it
  bool bOrigemUltimo_ = false;
  // The item that a last-process report credits (matched, or the order's first), as it is to be
  // rewritten; 0: none.
  uint32_t ulRegistroItem_ = 0;
  PPDiscoItem item_{};
  int64_t vCreditado_ = 0;
  bool bRemessa_ = false;
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS infExterno_{};
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa_{};
  PPDiscoApontamento ap_{};
  uint32_t ulRegistro_ = 0;
};

// 4. and 5. The balance with this report counted in it (with its scrap).
HRESULT CPPServidorOP::GravacaoApontamento::VerificaSaldo() {
  if (HRESULT hr = op_.CalculaSaldoProcesso(reg_, &saldo_)) return hr;
  saldo_.vApontadoAtual.int64 += reg_.vQuantidadeApontada.int64;
  if (saldo_.cUltimoProcesso) saldo_.vSaldoItem.int64 -= reg_.vQuantidadeApontada.int64;
  const bool bForcado = reg_.cEncerramentoForcado != 0;
  if (saldo_.vSaldoItem.int64 < 0 && !bForcado) return PPErroHResult(kPPErroSaldoApontamento);
  if (saldo_.cPrimeiroProcesso) {
    if (!bForcado && saldo_.vQuantidadeProgramada.int64 < saldo_.vApontadoAtual.int64)
      return PPErroHResult(kPPErroSaldoApontamento);
    return S_OK;
  }
  if (saldo_.vApontadoAnterior.int64 >= saldo_.vApontadoAtual.int64) return S_OK;
  const bool bExcecao = saldo_.cUltimoProcesso && bForcado && Concluida(saldo_.cSituacaoProcessoAnterior);
  return bExcecao ? S_OK : PPErroHResult(kPPErroProcessoAnterior);
}

// 7. and 8.
HRESULT CPPServidorOP::GravacaoApontamento::LeOrdem() {
  if (HRESULT hr = LeRegistroArquivo(Caminho(PPArquivoPeriodoOP::OP), ulRegistroOP_, &ordem_, sizeof ordem_))
    return hr;
  _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
  if (HRESULT hr = op_.m_operacaoProducao.Le(reg_.lPonteiroOperacaoProducao, &operacao); FAILED(hr)) return hr;
  cTipoOperacao_ = operacao.cTipoOperacao;
  const uint8_t situacao = ordem_.cSituacao;
  if (situacao != kSituacaoNaoIniciada && situacao != kSituacaoIniciada && cTipoOperacao_ != kOperacaoServico)
    return PPErroHResult(kPPErroSituacaoOP);
  return S_OK;
}

// 9. The reported process is the first receiving process of the pointer, as the balance takes it;
// the processes without own reports directly before it get its resource reports.
HRESULT CPPServidorOP::GravacaoApontamento::LeProcessos() {
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(PPArquivoPeriodoOP::PR), 'L', sizeof(PPDiscoProcesso), false, true))
    return PPErroHResultMotor(erro);
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaOP(arquivo, ordem_.ulPrimeiroProcesso, ordem_.usQtdProcessos, processos))
    return hr;
  for (uint32_t i = 0; i < processos.size(); ++i) {
    const PPDiscoProcesso& processo = processos[i];
    if (!processo.cRecebeApontamento) {
      naoApontados_.push_back(ordem_.ulPrimeiroProcesso + i);
      continue;
    }
    if (processo.lPonteiroProcesso != reg_.lPonteiroProcesso) {
      naoApontados_.clear();
      continue;
    }
    ulRegistroProcesso_ = ordem_.ulPrimeiroProcesso + i;
    bUltimo_ = i + 1 == processos.size();
    if (SituacaoFechada(processo.cSituacao) && cTipoOperacao_ != kOperacaoServico)
      return PPErroHResult(kPPErroSituacaoOP);
    return S_OK;
  }
  return PPErroHResult(kPPErroArgumentoInvalido);
}

// 10.
HRESULT CPPServidorOP::GravacaoApontamento::LeOrigem() {
  const uint32_t chave = reg_.ulChaveApontamentoOPOrigem;
  if (!chave) return S_OK;
  if (!PPChaveCompleta(chave)) return PPErroHResult(kPPErroChaveAusente);
  PPDiscoApontamento origem;
  const CString caminho = op_.CaminhoArquivo(PPArquivoPeriodoOP::AP, QVGetMesAnoDaChave(chave));
  if (HRESULT hr = LeRegistroArquivo(caminho, QVGetNumeroDaChave(chave), &origem, sizeof origem)) return hr;
  bOrigemUltimo_ = origem.cUltimoProcesso != 0;
  return S_OK;
}

// 11.
HRESULT CPPServidorOP::GravacaoApontamento::VerificaExterno() {
  bRemessa_ = reg_.cTipoApontamento == kApontamentoNormal && op_.m_regMestre.cSolicitarFaturamentoApontamentoExterno &&
              reg_.cTipoProducao == kProducaoExterna;
  if (bRemessa_) {
    _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS inf{};
    const uint16_t filial = reg_.regRemessaIndustrializacao.usPonteiroFilial;
    if (HRESULT hr = op_.m_mestre.LeInfApontExternoFiliais(filial, &inf); FAILED(hr)) return hr;
    if (!inf.usPonteiroFilial || !inf.usSFAEPonteiroCFOPRemessaExterna || !inf.usSFAEPonteiroCFOPRemessaInterna)
      return PPErroHResult(kPPErroApontExternoFilial);
    infExterno_ = inf;
  }
  if (reg_.cTipoProducao == kProducaoExterna && reg_.lPonteiroIndustrializador == 0)
    return PPErroHResult(kPPErroSemIndustrializador);
  return S_OK;
}

// 15. made ready ahead: a supplier or branch that cannot be read refuses the report unwritten.
HRESULT CPPServidorOP::GravacaoApontamento::PreparaRemessa() {
  if (!bRemessa_) return S_OK;
  usData_ = QVGetDataAtual(false);
  usHora_ = static_cast<uint16_t>(PPHoraAtualMinutos());
  remessa_ = reg_.regRemessaIndustrializacao;
  const HRESULT hr = op_.PreparaRemessaApontamento(infExterno_, usData_, usHora_, &remessa_);
  return FAILED(hr) ? hr : S_OK;
}

// 14. decided ahead: the item of a last-process report (the matching one, else the order's first)
// as it will be rewritten, its credited quantity, and 1595 when it would owe less than nothing.
HRESULT CPPServidorOP::GravacaoApontamento::PreparaItem() {
  if (!bQuantidade_ || !bUltimo_) return S_OK;
  if (HRESULT hr = op_.LocalizaItemApontamento(usMesAno_, ordem_, reg_.cTipoItem, reg_.lPonteiroPedidoNecessidade,
                                               reg_.usIdxItemPedido, reg_.ulChaveApontamentoOPOrigem,
                                               &ulRegistroItem_, &item_))
    return hr;
  if (!ulRegistroItem_ || !bInterna_) return S_OK;

  const int64_t quantidade = reg_.vQuantidadeApontada.int64;
  const int64_t refugo = reg_.vQuantidadeRefugo.int64;
  item_.cEncerramentoForcado = reg_.cEncerramentoForcado;
  if (!reg_.cGerouReprocesso) {
    item_.vQuantidadeProduzida.int64 += quantidade - refugo;
    item_.vQuantidadePerdida.int64 += refugo;
  }
  const int64_t restante = SaldoItem(item_);
  if (restante < 0 && item_.cEncerramentoForcado == 0) return PPErroHResult(kPPErroItemProduzido);
  if (item_.cTipoItem == kItemPedido || item_.cTipoItem == kItemNecessidade) {
    vCreditado_ = restante + refugo < 0 ? quantidade + restante : quantidade - refugo;
    if (vCreditado_ < 0) vCreditado_ = 0;
  }
  return S_OK;
}

// 13. The report record as the input gives it.
HRESULT CPPServidorOP::GravacaoApontamento::MontaApontamento() {
  if (!usData_) {
    usData_ = QVGetDataAtual(false);
    usHora_ = static_cast<uint16_t>(PPHoraAtualMinutos());
  }
  PPDiscoApontamento& ap = ap_;
  ap.vQuantidadeApontada.int64 = reg_.vQuantidadeApontada.int64;
  ap.vQuantidadeBruta.int64 = reg_.vQuantidadeBruta.int64;
  ap.vQuantidadeTara.int64 = reg_.vQuantidadeTara.int64;
  ap.vQuantidadeRefugo.int64 = reg_.vQuantidadeRefugo.int64;
  ap.v8CustoTerceirizacao.int64 = reg_.v8CustoTerceirizacao.int64;
  ap.lPonteiroPedidoNecessidade = reg_.lPonteiroPedidoNecessidade;
  ap.lPonteiroNotaFiscalSaida = reg_.lPonteiroNotaFiscalSaida;
  ap.ulRegistroOP = ulRegistroOP_;
  ap.lPonteiroOperacaoProducao = reg_.lPonteiroOperacaoProducao;
  ap.lPonteiroProcesso = reg_.lPonteiroProcesso;
  ap.lPonteiroSuplementoInfo1 = reg_.lPonteiroSuplementoInfo1;
  ap.lPonteiroSuplementoInfo2 = reg_.lPonteiroSuplementoInfo2;
  ap.lPonteiroSuplementoInfo3 = reg_.lPonteiroSuplementoInfo3;
  ap.lPonteiroMotivoRefugo = reg_.lPonteiroMotivoRefugo;
  ap.lPonteiroIndustrializador = reg_.lPonteiroIndustrializador;
  ap.ulChaveApontamentoOPOrigem = reg_.ulChaveApontamentoOPOrigem;
  if (reg_.usDataApontamentoInicio) {
    ap.usDataApontamentoInicio = reg_.usDataApontamentoInicio;
    ap.usHoraApontamentoInicio = reg_.usHoraApontamentoInicio;
  } else {
    ap.usDataApontamentoInicio = usData_;
    ap.usHoraApontamentoInicio = usHora_;
  }
  ap.usDataApontamentoFim = reg_.usDataApontamentoFim;
  ap.usHoraApontamentoFim = reg_.usHoraApontamentoFim;
  ap.usDataGravacao = usData_;
  ap.usHoraGravacao = usHora_;
  ap.usPonteiroUsuarioGravacao = op_.m_usUsuario;
  ap.usIdxItemPedido = reg_.usIdxItemPedido;
  // The movement runs and their counts are filled in by the postings, as each stores them: a
  // report whose movements are not posted (nothing reported, reprocessing, not the last process)
  // names none rather than a count without a run.
  ap.usQtdRecursos = reg_.usQtdRecursos;
  ap.cTipoOperacao = cTipoOperacao_;
  ap.cTipoItem = reg_.cTipoItem;
  ap.cTipoProducao = reg_.cTipoProducao;
  ap.cPossuiRefugo = reg_.cPossuiRefugo;
  ap.cGerouReprocesso = reg_.cGerouReprocesso;
  ap.cEncerramentoForcado = reg_.cEncerramentoForcado;
  ap.cPossuiEntradaPendente = reg_.cPossuiEntradaPendente;
  ap.cTipoApontamento = reg_.cTipoApontamento;
  ap.cProducaoExterna = reg_.cProducaoExterna;
  // 14. and 15., known before anything is written.
  if (bQuantidade_ && bUltimo_) ap.cUltimoProcesso = reg_.ulChaveApontamentoOPOrigem && !bOrigemUltimo_ ? 0 : 1;
  if (ulRegistroItem_ && bInterna_) ap.vQuantidadeCreditadaItem.int64 = vCreditado_;
  if (reg_.cTipoApontamento == kApontamentoImportacao) ap.cImportacaoComBaixasPendentes = reg_.usQtdMvtoEstoque == 0;
  return S_OK;
}

// 6. and 13. The comment and the forced-closing reason.
HRESULT CPPServidorOP::GravacaoApontamento::GravaTextos() {
  const CString caminho = Caminho(PPArquivoPeriodoOP::IE);
  if (HRESULT hr = PPCriaArquivoDyn(caminho)) return hr;
  const CString comentario = PPTextoCampo(reg_.szComentario);
  const CString motivo = PPTextoCampo(reg_.szMotivoEncerramentoForcado);
  uint32_t ulComentario = 0, ulMotivo = 0;
  if (!comentario.IsEmpty()) {
    if (HRESULT hr = PPGravaTextoArquivoDyn(caminho, comentario, &ulComentario)) return hr;
  }
  if (!motivo.IsEmpty()) {
    if (HRESULT hr = PPGravaTextoArquivoDyn(caminho, motivo, &ulMotivo)) return hr;
  }
  ap_.ulTextoComentario = ulComentario;
  ap_.ulTextoMotivoEncerramentoForcado = ulMotivo;
  return S_OK;
}

// 13. Resources not reported, resource reports, imported-report keys.
HRESULT CPPServidorOP::GravacaoApontamento::GravaListas() {
  if (!naoApontados_.empty()) {
    if (HRESULT hr = op_.GravaRecursosNaoApontados(usMesAno_, naoApontados_, ap_)) return hr;
  }
  if (reg_.usQtdRecursos > 0) {
    uint32_t primeiro = 0;
    if (HRESULT hr = op_.GravaApontamentosRecurso(usMesAno_, reg_.usQtdRecursos, reg_.pregRecursos, &primeiro))
      return hr;
    ap_.ulPrimeiroRecurso = primeiro;
  }
  if (reg_.usQtdChaveApontamentoImportado > 0) {
    uint32_t primeiro = 0;
    if (HRESULT hr = op_.GravaChavesApontamentoImportado(usMesAno_, reg_.usQtdChaveApontamentoImportado,
                                                        reg_.plistaChaveApontamentoImportado, &primeiro))
      return hr;
    ap_.ulPrimeiraChaveImportada = primeiro;
    ap_.usQtdChaveApontamentoImportado = reg_.usQtdChaveApontamentoImportado;
  }
  return S_OK;
}

// 14. The item made ready ahead, the requirement it serves, or the forced closing of a process that
// is not the last.
HRESULT CPPServidorOP::GravacaoApontamento::AtualizaItemProcesso() {
  if (!bQuantidade_ || !bInterna_) return S_OK;
  if (bUltimo_) {
    if (!ulRegistroItem_) return S_OK;
    if (HRESULT hr = GravaRegistroArquivo(Caminho(PPArquivoPeriodoOP::IT), ulRegistroItem_, &item_, sizeof item_))
      return hr;
    if (item_.cTipoItem != kItemNecessidade || reg_.cGerouReprocesso) return S_OK;
    return op_.AtualizaNecessidadeApontamento(item_.lPonteiroPedidoNecessidade, ap_, 0);
  }
  if (!reg_.cEncerramentoForcado) return S_OK;
  PPDiscoProcesso processo;
  const CString caminho = Caminho(PPArquivoPeriodoOP::PR);
  if (HRESULT hr = LeRegistroArquivo(caminho, ulRegistroProcesso_, &processo, sizeof processo)) return hr;
  processo.cEncerramentoForcado = reg_.cEncerramentoForcado;
  return GravaRegistroArquivo(caminho, ulRegistroProcesso_, &processo, sizeof processo);
}

// 15. to 17. The shipment, the report appended, the shipment linked to it.
HRESULT CPPServidorOP::GravacaoApontamento::AnexaApontamento(uint32_t* plPntrOut) {
  uint32_t ulChaveRemessa = 0;
  if (bRemessa_) {
    if (HRESULT hr = op_.GravaRemessaIndustrializacao(remessa_, usMesAno_, &ulChaveRemessa)) return hr;
    ap_.ulRegistroRemessa = QVGetNumeroDaChave(ulChaveRemessa);
  }
  if (HRESULT hr = PPAnexaRegistros(Caminho(PPArquivoPeriodoOP::AP), sizeof ap_, reinterpret_cast<const uint8_t*>(&ap_),
                                    1, &ulRegistro_))
    return hr;
  const uint32_t chave = QVMontaChave(usMesAno_, ulRegistro_);
  if (bRemessa_) {
    if (HRESULT hr = op_.VinculaRemessaApontamento(chave, ulChaveRemessa)) return hr;
  }
  *plPntrOut = chave;
  return S_OK;
}

HRESULT CPPServidorOP::GravacaoApontamento::Regrava() const {
  return GravaRegistroArquivo(Caminho(PPArquivoPeriodoOP::AP), ulRegistro_, &ap_, sizeof ap_);
}

// 19. Each posting step is followed by the report's rewrite, before the next step or its failure.
HRESULT CPPServidorOP::GravacaoApontamento::GravaPostagens() {
  if (!bQuantidade_) return S_OK;
  if (reg_.usQtdMvtoEstoque > 0) {
    const HRESULT hr = op_.GravaBaixasApontamento(ulRegistro_, ap_, reg_);
    if (HRESULT hrRegrava = Regrava()) return FAILED(hr) ? hr : hrRegrava;
    if (FAILED(hr)) return hr;
  }
  if (reg_.cGerouReprocesso) {
    const HRESULT hr = op_.GeraOPReprocesso(usMesAno_, ulRegistro_, ap_);
    if (HRESULT hrRegrava = Regrava()) return FAILED(hr) ? hr : hrRegrava;
    return FAILED(hr) ? hr : S_OK;
  }
  if (bInterna_ && bUltimo_) {
    if (HRESULT hr = reg_.usQtdMvtoEntrada > 0 ? PostaEntradas() : PostaMeta(); FAILED(hr)) return hr;
  }
  if (reg_.cPossuiRefugo) {
    const HRESULT hr = op_.GravaRefugoApontamento(ulRegistro_, ap_, reg_);
    if (HRESULT hrRegrava = Regrava()) return FAILED(hr) ? hr : hrRegrava;
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

// The production entries and, for a sales-order item, its release: the report says released only
// when the sales server released something (1).
HRESULT CPPServidorOP::GravacaoApontamento::PostaEntradas() {
  HRESULT hr = op_.GravaEntradasApontamento(ulRegistro_, ap_, reg_);
  if (SUCCEEDED(hr) && item_.cTipoItem == kItemPedido && op_.m_regMestre.cLiberarItemPedido) {
    hr = op_.LiberaItemPedido(usMesAno_, ap_, 0);
    if (hr == 1) ap_.cLiberacaoItemPedido = 1;
  }
  if (HRESULT hrRegrava = Regrava()) return FAILED(hr) ? hr : hrRegrava;
  return FAILED(hr) ? hr : S_OK;
}

// A service order without entries posts what it produced as its month's target.
HRESULT CPPServidorOP::GravacaoApontamento::PostaMeta() {
  if (ordem_.cTipoProdutoServico != kOrdemServico || item_.cTipoItem == kItemReprocesso) return S_OK;
  return op_.ApontaMetaProducao(
      MetaServicoApontamento(ordem_, item_, ap_.usDataGravacao, reg_.vQuantidadeApontada.int64));
}

_REG_PP_META_PRODUCAOPS CPPServidorOP::MetaServicoApontamento(const PPDiscoOP& ordem, const PPDiscoItem& item,
                                                              uint16_t usDataGravacao, int64_t quantidade) {
  _REG_PP_META_PRODUCAOPS meta{};
  meta.regKey.ulPonteiroFilial = ordem.usPonteiroFilial;
  meta.regKey.usMesAno = QVDataParaMesAno(usDataGravacao);
  meta.regKey.ulPonteiroProjeto = static_cast<uint32_t>(ordem.lPonteiroColecao);
  meta.regKey.regPosicaoProdutoServico.lPonteiroProduto = item.lPonteiroProduto;
  meta.regKey.regPosicaoProdutoServico.iPonteiroItemGrade1 = item.iPonteiroItemGrade1;
  meta.regKey.regPosicaoProdutoServico.iPonteiroItemGrade2 = item.iPonteiroItemGrade2;
  meta.regKey.regPosicaoProdutoServico.iPonteiroItemGrade3 = item.iPonteiroItemGrade3;
  meta.regKey.cTipoProdutoServico = item.cTipoProdutoServico;
  meta.vQuantProduzida.int64 = quantidade;
  return meta;
}

// 21.
HRESULT CPPServidorOP::GravacaoApontamento::MarcaImportados() {
  if (!ap_.usQtdChaveApontamentoImportado) return S_OK;
  return op_.MarcaApontamentosImportados(usMesAno_, ap_.usQtdChaveApontamentoImportado, ap_.ulPrimeiraChaveImportada,
                                         0);
}

// 23.
void CPPServidorOP::GravacaoApontamento::GravaHistorico() {
  if (!op_.m_historico.EstaAberto()) return;
  op_.m_historico.GravaLinha(kPPHistoricoInclusao, "Apontamento: %s - OP: %s - Processo %i - Tipo Produção %i"_ansi,
                             static_cast<const char*>(QVChaveParaTexto(QVMontaChave(usMesAno_, ulRegistro_))),
                             static_cast<const char*>(QVChaveParaTexto(reg_.lPonteiroOP)),
                             static_cast<int>(reg_.lPonteiroProcesso),
                             static_cast<int>(static_cast<int8_t>(reg_.cTipoProducao)));
}

// 24.
HRESULT CPPServidorOP::GravacaoApontamento::CreditaOrigem() {
  if (!ordem_.cOPReprocesso || !bUltimo_ || !bQuantidade_) return S_OK;
  return op_.CreditaApontamentoOrigem(usMesAno_, ulRegistro_, ap_, 0);
}

// ---------------------------------------------------------------------------------------------------
// GravaApontamento

HRESULT CPPServidorOP::GravaApontamento(_REG_VARMO_OP_APONTAMENTO RegPS, uint32_t* plPntrOut, uint8_t cTravar) {
  // 1. and 2.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!plPntrOut) return E_POINTER;
  *plPntrOut = 0;
  if (!PPChaveCompleta(RegPS.lPonteiroOP)) return PPErroHResult(kPPErroChaveAusente);
  for (HRESULT hr : {PPVerificaLista(RegPS.usQtdMvtoEstoque, RegPS.pregMovimentos),
                     PPVerificaLista(RegPS.usQtdMvtoEntrada, RegPS.pregMvtoEntrada),
                     PPVerificaLista(RegPS.usQtdRecursos, RegPS.pregRecursos),
                     PPVerificaLista(RegPS.usQtdChaveApontamentoImportado, RegPS.plistaChaveApontamentoImportado)}) {
    if (hr) return hr;
  }
  GravacaoApontamento gravacao(*this, RegPS);
  // 3. Held to the end, the outside postings and the history line included.
  CQVArqMarca marca;
  if (cTravar) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  // 4. to 11., and what 14 and 15 refuse: nothing written yet.
  if (HRESULT hr = gravacao.VerificaSaldo()) return hr;
  if (HRESULT hr = gravacao.LeOrdem()) return hr;
  if (HRESULT hr = gravacao.LeProcessos()) return hr;
  if (HRESULT hr = gravacao.LeOrigem()) return hr;
  if (HRESULT hr = gravacao.VerificaExterno()) return hr;
  if (HRESULT hr = gravacao.PreparaItem()) return hr;
  if (HRESULT hr = gravacao.PreparaRemessa()) return hr;
  // 6., 12. to 17.
  if (HRESULT hr = gravacao.MontaApontamento()) return hr;
  if (HRESULT hr = gravacao.GravaTextos()) return hr;
  if (HRESULT hr = gravacao.GravaListas()) return hr;
  if (HRESULT hr = gravacao.AtualizaItemProcesso(); FAILED(hr)) return hr;
  if (HRESULT hr = gravacao.AnexaApontamento(plPntrOut)) return hr;
  // 18. to 24.
  if (HRESULT hr = gravacao.IncluiNoProcesso()) return hr;
  if (HRESULT hr = gravacao.GravaPostagens()) return hr;
  if (HRESULT hr = gravacao.MarcaImportados()) return hr;
  if (HRESULT hr = gravacao.AtualizaSituacao(); FAILED(hr)) return hr;
  gravacao.GravaHistorico();
  return gravacao.CreditaOrigem();
}

HRESULT CPPServidorOP::LocalizaItemApontamento(uint16_t usMesAno, const PPDiscoOP& ordem, uint8_t cTipoItem,
                                               uint32_t lPonteiroPedidoNecessidade, uint16_t usIdxItemPedido,
                                               uint32_t ulChaveOrigem, uint32_t* pulRegistro, PPDiscoItem* pItem) {
  *pulRegistro = 0;
  if (ordem.usQtdItens == 0) return S_OK;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(CaminhoArquivo(PPArquivoPeriodoOP::IT, usMesAno), 'L', sizeof(PPDiscoItem), false, true))
    return PPErroHResultMotor(erro);
  std::vector<PPDiscoItem> itens;
  if (HRESULT hr = PPLeSequenciaOP(arquivo, ordem.ulPrimeiroItem, ordem.usQtdItens, itens)) return hr;
  size_t indice = 0;
  for (size_t i = 0; i < itens.size(); ++i) {
    if (ItemDoApontamento(itens[i], cTipoItem, lPonteiroPedidoNecessidade, usIdxItemPedido) &&
        itens[i].ulChaveApontamentoOPOrigem == ulChaveOrigem) {
      indice = i;
      break;
    }
  }
  *pulRegistro = ordem.ulPrimeiroItem + static_cast<uint32_t>(indice);
  *pItem = itens[indice];
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The reporting balance

HRESULT CPPServidorOP::BuscaSaldoParaApontamento(_REG_PP_KEY_ITEM_APONTAMENTOPS regKey,
                                                 _REG_PP_SALDO_PROCESSOPS* pRegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  _REG_VARMO_OP_APONTAMENTO reg{};
  reg.lPonteiroOP = regKey.ulChaveOP;
  reg.lPonteiroPedidoNecessidade = regKey.ulPonteiroPedidoNecessidade;
  reg.lPonteiroProcesso = static_cast<int32_t>(regKey.ulPonteiroProcesso);
  reg.usIdxItemPedido = regKey.usIdxItemPedido;
  reg.cTipoItem = regKey.cTipoItem;
  SaldoProcesso saldo;
  if (HRESULT hr = CalculaSaldoProcesso(reg, &saldo)) return hr;
  pRegPS->vApontamentoProcessoAnterior.int64 = saldo.vApontadoAnterior.int64;
  pRegPS->vApontamentoProcessoAtual.int64 = saldo.vApontadoAtual.int64;
  pRegPS->vApontamentoProcessoPosterior.int64 = saldo.vApontadoPosterior.int64;
  pRegPS->vRefugoProcessoAnterior.int64 = saldo.vRefugoAnterior.int64;
  pRegPS->vRefugoProcessoAtual.int64 = saldo.vRefugoAtual.int64;
  pRegPS->vRefugoProcessoPosterior.int64 = saldo.vRefugoPosterior.int64;
  pRegPS->vQuantidadeProgramada.int64 = saldo.vQuantidadeProgramada.int64;
  pRegPS->vSaldoItemAtual.int64 = saldo.vSaldoItem.int64;
  pRegPS->ulPonteiroProcessoAnterior = saldo.ulProcessoAnterior;
  pRegPS->ulPonteiroProcessoAtual = saldo.ulProcessoAtual;
  pRegPS->ulPonteiroProcessoPosterior = saldo.ulProcessoPosterior;
  pRegPS->cPrimeiroProcesso = saldo.cPrimeiroProcesso;
  pRegPS->cUltimoProcesso = saldo.cUltimoProcesso;
  pRegPS->cSituacaoProcessoAnterior = saldo.cSituacaoProcessoAnterior;
  pRegPS->cHouveEncerramentoForcado = saldo.cHouveEncerramentoForcado != 0;
  return S_OK;
}

HRESULT CPPServidorOP::CalculaSaldoProcesso(const _REG_VARMO_OP_APONTAMENTO& reg, SaldoProcesso* pSaldo) {
  *pSaldo = {};
  pSaldo->cSituacaoProcessoAnterior = kSituacaoNaoIniciada;
  if (!PPChaveCompleta(reg.lPonteiroOP)) return PPErroHResult(kPPErroChaveAusente);
  const uint16_t usMesAno = QVGetMesAnoDaChave(reg.lPonteiroOP);
  const uint32_t ulRegistroOP = QVGetNumeroDaChave(reg.lPonteiroOP);
  // 1.
  PPDiscoOP op;
  const CString caminhoOP = CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesAno);
  if (HRESULT hr = LeRegistroArquivo(caminhoOP, ulRegistroOP, &op, sizeof op)) return hr;
  // 2. and 5.'s items: read where they exist, nothing made for the balance.
  Arquivos arquivos;
  uint32_t lAbertos = 0;
  const uint32_t lBits = Arquivos::kArqProcesso | Arquivos::kArqItem | Arquivos::kArqApontamento |
                         Arquivos::kArqRetornoIndExterna;
  if (HRESULT hr = arquivos.AbreExistentes(m_strEmpresa, usMesAno, lBits, &lAbertos)) return hr;
  std::vector<PPDiscoProcesso> processos;
  std::vector<PPDiscoItem> itens;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, processos))
    return hr;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqItem, op.ulPrimeiroItem, op.usQtdItens, itens)) return hr;

  // 3. The previous receiving process, up to the reported one (the first of its pointer).
  size_t atual = processos.size();
  const PPDiscoProcesso* anterior = nullptr;
  for (size_t i = 0; i < processos.size(); ++i) {
    if (!processos[i].cRecebeApontamento) continue;
    if (processos[i].lPonteiroProcesso == reg.lPonteiroProcesso) {
      atual = i;
      pSaldo->cHouveEncerramentoForcado = processos[i].cEncerramentoForcado == 1;
      break;
    }
    anterior = &processos[i];
  }
  // A pointer that names no receiving process of the order has no balance to report against.
  if (atual == processos.size()) return PPErroHResult(kPPErroArgumentoInvalido);
  if (anterior) {
    pSaldo->ulProcessoAnterior = static_cast<uint32_t>(anterior->lPonteiroProcesso);
    pSaldo->cSituacaoProcessoAnterior = anterior->cSituacao;
  } else {
    pSaldo->cPrimeiroProcesso = 1;
  }
  // 4.
  const PPDiscoProcesso* posterior = nullptr;
  for (size_t i = processos.size(); i-- > atual + 1;) {
    if (processos[i].cRecebeApontamento) posterior = &processos[i];
  }
  if (posterior) pSaldo->ulProcessoPosterior = static_cast<uint32_t>(posterior->lPonteiroProcesso);
  pSaldo->ulProcessoAtual = static_cast<uint32_t>(reg.lPonteiroProcesso);

  // 5.
  const bool bUltimo = atual + 1 == processos.size();
  for (const PPDiscoItem& item : itens) {
    pSaldo->vQuantidadeProgramada.int64 += item.vQuantidadeProgramada.int64 - item.vQuantidadeCancelada.int64;
    if (!bUltimo || !ItemDoApontamento(item, reg.cTipoItem, reg.lPonteiroPedidoNecessidade, reg.usIdxItemPedido))
      continue;
    pSaldo->vSaldoItem.int64 = SaldoItem(item);
    pSaldo->cUltimoProcesso = 1;
    pSaldo->cHouveEncerramentoForcado = item.cEncerramentoForcado == 1;
  }

  // 6. Every live report of the order, counted net of its scrap.
  if (!(lAbertos & Arquivos::kArqApontamento)) return S_OK;
  const int32_t quantidade = arquivos.m_arqApontamento.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  for (uint32_t r = 1; r <= static_cast<uint32_t>(quantidade); ++r) {
    PPDiscoApontamento ap;
    if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqApontamento, r, &ap)) return hr;
    if (ap.cExcluido || ap.ulRegistroOP != ulRegistroOP) continue;
    const int64_t liquido = ap.vQuantidadeApontada.int64 - ap.vQuantidadeRefugo.int64;
    if (ap.lPonteiroProcesso == reg.lPonteiroProcesso) {
      pSaldo->vApontadoAtual.int64 += liquido;
      pSaldo->vRefugoAtual.int64 += ap.vQuantidadeRefugo.int64;
    } else if (anterior && ap.lPonteiroProcesso == anterior->lPonteiroProcesso) {
      if (ap.cTipoProducao == kProducaoInterna && !ap.cGerouReprocesso) {
        pSaldo->vApontadoAnterior.int64 += liquido;
        pSaldo->vRefugoAnterior.int64 += ap.vQuantidadeRefugo.int64;
      } else if (ap.cTipoProducao == kProducaoInterna) {
        pSaldo->vApontadoAnterior.int64 += ap.vQuantidadeReprocessada.int64;
      } else if (ap.usQtdRetornoIndustExt > 0) {
        if (!(lAbertos & Arquivos::kArqRetornoIndExterna)) return PPErroHResult(kQVErroFimArquivo);
        HRESULT hr = PPPercorreSequenciaOP<PPDiscoRetorno>(
            arquivos.m_arqRetornoIndExterna, ap.ulPrimeiroRetorno, ap.usQtdRetornoIndustExt,
            [&](const PPDiscoRetorno& retorno) {
              pSaldo->vApontadoAnterior.int64 += retorno.vQuantidadeRetornada.int64 - retorno.vQuantidadeRefugo.int64;
              return S_OK;
            });
        if (hr) return hr;
      }
    } else if (posterior && ap.lPonteiroProcesso == posterior->lPonteiroProcesso) {
      pSaldo->vApontadoPosterior.int64 += liquido;
      pSaldo->vRefugoPosterior.int64 += ap.vQuantidadeRefugo.int64;
    }
  }
  // 7.
  return arquivos.Fecha();
}

// ---------------------------------------------------------------------------------------------------
// The report's lists

// 18. The whole list again at the end of PPRA with the new report; the old run stays unreferenced.
HRESULT CPPServidorOP::IncluiApontamentoNoProcesso(uint16_t usMesAno, uint32_t ulRegistroApontamento,
                                                   uint32_t ulRegistroProcesso) {
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqProcesso | Arquivos::kArqRA);
  if (HRESULT hr = arquivos.SetModo(usMesAno, 'G')) return hr;
  PPDiscoProcesso processo;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqProcesso, ulRegistroProcesso, &processo)) return hr;
  if (processo.usQuantidadeApontamentos == UINT16_MAX) return PPErroHResult(kPPErroArgumentoInvalido);
  std::vector<PPDiscoListaApontamento> lista;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqRA, processo.ulPrimeiroApontamento, processo.usQuantidadeApontamentos,
                                   lista))
    return hr;
  lista.push_back({ulRegistroApontamento});
  uint32_t primeiro = 0;
  if (HRESULT hr = PPAnexaRegistros(arquivos.m_arqRA, reinterpret_cast<const uint8_t*>(lista.data()),
                                    static_cast<uint32_t>(lista.size()), &primeiro))
    return hr;
  processo.ulPrimeiroApontamento = primeiro;
  processo.usQuantidadeApontamentos = static_cast<uint16_t>(lista.size());
  if (int erro = arquivos.m_arqProcesso.Grava(&processo, &ulRegistroProcesso)) return PPErroHResultMotor(erro);
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::GravaChavesApontamentoImportado(uint16_t usMesAno, uint16_t usQtd, const uint32_t* pulChaves,
                                                       uint32_t* pulPrimeiro) {
  *pulPrimeiro = 0;
  if (usQtd == 0) return S_OK;
  if (HRESULT hr = PPVerificaLista(usQtd, pulChaves)) return hr;
  std::vector<PPDiscoChaveImportada> chaves(pulChaves, pulChaves + usQtd);
  return PPAnexaRegistros(CaminhoArquivo(PPArquivoPeriodoOP::TA, usMesAno), sizeof(PPDiscoChaveImportada),
                          reinterpret_cast<const uint8_t*>(chaves.data()), usQtd, pulPrimeiro);
}

// Each listed report is marked in the PPAP of its own key's month (an imported report may come
// from another month than the report that lists it); a key without record or month answers 1591.
HRESULT CPPServidorOP::MarcaApontamentosImportados(uint16_t usMesAno, uint16_t usQtd, uint32_t ulPrimeiro,
                                                   uint8_t cMarca) {
  if (usQtd == 0) return S_OK;
  std::vector<PPDiscoChaveImportada> chaves;
  {
    CPPArqEx arquivo;
    const CString caminho = CaminhoArquivo(PPArquivoPeriodoOP::TA, usMesAno);
    if (int erro = arquivo.Abre(caminho, 'L', sizeof(PPDiscoChaveImportada), false, true))
      return PPErroHResultMotor(erro);
    if (HRESULT hr = PPLeSequenciaOP(arquivo, ulPrimeiro, usQtd, chaves)) return hr;
  }
  for (const PPDiscoChaveImportada& chave : chaves) {
    const uint32_t ulChave = chave.ulChaveApontamento;
    if (!PPChaveCompleta(ulChave)) return PPErroHResult(kPPErroChaveAusente);
    const CString caminho = CaminhoArquivo(PPArquivoPeriodoOP::AP, QVGetMesAnoDaChave(ulChave));
    const uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
    PPDiscoApontamento ap;
    if (HRESULT hr = LeRegistroArquivo(caminho, ulRegistro, &ap, sizeof ap)) return hr;
    ap.cImportacaoComBaixasPendentes = cMarca;
    if (HRESULT hr = GravaRegistroArquivo(caminho, ulRegistro, &ap, sizeof ap)) return hr;
  }
  return S_OK;
}
