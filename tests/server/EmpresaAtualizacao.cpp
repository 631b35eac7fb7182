#include "tests/server/EmpresaAtualizacao.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "foundation/QVCaminho.h"
#include "platform/com/apartment.h"
#include "platform/family/historico/StandInHistorico.h"
#include "platform/win32/codepage.h"
#include "server/CPPNomesArquivos.h"

namespace fs = std::filesystem;

uint16_t Dia(int d, int m, int y) {
  using namespace std::chrono;
  auto dias = sys_days(year_month_day(year(y), month(m), day(d))) - sys_days(year(1847) / December / 30);
  return static_cast<uint16_t>(dias.count());
}

uint16_t DiaFixado() { return Dia(10, 5, 2024); }

Versoes VersoesAlvoCom(std::initializer_list<std::pair<int, uint16_t>> mudancas) {
  Versoes versoes = kPPVersoesAlvo;
  for (const auto& [grupo, versao] : mudancas) versoes[static_cast<size_t>(grupo)] = versao;
  return versoes;
}

_REG_VARMO_INICIALIZAPS SessaoTeste() {
  _REG_VARMO_INICIALIZAPS sessao{};
  std::strcpy(sessao.szEmpresa, Instalacao::kEmpresa);
  sessao.usUsuario = kUsuarioTeste;
  sessao.lNumeroSessao = kSessaoTeste;
  return sessao;
}

EmpresaTeste::EmpresaTeste(TestClock::SleepMode modo) : relogio_(modo) {
  // The TestClock starts at 15/01/2024 09:00; the override makes that 10/05/2024 10:00.
  instalacao_.GravaValor("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "QV_DATETIME",
                         "1;10/05/2024;10:00:00:000;15/01/2024;09:00:00:000");
}

std::string EmpresaTeste::Le(const std::string& nome) const {
  return instalacao_.dir().Read("empresas/TESTE/PP/" + nome);
}

void EmpresaTeste::Escreve(const std::string& nome, const std::string& bytes) const {
  instalacao_.dir().Write("empresas/TESTE/PP/" + nome, bytes);
}

bool EmpresaTeste::Existe(const std::string& nome) const {
  return fs::exists(instalacao_.dir().path() + "/empresas/TESTE/PP/" + nome);
}

void EmpresaTeste::Apaga(const std::string& nome) const {
  fs::remove(instalacao_.dir().path() + "/empresas/TESTE/PP/" + nome);
}

std::map<std::string, std::string> EmpresaTeste::Arquivos() const {
  std::map<std::string, std::string> arquivos;
  for (const auto& entrada : fs::directory_iterator(instalacao_.dir().path() + "/empresas/TESTE/PP"))
    arquivos[entrada.path().filename().string()] = Le(entrada.path().filename().string());
  return arquivos;
}

void EmpresaTeste::Restaura(const std::map<std::string, std::string>& arquivos) const {
  for (const auto& entrada : fs::directory_iterator(instalacao_.dir().path() + "/empresas/TESTE/PP"))
    fs::remove(entrada.path());
  for (const auto& [nome, bytes] : arquivos) Escreve(nome, bytes);
}

void EmpresaTeste::EscreveVersao(const Versoes& versoes, uint16_t usVersaoOrvel, uint16_t usCriacao,
                                 uint16_t usUltima) const {
  std::string bytes(2 * kPPTamanhoRegistroVersao, '\0');
  auto poe = [&](size_t deslocamento, uint16_t valor) {
    bytes[kPPTamanhoRegistroVersao + deslocamento] = static_cast<char>(valor & 0xFF);
    bytes[kPPTamanhoRegistroVersao + deslocamento + 1] = static_cast<char>(valor >> 8);
  };
  for (size_t grupo = 0; grupo < versoes.size(); ++grupo) poe(2 * grupo, versoes[grupo]);
  poe(58, usVersaoOrvel);
  poe(60, usCriacao);
  poe(62, usUltima);
  Escreve("PPVERSAO.DAT", bytes);
}

PPRegistroVersao EmpresaTeste::LeVersao() const {
  const std::string bytes = Le("PPVERSAO.DAT");
  PPRegistroVersao registro{};
  EXPECT_EQ(bytes.size(), 2 * kPPTamanhoRegistroVersao);
  if (bytes.size() >= 2 * kPPTamanhoRegistroVersao)
    std::memcpy(&registro, bytes.data() + kPPTamanhoRegistroVersao, sizeof registro);
  return registro;
}

std::vector<std::string> EmpresaTeste::AuditoriasVersao() const {
  // A record file of 82-byte records: record 0 is its zero header.
  const std::string bytes = Le("PPVERSAO.HIS");
  EXPECT_EQ(bytes.size() % 82, 0u);
  if (!bytes.empty()) {
    EXPECT_EQ(bytes.substr(0, 82), std::string(82, '\0'));
  }
  std::vector<std::string> registros;
  for (size_t inicio = 82; inicio + 82 <= bytes.size(); inicio += 82) registros.push_back(bytes.substr(inicio, 82));
  return registros;
}

