#include "foundation/CQVArqMarca.h"

#include <cstdlib>

#include "foundation/CQVArqEx.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"

namespace {

CString ComBarraFinal(const char* diretorio) {
  CString texto(diretorio);
  if (texto.IsEmpty() || texto[texto.GetLength() - 1] != '\\') texto += '\\';
  return texto;
}

// "DF\marcanovo.dat" in place of the last component of the data directory.
CString CaminhoMarcaNova(const char* diretorio) {
  CString texto(diretorio);
  if (!texto.IsEmpty() && texto[texto.GetLength() - 1] == '\\') texto = texto.Left(texto.GetLength() - 1);
  return texto.Left(texto.ReverseFind('\\') + 1) + "DF\\marcanovo.dat";
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Holder table and the lock-file loop

int QVMensagemMarca(int numeroMarca, bool bEsquemaNovo) {
  static constexpr int kAte23[] = {0,     16225, 16233, 16241, 16250, 16268, 16276, 16284, 16306, 16357, 80021, 80039,
                                   80047, 80055, 82015, 82023, 80195, 83097, 76317, 76325, 76333, 76341, 83101, 80233};
  static constexpr int kDe25a31[] = {996, 997, 998, 999, 310468, 316571, 31};
  static constexpr int kDe200a213[] = {32000, 32018, 32026, 32034, 32042, 32051, 32069,
                                       32077, 32085, 32093, 32107, 32115, 32123, 32131};
  const int numero = numeroMarca & 0xFF;
  if (numero >= 1 && numero <= 23) return kAte23[numero];
  if (numero >= 25 && numero <= 31) return bEsquemaNovo ? kDe25a31[numero - 25] : kQVErroMarca;
  if (numero == 50) return 243612;
  if (numero >= 200 && numero <= 213) return kDe200a213[numero - 200];
  return kQVErroMarca;
}

int QVTomaArquivoMarca(const char* nome, int numeroMarca, DWORD inicio, bool bEsperaAcessoNegado, HANDLE* marca) {
  for (;;) {
    HANDLE arquivo =
        CreateFileA(nome, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD erro = GetLastError();
    const bool dentroDoPrazo = GetTickCount() - inicio < CQVArqMarca::kEsperaMarca;
    if (arquivo != INVALID_HANDLE_VALUE) {
      if (erro == ERROR_SUCCESS || erro == ERROR_ALREADY_EXISTS) {
        *marca = arquivo;
        return 0;
      }
      CloseHandle(arquivo);
      if (erro != ERROR_SHARING_VIOLATION) return HRESULT_FROM_WIN32(erro);
    }
    if (erro == ERROR_ACCESS_DENIED) {
      if (!bEsperaAcessoNegado || !dentroDoPrazo) return kQVErroAcessoNegado;
      Sleep(0);
      continue;
    }
    if (!dentroDoPrazo) return QVMensagemMarca(numeroMarca, true);
    Sleep(static_cast<DWORD>(std::rand() % 30 + 10));
  }
}

// ---------------------------------------------------------------------------------------------------
// The lock's scheme and file names

CString QVNomeArquivoMarca(const char* diretorio, int numeroMarca) {
  CString nome;
  nome.Format("%sXXMARCA%d.DAT", static_cast<const char*>(ComBarraFinal(diretorio)), numeroMarca & 0xFF);
  return nome;
}

bool QVUsaArquivosMarca(const char* diretorio) {
  HANDLE marcador = CreateFileA(CaminhoMarcaNova(diretorio), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marcador == INVALID_HANDLE_VALUE) return false;
  CloseHandle(marcador);
  return true;
}

CString QVNomeArquivoMarcaAntiga(const char* diretorio, const char* sistema) {
  static const char* const kSistemasComMarca[] = {"AC", "CN", "CP", "DF", "EF", "ES", "FN", "FT",
                                                  "PN", "CL", "EC", "CM", "GE", "OR", "CX", "EX"};
  CString codigo = "CN";
  for (const char* candidato : kSistemasComMarca)
    if (sistema && CString(sistema).CompareNoCase(candidato) == 0) codigo = candidato;
  return ComBarraFinal(diretorio) + codigo + "CMARCA.DAT";
}

// ---------------------------------------------------------------------------------------------------
// CQVArqMarca

CQVArqMarca::CQVArqMarca(int* resultado, const char* diretorio, int numeroMarca) {
  *resultado = Marca(diretorio, numeroMarca);
}

CQVArqMarca::~CQVArqMarca() { Desmarca(); }

int CQVArqMarca::Marca(const char* diretorio, int numeroMarca) {
  const DWORD inicio = GetTickCount();
  if (m_hMarca) return kQVErroMarca;
  m_strNome = QVNomeArquivoMarca(diretorio, numeroMarca);
  return QVTomaArquivoMarca(m_strNome, numeroMarca, inicio, true, &m_hMarca);
}

int CQVArqMarca::Desmarca() {
  if (m_hMarca) CloseHandle(m_hMarca);
  m_hMarca = nullptr;
  return 0;
}
