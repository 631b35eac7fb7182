#include "platform/family/estoque/ArmazemEstoque.h"

#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "platform/family/comum/TabelaFamilia.h"
#include "platform/win32/file.h"

namespace {

const char kTrava[] = "ESTOQUE.LCK";
const char kDiario[] = "ESTOQUE.JNL";

constexpr DWORD kEspera = 10000;  // ms of the platform clock
constexpr uint32_t kMarcaDiario = 0x314A5345;   // "ESJ1"
constexpr uint32_t kMarcaEntrada = 0x454A5345;  // "ESJE"
constexpr uint64_t kCabecalho = 16;             // marca, reserved, applied up to (64 bits)
constexpr uint64_t kLimiteDiario = 1 << 20;
constexpr uint8_t kOperacaoEscreve = 1;
constexpr uint8_t kOperacaoTamanho = 2;

HRESULT ErroAtual() { return HRESULT_FROM_WIN32(GetLastError()); }

// FNV-1a: enough to tell a whole entry from one that a kill cut.
uint32_t Soma(const uint8_t* bytes, size_t tamanho) {
  uint32_t soma = 2166136261u;
  for (size_t i = 0; i < tamanho; ++i) soma = (soma ^ bytes[i]) * 16777619u;
  return soma;
}

template <class T>
void Poe(std::vector<uint8_t>& destino, const T& valor) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&valor);
  destino.insert(destino.end(), bytes, bytes + sizeof valor);
}

template <class T>
bool Tira(const std::vector<uint8_t>& origem, size_t& posicao, T& valor) {
  if (origem.size() - posicao < sizeof valor) return false;
  std::memcpy(&valor, origem.data() + posicao, sizeof valor);
  posicao += sizeof valor;
  return true;
}

HRESULT Posiciona(HANDLE arquivo, uint64_t posicao) {
  LARGE_INTEGER distancia;
  distancia.QuadPart = static_cast<LONGLONG>(posicao);
  return SetFilePointerEx(arquivo, distancia, nullptr, FILE_BEGIN) ? S_OK : ErroAtual();
}

HRESULT EscreveEm(HANDLE arquivo, uint64_t posicao, const void* dados, uint32_t tamanho) {
  if (const HRESULT hr = Posiciona(arquivo, posicao); FAILED(hr)) return hr;
  DWORD gravado = 0;
  if (!WriteFile(arquivo, dados, tamanho, &gravado, nullptr) || gravado != tamanho) return ErroAtual();
  return S_OK;
}

HRESULT LeEm(HANDLE arquivo, uint64_t posicao, void* destino, uint32_t tamanho) {
  if (const HRESULT hr = Posiciona(arquivo, posicao); FAILED(hr)) return hr;
  DWORD lido = 0;
  if (!ReadFile(arquivo, destino, tamanho, &lido, nullptr)) return ErroAtual();
  return lido == tamanho ? S_OK : HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
}

HRESULT TamanhoDe(HANDLE arquivo, uint64_t& tamanho) {
  LARGE_INTEGER lido;
  if (!GetFileSizeEx(arquivo, &lido)) return ErroAtual();
  tamanho = static_cast<uint64_t>(lido.QuadPart);
  return S_OK;
}

class Fecha {
 public:
  explicit Fecha(HANDLE arquivo) : arquivo_(arquivo) {}
  ~Fecha() {
    if (arquivo_ != INVALID_HANDLE_VALUE) CloseHandle(arquivo_);
  }
  Fecha(const Fecha&) = delete;
  Fecha& operator=(const Fecha&) = delete;

 private:
  HANDLE arquivo_;
};

// The directories whose journal this process has applied whole once.
std::mutex mutexPrimeiros;
std::set<std::string> diretoriosAplicados;

bool PrimeiroAcesso(const std::string& diretorio) {
  std::lock_guard<std::mutex> lock(mutexPrimeiros);
  return diretoriosAplicados.count(diretorio) == 0;
}

void MarcaAcesso(const std::string& diretorio) {
  std::lock_guard<std::mutex> lock(mutexPrimeiros);
  diretoriosAplicados.insert(diretorio);
}

struct CabecalhoDiario {
  uint32_t marca;
  uint32_t reservado;
  uint64_t aplicadoAte;
};
static_assert(sizeof(CabecalhoDiario) == kCabecalho);

HRESULT GravaCabecalho(HANDLE diario, uint64_t aplicadoAte) {
  const CabecalhoDiario cabecalho{kMarcaDiario, 0, aplicadoAte};
  return EscreveEm(diario, 0, &cabecalho, sizeof cabecalho);
}

