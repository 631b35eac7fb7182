// Pending invoices of returns from outsourced processing, and pending production entries.
//
// A return recorded without the receipt document of the processor's invoice leaves a pending
// invoice (PPNF, state 1) that its returns name by key. The list of them reads without the order
// lock; the link and the posting of a pending entry write under it.
//
// A link reads everything it will write before the first write, then rewrites the returns and the
// invoice last: a link broken off halfway leaves the invoice pending, and running it again finishes
// it, since the returns already linked carry the very document that the check of a document used
// twice lets through for them.
#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "foundation/QVRelogio.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPDatas.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;
using EntradaNFPendente = _REG_PP_APONTAMENTO_RETORNO_NF_PENDENTEPS;

constexpr uint8_t kNFPendente = 1;   // PPNF byte 14
constexpr uint8_t kNFVinculada = 2;

// A report by its key, read-only; 1591 for a key without month or record.
HRESULT LeApontamentoPorChave(const CPPServidorOP& op, uint32_t ulChave, PPDiscoApontamento* pApontamento) {
  if (!PPChaveCompleta(ulChave)) return PPErroHResult(kPPErroChaveAusente);
  return PPLeRegistroMesOP(op.CaminhoArquivo(PPArquivoPeriodoOP::AP, QVGetMesAnoDaChave(ulChave)),
                           QVGetNumeroDaChave(ulChave), pApontamento);
}

HRESULT LeRetornosPorApontamento(const CPPServidorOP& op, uint16_t usMesAno, const PPDiscoApontamento& apontamento,
                   std::vector<PPDiscoRetorno>& retornos) {
  return PPLeSequenciaMesOP(op.CaminhoArquivo(PPArquivoPeriodoOP::RI, usMesAno), apontamento.ulPrimeiroRetorno,
                            apontamento.usQtdRetornoIndustExt, retornos);
}

// One entry per return of the invoice's report that names the invoice.
HRESULT ListaNotaPendente(const CPPServidorOP& op, uint32_t ulChaveNF, const PPDiscoNotaRetorno& nota,
                          std::vector<EntradaNFPendente>& lista) {
  PPDiscoApontamento apontamento;
  if (HRESULT hr = LeApontamentoPorChave(op, nota.ulChaveApontamento, &apontamento)) return hr;
  const uint16_t usMesAno = QVGetMesAnoDaChave(nota.ulChaveApontamento);
  PPDiscoOP ordem;
  if (HRESULT hr = PPLeRegistroMesOP(op.CaminhoArquivo(PPArquivoPeriodoOP::OP, usMesAno), apontamento.ulRegistroOP,
                                     &ordem))
    return hr;
  std::vector<PPDiscoRetorno> retornos;
  if (HRESULT hr = LeRetornosPorApontamento(op, usMesAno, apontamento, retornos)) return hr;
  for (const PPDiscoRetorno& retorno : retornos) {
    if (retorno.ulChaveRetornoNFPendente != ulChaveNF) continue;
    EntradaNFPendente entrada;
    std::memset(&entrada, 0, sizeof entrada);
    entrada.vQuantidadeRetornada.int64 = retorno.vQuantidadeRetornada.int64;
    entrada.ulChaveRetornoNFPendente = ulChaveNF;
    entrada.ulChaveApontamento = nota.ulChaveApontamento;
    entrada.ulChaveNotaFiscalSaida = apontamento.lPonteiroNotaFiscalSaida;
    entrada.ulChaveOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
    if (apontamento.ulRegistroRemessa)
      entrada.ulChaveRemessaIndustrializacao = QVMontaChave(usMesAno, apontamento.ulRegistroRemessa);
    entrada.lPonteiroProcesso = apontamento.lPonteiroProcesso;
    entrada.lPonteiroIndustrializador = apontamento.lPonteiroIndustrializador;
    entrada.regPosicaoProdutoServico.lPonteiroProduto = ordem.lPonteiroProduto;
    entrada.regPosicaoProdutoServico.iPonteiroItemGrade1 = ordem.iPonteiroItemGrade1;
    entrada.regPosicaoProdutoServico.iPonteiroItemGrade2 = ordem.iPonteiroItemGrade2;
    entrada.regPosicaoProdutoServico.iPonteiroItemGrade3 = ordem.iPonteiroItemGrade3;
    entrada.cTipoProdutoServico = ordem.cTipoProdutoServico;
    entrada.usDataRetorno = retorno.usDataRetorno;
    entrada.usHoraRetorno = retorno.usHoraRetorno;
    entrada.usDataGravacao = retorno.usDataGravacao;
    entrada.usHoraGravacao = retorno.usHoraGravacao;
    lista.push_back(entrada);
  }
  return S_OK;
}

