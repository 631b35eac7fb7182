#include "server/cadastros/CPPServidorTabelaCodigo.h"

#include <vector>

#include "foundation/CQVArqMarca.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"

namespace {

constexpr uint32_t kTamanho = sizeof(PPRegistroTabelaCodigo);

// The table's file, created by the engine at its first opening.
int AbreTabela(CPPArqEx& arquivo, const CString& caminho, char modo) {
  return arquivo.Abre(caminho, modo, kTamanho, true, true);
}

}  // namespace

CPPServidorTabelaCodigo::~CPPServidorTabelaCodigo() { Finaliza(); }

HRESULT CPPServidorTabelaCodigo::Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint8_t chamadaCOM) {
  if (EstaInicializado()) {
    if (HRESULT hr = Finaliza()) return hr;
  }
  m_regPS = RegPS;
  const HRESULT hr =
      CQVInicializador::Inicializa(PPTextoCampo(RegPS.szEmpresa), RegPS.usUsuario, RegPS.lNumeroSessao);
  if (FAILED(hr) || !chamadaCOM) return hr;
  if (HRESULT hrCOM = InicializaCOM(); FAILED(hrCOM)) {
    Finaliza();
    return hrCOM;
  }
  return S_OK;
}

HRESULT CPPServidorTabelaCodigo::InicializaCOM() {
  {
    CPPServidorMestrePP mestre;  // ends before the history client opens
    if (HRESULT hr = mestre.Inicializa(m_regPS); FAILED(hr)) return hr;
  }
  return m_historico.Abre(GetEmpresa(), GetUsuario(), GetNumeroSessao());
}

HRESULT CPPServidorTabelaCodigo::OnInicializa() {
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(GetEmpresa());
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  m_strCaminho = PPCaminhoCadastro(m_strDiretorio, m_declaracao);
  return S_OK;
}

HRESULT CPPServidorTabelaCodigo::Finaliza() {
  CQVInicializador::Finaliza();
  m_historico.Fecha();
  return S_OK;
}

void CPPServidorTabelaCodigo::OnFinaliza() {
  m_regPS = _REG_VARMO_INICIALIZAPS{};
  m_strDiretorio.Empty();
  m_strCaminho.Empty();
}

HRESULT CPPServidorTabelaCodigo::VerificaInicializado() const {
  return EstaInicializado() ? S_OK : PPErroHResult(kPPErroNaoInicializado);
}

HRESULT CPPServidorTabelaCodigo::BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPonteirosPS) {
  if (!pRegPonteirosPS) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  *pRegPonteirosPS = _REG_VARMO_PONTEIROSPS{};
  std::vector<uint32_t> ponteiros;
  const PPTesteFiltro passa = [this](uint32_t, const PPRegistroDisco& disco) {
    return PassaFiltro(PPCampoDisco<PPRegistroTabelaCodigo>(disco, 0).cEstado);
  };
  if (HRESULT hr = PPBuscaPonteirosCadastro(m_strDiretorio, m_declaracao, passa, &ponteiros)) return hr;
  return PPEntregaPonteiros(ponteiros, pRegPonteirosPS);
}

HRESULT CPPServidorTabelaCodigo::LeRegistros(int32_t lQtd, const int32_t* plPonteiros, const PPEntregaLido& entrega) {
  if (lQtd <= 0) return S_OK;
  CPPArqEx arquivo;
  if (int erro = AbreTabela(arquivo, m_strCaminho, 'L')) return PPErroHResultMotor(erro);
  PPRegistroTabelaCodigo registro;
  for (int32_t i = 0; i < lQtd; ++i) {
    const uint32_t ulPosicao = static_cast<uint32_t>(plPonteiros[i]);
    if (int erro = arquivo.Le(ulPosicao, &registro)) return PPErroHResultMotor(erro);
    entrega(i, ulPosicao, registro);
  }
  return PPErroHResultMotor(arquivo.Fecha());
}

HRESULT CPPServidorTabelaCodigo::GravaRegistro(int32_t lPosicao, const PPRegistroTabelaCodigo& registro,
                                               const CString& codigo, const CString& descricao,
                                               int32_t* plPosicaoOut) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (!plPosicaoOut) return E_POINTER;
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, m_declaracao.iMarca)) return PPErroHResultMotor(erro);
  CPPArqEx arquivo;
  if (int erro = AbreTabela(arquivo, m_strCaminho, 'G')) return PPErroHResultMotor(erro);
  uint32_t ulPosicao = static_cast<uint32_t>(lPosicao);
  if (ulPosicao != 0) {
    PPRegistroTabelaCodigo gravado;
    if (int erro = arquivo.Le(ulPosicao, &gravado)) return PPErroHResultMotor(erro);
    if (gravado.cRemovido == 1) return PPErroHResult(kPPErroRegistroRemovido);
  }
  if (int erro = arquivo.Grava(&registro, &ulPosicao)) return PPErroHResultMotor(erro);
  if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  *plPosicaoOut = static_cast<int32_t>(ulPosicao);
  if (m_historico.EstaAberto())
    m_historico.GravaLinha(lPosicao == 0 ? kPPHistoricoInclusao : kPPHistoricoAlteracao, m_declaracao.szHistorico,
                           static_cast<const char*>(codigo), static_cast<const char*>(descricao));
  return S_OK;
}

HRESULT CPPServidorTabelaCodigo::Remove(int32_t lPosicao) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lPosicao <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, m_declaracao.iMarca)) return PPErroHResultMotor(erro);
  CPPArqEx arquivo;
  if (int erro = AbreTabela(arquivo, m_strCaminho, 'G')) return PPErroHResultMotor(erro);
  uint32_t ulPosicao = static_cast<uint32_t>(lPosicao);
  PPRegistroTabelaCodigo registro;
  if (int erro = arquivo.Le(ulPosicao, &registro)) return PPErroHResultMotor(erro);
  if (HRESULT hr = VerificaUso(ulPosicao)) return hr;
  registro.cRemovido = 1;
  if (int erro = arquivo.Grava(&registro, &ulPosicao)) return PPErroHResultMotor(erro);
  if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  if (m_historico.EstaAberto())
    m_historico.GravaLinha(kPPHistoricoExclusao, m_declaracao.szHistorico,
                           static_cast<const char*>(PPTextoCampo(registro.szCodigo)),
                           static_cast<const char*>(PPTextoCampo(registro.szDescricao)));
  return S_OK;
}

HRESULT CPPServidorTabelaCodigo::ExisteCodigo(BSTR bsChave, int32_t* plPosicao, uint8_t cUtilizaFiltro) {
  if (!plPosicao) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  *plPosicao = 0;
  const CString codigo = PPTextoBSTR(bsChave);
  std::vector<uint32_t> iguais;
  const PPTesteFiltro passa = [&](uint32_t, const PPRegistroDisco& disco) {
    const auto registro = PPCampoDisco<PPRegistroTabelaCodigo>(disco, 0);
    if (cUtilizaFiltro == 1 && !PassaFiltro(registro.cEstado)) return false;
    return PPTextoCampo(registro.szCodigo).CompareNoCase(codigo) == 0;
  };
  if (HRESULT hr = PPBuscaPonteirosCadastro(m_strDiretorio, m_declaracao, passa, &iguais)) return hr;
  if (!iguais.empty()) *plPosicao = static_cast<int32_t>(iguais.front());
  return S_OK;
}
