#include "tests/model/ArvoreRegistro.h"

#include <cstdint>
#include <cstring>

#include "model/CPPDadosOcupacaoFabrica.h"
#include "platform/com/taskmem.h"
#include "server/idl/Varmo.h"

namespace {

#define FILHOS(R, qtd, array, elemento) \
  FilhosDoRegistro { offsetof(R, qtd), sizeof(R::qtd), offsetof(R, array), &elemento }
#define EMBUTIDO(R, campo, forma) \
  EmbutidoNoRegistro { offsetof(R, campo), &forma }

const FormaRegistro kNumero{sizeof(uint32_t), {}, {}};
const FormaRegistro kGerencial{sizeof(_REG_ES_GERENCIALPS), {}, {}};
const FormaRegistro kContabil{
    sizeof(_REG_ES_CONTABILIZACAOPS),
    {FILHOS(_REG_ES_CONTABILIZACAOPS, iQuantidadeGerencial, pregGerencial, kGerencial)},
    {}};
const FormaRegistro kComposicao{sizeof(_REG_ES_COMPOSICAO_PRODUTOPS), {}, {}};
const FormaRegistro kMovReferencia{sizeof(_REG_ES_MOV_REFERENCIAPS), {}, {}};
const FormaRegistro kTransitoOP{sizeof(_REG_PP_TRANSITO_INDUSTRIALIZADOR_OPPS), {}, {}};
const FormaRegistro kTransito{
    sizeof(_REG_PP_TRANSITO_INDUSTRIALIZADORESPS),
    {FILHOS(_REG_PP_TRANSITO_INDUSTRIALIZADORESPS, usQtdOP, pregOP, kTransitoOP)},
    {}};
const FormaRegistro kUltProcesso{sizeof(_REG_PP_APONTAMENTO_ULT_PROCESSO_RET_INDPS), {}, {}};
const FormaRegistro kContador{sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS), {}, {}};
const FormaRegistro kQuantidade{sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_QUANTIDADEPS), {}, {}};
const FormaRegistro kIntervalo{sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS), {}, {}};
const FormaRegistro kDetalhe{sizeof(_REG_PP_APONTAMENTO_RECURSO_OPERACAO_DETALHEPS), {}, {}};
using Operacao = _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS;
const FormaRegistro kOperacao{
    sizeof(Operacao),
    {FILHOS(Operacao, usQuantApontamentoContador, pregContadores, kContador),
     FILHOS(Operacao, usQuantApontamentoQuantidade, pregQuantidades, kQuantidade),
     FILHOS(Operacao, usQuantApontamentoIntervalo, pregIntervalos, kIntervalo),
     FILHOS(Operacao, usQuantApontamentoDetalhe, pregDetalhes, kDetalhe)},
    {}};
const FormaRegistro kRemessaInsumo{sizeof(_REG_PP_REMESSA_INSUMOPS), {}, {}};
const FormaRegistro kRemessa{
    sizeof(_REG_PP_REMESSA_INDUSTRIALIZACAOPS),
    {FILHOS(_REG_PP_REMESSA_INDUSTRIALIZACAOPS, usQtdInsumos, pregRemessaInsumo, kRemessaInsumo)},
    {}};
const FormaRegistro kInsumo{sizeof(_REG_VARMO_OP_PROCESSO_INSUMOPS), {}, {}};
const FormaRegistro kRecursoOP{sizeof(_REG_PP_OP_RECURSOPS), {}, {}};
const FormaRegistro kImagem{sizeof(_REG_PP_OP_PROCESSO_IMAGEMPS), {}, {}};
const FormaRegistro kEtiqueta{sizeof(_REG_PP_OP_PROCESSO_ETIQUETAPS), {}, {}};
const FormaRegistro kItem{sizeof(_REG_VARMO_OP_ITEMPS), {}, {}};
const FormaRegistro kOcupacaoOP{sizeof(_REG_PP_OCUPACAO_FABRICA_OP_OUTPS), {}, {}};
const FormaRegistro kOcupacaoProcesso{
    sizeof(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS),
    {FILHOS(_REG_PP_OCUPACAO_FABRICA_PROCESSO_OUTPS, usQtdOPs, pregOPs, kOcupacaoOP)},
    {}};

using Retorno = _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS;
using Apontamento = _REG_VARMO_OP_APONTAMENTO;
using Processo = _REG_VARMO_OP_PROCESSOPS;