// The pending invoices of the month open in arquivos (PPNF alone), in record order. Only they are
// opened through the set: the other files are read by path, so that a month whose invoices are all
// settled is read without making the files it lacks.
HRESULT ListaNotasPendentesMes(const CPPServidorOP& op, Arquivos& arquivos, uint16_t usMesAno,
                               std::vector<EntradaNFPendente>& lista) {
  const int32_t quantidade = arquivos.m_arqNotaFiscal.GetQuantidadeRegistros();
  if (quantidade < 0) return PPErroHResult(kQVErroArquivo);
  return PPPercorreSequenciaOP<PPDiscoNotaRetorno>(
      arquivos.m_arqNotaFiscal, 1, static_cast<uint32_t>(quantidade),
      [&](uint32_t i, const PPDiscoNotaRetorno& nota) {
        if (nota.cStatus != kNFPendente) return S_OK;
        return ListaNotaPendente(op, QVMontaChave(usMesAno, i + 1), nota, lista);
      });
}

// Whether a movement of the run reached the stock; a run that cannot be read counts as reached, so
// that the report keeps listing what may be in stock.
bool AlgumLancado(const CPPServidorOP& op, uint16_t usMesAno, uint32_t ulPrimeiro, uint16_t usQtd) {
  std::vector<PPDiscoMovimento> movimentos;
  if (FAILED(PPLeSequenciaMesOP(op.CaminhoArquivo(PPArquivoPeriodoOP::ME, usMesAno), ulPrimeiro, usQtd, movimentos)))
    return true;
  return std::any_of(movimentos.begin(), movimentos.end(),
                     [](const PPDiscoMovimento& movimento) { return movimento.cLancado != 0; });
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// BuscaListaRetornoNFPendente

HRESULT CPPServidorOP::BuscaListaRetornoNFPendente(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqNotaFiscal);
  std::vector<EntradaNFPendente> lista;
  const uint16_t usUltimo = QVDataParaMesAno(m_regMestre.usDataSuperiorPeriodo);
  for (uint32_t mes = QVDataParaMesAno(m_regMestre.usDataInferiorPeriodo); mes <= usUltimo; ++mes) {
    const auto usMesAno = static_cast<uint16_t>(mes);
    if (!arquivos.Existe(Arquivos::kArqNotaFiscal, usMesAno)) continue;
    if (HRESULT hr = arquivos.SetModo(usMesAno, 'L')) return hr;
    if (HRESULT hr = ListaNotasPendentesMes(*this, arquivos, usMesAno, lista)) return hr;
  }
  if (lista.empty()) return S_OK;
  const size_t tamanho = lista.size() * sizeof(EntradaNFPendente);
  auto* array = static_cast<EntradaNFPendente*>(CoTaskMemAlloc(tamanho));
  if (!array) return E_OUTOFMEMORY;
  std::memcpy(static_cast<void*>(array), lista.data(), tamanho);
  pRegPS->ulQuantidade = static_cast<uint32_t>(lista.size());
  pRegPS->pregRetornoPendente = array;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// One link of a pending invoice to its receipt document.

class CPPServidorOP::VinculoNFRetorno {
 public:
  VinculoNFRetorno(CPPServidorOP& op, const _REG_PP_VINCULO_RETORNO_NF_PENDENTEPS& reg) : op_(op), reg_(reg) {}

  HRESULT LeNota();
  HRESULT LeRetornoAlvo();
  HRESULT LeRetornosGerados();
  HRESULT Vincula();
  void GravaHistorico();

 private:
  // A return to rewrite, where it lies.
  struct RetornoVinculado {
    uint16_t usMesAno;
    uint32_t ulRegistro;
    PPDiscoRetorno retorno;
  };

  void AcrescentaVinculado(uint16_t usMesAno, uint32_t ulRegistro, PPDiscoRetorno retorno);

  CPPServidorOP& op_;
  const _REG_PP_VINCULO_RETORNO_NF_PENDENTEPS& reg_;
  PPDiscoNotaRetorno nota_{};
  PPDiscoApontamento apontamento_{};
  std::vector<RetornoVinculado> vinculados_;  // the target first
};

void CPPServidorOP::VinculoNFRetorno::AcrescentaVinculado(uint16_t usMesAno, uint32_t ulRegistro,
                                                          PPDiscoRetorno retorno) {
  retorno.lPonteiroRegistroEntrada = reg_.ulChaveRegistroEntrada;
  vinculados_.push_back({usMesAno, ulRegistro, retorno});
}

HRESULT CPPServidorOP::VinculoNFRetorno::LeNota() {
  const uint32_t ulChave = reg_.ulChaveRetornoNFPendente;
  if (HRESULT hr = PPLeRegistroMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::NF, QVGetMesAnoDaChave(ulChave)),
                                     QVGetNumeroDaChave(ulChave), &nota_))
    return hr;
  return nota_.cStatus == kNFPendente ? S_OK : PPErroHResult(kPPErroSituacaoOP);
}

