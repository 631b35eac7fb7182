// The converters of order types (slot 1, "PPTOPCAB.DAT" with their users "PPTOPUSU.DAT") and of
// process flows (slot 3, "PPFLXCAB.DAT" with their processes "PPFLXPRO.DAT"): one step V1->V2 each,
// the same step over different files, written once in CPPAtualizaVersaoCadeia.
//
// At version 1 a parent's children form a chain: the parent names the first child, each child the
// next, and a removed child stays in the chain with its flag set. The step turns each chain into a
// block of consecutive child records that the new parent addresses by its first record number and a
// count, and drops the removed children on the way; the parents keep their record numbers.
//
// Damaged input is refused, never followed: a chain that comes back to a child it has passed (it
// would be walked for ever) stops the step before any file is moved, with a line naming the parent
// and the child, and 1615. A missing child file is an empty one: the parents convert without
// children and an empty child file of the new format is put in place. A company without the parent
// file passes the step without touching a file.
//
// Runs like every converter under lock 1, taken by the driver.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/base.h"
#include "server/CPPAtualizaVersao.h"

// What one group of parents with chained children declares: its files, lengths and lines.
struct PPDefinicaoCadeia;

class CPPAtualizaVersaoCadeia : public CPPAtualizaVersao {
 public:
  // Version 1; any other gives PPErroHResult(1615).
  HRESULT Converte(uint16_t usVersao) override;

 protected:
  explicit CPPAtualizaVersaoCadeia(const PPDefinicaoCadeia& definicao);

 private:
  // The old files ('L'; the children's only when present) and the ".TRA" files of the step.
  struct Arquivos {
    CPPArqEx* paisAntigos = nullptr;
    CPPArqEx* filhosAntigos = nullptr;
    CPPArqEx* pais = nullptr;
    CPPArqEx* filhos = nullptr;
  };

  HRESULT AbreArquivos(CPPPassoConversao& passo, int listaPais, int listaFilhos, bool bFilhos, Arquivos& arquivos);
  HRESULT ConvertePais(CPPPassoConversao& passo, const Arquivos& arquivos);
  // Appends the live children of the chain that starts at `primeiro` (the chain of parent `pai`) and
  // gives the new block's first record (0 when empty) and its size.
  HRESULT ConverteFilhos(CPPPassoConversao& passo, uint32_t pai, uint32_t primeiro, CPPArqEx& antigos,
                         CPPArqEx& convertidos, std::vector<uint32_t>& visitados, uint32_t* primeiroNovo,
                         uint16_t* quantidade);

  const PPDefinicaoCadeia& m_definicao;
};

class CPPAtualizaVersaoTipoOP : public CPPAtualizaVersaoCadeia {
 public:
  CPPAtualizaVersaoTipoOP();
};

class CPPAtualizaVersaoFluxoProcesso : public CPPAtualizaVersaoCadeia {
 public:
  CPPAtualizaVersaoFluxoProcesso();
};
