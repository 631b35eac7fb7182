// The round trip that every data class of the master data, technical sheets, resources,
// maintenance, mirrors of other modules and report requests shares, as one table over the classes.
// A record tree filled with arbitrary bytes, as a server returns it (every array from the task
// allocator), goes through CopiarDe, a copy of the object, CopiarPara, CopiarDe and CopiarPara
// again: every byte at every level comes back, no two records share an array, and the server's
// arrays and those of CopiarPara are all freed by the matching release. The shapes of the trees
// are written down here from the record definitions, not taken from the classes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/CPPDadosCalendario.h"
#include "model/CPPDadosCategoria.h"
#include "model/CPPDadosColecao.h"
#include "model/CPPDadosDetRelatorio.h"
#include "model/CPPDadosFichaTecnica.h"
#include "model/CPPDadosFilial.h"
#include "model/CPPDadosFluxo.h"
#include "model/CPPDadosGestaoManutencao.h"
#include "model/CPPDadosLocalES.h"
#include "model/CPPDadosMestre.h"
#include "model/CPPDadosMotivoRefugo.h"
#include "model/CPPDadosMunicipio.h"
#include "model/CPPDadosNotaFiscalFT.h"
#include "model/CPPDadosNotaFiscalRE.h"
#include "model/CPPDadosOperacaoProducao.h"
#include "model/CPPDadosPlanoDF.h"
#include "model/CPPDadosPlanoManutencao.h"
#include "model/CPPDadosPonteirosULONG.h"
#include "model/CPPDadosProcesso.h"
#include "model/CPPDadosProduto.h"
#include "model/CPPDadosRecurso.h"
#include "model/CPPDadosRequisicaoInterna.h"
#include "model/CPPDadosRequisitante.h"
#include "model/CPPDadosSecao.h"
#include "model/CPPDadosTipoOP.h"
#include "model/CPPDadosTipoRecurso.h"
#include "model/CPPDadosUnMedida.h"
#include "model/CPPDadosUsuario.h"
#include "platform/com/taskmem.h"
#include "tests/model/ArvoreRegistro.h"

