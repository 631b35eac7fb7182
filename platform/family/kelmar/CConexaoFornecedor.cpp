#include "platform/family/kelmar/CConexaoFornecedor.h"

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/comum/TabelaFamilia.h"
#include "platform/win32/codepage.h"

namespace {

const char kModulo[] = "DF";
const char kArquivoCFRT[] = "CFRT.DAT";

class QVKL_CFRT : public ObjetoEmpresaUsuarioSessao<IQVKL_CFRT> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;

  HRESULT LeBase(int32_t lPonteiro, _REG_CFRT_BASEPS* pRegBase) override {
    if (const HRESULT hr = Entrada("LeBase"); FAILED(hr)) return hr;
    if (!pRegBase) return E_POINTER;
    return LeRegistroFamilia(TabelaDeFamilia<_REG_CFRT_BASEPS>(Sessao().diretorio, kArquivoCFRT), lPonteiro,
                             pRegBase);
  }
};

}  // namespace

CConexaoCFRT::~CConexaoCFRT() { Finaliza(); }

HRESULT CConexaoCFRT::Inicializa(const char* empresa, uint16_t usUsuario, int32_t lNumeroSessao) {
  Finaliza();
  IQVKL_CFRT* pInterface = nullptr;
  if (const HRESULT hr = CriaObjetoFamilia<QVKL_CFRT>(CadastroCFRT::Classe(), IID_IQVKL_CFRT,
                                                      reinterpret_cast<void**>(&pInterface));
      FAILED(hr))
    return hr;
  const std::u16string texto = WideFromAnsi(empresa ? empresa : "");
  const BSTR bsEmpresa = SysAllocStringLen(texto.data(), static_cast<UINT>(texto.size()));
  const HRESULT hr = bsEmpresa ? pInterface->Inicializa(bsEmpresa, usUsuario, lNumeroSessao) : E_OUTOFMEMORY;
  SysFreeString(bsEmpresa);
  if (FAILED(hr)) {
    pInterface->Release();
    return hr;
  }
  m_pInterface = pInterface;
  return S_OK;
}

void CConexaoCFRT::Finaliza() {
  if (!m_pInterface) return;
  m_pInterface->Release();
  m_pInterface = nullptr;
}

HRESULT CConexaoCFRTGrupo::Le(int32_t lPonteiro, _REG_CFRT_BASEPS* pRegBase) const {
  if (!m_pInterface || !pRegBase) return E_POINTER;
  return m_pInterface->LeBase(lPonteiro, pRegBase);
}

ClasseFamilia& CadastroCFRT::Classe() {
  static ClasseFamilia classe("QVKL_CFRT", CLSID_QVKL_CFRT, IID_IQVKL_CFRT, kModulo);
  return classe;
}

HRESULT CadastroCFRT::Grava(const std::string& empresa, const std::vector<_REG_CFRT_BASEPS>& registros) {
  return SemeiaTabelaFamilia(empresa, kModulo, kArquivoCFRT, sizeof(_REG_CFRT_BASEPS), RegistrosFamilia(registros));
}
