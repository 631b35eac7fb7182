// One data file of fixed-size records, addressed by record number. Record N holds the bytes
// N x L .. N x L + L - 1 (L given at Abre); record 0 is the header; there is no count, no free list
// and no header other than record 0, so the file holds length / L - 1 data records (none while it
// is shorter than its header). Offsets are computed in 64 bits, so that no record is lost or
// misread: a record or byte range that would reach past 0xFFFFFFFF, the last offset the format can
// address, is "past the end" (16021) and nothing is written. Record lengths run from 1 to 32768
// bytes (a block holds at least one record); others are refused at Abre with 16179.
//
// Every operation returns 0 or a message number of the catalogue (the byte and text helpers that
// say so return 0x80040000 | number instead) and never throws. A failed operation notes the file's
// name under HKEY_LOCAL_MACHINE "SOFTWARE\QV Rivovoda\Erros" ("Usuario", "Arquivo").
//
// Reads go through a cache of one block of floor(32768 / L) records. A block is trusted for 60
// seconds (unless SetExpiraCache(false)) and only while the process-wide cache marker is set: every
// write through any object of the process clears the marker, every block read sets it again. So a
// writer makes every other object of the process read afresh, but only until the next block read
// by anyone; writers of other processes are not seen until a block expires. That is deliberate: a
// block is served without touching the file until then, and a caller that needs fresher data calls
// InvalidaCache. The block survives Fecha, so reopening the same file costs no allocation; after
// Abre with another name on an open object, the old file's block is not served as the new file's.
//
// Between processes the file is protected by the sharing mode of the open ('L' denies nobody, 'G'
// and 'C' deny other writers), by the open retries (30 attempts) and by the module lock of
// CQVArqMarca.h, which writers take around their changes; the engine itself takes no lock.
// Writers exclude each other by those lock files. Readers take no lock, neither the module lock nor
// one of the engine's own, and the engine does nothing to keep a read apart from another process's
// rewrite: a read may see a record half old and half new while another process rewrites it, unless
// the file layer keeps a read and a write of one range apart (platform/win32/file.h says what it
// keeps). The system is built on lock-free reads, and the engine keeps them so.
// A missing file is created on demand (create flag) unless the directory's control file
// "QVCTLARQ.DAT" says that it existed once and is gone (CQVArqControle.h); creating never empties a
// file that another opener made meanwhile.
//
// What a crash leaves is taken as it is, never cut: a file left empty by a creator killed before
// its header gets the header at the next open for writing ('G'), and reads as a file of no records
// until then; an append cut short leaves a partial last record, after which appends start at the
// next whole record (see Grava).
//
// The engine reaches the file only through the virtual Open, Seek, GetLength, Read, Write and Close
// of CFile, so a subclass can intercept them, and calls AposAbrir after every successful physical
// open (CPPArqEx checks the length there); a file that AposAbrir refuses is closed again.
//
// An object serves one file and one thread at a time; objects on different threads share only the
// cache marker, which is atomic.
//
// The byte and text helpers live in CQVArqExBytes.cpp; a record file that builds its own name is a
// CQVArqEx_ (CQVArqEx_.h).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/mfc/CFile.h"

// Message numbers of the record files (texts in the module's catalogue).
enum : int {
  kQVErroPosicionamento = 16012,
  kQVErroFimArquivo = 16021,
  kQVErroEntradaSaida = 16039,
  kQVErroArquivoInexistente = 16055,
  kQVErroCaminho = 16063,
  kQVErroArquivosAbertos = 16071,
  kQVErroAcessoNegado = 16080,
  kQVErroSomenteLeitura = 16081,
  kQVErroArquivoInvalido = 16098,
  kQVErroDiretorioCheio = 16101,
  kQVErroCompartilhamento = 16110,
  kQVErroBloqueio = 16128,
  kQVErroDiscoCheio = 16136,
  kQVErroArquivo = 16144,
  kQVErroParametro = 16179,
  kQVErroMarcaAntiga = 16209,
  kQVErroRegistroErros = 16217,
  kQVErroTamanhoArquivo = 16230,
  kQVErroMarca = 17396,
};

// The 2-byte record of the old lock scheme: who holds the mark file of a data directory.
#pragma pack(push, 1)
struct QVRegistroMarca {
  uint8_t cModulo;   // lock number of the holder, 0 = free
  uint8_t cUsuario;  // user number of the holder
};
#pragma pack(pop)
static_assert(sizeof(QVRegistroMarca) == 2);

