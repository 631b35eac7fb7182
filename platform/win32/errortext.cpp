#include "platform/win32/errortext.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "platform/win32/codepage.h"

namespace {

struct ErrorText {
  DWORD code;        // a Win32 error code or an HRESULT
  const char* text;  // UTF-8 here; Windows-1252 when handed out
};

constexpr ErrorText kErrorTexts[] = {
    {ERROR_FILE_NOT_FOUND, "O sistema não pode encontrar o arquivo especificado."},
    {ERROR_PATH_NOT_FOUND, "O sistema não pode encontrar o caminho especificado."},
    {ERROR_TOO_MANY_OPEN_FILES, "O sistema não pode abrir o arquivo."},
    {ERROR_ACCESS_DENIED, "Acesso negado."},
    {ERROR_INVALID_HANDLE, "O identificador é inválido."},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Não há armazenamento suficiente disponível para processar este comando."},
    {ERROR_OUTOFMEMORY, "Não há armazenamento suficiente disponível para concluir esta operação."},
    {ERROR_SHARING_VIOLATION, "O arquivo já está sendo usado por outro processo."},
    {ERROR_LOCK_VIOLATION,
     "O processo não pode acessar o arquivo porque outro processo bloqueou uma parte do arquivo."},
    {ERROR_HANDLE_EOF, "Fim do arquivo atingido."},
    {ERROR_HANDLE_DISK_FULL, "O disco está cheio."},
    // Windows' words, then why the file layer gives this code (sharing.h).
    {ERROR_NOT_SUPPORTED,
     "Não há suporte para a solicitação. O arquivo está em um sistema de arquivos de rede (NFS ou "
     "SMB); os modos de compartilhamento exigem um sistema de arquivos local."},
    {ERROR_FILE_EXISTS, "O arquivo existe."},
    {ERROR_INVALID_PARAMETER, "O parâmetro está incorreto."},
    {ERROR_DISK_FULL, "Não há espaço suficiente no disco."},
    {ERROR_ALREADY_EXISTS, "Não é possível criar um arquivo já existente."},
    {RPC_S_SERVER_UNAVAILABLE, "O servidor RPC não está disponível."},
    {static_cast<DWORD>(E_FAIL), "Erro não especificado"},
    {static_cast<DWORD>(E_NOTIMPL), "Não implementado"},
    {static_cast<DWORD>(E_NOINTERFACE), "Interface sem suporte"},
    {static_cast<DWORD>(REGDB_E_CLASSNOTREG), "Classe não registrada"},
};

const char* TextOf(DWORD code) {
  const auto* found = std::find_if(std::begin(kErrorTexts), std::end(kErrorTexts),
                                   [&](const ErrorText& entry) { return entry.code == code; });
  return found == std::end(kErrorTexts) ? nullptr : found->text;
}

// An HRESULT of the Win32 facility carries a Win32 code in its low word.
const char* SystemTextOf(DWORD message_id) {
  if (const char* text = TextOf(message_id)) return text;
  return (message_id & 0xFFFF0000) == 0x80070000 ? TextOf(message_id & 0xFFFF) : nullptr;
}

}  // namespace

DWORD FormatMessageA(DWORD flags, const void*, DWORD message_id, DWORD, LPSTR buffer, DWORD size,
                     va_list*) {
  constexpr DWORD kUnsupported =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE;
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || (flags & kUnsupported) || !buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char* text = SystemTextOf(message_id);
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  const std::string message =
      AnsiFromUtf8(text) + ((flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) ? " " : "\r\n");
  if (message.size() + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(buffer, message.c_str(), message.size() + 1);
  return static_cast<DWORD>(message.size());
}
