// Transit of a return between outside processors: the reports that the latest return of an
// outsourced report sends on, to the next process of the same order, to the order's last process
// or to other orders, recorded inside the lock of the return that started it.
//
// Every report made here is named where the return's removal looks for it (the processor's PPTA
// record, the return's key list, the last-process entry, the order entry) as soon as it exists,
// also when its recording then fails after appending it: the caller answers a failure by removing
// the return, and that removal can take back only the reports it can find. A key is always
// appended before the record that points at it is rewritten.
#include <cstring>
#include <vector>

#include "foundation/QVChave.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

// cTipoApontamento of the reports made here.
constexpr uint8_t kTransitoIndustrializador = 1;   // to the next processor of the same order
constexpr uint8_t kTransitoEntreOPs = 2;           // pooled, or on the order's last process
constexpr uint8_t kTransitoOutraOP = 3;            // to another order's processor

// The first process after the first receiving process of lPonteiroApos (from the first process
// when lPonteiroApos is 0) that receives reports, the order's last process left out; null: none.
const PPDiscoProcesso* ProcessoDestino(const std::vector<PPDiscoProcesso>& processos, int32_t lPonteiroApos) {
  bool bPassou = lPonteiroApos == 0;
  for (size_t i = 0; i + 1 < processos.size(); ++i) {
    const PPDiscoProcesso& processo = processos[i];
    if (!processo.cRecebeApontamento) continue;
    if (bPassou) return &processo;
    bPassou = processo.lPonteiroProcesso == lPonteiroApos;
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One transit: report A, its order O and its latest return R as read at the start.

class CPPServidorOP::TransitoRetorno {
 public:
  TransitoRetorno(CPPServidorOP& op, uint16_t usMesAno, uint32_t ulRegistroApontamento)
      : op_(op), usMesAno_(usMesAno), ulRegistroApontamento_(ulRegistroApontamento) {}

  HRESULT Le();
  HRESULT GeraProcessoSeguinte();
  HRESULT GravaChavesGeradas();
  HRESULT GeraUltimoProcesso();
  HRESULT GeraOrdens();
  HRESULT Resultado() const { return hrUltimo_; }

 private:
  CString Caminho(PPArquivoPeriodoOP arquivo) const { return op_.CaminhoArquivo(arquivo, usMesAno_); }
  uint32_t ChaveOP() const { return QVMontaChave(usMesAno_, apontamento_.ulRegistroOP); }
  // The fields that every report on the next process takes from A.
  _REG_VARMO_OP_APONTAMENTO RelatoProcessoSeguinte(const PPDiscoProcesso& destino) const;
  HRESULT GeraIndustrializador(const PPDiscoProcesso& destino, uint32_t ulRegistroTI,
                               PPDiscoTransitoIndustrializador& industrializador);
  HRESULT GeraConjunto(const PPDiscoProcesso& destino, int64_t vQuantidade);
  HRESULT GeraOrdem(const PPDiscoTransitoIndustrializador& industrializador, uint32_t ulRegistroIO);
  HRESULT VinculaReutilizado(uint32_t ulChaveReutilizado);
  // GravaApontamento inside the caller's lock; *pulChave the new report's key, also when the
  // recording failed after appending it (0 when it appended nothing).
  HRESULT Grava(const _REG_VARMO_OP_APONTAMENTO& reg, uint32_t* pulChave);

  CPPServidorOP& op_;
  const uint16_t usMesAno_;
  const uint32_t ulRegistroApontamento_;
  PPDiscoApontamento apontamento_{};  // A
  PPDiscoOP ordem_{};                 // O
  uint32_t ulRegistroRetorno_ = 0;    // R in PPRI
  PPDiscoRetorno retorno_{};
  std::vector<PPDiscoProcesso> processos_;  // O's
  std::vector<uint32_t> gerados_;           // keys for R's list, in the order they were made
  HRESULT hrUltimo_ = S_OK;                 // of the last recording
};

// 1. A report without returns has no latest return to send on.
HRESULT CPPServidorOP::TransitoRetorno::Le() {
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::AP), ulRegistroApontamento_, &apontamento_))
    return hr;
  if (apontamento_.usQtdRetornoIndustExt == 0) return PPErroHResult(kPPErroRegistroRemovido);
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::OP), apontamento_.ulRegistroOP, &ordem_)) return hr;
  ulRegistroRetorno_ = apontamento_.ulPrimeiroRetorno + apontamento_.usQtdRetornoIndustExt - 1u;
  if (ulRegistroRetorno_ < apontamento_.ulPrimeiroRetorno) return PPErroHResult(kQVErroFimArquivo);
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::RI), ulRegistroRetorno_, &retorno_)) return hr;
  return PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::PR), ordem_.ulPrimeiroProcesso, ordem_.usQtdProcessos,
                            processos_);
}

