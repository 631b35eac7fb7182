#include "platform/family/historico/StandInHistorico.h"

#include <atomic>
#include <charconv>
#include <cstring>
#include <functional>
#include <mutex>
#include <string_view>

#include "platform/family/comum/DiretorioModulo.h"
#include "platform/family/comum/TabelaFamilia.h"
#include "platform/win32/clock.h"
#include "platform/win32/codepage.h"
#include "platform/win32/file.h"

// The entries of a company's file, one per line, fields separated by tabs:
//   S <session> <user> ;                                   AbreSessao
//   F <session> ;                                          FechaSessao
//   L <session> <reserved> <module> <letter> <text> ;      GravaLinha
//   V <v1> <v2> <v3> <v4> <v5> <16-bit value> ;            GravaValores
//   X <v1> <v2> <v3> <v4> <v5> <16-bit value> <v7> <v8> ;  GravaValoresEstendido
// Numbers are decimal; the letter and the text are escaped (no tab or line feed is left in them).
// The closing ";" is what tells a whole entry from one that a crash cut short.

struct StandInHistorico::Controles {
  std::mutex mutex;
  HRESULT falhaDefineEmpresa = S_OK;
  HRESULT falhaAbreSessao = S_OK;
  int falhasGravaLinha = 0;
  HRESULT falhaGravaLinha = S_OK;
  std::atomic<int> vivos{0};
};

namespace {

constexpr char kModuloServidor[] = "QVServicoHistorico";
constexpr char kPasta[] = "HISTORICO";
constexpr DWORD kEsperaArquivo = 30000;  // ms for an exclusive open of a company's file

bool NomeDeArquivo(const std::string& empresa) {
  if (empresa.empty() || empresa.find_first_not_of('.') == std::string::npos) return false;
  for (unsigned char c : empresa)
    if (c < 0x20 || std::strchr("<>:\"/\\|?*", c)) return false;
  return true;
}

bool Escapado(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%'; }

std::string Escapa(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string texto;
  for (unsigned char c : bytes) {
    if (Escapado(c)) {
      texto += '%';
      texto += kHex[c >> 4];
      texto += kHex[c & 0xF];
    } else {
      texto += static_cast<char>(c);
    }
  }
  return texto;
}

int ValorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Desescapa(std::string_view texto, std::string* bytes) {
  bytes->clear();
  for (size_t i = 0; i < texto.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(texto[i]);
    if (c != '%') {
      if (Escapado(c)) return false;
      *bytes += static_cast<char>(c);
      continue;
    }
    if (i + 2 >= texto.size()) return false;
    const int alto = ValorHex(texto[i + 1]);
    const int baixo = ValorHex(texto[i + 2]);
    if (alto < 0 || baixo < 0) return false;
    *bytes += static_cast<char>(alto * 16 + baixo);
    i += 2;
  }
  return true;
}

template <typename Numero>
bool LeNumero(std::string_view campo, Numero* numero) {
  const auto [fim, erro] = std::from_chars(campo.data(), campo.data() + campo.size(), *numero);
  return erro == std::errc() && fim == campo.data() + campo.size();
}

std::vector<std::string_view> Campos(std::string_view linha) {
  std::vector<std::string_view> campos;
  size_t inicio = 0;
  for (;;) {
    const size_t tab = linha.find('\t', inicio);
    campos.push_back(linha.substr(inicio, tab == std::string_view::npos ? std::string_view::npos : tab - inicio));
    if (tab == std::string_view::npos) return campos;
    inicio = tab + 1;
  }
}

// One line of the file; false for a line that is not a whole entry.
bool LeEntrada(std::string_view linha, EntradaHistorico* entrada) {
  const std::vector<std::string_view> campos = Campos(linha);
  if (campos.size() < 3 || campos.back() != ";" || campos[0].size() != 1) return false;
  *entrada = EntradaHistorico{};
  entrada->tipo = static_cast<EntradaHistorico::Tipo>(campos[0][0]);
  switch (entrada->tipo) {
    case EntradaHistorico::kAbreSessao:
      return campos.size() == 4 && LeNumero(campos[1], &entrada->sessao) && LeNumero(campos[2], &entrada->usuario);
    case EntradaHistorico::kFechaSessao:
      return campos.size() == 3 && LeNumero(campos[1], &entrada->sessao);
    case EntradaHistorico::kLinha: {
      std::string letra;
      if (campos.size() != 7 || !LeNumero(campos[1], &entrada->sessao) || !LeNumero(campos[2], &entrada->reservado) ||
          !LeNumero(campos[3], &entrada->modulo) || !Desescapa(campos[4], &letra) || letra.size() != 1 ||
          !Desescapa(campos[5], &entrada->texto))
        return false;
      entrada->operacao = letra[0];
      return true;
    }
    case EntradaHistorico::kValores:
    case EntradaHistorico::kValoresEstendido: {
      const bool estendido = entrada->tipo == EntradaHistorico::kValoresEstendido;
      if (campos.size() != (estendido ? 10u : 8u)) return false;
      for (size_t i = 1; i < campos.size() - 1; ++i) {
        if (i == 6) {
          if (!LeNumero(campos[i], &entrada->valor16)) return false;
          continue;
        }
        int32_t valor;
        if (!LeNumero(campos[i], &valor)) return false;
        entrada->valores.push_back(valor);
      }
      return true;
    }
  }
  return false;
}

std::string Numeros(std::initializer_list<int64_t> numeros) {
  std::string texto;
  for (int64_t numero : numeros) texto += '\t' + std::to_string(numero);
  return texto;
}


// A step that failed without an error code (a short read) is still a failure.
HRESULT ErroAtual() {
  const DWORD erro = GetLastError();
  return erro == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(erro);
}

// Appends the entry that `entrada` builds from the place where it starts, under an exclusive open.
// A file that does not end with a line feed ends with an entry cut short: the new entry starts on
// a line of its own, so that the reader skips only the cut one.
HRESULT Acrescenta(const std::string& arquivo, const std::function<std::string(uint64_t inicio)>& entrada,
                   uint64_t* inicio = nullptr) {
  if (!MakeSureDirectoryPathExists(arquivo.c_str())) return ErroAtual();
  HANDLE aberto = AbreArquivoFamilia(arquivo, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS, kEsperaArquivo);
  if (aberto == INVALID_HANDLE_VALUE) return ErroAtual();
  HRESULT hr = S_OK;
  LARGE_INTEGER tamanho{};
  std::string bytes;
  char ultimo = '\n';
  DWORD lidos = 0;
  LARGE_INTEGER antesDoFim{};
  antesDoFim.QuadPart = -1;
  if (!GetFileSizeEx(aberto, &tamanho) ||
      (tamanho.QuadPart > 0 && (!SetFilePointerEx(aberto, antesDoFim, nullptr, FILE_END) ||
                                !ReadFile(aberto, &ultimo, 1, &lidos, nullptr) || lidos != 1))) {
    hr = ErroAtual();
  } else {
    if (ultimo != '\n') bytes = "\n";
    const uint64_t comeco = static_cast<uint64_t>(tamanho.QuadPart) + bytes.size();
    bytes += entrada(comeco);
    if (inicio) *inicio = comeco;
    DWORD gravados = 0;
    if (!SetFilePointerEx(aberto, tamanho, nullptr, FILE_BEGIN) ||
        !WriteFile(aberto, bytes.data(), static_cast<DWORD>(bytes.size()), &gravados, nullptr))
      hr = ErroAtual();
    else if (gravados != bytes.size())
      hr = E_FAIL;
  }
  CloseHandle(aberto);
  return hr;
}

class ServicoHistorico final : public IQVServicoHistorico {
 public:
  explicit ServicoHistorico(std::shared_ptr<StandInHistorico::Controles> controles)
      : controles_(std::move(controles)) {
    ++controles_->vivos;
  }

  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IQVServicoHistorico)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IQVServicoHistorico*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++referencias_; }
  ULONG Release() override {
    const ULONG restantes = --referencias_;
    if (restantes == 0) delete this;
    return restantes;
  }

