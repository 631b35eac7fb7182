// Returns from outsourced processing taken back: one return of a report removed with what it
// posted and the transit reports it made, and the returns of a report listed.
//
// A return is never erased: the report's list of returns (a run of PPRI) is appended anew without
// it and the report pointed at the new run, so that a removal broken off before the report is
// rewritten leaves the report with the whole old run. What the return posted is taken back before
// that, each posting marked as taken back as soon as it is (EstornaListaMovimentos), so that the
// removal started again gives nothing back twice; the transit reports that are already removed
// are passed over by their own removal. Nothing done is undone on a failure.
#include <cstring>
#include <vector>

#include "foundation/CQVArqMarca.h"
#include "foundation/QVChave.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"
#include "server/CPPArqEx.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/PPTextosStatus.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/op/CPPServidorOP.h"
#include "server/op/PPCodigosOP.h"
#include "server/op/PPRegistrosOP.h"
#include "server/op/PPSequenciaOP.h"

namespace {

using Arquivos = CPPArquivosOP;

constexpr uint8_t kNFLiberada = 255;  // PPNF byte 14: the invoice no longer waits for its return

// The caller names a return by its receipt document and its pending invoice.
bool RetornoNomeado(const PPDiscoRetorno& retorno, const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& nome) {
  return retorno.lPonteiroRegistroEntrada == nome.lPonteiroRegistroEntrada &&
         retorno.ulChaveRetornoNFPendente == nome.ulChaveRetornoNFPendente;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// One removal of a return: the report and its returns as read before anything is written.

class CPPServidorOP::RemocaoRetorno {
 public:
  RemocaoRetorno(CPPServidorOP& op, const _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS& reg)
      : op_(op),
        reg_(reg),
        usMesAno_(QVGetMesAnoDaChave(reg.ulChaveOP)),
        ulRegistro_(reg.ulPonteiroApontamento) {}

  HRESULT LeRetornos();
  HRESULT VerificaSaldo();
  HRESULT Estorna();
  HRESULT RegravaApontamento();
  HRESULT LiberaNF() { return op_.LiberaNFPendente(escolhido_.ulChaveRetornoNFPendente); }
  HRESULT AtualizaSituacao();
  void GravaHistorico();

 private:
  uint32_t ChaveOP() const { return QVMontaChave(usMesAno_, apontamento_.ulRegistroOP); }
  CString Caminho(PPArquivoPeriodoOP arquivo) const { return op_.CaminhoArquivo(arquivo, usMesAno_); }

  CPPServidorOP& op_;
  const _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS& reg_;
  const uint16_t usMesAno_;
  const uint32_t ulRegistro_;
  PPDiscoApontamento apontamento_{};
  PPDiscoRetorno escolhido_{};
  std::vector<PPDiscoRetorno> mantidos_;  // the other returns, in file order
};

// 2. A return that the report no longer lists was removed already: 1713 as for one marked removed.
HRESULT CPPServidorOP::RemocaoRetorno::LeRetornos() {
  if (HRESULT hr = PPLeRegistroMesOP(Caminho(PPArquivoPeriodoOP::AP), ulRegistro_, &apontamento_)) return hr;
  std::vector<PPDiscoRetorno> retornos;
  if (HRESULT hr = PPLeSequenciaMesOP(Caminho(PPArquivoPeriodoOP::RI), apontamento_.ulPrimeiroRetorno,
                                  apontamento_.usQtdRetornoIndustExt, retornos))
    return hr;
  bool bAchou = false;
  bool bForcado = false;
  for (const PPDiscoRetorno& retorno : retornos) {
    bForcado = bForcado || retorno.cEncerramentoForcado;
    if (bAchou || !RetornoNomeado(retorno, reg_.regRetorno)) {
      mantidos_.push_back(retorno);
      continue;
    }
    escolhido_ = retorno;
    bAchou = true;
  }
  // Byte 69 (cApontamentoAutomatico) counts as removed: an automatic return closes the transit
  // report that it was made for and goes only with that report.
  if (!bAchou || escolhido_.cApontamentoAutomatico) return PPErroHResult(kPPErroRetornoRemovido);
  if (bForcado && !escolhido_.cEncerramentoForcado) return PPErroHResult(kPPErroEncerramentoForcado);
  return S_OK;
}

// 3. What the next process reported must stay covered by what the report's process keeps.
HRESULT CPPServidorOP::RemocaoRetorno::VerificaSaldo() {
  if (escolhido_.cGeraTransitoIndustrializacao) return S_OK;
  _REG_VARMO_OP_APONTAMENTO reg;
  CopiaApontamento(apontamento_, usMesAno_, ulRegistro_, &reg);
  SaldoProcesso saldo;
  if (HRESULT hr = op_.CalculaSaldoProcesso(reg, &saldo)) return hr;
  return ConfereSaldoPosterior(saldo, apontamento_);
}

// 4.
HRESULT CPPServidorOP::RemocaoRetorno::Estorna() {
  if (HRESULT hr = op_.MarcaApontamentosImportados(usMesAno_, escolhido_.usQtdChaveApontamentoImportado,
                                                   escolhido_.ulPrimeiraChaveImportada, 1))
    return hr;
  if (escolhido_.cGeraTransitoIndustrializacao) {
    if (HRESULT hr = op_.EstornaTransitoRetorno(usMesAno_, ulRegistro_, escolhido_)) return hr;
  }
  return op_.EstornaMovimentosRetorno(usMesAno_, ChaveOP(), escolhido_);
}

// 5. The kept returns appended first: until the report is rewritten it keeps its whole old run.
HRESULT CPPServidorOP::RemocaoRetorno::RegravaApontamento() {
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(op_.m_strEmpresa, 0, 0)) return hr;
  arquivos.SetArquivos(Arquivos::kArqApontamento | Arquivos::kArqRetornoIndExterna);
  if (HRESULT hr = arquivos.SetModo(usMesAno_, 'G')) return hr;
  // Read again: the transit reports' removal may have rewritten the month's reports meanwhile.
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqApontamento, ulRegistro_, &apontamento)) return hr;
  uint32_t ulPrimeiro = 0;
  if (HRESULT hr = PPAnexaRegistros(arquivos.m_arqRetornoIndExterna, reinterpret_cast<const uint8_t*>(mantidos_.data()),
                                    static_cast<uint32_t>(mantidos_.size()), &ulPrimeiro))
    return hr;
  apontamento.ulPrimeiroRetorno = ulPrimeiro;
  apontamento.usQtdRetornoIndustExt = static_cast<uint16_t>(mantidos_.size());
  apontamento.cEncerramentoRemIndustrializacao = 0;
  FimApontamentoPelosRetornos(mantidos_, apontamento);
  uint32_t ulRegistro = ulRegistro_;
  if (int erro = arquivos.m_arqApontamento.Grava(&apontamento, &ulRegistro)) return PPErroHResultMotor(erro);
  apontamento_ = apontamento;
  return arquivos.Fecha();
}

