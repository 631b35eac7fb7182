// Posters of the inventory stand-in in several processes (fork, no exec): two at once lose no
// movement and number none twice, and one killed with SIGKILL at random moments leaves every
// movement either counted in its balance or absent, never one without the other.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "platform/family/estoque/ServidorEstoque.h"
#include "tests/crash/Queda.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

constexpr uint16_t kDia = 64451;  // 15/06/2024: the movements carry their date, so no clock is read
constexpr uint16_t kMes = 2118;
constexpr unsigned kVida = 20000;  // us: the longest a poster lives after its first movement

_REG_ES_MOVIMENTOPS Entrada(uint32_t serie) {
  _REG_ES_MOVIMENTOPS m;
  std::memset(&m, 0, sizeof m);
  m.cTipoMovimento = 11;
  m.vQuantidade.int64 = int64_t(serie % 5 + 1) * 10000;
  m.regPosicaoProduto = {500, 0, 0, 0};
  m.iPonteiroFilial = 1;
  m.iPonteiroLocalArmazenagem = 2;
  m.iDataMovimento = kDia;
  m.lChaveQuemGerou = static_cast<int32_t>(serie);
  return m;
}

class EstoqueProcessos : public FamiliaSemeada<ServidorEstoque> {
 protected:
  void SetUp() override {
    FamiliaSemeada::SetUp();
    movimento_ = Cria<IQVES_Movimento>(CLSID_QVES_Movimento, IID_IQVES_Movimento);
    ASSERT_NE(movimento_, nullptr);
    BSTR empresa = SysAllocString(u"TESTE");
    ASSERT_EQ(movimento_->Inicializa(empresa, 7, 1234, kESModuloProducao), S_OK);
    SysFreeString(empresa);
  }
  void TearDown() override {
    if (movimento_) movimento_->Release();
    FamiliaSemeada::TearDown();
  }

  // Posts `vezes` movements numbered from `primeira`, counting each success in `feitos`; in a
  // child process.
  [[noreturn]] void Posta(uint32_t primeira, uint32_t vezes, std::atomic<uint32_t>* feitos) {
    BSTR texto = SysAllocString(u"Entrada ref. OP 0624-000001");
    for (uint32_t i = 0; i < vezes; ++i) {
      uint32_t numero = 0;
      if (FAILED(movimento_->GravaMovimento(0, Entrada(primeira + i), texto, &numero))) _exit(1);
      if (feitos) ++*feitos;
    }
    _exit(0);
  }

  // The balance of the position as the server answers it (the first read after a kill also
  // finishes a change that the kill left applied in part).
  int64_t Saldo() {
    _REG_ES_CHAVE_SALDOPS chave;
    std::memset(&chave, 0, sizeof chave);
    chave.regPosicaoProduto = {500, 0, 0, 0};
    chave.iPonteiroFilial = 1;
    _REG_ES_SALDO_POSICAOPS saldo;
    EXPECT_EQ(movimento_->LeSaldoPosicao(chave, &saldo, 0, 0), S_OK);
    return saldo.vSaldoTipoEstoque0.int64;
  }

  // The movements of the month as the file holds them.
  std::vector<MovimentoGravadoES> Movimentos() {
    std::ifstream arquivo(instalacao_.dir().path() + "/empresas/TESTE/ES/MV2118.DAT", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(arquivo)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size() % sizeof(MovimentoGravadoES), 0u);
    std::vector<MovimentoGravadoES> movimentos(bytes.size() / sizeof(MovimentoGravadoES));
    if (!movimentos.empty()) std::memcpy(static_cast<void*>(movimentos.data()), bytes.data(), bytes.size());
    return movimentos;
  }

  static int64_t Soma(const std::vector<MovimentoGravadoES>& movimentos) {
    int64_t soma = 0;
    for (const MovimentoGravadoES& m : movimentos) soma += m.regMovimento.vQuantidade.int64;
    return soma;
  }

  IQVES_Movimento* movimento_ = nullptr;
};

TEST_F(EstoqueProcessos, TwoPostersAtOnceLoseNoMovementAndNumberNoneTwice) {
  const uint32_t vezes = static_cast<uint32_t>(QuantidadeNestaMaquina(1000));
  pid_t filhos[2];
  for (int i = 0; i < 2; ++i) {
    filhos[i] = fork();
    ASSERT_GE(filhos[i], 0);
    if (filhos[i] == 0) Posta(1 + i * vezes, vezes, nullptr);
  }
  for (const pid_t filho : filhos) {
    int estado = 0;
    ASSERT_EQ(waitpid(filho, &estado, 0), filho);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }

  const std::vector<MovimentoGravadoES> movimentos = Movimentos();
  ASSERT_EQ(movimentos.size(), 2 * vezes);
  std::vector<bool> vistos(2 * vezes + 1, false);
  for (size_t i = 0; i < movimentos.size(); ++i) {
    EXPECT_EQ(movimentos[i].regMovimento.lPosicao, static_cast<int32_t>(i + 1));  // its number
    const auto serie = static_cast<uint32_t>(movimentos[i].regMovimento.lChaveQuemGerou);
    ASSERT_TRUE(serie >= 1 && serie <= 2 * vezes && !vistos[serie]) << serie;
    vistos[serie] = true;
  }
  EXPECT_EQ(Saldo(), Soma(movimentos));
  _REG_ES_MOVIMENTOPS lido;
  EXPECT_EQ(movimento_->LeMovimento((2 * vezes) << 12 | kMes, &lido), S_OK);
  EXPECT_EQ(movimento_->LeMovimento((2 * vezes + 1) << 12 | kMes, &lido), kFamiliaNaoEncontrado);
}

TEST_F(EstoqueProcessos, PosterKilledAtRandomLeavesEachMovementCountedInItsBalanceOrAbsent) {
  const int quedas = QuantidadeNestaMaquina(300);
  Partilhado<std::atomic<uint32_t>> feitos;
  std::mt19937 acaso(20260619);
  int emCurso = 0;  // kills that caught a movement done but not yet reported
  uint32_t serie = 1;
  for (int queda = 0; queda < quedas; ++queda) {
    const uint32_t antes = static_cast<uint32_t>(Movimentos().size());
    *feitos = 0;
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) Posta(serie, 1000000, &*feitos);
    // The kill lands at a random moment after the poster's first movement, however slow its start.
    for (int espera = 0; *feitos == 0 && espera < 50000; ++espera) usleep(100);
    usleep(acaso() % kVida);
    kill(filho, SIGKILL);
    int estado = 0;
    ASSERT_EQ(waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFSIGNALED(estado)) << "the poster stopped by itself";

    const int64_t saldo = Saldo();
    const std::vector<MovimentoGravadoES> movimentos = Movimentos();
    const uint32_t relatados = antes + *feitos;
    ASSERT_GE(movimentos.size(), relatados) << "a reported movement was lost at kill " << queda;
    ASSERT_LE(movimentos.size(), relatados + 1) << "kill " << queda;
    emCurso += movimentos.size() > relatados;
    ASSERT_EQ(saldo, Soma(movimentos)) << "kill " << queda;
    serie += 1000000;
  }
  std::printf("%d kills, %zu movements, %d done but not yet reported when killed\n", quedas, Movimentos().size(),
              emCurso);
}

}  // namespace
