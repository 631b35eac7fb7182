// The order types behind QVPP_TipoOP: each type classifies production orders and numbers them
// (the last number issued under it), names the five extra informations asked for on its orders,
// carries switches for reporting them, and lists the users who may maintain, cancel or interrupt
// its orders.
//
// A declaration over the frame (CPPServidorCadastro.h): "PPTOPCAB.DAT" holds one 256-byte record
// per type, "PPTOPUSU.DAT" the users of a type as a run of 16-byte records; lock 3; history
// "Tipo OP: %s - %s", written also when another handler built this one (its history client opens
// without COM too). What it adds:
// - the session user's full access, read at Inicializa from the master settings through COM, else
//   from the base system's user server (whose failure fails Inicializa); a user with full access
//   passes the user test of the filter and holds every permission;
// - IncrementaOP, the numbering of orders under lock 3, so that two sessions never get one number;
//   once a type has numbered an order, Grava keeps its last number and Remove refuses it;
// - BuscaListaPermissoes, the session user's permissions on the types that pass the filter.
// Flows and technical sheets answer through the seams of PPCosturasCadastros.h (a type named by a
// flow is in use; the product test of the filter).
//
// One thread at a time, as every handler.
#pragma once

#include <cstddef>
#include <cstdint>

#include "server/cadastros/CPPServidorCadastro.h"
#include "server/idl/VarmoTipoOPProcessos.h"

// An order type as stored in "PPTOPCAB.DAT".
#pragma pack(push, 1)
struct PPRegistroTipoOP {
  uint32_t lUltimaOP;
  uint32_t ulPrimeiroUsuario;  // first record of the type's run in "PPTOPUSU.DAT"
  int32_t lPonteiroContaContabil;
  uint8_t cReservado12[16];
  uint16_t usQtdUsuarios;
  uint8_t cReservado30[2];
  char szCodigo[10];  // no terminator when full, as every text here
  char szDescricao[50];
  char szInfExtra[5][25];
  uint8_t cOPGerada;  // an order has been numbered under the type
  uint8_t cAtivo;
  uint8_t cRemovido;
  // cObrigaInfExtra1..5, cMultiGradesFichasTecnicas, cFazEntradaDepoisNoES,
  // cApontarOcorrenciaRecurso, cSugerirDataApontamentoConformeFicha,
  // cSugerirSaldoNaQuantidadeApontada.
  uint8_t cChaves[10];
  uint8_t cReservado230[26];
};
// One user of a type, in "PPTOPUSU.DAT".
struct PPRegistroTipoOPUsuario {
  uint16_t usUsuario;
  uint8_t cManutencao;
  uint8_t cCancelamento;
  uint8_t cInterrupcao;
  uint8_t cReservado5[11];
};
#pragma pack(pop)
static_assert(sizeof(PPRegistroTipoOP) == 256);
static_assert(offsetof(PPRegistroTipoOP, ulPrimeiroUsuario) == 4);
static_assert(offsetof(PPRegistroTipoOP, lPonteiroContaContabil) == 8);
static_assert(offsetof(PPRegistroTipoOP, usQtdUsuarios) == 28);
static_assert(offsetof(PPRegistroTipoOP, szCodigo) == 32);
static_assert(offsetof(PPRegistroTipoOP, szDescricao) == 42);
static_assert(offsetof(PPRegistroTipoOP, szInfExtra) == 92);
static_assert(offsetof(PPRegistroTipoOP, cOPGerada) == 217);
static_assert(offsetof(PPRegistroTipoOP, cAtivo) == 218);
static_assert(offsetof(PPRegistroTipoOP, cRemovido) == 219);
static_assert(offsetof(PPRegistroTipoOP, cChaves) == 220);
static_assert(offsetof(PPRegistroTipoOP, cReservado230) == 230);
static_assert(sizeof(PPRegistroTipoOPUsuario) == 16);

// The entity lock of order types.
constexpr int kPPMarcaTipoOP = 3;

class CPPServidorTipoOP : public CPPServidorCadastroFiltro<_REG_VARMO_FILTROPS> {
 public:
  CPPServidorTipoOP();

  // Bit 0 of cTipoLeitura reads the users (an array for the caller); without it usQtdUsuarios is 0.
  HRESULT Le(int32_t lPntr, _REG_VARMO_TIPO_OPPS* pRegPS, uint8_t cTipoLeitura);
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_VARMO_TIPO_OPPS* pRegPS, uint8_t cTipoLeitura);
  // Empty labels are stored as "Inf. Extra 1".."5"; a rewrite keeps the stored cOPGerada and, once
  // it is set, the stored last number. The users are appended as a new run.
  HRESULT Grava(int32_t lPntrIn, _REG_VARMO_TIPO_OPPS RegPS, int32_t* plPntrOut);
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS) { return BuscaPonteirosLista(pRegPS); }
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) {
    return ExisteCodigo(bsCodigo, plPntr, cUtilizaFiltro);
  }
  // Under lock 3: the type's next order number (1586 for a removed type, which stays as it is).
  // No history line.
  HRESULT IncrementaOP(int32_t lPntr, uint32_t* plNroOP);
  // The session user's permissions on every type that passes the current filter, in pointer
  // order: all three with full access, else one entry per user record of the type that names the
  // user. The array comes from the task allocator (none when empty).
  HRESULT BuscaListaPermissoes(_REG_LISTA_PERMISSOES_USUARIO_OPPS* pRegPS);

 protected:
  HRESULT InicializaMembros(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) override;
  void FinalizaMembros() override;
  HRESULT LeMestre(const CPPServidorMestrePP& mestre) override;
  bool PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) override;
  // A type named by a flow, or that has numbered an order, is in use.
  HRESULT VerificaUso(uint32_t ulPntr) override;
  void MantemGravado(const PPRegistroDisco& gravado, PPRegistroDisco& disco) override;

 private:
  bool m_bAcessoTotal = false;  // the session user's
};
