// CopiarPara when an allocation fails part way down a tree: at that moment the output record
// reaches exactly the arrays that were allocated, each once and none of them an address that was
// never handed out, and LiberaArraysDeCopiarPara frees each of them once.
//
// The program watches the process's array allocation (VigiaDeArrays.h) and makes new[] fail after
// a set number of blocks.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>

#include "model/CPPDadosOP.h"
#include "tests/model/ArvoreRegistro.h"
#include "tests/model/OrdemExemplo.h"
#include "tests/model/VigiaDeArrays.h"

namespace {

// The arrays that the order record reaches, as its shape (written apart from the data classes)
// finds them. Stops at the first array that is not one of `conhecidos`, or is reached twice, and
// says so in `estranho`.
std::set<const void*> ArraysAlcancados(const _REG_VARMO_OPPS& registro,
                                       const std::set<const void*>& conhecidos, bool* estranho) {
  std::set<const void*> alcancados;
  *estranho = false;
  VisitaArrays(&registro, kFormaOP, [&](const void* array) {
    if (*estranho) return false;
    *estranho = conhecidos.count(array) == 0 || !alcancados.insert(array).second;
    return !*estranho;
  });
  return alcancados;
}

// Runs CopiarPara of `ordem` under the watch with `blocos` blocks to hand out; returns whether it
// threw std::bad_alloc. The blocks handed out stay in vigia.vivos.
bool CopiarParaComBlocos(const CPPDadosOP& ordem, int blocos, _REG_VARMO_OPPS* registro) {
  vigia = {true, blocos, {}, 0};
  bool falhou = false;
  try {
    ordem.CopiarPara(registro);
  } catch (const std::bad_alloc&) {
    falhou = true;
  }
  vigia.vigiando = false;
  return falhou;
}

// Frees the record's arrays under the watch; true when exactly the blocks handed out were freed.
bool LiberaConferindo(_REG_VARMO_OPPS* registro) {
  vigia.vigiando = true;
  CPPDadosOP::LiberaArraysDeCopiarPara(registro);
  vigia.vigiando = false;
  return vigia.vivos.empty() && vigia.liberacoesEstranhas == 0;
}

TEST(FalhaDeAlocacao, AfterAFailureAtAnyArrayTheRecordHoldsExactlyTheArraysAllocated) {
  const CPPDadosOP ordem = MontaOrdem();
  _REG_VARMO_OPPS registro;
  ASSERT_FALSE(CopiarParaComBlocos(ordem, INT_MAX, &registro));
  const std::set<const void*> todos = vigia.vivos;
  bool estranho;
  const std::set<const void*> alcancados = ArraysAlcancados(registro, todos, &estranho);
  ASSERT_FALSE(estranho);
  ASSERT_EQ(alcancados, todos);
  ASSERT_GT(todos.size(), 20u);
  ASSERT_TRUE(LiberaConferindo(&registro));

  // Every allocation of the copy fails once, from the first array to the last one.
  for (int blocos = 0; blocos < static_cast<int>(todos.size()); ++blocos) {
    SCOPED_TRACE(blocos);
    std::memset(static_cast<void*>(&registro), 0xCD, sizeof(registro));
    ASSERT_TRUE(CopiarParaComBlocos(ordem, blocos, &registro));
    const std::set<const void*> alocados = vigia.vivos;
    ASSERT_EQ(alocados.size(), static_cast<size_t>(blocos));

    // Read the tree only through addresses that were handed out: a block's elements that the copy
    // had not reached yet must hold no count and no array.
    const std::set<const void*> alcancados = ArraysAlcancados(registro, alocados, &estranho);
    ASSERT_FALSE(estranho) << "an array field holds an address that was never allocated";
    EXPECT_EQ(alcancados, alocados) << "an allocated array is out of reach";

    EXPECT_TRUE(LiberaConferindo(&registro))
        << vigia.vivos.size() << " blocks left, " << vigia.liberacoesEstranhas
        << " frees of addresses never allocated";
    EXPECT_EQ(registro.usQtdProcessos, 0);
    EXPECT_EQ(Campo(registro.pregProcessos), nullptr);
  }
}

}  // namespace
