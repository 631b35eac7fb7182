#include "server/CPPServidorMestrePP.h"

#include <cstring>
#include <iterator>

#include "foundation/CQVArqMarca.h"
#include "foundation/CQVException.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVCom.h"
#include "foundation/QVData.h"
#include "foundation/QVRelogio.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/family/base/InterfacesBase.h"
#include "platform/family/filiais/InterfaceFilial.h"
#include "platform/win32/codepage.h"
#include "server/CPPAtualizaVersaoFichaTecnica.h"
#include "server/CPPAtualizaVersaoMestre.h"
#include "server/CPPAtualizaVersaoMetasProducao.h"
#include "server/CPPAtualizaVersaoNumeracao.h"
#include "server/CPPAtualizaVersaoOP.h"
#include "server/CPPAtualizaVersaoOperacaoProducao.h"
#include "server/CPPAtualizaVersaoRecurso.h"
#include "server/CPPAtualizaVersaoTipoOP.h"
#include "server/CPPHistorico.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPDatas.h"
#include "server/PPMovimentacaoProduto.h"

// The converter of each group; processes, calendars and sections have none (their files have
// never changed format), so a company with one of them at 0 is refused with 1615.
const PPTabelaConversores kPPConversoresVersao = {{
    {kPPGrupoMestre, &PPCriaConversorDe<CPPAtualizaVersaoMestre>},
    {kPPGrupoTipoOP, &PPCriaConversorDe<CPPAtualizaVersaoTipoOP>},
    {kPPGrupoFluxoProcesso, &PPCriaConversorDe<CPPAtualizaVersaoFluxoProcesso>},
    {kPPGrupoOperacaoProducao, &PPCriaConversorDe<CPPAtualizaVersaoOperacaoProducao>},
    {kPPGrupoFichaTecnica, &PPCriaConversorDe<CPPAtualizaVersaoFichaTecnica>},
    {kPPGrupoOrdemProducao, &PPCriaConversorDe<CPPAtualizaVersaoOP>},
    {kPPGrupoRecurso, &PPCriaConversorDe<CPPAtualizaVersaoRecurso>},
    {kPPGrupoPlanoManutencao, &PPCriaConversorDe<CPPAtualizaVersaoPlanoManutencao>},
    {kPPGrupoGestaoManutencao, &PPCriaConversorDe<CPPAtualizaVersaoGestaoManutencao>},
    {kPPGrupoColecao, &PPCriaConversorDe<CPPAtualizaVersaoColecao>},
    {kPPGrupoMotivoRefugo, &PPCriaConversorDe<CPPAtualizaVersaoMotivoRefugo>},
    {kPPGrupoMetasProducao, &PPCriaConversorDe<CPPAtualizaVersaoMetasProducao>},
    {kPPGrupoTipoRecurso, &PPCriaConversorDe<CPPAtualizaVersaoTipoRecurso>},
}};