class CQVArqEx : public CFile {
 public:
  static constexpr uint32_t kTamanhoBloco = 32768;
  static constexpr uint32_t kTentativas = 30;
  static constexpr uint32_t kValidadeCache = 60000;  // ms

  CQVArqEx();
  // Closes the file and a held lock file; an old-scheme mark is left in its file (see Desmarca).
  ~CQVArqEx() override;

  // Assigns the name that the object opens (and that GetFilePath gives).
  void SetFilePath(const char* lpszNewName) override;
  // Called after every successful physical open; a number other than 0 refuses the file: the open
  // is undone and the number returned.
  virtual int AposAbrir();

  // Stores the name, mode ('L' read, sharing with all; 'G' read-write, denying other writers;
  // 'C' create or truncate, then as 'G'), L and the create flag. The first Abre of an object (or
  // the first after a change of name or L, which drops the cache) opens at once; otherwise only with
  // bAbreAgora, else on demand. An object that is open stays on its file until Fecha. A 'G' open
  // that finds the file empty writes its zero header first and lists it in the control file, as a
  // creation does ('C' empties the file on purpose: its caller writes record 0).
  int Abre(const char* nome, char modo, uint32_t tamanhoRegistro, bool bCria, bool bAbreAgora);
  // The physical open with its 30 attempts; 0 when already open.
  int AbreFisico();
  int Le(uint32_t registro, void* buffer);
  // registro 0 appends and gives back the new record's number; any other number rewrites in place
  // (a number past the end extends the file; the records in between read as zeros). An append to a
  // file that ends in a partial record (a torn append) starts at the next whole record, leaves the
  // partial one as it is and notes the file in "Erros".
  int Grava(const void* buffer, uint32_t* registro);
  // Writes `tamanho` bytes at offset 0 (need not be L).
  int GravaCabecalho(const void* dados, uint32_t tamanho);
  // Closes; the cache and the settings stay, so the next operation reopens the same file.
  int Fecha();
  // 'F': *valor = length, position at the end. 'I': position 0. 'P': position at `deslocamento`,
  // 16021 at or past the end.
  int Posiciona(char modo, uint32_t deslocamento, uint32_t* valor);
  // length / L - 1, 0 for a file shorter than its header; -1 when the file cannot be opened.
  int32_t GetQuantidadeRegistros();
  // 0 when the file cannot be opened.
  uint32_t GetTamanho();
  uint32_t GetTamanhoRegistro() const { return m_ulTamanhoRegistro; }
  bool EstaAberto() const { return m_bAberto; }
  void InvalidaCache();
  void SetExpiraCache(bool bExpira) { m_bExpiraCache = bExpira; }
  void SetUsaArquivoControle(bool bUsa) { m_bUsaArquivoControle = bUsa; }
  // Makes the cache as large as the open file, so that one read loads the rest of it.
  int AlocaCacheTotal();

  // One-shot write ('G') and read ('L', no creation): Abre, Grava or Le, Fecha.
  int GravaRegistro(const char* nome, const void* buffer, uint32_t tamanhoRegistro, uint32_t* registro, bool bCria);
  int LeRegistro(const char* nome, uint32_t registro, void* buffer, uint32_t tamanhoRegistro);

  // Module lock of a data directory (CQVArqMarca.h): lock files when "DF\marcanovo.dat" exists
  // beside the directory (an access-denied lock file gives 16080 at once), else the old 2-byte mark
  // file "<code>CMARCA.DAT", held open through this object's own file, so the object serves no data
  // file meanwhile (17396 when its file is busy). Old scheme: 16209 for a mark left in the file by a
  // holder that no longer holds it; after 90 busy reads the holder's number (lock numbers 24-31:
  // 17396); the "Erros" note then names the holder's user.
  int Marca(const char* diretorio, int numeroMarca, int usuario, const char* sistema);
  // Frees the lock; an old-scheme mark is written free (0, 0) first. The destructor only closes.
  int Desmarca();

  // 'A': "Usuario" = "0", "Arquivo" = the file's name without directory. 'U': "Arquivo" = " ",
  // "Usuario" = the user of the old mark record. Other kinds: 16179.
  int RegistraErro(char tipo);
  // Clears the note when it names the file just created.
  int LimpaErro();
  // Creates a missing data file as one zero record and lists it in the control file, then reopens
  // it with `modo`. A file that the control file lists gives 16055 while it is absent; one that
  // exists again was made meanwhile by another creator and is just reopened. Called by AbreFisico;
  // an existing file is never emptied here.
  int CriaArquivo(const char* nome, char modo, uint32_t tamanhoRegistro);

