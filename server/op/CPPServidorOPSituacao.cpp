// Situation of an order and of its processes, the stock reservations of its inputs, and
// FuncaoGenerica, which runs both on request.
//
// Situations: orders 1 not started, 2 started, 49 concluded with loss, 50 concluded, 61 suspended,
// 62 interrupted, 99 cancelled; a process adds 3 in production, 4 stopped, 5 in reprocess. 62 and
// 99 are final (set by the cancellation and the interruption): an order in either is left as it
// is, with its processes, and its reservations are dropped without being rebuilt.
//
// A process's live reports are those of its report list (PPRA) that are not removed and name this
// order and this process. A process that receives no reports keeps the situation its order's save
// gave it, and so does a process in 62 or 99. For a receiving process the first rule that holds
// gives its situation:
//   1   no live report;
//   5   the receiving process before it has a report that generated reprocessing whose quantity is
//       not all back (reprocessed quantity below the reported one): more will come from there;
//   61  it is the order's last process and concluded (below), but an item of the order that is
//       neither cancelled nor closed by force still has a balance (programmed - cancelled - lost -
//       produced > 0): the process's quantities no longer match the items', which must be settled
//       first (outsourced output not yet returned, a report credited to another item);
//   49  concluded with loss: concluded, and scrap was reported, or a forced closing left part of
//       what was due unreported;
//   50  concluded: the reported quantities (scrap included) cover what is due, which must be more
//       than zero, or a live report closed the process by force;
//   4   the latest live report (start date and time, then its place in the list) is a stop:
//       cTipoOperacao 'P';
//   3   otherwise.
// What is due: the order's programme (programmed - cancelled over the items) for the first
// receiving process and for the order's last process; for the others, what the receiving process
// before delivered, counted as the reporting balance counts it: internal reports quantity - scrap,
// or the reprocessed quantity of one that generated reprocessing; outsourced reports the returns
// net of their scrap. The process's earliest start and latest end come from its live reports.
// A change in one process changes what the next one is due, so the recomputation runs from the
// given process to the end of the run and then recomputes the order.
//
// The reservations of an order are dropped and rebuilt in the inventory server from what remains
// to produce. The order's quantity is the programme; a receiving process has made what its live
// reports without pending import withdrawals say (scrap included); the remaining quantity, never
// below zero, times the input's unit quantity with loss (divided by it for packaging when the order
// treats packaging apart), rounded to the input's decimals as the order's save rounds its totals
// (half to even), is the input's reservation. The reservations are always dropped before they are
// written, also for a reprocess order not yet confirmed, so that a second run never doubles them.
//
// None of these operations takes the order lock: their callers hold it, and FuncaoGenerica takes it.
#include <cstring>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/CQVCurrencyEx.h"
#include "foundation/QVChave.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

constexpr uint32_t kFuncaoAtualizaSituacao = 1;
constexpr HRESULT kFuncaoInvalida = static_cast<HRESULT>(0x80040001);

constexpr uint8_t kOperacaoParada = 'P';
constexpr int32_t kTipoReservaOP = 2;

bool Final(uint8_t cSituacao) { return cSituacao == kSituacaoInterrompida || cSituacao == kSituacaoCancelada; }
bool Concluida(uint8_t cSituacao) { return cSituacao == kSituacaoConcluidaComPerda || cSituacao == kSituacaoConcluida; }

CY Zero() { return CY{}; }

// A date and a time as one number that orders them (date first).
uint32_t Momento(uint16_t usData, uint16_t usHora) { return static_cast<uint32_t>(usData) << 16 | usHora; }

// The month of the key with the files of lBits open in cModo and the order's header in op. The
// month's order file is never created here: without it the order does not exist. 1587 for a key
// without record number, 1586 for a removed order.
HRESULT AbreOrdem(Arquivos& arquivos, const CString& empresa, uint32_t ulChaveOP, uint32_t lBits, char cModo,
                  PPDiscoOP& op) {
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveOP);
  const uint16_t usMes = QVGetMesAnoDaChave(ulChaveOP);
  if (ulRegistro == 0) return PPErroHResult(kPPErroArgumentoInvalido);
  // Without user and session: the set serves these steps alone and starts no caches.
  if (HRESULT hr = arquivos.Inicializa(empresa, 0, 0)) return hr;
  if (!arquivos.Existe(Arquivos::kArqOP, usMes)) return PPErroHResult(kQVErroArquivoInexistente);
  arquivos.SetArquivos(lBits);
  if (HRESULT hr = arquivos.SetModo(usMes, cModo)) return hr;
  if (int erro = arquivos.m_arqOP.Le(ulRegistro, &op)) return PPErroHResultMotor(erro);
  return op.cRemovido ? PPErroHResult(kPPErroRegistroRemovido) : S_OK;
}

