// The stand-in of the base system's internal-requisition server (IQVDF_RequisicaoInterna): the
// requisitions of a company with their items, each item with its components, its further entries
// and its attendances, each attendance with its components and its further entries (which hold
// sub-entries of their own). They lie in one table, REQINT.DAT of the company's DF directory, so
// that every change (a creation, a write, a cancellation of items) is one exclusive change of one
// file, and every call reads it afresh.
//
// A requisition is stored as consecutive rows (LinhaRequisicaoInternaDF): its record, then for each
// item the item's record, its components, its further entries and its attendances, each attendance
// followed by its components and its further entries, each of those by its sub-entries. A stored
// record keeps its counts and has its pointers zeroed; the counts say how many rows of each kind
// follow, so a table whose rows do not agree with them is refused (ERROR_FILE_INVALID).
//
// Keys are the server's: a creation takes the greatest key held plus one. A key or an item index
// that the table does not hold answers kFamiliaNaoEncontrado; a record with a count but no array
// answers E_POINTER; either way the outputs and the file stay as they were. A read answers every
// nested array in its own block of the task allocator (none for a count of 0), for the reader to
// free. None of the base system's rules is kept: a write stores what it is given, and cancelling
// an item only marks it and cancels what it has not been served.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/family/base/InterfacesBase.h"
#include "platform/family/comum/ServidorFamilia.h"

// The further entries of an item and the sub-entries of an attendance's further entries belong to
// the base system, which this system never reads; the stand-in keeps them as opaque elements of
// these sizes.
struct AdicionalItemDF {
  uint8_t cDados[16];
};
static_assert(sizeof(AdicionalItemDF) == 16);
struct SubitemAdicionalDF {
  uint8_t cDados[16];
};
static_assert(sizeof(SubitemAdicionalDF) == 16);

// A requisition as the stand-in holds it: each record with the arrays that its counts and pointers
// stand for (the records' own counts and pointers are not read: the vectors are the arrays).
struct AdicionalAtendimentoDF {
  _REG_ATENDIMENTO_ADICIONALPS regAdicional;
  std::vector<SubitemAdicionalDF> subitens;
};
struct AtendimentoDF {
  _REG_ATENDIMENTOPS regAtendimento;
  std::vector<_REG_ATENDIMENTO_COMPOSICAOPS> composicao;
  std::vector<AdicionalAtendimentoDF> adicionais;
};
struct ItemRequisicaoInternaDF {
  _REG_ITEMREQUISICAOINTERNAPS regItem;
  std::vector<_REG_COMPOSICAO_ITEM_REQUISICAOPS> composicao;
  std::vector<AdicionalItemDF> adicionais;
  std::vector<AtendimentoDF> atendimentos;
};
struct RequisicaoInternaDF {
  _REG_REQUISICAOINTERNAPS regRequisicao;
  std::vector<ItemRequisicaoInternaDF> itens;
};

#pragma pack(push, 1)
// One row of REQINT.DAT: a record of one requisition (the kind says which), at the start of dados.
struct LinhaRequisicaoInternaDF {
  uint32_t ulChave;  // the requisition's
  uint8_t cTipo;     // kLinha...
  uint8_t cReservado5;
  uint8_t dados[sizeof(_REG_ITEMREQUISICAOINTERNAPS)];  // the largest record
};
static_assert(sizeof(LinhaRequisicaoInternaDF) == 596);
#pragma pack(pop)

constexpr uint8_t kLinhaRequisicao = 'R';
constexpr uint8_t kLinhaItem = 'I';
constexpr uint8_t kLinhaComposicaoItem = 'C';
constexpr uint8_t kLinhaAdicionalItem = 'D';
constexpr uint8_t kLinhaAtendimento = 'A';
constexpr uint8_t kLinhaComposicaoAtendimento = 'c';
constexpr uint8_t kLinhaAdicionalAtendimento = 'd';
constexpr uint8_t kLinhaSubitemAdicional = 's';

class QVDF_RequisicaoInterna : public ObjetoEmpresaUsuarioSessao<IQVDF_RequisicaoInterna> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;

  HRESULT Le(uint32_t ulChave, _REG_REQUISICAOINTERNAPS* pregRequisicao) override;
  HRESULT Grava(_REG_REQUISICAOINTERNAPS regRequisicao, uint32_t* pulChave) override;
  HRESULT Inclui(_REG_REQUISICAOINTERNAPS regRequisicao, uint32_t* pulChave) override;
  HRESULT CancelaItens(uint32_t ulChave, uint32_t ulQtd, const uint16_t* pusItens) override;
};

// The seeding of tests and of the run command, and what they read back: a company's requisitions,
// in the table's order. S_OK, kFamiliaSemDiretorio, or the file's error as an HRESULT.
HRESULT GravaRequisicoesInternasDF(const std::string& empresa, const std::vector<RequisicaoInternaDF>& requisicoes);
HRESULT LeRequisicoesInternasDF(const std::string& empresa, std::vector<RequisicaoInternaDF>& requisicoes);