namespace {

HRESULT HResultDoMotor(int erro) { return PPErroHResult(static_cast<uint32_t>(erro)); }

// A field of the settings: where it lies in the stored record and in the COM record.
struct CampoMestre {
  uint16_t usDisco;
  uint16_t usCOM;
  uint8_t cTamanho;
};

consteval CampoMestre Campo(size_t disco, size_t com, size_t tamanhoDisco, size_t tamanhoCOM) {
  if (tamanhoDisco != tamanhoCOM) throw "the field has another width in the COM record";
  return {static_cast<uint16_t>(disco), static_cast<uint16_t>(com), static_cast<uint8_t>(tamanhoDisco)};
}

#define PP_CAMPO(nome)                                                                               \
  Campo(offsetof(PPRegistroMestre, nome), offsetof(_REG_VARMO_MESTRE, nome), sizeof(PPRegistroMestre::nome), \
        sizeof(_REG_VARMO_MESTRE::nome))

// What Le reads and Grava keeps as stored.
constexpr CampoMestre kCamposMantidos[] = {
    PP_CAMPO(iVersaoSistema), PP_CAMPO(iQuantidadeTerminais),     PP_CAMPO(iSecaoUso),
    PP_CAMPO(iCodigoCliente), PP_CAMPO(iCodigoClienteEscritorio), PP_CAMPO(usMesAnoImplantacao),
};

// What Le reads and Grava stores from the caller's record.
constexpr CampoMestre kCamposGravados[] = {
    PP_CAMPO(ulPonteiroCalendarioPadrao),
    PP_CAMPO(lPonteiroCodigoBarras),
    PP_CAMPO(lPonteiroInfApontExternoFilial),
    PP_CAMPO(usQtdInfApontExternoFilial),
    PP_CAMPO(usDataVisualizacao),
    PP_CAMPO(cPermiteInsercaoManualNecessidade),
    PP_CAMPO(cPermiteCancelarNecessidadeAutomatica),
    PP_CAMPO(cGerarNecessidadeAutomatica),
    PP_CAMPO(cPermiteItemOPComplemento),
    PP_CAMPO(cFormacaoCustoProduto),
    PP_CAMPO(cDigitosDataRelatorio),
    PP_CAMPO(cUsaDataVisualizacao),
    PP_CAMPO(cLiberarItemPedido),
    PP_CAMPO(cObrigaInfSupl1),
    PP_CAMPO(cObrigaInfSupl2),
    PP_CAMPO(cObrigaInfSupl3),
    PP_CAMPO(cObrigaNumeroLote),
    PP_CAMPO(cSomenteApontarOPComRecursos),
    PP_CAMPO(cPermiteAlterarRecursoNoApontamento),
    PP_CAMPO(cConsiderarLoteReposicao),
    PP_CAMPO(cSolicitarFaturamentoApontamentoExterno),
    PP_CAMPO(cImprimirProcessoPagSeparada),
    PP_CAMPO(cUtilizarColecaoProjeto),
    PP_CAMPO(cUtilizarEtiquetaProcesso),
    PP_CAMPO(cPermitirCancelRemessaIndustrializacao),
    PP_CAMPO(cPermitirRetornosSemNF),
    PP_CAMPO(cExigirMensagemNoEncerramentoForcado),
    PP_CAMPO(cImprimirEtiquetaProcessoFinal),
    PP_CAMPO(cEmitirRInaOP),
    PP_CAMPO(cNaoExecutarPreBaixaNaOP),
    PP_CAMPO(cUtilizaCalendarioProducaoComoPadrao),
    PP_CAMPO(cUsarVlrUnitFichaTecnicaEmPrevisoes),
    PP_CAMPO(cCustearSoProcessoApontado),
    PP_CAMPO(cSohApontarAposDefinirRecursos),
    PP_CAMPO(cTipoPerdaInsumo),
    PP_CAMPO(cTratarInsumoEmbalagem),
    PP_CAMPO(cConsiderarComplementoNaDemanda),
    PP_CAMPO(cPossuiInfSupl1),
    PP_CAMPO(cPossuiInfSupl2),
    PP_CAMPO(cPossuiInfSupl3),
    PP_CAMPO(ulPonteiroTabelaPrecoVendaServico),
    PP_CAMPO(ulPonteiroTabelaPrecoVendaProduto),
};

// One entry of Grava's change text: a format with the stored and the new value.
struct RotuloMestre {
  const char* pszRotulo;
  CampoMestre campo;
  bool bComSinal;  // a byte printed as a signed 8-bit value
};

constexpr RotuloMestre kRotulos[] = {
    {"Chave Cód. Barras: %i -> %i; "_ansi, PP_CAMPO(lPonteiroCodigoBarras), false},
    {"Data visualização: %i -> %i; "_ansi, PP_CAMPO(usDataVisualizacao), false},
    {"Nec. manual: %i -> %i; ", PP_CAMPO(cPermiteInsercaoManualNecessidade), true},
    {"Cancela nec. autom.: %i -> %i; ", PP_CAMPO(cPermiteCancelarNecessidadeAutomatica), true},
    {"Gera nec. autom.: %i -> %i; ", PP_CAMPO(cGerarNecessidadeAutomatica), true},
    {"Item complem.: %i -> %i; ", PP_CAMPO(cPermiteItemOPComplemento), true},
    {"Form. custo prod.: %i -> %i; ", PP_CAMPO(cFormacaoCustoProduto), true},
    {"Dig. data rel.: %i -> %i; ", PP_CAMPO(cDigitosDataRelatorio), true},
    {"Usa data vis.: %i -> %i; ", PP_CAMPO(cUsaDataVisualizacao), true},
    {"Libera pedido: %i -> %i; ", PP_CAMPO(cLiberarItemPedido), true},
    {"Tipo perda: %i -> %i; ", PP_CAMPO(cTipoPerdaInsumo), false},
    {"Obriga inf. supl. 1: %i -> %i; ", PP_CAMPO(cObrigaInfSupl1), false},
    {"Obriga inf. supl. 2: %i -> %i; ", PP_CAMPO(cObrigaInfSupl2), false},
    {"Obriga inf. supl. 3: %i -> %i; ", PP_CAMPO(cObrigaInfSupl3), false},
    {"Obriga número de lote: %i -> %i; "_ansi, PP_CAMPO(cObrigaNumeroLote), false},
    {"Apontar após definir recursos: %i -> %i; "_ansi, PP_CAMPO(cSohApontarAposDefinirRecursos), false},
    {"Somente apontar OPs com recursos: %i -> %i; ", PP_CAMPO(cSomenteApontarOPComRecursos), false},
    {"Permite alterar recurso no apontamento: %i -> %i; ", PP_CAMPO(cPermiteAlterarRecursoNoApontamento), false},
    {"Considerar lote de reposição  na geração da ordem de produção: %i -> %i; "_ansi,
     PP_CAMPO(cConsiderarLoteReposicao), false},
    {"Solicitar faturamento em apontamento externo: %i -> %i; ", PP_CAMPO(cSolicitarFaturamentoApontamentoExterno),
     false},
    {"Imprimir processos em páginas separadas: %i -> %i; "_ansi, PP_CAMPO(cImprimirProcessoPagSeparada), false},
    {"Utilizar projeto: %i -> %i; ", PP_CAMPO(cUtilizarColecaoProjeto), false},
    {"Utilizar etiqueta por processo: %i -> %i; ", PP_CAMPO(cUtilizarEtiquetaProcesso), false},
    {"Permitir cancelamento de remessas para industrialização: %i -> %i; "_ansi,
     PP_CAMPO(cPermitirCancelRemessaIndustrializacao), false},
    {"Permitir retornos sem informar nota fiscal: %i -> %i; ", PP_CAMPO(cPermitirRetornosSemNF), false},
    {"Exigir mensagem no encerramento forçado: %i -> %i; "_ansi, PP_CAMPO(cExigirMensagemNoEncerramentoForcado),
     false},
    {"Imprimir etiqueta processo final: %i -> %i; ", PP_CAMPO(cImprimirEtiquetaProcessoFinal), false},
    {"Emitir RI na OP: %i -> %i; ", PP_CAMPO(cEmitirRInaOP), false},
    {"Executar pré-baixa na OP: %i -> %i; "_ansi, PP_CAMPO(cNaoExecutarPreBaixaNaOP), false},
    {"Utilizar calendário da produção como padrão: %i -> %i; "_ansi, PP_CAMPO(cUtilizaCalendarioProducaoComoPadrao),
     false},
    {"Ponteiro para o calendário padrão da produção: %i -> %i; "_ansi, PP_CAMPO(ulPonteiroCalendarioPadrao), false},
    {"Usar vlr unitário Ficha Técnica nas previsões de custo: %i -> %i; "_ansi,
     PP_CAMPO(cUsarVlrUnitFichaTecnicaEmPrevisoes), false},
    {"Custear somente processos apontados: %i -> %i; ", PP_CAMPO(cCustearSoProcessoApontado), false},
    {"Capacidade dos insumos marcados como embalagem: %i -> %i; ", PP_CAMPO(cTratarInsumoEmbalagem), false},
    {"Tabela de preço produto: %i -> %i; "_ansi, PP_CAMPO(ulPonteiroTabelaPrecoVendaProduto), false},
    {"Tabela de preço serviço: %i -> %i; "_ansi, PP_CAMPO(ulPonteiroTabelaPrecoVendaServico), false},
    {"Considerar item complemento na demanda: %i -> %i; ", PP_CAMPO(cConsiderarComplementoNaDemanda), false},
    {"Possui inf. supl. 1: %i -> %i; ", PP_CAMPO(cPossuiInfSupl1), false},
    {"Possui inf. supl. 2: %i -> %i; ", PP_CAMPO(cPossuiInfSupl2), false},
    {"Possui. inf. supl. 3: %i -> %i; ", PP_CAMPO(cPossuiInfSupl3), false},
};
static_assert(std::size(kRotulos) == 40);

#undef PP_CAMPO

// The value of a field as the change text prints it ("%i").
int Valor(const void* registro, uint16_t deslocamento, uint8_t tamanho, bool bComSinal) {
  const auto* bytes = static_cast<const uint8_t*>(registro) + deslocamento;
  switch (tamanho) {
    case 1:
      return bComSinal ? static_cast<int8_t>(bytes[0]) : bytes[0];
    case 2: {
      uint16_t valor;
      std::memcpy(&valor, bytes, sizeof valor);
      return valor;
    }
    default: {
      int32_t valor;
      std::memcpy(&valor, bytes, sizeof valor);
      return valor;
    }
  }
}

void CopiaParaCOM(const CampoMestre& campo, const PPRegistroMestre& disco, _REG_VARMO_MESTRE& com) {
  std::memcpy(reinterpret_cast<uint8_t*>(&com) + campo.usCOM, reinterpret_cast<const uint8_t*>(&disco) + campo.usDisco,
              campo.cTamanho);
}

void CopiaParaDisco(const CampoMestre& campo, const _REG_VARMO_MESTRE& com, PPRegistroMestre& disco) {
  std::memcpy(reinterpret_cast<uint8_t*>(&disco) + campo.usDisco, reinterpret_cast<const uint8_t*>(&com) + campo.usCOM,
              campo.cTamanho);
}

// The flag of ProdutoTeveMovimentacao's handlers, and whether the highest grade level ends the run
// after them: the maintenance-management handler's answer is never tested, so the targets are
// always asked.
struct PassoMovimentacao {
  PPSlotMovimentacao slot;
  uint8_t cInicializarCompleto;
  bool bParaNoNivelMaximo;
};
constexpr PassoMovimentacao kPassosMovimentacao[] = {
    {kPPMovimentacaoOP, 1, true},
    {kPPMovimentacaoFichaTecnica, 0, true},
    {kPPMovimentacaoManutencao, 0, true},
    {kPPMovimentacaoGestaoManutencao, 0, false},
    {kPPMovimentacaoMetasProducao, 0, false},
};
constexpr uint16_t kNivelGradeMaximo = 3;

// The branch and user servers, created as every server of the family.
constexpr DWORD kFlagsCriacao = kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel;

// The clock's failure as an HRESULT instead of its exception.
template <class Leitura>
HRESULT LeRelogio(Leitura leitura) {
  try {
    leitura();
    return S_OK;
  } catch (const CQVException& erro) {
    return erro.GetErroSO() ? HRESULT_FROM_WIN32(static_cast<DWORD>(erro.GetErroSO())) : E_FAIL;
  } catch (const CException&) {
    return E_FAIL;
  }
}

}  // namespace

