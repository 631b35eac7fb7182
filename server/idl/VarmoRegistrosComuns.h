// The common ground of the type library VarmoLib: how its records are laid out, who owns what
// across a call, the method pattern that most of its 17 interfaces repeat, and the records that all
// interfaces share. Records and interfaces hold no state of their own.
//
// Layout. Records are plain structs packed on two-byte boundaries for the 32-bit target: a field of
// two or more bytes stands at an even offset, nothing is inserted between fields (the cFiller
// fields fill what would otherwise be holes), and a record whose fields end on an odd byte gets one
// trailing pad byte. Pointers take 4 bytes. Offsets are binding: Tessil copies records field by
// field and as whole blocks. Every record carries static_asserts of its size and of each offset
// that a 4-byte-aligned or a 64-bit layout would move. A field may stand misaligned: never take
// its address, copy it out and pass the copy.
//
// Types. UI1 is uint8_t, UI2 uint16_t, I4 int32_t, UI4 uint32_t, CY the OLE currency (value x
// 10,000); *X is a pointer to an array of X whose count is another field of the same record. A UI2
// named for a date (usData..., iData...) is a 16-bit day number, one named for a time (usHora...,
// iHora...) the minutes since midnight. Byte arrays that hold a text (prefix sz, and a few with
// prefix c) are char arrays with a zero-terminated Windows-1252 text of at most n-1 characters; the
// cFiller arrays are uint8_t and always zero. The record names are the type library's,
// reserved-looking leading underscores included, because clients know them by name.
//
// Ownership across a call. An input record is passed by value; the arrays it points to stay the
// caller's, and the server reads them during the call only. An input pointer points to caller
// memory that the server only reads (the type library gives such pointers no const). An output
// record is a caller buffer, one record or, for the list reads, as many as the caller asked for:
// the server zeroes each record it fills and allocates every nested array and pointer list with
// CoTaskMemAlloc, count times element size (nothing, and a null pointer, for a count of 0). The
// caller frees them with CoTaskMemFree, innermost first. FuncaoGenerica is the exception: the
// server allocates its output record itself. An output BSTR belongs to the caller.
//
// Interfaces. Each derives from IUnknown and has no virtual destructor: slots 0 to 2 are
// QueryInterface, AddRef and Release, and method k of the type library sits in slot 3 + k, because
// clients call by slot. Every method returns an HRESULT, 0x80040000 | message number for the
// module's own errors. The common method pattern, whose slot order differs per interface (X is the
// interface's main record):
//   Inicializa(session, usVersao)    opens the object for the caller's company, user and session;
//                                    must precede every other call; a version other than 64 fails
//                                    with 0x8004068D
//   Finaliza()                       closes what Inicializa opened
//   Le(lPntr, X*, cTipoLeitura)      reads one record; each bit of cTipoLeitura asks for one
//                                    kind of nested data
//   Grava(lPntrIn, X, plPntrOut)     pointer 0 appends and returns the new pointer, otherwise
//                                    rewrites that record
//   BuscaPonteiros(list*)            the pointers of the records that pass the stored filter
//   LePonteiros(lQtd, pointers, X*)  reads lQtd records into the caller's array of lQtd records
//   SetFiltro(filter), LimpaFiltro() store and clear the filter of BuscaPonteiros and Existe
//   Existe(bsCodigo, plPntr, cUtilizaFiltro)  finds a record by its code; the stored filter
//                                    applies only when cUtilizaFiltro is 1
//   Remove(lPntr)                    removes a record
//   FuncaoGenerica(lFuncao, block, block**)  numbered extension entry on byte blocks; where it is
//                                    not implemented it answers 0x80040001 (IQVPP_Recursos: 0)
//                                    and writes nothing
// The interfaces are custom (neither dual nor automation-compatible): no proxy exists for them,
// calls stay in the process.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)

// The session of a caller, passed by value to every Inicializa together with the interface version
// (64).
struct _REG_VARMO_INICIALIZAPS {
  char szEmpresa[24];  // company code, zero-terminated (at most 23 characters)
  uint16_t usUsuario;  // user number
  int32_t lNumeroSessao;
  // 1 = full initialisation; the session object of Tessil always sends 1.
  uint8_t cInicializarCompleto;
  uint8_t cFiller[1];
};
static_assert(sizeof(_REG_VARMO_INICIALIZAPS) == 32);
static_assert(offsetof(_REG_VARMO_INICIALIZAPS, lNumeroSessao) == 26);
static_assert(offsetof(_REG_VARMO_INICIALIZAPS, cInicializarCompleto) == 30);
static_assert(offsetof(_REG_VARMO_INICIALIZAPS, cFiller) == 31);

