// The entity caches against reads through the family's stand-ins: products read through the base
// system's stand-in against the same products answered by the product cache; ExisteBufferProduto
// by code over every product cached (a walk of the cache, as the code is not its key); and the
// stock balances loaded by one filtered read, each balance into the balance cache, then read back
// by key.
//
// The stand-in reads its whole product and price files at every call, so a read through it costs
// in proportion to the catalogue: the bench times at most 100 of them, and fills the cache with
// every product through a product server that answers LeProduto from memory (the stand-in's class
// with that one method replaced), which leaves the cache's own cost in the fill's figure.
//
// Usage: bench_caches [products] [directory]. Products default to 10,000, with ten balances each
// (one per storage place of branch 1). The directory (default: a fresh one under TMPDIR or /tmp)
// holds a registry file of its own and the company's DF and ES directories; both are removed at
// the end.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "access/CPPBufferDados.h"
#include "bench/Bench.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/win32/path.h"
#include "platform/win32/registry.h"

namespace {

constexpr uint16_t kTabela = 1;
constexpr uint16_t kLocais = 10;
constexpr uint32_t kAcertos = 1000000;

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio) { return std::chrono::duration<double>(Relogio::now() - inicio).count(); }

void GravaValor(const char* chave, const char* nome, const std::string& valor) {
  HKEY aberta = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, chave, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &aberta, nullptr) !=
      ERROR_SUCCESS)
    Falha("RegCreateKeyExA", 0);
  RegSetValueExA(aberta, nome, 0, REG_SZ, reinterpret_cast<const BYTE*>(valor.c_str()),
                 static_cast<DWORD>(valor.size() + 1));
  RegCloseKey(aberta);
}

std::string Codigo(uint32_t ponteiro) {
  char codigo[16];
  std::snprintf(codigo, sizeof codigo, "p%06u", ponteiro);
  return codigo;
}

void Linha(const char* o_que, uint32_t vezes, const char* unidade, double segundos) {
  std::printf("%-44s %9u %-9s %8.3f s %12.0f /s\n", o_que, vezes, unidade, segundos, vezes / segundos);
}

// The stand-in's product server with LeProduto answered from the catalogue in memory.
class ProdutosEmMemoria : public QVDF_Produto {
 public:
  ProdutosEmMemoria(ClasseFamilia& classe, const CadastroProdutosDF& cadastro) : QVDF_Produto(classe) {
    for (const _REG_PRODUTOPS& produto : cadastro.produtos) produtos_.push_back(produto);
    for (size_t i = 0; i < cadastro.precos.size(); ++i) produtos_[i].vPrecoVendaV8 = cadastro.precos[i].vPrecoVendaV8;
  }
  HRESULT LeProduto(int32_t lPonteiro, uint16_t, _REG_PRODUTOPS* pregProduto) override {
    if (lPonteiro < 1 || static_cast<size_t>(lPonteiro) > produtos_.size()) return kFamiliaNaoEncontrado;
    *pregProduto = produtos_[static_cast<size_t>(lPonteiro) - 1];
    return S_OK;
  }

 private:
  std::vector<_REG_PRODUTOPS> produtos_;
};

}  // namespace

