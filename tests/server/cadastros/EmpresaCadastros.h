// What the master-data handlers' tests share: a company whose sessions open (the settings file, the
// branch with its open period, user 7 with full access in the base system's user server, the
// history service), its history lines with their letters, the seams filled with fakes for one
// test, the task allocator's count at the start, and the pointer lists the handlers give.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/com/taskmem.h"
#include "platform/family/base/ServidorBase.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/historico/StandInHistorico.h"
#include "server/cadastros/PPCosturasCadastros.h"
#include "tests/server/EmpresaAtualizacao.h"

// One readable history line of the company.
struct LinhaCadastro {
  char operacao;
  std::string texto;  // as stored (Windows-1252), without the line's carriage return
  bool operator==(const LinhaCadastro&) const = default;
};
void PrintTo(const LinhaCadastro& linha, std::ostream* os);

class EmpresaCadastros : public ::testing::Test {
 protected:
  explicit EmpresaCadastros(TestClock::SleepMode modo = TestClock::SleepMode::kAdvancesClock) : empresa_(modo) {}
  void SetUp() override;
  void TearDown() override;

  // The readable lines of module 19 at the history service, in order.
  std::vector<LinhaCadastro> Linhas() const;
  // Gives user 7 (the session's) full access or not, in the base system's user server, and the
  // branches the user may work in (byte 2 + branch of the permission record).
  void DefineAcessoTotal(bool bAcessoTotal, std::initializer_list<uint16_t> filiais = {}) const;
  // Registers the server's classes and links its run into the process, for the tests that create
  // them through COM (also through the hub); TearDown ends the run.
  void RegistraServidor();

  EmpresaTeste empresa_;
  StandInHistorico historico_;
  ServidorFiliais filiais_;
  ServidorBase base_;
  int32_t blocos_ = 0;
  bool bServidor_ = false;
};

// The pointers of a handler's list (_REG_VARMO_PONTEIROSPS or _REG_VARMO_PONTEIROS_ULONGPS); frees
// its array and empties the list.
template <class Lista>
std::vector<std::remove_pointer_t<decltype(Lista::plPonteiro)>> PonteirosLista(Lista& lista) {
  std::vector<std::remove_pointer_t<decltype(Lista::plPonteiro)>> ponteiros(lista.plPonteiro,
                                                                           lista.plPonteiro + lista.lQtd);
  CoTaskMemFree(lista.plPonteiro);
  lista = {};
  return ponteiros;
}

// Puts seams in place for one scope and gives the old ones back.
class CosturasFalsas {
 public:
  explicit CosturasFalsas(const PPCosturasCadastros& costuras) : anteriores_(PPDefineCosturasCadastros(costuras)) {}
  ~CosturasFalsas() { PPDefineCosturasCadastros(anteriores_); }
  CosturasFalsas(const CosturasFalsas&) = delete;
  CosturasFalsas& operator=(const CosturasFalsas&) = delete;

 private:
  PPCosturasCadastros anteriores_;
};
