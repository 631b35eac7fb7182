#include "model/T_Lista.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "model/CPPArrayProcesso.h"
#include "platform/com/taskmem.h"
#include "platform/mfc/CString.h"

namespace {

// An element that points into itself and counts the live elements: moving its bytes instead of
// moving the object would leave `eu` pointing at the old place.
struct ComPonteiroProprio {
  static inline int vivos = 0;
  int valor = 0;
  const ComPonteiroProprio* eu = this;

  ComPonteiroProprio() { ++vivos; }
  explicit ComPonteiroProprio(int v) : valor(v) { ++vivos; }
  ComPonteiroProprio(const ComPonteiroProprio& o) : valor(o.valor) { ++vivos; }
  ComPonteiroProprio& operator=(const ComPonteiroProprio& o) {
    valor = o.valor;
    return *this;
  }
  ~ComPonteiroProprio() {
    EXPECT_EQ(eu, this) << "element " << valor << " was moved by its bytes";
    --vivos;
  }
};

void EsperaIntegros(const T_Lista<ComPonteiroProprio>& lista, std::vector<int> valores) {
  ASSERT_EQ(lista.GetSize(), static_cast<int>(valores.size()));
  for (int i = 0; i < lista.GetSize(); ++i) {
    EXPECT_EQ(lista[i].eu, &lista[i]) << i;
    EXPECT_EQ(lista[i].valor, valores[i]) << i;
  }
}

TEST(T_Lista, ElementsThatPointIntoThemselvesSurviveGrowthRemovalSwapAndCopies) {
  {
    T_Lista<ComPonteiroProprio> lista;
    std::vector<int> esperados;
    for (int i = 0; i < 250; ++i) {  // grows at 1, 101 and 201 elements
      lista.Add(ComPonteiroProprio(i));
      esperados.push_back(i);
    }
    EsperaIntegros(lista, esperados);
    lista.RemoveAt(0);
    lista.RemoveAt(100);
    esperados.erase(esperados.begin());
    esperados.erase(esperados.begin() + 100);
    lista.Troca(0, 5);
    std::swap(esperados[0], esperados[5]);
    EsperaIntegros(lista, esperados);

    T_Lista<ComPonteiroProprio> copia(lista);
    T_Lista<ComPonteiroProprio> atribuida;
    atribuida = lista;
    EsperaIntegros(copia, esperados);
    EsperaIntegros(atribuida, esperados);
    EXPECT_EQ(ComPonteiroProprio::vivos, 3 * 248);
  }
  EXPECT_EQ(ComPonteiroProprio::vivos, 0);
}

TEST(T_Lista, StringElementsKeepTheirTextAcrossGrowth) {
  T_Lista<CString> lista;
  for (int i = 0; i < 150; ++i) {
    CString texto;
    texto.Format("linha %d", i);
    lista.Add(texto);
  }
  lista.RemoveAt(3);
  EXPECT_STREQ(lista[0], "linha 0");
  EXPECT_STREQ(lista[3], "linha 4");
  EXPECT_STREQ(lista[148], "linha 149");
}

TEST(T_Lista, GrowsByExactSizeFirstThenByTheStepOf100) {
  T_Lista<uint32_t> sete;
  for (uint32_t i = 0; i < 7; ++i) sete.Add(i);
  T_Lista<uint32_t> cem;
  cem.SetSize(100);

  struct Caso {
    const char* caso;
    const T_Lista<uint32_t>* origem;  // copied into a fresh list first, or none
    int acrescimos;
    int tamanho, capacidade;
  } casos[] = {
      {"first append allocates one element", nullptr, 1, 1, 1},
      {"second append grows by the step", nullptr, 2, 2, 101},
      {"101st element of a list of capacity 100", &cem, 1, 101, 200},
      {"copy of 7 holds exactly 7", &sete, 0, 7, 7},
      {"then one append", &sete, 1, 8, 107},
  };
  for (const Caso& c : casos) {
    T_Lista<uint32_t> lista;
    if (c.origem != nullptr) lista.Copiar(c.origem);
    for (int i = 0; i < c.acrescimos; ++i) lista.Add(77);
    EXPECT_EQ(lista.GetSize(), c.tamanho) << c.caso;
    EXPECT_EQ(lista.GetCapacidade(), c.capacidade) << c.caso;
  }
}

TEST(T_Lista, CopyingAnEmptyListIntoAFilledOneLeavesNoStorage) {
  T_Lista<ComPonteiroProprio> cheia;
  for (int i = 0; i < 5; ++i) cheia.Add(ComPonteiroProprio(i));
  const T_Lista<ComPonteiroProprio> vazia;
  cheia.Limpar();
  cheia.Copiar(&vazia);
  EXPECT_EQ(cheia.GetSize(), 0);
  EXPECT_EQ(cheia.GetCapacidade(), 0);
  EXPECT_EQ(ComPonteiroProprio::vivos, 0);
}

TEST(T_Lista, CopiarIntoALongerListDestroysTheSurplusAndKeepsTheStorage) {
  T_Lista<ComPonteiroProprio> longa, curta;
  for (int i = 0; i < 10; ++i) longa.Add(ComPonteiroProprio(i));
  curta.Add(ComPonteiroProprio(42));
  const int capacidade = longa.GetCapacidade();
  longa.Copiar(&curta);
  EsperaIntegros(longa, {42});
  EXPECT_EQ(longa.GetCapacidade(), capacidade);
  EXPECT_EQ(ComPonteiroProprio::vivos, 2);
}

TEST(T_Lista, RemoveAtMovesTheRestDownAndKeepsTheCapacity) {
  T_Lista<uint32_t> lista;
  for (uint32_t v : {10u, 20u, 30u, 40u}) lista.Add(v);
  const int capacidade = lista.GetCapacidade();
  lista.RemoveAt(1);
  ASSERT_EQ(lista.GetSize(), 3);
  EXPECT_EQ(lista[0], 10u);
  EXPECT_EQ(lista[1], 30u);
  EXPECT_EQ(lista[2], 40u);
  EXPECT_EQ(lista.GetCapacidade(), capacidade);
}

TEST(T_Lista, TrocaSwapsAndTrocaOfOneIndexChangesNothing) {
  T_Lista<uint32_t> lista;
  for (uint32_t v : {1u, 2u, 3u}) lista.Add(v);
  EXPECT_EQ(&lista.Troca(1, 1), &lista);
  EXPECT_EQ(lista[1], 2u);
  lista.Troca(0, 2);
  EXPECT_EQ(lista[0], 3u);
  EXPECT_EQ(lista[2], 1u);
}

TEST(T_Lista, AppendingAnElementOfTheSameListWhileItGrowsCopiesIt) {
  T_Lista<CString> lista;
  lista.Add("primeira");
  lista.Add(lista[0]);  // the second append moves the storage
  EXPECT_STREQ(lista[1], "primeira");
}

TEST(T_Lista, NewPlainElementsAreZero) {
  T_Lista<uint32_t> lista;
  lista.Add(9);
  lista.SetSize(3);
  EXPECT_EQ(lista[1], 0u);
  EXPECT_EQ(lista[2], 0u);
  lista[1] = 5;
  lista.SetSize(1);
  lista.SetSize(2);  // within the old storage: built again, zero
  EXPECT_EQ(lista[1], 0u);
}

}  // namespace

