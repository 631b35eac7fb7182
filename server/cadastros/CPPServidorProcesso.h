// The processes of the routing (the steps an order passes through): code, description, costs,
// daily capacity, section, an observation text and the resources that can run the process. The
// handler of QVPP_Processo over the master-data frame (CPPServidorCadastro.h), lock 7.
//
// Files: "PPPROCES.DAT" (128-byte records), "PPPRCREC.DAT" (the resources of a process, a run of
// 32-byte records) and "PPPRCOBS.DAT" (the observation texts). A save appends a new run and a new
// text; the old ones stay unreferenced.
//
// Where it departs from the frame:
// - reading bit 7 computes each resource's maintenance stops: the programmed maintenances of its
//   active plans and its maintenance orders, summed per date (ascending), through the maintenance
//   servers that the embedded cache (CPPBufferDados) reaches and holds for the session;
// - a filter with an order keeps the order's processes that receive production reports, read
//   through the seam pLeProcessosOP at SetFiltro, and BuscaPonteiros delivers them in the order's
//   process order; an order that runs a process twice delivers it once, at its first place;
// - Remove is refused (1588) when a flow step names the process (seam pContaEtapasFluxoProcesso)
//   or a production order runs it (CPPServidorOPUso::VerificaUsoProcesso).
//
// One thread at a time, as every handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "access/CPPBufferDados.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/idl/VarmoTipoOPProcessos.h"

#pragma pack(push, 1)
// A record of "PPPROCES.DAT".
struct PPProcessoDisco {
  CY v8CustoProcesso;
  CY vCapacidadeDia;
  uint32_t ulObservacao;  // offset of the text in "PPPRCOBS.DAT"; 0: none
  uint32_t lPonteiroSecao;
  char cCodigo[10];     // without terminator when full
  char cDescricao[50];  // without terminator when full
  uint8_t cAtivo;
  uint8_t cRemovido;  // 1: removed
  uint8_t cCustoPorApontamento;
  uint8_t cZeros[35];
  uint32_t ulPrimeiroRecurso;  // in "PPPRCREC.DAT"; 0 when there is none
  uint16_t usQtdRecursos;
};
static_assert(sizeof(PPProcessoDisco) == 128);
static_assert(offsetof(PPProcessoDisco, vCapacidadeDia) == 8);
static_assert(offsetof(PPProcessoDisco, ulObservacao) == 16);
static_assert(offsetof(PPProcessoDisco, lPonteiroSecao) == 20);
static_assert(offsetof(PPProcessoDisco, cCodigo) == 24);
static_assert(offsetof(PPProcessoDisco, cDescricao) == 34);
static_assert(offsetof(PPProcessoDisco, cAtivo) == 84);
static_assert(offsetof(PPProcessoDisco, cRemovido) == 85);
static_assert(offsetof(PPProcessoDisco, cCustoPorApontamento) == 86);
static_assert(offsetof(PPProcessoDisco, cZeros) == 87);
static_assert(offsetof(PPProcessoDisco, ulPrimeiroRecurso) == 122);
static_assert(offsetof(PPProcessoDisco, usQtdRecursos) == 126);

// A record of "PPPRCREC.DAT": one resource of a process.
struct PPProcessoRecursoDisco {
  int32_t lPonteiroRecurso;
  uint8_t cSomarCapacidadeDisponivel;
  uint8_t cZeros[27];
};
static_assert(sizeof(PPProcessoRecursoDisco) == 32);
static_assert(offsetof(PPProcessoRecursoDisco, cSomarCapacidadeDisponivel) == 4);
#pragma pack(pop)

// The bits of cTipoLeitura.
constexpr uint8_t kPPLeituraProcessoObservacao = 1;
constexpr uint8_t kPPLeituraProcessoRecursos = 2;
constexpr uint8_t kPPLeituraProcessoParadas = 128;  // the resources with their maintenance stops

// Frees the resources and their stops of a process read through LePonteiros (task allocator):
// the arrays go, their pointers become null and their counts 0.
void PPLiberaRegistroProcesso(_REG_VARMO_PROCESSOPS* processo);

class CPPServidorProcesso : public CPPServidorCadastroFiltro<_REG_VARMO_FILTROPS> {
 public:
  CPPServidorProcesso();

  // usQtdRecursos above 0 without pregRecursos: 1587, before anything is written.
  HRESULT Grava(int32_t lPntrIn, _REG_VARMO_PROCESSOPS RegPS, int32_t* plPntrOut);
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegPS);
  // Every output record is zeroed first. On a failure the records before the failing one stay
  // filled (the caller frees their arrays); the failing one holds no array.
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPntrs, _REG_VARMO_PROCESSOPS* pRegPS, uint8_t cTipoLeitura);
  HRESULT Le(int32_t lPntr, _REG_VARMO_PROCESSOPS* pRegPS, uint8_t cTipoLeitura);
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro);

 protected:
  HRESULT InicializaMembros(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) override;
  void FinalizaMembros() override;
  bool PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) override;
  HRESULT VerificaUso(uint32_t ulPntr) override;
  HRESULT AposSetFiltro() override;
  void AposLimpaFiltro() override { m_processosOP.clear(); }

 private:
  HRESULT GravaDependentes(const _REG_VARMO_PROCESSOPS& registro, PPRegistroDisco& disco);
  HRESULT LeProcesso(uint32_t ulPntr, const PPRegistroDisco& disco, uint8_t cTipoLeitura, CQVArqDyn& observacoes,
                     CPPArqEx& recursos, _REG_VARMO_PROCESSOPS& registro);
  HRESULT LeRecursos(const PPProcessoDisco& processo, uint8_t cTipoLeitura, CPPArqEx& recursos,
                     _REG_VARMO_PROCESSOPS& registro);
  // The stops of one resource: its plans' programmed maintenances and its maintenance orders,
  // summed per date.
  HRESULT LeParadas(int32_t lPonteiroRecurso, _REG_PP_PROCESSO_RECURSOPS& recurso);
  bool TemRecurso(const PPProcessoDisco& processo, int32_t lPonteiroRecurso);
  void OrdenaPelaOP(_REG_VARMO_PONTEIROSPS& lista) const;

  CPPBufferDados m_buffer;
  // The order's processes in its order, 0 for those that receive no reports (SetFiltro).
  std::vector<int32_t> m_processosOP;
  // The resources file while a search under a resource filter runs.
  std::unique_ptr<CPPArqEx> m_recursosFiltro;
};