HRESULT RegravaProcesso(Arquivos& arquivos, const PPDiscoOP& op, size_t indice, const PPDiscoProcesso& processo) {
  uint32_t ulRegistro = op.ulPrimeiroProcesso + static_cast<uint32_t>(indice);
  return PPErroHResultMotor(arquivos.m_arqProcesso.Grava(&processo, &ulRegistro));
}

// Programmed - cancelled over the items.
CY Programa(const std::vector<PPDiscoItem>& itens) {
  CY programa = Zero();
  for (const PPDiscoItem& item : itens) programa += item.vQuantidadeProgramada - item.vQuantidadeCancelada;
  return programa;
}

// An item that is still to be produced: neither cancelled nor closed by force, with a balance.
bool ItemComSaldo(const PPDiscoItem& item) {
  if (item.cCancelado || item.cEncerramentoForcado) return false;
  return item.vQuantidadeProgramada - item.vQuantidadeCancelada - item.vQuantidadePerdida -
             item.vQuantidadeProduzida > Zero();
}

// The live reports of a process: in its report list, not removed, of this order and this process.
HRESULT LeApontamentosVivos(Arquivos& arquivos, uint32_t ulRegistroOP, const PPDiscoProcesso& processo,
                            std::vector<PPDiscoApontamento>& vivos) {
  vivos.clear();
  std::vector<PPDiscoListaApontamento> lista;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqRA, processo.ulPrimeiroApontamento, processo.usQuantidadeApontamentos,
                               lista))
    return hr;
  for (const PPDiscoListaApontamento& entrada : lista) {
    PPDiscoApontamento apontamento;
    if (int erro = arquivos.m_arqApontamento.Le(entrada.ulRegistroApontamento, &apontamento))
      return PPErroHResultMotor(erro);
    if (apontamento.cExcluido || apontamento.ulRegistroOP != ulRegistroOP ||
        apontamento.lPonteiroProcesso != processo.lPonteiroProcesso)
      continue;
    vivos.push_back(apontamento);
  }
  return S_OK;
}

// What the reports of a process delivered to the next one, as the reporting balance counts it.
HRESULT Entregue(Arquivos& arquivos, const std::vector<PPDiscoApontamento>& apontamentos, CY& entregue) {
  entregue = Zero();
  for (const PPDiscoApontamento& apontamento : apontamentos) {
    if (apontamento.cTipoProducao == kProducaoInterna) {
      entregue += apontamento.cGerouReprocesso ? apontamento.vQuantidadeReprocessada
                                               : apontamento.vQuantidadeApontada - apontamento.vQuantidadeRefugo;
      continue;
    }
    std::vector<PPDiscoRetorno> retornos;
    if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqRetornoIndExterna, apontamento.ulPrimeiroRetorno,
                                 apontamento.usQtdRetornoIndustExt, retornos))
      return hr;
    for (const PPDiscoRetorno& retorno : retornos) entregue += retorno.vQuantidadeRetornada - retorno.vQuantidadeRefugo;
  }
  return S_OK;
}

// Part of what a report sent to reprocessing has not come back yet.
bool ReprocessoPendente(const std::vector<PPDiscoApontamento>& apontamentos) {
  for (const PPDiscoApontamento& apontamento : apontamentos) {
    if (apontamento.cGerouReprocesso && apontamento.vQuantidadeReprocessada < apontamento.vQuantidadeApontada)
      return true;
  }
  return false;
}

// What a receiving process's situation is computed from.
struct EstadoProcesso {
  std::vector<PPDiscoApontamento> vivos;
  bool bReprocessoAnterior = false;  // the process before has reprocessing pending
  bool bUltimo = false;              // the order's last process
  bool bItensComSaldo = false;       // an item of the order still has a balance
  CY vDevido{};                      // what the process has to produce
};

