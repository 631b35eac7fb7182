#include "tests/fuzz/Fuzz.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

// FNV-1a: a name's hash that is the same on every build, unlike std::hash.
uint64_t Hash(const std::string& texto) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char ch : texto) hash = (hash ^ ch) * 1099511628211ull;
  return hash;
}

// Bytes that parsers treat specially: ends of lines and strings, escapes, separators, limits.
const char kBytesNotaveis[] = {'\0', '\xFF', '\x7F', '\x80', '\n', '\r', '\\', '"', '/', '-', ',', '.', ';', ':',
                               '[',  ']',    '@',    '=',    ' ', '0',  '9',  '+'};
// Numbers at the edges of fields: months, days, years of the window, 16, 20, 31 and 32 bits.
const char* const kNumerosNotaveis[] = {"0",     "1",     "12",      "13",      "29",         "31",
                                        "32",    "99",    "255",     "256",     "257",        "1926",
                                        "1927",  "2026",  "2027",    "65535",   "65536",      "65537",
                                        "65551", "1048575", "1048576", "1048577", "2147483647", "2147483648",
                                        "4294967295", "4294967296", "18446744073709551617"};
const uint16_t kPalavrasNotaveis[] = {0, 1, 2, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF};

bool EhDigito(char ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

uint64_t Fuzz::Semente() {
  static const uint64_t semente = [] {
    const char* ambiente = getenv("QV_FUZZ_SEED");
    const uint64_t valor = ambiente && *ambiente ? strtoull(ambiente, nullptr, 0) : kSementePadrao;
    printf("[ fuzz     ] seed %llu (QV_FUZZ_SEED sets another)\n", static_cast<unsigned long long>(valor));
    return valor;
  }();
  return semente;
}

Fuzz::Fuzz(std::string leitor) : m_leitor(std::move(leitor)), m_gerador(Semente() ^ Hash(m_leitor)) {}

Fuzz::~Fuzz() {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_inicio).count();
  printf("[ fuzz     ] %s: %d inputs in %lld ms (seed %llu)\n", m_leitor.c_str(), m_indice + 1,
         static_cast<long long>(ms), static_cast<unsigned long long>(Semente()));
  for (const auto& [grupo, respostas] : m_contagem) {
    std::string linha;
    for (const auto& [resposta, quantas] : respostas) linha += "  " + resposta + " " + std::to_string(quantas);
    printf("[ fuzz     ]   %s:%s\n", grupo.c_str(), linha.c_str());
  }
  fflush(stdout);
}

uint32_t Fuzz::Numero(uint32_t limite) {
  if (limite == 0) return 0;
  return static_cast<uint32_t>(m_gerador() % limite);
}

uint32_t Fuzz::Entre(uint32_t minimo, uint32_t maximo) { return minimo + Numero(maximo - minimo + 1); }

std::string Fuzz::Aleatorios(size_t tamanho) {
  std::string bytes(tamanho, '\0');
  for (char& ch : bytes) ch = static_cast<char>(Numero(256));
  return bytes;
}

std::string Fuzz::Entrada(const std::vector<std::string>& sementes, const std::vector<std::string>& dicionario,
                          size_t maximo) {
  NovaEntrada();
  const uint32_t tipo = Numero(10);
  if (sementes.empty() || tipo == 0) {
    const size_t tamanho = Numero(static_cast<uint32_t>(maximo) + 1);
    if (dicionario.empty() || Chance(2)) return Aleatorios(tamanho);
    // Tokens of the format strung together with random bytes between them.
    std::string texto;
    while (texto.size() < tamanho) texto += Chance(3) ? Aleatorios(Entre(1, 4)) : Escolhe(dicionario);
    return texto.substr(0, maximo);
  }
  std::string semente = Escolhe(sementes);
  if (tipo == 1) return semente.substr(0, Numero(static_cast<uint32_t>(std::min(semente.size(), maximo)) + 1));
  return Muta(std::move(semente), dicionario, maximo);
}