// 7.
HRESULT CPPServidorOP::RemocaoRetorno::AtualizaSituacao() {
  if (HRESULT hr = op_.AtualizaSituacaoProcesso(ChaveOP(), apontamento_.lPonteiroProcesso, 0); FAILED(hr)) return hr;
  const HRESULT hr = op_.AtualizaReservasOP(ChaveOP());
  return FAILED(hr) ? hr : S_OK;
}

// 8.
void CPPServidorOP::RemocaoRetorno::GravaHistorico() {
  if (!op_.m_historico.EstaAberto()) return;
  op_.m_historico.GravaLinha(kPPHistoricoExclusao, "Retorno remessa industrialização: OP: %s - Apontamento: %s"_ansi,
                             static_cast<const char*>(QVChaveParaTexto(ChaveOP())),
                             static_cast<const char*>(QVChaveParaTexto(QVMontaChave(usMesAno_, ulRegistro_))));
}

// ---------------------------------------------------------------------------------------------------
// RemoveApontamentoRetornoIndustrializacao

HRESULT CPPServidorOP::RemoveApontamentoRetornoIndustrializacao(
    _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg, uint8_t bMarca) {
  // 1.
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  if (!QVGetMesAnoDaChave(reg.ulChaveOP) || !reg.ulPonteiroApontamento) return PPErroHResult(kPPErroChaveAusente);
  CQVArqMarca marca;
  if (bMarca) {
    if (int erro = marca.Marca(m_strDiretorio, kPPMarcaOP)) return PPErroHResultMotor(erro);
  }
  RemocaoRetorno remocao(*this, reg);
  // 2. and 3.: nothing written yet.
  if (HRESULT hr = remocao.LeRetornos()) return hr;
  if (HRESULT hr = remocao.VerificaSaldo()) return hr;
  // 4. to 8., the invoice freed before the report forgets the return: a removal broken off after
  // the rewrite cannot be run again (1713), and would leave the invoice waiting for good.
  if (HRESULT hr = remocao.Estorna()) return hr;
  if (HRESULT hr = remocao.LiberaNF()) return hr;
  if (HRESULT hr = remocao.RegravaApontamento()) return hr;
  if (HRESULT hr = remocao.AtualizaSituacao()) return hr;
  remocao.GravaHistorico();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// What a return posted and made

HRESULT CPPServidorOP::EstornaRetorno(uint16_t usMesAno, uint32_t ulChaveOP, const PPDiscoRetorno& retorno) {
  if (HRESULT hr = MarcaApontamentosImportados(usMesAno, retorno.usQtdChaveApontamentoImportado,
                                               retorno.ulPrimeiraChaveImportada, 1))
    return hr;
  return EstornaMovimentosRetorno(usMesAno, ulChaveOP, retorno);
}

HRESULT CPPServidorOP::EstornaMovimentosRetorno(uint16_t usMesAno, uint32_t ulChaveOP, const PPDiscoRetorno& retorno) {
  if (retorno.usQtdMvtoEstoque) {
    if (HRESULT hr = EstornaListaMovimentos(usMesAno, ulChaveOP, retorno.ulPrimeiroMovimento, retorno.usQtdMvtoEstoque))
      return hr;
  }
  if (!retorno.cPossuiRefugo || !retorno.ulMovimentoRefugo) return S_OK;
  return EstornaListaMovimentos(usMesAno, ulChaveOP, retorno.ulMovimentoRefugo, 1);
}

HRESULT CPPServidorOP::LiberaNFPendente(uint32_t ulChaveNF) {
  if (static_cast<int32_t>(ulChaveNF) <= 0) return S_OK;
  if (!PPChaveCompleta(ulChaveNF)) return PPErroHResult(kPPErroChaveAusente);
  CPPArqEx arquivo;
  const CString caminho = CaminhoArquivo(PPArquivoPeriodoOP::NF, QVGetMesAnoDaChave(ulChaveNF));
  if (int erro = arquivo.Abre(caminho, 'G', sizeof(PPDiscoNotaRetorno), false, true)) return PPErroHResultMotor(erro);
  uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveNF);
  PPDiscoNotaRetorno nota;
  if (HRESULT hr = PPLeRegistroOP(arquivo, ulRegistro, &nota)) return hr;
  nota.cStatus = kNFLiberada;
  return PPErroHResultMotor(arquivo.Grava(&nota, &ulRegistro));
}