uint8_t SituacaoConcluida(const EstadoProcesso& estado, CY vApontado, CY vRefugo) {
  if (estado.bUltimo && estado.bItensComSaldo) return kSituacaoSuspensa;
  if (vRefugo > Zero() || vApontado < estado.vDevido) return kSituacaoConcluidaComPerda;
  return kSituacaoConcluida;
}

uint8_t SituacaoProcesso(const EstadoProcesso& estado) {
  if (estado.vivos.empty()) return kSituacaoNaoIniciada;
  if (estado.bReprocessoAnterior) return kSituacaoEmReprocesso;
  CY vApontado = Zero(), vRefugo = Zero();
  bool bEncerrado = false;
  const PPDiscoApontamento* ultimo = nullptr;
  for (const PPDiscoApontamento& apontamento : estado.vivos) {
    vApontado += apontamento.vQuantidadeApontada;
    vRefugo += apontamento.vQuantidadeRefugo;
    bEncerrado = bEncerrado || apontamento.cEncerramentoForcado;
    if (!ultimo || Momento(apontamento.usDataApontamentoInicio, apontamento.usHoraApontamentoInicio) >=
                       Momento(ultimo->usDataApontamentoInicio, ultimo->usHoraApontamentoInicio))
      ultimo = &apontamento;
  }
  if (bEncerrado || (estado.vDevido > Zero() && vApontado >= estado.vDevido))
    return SituacaoConcluida(estado, vApontado, vRefugo);
  return ultimo->cTipoOperacao == kOperacaoParada ? kSituacaoParado : kSituacaoEmProducao;
}

// The earliest start and the latest end of the live reports; zero without them.
void DatasProcesso(const std::vector<PPDiscoApontamento>& vivos, PPDiscoProcesso& processo) {
  uint32_t menorInicio = 0, maiorFim = 0;
  for (const PPDiscoApontamento& apontamento : vivos) {
    const uint32_t inicio = Momento(apontamento.usDataApontamentoInicio, apontamento.usHoraApontamentoInicio);
    const uint32_t fim = Momento(apontamento.usDataApontamentoFim, apontamento.usHoraApontamentoFim);
    if (apontamento.usDataApontamentoInicio && (!menorInicio || inicio < menorInicio)) menorInicio = inicio;
    if (fim > maiorFim) maiorFim = fim;
  }
  processo.usMenorDataInicio = static_cast<uint16_t>(menorInicio >> 16);
  processo.usMenorHoraInicio = static_cast<uint16_t>(menorInicio);
  processo.usMaiorDataFim = static_cast<uint16_t>(maiorFim >> 16);
  processo.usMaiorHoraFim = static_cast<uint16_t>(maiorFim);
}

// What the order's processes say about the order.
struct ResumoProcessos {
  uint32_t menorInicio = 0, maiorFim = 0;
  bool bAlgumRecebe = false;
  bool bRecebedoresConcluidos = true;
  bool bAlgumComPerda = false;
  bool bAlgumSuspenso = false;
  bool bRecursosDefinidos = true;
  bool bTodosNaoIniciados = true;
};

ResumoProcessos Resume(const std::vector<PPDiscoProcesso>& processos) {
  ResumoProcessos resumo;
  for (const PPDiscoProcesso& processo : processos) {
    const uint32_t inicio = Momento(processo.usMenorDataInicio, processo.usMenorHoraInicio);
    const uint32_t fim = Momento(processo.usMaiorDataFim, processo.usMaiorHoraFim);
    if (processo.usMenorDataInicio && (!resumo.menorInicio || inicio < resumo.menorInicio)) resumo.menorInicio = inicio;
    if (fim > resumo.maiorFim) resumo.maiorFim = fim;
    resumo.bTodosNaoIniciados = resumo.bTodosNaoIniciados && processo.cSituacao == kSituacaoNaoIniciada;
    if (!processo.cRecebeApontamento) continue;
    resumo.bAlgumRecebe = true;
    resumo.bRecebedoresConcluidos = resumo.bRecebedoresConcluidos && Concluida(processo.cSituacao);
    resumo.bAlgumComPerda = resumo.bAlgumComPerda || processo.cSituacao == kSituacaoConcluidaComPerda;
    resumo.bAlgumSuspenso = resumo.bAlgumSuspenso || processo.cSituacao == kSituacaoSuspensa;
    resumo.bRecursosDefinidos = resumo.bRecursosDefinidos && processo.usQuantidadeRecursos > 0;
  }
  return resumo;
}

