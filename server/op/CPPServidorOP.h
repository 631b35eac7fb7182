// The production-order handler behind the COM class QVPP_OP: orders with their processes, inputs,
// items, resources, images and labels, their reports, shipments for outsourced processing and
// requirements. Everything of one order lies in the period files of the month of its emission
// date (CPPArquivosOP); an order's key is (record in PPOP << 12) | month.
//
// The handler extends the usage checks' base (session, data directory) with the embedded
// master-settings, order-type and production-operation handlers, the history client, the master
// cache and the servers of the family's other modules, created on first use. Every operation but
// the report filter's answers 1585 before Inicializa.
//
// The operations are spread over one source file per area; each area's section below names it.
// One object serves one thread at a time; writers of the order family take the lock of entity 29.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

#include "access/CPPBufferDados.h"
#include "foundation/QVCom.h"
#include "platform/family/base/InterfacesBase.h"
#include "platform/family/estoque/InterfacesEstoque.h"
#include "platform/family/filiais/InterfaceFilial.h"
#include "platform/family/kelmar/CConexaoFornecedor.h"
#include "platform/family/vendas/InterfacePedido.h"
#include "server/CPPHistorico.h"
#include "server/CPPServidorMestrePP.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/cadastros/CPPServidorTipoOP.h"
#include "server/idl/VarmoOP.h"
#include "server/idl/VarmoOPApontamento.h"
#include "server/idl/VarmoOPIndustrializacao.h"
#include "server/op/CPPServidorOPUso.h"
#include "server/op/PPRegistrosOP.h"

class CPPArquivosOP;
class CPPServidorRecursos;

// The period files that single operations open outside the file set, one per prefix.
enum class PPArquivoPeriodoOP {
  OP, PR, MT, RP, AP, AS, AR, RI, ME, LT, IT, NC, IE, RM, IR, ID, PE, EE, TI, IO, UP, TA, NF
};

class CPPServidorOP : public CPPServidorOPUso {
 public:
  CPPServidorOP() = default;
  ~CPPServidorOP();