HRESULT CPPServidorOP::VinculoNFRetorno::LeRetornoAlvo() {
  if (HRESULT hr = LeApontamentoPorChave(op_, nota_.ulChaveApontamento, &apontamento_)) return hr;
  if (apontamento_.cExcluido) return PPErroHResult(kPPErroRegistroRemovido);
  const uint16_t usMesAno = QVGetMesAnoDaChave(nota_.ulChaveApontamento);
  std::vector<PPDiscoRetorno> retornos;
  if (HRESULT hr = LeRetornosPorApontamento(op_, usMesAno, apontamento_, retornos)) return hr;
  const PPDiscoRetorno* alvo = nullptr;
  uint32_t ulRegistro = 0;
  for (size_t i = 0; i < retornos.size(); ++i) {
    const PPDiscoRetorno& retorno = retornos[i];
    if (!alvo && retorno.ulChaveRetornoNFPendente == reg_.ulChaveRetornoNFPendente) {
      alvo = &retorno;
      ulRegistro = apontamento_.ulPrimeiroRetorno + static_cast<uint32_t>(i);
    } else if (retorno.lPonteiroRegistroEntrada == reg_.ulChaveRegistroEntrada) {
      return PPErroHResult(kPPErroEntradaJaVinculada);
    }
  }
  if (!alvo) return PPErroHResult(kPPErroRegistroRemovido);
  AcrescentaVinculado(usMesAno, ulRegistro, *alvo);
  return S_OK;
}

// The reports that the target's transit made carry automatic returns of the same invoice: they take
// its document too. A report removed since then is passed over.
HRESULT CPPServidorOP::VinculoNFRetorno::LeRetornosGerados() {
  const PPDiscoRetorno alvo = vinculados_.front().retorno;
  if (!alvo.cGeraTransitoIndustrializacao) return S_OK;
  std::vector<PPDiscoChaveImportada> gerados;
  if (HRESULT hr = PPLeSequenciaMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::TA, vinculados_.front().usMesAno),
                                      alvo.ulPrimeiraChaveGerada, alvo.usQtdChaveGerada, gerados))
    return hr;
  for (const PPDiscoChaveImportada& gerado : gerados) {
    PPDiscoApontamento apontamento;
    if (HRESULT hr = LeApontamentoPorChave(op_, gerado.ulChaveApontamento, &apontamento)) return hr;
    if (apontamento.cExcluido) continue;
    const uint16_t usMesAno = QVGetMesAnoDaChave(gerado.ulChaveApontamento);
    std::vector<PPDiscoRetorno> retornos;
    if (HRESULT hr = LeRetornosPorApontamento(op_, usMesAno, apontamento, retornos)) return hr;
    for (size_t i = 0; i < retornos.size(); ++i) {
      if (retornos[i].ulChaveRetornoNFPendente != reg_.ulChaveRetornoNFPendente) continue;
      AcrescentaVinculado(usMesAno, apontamento.ulPrimeiroRetorno + static_cast<uint32_t>(i), retornos[i]);
    }
  }
  return S_OK;
}

HRESULT CPPServidorOP::VinculoNFRetorno::Vincula() {
  for (const RetornoVinculado& vinculado : vinculados_) {
    if (HRESULT hr = PPRegravaRegistroMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::RI, vinculado.usMesAno),
                                            vinculado.ulRegistro, vinculado.retorno))
      return hr;
  }
  nota_.ulChaveRegistroEntrada = reg_.ulChaveRegistroEntrada;
  nota_.usPonteiroUsuarioVinculo = op_.m_usUsuario;
  nota_.usDataVinculo = QVGetDataAtual(false);
  nota_.usHoraVinculo = static_cast<uint16_t>(PPHoraAtualMinutos());
  nota_.cStatus = kNFVinculada;
  const uint32_t ulChave = reg_.ulChaveRetornoNFPendente;
  return PPRegravaRegistroMesOP(op_.CaminhoArquivo(PPArquivoPeriodoOP::NF, QVGetMesAnoDaChave(ulChave)),
                                QVGetNumeroDaChave(ulChave), nota_);
}

