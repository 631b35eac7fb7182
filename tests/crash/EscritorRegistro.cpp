#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/win32/registry.h"
#include "tests/crash/Escritores.h"

namespace {

constexpr uint32_t kValores = 16;
const char kChave[] = "SOFTWARE\\QV Rivovoda\\Queda";
const char kChaveFixa[] = "SOFTWARE\\QV Rivovoda\\Fixa";  // a value that no writer touches
constexpr uint32_t kFixo = 12345;

struct Relato {
  std::atomic<uint32_t> serie;              // the last write begun
  std::atomic<uint32_t> emGravacao;         // the value in flight, plus one; 0 none
  std::atomic<uint32_t> serieEmGravacao;    // and the write it gets
  std::atomic<uint32_t> valores[kValores];  // as reported done; 0 none
  std::atomic<uint32_t> completas;
};

std::string NomeValor(uint32_t k) { return "Valor" + std::to_string(k); }

LONG CriaChave(const char* nome, HKEY* chave) {
  return RegCreateKeyExA(HKEY_LOCAL_MACHINE, nome, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, chave,
                         nullptr);
}

LONG GravaNumero(HKEY chave, const std::string& nome, uint32_t valor) {
  return RegSetValueExA(chave, nome.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&valor), sizeof valor);
}

// The value's number, 0 when it or its key is missing; the error when the registry cannot be read.
LONG LeNumero(const char* chave, const std::string& nome, uint32_t* valor) {
  *valor = 0;
  HKEY aberta = nullptr;
  LONG erro = RegOpenKeyExA(HKEY_LOCAL_MACHINE, chave, 0, KEY_READ, &aberta);
  if (erro == ERROR_FILE_NOT_FOUND) return 0;
  if (erro) return erro;
  DWORD tamanho = sizeof *valor;
  erro = RegQueryValueExA(aberta, nome.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(valor), &tamanho);
  RegCloseKey(aberta);
  return erro == ERROR_FILE_NOT_FOUND ? 0 : erro;
}

class EscritorRegistro : public Escritor {
 public:
  EscritorRegistro() {
    HKEY fixa = nullptr;
    EXPECT_EQ(CriaChave(kChaveFixa, &fixa), 0);
    EXPECT_EQ(GravaNumero(fixa, "Fixo", kFixo), 0);
    RegCloseKey(fixa);
  }

  const char* Nome() const override { return "registry"; }

  int Abre() override { return CriaChave(kChave, &chave_); }

  int Escreve(std::mt19937& acaso, uint32_t vezes) override {
    for (uint32_t vez = 0; vez < vezes; ++vez) {
      const uint32_t k = acaso() % kValores;
      const uint32_t serie = relato_->serie + 1;
      relato_->serieEmGravacao = serie;
      relato_->emGravacao = k + 1;
      relato_->serie = serie;
      if (LONG erro = GravaNumero(chave_, NomeValor(k), serie)) return erro;
      relato_->valores[k] = serie;
      ++relato_->completas;
      relato_->emGravacao = 0;
    }
    return 0;
  }

  void Fecha() override { RegCloseKey(chave_); }

  void Verifica() override {
    const uint32_t emGravacao = relato_->emGravacao;
    if (emGravacao != 0) ++figuras_.emGravacao;
    relato_->emGravacao = 0;
    uint32_t fixo = 0;
    if (LeNumero(kChaveFixa, "Fixo", &fixo)) {
      ++figuras_.ilegiveis;
    } else if (fixo != kFixo) {
      ++figuras_.perdidos;
    }
    for (uint32_t k = 0; k < kValores; ++k) VerificaValor(k, emGravacao);
  }

  uint32_t Completas() const override { return relato_->completas; }

 private:
  void VerificaValor(uint32_t k, uint32_t emGravacao) {
    uint32_t lido = 0;
    if (LeNumero(kChave, NomeValor(k), &lido)) {
      ++figuras_.ilegiveis;
      return;
    }
    const uint32_t relatado = relato_->valores[k];
    if (lido == relatado) return;
    if (k + 1 == emGravacao && lido == relato_->serieEmGravacao) {
      relato_->valores[k] = lido;
    } else {
      ++(lido < relatado ? figuras_.perdidos : figuras_.danificados);
    }
  }

  Partilhado<Relato> relato_;
  HKEY chave_ = nullptr;  // open while the writer writes
};

}  // namespace

std::unique_ptr<Escritor> NovoEscritorRegistro() { return std::make_unique<EscritorRegistro>(); }
