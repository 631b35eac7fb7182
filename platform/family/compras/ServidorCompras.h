// The stand-in of the purchasing module's receipt server (CM): one StandInServer, "QVServidorCM",
// serving IQVCM_RegistroEntrada over the frame of ServidorFamilia.h. It keeps the short form of
// each receipt under its key in the table "ENTRADAS.DAT" of the company's CM directory (EntradaCM
// records), read fresh by every call; a key it does not hold is kFamiliaNaoEncontrado, never an
// empty record. None of the purchasing module's rules is kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/compras/InterfaceEntrada.h"

#pragma pack(push, 1)
// A receipt as the stand-in keeps it.
struct EntradaCM {
  uint32_t ulChave;
  tagREG_ENTRADA_LIGHTPS regEntrada;
};
#pragma pack(pop)
static_assert(sizeof(EntradaCM) == 136);

class ServidorCompras : public ModuloFamilia {
 public:
  ServidorCompras();

  // Seeds the receipts of `empresa` (the table replaced): S_OK, kFamiliaSemDiretorio, or the
  // file's error as an HRESULT.
  static HRESULT GravaEntradas(const std::string& empresa, const std::vector<EntradaCM>& entradas);

  ClasseFamilia& RegistroEntrada;
};
