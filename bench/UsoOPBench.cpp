// The usage checks of master data over a company's production orders: VerificaUsoProcesso of a
// process that no order names (every month walked, every order and its processes read) and
// ProdutoTeveMovimentacao of a product that nothing names (every requirement; every order with its
// items, processes and inputs; every report with its movements and returns). Each prints its time
// and the records it read per second.
//
// The company "BENCH" holds, per month, orders with three processes (two inputs, a planned resource
// and a simple report each) and two items, one production report per order (a resource report
// with an operation, an entry, two consumptions; every tenth a scrap entry, every twentieth a
// return with a consumption) and requirements; they are written straight into the period files,
// only the fields that the checks read and the runs that tie the records together filled.
//
// Usage: bench_uso_op [months] [orders per month] [directory]. Defaults: 24 months (up to 12/2026)
// of 2,000 orders; "bench_uso_op 2 50" is a quick check. The directory (default: a fresh one under
// TMPDIR or /tmp) holds a registry file of its own and the company's directory; all of it is
// removed at the end.
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "foundation/CQVRegistryKey.h"
#include "platform/win32/file.h"
#include "platform/win32/path.h"
#include "server/CPPNomesArquivos.h"
#include "server/op/CPPServidorOPUso.h"

namespace {

using Relogio = std::chrono::steady_clock;

const char kEmpresa[] = "BENCH";
constexpr uint16_t kUltimoMes = 2148;  // 12/2026
constexpr uint16_t kProcessosOrdem = 3, kInsumosProcesso = 2, kItensOrdem = 2, kConsumos = 2;
constexpr uint32_t kNecessidadesPorOrdens = 10;  // one requirement per ten orders
// What no record names.
constexpr int32_t kProcessoSemUso = 999;
constexpr uint32_t kProdutoSemUso = 99999;

// A period file in memory: record 0 is the zero header.
class Arquivo {
 public:
  Arquivo(const char* prefixo, uint32_t tamanho) : prefixo_(prefixo), tamanho_(tamanho), bytes_(tamanho) {}

  uint32_t Novo() {
    bytes_.resize(bytes_.size() + tamanho_);
    return Quantidade();
  }
  uint32_t Quantidade() const { return static_cast<uint32_t>(bytes_.size() / tamanho_ - 1); }
  uint32_t Proximo() const { return Quantidade() + 1; }
  template <class T>
  void Poe(uint32_t registro, uint32_t deslocamento, T valor) {
    if (deslocamento + sizeof valor > tamanho_) Falha("a field outside its record", deslocamento);
    std::memcpy(&bytes_[static_cast<size_t>(registro) * tamanho_ + deslocamento], &valor, sizeof valor);
  }
  void Grava(const CString& diretorio, uint16_t mes) const {
    const CString caminho = CPPNomesArquivos::MontaNomeArquivoPeriodo(diretorio + prefixo_, mes);
    HANDLE arquivo =
        CreateFileA(caminho, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (arquivo == INVALID_HANDLE_VALUE) Falha("CreateFileA", static_cast<long>(GetLastError()));
    DWORD escritos = 0;
    const BOOL ok = WriteFile(arquivo, bytes_.data(), static_cast<DWORD>(bytes_.size()), &escritos, nullptr);
    CloseHandle(arquivo);
    if (!ok || escritos != bytes_.size()) Falha("WriteFile", static_cast<long>(GetLastError()));
  }

 private:
  const char* prefixo_;
  uint32_t tamanho_;
  std::vector<uint8_t> bytes_;
};

// The files of one month, with the offsets of the layouts.
struct Mes {
  Arquivo op{"PPOP", 256}, pr{"PPPR", 128}, mt{"PPMT", 128}, rp{"PPRP", 64}, as{"PPAS", 128}, it{"PPIT", 90};
  Arquivo ap{"PPAP", 200}, ar{"PPAR", 64}, ao{"PPAO", 48}, me{"PPME", 104}, ri{"PPRI", 90};
  Arquivo nc{"PPNC", 128};

  std::array<const Arquivo*, 12> Todos() const { return {&op, &pr, &mt, &rp, &as, &it, &ap, &ar, &ao, &me, &ri, &nc}; }

  // A movement of the product with its first grade item; its record.
  uint32_t Movimento(uint32_t produto, uint16_t itemGrade) {
    const uint32_t m = me.Novo();
    me.Poe<uint32_t>(m, 64, produto);
    me.Poe<uint16_t>(m, 68, itemGrade);
    return m;
  }

