// The production-order period files of a company (slot 6 of the version record) written byte by
// byte in the layout of any format version 1..9, for the tests of the order converter, the
// whole-company crash test and the benchmark; and the seeding of what old files name outside the
// module: the inventory movements that old reports name by key, and the sales invoices of reports.
//
// What a version looks like comes from the order group's conversion tables: each file's record
// length per version (TamanhoRegistroOP), and where the fields that tie records together or that a
// step recodes lie in each version (CampoOP: a child list's first record and count, a movement's
// key, a situation letter or code). Any other byte a caller gives by its offset in the version it
// writes. Nothing here converts: a record is written as it is given, so tests state their expected
// bytes themselves.
//
// A file is a record file: record 0 is a zero header of the record length, then the records.
// Directories are Linux paths with a trailing slash (DiretorioPP).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/family/base/CadastrosDF.h"
#include "server/idl/VarmoOPIndustrializacao.h"
#include "tests/support/ArquivoRegistros.h"
#include "tests/support/Instalacao.h"

// The period files of the group: PPOP order headers, PPPR processes, PPMT inputs, PPIT items,
// PPAP reports, PPRI returns from outsourced processing, PPME movements of reports, PPLT their
// batches, PPTI, PPTA, PPRA lists of a process's reports, PPRM shipments for outsourcing.
enum class ArquivoOP : uint8_t { OP, PR, MT, IT, AP, RI, ME, LT, TI, TA, RA, RM };

const char* PrefixoArquivoOP(ArquivoOP arquivo);
// The record length at a version (1..9); 0 where the file does not exist at that version (PPLT
// before 3, PPTI and PPTA before 6, PPRA before 7).
uint32_t TamanhoRegistroOP(ArquivoOP arquivo, uint16_t versao);
// The file of a month: prefix, MMAA, ".DAT" (PPOP0124.DAT).
std::string NomeArquivoOP(ArquivoOP arquivo, uint16_t usMesAno);
// The month number of a month and four-digit year; the period key of a record of a month; the day
// number of a day of a month.
uint16_t MesAnoOP(int mes, int ano);
uint32_t ChaveOP(uint16_t usMesAno, uint32_t numero);
uint16_t DiaOP(uint16_t usMesAno, int dia);

// The fields that tie the files together or that a step recodes, each where the tables put it.
enum class CampoOP : uint8_t {
  OPPrimeiroProcesso,        // PPPR record of the order's first process
  OPQuantidadeProcessos,     // 16-bit
  OPSituacao,                // a letter up to version 2, a code from 3
  OPIgnoraFicha,             // not 0: V01->V02 leaves the order's processes alone
  PRSituacao,
  PRPonteiroProcesso,        // the process, as reports and technical sheets name it
  PRComApontamentos,         // 1: the process has reports (lists from version 7)
  PRTempo,                   // 4-decimal value (CY)
  PRTaxa,                    // from version 7: 60 / PRTempo, 8 decimals
  PRPrimeiroApontamento,     // from version 7: first PPRA record
  PRQuantidadeApontamentos,  // from version 7: 16-bit
  ITSituacao,
  APNotaFiscal,              // key of a sales invoice
  APEntrada,                 // production entry: a movement key up to version 2, then a PPME record
  APRefugo,                  // scrap entry, the same
  APOrdem,                   // record number of the order in the month
  APPonteiroProcesso,
  APPrimeiroConsumo,         // first PPME record of the consumptions
  APQuantidadeConsumos,      // 16-bit
  APPrimeiroRetorno,         // first PPRI record
  APQuantidadeRetornos,      // 16-bit
  APSituacao,                // a letter up to version 2, a code from 3
  APTemEntrada,              // from version 3: 1 with a production entry (16-bit from version 7)
  APRemessa,                 // from version 3: PPRM record of the month
  APCliente,                 // from version 7
  RIPrimeiroMovimento,       // first PPME record
  RIQuantidadeMovimentos,    // 16-bit
  RIValorTI,                 // version 5 only: goes to the PPTI record (4 bytes at 56)
  RIRegistroTA,              // version 5 only: record number of the PPTA key (4 bytes at 60)
  RIPrimeiroTI,              // from version 6: the PPTI record
  RITemTI,                   // from version 6: 16-bit, 1 with a PPTI record
  MEChave,                   // the inventory movement's key
  MELote,                    // from version 3: the PPLT record, 0 without batch
  TIRegistroTA,              // the PPTA record
  RMCliente,
};

