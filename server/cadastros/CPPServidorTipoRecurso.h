// The resource types: the handler of QVPP_TipoRecurso. A type names the production operations that
// its resources report and, per operation, what such a report records: a counter reading, a
// quantity, an interval and a detail, each with its names, unit and whether it is mandatory.
//
// On disk a type is a record of "PPTIPREC.DAT" (104 bytes) with its detail text in
// "PPTRTXDT.DAT"; its operations are a run of consecutive records of "PPTROPRC.DAT" (32 bytes), and
// each operation record names the first record of each kind of definition it reports, in
// "PPTRCONT.DAT" (64), "PPTRQTDA.DAT" (32), "PPTRINTV.DAT" (64) and "PPTRDETL.DAT" (32). A save
// appends every definition given, a read gives back one of each kind whose switch is on: the one the
// operation record names (the first saved). Clients rely on both, so they stay.
//
// The handler lives on the cache frame (CPPBufferDados), not on the master-data handler frame:
// the session is its CPPInicializa part, and the master settings (the company's data-version check
// of a client's session) are reached through its hub. Each operation opens the files it needs
// through a file set (CPPArquivosTipoRecurso) and closes them before it returns; the record routines
// are the master-data frame's (CPPServidorCadastro.h) over the set's open files.
//
// Where it departs from the frame: Existe applies the switch cUtilizaFiltro itself (its COM class
// forwards the call as it comes); Remove writes no history line; a read without reading bits 1 and 2
// gives the stored number of operations with no array.
//
// One thread at a time; the handler takes no in-process lock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "access/CPPBufferDados.h"
#include "server/CPPArquivosSubclasses.h"
#include "server/CPPHistorico.h"
#include "server/cadastros/CPPServidorCadastro.h"
#include "server/idl/VarmoRecursos.h"

#pragma pack(push, 1)
// A record of "PPTIPREC.DAT". Texts are fixed-width, without terminator when full.
struct PPRegistroTipoRecurso {
  uint32_t ulPrimeiraOperacao;      // first record of the type's run in "PPTROPRC.DAT"
  uint32_t ulPonteiroDetalhamento;  // byte offset in "PPTRTXDT.DAT", 0: no text
  uint16_t usQuantOperacaoRecurso;
  char szCodigo[10];
  char szDescricao[50];
  uint8_t cTipo;
  uint8_t cDetalharApontamento;
  uint8_t cInativo;  // 1 = inactive
  uint8_t cRemovido;
  uint8_t cZero[30];
};
static_assert(sizeof(PPRegistroTipoRecurso) == 104);
static_assert(offsetof(PPRegistroTipoRecurso, usQuantOperacaoRecurso) == 8);
static_assert(offsetof(PPRegistroTipoRecurso, szCodigo) == 10);
static_assert(offsetof(PPRegistroTipoRecurso, szDescricao) == 20);
static_assert(offsetof(PPRegistroTipoRecurso, cTipo) == 70);
static_assert(offsetof(PPRegistroTipoRecurso, cRemovido) == 73);

// A record of "PPTROPRC.DAT": one operation of a type, with the record of each kind of definition
// it reports in its file (0: none).
struct PPRegistroTipoRecursoOperacao {
  uint32_t ulPonteiroOperacaoProducao;
  uint32_t ulRegistroContador;
  uint32_t ulRegistroQuantidade;
  uint32_t ulRegistroIntervalo;
  uint32_t ulRegistroDetalhe;
  uint8_t cApontaContador;
  uint8_t cApontaQuantidade;
  uint8_t cApontaIntervalo;
  uint8_t cApontaDetalhe;
  uint8_t cZero[8];
};
static_assert(sizeof(PPRegistroTipoRecursoOperacao) == 32);
static_assert(offsetof(PPRegistroTipoRecursoOperacao, ulRegistroDetalhe) == 16);
static_assert(offsetof(PPRegistroTipoRecursoOperacao, cApontaContador) == 20);
static_assert(offsetof(PPRegistroTipoRecursoOperacao, cApontaDetalhe) == 23);

// A record of "PPTRCONT.DAT".
struct PPRegistroTipoRecursoContador {
  uint32_t ulPonteiroUnidadeMedida;
  uint16_t usNumeroDigitos;
  char szNomeInicial[20];
  char szNomeFinal[20];
  uint8_t cObrigatorio;
  uint8_t cAtualizarContadorRecurso;
  uint8_t cSugerirContadorInicial;
  uint8_t cPodeInicialIgualFinal;
  uint8_t cUnidadeProdutoServico;
  uint8_t cZero[13];
};
static_assert(sizeof(PPRegistroTipoRecursoContador) == 64);
static_assert(offsetof(PPRegistroTipoRecursoContador, szNomeInicial) == 6);
static_assert(offsetof(PPRegistroTipoRecursoContador, szNomeFinal) == 26);
static_assert(offsetof(PPRegistroTipoRecursoContador, cObrigatorio) == 46);
static_assert(offsetof(PPRegistroTipoRecursoContador, cUnidadeProdutoServico) == 50);