std::string Fuzz::Muta(std::string entrada, const std::vector<std::string>& dicionario, size_t maximo) {
  for (uint32_t vezes = Entre(1, 4); vezes > 0; --vezes) MutaUmaVez(entrada, dicionario);
  if (entrada.size() > maximo) entrada.resize(maximo);
  return entrada;
}

void Fuzz::MutaUmaVez(std::string& texto, const std::vector<std::string>& dicionario) {
  const uint32_t tamanho = static_cast<uint32_t>(texto.size());
  const uint32_t posicao = Numero(tamanho + 1);  // may be the end
  const uint32_t dentro = Numero(tamanho);       // an existing byte when there is one
  const uint32_t trecho = std::min<uint32_t>(tamanho - dentro, Entre(1, 16));
  switch (Numero(11)) {
    case 0:  // cut short
      texto.resize(posicao);
      break;
    case 1:  // flip a bit
      if (tamanho) texto[dentro] = static_cast<char>(texto[dentro] ^ (1 << Numero(8)));
      break;
    case 2:
      if (tamanho) texto[dentro] = static_cast<char>(Numero(256));
      break;
    case 3:
      if (tamanho) texto[dentro] = kBytesNotaveis[Numero(std::size(kBytesNotaveis))];
      break;
    case 4:
      texto.insert(posicao, Aleatorios(Entre(1, 8)));
      break;
    case 5:
      if (tamanho) texto.erase(dentro, trecho);
      break;
    case 6: {  // a slice repeated, up to 64 times: long lines, deep paths, runs of records
      if (!tamanho) break;
      const std::string pedaco = texto.substr(dentro, trecho);
      std::string repetido;
      for (uint32_t vezes = Entre(1, 64); vezes > 0; --vezes) repetido += pedaco;
      texto.insert(dentro, repetido);
      break;
    }
    case 7:  // a slice copied over another place
      if (tamanho) texto.replace(Numero(tamanho), trecho, texto.substr(dentro, trecho));
      break;
    case 8:
      if (!dicionario.empty()) texto.insert(posicao, Escolhe(dicionario));
      break;
    case 9: {  // a 16-bit little-endian value at the edge: record lengths, counts
      if (tamanho < 2) break;
      const uint16_t palavra = Chance(4) ? static_cast<uint16_t>(Numero(65536))
                                         : kPalavrasNotaveis[Numero(std::size(kPalavrasNotaveis))];
      const uint32_t onde = Numero(tamanho - 1);
      texto[onde] = static_cast<char>(palavra & 0xFF);
      texto[onde + 1] = static_cast<char>(palavra >> 8);
      break;
    }
    default:
      texto = TrocaNumero(std::move(texto));
  }
}

std::string Fuzz::TrocaNumero(std::string texto) {
  uint32_t inicio = Numero(static_cast<uint32_t>(texto.size()));
  while (inicio < texto.size() && !EhDigito(texto[inicio])) ++inicio;
  uint32_t fim = inicio;
  while (fim < texto.size() && EhDigito(texto[fim])) ++fim;
  return texto.replace(inicio, fim - inicio, kNumerosNotaveis[Numero(std::size(kNumerosNotaveis))]);
}

std::string Fuzz::Descreve(const std::string& entrada) const {
  constexpr size_t kMostrados = 2048;
  char cabecalho[160];
  snprintf(cabecalho, sizeof cabecalho, "seed %llu, input %d of %s (%zu bytes): \"",
           static_cast<unsigned long long>(Semente()), m_indice, m_leitor.c_str(), entrada.size());
  std::string texto = cabecalho;
  for (size_t i = 0; i < entrada.size() && i < kMostrados; ++i) {
    const unsigned char ch = static_cast<unsigned char>(entrada[i]);
    char escape[8];
    if (ch == '\\' || ch == '"') {
      texto += '\\';
      texto += static_cast<char>(ch);
    } else if (ch >= 0x20 && ch < 0x7F) {
      texto += static_cast<char>(ch);
    } else {
      snprintf(escape, sizeof escape, "\\x%02x", ch);
      texto += escape;
    }
  }
  return texto + (entrada.size() > kMostrados ? "\"..." : "\"");
}
