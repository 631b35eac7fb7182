#include "server/cadastros/CPPServidorCadastro.h"

#include <string_view>

#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"

namespace {

// Opens a fixed-record file of the entity ('L' or 'G'), creating it when missing.
int AbreFixo(CPPArqEx& arquivo, const CString& caminho, char modo, uint32_t tamanho) {
  return arquivo.Abre(caminho, modo, tamanho, true, true);
}

// Every record of the open main file, in order, to visita(pointer, disco) until it answers false.
HRESULT PercorreRegistros(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao,
                          const std::function<bool(uint32_t, const PPRegistroDisco&)>& visita) {
  const int32_t quantidade = arquivo.GetQuantidadeRegistros();
  PPRegistroDisco disco(declaracao.TamanhoRegistro());
  for (int32_t p = 1; p <= quantidade; ++p) {
    if (int erro = arquivo.Le(static_cast<uint32_t>(p), disco.data())) return PPErroHResultMotor(erro);
    if (PPRegistroRemovido(declaracao, disco)) continue;
    if (!visita(static_cast<uint32_t>(p), disco)) break;
  }
  return S_OK;
}

// rotina(arquivo) on the entity's main file opened in `modo`, which is closed after it.
HRESULT NoArquivoPrincipal(const CString& diretorio, const PPDeclaracaoCadastro& declaracao, char modo,
                           const std::function<HRESULT(CPPArqEx&)>& rotina) {
  CPPArqEx arquivo;
  if (int erro = AbreFixo(arquivo, PPCaminhoCadastro(diretorio, declaracao), modo, declaracao.TamanhoRegistro()))
    return PPErroHResultMotor(erro);
  if (HRESULT hr = rotina(arquivo)) return hr;
  return PPErroHResultMotor(arquivo.Fecha());
}

}  // namespace

CString PPCaminhoCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao, int iArquivo) {
  return diretorio + declaracao.pArquivos[iArquivo].pNome();
}

HRESULT PPCriaArquivosCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao) {
  for (int i = 0; i < declaracao.iQuantArquivos; ++i) {
    const CString caminho = PPCaminhoCadastro(diretorio, declaracao, i);
    const uint32_t tamanho = declaracao.pArquivos[i].ulTamanhoRegistro;
    if (tamanho == 0) {
      if (PPCriaArquivoDyn(caminho)) return PPErroHResult(kPPErroCriaArquivoTexto);
      continue;
    }
    CPPArqEx arquivo;
    if (int erro = AbreFixo(arquivo, caminho, 'G', tamanho)) return PPErroHResultMotor(erro);
    if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  }
  return S_OK;
}

bool PPRegistroRemovido(const PPDeclaracaoCadastro& declaracao, const PPRegistroDisco& disco) {
  return disco[declaracao.ulRemovido] == 1;
}

CString PPCodigoDisco(const PPDeclaracaoCadastro& declaracao, const PPRegistroDisco& disco) {
  return CString(reinterpret_cast<const char*>(disco.data() + declaracao.ulCodigo),
                 static_cast<int>(declaracao.ulTamanhoCodigo));
}

CString PPDescricaoDisco(const PPDeclaracaoCadastro& declaracao, const PPRegistroDisco& disco) {
  return CString(reinterpret_cast<const char*>(disco.data() + declaracao.ulDescricao),
                 static_cast<int>(declaracao.ulTamanhoDescricao));
}

HRESULT PPBuscaPonteirosCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao,
                                 const PPTesteFiltro& passa, std::vector<uint32_t>* ponteiros) {
  const HRESULT hr = NoArquivoPrincipal(diretorio, declaracao, 'L', [&](CPPArqEx& arquivo) {
    return PPBuscaPonteirosCadastro(arquivo, declaracao, passa, ponteiros);
  });
  if (FAILED(hr)) ponteiros->clear();
  return hr;
}

