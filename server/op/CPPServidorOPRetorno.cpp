// Recording a return from outsourced processing: what came back of an outsourced report, with its
// stock movements, its scrap entry, the processors it went on to in transit and its pending invoice.
//
// The operation runs in two halves. The first only reads: the report, its order, the order's
// processes and the report's returns; every refusal is decided there, so that a refused return
// leaves the month's files as they were and makes none. The second half writes the return's own
// records first (texts, transit lists, the pending invoice in state 0, imported keys, postings) and
// only then appends the report's whole list of returns anew with the new return last and points the
// report at it: until that rewrite the report keeps its old run, and what was written before is
// unreferenced (an invoice in state 0 is never listed as pending). Postings that the inventory took
// are never left unreachable: when a posting fails, the return is still linked to the report with
// the movements stored so far, so that its removal can take them back, and then the failure is
// returned. Only a failed transit is undone, by removing the return again.
#include <algorithm>
#include <cstring>
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

constexpr uint8_t kNFGravando = 0;  // PPNF byte 14 while the return is being recorded
constexpr uint8_t kNFPendente = 1;

bool AbertoParaRetorno(uint8_t cSituacao) {
  return cSituacao == kSituacaoNaoIniciada || cSituacao == kSituacaoIniciada || cSituacao == kSituacaoEmProducao ||
         cSituacao == kSituacaoParado || cSituacao == kSituacaoEmReprocesso;
}

// The nested lists of the input, each count with its array.
HRESULT VerificaListas(const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& retorno) {
  for (HRESULT hr : {PPVerificaLista(retorno.usQtdMvtoEstoque, retorno.pregMovimentos),
                     PPVerificaLista(retorno.usQtdIndustrializadores, retorno.pregIndustrializadores),
                     PPVerificaLista(retorno.usQtdApontUltProcesso, retorno.pregApontUltProcesso),
                     PPVerificaLista(retorno.usQtdChaveApontamentoImportado, retorno.plistaChaveApontamentoImportado)}) {
    if (hr) return hr;
  }
  for (uint16_t i = 0; i < retorno.usQtdIndustrializadores; ++i) {
    const _REG_PP_TRANSITO_INDUSTRIALIZADORESPS& industrializador = retorno.pregIndustrializadores[i];
    if (HRESULT hr = PPVerificaLista(industrializador.usQtdOP, industrializador.pregOP)) return hr;
  }
  return S_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One return: what the checking half reads and the writing half builds.

class CPPServidorOP::GravacaoRetorno {
 public:
  GravacaoRetorno(CPPServidorOP& op, const _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS& reg)
      : op_(op),
        reg_(reg),
        entrada_(reg.regRetorno),
        usMesAno_(QVGetMesAnoDaChave(reg.ulChaveOP)),
        ulRegistro_(reg.ulPonteiroApontamento) {}

  // 1. to 3.: reads only.
  HRESULT LeApontamento();
  HRESULT VerificaProcessos();
  HRESULT VerificaRetornos();
  // 4. to 13.
  HRESULT MontaRetorno();
  HRESULT GravaTransito();
  HRESULT GravaNotaPendente();
  HRESULT GravaChavesImportadas();
  HRESULT GravaMovimentos();
  HRESULT RegravaApontamento(uint32_t* pulPntrOut);
  HRESULT ConfirmaNotaPendente();
  HRESULT MarcaImportados();
  HRESULT AtualizaSituacao();
  HRESULT ProcessaTransito(uint32_t* pulPntrOut);
  void GravaHistorico();

 private:
  uint32_t ChaveOP() const { return reg_.ulChaveOP; }
  uint32_t ChaveApontamento() const { return QVMontaChave(usMesAno_, ulRegistro_); }
  CString Caminho(PPArquivoPeriodoOP arquivo) const { return op_.CaminhoArquivo(arquivo, usMesAno_); }
  bool GeraTransito() const { return entrada_.cGeraTransitoIndustrializacao != 0; }
  HRESULT GravaMovimentosRetorno();
  HRESULT GravaRefugoRetorno();

  CPPServidorOP& op_;
  const _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS& reg_;
  const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& entrada_;
  const uint16_t usMesAno_;
  const uint32_t ulRegistro_;  // the report in PPAP
  PPDiscoApontamento apontamento_{};
  PPDiscoOP ordem_{};
  std::vector<PPDiscoRetorno> retornos_;  // the report's returns as stored, in their order
  PPDiscoRetorno retorno_{};              // the new one
  uint32_t ulRegistroNF_ = 0;             // the pending invoice made here; 0: none
};

// 1. The report, and its order: a removed report, or one of another order, takes no return.
HRESULT CPPServidorOP::GravacaoRetorno::LeApontamento() {
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::AP), ulRegistro_, &apontamento_)) return hr;
  if (apontamento_.cExcluido || apontamento_.ulRegistroOP != QVGetNumeroDaChave(ChaveOP()))
    return PPErroHResult(kPPErroRegistroRemovido);
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::OP), apontamento_.ulRegistroOP, &ordem_)) return hr;
  // The transit reads the order's item at each entry's index: one past the order's items would be
  // another order's.
  for (uint16_t i = 0; i < entrada_.usQtdApontUltProcesso; ++i) {
    if (entrada_.pregApontUltProcesso[i].usIdxItemOP >= ordem_.usQtdItens)
      return PPErroHResult(kPPErroArgumentoInvalido);
  }
  return S_OK;
}

