#include "tests/support/VersoesAntigasFichas.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <utility>

std::string VersoesAntigasFichas::RegistroAntigo(uint32_t i, uint32_t tamanho) {
  std::string bytes(tamanho, '\0');
  for (uint32_t k = 0; k < tamanho; ++k) bytes[k] = static_cast<char>(1 + (k + 3 * i) % 255);
  return bytes;
}

std::string VersoesAntigasFichas::ProcessoFichaV1(uint32_t i, int64_t tempo) {
  std::string bytes = RegistroAntigo(i, kTamanhoProcessoFichaV1);
  const uint64_t valor = static_cast<uint64_t>(tempo);
  for (int k = 0; k < 8; ++k) bytes[8 + k] = static_cast<char>((valor >> (8 * k)) & 0xFF);
  return bytes;
}

std::string VersoesAntigasFichas::NomePeriodo(const std::string& prefixo, uint16_t usMesAno) {
  // Month number n is (year - 1848) x 12 + month; the name carries the month and the year's last
  // two digits.
  const int mes = (usMesAno - 1) % 12 + 1;
  const int ano = 1848 + (usMesAno - 1) / 12;
  char periodo[8];
  std::snprintf(periodo, sizeof periodo, "%02d%02d", mes, ano % 100);
  return prefixo + periodo + ".DAT";
}

namespace {

std::vector<std::string> Registros(uint32_t quantidade, uint32_t tamanho) {
  std::vector<std::string> registros;
  for (uint32_t i = 1; i <= quantidade; ++i) registros.push_back(VersoesAntigasFichas::RegistroAntigo(i, tamanho));
  return registros;
}

}  // namespace

VersoesAntigasFichas::VersoesAntigasFichas(std::string diretorio) : diretorio_(std::move(diretorio)) {}

void VersoesAntigasFichas::ProcessosFichaV1(const std::vector<int64_t>& tempos) const {
  std::vector<std::string> registros;
  for (uint32_t i = 1; i <= tempos.size(); ++i) registros.push_back(ProcessoFichaV1(i, tempos[i - 1]));
  Escreve("PPFTPROC.DAT", ArquivoDeRegistros(kTamanhoProcessoFichaV1, registros));
}

void VersoesAntigasFichas::CabecalhosFichaV2(uint32_t quantidade) const {
  Escreve("PPFTCABE.DAT",
          ArquivoDeRegistros(kTamanhoCabecalhoFichaV2, Registros(quantidade, kTamanhoCabecalhoFichaV2)));
}

void VersoesAntigasFichas::RecursosV1(uint32_t quantidade) const {
  Escreve("PPRECURS.DAT", ArquivoDeRegistros(kTamanhoRecursoV1, Registros(quantidade, kTamanhoRecursoV1)));
}

void VersoesAntigasFichas::MetasV1(uint16_t usMesAno, uint32_t quantidade) const {
  Escreve(NomePeriodo("PPMP", usMesAno), ArquivoDeRegistros(kTamanhoMetaV1, Registros(quantidade, kTamanhoMetaV1)));
}

void VersoesAntigasFichas::Escreve(const std::string& nome, const std::string& bytes) const {
  std::ofstream arquivo(diretorio_ + "/" + nome, std::ios::binary | std::ios::trunc);
  arquivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!arquivo.flush()) throw std::runtime_error("cannot write " + diretorio_ + "/" + nome);
}