std::vector<std::string> EmpresaTeste::Linhas() const {
  std::vector<EntradaHistorico> entradas;
  EXPECT_EQ(LeHistoricoEmpresa(Instalacao::kEmpresa, &entradas), S_OK);
  std::vector<std::string> linhas;
  for (const EntradaHistorico& entrada : entradas) {
    if (entrada.tipo != EntradaHistorico::kLinha) continue;
    EXPECT_EQ(entrada.modulo, 19);
    EXPECT_EQ(entrada.operacao, 'I');
    linhas.push_back(entrada.texto);
  }
  return linhas;
}

std::unique_ptr<CPPServidorMestrePP> EmpresaTeste::Servidor() const {
  auto servidor = std::make_unique<CPPServidorMestrePP>();
  EXPECT_EQ(servidor->DefineSessao(SessaoTeste()), S_OK);
  return servidor;
}

uint32_t TamanhoFalso(uint16_t versao) { return 12u + 4u * versao; }

std::string RegistroFalso(uint32_t i, uint16_t versao) {
  std::string bytes;
  for (uint32_t k = 0; k < 16; ++k) bytes += static_cast<char>((i * 16 + k) & 0xFF);
  for (uint16_t nova = 2; nova <= versao; ++nova) {
    bytes += static_cast<char>(i & 0xFF);
    bytes += static_cast<char>((i >> 8) & 0xFF);
    bytes += static_cast<char>(nova & 0xFF);
    bytes += static_cast<char>(nova >> 8);
  }
  return bytes;
}

std::string ArquivoFalso(uint16_t versao, uint32_t registros) {
  std::string bytes(TamanhoFalso(versao), '\0');
  for (uint32_t i = 1; i <= registros; ++i) bytes += RegistroFalso(i, versao);
  return bytes;
}

ConversorFalso::ConversorFalso(uint16_t grupo, const char* titulo, std::vector<const char*> passos,
                               const char* arquivo, void (*lista)(CStringArray&))
    : CPPAtualizaVersao(PPDescricaoConversor{grupo, titulo, passos, lista}),
      m_passos(std::move(passos)),
      m_arquivo(arquivo),
      m_lista(lista) {}

HRESULT ConversorFalso::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  if (usVersao < 1 || usVersao > m_passos.size()) return PPErroHResult(kPPErroAtualizacaoVersao);
  const CString passo = m_passos[usVersao - 1];
  const CString sobras = passo + " -> conversão anterior não terminou com sucesso"_ansi;
  const CString remover = passo + " -> remover arquivo: %s";
  const CString remocao = passo + " -> RemoveArquivosMovimentacao(aArquivos, usVersaoAtual)";
  const CString remocaoMestre = passo + " -> RemoveArquivos(aArquivos, usVersaoAtual)";

  CPPPassoConversao etapa(*this, usVersao);
  etapa.VerificaSobras({"*.TRA"}, sobras);
  if (s_bRemoveHistoricosAntigos) {
    CStringArray arquivos;
    m_lista(arquivos);
    etapa.RemoveHistoricosAntigos(arquivos, remover);
  }
  const int lista = etapa.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao, remocao);
  const bool bRefazMestre = s_bRefazMestre && GetGrupo() == kPPGrupoMestre;
  const int listaMestre = bRefazMestre ? etapa.Lista(CPPPassoConversao::kRemoveArquivos, remocaoMestre) : -1;
  return etapa.Executa([&]() -> HRESULT {
    HRESULT hr = ConverteArquivo(etapa, lista, m_arquivo, usVersao);
    if (SUCCEEDED(hr) && bRefazMestre) hr = ConverteArquivo(etapa, listaMestre, "PPMESTRE.DAT", usVersao);
    if (SUCCEEDED(hr) && s_usFalhaNaVersao == usVersao)
      return etapa.Falha(PPErroHResult(kQVErroEntradaSaida), "Ler registro - %i", 2);
    return hr;
  });
}

HRESULT ConversorFalso::ConverteArquivo(CPPPassoConversao& etapa, int lista, const char* arquivo, uint16_t usVersao) {
  const CString dat = etapa.Caminho(arquivo);
  CPPArqEx* antigo = nullptr;
  CPPArqEx* convertido = nullptr;
  if (HRESULT hr = etapa.AbreAntigo(dat, TamanhoFalso(usVersao), false, "Abrir arquivo %s", &antigo); FAILED(hr))
    return hr;
  if (HRESULT hr = etapa.AbreTRA(lista, dat, TamanhoFalso(usVersao + 1), "Abrir arquivo %s", &convertido); FAILED(hr))
    return hr;
  const uint32_t tamanhoAntigo = TamanhoFalso(usVersao);
  const auto regra = [&](uint32_t i, const uint8_t* velho, uint8_t* novo) {
    std::memcpy(novo, velho, tamanhoAntigo);
    const uint16_t valores[2] = {static_cast<uint16_t>(i), static_cast<uint16_t>(usVersao + 1)};
    std::memcpy(novo + tamanhoAntigo, valores, sizeof valores);
  };
  return etapa.ConverteRegistros(*antigo, *convertido, regra, "Ler registro - %i", "Gravar registro - %i",
                                 "Inconsistência na posição de gravação - %i"_ansi);
}

