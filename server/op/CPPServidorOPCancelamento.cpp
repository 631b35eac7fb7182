// Cancelling orders never started and interrupting running ones: what the order holds elsewhere
// (requisition, requirements, sales-order and requirement quantities, reservations, shipments)
// is given back.
//
// Both run under the order lock. An order's steps give back and mark one record at a time, and
// the header is rewritten last, in its final situation: a run broken off halfway leaves the order
// in its former situation, and running it again gives back only what was not marked yet.
#include <map>
#include <tuple>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

// The order is not in a situation the operation accepts (or, interrupted, is a reprocess order).
constexpr uint8_t kMetaProduto = 'P';
// The invoicing states of a shipment that the order's end closes: not invoiced, invoice cancelled.

// The month's files of lBits in cModo; a month without orders has none to change and gets none.
HRESULT AbreMes(Arquivos& arquivos, const CString& empresa, uint16_t usMesAno, uint32_t lBits, char cModo) {
  if (HRESULT hr = arquivos.Inicializa(empresa, 0, 0)) return hr;
  if (!arquivos.Existe(Arquivos::kArqOP, usMesAno)) return PPErroHResult(kQVErroFimArquivo);
  arquivos.SetArquivos(lBits);
  return arquivos.SetModo(usMesAno, cModo);
}

bool NoPeriodo(const _REG_VARMO_MESTRE& mestre, uint16_t usData) {
  return usData >= mestre.usDataInferiorPeriodo && usData <= mestre.usDataSuperiorPeriodo;
}

// What an item still owes its source: its programme less what was cancelled and produced.
int64_t SaldoItem(const PPDiscoItem& item) {
  const int64_t saldo = item.vQuantidadeProgramada.int64 - item.vQuantidadeCancelada.int64 -
                        item.vQuantidadeProduzida.int64;
  return saldo > 0 ? saldo : 0;
}

}  // namespace

struct CPPServidorOP::ReprocessoCancelado {
  // A target: the cancelled order's branch and project, the item's product and grid.
  struct Meta {
    uint16_t usFilial;
    int32_t lProjeto;
    uint32_t lProduto;
    uint16_t iGrade1, iGrade2, iGrade3;
    bool operator<(const Meta& m) const {
      return std::tie(usFilial, lProjeto, lProduto, iGrade1, iGrade2, iGrade3) <
             std::tie(m.usFilial, m.lProjeto, m.lProduto, m.iGrade1, m.iGrade2, m.iGrade3);
    }
  };
  std::map<Meta, int64_t> metas;
  std::vector<uint32_t> origens;  // report keys
};

// ---------------------------------------------------------------------------------------------------
// The shared steps

HRESULT CPPServidorOP::DevolveItensOP(uint16_t usMesAno, const PPDiscoOP& op, ReprocessoCancelado* reprocesso) {
  Arquivos arquivos;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, usMesAno, Arquivos::kArqItem, 'G')) return hr;
  std::vector<PPDiscoItem> itens;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqItem, op.ulPrimeiroItem, op.usQtdItens, itens)) return hr;
  Arquivos necessidades;
  if (HRESULT hr = necessidades.Inicializa(m_strEmpresa, 0, 0)) return hr;
  necessidades.SetArquivos(Arquivos::kArqNecessidade);
  for (size_t i = 0; i < itens.size(); ++i) {
    PPDiscoItem& item = itens[i];
    // Gathered also from a cancelled item: a cancellation broken off before its end is run again
    // whole, and only its end posts the targets and restores the reports.
    if (reprocesso && item.cTipoItem == kItemReprocesso) {
      const ReprocessoCancelado::Meta meta{op.usPonteiroFilial,     op.lPonteiroColecao,    item.lPonteiroProduto,
                                           item.iPonteiroItemGrade1, item.iPonteiroItemGrade2, item.iPonteiroItemGrade3};
      reprocesso->metas[meta] += SaldoItem(item);
      if (item.ulChaveApontamentoOPOrigem) reprocesso->origens.push_back(item.ulChaveApontamentoOPOrigem);
    }
    if (item.cCancelado) continue;
    const int64_t saldo = SaldoItem(item);
    if (item.cIntegradoQuantidade && saldo && item.cTipoItem == kItemPedido) {
      std::vector<tagREG_DIFERENCA_QTD_PEDIDOPS> diferenca(1);
      diferenca[0].vQuantidade.int64 = -saldo;
      diferenca[0].lPonteiroPedido = item.lPonteiroPedidoNecessidade;
      diferenca[0].usIdxItemPedido = item.usIdxItemPedido;
      if (HRESULT hr = EnviaDiferencasPedidos(diferenca)) return hr;
    }
    if (item.cIntegradoQuantidade && saldo && item.cTipoItem == kItemNecessidade) {
      if (HRESULT hr = AjustaNecessidade(necessidades, item.lPonteiroPedidoNecessidade, -saldo)) return hr;
    }
    item.cCancelado = 1;
    if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqItem, op.ulPrimeiroItem + static_cast<uint32_t>(i), item)) return hr;
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::CancelaInsumosOP(uint16_t usMesAno, const PPDiscoOP& op) {
  std::vector<PPDiscoProcesso> processos;
  {
    Arquivos leitura;
    if (HRESULT hr = AbreMes(leitura, m_strEmpresa, usMesAno, Arquivos::kArqProcesso, 'L')) return hr;
    if (HRESULT hr = PPLeSequenciaOP(leitura.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, processos))
      return hr;
  }
  Arquivos arquivos;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, usMesAno, Arquivos::kArqInsumo, 'G')) return hr;
  for (const PPDiscoProcesso& processo : processos) {
    std::vector<PPDiscoInsumo> insumos;
    const uint32_t primeiro = processo.ulPrimeiroInsumo;
    if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqInsumo, primeiro, processo.usQuantidadeInsumos, insumos)) return hr;
    for (size_t j = 0; j < insumos.size(); ++j) {
      PPDiscoInsumo& insumo = insumos[j];
      if (insumo.cCancelado) continue;
      if (insumo.ulRegistroNecessidade) {
        if (HRESULT hr = CancelaNecessidade(QVMontaChave(usMesAno, insumo.ulRegistroNecessidade), 0); FAILED(hr))
          return hr;
      }
      insumo.cCancelado = 1;
      if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqInsumo, primeiro + static_cast<uint32_t>(j), insumo)) return hr;
    }
  }
  return arquivos.Fecha();
}

