#include "access/PPLiberaRegistro.h"

#include <type_traits>

#include "model/PPDadosBase.h"

// The walk is this file's own rather than the data classes' release (LiberaArraysCom): that one
// zeroes a count whose array is null and frees a shipment's inputs whatever their count. Here a
// count beside a null array stays: a server answers a read that did not ask for a kind of child
// with its count and no array, and that count is the record's data, nothing to release.

namespace {

// Every body below is written once for both allocators: kAlocacao fixes, for a whole tree, which
// release PPLiberaBloco uses (the one that matches how model/ allocates in CopiarPara, or the COM
// task allocator), so that no array goes back to the other one.

// Frees one counted array of a record: each of its elements first through liberaElemento, then the
// array; pointer null, count 0. A null array is skipped and its count kept. The fields are read and
// written through PPCampo because they may stand misaligned in the packed record.
template <PPAlocacao kAlocacao, class CampoQtd, class CampoArray, class Elemento>
void LiberaArray(typename CampoQtd::Registro* registro, Elemento liberaElemento) {
  auto* array = CampoArray::Le(*registro);
  if (array == nullptr) return;
  const typename CampoQtd::Tipo quantidade = CampoQtd::Le(*registro);
  for (typename CampoQtd::Tipo i = 0; i < quantidade; ++i) liberaElemento(&array[i]);
  PPLiberaBloco<kAlocacao>(array);
  CampoArray::Escreve(registro, nullptr);
  CampoQtd::Escreve(registro, 0);
}

// Elements that hold no arrays of their own.
constexpr auto kSemArrays = [](const void*) {};

#define REGISTRO_DE(registro) std::remove_pointer_t<decltype(registro)>
// The array campoArray of *registro, with its count campoQtd, in the release kAlocacao of the
// enclosing body.
#define LIBERA_ARRAY(registro, campoQtd, campoArray, liberaElemento)   \
  LiberaArray<kAlocacao, PP_CAMPO_DE(REGISTRO_DE(registro), campoQtd), \
              PP_CAMPO_DE(REGISTRO_DE(registro), campoArray)>(registro, liberaElemento)
// The sub-record campo embedded in *registro, in place.
#define EMBUTIDO(registro, campo) PP_CAMPO_DE(REGISTRO_DE(registro), campo)::Endereco(registro)

template <PPAlocacao kAlocacao>
void MovimentoES(_REG_ES_MOVIMENTOPS* movimento) {
  LIBERA_ARRAY(movimento, iQuantidadeContabil, pregContabil,
               [](_REG_ES_CONTABILIZACAOPS* contabil) {
                 LIBERA_ARRAY(contabil, iQuantidadeGerencial, pregGerencial, kSemArrays);
               });
  LIBERA_ARRAY(movimento, iQtdItensComposicao, pregComposicao, kSemArrays);
  LIBERA_ARRAY(movimento, iQtdMovsReferencia, pregMovReferencia, kSemArrays);
}

template <PPAlocacao kAlocacao>
void RetornoIndustrializacao(_REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS* retorno) {
  // The return's own scrap movement holds accounting arrays as the report's does.
  MovimentoES<kAlocacao>(EMBUTIDO(retorno, regMovimentoRefugo));
  LIBERA_ARRAY(retorno, usQtdMvtoEstoque, pregMovimentos, MovimentoES<kAlocacao>);
  LIBERA_ARRAY(retorno, usQtdIndustrializadores, pregIndustrializadores,
               [](_REG_PP_TRANSITO_INDUSTRIALIZADORESPS* industrializador) {
                 LIBERA_ARRAY(industrializador, usQtdOP, pregOP, kSemArrays);
               });
  LIBERA_ARRAY(retorno, usQtdApontUltProcesso, pregApontUltProcesso, kSemArrays);
  LIBERA_ARRAY(retorno, usQtdChaveApontamentoImportado, plistaChaveApontamentoImportado,
               kSemArrays);
}

template <PPAlocacao kAlocacao>
void RemessaIndustrializacao(_REG_PP_REMESSA_INDUSTRIALIZACAOPS* remessa) {
  // Without inputs the pointer field is not trusted: a shipment filled by hand may leave it unset.
  if (remessa->usQtdInsumos == 0) return;
  LIBERA_ARRAY(remessa, usQtdInsumos, pregRemessaInsumo, kSemArrays);
}

template <PPAlocacao kAlocacao>
void ApontamentoRecursoOperacao(_REG_PP_APONTAMENTO_RECURSO_OPERACAOPS* operacao) {
  LIBERA_ARRAY(operacao, usQuantApontamentoContador, pregContadores, kSemArrays);
  LIBERA_ARRAY(operacao, usQuantApontamentoQuantidade, pregQuantidades, kSemArrays);
  LIBERA_ARRAY(operacao, usQuantApontamentoIntervalo, pregIntervalos, kSemArrays);
  LIBERA_ARRAY(operacao, usQuantApontamentoDetalhe, pregDetalhes, kSemArrays);
}

template <PPAlocacao kAlocacao>
void ResumoApontamentoRecurso(_REG_PP_RESUMO_APONTAMENTO_RECURSOPS* resumo) {
  LIBERA_ARRAY(resumo, usQuantApontamentoContador, pregContadores, kSemArrays);
  LIBERA_ARRAY(resumo, usQuantApontamentoQuantidade, pregQuantidades, kSemArrays);
  LIBERA_ARRAY(resumo, usQuantApontamentoIntervalo, pregIntervalos, kSemArrays);
  LIBERA_ARRAY(resumo, usQuantApontamentoDetalhe, pregDetalhes, kSemArrays);
}

template <PPAlocacao kAlocacao>
void ApontamentoRecurso(_REG_PP_APONTAMENTO_RECURSOPS* recurso) {
  LIBERA_ARRAY(recurso, usQuantidadeApontamentoOperacao, pregOperacoes,
               ApontamentoRecursoOperacao<kAlocacao>);
}

template <PPAlocacao kAlocacao>
void Apontamento(_REG_VARMO_OP_APONTAMENTO* apontamento) {
  MovimentoES<kAlocacao>(EMBUTIDO(apontamento, regMovimentoRefugo));
  LIBERA_ARRAY(apontamento, usQtdMvtoEntrada, pregMvtoEntrada, MovimentoES<kAlocacao>);
  LIBERA_ARRAY(apontamento, usQtdMvtoEstoque, pregMovimentos, MovimentoES<kAlocacao>);
  LIBERA_ARRAY(apontamento, usQtdRetornoIndustExt, pregRetornoIndustrializacao,
               RetornoIndustrializacao<kAlocacao>);
  // Their operations are filled as those of the reported resources (CopiarPara writes both lists
  // with the same element class): freeing the array alone would lose them.
  LIBERA_ARRAY(apontamento, usQtdRecursosNaoApontados, pregRecursosNaoApontados,
               ApontamentoRecurso<kAlocacao>);
  LIBERA_ARRAY(apontamento, usQtdRecursos, pregRecursos, ApontamentoRecurso<kAlocacao>);
  LIBERA_ARRAY(apontamento, usQtdChaveApontamentoImportado, plistaChaveApontamentoImportado,
               kSemArrays);
  RemessaIndustrializacao<kAlocacao>(EMBUTIDO(apontamento, regRemessaIndustrializacao));
}

template <PPAlocacao kAlocacao>
void OPProcesso(_REG_VARMO_OP_PROCESSOPS* processo) {
  LIBERA_ARRAY(processo, usQuantidadeInsumos, pregInsumos, kSemArrays);
  LIBERA_ARRAY(processo, usQuantidadeRecursos, pregRecursos, kSemArrays);
  LIBERA_ARRAY(processo, usQtdImagens, pregImagens, kSemArrays);
  LIBERA_ARRAY(processo, usQtdEtiquetas, pregEtiquetas, kSemArrays);
  LIBERA_ARRAY(processo, usQuantidadeApontamentosSimples, pregApontamentosSimples,
               Apontamento<kAlocacao>);
  LIBERA_ARRAY(processo, usQuantidadeApontamentos, pregApontamentos, Apontamento<kAlocacao>);
}

template <PPAlocacao kAlocacao>
void OP(_REG_VARMO_OPPS* op) {
  LIBERA_ARRAY(op, usQtdProcessos, pregProcessos, OPProcesso<kAlocacao>);
  LIBERA_ARRAY(op, usQtdItens, pregItens, kSemArrays);
}

template <PPAlocacao kAlocacao>
void TipoRecursoOperacao(_REG_PP_TIPO_RECURSO_OPERACAOPS* operacao) {
  LIBERA_ARRAY(operacao, usQuantApontaContador, pregContadores, kSemArrays);
  LIBERA_ARRAY(operacao, usQuantApontaQuantidade, pregQuantidades, kSemArrays);
  LIBERA_ARRAY(operacao, usQuantApontaIntervalo, pregIntervalos, kSemArrays);
  LIBERA_ARRAY(operacao, usQuantApontaDetalhe, pregDetalhes, kSemArrays);
}

template <PPAlocacao kAlocacao>
void TipoRecurso(_REG_PP_TIPO_RECURSOPS* tipoRecurso) {
  LIBERA_ARRAY(tipoRecurso, usQuantOperacaoRecurso, pregOperacoes, TipoRecursoOperacao<kAlocacao>);
}

#undef EMBUTIDO
#undef LIBERA_ARRAY
#undef REGISTRO_DE

// The body of the allocator that bAlocadoPorNew names.
template <class R>
void NoModo(R* registro, uint8_t bAlocadoPorNew, void (*copiarPara)(R*), void (*servidor)(R*)) {
  if (registro == nullptr) return;
  (bAlocadoPorNew != 0 ? copiarPara : servidor)(registro);
}

}  // namespace

