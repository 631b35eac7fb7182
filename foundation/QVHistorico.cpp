#include "foundation/QVHistorico.h"

#include <cstring>
#include <string>

#include "foundation/QVCom.h"
#include "platform/win32/codepage.h"

namespace {

constexpr int32_t kModuloTexto = 15;
constexpr size_t kTamanhoTexto = 80;

using Servico = CQVComPtr<IQVServicoHistorico, IID_IQVServicoHistorico>;

// The common part of the writers: the service for the company, handed to `envia`, whose answer is
// not the writer's.
template <typename Envio>
HRESULT GravaNoServico(const CString& empresa, Envio envia) {
  Servico servico;
  HRESULT hr = servico.CreateInstance(CLSID_QVServicoHistorico, nullptr, kQVContextoServidor,
                                      kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel);
  if (FAILED(hr)) return hr;
  hr = QVDefineEmpresaHistorico(servico.GetInterface(), empresa);
  if (FAILED(hr)) return hr;
  envia(servico.GetInterface());
  return S_OK;
}

}  // namespace

HRESULT QVDefineEmpresaHistorico(IQVServicoHistorico* servico, const CString& empresa) {
  const std::u16string nome = WideFromAnsi(empresa.str());
  BSTR bstrEmpresa = SysAllocStringLen(nome.data(), static_cast<UINT>(nome.size()));
  if (!bstrEmpresa) return E_OUTOFMEMORY;
  const HRESULT hr = servico->DefineEmpresa(bstrEmpresa);
  SysFreeString(bstrEmpresa);
  return hr;
}

HRESULT QVGravaHistoricoTexto(const CString& empresa, int32_t sessao, const char* texto) {
  return GravaNoServico(empresa, [&](IQVServicoHistorico* servico) {
    char buffer[kTamanhoTexto] = {};
    std::strncpy(buffer, texto ? texto : "", kTamanhoTexto - 1);
    servico->GravaLinha(sessao, 0, kModuloTexto, 'A', kTamanhoTexto, buffer);
  });
}

HRESULT QVGravaHistorico12(const CString& empresa, int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4,
                           int32_t valor5, int16_t valor6) {
  return GravaNoServico(empresa, [&](IQVServicoHistorico* servico) {
    servico->GravaValores(valor1, valor2, valor3, valor4, valor5, valor6);
  });
}

HRESULT QVGravaHistorico13(const CString& empresa, int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4,
                           int32_t valor5, int16_t valor6, int32_t valor7, int32_t valor8) {
  return GravaNoServico(empresa, [&](IQVServicoHistorico* servico) {
    servico->GravaValoresEstendido(valor1, valor2, valor3, valor4, valor5, valor6, valor7, valor8);
  });
}