// Every list is read before the first removal, which rewrites the month's reports under the
// lists' readers otherwise.
HRESULT CPPServidorOP::EstornaTransitoRetorno(uint16_t usMesAno, uint32_t ulRegistroApontamento,
                                              const PPDiscoRetorno& retorno) {
  const uint32_t ulChaveApontamento = QVMontaChave(usMesAno, ulRegistroApontamento);
  // Per processor: its orders' reports (key, reused or not), then the reports made for it.
  struct Remocao {
    uint32_t ulChave;
    bool bReutilizado;
  };
  std::vector<Remocao> remocoes;
  std::vector<PPDiscoTransitoIndustrializador> industrializadores;
  if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::TI, usMesAno), retorno.ulPrimeiroIndustrializador,
                                  retorno.usQtdIndustrializadores, industrializadores))
    return hr;
  for (const PPDiscoTransitoIndustrializador& industrializador : industrializadores) {
    std::vector<PPDiscoTransitoOP> ordens;
    if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::IO, usMesAno), industrializador.ulPrimeiraOP,
                                    industrializador.usQtdOP, ordens))
      return hr;
    for (const PPDiscoTransitoOP& ordem : ordens) {
      if (ordem.ulChaveApontamento) remocoes.push_back({ordem.ulChaveApontamento, ordem.cReutilizarApontamento != 0});
    }
    std::vector<PPDiscoChaveImportada> gerados;
    if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::TA, usMesAno),
                                    industrializador.ulRegistroChaveGerada, industrializador.usQtdApontamentosGerados,
                                    gerados))
      return hr;
    for (const PPDiscoChaveImportada& gerado : gerados) remocoes.push_back({gerado.ulChaveApontamento, false});
  }
  std::vector<PPDiscoApontamentoUltimoProcesso> ultimos;
  if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::UP, usMesAno), retorno.ulPrimeiroApontUltProcesso,
                                  retorno.usQtdApontUltProcesso, ultimos))
    return hr;
  for (const PPDiscoApontamentoUltimoProcesso& ultimo : ultimos) {
    if (ultimo.ulRegistroApontamento) remocoes.push_back({QVMontaChave(usMesAno, ultimo.ulRegistroApontamento), false});
  }
  std::vector<PPDiscoChaveImportada> gerados;
  if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::TA, usMesAno), retorno.ulPrimeiraChaveGerada,
                                  retorno.usQtdChaveGerada, gerados))
    return hr;
  for (const PPDiscoChaveImportada& gerado : gerados) remocoes.push_back({gerado.ulChaveApontamento, false});

  for (const Remocao& remocao : remocoes) {
    const HRESULT hr = remocao.bReutilizado ? DesvinculaApontamento(remocao.ulChave, ulChaveApontamento)
                                            : RemoveApontamento(remocao.ulChave, 0);
    if (hr) return hr;
  }
  return S_OK;
}