int32_t LeQuantidade(const uint8_t* registro, const FilhosDoRegistro& filhos) {
  if (filhos.larguraQtd == 2) {
    uint16_t quantidade;
    std::memcpy(&quantidade, registro + filhos.offsetQtd, 2);
    return quantidade;
  }
  int32_t quantidade;
  std::memcpy(&quantidade, registro + filhos.offsetQtd, 4);
  return quantidade;
}

uint8_t* LeArray(const uint8_t* registro, const FilhosDoRegistro& filhos) {
  uint8_t* array;
  std::memcpy(&array, registro + filhos.offsetArray, sizeof(array));
  return array;
}

std::string Diferenca(const uint8_t* a, const uint8_t* b, const FormaRegistro& forma,
                      const std::string& onde) {
  std::vector<bool> fora(forma.tamanho, false);
  for (const FilhosDoRegistro& f : forma.filhos)
    for (size_t i = 0; i < sizeof(void*); ++i) fora[f.offsetArray + i] = true;
  for (const EmbutidoNoRegistro& e : forma.embutidos)
    for (size_t i = 0; i < e.forma->tamanho; ++i) fora[e.offset + i] = true;
  for (size_t i = 0; i < forma.tamanho; ++i)
    if (!fora[i] && a[i] != b[i]) return onde + " byte " + std::to_string(i);
  for (const EmbutidoNoRegistro& e : forma.embutidos) {
    std::string d = Diferenca(a + e.offset, b + e.offset, *e.forma,
                              onde + " embedded@" + std::to_string(e.offset));
    if (!d.empty()) return d;
  }
  for (const FilhosDoRegistro& f : forma.filhos) {
    const std::string lista = onde + " list@" + std::to_string(f.offsetQtd);
    const uint8_t* arrayA = LeArray(a, f);
    const uint8_t* arrayB = LeArray(b, f);
    if ((arrayA == nullptr) != (arrayB == nullptr)) return lista + " array null on one side";
    const int32_t quantidade = LeQuantidade(a, f);
    if (arrayA == nullptr || quantidade <= 0) continue;
    if (arrayA == arrayB) return lista + " array shared";
    for (int32_t i = 0; i < quantidade; ++i) {
      const size_t passo = i * f.elemento->tamanho;
      std::string d = Diferenca(arrayA + passo, arrayB + passo, *f.elemento,
                                lista + "[" + std::to_string(i) + "]");
      if (!d.empty()) return d;
    }
  }
  return "";
}

int CopiaComoServidor(const uint8_t* origem, uint8_t* destino, const FormaRegistro& forma) {
  std::memcpy(destino, origem, forma.tamanho);
  int arrays = 0;
  for (const EmbutidoNoRegistro& e : forma.embutidos)
    arrays += CopiaComoServidor(origem + e.offset, destino + e.offset, *e.forma);
  for (const FilhosDoRegistro& f : forma.filhos) {
    const uint8_t* array = LeArray(origem, f);
    const int32_t quantidade = LeQuantidade(origem, f);
    uint8_t* copia = nullptr;
    if (array != nullptr && quantidade > 0) {
      copia = static_cast<uint8_t*>(CoTaskMemAlloc(quantidade * f.elemento->tamanho));
      ++arrays;
      for (int32_t i = 0; i < quantidade; ++i) {
        const size_t passo = i * f.elemento->tamanho;
        arrays += CopiaComoServidor(array + passo, copia + passo, *f.elemento);
      }
    }
    std::memcpy(destino + f.offsetArray, &copia, sizeof(copia));
  }
  return arrays;
}

void VisitaArrays(const uint8_t* registro, const FormaRegistro& forma,
                  const std::function<bool(const void*)>& visita) {
  for (const EmbutidoNoRegistro& e : forma.embutidos)
    VisitaArrays(registro + e.offset, *e.forma, visita);
  for (const FilhosDoRegistro& f : forma.filhos) {
    const uint8_t* array = LeArray(registro, f);
    const int32_t quantidade = LeQuantidade(registro, f);
    if (array == nullptr || quantidade <= 0 || !visita(array)) continue;
    for (int32_t i = 0; i < quantidade; ++i)
      VisitaArrays(array + i * f.elemento->tamanho, *f.elemento, visita);
  }
}

}  // namespace