// 2. The report's process (the first receiving one of its pointer) must be open; transit goes to
// the next receiving process, never to the order's last.
HRESULT CPPServidorOP::GravacaoRetorno::VerificaProcessos() {
  std::vector<PPDiscoProcesso> processos;
  if (HRESULT hr = PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::PR), ordem_.ulPrimeiroProcesso,
                                      ordem_.usQtdProcessos, processos))
    return hr;
  const auto recebe = [](const PPDiscoProcesso& processo) { return processo.cRecebeApontamento != 0; };
  const auto atual = std::find_if(processos.begin(), processos.end(), [&](const PPDiscoProcesso& processo) {
    return recebe(processo) && processo.lPonteiroProcesso == apontamento_.lPonteiroProcesso;
  });
  if (atual == processos.end() || !AbertoParaRetorno(atual->cSituacao)) return PPErroHResult(kPPErroSituacaoOP);
  const auto seguinte = std::find_if(atual + 1, processos.end(), recebe);
  if (GeraTransito() && seguinte != processos.end() && seguinte + 1 == processos.end())
    return PPErroHResult(kPPErroTransitoUltimoProcesso);
  return S_OK;
}

// 3. A receipt document goes to one return only; what comes back never exceeds what went out net
// of its scrap, and nothing comes back once the shipment is closed.
HRESULT CPPServidorOP::GravacaoRetorno::VerificaRetornos() {
  if (HRESULT hr = PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::RI), apontamento_.ulPrimeiroRetorno,
                                      apontamento_.usQtdRetornoIndustExt, retornos_))
    return hr;
  int64_t retornado = entrada_.vQuantidadeRetornada.int64;
  for (const PPDiscoRetorno& retorno : retornos_) {
    if (entrada_.lPonteiroRegistroEntrada && retorno.lPonteiroRegistroEntrada == entrada_.lPonteiroRegistroEntrada)
      return PPErroHResult(kPPErroEntradaJaVinculada);
    retornado += retorno.vQuantidadeRetornada.int64;
  }
  const int64_t enviado = apontamento_.vQuantidadeApontada.int64 - apontamento_.vQuantidadeRefugo.int64;
  if (retornado > enviado || apontamento_.cEncerramentoRemIndustrializacao)
    return PPErroHResult(kPPErroSaldoApontamento);
  return S_OK;
}

