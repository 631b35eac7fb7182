// The master-settings handler behind QVPP_MestrePP, and the gate of every session: its Inicializa
// runs for every handler whose Inicializa arrives through COM, so that a company's version record
// exists, an interrupted upgrade is resolved, data newer than the program are refused and older
// data files are upgraded (AtualizaVersaoArquivos, CPPAtualizaVersao.h) before any handler opens a
// file; it also reads the session's branch parameters, open period and user rights from the
// family's branch and user servers, which the other handlers then ask it for.
//
// It owns the module's settings of one company: record 0 of "PPMESTRE.DAT" (512 bytes, never
// created here), the per-branch outside-reporting lists of "PPMSIAEF.DAT" (32-byte records, only
// ever appended; the settings name the current run) and the version record "PPVERSAO.DAT". Every
// change of the settings leaves the record as it stood in "PPMESTRE.HIS" and a line of what
// changed at the history service.
//
// The handler keeps the session (company, user, session) and the paths of its three files; no data
// file stays open between calls. The version record changes only at its creation (here), in the
// driver (here) and in CPPAtualizaVersao::AtualizaNumeroVersao. Writers of the settings, of the
// branch lists and the upgrade serialise on entity lock 1 (CQVArqMarca.h) across processes; reads
// take no lock. One object serves one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/family/base/RegistrosCadastros.h"
#include "platform/family/filiais/RegistrosFilial.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"
#include "server/CPPAtualizaVersao.h"
#include "server/PPTextosStatus.h"
#include "server/idl/VarmoFichaTecnicaMestre.h"
#include "server/idl/VarmoRegistrosComuns.h"

// Message numbers of the handler.
constexpr uint32_t kPPErroNaoInicializado = 1585;   // a method called before a successful Inicializa
constexpr uint32_t kPPErroArquivoMestre = 1616;     // "PPMESTRE.DAT" missing
constexpr uint32_t kPPErroAbreHistorico = 1648;     // the history client could not be opened
constexpr uint32_t kPPErroVersaoMaisNova = 1666;    // a group's files are newer than the program

// The entity lock of the master settings and of the upgrade.
constexpr int kPPMarcaMestre = 1;

// The upgrade's converters, one per group that has one, in the order of the groups. Processes (2),
// calendars (7) and sections (8) have none: their files exist only in the current format.
extern const PPTabelaConversores kPPConversoresVersao;