namespace {

#define FILHOS(R, qtd, array, elemento) \
  FilhosDoRegistro { offsetof(R, qtd), sizeof(R::qtd), offsetof(R, array), &elemento }
#define EMBUTIDO(R, campo, forma) \
  EmbutidoNoRegistro { offsetof(R, campo), &forma }

// A record without children.
template <class R>
const FormaRegistro kFolha{sizeof(R), {}, {}};

const FormaRegistro kPonteiros{
    sizeof(_REG_VARMO_PONTEIROS_ULONGPS),
    {FILHOS(_REG_VARMO_PONTEIROS_ULONGPS, lQtd, plPonteiro, kFolha<uint32_t>)},
    {}};
const FormaRegistro kTipoOP{
    sizeof(_REG_VARMO_TIPO_OPPS),
    {FILHOS(_REG_VARMO_TIPO_OPPS, usQtdUsuarios, pregTipoOPUsuario,
            kFolha<_REG_VARMO_TIPO_OP_USUARIOPS>)},
    {}};
const FormaRegistro kProcessoRecurso{
    sizeof(_REG_PP_PROCESSO_RECURSOPS),
    {FILHOS(_REG_PP_PROCESSO_RECURSOPS, usQtdParadas, pregParadas,
            kFolha<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS>)},
    {}};
const FormaRegistro kProcesso{
    sizeof(_REG_VARMO_PROCESSOPS),
    {FILHOS(_REG_VARMO_PROCESSOPS, usQtdRecursos, pregRecursos, kProcessoRecurso)},
    {}};
const FormaRegistro kFluxo{
    sizeof(_REG_VARMO_FLUXOPS),
    {FILHOS(_REG_VARMO_FLUXOPS, usQtdProcessos, pregProcessos,
            kFolha<_REG_VARMO_FLUXO_PROCESSOPS>)},
    {}};
using ProdutoFicha = _REG_VARMO_PRODUTO_FICHA_TECNICAPS;
const FormaRegistro kProdutoFicha{
    sizeof(ProdutoFicha),
    {FILHOS(ProdutoFicha, usQuantidadeGradeProduto, pregGradeProduto,
            kFolha<_REG_PP_GRADE_PRODUTO_FICHAPS>)},
    {}};
using ProcessoFicha = _REG_VARMO_PROCESSO_FICHA_TECNICAPS;
const FormaRegistro kProcessoFicha{
    sizeof(ProcessoFicha),
    {FILHOS(ProcessoFicha, usQuantidadeProdutos, pregProdutos, kProdutoFicha),
     FILHOS(ProcessoFicha, usQuantidadeTolerancia, pregTolerancias,
            kFolha<_REG_VARMO_TOLERANCIA_PARA_APONTAMENTOPS>),
     FILHOS(ProcessoFicha, usQtdImagens, pregImagens, kFolha<_REG_PP_IMAGEM_FICHA_TECNICAPS>),
     FILHOS(ProcessoFicha, usQtdEtiquetas, pregEtiquetas, kFolha<_REG_PP_ETIQUETA_FICHA_TECNICAPS>)},
    {}};
const FormaRegistro kFicha{
    sizeof(_REG_VARMO_FICHA_TECNICAPS),
    {FILHOS(_REG_VARMO_FICHA_TECNICAPS, usQuantidadeProcessos, pregProcessos, kProcessoFicha)},
    {}};
const FormaRegistro kListaHistorico{
    sizeof(_REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS),
    {FILHOS(_REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS, ulQuantidade, pregLista,
            kFolha<_REG_PP_RECURSO_HISTORICO_CONTADORPS>)},
    {}};
using OperacaoTipo = _REG_PP_TIPO_RECURSO_OPERACAOPS;
const FormaRegistro kOperacaoTipo{
    sizeof(OperacaoTipo),
    {FILHOS(OperacaoTipo, usQuantApontaContador, pregContadores,
            kFolha<_REG_PP_TIPO_RECURSO_CONTADORPS>),
     FILHOS(OperacaoTipo, usQuantApontaQuantidade, pregQuantidades,
            kFolha<_REG_PP_TIPO_RECURSO_QUANTIDADEPS>),
     FILHOS(OperacaoTipo, usQuantApontaIntervalo, pregIntervalos,
            kFolha<_REG_PP_TIPO_RECURSO_INTERVALOPS>),
     FILHOS(OperacaoTipo, usQuantApontaDetalhe, pregDetalhes, kFolha<_REG_PP_TIPO_RECURSO_DETALHEPS>)},
    {}};
const FormaRegistro kTipoRecurso{
    sizeof(_REG_PP_TIPO_RECURSOPS),
    {FILHOS(_REG_PP_TIPO_RECURSOPS, usQuantOperacaoRecurso, pregOperacoes, kOperacaoTipo)},
    {}};
const FormaRegistro kPlano{
    sizeof(_REG_PP_PLANO_MANUTENCAOPS),
    {FILHOS(_REG_PP_PLANO_MANUTENCAOPS, usQuantComponentes, pregComponentes,
            kFolha<_REG_PP_PLANO_MANUTENCAO_COMPONENTEPS>),
     FILHOS(_REG_PP_PLANO_MANUTENCAOPS, usQuantManutProgramada, pregManutencaoProgramada,
            kFolha<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS>)},
    {}};
const FormaRegistro kGestao{
    sizeof(_REG_PP_MANUTENCAOPS),
    {FILHOS(_REG_PP_MANUTENCAOPS, usQtdComponentes, pregComponentes,
            kFolha<_REG_PP_MANUTENCAO_COMPONENTEPS>)},
    {}};
const FormaRegistro kAtendimento{
    sizeof(_REG_ATENDIMENTOPS),
    {FILHOS(_REG_ATENDIMENTOPS, ulQtdComposicao, pregComposicao,
            kFolha<_REG_ATENDIMENTO_COMPOSICAOPS>)},
    {}};
const FormaRegistro kItemRequisicao{
    sizeof(_REG_ITEMREQUISICAOINTERNAPS),
    {FILHOS(_REG_ITEMREQUISICAOINTERNAPS, ulQtdAtendimentos, pregAtendimentos, kAtendimento),
     FILHOS(_REG_ITEMREQUISICAOINTERNAPS, ulQtdComposicao, pregComposicao,
            kFolha<_REG_COMPOSICAO_ITEM_REQUISICAOPS>)},
    {}};
const FormaRegistro kRequisicao{
    sizeof(_REG_REQUISICAOINTERNAPS),
    {FILHOS(_REG_REQUISICAOINTERNAPS, ulQtdItens, pregItens, kItemRequisicao)},
    {}};
const FormaRegistro kCapacidade{
    sizeof(_REG_PP_DET_RELATORIO_CAPACIDADEPS),
    {FILHOS(_REG_PP_DET_RELATORIO_CAPACIDADEPS, usQtdProdutosServicos, pregProdutosServicos,
            kFolha<_REG_PP_DET_RELATORIO_CAPACIDADE_PRODUTOPS>)},
    {}};
const FormaRegistro kInsumoPorOP{sizeof(_REG_PP_DET_RELATORIO_INSUMO_POR_OPPS),
                                 {},
                                 {EMBUTIDO(_REG_PP_DET_RELATORIO_INSUMO_POR_OPPS, regListaOP, kPonteiros),
                                  EMBUTIDO(_REG_PP_DET_RELATORIO_INSUMO_POR_OPPS, regListaProcesso,
                                           kPonteiros)}};

// The arrays that the requisition records carry and the classes never keep: the tree that a
// server returns here holds none (CopiarDe and CopiarPara give them as zero); their release is
// shown apart.
const std::map<const FormaRegistro*, std::vector<std::pair<size_t, size_t>>> kNaoGuardados = {
    {&kItemRequisicao,
     {{offsetof(_REG_ITEMREQUISICAOINTERNAPS, ulQtdAdicionais), 4},
      {offsetof(_REG_ITEMREQUISICAOINTERNAPS, pregAdicionais), 4}}},
    {&kAtendimento,
     {{offsetof(_REG_ATENDIMENTOPS, ulQtdAdicionais), 4},
      {offsetof(_REG_ATENDIMENTOPS, pregAdicionais), 4}}},
};

class Bytes {
 public:
  explicit Bytes(const std::string& nome) {
    for (char c : nome) estado_ = estado_ * 31 + static_cast<unsigned char>(c);
  }
  uint32_t Proximo() {
    estado_ ^= estado_ << 13;
    estado_ ^= estado_ >> 17;
    estado_ ^= estado_ << 5;
    return estado_;
  }

