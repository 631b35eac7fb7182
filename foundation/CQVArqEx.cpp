#include "foundation/CQVArqEx.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "foundation/CQVArqControle.h"
#include "foundation/CQVArqExInterno.h"
#include "foundation/CQVArqMarca.h"
#include "foundation/QVCaminho.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"
#include "platform/win32/registry.h"

using namespace qv_arquivo;

namespace {

// Set by every block read, cleared by every write of any object: the server's threads share it.
std::atomic<int32_t> g_marcadorCache{-1};

constexpr uint32_t kUltimaTentativa = CQVArqEx::kTentativas - 1;
const char kChaveErros[] = "SOFTWARE\\QV Rivovoda\\Erros";
constexpr int kLeiturasOcupadoMarcaAntiga = 90;
constexpr DWORD kPausaMarcaAntiga = 2;  // ms

constexpr UINT kFlagsGravacao = CFile::modeReadWrite | CFile::shareDenyWrite;

bool FlagsDoModo(char modo, UINT* flags) {
  switch (modo) {
    case 'L': *flags = CFile::modeRead | CFile::shareDenyNone; return true;
    case 'G': *flags = kFlagsGravacao; return true;
    case 'C': *flags = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite; return true;
    default: return false;
  }
}

// A new file is made without emptying one that another process made a moment before.
constexpr UINT kFlagsCriacao = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyWrite;

bool TamanhoRegistroValido(uint32_t tamanho) { return tamanho > 0 && tamanho <= CQVArqEx::kTamanhoBloco; }

// length / L - 1, the header not counted; a file left without its header (made empty by a creator
// that died) holds no records either.
int32_t QuantidadeRegistros(uint64_t comprimento, uint32_t tamanhoRegistro) {
  const uint64_t registros = comprimento / tamanhoRegistro;
  return registros == 0 ? 0 : static_cast<int32_t>(registros - 1);
}

bool EhSomenteLeitura(const char* nome) {
  const DWORD atributos = GetFileAttributesA(nome);
  return atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_READONLY);
}

