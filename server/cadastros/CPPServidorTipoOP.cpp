#include "server/cadastros/CPPServidorTipoOP.h"

#include <cstring>
#include <iterator>
#include <type_traits>
#include <vector>

#include "platform/family/base/InterfacesBase.h"
#include "server/CPPNomesArquivos.h"
#include "server/CPPServidorMestrePP.h"
#include "server/cadastros/PPCosturasCadastros.h"

namespace {

const PPArquivoCadastro kArquivos[] = {
    {&CPPNomesArquivos::ArqTipoOPCabecalho, sizeof(PPRegistroTipoOP)},
    {&CPPNomesArquivos::ArqTipoOPUsuario, sizeof(PPRegistroTipoOPUsuario)},
};
constexpr int kArquivoUsuarios = 1;

const PPDeclaracaoCadastro kDeclaracao = {
    kArquivos,
    static_cast<int>(std::size(kArquivos)),
    kPPMarcaTipoOP,
    "Tipo OP: %s - %s",
    true,
    offsetof(PPRegistroTipoOP, cRemovido),
    offsetof(PPRegistroTipoOP, szCodigo),
    offsetof(PPRegistroTipoOP, szDescricao),
    sizeof PPRegistroTipoOP::szCodigo,
    sizeof PPRegistroTipoOP::szDescricao,
};

// The COM record's labels and switches, in the order of the stored ones.
using RotuloCOM = char[26];
constexpr RotuloCOM _REG_VARMO_TIPO_OPPS::*kRotulos[] = {
    &_REG_VARMO_TIPO_OPPS::szInfExtra1, &_REG_VARMO_TIPO_OPPS::szInfExtra2, &_REG_VARMO_TIPO_OPPS::szInfExtra3,
    &_REG_VARMO_TIPO_OPPS::szInfExtra4, &_REG_VARMO_TIPO_OPPS::szInfExtra5,
};
constexpr uint8_t _REG_VARMO_TIPO_OPPS::*kChaves[] = {
    &_REG_VARMO_TIPO_OPPS::cObrigaInfExtra1,
    &_REG_VARMO_TIPO_OPPS::cObrigaInfExtra2,
    &_REG_VARMO_TIPO_OPPS::cObrigaInfExtra3,
    &_REG_VARMO_TIPO_OPPS::cObrigaInfExtra4,
    &_REG_VARMO_TIPO_OPPS::cObrigaInfExtra5,
    &_REG_VARMO_TIPO_OPPS::cMultiGradesFichasTecnicas,
    &_REG_VARMO_TIPO_OPPS::cFazEntradaDepoisNoES,
    &_REG_VARMO_TIPO_OPPS::cApontarOcorrenciaRecurso,
    &_REG_VARMO_TIPO_OPPS::cSugerirDataApontamentoConformeFicha,
    &_REG_VARMO_TIPO_OPPS::cSugerirSaldoNaQuantidadeApontada,
};
static_assert(std::size(kRotulos) == std::extent_v<decltype(PPRegistroTipoOP::szInfExtra)>);
static_assert(std::size(kChaves) == sizeof PPRegistroTipoOP::cChaves);

PPRegistroTipoOP RegistroDoDisco(const PPRegistroDisco& disco) { return PPCampoDisco<PPRegistroTipoOP>(disco, 0); }

// The stored record of a COM record: texts cut to their fields, an empty label named by its number.
PPRegistroTipoOP RegistroDoCOM(const _REG_VARMO_TIPO_OPPS& com) {
  PPRegistroTipoOP registro{};
  registro.lUltimaOP = com.lUltimaOP;
  registro.lPonteiroContaContabil = com.lPonteiroContaContabil;
  PPCopiaCampoDisco(registro.szCodigo, PPTextoCampo(com.szCodigo));
  PPCopiaCampoDisco(registro.szDescricao, PPTextoCampo(com.szDescricao));
  for (size_t i = 0; i < std::size(kRotulos); ++i) {
    CString rotulo = PPTextoCampo(com.*kRotulos[i]);
    if (rotulo.IsEmpty()) rotulo.Format("Inf. Extra %d", static_cast<int>(i + 1));
    PPCopiaCampoDisco(registro.szInfExtra[i], rotulo);
  }
  registro.cOPGerada = com.cOPGerada;
  registro.cAtivo = com.cAtivo;
  for (size_t i = 0; i < std::size(kChaves); ++i) registro.cChaves[i] = com.*kChaves[i];
  return registro;
}

// The COM record of a stored one, without its users.
void COMDoRegistro(const PPRegistroTipoOP& registro, uint32_t ulPntr, _REG_VARMO_TIPO_OPPS& com) {
  com.lUltimaOP = registro.lUltimaOP;
  com.lPosicao = static_cast<int32_t>(ulPntr);
  com.lPonteiroContaContabil = registro.lPonteiroContaContabil;
  PPCopiaCampo(com.szCodigo, PPTextoCampo(registro.szCodigo));
  PPCopiaCampo(com.szDescricao, PPTextoCampo(registro.szDescricao));
  for (size_t i = 0; i < std::size(kRotulos); ++i)
    PPCopiaCampo(com.*kRotulos[i], PPTextoCampo(registro.szInfExtra[i]));
  com.cOPGerada = registro.cOPGerada;
  com.cAtivo = registro.cAtivo;
  for (size_t i = 0; i < std::size(kChaves); ++i) com.*kChaves[i] = registro.cChaves[i];
}

void UsuarioDoDisco(const PPRegistroDisco& disco, _REG_VARMO_TIPO_OP_USUARIOPS& usuario) {
  PPRegistroTipoOPUsuario registro;
  std::memcpy(&registro, disco.data(), sizeof registro);
  usuario.usUsuario = registro.usUsuario;
  usuario.cManutencao = registro.cManutencao;
  usuario.cCancelamento = registro.cCancelamento;
  usuario.cInterrupcao = registro.cInterrupcao;
}

int AbreUsuarios(CPPArqEx& arquivo, const CString& caminho) {
  return arquivo.Abre(caminho, 'L', sizeof(PPRegistroTipoOPUsuario), true, true);
}

// The users of a type, from its run in the open users file.
HRESULT LeUsuarios(CPPArqEx& arquivo, const PPRegistroTipoOP& registro,
                   std::vector<PPRegistroTipoOPUsuario>* usuarios) {
  const uint32_t primeiro = registro.ulPrimeiroUsuario;
  usuarios->assign(registro.usQtdUsuarios, PPRegistroTipoOPUsuario{});
  for (uint32_t i = 0; i < usuarios->size(); ++i)
    if (int erro = arquivo.Le(primeiro + i, &(*usuarios)[i])) return PPErroHResultMotor(erro);
  return S_OK;
}

// Whether the user has full access (byte 155 of its record) in the base system's user server.
HRESULT LeAcessoTotalUsuario(const CString& empresa, uint16_t usUsuario, int32_t lSessao, bool* pbAcessoTotal) {
  PPServidorUsuario servidor;
  if (HRESULT hr = PPAbreServidorUsuario(empresa, usUsuario, lSessao, &servidor); FAILED(hr)) return hr;
  REGUSU_PS usuario{};
  if (HRESULT hr = servidor->Le(usUsuario, &usuario); FAILED(hr)) return hr;
  *pbAcessoTotal = usuario.cUsuarioSupervisor != 0;
  return S_OK;
}

}  // namespace

