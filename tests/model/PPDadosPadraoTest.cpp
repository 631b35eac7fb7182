// The rules that every data class shares, checked as tables across the classes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/CPPDadosApontamentoRetornoIndustrializacao.h"
#include "model/CPPDadosApontamentoRetornoNFPendente.h"
#include "model/CPPDadosEtiquetaEmitida.h"
#include "model/CPPDadosFiltroApontamento.h"
#include "model/CPPDadosFiltroQtdsNecessarias.h"
#include "model/CPPDadosLoteES.h"
#include "model/CPPDadosMetasProducao.h"
#include "model/CPPDadosNecessidade.h"
#include "model/CPPDadosOP.h"
#include "model/CPPDadosOcupacaoFabrica.h"
#include "model/CPPDadosQtdsNecessarias.h"
#include "model/CPPDadosSaldoProdutoES.h"
#include "platform/win32/messagebox.h"

namespace {

// A new object, whatever the output record held before, writes a record of zero bytes: every
// field 0, every text empty, every child count 0 and every child array null.
template <class C>
class ObjetoNovo : public ::testing::Test {};

using ClassesComCopiarPara = ::testing::Types<
    CPPDadosOP, CPPDadosOPItem, CPPDadosOPProcesso, CPPDadosOPProcessoInsumo,
    CPPDadosOPProcessoRecurso, CPPDadosOPProcessoImagem, CPPDadosOPProcessoEtiqueta,
    CPPDadosOPProcessoApontamento, CPPDadosApontamentoRecurso, CPPDadosApontamentoRecursoOperacao,
    CPPDadosApontamentoRecursoOperacaoContador, CPPDadosApontamentoRecursoOperacaoQuantidade,
    CPPDadosApontamentoRecursoOperacaoIntervalo, CPPDadosApontamentoRecursoOperacaoDetalhe,
    CPPDadosResumoApontamentoRecurso, CPPDadosApontamentoRetornoIndustrializacao,
    CPPDadosOPMovimento, CPPDadosMovimentoContabilizacao, CPPDadosMovimentoContabilizacaoGerencial,
    CPPDadosLoteES, CPPDadosFiltroSaldoProdutoES, CPPDadosRetornoIndustrializacaoExterna,
    CPPDadosTransitoIndustrializador, CPPDadosTransitoIndustrializadorOP,
    CPPDadosApontamentoUltProcessoRetInd, CPPDadosApontamentoRetornoNFPendente,
    CPPDadosOcupacaoFabrica, CPPDadosOcupacaoFabricaProcesso, CPPDadosOcupacaoFabricaOP,
    CPPDadosRemessaIndustrializacao, CPPDadosRemessaInsumo, CPPDadosMetasProducao,
    CPPDadosKeyMetaProducao, CPPDadosReplicarMetaProducao, CPPDadosFiltroQtdsNecessarias,
    CPPDadosEtiquetaEmitida, CPPDadosNecessidade, CPPDadosQtdsNecessarias,
    CPPDadosFiltroApontamento, CPPDadosFiltroApontamentoRecurso>;
TYPED_TEST_SUITE(ObjetoNovo, ClassesComCopiarPara);

TYPED_TEST(ObjetoNovo, WritesARecordOfZeroBytesOverWhateverItHeld) {
  using Registro = typename TypeParam::Registro;
  const TypeParam objeto;
  Registro registro;
  std::memset(static_cast<void*>(&registro), 0xCD, sizeof(Registro));
  objeto.CopiarPara(&registro);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&registro);
  for (size_t i = 0; i < sizeof(Registro); ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

// Text fields: the setter keeps at most width - 1 characters, pads with zeros and never writes the
// field's last byte; the getter never reads past the field.
struct CasoTexto {
  std::string nome;
  size_t largura;
  std::function<void(const char*)> escreve;
  std::function<CString()> le;
  std::function<void(char)> carregaCampoCheio;  // CopiarDe of a record whose field is all `c`
  std::function<std::string()> bytesDoCampo;    // the field as CopiarPara writes it
};

template <class C>
CasoTexto CasoDeTexto(const char* nome, void (C::*escreve)(const char*), CString (C::*le)() const,
                      size_t offset, size_t largura) {
  using Registro = typename C::Registro;
  auto objeto = std::make_shared<C>();
  return {nome,
          largura,
          [=](const char* texto) { ((*objeto).*escreve)(texto); },
          [=] { return ((*objeto).*le)(); },
          [=](char c) {
            Registro registro;
            std::memset(static_cast<void*>(&registro), 0, sizeof(Registro));
            std::memset(reinterpret_cast<char*>(&registro) + offset, c, largura);
            objeto->CopiarDe(&registro);
          },
          [=] {
            Registro registro;
            objeto->CopiarPara(&registro);
            std::string campo(reinterpret_cast<const char*>(&registro) + offset, largura);
            C::LiberaArraysDeCopiarPara(&registro);
            return campo;
          }};
}

#define CASO_TEXTO(C, Nome, campo)                                                   \
  CasoDeTexto<C>(#C "::" #Nome, &C::Set##Nome, &C::Get##Nome, offsetof(C::Registro, campo), \
                 sizeof(C::Registro::campo))

TEST(CamposDeTexto, KeepWidthMinusOneCharactersAndNeverWriteTheLastByte) {
  std::vector<CasoTexto> casos = {
      CASO_TEXTO(CPPDadosOP, NumeroLote, szNumeroLote),
      CASO_TEXTO(CPPDadosOP, InfExtra1, szInfExtra1),
      CASO_TEXTO(CPPDadosOP, Mensagem, szMensagem),
      CASO_TEXTO(CPPDadosOPItem, OrdemCompraCliente, cOrdemCompraCliente),
      CASO_TEXTO(CPPDadosOPProcesso, Detalhe, szDetalhe),
      CASO_TEXTO(CPPDadosOPProcessoImagem, NomeArquivo, szNomeArquivo),
      CASO_TEXTO(CPPDadosOPProcessoEtiqueta, Leiaute, szLeiaute),
      CASO_TEXTO(CPPDadosOPProcessoApontamento, MotivoEncerramentoForcado,
                 szMotivoEncerramentoForcado),
      CASO_TEXTO(CPPDadosApontamentoRecursoOperacaoDetalhe, Nome, szNome),
      CASO_TEXTO(CPPDadosApontamentoRecursoOperacaoDetalhe, Detalhe, szDetalhe),
      CASO_TEXTO(CPPDadosApontamentoRecursoOperacaoIntervalo, NomeFinal, szNomeFinal),
      CASO_TEXTO(CPPDadosOPMovimento, Documento, cDocumento),
      CASO_TEXTO(CPPDadosLoteES, NumeroLote, cNumeroLote),
      CASO_TEXTO(CPPDadosRetornoIndustrializacaoExterna, Comentario, szComentario),
      CASO_TEXTO(CPPDadosRemessaInsumo, Descricao, szDescricao),
  };
  for (CasoTexto& c : casos) {
    SCOPED_TRACE(c.nome);
    const std::string exato(c.largura, 'a');
    const std::string cabe(c.largura - 1, 'a');
    c.escreve(exato.c_str());
    EXPECT_EQ(c.le().str(), cabe);
    c.escreve((exato + "excesso").c_str());
    EXPECT_EQ(c.le().str(), cabe);
    c.escreve("xy");
    EXPECT_EQ(c.le().str(), "xy");
    EXPECT_EQ(c.bytesDoCampo(), "xy" + std::string(c.largura - 2, '\0'));

    c.carregaCampoCheio('Z');
    EXPECT_EQ(c.le().str(), std::string(c.largura, 'Z'));
    c.escreve("xy");
    EXPECT_EQ(c.bytesDoCampo(), "xy" + std::string(c.largura - 3, '\0') + "Z");
  }
}

// CopiarDe rebuilds a list only from a non-null array with a count above 0; the record copy's count
// field then holds the number of children added.
struct CasoLista {
  std::string nome;
  std::function<void(int32_t quantidade, bool comArray)> carrega;
  std::function<int()> quantidadeDaLista;
  std::function<int()> quantidadeDoRegistro;  // the count-field getter, or empty
  bool quantidadeComSinal;
};

alignas(8) const unsigned char kArrayQueNaoSeLe[4096] = {};

template <class C, class Qtd>
CasoLista CasoDeLista(const char* nome, size_t offsetQtd, size_t offsetArray,
                      int (C::*quantidade)() const, Qtd (C::*doRegistro)() const) {
  using Registro = typename C::Registro;
  auto objeto = std::make_shared<C>();
  CasoLista caso{nome,
                 [=](int32_t n, bool comArray) {
                   Registro registro;
                   std::memset(static_cast<void*>(&registro), 0, sizeof(Registro));
                   const Qtd qtd = static_cast<Qtd>(n);
                   std::memcpy(reinterpret_cast<char*>(&registro) + offsetQtd, &qtd, sizeof(qtd));
                   const void* array = comArray ? kArrayQueNaoSeLe : nullptr;
                   std::memcpy(reinterpret_cast<char*>(&registro) + offsetArray, &array,
                               sizeof(array));
                   objeto->CopiarDe(&registro);
                 },
                 [=] { return ((*objeto).*quantidade)(); },
                 {},
                 std::is_signed_v<Qtd>};
  if (doRegistro != nullptr) caso.quantidadeDoRegistro = [=] { return ((*objeto).*doRegistro)(); };
  return caso;
}

#define CASO_LISTA(C, X, campoQtd, campoArray, getterDoRegistro)                          \
  CasoDeLista<C, decltype(C::Registro::campoQtd)>(                                        \
      #C "::" #X, offsetof(C::Registro, campoQtd), offsetof(C::Registro, campoArray),   \
      &C::GetQuantidade##X, getterDoRegistro)

TEST(ListasDeFilhos, CopiarDeAddsNoChildFromANullArrayOrACountOfZeroOrBelow) {
  std::vector<CasoLista> casos = {
      CASO_LISTA(CPPDadosOP, Processo, usQtdProcessos, pregProcessos, &CPPDadosOP::GetQtdProcessos),
      CASO_LISTA(CPPDadosOP, Item, usQtdItens, pregItens, &CPPDadosOP::GetQtdItens),
      CASO_LISTA(CPPDadosOPProcesso, Insumo, usQuantidadeInsumos, pregInsumos,
                 &CPPDadosOPProcesso::GetQtdInsumos),
      CASO_LISTA(CPPDadosOPProcesso, ApontamentoSimples, usQuantidadeApontamentosSimples,
                 pregApontamentosSimples, &CPPDadosOPProcesso::GetQtdApontamentosSimples),
      CASO_LISTA(CPPDadosOPProcesso, Etiqueta, usQtdEtiquetas, pregEtiquetas,
                 &CPPDadosOPProcesso::GetQtdEtiquetas),
      CASO_LISTA(CPPDadosOPProcessoApontamento, Movimento, usQtdMvtoEstoque, pregMovimentos,
                 &CPPDadosOPProcessoApontamento::GetQtdMvtoEstoque),
      CASO_LISTA(CPPDadosOPProcessoApontamento, RecursoNaoApontado, usQtdRecursosNaoApontados,
                 pregRecursosNaoApontados,
                 &CPPDadosOPProcessoApontamento::GetQtdRecursosNaoApontados),
      CASO_LISTA(CPPDadosOPProcessoApontamento, ChaveApontamentoImportado,
                 usQtdChaveApontamentoImportado, plistaChaveApontamentoImportado, nullptr),
      CASO_LISTA(CPPDadosApontamentoRecurso, Operacao, usQuantidadeApontamentoOperacao,
                 pregOperacoes, &CPPDadosApontamentoRecurso::GetQuantidadeApontamentoOperacao),
      CASO_LISTA(CPPDadosApontamentoRecursoOperacao, Detalhe, usQuantApontamentoDetalhe,
                 pregDetalhes, &CPPDadosApontamentoRecursoOperacao::GetQuantApontamentoDetalhe),
      CASO_LISTA(CPPDadosResumoApontamentoRecurso, Contador, usQuantApontamentoContador,
                 pregContadores, &CPPDadosResumoApontamentoRecurso::GetQuantApontamentoContador),
      CASO_LISTA(CPPDadosOPMovimento, Contabil, iQuantidadeContabil, pregContabil,
                 &CPPDadosOPMovimento::GetQtdContabil),
      CASO_LISTA(CPPDadosMovimentoContabilizacao, Gerencial, iQuantidadeGerencial, pregGerencial,
                 &CPPDadosMovimentoContabilizacao::GetQtdGerencial),
      CASO_LISTA(CPPDadosRetornoIndustrializacaoExterna, Industrializador, usQtdIndustrializadores,
                 pregIndustrializadores,
                 &CPPDadosRetornoIndustrializacaoExterna::GetQtdIndustrializadores),
      CASO_LISTA(CPPDadosTransitoIndustrializador, OP, usQtdOP, pregOP,
                 &CPPDadosTransitoIndustrializador::GetQtdOP),
      CASO_LISTA(CPPDadosOcupacaoFabrica, Processo, usQtdProcessos, pregProcessos,
                 &CPPDadosOcupacaoFabrica::GetQtdProcessos),
      CASO_LISTA(CPPDadosRemessaIndustrializacao, Insumo, usQtdInsumos, pregRemessaInsumo,
                 &CPPDadosRemessaIndustrializacao::GetQtdInsumos),
      CASO_LISTA(CPPDadosListaSaldosProdutosES, SaldosProdutos, lQuantidade, pregSaldos, nullptr),
  };
  for (CasoLista& c : casos) {
    SCOPED_TRACE(c.nome);
    struct Entrada {
      int32_t quantidade;
      bool comArray;
    };
    std::vector<Entrada> entradas = {{3, false}, {0, true}};
    if (c.quantidadeComSinal) entradas.push_back({-1, true});
    for (const Entrada& e : entradas) {
      c.carrega(e.quantidade, e.comArray);
      EXPECT_EQ(c.quantidadeDaLista(), 0) << e.quantidade;
      if (c.quantidadeDoRegistro) {
        EXPECT_EQ(c.quantidadeDoRegistro(), 0) << e.quantidade;
      }
    }
  }
}

// GetX and GetRefX with an index outside the list show "erro3" once and touch no element.
TEST(IndiceForaDaLista, ShowsErro3AndTouchesNoElement) {
  struct Caso {
    const char* nome;
    std::function<bool()> acessaForaEConfere;  // true when nothing was touched or returned
  } casos[] = {
      {"GetRefProcesso(0) on an order without process steps",
       [] {
         CPPDadosOP ordem;
         ordem.GetRefProcesso(0).SetPonteiroProcesso(5);
         return ordem.GetQuantidadeProcesso() == 0;
       }},
      {"GetItem(1) on an order with one item answers an empty item",
       [] {
         CPPDadosOP ordem;
         CPPDadosOPItem item;
         item.SetPonteiroCliente(8);
         ordem.AdicionaItem(item);
         return ordem.GetItem(1).GetPonteiroCliente() == 0 &&
                ordem.GetItem(0).GetPonteiroCliente() == 8;
       }},
      {"GetRefChaveApontamentoImportado(5) on 5 keys",
       [] {
         CPPDadosOPProcessoApontamento apontamento;
         for (uint32_t chave = 1; chave <= 5; ++chave)
           apontamento.AdicionaChaveApontamentoImportado(chave);
         apontamento.GetRefChaveApontamentoImportado(5) = 99;
         for (int i = 0; i < 5; ++i)
           if (apontamento.GetRefChaveApontamentoImportado(i) != static_cast<uint32_t>(i + 1))
             return false;
         return apontamento.GetQuantidadeChaveApontamentoImportado() == 5;
       }},
      {"GetChaveApontamentoImportado(4) on 4 keys answers 0",
       [] {
         CPPDadosRetornoIndustrializacaoExterna retorno;
         for (uint32_t chave = 1; chave <= 4; ++chave)
           retorno.AdicionaChaveApontamentoImportado(chave);
         return retorno.GetChaveApontamentoImportado(4) == 0;
       }},
      {"GetRefApontamento(-1) answers an element emptied at each call",
       [] {
         CPPDadosOPProcesso processo;
         processo.GetRefApontamento(-1).SetComentario("fora");
         return processo.GetRefApontamento(-1).GetComentario().IsEmpty();  // a second box
       }},
      {"GetOP(3) on an occupancy process with 3 orders",
       [] {
         CPPDadosOcupacaoFabricaProcesso processo;
         for (int i = 0; i < 3; ++i) processo.AdicionaOP(CPPDadosOcupacaoFabricaOP());
         return processo.GetOP(3).GetChaveOP() == 0;
       }},
      {"GetSaldosProdutos(0) on an empty balance list",
       [] {
         CPPDadosListaSaldosProdutosES saldos;
         return saldos.GetSaldosProdutos(0).GetSaldoProduto().regPosicaoProduto.lPonteiroProduto ==
                0;
       }},
  };
  const size_t caixasEsperadas[] = {1, 1, 1, 1, 2, 1, 1};
  for (size_t i = 0; i < std::size(casos); ++i) {
    SCOPED_TRACE(casos[i].nome);
    MessageBoxCapture caixas;
    EXPECT_TRUE(casos[i].acessaForaEConfere());
    const auto mostradas = caixas.boxes();
    ASSERT_EQ(mostradas.size(), caixasEsperadas[i]);
    for (const auto& caixa : mostradas) {
      EXPECT_EQ(caixa.text, "erro3");
      EXPECT_EQ(caixa.style, MB_OK);
    }
  }
}

TEST(IndiceForaDaLista, AnIndexInsideTheListShowsNothing) {
  MessageBoxCapture caixas;
  CPPDadosOP ordem;
  ordem.AdicionaProcesso(CPPDadosOPProcesso());
  ordem.GetRefProcesso(0).SetPonteiroProcesso(5);
  EXPECT_EQ(ordem.GetProcesso(0).GetPonteiroProcesso(), 5);
  EXPECT_TRUE(caixas.boxes().empty());
}

}  // namespace