// The situation and the start and conclusion of the order from its processes' summary. An order
// without receiving processes is never concluded by them.
void SituacaoOrdem(const ResumoProcessos& resumo, PPDiscoOP& op) {
  uint32_t inicio = resumo.menorInicio, conclusao = 0;
  if (resumo.bAlgumRecebe && resumo.bRecebedoresConcluidos) {
    op.cSituacao = resumo.bAlgumComPerda ? kSituacaoConcluidaComPerda : kSituacaoConcluida;
    conclusao = resumo.maiorFim;
  } else if (resumo.bAlgumSuspenso) {
    op.cSituacao = kSituacaoSuspensa;
  } else if (resumo.bTodosNaoIniciados) {
    op.cSituacao = kSituacaoNaoIniciada;
    inicio = 0;
  } else {
    op.cSituacao = kSituacaoIniciada;
  }
  op.usDataInicio = static_cast<uint16_t>(inicio >> 16);
  op.usHoraInicio = static_cast<uint16_t>(inicio);
  op.usDataConclusao = static_cast<uint16_t>(conclusao >> 16);
  op.usHoraConclusao = static_cast<uint16_t>(conclusao);
  op.cTodosRecursosDefinidos = resumo.bRecursosDefinidos ? 1 : 0;
}

// A quantity kept to the input's decimals (four or more keep it) by the platform's currency
// rounding, as GravaOP keeps the input's totals: an order not started reserves its totals.
CY ArredondaCasas(CY valor, uint8_t casas) {
  CY arredondado = valor;
  if (casas < 4) VarCyRound(valor, casas, &arredondado);
  return arredondado;
}

// One input's reservation for what remains to produce; false when nothing is needed.
bool ReservaInsumo(const PPDiscoOP& op, const PPDiscoInsumo& insumo, CY vRestante, uint16_t usIndiceProcesso,
                   _REG_ES_RESERVAPS& reserva) {
  const CY vUnitaria = insumo.vQuantUnitariaComQuebra;
  CY vNecessidade = vRestante * vUnitaria;
  if (op.cTratarInsumoEmbalagem && insumo.cEhEmbalagem)
    vNecessidade = vUnitaria == Zero() ? Zero() : vRestante / vUnitaria;
  vNecessidade = ArredondaCasas(vNecessidade, insumo.cCasasDecimais);
  if (vNecessidade == Zero()) return false;
  std::memset(&reserva, 0, sizeof reserva);
  reserva.regPosicaoProduto = {insumo.lPonteiroProduto, insumo.iPonteiroItemGrade1, insumo.iPonteiroItemGrade2,
                               insumo.iPonteiroItemGrade3};
  reserva.vQuantidade = vNecessidade;
  reserva.lPonteiroLote = insumo.lPonteiroLote;
  reserva.lPonteiroForLote = insumo.lPonteiroForLote;
  reserva.lPonteiroVolume = insumo.lPonteiroVolumeES;
  reserva.lPonteiroForEPTETPE = insumo.lPonteiroForEPTETPE;
  reserva.lPonteiroCliEPTETPE = insumo.lPonteiroCliEPTETPE;
  reserva.iPonteiroLocalArmazenagem = insumo.usPonteiroLocalEstocagem;
  reserva.iIndiceProcesso = usIndiceProcesso;
  reserva.cTipoProducao = insumo.cTipoProducao;
  reserva.cTipoEstoque = insumo.cTipoEstoque;
  return true;
}

}  // namespace