// The carried situation starts at 99 for the processes after the last one that ran. A process
// already in 62 (an interruption run again after breaking off) carries 62 as a running one does.
HRESULT CPPServidorOP::InterrompeProcessosOP(uint16_t usMesAno, const PPDiscoOP& op) {
  Arquivos arquivos;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, usMesAno, Arquivos::kArqProcesso, 'G')) return hr;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, processos))
    return hr;
  uint8_t situacao = kSituacaoCancelada;
  for (size_t i = processos.size(); i-- > 0;) {
    PPDiscoProcesso& processo = processos[i];
    const uint8_t atual = processo.cSituacao;
    if ((atual >= kSituacaoIniciada && atual <= kSituacaoEmReprocesso) || atual == kSituacaoSuspensa ||
        atual == kSituacaoInterrompida)
      situacao = kSituacaoInterrompida;
    if (atual == kSituacaoConcluidaComPerda || atual == kSituacaoConcluida || atual == kSituacaoCancelada)
      situacao = atual;
    processo.cSituacao = situacao;
    if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqProcesso, op.ulPrimeiroProcesso + static_cast<uint32_t>(i), processo))
      return hr;
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::EncerraRemessasOP(uint16_t usMesAno, uint32_t ulChaveOP) {
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  if (!arquivos.Existe(Arquivos::kArqRemessaIndustrializacao, usMesAno)) return S_OK;
  arquivos.SetArquivos(Arquivos::kArqRemessaIndustrializacao);
  if (HRESULT hr = arquivos.SetModo(usMesAno, 'G')) return hr;
  CPPArqEx& remessas = arquivos.m_arqRemessaIndustrializacao;
  const int32_t quantidade = remessas.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivoInexistente);
  for (uint32_t registro = 1; registro <= static_cast<uint32_t>(quantidade); ++registro) {
    PPDiscoRemessa remessa;
    if (HRESULT hr = PPLeRegistroOP(remessas, registro, &remessa)) return hr;
    if (remessa.ulChaveOP != ulChaveOP) continue;
    if (remessa.cStatusFaturamento != kRemessaAguardandoFaturamento && remessa.cStatusFaturamento != kRemessaFaturaCanceladaComRetornos)
      continue;
    remessa.cStatusFaturamento = kRemessaEncerrada;
    if (HRESULT hr = PPRegravaRegistroOP(remessas, registro, remessa)) return hr;
  }
  return arquivos.Fecha();
}

// ---------------------------------------------------------------------------------------------------
// Headers

HRESULT CPPServidorOP::LeCabecalhoCancelamento(uint32_t ulChaveOP, PPDiscoOP* pOP) const {
  if (QVGetNumeroDaChave(ulChaveOP) == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  Arquivos arquivos;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, QVGetMesAnoDaChave(ulChaveOP), Arquivos::kArqOP, 'L')) return hr;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqOP, QVGetNumeroDaChave(ulChaveOP), pOP)) return hr;
  if (pOP->cRemovido) return PPErroHResult(kPPErroRegistroRemovido);
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::RegravaCabecalhoCancelamento(uint32_t ulChaveOP, const PPDiscoOP& op) const {
  Arquivos arquivos;
  if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, QVGetMesAnoDaChave(ulChaveOP), Arquivos::kArqOP, 'G')) return hr;
  if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqOP, QVGetNumeroDaChave(ulChaveOP), op)) return hr;
  return arquivos.Fecha();
}