void CPPServidorOP::VinculoNFRetorno::GravaHistorico() {
  if (!op_.m_historico.EstaAberto()) return;
  const uint32_t ulChaveOP = QVMontaChave(QVGetMesAnoDaChave(nota_.ulChaveApontamento), apontamento_.ulRegistroOP);
  op_.m_historico.GravaLinha(kPPHistoricoInclusao, "Vincular NF retorno pendente - OP: %s - Apontamento: %s - RE: %s",
                             static_cast<const char*>(QVChaveParaTexto(ulChaveOP)),
                             static_cast<const char*>(QVChaveParaTexto(nota_.ulChaveApontamento)),
                             static_cast<const char*>(QVChaveParaTexto(reg_.ulChaveRegistroEntrada)));
}

// ---------------------------------------------------------------------------------------------------
// VincularNFRetorno

HRESULT CPPServidorOP::VincularNFRetorno(_REG_PP_VINCULO_RETORNO_NF_PENDENTEPS reg) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!PPChaveCompleta(reg.ulChaveRetornoNFPendente) || !reg.ulChaveRegistroEntrada)
    return PPErroHResult(kPPErroChaveAusente);
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  VinculoNFRetorno vinculo(*this, reg);
  if (HRESULT hr = vinculo.LeNota()) return hr;
  if (HRESULT hr = vinculo.LeRetornoAlvo()) return hr;
  if (HRESULT hr = vinculo.LeRetornosGerados()) return hr;
  if (HRESULT hr = vinculo.Vincula()) return hr;
  vinculo.GravaHistorico();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// GravaEntradasPendentes

// The entries go to the report's own order, whatever order key the caller sent with them. A posting
// of which no movement reached the stock leaves the report as it was, still pending, so that it can
// be posted again (the refused run stays in PPME unreferenced). Once one movement is in stock the
// report lists the new run and is no longer pending, the refused movements stored unposted, as a
// report's own postings leave them; posting it again would double what is in stock.
HRESULT CPPServidorOP::GravaEntradasPendentes(_REG_VARMO_OP_APONTAMENTO reg, CPPArquivosOP* arquivos) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  const uint32_t ulChave = reg.lPonteiroApontamento;
  if (!PPChaveCompleta(ulChave)) return PPErroHResult(kPPErroChaveAusente);
  if (HRESULT hr = PPVerificaLista(reg.usQtdMvtoEntrada, reg.pregMvtoEntrada)) return hr;
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  Arquivos proprios;
  if (!arquivos) {
    if (HRESULT hr = proprios.Inicializa(m_strEmpresa, 0, 0)) return hr;
    proprios.SetArquivos(Arquivos::kArqApontamento);
    arquivos = &proprios;
  }
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
  const uint32_t ulRegistro = QVGetNumeroDaChave(ulChave);
  // A month without reports has no such report: opening for writing would make the file.
  if (!arquivos->Existe(Arquivos::kArqApontamento, usMesAno)) return PPErroHResult(kQVErroFimArquivo);
  if (HRESULT hr = arquivos->SetModo(usMesAno, 'G')) return hr;
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroOP(arquivos->m_arqApontamento, ulRegistro, &apontamento)) return hr;
  if (apontamento.cExcluido) return PPErroHResult(kPPErroRegistroRemovido);
  if (!apontamento.cPossuiEntradaPendente) return PPErroHResult(kPPErroSituacaoOP);

  apontamento.usQtdMvtoEntrada = reg.usQtdMvtoEntrada;
  apontamento.ulPrimeiraEntrada = 0;
  apontamento.cPossuiEntradaPendente = 0;
  reg.lPonteiroOP = QVMontaChave(usMesAno, apontamento.ulRegistroOP);
  const HRESULT hrPostagem = GravaEntradasApontamento(ulRegistro, apontamento, reg);
  if (FAILED(hrPostagem) &&
      !AlgumLancado(*this, usMesAno, apontamento.ulPrimeiraEntrada, apontamento.usQtdMvtoEntrada))
    return hrPostagem;
  if (HRESULT hr = PPRegravaRegistroOP(arquivos->m_arqApontamento, ulRegistro, apontamento)) return hr;
  if (m_historico.EstaAberto()) {
    m_historico.GravaLinha(kPPHistoricoInclusao, "Entrada pendente da produção - OP: %s - Apontamento: %s"_ansi,
                           static_cast<const char*>(QVChaveParaTexto(reg.lPonteiroOP)),
                           static_cast<const char*>(QVChaveParaTexto(ulChave)));
  }
  return hrPostagem;
}
