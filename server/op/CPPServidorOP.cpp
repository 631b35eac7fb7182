#include "server/op/CPPServidorOP.h"

#include <iterator>

#include "platform/com/taskmem.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPTextosStatus.h"

namespace {

// The prefix of each period file that single operations open, in the order of PPArquivoPeriodoOP.
using PPPrefixo = CString (*)();
constexpr PPPrefixo kPrefixos[] = {
    CPPNomesArquivos::PrefixoOP,          CPPNomesArquivos::PrefixoOPProcesso,
    CPPNomesArquivos::PrefixoOPInsumo,    CPPNomesArquivos::PrefixoOPRP,
    CPPNomesArquivos::PrefixoApontamento, CPPNomesArquivos::PrefixoOPAS,
    CPPNomesArquivos::PrefixoApontamentoRecurso, CPPNomesArquivos::PrefixoRetornoIndExterna,
    CPPNomesArquivos::PrefixoMovtoApontamento,   CPPNomesArquivos::PrefixoLoteMovimento,
    CPPNomesArquivos::PrefixoOPItem,      CPPNomesArquivos::PrefixoNecessidade,
    CPPNomesArquivos::PrefixoOPIE,        CPPNomesArquivos::PrefixoRemessaIndustrializacao,
    CPPNomesArquivos::PrefixoOPIR,        CPPNomesArquivos::PrefixoOPID,
    CPPNomesArquivos::PrefixoProcessoEtiqueta,   CPPNomesArquivos::PrefixoEtiquetaEmitida,
    CPPNomesArquivos::PrefixoOPTI,        CPPNomesArquivos::PrefixoOPIO,
    CPPNomesArquivos::PrefixoOPUP,        CPPNomesArquivos::PrefixoOPTA,
    CPPNomesArquivos::PrefixoNotaFiscal,
};
static_assert(std::size(kPrefixos) == static_cast<size_t>(PPArquivoPeriodoOP::NF) + 1);

}  // namespace

CPPServidorOP::~CPPServidorOP() { Finaliza(); }

HRESULT CPPServidorOP::Inicializa(_REG_VARMO_INICIALIZAPS RegPS) {
  if (m_cInicializado) Finaliza();
  if (HRESULT hr = InicializaSessao(RegPS)) return hr;
  if (HRESULT hr = m_mestre.Inicializa(RegPS); FAILED(hr)) return hr;
  m_regMestre = _REG_VARMO_MESTRE{};
  if (HRESULT hr = m_mestre.Le(&m_regMestre); FAILED(hr)) return hr;
  if (RegPS.cInicializarCompleto) {
    if (HRESULT hr = InicializaCompleto(RegPS); FAILED(hr)) return hr;
  }
  if (HRESULT hr = m_historico.Abre(m_strEmpresa, m_usUsuario, m_lSessao); FAILED(hr)) return hr;
  m_buffer.Inicializa(m_strEmpresa, m_usUsuario, m_lSessao);
  m_cInicializado = 1;
  return S_OK;
}

// The order-type and production-operation handlers, built inside this one (no version check, no
// history of their own), and the order types that the session's user may use.
HRESULT CPPServidorOP::InicializaCompleto(const _REG_VARMO_INICIALIZAPS& regPS) {
  if (HRESULT hr = m_tipoOP.Inicializa(regPS, 0); FAILED(hr)) return hr;
  _REG_VARMO_FILTROPS filtro{};
  filtro.usPonteiroUsuarioTipoOP = m_usUsuario;
  if (HRESULT hr = m_tipoOP.SetFiltro(filtro); FAILED(hr)) return hr;
  _REG_VARMO_PONTEIROSPS permitidos{};
  if (HRESULT hr = m_tipoOP.BuscaPonteiros(&permitidos); FAILED(hr)) return hr;
  m_tiposOPPermitidos.assign(permitidos.plPonteiro, permitidos.plPonteiro + permitidos.lQtd);
  CoTaskMemFree(permitidos.plPonteiro);
  return m_operacaoProducao.Inicializa(regPS, 0);
}

HRESULT CPPServidorOP::Finaliza() {
  m_cTrabalho1 = 0;
  m_cTrabalho2 = 0;
  CPPServidorOPUso::Finaliza();
  m_tipoOP.Finaliza();
  m_operacaoProducao.Finaliza();
  m_mestre.Finaliza();
  m_regMestre = _REG_VARMO_MESTRE{};
  m_pedido.Release();
  m_movimento.Release();
  m_mensagem.Release();
  m_filial.Release();
  m_fornecedor.Finaliza();
  m_regFiltro = _REG_VARMO_FILTROPS{};
  m_regFiltroApontamento = _REG_VARMO_FILTRO_APONTAMENTOPS{};
  m_tiposOPPermitidos.clear();
  m_preSelecao.clear();
  m_chavesReplicacao.clear();
  m_historico.Fecha();
  m_buffer.Finaliza();
  return S_OK;
}

HRESULT CPPServidorOP::SetFiltro(_REG_VARMO_FILTROPS RegPS) {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  m_regFiltro = RegPS;
  return S_OK;
}

HRESULT CPPServidorOP::LimpaFiltro() {
  if (!m_cInicializado) return PPErroHResult(kPPErroNaoInicializado);
  m_regFiltro = _REG_VARMO_FILTROPS{};
  m_preSelecao.clear();
  return S_OK;
}

CString CPPServidorOP::CaminhoArquivo(PPArquivoPeriodoOP arquivo, uint16_t usMesAno) const {
  const CString prefixo = kPrefixos[static_cast<size_t>(arquivo)]();
  return CPPNomesArquivos::MontaCaminhoArquivoPeriodo(m_strEmpresa, prefixo, usMesAno);
}