LONG GravaTextoRegistro(HKEY chave, const char* nome, const char* texto) {
  return RegSetValueExA(chave, nome, 0, REG_SZ, reinterpret_cast<const BYTE*>(texto),
                        static_cast<DWORD>(std::strlen(texto)));
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Lifecycle and open

CQVArqEx::CQVArqEx() = default;

CQVArqEx::~CQVArqEx() {
  if (m_bAberto) Fecha();
  if (m_hMarca) CloseHandle(m_hMarca);
}

void CQVArqEx::SetFilePath(const char* lpszNewName) {
  m_strNome = lpszNewName;
  CFile::SetFilePath(lpszNewName);
}

int CQVArqEx::AposAbrir() { return 0; }

int CQVArqEx::Abre(const char* nome, char modo, uint32_t tamanhoRegistro, bool bCria, bool bAbreAgora) {
  if (!TamanhoRegistroValido(tamanhoRegistro)) return kQVErroParametro;
  const CString novoNome(nome);
  if (m_pCache && (novoNome != m_strNome || tamanhoRegistro != m_ulTamanhoRegistro)) {
    InvalidaCache();
    m_pCache.reset();
  }
  m_strNome = novoNome;
  m_cModo = modo;
  m_ulTamanhoRegistro = tamanhoRegistro;
  m_bCria = bCria;
  if (!m_pCache) {
    if (!AlocaBloco()) return kQVErroArquivo;
    return AbreFisico();
  }
  return bAbreAgora ? AbreFisico() : 0;
}

int CQVArqEx::AbreFisico() {
  if (m_bAberto) return 0;
  UINT flags;
  if (m_strNome.IsEmpty() || !FlagsDoModo(m_cModo, &flags) || !TamanhoRegistroValido(m_ulTamanhoRegistro))
    return kQVErroParametro;
  return AbreComTentativas(flags, m_bCria, m_cModo == 'C');
}

int CQVArqEx::AbreComTentativas(UINT flags, bool bPodeCriar, bool bLimpaErro) {
  for (uint32_t tentativa = 0; tentativa < kTentativas; ++tentativa) {
    CFileException erro;
    if (Open(m_strNome, flags, &erro)) return AposAberturaFisica(flags == kFlagsGravacao, bLimpaErro);
    if (erro.m_cause == CFileException::fileNotFound) {
      if (!bPodeCriar) {
        RegistraErro('A');
        return kQVErroArquivoInexistente;
      }
      const int criacao = CriaArquivo(m_strNome, m_cModo, m_ulTamanhoRegistro);
      if (criacao) RegistraErro('A');
      return criacao;
    }
    RegistraErro('A');
    if (Contem(kAberturaTerminaLogo, erro.m_cause)) return NumeroDaCausa(erro.m_cause);
    if (tentativa == kUltimaTentativa && Contem(kAberturaTerminaNaUltima, erro.m_cause)) {
      if (erro.m_cause == CFileException::accessDenied && EhSomenteLeitura(m_strNome)) return kQVErroSomenteLeitura;
      return NumeroDaCausa(erro.m_cause);
    }
    Sleep(1);
  }
  RegistraErro('A');
  return kQVErroArquivo;
}

int CQVArqEx::AposAberturaFisica(bool bCompletaCriacao, bool bLimpaErro) {
  if (!m_pCache && !AlocaBloco()) {
    FechaSemErro();
    return kQVErroArquivo;
  }
  m_bAberto = true;
  if (bLimpaErro) LimpaErro();
  const int conclusao = bCompletaCriacao ? CompletaCriacao() : 0;
  const int resultado = conclusao ? conclusao : AposAbrir();
  // A refused file is not left open: every later operation opens it again and is refused again.
  if (resultado) FechaSemErro();
  return resultado;
}

// A creator killed between making the file and writing its header leaves it empty, and an append
// there would become record 0. The open for writing finishes that creation before anything else:
// the header is written and the name listed under the control file, as a creation does, while the
// open itself keeps other writers out.
int CQVArqEx::CompletaCriacao() {
  if (!m_bUsaArquivoControle) return GravaCabecalhoSeVazio();
  if (GetComprimento() != 0) return 0;
  CString arquivo = QVGetNomeArquivo(m_strNome);
  arquivo.MakeUpper();
  const auto completa = [this] { return GravaCabecalhoSeVazio(); };
  if (int erro = CQVArqControle(QVGetDiretorio(m_strNome)).Cria(arquivo, completa)) return erro;
  // A name listed already is not given to `completa`: its file was emptied after its creation.
  return completa();
}

int CQVArqEx::GravaCabecalhoSeVazio() {
  try {
    if (GetLength() != 0) return 0;
  } catch (const CFileException& erro) {
    RegistraErro('A');
    return NumeroEntre(kCausasPosicao, erro.m_cause);
  }
  const std::vector<uint8_t> zeros(m_ulTamanhoRegistro);
  return GravaCabecalho(zeros.data(), m_ulTamanhoRegistro);
}

void CQVArqEx::RegistraFalha(int causa) {
  // Running into the end is how a scan stops, not a fault worth naming the file for.
  if (causa != CFileException::endOfFile) RegistraErro('A');
}

void CQVArqEx::FechaSemErro() {
  try {
    Close();
  } catch (const CFileException&) {
  }
  m_bAberto = false;
}

bool CQVArqEx::AlocaBloco() {
  const uint32_t capacidade = kTamanhoBloco / m_ulTamanhoRegistro * m_ulTamanhoRegistro;
  m_pCache.reset(new (std::nothrow) uint8_t[capacidade]);
  m_ulCapacidade = m_pCache ? capacidade : 0;
  m_lBytesCache = -1;
  return m_pCache != nullptr;
}

int CQVArqEx::Fecha() {
  if (!m_bAberto) return 0;
  // Abre with another name on an open object keeps the old file until here; what its block holds
  // must not be served as the new file's records.
  if (GetFilePath() != m_strNome) m_lBytesCache = -1;
  try {
    Close();
    m_bAberto = false;
    return 0;
  } catch (const CFileException& erro) {
    m_bAberto = m_hFile != hFileNull;
    RegistraFalha(erro.m_cause);
    return NumeroEntre(kCausasFechamento, erro.m_cause);
  }
}

// ---------------------------------------------------------------------------------------------------
// Records and the cache

void CQVArqEx::InvalidaCache() {
  m_lBytesCache = -1;
  g_marcadorCache = -1;
}

bool CQVArqEx::ServeDoCache(uint64_t deslocamento, void* buffer) const {
  if (g_marcadorCache == -1 || !m_pCache || m_lBytesCache < 0) return false;
  if (deslocamento < m_ulDeslocamentoCache ||
      deslocamento + m_ulTamanhoRegistro > m_ulDeslocamentoCache + static_cast<uint64_t>(m_lBytesCache))
    return false;
  if (m_bExpiraCache && GetTickCount() - m_ulTickCache > kValidadeCache) return false;
  std::memcpy(buffer, m_pCache.get() + (deslocamento - m_ulDeslocamentoCache), m_ulTamanhoRegistro);
  return true;
}

int CQVArqEx::Le(uint32_t registro, void* buffer) {
  const uint64_t deslocamento = static_cast<uint64_t>(registro) * m_ulTamanhoRegistro;
  if (ServeDoCache(deslocamento, buffer)) return 0;
  if (int erro = AbreSeFechado()) return erro;
  try {
    if (!CabeNoFormato(deslocamento, m_ulTamanhoRegistro) || deslocamento >= GetLength()) {
      RegistraErro('A');
      return kQVErroFimArquivo;
    }
    m_lBytesCache = -1;  // the block is overwritten from here on
    Seek(static_cast<LONGLONG>(deslocamento), begin);
    const UINT lidos = Read(m_pCache.get(), m_ulCapacidade);
    if (lidos == 0) {  // cut by another process since the length was taken: past its end after all
      RegistraErro('A');
      return kQVErroFimArquivo;
    }
    m_lBytesCache = lidos;
    m_ulDeslocamentoCache = deslocamento;
    m_ulTickCache = GetTickCount();
    g_marcadorCache = static_cast<int32_t>(lidos);
    // A short last record: the missing bytes read as zeros.
    const uint32_t presentes = std::min<uint32_t>(lidos, m_ulTamanhoRegistro);
    std::memcpy(buffer, m_pCache.get(), presentes);
    std::memset(static_cast<uint8_t*>(buffer) + presentes, 0, m_ulTamanhoRegistro - presentes);
    return 0;
  } catch (const CFileException& erro) {
    if (erro.m_cause == CFileException::endOfFile) return kQVErroFimArquivo;
    RegistraFalha(erro.m_cause);
    return NumeroEntre(kCausasLeitura, erro.m_cause);
  }
}

int CQVArqEx::GravaComTentativas(const void* dados, uint32_t tamanho, uint64_t deslocamento, bool bAcrescenta,
                                 uint64_t* gravadoEm) {
  for (uint32_t tentativa = 0; tentativa < kTentativas; ++tentativa) {
    try {
      const uint64_t inicio = bAcrescenta ? FimDoUltimoRegistro() : deslocamento;
      if (!CabeNoFormato(inicio, tamanho)) {
        RegistraErro('A');
        return kQVErroFimArquivo;
      }
      Seek(static_cast<LONGLONG>(inicio), begin);
      Write(dados, tamanho);
      *gravadoEm = inicio;
      return 0;
    } catch (const CFileException& erro) {
      RegistraErro('A');
      if (Contem(kGravacaoTerminaLogo, erro.m_cause)) return NumeroDaCausa(erro.m_cause);
      if (tentativa == kUltimaTentativa && Contem(kGravacaoTerminaNaUltima, erro.m_cause))
        return NumeroDaCausa(erro.m_cause);
    }
  }
  RegistraErro('A');
  return kQVErroArquivo;
}

uint64_t CQVArqEx::FimDoUltimoRegistro() {
  const uint64_t fim = SeekToEnd();
  const uint64_t excesso = fim % m_ulTamanhoRegistro;
  if (excesso == 0) return fim;
  // An append cut short by a crash. Its bytes stay (a writer may still be at them, and they are
  // all that is left of that record); the new record starts at the next whole record, so that the
  // number given back reads back what was written, and the note names the file.
  RegistraErro('A');
  return fim + (m_ulTamanhoRegistro - excesso);
}

int CQVArqEx::Grava(const void* buffer, uint32_t* registro) {
  int resultado = AbreSeFechado();
  if (resultado == 0) {
    const uint64_t deslocamento = static_cast<uint64_t>(*registro) * m_ulTamanhoRegistro;
    uint64_t gravadoEm = 0;
    resultado = GravaComTentativas(buffer, m_ulTamanhoRegistro, deslocamento, deslocamento == 0, &gravadoEm);
    if (resultado == 0) *registro = static_cast<uint32_t>(gravadoEm / m_ulTamanhoRegistro);
  }
  InvalidaCache();
  return resultado;
}

int CQVArqEx::GravaCabecalho(const void* dados, uint32_t tamanho) {
  int resultado = AbreSeFechado();
  if (resultado == 0) {
    uint64_t gravadoEm = 0;
    resultado = GravaComTentativas(dados, tamanho, 0, false, &gravadoEm);
  }
  InvalidaCache();
  return resultado;
}

uint64_t CQVArqEx::GetComprimento() {
  if (AbreSeFechado()) return 0;
  try {
    return GetLength();
  } catch (const CFileException&) {
    return 0;
  }
}

uint32_t CQVArqEx::GetTamanho() { return static_cast<uint32_t>(std::min(GetComprimento(), kMaiorDeslocamento)); }

int32_t CQVArqEx::GetQuantidadeRegistros() {
  if (AbreSeFechado()) return -1;
  return QuantidadeRegistros(GetTamanho(), m_ulTamanhoRegistro);
}

int CQVArqEx::Posiciona(char modo, uint32_t deslocamento, uint32_t* valor) {
  if (modo != 'F' && modo != 'I' && modo != 'P') return kQVErroParametro;
  if (int erro = AbreSeFechado()) return erro;
  try {
    *valor = 0;
    if (modo == 'F') {
      *valor = static_cast<uint32_t>(std::min<uint64_t>(SeekToEnd(), kMaiorDeslocamento));
    } else if (modo == 'I') {
      SeekToBegin();
    } else if (deslocamento >= GetLength()) {
      RegistraErro('A');
      return kQVErroFimArquivo;
    } else {
      Seek(deslocamento, begin);
    }
    return 0;
  } catch (const CFileException& erro) {
    RegistraFalha(erro.m_cause);
    return NumeroEntre(kCausasPosicao, erro.m_cause);
  }
}

int CQVArqEx::AlocaCacheTotal() {
  if (!m_bAberto) return 0;
  const uint32_t capacidade = GetTamanho() / m_ulTamanhoRegistro * m_ulTamanhoRegistro;
  if (capacidade == 0) return 0;
  InvalidaCache();
  // The whole file is only a speed-up: without the memory the block stays.
  uint8_t* total = new (std::nothrow) uint8_t[capacidade];
  if (!total) return 0;
  m_pCache.reset(total);
  m_ulCapacidade = capacidade;
  return 0;
}

int CQVArqEx::GravaRegistro(const char* nome, const void* buffer, uint32_t tamanhoRegistro, uint32_t* registro,
                            bool bCria) {
  if (int erro = Abre(nome, 'G', tamanhoRegistro, bCria, false)) return erro;
  const int resultado = Grava(buffer, registro);
  Fecha();
  return resultado;
}

int CQVArqEx::LeRegistro(const char* nome, uint32_t registro, void* buffer, uint32_t tamanhoRegistro) {
  if (int erro = Abre(nome, 'L', tamanhoRegistro, false, false)) return erro;
  const int resultado = Le(registro, buffer);
  Fecha();
  return resultado;
}

// ---------------------------------------------------------------------------------------------------
// The "Erros" note

int CQVArqEx::RegistraErro(char tipo) {
  if (tipo != 'A' && tipo != 'U') return kQVErroParametro;
  HKEY chave = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kChaveErros, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &chave, nullptr) != ERROR_SUCCESS)
    return kQVErroRegistroErros;
  if (tipo == 'A') {
    GravaTextoRegistro(chave, "Usuario", "0");
    GravaTextoRegistro(chave, "Arquivo", QVGetNomeArquivo(m_strNome));
  } else {
    char usuario[4];
    std::snprintf(usuario, sizeof usuario, "%u", m_pRegistroMarca ? m_pRegistroMarca->cUsuario : 0u);
    GravaTextoRegistro(chave, "Arquivo", " ");
    GravaTextoRegistro(chave, "Usuario", usuario);
  }
  RegCloseKey(chave);
  return 0;
}

