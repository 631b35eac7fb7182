// A file of variable-size records: the free texts of the module (observations, details, routing
// texts...) that fixed records point to by byte offset (0 = none).
//
// Format: the signature "QV" in bytes 0-1, then records one after the other, each a 16-bit
// little-endian length n and n data bytes. A record is addressed by the offset of its length field
// (>= 2). There is no index, free list or deletion: a rewrite that does not fit its old place is
// appended and the old copy abandoned.
//
// Unlike the record files, failures are thrown: the framework's CFileException (open, end of file,
// input/output; invalidFile for a file that is not of this format) or CQVException with the texts
// "O ponteiro para o registro não é válido" and "Falha ao ler arquivo". Callers turn them into
// their own numbers (CPPArqEx.h). No cache, retries, control file or locks: the open's share mode
// is the only protection, so writers open with deny-write.
//
// A file with content is never rewritten by Abre: without the signature it is refused
// (invalidFile) and left as it is, because re-creating it empty would wipe the texts that fixed
// records still point to. The signature is written only into an empty file opened for writing; an
// open for reading never writes.
//
// An object owns its file object and serves one thread at a time.
#pragma once

#include <cstdint>

#include "platform/mfc/CFile.h"

class CQVArqDyn {
 public:
  static constexpr uint32_t kMaiorRegistro = 0xFFFF;

  CQVArqDyn() = default;
  // Opens at once (see Abre).
  CQVArqDyn(const char* nome, UINT flags);
  virtual ~CQVArqDyn() = default;

  // Opens with the framework's flags; see the contract above for the signature.
  void Abre(const char* nome, UINT flags);
  void Fecha();
  // Reads the record at `ponteiro` into the buffer (not terminated) and returns its length.
  uint32_t Le(uint32_t ponteiro, void* buffer, uint32_t tamanhoBuffer);
  // *ponteiro 0 appends; else rewrites in place when the record fits its old place, otherwise
  // appends and changes *ponteiro. A record holds at most 65535 bytes.
  void Grava(uint32_t* ponteiro, const void* dados, uint32_t tamanho);
  uint32_t LeTamanhoRegistro(uint32_t ponteiro);

 private:
  [[noreturn]] void PonteiroInvalido() const;
  void Acrescenta(uint32_t* ponteiro, const void* dados, uint32_t tamanho);
  void GravaEm(uint64_t deslocamento, const void* dados, uint32_t tamanho);

  CFile m_arquivo;
};
