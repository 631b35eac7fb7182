#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/CQVArqDyn.h"
#include "foundation/CQVException.h"
#include "tests/crash/Escritores.h"

namespace {

constexpr uint32_t kTextos = 24;        // the fixed records that point to texts
constexpr uint32_t kMaiorTexto = 6000;  // texts cross page boundaries, where the system may cut a write
constexpr uintmax_t kCheio = 1 << 20;   // bytes of a file that is followed by a new one
constexpr UINT kGrava = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr UINT kLe = CFile::modeRead | CFile::shareDenyNone;
constexpr int kFalhaAbertura = -1, kFalhaGravacao = -2;  // the exceptions of the writer's calls

// The text of write number `serie` takes its length, 4 bytes or more, from the number.
uint32_t TamanhoDa(uint32_t serie) { return 4 + serie * 2654435761u % (kMaiorTexto - 3); }

// A fixed record's pointer and the write of its text, in one value, so that a kill never leaves
// one reported without the other.
uint64_t Texto(uint32_t ponteiro, uint32_t serie) { return static_cast<uint64_t>(serie) << 32 | ponteiro; }
uint32_t PonteiroDe(uint64_t texto) { return static_cast<uint32_t>(texto); }
uint32_t SerieDe(uint64_t texto) { return static_cast<uint32_t>(texto >> 32); }

struct Relato {
  std::atomic<uint32_t> serie;            // the last write begun
  std::atomic<uint32_t> emGravacao;       // the fixed record whose text is in flight, plus one; 0 none
  std::atomic<uint32_t> serieEmGravacao;  // and the write it gets
  std::atomic<uint64_t> textos[kTextos];  // as reported done
  std::atomic<uint32_t> completas;
};
static_assert(std::atomic<uint64_t>::is_always_lock_free);

// The whole write that the record at `ponteiro` holds; 0 when it holds none or cannot be read.
uint32_t SerieEm(CQVArqDyn& arquivo, uint32_t ponteiro) {
  try {
    std::string registro(arquivo.LeTamanhoRegistro(ponteiro), 0);
    arquivo.Le(ponteiro, registro.data(), static_cast<uint32_t>(registro.size()));
    return SerieInteira(registro);
  } catch (const CException&) {
    return 0;
  }
}

class EscritorArqDyn : public Escritor {
 public:
  explicit EscritorArqDyn(const DiretorioDados& dados) : dados_(dados) {}

  const char* Nome() const override { return "variable-record files"; }

  int Abre() override {
    try {
      arquivo_.Abre(dados_.Caminho(NomeArquivo()).c_str(), kGrava);
      return 0;
    } catch (const CException&) {
      return kFalhaAbertura;
    }
  }

  int Escreve(std::mt19937& acaso, uint32_t vezes) override {
    for (uint32_t vez = 0; vez < vezes; ++vez) {
      const uint32_t k = acaso() % kTextos;
      const uint32_t serie = relato_->serie + 1;
      const std::string texto = Conteudo(serie, TamanhoDa(serie));
      relato_->serieEmGravacao = serie;
      relato_->emGravacao = k + 1;
      relato_->serie = serie;
      uint32_t ponteiro = PonteiroDe(relato_->textos[k]);
      try {
        arquivo_.Grava(&ponteiro, texto.data(), static_cast<uint32_t>(texto.size()));
      } catch (const CException&) {
        return kFalhaGravacao;
      }
      relato_->textos[k] = Texto(ponteiro, serie);
      ++relato_->completas;
      relato_->emGravacao = 0;
    }
    return 0;
  }

  void Fecha() override { arquivo_.Fecha(); }

  void Verifica() override {
    const uint32_t emGravacao = relato_->emGravacao;
    if (emGravacao != 0) ++figuras_.emGravacao;
    relato_->emGravacao = 0;
    const std::string nome = NomeArquivo();
    if (!dados_.Existe(nome)) return;
    char assinatura[2] = {};
    std::ifstream(dados_.Linux(nome), std::ios::binary).read(assinatura, sizeof assinatura);
    if (assinatura[0] == 0) ++figuras_.semInicio;
    if (assinatura[0] != 0 && std::string(assinatura, 2) != "QV") ++figuras_.danificados;
    try {
      CQVArqDyn arquivo(dados_.Caminho(nome).c_str(), kLe);
      for (uint32_t k = 0; k < kTextos; ++k) VerificaTexto(arquivo, k, emGravacao);
    } catch (const CFileException&) {
      ++figuras_.ilegiveis;
    }
    if (std::filesystem::file_size(dados_.Linux(nome)) >= kCheio) ProximoArquivo();
  }

  uint32_t Completas() const override { return relato_->completas; }

 private:
  std::string NomeArquivo() const { return "PPT" + std::to_string(geracao_) + ".DAT"; }

  void VerificaTexto(CQVArqDyn& arquivo, uint32_t k, uint32_t emGravacao) {
    const uint64_t texto = relato_->textos[k];
    if (SerieDe(texto) == 0) return;
    const uint32_t lida = SerieEm(arquivo, PonteiroDe(texto));
    // So also when the text in flight did not fit its place: it went to the end, and the old one
    // stays the fixed record's text until the new pointer is reported.
    if (lida == SerieDe(texto)) return;
    if (k + 1 == emGravacao && lida == relato_->serieEmGravacao) {
      relato_->textos[k] = Texto(PonteiroDe(texto), lida);
    } else if (k + 1 == emGravacao && lida == 0) {
      ++figuras_.cortadas;
      relato_->textos[k] = 0;
    } else {
      ++(lida != 0 && lida < SerieDe(texto) ? figuras_.perdidos : figuras_.danificados);
    }
  }

  void ProximoArquivo() {
    std::filesystem::remove(dados_.Linux(NomeArquivo()));
    for (auto& texto : relato_->textos) texto = 0;
    ++geracao_;
  }

  const DiretorioDados& dados_;
  Partilhado<Relato> relato_;
  CQVArqDyn arquivo_;  // open while the writer writes
  int geracao_ = 0;
};

}  // namespace

std::unique_ptr<Escritor> NovoEscritorArqDyn(const DiretorioDados& dados) {
  return std::make_unique<EscritorArqDyn>(dados);
}