// The linked list is appended anew before the report points at it, as every list of the month.
HRESULT CPPServidorOP::DesvinculaApontamento(uint32_t ulChaveReutilizado, uint32_t ulChaveApontamento) {
  if (!PPChaveCompleta(ulChaveReutilizado)) return PPErroHResult(kPPErroChaveAusente);
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChaveReutilizado);
  uint32_t ulRegistro = QVGetNumeroDaChave(ulChaveReutilizado);
  Arquivos arquivos;
  if (HRESULT hr = arquivos.Inicializa(m_strEmpresa, 0, 0)) return hr;
  if (!arquivos.Existe(Arquivos::kArqApontamento, usMesAno)) return PPErroHResult(kQVErroFimArquivo);
  arquivos.SetArquivos(Arquivos::kArqApontamento | Arquivos::kArqTA);
  if (HRESULT hr = arquivos.SetModo(usMesAno, 'G')) return hr;
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroOP(arquivos.m_arqApontamento, ulRegistro, &apontamento)) return hr;
  std::vector<PPDiscoChaveImportada> vinculados;
  if (HRESULT hr = PPLeSequenciaOP(arquivos.m_arqTA, apontamento.ulPrimeiraChaveVinculada,
                                   apontamento.usQtdChaveVinculada, vinculados))
    return hr;
  std::erase_if(vinculados, [&](const PPDiscoChaveImportada& chave) { return chave.ulChaveApontamento == ulChaveApontamento; });
  uint32_t ulPrimeiro = 0;
  const auto usQtd = static_cast<uint16_t>(vinculados.size());
  if (HRESULT hr = PPAnexaRegistros(arquivos.m_arqTA, reinterpret_cast<const uint8_t*>(vinculados.data()), usQtd,
                                    &ulPrimeiro))
    return hr;
  apontamento.ulPrimeiraChaveVinculada = ulPrimeiro;
  apontamento.usQtdChaveVinculada = usQtd;
  if (int erro = arquivos.m_arqApontamento.Grava(&apontamento, &ulRegistro)) return PPErroHResultMotor(erro);
  return arquivos.Fecha();
}

// ---------------------------------------------------------------------------------------------------
// LeRetornosIndustExterna

HRESULT CPPServidorOP::LeRetornosIndustExterna(uint32_t ulChave, _REG_VARMO_LISTA_RETORNO_IND_EXTPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  *pRegPS = {};
  if (!PPChaveCompleta(ulChave)) return PPErroHResult(kPPErroChaveAusente);
  const uint16_t usMesAno = QVGetMesAnoDaChave(ulChave);
  PPDiscoApontamento apontamento;
  if (HRESULT hr = PPLeRegistroMesOP(CaminhoArquivo(PPArquivoPeriodoOP::AP, usMesAno), QVGetNumeroDaChave(ulChave),
                                 &apontamento))
    return hr;
  std::vector<PPDiscoRetorno> retornos;
  if (HRESULT hr = PPLeSequenciaMesOP(CaminhoArquivo(PPArquivoPeriodoOP::RI, usMesAno), apontamento.ulPrimeiroRetorno,
                                  apontamento.usQtdRetornoIndustExt, retornos))
    return hr;
  if (retornos.empty()) return S_OK;
  // The count goes out only with its array: a caller that frees by the count never meets null.
  const size_t tamanho = retornos.size() * sizeof(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS);
  auto* lista = static_cast<_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS*>(CoTaskMemAlloc(tamanho));
  if (!lista) return E_OUTOFMEMORY;
  std::memset(static_cast<void*>(lista), 0, tamanho);
  for (size_t i = 0; i < retornos.size(); ++i) {
    const PPDiscoRetorno& retorno = retornos[i];
    _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& item = lista[i];
    item.vQuantidadeRetornada.int64 = retorno.vQuantidadeRetornada.int64;
    item.lPonteiroRegistroEntrada = retorno.lPonteiroRegistroEntrada;
    item.ulChaveRetornoNFPendente = retorno.ulChaveRetornoNFPendente;
    item.usDataRetorno = retorno.usDataRetorno;
    item.usHoraRetorno = retorno.usHoraRetorno;
    item.usDataGravacao = retorno.usDataGravacao;
    item.usHoraGravacao = retorno.usHoraGravacao;
    item.usPonteiroUsuarioGravacao = retorno.usPonteiroUsuarioGravacao;
    item.usQtdMvtoEstoque = retorno.usQtdMvtoEstoque;
  }
  pRegPS->lQuantidade = static_cast<int32_t>(retornos.size());
  pRegPS->pRegRetornos = lista;
  return S_OK;
}