namespace {

template <class R>
R* BlocoDoServidor(int n) {
  R* bloco = static_cast<R*>(CoTaskMemAlloc(n * sizeof(R)));
  std::memset(static_cast<void*>(bloco), 0, n * sizeof(R));
  return bloco;
}

TEST(CPPArrayProcesso, DestructionFreesEveryNestedServerArrayOnce) {
  const int32_t blocosAntes = TaskMemoryOutstandingBlocks();
  {
    CPPArrayProcesso processos;
    _REG_VARMO_PROCESSOPS comRecursos{};
    comRecursos.usQtdRecursos = 2;
    comRecursos.pregRecursos = BlocoDoServidor<_REG_PP_PROCESSO_RECURSOPS>(2);
    comRecursos.pregRecursos[0].usQtdParadas = 3;
    comRecursos.pregRecursos[0].pregParadas =
        BlocoDoServidor<_REG_PP_PLANO_MANUTENCAO_PROGRAMACAOPS>(3);
    processos.Add(comRecursos);
    processos.Add(_REG_VARMO_PROCESSOPS{});  // no resources: nothing nested to free
    _REG_VARMO_PROCESSOPS contagemZero{};
    contagemZero.pregRecursos = BlocoDoServidor<_REG_PP_PROCESSO_RECURSOPS>(1);
    processos.Add(contagemZero);
    ASSERT_EQ(TaskMemoryOutstandingBlocks() - blocosAntes, 3);
  }
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocosAntes);
}

}  // namespace
