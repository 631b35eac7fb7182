// Writers of each store killed at random moments, 1,000 times on a native machine (Queda.h): after
// every kill the store holds every write that was reported done, no record other than the one in
// flight is damaged, and the next writer goes on from what the kill left.
#include <gtest/gtest.h>

#include "tests/crash/Escritores.h"

namespace {

constexpr int kQuedas = 1000;
constexpr unsigned kVida = 10000;          // us: the longest a writer lives after its start or its open
constexpr unsigned kVidaRegistro = 40000;  // a registry write syncs its file twice

TEST(Queda, RecordFileWriterKilledAtRandomLosesNoReportedRecordAndDamagesNoOther) {
  DiretorioDados dados;
  const auto escritor = NovoEscritorArqEx(dados);
  CorreQuedas(*escritor, QuantidadeNestaMaquina(kQuedas), kVida, 20260615);
}

TEST(Queda, VariableRecordFileWriterKilledAtRandomLosesNoReportedTextAndDamagesNoOther) {
  DiretorioDados dados;
  const auto escritor = NovoEscritorArqDyn(dados);
  CorreQuedas(*escritor, QuantidadeNestaMaquina(kQuedas), kVida, 20260616);
}

TEST(Queda, RegistryWriterKilledAtRandomLeavesAReadableRegistryWithEveryCompletedValue) {
  Instalacao instalacao;
  const auto escritor = NovoEscritorRegistro();
  CorreQuedas(*escritor, QuantidadeNestaMaquina(kQuedas), kVidaRegistro, 20260617);
}

}  // namespace
