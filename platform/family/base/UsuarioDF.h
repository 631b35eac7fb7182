// The stand-in of the base system's user server (IQVDF_Usuario): the users of a company with their
// rights record (REGUSU_PS, 160 bytes; full access at 155) and their permissions (1002 bytes), in
// the table "USUARIOS.DAT" of the company's DF directory (UsuarioDF records), read fresh by every
// call. A user is found by its key, the user number; a key it does not hold is
// kFamiliaNaoEncontrado, never an empty record. The whole list comes from the task allocator, the
// list record and both arrays, for the caller to free. None of the base system's rules on users is
// kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/base/InterfacesBase.h"
#include "platform/family/comum/ServidorFamilia.h"

#pragma pack(push, 1)
// One user as the stand-in keeps it.
struct UsuarioDF {
  int32_t lChave;  // the user number
  REGUSU_PS regUsuario;
  _REG_DF_PERMISSOES_USUARIOPS regPermissoes;
};
#pragma pack(pop)
static_assert(sizeof(UsuarioDF) == 1166);
static_assert(offsetof(UsuarioDF, regPermissoes) == 164);

class QVDF_Usuario : public ObjetoRegistroSessao<IQVDF_Usuario, _REG_DF_INICIALIZA_USUARIOPS> {
 public:
  using ObjetoRegistroSessao::ObjetoRegistroSessao;
  HRESULT Le(int32_t lChave, REGUSU_PS* pRegUsuario) override;
  HRESULT LeTodos(_REG_DF_LISTA_USUARIOSPS** ppLista) override;
  HRESULT LePermissoes(uint16_t usUsuario, _REG_DF_PERMISSOES_USUARIOPS* pRegPermissoes) override;

 private:
  HRESULT Procura(int32_t chave, UsuarioDF& usuario) const;
};

// Seeds the users of `empresa` (the table replaced): S_OK, kFamiliaSemDiretorio, or the file's
// error as an HRESULT.
HRESULT GravaUsuariosDF(const std::string& empresa, const std::vector<UsuarioDF>& usuarios);