  // ---- Session, filter and paths (CPPServidorOP.cpp) ----------------------------------------------
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS);
  HRESULT Finaliza();
  HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS);
  HRESULT LimpaFiltro();
  // data directory + prefix + MMAA + ".DAT"
  CString CaminhoArquivo(PPArquivoPeriodoOP arquivo, uint16_t usMesAno) const;
  const CString& GetEmpresa() const { return m_strEmpresa; }
  uint16_t GetUsuario() const { return m_usUsuario; }
  int32_t GetNumeroSessao() const { return m_lSessao; }
  const CString& GetDiretorio() const { return m_strDiretorio; }
  bool EstaInicializado() const { return m_cInicializado != 0; }
  // What Inicializa read and built, for the other areas and the tests.
  const _REG_VARMO_MESTRE& GetMestre() const { return m_regMestre; }
  const _REG_VARMO_FILTROPS& GetFiltro() const { return m_regFiltro; }
  const std::vector<int32_t>& GetTiposOPPermitidos() const { return m_tiposOPPermitidos; }
  bool TipoOPInicializado() const { return m_tipoOP.EstaInicializado(); }
  bool OperacaoProducaoInicializada() const { return m_operacaoProducao.EstaInicializado(); }
  bool HistoricoAberto() const { return m_historico.EstaAberto(); }

  // ---- Reading and lists (CPPServidorOPLeitura.cpp) -----------------------------------------------
  // The searches list, month then record, the keys of the orders whose emission date lies between
  // the two days (both included) and that pass the order filter of SetFiltro; a start after the
  // end lists nothing. With the filter's initialisation key (usTipoChaveInicializacao 2: a report
  // key, 1: a shipment key) only the orders that it pre-selects pass, whatever the other fields;
  // without it a removed order never passes, nor an order of a branch that the user may not see,
  // nor, with cVerificarDefinicaoRecursos and the master setting cSohApontarAposDefinirRecursos,
  // one without all its resources defined. The filter's client and sales order ask the sales-order
  // server, and let nothing pass while the branch does not integrate sales orders. Keys go to a
  // new array of the task allocator (none for an empty list).
  // BuscaPonteiros: from usDataVisualizacao (when the master settings use it) or
  // usDataInferiorPeriodo, to usDataSuperiorPeriodo. BuscaPonteirosPeriodo raises the start to
  // usDataVisualizacao when the settings use it. BuscaPonteirosFiltro searches with the given
  // filter and puts the stored one back.
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaPonteirosPeriodo(uint16_t usDataInicial, uint16_t usDataFinal, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaPonteirosFiltro(_REG_VARMO_FILTROPS RegPS, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  // usTipoLeitura of LePonteiros: besides the header and its batch number, the process array for
  // any of kLeProcessos (each process with its detail text and the lists of these bits), the items,
  // the header's texts. The reports of a process that receives reports and has no simple reports
  // are read for any of kLeApontamentos, through the process's report reader, which takes the bits
  // as its read kind. A list not read has count 0 and no array.
  static constexpr uint16_t kLeProcessos = 0x1FE7;
  static constexpr uint16_t kLeInsumos = 0x2;
  static constexpr uint16_t kLeApontamentosSimples = 0x4;
  static constexpr uint16_t kLeItens = 0x8;
  static constexpr uint16_t kLeTextos = 0x10;
  static constexpr uint16_t kLeApontamentos = 0x1360;
  static constexpr uint16_t kLeRecursos = 0x80;
  static constexpr uint16_t kLeImagens = 0x400;
  static constexpr uint16_t kLeEtiquetas = 0x800;
  // The orders of the keys into the caller's lQtd records, zeroed first, nested arrays from the
  // task allocator. Items: usIdxItemOP their index from 0; the order's branch where the item has
  // none; a requirement's item (type 2) takes the requirement's branch, emission date and
  // generating order's key; a sales-order item (type 3), while the branch integrates sales orders,
  // the sales order's client, branch, city, emission date, purchase-order text and the item's
  // delivery date. 1616 for a key whose month has no order file, 1586 for a removed order; the
  // first failure ends the reading: the records before it stay filled, the failing one is emptied.
  HRESULT LePonteiros(uint32_t lQtd, const uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS, uint16_t usTipoLeitura);
  // Headers only (no texts, no arrays), with ulChaveOP and lPonteiroOP; the same answers.
  HRESULT LePonteirosSomenteCabecalho(uint32_t lQtd, const uint32_t* plPntrs, _REG_VARMO_OPPS* pRegPS);
  // Key 0: an empty record and 0.
  HRESULT LeCabecalhoOP(uint32_t lPntr, _REG_VARMO_OPPS* pRegPS);
  // The items of an order in situation 1 or 2 that a forced closing has not ended and that still
  // owe programmed - produced - lost - cancelled > 0 (in vQuantidadeSaldo), read as LePonteiros
  // reads them. Key 0 or another situation: an empty list.
  HRESULT LeItensPendentesOP(uint32_t lPntr, REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS);
  // The caller's usQtd output entries: the input sorted by source (lPonteiroPedidoNecessidade),
  // each with vQuantidade the source's open balance or 0: a sales-order item (type 3, while the
  // branch integrates sales orders) its quantity - served - cancelled - programmed; a requirement
  // (type 2) its requested - programmed - cancelled quantity.
  HRESULT BuscaSaldoItemOP(uint16_t usQtd, const _REG_VARMO_SALDO_ITEM_OPPS* pRegPSIn,
                           _REG_VARMO_SALDO_ITEM_OPPS* pRegPSOut);

  // ---- Saving and issuing (CPPServidorOPGravacao.cpp) ---------------------------------------------
  // lPntrIn 0 creates an order, filed in the month of its emission date (today when 0) and numbered
  // by its type; else it is the key of the order to rewrite, which stays in its key's month and
  // appends new runs. *plPntrOut holds the key once the header is written; the follow-up steps
  // (item integration, requirement link, situation, reservations, requisition, replication) run
  // after it. bMarca 1 takes the order lock for all of it; a replica of a limited order is saved
  // inside the lock already held.
  HRESULT GravaOP(uint32_t lPntrIn, _REG_VARMO_OPPS RegPS, uint32_t* plPntrOut, uint8_t bMarca);

  // ---- Internal requisition, replication of a limited order, labels (CPPServidorOPEmissao.cpp) ----
  // Issues labels of one label of one process under the order lock: one PPEE record and one entry
  // of the list per label, then the label's issued count raised. The quantity asked, or (0) what is
  // left of the label's total, signed: none left, or more issued than the total, answers 1701. A
  // list that cannot be allocated answers E_OUTOFMEMORY before anything is written. 1592 for an
  // order in 61, 62 or 99; 1649 for one emitted outside the open period; 1587 for an index outside
  // the order's processes or the process's labels.
  HRESULT EmitirEtiquetas(_REG_PP_EMITIR_ETIQUETA_OPPS reg, _REG_PP_LISTA_ETIQUETA_EMITIDAPS* pLista);
  // The keys of the last replication's orders, once: the list is emptied when they are handed over.
  HRESULT BuscaChavesReplicacao(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS);

  // ---- Situation and reservations (CPPServidorOPSituacao.cpp) -------------------------------------
  // The callers hold the order lock; the rules are stated at the top of the source file. An order
  // in 62 or 99 is left as it is, with its processes; its reservations are dropped, none recorded.
  // A key without record number answers 1587, a month without order file 16055, a removed order
  // 1586.
  // The situation of the process lPonteiroProcesso (1587 when the order has none) and of every
  // receiving process after it, then AtualizaSituacaoOP. bSeguinte marks a call made for a following
  // process of a chain; the walk covers the whole rest of the run either way, so it changes nothing.
  HRESULT AtualizaSituacaoProcesso(uint32_t ulChaveOP, int32_t lPonteiroProcesso, uint8_t bSeguinte);
  // The order's situation, start, conclusion and cTodosRecursosDefinidos from its processes; a
  // concluded order concludes (50) every process not yet concluded.
  HRESULT AtualizaSituacaoOP(uint32_t ulChaveOP);
  // Drops the order's reservations in the inventory server (RemoveReservas) and records them anew
  // (GravaReservas) unless cNaoExecutarPreBaixaNaOP is set or the order is in 49, 50, 62 or 99.
  // Without inventory server, the HRESULT of its creation.
  HRESULT AtualizaReservasOP(uint32_t ulChaveOP);
  // Function 1 only (else 0x80040001): under the order lock, AtualizaSituacaoProcesso(key, process,
  // 0) and then AtualizaReservasOP(key), from the payload's first 8 bytes (order key, process
  // pointer); a payload under 8 bytes, or none, answers 0x80040001 without reading it.
  HRESULT FuncaoGenerica(uint32_t lFuncao, const _REG_FUNCAO_GENERICA_VARMO& regIn);

  // ---- Outside servers, shipments, server information (CPPServidorOPRemessa.cpp) -----------------
  // Created on first use by class identifier, initialised with the session and kept in m_pedido,
  // m_movimento, m_mensagem, m_filial until Finaliza, which lets go of them (CQVComPtr::Release).
  // Null when the server cannot be had, with the creation's or the initialisation's HRESULT in *phr
  // (a server whose initialisation fails is not kept, so the next call tries again); S_OK there
  // otherwise. The sales-order server also null while the branch does not integrate sales orders:
  // E_NOINTERFACE then. The caller does not release the result, and answers *phr instead of calling
  // through null.
  IQVFT_Pedido* GetIPedido(HRESULT* phr);
  IQVES_Movimento* GetIMovimento(HRESULT* phr);
  IQVDF_Mensagem* GetIMensagem(HRESULT* phr);
  IQVCN_Filial* GetIFilial(HRESULT* phr);
  //
  // Shipments lie in PPRM of a month (key: (record << 12) | month), their inputs in a run of PPIR
  // and the inputs' descriptions in PPID. A key without record, or of a month outside 949..2148,
  // answers 1587 (1591 in AtualizaRemessaFT); a month without shipments answers as a record past
  // the end (16021) and gets no files. The writers of a report (GravaRemessaIndustrializacao,
  // VinculaRemessaApontamento, CancelaRemessaIndustrializacao) run inside the caller's order lock.
  //
  // cTipoLeitura bit of the readers: the inputs with their descriptions (pregRemessaInsumo, from
  // the task allocator); without it the array is null and usQtdInsumos still the stored count.
  static constexpr uint8_t kLeInsumosRemessa = 0x01;
  // Appends the inputs (each description into PPID: a failure there answers 1590) and then the
  // shipment, not removed, to the files of usMesAno; *pulChave its key.
  HRESULT GravaRemessaIndustrializacao(const _REG_PP_REMESSA_INDUSTRIALIZACAOPS& reg, uint16_t usMesAno,
                                       uint32_t* pulChave);
  // The shipment's ulChaveApontamentoOP; 1586 for a cancelled shipment.
  HRESULT VinculaRemessaApontamento(uint32_t ulChaveApontamento, uint32_t ulChaveRemessa);
  // Marks the shipment removed; an invoiced one (state 2 or 4) only under the master setting
  // cPermitirCancelRemessaIndustrializacao, and then in state 16; else 1680, nothing written.
  HRESULT CancelaRemessaIndustrializacao(uint32_t ulChaveRemessa);
  // arquivos: a set already open on the key's month with PPRM, PPIR and PPID, or null (the files
  // are opened read-only here). 1586 for a cancelled shipment.
  HRESULT LeRemessaIndustrializacao(uint32_t ulChaveRemessa, _REG_PP_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                    CPPArquivosOP* arquivos, uint8_t cTipoLeitura);
  // The shipments not cancelled, in month and record order, from month 949 (or from the month of
  // usDataVisualizacao when the master settings use it and it is day 950 or later) to 2148; the
  // filter's non-zero fields must match, the emission (date, time) lie in its window (a zero date
  // leaves that side open, both bounds inclusive), and cSomenteNaoFaturados keeps state 1 only.
  // On failure the list stays empty and nothing stays allocated.
  HRESULT BuscaRemessaIndustrializacao(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS, uint8_t cTipoLeitura);
  HRESULT BuscaRemessaIndustrializacaoFiltro(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS* regOutPS,
                                             _REG_PP_REMESSA_FILTROPS regFiltro, uint8_t cTipoLeitura);
  // Under the order lock, entry by entry, the first failure ending it: the invoicing module's
  // state 2 or 4 (4 also puts the invoice into the report's lPonteiroNotaFiscalSaida) or 8 (the
  // invoice cancelled: the shipment stays in 8 while its report has returns, else it goes back to
  // 1 and the invoice leaves both records). 1591 for a shipment key, or the shipment's report key,
  // without record or month (or a report of another month); 1589 without invoice key or for any
  // other state; 1586 for a cancelled shipment; a month whose PPRM or PPAP does not exist answers
  // 16021 and gets none.
  HRESULT AtualizaRemessaFT(int32_t lQtd, const _REG_PP_RETORNO_REMESSA_FTPS* pregRetornoFTPS);
  // Today and the minute of the day from the clock with its override.
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS* pRegPS);
  // Bit 0 of cTipoVerificacao: cExiste 1 when a report of the order key's month, not removed,
  // belongs to that order and carries lPonteiroNotaFiscalSaida as its outgoing invoice.
  HRESULT FazVerificacao(_REG_PP_OP_VERIFICACAO_INPS regIn, _REG_PP_OP_VERIFICACAO_OUTPS* pregOut);
  // The hours the resource still owes the order: Q = the items' programmed - cancelled; for each
  // process not in 50 that plans the resource, (Q - its reports' quantity, removed reports left
  // out) / (capacity x the resource's efficiency / 100), plus the resource's setup while the
  // process is in 1; a process of capacity (or a resource of efficiency) 0 adds nothing.
  HRESULT CalcularSaldoHorasRecursoOP(uint32_t ulRecurso, uint32_t ulChaveOP, _REG_PP_OP_TEMPOPS* pvSaldoRecurso);

  // ---- Single reports (CPPServidorOPApontamentoLeitura.cpp) ---------------------------------------
  // The report filter is kept whole or zeroed, also before Inicializa. LeApontamento reads the report
  // of a key (record << 12 | month; 1591 without either) with its two texts, and by usTipoLeitura:
  // 0x2 its returns (their movements under 0x4 or 0x10), 0x4 its entry movements (none while the
  // entry is pending), stock movements and scrap entry from PPME/PPLT, 0x10 the same from the stock
  // server (0x4 clear), 0x8 or 0x40 its resources and resources not reported (0x40 with their
  // operations), 0x20 its shipment, 0x8000 a pending entry's stored movements; a list not read has
  // count 0. A missing month or record answers 16021 and creates nothing. A failure leaves what was
  // given to the record for the caller to free; LePonteirosApontamento stops at the first one. The
  // reports of a process (or only the outsourced ones) come through LeApontamentosDoProcesso with
  // every read kind; an order without the process has none, a month without PPOP answers 1616.
  HRESULT SetFiltroApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS RegPS);
  HRESULT LimpaFiltroApontamento();
  HRESULT LeApontamento(uint32_t ulChave, _REG_VARMO_OP_APONTAMENTO* pRegPS, CPPArquivosOP* arquivos,
                        uint16_t usTipoLeitura);
  HRESULT LePonteirosApontamento(uint32_t ulQtd, const uint32_t* pulPonteiros,
                                 _REG_VARMO_OP_APONTAMENTO* pregApontamentosps, CPPArquivosOP* arquivos,
                                 uint16_t usTipoLeituraApontamento);
  HRESULT LeApontamentosProcesso(uint32_t lPntrOP, int32_t lPntrProcesso, _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS);
  HRESULT LeApontamentosProcessoTerceirizado(uint32_t lPntrOP, int32_t lPntrProcesso,
                                             _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS);
  // What the searches of reports build on. A report passes the stored report filter when it is not
  // removed, the user may see its order's branch, and it meets each non-zero field of the filter
  // but lPonteiroOperacao and lPonteiroMotivoRefugo; op is its order's header (same month).
  bool ConfereFiltroApontamento(uint32_t ulChaveApontamento, const PPDiscoApontamento& apontamento,
                                const PPDiscoOP& op) const;
  // visita(key, report, its order's header) for each report of the month open in arquivos (PPOP
  // and PPAP), records 1 .. count in order, that passes the filter; an order's header is read
  // again only when the next report names another order. An answer other than S_OK ends the scan
  // with itself, a read error with its code.
  using PPVisitaApontamento = std::function<HRESULT(uint32_t, const PPDiscoApontamento&, const PPDiscoOP&)>;
  HRESULT PercorreApontamentosMes(CPPArquivosOP& arquivos, const PPVisitaApontamento& visita);
  // visita(set, month) for each month with a PPAP file, in ascending order: the months of the open
  // period, or lChaveOP's month alone when it is not 0. Each month is opened read-only in arquivos,
  // or, when it is null, in a set of the files lBits built for the walk and finalised on every exit.
  // A month that cannot be opened, or an answer other than S_OK, ends the walk with itself.
  using PPVisitaMesApontamento = std::function<HRESULT(CPPArquivosOP&, uint16_t)>;
  HRESULT PercorreMesesApontamento(CPPArquivosOP* arquivos, uint32_t lBits, uint32_t lChaveOP,
                                   const PPVisitaMesApontamento& visita);

  // ---- Reporting (CPPServidorOPApontamento.cpp) ---------------------------------------------------
  // Records one report of one process of an order (the report key, (record in PPAP << 12) |
  // month, into *plPntrOut); cTravar 1 takes the order lock for the whole operation, 0 runs inside
  // a lock the caller holds. Every refusal (1585, 1591 for an order key without month or record,
  // 1587 for a list without its array, 1596, 1604, 1592, 1690, 1723, 1595, 1587 for a process that
  // is not a receiving process of the order, the lock's number) comes before the first write and
  // makes no file. After each posting step (consumption, entries with the release, scrap) the
  // report is rewritten with the runs stored so far, also before a failure is returned; nothing
  // written is undone. Offset 172 is 1 only when the sales server answered that it released.
  HRESULT GravaApontamento(_REG_VARMO_OP_APONTAMENTO RegPS, uint32_t* plPntrOut, uint8_t cTravar);
  // The balance CalculaSaldoProcesso gives for the item and process of the key, without the lock;
  // *pRegPS zeroed first and filled only on success.
  HRESULT BuscaSaldoParaApontamento(_REG_PP_KEY_ITEM_APONTAMENTOPS regKey, _REG_PP_SALDO_PROCESSOPS* pRegPS);
  // What has been reported around the report's process (lPonteiroOP, lPonteiroProcesso: the first
  // receiving process of that pointer) and what is left of its item (cTipoItem,
  // lPonteiroPedidoNecessidade, usIdxItemPedido; only on the order's last process); reset first.
  // Reports already stored count net of their scrap; removed ones do not count. Reads only and
  // makes no file; 1591 for a key without month or record, 1587 when the order has no receiving
  // process of the pointer.
  struct SaldoProcesso {
    CY vApontadoAnterior, vApontadoAtual, vApontadoPosterior;
    CY vRefugoAnterior, vRefugoAtual, vRefugoPosterior;
    CY vQuantidadeProgramada;
    CY vSaldoItem;
    uint32_t ulProcessoAnterior, ulProcessoAtual, ulProcessoPosterior;
    uint8_t cPrimeiroProcesso, cUltimoProcesso, cSituacaoProcessoAnterior, cHouveEncerramentoForcado;
  };
  HRESULT CalculaSaldoProcesso(const _REG_VARMO_OP_APONTAMENTO& reg, SaldoProcesso* pSaldo);

  // ---- Report queries (CPPServidorOPApontamentoBusca.cpp) -----------------------------------------
  // Read only, no lock. Keys and lists go to new arrays of the task allocator (none when nothing
  // matches); arquivos null: the scan opens its own files.
  HRESULT BuscaPonteirosApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS RegPS, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS,
                                    CPPArquivosOP* arquivos);
  HRESULT BuscaApontamentos(_REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS, CPPArquivosOP* arquivos, uint16_t usTipoLeitura);
  HRESULT BuscaApontamentosRecursos(_REG_PP_FILTRO_APONTAMENTO_RECURSOPS regFiltro,
                                    _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS* pRegPS);
  HRESULT BuscaApontamentosRecursoPeriodo(_REG_PP_DISPONIBILIDADE_RECURSOPS regDisponibilidade,
                                          _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaOPGeradoraDaEntrada(_REG_PP_ENTRADA_PRODUCAOPS regEntrada, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaOPConsumidoraInsumo(_REG_PP_ENTRADA_PRODUCAOPS regEntrada, _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);

  // ---- Reversal of reports (CPPServidorOPRemocao.cpp) ---------------------------------------------
  // bMarca 1 takes the order lock for the whole removal; 0 runs inside the caller's.
  HRESULT RemoveApontamento(uint32_t ulChave, uint8_t bMarca);
  HRESULT RemoveApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg,
                                                   uint8_t bMarca);
  HRESULT LeRetornosIndustExterna(uint32_t ulChave, _REG_VARMO_LISTA_RETORNO_IND_EXTPS* pRegPS);

  // ---- Returns from outsourced processing (CPPServidorOPRetorno.cpp) ------------------------------
  // One return of an outsourced report recorded; *pulPntrOut the PPRI record of the new return.
  // cTravar 1 takes the order lock; 0 runs inside the caller's (the transit's automatic return).
  HRESULT GravaApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS reg,
                                                  uint32_t* pulPntrOut, uint8_t cTravar);

  // ---- Pending invoices and entries (CPPServidorOPPendencias.cpp) ---------------------------------
  HRESULT BuscaListaRetornoNFPendente(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS* pRegPS);
  HRESULT VincularNFRetorno(_REG_PP_VINCULO_RETORNO_NF_PENDENTEPS reg);
  // arquivos: a set the caller holds open, or null.
  HRESULT GravaEntradasPendentes(_REG_VARMO_OP_APONTAMENTO reg, CPPArquivosOP* arquivos);

  // ---- Valuation of production entries (CPPServidorOPValorEntrada.cpp) ----------------------------
  // Read only. arquivos: the caller's set open read-only on the order's month, or null.
  HRESULT CalcularValorEntrada(_REG_VARMO_VALOR_ENTRADA_INPS regIn, _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut,
                               CPPArquivosOP* arquivos);
  HRESULT CalcularValorRecursosNaoApontados(_REG_VARMO_VALOR_ENTRADA_INPS regIn,
                                            _REG_VARMO_VALOR_ENTRADA_OUTPS* pRegOut);

  // ---- Cancelling and interrupting orders (CPPServidorOPCancelamento.cpp) -------------------------
  // bMarca 1 takes the order lock; 0 runs inside the caller's (a report's removal).
  HRESULT Cancela(uint32_t ulQtd, const uint32_t* plPonteiros, uint8_t bMarca);
  HRESULT InterromperOP(uint32_t ulChaveOP, BSTR bsObservacao);

  // ---- Requirements (CPPServidorOPNecessidade.cpp) ------------------------------------------------
  // bMarca 1 takes the order lock for the whole operation; 0 runs inside the caller's.
  HRESULT GravaNecessidade(uint32_t ulChave, _REG_VARMO_OP_NECESSIDADE RegPS, uint32_t* pulChave, uint8_t bMarca);
  HRESULT CancelaNecessidade(uint32_t ulChave, uint8_t bMarca);
  HRESULT AgruparNecessidades(_REG_VARMO_PONTEIROS_ULONGPS RegPS, uint32_t* pulChave);
  HRESULT LeNecessidade(uint32_t ulChave, _REG_VARMO_OP_NECESSIDADE* pRegPS);
  HRESULT LePonteirosNecessidades(uint32_t ulQtd, const uint32_t* pulChaves, _REG_VARMO_OP_NECESSIDADE* pRegPS);
  HRESULT BuscaPonteirosNecessidades(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaPonteirosNecessidadesPeriodo(uint16_t usDataInicial, uint16_t usDataFinal,
                                            _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  HRESULT BuscaQtdsNecessarias(_REG_PP_FILTRO_QTDS_NECESSARIASPS regFiltro, _REG_VARMO_LISTA_QTDS_NECESSARIASPS* pRegPS);
  HRESULT BuscaListaDadoPedido(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS regKey, REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS* pRegPS);

 private:
  // ---- Session (CPPServidorOP.cpp) ----------------------------------------------------------------
  HRESULT InicializaCompleto(const _REG_VARMO_INICIALIZAPS& regPS);

  uint8_t m_cTrabalho1 = 0;  // work flags of the reporting operations
  uint8_t m_cTrabalho2 = 0;  // set: LePonteiros reads the reports of receiving processes always
  _REG_VARMO_FILTROPS m_regFiltro{};
  _REG_VARMO_FILTRO_APONTAMENTOPS m_regFiltroApontamento{};
  CPPServidorMestrePP m_mestre;
  CPPServidorTipoOP m_tipoOP;
  CPPServidorOperacaoProducao m_operacaoProducao;
  CPPHistorico m_historico;
  CPPBufferDados m_buffer;
  _REG_VARMO_MESTRE m_regMestre{};
  CQVComPtr<IQVFT_Pedido, IID_IQVFT_Pedido> m_pedido;
  CQVComPtr<IQVES_Movimento, IID_IQVES_Movimento> m_movimento;
  CQVComPtr<IQVDF_Mensagem, IID_IQVDF_Mensagem> m_mensagem;
  CQVComPtr<IQVCN_Filial, IID_IQVCN_Filial> m_filial;
  CConexaoFornecedor m_fornecedor;  // suppliers of outsourced reports; initialised on first use
  std::vector<int32_t> m_tiposOPPermitidos;  // the order types the session's user may use
  std::unordered_set<uint32_t> m_preSelecao;  // order keys pre-selected by the filter's initialisation key
  std::vector<uint32_t> m_chavesReplicacao;   // orders made by the last replication of a limited order

  // ---- Reading (CPPServidorOPLeitura.cpp) ---------------------------------------------------------
  // One search or reading: the order filter with its pre-selection, and the readers of an order's
  // parts.
  class Leitura;

  // ---- Saving (CPPServidorOPGravacao.cpp) ---------------------------------------------------------
  // One GravaOP: the state that its steps share, and the steps.
  class Gravacao;

  // ---- Issuing (CPPServidorOPEmissao.cpp) ---------------------------------------------------------
  // The post-save steps of GravaOP, run inside the order lock after the file set is closed.
  // The internal requisition of the saved order's inputs, read back from its files: made only with
  // the master setting cEmitirRInaOP, in situation 1 and with a requester, and only when the order
  // names none or one whose main status is 3 (cancelled); its key goes into the header.
  HRESULT GeraRequisicaoInternaOP(uint32_t ulChaveOP);
  // The replicas of a new limited order, from the record given to GravaOP (its one item) and the
  // key it was saved under: each a new order of the same emission date as stored, saved with
  // GravaOP(0, copy, &key, 0) without the limited-quantity flag, until the item's
  // vQuantidadeReplicada - vQuantidadeProgramada is used up; their keys replace m_chavesReplicacao.
  // Each takes at most the replenishment batch (a product with cConsiderarLoteReposicao) when it is
  // positive, else the item's programmed quantity when positive, else all that remains.
  HRESULT ReplicaOPLimitada(const _REG_VARMO_OPPS& regPS, uint32_t ulChaveOP);

  // ---- Situation (CPPServidorOPSituacao.cpp) ------------------------------------------------------
  // The situation and dates of process lPonteiroProcesso and of every receiving process after it,
  // in the month open in arquivos (order, items, processes, reports, returns, report lists).
  HRESULT AtualizaSituacaoProcessos(CPPArquivosOP& arquivos, uint32_t ulRegistroOP, const PPDiscoOP& op,
                                    int32_t lPonteiroProcesso);
  // The order's header, and the reservations it is to hold (none when it is to hold none).
  HRESULT CalculaReservasOP(uint32_t ulChaveOP, PPDiscoOP& op, std::vector<_REG_ES_RESERVAPS>& reservas);

  // ---- Shipments (CPPServidorOPRemessa.cpp) -------------------------------------------------------
  // LePonteiros' bits for CalcularSaldoHorasRecursoOP: processes, items, reports, resources.
  static constexpr uint16_t kLeituraSaldoHoras = 0xA9;
  // Reads the shipment of the key (PPRM opened for writing), lets altera change it or refuse, and
  // rewrites it.
  template <class Altera>
  HRESULT AlteraRemessa(uint32_t ulChaveRemessa, Altera altera);
  // One entry of AtualizaRemessaFT on the loop's set.
  HRESULT AtualizaRemessaFT(CPPArquivosOP& arquivos, const _REG_PP_RETORNO_REMESSA_FTPS& retorno);

  // ---- Single reports (CPPServidorOPApontamentoLeitura.cpp) ---------------------------------------
  // The reports of one process of an order (ulChaveOP, its header op and the process's record
  // processo, all of the month open in arquivos): the process's report index (PPRA run) in order,
  // each report that passes ConfereFiltroApontamento under a filter holding only the order, the
  // process's pointer and, with cTerceirizado, cProcessoExterno (the stored filter is restored on
  // every path), read by LeApontamento into a new array of pRegPS (zeroed first; on failure freed
  // again and zeroed). usTipoLeitura carries LePonteiros' bits and is translated: always 0x23,
  // plus 0x8 for bit 8 or 12, 0x40 for bit 12, 0x4 for bit 6, 0x10 for bit 9. arquivos needs
  // the bits of kArquivosApontamento open on the month.
  static constexpr uint32_t kArquivosApontamento = 0x7583D05;  // OP PR AP RI AR ME LT RM IR IE ID RA AO
  HRESULT LeApontamentosDoProcesso(CPPArquivosOP& arquivos, uint32_t ulChaveOP, const PPDiscoOP& op,
                                   const PPDiscoProcesso& processo, uint8_t cTerceirizado,
                                   uint16_t usTipoLeitura, _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS);

  // The report record as COM (zeroed first): its fields, its key and its order's key from the
  // month, the forced-closure reason's text offset; its counts as stored, lists and texts unread.
  static void CopiaApontamento(const PPDiscoApontamento& apontamento, uint16_t usMesAno, uint32_t ulRegistro,
                               _REG_VARMO_OP_APONTAMENTO* pRegPS);
  // A resource report as COM (zeroed first), without its operations.
  static void CopiaApontamentoRecurso(const PPDiscoApontamentoRecurso& recurso, _REG_PP_APONTAMENTO_RECURSOPS* pRegPS);
  // A stock movement of a report as the readers keep it: its PPME record and its batch (PPLT,
  // zero when the movement has none), both of the month open in arquivos.
  struct PPMovimentoLote {
    PPDiscoMovimento movimento;
    PPDiscoLote lote;
  };
  static HRESULT MontaMovimentoLote(CPPArquivosOP& arquivos, const PPDiscoMovimento& movimento,
                                    PPMovimentoLote* pMovimento);
  // The inventory's record of the movement (zeroed first), lPosicao being its number in the stock.
  static void CopiaMovimento(const PPMovimentoLote& movimento, _REG_ES_MOVIMENTOPS* pRegPS);
  // The operations of a resource report (PPAO run) into pregOperacoes, each with its counter,
  // quantity, interval and detail: at most one of each, read when its cAponta byte is set. Each
  // entry reader gives a new one-element array, or null; a failure leaves nothing allocated.
  static HRESULT LeOperacoesApontamentoRecurso(CPPArquivosOP& arquivos, const PPDiscoApontamentoRecurso& recurso,
                                               _REG_PP_APONTAMENTO_RECURSOPS* pRegPS);
  static HRESULT LeContadoresOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                      _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS** ppRegPS);
  static HRESULT LeQuantidadesOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                       _REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS** ppRegPS);
  static HRESULT LeIntervalosOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                      _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS** ppRegPS);
  static HRESULT LeDetalhesOperacao(CPPArquivosOP& arquivos, const PPDiscoOperacaoRecurso& operacao,
                                    _REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS** ppRegPS);

  // Where LeApontamento takes a report's movements from (read-kind bits 2 and 4).
  enum class PPOrigemMovimento { Nenhuma, Disco, Estoque };
  // LeApontamento's steps, on a set that holds the key's month. Every list that is not read keeps
  // count 0; a list is given to the record with its count as soon as it is allocated, so that on
  // a failure the record holds what the release routines free.
  HRESULT LeApontamentoNoConjunto(CPPArquivosOP& arquivos, uint32_t ulChave, uint16_t usTipoLeitura,
                                  _REG_VARMO_OP_APONTAMENTO* pRegPS);
  HRESULT LeRetornosApontamento(CPPArquivosOP& arquivos, const PPDiscoApontamento& apontamento,
                                PPOrigemMovimento origem, _REG_VARMO_OP_APONTAMENTO* pRegPS);
  HRESULT MontaRetorno(CPPArquivosOP& arquivos, const PPDiscoRetorno& retorno, PPOrigemMovimento origem,
                       _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS* pRegPS);
  // bPendentes (bit 15): without entry movements read, those of a pending entry, from the disk.
  HRESULT LeMovimentosApontamento(CPPArquivosOP& arquivos, const PPDiscoApontamento& apontamento,
                                  PPOrigemMovimento origem, bool bPendentes, _REG_VARMO_OP_APONTAMENTO* pRegPS);
  static HRESULT LeRecursosApontamento(CPPArquivosOP& arquivos, const PPDiscoApontamento& apontamento,
                                       bool bOperacoes, _REG_VARMO_OP_APONTAMENTO* pRegPS);
  // One movement (its PPME record) from its origin: the stock server by the movement's key; or,
  // from the disk and for a movement the stock has not taken (key 0), its PPME and PPLT records.
  HRESULT LeMovimentoApontamento(CPPArquivosOP& arquivos, const PPDiscoMovimento& movimento,
                                 PPOrigemMovimento origem, _REG_ES_MOVIMENTOPS* pRegPS);
  // A run of movements into a new array that *pusQtd and *ppRegPS (the caller's locals) hold from
  // the start; the scrap entry, a single PPME record.
  HRESULT LeListaMovimentos(CPPArquivosOP& arquivos, uint32_t ulPrimeiro, uint16_t usQuantidade,
                            PPOrigemMovimento origem, uint16_t* pusQtd, _REG_ES_MOVIMENTOPS** ppRegPS);
  HRESULT LeMovimentoRefugo(CPPArquivosOP& arquivos, uint32_t ulRegistro, PPOrigemMovimento origem,
                            _REG_ES_MOVIMENTOPS* pRegPS);
  // The set ready on the month: used as it is when it is open on it already; else the month's
  // PPAP must exist (a missing one answers as a record past the end, creating nothing) and the
  // month is opened read-only.
  static HRESULT AbreMesApontamento(CPPArquivosOP& arquivos, uint16_t usMesAno);
  // LeApontamentosProcesso(Terceirizado): the order's first process of the pointer, in a set of
  // its own; an order without that process has none. 1616 when the order's month has no PPOP.
  HRESULT LeApontamentosProcessoOP(uint32_t ulChaveOP, int32_t lPonteiroProcesso, uint8_t cTerceirizado,
                                   _REG_VARMO_LISTA_OP_APONTAMENTOS* pRegPS);
  // ---- Reporting (CPPServidorOPApontamento.cpp) ---------------------------------------------------
  // One GravaApontamento: the state that its steps share, and the steps.
  // The target a service order's report posts (and its reversal takes back): the order's branch
  // and project, the month of the report's recording date, the item's position and kind.
  static _REG_PP_META_PRODUCAOPS MetaServicoApontamento(const PPDiscoOP& ordem, const PPDiscoItem& item,
                                                        uint16_t usDataGravacao, int64_t quantidade);
  class GravacaoApontamento;
  // Appends a new run of the process's report list (PPRA) holding its old entries and
  // ulRegistroApontamento; the process record (ulRegistroProcesso in PPPR) points at it.
  HRESULT IncluiApontamentoNoProcesso(uint16_t usMesAno, uint32_t ulRegistroApontamento, uint32_t ulRegistroProcesso);
  // The imported-report keys appended to PPTA; *pulPrimeiro the first record (0 for none).
  HRESULT GravaChavesApontamentoImportado(uint16_t usMesAno, uint16_t usQtd, const uint32_t* pulChaves,
                                          uint32_t* pulPrimeiro);
  // Offset 184 of each report whose key the PPTA run (of usMesAno) lists set to cMarca, in the PPAP
  // of the key's own month; a key without month or record answers 1591.
  HRESULT MarcaApontamentosImportados(uint16_t usMesAno, uint16_t usQtd, uint32_t ulPrimeiro, uint8_t cMarca);

  // ---- Resource reports (CPPServidorOPApontamentoRecurso.cpp) -------------------------------------
  // Each planned resource (PPRP run) of the processes listed (records in PPPR) becomes a resource
  // report in PPAR completed from the resource's master record; the run's first record and count
  // go into the report (offsets 120 and 166).
  HRESULT GravaRecursosNaoApontados(uint16_t usMesAno, const std::vector<uint32_t>& registrosProcesso,
                                    PPDiscoApontamento& apontamento);
  // One PPAR record per entry, completed from the resource's master record, each after its
  // operations (GravaOperacoesRecurso); *pulPrimeiro the first PPAR record. The nested lists are
  // checked before anything is written: 1587 for a count without its array or for more than one
  // counter, quantity, interval or detail in an operation that reports it.
  HRESULT GravaApontamentosRecurso(uint16_t usMesAno, uint16_t usQtd, const _REG_PP_APONTAMENTO_RECURSOPS* pRegPS,
                                   uint32_t* pulPrimeiro);
  // The entry's operations as a PPAO run, each with at most one counter (PPAC), quantity (PPAQ),
  // interval (PPAI) and detail (PPAD, its text in PPIE), written when its cAponta byte is set and
  // it brings one; the byte stored says whether it was written. A counter that updates the
  // resource's counter calls AtualizaContador on recursos. The run into the PPAR record (58, 62).
  // arquivos holds kArqAO and kArqIE open for writing on the report's month.
  HRESULT GravaOperacoesRecurso(CPPArquivosOP& arquivos, CPPServidorRecursos& recursos,
                                const _REG_PP_APONTAMENTO_RECURSOPS& recurso, PPDiscoApontamentoRecurso& disco);
  static HRESULT GravaContadoresOperacao(CPPArquivosOP& arquivos, CPPServidorRecursos& recursos,
                                         int32_t lPonteiroRecurso,
                                         const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                         PPDiscoOperacaoRecurso& disco);
  static HRESULT GravaQuantidadesOperacao(CPPArquivosOP& arquivos,
                                          const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                          PPDiscoOperacaoRecurso& disco);
  static HRESULT GravaIntervalosOperacao(CPPArquivosOP& arquivos,
                                         const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                         PPDiscoOperacaoRecurso& disco);
  static HRESULT GravaDetalhesOperacao(CPPArquivosOP& arquivos, const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& operacao,
                                       PPDiscoOperacaoRecurso& disco);
  // A resource handler of this session (full initialisation, as the hub's session record asks).
  HRESULT IniciaRecursos(CPPServidorRecursos& recursos) const;
  // The production operation's type, through the data cache.
  HRESULT TipoOperacao(uint32_t ulPonteiroOperacao, uint8_t* pcTipo);

  // ---- Reprocessing (CPPServidorOPReprocesso.cpp) -------------------------------------------------
  // A new reprocess order (one type-4 item of the report's quantity, the order's processes up to
  // the reported one) saved inside the caller's lock; its key into the report (offset 136).
  HRESULT GeraOPReprocesso(uint16_t usMesAno, uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento);
  // Credits (cEstorno 0) or takes back (1) a reprocess order's last-process report on the origin
  // report, its order's items, requirement, sales-order release and situation; the report may get
  // its credited quantity (40) and release flag (172), rewritten at ulRegistroApontamento.
  HRESULT CreditaApontamentoOrigem(uint16_t usMesAno, uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                   uint8_t cEstorno);

  // ---- Stock and sales-order postings (CPPServidorOPMovimentos.cpp) -------------------------------
  // Stores each movement in PPME (its batch in PPLT) and, with cPostar, posts it to the inventory
  // server under pszTexto's "%s" = the order key. *pulPrimeiro is the first PPME record as soon as
  // one is stored, *pusGravados the records stored; a refused movement is stored unposted and the
  // loop goes on; the answer is the first failure (a failed target posting after its record is
  // stored, a file error at once).
  HRESULT GravaMovimentosApontamento(uint16_t usQtd, const _REG_ES_MOVIMENTOPS* pRegPS, uint16_t usMesAno,
                                     uint32_t ulChaveOP, uint32_t ulRegistroApontamento, const char* pszTexto,
                                     uint32_t* pulPrimeiro, uint16_t* pusGravados, uint8_t cPostar);
  // The report's consumption (92/162), production entries (68/160) and scrap entry (72) of the
  // input record; each sets the report's first record and count to what was stored, also when it
  // fails, so that the caller can rewrite the report before returning.
  HRESULT GravaBaixasApontamento(uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                 const _REG_VARMO_OP_APONTAMENTO& reg);
  HRESULT GravaEntradasApontamento(uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                   const _REG_VARMO_OP_APONTAMENTO& reg);
  HRESULT GravaRefugoApontamento(uint32_t ulRegistroApontamento, PPDiscoApontamento& apontamento,
                                 const _REG_VARMO_OP_APONTAMENTO& reg);
  // Removes one posted movement from the inventory (a production entry, type 11, takes its
  // quantity back from the order's target); the first failure.
  HRESULT EstornaMovimentosApontamento(uint32_t ulChaveOP, uint32_t ulChaveMovimento);
  // Releases (cEstorno 0) or takes back (1) the sales-order item of a report with one posted entry
  // movement. The sales server's answer: S_OK nothing done, 1 done (history line written), a
  // failure nothing written.
  HRESULT LiberaItemPedido(uint16_t usMesAno, const PPDiscoApontamento& apontamento, uint8_t cEstorno);
  // The requirement's produced (16) and scrapped (32) quantities raised, or lowered with cEstorno,
  // by the report's quantity net of scrap and its scrap.
  HRESULT AtualizaNecessidadeApontamento(uint32_t ulChaveNecessidade, const PPDiscoApontamento& apontamento,
                                         uint8_t cEstorno);
  // Posts a production target through the hub: GetIMetasProducao, else its GetHR.
  HRESULT ApontaMetaProducao(const _REG_PP_META_PRODUCAOPS& meta);

  // ---- Shipment of an outsourced report (CPPServidorOPRemessaApontamento.cpp) ----------------------
  // The report's shipment made ready for GravaRemessaIndustrializacao: issue date and time, the
  // branch settings' history and classification, and the internal CFOP when the supplier's
  // location text equals the branch's without regard to case, else the external one. The supplier
  // comes through the supplier connection, the branch through the branch server.
  HRESULT PreparaRemessaApontamento(const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS& infApontamento,
                                    uint16_t usData, uint16_t usHora, _REG_PP_REMESSA_INDUSTRIALIZACAOPS* pRemessa);

  // ---- Report queries (CPPServidorOPApontamentoBusca.cpp) -----------------------------------------
  // LePonteiros' bits of the report lists (5, 6, 8, 9, 12) as LeApontamento's read kind: always the
  // returns and the shipment (0x23), 0x8 for bit 8 or 12, 0x40 for bit 12, 0x4 for bit 6, 0x10 for
  // bit 9. Defined with the single-report readers, which translate the same bits.
  static uint16_t TipoLeituraApontamentos(uint16_t usTipoLeitura);
  // The keys of the reports that pass the stored report filter, in scan order: the open period's
  // months, or the stored lChaveOP's month alone.
  HRESULT BuscaChavesApontamento(CPPArquivosOP* arquivos, std::vector<uint32_t>& chaves);
  // The summaries of one month's reports that are not removed, one per operation of each resource
  // report, that pass the filter, each with its four lists (the caller frees them).
  HRESULT ResumeApontamentosRecursosMes(CPPArquivosOP& arquivos, const _REG_PP_FILTRO_APONTAMENTO_RECURSOPS& filtro,
                                        std::vector<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS>& resumos);
  // The summaries of one resource report (base: those of its report), one per operation.
  HRESULT ResumeApontamentoRecurso(CPPArquivosOP& arquivos, const _REG_PP_FILTRO_APONTAMENTO_RECURSOPS& filtro,
                                   _REG_PP_RESUMO_APONTAMENTO_RECURSOPS base, const PPDiscoApontamentoRecurso& disco,
                                   std::vector<_REG_PP_RESUMO_APONTAMENTO_RECURSOPS>& resumos);
  // Every non-zero field of the filter met by the summary.
  static bool ConfereFiltroApontamentoRecurso(const _REG_PP_FILTRO_APONTAMENTO_RECURSOPS& filtro,
                                              const _REG_PP_RESUMO_APONTAMENTO_RECURSOPS& resumo);
  // Batch tracing: the keys of the orders (each once) of the reports that pass the stored report
  // filter and of which confere finds a movement that matches the entry, over every month with a
  // report file. confere answers S_FALSE for a match.
  using PPConfereApontamentoLote = HRESULT (*)(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                               const PPDiscoApontamento& apontamento);
  HRESULT BuscaOPsDoLote(const _REG_PP_ENTRADA_PRODUCAOPS& entrada, PPConfereApontamentoLote confere,
                         _REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  // What a report produced (its posted entries, its scrap entry, its returns' scrap entries) and
  // what it consumed (its stock movements, its returns' movements).
  static HRESULT ConfereEntradasGeradas(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                        const PPDiscoApontamento& apontamento);
  static HRESULT ConfereInsumosConsumidos(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                          const PPDiscoApontamento& apontamento);
  // S_FALSE when a movement of the run (bSoLancados: only those the stock took) or the single
  // PPME record matches the entry.
  static HRESULT ConfereSequenciaEntrada(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                         uint32_t ulPrimeiro, uint16_t usQtd, bool bSoLancados);
  static HRESULT ConfereRegistroEntrada(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                        uint32_t ulRegistro);
  static HRESULT ConfereMovimentoEntrada(CPPArquivosOP& arquivos, const _REG_PP_ENTRADA_PRODUCAOPS& entrada,
                                         const PPDiscoMovimento& movimento);
  // The movement's product, grade, batch dates and batch number (without regard to case) against
  // the entry's: all of them with cConsiderarSomenteIdenticos, else only those the entry sets.
  static bool ConfereEntradaProducao(const _REG_PP_ENTRADA_PRODUCAOPS& entrada, const PPMovimentoLote& movimento);
  // ---- end of report queries ----

  // ---- Reversal of reports (CPPServidorOPRemocao.cpp) ---------------------------------------------
  // The run of PPME records (of usMesAno) taken back from the inventory one by one: each posted
  // movement (key positive, cLancado 1) through EstornaMovimentosApontamento, and marked not posted
  // (cLancado 0) as soon as the inventory has removed it, so that a retry after a failure skips it.
  HRESULT EstornaListaMovimentos(uint16_t usMesAno, uint32_t ulChaveOP, uint32_t ulPrimeiro, uint16_t usQtd);
  // EstornaMovimentosApontamento with *pbRemovido true once the inventory removed the movement,
  // also when the target correction after it failed (CPPServidorOPMovimentos.cpp).
  HRESULT EstornaMovimentoEstoque(uint32_t ulChaveOP, uint32_t ulChaveMovimento, bool* pbRemovido);
  // The item that a last-process report credits, as recording finds it and its reversal must find
  // it again: the order's item of the kind, source, line and origin report, else the order's
  // first. *pulRegistro its PPIT record, 0 when the order has no items (CPPServidorOPApontamento.cpp).
  HRESULT LocalizaItemApontamento(uint16_t usMesAno, const PPDiscoOP& ordem, uint8_t cTipoItem,
                                  uint32_t lPonteiroPedidoNecessidade, uint16_t usIdxItemPedido,
                                  uint32_t ulChaveOrigem, uint32_t* pulRegistro, PPDiscoItem* pItem);
  // One RemoveApontamento: the state that its steps share, and the steps.
  class RemocaoApontamento;
  // 1596 when taking the report's quantity out of its process (not the last) would leave less than
  // the next process reported, scrap counted on both sides.
  static HRESULT ConfereSaldoPosterior(const SaldoProcesso& saldo, const PPDiscoApontamento& apontamento);
  // A reprocess order's last-process report (record ulRegistro of usMesAno) taken back from its
  // origin report: 1596 when the origin's process would keep less than its next process reported
  // (VerificaItemReprocesso, reads only), else CreditaApontamentoOrigem with cEstorno 1.
  HRESULT VerificaItemReprocesso(const PPDiscoApontamento& apontamento);
  HRESULT EstornaItemReprocesso(uint16_t usMesAno, uint32_t ulRegistro, PPDiscoApontamento& apontamento);
  // ---- end of reversal ----

  // ---- Returns from outsourced processing taken back (CPPServidorOPRemocaoRetorno.cpp) -----------
  // What one return posted, taken back: the reports it consumed flagged pending again (offset
  // 184 = 1), its stock movements and its scrap entry (with cPossuiRefugo) through
  // EstornaListaMovimentos.
  HRESULT EstornaRetorno(uint16_t usMesAno, uint32_t ulChaveOP, const PPDiscoRetorno& retorno);
  // Byte 14 of the pending return invoice (PPNF of the key's month) set to 255; a key that is not
  // positive names no invoice (S_OK, nothing written), one without record 1591.
  HRESULT LiberaNFPendente(uint32_t ulChaveNF);
  // One RemoveApontamentoRetornoIndustrializacao: the report and its returns as read, and the steps.
  class RemocaoRetorno;
  // EstornaRetorno without the consumed reports: the stock movements, then the scrap entry.
  HRESULT EstornaMovimentosRetorno(uint16_t usMesAno, uint32_t ulChaveOP, const PPDiscoRetorno& retorno);
  // The reports that the return's transit made (RemoveApontamento, bMarca 0), processor by processor
  // with their orders' reports, then the last-process reports and the keys of the return; a report
  // that the transit reused is only unlinked from the report ulRegistroApontamento of usMesAno.
  HRESULT EstornaTransitoRetorno(uint16_t usMesAno, uint32_t ulRegistroApontamento, const PPDiscoRetorno& retorno);
  // The linked-report list of the reused report (PPTA run at report bytes 128/170) appended anew
  // without ulChaveApontamento.
  HRESULT DesvinculaApontamento(uint32_t ulChaveReutilizado, uint32_t ulChaveApontamento);
  // ---- end of returns taken back ----

  // ---- Cancelling and interrupting orders (CPPServidorOPCancelamento.cpp) -------------------------
  // The steps both run on one order (its header op, of the month usMesAno), inside the order lock.
  // Each marks what it has given back as soon as it has, so that a run broken off halfway and
  // started again does not give anything back twice.
  // What the reprocess items of cancelled orders leave to do once all are cancelled: a target per
  // product and grid, and the reports they came from.
  struct ReprocessoCancelado;
  // The items' open balance (programmed - cancelled - produced, never below 0) of each item
  // integrated and not yet cancelled, back to its sales order or requirement; every item then
  // cancelled (cCancelado). Reprocess items are gathered into reprocesso when it is not null.
  HRESULT DevolveItensOP(uint16_t usMesAno, const PPDiscoOP& op, ReprocessoCancelado* reprocesso);
  // Every input not yet cancelled: its requirement cancelled (CancelaNecessidade), then itself.
  HRESULT CancelaInsumosOP(uint16_t usMesAno, const PPDiscoOP& op);
  // The processes from the last to the first: not started ones after the running one 99, running
  // ones 62, concluded ones as they are.
  HRESULT InterrompeProcessosOP(uint16_t usMesAno, const PPDiscoOP& op);
  // The order's shipments in state 1 or 8 (PPRM of the month, when there is one) go to state 0.
  HRESULT EncerraRemessasOP(uint16_t usMesAno, uint32_t ulChaveOP);
  // The header of the key for the first pass of Cancela, read only; 1587 for a key without record,
  // 16021 for a month without orders, 1586 for a removed order.
  HRESULT LeCabecalhoCancelamento(uint32_t ulChaveOP, PPDiscoOP* pOP) const;
  HRESULT RegravaCabecalhoCancelamento(uint32_t ulChaveOP, const PPDiscoOP& op) const;
  HRESULT CancelaOrdem(uint32_t ulChaveOP, ReprocessoCancelado& reprocesso);
  HRESULT ConcluiReprocessoCancelado(const ReprocessoCancelado& reprocesso);
  // Shared with the save's item integration: the sales-order difference records sent to the sales
  // server (nothing while the branch does not integrate sales orders or there are none); a
  // requirement's programmed quantity moved by diferenca, what a cancelled requirement or one of a
  // cancelled order gets back becoming cancelled quantity; whether order lRegistro of a month is
  // cancelled (0: no order).
  HRESULT EnviaDiferencasPedidos(std::vector<tagREG_DIFERENCA_QTD_PEDIDOPS>& diferencas);
  HRESULT AjustaNecessidade(CPPArquivosOP& necessidades, uint32_t ulChave, int64_t diferenca);
  HRESULT OrdemCancelada(uint16_t usMesAno, int32_t lRegistro, bool* pbCancelada);
  // ---- end of cancelling ----

  // ---- Requirements (CPPServidorOPNecessidade.cpp) ------------------------------------------------
  // One BuscaQtdsNecessarias: the list of per-product totals and its steps.
  class DemandaNecessidades;
  // Recording dates of requirements (and today, when grouping) must lie in the open period.
  bool NoPeriodoAberto(uint16_t usData) const;
  // visita(key, record) for each requirement of the months usMesInicial .. usMesFinal that have a
  // PPNC, records 1 .. count in order; an answer other than S_OK ends the walk with itself.
  using PPVisitaNecessidade = std::function<HRESULT(uint32_t, const PPDiscoNecessidade&)>;
  HRESULT PercorreNecessidades(uint16_t usMesInicial, uint16_t usMesFinal, const PPVisitaNecessidade& visita);
  // The requirements recorded from usDataInicial (raised to usDataVisualizacao when the master
  // settings use it) to usDataFinal that pass filtro, handed to visita in month and record order.
  HRESULT BuscaNecessidades(const _REG_VARMO_FILTROPS& filtro, uint16_t usDataInicial, uint16_t usDataFinal,
                            const PPVisitaNecessidade& visita);
  // Whether the requirement (of the month usMesAno) passes the order filter as the requirement
  // lists apply it. Only a filter's sales order or client reads the generating order and asks the
  // sales server; whatever cannot be read there does not pass.
  HRESULT ConfereFiltroNecessidade(const _REG_VARMO_FILTROPS& filtro, uint16_t usMesAno,
                                   const PPDiscoNecessidade& necessidade, bool* pbPassa);
  HRESULT ConferePedidoNecessidade(const _REG_VARMO_FILTROPS& filtro, uint16_t usMesAno,
                                   const PPDiscoNecessidade& necessidade, bool* pbPassa);
  // visita(sales-order key, order, item, item index) for each item of the sales orders that the
  // sales server finds, in the open period, for the product position, client and emission dates
  // (each left out at 0). A failing server call ends the walk with its result.
  using PPVisitaItemPedido =
      std::function<HRESULT(uint32_t, const tagREG_PEDIDOPS&, const tagREG_ITENSPEDIDOPS&, uint16_t)>;
  HRESULT PercorreItensPedidos(const _REG_POSICAO_PRODUTOPS& posicao, int32_t lPonteiroCliente,
                               uint16_t usDataInicial, uint16_t usDataFinal, const PPVisitaItemPedido& visita);
  // ---- end of requirements ----

  // ---- Recording a return (CPPServidorOPRetorno.cpp) ----------------------------------------------
  // One GravaApontamentoRetornoIndustrializacao: the report, its order and returns as read, the new
  // return as it is built, and the steps.
  class GravacaoRetorno;
  // The report's end: its latest return (date, then time); 0 when it has none. Shared by recording
  // and taking back returns.
  static void FimApontamentoPelosRetornos(const std::vector<PPDiscoRetorno>& retornos, PPDiscoApontamento& apontamento);
  // ---- end of recording a return ----

  // ---- Transit of returns (CPPServidorOPTransito.cpp) ---------------------------------------------
  // The reports that the latest return of report ulRegistroApontamento (of usMesAno) sends on in
  // transit, recorded inside the caller's order lock.
  HRESULT ProcessaTransitoRetorno(uint16_t usMesAno, uint32_t ulRegistroApontamento);
  // One ProcessaTransitoRetorno: the report, its order and latest return as read, the keys it made,
  // and the steps.
  class TransitoRetorno;
  // ---- end of transit ----

  // ---- Pending invoices and entries (CPPServidorOPPendencias.cpp) ---------------------------------
  // One VincularNFRetorno: the invoice, its report and every return to link, read before the first
  // write, and the writes.
  class VinculoNFRetorno;
  // ---- end of pending invoices and entries ----

  // ---- Valuation (CPPServidorOPValorEntrada.cpp) --------------------------------------------------
  // One valuation of an order's entry: its files, accumulators and steps. Recursive valuations
  // share the path of the valuations under way, so that one already on it contributes 0.
  class ValoracaoEntrada;
  // ---- end of valuation ----
};
