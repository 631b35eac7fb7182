// Seeded inputs for the bounded fuzz tests, and the tally of answers that each test prints.
//
// A run uses one seed: QV_FUZZ_SEED when the environment sets it (to explore by hand), else
// kSementePadrao, so that the suite meets the same inputs every time. Each reader draws from a
// generator of its own, seeded by the run's seed and the reader's name: a test run alone (through a
// filter) meets exactly the inputs that it meets in the whole suite, and the seed with an input's
// index reproduces a failure. Each test runs a fixed number of inputs.
//
// An input is mostly a valid seed (a file that the engine wrote, a real catalogue, a valid text)
// with one to four mutations, sometimes a seed cut short, sometimes random bytes.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

class Fuzz {
 public:
  static constexpr uint64_t kSementePadrao = 20260615;
  // The run's seed, printed the first time it is asked for.
  static uint64_t Semente();

  explicit Fuzz(std::string leitor);
  // Prints the tally: the inputs run, and per group of answers how many of each.
  ~Fuzz();
  Fuzz(const Fuzz&) = delete;
  Fuzz& operator=(const Fuzz&) = delete;

  // 0 .. limite - 1 (0 when limite is 0).
  uint32_t Numero(uint32_t limite);
  uint32_t Entre(uint32_t minimo, uint32_t maximo);
  bool Chance(uint32_t emCada) { return Numero(emCada) == 0; }
  template <typename T>
  const T& Escolhe(const std::vector<T>& opcoes) {
    return opcoes[Numero(static_cast<uint32_t>(opcoes.size()))];
  }
  std::string Aleatorios(size_t tamanho);

  // Counts an input that the test makes itself.
  void NovaEntrada() { ++m_indice; }
  // The next input, at most `maximo` bytes; `dicionario` holds tokens of the format that the
  // mutations insert (section headers, escapes, separators...).
  std::string Entrada(const std::vector<std::string>& sementes, const std::vector<std::string>& dicionario,
                      size_t maximo);
  std::string Muta(std::string entrada, const std::vector<std::string>& dicionario, size_t maximo);
  // A run of digits of the text replaced by a number at the edge of a field (a month, a day, 16 or
  // 32 bits...).
  std::string TrocaNumero(std::string texto);

  // Counts one answer of a group ("open": "accepted", "read": "16021"...).
  void Conta(const std::string& grupo, const std::string& resposta) { ++m_contagem[grupo][resposta]; }
  // For a failure message: the seed, the input's index and its bytes (escaped, cut at 2 KB).
  std::string Descreve(const std::string& entrada) const;

 private:
  void MutaUmaVez(std::string& texto, const std::vector<std::string>& dicionario);

  std::string m_leitor;
  std::mt19937_64 m_gerador;
  int m_indice = -1;
  std::map<std::string, std::map<std::string, int>> m_contagem;
  std::chrono::steady_clock::time_point m_inicio = std::chrono::steady_clock::now();
};