int CQVArqEx::LimpaErro() {
  HKEY chave = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChaveErros, 0, KEY_ALL_ACCESS, &chave) != ERROR_SUCCESS) return 0;
  char arquivo[MAX_PATH] = {};
  DWORD tamanho = sizeof arquivo - 1;
  const LONG leitura = RegQueryValueExA(chave, "Arquivo", nullptr, nullptr, reinterpret_cast<BYTE*>(arquivo), &tamanho);
  if (leitura != ERROR_SUCCESS) {
    RegCloseKey(chave);
    return kQVErroRegistroErros;
  }
  if (QVGetNomeArquivo(m_strNome).CompareNoCase(arquivo) == 0) {
    GravaTextoRegistro(chave, "Usuario", "0");
    GravaTextoRegistro(chave, "Arquivo", " ");
  }
  RegCloseKey(chave);
  return 0;
}

// ---------------------------------------------------------------------------------------------------
// Module lock

int CQVArqEx::Marca(const char* diretorio, int numeroMarca, int usuario, const char* sistema) {
  if (!QVUsaArquivosMarca(diretorio)) return MarcaAntiga(diretorio, numeroMarca, usuario, sistema);
  const DWORD inicio = GetTickCount();
  if (m_hMarca) return kQVErroMarca;
  return QVTomaArquivoMarca(QVNomeArquivoMarca(diretorio, numeroMarca), numeroMarca, inicio, false, &m_hMarca);
}