CPPServidorMestrePP::~CPPServidorMestrePP() { Finaliza(); }

// ---------------------------------------------------------------------------------------------------
// The session

HRESULT CPPServidorMestrePP::Inicializa(_REG_VARMO_INICIALIZAPS RegPS) {
  // 1. A second Inicializa starts from nothing.
  if (m_bInicializado) Finaliza();

  // 2. The session and the paths.
  if (HRESULT hr = DefineSessao(RegPS); FAILED(hr)) return hr;
  // A process killed in the middle of an upgrade step may have moved "PPMESTRE.DAT" away: its
  // journal is resolved before the file is looked for.
  if (HRESULT hr = ResolveDiarioAtualizacao(); FAILED(hr)) return hr;

  // 3. The settings are made by the installation, never here.
  if (!QVExisteArquivo(m_strArquivoPrincipal)) return PPErroHResult(kPPErroArquivoMestre);

  // 4. A new company gets its version record at the targets; a failure shows in the driver's read.
  CriaArquivoVersao();

  // 5. The session's parameters from the family's servers.
  if (HRESULT hr = LeParametrosExternos(); FAILED(hr)) return hr;

  // 6. The data files in the program's format.
  const HRESULT resultado = AtualizaVersaoArquivos();
  if (FAILED(resultado)) return resultado;

  // 7. The settings can be read; a company without a month of implantation gets one.
  CPPArqEx arquivo;
  PPRegistroMestre registro{};
  if (int erro = arquivo.LeRegistro(m_strArquivoPrincipal, 0, &registro, kPPTamanhoRegistroMestre))
    return HResultDoMotor(erro);
  if (registro.usMesAnoImplantacao == 0) CalculaMesAnoImplantacao();

  // 8.
  m_bInicializado = true;
  return resultado;
}

