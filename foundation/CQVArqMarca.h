// The module lock serialises the writers of an entity across processes: a writer takes the lock
// number of its entity (0-255) before its first change and holds it until its last. The lock is
// an open handle of "<dir>XXMARCA<n>.DAT" created with no sharing, so the system drops it when the
// holder closes it or dies (also by SIGKILL); the file's content means nothing and a file left on
// disk is no lock. A second taker retries for 50 seconds of the process clock (GetTickCount, which
// tests replace) and then gets the number of the holder table (QVMensagemMarca). Two objects of one
// process exclude each other like two processes. Readers never take the lock.
//
// CQVArqMarca is the handlers' stack object: Marca in the constructor or later, Desmarca in the
// destructor. One object holds at most one lock and serves one thread at a time. CQVArqEx::Marca
// offers the same lock, and the older scheme of a 2-byte mark file, on a record-file object.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

class CQVArqMarca {
 public:
  static constexpr DWORD kEsperaMarca = 50000;  // ms

  CQVArqMarca() = default;
  // Takes the lock at once; the result of Marca goes to *resultado.
  CQVArqMarca(int* resultado, const char* diretorio, int numeroMarca);
  virtual ~CQVArqMarca();
  CQVArqMarca(const CQVArqMarca&) = delete;
  CQVArqMarca& operator=(const CQVArqMarca&) = delete;

  // 0 when held. 17396 when this object holds a lock already; 16080 when the lock file stays denied
  // for 50 s; the holder table's number when another holder keeps it for 50 s; 0x80070000 | error
  // for an unexpected system error.
  int Marca(const char* diretorio, int numeroMarca);
  int Desmarca();
  bool EstaMarcado() const { return m_hMarca != nullptr; }

 private:
  CString m_strNome;
  HANDLE m_hMarca = nullptr;
};

// The message that tells who holds lock `numeroMarca` (its low byte); 17396 for numbers without
// one. Lock numbers 25 to 31 have a message in the lock-file scheme only.
int QVMensagemMarca(int numeroMarca, bool bEsquemaNovo);

// "<dir>[\]XXMARCA<n>.DAT", n being the low byte of the lock number.
CString QVNomeArquivoMarca(const char* diretorio, int numeroMarca);

// Whether the lock of `diretorio` is a lock file: "DF\marcanovo.dat" exists in place of the
// directory's last component. Else CQVArqEx::Marca uses the old scheme.
bool QVUsaArquivosMarca(const char* diretorio);

// "<dir>[\]<code>CMARCA.DAT", the mark file of the old scheme; "CN" stands for a system code
// without a mark file of its own.
CString QVNomeArquivoMarcaAntiga(const char* diretorio, const char* sistema);

// Takes the lock file: the loop shared by CQVArqMarca and CQVArqEx::Marca. `inicio` is the tick
// count from which the 50 s run; with bEsperaAcessoNegado an access-denied lock file is retried
// like a held one, else it ends at once with 16080. On success *marca holds the handle.
int QVTomaArquivoMarca(const char* nome, int numeroMarca, DWORD inicio, bool bEsperaAcessoNegado, HANDLE* marca);