HRESULT PPBuscaPonteirosCadastro(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao, const PPTesteFiltro& passa,
                                 std::vector<uint32_t>* ponteiros) {
  ponteiros->clear();
  const HRESULT hr = PercorreRegistros(arquivo, declaracao, [&](uint32_t p, const PPRegistroDisco& disco) {
    if (!passa || passa(p, disco)) ponteiros->push_back(p);
    return true;
  });
  if (FAILED(hr)) ponteiros->clear();
  return hr;
}

HRESULT PPExisteCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao, const CString& codigo,
                         const PPTesteFiltro& passa, uint32_t* pulPntr) {
  *pulPntr = 0;
  uint32_t encontrado = 0;
  const HRESULT hr = NoArquivoPrincipal(diretorio, declaracao, 'L', [&](CPPArqEx& arquivo) {
    return PPExisteCadastro(arquivo, declaracao, codigo, passa, &encontrado);
  });
  if (SUCCEEDED(hr)) *pulPntr = encontrado;
  return hr;
}

HRESULT PPExisteCadastro(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao, const CString& codigo,
                         const PPTesteFiltro& passa, uint32_t* pulPntr) {
  *pulPntr = 0;
  if (codigo.IsEmpty()) return PPErroHResult(kPPErroArgumentoInvalido);
  uint32_t encontrado = 0;
  const HRESULT hr = PercorreRegistros(arquivo, declaracao, [&](uint32_t p, const PPRegistroDisco& disco) {
    if (passa && !passa(p, disco)) return true;
    if (PPCodigoDisco(declaracao, disco).CompareNoCase(codigo) != 0) return true;
    encontrado = p;
    return false;
  });
  if (SUCCEEDED(hr)) *pulPntr = encontrado;
  return hr;
}

HRESULT PPMarcaRemovidoCadastro(const CString& diretorio, const PPDeclaracaoCadastro& declaracao,
                                uint32_t ulPntr, CPPHistorico* historico) {
  return NoArquivoPrincipal(diretorio, declaracao, 'G', [&](CPPArqEx& arquivo) {
    return PPMarcaRemovidoCadastro(arquivo, declaracao, ulPntr, historico);
  });
}

HRESULT PPMarcaRemovidoCadastro(CPPArqEx& arquivo, const PPDeclaracaoCadastro& declaracao, uint32_t ulPntr,
                                CPPHistorico* historico) {
  PPRegistroDisco disco(declaracao.TamanhoRegistro());
  if (int erro = arquivo.Le(ulPntr, disco.data())) return PPErroHResultMotor(erro);
  if (PPRegistroRemovido(declaracao, disco)) return S_OK;
  disco[declaracao.ulRemovido] = 1;
  uint32_t registro = ulPntr;
  if (int erro = arquivo.Grava(disco.data(), &registro)) return PPErroHResultMotor(erro);
  if (historico && historico->EstaAberto() && declaracao.szHistorico)
    historico->GravaLinha(kPPHistoricoExclusao, declaracao.szHistorico,
                          static_cast<const char*>(PPCodigoDisco(declaracao, disco)),
                          static_cast<const char*>(PPDescricaoDisco(declaracao, disco)));
  return S_OK;
}

HRESULT PPAnexaRegistros(const CString& caminho, uint32_t tamanho, const uint8_t* registros, uint32_t quantidade,
                         uint32_t* pulPrimeiro) {
  *pulPrimeiro = 0;
  if (quantidade == 0) return S_OK;
  CPPArqEx arquivo;
  if (int erro = AbreFixo(arquivo, caminho, 'G', tamanho)) return PPErroHResultMotor(erro);
  if (HRESULT hr = PPAnexaRegistros(arquivo, registros, quantidade, pulPrimeiro)) return hr;
  return PPErroHResultMotor(arquivo.Fecha());
}