// Record 0 of "PPMESTRE.DAT" as stored; the names are those of _REG_VARMO_MESTRE, whose fields Le
// fills from it.
#pragma pack(push, 1)
struct PPRegistroMestre {
  uint16_t iVersaoSistema;
  uint16_t iQuantidadeTerminais;
  uint16_t iSecaoUso;
  uint16_t iCodigoCliente;
  uint16_t iCodigoClienteEscritorio;
  uint32_t ulPonteiroCalendarioPadrao;
  int32_t lPonteiroCodigoBarras;
  int32_t lPonteiroInfApontExternoFilial;  // first "PPMSIAEF.DAT" record of the current list
  uint16_t usMesAnoImplantacao;            // month number
  uint16_t usQtdInfApontExternoFilial;     // records in the current list
  uint16_t usDataVisualizacao;
  uint8_t cPermiteInsercaoManualNecessidade;
  uint8_t cPermiteCancelarNecessidadeAutomatica;
  uint8_t cGerarNecessidadeAutomatica;
  uint8_t cPermiteItemOPComplemento;
  uint8_t cFormacaoCustoProduto;
  uint8_t cDigitosDataRelatorio;
  uint8_t cUsaDataVisualizacao;
  uint8_t cLiberarItemPedido;
  uint8_t cObrigaInfSupl1;
  uint8_t cObrigaInfSupl2;
  uint8_t cObrigaInfSupl3;
  uint8_t cObrigaNumeroLote;
  uint8_t cSomenteApontarOPComRecursos;
  uint8_t cPermiteAlterarRecursoNoApontamento;
  uint8_t cConsiderarLoteReposicao;
  uint8_t cSolicitarFaturamentoApontamentoExterno;
  uint8_t cImprimirProcessoPagSeparada;
  uint8_t cUtilizarColecaoProjeto;
  uint8_t cUtilizarEtiquetaProcesso;
  uint8_t cPermitirCancelRemessaIndustrializacao;
  uint8_t cPermitirRetornosSemNF;
  uint8_t cExigirMensagemNoEncerramentoForcado;
  uint8_t cImprimirEtiquetaProcessoFinal;
  uint8_t cEmitirRInaOP;
  uint8_t cNaoExecutarPreBaixaNaOP;
  uint8_t cUtilizaCalendarioProducaoComoPadrao;
  uint8_t cUsarVlrUnitFichaTecnicaEmPrevisoes;
  uint8_t cCustearSoProcessoApontado;
  uint8_t cSohApontarAposDefinirRecursos;
  uint8_t cTipoPerdaInsumo;
  uint8_t cTratarInsumoEmbalagem;
  uint8_t cConsiderarComplementoNaDemanda;
  uint8_t cPossuiInfSupl1;
  uint8_t cPossuiInfSupl2;
  uint8_t cPossuiInfSupl3;
  uint8_t cReservado63[441];  // not this server's: Grava keeps it
  uint32_t ulPonteiroTabelaPrecoVendaServico;
  uint32_t ulPonteiroTabelaPrecoVendaProduto;
};
#pragma pack(pop)
static_assert(sizeof(PPRegistroMestre) == 512);
static_assert(offsetof(PPRegistroMestre, ulPonteiroCalendarioPadrao) == 10);
static_assert(offsetof(PPRegistroMestre, lPonteiroCodigoBarras) == 14);
static_assert(offsetof(PPRegistroMestre, lPonteiroInfApontExternoFilial) == 18);
static_assert(offsetof(PPRegistroMestre, usMesAnoImplantacao) == 22);
static_assert(offsetof(PPRegistroMestre, usQtdInfApontExternoFilial) == 24);
static_assert(offsetof(PPRegistroMestre, usDataVisualizacao) == 26);
static_assert(offsetof(PPRegistroMestre, cPermiteInsercaoManualNecessidade) == 28);
static_assert(offsetof(PPRegistroMestre, cLiberarItemPedido) == 35);
static_assert(offsetof(PPRegistroMestre, cObrigaInfSupl1) == 36);
static_assert(offsetof(PPRegistroMestre, cObrigaNumeroLote) == 39);
static_assert(offsetof(PPRegistroMestre, cSomenteApontarOPComRecursos) == 40);
static_assert(offsetof(PPRegistroMestre, cSolicitarFaturamentoApontamentoExterno) == 43);
static_assert(offsetof(PPRegistroMestre, cUsarVlrUnitFichaTecnicaEmPrevisoes) == 54);
static_assert(offsetof(PPRegistroMestre, cCustearSoProcessoApontado) == 55);
static_assert(offsetof(PPRegistroMestre, cSohApontarAposDefinirRecursos) == 56);
static_assert(offsetof(PPRegistroMestre, cTipoPerdaInsumo) == 57);
static_assert(offsetof(PPRegistroMestre, cTratarInsumoEmbalagem) == 58);
static_assert(offsetof(PPRegistroMestre, cConsiderarComplementoNaDemanda) == 59);
static_assert(offsetof(PPRegistroMestre, cPossuiInfSupl1) == 60);
static_assert(offsetof(PPRegistroMestre, cReservado63) == 63);
static_assert(offsetof(PPRegistroMestre, ulPonteiroTabelaPrecoVendaServico) == 504);
static_assert(offsetof(PPRegistroMestre, ulPonteiroTabelaPrecoVendaProduto) == 508);
constexpr uint32_t kPPTamanhoRegistroMestre = sizeof(PPRegistroMestre);

// A record of "PPMSIAEF.DAT": the first 12 bytes of _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS, then
// zeros.
constexpr uint32_t kPPTamanhoRegistroInfApontExterno = 32;
constexpr uint32_t kPPBytesInfApontExterno = 12;

// The code of the settings' audit records in "PPMESTRE.HIS".
constexpr uint16_t kPPCodigoHistoricoMestre = 3;

class CPPServidorMestrePP {
 public:
  CPPServidorMestrePP() = default;
  // Finaliza.
  ~CPPServidorMestrePP();
  CPPServidorMestrePP(const CPPServidorMestrePP&) = delete;
  CPPServidorMestrePP& operator=(const CPPServidorMestrePP&) = delete;