  HRESULT DefineEmpresa(BSTR empresa) override {
    if (HRESULT falha = Falha(&StandInHistorico::Controles::falhaDefineEmpresa)) return falha;
    const std::string nome = AnsiFromWide(std::u16string_view(empresa ? empresa : u"", SysStringLen(empresa)));
    const std::string arquivo = ArquivoHistoricoEmpresa(nome);
    if (arquivo.empty()) return E_INVALIDARG;
    arquivo_ = arquivo;
    return S_OK;
  }

  HRESULT AbreSessao(uint32_t usuario, int32_t* sessao) override {
    if (!sessao) return E_POINTER;
    if (HRESULT falha = Falha(&StandInHistorico::Controles::falhaAbreSessao)) return falha;
    if (arquivo_.empty()) return E_UNEXPECTED;
    uint64_t inicio = 0;
    // The handle is the entry's place + 1; a file past 2 GiB has no place left for one.
    const HRESULT hr = Acrescenta(
        arquivo_,
        [usuario](uint64_t comeco) { return "S" + Numeros({static_cast<int64_t>(comeco + 1), usuario}) + "\t;\n"; },
        &inicio);
    if (FAILED(hr)) return hr;
    if (inicio >= 0x7FFFFFFF) return E_FAIL;
    *sessao = static_cast<int32_t>(inicio + 1);
    return S_OK;
  }

  HRESULT FechaSessao(int32_t sessao) override {
    return Grava("F" + Numeros({sessao}) + "\t;\n");
  }

  HRESULT GravaLinha(int32_t sessao, int32_t reservado, int32_t modulo, char operacao, int32_t tamanho,
                     const char* texto) override {
    {
      std::lock_guard<std::mutex> trava(controles_->mutex);
      if (controles_->falhasGravaLinha > 0) {
        --controles_->falhasGravaLinha;
        return controles_->falhaGravaLinha;
      }
    }
    if (tamanho < 0 || (tamanho > 0 && !texto)) return E_INVALIDARG;
    return Grava("L" + Numeros({sessao, reservado, modulo}) + '\t' + Escapa(std::string_view(&operacao, 1)) + '\t' +
                 Escapa(std::string_view(texto ? texto : "", static_cast<size_t>(tamanho))) + "\t;\n");
  }