const FormaRegistro kFormaMovimento{
    sizeof(_REG_ES_MOVIMENTOPS),
    {FILHOS(_REG_ES_MOVIMENTOPS, iQuantidadeContabil, pregContabil, kContabil),
     FILHOS(_REG_ES_MOVIMENTOPS, iQtdItensComposicao, pregComposicao, kComposicao),
     FILHOS(_REG_ES_MOVIMENTOPS, iQtdMovsReferencia, pregMovReferencia, kMovReferencia)},
    {}};
const FormaRegistro kFormaRetorno{
    sizeof(Retorno),
    {FILHOS(Retorno, usQtdMvtoEstoque, pregMovimentos, kFormaMovimento),
     FILHOS(Retorno, usQtdIndustrializadores, pregIndustrializadores, kTransito),
     FILHOS(Retorno, usQtdApontUltProcesso, pregApontUltProcesso, kUltProcesso),
     FILHOS(Retorno, usQtdChaveApontamentoImportado, plistaChaveApontamentoImportado, kNumero)},
    {EMBUTIDO(Retorno, regMovimentoRefugo, kFormaMovimento)}};
const FormaRegistro kFormaApontamentoRecurso{
    sizeof(_REG_PP_APONTAMENTO_RECURSOPS),
    {FILHOS(_REG_PP_APONTAMENTO_RECURSOPS, usQuantidadeApontamentoOperacao, pregOperacoes,
            kOperacao)},
    {}};
const FormaRegistro kFormaApontamento{
    sizeof(Apontamento),
    {FILHOS(Apontamento, usQtdMvtoEntrada, pregMvtoEntrada, kFormaMovimento),
     FILHOS(Apontamento, usQtdMvtoEstoque, pregMovimentos, kFormaMovimento),
     FILHOS(Apontamento, usQtdRetornoIndustExt, pregRetornoIndustrializacao, kFormaRetorno),
     FILHOS(Apontamento, usQtdRecursosNaoApontados, pregRecursosNaoApontados,
            kFormaApontamentoRecurso),
     FILHOS(Apontamento, usQtdRecursos, pregRecursos, kFormaApontamentoRecurso),
     FILHOS(Apontamento, usQtdChaveApontamentoImportado, plistaChaveApontamentoImportado,
            kNumero)},
    {EMBUTIDO(Apontamento, regRemessaIndustrializacao, kRemessa),
     EMBUTIDO(Apontamento, regMovimentoRefugo, kFormaMovimento)}};
const FormaRegistro kFormaOPProcesso{
    sizeof(Processo),
    {FILHOS(Processo, usQuantidadeInsumos, pregInsumos, kInsumo),
     FILHOS(Processo, usQuantidadeRecursos, pregRecursos, kRecursoOP),
     FILHOS(Processo, usQuantidadeApontamentosSimples, pregApontamentosSimples, kFormaApontamento),
     FILHOS(Processo, usQuantidadeApontamentos, pregApontamentos, kFormaApontamento),
     FILHOS(Processo, usQtdImagens, pregImagens, kImagem),
     FILHOS(Processo, usQtdEtiquetas, pregEtiquetas, kEtiqueta)},
    {}};
const FormaRegistro kFormaOP{
    sizeof(_REG_VARMO_OPPS),
    {FILHOS(_REG_VARMO_OPPS, usQtdProcessos, pregProcessos, kFormaOPProcesso),
     FILHOS(_REG_VARMO_OPPS, usQtdItens, pregItens, kItem)},
    {}};
const FormaRegistro kFormaOcupacao{
    sizeof(_REG_PP_OCUPACAO_FABRICA_OUTPS),
    {FILHOS(_REG_PP_OCUPACAO_FABRICA_OUTPS, usQtdProcessos, pregProcessos, kOcupacaoProcesso)},
    {}};

std::string DiferencaEntreArvores(const void* a, const void* b, const FormaRegistro& forma) {
  return Diferenca(static_cast<const uint8_t*>(a), static_cast<const uint8_t*>(b), forma, "record");
}

int CopiaComoServidor(const void* origem, void* destino, const FormaRegistro& forma) {
  return CopiaComoServidor(static_cast<const uint8_t*>(origem), static_cast<uint8_t*>(destino),
                           forma);
}

void VisitaArrays(const void* registro, const FormaRegistro& forma,
                  const std::function<bool(const void*)>& visita) {
  VisitaArrays(static_cast<const uint8_t*>(registro), forma, visita);
}
