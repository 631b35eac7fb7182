#include "tests/crash/Queda.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

// How the writer process stopped by itself.
struct Parada {
  std::atomic<int> erro;
};

void Marca(int descritor) {
  if (write(descritor, "!", 1) != 1) _exit(1);
}

[[noreturn]] void Escreve(Escritor& escritor, unsigned semente, int marcas, Parada* parada) {
  Marca(marcas);
  int erro = escritor.Abre();
  if (erro == 0) {
    Marca(marcas);
    std::mt19937 acaso(semente);
    erro = escritor.Escreve(acaso, UINT32_MAX);
  }
  parada->erro = erro;
  _exit(1);
}

// Starts a writer process, kills it at a random moment and reaps it; the error with which it
// stopped by itself before, or 0.
int MataAoAcaso(Escritor& escritor, std::mt19937& acaso, unsigned maximoMicrossegundos) {
  static Partilhado<Parada> parada;
  parada->erro = 0;
  const unsigned semente = acaso();
  int marcas[2];
  if (pipe(marcas) != 0) throw std::runtime_error("pipe failed");
  const pid_t filho = fork();
  if (filho < 0) throw std::runtime_error("fork failed");
  if (filho == 0) {
    close(marcas[0]);
    Escreve(escritor, semente, marcas[1], &*parada);
  }
  close(marcas[1]);
  // A writer that stops early closes the pipe, and the wait ends with it.
  const int esperadas = 1 + static_cast<int>(acaso() % 2);
  char marca;
  for (int lida = 0; lida < esperadas && read(marcas[0], &marca, 1) == 1; ++lida) {
  }
  usleep(acaso() % maximoMicrossegundos);
  kill(filho, SIGKILL);
  waitpid(filho, nullptr, 0);
  close(marcas[0]);  // only now: a writer that marks a closed pipe would die of it
  return parada->erro;
}

// As scripts/i386.sh tells: an enabled binfmt_misc entry whose magic is that of i386 executables.
bool SobEmulador() {
  namespace fs = std::filesystem;
  const fs::path binfmt = "/proc/sys/fs/binfmt_misc";
  std::string linha;
  if (!std::getline(std::ifstream(binfmt / "status"), linha) || linha != "enabled") return false;
  std::error_code erro;
  for (const fs::directory_entry& entrada : fs::directory_iterator(binfmt, erro)) {
    std::ifstream regra(entrada.path());
    if (!std::getline(regra, linha) || linha != "enabled") continue;
    while (std::getline(regra, linha))
      if (linha.starts_with("magic 7f454c46010101") && linha.ends_with("0300")) return true;
  }
  return false;
}

}  // namespace

int QuantidadeNestaMaquina(int quantidade) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr int kDivisorSanitizadores = 2;
#else
  constexpr int kDivisorSanitizadores = 1;
#endif
  static const int divisor = (SobEmulador() ? 3 : 1) * kDivisorSanitizadores;
  return quantidade / divisor;
}

void CorreQuedas(Escritor& escritor, int quedas, unsigned maximoMicrossegundos, unsigned semente) {
  constexpr uint32_t kAquecimento = 20;
  std::mt19937 acaso(semente);
  ASSERT_EQ(escritor.Abre(), 0) << escritor.Nome();
  ASSERT_EQ(escritor.Escreve(acaso, kAquecimento), 0) << escritor.Nome();
  escritor.Fecha();
  for (int queda = 0; queda < quedas; ++queda) {
    ASSERT_EQ(MataAoAcaso(escritor, acaso, maximoMicrossegundos), 0) << escritor.Nome() << ", kill " << queda;
    escritor.Verifica();
  }
  const Figuras& figuras = escritor.GetFiguras();
  std::cout << escritor.Nome() << ": " << quedas << " kills, " << escritor.Completas() << " writes completed, "
            << figuras.emGravacao << " kills with a write in flight (" << figuras.cortadas << " cut), "
            << figuras.semInicio << " files left without their first bytes, " << figuras.ilegiveis
            << " failed reads; " << figuras.danificados << " records damaged other than the one in flight, "
            << figuras.perdidos << " records lost that were reported written\n";
  EXPECT_EQ(figuras.ilegiveis, 0) << escritor.Nome();
  EXPECT_EQ(figuras.danificados, 0) << escritor.Nome();
  EXPECT_EQ(figuras.perdidos, 0) << escritor.Nome();
}

std::string Conteudo(uint32_t serie, uint32_t tamanho) {
  // Byte k is (serie x 131 + k) mod 256: a piece of one ramp, copied rather than computed, so that
  // a writer spends its time writing.
  static const std::string rampa = [] {
    std::string bytes(kMaiorConteudo + 256, 0);
    for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>(k & 0xFF);
    return bytes;
  }();
  if (tamanho > kMaiorConteudo) throw std::invalid_argument("Conteudo");
  std::string bytes = rampa.substr(serie * 131 & 0xFF, tamanho);
  std::memcpy(bytes.data(), &serie, std::min<size_t>(tamanho, sizeof serie));
  return bytes;
}

uint32_t SerieInteira(const std::string& bytes) {
  uint32_t serie = 0;
  if (bytes.size() < sizeof serie) return 0;
  std::memcpy(&serie, bytes.data(), sizeof serie);
  return bytes == Conteudo(serie, static_cast<uint32_t>(bytes.size())) ? serie : 0;
}
