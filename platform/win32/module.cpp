#include "platform/win32/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

// "Salvik.dll" -> "libSalvik.so"; a name that already is a shared object stays as it is.
std::string NomeLinux(std::string nome) {
  if (nome.find(".so") != std::string::npos) return nome;
  size_t ponto = nome.rfind('.');
  if (ponto != std::string::npos) nome.erase(ponto);
  return "lib" + nome + ".so";
}

std::string CaminhoDoPrograma() {
  char caminho[PATH_MAX];
  ssize_t tamanho = readlink("/proc/self/exe", caminho, sizeof caminho - 1);
  return tamanho > 0 ? std::string(caminho, static_cast<size_t>(tamanho)) : std::string();
}

std::string DiretorioDoPrograma() {
  std::string programa = CaminhoDoPrograma();
  return programa.substr(0, programa.rfind('/') + 1);
}

std::string DiretorioAtual() {
  char caminho[PATH_MAX];
  return getcwd(caminho, sizeof caminho) ? std::string(caminho) + "/" : std::string();
}

void* Abre(const std::string& caminho) { return access(caminho.c_str(), R_OK) == 0 ? dlopen(caminho.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr; }

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string nome = NomeLinux(name);
  void* modulo = nome.find('/') != std::string::npos ? dlopen(nome.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
  if (!modulo && nome.find('/') == std::string::npos) {
    modulo = Abre(DiretorioDoPrograma() + nome);
    if (!modulo) modulo = Abre(DiretorioAtual() + nome);
    if (!modulo) modulo = dlopen(nome.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (!modulo) SetLastError(ERROR_MOD_NOT_FOUND);
  return modulo;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  void* simbolo = module && name ? dlsym(module, name) : nullptr;
  if (!simbolo) SetLastError(ERROR_PROC_NOT_FOUND);
  return reinterpret_cast<FARPROC>(simbolo);
}

BOOL FreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? TRUE : FALSE; }

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (module) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  std::string path = CaminhoDoPrograma();
  const auto length = path.size();
  if (length == 0 || size == 0) {
    SetLastError(length == 0 ? ERROR_GEN_FAILURE : ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::replace(path.begin(), path.end(), '/', '\\');
  const auto copied = std::min(static_cast<DWORD>(length), size - 1);
  memcpy(buffer, path.data(), copied);
  buffer[copied] = '\0';
  if (copied < static_cast<DWORD>(length)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  SetLastError(ERROR_SUCCESS);
  return copied;
}
