// The release of nested record arrays, in both modes, on trees filled at every level.
//
// The program watches the process's array allocation (VigiaDeArrays.h): new[] notes each block it
// hands out and delete[] crosses it off. With the task allocator's own count of outstanding blocks, that shows each block going
// back exactly to the allocator it came from: a task block given to delete[] is counted as foreign
// and stays outstanding, a new[] block given to CoTaskMemFree stays noted and takes the task count
// below where it started. The sanitizer build adds double frees and reads of freed arrays.
//
// The trees are filled from the record shapes of tests/model (written down apart from the code
// under test): every list at every level, embedded sub-records included, and every other byte of
// every record set to a pattern, so that a release that touches anything but the arrays it frees
// shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "model/CPPDadosOPProcesso.h"
#include "model/CPPDadosTipoRecurso.h"
#include "model/PPDadosBase.h"
#include "platform/com/taskmem.h"
#include "tests/model/ArvoreRegistro.h"
#include "tests/model/OrdemExemplo.h"
#include "tests/model/VigiaDeArrays.h"

// The mode in the names that the test runner prints.
static void PrintTo(PPAlocacao alocacao, std::ostream* saida) {
  *saida << (alocacao == PPAlocacao::CopiarPara ? "new[]" : "CoTaskMemAlloc");
}

namespace {

constexpr uint8_t kPadrao = 0x5A;

// The watch over one test's allocations, with the task allocator's count at its start.
class Vigia {
 public:
  Vigia() : tarefasAntes_(TaskMemoryOutstandingBlocks()) { vigia = {true, -1, {}, 0}; }
  ~Vigia() { vigia.vigiando = false; }

  int ArraysNew() const { return static_cast<int>(vigia.vivos.size()); }
  int ArraysTarefa() const { return TaskMemoryOutstandingBlocks() - tarefasAntes_; }
  int Estranhas() const { return vigia.liberacoesEstranhas; }