// A list of signed record pointers, returned by the BuscaPonteiros family.
struct _REG_VARMO_PONTEIROSPS {
  int32_t lQtd;
  int32_t* plPonteiro;  // array of lQtd record pointers (server-allocated)
};
static_assert(sizeof(_REG_VARMO_PONTEIROSPS) == 8);
static_assert(offsetof(_REG_VARMO_PONTEIROSPS, plPonteiro) == 4);

// A list of unsigned pointers or keys of period files (orders, reports, requirements); also the
// input of AgruparNecessidades.
struct _REG_VARMO_PONTEIROS_ULONGPS {
  uint32_t lQtd;
  uint32_t* plPonteiro;  // array of lQtd pointers or keys
};
static_assert(sizeof(_REG_VARMO_PONTEIROS_ULONGPS) == 8);
static_assert(offsetof(_REG_VARMO_PONTEIROS_ULONGPS, plPonteiro) == 4);

// A product or service with its grid position (up to three grid item pointers).
struct _REG_POSICAO_PRODUTOPS {
  uint32_t lPonteiroProduto;  // product (or service) pointer
  uint16_t iPonteiroItemGrade1;
  uint16_t iPonteiroItemGrade2;
  uint16_t iPonteiroItemGrade3;
};
static_assert(sizeof(_REG_POSICAO_PRODUTOPS) == 10);