  // Order j: product 1 + j % 200, processes 1 .. 3 (master processes 1 + (j + k) % 20), inputs of
  // products 1001 .. 1050, resources 1 .. 50, operations 1 .. 30.
  void Ordem(uint32_t j) {
    const uint32_t produto = 1 + j % 200;
    const uint16_t itemGrade = static_cast<uint16_t>(1 + j % 3);
    // Each process's lists first, each a run of its own file; then the processes, one run.
    struct Listas {
      uint32_t insumo, recurso, simples;
    } listas[kProcessosOrdem];
    for (uint16_t k = 0; k < kProcessosOrdem; ++k) {
      listas[k].insumo = mt.Proximo();
      for (uint16_t i = 0; i < kInsumosProcesso; ++i) mt.Poe<uint32_t>(mt.Novo(), 48, 1001 + (j + k + i) % 50);
      listas[k].recurso = rp.Novo();
      rp.Poe<int32_t>(listas[k].recurso, 32, static_cast<int32_t>(1 + (j + k) % 50));
      listas[k].simples = as.Novo();
      as.Poe<int32_t>(listas[k].simples, 36, static_cast<int32_t>(1 + (j + k) % 30));
    }
    const uint32_t primeiroProcesso = pr.Proximo();
    for (uint16_t k = 0; k < kProcessosOrdem; ++k) {
      const uint32_t p = pr.Novo();
      pr.Poe<int32_t>(p, 44, static_cast<int32_t>(1 + (j + k) % 20));
      pr.Poe<uint32_t>(p, 48, listas[k].insumo);
      pr.Poe<uint32_t>(p, 52, listas[k].simples);
      pr.Poe<uint32_t>(p, 56, listas[k].recurso);
      pr.Poe<uint16_t>(p, 72, kInsumosProcesso);
      pr.Poe<uint16_t>(p, 74, 1);
      pr.Poe<uint16_t>(p, 76, 1);
    }
    const uint32_t primeiroItem = it.Proximo();
    for (uint16_t k = 0; k < kItensOrdem; ++k) {
      const uint32_t t = it.Novo();
      it.Poe<uint32_t>(t, 36, produto);
      it.Poe<uint16_t>(t, 48, itemGrade);
      it.Poe<uint8_t>(t, 62, 'P');
    }
    const uint32_t o = op.Novo();
    op.Poe<uint32_t>(o, 0, j);
    op.Poe<uint32_t>(o, 52, produto);
    op.Poe<uint32_t>(o, 60, primeiroProcesso);
    op.Poe<uint32_t>(o, 64, primeiroItem);
    op.Poe<uint16_t>(o, 108, kProcessosOrdem);
    op.Poe<uint16_t>(o, 110, kItensOrdem);
    op.Poe<uint16_t>(o, 118, itemGrade);
    op.Poe<uint8_t>(o, 170, 1);
    op.Poe<uint8_t>(o, 182, 'P');
    Apontamento(j, o, produto, itemGrade);
    if (j % kNecessidadesPorOrdens == 0) {
      const uint32_t n = nc.Novo();
      nc.Poe<uint32_t>(n, 44, produto);
      nc.Poe<uint16_t>(n, 68, itemGrade);
    }
  }