// Each routine: the null check and the choice of body, one per allocator.
#define LIBERA_REGISTRO(Rotina, Registro, Corpo)                                                  \
  void Rotina(Registro* registro, uint8_t bAlocadoPorNew) {                                       \
    NoModo(registro, bAlocadoPorNew, Corpo<PPAlocacao::CopiarPara>, Corpo<PPAlocacao::Servidor>); \
  }

LIBERA_REGISTRO(LiberaRegistroApontamento, _REG_VARMO_OP_APONTAMENTO, Apontamento)
LIBERA_REGISTRO(LiberaRegistroOPProcesso, _REG_VARMO_OP_PROCESSOPS, OPProcesso)
LIBERA_REGISTRO(LiberaRegistroOP, _REG_VARMO_OPPS, OP)
LIBERA_REGISTRO(LiberaRegistroMovimentoES, _REG_ES_MOVIMENTOPS, MovimentoES)
LIBERA_REGISTRO(LiberaRegistroRetornoIndustrializacao,
                _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS, RetornoIndustrializacao)
LIBERA_REGISTRO(LiberaRegistroRemessaIndustrializacao, _REG_PP_REMESSA_INDUSTRIALIZACAOPS,
                RemessaIndustrializacao)
LIBERA_REGISTRO(LiberaRegistroApontamentoRecurso, _REG_PP_APONTAMENTO_RECURSOPS, ApontamentoRecurso)
LIBERA_REGISTRO(LiberaRegistroApontamentoRecursoOperacao, _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS,
                ApontamentoRecursoOperacao)
LIBERA_REGISTRO(LiberaRegistroResumoApontamentoRecurso, _REG_PP_RESUMO_APONTAMENTO_RECURSOPS,
                ResumoApontamentoRecurso)
LIBERA_REGISTRO(LiberaRegistroTipoRecurso, _REG_PP_TIPO_RECURSOPS, TipoRecurso)
