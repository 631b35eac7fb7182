// The resources (machines and people that execute processes): the handler of QVPP_Recursos over
// the master-data frame. A resource lives in "PPRECURS.DAT" (200 bytes a record), its detail text
// and the reasons of its counter corrections in "PPRECDET.DAT", and each manual correction of its
// counter in "PPRCHSCN.DAT" (40 bytes a record, appended in time order). Lock 6 guards every change,
// the counter operations included, so a counter that production reporting writes and one corrected
// by hand never interleave inside one record.
//
// Where it departs from the frame:
// - it keeps the session user's permission record (1002 bytes; byte 2 + n allows branch n), from
//   the master settings through COM, else from the base system's user server, for the branch test
//   of its filter; a branch whose byte lies past the record is not allowed;
// - it embeds a process handler (without COM) to test the filter's process and to find processes
//   that plan the resource;
// - Grava does not refuse a negative pointer (the engine's error answers) and takes the counter
//   from the COM record like every other field;
// - Remove refuses a resource with movement (processes, maintenance, orders, production reports)
//   and, once the resource is removed, removes its maintenance plans.
//
// One thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/family/base/RegistrosCadastros.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/cadastros/CPPServidorProcesso.h"
#include "server/idl/VarmoRecursos.h"

// A manual correction of a resource that keeps no counter.
constexpr uint32_t kPPErroRecursoSemContador = 1592;

#pragma pack(push, 1)
// A record of "PPRECURS.DAT". Texts are fixed-width, without terminator when full.
struct PPRegistroRecurso {
  CY vCapacidade;
  CY vSetup;
  CY vContadorAtual;
  CY vPercEficiencia;
  CY v8Custo;
  uint32_t lPonteiroCentroCustos;
  uint32_t ulPonteiroDetalhe;  // byte offset in "PPRECDET.DAT", 0: no text
  uint32_t lPonteiroSecao;
  uint32_t ulPonteiroUnidadeMedidaContador;
  uint32_t ulPonteiroTipoRecurso;
  uint16_t usPonteiroFilial;
  uint16_t usNumeroDigitosContador;
  char szCodigo[10];
  char szDescricao[50];
  char szNomeContadorInicial[20];
  char szNomeContadorFinal[20];
  uint8_t cRemovido;
  uint8_t cAtivo;
  uint8_t cTipo;
  uint8_t cCustoTempoPorUnidade;
  uint8_t cTipoCusto;
  uint8_t cUnidadeProdutoServico;
  uint8_t cPossuiContador;
  uint8_t cZero[29];
};
static_assert(sizeof(PPRegistroRecurso) == 200);
static_assert(offsetof(PPRegistroRecurso, vContadorAtual) == 16);
static_assert(offsetof(PPRegistroRecurso, lPonteiroCentroCustos) == 40);
static_assert(offsetof(PPRegistroRecurso, ulPonteiroDetalhe) == 44);
static_assert(offsetof(PPRegistroRecurso, lPonteiroSecao) == 48);
static_assert(offsetof(PPRegistroRecurso, ulPonteiroTipoRecurso) == 56);
static_assert(offsetof(PPRegistroRecurso, usPonteiroFilial) == 60);
static_assert(offsetof(PPRegistroRecurso, usNumeroDigitosContador) == 62);
static_assert(offsetof(PPRegistroRecurso, szCodigo) == 64);
static_assert(offsetof(PPRegistroRecurso, szDescricao) == 74);
static_assert(offsetof(PPRegistroRecurso, szNomeContadorInicial) == 124);
static_assert(offsetof(PPRegistroRecurso, szNomeContadorFinal) == 144);
static_assert(offsetof(PPRegistroRecurso, cRemovido) == 164);
static_assert(offsetof(PPRegistroRecurso, cPossuiContador) == 170);