HRESULT CortaDiario(HANDLE diario, uint64_t tamanho) {
  if (const HRESULT hr = Posiciona(diario, tamanho); FAILED(hr)) return hr;
  return SetEndOfFile(diario) ? S_OK : ErroAtual();
}

}  // namespace

ArmazemEstoque::Leitura::Leitura(const std::string& diretorio, bool escrita)
    : diretorio_(diretorio), escrita_(escrita) {}

ArmazemEstoque::Leitura::~Leitura() {
  for (auto& [nome, arquivo] : abertos_)
    if (arquivo != INVALID_HANDLE_VALUE) CloseHandle(arquivo);
}

HANDLE ArmazemEstoque::Leitura::Arquivo(const std::string& nome, bool cria) {
  const auto aberto = abertos_.find(nome);
  if (aberto != abertos_.end() && (aberto->second != INVALID_HANDLE_VALUE || !cria)) {
    if (aberto->second == INVALID_HANDLE_VALUE) SetLastError(ERROR_FILE_NOT_FOUND);
    return aberto->second;
  }
  // The hold on ESTOQUE.LCK keeps changes apart; the files themselves share everything.
  const DWORD acesso = escrita_ ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  HANDLE arquivo = CreateFileA((diretorio_ + nome).c_str(), acesso, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               cria ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (arquivo == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND) return arquivo;
  abertos_[nome] = arquivo;
  if (arquivo == INVALID_HANDLE_VALUE) SetLastError(ERROR_FILE_NOT_FOUND);
  return arquivo;
}

HRESULT ArmazemEstoque::Leitura::Tamanho(const std::string& nome, uint64_t& tamanho) {
  tamanho = 0;
  HANDLE arquivo = Arquivo(nome, false);
  if (arquivo == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? S_OK : ErroAtual();
  return TamanhoDe(arquivo, tamanho);
}

HRESULT ArmazemEstoque::Leitura::LeTrecho(const std::string& nome, uint64_t posicao, uint32_t tamanho,
                                          void* destino) {
  HANDLE arquivo = Arquivo(nome, false);
  if (arquivo == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_NOT_FOUND ? HRESULT_FROM_WIN32(ERROR_HANDLE_EOF) : ErroAtual();
  return LeEm(arquivo, posicao, destino, tamanho);
}

HRESULT ArmazemEstoque::Leitura::LeTudo(const std::string& nome, std::vector<uint8_t>& bytes) {
  bytes.clear();
  uint64_t tamanho = 0;
  if (const HRESULT hr = Tamanho(nome, tamanho); FAILED(hr) || tamanho == 0) return hr;
  std::vector<uint8_t> lidos(static_cast<size_t>(tamanho));
  if (const HRESULT hr = LeTrecho(nome, 0, static_cast<uint32_t>(tamanho), lidos.data()); FAILED(hr)) return hr;
  bytes = std::move(lidos);
  return S_OK;
}

void ArmazemEstoque::Alteracao::Escreve(const std::string& nome, uint64_t posicao, const void* dados,
                                        uint32_t tamanho) {
  entrada_.push_back(kOperacaoEscreve);
  entrada_.push_back(static_cast<uint8_t>(nome.size()));
  entrada_.insert(entrada_.end(), nome.begin(), nome.end());
  Poe(entrada_, posicao);
  Poe(entrada_, tamanho);
  const auto* bytes = static_cast<const uint8_t*>(dados);
  entrada_.insert(entrada_.end(), bytes, bytes + tamanho);
  vazia_ = false;
}

void ArmazemEstoque::Alteracao::DefineTamanho(const std::string& nome, uint64_t tamanho) {
  entrada_.push_back(kOperacaoTamanho);
  entrada_.push_back(static_cast<uint8_t>(nome.size()));
  entrada_.insert(entrada_.end(), nome.begin(), nome.end());
  Poe(entrada_, tamanho);
  Poe(entrada_, uint32_t{0});
  vazia_ = false;
}

namespace {

// Carries one entry's operations out through `arquivos` (opened for writing, created as needed);
// `nomes` gathers the files touched.
template <class Abridor>
HRESULT Aplica(const std::vector<uint8_t>& entrada, Abridor&& abre, std::set<std::string>* nomes) {
  size_t posicao = 0;
  while (posicao < entrada.size()) {
    uint8_t operacao = 0;
    uint8_t tamanhoNome = 0;
    if (!Tira(entrada, posicao, operacao) || !Tira(entrada, posicao, tamanhoNome) ||
        entrada.size() - posicao < tamanhoNome)
      return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    const std::string nome(reinterpret_cast<const char*>(entrada.data() + posicao), tamanhoNome);
    posicao += tamanhoNome;
    uint64_t onde = 0;
    uint32_t tamanho = 0;
    if (!Tira(entrada, posicao, onde) || !Tira(entrada, posicao, tamanho) || entrada.size() - posicao < tamanho)
      return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    HANDLE arquivo = abre(nome);
    if (arquivo == INVALID_HANDLE_VALUE) return ErroAtual();
    if (nomes) nomes->insert(nome);
    if (operacao == kOperacaoEscreve) {
      if (const HRESULT hr = EscreveEm(arquivo, onde, entrada.data() + posicao, tamanho); FAILED(hr)) return hr;
    } else if (operacao == kOperacaoTamanho) {
      if (const HRESULT hr = CortaDiario(arquivo, onde); FAILED(hr)) return hr;
    } else {
      return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    }
    posicao += tamanho;
  }
  return S_OK;
}

struct CabecalhoEntrada {
  uint32_t marca;
  uint32_t tamanho;
  uint32_t soma;
};

// Under the exclusive hold: applies the journal's entries from its applied mark (from its start
// when `tudo`), cuts an entry that a kill left whole-less, and starts the journal anew when it
// has grown past its limit (after syncing every file that it names).
HRESULT Recupera(const std::string& diretorio, HANDLE diario, bool tudo) {
  uint64_t tamanho = 0;
  if (const HRESULT hr = TamanhoDe(diario, tamanho); FAILED(hr)) return hr;
  CabecalhoDiario cabecalho{};
  if (tamanho < kCabecalho || FAILED(LeEm(diario, 0, &cabecalho, sizeof cabecalho)) ||
      cabecalho.marca != kMarcaDiario) {
    // New, or its creator was killed before the header was whole: no entry was ever committed.
    if (const HRESULT hr = CortaDiario(diario, 0); FAILED(hr)) return hr;
    if (const HRESULT hr = GravaCabecalho(diario, kCabecalho); FAILED(hr)) return hr;
    return FlushFileBuffers(diario) ? S_OK : ErroAtual();
  }
  uint64_t posicao = tudo ? kCabecalho : cabecalho.aplicadoAte;
  if (posicao < kCabecalho || posicao > tamanho) posicao = kCabecalho;
  if (posicao == tamanho && !tudo) return S_OK;

  std::map<std::string, HANDLE> abertos;
  auto abre = [&](const std::string& nome) -> HANDLE {
    auto& aberto = abertos[nome];
    if (!aberto)
      aberto = CreateFileA((diretorio + nome).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return aberto;
  };
  HRESULT resultado = S_OK;
  while (posicao < tamanho) {
    CabecalhoEntrada entrada{};
    std::vector<uint8_t> operacoes;
    bool inteira = tamanho - posicao >= sizeof entrada && SUCCEEDED(LeEm(diario, posicao, &entrada, sizeof entrada)) &&
                   entrada.marca == kMarcaEntrada && tamanho - posicao - sizeof entrada >= entrada.tamanho;
    if (inteira) {
      operacoes.resize(entrada.tamanho);
      inteira = SUCCEEDED(LeEm(diario, posicao + sizeof entrada, operacoes.data(), entrada.tamanho)) &&
                Soma(operacoes.data(), operacoes.size()) == entrada.soma;
    }
    if (!inteira) {
      // Cut by a kill before it was synced: the change never happened.
      resultado = CortaDiario(diario, posicao);
      tamanho = posicao;
      break;
    }
    if (resultado = Aplica(operacoes, abre, nullptr); FAILED(resultado)) break;
    posicao += sizeof entrada + entrada.tamanho;
  }
  if (SUCCEEDED(resultado) && posicao > kLimiteDiario) {
    for (auto& [nome, arquivo] : abertos)
      if (arquivo != INVALID_HANDLE_VALUE && !FlushFileBuffers(arquivo)) resultado = ErroAtual();
    if (SUCCEEDED(resultado)) resultado = CortaDiario(diario, kCabecalho);
    posicao = kCabecalho;
  }
  for (auto& [nome, arquivo] : abertos)
    if (arquivo != INVALID_HANDLE_VALUE) CloseHandle(arquivo);
  if (FAILED(resultado)) return resultado;
  if (const HRESULT hr = GravaCabecalho(diario, posicao); FAILED(hr)) return hr;
  return FlushFileBuffers(diario) ? S_OK : ErroAtual();
}

HANDLE AbreDiario(const std::string& diretorio) {
  return CreateFileA((diretorio + kDiario).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ArmazemEstoque::ArmazemEstoque(std::string diretorio) : diretorio_(std::move(diretorio)) {}

HRESULT ArmazemEstoque::Altera(const std::function<HRESULT(Alteracao&)>& alteracao) const {
  HANDLE trava = AbreArquivoFamilia(diretorio_ + kTrava, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS, kEspera);
  if (trava == INVALID_HANDLE_VALUE) return ErroAtual();
  Fecha fechaTrava(trava);
  HANDLE diario = AbreDiario(diretorio_);
  if (diario == INVALID_HANDLE_VALUE) return ErroAtual();
  Fecha fechaDiario(diario);
  const bool primeiro = PrimeiroAcesso(diretorio_);
  if (const HRESULT hr = Recupera(diretorio_, diario, primeiro); FAILED(hr)) return hr;
  if (primeiro) MarcaAcesso(diretorio_);

  Alteracao mudanca(diretorio_, true);
  const HRESULT resultado = alteracao(mudanca);
  if (FAILED(resultado) || mudanca.vazia_) return resultado;

  // 3. The entry, synced: from here on the change has happened.
  uint64_t fim = 0;
  if (const HRESULT hr = TamanhoDe(diario, fim); FAILED(hr)) return hr;
  std::vector<uint8_t> entrada;
  Poe(entrada, CabecalhoEntrada{kMarcaEntrada, static_cast<uint32_t>(mudanca.entrada_.size()),
                                Soma(mudanca.entrada_.data(), mudanca.entrada_.size())});
  entrada.insert(entrada.end(), mudanca.entrada_.begin(), mudanca.entrada_.end());
  if (const HRESULT hr = EscreveEm(diario, fim, entrada.data(), static_cast<uint32_t>(entrada.size())); FAILED(hr)) {
    CortaDiario(diario, fim);
    return hr;
  }
  if (!FlushFileBuffers(diario)) return ErroAtual();

  // 4. Into the files; a failure here leaves the entry unapplied for the next access to finish.
  if (const HRESULT hr = Aplica(
          mudanca.entrada_, [&](const std::string& nome) { return mudanca.Arquivo(nome, true); }, nullptr);
      FAILED(hr))
    return hr;
  const uint64_t aplicado = fim + entrada.size();
  if (aplicado > kLimiteDiario) {
    if (const HRESULT hr = Recupera(diretorio_, diario, true); FAILED(hr)) return hr;
    return resultado;
  }
  if (const HRESULT hr = GravaCabecalho(diario, aplicado); FAILED(hr)) return hr;
  return resultado;
}

HRESULT ArmazemEstoque::Le(const std::function<HRESULT(Leitura&)>& leitura) const {
  for (;;) {
    if (PrimeiroAcesso(diretorio_)) {
      if (const HRESULT hr = Altera([](Alteracao&) { return S_OK; }); FAILED(hr)) return hr;
    }
    {
      HANDLE trava = AbreArquivoFamilia(diretorio_ + kTrava, GENERIC_READ, FILE_SHARE_READ, OPEN_ALWAYS, kEspera);
      if (trava == INVALID_HANDLE_VALUE) return ErroAtual();
      Fecha fechaTrava(trava);
      bool aplicado = true;
      HANDLE diario = CreateFileA((diretorio_ + kDiario).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (diario != INVALID_HANDLE_VALUE) {
        Fecha fechaDiario(diario);
        uint64_t tamanho = 0;
        CabecalhoDiario cabecalho{};
        aplicado = SUCCEEDED(TamanhoDe(diario, tamanho)) && tamanho >= kCabecalho &&
                   SUCCEEDED(LeEm(diario, 0, &cabecalho, sizeof cabecalho)) && cabecalho.marca == kMarcaDiario &&
                   cabecalho.aplicadoAte == tamanho;
      } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return ErroAtual();
      }
      if (aplicado) {
        Leitura leitor(diretorio_, false);
        return leitura(leitor);
      }
    }
    // A change was killed after its entry was synced: a change applies it, then the read runs.
    if (const HRESULT hr = Altera([](Alteracao&) { return S_OK; }); FAILED(hr)) return hr;
  }
}