void CPPServidorMestrePP::Finaliza() {
  m_bInicializado = false;
  m_strEmpresa.Empty();
  m_usUsuario = 0;
  m_lSessao = 0;
  m_strArquivoPrincipal.Empty();
  m_strArquivoInfApontExternoFiliais.Empty();
  m_strArquivoVersao.Empty();
  m_strDiretorio.Empty();
  m_usDataInferiorPeriodo = 0;
  m_usDataSuperiorPeriodo = 0;
  m_regParametrosFilial = _REG_CN_PARAMETROSPS{};
  m_regUsuario = _REG_DF_PERMISSOES_USUARIOPS{};
  m_cUsuarioAcessoTotal = 0;
}

HRESULT CPPServidorMestrePP::LeParametrosExternos() {
  // 1. The branch server: the open period and the branch parameters of the session.
  {
    CQVComPtr<IQVCN_Filial, IID_IQVCN_Filial> filial;
    if (HRESULT hr = filial.CreateInstance(CLSID_QVCN_Filial, nullptr, kQVContextoServidor, kFlagsCriacao);
        FAILED(hr))
      return hr;
    const std::u16string texto = WideFromAnsi(std::string_view(m_strEmpresa, m_strEmpresa.GetLength()));
    const BSTR empresa = SysAllocStringLen(texto.data(), static_cast<UINT>(texto.size()));
    HRESULT hr = filial->Inicializa(empresa, m_usUsuario, m_lSessao);
    SysFreeString(empresa);
    if (FAILED(hr)) return hr;
    _REG_CN_PERIODOPS periodo{};
    if (hr = filial->LePeriodoAberto(&periodo); FAILED(hr)) return hr;
    m_usDataInferiorPeriodo = periodo.usDataInferior;
    m_usDataSuperiorPeriodo = periodo.usDataSuperior;
    if (hr = filial->LeParametros(&m_regParametrosFilial); FAILED(hr)) return hr;
  }

  // 2. The user server: the user's permissions and whether the user may do everything.
  CQVComPtr<IQVDF_Usuario, IID_IQVDF_Usuario> usuario;
  if (HRESULT hr = usuario.CreateInstance(CLSID_QVDF_Usuario, nullptr, kQVContextoServidor, kFlagsCriacao); FAILED(hr))
    return hr;
  _REG_DF_INICIALIZA_USUARIOPS sessao{};
  PPCopiaTextoN(sessao.szEmpresa, static_cast<int>(sizeof sessao.szEmpresa), m_strEmpresa);
  sessao.usUsuario = m_usUsuario;
  sessao.lNumeroSessao = m_lSessao;
  if (HRESULT hr = usuario->Inicializa(sessao); FAILED(hr)) return hr;
  if (HRESULT hr = usuario->LePermissoes(m_usUsuario, &m_regUsuario); FAILED(hr)) return hr;
  REGUSU_PS direitos{};
  if (HRESULT hr = usuario->Le(m_usUsuario, &direitos); FAILED(hr)) return hr;
  m_cUsuarioAcessoTotal = direitos.cUsuarioSupervisor != 0 ? 1 : 0;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The settings

HRESULT CPPServidorMestrePP::Le(_REG_VARMO_MESTRE* pRegPS) {
  if (!pRegPS) return E_POINTER;
  std::memset(pRegPS, 0, sizeof *pRegPS);
  CPPArqEx arquivo;
  PPRegistroMestre registro{};
  if (int erro = arquivo.LeRegistro(m_strArquivoPrincipal, 0, &registro, kPPTamanhoRegistroMestre))
    return HResultDoMotor(erro);
  for (const CampoMestre& campo : kCamposMantidos) CopiaParaCOM(campo, registro, *pRegPS);
  for (const CampoMestre& campo : kCamposGravados) CopiaParaCOM(campo, registro, *pRegPS);
  // A table never chosen is the first one.
  if (pRegPS->ulPonteiroTabelaPrecoVendaProduto == 0) pRegPS->ulPonteiroTabelaPrecoVendaProduto = 1;
  if (pRegPS->ulPonteiroTabelaPrecoVendaServico == 0) pRegPS->ulPonteiroTabelaPrecoVendaServico = 1;
  pRegPS->usDataInferiorPeriodo = m_usDataInferiorPeriodo;
  pRegPS->usDataSuperiorPeriodo = m_usDataSuperiorPeriodo;
  return S_OK;
}

HRESULT CPPServidorMestrePP::Grava(_REG_VARMO_MESTRE RegPS) {
  // 1.
  if (!m_bInicializado) return PPErroHResult(kPPErroNaoInicializado);

  // 2. No change without its history.
  CPPHistorico historico;
  const HRESULT hrHistorico = historico.Abre(m_strEmpresa, m_usUsuario, m_lSessao);
  if (FAILED(hrHistorico)) return PPErroHResult(kPPErroAbreHistorico);

  // 3.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return PPErroHResultMotor(erro);

  // 4. The record as it stands.
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(m_strArquivoPrincipal, 'G', kPPTamanhoRegistroMestre, true, true))
    return HResultDoMotor(erro);
  PPRegistroMestre registro{};
  if (int erro = arquivo.Le(0, &registro)) return HResultDoMotor(erro);
  const PPRegistroMestre anterior = registro;

  // 5. What changes, stored -> new.
  CString alteracoes;
  for (const RotuloMestre& rotulo : kRotulos) {
    const int antes = Valor(&anterior, rotulo.campo.usDisco, rotulo.campo.cTamanho, rotulo.bComSinal);
    const int depois = Valor(&RegPS, rotulo.campo.usCOM, rotulo.campo.cTamanho, rotulo.bComSinal);
    if (antes == depois) continue;
    CString texto;
    texto.Format(rotulo.pszRotulo, antes, depois);
    alteracoes += texto;
  }

  // 6, 7. The new values over the stored record.
  for (const CampoMestre& campo : kCamposGravados) CopiaParaDisco(campo, RegPS, registro);
  if (int erro = arquivo.GravaCabecalho(&registro, kPPTamanhoRegistroMestre)) return HResultDoMotor(erro);
  arquivo.Fecha();

  // 8, 9.
  GravaRegistroHistorico(anterior);
  historico.GravaLinha(kPPHistoricoAlteracao, "%s", static_cast<const char*>(alteracoes));
  return hrHistorico;
}