  // Byte and text helpers: offsets are bytes. LeBytes returns a plain number like Le; the others
  // return 0 or 0x80040000 | number.
  int LeBytes(uint32_t quantidade, void* buffer);
  // *deslocamento 0 appends and gives back where the bytes start; else writes there (inside the file).
  HRESULT GravaBytes(uint32_t quantidade, const void* dados, uint32_t* deslocamento);
  // Appends the text with its terminator; an empty or null text gives offset 0 and writes nothing.
  HRESULT GravaTexto(const char* texto, uint32_t* deslocamento);
  HRESULT GravaTextoArquivo(const char* nome, const char* texto, uint32_t* deslocamento);
  // Reads up to `quantidade` bytes at the offset into a text: everything after the first zero byte
  // (and after the end of the file) is zeroed.
  HRESULT LeTexto(uint32_t quantidade, uint32_t deslocamento, char* buffer);
  HRESULT LeTextoArquivo(const char* nome, uint32_t quantidade, uint32_t deslocamento, char* buffer);
  // Reads up to `quantidade` bytes at the offset; a short read is not an error.
  HRESULT LeBytesPosicao(uint32_t quantidade, uint32_t deslocamento, void* buffer);
  // Opens the file ('L', with creation) and gives its length; 0 on any error.
  uint32_t GetTamanhoArquivo(const char* nome, uint32_t tamanhoRegistro);
  // Opens the file ('L', with creation) on a temporary object; with bVerificaTamanho a length that
  // is not a multiple of L gives 0x80040000 | 16230.
  HRESULT VerificaArquivo(const char* nome, uint32_t tamanhoRegistro, bool bVerificaTamanho);

 protected:
  const CString& GetNome() const { return m_strNome; }

 private:
  int AbreSeFechado() { return m_bAberto ? 0 : AbreFisico(); }
  // The attempts of a physical open with the given flags; bPodeCriar lets a missing file be created.
  int AbreComTentativas(UINT flags, bool bPodeCriar, bool bLimpaErro);
  int AposAberturaFisica(bool bCompletaCriacao, bool bLimpaErro);
  int CompletaCriacao();
  int GravaCabecalhoSeVazio();
  // The "Erros" note of a failed read, close or position: every cause but the end of the file.
  void RegistraFalha(int causa);
  void FechaSemErro();
  bool AlocaBloco();
  bool ServeDoCache(uint64_t deslocamento, void* buffer) const;
  // Writes with the 30 attempts of Grava; bAcrescenta appends and gives back where the bytes went.
  int GravaComTentativas(const void* dados, uint32_t tamanho, uint64_t deslocamento, bool bAcrescenta,
                         uint64_t* gravadoEm);
  uint64_t GetComprimento();
  // Where an append starts: the end of the last whole record.
  uint64_t FimDoUltimoRegistro();
  // Creates the file of the stored name without emptying an existing one; a new (empty) file gets
  // one zero record of L bytes.
  int CriaSemApagar();
  int MarcaAntiga(const char* diretorio, int numeroMarca, int usuario, const char* sistema);
  bool LeMarcaAntiga(const CString& nome, QVRegistroMarca* lido);

  std::unique_ptr<uint8_t[]> m_pCache;
  uint32_t m_ulCapacidade = 0;
  uint64_t m_ulDeslocamentoCache = 0;
  int64_t m_lBytesCache = -1;  // -1: empty
  uint32_t m_ulTamanhoRegistro = 0;
  bool m_bAberto = false;
  bool m_bUsaArquivoControle = true;
  bool m_bExpiraCache = true;
  DWORD m_ulTickCache = 0;
  CString m_strNome;
  char m_cModo = 0;
  bool m_bCria = false;
  std::unique_ptr<QVRegistroMarca> m_pRegistroMarca;
  HANDLE m_hMarca = nullptr;
};

// length / L - 1 of a file opened directly (shared read and write), 0 for a file shorter than its
// header; a missing file gives 0 records and result 0, another failure 0x80070000 | system error.
HRESULT QVGetQuantidadeRegistrosArquivo(const char* nome, uint32_t tamanhoRegistro, int32_t* quantidade);
// False only when the system says the file does not exist (a locked file is present).
bool QVTestaExistenciaArquivo(const char* nome);
