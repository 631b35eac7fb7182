// Returns from outsourced processing written through their byte layouts (offsets by hand), as the
// recording of a return lays them out: the report's run of returns in PPRI (report offsets 96/164),
// the pending invoice in PPNF, and lists of report keys in PPTA. For the tests of taking returns
// and reports back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/server/op/EmpresaOPFamilia.h"

namespace TesteOP {

constexpr uint32_t kTamanhoRI = 90;
constexpr uint32_t kTamanhoNF = 32;

uint16_t Maio(int d);

// A return as PPRI holds it; the fields left out are written as zero, the recording ones fixed
// (10/05 at 10:00 by user 7).
struct RetornoTeste {
  int64_t retornada = 1;
  uint32_t entrada = 0;  // the receipt document: with the invoice, the name the caller gives
  uint32_t nf = 0;
  uint16_t data = 0, hora = 0;
  uint32_t primeiroMovimento = 0;
  uint16_t movimentos = 0;
  bool possuiRefugo = false;
  uint32_t movimentoRefugo = 0;
  uint32_t primeiroTI = 0, primeiroUP = 0, primeiraGerada = 0, primeiraImportada = 0;
  uint16_t ti = 0, up = 0, geradas = 0, importadas = 0;
  bool encerramento = false, transito = false, automatico = false;
};

std::string Bytes(const RetornoTeste& retorno);

}  // namespace TesteOP

class EmpresaOPRetornos : public EmpresaOPFamilia {
 protected:
  // An in-house report of `quantidade` units of one process, started on the pinned day at 8:00.
  _REG_VARMO_OP_APONTAMENTO Relato(uint32_t chaveOP, int32_t processo, int64_t quantidade) const;
  // The report recorded under the lock; its key.
  uint32_t GravaRelato(const _REG_VARMO_OP_APONTAMENTO& reg);
  // An outsourced report (processor 5) of the order's process of that index; its key.
  uint32_t Externo(uint32_t chaveOP, int64_t quantidade, int64_t refugo = 0, int processo = 0);

  std::string Relatorio(uint32_t chave) const;
  void AlteraRelatorio(uint32_t chave, size_t deslocamento, const std::string& bytes);
  // The returns appended as the report's run.
  void DaRetornos(uint32_t chave, const std::vector<TesteOP::RetornoTeste>& retornos);
  // A pending invoice of the report, waiting for its return (byte 14 = 1); its key.
  uint32_t NotaPendente(uint32_t chaveApontamento);
  // The keys appended to PPTA; the first one's record.
  uint32_t Chaves(const std::vector<uint32_t>& chaves);
};
