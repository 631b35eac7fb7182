// The user server's stand-in answers from its file: users and permissions by their keys, the whole
// list allocated for the caller to free; unknown keys fail; the master settings' sequence of calls.
#include <functional>

#include "platform/family/base/ServidorBase.h"
#include "platform/family/base/UsuarioDF.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

class UsuariosTest : public FamiliaSemeada<ServidorBase> {
 protected:
  void SetUp() override {
    FamiliaSemeada<ServidorBase>::SetUp();
    // Keys that are not positions: 7 with full access and branch 1 allowed, 12 without.
    std::vector<UsuarioDF> usuarios(2);
    std::memset(usuarios.data(), 0, usuarios.size() * sizeof(UsuarioDF));
    usuarios[0].lChave = 12;
    Texto(usuarios[0].regUsuario.szNome, "Operador");
    usuarios[1].lChave = 7;
    Texto(usuarios[1].regUsuario.szNome, "Supervisor");
    usuarios[1].regUsuario.cUsuarioSupervisor = 1;
    usuarios[1].regPermissoes.cPermissao[1] = 1;
    ASSERT_EQ(GravaUsuariosDF("TESTE", usuarios), S_OK);
  }

  IQVDF_Usuario* Usuario() {
    IQVDF_Usuario* usuario = Cria<IQVDF_Usuario>(CLSID_QVDF_Usuario, IID_IQVDF_Usuario);
    if (usuario) {
      EXPECT_EQ(usuario->Inicializa(Sessao<_REG_DF_INICIALIZA_USUARIOPS>()), S_OK);
    }
    return usuario;
  }
};

}  // namespace

TEST_F(UsuariosTest, UsersAnswerByTheirKeysAndTheListAgreesWithTheReads) {
  Liberador<IQVDF_Usuario> usuario{Usuario()};
  ASSERT_NE(usuario.servidor, nullptr);

  // The master settings' sequence: the session user's permissions, then its rights record.
  _REG_DF_PERMISSOES_USUARIOPS permissoes{};
  ASSERT_EQ(usuario.servidor->LePermissoes(7, &permissoes), S_OK);
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&permissoes)[2 + 1], 1);
  EXPECT_EQ(permissoes.cPermissao[2], 0);
  REGUSU_PS registro{};
  ASSERT_EQ(usuario.servidor->Le(7, &registro), S_OK);
  EXPECT_STREQ(registro.szNome, "Supervisor");
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&registro)[155], 1);
  ASSERT_EQ(usuario.servidor->Le(12, &registro), S_OK);
  EXPECT_STREQ(registro.szNome, "Operador");
  EXPECT_EQ(registro.cUsuarioSupervisor, 0);

  // Positions are not keys.
  std::memset(&registro, 0xAB, sizeof registro);
  EXPECT_EQ(usuario.servidor->Le(1, &registro), kFamiliaNaoEncontrado);
  EXPECT_EQ(usuario.servidor->Le(0, &registro), kFamiliaNaoEncontrado);
  EXPECT_EQ(registro.cUsuarioSupervisor, 0xAB);
  EXPECT_EQ(usuario.servidor->LePermissoes(2, &permissoes), kFamiliaNaoEncontrado);

  _REG_DF_LISTA_USUARIOSPS* lista = nullptr;
  ASSERT_EQ(usuario.servidor->LeTodos(&lista), S_OK);
  ASSERT_NE(lista, nullptr);
  ASSERT_EQ(lista->usQuantidade, 2);
  for (int i = 0; i < lista->usQuantidade; ++i) {
    REGUSU_PS lido{};
    ASSERT_EQ(usuario.servidor->Le(lista->plChaves[i], &lido), S_OK);
    EXPECT_EQ(std::memcmp(&lido, &lista->pRegUsuarios[i], sizeof lido), 0);
  }
  CoTaskMemFree(lista->plChaves);
  CoTaskMemFree(lista->pRegUsuarios);
  CoTaskMemFree(lista);

  // No users: an empty list with null arrays.
  ASSERT_EQ(GravaUsuariosDF("TESTE", {}), S_OK);
  ASSERT_EQ(usuario.servidor->LeTodos(&lista), S_OK);
  ASSERT_NE(lista, nullptr);
  EXPECT_EQ(lista->usQuantidade, 0);
  EXPECT_TRUE(lista->plChaves == nullptr);  // packed at 2: compared, never bound
  EXPECT_TRUE(lista->pRegUsuarios == nullptr);
  CoTaskMemFree(lista);
}

TEST_F(UsuariosTest, InjectedFailureOfEachMethodIsAnsweredAndAllocatesNothing) {
  Liberador<IQVDF_Usuario> usuario{Usuario()};
  ASSERT_NE(usuario.servidor, nullptr);
  constexpr HRESULT kFalha = RPC_S_SERVER_UNAVAILABLE_HRESULT;
  REGUSU_PS registro;
  _REG_DF_PERMISSOES_USUARIOPS permissoes;
  _REG_DF_LISTA_USUARIOSPS* lista = reinterpret_cast<_REG_DF_LISTA_USUARIOSPS*>(&registro);
  const std::pair<const char*, std::function<HRESULT()>> metodos[] = {
      {"Le", [&] { return usuario.servidor->Le(7, &registro); }},
      {"LeTodos", [&] { return usuario.servidor->LeTodos(&lista); }},
      {"LePermissoes", [&] { return usuario.servidor->LePermissoes(7, &permissoes); }},
  };
  for (const auto& [nome, chamada] : metodos) {
    SCOPED_TRACE(nome);
    modulo_.Usuario.FalhaMetodo(nome, 1, kFalha);
    EXPECT_EQ(chamada(), kFalha);
  }
  EXPECT_EQ(lista, reinterpret_cast<_REG_DF_LISTA_USUARIOSPS*>(&registro));

  // Not initialised.
  Liberador<IQVDF_Usuario> novo{Cria<IQVDF_Usuario>(CLSID_QVDF_Usuario, IID_IQVDF_Usuario)};
  ASSERT_NE(novo.servidor, nullptr);
  EXPECT_EQ(novo.servidor->Le(7, &registro), kFamiliaNaoInicializado);
}
