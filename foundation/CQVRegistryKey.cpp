#include "foundation/CQVRegistryKey.h"

#include <cstring>
#include <string>

#include "foundation/QVCaminho.h"

namespace {

const char kChaveFamilia[] = "Software\\QV Rivovoda\\";

bool EhRaizPredefinida(HKEY chave) {
  uintptr_t valor = reinterpret_cast<uintptr_t>(chave);
  return valor >= reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT) && valor <= reinterpret_cast<uintptr_t>(HKEY_DYN_DATA);
}

CString ExpandeAmbiente(const CString& texto) {
  DWORD tamanho = ExpandEnvironmentStringsA(texto, nullptr, 0);
  if (tamanho == 0) return texto;
  CString expandido;
  ExpandEnvironmentStringsA(texto, expandido.GetBuffer(static_cast<int>(tamanho)), tamanho);
  expandido.ReleaseBuffer();
  return expandido;
}

// Sizes the array to the count and fills it by index; an entry whose enumeration fails stays empty,
// and a key whose information cannot be read empties the array.
template <typename Enumera>
void LeNomes(bool informacaoLida, DWORD quantidade, DWORD maior, std::vector<CString>& nomes, Enumera enumera) {
  if (!informacaoLida) {
    nomes.clear();
    return;
  }
  nomes.assign(quantidade, CString());
  std::string nome(maior + 1, '\0');
  for (DWORD i = 0; i < quantidade; ++i) {
    DWORD tamanho = maior + 1;
    if (enumera(i, nome.data(), &tamanho) == ERROR_SUCCESS) nomes[i] = CString(nome.c_str());
  }
}

}  // namespace

LONG CQVRegistryKey::Abre(HKEY raiz, const char* subChave, bool bGravacao) {
  Fecha();
  return RegOpenKeyExA(raiz, subChave, 0, bGravacao ? KEY_READ | KEY_WRITE : KEY_READ, &m_hChave);
}

LONG CQVRegistryKey::Cria(HKEY raiz, const char* subChave) {
  Fecha();
  DWORD disposicao = 0;
  return RegCreateKeyExA(raiz, subChave, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_hChave,
                         &disposicao);
}

LONG CQVRegistryKey::AbreUsuario(const char* subChave, bool bGravacao) {
  return Abre(HKEY_CURRENT_USER, QVConcatenaCaminho(kChaveFamilia, subChave), bGravacao);
}

LONG CQVRegistryKey::AbreMaquina(const char* subChave, bool bGravacao) {
  return Abre(HKEY_LOCAL_MACHINE, QVConcatenaCaminho(kChaveFamilia, subChave), bGravacao);
}

LONG CQVRegistryKey::CriaUsuario(const char* subChave) {
  return Cria(HKEY_CURRENT_USER, QVConcatenaCaminho(kChaveFamilia, subChave));
}

LONG CQVRegistryKey::CriaMaquina(const char* subChave) {
  return Cria(HKEY_LOCAL_MACHINE, QVConcatenaCaminho(kChaveFamilia, subChave));
}

LONG CQVRegistryKey::Fecha() {
  if (!m_hChave || EhRaizPredefinida(m_hChave)) return ERROR_SUCCESS;
  LONG resultado = RegCloseKey(m_hChave);
  m_hChave = nullptr;
  return resultado;
}

