// The files of the inventory stand-in (the company's ES directory) and the one way they change.
// A change writes several files at once (a movement, its batch, its volume and its balance) and
// must leave all of it or none of it, also when its process is killed half way; one movement must
// cost a few small writes, not a rewrite of a file that grows with every movement (the frame's
// TabelaFamilia rewrites its whole file per change and does not survive a kill).
//
// So every change goes through a redo journal, ESTOQUE.JNL:
//   1. the change holds ESTOQUE.LCK exclusively (no sharing) from its first read to its end;
//   2. it reads what it needs and gathers its writes (file, offset, bytes; or a file's new length);
//   3. it appends them to the journal as one entry with its length and checksum, and syncs the
//      journal: this is the moment the change happens;
//   4. it writes them into their files and marks the journal applied up to its end.
// A process killed before step 3 ends leaves an entry that fails its checksum, which the next
// change cuts off: the change never happened. Killed after it, the entry stays unapplied, and the
// next reader or changer applies it again before anything else (writes at fixed offsets, so
// applying twice is applying once). The first access of each process applies the whole journal
// anew, so that marks that a fall of the machine may have lost cannot matter; when the journal
// passes 1 MB the data files are synced and the journal starts empty.
//
// Readers hold ESTOQUE.LCK shared (readers together, never beside a change), so that a read never
// sees half a change; a reader that finds an unapplied entry lets a change apply it first. A wait
// for the lock lasts up to 10 s of the platform clock, then answers ERROR_SHARING_VIOLATION.
//
// Reads inside a change see the files as they were before it (not its own gathered writes).
// An object is a description of the directory; it holds nothing open between calls.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/base.h"

class ArmazemEstoque {
 public:
  // The reads of a call: files of the directory by name, opened on first use, closed at its end.
  class Leitura {
   public:
    Leitura(const std::string& diretorio, bool escrita);
    ~Leitura();
    Leitura(const Leitura&) = delete;
    Leitura& operator=(const Leitura&) = delete;

    // A missing file is empty.
    HRESULT Tamanho(const std::string& nome, uint64_t& tamanho);
    // The bytes at `posicao`; a range past the end is HRESULT_FROM_WIN32(ERROR_HANDLE_EOF).
    HRESULT LeTrecho(const std::string& nome, uint64_t posicao, uint32_t tamanho, void* destino);
    // The whole file (empty when missing).
    HRESULT LeTudo(const std::string& nome, std::vector<uint8_t>& bytes);

   protected:
    // The file open for this call; INVALID_HANDLE_VALUE with GetLastError 2 when missing and not
    // created.
    HANDLE Arquivo(const std::string& nome, bool cria);

    const std::string& diretorio_;
    const bool escrita_;
    std::map<std::string, HANDLE> abertos_;
  };

  // A change's reads and its gathered writes.
  class Alteracao : public Leitura {
   public:
    using Leitura::Leitura;
    void Escreve(const std::string& nome, uint64_t posicao, const void* dados, uint32_t tamanho);
    // Sets the file's length.
    void DefineTamanho(const std::string& nome, uint64_t tamanho);

   private:
    friend class ArmazemEstoque;
    std::vector<uint8_t> entrada_;  // the journal entry's operations, in order
    bool vazia_ = true;
  };

  explicit ArmazemEstoque(std::string diretorio);

  // `leitura` runs under the shared hold; its result is returned.
  HRESULT Le(const std::function<HRESULT(Leitura&)>& leitura) const;
  // `alteracao` runs under the exclusive hold; when it returns a success its writes happen as one,
  // else nothing does and its failure is returned.
  HRESULT Altera(const std::function<HRESULT(Alteracao&)>& alteracao) const;

 private:
  std::string diretorio_;
};
