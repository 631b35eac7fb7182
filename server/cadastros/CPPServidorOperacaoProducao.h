// The handler of QVPP_OperacaoProducao: production operations (production, setup, stop...) that a
// resource reports, each with its kind, where it is offered for reporting, its active flag and a
// free detail text. A declaration over the master-data frame (CPPServidorCadastro.h): the main
// file PPOPPCAB.DAT of 128-byte records and the variable-record file PPOPPDET.DAT of the detail
// texts, lock 11, history "Operação: %s - %s".
//
// The detail text has operations of its own: Grava keeps the stored text's offset and never writes
// a text; GravaDetalhe writes it under the lock (in place when it fits its old slot, else appended
// with the record's offset moved) and writes no history line.
//
// The filter may ask for the operations of a resource type: the type is read through the embedded
// cache (CPPBufferDados, started with the session), so a type read once stays as it was for the
// life of the session. A type that cannot be read lets no operation pass.
//
// Removal refuses with 1588 an operation that a resource type lists, that a production report
// names (its own operation or one of its resources' operations) or that a simple report of an
// order's process names.
//
// One thread at a time; no in-process lock.
#pragma once

#include <cstdint>

#include "access/CPPBufferDados.h"
#include "platform/com/bstr.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/idl/VarmoTipoOPProcessos.h"

class CPPServidorOperacaoProducao : public CPPServidorCadastroFiltro<_REG_PP_FILTRO_OPERACAO_PRODUCAOPS> {
 public:
  CPPServidorOperacaoProducao();
  ~CPPServidorOperacaoProducao() override;

  HRESULT Grava(int32_t lPntrIn, _REG_VARMO_OPERACAO_PRODUCAOPS RegPS, int32_t* plPntrOut);
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS);
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS);
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro);
  HRESULT Le(int32_t lPntr, _REG_VARMO_OPERACAO_PRODUCAOPS* pRegPS);
  // An empty text leaves the operation without text (offset 0).
  HRESULT GravaDetalhe(int32_t lPntr, BSTR bsDetalhe);
  // A pointer <= 0 answers success with *pbsDetalhe untouched; an operation without text gives an
  // empty BSTR. The caller frees the BSTR.
  HRESULT LeDetalhe(int32_t lPntr, BSTR* pbsDetalhe);

 protected:
  HRESULT InicializaMembros(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) override;
  void FinalizaMembros() override;
  // A rewrite keeps the stored detail text's offset.
  void MantemGravado(const PPRegistroDisco& gravado, PPRegistroDisco& disco) override;
  bool PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) override;
  HRESULT VerificaUso(uint32_t ulPntr) override;

 private:
  bool ListadaNoTipoRecurso(uint32_t ulPntr, uint32_t ulPonteiroTipoRecurso);

  CPPBufferDados m_buffer;
};