// 4. The return as the input gives it, with its texts; the dates default to now.
HRESULT CPPServidorOP::GravacaoRetorno::MontaRetorno() {
  PPDiscoRetorno& r = retorno_;
  r.vQuantidadeRetornada.int64 = entrada_.vQuantidadeRetornada.int64;
  r.vQuantidadeRefugo.int64 = entrada_.vQuantidadeRefugo.int64;
  r.lPonteiroRegistroEntrada = entrada_.lPonteiroRegistroEntrada;
  r.ulChaveRetornoNFPendente = entrada_.ulChaveRetornoNFPendente;
  r.lPonteiroMotivoRefugo = entrada_.lPonteiroMotivoRefugo;
  r.cPossuiRefugo = entrada_.cPossuiRefugo;
  r.cEncerramentoForcado = entrada_.cEncerramentoForcado;
  r.cGeraTransitoIndustrializacao = entrada_.cGeraTransitoIndustrializacao;
  r.cApontamentoAutomatico = entrada_.cApontamentoAutomatico;
  const uint16_t usHoje = QVGetDataAtual(false);
  const uint16_t usAgora = static_cast<uint16_t>(PPHoraAtualMinutos());
  if (entrada_.usDataGravacao) {
    r.usDataGravacao = entrada_.usDataGravacao;
    r.usHoraGravacao = entrada_.usHoraGravacao;
    r.usPonteiroUsuarioGravacao = entrada_.usPonteiroUsuarioGravacao;
  } else {
    r.usDataGravacao = usHoje;
    r.usHoraGravacao = usAgora;
    r.usPonteiroUsuarioGravacao = op_.m_usUsuario;
  }
  r.usDataRetorno = entrada_.usDataRetorno ? entrada_.usDataRetorno : usHoje;
  r.usHoraRetorno = entrada_.usDataRetorno ? entrada_.usHoraRetorno : usAgora;

  const CString caminho = Caminho(PPArquivoPeriodoOP::IE);
  if (HRESULT hr = PPCriaArquivoDyn(caminho)) return hr;
  const CString comentario = PPTextoCampo(entrada_.szComentario);
  const CString motivo = PPTextoCampo(entrada_.szMotivoEncerramentoForcado);
  // Through locals: the record's offsets (86 among them) are not aligned for the writer.
  uint32_t ulComentario = 0;
  uint32_t ulMotivo = 0;
  if (!comentario.IsEmpty()) {
    if (HRESULT hr = PPGravaTextoArquivoDyn(caminho, comentario, &ulComentario)) return hr;
  }
  if (!motivo.IsEmpty()) {
    if (HRESULT hr = PPGravaTextoArquivoDyn(caminho, motivo, &ulMotivo)) return hr;
  }
  r.ulTextoComentario = ulComentario;
  r.ulTextoMotivoEncerramentoForcado = ulMotivo;
  return S_OK;
}

