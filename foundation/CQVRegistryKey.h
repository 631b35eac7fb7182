// Access to the registry: one held key per object, and free functions that open, read or write a
// value in one call. Every operation that reaches the registry returns the Win32 error code
// (0 = success) unless it says otherwise; nothing throws. An object is used by one thread at a time.
#pragma once

#include <vector>

#include "platform/mfc/CString.h"
#include "platform/win32/registry.h"

class CQVRegistryKey {
 public:
  CQVRegistryKey() = default;
  explicit CQVRegistryKey(HKEY chave) : m_hChave(chave) {}
  ~CQVRegistryKey() { Fecha(); }
  CQVRegistryKey(const CQVRegistryKey&) = delete;
  CQVRegistryKey& operator=(const CQVRegistryKey&) = delete;

  LONG Abre(HKEY raiz, const char* subChave, bool bGravacao);
  LONG Cria(HKEY raiz, const char* subChave);
  // The same under "Software\QV Rivovoda\" of the user's or the machine's root.
  LONG AbreUsuario(const char* subChave, bool bGravacao);
  LONG AbreMaquina(const char* subChave, bool bGravacao);
  LONG CriaUsuario(const char* subChave);
  LONG CriaMaquina(const char* subChave);
  // A held predefined root is neither closed nor forgotten.
  LONG Fecha();

  DWORD GetQtdeSubChaves();
  DWORD GetQtdeValores();
  void LeSubChaves(std::vector<CString>& nomes);
  void LeNomesValores(std::vector<CString>& nomes);
  LONG RemoveChave(const char* subChave);
  LONG RemoveValor(const char* nome);
  LONG RemoveValores();

  DWORD LeDword(const char* nome, DWORD padrao);
  // REG_EXPAND_SZ values are expanded with the environment when bExpande is set.
  CString LeString(const char* nome, const char* padrao = nullptr, bool bExpande = true);
  DWORD LeTipoValor(const char* nome);
  LONG LeBinario(const char* nome, void* buffer, DWORD* tamanho);

  // With the write-empty flag clear, a zero value, an empty text or a zero length is not written.
  LONG GravaDword(const char* nome, DWORD valor);
  LONG GravaString(const char* nome, const char* texto);
  LONG GravaBinario(const char* nome, const void* dados, DWORD tamanho);

  bool EstaAberta() const { return m_hChave != nullptr; }
  HKEY Desvincula();
  void SetGravaVazio(bool bGravaVazio) { m_bGravaVazio = bGravaVazio; }
  bool GetGravaVazio() const { return m_bGravaVazio; }

 private:
  bool InformacaoChave(DWORD* subChaves, DWORD* maiorSubChave, DWORD* valores, DWORD* maiorValor);

  HKEY m_hChave = nullptr;
  bool m_bGravaVazio = true;
};

LONG QVGravaRegistroString(HKEY raiz, const char* subChave, const char* nome, const char* texto);
LONG QVGravaRegistroDword(HKEY raiz, const char* subChave, const char* nome, DWORD valor);
CString QVLeRegistroString(HKEY raiz, const char* subChave, const char* nome, const char* padrao = nullptr,
                           bool bExpande = true);
DWORD QVLeRegistroDword(HKEY raiz, const char* subChave, const char* nome, DWORD padrao);
LONG QVRemoveValorRegistro(HKEY raiz, const char* subChave, const char* nome);