// A record of "PPRCHSCN.DAT": one manual correction of a resource's counter.
struct PPRegistroCorrecaoContador {
  CY vContadorAnterior;
  CY vContadorGravado;
  uint32_t ulPonteiroRecurso;
  uint32_t ulPonteiroMotivo;  // byte offset in "PPRECDET.DAT", 0: no reason
  uint32_t ulPonteiroUsuario;
  uint16_t usData;            // day number
  uint16_t usHora;            // hour x 60 + minute
  uint8_t cZero[8];
};
static_assert(sizeof(PPRegistroCorrecaoContador) == 40);
static_assert(offsetof(PPRegistroCorrecaoContador, ulPonteiroRecurso) == 16);
static_assert(offsetof(PPRegistroCorrecaoContador, ulPonteiroMotivo) == 20);
static_assert(offsetof(PPRegistroCorrecaoContador, ulPonteiroUsuario) == 24);
static_assert(offsetof(PPRegistroCorrecaoContador, usData) == 28);
static_assert(offsetof(PPRegistroCorrecaoContador, usHora) == 30);
#pragma pack(pop)

class CPPServidorRecursos : public CPPServidorCadastroFiltro<_REG_PP_FILTRO_RECURSOPS> {
 public:
  // cTipoLeitura bit 1: the detail text into szDetalhe.
  static constexpr uint8_t kLeDetalhe = 0x02;

  CPPServidorRecursos();

  HRESULT Existe(BSTR bsCodigo, int32_t* plPntrOut, uint8_t cUtilizaFiltro);
  // *pcHouveMovimentoOUT: 1 when a process that is not removed, a maintenance, an order in
  // situation 1, 2 or 61 or a production report names the resource; else 0. A pointer <= 0 names
  // no resource: 1587.
  HRESULT VerificaMovimentoRecurso(int32_t lPonteiroRecursoIN, uint8_t* pcHouveMovimentoOUT);
  HRESULT Remove(int32_t lPntrIn);
  HRESULT Grava(int32_t lPntrIn, _REG_PP_RECURSOPS regInPS, int32_t* plPntrOut);
  HRESULT Le(int32_t lPntr, _REG_PP_RECURSOPS* pRegRetornado, uint8_t cTipoLeitura);
  HRESULT LePonteiros(int32_t lQtd, int32_t* plPonteiros, _REG_PP_RECURSOPS* pRegRetornoPS, uint8_t cTipoLeitura);
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS* pRegRetornado);
  // Appends a correction (the stored counter, the new one, the session's user, now, the reason)
  // and stores the new counter in the resource; 1592 for a resource without counter.
  HRESULT AlteraManualContadorRecurso(_REG_PP_RECURSO_HISTORICO_CONTADORPS RegPS);
  // The resource's corrections in file order, numbered 1, 2, 3 ... in ulContadorHistorico.
  HRESULT BuscaHistoricoAlteracaoManualContador(uint32_t ulPonteiroRecurso,
                                                _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS* pListaps);
  // The counter read at a production report: stored as it comes, with no correction record and no
  // history line.
  HRESULT AtualizaContador(uint32_t ulPonteiroRecurso, _REG_PP_ATUALIZA_CONTADOR_RECURSOPS regAtualizacaops);

 protected:
  HRESULT LeMestre(const CPPServidorMestrePP& mestre) override;
  HRESULT InicializaMembros(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM) override;
  void FinalizaMembros() override;
  bool PassaFiltro(uint32_t ulPntr, const PPRegistroDisco& disco) override;
  HRESULT VerificaUso(uint32_t ulPntr) override;

 private:
  HRESULT LeUsuario(const _REG_VARMO_INICIALIZAPS& regPS);
  bool FilialPermitida(uint16_t usFilial) const;
  bool ProcessoTemRecurso(int32_t lPonteiroProcesso, uint32_t ulPntr);
  HRESULT HouveMovimento(int32_t lPonteiroRecurso, uint8_t* pcHouve);
  HRESULT ProcessoUsaRecurso(int32_t lPonteiroRecurso, uint8_t* pcUsa);
  HRESULT OPUsaRecurso(int32_t lPonteiroRecurso, uint8_t* pcUsa);
  CString CaminhoCorrecoes() const;

  _REG_DF_PERMISSOES_USUARIOPS m_regUsuario{};
  CPPServidorProcesso m_processo;
};