  // ---- The methods of QVPP_MestrePP -------------------------------------------------------------
  // The gate of the session, in this order: Finaliza when initialised already; the session and
  // the paths (975); the journal of an interrupted upgrade; "PPMESTRE.DAT" missing: 1616;
  // CriaArquivoVersao (its result ignored); LeParametrosExternos; the driver (a negative result
  // returned); record 0 of the settings read (the engine's error leaves the handler uninitialised),
  // and CalculaMesAnoImplantacao when it has no month of implantation. Then initialised, with the
  // driver's result.
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS);
  // The settings record field by field, the price tables stored as 0 read as 1 and the open period
  // from the branch server. Works before Inicializa too (reading nothing but a failure then).
  HRESULT Le(_REG_VARMO_MESTRE* pRegPS);
  // Under lock 1: the record as it stood goes to "PPMESTRE.HIS" and a line lists each field that
  // changed, stored -> new. Bytes 0..9, 22..23 and 63..503 keep what is stored. 1648, writing
  // nothing, when the history service cannot be reached; the open's result otherwise.
  HRESULT Grava(_REG_VARMO_MESTRE RegPS);
  // Appends a new branch list under lock 1 and gives the number of its first record (0 for an
  // empty list), which the caller then stores in the settings with Grava. An append that fails
  // ends it: the records already appended stay, unreferenced.
  HRESULT GravaInfApontExternoFiliais(uint16_t usQtd,
                                      const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pregInfApontExternoFiliaisPS,
                                      int32_t* plPntrOut);
  // The current branch list, from the task allocator (the caller frees pregLista with CoTaskMemFree);
  // empty when outside reporting asks for no invoicing. A failure leaves it empty, nothing
  // allocated.
  HRESULT LeListaInfApontExternoFiliais(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegListaPS);
  // The first entry of the current list for the branch; without one the record is left as it came.
  HRESULT LeInfApontExternoFiliais(uint16_t usPntrFilial, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS* pRegPS);
  HRESULT LeVersao(_REG_PP_VERSAOPS* pregVersao);
  // Today's day number and the minute of the day, from the clock with its override.
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS);
  // Asks the handlers of the seam (PPMovimentacaoProduto.h) in turn, each built, initialised with
  // this session, asked and destroyed; the outputs start at 0 and the handlers only set or raise
  // them. Ends at the first negative result, and at level 3 after any of the first three. Needs no
  // Inicializa of its own.
  HRESULT ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivelGradeEmUso);

  // Clears every member: uninitialised, no session, no paths, no parameters.
  void Finaliza();

  // ---- The session and the paths (Inicializa, step 2) -----------------------------------------
  // Copies company (the record's first 24 bytes), user and session from the caller's record, and
  // builds the data directory and the paths of "PPMESTRE.DAT", "PPMSIAEF.DAT", "PPVERSAO.DAT";
  // 975 when the company has no data directory.
  HRESULT DefineSessao(const _REG_VARMO_INICIALIZAPS& regPS);

  // ---- The version record and the upgrade (Inicializa, after the paths) -----------------------
  // Resolves the journal of an interrupted upgrade step, when there is one, under lock 1
  // (PPResolveDiarioAtualizacao); Inicializa calls it right after building the paths, before it
  // looks for "PPMESTRE.DAT" (a master step may have removed it), and AtualizaVersaoArquivos once
  // more before reading the record. 0 when there is none; no lock is taken then.
  HRESULT ResolveDiarioAtualizacao();
  HRESULT ResolveDiarioAtualizacao(const PPTabelaConversores& conversores);
  // Creates "PPVERSAO.DAT" when it is missing, or completes one that holds only its header (its
  // creator died before writing record 1): record 1 with every slot at its target, family version
  // 64 and today as the creation day, then the "I" audit record with the session. Under lock 1 and
  // without truncating: a file that another process has made meanwhile is left as it is. Inicializa
  // goes on whatever this returns; the driver's read of record 1 reports a file still incomplete.
  HRESULT CriaArquivoVersao();
  // The upgrade driver: 0 or a non-negative converter result; 1666 when a group is newer than the
  // program; 1615 when a group below its target has no converter; engine, lock and converter errors.
  // Without a group to convert, no lock is taken.
  HRESULT AtualizaVersaoArquivos();
  HRESULT AtualizaVersaoArquivos(const PPTabelaConversores& conversores);

  // ---- The family's parameters of the session (Inicializa) -----------------------------------
  // The branch server (opened with the company, user and session): the open period and the branch
  // parameters; then the user server: the user's permissions and rights. The first failing call's
  // HRESULT; both interfaces are released on every path.
  HRESULT LeParametrosExternos();
  // The month of implantation: the current month, or the first month with an order-header or
  // requirement period file when that is earlier, written into record 0 without lock or history.
  HRESULT CalculaMesAnoImplantacao();

  // ---- Getters for the other handlers -----------------------------------------------------------
  CString GetArquivoPrincipal() const { return m_strArquivoPrincipal; }
  CString GetArquivoInfApontExternoFiliais() const { return m_strArquivoInfApontExternoFiliais; }
  CString GetArquivoVersao() const { return m_strArquivoVersao; }
  // Production follows the sales orders (branch parameters).
  bool GetIntegraPedidos() const { return m_regParametrosFilial.cIntegraPedidos != 0; }
  // The user's permission of position n; false past the record.
  bool GetPermissaoUsuario(uint16_t usPosicao) const {
    return usPosicao < sizeof m_regUsuario.cPermissao && m_regUsuario.cPermissao[usPosicao] != 0;
  }
  // The whole 1002-byte record; callers copy it.
  const _REG_DF_PERMISSOES_USUARIOPS* GetRegistroUsuario() const { return &m_regUsuario; }
  bool GetUsuarioAcessoTotal() const { return m_cUsuarioAcessoTotal != 0; }

 private:
  // The 530-byte audit record of a change of the settings: the record as it stood.
  void GravaRegistroHistorico(const PPRegistroMestre& anterior);

  // Members in the handler's order.
  bool m_bInicializado = false;
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  int32_t m_lSessao = 0;
  CString m_strArquivoPrincipal;
  CString m_strArquivoInfApontExternoFiliais;
  CString m_strArquivoVersao;
  CString m_strDiretorio;
  uint16_t m_usDataInferiorPeriodo = 0;
  uint16_t m_usDataSuperiorPeriodo = 0;
  _REG_CN_PARAMETROSPS m_regParametrosFilial{};
  _REG_DF_PERMISSOES_USUARIOPS m_regUsuario{};
  uint8_t m_cUsuarioAcessoTotal = 0;
};