void CPPServidorMestrePP::GravaRegistroHistorico(const PPRegistroMestre& anterior) {
  uint8_t auditoria[sizeof(PPCabecalhoHistorico) + sizeof(PPRegistroMestre)] = {};
  std::memcpy(auditoria + sizeof(PPCabecalhoHistorico), &anterior, sizeof anterior);
  CPPHistorico::GravaRegistro(m_strArquivoPrincipal, m_usUsuario, m_lSessao, 0, auditoria, sizeof auditoria,
                              kPPHistoricoAlteracao, kPPCodigoHistoricoMestre);
}

HRESULT CPPServidorMestrePP::CalculaMesAnoImplantacao() {
  uint16_t usMesAno = 0;
  if (HRESULT hr = LeRelogio([&] { usMesAno = QVGetMesAnoAtual(false); }); FAILED(hr)) return hr;

  // The first month that has orders or requirements, when it is earlier than this one.
  for (const CString& prefixo : {CPPNomesArquivos::PrefixoOP(), CPPNomesArquivos::PrefixoNecessidade()}) {
    const CString diretorioEPrefixo = m_strDiretorio + prefixo;
    for (uint16_t mes = QVDataParaMesAno(QVDataMinima()); mes <= QVDataParaMesAno(QVDataMaxima()); ++mes) {
      if (!QVExisteArquivo(CPPNomesArquivos::MontaNomeArquivoPeriodo(diretorioEPrefixo, mes))) continue;
      if (mes < usMesAno) usMesAno = mes;
      break;
    }
  }

  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(m_strArquivoPrincipal, 'G', kPPTamanhoRegistroMestre, true, true))
    return HResultDoMotor(erro);
  PPRegistroMestre registro{};
  if (int erro = arquivo.Le(0, &registro)) return HResultDoMotor(erro);
  registro.usMesAnoImplantacao = usMesAno;
  if (int erro = arquivo.GravaCabecalho(&registro, kPPTamanhoRegistroMestre)) return HResultDoMotor(erro);
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// The branch lists