// 4. The processors in transit, each after its orders, and the last-process reports; what the
// transit makes of them is filled in by the transit itself.
HRESULT CPPServidorOP::GravacaoRetorno::GravaTransito() {
  if (!GeraTransito()) return S_OK;
  std::vector<PPDiscoTransitoIndustrializador> industrializadores(entrada_.usQtdIndustrializadores);
  for (size_t i = 0; i < industrializadores.size(); ++i) {
    const _REG_PP_TRANSITO_INDUSTRIALIZADORESPS& origem = entrada_.pregIndustrializadores[i];
    std::vector<PPDiscoTransitoOP> ordens(origem.usQtdOP);
    for (size_t j = 0; j < ordens.size(); ++j) {
      ordens[j].vQuantidadeApontada.int64 = origem.pregOP[j].vQuantidadeApontada.int64;
      ordens[j].ulChaveOP = origem.pregOP[j].ulChaveOP;
      ordens[j].ulChaveApontamento = origem.pregOP[j].ulChaveApontamento;
      ordens[j].cReutilizarApontamento = origem.pregOP[j].cReutilizarApontamento;
    }
    PPDiscoTransitoIndustrializador& disco = industrializadores[i];
    if (HRESULT hr = PPAnexaRegistros(Caminho(PPArquivoPeriodoOP::IO), sizeof(PPDiscoTransitoOP),
                                      reinterpret_cast<const uint8_t*>(ordens.data()),
                                      static_cast<uint32_t>(ordens.size()), &disco.ulPrimeiraOP))
      return hr;
    disco.vQuantidadeEnviada.int64 = origem.vQuantidadeEnviada.int64;
    disco.vCustoUnitarioTerceirizacao.int64 = origem.vCustoUnitarioTerceirizacao.int64;
    disco.lPonteiroIndustrializador = origem.lPonteiroIndustrializador;
    disco.usQtdOP = origem.usQtdOP;
    disco.cIniciarNovaOP = origem.cIniciarNovaOP;
  }
  if (HRESULT hr = PPAnexaRegistros(Caminho(PPArquivoPeriodoOP::TI), sizeof(PPDiscoTransitoIndustrializador),
                                    reinterpret_cast<const uint8_t*>(industrializadores.data()),
                                    static_cast<uint32_t>(industrializadores.size()),
                                    &retorno_.ulPrimeiroIndustrializador))
    return hr;
  retorno_.usQtdIndustrializadores = entrada_.usQtdIndustrializadores;

  std::vector<PPDiscoApontamentoUltimoProcesso> ultimos(entrada_.usQtdApontUltProcesso);
  for (size_t i = 0; i < ultimos.size(); ++i) {
    ultimos[i].vQuantidade.int64 = entrada_.pregApontUltProcesso[i].vQuantidade.int64;
    ultimos[i].usIdxItemOP = entrada_.pregApontUltProcesso[i].usIdxItemOP;
  }
  if (HRESULT hr = PPAnexaRegistros(Caminho(PPArquivoPeriodoOP::UP), sizeof(PPDiscoApontamentoUltimoProcesso),
                                    reinterpret_cast<const uint8_t*>(ultimos.data()),
                                    static_cast<uint32_t>(ultimos.size()), &retorno_.ulPrimeiroApontUltProcesso))
    return hr;
  retorno_.usQtdApontUltProcesso = entrada_.usQtdApontUltProcesso;
  return S_OK;
}

// 5. State 0 until the return is linked to the report (9).
HRESULT CPPServidorOP::GravacaoRetorno::GravaNotaPendente() {
  if (entrada_.lPonteiroRegistroEntrada || entrada_.cApontamentoAutomatico) return S_OK;
  PPDiscoNotaRetorno nota{};
  nota.ulChaveApontamento = ChaveApontamento();
  nota.cStatus = kNFGravando;
  if (HRESULT hr = PPAnexaRegistros(Caminho(PPArquivoPeriodoOP::NF), sizeof nota,
                                    reinterpret_cast<const uint8_t*>(&nota), 1, &ulRegistroNF_))
    return hr;
  retorno_.ulChaveRetornoNFPendente = QVMontaChave(usMesAno_, ulRegistroNF_);
  return S_OK;
}

// 6.
HRESULT CPPServidorOP::GravacaoRetorno::GravaChavesImportadas() {
  if (HRESULT hr = op_.GravaChavesApontamentoImportado(usMesAno_, entrada_.usQtdChaveApontamentoImportado,
                                                       entrada_.plistaChaveApontamentoImportado,
                                                       &retorno_.ulPrimeiraChaveImportada))
    return hr;
  retorno_.usQtdChaveApontamentoImportado = entrada_.usQtdChaveApontamentoImportado;
  return S_OK;
}

// 7. Each run goes into the return as far as it was stored, also when it fails.
HRESULT CPPServidorOP::GravacaoRetorno::GravaMovimentos() {
  if (HRESULT hr = GravaMovimentosRetorno(); FAILED(hr)) return hr;
  return GravaRefugoRetorno();
}