namespace {

void ListaFalsoMestre(CStringArray& lista) {
  lista.RemoveAll();
  lista.Add(kArquivoFalsoMestre);
  if (ConversorFalso::s_bRefazMestre) lista.Add("PPMESTRE.DAT");
}

void ListaFalsoFicha(CStringArray& lista) {
  lista.RemoveAll();
  lista.Add(kArquivoFalsoFicha);
}

std::unique_ptr<CPPAtualizaVersao> CriaNumeracaoColecao() {
  return std::make_unique<CPPAtualizaVersaoNumeracao>(kPPGrupoColecao, &CPPNomesArquivos::ListaArquivosColecao);
}

}  // namespace

std::unique_ptr<CPPAtualizaVersao> CriaFalsoMestre() {
  return std::make_unique<ConversorFalso>(kPPGrupoMestre, "AtualizaMestre",
                                          std::vector<const char*>{"AtualizaMestreV01_p_V02", "AtualizaMestreV02_p_V03"},
                                          kArquivoFalsoMestre, &ListaFalsoMestre);
}

std::unique_ptr<CPPAtualizaVersao> CriaFalsoFicha() {
  return std::make_unique<ConversorFalso>(kPPGrupoFichaTecnica, "Atualiza Fichas Técnicas"_ansi,
                                          std::vector<const char*>{"AtualizaV01_p_V02", "AtualizaV02_p_V03"},
                                          kArquivoFalsoFicha, &ListaFalsoFicha);
}

PPTabelaConversores TabelaFalsa() {
  PPTabelaConversores tabela = kPPConversoresVersao;
  for (PPConversorGrupo& linha : tabela) {
    if (linha.usGrupo == kPPGrupoMestre) linha.pCria = &CriaFalsoMestre;
    if (linha.usGrupo == kPPGrupoFichaTecnica) linha.pCria = &CriaFalsoFicha;
    if (linha.usGrupo == kPPGrupoColecao) linha.pCria = &CriaNumeracaoColecao;
  }
  return tabela;
}

// ---------------------------------------------------------------------------------------------------
// The kill tests

namespace {

RelatoQueda* g_relatoQueda = nullptr;

void ObservaQueda(const char* operacao, const char* arquivo) {
  const int numero = ++g_relatoQueda->operacoes;
  if (g_relatoQueda->mataNa == 0 && g_relatoQueda->pAnota)
    g_relatoQueda->pAnota(*g_relatoQueda, numero, operacao, arquivo);
  if (numero == g_relatoQueda->mataNa) raise(SIGKILL);
}

}  // namespace

int CorreAtualizacaoFilho(RelatoQueda& relato, int mataNa, const PPTabelaConversores& tabela) {
  relato.operacoes = 0;
  relato.mataNa = mataNa;
  relato.resultado = E_FAIL;
  relato.terminou = false;
  const pid_t filho = fork();
  if (filho == 0) {
    g_relatoQueda = &relato;
    PPDefineObservadorAtualizacao(&ObservaQueda);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CPPServidorMestrePP servidor;
    HRESULT hr = servidor.DefineSessao(SessaoTeste());
    if (SUCCEEDED(hr)) hr = servidor.ResolveDiarioAtualizacao(tabela);
    if (SUCCEEDED(hr) && !QVExisteArquivo(servidor.GetArquivoPrincipal())) hr = PPErroHResult(kPPErroArquivoMestre);
    if (SUCCEEDED(hr)) hr = servidor.AtualizaVersaoArquivos(tabela);
    relato.resultado = hr;
    relato.terminou = true;
    _exit(0);
  }
  int estado = 0;
  waitpid(filho, &estado, 0);
  return estado;
}

void MataERetomaEmCada(EmpresaTeste& empresa, RelatoQueda& relato, const PPTabelaConversores& tabela,
                       const std::map<std::string, std::string>& inicial,
                       const std::map<std::string, std::string>& esperado, int operacoes,
                       const std::vector<int>& mudancas) {
  const auto inicio = std::chrono::steady_clock::now();
  for (int mataNa : mudancas) {
    empresa.Restaura(inicial);
    int estado = CorreAtualizacaoFilho(relato, mataNa, tabela);
    ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "change " << mataNa << " did not come";
    estado = CorreAtualizacaoFilho(relato, 0, tabela);
    ASSERT_TRUE(WIFEXITED(estado) && relato.terminou) << "rerun after change " << mataNa;
    EXPECT_EQ(relato.resultado, S_OK) << "rerun after change " << mataNa;
    auto final = empresa.Arquivos();
    EXPECT_EQ(final["PPVERSAO.HIS"].size() % 82, 0u) << "after change " << mataNa;
    final.erase("PPVERSAO.HIS");
    EXPECT_EQ(final, esperado) << "killed after change " << mataNa;
    if (::testing::Test::HasFailure()) break;
  }
  const auto segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  std::cout << operacoes << " changes on disk, " << mudancas.size() << " of them killed at and run again, in "
            << segundos << " s\n";
}