// ---------------------------------------------------------------------------------------------------
// Cancela

// 4. One order of the second pass. A key given twice is cancelled once: the second time its order
// is no longer in 1.
HRESULT CPPServidorOP::CancelaOrdem(uint32_t ulChaveOP, ReprocessoCancelado& reprocesso) {
  // 4.1.
  PPDiscoOP op;
  if (HRESULT hr = LeCabecalhoCancelamento(ulChaveOP, &op)) return hr;
  if (op.cSituacao != kSituacaoNaoIniciada) return S_OK;
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChaveOP);
  // 4.2. and 4.3.
  if (HRESULT hr = DevolveItensOP(usMesAno, op, &reprocesso)) return hr;
  if (HRESULT hr = CancelaInsumosOP(usMesAno, op)) return hr;
  if (HRESULT hr = InterrompeProcessosOP(usMesAno, op)) return hr;
  // 4.4.
  op.cSituacao = kSituacaoCancelada;
  op.usPonteiroUsuarioGravacao = m_usUsuario;
  op.usDataCancelamento = QVGetDataAtual(false);
  op.usHoraCancelamento = static_cast<uint16_t>(QVGetMinutosAtual());
  if (HRESULT hr = RegravaCabecalhoCancelamento(ulChaveOP, op)) return hr;
  // 4.5.
  if (m_historico.EstaAberto()) {
    const CString produtoServico = PPTextoProdutoServico(op.cTipoProdutoServico);
    m_historico.GravaLinha(
        kPPHistoricoInclusao,
        "Cancelamento OP: %s - Filial: %i - Projeto: %i - %s: %i-%i-%i-%i - Tipo OP: %i - Fluxo: %i",
        static_cast<const char*>(QVChaveParaTexto(ulChaveOP)), op.usPonteiroFilial, op.lPonteiroColecao,
        static_cast<const char*>(produtoServico), static_cast<int>(op.lPonteiroProduto), op.iPonteiroItemGrade1,
        op.iPonteiroItemGrade2, op.iPonteiroItemGrade3, op.lPonteiroTipoOP, op.lPonteiroFluxoProcesso);
  }
  // 4.6.
  if (HRESULT hr = AtualizaReservasOP(ulChaveOP); FAILED(hr)) return hr;
  // 4.7.
  if (op.ulChaveRequisicaoInterna) {
    if (HRESULT hr = m_buffer.CancelaRequisicaoInterna(op.ulChaveRequisicaoInterna, false); FAILED(hr)) return hr;
  }
  return S_OK;
}

// 5. and 6. A failed target does not keep the reports from being restored; the first failure is
// the answer.
HRESULT CPPServidorOP::ConcluiReprocessoCancelado(const ReprocessoCancelado& reprocesso) {
  HRESULT hrMetas = S_OK;
  if (!reprocesso.metas.empty() && m_buffer.GetIMetasProducao()) {
    const uint16_t usMesAtual = QVDataParaMesAno(QVGetDataAtual(false));
    for (const auto& [chave, quantidade] : reprocesso.metas) {
      _REG_PP_META_PRODUCAOPS meta{};
      meta.regKey.ulPonteiroFilial = chave.usFilial;
      meta.regKey.usMesAno = usMesAtual;
      meta.regKey.ulPonteiroProjeto = static_cast<uint32_t>(chave.lProjeto);
      meta.regKey.regPosicaoProdutoServico.lPonteiroProduto = chave.lProduto;
      meta.regKey.regPosicaoProdutoServico.iPonteiroItemGrade1 = chave.iGrade1;
      meta.regKey.regPosicaoProdutoServico.iPonteiroItemGrade2 = chave.iGrade2;
      meta.regKey.regPosicaoProdutoServico.iPonteiroItemGrade3 = chave.iGrade3;
      meta.regKey.cTipoProdutoServico = kMetaProduto;
      meta.vQuantProduzida.int64 = quantidade;
      const HRESULT hr = ApontaMetaProducao(meta);
      if (FAILED(hr) && SUCCEEDED(hrMetas)) hrMetas = hr;
    }
  }
  for (uint32_t ulChave : reprocesso.origens) {
    const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
    PPDiscoApontamento apontamento;
    {
      Arquivos arquivos;
      if (HRESULT hr = AbreMes(arquivos, m_strEmpresa, usMesAno, Arquivos::kArqApontamento, 'G')) return hr;
      const uint32_t registro = QVGetNumeroDaChave(ulChave);
      if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqApontamento, registro, &apontamento)) return hr;
      apontamento.vQuantidadeReprocessada.int64 = apontamento.vQuantidadeApontada.int64;
      if (HRESULT hr = PPRegravaRegistroOP(arquivos.m_arqApontamento, registro, apontamento)) return hr;
      if (HRESULT hr = arquivos.Fecha()) return hr;
    }
    const uint32_t ulChaveOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
    if (HRESULT hr = AtualizaSituacaoProcesso(ulChaveOP, apontamento.lPonteiroProcesso, 0); FAILED(hr)) return hr;
  }
  return hrMetas;
}