CPPServidorTipoOP::CPPServidorTipoOP() : CPPServidorCadastroFiltro(kDeclaracao) {}

HRESULT CPPServidorTipoOP::LeMestre(const CPPServidorMestrePP& mestre) {
  m_bAcessoTotal = mestre.GetUsuarioAcessoTotal();
  return S_OK;
}

HRESULT CPPServidorTipoOP::InicializaMembros(const _REG_VARMO_INICIALIZAPS& /*regPS*/, uint8_t chamadaCOM) {
  if (chamadaCOM) return S_OK;  // LeMestre has set the access
  return LeAcessoTotalUsuario(GetEmpresa(), GetUsuario(), GetSessao(), &m_bAcessoTotal);
}

void CPPServidorTipoOP::FinalizaMembros() {
  CPPServidorCadastroFiltro::FinalizaMembros();
  m_bAcessoTotal = false;
}

HRESULT CPPServidorTipoOP::Le(int32_t lPntr, _REG_VARMO_TIPO_OPPS* pRegPS, uint8_t cTipoLeitura) {
  return LePonteiros(1, &lPntr, pRegPS, cTipoLeitura);
}

HRESULT CPPServidorTipoOP::LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_VARMO_TIPO_OPPS* pRegPS,
                                       uint8_t cTipoLeitura) {
  if (!pRegPS) return E_POINTER;
  const bool bUsuarios = (cTipoLeitura & 1) != 0;
  CPPArqEx usuarios;
  return LeRegistros(lQtd, plPonteiros, [&](int32_t i, uint32_t ulPntr, const PPRegistroDisco& disco) -> HRESULT {
    _REG_VARMO_TIPO_OPPS& com = pRegPS[i];
    com = _REG_VARMO_TIPO_OPPS{};
    const PPRegistroTipoOP registro = RegistroDoDisco(disco);
    COMDoRegistro(registro, ulPntr, com);
    if (!bUsuarios) return S_OK;
    if (!usuarios.EstaAberto())
      if (int erro = AbreUsuarios(usuarios, Caminho(kArquivoUsuarios))) return PPErroHResultMotor(erro);
    _REG_VARMO_TIPO_OP_USUARIOPS* lista = nullptr;
    if (HRESULT hr = PPLeListaCadastro(usuarios, registro.ulPrimeiroUsuario, registro.usQtdUsuarios, &lista,
                                       UsuarioDoDisco))
      return hr;
    com.pregTipoOPUsuario = lista;
    com.usQtdUsuarios = registro.usQtdUsuarios;
    return S_OK;
  });
}