// Where a field lies in a version; largura 0 when it does not exist there.
struct PosicaoCampoOP {
  uint32_t deslocamento;
  uint32_t largura;  // 1, 2, 4 or 8 bytes, little-endian
};
PosicaoCampoOP PosicaoCampo(CampoOP campo, uint16_t versao);

// One record of a file at a version, zero until given.
class RegistroOP {
 public:
  RegistroOP(ArquivoOP arquivo, uint16_t versao);

  // Byte k becomes (semente + k) mod 256, so that a byte carried to the wrong place shows; the
  // fields that a step follows are then given over it.
  RegistroOP& Preenche(uint8_t semente);
  RegistroOP& Poe(uint32_t deslocamento, const void* dados, uint32_t tamanho);
  RegistroOP& Poe8(uint32_t deslocamento, uint8_t valor) { return Poe(deslocamento, &valor, 1); }
  RegistroOP& Poe16(uint32_t deslocamento, uint16_t valor) { return Poe(deslocamento, &valor, 2); }
  RegistroOP& Poe32(uint32_t deslocamento, uint32_t valor) { return Poe(deslocamento, &valor, 4); }
  RegistroOP& Poe64(uint32_t deslocamento, int64_t valor) { return Poe(deslocamento, &valor, 8); }
  // A field of this file at this version (std::logic_error where it has none).
  RegistroOP& Campo(CampoOP campo, int64_t valor);

  ArquivoOP Arquivo() const { return arquivo_; }
  uint16_t Versao() const { return versao_; }
  const std::string& Bytes() const { return bytes_; }

 private:
  ArquivoOP arquivo_;
  uint16_t versao_;
  std::string bytes_;
};

// The files of one month at one version.
class MesOP {
 public:
  MesOP(uint16_t usMesAno, uint16_t versao) : usMesAno_(usMesAno), versao_(versao) {}

  uint16_t MesAno() const { return usMesAno_; }
  uint16_t Versao() const { return versao_; }
  // A zero record of a file of this month's version.
  RegistroOP Novo(ArquivoOP arquivo) const { return RegistroOP(arquivo, versao_); }
  // Appends a record of this version; its record number, from 1.
  uint32_t Acrescenta(const RegistroOP& registro);
  // The file is written even without records.
  void Cria(ArquivoOP arquivo) { registros_[arquivo]; }
  // File name -> bytes of every file created or given records.
  std::map<std::string, std::string> Arquivos() const;
  void Escreve(const std::string& diretorio) const;

 private:
  uint16_t usMesAno_;
  uint16_t versao_;
  std::map<ArquivoOP, std::vector<std::string>> registros_;
};

// The company's PP data directory as a Linux path, with its trailing slash.
std::string DiretorioPP(const Instalacao& instalacao);
// Gives the company "TESTE" a directory of the family's module (such as "ES") and registers it.
void RegistraDiretorioModulo(const Instalacao& instalacao, const char* modulo);

// ---------------------------------------------------------------------------------------------------
// The inventory movements that old reports name

// A movement to post, with the arrays that reading it back gives (accounting entries with their
// management entries, composition, references), owned here; SemeiaMovimentosES points the record
// at them.
struct MovimentoSemeadoES {
  uint16_t usMesAno;  // the month of its date, which its key carries
  _REG_ES_MOVIMENTOPS registro;
  std::vector<_REG_ES_CONTABILIZACAOPS> contabil;
  std::vector<std::vector<_REG_ES_GERENCIALPS>> gerenciais;  // one list per accounting entry
  std::vector<_REG_ES_COMPOSICAO_PRODUTOPS> composicao;
  std::vector<_REG_ES_MOV_REFERENCIAPS> referencias;
};