HRESULT PPAnexaRegistros(CPPArqEx& arquivo, const uint8_t* registros, uint32_t quantidade, uint32_t* pulPrimeiro) {
  *pulPrimeiro = 0;
  const uint32_t tamanho = arquivo.GetTamanhoRegistro();
  for (uint32_t i = 0; i < quantidade; ++i) {
    uint32_t registro = 0;
    if (int erro = arquivo.Grava(registros + static_cast<size_t>(i) * tamanho, &registro))
      return PPErroHResultMotor(erro);
    if (i == 0) *pulPrimeiro = registro;
  }
  return S_OK;
}

CString PPTextoBSTR(BSTR texto) {
  if (!texto) return CString();
  return CString(AnsiFromWide(std::u16string_view(texto, SysStringLen(texto))));
}

HRESULT PPVerificaLista(uint32_t quantidade, const void* array) {
  return quantidade > 0 && !array ? PPErroHResult(kPPErroArgumentoInvalido) : S_OK;
}

HRESULT PPAbreServidorUsuario(const CString& empresa, uint16_t usUsuario, int32_t lSessao,
                              PPServidorUsuario* servidor) {
  if (HRESULT hr = servidor->CreateInstance(CLSID_QVDF_Usuario, nullptr, kQVContextoServidor,
                                            kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel);
      FAILED(hr))
    return hr;
  _REG_DF_INICIALIZA_USUARIOPS sessao{};
  PPCopiaCampoDisco(sessao.szEmpresa, empresa);
  sessao.usUsuario = usUsuario;
  sessao.lNumeroSessao = lSessao;
  return (*servidor)->Inicializa(sessao);
}

HRESULT PPErroTexto(HRESULT hr) { return FAILED(hr) ? PPErroHResult(kPPErroCriaArquivoTexto) : hr; }

// ---- CPPServidorCadastro -------------------------------------------------------------------------

CPPServidorCadastro::~CPPServidorCadastro() { FinalizaFrame(); }

HRESULT CPPServidorCadastro::Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint8_t chamadaCOM) {
  if (m_bInicializado) Finaliza();
  const HRESULT hr = InicializaPassos(RegPS, chamadaCOM);
  if (FAILED(hr)) {
    Finaliza();
    return hr;
  }
  m_bInicializado = true;
  return S_OK;
}

HRESULT CPPServidorCadastro::InicializaPassos(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) {
  m_regPS = regPS;
  m_strEmpresa = CString(regPS.szEmpresa, static_cast<int>(sizeof regPS.szEmpresa));
  m_usUsuario = regPS.usUsuario;
  m_lSessao = regPS.lNumeroSessao;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(m_strEmpresa);
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  if (HRESULT hr = PPCriaArquivosCadastro(m_strDiretorio, m_declaracao)) return hr;
  if (chamadaCOM) {
    CPPServidorMestrePP mestre;
    if (HRESULT hr = mestre.Inicializa(regPS); FAILED(hr)) return hr;
    if (HRESULT hr = LeMestre(mestre)) return hr;
  }
  if (chamadaCOM || m_declaracao.bHistoricoSemCOM) {
    if (HRESULT hr = m_historico.Abre(m_strEmpresa, m_usUsuario, m_lSessao); FAILED(hr)) return hr;
  }
  return InicializaMembros(regPS, chamadaCOM);
}

HRESULT CPPServidorCadastro::Finaliza() {
  FinalizaMembros();
  FinalizaFrame();
  return S_OK;
}

void CPPServidorCadastro::FinalizaFrame() {
  m_bInicializado = false;
  m_regPS = _REG_VARMO_INICIALIZAPS{};
  m_strEmpresa.Empty();
  m_usUsuario = 0;
  m_lSessao = 0;
  m_strDiretorio.Empty();
  m_historico.Fecha();
}

HRESULT CPPServidorCadastro::VerificaInicializado() const {
  return m_bInicializado ? S_OK : PPErroHResult(kPPErroNaoInicializado);
}

HRESULT CPPServidorCadastro::Marca(CQVArqMarca* marca) const {
  return PPErroHResultMotor(marca->Marca(m_strDiretorio, m_declaracao.iMarca));
}