HRESULT CPPServidorTipoOP::Grava(int32_t lPntrIn, _REG_VARMO_TIPO_OPPS RegPS, int32_t* plPntrOut) {
  if (HRESULT hr = VerificaInicializado()) return hr;
  const uint16_t usQtdUsuarios = RegPS.usQtdUsuarios;
  const _REG_VARMO_TIPO_OP_USUARIOPS* pUsuarios = RegPS.pregTipoOPUsuario;
  if (HRESULT hr = PPVerificaLista(usQtdUsuarios, pUsuarios)) return hr;
  PPRegistroDisco disco = PPDiscoDoRegistro(RegistroDoCOM(RegPS));
  const auto anexaUsuarios = [&](PPRegistroDisco& novo) -> HRESULT {
    return PPAnexaListaDependente<PPRegistroTipoOPUsuario>(
        Caminho(kArquivoUsuarios), usQtdUsuarios, pUsuarios,
        [](const _REG_VARMO_TIPO_OP_USUARIOPS& usuario, PPRegistroTipoOPUsuario& gravado) {
          gravado.usUsuario = usuario.usUsuario;
          gravado.cManutencao = usuario.cManutencao;
          gravado.cCancelamento = usuario.cCancelamento;
          gravado.cInterrupcao = usuario.cInterrupcao;
        },
        novo, offsetof(PPRegistroTipoOP, ulPrimeiroUsuario), offsetof(PPRegistroTipoOP, usQtdUsuarios));
  };
  return GravaRegistro(lPntrIn, disco, anexaUsuarios, PPTextoCampo(RegPS.szCodigo), PPTextoCampo(RegPS.szDescricao),
                       plPntrOut);
}

void CPPServidorTipoOP::MantemGravado(const PPRegistroDisco& gravado, PPRegistroDisco& disco) {
  const PPRegistroTipoOP anterior = RegistroDoDisco(gravado);
  PPDefineCampoDisco(disco, offsetof(PPRegistroTipoOP, cOPGerada), anterior.cOPGerada);
  if (anterior.cOPGerada) PPDefineCampoDisco(disco, offsetof(PPRegistroTipoOP, lUltimaOP), anterior.lUltimaOP);
}

HRESULT CPPServidorTipoOP::IncrementaOP(int32_t lPntr, uint32_t* plNroOP) {
  if (!plNroOP) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  if (lPntr <= 0) return PPErroHResult(kPPErroArgumentoInvalido);
  CQVArqMarca marca;
  if (HRESULT hr = Marca(&marca)) return hr;
  *plNroOP = 0;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(Caminho(0), 'G', sizeof(PPRegistroTipoOP), true, true)) return PPErroHResultMotor(erro);
  PPRegistroDisco disco(sizeof(PPRegistroTipoOP));
  const uint32_t ulPntr = static_cast<uint32_t>(lPntr);
  if (int erro = arquivo.Le(ulPntr, disco.data())) return PPErroHResultMotor(erro);
  if (PPRegistroRemovido(Declaracao(), disco)) return PPErroHResult(kPPErroRegistroRemovido);
  PPRegistroTipoOP registro = RegistroDoDisco(disco);
  registro.lUltimaOP += 1;
  registro.cOPGerada = 1;
  uint32_t registroGravado = ulPntr;
  if (int erro = arquivo.Grava(&registro, &registroGravado)) return PPErroHResultMotor(erro);
  if (int erro = arquivo.Fecha()) return PPErroHResultMotor(erro);
  *plNroOP = registro.lUltimaOP;
  return S_OK;
}