// A movement dated on a day of the month whose every field that a PPME record takes differs with n
// (quantity n x 1.5, pointers, position, branch, time, stock and production type, a volume text),
// of type cTipo (11 entry, 12 consumption, 13 scrap). With a batch, the batch "LOTE-<n>" with its
// dates; with arrays, one accounting entry with two management entries, one composition item and
// two references.
MovimentoSemeadoES MovimentoExemploES(uint32_t n, uint16_t usMesAno, uint8_t cTipo, bool bComLote, bool bComArrays);

// A movement as the inventory stand-in holds it: its key and the record that reading it gives,
// batch and volume pointers set by the stand-in, arrays freed and their pointers zeroed.
struct MovimentoLidoES {
  uint32_t chave;
  _REG_ES_MOVIMENTOPS registro;
};

// Posts the movements, in order, through the inventory stand-in's movement server of the company
// (the family's servers registered, the company's ES directory registered, COM initialised on the
// thread), as user 7; S_OK or the first failure.
HRESULT SemeiaMovimentosES(const char* empresa, std::vector<MovimentoSemeadoES>& movimentos,
                           std::vector<MovimentoLidoES>* gravados);

// Seeds the company's sales invoices (key, customer) in the base system's stand-in, replacing the
// ones it had. Inline, so that only the programs that seed invoices link the base system's stand-in.
inline HRESULT SemeiaNotasFiscaisOP(const std::string& empresa,
                                    const std::vector<std::pair<uint32_t, int32_t>>& chavesClientes) {
  std::vector<NotaFiscalDF> notas;
  for (const auto& [chave, cliente] : chavesClientes) {
    NotaFiscalDF nota{};
    nota.ulChave = chave;
    nota.regNota.lNumeroNotaFiscal = static_cast<int32_t>(chave & 0xFFFF);
    nota.regNota.lPonteiroCliente = cliente;
    notas.push_back(nota);
  }
  return GravaNotasFiscaisDF(empresa, notas);
}

// ---------------------------------------------------------------------------------------------------
// A whole company at order version 1

// Two months (01/2024 and 02/2024) of `blocos` blocks each. A block: three orders (one with two
// processes whose technical sheet gives their time, one cancelled with a process to be cancelled
// with it, one that ignores the sheets and has no process), two inputs, two items, two reports
// (the first with two consumptions, a scrap entry, a production entry with batch, a return with
// one movement and a sales invoice; the second with one consumption), six movements posted in the
// inventory stand-in, one invoice. Also the technical sheets ("PPFTCABE.DAT", "PPFTPROC.DAT", in
// their current layout: a sheet that is passed over, a sheet of the first order of every block).
struct EmpresaOPVersao1 {
  std::vector<uint16_t> meses;
  std::vector<MovimentoLidoES> movimentos;  // in the order posted
  std::vector<std::pair<uint32_t, int32_t>> notasFiscais;  // key, customer
};

// Writes the files into the data directory and posts the movements (as SemeiaMovimentosES);
// EscreveEmpresaOPVersao1 also seeds the invoices. The caller writes the version record (slot 6 at
// 1, slot 5 at its target: the sheets are written in the current layout).
HRESULT EscreveOrdensOPVersao1(const std::string& diretorio, const char* empresa, uint32_t blocos,
                               EmpresaOPVersao1* empresaOP);

inline HRESULT EscreveEmpresaOPVersao1(const std::string& diretorio, const char* empresa, uint32_t blocos,
                                       EmpresaOPVersao1* empresaOP) {
  if (const HRESULT hr = EscreveOrdensOPVersao1(diretorio, empresa, blocos, empresaOP); FAILED(hr)) return hr;
  return SemeiaNotasFiscaisOP(empresa, empresaOP->notasFiscais);
}