HRESULT CPPServidorOP::TransitoRetorno::Grava(const _REG_VARMO_OP_APONTAMENTO& reg, uint32_t* pulChave) {
  *pulChave = 0;
  hrUltimo_ = op_.GravaApontamento(reg, pulChave, 0);
  return FAILED(hrUltimo_) ? hrUltimo_ : S_OK;
}

_REG_VARMO_OP_APONTAMENTO CPPServidorOP::TransitoRetorno::RelatoProcessoSeguinte(const PPDiscoProcesso& destino) const {
  _REG_VARMO_OP_APONTAMENTO reg{};
  reg.lPonteiroOP = ChaveOP();
  reg.lPonteiroNotaFiscalSaida = apontamento_.lPonteiroNotaFiscalSaida;
  reg.lPonteiroOperacaoProducao = apontamento_.lPonteiroOperacaoProducao;
  reg.lPonteiroProcesso = destino.lPonteiroProcesso;
  reg.lPonteiroPedidoNecessidade = apontamento_.lPonteiroPedidoNecessidade;
  reg.ulChaveApontamentoOPOrigem = apontamento_.ulChaveApontamentoOPOrigem;
  reg.usIdxItemPedido = apontamento_.usIdxItemPedido;
  reg.cTipoItem = apontamento_.cTipoItem;
  reg.cTipoProducao = kProducaoExterna;
  return reg;
}

// 2. Only the first receiving process after A's receives these reports, never the order's last.
HRESULT CPPServidorOP::TransitoRetorno::GeraProcessoSeguinte() {
  const PPDiscoProcesso* destino = ProcessoDestino(processos_, apontamento_.lPonteiroProcesso);
  if (!destino) return S_OK;
  std::vector<PPDiscoTransitoIndustrializador> industrializadores;
  if (HRESULT hr = PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::TI), retorno_.ulPrimeiroIndustrializador,
                                      retorno_.usQtdIndustrializadores, industrializadores))
    return hr;
  int64_t vConjunto = 0;
  for (uint32_t i = 0; i < industrializadores.size(); ++i) {
    PPDiscoTransitoIndustrializador& industrializador = industrializadores[i];
    if (industrializador.cIniciarNovaOP) {
      vConjunto += industrializador.vQuantidadeEnviada.int64;
      continue;
    }
    if (HRESULT hr = GeraIndustrializador(*destino, retorno_.ulPrimeiroIndustrializador + i, industrializador))
      return hr;
  }
  if (vConjunto <= 0) return S_OK;
  return GeraConjunto(*destino, vConjunto);
}

// A report of kind 1 for the processor; its key in the processor's PPTA record.
HRESULT CPPServidorOP::TransitoRetorno::GeraIndustrializador(const PPDiscoProcesso& destino, uint32_t ulRegistroTI,
                                                             PPDiscoTransitoIndustrializador& industrializador) {
  _REG_VARMO_OP_APONTAMENTO reg = RelatoProcessoSeguinte(destino);
  reg.vQuantidadeApontada.int64 = industrializador.vQuantidadeEnviada.int64;
  reg.v8CustoTerceirizacao.int64 = industrializador.vCustoUnitarioTerceirizacao.int64
                                       ? industrializador.vCustoUnitarioTerceirizacao.int64
                                       : destino.v8CustoTerceirizacao.int64;
  reg.usDataApontamentoInicio = retorno_.usDataRetorno;
  reg.usHoraApontamentoInicio = retorno_.usHoraRetorno;
  reg.lPonteiroIndustrializador = industrializador.lPonteiroIndustrializador;
  reg.cTipoApontamento = kTransitoIndustrializador;
  uint32_t ulChave = 0;
  const HRESULT hr = Grava(reg, &ulChave);
  if (!ulChave) return hr;

  const PPDiscoChaveImportada chave{ulChave};
  const CString caminhoTA = Caminho(PPArquivoPeriodoOP::TA);
  HRESULT hrChave;
  if (industrializador.ulRegistroChaveGerada) {
    hrChave = PPRegravaRegistroMesOP(caminhoTA, industrializador.ulRegistroChaveGerada, chave);
  } else {
    hrChave = PPAnexaRegistros(caminhoTA, sizeof chave, reinterpret_cast<const uint8_t*>(&chave), 1,
                               &industrializador.ulRegistroChaveGerada);
  }
  if (hrChave) return hrChave;
  industrializador.usQtdApontamentosGerados++;
  if (HRESULT hrTI = PPRegravaRegistroMesOP(Caminho(PPArquivoPeriodoOP::TI), ulRegistroTI, industrializador))
    return hrTI;
  return hr;
}