// The old scheme keeps the mark file open through this object's own file, denying other writers,
// with (lock number, user) in its first two bytes.
int CQVArqEx::MarcaAntiga(const char* diretorio, int numeroMarca, int usuario, const char* sistema) {
  if (m_hFile != hFileNull) return kQVErroMarca;  // a held mark, or a data file open on this object
  const CString nome = QVNomeArquivoMarcaAntiga(diretorio, sistema);
  m_pRegistroMarca = std::make_unique<QVRegistroMarca>();
  // Notes the holder of the record read, then forgets it: the mark is not ours.
  const auto recusa = [this](const QVRegistroMarca& lido, int numero) {
    *m_pRegistroMarca = lido;
    RegistraErro('U');
    m_pRegistroMarca.reset();
    return numero;
  };
  for (int ocupado = 0;;) {
    CFileException erro;
    if (Open(nome, modeReadWrite | shareDenyWrite, &erro)) {
      QVRegistroMarca lido{};
      try {
        Read(&lido, sizeof lido);
        if (lido.cModulo != 0) {
          FechaSemErro();
          return recusa(lido, kQVErroMarcaAntiga);
        }
        *m_pRegistroMarca = {static_cast<uint8_t>(numeroMarca), static_cast<uint8_t>(usuario)};
        SeekToBegin();
        Write(m_pRegistroMarca.get(), sizeof(QVRegistroMarca));
        return 0;
      } catch (const CFileException& falha) {
        FechaSemErro();
        m_pRegistroMarca.reset();
        return falha.m_cause == CFileException::accessDenied ? kQVErroAcessoNegado : kQVErroArquivo;
      }
    }
    if (erro.m_cause == CFileException::accessDenied) {
      m_pRegistroMarca.reset();
      return kQVErroAcessoNegado;
    }
    QVRegistroMarca lido{};
    if (!LeMarcaAntiga(nome, &lido)) {
      m_pRegistroMarca.reset();
      return kQVErroArquivo;
    }
    if (lido.cModulo != 0 && ++ocupado >= kLeiturasOcupadoMarcaAntiga)
      return recusa(lido, QVMensagemMarca(lido.cModulo, false));
    Sleep(kPausaMarcaAntiga);
  }
}

