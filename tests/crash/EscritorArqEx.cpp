#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "foundation/CQVArqEx.h"
#include "tests/crash/Escritores.h"

namespace {

constexpr uint32_t kTamanho = 5000;            // records cross page boundaries, where the system may cut a write
constexpr uint32_t kCheio = 40;                // a file with this many records appended is followed by a new one
constexpr uint32_t kRegistros = 2 * kCheio;    // room for the numbers that cut appends leave unused
constexpr uint32_t kEmAcrescimo = 0xFFFFFFFF;  // in flight: an append, whose number is not known yet
constexpr int kNumeroErrado = -1;  // an append numbered in the header or where a reported record lies

struct Relato {
  std::atomic<uint32_t> serie;                // the last write begun
  std::atomic<uint32_t> emGravacao;           // the record in flight: 0 none, or kEmAcrescimo
  std::atomic<uint32_t> serieEmGravacao;      // and the write it gets
  std::atomic<uint32_t> ultimo;               // the number that the last reported append gave back
  std::atomic<uint32_t> serieDe[kRegistros];  // of each record, the write reported done; 0 none
  std::atomic<uint32_t> completas;
};

class EscritorArqEx : public Escritor {
 public:
  explicit EscritorArqEx(const DiretorioDados& dados) : dados_(dados) {
    // A company's directory has its control file from its first data file on: every writer's
    // creation is then that of a data file.
    CQVArqEx primeiro;
    EXPECT_EQ(primeiro.Abre(dados_.Caminho("PPPRIMEIRO.DAT").c_str(), 'G', kTamanho, true, true), 0);
  }

  const char* Nome() const override { return "record files"; }

  int Abre() override { return arquivo_.Abre(dados_.Caminho(NomeArquivo()).c_str(), 'G', kTamanho, true, true); }

  int Escreve(std::mt19937& acaso, uint32_t vezes) override {
    for (uint32_t vez = 0; vez < vezes; ++vez) {
      const uint32_t ultimo = relato_->ultimo;
      const bool regrava = ultimo > 0 && (ultimo >= kCheio || acaso() % 3 == 0);
      uint32_t numero = regrava ? 1 + acaso() % ultimo : 0;
      const uint32_t serie = relato_->serie + 1;
      const std::string registro = Conteudo(serie, kTamanho);
      relato_->serieEmGravacao = serie;
      relato_->emGravacao = regrava ? numero : kEmAcrescimo;
      relato_->serie = serie;
      if (int erro = arquivo_.Grava(registro.data(), &numero)) return erro;
      if (numero >= kRegistros || (!regrava && numero <= ultimo)) return kNumeroErrado;
      relato_->serieDe[numero] = serie;
      if (!regrava) relato_->ultimo = numero;
      ++relato_->completas;
      relato_->emGravacao = 0;
    }
    return 0;
  }

  void Fecha() override { arquivo_.Fecha(); }

  void Verifica() override {
    const std::string nome = NomeArquivo();
    const std::string bytes = dados_.Le(nome);
    const uint32_t emGravacao = relato_->emGravacao;
    if (emGravacao != 0) ++figuras_.emGravacao;
    if (dados_.Existe(nome) && bytes.size() < kTamanho) ++figuras_.semInicio;
    if (bytes.substr(0, kTamanho).find_first_not_of('\0') != std::string::npos) ++figuras_.danificados;
    // A cut append stays at the end of the file until the next append.
    if (bytes.size() % kTamanho != 0 && bytes.size() != tamanhoAnterior_) ++figuras_.cortadas;
    tamanhoAnterior_ = bytes.size();
    for (uint32_t n = 1; n < kRegistros; ++n) VerificaRegistro(bytes, n, emGravacao);
    relato_->emGravacao = 0;
    if (relato_->ultimo >= kCheio) ProximoArquivo();
  }

  uint32_t Completas() const override { return relato_->completas; }

 private:
  std::string NomeArquivo() const { return "PPQ" + std::to_string(geracao_) + ".DAT"; }

  void VerificaRegistro(const std::string& bytes, uint32_t n, uint32_t emGravacao) {
    const uint32_t serie = relato_->serieDe[n];
    if (serie == 0) return;
    if ((n + 1) * kTamanho > bytes.size()) {
      ++figuras_.perdidos;
      return;
    }
    const uint32_t inteira = SerieInteira(bytes.substr(n * kTamanho, kTamanho));
    if (inteira == serie) return;
    if (n == emGravacao && inteira == relato_->serieEmGravacao) {
      relato_->serieDe[n] = inteira;
    } else if (n == emGravacao && inteira == 0) {
      ++figuras_.cortadas;
      relato_->serieDe[n] = 0;
    } else {
      ++(inteira != 0 && inteira < serie ? figuras_.perdidos : figuras_.danificados);
    }
  }

  void ProximoArquivo() {
    std::filesystem::remove(dados_.Linux(NomeArquivo()));
    for (auto& serie : relato_->serieDe) serie = 0;
    relato_->ultimo = 0;
    tamanhoAnterior_ = 0;
    ++geracao_;
  }

  const DiretorioDados& dados_;
  Partilhado<Relato> relato_;
  CQVArqEx arquivo_;  // open while the writer writes
  int geracao_ = 0;
  size_t tamanhoAnterior_ = 0;
};

}  // namespace

std::unique_ptr<Escritor> NovoEscritorArqEx(const DiretorioDados& dados) {
  return std::make_unique<EscritorArqEx>(dados);
}
