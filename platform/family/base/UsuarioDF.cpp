#include "platform/family/base/UsuarioDF.h"

#include "platform/family/comum/ConsultaFamilia.h"

namespace {

const char kArquivoUsuarios[] = "USUARIOS.DAT";

TabelaFamilia TabelaUsuarios(const std::string& diretorio) {
  return TabelaFamilia(diretorio + kArquivoUsuarios, sizeof(UsuarioDF));
}

}  // namespace

HRESULT QVDF_Usuario::Procura(int32_t chave, UsuarioDF& usuario) const {
  std::vector<UsuarioDF> usuarios;
  if (const HRESULT hr = LeTodosFamilia(TabelaUsuarios(Sessao().diretorio), usuarios); FAILED(hr)) return hr;
  for (const UsuarioDF& candidato : usuarios) {
    if (candidato.lChave == chave) {
      usuario = candidato;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}

HRESULT QVDF_Usuario::Le(int32_t lChave, REGUSU_PS* pRegUsuario) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pRegUsuario) return E_POINTER;
  UsuarioDF usuario;
  if (const HRESULT hr = Procura(lChave, usuario); FAILED(hr)) return hr;
  *pRegUsuario = usuario.regUsuario;
  return S_OK;
}

HRESULT QVDF_Usuario::LePermissoes(uint16_t usUsuario, _REG_DF_PERMISSOES_USUARIOPS* pRegPermissoes) {
  if (const HRESULT hr = Entrada("LePermissoes"); FAILED(hr)) return hr;
  if (!pRegPermissoes) return E_POINTER;
  UsuarioDF usuario;
  if (const HRESULT hr = Procura(usUsuario, usuario); FAILED(hr)) return hr;
  *pRegPermissoes = usuario.regPermissoes;
  return S_OK;
}

HRESULT QVDF_Usuario::LeTodos(_REG_DF_LISTA_USUARIOSPS** ppLista) {
  if (const HRESULT hr = Entrada("LeTodos"); FAILED(hr)) return hr;
  if (!ppLista) return E_POINTER;
  *ppLista = nullptr;
  std::vector<UsuarioDF> usuarios;
  if (const HRESULT hr = LeTodosFamilia(TabelaUsuarios(Sessao().diretorio), usuarios); FAILED(hr)) return hr;
  if (usuarios.size() > UINT16_MAX) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
  std::vector<int32_t> chaves;
  std::vector<REGUSU_PS> registros;
  for (const UsuarioDF& usuario : usuarios) {
    const int32_t chave = usuario.lChave;  // packed: copied out, never bound
    chaves.push_back(chave);
    registros.push_back(usuario.regUsuario);
  }
  auto* lista = static_cast<_REG_DF_LISTA_USUARIOSPS*>(CoTaskMemAlloc(sizeof(_REG_DF_LISTA_USUARIOSPS)));
  if (!lista) return E_OUTOFMEMORY;
  int32_t* blocoChaves = nullptr;
  REGUSU_PS* blocoRegistros = nullptr;
  if (!CopiaParaTarefaFamilia(chaves, &blocoChaves) || !CopiaParaTarefaFamilia(registros, &blocoRegistros)) {
    CoTaskMemFree(blocoChaves);
    CoTaskMemFree(lista);
    return E_OUTOFMEMORY;
  }
  lista->usQuantidade = static_cast<uint16_t>(usuarios.size());
  lista->plChaves = blocoChaves;
  lista->pRegUsuarios = blocoRegistros;
  *ppLista = lista;
  return S_OK;
}

HRESULT GravaUsuariosDF(const std::string& empresa, const std::vector<UsuarioDF>& usuarios) {
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoUsuarios, sizeof(UsuarioDF), RegistrosFamilia(usuarios));
}