HRESULT CPPServidorMestrePP::GravaInfApontExternoFiliais(
    uint16_t usQtd, const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pregInfApontExternoFiliaisPS,
    int32_t* plPntrOut) {
  if (!plPntrOut || (usQtd > 0 && !pregInfApontExternoFiliaisPS)) return E_POINTER;
  // 1. As Grava: the service must be there, though a list writes no line.
  if (!m_bInicializado) return PPErroHResult(kPPErroNaoInicializado);
  CPPHistorico historico;
  if (FAILED(historico.Abre(m_strEmpresa, m_usUsuario, m_lSessao))) return PPErroHResult(kPPErroAbreHistorico);
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return PPErroHResultMotor(erro);

  // 2.
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(m_strArquivoInfApontExternoFiliais, 'G', kPPTamanhoRegistroInfApontExterno, true, true))
    return HResultDoMotor(erro);

  // 3. Appended in order; the first one's number names the list.
  *plPntrOut = 0;
  for (uint16_t i = 0; i < usQtd; ++i) {
    uint8_t registro[kPPTamanhoRegistroInfApontExterno] = {};
    std::memcpy(registro, &pregInfApontExternoFiliaisPS[i], kPPBytesInfApontExterno);
    uint32_t numero = 0;
    if (int erro = arquivo.Grava(registro, &numero)) return HResultDoMotor(erro);
    if (*plPntrOut == 0) *plPntrOut = static_cast<int32_t>(numero);
  }
  return S_OK;
}

HRESULT CPPServidorMestrePP::LeListaInfApontExternoFiliais(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegListaPS) {
  if (!pRegListaPS) return E_POINTER;
  pRegListaPS->usQtdInfApontExternoFilial = 0;
  pRegListaPS->pregLista = nullptr;
  if (!m_bInicializado) return PPErroHResult(kPPErroNaoInicializado);

  CPPArqEx arquivo;
  PPRegistroMestre mestre{};
  if (int erro = arquivo.LeRegistro(m_strArquivoPrincipal, 0, &mestre, kPPTamanhoRegistroMestre))
    return HResultDoMotor(erro);
  // Without invoicing of outside reporting the list means nothing, whatever the settings count.
  if (mestre.cSolicitarFaturamentoApontamentoExterno == 0) return S_OK;

  CPPArqEx lista;
  if (int erro = lista.Abre(m_strArquivoInfApontExternoFiliais, 'L', kPPTamanhoRegistroInfApontExterno, false, true))
    return HResultDoMotor(erro);
  const uint16_t quantidade = mestre.usQtdInfApontExternoFilial;
  if (quantidade == 0) return S_OK;
  auto* entradas = static_cast<_REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS*>(
      CoTaskMemAlloc(quantidade * sizeof(_REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS)));
  if (!entradas) return E_OUTOFMEMORY;
  for (uint16_t i = 0; i < quantidade; ++i) {
    uint8_t registro[kPPTamanhoRegistroInfApontExterno];
    if (int erro = lista.Le(static_cast<uint32_t>(mestre.lPonteiroInfApontExternoFilial) + i, registro)) {
      // Half a list is no list: the caller gets none and nothing to free.
      CoTaskMemFree(entradas);
      return HResultDoMotor(erro);
    }
    std::memset(&entradas[i], 0, sizeof entradas[i]);
    std::memcpy(&entradas[i], registro, kPPBytesInfApontExterno);
  }
  pRegListaPS->usQtdInfApontExternoFilial = quantidade;
  pRegListaPS->pregLista = entradas;
  return S_OK;
}

