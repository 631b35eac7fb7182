#include "access/CPPInicializa.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Records what the object held when each hook ran.
class Gravador : public CPPInicializa {
 public:
  int32_t Finaliza() override {
    eventos.push_back("Finaliza " + std::string(GetEmpresa()));
    return CPPInicializa::Finaliza();
  }
  std::vector<std::string> eventos;

 protected:
  void OnInicializa() override {
    eventos.push_back("OnInicializa " + std::string(GetEmpresa()) + " " +
                      std::to_string(GetUsuario()) + " " + std::to_string(GetNumeroSessao()) +
                      (GetInicializado() ? " inicializado" : " sem flag"));
  }
};

void EsperaVazio(const CPPInicializa& objeto) {
  EXPECT_STREQ(objeto.GetEmpresa(), "");
  EXPECT_EQ(objeto.GetUsuario(), 0);
  EXPECT_EQ(objeto.GetNumeroSessao(), 0);
  EXPECT_FALSE(objeto.GetInicializado());
}

}  // namespace

TEST(CPPInicializa, FinalizaRunsBeforeAndOnInicializaAfterTheValuesAreStored) {
  Gravador objeto;
  EsperaVazio(objeto);
  objeto.Inicializa("ACME", 7, 1234);
  objeto.Inicializa("OUTRA", 8, 99);
  EXPECT_EQ(objeto.eventos, (std::vector<std::string>{"Finaliza ", "OnInicializa ACME 7 1234 inicializado",
                                                       "Finaliza ACME", "OnInicializa OUTRA 8 99 inicializado"}));
  EXPECT_STREQ(objeto.GetEmpresa(), "OUTRA");
  EXPECT_EQ(objeto.Finaliza(), 0);
  EsperaVazio(objeto);
}

TEST(CPPInicializa, SessionRecordHoldsTheSessionByteForByte) {
  struct Caso {
    std::string empresa;
    uint16_t usuario;
    int32_t sessao;
    bool aceita;
  };
  const Caso casos[] = {
      {"ACME", 7, 1234, true},
      {std::string(23, 'E'), 1, -5, true},   // terminator at offset 23
      {std::string(24, 'E'), 1, 1, false},   // would not fit with its terminator
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.empresa);
    CPPInicializa objeto;
    objeto.Inicializa(caso.empresa.c_str(), caso.usuario, caso.sessao);
    if (!caso.aceita) {
      EsperaVazio(objeto);
      continue;
    }
    EXPECT_TRUE(objeto.GetInicializado());
    const _REG_VARMO_INICIALIZAPS registro = objeto.GetPPInicializa();
    unsigned char esperado[32] = {};
    std::memcpy(esperado, caso.empresa.data(), caso.empresa.size());
    std::memcpy(esperado + 24, &caso.usuario, 2);
    std::memcpy(esperado + 26, &caso.sessao, 4);
    esperado[30] = 1;
    EXPECT_EQ(std::memcmp(&registro, esperado, sizeof esperado), 0);
  }
}

TEST(CPPInicializa, SessionRecordOfTheAcmeSessionIsTheseBytes) {
  CPPInicializa objeto;
  objeto.Inicializa("ACME", 7, 1234);
  const _REG_VARMO_INICIALIZAPS registro = objeto.GetPPInicializa();
  const unsigned char esperado[32] = {0x41, 0x43, 0x4D, 0x45, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0,    0,    0,    0,    0, 0, 0, 0, 7, 0, 0xD2, 0x04, 0, 0, 1, 0};
  EXPECT_EQ(std::memcmp(&registro, esperado, sizeof esperado), 0);
}

TEST(CPPInicializa, SessionRecordIgnoresTheFlagAndCutsALongNameSetDirectly) {
  CPPInicializa objeto;
  objeto.SetEmpresa(std::string(30, 'L').c_str());
  objeto.SetUsuario(3);
  const _REG_VARMO_INICIALIZAPS registro = objeto.GetPPInicializa();
  EXPECT_EQ(std::string(registro.szEmpresa), std::string(23, 'L'));
  EXPECT_EQ(registro.usUsuario, 3);
  EXPECT_EQ(registro.cInicializarCompleto, 1);
}