  // The report of order j on its last process.
  void Apontamento(uint32_t j, uint32_t ordem, uint32_t produto, uint16_t itemGrade) {
    const uint32_t operacao = ao.Novo();
    ao.Poe<uint32_t>(operacao, 0, 1 + j % 30);
    const uint32_t recurso = ar.Novo();
    ar.Poe<int32_t>(recurso, 40, static_cast<int32_t>(1 + j % 50));
    ar.Poe<uint32_t>(recurso, 58, operacao);
    ar.Poe<uint16_t>(recurso, 62, 1);
    const uint32_t entrada = Movimento(produto, itemGrade);
    const uint32_t refugo = j % 10 == 0 ? Movimento(produto, itemGrade) : 0;
    const uint32_t consumo = me.Proximo();
    for (uint16_t c = 0; c < kConsumos; ++c) Movimento(1001 + (j + c) % 50, 0);
    uint32_t retorno = 0;
    if (j % 20 == 0) {
      const uint32_t movimento = Movimento(1001 + j % 50, 0);
      retorno = ri.Novo();
      ri.Poe<uint32_t>(retorno, 32, movimento);
      ri.Poe<uint16_t>(retorno, 58, 1);
    }
    const uint32_t a = ap.Novo();
    ap.Poe<uint32_t>(a, 68, entrada);
    ap.Poe<uint32_t>(a, 72, refugo);
    ap.Poe<uint32_t>(a, 80, ordem);
    ap.Poe<int32_t>(a, 84, static_cast<int32_t>(1 + j % 30));
    ap.Poe<uint32_t>(a, 92, consumo);
    ap.Poe<uint32_t>(a, 96, retorno);
    ap.Poe<uint32_t>(a, 124, recurso);
    ap.Poe<uint16_t>(a, 160, 1);
    ap.Poe<uint16_t>(a, 162, kConsumos);
    ap.Poe<uint16_t>(a, 164, retorno ? 1 : 0);
    ap.Poe<uint16_t>(a, 168, 1);
    ap.Poe<uint8_t>(a, 175, 1);
    ap.Poe<uint8_t>(a, 177, refugo ? 1 : 0);
  }
};

// Records of the company, by what the checks read.
struct Totais {
  uint64_t ordens = 0, processos = 0, insumos = 0, itens = 0, apontamentos = 0, movimentos = 0, retornos = 0,
           necessidades = 0;
};

void GravaMeses(const CString& diretorio, uint16_t primeiro, uint32_t ordens, Totais& totais) {
  for (uint16_t mes = primeiro; mes <= kUltimoMes; ++mes) {
    Mes arquivos;
    for (uint32_t j = 1; j <= ordens; ++j) arquivos.Ordem(j);
    for (const Arquivo* arquivo : arquivos.Todos()) arquivo->Grava(diretorio, mes);
    totais.ordens += arquivos.op.Quantidade();
    totais.processos += arquivos.pr.Quantidade();
    totais.insumos += arquivos.mt.Quantidade();
    totais.itens += arquivos.it.Quantidade();
    totais.apontamentos += arquivos.ap.Quantidade();
    totais.movimentos += arquivos.me.Quantidade();
    totais.retornos += arquivos.ri.Quantidade();
    totais.necessidades += arquivos.nc.Quantidade();
  }
}

void Mostra(const char* o_que, uint64_t registros, Relogio::time_point inicio) {
  const double segundos = std::chrono::duration<double>(Relogio::now() - inicio).count();
  std::printf("%-52s %10llu records %8.3f s %12.0f records/s\n", o_que, static_cast<unsigned long long>(registros),
              segundos, static_cast<double>(registros) / segundos);
}

void Mede(const CString& diretorio, uint32_t meses, uint32_t ordens) {
  Relogio::time_point inicio = Relogio::now();
  Totais totais;
  GravaMeses(diretorio, static_cast<uint16_t>(kUltimoMes - meses + 1), ordens, totais);
  std::printf(
      "%u months x %u orders: %llu orders, %llu processes, %llu inputs, %llu items, %llu reports, "
      "%llu movements, %llu returns, %llu requirements; written in %.2f s\n\n",
      meses, ordens, static_cast<unsigned long long>(totais.ordens), static_cast<unsigned long long>(totais.processos),
      static_cast<unsigned long long>(totais.insumos), static_cast<unsigned long long>(totais.itens),
      static_cast<unsigned long long>(totais.apontamentos), static_cast<unsigned long long>(totais.movimentos),
      static_cast<unsigned long long>(totais.retornos), static_cast<unsigned long long>(totais.necessidades),
      std::chrono::duration<double>(Relogio::now() - inicio).count());

  _REG_VARMO_INICIALIZAPS sessao{};
  std::strcpy(sessao.szEmpresa, kEmpresa);
  sessao.usUsuario = 1;
  sessao.lNumeroSessao = 1;
  CPPServidorOPUso uso;
  if (const HRESULT hr = uso.Inicializa(sessao, 0)) Falha("Inicializa", hr);

  for (int vez = 1; vez <= 3; ++vez) {
    uint8_t emUso = 1;
    inicio = Relogio::now();
    const HRESULT hr = uso.VerificaUsoProcesso(kProcessoSemUso, &emUso);
    Mostra("VerificaUsoProcesso, a process no order names", totais.ordens + totais.processos, inicio);
    if (hr || emUso) Falha("VerificaUsoProcesso", hr ? hr : emUso);
  }
  for (int vez = 1; vez <= 3; ++vez) {
    int32_t teve = 1;
    uint16_t nivel = 0;
    inicio = Relogio::now();
    const HRESULT hr = uso.ProdutoTeveMovimentacao(kProdutoSemUso, &teve, &nivel);
    Mostra("ProdutoTeveMovimentacao, a product nothing names",
           totais.necessidades + totais.ordens + totais.itens + totais.processos + totais.insumos +
               totais.apontamentos + totais.movimentos + totais.retornos,
           inicio);
    if (hr || teve || nivel) Falha("ProdutoTeveMovimentacao", hr ? hr : teve);
  }
  // What the walks passed over is there to be found.
  uint8_t emUso = 0;
  int32_t teve = 0;
  uint16_t nivel = 0;
  if (uso.VerificaUsoProcesso(1, &emUso) || !emUso) Falha("VerificaUsoProcesso of process 1", emUso);
  if (uso.ProdutoTeveMovimentacao(1001, &teve, &nivel) || !teve) Falha("ProdutoTeveMovimentacao of an input", teve);
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t meses = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 24;
  const uint32_t ordens = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 2000;
  if (meses == 0 || meses > 1200) Falha("months (1 to 1200)", meses);
  if (ordens == 0 || ordens > 100000) Falha("orders per month (1 to 100000)", ordens);
  const std::string raiz = DiretorioDoBench(argc - 1, argv + 1);
  setenv("QV_REGISTRY", (raiz + "/registry.reg").c_str(), 1);
  const std::string pp = raiz + "/" + kEmpresa + "/PP";
  std::filesystem::create_directories(pp);
  const CString diretorio = (SystemPathOf(pp) + "\\").c_str();
  if (const LONG erro = QVGravaRegistroString(HKEY_LOCAL_MACHINE,
                                              CString("SOFTWARE\\QV Rivovoda\\Empresas\\") + kEmpresa, "PP", diretorio))
    Falha("QVGravaRegistroString", erro);

  Mede(diretorio, meses, ordens);
  std::filesystem::remove_all(raiz + "/" + kEmpresa);
  std::filesystem::remove(raiz + "/registry.reg");
  if (argc <= 3) std::filesystem::remove_all(raiz);
  return 0;
}