HRESULT CPPServidorTipoOP::BuscaListaPermissoes(_REG_LISTA_PERMISSOES_USUARIO_OPPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  if (HRESULT hr = VerificaInicializado()) return hr;
  *pRegPS = _REG_LISTA_PERMISSOES_USUARIO_OPPS{};
  std::vector<uint32_t> ponteiros;
  if (HRESULT hr = BuscaPonteirosFiltro(&ponteiros)) return hr;
  if (ponteiros.empty()) return S_OK;

  std::vector<_REG_VARMO_PERMISSAO_USUARIO_OPPS> permissoes;
  CPPArqEx arquivoUsuarios;
  const auto anota = [&](int32_t, uint32_t ulPntr, const PPRegistroDisco& disco) -> HRESULT {
    const int32_t lPonteiroTipoOP = static_cast<int32_t>(ulPntr);
    if (m_bAcessoTotal) {
      permissoes.push_back({lPonteiroTipoOP, 1, 1, 1});
      return S_OK;
    }
    if (!arquivoUsuarios.EstaAberto())
      if (int erro = AbreUsuarios(arquivoUsuarios, Caminho(kArquivoUsuarios))) return PPErroHResultMotor(erro);
    std::vector<PPRegistroTipoOPUsuario> usuarios;
    if (HRESULT hr = LeUsuarios(arquivoUsuarios, RegistroDoDisco(disco), &usuarios)) return hr;
    for (const PPRegistroTipoOPUsuario& usuario : usuarios)
      if (usuario.usUsuario == GetUsuario())
        permissoes.push_back({lPonteiroTipoOP, usuario.cManutencao, usuario.cCancelamento, usuario.cInterrupcao});
    return S_OK;
  };
  const std::vector<int32_t> lidos(ponteiros.begin(), ponteiros.end());
  if (HRESULT hr = LeRegistros(static_cast<int32_t>(lidos.size()), lidos.data(), anota)) return hr;
  if (permissoes.empty()) return S_OK;

  auto* array = static_cast<_REG_VARMO_PERMISSAO_USUARIO_OPPS*>(
      CoTaskMemAlloc(permissoes.size() * sizeof(_REG_VARMO_PERMISSAO_USUARIO_OPPS)));
  if (!array) return E_OUTOFMEMORY;
  std::memcpy(array, permissoes.data(), permissoes.size() * sizeof(_REG_VARMO_PERMISSAO_USUARIO_OPPS));
  pRegPS->pRegPermissoes = array;
  pRegPS->lQuantidade = static_cast<int32_t>(permissoes.size());
  return S_OK;
}

bool CPPServidorTipoOP::PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) {
  const _REG_VARMO_FILTROPS& filtro = GetFiltro();
  const PPRegistroTipoOP registro = RegistroDoDisco(disco);
  if (filtro.cAtivo != 0 && filtro.cAtivo != registro.cAtivo) return false;
  const uint16_t usUsuarioFiltro = filtro.usPonteiroUsuarioTipoOP;
  if (usUsuarioFiltro != 0 && !m_bAcessoTotal) {
    CPPArqEx arquivo;
    std::vector<PPRegistroTipoOPUsuario> usuarios;
    if (AbreUsuarios(arquivo, Caminho(kArquivoUsuarios)) != 0 || LeUsuarios(arquivo, registro, &usuarios) != S_OK)
      return false;
    for (const PPRegistroTipoOPUsuario& usuario : usuarios)
      if (usuario.usUsuario == usUsuarioFiltro) return true;
    return false;
  }
  if (filtro.regPosicaoProdutoServico.lPonteiroProduto == 0) return true;
  std::vector<int32_t> tiposOP;
  if (PPGetCosturasCadastros().pTiposOPFluxosProduto(GetSessaoPS(), filtro, &tiposOP) != S_OK) return false;
  for (int32_t tipoOP : tiposOP)
    if (static_cast<uint32_t>(tipoOP) == ulPntr) return true;
  return false;
}

HRESULT CPPServidorTipoOP::VerificaUso(uint32_t ulPntr) {
  int32_t lFluxos = 0;
  if (HRESULT hr = PPGetCosturasCadastros().pContaFluxosTipoOP(GetSessaoPS(), static_cast<int32_t>(ulPntr), &lFluxos))
    return hr;
  if (lFluxos > 0) return PPErroHResult(kPPErroRegistroEmUso);
  CPPArqEx arquivo;
  PPRegistroDisco disco(sizeof(PPRegistroTipoOP));
  if (int erro = arquivo.LeRegistro(Caminho(0), ulPntr, disco.data(), sizeof(PPRegistroTipoOP)))
    return PPErroHResultMotor(erro);
  // A removed type stays as it is, numbered or not.
  if (PPRegistroRemovido(Declaracao(), disco)) return S_OK;
  return RegistroDoDisco(disco).cOPGerada ? PPErroHResult(kPPErroRegistroEmUso) : S_OK;
}
