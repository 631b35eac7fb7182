// The inventory stand-in's throughput: posts movements (100,000 by default) spread over 10,000
// product positions of one branch, each one change of the journaled store with its balance; then
// asks the balance of random positions; then lists the branch's balances (count, then records).
//
// Usage: bench_estoque [movements] [directory]. The directory (default: a fresh one under TMPDIR or
// /tmp) holds a registry file of its own and the company's ES directory; both are removed at the
// end. Every movement syncs the journal once, so the figure follows the disk's sync time.
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

#include "platform/family/estoque/MovimentoES.h"
#include "bench/Bench.h"
#include "platform/win32/path.h"
#include "platform/win32/registry.h"

namespace {

constexpr uint32_t kPosicoes = 10000;
constexpr uint32_t kConsultas = 20000;
constexpr uint16_t kDia = 64451;  // 15/06/2024

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio) { return std::chrono::duration<double>(Relogio::now() - inicio).count(); }


}  // namespace

int main(int argc, char** argv) {
  const uint32_t total = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 100000;
  const std::string diretorio = DiretorioDoBench(argc, argv);
  setenv("QV_REGISTRY", (diretorio + "/registry.reg").c_str(), 1);
  const std::string es = diretorio + "/BENCH/ES";
  std::filesystem::create_directories(es);
  HKEY chave = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QV Rivovoda\\Empresas\\BENCH", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &chave, nullptr) != ERROR_SUCCESS)
    Falha("RegCreateKeyExA", 0);
  const std::string valor = SystemPathOf(es) + "\\";
  RegSetValueExA(chave, "ES", 0, REG_SZ, reinterpret_cast<const BYTE*>(valor.c_str()),
                 static_cast<DWORD>(valor.size() + 1));
  RegCloseKey(chave);

  ClasseFamilia classe("QVES_Movimento", CLSID_QVES_Movimento, IID_IQVES_Movimento, "ES");
  IQVES_Movimento* movimento = new QVES_Movimento(classe);
  BSTR empresa = SysAllocString(u"BENCH");
  if (const HRESULT hr = movimento->Inicializa(empresa, 1, 1, kESModuloProducao); FAILED(hr)) Falha("Inicializa", hr);
  SysFreeString(empresa);

  BSTR texto = SysAllocString(u"Entrada ref. OP 0624-000001");
  _REG_ES_MOVIMENTOPS m;
  std::memset(&m, 0, sizeof m);
  m.iPonteiroFilial = 1;
  m.iPonteiroLocalArmazenagem = 2;
  m.iDataMovimento = kDia;
  int64_t esperado = 0;
  auto inicio = Relogio::now();
  for (uint32_t i = 0; i < total; ++i) {
    m.regPosicaoProduto.lPonteiroProduto = 1 + i % kPosicoes;
    m.cTipoMovimento = i % 3 == 2 ? 12 : 11;
    m.vQuantidade.int64 = int64_t(i % 7 + 1) * 10000;
    if (m.regPosicaoProduto.lPonteiroProduto == 1) esperado += (m.cTipoMovimento == 11 ? 1 : -1) * m.vQuantidade.int64;
    uint32_t numero = 0;
    if (const HRESULT hr = movimento->GravaMovimento(0, m, texto, &numero); FAILED(hr)) Falha("GravaMovimento", hr);
  }
  const double postagem = Segundos(inicio);
  std::printf("%-32s %10u movements %8.3f s %10.0f movements/s\n", "post", total, postagem, total / postagem);

  std::mt19937 acaso(42);
  _REG_ES_CHAVE_SALDOPS pedido;
  std::memset(&pedido, 0, sizeof pedido);
  pedido.iPonteiroFilial = 1;
  _REG_ES_SALDO_POSICAOPS saldo;
  pedido.regPosicaoProduto.lPonteiroProduto = 1;
  if (FAILED(movimento->LeSaldoPosicao(pedido, &saldo, 0, 0)) || saldo.vSaldoTipoEstoque0.int64 != esperado)
    Falha("balance of position 1", static_cast<long>(saldo.vSaldoTipoEstoque0.int64));
  inicio = Relogio::now();
  for (uint32_t i = 0; i < kConsultas; ++i) {
    pedido.regPosicaoProduto.lPonteiroProduto = 1 + acaso() % kPosicoes;
    if (const HRESULT hr = movimento->LeSaldoPosicao(pedido, &saldo, 0, 0); FAILED(hr)) Falha("LeSaldoPosicao", hr);
  }
  const double consultas = Segundos(inicio);
  std::printf("%-32s %10u queries   %8.3f s %10.0f queries/s\n", "position balance", kConsultas, consultas,
              kConsultas / consultas);

  inicio = Relogio::now();
  uint32_t quantidade = 0;
  if (const HRESULT hr = movimento->QuantidadeSaldosFilial(1, &quantidade); FAILED(hr)) Falha("QuantidadeSaldosFilial", hr);
  std::vector<_REG_ES_SALDOS_PRODUTOSPS> saldos(quantidade);
  if (const HRESULT hr = movimento->LeSaldosFilial(1, quantidade, saldos.data()); FAILED(hr)) Falha("LeSaldosFilial", hr);
  std::printf("%-32s %10u balances  %8.3f s\n", "balance list of the branch", quantidade, Segundos(inicio));

  SysFreeString(texto);
  movimento->Release();
  std::filesystem::remove_all(diretorio + "/BENCH");
  std::filesystem::remove(diretorio + "/registry.reg");
  if (argc <= 2) std::filesystem::remove_all(diretorio);
  return 0;
}