// Reads the mark record without taking the mark; a missing mark file is created free. False when
// the file can be neither read nor created.
bool CQVArqEx::LeMarcaAntiga(const CString& nome, QVRegistroMarca* lido) {
  CFileException erro;
  const bool existe = Open(nome, modeRead | shareDenyNone, &erro);
  if (!existe && !Open(nome, modeCreate | modeNoTruncate | modeReadWrite | shareDenyNone, &erro)) {
    // Taken by a writer between our two opens: read it next time.
    return erro.m_cause == CFileException::sharingViolation;
  }
  bool lidoBem = true;
  try {
    // A mark file made a moment ago by another process keeps its mark.
    if (!existe && GetLength() < sizeof(QVRegistroMarca)) {
      const QVRegistroMarca livre{};
      Write(&livre, sizeof livre);
    }
    SeekToBegin();
    Read(lido, sizeof *lido);
  } catch (const CFileException&) {
    lidoBem = false;
  }
  FechaSemErro();
  return lidoBem;
}

int CQVArqEx::Desmarca() {
  if (m_hMarca) {
    CloseHandle(m_hMarca);
    m_hMarca = nullptr;
    return 0;
  }
  if (!m_pRegistroMarca) return 0;
  int resultado = 0;
  try {
    const QVRegistroMarca livre{};
    SeekToBegin();
    Write(&livre, sizeof livre);
  } catch (const CFileException&) {
    resultado = kQVErroArquivo;
  }
  FechaSemErro();
  m_pRegistroMarca.reset();
  return resultado;
}