HRESULT CPPServidorMestrePP::LeInfApontExternoFiliais(uint16_t usPntrFilial,
                                                      _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  _REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS lista{};
  const HRESULT hr = LeListaInfApontExternoFiliais(&lista);
  if (FAILED(hr)) return hr;
  _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* const entradas = lista.pregLista;
  for (uint16_t i = 0; i < lista.usQtdInfApontExternoFilial; ++i) {
    if (entradas[i].usPonteiroFilial != usPntrFilial) continue;
    *pRegPS = entradas[i];
    break;
  }
  CoTaskMemFree(entradas);
  return hr;
}

// ---------------------------------------------------------------------------------------------------
// The version record and the server's clock

HRESULT CPPServidorMestrePP::LeVersao(_REG_PP_VERSAOPS* pregVersao) {
  if (!pregVersao) return E_POINTER;
  if (!m_bInicializado) return PPErroHResult(kPPErroNaoInicializado);
  std::memset(pregVersao, 0, sizeof *pregVersao);
  CPPArqEx arquivo;
  PPRegistroVersao registro{};
  if (int erro = arquivo.LeRegistro(m_strArquivoVersao, kPPRegistroVersao, &registro, kPPTamanhoRegistroVersao))
    return HResultDoMotor(erro);
  // The slots in the record's order, then the family version and the two dates.
  uint16_t valores[kPPQuantidadeGrupos + 3];
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) valores[grupo] = registro.usVersao[grupo];
  valores[kPPQuantidadeGrupos] = registro.usVersaoOrvel;
  valores[kPPQuantidadeGrupos + 1] = registro.usDataCriacao;
  valores[kPPQuantidadeGrupos + 2] = registro.usDataUltimaConversao;
  static_assert(sizeof valores == sizeof(_REG_PP_VERSAOPS));
  std::memcpy(pregVersao, valores, sizeof valores);
  return S_OK;
}

HRESULT CPPServidorMestrePP::BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS) {
  if (!pRegPS) return E_POINTER;
  if (!m_bInicializado) return PPErroHResult(kPPErroNaoInicializado);
  uint16_t usData = 0;
  uint16_t usHora = 0;
  if (HRESULT hr = LeRelogio([&] {
        usData = QVGetDataAtual(false);
        usHora = static_cast<uint16_t>(PPHoraAtualMinutos());
      });
      FAILED(hr))
    return hr;
  pRegPS->usDataAtual = usData;
  pRegPS->usHoraAtual = usHora;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------------
// Whether a product was used

HRESULT CPPServidorMestrePP::ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve,
                                                     uint16_t* iNivelGradeEmUso) {
  if (!bTeve || !iNivelGradeEmUso) return E_POINTER;
  // The handlers only set or raise the answers; what the caller's variables held is no answer.
  *bTeve = 0;
  *iNivelGradeEmUso = 0;

  _REG_VARMO_INICIALIZAPS sessao{};
  PPCopiaTextoN(sessao.szEmpresa, static_cast<int>(sizeof sessao.szEmpresa), m_strEmpresa);
  sessao.usUsuario = m_usUsuario;
  sessao.lNumeroSessao = m_lSessao;

  HRESULT hr = S_OK;
  for (const PassoMovimentacao& passo : kPassosMovimentacao) {
    hr = PPConsultaMovimentacaoProduto(passo.slot, sessao, passo.cInicializarCompleto, lPonteiroProduto, bTeve,
                                       iNivelGradeEmUso);
    if (FAILED(hr)) return hr;
    if (passo.bParaNoNivelMaximo && *iNivelGradeEmUso == kNivelGradeMaximo) break;
  }
  return hr;
}

HRESULT CPPServidorMestrePP::DefineSessao(const _REG_VARMO_INICIALIZAPS& regPS) {
  m_strEmpresa = CString(regPS.szEmpresa, static_cast<int>(sizeof regPS.szEmpresa));
  m_usUsuario = regPS.usUsuario;
  m_lSessao = regPS.lNumeroSessao;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(m_strEmpresa);
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  m_strArquivoPrincipal = m_strDiretorio + CPPNomesArquivos::ArqMestre();
  m_strArquivoInfApontExternoFiliais = m_strDiretorio + CPPNomesArquivos::ArqMestreInfApontExternoFilial();
  m_strArquivoVersao = m_strDiretorio + CPPNomesArquivos::ArqVersao();
  return S_OK;
}

HRESULT CPPServidorMestrePP::ResolveDiarioAtualizacao() { return ResolveDiarioAtualizacao(kPPConversoresVersao); }

HRESULT CPPServidorMestrePP::ResolveDiarioAtualizacao(const PPTabelaConversores& conversores) {
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kPPErroDiretorioEmpresa);
  if (!QVExisteArquivo(PPArquivoDiarioAtualizacao(m_strDiretorio))) return S_OK;
  // A process that still converts holds the lock: the journal is its own until it lets go.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return PPErroHResultMotor(erro);
  return PPResolveDiarioAtualizacao(m_strEmpresa, m_usUsuario, conversores);
}