// The processors that start a new order, pooled into one report of kind 2 for A's outsourcer and
// closed at once by an automatic return that carries R's receipt document or pending invoice.
HRESULT CPPServidorOP::TransitoRetorno::GeraConjunto(const PPDiscoProcesso& destino, int64_t vQuantidade) {
  _REG_VARMO_OP_APONTAMENTO reg = RelatoProcessoSeguinte(destino);
  reg.vQuantidadeApontada.int64 = vQuantidade;
  reg.v8CustoTerceirizacao.int64 = destino.v8CustoTerceirizacao.int64;
  reg.usDataApontamentoInicio = apontamento_.usDataApontamentoInicio;
  reg.usHoraApontamentoInicio = apontamento_.usHoraApontamentoInicio;
  reg.lPonteiroIndustrializador = apontamento_.lPonteiroIndustrializador;
  reg.cTipoApontamento = kTransitoEntreOPs;
  uint32_t ulChave = 0;
  const HRESULT hr = Grava(reg, &ulChave);
  if (ulChave) gerados_.push_back(ulChave);
  if (FAILED(hr)) return hr;

  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS automatico;
  std::memset(static_cast<void*>(&automatico), 0, sizeof automatico);
  automatico.ulChaveOP = ChaveOP();
  automatico.ulPonteiroApontamento = QVGetNumeroDaChave(ulChave);
  _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& r = automatico.regRetorno;
  r.vQuantidadeRetornada.int64 = vQuantidade;
  r.lPonteiroRegistroEntrada = retorno_.lPonteiroRegistroEntrada;
  r.ulChaveRetornoNFPendente = retorno_.ulChaveRetornoNFPendente;
  r.usDataRetorno = retorno_.usDataRetorno;
  r.usHoraRetorno = retorno_.usHoraRetorno;
  r.cEncerramentoForcado = retorno_.cEncerramentoForcado;
  r.cApontamentoAutomatico = 1;
  uint32_t ulRegistroRetorno = 0;
  hrUltimo_ = op_.GravaApontamentoRetornoIndustrializacao(automatico, &ulRegistroRetorno, 0);
  return FAILED(hrUltimo_) ? hrUltimo_ : S_OK;
}

// 3. R read again: the recordings may have rewritten the month's returns meanwhile. The keys go to
// R's list last made first; nothing is written when none was made.
HRESULT CPPServidorOP::TransitoRetorno::GravaChavesGeradas() {
  if (gerados_.empty()) return S_OK;
  const CString caminho = Caminho(PPArquivoPeriodoOP::RI);
  PPDiscoRetorno retorno;
  if (HRESULT hr = PPLeRegistroMesOP(caminho, ulRegistroRetorno_, &retorno)) return hr;
  const std::vector<uint32_t> chaves(gerados_.rbegin(), gerados_.rend());
  uint32_t ulPrimeiro = 0;
  const auto usQtd = static_cast<uint16_t>(chaves.size());
  if (HRESULT hr = op_.GravaChavesApontamentoImportado(usMesAno_, usQtd, chaves.data(), &ulPrimeiro)) return hr;
  retorno.ulPrimeiraChaveGerada = ulPrimeiro;
  retorno.usQtdChaveGerada = usQtd;
  if (HRESULT hr = PPRegravaRegistroMesOP(caminho, ulRegistroRetorno_, retorno)) return hr;
  retorno_ = retorno;
  return S_OK;
}