HRESULT CPPServidorCadastro::BuscaPonteirosFiltro(std::vector<uint32_t>* ponteiros) {
  return PPBuscaPonteirosCadastro(m_strDiretorio, m_declaracao,
                                  [this](uint32_t p, const PPRegistroDisco& disco) { return PassaFiltro(p, disco); },
                                  ponteiros);
}

HRESULT CPPServidorCadastro::Existe(const CString& codigo, uint8_t cUtilizaFiltro, uint32_t* pulPntr) {
  PPTesteFiltro passa;
  if (cUtilizaFiltro == 1) passa = [this](uint32_t p, const PPRegistroDisco& disco) { return PassaFiltro(p, disco); };
  return PPExisteCadastro(m_strDiretorio, m_declaracao, codigo, passa, pulPntr);
}

HRESULT CPPServidorCadastro::LeRegistros(int32_t lQtd, const int32_t* plPonteiros, const PPConverteLido& converte) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lQtd <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  if (!plPonteiros) return E_POINTER;
  CPPArqEx arquivo;
  if (int erro = AbreFixo(arquivo, Caminho(0), 'L', m_declaracao.TamanhoRegistro())) return PPErroHResultMotor(erro);
  PPRegistroDisco disco(m_declaracao.TamanhoRegistro());
  for (int32_t i = 0; i < lQtd; ++i) {
    const uint32_t ulPntr = static_cast<uint32_t>(plPonteiros[i]);
    if (int erro = arquivo.Le(ulPntr, disco.data())) return PPErroHResultMotor(erro);
    if (PPRegistroRemovido(m_declaracao, disco)) return PPErroHResult(kPPErroRegistroRemovido);
    if (HRESULT hr = converte(i, ulPntr, disco)) return hr;
  }
  return PPErroHResultMotor(arquivo.Fecha());
}

HRESULT CPPServidorCadastro::GravaRegistro(int32_t lPntrIn, PPRegistroDisco& disco, const PPGravaDependentes& dependentes,
                                           const CString& codigo, const CString& descricao, int32_t* plPntrOut,
                                           bool bAceitaNegativo) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (!plPntrOut) return E_POINTER;
  if (lPntrIn < 0 && !bAceitaNegativo) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  CPPArqEx arquivo;
  if (int erro = AbreFixo(arquivo, Caminho(0), 'G', m_declaracao.TamanhoRegistro())) return PPErroHResultMotor(erro);
  if (lPntrIn != 0) {
    PPRegistroDisco gravado(m_declaracao.TamanhoRegistro());
    if (int erro = arquivo.Le(static_cast<uint32_t>(lPntrIn), gravado.data())) return PPErroHResultMotor(erro);
    if (PPRegistroRemovido(m_declaracao, gravado)) return PPErroHResult(kPPErroRegistroRemovido);
    MantemGravado(gravado, disco);
  }
  if (HRESULT hr = dependentes(disco)) return hr;
  uint32_t registro = static_cast<uint32_t>(lPntrIn);
  if (int erro = arquivo.Grava(disco.data(), &registro)) return PPErroHResultMotor(erro);
  if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  *plPntrOut = static_cast<int32_t>(registro);
  if (m_historico.EstaAberto() && m_declaracao.szHistorico)
    m_historico.GravaLinha(lPntrIn == 0 ? kPPHistoricoInclusao : kPPHistoricoAlteracao, m_declaracao.szHistorico,
                           static_cast<const char*>(codigo), static_cast<const char*>(descricao));
  return S_OK;
}

HRESULT CPPServidorCadastro::Remove(int32_t lPntr) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lPntr <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  if (HRESULT hr = VerificaUso(static_cast<uint32_t>(lPntr))) return hr;
  return PPMarcaRemovidoCadastro(m_strDiretorio, m_declaracao, static_cast<uint32_t>(lPntr), &m_historico);
}
