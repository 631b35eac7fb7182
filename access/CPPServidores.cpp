#include "access/CPPServidores.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/codepage.h"

CPPServidores::CPPServidores() = default;

CPPServidores::~CPPServidores() { ReleaseInterfaces(); }

int32_t CPPServidores::Finaliza() {
  ReleaseInterfaces();
  return CPPInicializa::Finaliza();
}

int32_t CPPServidores::GetRazaoSocial(CString& razaoSocial) {
  if (!GetIFilial()) return GetHR();
  razaoSocial = CString(registroEmpresa_.szRazaoSocial, sizeof registroEmpresa_.szRazaoSocial);
  return 0;
}

void CPPServidores::Limpar(PPMensagemErro& erro) {
  erro = PPMensagemErro{};
  erro_ = PPMensagemErro{};
  erros_.RemoveAll();
}

void CPPServidores::ReleaseInterfaces() {
#define PP_LIBERA_SERVIDOR(Nome, Interface, clsid, iid, inicializacao) servidor##Nome##_.Libera();
  PP_SERVIDORES_HUB(PP_LIBERA_SERVIDOR)
#undef PP_LIBERA_SERVIDOR
  LimpaRegistroEmpresa();
}

void CPPServidores::LimpaRegistroEmpresa() { std::memset(&registroEmpresa_, 0, sizeof registroEmpresa_); }

BSTR PPEmpresaBSTR(const CString& empresa) {
  const std::u16string texto = WideFromAnsi(std::string_view(empresa, empresa.GetLength()));
  return SysAllocStringLen(texto.data(), static_cast<UINT>(texto.size()));
}

HRESULT CPPServidores::InicializaEmpresa(IQVDF_Feriado* servidor) {
  const BSTR empresa = EmpresaBSTR();
  const HRESULT hr = servidor->Inicializa(empresa);
  SysFreeString(empresa);
  return hr;
}

HRESULT CPPServidores::InicializaSemArgumentos(IQVDF_EstrCodBar* servidor) { return servidor->Inicializa(); }

HRESULT CPPServidores::InicializaUsuario(IQVDF_Usuario* servidor) {
  return servidor->Inicializa(RegistroSessao<_REG_DF_INICIALIZA_USUARIOPS>());
}

// The server fills the company record; whatever a failed initialisation left there goes with it.
HRESULT CPPServidores::InicializaFilial(IQVCN_Filial* servidor) {
  _REG_CN_INICIALIZAPS registro = RegistroSessao<_REG_CN_INICIALIZAPS>();
  registro.usParametro = kCNParametroProducao;
  const HRESULT hr = servidor->InicializaEmpresa(registro, &registroEmpresa_);
  if (FAILED(hr)) LimpaRegistroEmpresa();
  return hr;
}

HRESULT CPPServidores::InicializaPlanoGerencial(IQVDF_Plano* servidor) {
  _REG_DF_INICIALIZA_PLANOPS registro = RegistroSessao<_REG_DF_INICIALIZA_PLANOPS>();
  registro.cTipoPlano = kPlanoGerencial;
  return servidor->Inicializa(registro);
}

HRESULT CPPServidores::InicializaPlanoContabil(IQVDF_Plano* servidor) {
  _REG_DF_INICIALIZA_PLANOPS registro = RegistroSessao<_REG_DF_INICIALIZA_PLANOPS>();
  registro.cTipoPlano = kPlanoContabil;
  return servidor->Inicializa(registro);
}

HRESULT CPPServidores::InicializaRequerente(IQVDF_Requerente* servidor) {
  return servidor->Inicializa(RegistroSessao<_REG_DF_INICIALIZA_REQUERENTEPS>());
}

HRESULT CPPServidores::InicializaInformacaoSuplementar(IQVDF_CTG* servidor) {
  return servidor->Inicializa(RegistroSessao<_REG_DF_INICIALIZA_CTGPS>());
}

HRESULT CPPServidores::InicializaNotaFiscalFT(IQVDF_NotasFiscais* servidor) {
  return servidor->Inicializa(RegistroSessao<_REG_DF_INICIALIZA_NOTASFISCAISPS>());
}

HRESULT CPPServidores::InicializaPedido(IQVFT_Pedido* servidor) {
  return servidor->Inicializa(RegistroSessao<_REG_FT_INICIALIZA_PEDIDOPS>());
}

HRESULT CPPServidores::InicializaNotaFiscalRE(IQVCM_RegistroEntrada* servidor) {
  return servidor->Inicializa(RegistroSessao<_REG_CM_INICIALIZA_ENTRADAPS>());
}
