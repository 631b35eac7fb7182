#include "platform/family/kelmar/CQVInicializador.h"

HRESULT CQVInicializador::Inicializa(const CString& empresa, uint16_t usUsuario, int32_t lNumeroSessao) {
  m_strEmpresa = empresa;
  m_usUsuario = usUsuario;
  m_lNumeroSessao = lNumeroSessao;
  m_bInicializado = true;
  const HRESULT hr = OnInicializa();
  if (FAILED(hr)) Finaliza();
  return hr;
}

HRESULT CQVInicializador::Finaliza() {
  OnFinaliza();
  m_bInicializado = false;
  m_strEmpresa.Empty();
  m_usUsuario = 0;
  m_lNumeroSessao = 0;
  return S_OK;
}