HRESULT CPPServidorOP::AtualizaSituacaoProcesso(uint32_t ulChaveOP, int32_t lPonteiroProcesso, uint8_t /*bSeguinte*/) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  {
    Arquivos arquivos;
    PPDiscoOP op;
    const uint32_t lBits = Arquivos::kArqOP | Arquivos::kArqItem | Arquivos::kArqProcesso | Arquivos::kArqApontamento |
                           Arquivos::kArqRetornoIndExterna | Arquivos::kArqRA;
    if (HRESULT hr = AbreOrdem(arquivos, m_strEmpresa, ulChaveOP, lBits, 'G', op)) return hr;
    if (Final(op.cSituacao)) return S_OK;
    if (HRESULT hr = AtualizaSituacaoProcessos(arquivos, QVGetNumeroDaChave(ulChaveOP), op, lPonteiroProcesso))
      return hr;
    if (HRESULT hr = arquivos.Fecha()) return hr;
  }
  return AtualizaSituacaoOP(ulChaveOP);
}

// The given process and every receiving process after it, in order.
HRESULT CPPServidorOP::AtualizaSituacaoProcessos(CPPArquivosOP& arquivos, uint32_t ulRegistroOP, const PPDiscoOP& op,
                                                 int32_t lPonteiroProcesso) {
  std::vector<PPDiscoProcesso> processos;
  std::vector<PPDiscoItem> itens;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, processos)) return hr;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqItem, op.ulPrimeiroItem, op.usQtdItens, itens)) return hr;
  size_t inicio = 0;
  while (inicio < processos.size() && processos[inicio].lPonteiroProcesso != lPonteiroProcesso) ++inicio;
  if (inicio == processos.size()) return PPErroHResult(kPPErroArgumentoInvalido);

  const CY vPrograma = Programa(itens);
  bool bItensComSaldo = false;
  for (const PPDiscoItem& item : itens) bItensComSaldo = bItensComSaldo || ItemComSaldo(item);
  // The live reports of the receiving process before the one being computed, when there is one.
  bool bAnterior = false;
  std::vector<PPDiscoApontamento> vivosAnterior;
  for (size_t i = 0; i < processos.size(); ++i) {
    PPDiscoProcesso& processo = processos[i];
    if (!processo.cRecebeApontamento) continue;
    EstadoProcesso estado;
    if (HRESULT hr = LeApontamentosVivos(arquivos, ulRegistroOP, processo, estado.vivos)) return hr;
    if (i >= inicio && !Final(processo.cSituacao)) {
      estado.bUltimo = i + 1 == processos.size();
      estado.bItensComSaldo = bItensComSaldo;
      estado.bReprocessoAnterior = bAnterior && ReprocessoPendente(vivosAnterior);
      estado.vDevido = vPrograma;
      if (bAnterior && !estado.bUltimo) {
        if (HRESULT hr = Entregue(arquivos, vivosAnterior, estado.vDevido)) return hr;
      }
      processo.cSituacao = SituacaoProcesso(estado);
      DatasProcesso(estado.vivos, processo);
      if (HRESULT hr = RegravaProcesso(arquivos, op, i, processo)) return hr;
    }
    bAnterior = true;
    vivosAnterior = std::move(estado.vivos);
  }
  return S_OK;
}

HRESULT CPPServidorOP::AtualizaSituacaoOP(uint32_t ulChaveOP) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  Arquivos arquivos;
  PPDiscoOP op;
  if (HRESULT hr = AbreOrdem(arquivos, m_strEmpresa, ulChaveOP, Arquivos::kArqOP | Arquivos::kArqProcesso, 'G', op))
    return hr;
  if (Final(op.cSituacao)) return S_OK;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, processos)) return hr;

  SituacaoOrdem(Resume(processos), op);
  uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveOP);
  if (int erro = arquivos.m_arqOP.Grava(&op, &ulRegistro)) return PPErroHResultMotor(erro);
  if (!Concluida(op.cSituacao)) return arquivos.Fecha();
  for (size_t i = 0; i < processos.size(); ++i) {
    PPDiscoProcesso& processo = processos[i];
    if (Concluida(processo.cSituacao)) continue;
    processo.cSituacao = kSituacaoConcluida;
    if (HRESULT hr = RegravaProcesso(arquivos, op, i, processo)) return hr;
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::AtualizaReservasOP(uint32_t ulChaveOP) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  PPDiscoOP op;
  std::vector<_REG_ES_RESERVAPS> reservas;
  if (HRESULT hr = CalculaReservasOP(ulChaveOP, op, reservas)) return hr;

  HRESULT hr = S_OK;
  IQVES_Movimento* movimento = GetIMovimento(&hr);
  if (!movimento) return hr;
  const uint16_t usFilial = op.usPonteiroFilial;
  if (hr = movimento->RemoveReservas(ulChaveOP, kTipoReservaOP, usFilial); FAILED(hr)) return hr;
  if (reservas.empty()) return S_OK;
  hr = movimento->GravaReservas(ulChaveOP, kTipoReservaOP, usFilial, static_cast<uint32_t>(reservas.size()),
                                reservas.data());
  return FAILED(hr) ? hr : S_OK;
}