 private:
  int32_t tarefasAntes_;
};

void EscreveQuantidade(uint8_t* registro, const FilhosDoRegistro& filhos, int32_t quantidade) {
  if (filhos.larguraQtd == 2) {
    const uint16_t curta = static_cast<uint16_t>(quantidade);
    std::memcpy(registro + filhos.offsetQtd, &curta, 2);
  } else {
    std::memcpy(registro + filhos.offsetQtd, &quantidade, 4);
  }
}

void EscreveArray(uint8_t* registro, const FilhosDoRegistro& filhos, const void* array) {
  std::memcpy(registro + filhos.offsetArray, &array, sizeof(array));
}

// Fills the tree below `registro` in the given mode: the k-th list of a record gets 1 + k % 3
// elements, so that neighbouring lists never share their count. Returns the arrays allocated.
int EncheArvore(uint8_t* registro, const FormaRegistro& forma, PPAlocacao alocacao) {
  std::memset(registro, kPadrao, forma.tamanho);
  int arrays = 0;
  for (const EmbutidoNoRegistro& embutido : forma.embutidos)
    arrays += EncheArvore(registro + embutido.offset, *embutido.forma, alocacao);
  for (size_t k = 0; k < forma.filhos.size(); ++k) {
    const FilhosDoRegistro& filhos = forma.filhos[k];
    const int32_t quantidade = 1 + static_cast<int32_t>(k % 3);
    const size_t bytes = quantidade * filhos.elemento->tamanho;
    uint8_t* array = alocacao == PPAlocacao::CopiarPara
                         ? new uint8_t[bytes]
                         : static_cast<uint8_t*>(CoTaskMemAlloc(bytes));
    ++arrays;
    for (int32_t i = 0; i < quantidade; ++i)
      arrays += EncheArvore(array + i * filhos.elemento->tamanho, *filhos.elemento, alocacao);
    EscreveQuantidade(registro, filhos, quantidade);
    EscreveArray(registro, filhos, array);
  }
  return arrays;
}

// Every count of the record and of its embedded sub-records set, every array pointer null.
void EncheSoQuantidades(uint8_t* registro, const FormaRegistro& forma) {
  std::memset(registro, kPadrao, forma.tamanho);
  for (const EmbutidoNoRegistro& embutido : forma.embutidos)
    EncheSoQuantidades(registro + embutido.offset, *embutido.forma);
  for (size_t k = 0; k < forma.filhos.size(); ++k) {
    EscreveQuantidade(registro, forma.filhos[k], 3);
    EscreveArray(registro, forma.filhos[k], nullptr);
  }
}

// What a release leaves of the record: its arrays and those of its embedded sub-records null with
// their counts 0, every other byte as it was.
std::vector<uint8_t> SemArrays(const uint8_t* registro, const FormaRegistro& forma) {
  std::vector<uint8_t> esperado(registro, registro + forma.tamanho);
  std::function<void(uint8_t*, const FormaRegistro&)> zera = [&](uint8_t* r,
                                                                 const FormaRegistro& f) {
    for (const EmbutidoNoRegistro& embutido : f.embutidos)
      zera(r + embutido.offset, *embutido.forma);
    for (const FilhosDoRegistro& filhos : f.filhos) {
      std::memset(r + filhos.offsetQtd, 0, filhos.larguraQtd);
      std::memset(r + filhos.offsetArray, 0, sizeof(void*));
    }
  };
  zera(esperado.data(), forma);
  return esperado;
}

// The first byte where the record differs from `esperado`, or "" when none does.
std::string Diferenca(const uint8_t* registro, const std::vector<uint8_t>& esperado) {
  for (size_t i = 0; i < esperado.size(); ++i)
    if (registro[i] != esperado[i]) return "byte " + std::to_string(i) + " changed";
  return "";
}

// A resource type, written down here from its record layout: the operations (48 bytes) under the
// count at 4 and the array at 588 of the 592-byte type, and in each operation the counters (64),
// quantities (32), intervals (54) and details (32) under the counts at 20, 22, 24, 26 and the
// arrays at 32, 36, 40, 44.
const FormaRegistro kFormaContadorTipo{64, {}, {}};
const FormaRegistro kFormaQuantidadeTipo{32, {}, {}};
const FormaRegistro kFormaIntervaloTipo{54, {}, {}};
const FormaRegistro kFormaDetalheTipo{32, {}, {}};
const FormaRegistro kFormaOperacaoTipo{48,
                                       {{20, 2, 32, &kFormaContadorTipo},
                                        {22, 2, 36, &kFormaQuantidadeTipo},
                                        {24, 2, 40, &kFormaIntervaloTipo},
                                        {26, 2, 44, &kFormaDetalheTipo}},
                                       {}};
const FormaRegistro kFormaTipoRecurso{592, {{4, 2, 588, &kFormaOperacaoTipo}}, {}};

struct Rotina {
  const char* nome;
  const FormaRegistro* forma;
  std::function<void(void*, uint8_t)> libera;
};

template <class R>
Rotina Declara(const char* nome, const FormaRegistro& forma, void (*libera)(R*, uint8_t)) {
  return {nome, &forma, [libera](void* registro, uint8_t bAlocadoPorNew) {
            libera(static_cast<R*>(registro), bAlocadoPorNew);
          }};
}

// The routines with the shape of their records. The rows of the return and of the report
// carry the faults mended here: the return's own scrap movement and the report's not-reported
// resources with their operations are released too.
std::vector<Rotina> Rotinas() {
  const FormaRegistro& remessa = *kFormaApontamento.embutidos[0].forma;
  const FormaRegistro& operacao = *kFormaApontamentoRecurso.filhos[0].elemento;
  return {
      Declara("LiberaRegistroApontamento", kFormaApontamento, LiberaRegistroApontamento),
      Declara("LiberaRegistroOPProcesso", kFormaOPProcesso, LiberaRegistroOPProcesso),
      Declara("LiberaRegistroMovimentoES", kFormaMovimento, LiberaRegistroMovimentoES),
      Declara("LiberaRegistroRetornoIndustrializacao", kFormaRetorno,
              LiberaRegistroRetornoIndustrializacao),
      Declara("LiberaRegistroRemessaIndustrializacao", remessa,
              LiberaRegistroRemessaIndustrializacao),
      Declara("LiberaRegistroApontamentoRecurso", kFormaApontamentoRecurso,
              LiberaRegistroApontamentoRecurso),
      Declara("LiberaRegistroApontamentoRecursoOperacao", operacao,
              LiberaRegistroApontamentoRecursoOperacao),
      Declara("LiberaRegistroTipoRecurso", kFormaTipoRecurso, LiberaRegistroTipoRecurso),
  };
}

class LiberaRegistro : public testing::TestWithParam<PPAlocacao> {
 protected:
  bool PorNew() const { return GetParam() == PPAlocacao::CopiarPara; }
  uint8_t bAlocadoPorNew() const { return PorNew() ? 1 : 0; }
};

// A record like a server's or like CopiarPara's, filled at every level, comes back whole: each
// block to its own allocator once, the record's arrays null with their counts 0 and nothing else
// of it changed; a second release then frees nothing and changes nothing.
TEST_P(LiberaRegistro, FullTreeGoesBackBlockByBlockAndASecondReleaseChangesNothing) {
  for (const Rotina& rotina : Rotinas()) {
    SCOPED_TRACE(rotina.nome);
    std::vector<uint8_t> registro(rotina.forma->tamanho);
    std::vector<uint8_t> esperado;
    {
      Vigia vigiaAtual;
      const int arrays = EncheArvore(registro.data(), *rotina.forma, GetParam());
      ASSERT_GT(arrays, 0);
      ASSERT_EQ(PorNew() ? vigiaAtual.ArraysNew() : vigiaAtual.ArraysTarefa(), arrays);
      esperado = SemArrays(registro.data(), *rotina.forma);

      rotina.libera(registro.data(), bAlocadoPorNew());
      EXPECT_EQ(vigiaAtual.ArraysNew(), 0);
      EXPECT_EQ(vigiaAtual.ArraysTarefa(), 0);
      EXPECT_EQ(vigiaAtual.Estranhas(), 0);
    }
    EXPECT_EQ(Diferenca(registro.data(), esperado), "");

    rotina.libera(registro.data(), bAlocadoPorNew());
    EXPECT_EQ(Diferenca(registro.data(), esperado), "");
  }
}

// Counts with null arrays (at the top and in embedded sub-records) and an all-zero record free
// nothing and leave every byte, counts included, as it stood.
TEST_P(LiberaRegistro, CountsWithNullArraysAndAllZeroRecordsChangeNothing) {
  for (const Rotina& rotina : Rotinas()) {
    SCOPED_TRACE(rotina.nome);
    std::vector<uint8_t> soQuantidades(rotina.forma->tamanho);
    EncheSoQuantidades(soQuantidades.data(), *rotina.forma);
    std::vector<uint8_t> zerado(rotina.forma->tamanho, 0);
    for (std::vector<uint8_t>* registro : {&soQuantidades, &zerado}) {
      const std::vector<uint8_t> antes = *registro;
      Vigia vigiaAtual;
      rotina.libera(registro->data(), bAlocadoPorNew());
      EXPECT_EQ(Diferenca(registro->data(), antes), "");
      EXPECT_EQ(vigiaAtual.ArraysTarefa(), 0);
      EXPECT_EQ(vigiaAtual.Estranhas(), 0);
    }
    rotina.libera(nullptr, bAlocadoPorNew());
  }
}

// A shipment that states no inputs is not asked for its input pointer, alone or inside a report:
// the block stays where it is, allocated.
TEST_P(LiberaRegistro, ShipmentWithoutInputsKeepsItsPointer) {
  Vigia vigiaAtual;
  void* bloco = PorNew() ? static_cast<void*>(new _REG_PP_REMESSA_INSUMOPS[1])
                         : CoTaskMemAlloc(sizeof(_REG_PP_REMESSA_INSUMOPS));
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS remessa;
  std::memset(&remessa, 0, sizeof(remessa));
  remessa.pregRemessaInsumo = static_cast<_REG_PP_REMESSA_INSUMOPS*>(bloco);
  _REG_VARMO_OP_APONTAMENTO apontamento;
  std::memset(&apontamento, 0, sizeof(apontamento));
  apontamento.regRemessaIndustrializacao = remessa;

  LiberaRegistroRemessaIndustrializacao(&remessa, bAlocadoPorNew());
  LiberaRegistroApontamento(&apontamento, bAlocadoPorNew());
  EXPECT_EQ(static_cast<void*>(remessa.pregRemessaInsumo), bloco);
  EXPECT_EQ(static_cast<void*>(apontamento.regRemessaIndustrializacao.pregRemessaInsumo), bloco);
  EXPECT_EQ(PorNew() ? vigiaAtual.ArraysNew() : vigiaAtual.ArraysTarefa(), 1);
  EXPECT_EQ(vigiaAtual.Estranhas(), 0);
  if (PorNew())
    delete[] static_cast<_REG_PP_REMESSA_INSUMOPS*>(bloco);
  else
    CoTaskMemFree(bloco);
}

INSTANTIATE_TEST_SUITE_P(BothAllocators, LiberaRegistro,
                         testing::Values(PPAlocacao::CopiarPara, PPAlocacao::Servidor),
                         [](const testing::TestParamInfo<PPAlocacao>& info) {
                           return info.param == PPAlocacao::CopiarPara ? "AlocadoPorNew"
                                                                       : "AlocadoPeloServidor";
                         });

// The arrays that a record reaches, as its shape finds them.
int ContaArrays(const void* registro, const FormaRegistro& forma) {
  int arrays = 0;
  VisitaArrays(registro, forma, [&](const void*) {
    ++arrays;
    return true;
  });
  return arrays;
}

// Records filled by the data classes themselves: every new[] block that CopiarPara hands out goes
// back through delete[], none to the task allocator. The report carries every kind of child the
// classes know, and a not-reported resource with an operation and its four lists.
TEST(LiberaRegistroDeCopiarPara, EveryArrayGoesBackThroughDelete) {
  CPPDadosOPProcessoApontamento apontamento = MontaApontamento();
  apontamento.AdicionaRecursoNaoApontado(MontaRecurso());
  CPPDadosOPProcesso processo = MontaOrdem().GetProcesso(0);
  processo.AdicionaApontamentoSimples(apontamento);

  {
    _REG_VARMO_OP_APONTAMENTO registro;
    Vigia vigiaAtual;
    apontamento.CopiarPara(&registro);
    const int arrays = ContaArrays(&registro, kFormaApontamento);
    ASSERT_GT(arrays, 20);
    ASSERT_EQ(vigiaAtual.ArraysNew(), arrays);
    LiberaRegistroApontamento(&registro, 1);
    EXPECT_EQ(vigiaAtual.ArraysNew(), 0);
    EXPECT_EQ(vigiaAtual.Estranhas(), 0);
    EXPECT_EQ(vigiaAtual.ArraysTarefa(), 0);
  }
  {
    _REG_VARMO_OP_PROCESSOPS registro;
    Vigia vigiaAtual;
    processo.CopiarPara(&registro);
    const int arrays = ContaArrays(&registro, kFormaOPProcesso);
    ASSERT_GT(arrays, 40);
    ASSERT_EQ(vigiaAtual.ArraysNew(), arrays);
    const std::vector<uint8_t> esperado =
        SemArrays(reinterpret_cast<const uint8_t*>(&registro), kFormaOPProcesso);
    LiberaRegistroOPProcesso(&registro, 1);
    EXPECT_EQ(vigiaAtual.ArraysNew(), 0);
    EXPECT_EQ(vigiaAtual.Estranhas(), 0);
    EXPECT_EQ(vigiaAtual.ArraysTarefa(), 0);
    EXPECT_EQ(Diferenca(reinterpret_cast<const uint8_t*>(&registro), esperado), "");
  }
}

// A resource type filled by its data class for a save: every block goes back through delete[].
TEST(LiberaRegistroDeCopiarPara, AResourceTypesOperationsAndTheirListsGoBackThroughDelete) {
  CPPDadosTipoRecursoOperacao operacao;
  operacao.AdicionaContador(CPPDadosTipoRecursoOperacaoContador());
  operacao.AdicionaContador(CPPDadosTipoRecursoOperacaoContador());
  operacao.AdicionaQuantidade(CPPDadosTipoRecursoOperacaoQuantidade());
  operacao.AdicionaIntervalo(CPPDadosTipoRecursoOperacaoIntervalo());
  operacao.AdicionaDetalhe(CPPDadosTipoRecursoOperacaoDetalhe());
  CPPDadosTipoRecurso tipo;
  tipo.AdicionaOperacao(operacao);
  tipo.AdicionaOperacao(CPPDadosTipoRecursoOperacao());
  tipo.AdicionaOperacao(operacao);

  _REG_PP_TIPO_RECURSOPS registro;
  Vigia vigiaAtual;
  tipo.CopiarPara(&registro);
  // The operations, and four lists in each of the first and the third.
  ASSERT_EQ(ContaArrays(&registro, kFormaTipoRecurso), 9);
  ASSERT_EQ(vigiaAtual.ArraysNew(), 9);
  const std::vector<uint8_t> esperado = SemArrays(reinterpret_cast<const uint8_t*>(&registro), kFormaTipoRecurso);
  LiberaRegistroTipoRecurso(&registro, 1);
  EXPECT_EQ(vigiaAtual.ArraysNew(), 0);
  EXPECT_EQ(vigiaAtual.Estranhas(), 0);
  EXPECT_EQ(vigiaAtual.ArraysTarefa(), 0);
  EXPECT_EQ(Diferenca(reinterpret_cast<const uint8_t*>(&registro), esperado), "");
}

}  // namespace