  HRESULT GravaValores(int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4, int32_t valor5,
                       int16_t valor6) override {
    return Grava("V" + Numeros({valor1, valor2, valor3, valor4, valor5, valor6}) + "\t;\n");
  }

  HRESULT GravaValoresEstendido(int32_t valor1, int32_t valor2, int32_t valor3, int32_t valor4, int32_t valor5,
                                int16_t valor6, int32_t valor7, int32_t valor8) override {
    return Grava("X" + Numeros({valor1, valor2, valor3, valor4, valor5, valor6, valor7, valor8}) + "\t;\n");
  }

 private:
  ~ServicoHistorico() { --controles_->vivos; }

  HRESULT Falha(HRESULT StandInHistorico::Controles::*falha) {
    std::lock_guard<std::mutex> trava(controles_->mutex);
    return (*controles_).*falha;
  }

  HRESULT Grava(const std::string& entrada) {
    if (arquivo_.empty()) return E_UNEXPECTED;
    return Acrescenta(arquivo_, [&entrada](uint64_t) { return entrada; });
  }

  const std::shared_ptr<StandInHistorico::Controles> controles_;
  std::atomic<ULONG> referencias_{1};
  std::string arquivo_;  // the company's file; empty until DefineEmpresa succeeds
};

}  // namespace

StandInHistorico::StandInHistorico()
    : controles_(std::make_shared<Controles>()), servidor_(kModuloServidor) {
  servidor_.AddClass(CLSID_QVServicoHistorico, [controles = controles_](REFIID riid, void** object) {
    auto* servico = new ServicoHistorico(controles);
    const HRESULT hr = servico->QueryInterface(riid, object);
    servico->Release();
    return hr;
  });
}

StandInHistorico::~StandInHistorico() = default;

HRESULT StandInHistorico::Register() { return servidor_.Register(); }

void StandInHistorico::FailStarts(int count) { servidor_.FailStarts(count); }

void StandInHistorico::FalhaDefineEmpresa(HRESULT hr) {
  std::lock_guard<std::mutex> trava(controles_->mutex);
  controles_->falhaDefineEmpresa = hr;
}

void StandInHistorico::FalhaAbreSessao(HRESULT hr) {
  std::lock_guard<std::mutex> trava(controles_->mutex);
  controles_->falhaAbreSessao = hr;
}

void StandInHistorico::FalhaGravaLinha(int count, HRESULT hr) {
  std::lock_guard<std::mutex> trava(controles_->mutex);
  controles_->falhasGravaLinha = count;
  controles_->falhaGravaLinha = hr;
}

int StandInHistorico::Starts() const { return servidor_.Starts(); }

int StandInHistorico::Vivos() const { return controles_->vivos; }

std::string ArquivoHistoricoEmpresa(const std::string& empresa) {
  if (!NomeDeArquivo(empresa)) return {};
  std::string diretorio = DiretorioModuloEmpresa(empresa, "PP");
  if (diretorio.empty()) return {};
  diretorio.pop_back();  // the trailing backslash: the folder lies beside the PP directory
  const size_t barra = diretorio.rfind('\\');
  const std::string pai = barra == std::string::npos ? std::string() : diretorio.substr(0, barra + 1);
  return pai + kPasta + '\\' + empresa + ".LOG";
}

HRESULT LeHistoricoEmpresa(const std::string& empresa, std::vector<EntradaHistorico>* entradas) {
  entradas->clear();
  const std::string arquivo = ArquivoHistoricoEmpresa(empresa);
  if (arquivo.empty()) return E_INVALIDARG;
  HANDLE aberto = AbreArquivoFamilia(arquivo, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, kEsperaArquivo);
  if (aberto == INVALID_HANDLE_VALUE) {
    const DWORD erro = GetLastError();
    return erro == ERROR_FILE_NOT_FOUND || erro == ERROR_PATH_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(erro);
  }
  std::string bytes;
  char bloco[65536];
  DWORD lidos = 0;
  HRESULT hr = S_OK;
  for (;;) {
    if (!ReadFile(aberto, bloco, sizeof bloco, &lidos, nullptr)) {
      hr = ErroAtual();
      break;
    }
    if (lidos == 0) break;
    bytes.append(bloco, lidos);
  }
  CloseHandle(aberto);
  if (FAILED(hr)) return hr;
  std::string_view resto(bytes);
  while (!resto.empty()) {
    const size_t fim = resto.find('\n');
    EntradaHistorico entrada;
    // The last entry may have lost only its line feed: its closing field says whether it is whole.
    if (LeEntrada(resto.substr(0, fim), &entrada)) entradas->push_back(entrada);
    resto.remove_prefix(fim == std::string_view::npos ? resto.size() : fim + 1);
  }
  return S_OK;
}