HRESULT CPPServidorOP::GravacaoRetorno::GravaMovimentosRetorno() {
  return op_.GravaMovimentosApontamento(entrada_.usQtdMvtoEstoque, entrada_.pregMovimentos, usMesAno_, ChaveOP(),
                                        ulRegistro_, "Baixa ref. OP %s", &retorno_.ulPrimeiroMovimento,
                                        &retorno_.usQtdMvtoEstoque, 1);
}

HRESULT CPPServidorOP::GravacaoRetorno::GravaRefugoRetorno() {
  if (!entrada_.cPossuiRefugo) return S_OK;
  uint16_t usGravados = 0;
  return op_.GravaMovimentosApontamento(1, &entrada_.regMovimentoRefugo, usMesAno_, ChaveOP(), ulRegistro_,
                                        "Entrada de Refugo ref. OP %s", &retorno_.ulMovimentoRefugo, &usGravados, 1);
}

// 8. The stored returns and the new one appended as the report's new run before the report points
// at it; the report is read again, since the steps before may have rewritten the month's reports.
HRESULT CPPServidorOP::GravacaoRetorno::RegravaApontamento(uint32_t* pulPntrOut) {
  std::vector<PPDiscoRetorno> retornos = retornos_;
  retornos.push_back(retorno_);
  uint32_t ulPrimeiro = 0;
  if (HRESULT hr = PPAnexaRegistros(Caminho(PPArquivoPeriodoOP::RI), sizeof(PPDiscoRetorno),
                                    reinterpret_cast<const uint8_t*>(retornos.data()),
                                    static_cast<uint32_t>(retornos.size()), &ulPrimeiro))
    return hr;
  const CString caminho = Caminho(PPArquivoPeriodoOP::AP);
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroMesOP(caminho, ulRegistro_, &apontamento)) return hr;
  apontamento.ulPrimeiroRetorno = ulPrimeiro;
  apontamento.usQtdRetornoIndustExt = static_cast<uint16_t>(retornos.size());
  apontamento.cEncerramentoRemIndustrializacao = retorno_.cEncerramentoForcado;
  FimApontamentoPelosRetornos(retornos, apontamento);
  if (HRESULT hr = PPRegravaRegistroMesOP(caminho, ulRegistro_, apontamento)) return hr;
  apontamento_ = apontamento;
  *pulPntrOut = ulPrimeiro + static_cast<uint32_t>(retornos_.size());
  return S_OK;
}

// 9.
HRESULT CPPServidorOP::GravacaoRetorno::ConfirmaNotaPendente() {
  if (!ulRegistroNF_) return S_OK;
  const CString caminho = Caminho(PPArquivoPeriodoOP::NF);
  PPDiscoNotaRetorno nota;
  if (HRESULT hr = PPLeRegistroMesOP(caminho, ulRegistroNF_, &nota)) return hr;
  nota.cStatus = kNFPendente;
  return PPRegravaRegistroMesOP(caminho, ulRegistroNF_, nota);
}

// 10.
HRESULT CPPServidorOP::GravacaoRetorno::MarcaImportados() {
  return op_.MarcaApontamentosImportados(usMesAno_, retorno_.usQtdChaveApontamentoImportado,
                                         retorno_.ulPrimeiraChaveImportada, 0);
}

// 11.
HRESULT CPPServidorOP::GravacaoRetorno::AtualizaSituacao() {
  const HRESULT hr = op_.AtualizaSituacaoProcesso(ChaveOP(), apontamento_.lPonteiroProcesso, 0);
  return FAILED(hr) ? hr : S_OK;
}

// 12. A failed transit takes the return back, named by its receipt document and its invoice, inside
// the lock this operation holds.
HRESULT CPPServidorOP::GravacaoRetorno::ProcessaTransito(uint32_t* pulPntrOut) {
  if (!GeraTransito()) return S_OK;
  const HRESULT hr = op_.ProcessaTransitoRetorno(usMesAno_, ulRegistro_);
  if (SUCCEEDED(hr)) return S_OK;
  _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS remocao;
  std::memset(static_cast<void*>(&remocao), 0, sizeof remocao);
  remocao.ulChaveOP = ChaveOP();
  remocao.ulPonteiroApontamento = ulRegistro_;
  remocao.regRetorno.lPonteiroRegistroEntrada = retorno_.lPonteiroRegistroEntrada;
  remocao.regRetorno.ulChaveRetornoNFPendente = retorno_.ulChaveRetornoNFPendente;
  const HRESULT hrRemocao = op_.RemoveApontamentoRetornoIndustrializacao(remocao, 0);
  if (FAILED(hrRemocao)) return hrRemocao;
  *pulPntrOut = 0;
  return hr;
}