// The order's header, and the reservations that it should hold: none when the master settings
// keep orders from reserving, or once the order is concluded, interrupted or cancelled.
HRESULT CPPServidorOP::CalculaReservasOP(uint32_t ulChaveOP, PPDiscoOP& op, std::vector<_REG_ES_RESERVAPS>& reservas) {
  Arquivos arquivos;
  const uint32_t lBits = Arquivos::kArqOP | Arquivos::kArqItem | Arquivos::kArqProcesso | Arquivos::kArqInsumo |
                         Arquivos::kArqApontamento | Arquivos::kArqRA;
  if (HRESULT hr = AbreOrdem(arquivos, m_strEmpresa, ulChaveOP, lBits, 'L', op)) return hr;
  if (m_regMestre.cNaoExecutarPreBaixaNaOP || Concluida(op.cSituacao) || Final(op.cSituacao)) return arquivos.Fecha();

  std::vector<PPDiscoItem> itens;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqItem, op.ulPrimeiroItem, op.usQtdItens, itens)) return hr;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqProcesso, op.ulPrimeiroProcesso, op.usQtdProcessos, processos)) return hr;
  const CY vPrograma = Programa(itens);
  const uint32_t ulRegistroOP = QVGetNumeroDaChave(ulChaveOP);
  for (size_t i = 0; i < processos.size(); ++i) {
    const PPDiscoProcesso& processo = processos[i];
    CY vRestante = vPrograma;
    if (processo.cRecebeApontamento) {
      std::vector<PPDiscoApontamento> vivos;
      if (HRESULT hr = LeApontamentosVivos(arquivos, ulRegistroOP, processo, vivos)) return hr;
      for (const PPDiscoApontamento& apontamento : vivos) {
        if (!apontamento.cImportacaoComBaixasPendentes) vRestante -= apontamento.vQuantidadeApontada;
      }
      if (vRestante < Zero()) vRestante = Zero();
    }
    std::vector<PPDiscoInsumo> insumos;
    if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqInsumo, processo.ulPrimeiroInsumo, processo.usQuantidadeInsumos,
                                 insumos))
      return hr;
    for (const PPDiscoInsumo& insumo : insumos) {
      _REG_ES_RESERVAPS reserva;
      if (ReservaInsumo(op, insumo, vRestante, static_cast<uint16_t>(i), reserva)) reservas.push_back(reserva);
    }
  }
  return arquivos.Fecha();
}

HRESULT CPPServidorOP::FuncaoGenerica(uint32_t lFuncao, const _REG_FUNCAO_GENERICA_VARMO& regIn) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (lFuncao != kFuncaoAtualizaSituacao) return kFuncaoInvalida;
  // The order key and the process pointer: a shorter payload is refused, not read past its end.
  const int32_t lQtdBytes = regIn.lQtdBytes;
  const uint8_t* pListaBytes = regIn.pListaBytes;
  if (lQtdBytes < 8 || !pListaBytes) return kFuncaoInvalida;
  uint32_t ulChaveOP = 0;
  int32_t lPonteiroProcesso = 0;
  std::memcpy(&ulChaveOP, pListaBytes, sizeof ulChaveOP);
  std::memcpy(&lPonteiroProcesso, pListaBytes + 4, sizeof lPonteiroProcesso);

  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  if (HRESULT hr = AtualizaSituacaoProcesso(ulChaveOP, lPonteiroProcesso, 0)) return hr;
  return AtualizaReservasOP(ulChaveOP);
}
