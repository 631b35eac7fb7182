// A fixture for the stand-in servers' calls: a temporary installation whose company "TESTE" has a
// directory for each module of the family, one module's stand-ins registered (Modulo: ServidorBase,
// ServidorFiliais...), and the creation of its objects through the COM layer, as the hub creates
// them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/com/apartment.h"
#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/comum/ServidorFamilia.h"
#include "tests/support/Instalacao.h"

// Fills a text field: the text cut to leave its terminator, zeros after.
template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  std::memset(campo, 0, N);
  std::memcpy(campo, texto, std::min(std::strlen(texto), N - 1));
}

template <class Modulo>
class FamiliaSemeada : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (const char* modulo : {"ES", "CN", "FT", "CM"}) {
      instalacao_.dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
      instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
                             instalacao_.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
    }
    ASSERT_EQ(modulo_.Registra(), S_OK);
  }
  void TearDown() override { CoUninitialize(); }

  // A new object of the class, not initialised; null when the creation fails.
  template <class Interface>
  Interface* Cria(REFCLSID clsid, REFIID iid) {
    Interface* servidor = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, iid, reinterpret_cast<void**>(&servidor))))
      return nullptr;
    return servidor;
  }

  // A session record of company "TESTE", user 7, session 1234.
  template <class Registro>
  static Registro Sessao() {
    Registro registro;
    std::memset(&registro, 0, sizeof registro);
    std::memcpy(registro.szEmpresa, Instalacao::kEmpresa, std::strlen(Instalacao::kEmpresa));
    registro.usUsuario = 7;
    registro.lNumeroSessao = 1234;
    return registro;
  }

  Instalacao instalacao_;
  Modulo modulo_;
};

// Releases an interface at the end of a scope.
template <class Interface>
struct Liberador {
  Interface* servidor;
  ~Liberador() {
    if (servidor) servidor->Release();
  }
};
