// The searches and reads of the process handler over a large file: BuscaPonteiros without a filter
// and with a resource filter (which reads each process's run of resources), Existe of the last code
// (a scan of the whole file), and LePonteiros of every process, without and with the resources.
// Each prints its time and the process records it went through per second.
//
// The company "BENCH" holds N processes (default 100,000), each with two resources, written straight
// into "PPPROCES.DAT" and "PPPRCREC.DAT" in their layouts; the handler is initialised as another
// handler initialises it (no client flag: no version check, no history), so only the handler's own
// work is timed.
//
// Usage: bench_cadastros [processes] [directory]. The directory (default: a fresh one under TMPDIR or
// /tmp) holds a registry file of its own and the company's directory; all of it is removed at the
// end.
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
#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/win32/file.h"
#include "platform/win32/path.h"
#include "server/cadastros/CPPServidorProcesso.h"

namespace {

using Relogio = std::chrono::steady_clock;

const char kEmpresa[] = "BENCH";
constexpr uint16_t kRecursosProcesso = 2;

double Segundos(Relogio::time_point inicio) {
  return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

void Mostra(const char* o_que, uint32_t registros, Relogio::time_point inicio) {
  const double segundos = Segundos(inicio);
  std::printf("%-48s %9u records %8.3f s %12.0f records/s\n", o_que, registros, segundos, registros / segundos);
}

std::string Codigo(uint32_t i) {
  char codigo[16];
  std::snprintf(codigo, sizeof codigo, "P%07u", i);
  return codigo;
}

// Replaces the file (a system path) with the header and the records.
void GravaArquivo(const CString& caminho, const std::vector<uint8_t>& bytes) {
  HANDLE arquivo =
      CreateFileA(caminho, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (arquivo == INVALID_HANDLE_VALUE) Falha("CreateFileA", static_cast<long>(GetLastError()));
  DWORD escritos = 0;
  const BOOL ok = WriteFile(arquivo, bytes.data(), static_cast<DWORD>(bytes.size()), &escritos, nullptr);
  CloseHandle(arquivo);
  if (!ok || escritos != bytes.size()) Falha("WriteFile", static_cast<long>(GetLastError()));
}

// Process i (1 .. n) in section i % 10 + 1 with resources 2i - 1 and 2i, in records 2i - 1 and 2i.
void GravaProcessos(const CString& diretorio, uint32_t quantidade) {
  std::vector<uint8_t> processos((quantidade + 1) * sizeof(PPProcessoDisco));
  std::vector<uint8_t> recursos((quantidade * kRecursosProcesso + 1) * sizeof(PPProcessoRecursoDisco));
  for (uint32_t i = 1; i <= quantidade; ++i) {
    PPProcessoDisco processo;
    std::memset(&processo, 0, sizeof processo);
    processo.lPonteiroSecao = i % 10 + 1;
    PPCopiaTextoN(processo.cCodigo, sizeof processo.cCodigo, Codigo(i).c_str());
    std::snprintf(processo.cDescricao, sizeof processo.cDescricao, "Processo %u", i);
    processo.cAtivo = 1;
    processo.ulPrimeiroRecurso = (i - 1) * kRecursosProcesso + 1;
    processo.usQtdRecursos = kRecursosProcesso;
    std::memcpy(&processos[i * sizeof processo], &processo, sizeof processo);
    for (uint32_t r = 0; r < kRecursosProcesso; ++r) {
      PPProcessoRecursoDisco recurso;
      std::memset(&recurso, 0, sizeof recurso);
      recurso.lPonteiroRecurso = static_cast<int32_t>(processo.ulPrimeiroRecurso + r);
      std::memcpy(&recursos[(processo.ulPrimeiroRecurso + r) * sizeof recurso], &recurso, sizeof recurso);
    }
  }
  GravaArquivo(diretorio + "PPPROCES.DAT", processos);
  GravaArquivo(diretorio + "PPPRCREC.DAT", recursos);
}

std::vector<int32_t> BuscaPonteiros(CPPServidorProcesso& processo) {
  _REG_VARMO_PONTEIROSPS lista{};
  if (const HRESULT hr = processo.BuscaPonteiros(&lista)) Falha("BuscaPonteiros", hr);
  std::vector<int32_t> ponteiros(lista.plPonteiro, lista.plPonteiro + lista.lQtd);
  CoTaskMemFree(lista.plPonteiro);
  return ponteiros;
}

void MedeLeitura(CPPServidorProcesso& processo, std::vector<int32_t>& ponteiros, uint8_t cTipoLeitura,
                 const char* o_que) {
  std::vector<_REG_VARMO_PROCESSOPS> registros(ponteiros.size());
  const Relogio::time_point inicio = Relogio::now();
  const HRESULT hr = processo.LePonteiros(static_cast<int32_t>(ponteiros.size()), ponteiros.data(), registros.data(),
                                          cTipoLeitura);
  Mostra(o_que, static_cast<uint32_t>(ponteiros.size()), inicio);
  for (_REG_VARMO_PROCESSOPS& registro : registros) PPLiberaRegistroProcesso(&registro);
  if (hr) Falha(o_que, hr);
}

void Mede(const CString& diretorio, uint32_t quantidade) {
  Relogio::time_point inicio = Relogio::now();
  GravaProcessos(diretorio, quantidade);
  std::printf("%u processes with %u resources each written in %.2f s\n\n", quantidade, kRecursosProcesso,
              Segundos(inicio));

  _REG_VARMO_INICIALIZAPS sessao{};
  std::strcpy(sessao.szEmpresa, kEmpresa);
  sessao.usUsuario = 1;
  sessao.lNumeroSessao = 1;
  CPPServidorProcesso processo;
  if (const HRESULT hr = processo.Inicializa(sessao, 0)) Falha("Inicializa", hr);

  inicio = Relogio::now();
  std::vector<int32_t> ponteiros = BuscaPonteiros(processo);
  Mostra("BuscaPonteiros, no filter", quantidade, inicio);
  if (ponteiros.size() != quantidade) Falha("BuscaPonteiros: pointers found", static_cast<long>(ponteiros.size()));

  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroRecurso = static_cast<int32_t>(quantidade * kRecursosProcesso);
  if (const HRESULT hr = processo.SetFiltro(filtro)) Falha("SetFiltro", hr);
  inicio = Relogio::now();
  const std::vector<int32_t> comRecurso = BuscaPonteiros(processo);
  Mostra("BuscaPonteiros, resource filter (the last one)", quantidade, inicio);
  if (comRecurso.size() != 1)
    Falha("BuscaPonteiros with a resource: pointers found", static_cast<long>(comRecurso.size()));
  processo.LimpaFiltro();

  const std::string ultimo = Codigo(quantidade);
  const std::u16string ultimoLargo(ultimo.begin(), ultimo.end());
  const BSTR codigo = SysAllocString(ultimoLargo.c_str());
  int32_t lPntr = 0;
  inicio = Relogio::now();
  const HRESULT hr = processo.Existe(codigo, &lPntr, 1);
  Mostra("Existe, the last code", quantidade, inicio);
  SysFreeString(codigo);
  if (hr || lPntr != static_cast<int32_t>(quantidade)) Falha("Existe: pointer", lPntr);

  MedeLeitura(processo, ponteiros, 0, "LePonteiros, reading 0");
  MedeLeitura(processo, ponteiros, kPPLeituraProcessoRecursos, "LePonteiros, reading 2 (resources)");
  processo.Finaliza();
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t quantidade = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 100000;
  if (quantidade == 0 || quantidade > 1000000) Falha("processes (1 to 1000000)", quantidade);
  const std::string raiz = DiretorioDoBench(argc, argv);
  setenv("QV_REGISTRY", (raiz + "/registry.reg").c_str(), 1);
  const std::string pp = raiz + "/" + kEmpresa + "/PP";
  std::filesystem::create_directories(pp);
  const CString diretorio = (SystemPathOf(pp) + "\\").c_str();
  const CString chave = CString("SOFTWARE\\QV Rivovoda\\Empresas\\") + kEmpresa;
  if (const LONG erro = QVGravaRegistroString(HKEY_LOCAL_MACHINE, chave, "PP", diretorio))
    Falha("QVGravaRegistroString", erro);

  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  Mede(diretorio, quantidade);
  CoUninitialize();
  std::filesystem::remove_all(raiz + "/" + kEmpresa);
  std::filesystem::remove(raiz + "/registry.reg");
  if (argc <= 2) std::filesystem::remove_all(raiz);
  return 0;
}