// The filter that SetFiltro stores in a server object of order types, processes, flows, production
// orders and technical sheets, and that its BuscaPonteiros and, unless told otherwise, Existe
// apply; each class applies the fields that concern it. Fields l and us are values to match, fields
// c are on/off switches of states and kinds.
// Its fields end on an odd byte: the packing adds one trailing pad byte.
struct _REG_VARMO_FILTROPS {
  uint32_t lPonteiroOP;
  uint32_t lNumeroOP;
  uint32_t lPonteiroSecao;
  uint32_t lChavePedido;
  uint16_t usTipoChaveInicializacao;
  uint32_t ulChaveInicializacao;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServico;
  _REG_POSICAO_PRODUTOPS regPosicaoProdutoServicoItem;
  int32_t lPonteiroTipoOP;
  int32_t lPonteiroProcesso;
  int32_t lPonteiroFluxoProcesso;
  int32_t lPonteiroCliente;
  int32_t lPonteiroRecurso;
  int32_t lPonteiroColecao;
  uint16_t usPonteiroFilial;
  uint16_t usDataEmissaoInicial;
  uint16_t usDataEmissaoFinal;
  uint16_t usOPNaoConcluidaAte;
  uint16_t usPonteiroUsuarioTipoOP;
  uint8_t cAtivo;
  uint8_t cOPNaoIniciada;
  uint8_t cOPIniciada;
  uint8_t cOPConcluida;
  uint8_t cOPCancelada;
  uint8_t cOPSuspensa;
  uint8_t cOPInterrompida;
  uint8_t cProcessoPendente;
  uint8_t cProcessoConcluido;
  uint8_t cNecessidadePendente;
  uint8_t cNecessidadeProgramada;
  uint8_t cNecessidadeAtendida;
  uint8_t cNecessidadeCancelada;
  uint8_t cNecessidadeAgrupada;
  uint8_t cOrigemNecessidade;
  uint8_t cPedidoComoItemOP;
  uint8_t cNecessidadeComoItemOP;
  uint8_t cOPReprocesso;
  uint8_t cVerificarDefinicaoRecursos;
  uint8_t cTodosRecursosDefinidos;
  uint8_t cTipoProdutoServico;
  uint8_t cFiltroProdutoServico;
  uint8_t cTipoItemComplemento;
  uint8_t cTipoItemNecessidade;
  uint8_t cTipoItemPedido;
  uint8_t cTipoItemReprocesso;
  uint8_t cFiller[3];
};
static_assert(sizeof(_REG_VARMO_FILTROPS) == 106);
static_assert(offsetof(_REG_VARMO_FILTROPS, ulChaveInicializacao) == 18);
static_assert(offsetof(_REG_VARMO_FILTROPS, regPosicaoProdutoServico) == 22);
static_assert(offsetof(_REG_VARMO_FILTROPS, regPosicaoProdutoServicoItem) == 32);
static_assert(offsetof(_REG_VARMO_FILTROPS, lPonteiroTipoOP) == 42);
static_assert(offsetof(_REG_VARMO_FILTROPS, lPonteiroProcesso) == 46);
static_assert(offsetof(_REG_VARMO_FILTROPS, lPonteiroFluxoProcesso) == 50);
static_assert(offsetof(_REG_VARMO_FILTROPS, lPonteiroCliente) == 54);
static_assert(offsetof(_REG_VARMO_FILTROPS, lPonteiroRecurso) == 58);
static_assert(offsetof(_REG_VARMO_FILTROPS, lPonteiroColecao) == 62);
static_assert(offsetof(_REG_VARMO_FILTROPS, usPonteiroFilial) == 66);
static_assert(offsetof(_REG_VARMO_FILTROPS, usDataEmissaoInicial) == 68);
static_assert(offsetof(_REG_VARMO_FILTROPS, usDataEmissaoFinal) == 70);
static_assert(offsetof(_REG_VARMO_FILTROPS, usOPNaoConcluidaAte) == 72);
static_assert(offsetof(_REG_VARMO_FILTROPS, usPonteiroUsuarioTipoOP) == 74);
static_assert(offsetof(_REG_VARMO_FILTROPS, cAtivo) == 76);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPNaoIniciada) == 77);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPIniciada) == 78);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPConcluida) == 79);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPCancelada) == 80);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPSuspensa) == 81);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPInterrompida) == 82);
static_assert(offsetof(_REG_VARMO_FILTROPS, cProcessoPendente) == 83);
static_assert(offsetof(_REG_VARMO_FILTROPS, cProcessoConcluido) == 84);
static_assert(offsetof(_REG_VARMO_FILTROPS, cNecessidadePendente) == 85);
static_assert(offsetof(_REG_VARMO_FILTROPS, cNecessidadeProgramada) == 86);
static_assert(offsetof(_REG_VARMO_FILTROPS, cNecessidadeAtendida) == 87);
static_assert(offsetof(_REG_VARMO_FILTROPS, cNecessidadeCancelada) == 88);
static_assert(offsetof(_REG_VARMO_FILTROPS, cNecessidadeAgrupada) == 89);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOrigemNecessidade) == 90);
static_assert(offsetof(_REG_VARMO_FILTROPS, cPedidoComoItemOP) == 91);
static_assert(offsetof(_REG_VARMO_FILTROPS, cNecessidadeComoItemOP) == 92);
static_assert(offsetof(_REG_VARMO_FILTROPS, cOPReprocesso) == 93);
static_assert(offsetof(_REG_VARMO_FILTROPS, cVerificarDefinicaoRecursos) == 94);
static_assert(offsetof(_REG_VARMO_FILTROPS, cTodosRecursosDefinidos) == 95);
static_assert(offsetof(_REG_VARMO_FILTROPS, cTipoProdutoServico) == 96);
static_assert(offsetof(_REG_VARMO_FILTROPS, cFiltroProdutoServico) == 97);
static_assert(offsetof(_REG_VARMO_FILTROPS, cTipoItemComplemento) == 98);
static_assert(offsetof(_REG_VARMO_FILTROPS, cTipoItemNecessidade) == 99);
static_assert(offsetof(_REG_VARMO_FILTROPS, cTipoItemPedido) == 100);
static_assert(offsetof(_REG_VARMO_FILTROPS, cTipoItemReprocesso) == 101);
static_assert(offsetof(_REG_VARMO_FILTROPS, cFiller) == 102);

// The reference to the document that generated a record (requirements carry it as RegQuemGerou,
// internal requisitions too).
struct _QV_DMC_ps {
  // The generating document's key shifted left by 8 bits, with the code of the generating module in
  // the low byte.
  int32_t lChaveModulo;
  uint16_t iData;  // the document's date (day number)
};
static_assert(sizeof(_QV_DMC_ps) == 6);

// The byte block of FuncaoGenerica.
struct _REG_FUNCAO_GENERICA_VARMO {
  int32_t lQtdBytes;
  uint8_t* pListaBytes;
};
static_assert(sizeof(_REG_FUNCAO_GENERICA_VARMO) == 8);
static_assert(offsetof(_REG_FUNCAO_GENERICA_VARMO, pListaBytes) == 4);

// The server clock, returned by BuscaInfoServidor.
struct _REG_VARMO_INFO_SERVIDORPS {
  uint16_t usDataAtual;
  // The server's current time as minutes since midnight (hours x 60 + minutes).
  uint16_t usHoraAtual;
};
static_assert(sizeof(_REG_VARMO_INFO_SERVIDORPS) == 4);

#pragma pack(pop)