// 4. One report of kind 2 on the order's last process per entry with a quantity, for the item at
// the entry's index; an index past the order's items would read another order's item.
HRESULT CPPServidorOP::TransitoRetorno::GeraUltimoProcesso() {
  std::vector<PPDiscoApontamentoUltimoProcesso> ultimos;
  if (HRESULT hr = PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::UP), retorno_.ulPrimeiroApontUltProcesso,
                                      retorno_.usQtdApontUltProcesso, ultimos))
    return hr;
  if (ultimos.empty() || processos_.empty()) return S_OK;
  const PPDiscoProcesso& ultimo = processos_.back();
  for (uint32_t i = 0; i < ultimos.size(); ++i) {
    PPDiscoApontamentoUltimoProcesso& entrada = ultimos[i];
    if (entrada.vQuantidade.int64 <= 0) continue;
    if (entrada.usIdxItemOP >= ordem_.usQtdItens) return PPErroHResult(kPPErroArgumentoInvalido);
    PPDiscoItem item;
    if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::IT), ordem_.ulPrimeiroItem + entrada.usIdxItemOP,
                                       &item))
      return hr;
    _REG_VARMO_OP_APONTAMENTO reg{};
    reg.vQuantidadeApontada.int64 = entrada.vQuantidade.int64;
    // The last process weighs its reports gross as well.
    if (ultimo.cApontarPesoBruto) reg.vQuantidadeBruta.int64 = entrada.vQuantidade.int64;
    reg.lPonteiroOP = ChaveOP();
    reg.lPonteiroPedidoNecessidade = item.lPonteiroPedidoNecessidade;
    reg.ulChaveApontamentoOPOrigem = item.ulChaveApontamentoOPOrigem;
    reg.lPonteiroOperacaoProducao = apontamento_.lPonteiroOperacaoProducao;
    reg.lPonteiroProcesso = ultimo.lPonteiroProcesso;
    reg.usDataApontamentoInicio = reg.usDataApontamentoFim = retorno_.usDataRetorno;
    reg.usHoraApontamentoInicio = reg.usHoraApontamentoFim = retorno_.usHoraRetorno;
    reg.usIdxItemPedido = item.usIdxItemPedido;
    reg.cTipoItem = item.cTipoItem;
    reg.cTipoProducao = kProducaoInterna;
    reg.cTipoApontamento = kTransitoEntreOPs;
    uint32_t ulChave = 0;
    const HRESULT hr = Grava(reg, &ulChave);
    if (!ulChave) return hr;
    entrada.ulRegistroApontamento = QVGetNumeroDaChave(ulChave);
    if (HRESULT hrUP = PPRegravaRegistroMesOP(Caminho(PPArquivoPeriodoOP::UP),
                                              retorno_.ulPrimeiroApontUltProcesso + i, entrada))
      return hrUP;
    if (hr) return hr;
  }
  return S_OK;
}

// 5. The orders that each processor goes on with.
HRESULT CPPServidorOP::TransitoRetorno::GeraOrdens() {
  std::vector<PPDiscoTransitoIndustrializador> industrializadores;
  if (HRESULT hr = PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::TI), retorno_.ulPrimeiroIndustrializador,
                                      retorno_.usQtdIndustrializadores, industrializadores))
    return hr;
  for (const PPDiscoTransitoIndustrializador& industrializador : industrializadores) {
    for (uint32_t i = 0; i < industrializador.usQtdOP; ++i) {
      if (HRESULT hr = GeraOrdem(industrializador, industrializador.ulPrimeiraOP + i)) return hr;
    }
  }
  return S_OK;
}