// ---------------------------------------------------------------------------------------------------
// Creation of a missing data file

int CQVArqEx::CriaArquivo(const char* nome, char modo, uint32_t tamanhoRegistro) {
  if (!TamanhoRegistroValido(tamanhoRegistro)) return kQVErroParametro;
  const CString diretorio = QVGetDiretorio(nome);
  CString arquivo = QVGetNomeArquivo(nome);
  arquivo.MakeUpper();
  if (arquivo.IsEmpty()) return kQVErroFimArquivo;
  m_strNome = diretorio + arquivo;
  m_cModo = modo;
  if (tamanhoRegistro != m_ulTamanhoRegistro) m_pCache.reset();
  m_ulTamanhoRegistro = tamanhoRegistro;
  const auto cria = [this] { return CriaSemApagar(); };
  const int criacao = m_bUsaArquivoControle ? CQVArqControle(diretorio).Cria(arquivo, cria) : cria();
  if (criacao) return criacao;
  return AbreFisico();
}

int CQVArqEx::CriaSemApagar() {
  if (int erro = AbreComTentativas(kFlagsCriacao, false, true)) return erro;
  const int resultado = GravaCabecalhoSeVazio();
  const int fechamento = Fecha();
  return resultado ? resultado : fechamento;
}

// ---------------------------------------------------------------------------------------------------
// Free helpers

HRESULT QVGetQuantidadeRegistrosArquivo(const char* nome, uint32_t tamanhoRegistro, int32_t* quantidade) {
  *quantidade = 0;
  if (!TamanhoRegistroValido(tamanhoRegistro)) return ComoHResult(kQVErroParametro);
  HANDLE arquivo =
      CreateFileA(nome, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                  nullptr);
  if (arquivo == INVALID_HANDLE_VALUE) {
    const DWORD erro = GetLastError();
    return erro == ERROR_FILE_NOT_FOUND ? 0 : HRESULT_FROM_WIN32(erro);
  }
  LARGE_INTEGER tamanho;
  const BOOL medido = GetFileSizeEx(arquivo, &tamanho);
  const DWORD erro = GetLastError();
  CloseHandle(arquivo);
  if (!medido) return HRESULT_FROM_WIN32(erro);
  *quantidade = QuantidadeRegistros(static_cast<uint64_t>(tamanho.QuadPart), tamanhoRegistro);
  return 0;
}

bool QVTestaExistenciaArquivo(const char* nome) {
  HANDLE arquivo = CreateFileA(nome, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (arquivo != INVALID_HANDLE_VALUE) {
    CloseHandle(arquivo);
    return true;
  }
  const DWORD erro = GetLastError();
  return erro != ERROR_FILE_NOT_FOUND && erro != ERROR_PATH_NOT_FOUND;
}