int main(int argc, char** argv) {
  const uint32_t produtos = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 10000;
  if (produtos == 0) Falha("product count", 0);
  const uint32_t saldos = produtos * kLocais;
  const std::string diretorio = DiretorioDoBench(argc, argv);
  setenv("QV_REGISTRY", (diretorio + "/registry.reg").c_str(), 1);
  for (const char* modulo : {"DF", "ES"}) {
    const std::string caminho = diretorio + "/BENCH/" + modulo;
    std::filesystem::create_directories(caminho);
    GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\BENCH", modulo, SystemPathOf(caminho) + "\\");
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    auto familia = std::make_unique<ServidoresFamilia>();
    if (const HRESULT hr = familia->Registra(); FAILED(hr)) Falha("Registra", hr);

    // Products "P000001".. (codes upper case, asked for in lower case), each priced under table 1.
    CadastroProdutosDF cadastro;
    cadastro.produtos.resize(produtos);
    std::memset(cadastro.produtos.data(), 0, cadastro.produtos.size() * sizeof(_REG_PRODUTOPS));
    for (uint32_t i = 0; i < produtos; ++i) {
      _REG_PRODUTOPS& produto = cadastro.produtos[i];
      produto.lPonteiroProduto = i + 1;
      std::snprintf(produto.szCodigo, sizeof produto.szCodigo, "P%06u", i + 1);
      produto.cTipo = 'P';
      CY preco;
      preco.int64 = int64_t(i + 1) * 10000;
      cadastro.precos.push_back({'P', 0, i + 1, kTabela, preco});
    }
    if (const HRESULT hr = GravaCadastroProdutosDF("BENCH", cadastro); FAILED(hr)) Falha("GravaCadastroProdutosDF", hr);
    std::vector<SaldoInicialES> iniciais(saldos);
    std::memset(iniciais.data(), 0, iniciais.size() * sizeof(SaldoInicialES));
    for (uint32_t i = 0; i < saldos; ++i) {
      iniciais[i].regChave.regPosicaoProduto.lPonteiroProduto = 1 + i / kLocais;
      iniciais[i].regChave.iPonteiroFilial = 1;
      iniciais[i].regChave.iPonteiroLocalArmazenagem = static_cast<uint16_t>(1 + i % kLocais);
      iniciais[i].vQuantidade.int64 = int64_t(i + 1) * 10000;
    }
    auto inicio = Relogio::now();
    if (const HRESULT hr = GravaSaldosIniciaisES("BENCH", iniciais); FAILED(hr)) Falha("GravaSaldosIniciaisES", hr);
    std::printf("%-44s %9u %-9s %8.3f s\n", "seed balances (not a cache figure)", saldos, "balances",
                Segundos(inicio));

    CPPBufferDados buffer;
    buffer.Inicializa("BENCH", 1, 1);
    std::mt19937 acaso(42);
    CPPDadosProduto produto;

    // Reads through the stand-in, then the cache filled from memory, then hits.
    const uint32_t leituras = produtos < 100 ? produtos : 100;
    inicio = Relogio::now();
    for (uint32_t i = 0; i < leituras; ++i) {
      const int32_t ponteiro = static_cast<int32_t>(1 + acaso() % produtos);
      if (const int32_t hr = buffer.LeProduto(ponteiro, &produto, kTabela); hr < 0) Falha("LeProduto", hr);
    }
    const double lidos = Segundos(inicio);
    Linha("LeProduto through the stand-in", leituras, "reads", lidos);

    ProdutosEmMemoria* memoria = new ProdutosEmMemoria(familia->base.Produto, cadastro);
    const BSTR empresa = SysAllocString(u"BENCH");
    if (const HRESULT hr = memoria->Inicializa(empresa, 1, 1); FAILED(hr)) Falha("Inicializa", hr);
    SysFreeString(empresa);
    buffer.SetIProduto(memoria);
    inicio = Relogio::now();
    for (uint32_t i = 1; i <= produtos; ++i)
      if (const int32_t hr = buffer.LeBufferProduto(static_cast<int32_t>(i), &produto, kTabela); hr < 0)
        Falha("LeBufferProduto (miss)", hr);
    Linha("LeBufferProduto misses from memory (fill)", produtos, "reads", Segundos(inicio));
    if (buffer.GetMapaProduto().GetCount() != produtos) Falha("products cached", buffer.GetMapaProduto().GetCount());

    inicio = Relogio::now();
    int64_t soma = 0;
    for (uint32_t i = 0; i < kAcertos; ++i) {
      const int32_t ponteiro = static_cast<int32_t>(1 + acaso() % produtos);
      if (const int32_t hr = buffer.LeBufferProduto(ponteiro, &produto, kTabela); hr < 0) Falha("LeBufferProduto", hr);
      soma += produto.GetPrecoVendaV8().int64;
    }
    const double acertos = Segundos(inicio);
    Linha("LeBufferProduto hits", kAcertos, "reads", acertos);
    std::printf("%-44s %9.0f x\n", "hits against reads through the stand-in", (kAcertos / acertos) / (leituras / lidos));
    if (soma <= 0) Falha("sum of prices", 0);

    // Look-ups by code over every product cached: each walks the cache until the code.
    const uint32_t procuras = produtos < 1000 ? produtos : 1000;
    inicio = Relogio::now();
    for (uint32_t i = 0; i < procuras; ++i) {
      const uint32_t ponteiro = 1 + acaso() % produtos;
      if (const int32_t hr = buffer.ExisteBufferProduto(Codigo(ponteiro).c_str(), &produto, kTabela); hr < 0)
        Falha("ExisteBufferProduto", hr);
      if (static_cast<uint32_t>(produto.GetPonteiroProduto()) != ponteiro) Falha("ExisteBufferProduto found", produto.GetPonteiroProduto());
    }
    char titulo[64];
    std::snprintf(titulo, sizeof titulo, "ExisteBufferProduto over %u cached", produtos);
    Linha(titulo, procuras, "look-ups", Segundos(inicio));

    // The balances: the stand-in's call alone, the reader (that call and the list class), then the
    // cache's load (the reader and the map).
    CPPDadosFiltroSaldoProdutoES filtro;
    filtro.SetFilial(1);
    {
      _REG_ES_FILTRO_SALDOS_PRODUTOPS bruto{};
      bruto.iFilial = 1;
      _REG_ES_LISTA_SALDOS_PRODUTOSPS resposta{};
      inicio = Relogio::now();
      if (const HRESULT hr = buffer.GetIMovimento()->LeSaldosProdutos(bruto, &resposta); FAILED(hr))
        Falha("IQVES_Movimento::LeSaldosProdutos", hr);
      Linha("the stand-in's call alone", static_cast<uint32_t>(resposta.lQuantidade), "balances", Segundos(inicio));
      CoTaskMemFree(resposta.pregSaldos);
      CPPDadosListaSaldosProdutosES lista;
      inicio = Relogio::now();
      if (const int32_t hr = buffer.LeSaldosProdutosES(filtro, &lista); hr < 0) Falha("LeSaldosProdutosES", hr);
      Linha("LeSaldosProdutosES through the stand-in", static_cast<uint32_t>(lista.GetQuantidadeSaldosProdutos()),
            "balances", Segundos(inicio));
    }
    inicio = Relogio::now();
    if (const int32_t hr = buffer.InicializaBufferSaldosProdutosES(filtro); hr < 0)
      Falha("InicializaBufferSaldosProdutosES", hr);
    Linha("InicializaBufferSaldosProdutosES (load)", saldos, "balances", Segundos(inicio));
    if (buffer.GetMapaSaldosProdutosES().GetCount() != saldos)
      Falha("balances cached", buffer.GetMapaSaldosProdutosES().GetCount());

    CPPDadosSaldoProdutoES saldo;
    inicio = Relogio::now();
    for (uint32_t i = 0; i < saldos; ++i) {
      const uint32_t n = acaso() % saldos;
      _REG_ES_KEY_SALDOS_PRODUTOSPS chave{};
      chave.regPosicaoProduto.lPonteiroProduto = 1 + n / kLocais;
      chave.ulValor12 = 1 + n % kLocais;
      if (buffer.LeBufferSaldosProdutosES(chave, &saldo) < 0 ||
          saldo.GetSaldoProduto().vQuantidade.int64 != int64_t(n + 1) * 10000)
        Falha("LeBufferSaldosProdutosES", static_cast<long>(n));
    }
    Linha("LeBufferSaldosProdutosES hits", saldos, "reads", Segundos(inicio));

    buffer.Finaliza();
    memoria->Release();
  }
  CoUninitialize();
  std::filesystem::remove_all(diretorio + "/BENCH");
  std::filesystem::remove(diretorio + "/registry.reg");
  if (argc <= 2) std::filesystem::remove_all(diretorio);
  return 0;
}