 private:
  uint32_t estado_ = 2463534242u;
};

// Fills a record tree as a server would return it: arbitrary bytes in every field, two children
// of each kind at the top and zero to two below, every array from the task allocator.
void MontaComoServidor(uint8_t* registro, const FormaRegistro& forma, Bytes& bytes, int nivel) {
  for (size_t i = 0; i < forma.tamanho; ++i) registro[i] = static_cast<uint8_t>(bytes.Proximo());
  if (auto zerados = kNaoGuardados.find(&forma); zerados != kNaoGuardados.end())
    for (const auto& [offset, largura] : zerados->second) std::memset(registro + offset, 0, largura);
  for (const EmbutidoNoRegistro& e : forma.embutidos)
    MontaComoServidor(registro + e.offset, *e.forma, bytes, nivel);
  for (const FilhosDoRegistro& f : forma.filhos) {
    const uint32_t quantidade = nivel == 0 ? 2 : bytes.Proximo() % 3;
    uint8_t* array = nullptr;
    if (quantidade > 0) {
      array = static_cast<uint8_t*>(CoTaskMemAlloc(quantidade * f.elemento->tamanho));
      for (uint32_t i = 0; i < quantidade; ++i)
        MontaComoServidor(array + i * f.elemento->tamanho, *f.elemento, bytes, nivel + 1);
    }
    std::memcpy(registro + f.offsetQtd, &quantidade, f.larguraQtd);  // little-endian
    std::memcpy(registro + f.offsetArray, &array, sizeof(array));
  }
}

struct CasoIdaEVolta {
  std::string nome;
  std::function<void()> confere;
};

template <class C>
void ConfereIdaEVolta(const std::string& nome, const FormaRegistro& forma) {
  using Registro = typename C::Registro;
  ASSERT_EQ(sizeof(Registro), forma.tamanho);
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  Registro servidor;
  Bytes bytes(nome);
  MontaComoServidor(reinterpret_cast<uint8_t*>(&servidor), forma, bytes, 0);
  Registro referencia;
  CopiaComoServidor(&servidor, &referencia, forma);

  // The copy outlives both the object that read the record and the server's arrays.
  C copia;
  {
    C lido;
    lido.CopiarDe(&servidor);
    copia = lido;
  }
  C::LiberaArraysDoServidor(&servidor);

  Registro ida;
  copia.CopiarPara(&ida);
  EXPECT_EQ(DiferencaEntreArvores(&referencia, &ida, forma), "");
  C volta;
  volta.CopiarDe(&ida);
  Registro deNovo;
  C(volta).CopiarPara(&deNovo);
  EXPECT_EQ(DiferencaEntreArvores(&ida, &deNovo, forma), "");

  C::LiberaArraysDeCopiarPara(&ida);
  C::LiberaArraysDeCopiarPara(&deNovo);
  C::LiberaArraysDoServidor(&referencia);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);