bool CQVRegistryKey::InformacaoChave(DWORD* subChaves, DWORD* maiorSubChave, DWORD* valores, DWORD* maiorValor) {
  return RegQueryInfoKeyA(m_hChave, nullptr, nullptr, nullptr, subChaves, maiorSubChave, nullptr, valores, maiorValor,
                          nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD CQVRegistryKey::GetQtdeSubChaves() {
  DWORD quantidade = 0;
  return InformacaoChave(&quantidade, nullptr, nullptr, nullptr) ? quantidade : 0;
}

DWORD CQVRegistryKey::GetQtdeValores() {
  DWORD quantidade = 0;
  return InformacaoChave(nullptr, nullptr, &quantidade, nullptr) ? quantidade : 0;
}

void CQVRegistryKey::LeSubChaves(std::vector<CString>& nomes) {
  DWORD quantidade = 0, maior = 0;
  bool lida = InformacaoChave(&quantidade, &maior, nullptr, nullptr);
  LeNomes(lida, quantidade, maior, nomes, [this](DWORD i, char* nome, DWORD* tamanho) {
    return RegEnumKeyExA(m_hChave, i, nome, tamanho, nullptr, nullptr, nullptr, nullptr);
  });
}

void CQVRegistryKey::LeNomesValores(std::vector<CString>& nomes) {
  DWORD quantidade = 0, maior = 0;
  bool lida = InformacaoChave(nullptr, nullptr, &quantidade, &maior);
  LeNomes(lida, quantidade, maior, nomes, [this](DWORD i, char* nome, DWORD* tamanho) {
    return RegEnumValueA(m_hChave, i, nome, tamanho, nullptr, nullptr, nullptr, nullptr);
  });
}

LONG CQVRegistryKey::RemoveChave(const char* subChave) { return RegDeleteKeyA(m_hChave, subChave); }

LONG CQVRegistryKey::RemoveValor(const char* nome) { return RegDeleteValueA(m_hChave, nome); }

LONG CQVRegistryKey::RemoveValores() {
  std::vector<CString> nomes;
  LeNomesValores(nomes);
  LONG resultado = ERROR_SUCCESS;
  for (const CString& nome : nomes) {
    LONG r = RemoveValor(nome);
    if (r != ERROR_SUCCESS) resultado = r;
  }
  return resultado;
}

DWORD CQVRegistryKey::LeDword(const char* nome, DWORD padrao) {
  DWORD valor = 0, tipo = 0, tamanho = sizeof valor;
  LONG r = RegQueryValueExA(m_hChave, nome, nullptr, &tipo, reinterpret_cast<BYTE*>(&valor), &tamanho);
  return r == ERROR_SUCCESS ? valor : padrao;
}

CString CQVRegistryKey::LeString(const char* nome, const char* padrao, bool bExpande) {
  DWORD tipo = 0, tamanho = 0;
  if (RegQueryValueExA(m_hChave, nome, nullptr, &tipo, nullptr, &tamanho) != ERROR_SUCCESS) return CString(padrao);
  std::string bytes(tamanho + 1, '\0');
  if (RegQueryValueExA(m_hChave, nome, nullptr, &tipo, reinterpret_cast<BYTE*>(bytes.data()), &tamanho) !=
      ERROR_SUCCESS)
    return CString(padrao);
  CString texto(bytes.c_str());
  return (bExpande && tipo == REG_EXPAND_SZ) ? ExpandeAmbiente(texto) : texto;
}

DWORD CQVRegistryKey::LeTipoValor(const char* nome) {
  DWORD tipo = REG_NONE;
  RegQueryValueExA(m_hChave, nome, nullptr, &tipo, nullptr, nullptr);
  return tipo;
}

LONG CQVRegistryKey::LeBinario(const char* nome, void* buffer, DWORD* tamanho) {
  DWORD tipo = 0;
  return RegQueryValueExA(m_hChave, nome, nullptr, &tipo, static_cast<BYTE*>(buffer), tamanho);
}

LONG CQVRegistryKey::GravaDword(const char* nome, DWORD valor) {
  if (!m_bGravaVazio && valor == 0) return ERROR_SUCCESS;
  return RegSetValueExA(m_hChave, nome, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&valor), sizeof valor);
}

LONG CQVRegistryKey::GravaString(const char* nome, const char* texto) {
  if (!m_bGravaVazio && (!texto || !*texto)) return ERROR_SUCCESS;
  const char* valor = texto ? texto : "";
  return RegSetValueExA(m_hChave, nome, 0, REG_SZ, reinterpret_cast<const BYTE*>(valor),
                        static_cast<DWORD>(strlen(valor) + 1));
}

LONG CQVRegistryKey::GravaBinario(const char* nome, const void* dados, DWORD tamanho) {
  if (!m_bGravaVazio && tamanho == 0) return ERROR_SUCCESS;
  return RegSetValueExA(m_hChave, nome, 0, REG_BINARY, static_cast<const BYTE*>(dados), tamanho);
}

HKEY CQVRegistryKey::Desvincula() {
  HKEY chave = m_hChave;
  m_hChave = nullptr;
  return chave;
}

LONG QVGravaRegistroString(HKEY raiz, const char* subChave, const char* nome, const char* texto) {
  CQVRegistryKey chave;
  LONG resultado = chave.Cria(raiz, subChave);
  return resultado != ERROR_SUCCESS ? resultado : chave.GravaString(nome, texto);
}

LONG QVGravaRegistroDword(HKEY raiz, const char* subChave, const char* nome, DWORD valor) {
  CQVRegistryKey chave;
  LONG resultado = chave.Cria(raiz, subChave);
  return resultado != ERROR_SUCCESS ? resultado : chave.GravaDword(nome, valor);
}

CString QVLeRegistroString(HKEY raiz, const char* subChave, const char* nome, const char* padrao, bool bExpande) {
  CQVRegistryKey chave;
  if (chave.Abre(raiz, subChave, false) != ERROR_SUCCESS) return CString(padrao);
  return chave.LeString(nome, padrao, bExpande);
}

DWORD QVLeRegistroDword(HKEY raiz, const char* subChave, const char* nome, DWORD padrao) {
  CQVRegistryKey chave;
  if (chave.Abre(raiz, subChave, false) != ERROR_SUCCESS) return padrao;
  return chave.LeDword(nome, padrao);
}

LONG QVRemoveValorRegistro(HKEY raiz, const char* subChave, const char* nome) {
  CQVRegistryKey chave;
  LONG resultado = chave.Abre(raiz, subChave, true);
  return resultado != ERROR_SUCCESS ? resultado : chave.RemoveValor(nome);
}
