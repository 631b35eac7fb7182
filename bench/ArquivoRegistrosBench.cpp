// Record-file throughput: appends 1,000,000 records of 128 bytes through CQVArqEx, reads a random
// sample of them back by number, scans them all in order, and does the same reads with raw pread()
// of 32 KB blocks on the same file, so that the engine's overhead over the system shows.
//
// Usage: bench_arquivos [records] [directory]. The directory (default: a fresh one under TMPDIR or
// /tmp) holds the file and a registry file of its own; both are removed at the end. The figures
// depend on the page cache: the file is read back while it is still cached, as a server reads its
// data files.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "foundation/CQVArqEx.h"
#include "bench/Bench.h"
#include "platform/win32/path.h"

namespace {

constexpr uint32_t kTamanho = 128;
constexpr uint32_t kBloco = 32768;
constexpr uint32_t kAmostra = 200000;

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

void Mostra(const char* o_que, uint64_t registros, double segundos) {
  std::printf("%-40s %10llu records %8.3f s %14.0f records/s\n", o_que, static_cast<unsigned long long>(registros),
              segundos, registros / segundos);
}


// Record n holds n in its first four bytes, so that a read can be checked.
void Preenche(std::vector<uint8_t>& registro, uint32_t numero) {
  std::memset(registro.data(), static_cast<int>(numero & 0xFF), registro.size());
  std::memcpy(registro.data(), &numero, sizeof numero);
}

uint32_t NumeroDe(const uint8_t* registro) {
  uint32_t numero;
  std::memcpy(&numero, registro, sizeof numero);
  return numero;
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t total = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000;
  const std::string diretorio = DiretorioDoBench(argc, argv);
  setenv("QV_REGISTRY", (diretorio + "/registry.reg").c_str(), 1);
  const std::string caminhoLinux = diretorio + "/BENCH.DAT";
  const std::string nome = SystemPathOf(caminhoLinux);
  std::filesystem::remove(caminhoLinux);

  std::vector<uint8_t> registro(kTamanho);
  std::mt19937 acaso(42);
  std::vector<uint32_t> amostra(std::min(kAmostra, total));
  for (uint32_t& numero : amostra) numero = 1 + acaso() % total;
  uint64_t conferidos = 0;

  {
    CQVArqEx arquivo;
    arquivo.SetUsaArquivoControle(false);
    if (int erro = arquivo.Abre(nome.c_str(), 'G', kTamanho, true, true)) Falha("Abre", erro);
    const auto inicio = Relogio::now();
    for (uint32_t n = 1; n <= total; ++n) {
      Preenche(registro, n);
      uint32_t numero = 0;
      if (int erro = arquivo.Grava(registro.data(), &numero)) Falha("Grava", erro);
      if (numero != n) Falha("Grava (number)", static_cast<int>(numero));
    }
    Mostra("engine: append (Grava 0)", total, Segundos(inicio));
  }

  double varreduraMotor = 0, varreduraBruta = 0;
  {
    CQVArqEx arquivo;
    if (int erro = arquivo.Abre(nome.c_str(), 'L', kTamanho, false, true)) Falha("Abre", erro);
    auto inicio = Relogio::now();
    for (uint32_t numero : amostra) {
      if (int erro = arquivo.Le(numero, registro.data())) Falha("Le", erro);
      conferidos += NumeroDe(registro.data()) == numero;
    }
    Mostra("engine: read by random number (Le)", amostra.size(), Segundos(inicio));

    inicio = Relogio::now();
    for (uint32_t n = 1; n <= total; ++n) {
      if (int erro = arquivo.Le(n, registro.data())) Falha("Le", erro);
      conferidos += NumeroDe(registro.data()) == n;
    }
    varreduraMotor = Segundos(inicio);
    Mostra("engine: sequential scan (Le 1..N)", total, varreduraMotor);
  }

  {
    const int fd = open(caminhoLinux.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Falha("open", errno);
    std::vector<uint8_t> bloco(kBloco);
    auto inicio = Relogio::now();
    for (uint32_t numero : amostra) {
      const off_t deslocamento = static_cast<off_t>(numero) * kTamanho;
      if (pread(fd, bloco.data(), kBloco, deslocamento) < static_cast<ssize_t>(kTamanho)) Falha("pread", errno);
      std::memcpy(registro.data(), bloco.data(), kTamanho);
      conferidos += NumeroDe(registro.data()) == numero;
    }
    Mostra("raw: read by random number (pread 32 KB)", amostra.size(), Segundos(inicio));

    inicio = Relogio::now();
    uint32_t numero = 0;
    for (off_t deslocamento = 0;; deslocamento += kBloco) {
      const ssize_t lidos = pread(fd, bloco.data(), kBloco, deslocamento);
      if (lidos < 0) Falha("pread", errno);
      if (lidos == 0) break;
      for (ssize_t k = 0; k + kTamanho <= static_cast<size_t>(lidos); k += kTamanho, ++numero) {
        std::memcpy(registro.data(), bloco.data() + k, kTamanho);
        if (numero > 0) conferidos += NumeroDe(registro.data()) == numero;
      }
    }
    varreduraBruta = Segundos(inicio);
    Mostra("raw: sequential scan (pread 32 KB)", total, varreduraBruta);
    close(fd);
  }

  std::printf("engine scan / raw scan (speed): %.2f\n", varreduraBruta / varreduraMotor);
  std::printf("records checked: %llu of %llu\n", static_cast<unsigned long long>(conferidos),
              2ULL * (amostra.size() + total));
  std::filesystem::remove(caminhoLinux);
  if (argc <= 2) std::filesystem::remove_all(diretorio);
  return conferidos == 2ULL * (amostra.size() + total) ? 0 : 1;
}
