// The base of the production-order handler CPPServidorOP: the session it keeps (initialised flag,
// company, user, session, data directory) and the usage checks of master data, which read nothing
// else. CPPServidorOP derives from this class and adds the order operations, so a master-data
// handler that only needs to know whether orders, requirements or production reports still name
// one of its records builds this part alone.
//
// A check walks the months 949 (01/1927) to 2148 (12/2026) in ascending order, each month only when
// its first file exists, opens the files it needs read-only through a set of its own (the engine's
// create flag makes the month's missing companions), reads records 1 .. count, skips removed
// orders, requirements and reports, and stops at the first hit. It answers with its out flag:
// 0 whether it found the record or not, 1585 before Inicializa, E_POINTER for a null out argument,
// and the engine's number as PPErroHResult when a file cannot be opened or read (a run of
// sub-records outside its file is such a read: 16021). The checks take no lock.
//
// ProdutoTeveMovimentacao fills the production-order slot of the seam of PPMovimentacaoProduto.h
// (PPConsultaMovimentacaoOP.h).
//
// One object serves one thread at a time.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"
#include "server/idl/VarmoOPApontamento.h"
#include "server/idl/VarmoRegistrosComuns.h"

class CPPServidorOPUso {
 public:
  CPPServidorOPUso() = default;
  ~CPPServidorOPUso() { Finaliza(); }
  CPPServidorOPUso(const CPPServidorOPUso&) = delete;
  CPPServidorOPUso& operator=(const CPPServidorOPUso&) = delete;

  // Finaliza when initialised; keeps the session; 975 for a company without data directory, which
  // leaves the handler uninitialised. The checks need neither the version check nor the history
  // client that a full initialisation adds, so cInicializarCompleto is the order handler's to use.
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS regPS, uint8_t cInicializarCompleto);
  // Forgets the session; always 0.
  HRESULT Finaliza();

  // A non-removed order has a process record of the process.
  HRESULT VerificaUsoProcesso(int32_t lPonteiroProcesso, uint8_t* pcEmUso);
  // A non-removed order has the filter's non-zero lPonteiroFluxoProcesso as flow or its non-zero
  // lPonteiroColecao as project.
  HRESULT VerificaUsoFluxoColecao(_REG_VARMO_FILTROPS regFiltro, uint8_t* pcEmUso);
  // A non-removed requirement has the filter's non-zero lPonteiroColecao.
  HRESULT VerificaUsoColecaoNecessidade(_REG_VARMO_FILTROPS regFiltro, uint8_t* pcEmUso);
  // A non-removed order in situation 1, 2 or 61 plans the resource in one of its processes.
  HRESULT VerificaUsoRecursoOP(int32_t lPonteiroRecurso, uint8_t* pcEmUso);
  // A non-removed report names the resource among its resources not reported or its resource
  // reports.
  HRESULT VerificaUsoRecursoApontamento(int32_t lPonteiroRecurso, uint8_t* pcEmUso);
  // First the reports: the filter's non-zero lPonteiroOperacao as the report's operation or as an
  // operation of one of its resource reports, or its non-zero lPonteiroMotivoRefugo as the report's
  // scrap reason. Only when no report has them: the operation in the simple reports of the orders'
  // processes (a scrap reason is never looked for in orders).
  HRESULT VerificaUsoApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS regFiltro, uint8_t* pcEmUso);
  // Requirements, then orders (header, items, process inputs), then reports (entry movements,
  // scrap entry, stock movements, the stock movements of their returns) of the product: each such
  // record sets *bTeve and raises *iNivelGradeEmUso (in and out) one level per grade item it
  // carries, in order: 0 -> 1 with the first, 1 -> 2 with the second, 2 -> 3 with the third. Stops
  // at level 3, and reads nothing when the level is 3 already. *bTeve is cleared first.
  HRESULT ProdutoTeveMovimentacao(uint32_t lPonteiroProduto, int32_t* bTeve, uint16_t* iNivelGradeEmUso);

 protected:
  // Inicializa's steps without the flag: the session stored, then the data directory (975 when the
  // company has none). For the order handler, which sets the flag only after its own steps.
  HRESULT InicializaSessao(const _REG_VARMO_INICIALIZAPS& regPS);

  uint8_t m_cInicializado = 0;
  CString m_strEmpresa;
  uint16_t m_usUsuario = 0;
  int32_t m_lSessao = 0;
  CString m_strDiretorio;  // with its trailing backslash
};
