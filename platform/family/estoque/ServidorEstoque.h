// The stand-in of the inventory module's servers (ES): one StandInServer, "QVServidorES", serving
// the master settings, the storage places and the movements over the frame of ServidorFamilia.h.
// Their initialisation takes the company as a BSTR, the user, the session and the calling module's
// number, which must be the production module's (kESModuloProducao); their records lie in the
// company's ES directory.
//
// Stock really moves here, in quantities only: no valuation (unit values answer 0), no accounting
// of its own (the entries a movement carries are kept and given back, never made). Files:
//   MVmmmm.DAT   the movements of month number mmmm (MovimentoGravadoES, 352 bytes); a movement's
//                number is its place in the file from 1, its key number << 12 | mmmm
//   MVmmmm.ANX   what each movement carries besides its record: its text, its accounting entries
//                with their management entries, its composition and its references
//   LOTES.DAT    the batches (_REG_ES_LOTEPS), VOLUMES.DAT the volumes (_REG_ES_VOLUMEPS); a
//                pointer is the place in the file from 1. A movement with a batch number, dates or
//                a day count takes the batch of that number (of that record, without a number),
//                created when missing; one with a volume text, the volume of that text
//   SALDOS.DAT   one balance per key (SaldoGravadoES after a header record), created by the first
//                movement of its key and changed by each movement and removal: a balance is never
//                recomputed from the movements, and it may go negative
//   RESERVAS.DAT the reservations of the orders (ReservaGravadaES)
// All of these change through ArmazemEstoque's journal: a movement, its batch, its volume and its
// balance change are there together or not at all, also when the poster is killed.
// Seeded only (GravaCadastroEstoqueES, tables of TabelaFamilia read fresh by every call):
//   LOCAIS.DAT   LocalES, pointer = place + 1; GRUPOS.DAT _REG_ES_GRUPO_ARMAZENAGEMPS;
//   MESTRE.DAT   the one _REG_ES_MESTREPS; GRADES.DAT _REG_ES_GRADES_CONTABILIZACAOPS per branch;
//   REPOSIC.DAT  LoteReposicaoES per product position.
//
// Which movement types add and which subtract (the callers send types 1 to 18): an odd type adds
// its quantity to its balance, an even type subtracts it. So 11, the production entry, and 13, the
// scrap entry, add; 12, the consumption of a production report, subtracts. Any other type is
// refused (E_INVALIDARG).
//
// The position record of a product position (LeSaldoPosicao) holds, for the balances of the
// position and branch that also match the request's other non-zero fields, the sum of each stock
// type at vSaldoTipoEstoque[type] (type 0 also at 18, type 2 at 26), and at 202 the quantity that
// the orders' reservations of those fields hold.
//
// A pointer, key, number or code that the files do not hold answers kFamiliaNaoEncontrado (also a
// removed movement, and its second removal, which changes nothing); a missing output E_POINTER; a
// count without its array E_POINTER; an argument other than the callers' fixed ones E_INVALIDARG.
// A failed call changes no file. Answers carry their arrays in blocks of the task allocator, one
// per array (none for a count of 0), for the caller to free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/comum/ServidorFamilia.h"
#include "platform/family/estoque/InterfacesEstoque.h"

#pragma pack(push, 2)

// A stock location as the stand-in keeps it: the record and its branch (0: every branch).
struct LocalES {
  _REG_ES_LOCAISPS regLocal;
  uint16_t iPonteiroFilial;
};
static_assert(sizeof(LocalES) == 150);

struct LoteReposicaoES {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  CY vLoteReposicao;
};
static_assert(sizeof(LoteReposicaoES) == 18);

// A movement as MVmmmm.DAT holds it: the record with its array pointers zeroed, where the rest of
// it lies in MVmmmm.ANX, and the balance that it moved by how much.
struct MovimentoGravadoES {
  _REG_ES_MOVIMENTOPS regMovimento;
  uint32_t ulPosicaoAnexo;
  uint32_t ulTamanhoAnexo;
  uint32_t ulRegistroSaldo;  // in SALDOS.DAT
  CY vMovido;                // what it added to that balance (negative when it subtracted)
  uint8_t cRemovido;
  uint8_t cReservado[7];
};
static_assert(sizeof(MovimentoGravadoES) == 352);

struct SaldoGravadoES {
  _REG_ES_CHAVE_SALDOPS regChave;
  CY vQuantidade;
  uint32_t ulReservado;
};
static_assert(sizeof(SaldoGravadoES) == 64);

struct ReservaGravadaES {
  uint32_t ulChave;  // the order's key
  int32_t lTipo;
  uint16_t iPonteiroFilial;
  _REG_ES_RESERVAPS regReserva;
};
static_assert(sizeof(ReservaGravadaES) == 64);

#pragma pack(pop)

// The seeding of tests and of the run command: the tables that the servers only read, replaced
// whole. S_OK, kFamiliaSemDiretorio, or the first file error as an HRESULT.
struct CadastroEstoqueES {
  std::vector<LocalES> locais;
  std::vector<_REG_ES_GRUPO_ARMAZENAGEMPS> grupos;
  std::vector<_REG_ES_MESTREPS> mestre;  // one record, or none
  std::vector<_REG_ES_GRADES_CONTABILIZACAOPS> grades;
  std::vector<LoteReposicaoES> lotesReposicao;
};
HRESULT GravaCadastroEstoqueES(const std::string& empresa, const CadastroEstoqueES& cadastro);

// Opening balances: each key's balance becomes the quantity given (created when missing), all in
// one change.
struct SaldoInicialES {
  _REG_ES_CHAVE_SALDOPS regChave;
  CY vQuantidade;
};
HRESULT GravaSaldosIniciaisES(const std::string& empresa, const std::vector<SaldoInicialES>& saldos);

// The add/subtract table above: +1, -1, or 0 for a type that the stand-in refuses.
int SinalTipoMovimentoES(uint8_t cTipoMovimento);

class ServidorEstoque : public ModuloFamilia {
 public:
  ServidorEstoque();

  ClasseFamilia& Mestre;
  ClasseFamilia& Armazenagem;
  ClasseFamilia& Movimento;
};