// A record of "PPTRQTDA.DAT".
struct PPRegistroTipoRecursoQuantidade {
  uint32_t ulPonteiroUnidadeMedida;
  char szNome[20];
  uint8_t cObrigatorio;
  uint8_t cUnidadeProdutoServico;
  uint8_t cZero[6];
};
static_assert(sizeof(PPRegistroTipoRecursoQuantidade) == 32);
static_assert(offsetof(PPRegistroTipoRecursoQuantidade, cObrigatorio) == 24);

// A record of "PPTRINTV.DAT".
struct PPRegistroTipoRecursoIntervalo {
  uint32_t ulPonteiroUnidadeMedida;
  char szNomeInicial[20];
  char szNomeFinal[20];
  uint8_t cObrigatorio;
  uint8_t cValorData;
  uint8_t cUnidadeProdutoServico;
  uint8_t cZero[17];
};
static_assert(sizeof(PPRegistroTipoRecursoIntervalo) == 64);
static_assert(offsetof(PPRegistroTipoRecursoIntervalo, szNomeFinal) == 24);
static_assert(offsetof(PPRegistroTipoRecursoIntervalo, cObrigatorio) == 44);
static_assert(offsetof(PPRegistroTipoRecursoIntervalo, cUnidadeProdutoServico) == 46);

// A record of "PPTRDETL.DAT".
struct PPRegistroTipoRecursoDetalhe {
  uint16_t usMaxCaracteres;
  uint16_t usMinCaracteres;
  char szNome[20];
  uint8_t cObrigatorio;
  uint8_t cZero[7];
};
static_assert(sizeof(PPRegistroTipoRecursoDetalhe) == 32);
static_assert(offsetof(PPRegistroTipoRecursoDetalhe, szNome) == 4);
static_assert(offsetof(PPRegistroTipoRecursoDetalhe, cObrigatorio) == 24);
#pragma pack(pop)

class CPPServidorTipoRecurso : public CPPBufferDados {
 public:
  // usTipoLeitura: the detail text; the operations (either bit); each operation's definitions.
  static constexpr uint16_t kLeDetalhamento = 0x1;
  static constexpr uint16_t kLeOperacoes = 0x2;
  static constexpr uint16_t kLeDefinicoes = 0x4;

  CPPServidorTipoRecurso() = default;
  ~CPPServidorTipoRecurso() override = default;

  // chamadaCOM: the call comes from a client, so the master settings are created through the hub
  // (the company's data-version check) and the history client opens. No file opens here: a company
  // without data directory is refused (975) by each operation. On failure the handler stays
  // uninitialised and holds nothing.
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint8_t chamadaCOM);
  // Closes the history client, zeroes the filter and ends the cache frame's session.
  int32_t Finaliza() override;

  // Every dependent list is checked before the first write (1587 for a count without its array).
  HRESULT Grava(uint32_t ulPonteiro, _REG_PP_TIPO_RECURSOPS regTipoRecursops, uint32_t* pulPonteiroOut);
  // 1588 while a resource has the type; an already removed type succeeds untouched.
  HRESULT Remove(uint32_t ulPonteiro);
  // 1587 for no count, no pointer array, no output or a zero pointer, before any output is touched.
  // A failed record's arrays are freed; the records before it stay filled for the caller.
  HRESULT LePonteiros(uint32_t ulQtd, uint32_t* pulPonteiros, _REG_PP_TIPO_RECURSOPS* pregTipoRecursops,
                      uint16_t usTipoLeitura);
  // Every type that passes the filter, read as LePonteiros reads; no array when there is none. On
  // failure nothing stays allocated.
  HRESULT BuscaRegistros(_REG_PP_LISTA_TIPO_RECURSOPS* pListaTipoRecursops, uint16_t usTipoLeitura);
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS* pListaPonteirosps);
  HRESULT SetFiltro(_REG_PP_FILTRO_TIPO_RECURSOPS regFiltrops);
  HRESULT LimpaFiltro();
  // With cUtilizaFiltro 1 under the filter; otherwise only removed types are skipped.
  HRESULT Existe(BSTR bsCodigo, uint32_t* pulPosicao, uint8_t cUtilizaFiltro);

 private:
  HRESULT InicializaPassos(const _REG_VARMO_INICIALIZAPS& regPS, uint8_t chamadaCOM);
  HRESULT VerificaInicializado() const;
  // The set prepared with the session, the lock taken when `marca` is given (before any file
  // opens, held by the caller until it returns), then the files of lBits opened in the mode.
  HRESULT AbreArquivos(CPPArquivosTipoRecurso& arquivos, uint32_t lBits, char cModo, CQVArqMarca* marca = nullptr);
  // The filter test over the set's operation file.
  PPTesteFiltro Filtro(CPPArquivosTipoRecurso& arquivos) const;
  // A resource handler, built without COM, lists the resources of the type: 1588 for any.
  HRESULT VerificaUso(uint32_t ulPonteiro);

  CPPHistorico m_historico;
  _REG_PP_FILTRO_TIPO_RECURSOPS m_filtro{};
};