HRESULT CPPServidorOP::Cancela(uint32_t ulQtd, const uint32_t* plPonteiros, uint8_t bMarca) {
  // 1.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (ulQtd == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  if (!plPonteiros) return E_POINTER;
  // 2.
  CQVArqMarca marca;
  if (bMarca) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  // 3. Nothing is changed before every order is known to be cancellable; the requisitions are
  // only asked whether they could be cancelled.
  for (uint32_t i = 0; i < ulQtd; ++i) {
    PPDiscoOP op;
    if (HRESULT hr = LeCabecalhoCancelamento(plPonteiros[i], &op)) return hr;
    if (!NoPeriodo(m_regMestre, op.usDataEmissao)) return PPErroHResult(kPPErroForaPeriodo);
    if (op.cSituacao != kSituacaoNaoIniciada) return PPErroHResult(kPPErroSituacaoCancelamento);
    if (op.ulChaveRequisicaoInterna) {
      if (HRESULT hr = m_buffer.CancelaRequisicaoInterna(op.ulChaveRequisicaoInterna, true); FAILED(hr)) return hr;
    }
  }
  // 4.
  ReprocessoCancelado reprocesso;
  for (uint32_t i = 0; i < ulQtd; ++i) {
    if (HRESULT hr = CancelaOrdem(plPonteiros[i], reprocesso)) return hr;
  }
  // 5. and 6.
  return ConcluiReprocessoCancelado(reprocesso);
}

// ---------------------------------------------------------------------------------------------------
// InterromperOP

HRESULT CPPServidorOP::InterromperOP(uint32_t ulChaveOP, BSTR bsObservacao) {
  // 1.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (ulChaveOP == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  // 2.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  // 3. The header is rewritten last, through its own opening: the steps open the month's other
  // files and the reservations deny other writers of it.
  PPDiscoOP op;
  if (HRESULT hr = LeCabecalhoCancelamento(ulChaveOP, &op)) return hr;
  if (!NoPeriodo(m_regMestre, op.usDataEmissao)) return PPErroHResult(kPPErroForaPeriodo);
  const bool bEmAndamento = op.cSituacao == kSituacaoIniciada || op.cSituacao == kSituacaoSuspensa;
  if (!bEmAndamento || op.cOPReprocesso) return PPErroHResult(kPPErroSituacaoCancelamento);
  // 4.
  if (op.ulChaveRequisicaoInterna) {
    if (HRESULT hr = m_buffer.CancelaRequisicaoInterna(op.ulChaveRequisicaoInterna, true); FAILED(hr)) return hr;
  }
  // 5.
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChaveOP);
  if (HRESULT hr = DevolveItensOP(usMesAno, op, nullptr)) return hr;
  if (HRESULT hr = CancelaInsumosOP(usMesAno, op)) return hr;
  if (HRESULT hr = InterrompeProcessosOP(usMesAno, op)) return hr;
  if (HRESULT hr = EncerraRemessasOP(usMesAno, ulChaveOP)) return hr;
  // 6.
  op.cSituacao = kSituacaoInterrompida;
  op.usPonteiroUsuarioGravacao = m_usUsuario;
  op.usDataInterrupcao = QVGetDataAtual(false);
  op.usHoraInterrupcao = static_cast<uint16_t>(QVGetMinutosAtual());
  // 7. A new text: the former one stays as it was, for whatever else may point at it.
  const CString observacao = PPTextoBSTR(bsObservacao);
  if (!observacao.IsEmpty()) {
    uint32_t ulTexto = 0;
    const CString caminho = CaminhoArquivo(PPArquivoPeriodoOP::IE, usMesAno);
    if (HRESULT hr = PPErroTexto(PPGravaTextoArquivoDyn(caminho, observacao, &ulTexto))) return hr;
    op.ulTextoObservacao = ulTexto;
  }
  // 8.
  if (HRESULT hr = RegravaCabecalhoCancelamento(ulChaveOP, op)) return hr;
  if (m_historico.EstaAberto()) {
    m_historico.GravaLinha(kPPHistoricoInclusao, "Interrompida a OP %s",
                           static_cast<const char*>(QVChaveParaTexto(ulChaveOP)));
  }
  if (HRESULT hr = AtualizaReservasOP(ulChaveOP); FAILED(hr)) return hr;
  return S_OK;
}
