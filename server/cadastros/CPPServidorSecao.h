// The sections: the shop areas that processes and resources belong to, each with a code, a
// description and the production calendar it works by. The handler of QVPP_Secao over the
// master-data frame (CPPServidorCadastro.h): the file "PPSECAOP.DAT" of 128-byte records, lock 5,
// history "Seção: %s - %s". Codes are stored with 12 characters and descriptions with 52.
//
// Where it departs from the frame, as its clients rely on:
// - there is no filter: Existe ignores cUtilizaFiltro, and it compares codes exactly (case matters);
// - LePonteiros delivers removed sections like the others; only Le refuses them (1586);
// - Grava does not read the stored record, so a rewrite revives a removed section. It rewrites only
//   a section that exists: a pointer past the last record is refused (1587) before anything is
//   written, since the engine would pad the file with zero records that read as live sections.
//
// Remove refuses (1588) a section that a process or a resource names, whatever the branch of the
// resource.
//
// Pointers are unsigned, as in the interface. One thread at a time, as every handler.
#pragma once

#include <cstdint>

#include "platform/com/bstr.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/idl/VarmoFichaTecnicaMestre.h"

class CPPServidorSecao : public CPPServidorCadastro {
 public:
  CPPServidorSecao();

  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pRegPS);
  // Every output record is zeroed before its read; on a failure the records before stay filled.
  HRESULT LePonteiros(int32_t lQtd, uint32_t* plPntrs, _REG_PP_SECAOPS* pRegPS);
  HRESULT Grava(uint32_t lPntrIn, _REG_PP_SECAOPS RegPS, uint32_t* plPntrOut);
  HRESULT Le(uint32_t lPntr, _REG_PP_SECAOPS* pRegPS);
  HRESULT Existe(BSTR bsCodigo, uint32_t* plPntr, uint8_t cUtilizaFiltro);
  HRESULT Remove(uint32_t lPntr);

 protected:
  HRESULT VerificaUso(uint32_t ulPntr) override;

 private:
  HRESULT LeSecoes(int32_t lQtd, const uint32_t* plPntrs, _REG_PP_SECAOPS* pRegPS, bool bRecusaRemovida);
};