HRESULT CPPServidorMestrePP::CriaArquivoVersao() {
  int32_t registros = 0;
  if (SUCCEEDED(QVGetQuantidadeRegistrosArquivo(m_strArquivoVersao, kPPTamanhoRegistroVersao, &registros)) &&
      registros >= static_cast<int32_t>(kPPRegistroVersao))
    return S_OK;

  // Two first sessions of a company take turns here, so that record 1 and its audit record are
  // written once; the file is never emptied, so a record another process wrote is kept.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return PPErroHResultMotor(erro);
  CPPArquivoAtualizacao arquivo;
  // The file is made again whenever it is missing, with the targets, so the control file need not
  // watch it.
  arquivo.SetUsaArquivoControle(false);
  if (int erro = arquivo.Abre(m_strArquivoVersao, 'G', kPPTamanhoRegistroVersao, true, true))
    return PPErroHResult(static_cast<uint32_t>(erro));
  if (arquivo.GetQuantidadeRegistros() >= static_cast<int32_t>(kPPRegistroVersao)) return S_OK;

  PPRegistroVersao registro{};
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) registro.usVersao[grupo] = kPPVersoesAlvo[grupo];
  registro.usVersaoOrvel = kPPVersaoOrvel;
  uint16_t hoje = 0;
  if (HRESULT hr = PPDiaAtual(&hoje); FAILED(hr)) return hr;
  registro.usDataCriacao = hoje;
  uint32_t numero = kPPRegistroVersao;
  if (int erro = arquivo.Grava(&registro, &numero)) return PPErroHResult(static_cast<uint32_t>(erro));
  arquivo.Fecha();
  PPGravaHistoricoVersao(m_strArquivoVersao, registro, m_usUsuario, m_lSessao, kPPHistoricoInclusao);
  return S_OK;
}

HRESULT CPPServidorMestrePP::AtualizaVersaoArquivos() { return AtualizaVersaoArquivos(kPPConversoresVersao); }

HRESULT CPPServidorMestrePP::AtualizaVersaoArquivos(const PPTabelaConversores& conversores) {
  if (HRESULT hr = ResolveDiarioAtualizacao(conversores); FAILED(hr)) return hr;

  // 1. The record as it stands.
  CPPArquivoAtualizacao arquivo;
  PPRegistroVersao registro{};
  if (int erro = arquivo.LeRegistro(m_strArquivoVersao, kPPRegistroVersao, &registro, kPPTamanhoRegistroVersao))
    return PPErroHResult(static_cast<uint32_t>(erro));

  // 2. The family's version of the data.
  if (registro.usVersaoOrvel < kPPVersaoOrvel) {
    uint16_t hoje = 0;
    if (HRESULT hr = PPDiaAtual(&hoje); FAILED(hr)) return hr;
    registro.usVersaoOrvel = kPPVersaoOrvel;
    registro.usDataUltimaConversao = hoje;
    uint32_t numero = kPPRegistroVersao;
    if (int erro = arquivo.GravaRegistro(m_strArquivoVersao, &registro, kPPTamanhoRegistroVersao, &numero, true))
      return PPErroHResult(static_cast<uint32_t>(erro));
    PPGravaHistoricoVersao(m_strArquivoVersao, registro, m_usUsuario, 0, kPPHistoricoAlteracao);
  }

  // 3, 4. Nothing to convert, or data newer than the program.
  bool bTodosNoAlvo = true;
  bool bAlgumAcima = false;
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) {
    const uint16_t versao = registro.usVersao[grupo];
    bTodosNoAlvo = bTodosNoAlvo && versao == kPPVersoesAlvo[grupo];
    bAlgumAcima = bAlgumAcima || versao > kPPVersoesAlvo[grupo];
  }
  if (bTodosNoAlvo) return S_OK;
  if (bAlgumAcima) return PPErroHResult(kPPErroVersaoMaisNova);

  // 5. Under the lock, the record again: a process that converted meanwhile has raised the slots.
  CQVArqMarca marca;
  if (int erro = marca.Marca(m_strDiretorio, kPPMarcaMestre)) return PPErroHResultMotor(erro);
  arquivo.InvalidaCache();
  registro = PPRegistroVersao{};
  if (int erro = arquivo.LeRegistro(m_strArquivoVersao, kPPRegistroVersao, &registro, kPPTamanhoRegistroVersao))
    return PPErroHResult(static_cast<uint32_t>(erro));

  // 6. The groups in slot order, each from its version as read; the lock goes with `marca`.
  HRESULT resultado = S_OK;
  for (uint16_t grupo = 0; grupo < kPPQuantidadeGrupos; ++grupo) {
    const uint16_t versao = registro.usVersao[grupo];
    if (versao >= kPPVersoesAlvo[grupo]) continue;
    const PPCriaConversor cria = PPConversorDoGrupo(conversores, grupo);
    if (!cria) return PPErroHResult(kPPErroAtualizacaoVersao);
    resultado = cria()->Executa(m_strEmpresa, m_usUsuario, versao);
    if (FAILED(resultado)) return resultado;
  }
  return resultado;
}