  // A new object writes zero bytes over whatever the output held: every field 0, every text empty,
  // every child count 0 and every array null.
  Registro vazio;
  std::memset(static_cast<void*>(&vazio), 0xCD, sizeof(Registro));
  C().CopiarPara(&vazio);
  const auto* lidos = reinterpret_cast<const uint8_t*>(&vazio);
  for (size_t i = 0; i < sizeof(Registro); ++i) ASSERT_EQ(lidos[i], 0) << "byte " << i;
}

template <class C>
CasoIdaEVolta Caso(const char* nome, const FormaRegistro& forma) {
  return {nome, [nome, &forma] { ConfereIdaEVolta<C>(nome, forma); }};
}

template <class C>
CasoIdaEVolta Caso(const char* nome) {
  return Caso<C>(nome, kFolha<typename C::Registro>);
}

#define CASO(C, ...) Caso<C>(#C __VA_OPT__(, ) __VA_ARGS__)

TEST(IdaEVolta, EveryByteAtEveryLevelComesBackAndEveryArrayIsFreedOnce) {
  const std::vector<CasoIdaEVolta> casos = {
      CASO(CPPDadosMestre),
      CASO(CPPDadosMestreInfApontExternoFilial),
      CASO(CPPDadosPonteirosULONG, kPonteiros),
      CASO(CPPDadosTipoOP, kTipoOP),
      CASO(CPPDadosTipoOPUsuario),
      CASO(CPPDadosSecao),
      CASO(CPPDadosCalendario),
      CASO(CPPDadosDataCalendario),
      CASO(CPPDadosOperacaoProducao),
      CASO(CPPDadosColecao),
      CASO(CPPDadosMotivoRefugo),
      CASO(CPPDadosProcesso, kProcesso),
      CASO(CPPDadosProcessoRecurso, kProcessoRecurso),
      CASO(CPPDadosFluxo, kFluxo),
      CASO(CPPDadosFluxoProcesso),
      CASO(CPPDadosFichaTecnica, kFicha),
      CASO(CPPDadosFichaTecnicaProcesso, kProcessoFicha),
      CASO(CPPDadosFichaTecnicaProduto, kProdutoFicha),
      CASO(CPPDadosFichaTecnicaGradesProduto),
      CASO(CPPDadosFichaTecnicaTolerancia),
      CASO(CPPDadosFichaTecnicaImagem),
      CASO(CPPDadosFichaTecnicaEtiqueta),
      CASO(CPPDadosRecurso),
      CASO(CPPDadosRecursoHistoricoContador),
      CASO(CPPDadosListaRecursoHistoricoContador, kListaHistorico),
      CASO(CPPDadosTipoRecurso, kTipoRecurso),
      CASO(CPPDadosTipoRecursoOperacao, kOperacaoTipo),
      CASO(CPPDadosTipoRecursoOperacaoContador),
      CASO(CPPDadosTipoRecursoOperacaoQuantidade),
      CASO(CPPDadosTipoRecursoOperacaoIntervalo),
      CASO(CPPDadosTipoRecursoOperacaoDetalhe),
      CASO(CPPDadosPlanoManutencao, kPlano),
      CASO(CPPDadosPlanoManutencaoComponente),
      CASO(CPPDadosPlanoManutencaoProgramacao),
      CASO(CPPDadosGestaoManutencao, kGestao),
      CASO(CPPDadosGestaoManutencaoComponente),
      CASO(CPPDadosRequisicaoInterna, kRequisicao),
      CASO(CPPDadosRequisicaoInternaItem, kItemRequisicao),
      CASO(CPPDadosRequisicaoInternaItemComposicao),
      CASO(CPPDadosRequisicaoInternaItemAtendimento, kAtendimento),
      CASO(CPPDadosRequisicaoInternaItemAtendimentoComposicao),
      CASO(CPPDadosProduto),
      CASO(CPPDadosReferenciaGrade),
      CASO(CPPDadosServico),
      CASO(CPPDadosItemTabelaPreco),
      CASO(CPPDadosGradeProduto),
      CASO(CPPDadosDetRelatorioNecessidade),
      CASO(CPPDadosDetRelatorioAcompanhamento),
      CASO(CPPDadosDetRelatorioDemanda),
      CASO(CPPDadosDetRelatorioProdutoSemFicha),
      CASO(CPPDadosDetRelatorioFichaTecnica),
      CASO(CPPDadosDetRelatorioProgramadoXProduzido),
      CASO(CPPDadosDetRelatorioPerdas),
      CASO(CPPDadosDetRelatorioCustoProducao),
      CASO(CPPDadosDetRelatorioCapacidade, kCapacidade),
      CASO(CPPDadosDetRelatorioCapacidadeProduto),
      CASO(CPPDadosDetRelatorioRegistroHoras),
      CASO(CPPDadosDetRelatorioCapacidadeRecursos),
      CASO(CPPDadosDetRelatorioGestaoManutencao),
      CASO(CPPDadosDetRelatorioCustoProjeto),
      CASO(CPPDadosDetRelatorioResumoIndustrializador),
      CASO(CPPDadosDetRelatorioInsumoPorOP, kInsumoPorOP),
      CASO(CPPDadosDetRelatorioEncerramentoForcado),
      CASO(CPPDadosDetRelatorioAcompanhamentoPedNec),
  };
  for (const CasoIdaEVolta& caso : casos) {
    SCOPED_TRACE(caso.nome);
    caso.confere();
  }
}