// A report of kind 3 on the order's first receiving process (before its last), or A linked to the
// report that the entry reuses.
HRESULT CPPServidorOP::TransitoRetorno::GeraOrdem(const PPDiscoTransitoIndustrializador& industrializador,
                                                  uint32_t ulRegistroIO) {
  const CString caminhoIO = Caminho(PPArquivoPeriodoOP::IO);
  PPDiscoTransitoOP entrada;
  if (HRESULT hr = PPLeRegistroMesOP(caminhoIO, ulRegistroIO, &entrada)) return hr;
  if (entrada.cReutilizarApontamento) return VinculaReutilizado(entrada.ulChaveApontamento);

  if (!PPChaveCompleta(entrada.ulChaveOP)) return PPErroHResult(kPPErroChaveAusente);
  const uint16_t usMesOrdem = QVGetMesAnoDaChave(entrada.ulChaveOP);
  PPDiscoOP ordem;
  if (HRESULT hr = PPLeRegistroMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesOrdem),
                                     QVGetNumeroDaChave(entrada.ulChaveOP), &ordem))
    return hr;
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::PR, usMesOrdem), ordem.ulPrimeiroProcesso,
                                      ordem.usQtdProcessos, processos))
    return hr;
  const PPDiscoProcesso* destino = ProcessoDestino(processos, 0);
  if (!destino) return PPErroHResult(kPPErroTransitoSemProcesso);

  _REG_VARMO_OP_APONTAMENTO reg{};
  reg.vQuantidadeApontada.int64 = entrada.vQuantidadeApontada.int64;
  reg.v8CustoTerceirizacao.int64 = destino->v8CustoTerceirizacao.int64;
  reg.lPonteiroOP = entrada.ulChaveOP;
  reg.lPonteiroNotaFiscalSaida = apontamento_.lPonteiroNotaFiscalSaida;
  reg.lPonteiroOperacaoProducao = apontamento_.lPonteiroOperacaoProducao;
  reg.lPonteiroProcesso = destino->lPonteiroProcesso;
  reg.usDataApontamentoInicio = retorno_.usDataRetorno;
  reg.usHoraApontamentoInicio = retorno_.usHoraRetorno;
  reg.lPonteiroIndustrializador = industrializador.lPonteiroIndustrializador;
  reg.cTipoProducao = kProducaoExterna;
  reg.cTipoApontamento = kTransitoOutraOP;
  uint32_t ulChave = 0;
  const HRESULT hr = Grava(reg, &ulChave);
  if (!ulChave) return hr;
  entrada.ulChaveApontamento = ulChave;
  if (HRESULT hrIO = PPRegravaRegistroMesOP(caminhoIO, ulRegistroIO, entrada)) return hrIO;
  return hr;
}

// The reused report's links appended anew with A's key last, in the PPTA of its own month, before
// the report points at them.
HRESULT CPPServidorOP::TransitoRetorno::VinculaReutilizado(uint32_t ulChaveReutilizado) {
  if (!PPChaveCompleta(ulChaveReutilizado)) return PPErroHResult(kPPErroChaveAusente);
  const uint16_t usMes = QVGetMesAnoDaChave(ulChaveReutilizado);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveReutilizado);
  const CString caminhoAP = op_.CaminhoArquivo(PPArquivoPeriodoOP::AP, usMes);
  PPDiscoApontamento reutilizado;
  if (HRESULT hr = PPLeRegistroMesOP(caminhoAP, ulRegistro, &reutilizado)) return hr;
  uint32_t ulPrimeiro = reutilizado.ulPrimeiraChaveVinculada;
  uint16_t usQtd = reutilizado.usQtdChaveVinculada;
  if (usQtd == UINT16_MAX) return PPErroHResult(kPPErroArgumentoInvalido);
  std::vector<PPDiscoChaveImportada> vinculados;
  if (HRESULT hr = PPLeSequenciaMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::TA, usMes), ulPrimeiro, usQtd, vinculados))
    return hr;
  std::vector<uint32_t> chaves;
  for (const PPDiscoChaveImportada& vinculado : vinculados) chaves.push_back(vinculado.ulChaveApontamento);
  chaves.push_back(QVMontaChave(usMesAno_, ulRegistroApontamento_));
  usQtd = static_cast<uint16_t>(chaves.size());
  if (HRESULT hr = op_.GravaChavesApontamentoImportado(usMes, usQtd, chaves.data(), &ulPrimeiro)) return hr;
  reutilizado.ulPrimeiraChaveVinculada = ulPrimeiro;
  reutilizado.usQtdChaveVinculada = usQtd;
  return PPRegravaRegistroMesOP(caminhoAP, ulRegistro, reutilizado);
}

// ---------------------------------------------------------------------------------------------------
// ProcessaTransitoRetorno

HRESULT CPPServidorOP::ProcessaTransitoRetorno(uint16_t usMesAno, uint32_t ulRegistroApontamento) {
  TransitoRetorno transito(*this, usMesAno, ulRegistroApontamento);
  // 1.
  if (HRESULT hr = transito.Le()) return hr;
  // 2. and 3.: the keys made before a failure still go to R's list, for the removal to find.
  const HRESULT hrSeguinte = transito.GeraProcessoSeguinte();
  if (HRESULT hr = transito.GravaChavesGeradas()) return FAILED(hrSeguinte) ? hrSeguinte : hr;
  if (FAILED(hrSeguinte)) return hrSeguinte;
  // 4. to 6.
  if (HRESULT hr = transito.GeraUltimoProcesso()) return hr;
  if (HRESULT hr = transito.GeraOrdens()) return hr;
  return transito.Resultado();
}