// 13.
void CPPServidorOP::GravacaoRetorno::GravaHistorico() {
  if (!op_.m_historico.EstaAberto()) return;
  op_.m_historico.GravaLinha(kPPHistoricoInclusao, "Retorno remessa industrialização: OP: %s - Apontamento: %s"_ansi,
                             static_cast<const char*>(QVChaveParaTexto(ChaveOP())),
                             static_cast<const char*>(QVChaveParaTexto(ChaveApontamento())));
}

// ---------------------------------------------------------------------------------------------------
// GravaApontamentoRetornoIndustrializacao

HRESULT CPPServidorOP::GravaApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg,
                                                               uint32_t* pulPntrOut, uint8_t cTravar) {
  // 1.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!pulPntrOut) return E_POINTER;
  *pulPntrOut = 0;
  if (!QVGetMesAnoDaChave(reg.ulChaveOP) || !QVGetNumeroDaChave(reg.ulChaveOP) || !reg.ulPonteiroApontamento)
    return PPErroHResult(kPPErroChaveAusente);
  if (HRESULT hr = VerificaListas(reg.regRetorno)) return hr;
  // An automatic return is never taken back by itself: one that made transit could not be removed
  // again when its transit fails.
  if (reg.regRetorno.cApontamentoAutomatico && reg.regRetorno.cGeraTransitoIndustrializacao)
    return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (cTravar) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  GravacaoRetorno gravacao(*this, reg);
  // 1. to 3.: nothing written yet.
  if (HRESULT hr = gravacao.LeApontamento()) return hr;
  if (HRESULT hr = gravacao.VerificaProcessos()) return hr;
  if (HRESULT hr = gravacao.VerificaRetornos()) return hr;
  // 4. to 7.
  if (HRESULT hr = gravacao.MontaRetorno()) return hr;
  if (HRESULT hr = gravacao.GravaTransito()) return hr;
  if (HRESULT hr = gravacao.GravaNotaPendente()) return hr;
  if (HRESULT hr = gravacao.GravaChavesImportadas()) return hr;
  const HRESULT hrMovimentos = gravacao.GravaMovimentos();
  // 8. also after a failed posting, so that what the inventory took stays reachable.
  if (HRESULT hr = gravacao.RegravaApontamento(pulPntrOut)) return FAILED(hrMovimentos) ? hrMovimentos : hr;
  if (FAILED(hrMovimentos)) return hrMovimentos;
  // 9. to 13.
  if (HRESULT hr = gravacao.ConfirmaNotaPendente()) return hr;
  if (HRESULT hr = gravacao.MarcaImportados()) return hr;
  if (HRESULT hr = gravacao.AtualizaSituacao()) return hr;
  if (HRESULT hr = gravacao.ProcessaTransito(pulPntrOut)) return hr;
  gravacao.GravaHistorico();
  return S_OK;
}

void CPPServidorOP::FimApontamentoPelosRetornos(const std::vector<PPDiscoRetorno>& retornos,
                                                PPDiscoApontamento& apontamento) {
  uint32_t fim = 0;
  for (const PPDiscoRetorno& retorno : retornos)
    fim = std::max(fim, static_cast<uint32_t>(retorno.usDataRetorno) << 16 | retorno.usHoraRetorno);
  apontamento.usDataApontamentoFim = static_cast<uint16_t>(fim >> 16);
  apontamento.usHoraApontamentoFim = static_cast<uint16_t>(fim);
}