// The mirrors that only receive another module's record hold it whole: CopiarDe takes every byte,
// copies carry them, and clearing zeroes them. The record copy is read through a subclass.
template <class C>
struct ComCopia : C {
  const typename C::Registro& Copia() const { return this->registro_; }
};

template <class C>
void ConfereEspelho(const std::string& nome) {
  using Registro = typename C::Registro;
  Registro servidor;
  Bytes bytes(nome);
  MontaComoServidor(reinterpret_cast<uint8_t*>(&servidor), kFolha<Registro>, bytes, 0);

  ComCopia<C> lido;
  lido.CopiarDe(&servidor);
  const ComCopia<C> copia(lido);
  lido.Limpar();
  EXPECT_EQ(std::memcmp(&copia.Copia(), &servidor, sizeof(Registro)), 0);
  const Registro zero{};
  EXPECT_EQ(std::memcmp(&lido.Copia(), &zero, sizeof(Registro)), 0);
}

TEST(IdaEVolta, MirrorsOfOtherModulesHoldTheWholeRecordByteForByte) {
  const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> casos = {
      {"CPPDadosLocalES", ConfereEspelho<CPPDadosLocalES>},
      {"CPPDadosFilial", ConfereEspelho<CPPDadosFilial>},
      {"CPPDadosPlanoDF", ConfereEspelho<CPPDadosPlanoDF>},
      {"CPPDadosMunicipio", ConfereEspelho<CPPDadosMunicipio>},
      {"CPPDadosRequisitante", ConfereEspelho<CPPDadosRequisitante>},
      {"CPPDadosCategoria", ConfereEspelho<CPPDadosCategoria>},
      {"CPPDadosUnMedida", ConfereEspelho<CPPDadosUnMedida>},
      {"CPPDadosUnServico", ConfereEspelho<CPPDadosUnServico>},
      {"CPPDadosUsuario", ConfereEspelho<CPPDadosUsuario>},
      {"CPPDadosNotaFiscalFT", ConfereEspelho<CPPDadosNotaFiscalFT>},
      {"CPPDadosNotaFiscalRE", ConfereEspelho<CPPDadosNotaFiscalRE>},
  };
  for (const auto& [nome, confere] : casos) {
    SCOPED_TRACE(nome);
    confere(nome);
  }
}

}  // namespace
