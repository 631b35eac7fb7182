#include "server/CPPHistorico.h"

#include <cstdarg>
#include <cstring>

#include "foundation/CQVArqEx.h"
#include "foundation/CQVException.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVCom.h"
#include "foundation/QVHistorico.h"
#include "foundation/QVRelogio.h"
#include "server/PPDatas.h"

namespace {

// In-process server or handler, or local server; retry while unavailable, report to the event log.
constexpr DWORD kContextoServico = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
constexpr DWORD kFlagsServico = kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel;

}  // namespace

CPPHistorico::~CPPHistorico() { Fecha(); }

HRESULT CPPHistorico::Abre(const CString& empresa, uint16_t usuario, int32_t sessao) {
  // Whatever the client holds goes first: an own session of an earlier Abre is closed at the
  // service before the new values replace its handle, and the old interface is released.
  Fecha();
  m_strEmpresa = empresa;
  m_usUsuario = usuario;
  m_lSessao = sessao;

  HRESULT hr = QVCriaInstanciaServidor(CLSID_QVServicoHistorico, nullptr, kContextoServico, IID_IQVServicoHistorico,
                                       reinterpret_cast<void**>(&m_pServico), kFlagsServico);
  if (FAILED(hr)) return hr;

  hr = QVDefineEmpresaHistorico(m_pServico, m_strEmpresa);
  if (FAILED(hr)) return hr;

  if (m_lSessao != 0) {
    m_bAberto = true;  // the caller's session
    return hr;
  }
  int32_t propria = 0;
  hr = m_pServico->AbreSessao(m_usUsuario, &propria);
  // Only a session that the service opened is the client's to close.
  if (SUCCEEDED(hr)) {
    m_lSessao = propria;
    m_bSessaoPropria = true;
    m_bAberto = true;
  }
  return hr;
}

void CPPHistorico::Fecha() {
  if (m_bSessaoPropria && m_pServico) m_pServico->FechaSessao(m_lSessao);
  m_bSessaoPropria = false;
  if (m_pServico) m_pServico->Release();
  m_pServico = nullptr;
  m_bAberto = false;
}

HRESULT CPPHistorico::GravaLinha(char tipo, const char* formato, ...) {
  if (!m_bAberto || !m_pServico) return E_FAIL;
  CString texto;
  if (formato) {
    va_list argumentos;
    va_start(argumentos, formato);
    texto.FormatV(formato, argumentos);
    va_end(argumentos);
  }
  if (texto.IsEmpty()) return S_OK;
  texto += '\r';
  return m_pServico->GravaLinha(m_lSessao, 0, kPPModuloHistorico, tipo, texto.GetLength(), texto);
}

void CPPHistorico::GravaRegistro(const char* arquivoDAT, uint16_t usuario, int32_t sessao, uint32_t ponteiro,
                                 void* registro, int tamanho, char tipo, uint16_t codigo) {
  if (!registro || tamanho < static_cast<int>(sizeof(PPCabecalhoHistorico))) return;
  const CString historico = QVTrocaExtensao(arquivoDAT, "HIS");
  PPCabecalhoHistorico cabecalho{};
  cabecalho.lSessao = sessao;
  cabecalho.ulPonteiro = ponteiro;
  try {
    cabecalho.usData = QVGetDataAtual(false);
    cabecalho.usMinutos = static_cast<uint16_t>(PPHoraAtualMinutos());
  } catch (const CException&) {
    return;  // no date to stamp: the clock fails for the whole server, the caller goes on
  }
  cabecalho.usUsuario = usuario;
  cabecalho.usCodigo = codigo;
  cabecalho.cTipo = tipo;
  cabecalho.cZero = 0;
  std::memcpy(registro, &cabecalho, sizeof cabecalho);

  // A history file is not a data file whose loss the control file must catch: a missing one is
  // simply begun again.
  CQVArqEx arquivo;
  arquivo.SetUsaArquivoControle(false);
  uint32_t numero = 0;
  arquivo.GravaRegistro(historico, registro, static_cast<uint32_t>(tamanho), &numero, true);
}
