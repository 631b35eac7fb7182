#include "foundation/CQVArqMarca.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/CQVArqEx.h"
#include "foundation/QVCaminho.h"
#include "platform/win32/clock.h"
#include "platform/win32/file.h"

namespace {

const char kArquivoControle[] = "QVCTLARQ.DAT";
constexpr uint32_t kTamanhoNomeControle = 32;
constexpr DWORD kEsperaControleOcupado = 1000;  // ms
constexpr int kLeiturasOcupadoMarcaAntiga = 90;
constexpr DWORD kPausaMarcaAntiga = 2;  // ms

CString ComBarraFinal(const char* diretorio) {
  CString texto(diretorio);
  if (texto.IsEmpty() || texto[texto.GetLength() - 1] != '\\') texto += '\\';
  return texto;
}

// "DF\marcanovo.dat" in place of the last component of the data directory.
CString CaminhoMarcaNova(const char* diretorio) {
  CString texto(diretorio);
  if (!texto.IsEmpty() && texto[texto.GetLength() - 1] == '\\') texto = texto.Left(texto.GetLength() - 1);
  return texto.Left(texto.ReverseFind('\\') + 1) + "DF\\marcanovo.dat";
}

bool UsaEsquemaNovo(const char* diretorio) {
  HANDLE marcador = CreateFileA(CaminhoMarcaNova(diretorio), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marcador == INVALID_HANDLE_VALUE) return false;
  CloseHandle(marcador);
  return true;
}

CString NomeArquivoMarcaAntiga(const char* diretorio, const char* sistema) {
  static const char* const kSistemasComMarca[] = {"AC", "CN", "CP", "DF", "EF", "ES", "FN", "FT",
                                                  "PN", "CL", "EC", "CM", "GE", "OR", "CX", "EX"};
  CString codigo = "CN";
  for (const char* candidato : kSistemasComMarca)
    if (sistema && CString(sistema).CompareNoCase(candidato) == 0) codigo = candidato;
  return ComBarraFinal(diretorio) + codigo + "CMARCA.DAT";
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Holder table and the lock-file loop

int QVMensagemMarca(int numeroMarca, bool bEsquemaNovo) {
  static constexpr int kAte23[] = {0,     16225, 16233, 16241, 16250, 16268, 16276, 16284, 16306, 16357, 80021, 80039,
                                   80047, 80055, 82015, 82023, 80195, 83097, 76317, 76325, 76333, 76341, 83101, 80233};
  static constexpr int kDe25a31[] = {996, 997, 998, 999, 310468, 316571, 31};
  static constexpr int kDe200a213[] = {32000, 32018, 32026, 32034, 32042, 32051, 32069,
                                       32077, 32085, 32093, 32107, 32115, 32123, 32131};
  const int numero = numeroMarca & 0xFF;
  if (numero >= 1 && numero <= 23) return kAte23[numero];
  if (numero >= 25 && numero <= 31) return bEsquemaNovo ? kDe25a31[numero - 25] : kQVErroMarca;
  if (numero == 50) return 243612;
  if (numero >= 200 && numero <= 213) return kDe200a213[numero - 200];
  return kQVErroMarca;
}

CString QVNomeArquivoMarca(const char* diretorio, int numeroMarca) {
  CString nome;
  nome.Format("%sXXMARCA%d.DAT", static_cast<const char*>(ComBarraFinal(diretorio)), numeroMarca & 0xFF);
  return nome;
}

int QVTomaArquivoMarca(const char* nome, int numeroMarca, DWORD inicio, bool bEsperaAcessoNegado, HANDLE* marca) {
  for (;;) {
    HANDLE arquivo =
        CreateFileA(nome, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD erro = GetLastError();
    const bool dentroDoPrazo = GetTickCount() - inicio < CQVArqMarca::kEsperaMarca;
    if (arquivo != INVALID_HANDLE_VALUE) {
      if (erro == ERROR_SUCCESS || erro == ERROR_ALREADY_EXISTS) {
        *marca = arquivo;
        return 0;
      }
      CloseHandle(arquivo);
      if (erro != ERROR_SHARING_VIOLATION) return HRESULT_FROM_WIN32(erro);
    }
    if (erro == ERROR_ACCESS_DENIED) {
      if (!bEsperaAcessoNegado || !dentroDoPrazo) return kQVErroAcessoNegado;
      Sleep(0);
      continue;
    }
    if (!dentroDoPrazo) return QVMensagemMarca(numeroMarca, true);
    Sleep(static_cast<DWORD>(std::rand() % 30 + 10));
  }
}

// ---------------------------------------------------------------------------------------------------
// CQVArqMarca

CQVArqMarca::CQVArqMarca(int* resultado, const char* diretorio, int numeroMarca) {
  *resultado = Marca(diretorio, numeroMarca);
}

CQVArqMarca::~CQVArqMarca() { Desmarca(); }

int CQVArqMarca::Marca(const char* diretorio, int numeroMarca) {
  const DWORD inicio = GetTickCount();
  if (m_hMarca) return kQVErroMarca;
  m_strNome = QVNomeArquivoMarca(diretorio, numeroMarca);
  return QVTomaArquivoMarca(m_strNome, numeroMarca, inicio, true, &m_hMarca);
}

int CQVArqMarca::Desmarca() {
  if (m_hMarca) CloseHandle(m_hMarca);
  m_hMarca = nullptr;
  return 0;
}

// ---------------------------------------------------------------------------------------------------
// CQVArqEx: module lock

int CQVArqEx::Marca(const char* diretorio, int numeroMarca, int usuario, const char* sistema) {
  if (!UsaEsquemaNovo(diretorio)) return MarcaAntiga(diretorio, numeroMarca, usuario, sistema);
  const DWORD inicio = GetTickCount();
  if (m_hMarca) return kQVErroMarca;
  return QVTomaArquivoMarca(QVNomeArquivoMarca(diretorio, numeroMarca), numeroMarca, inicio, false, &m_hMarca);
}

// The old scheme keeps the mark file open through this object's own file, denying other writers,
// with (lock number, user) in its first two bytes.
int CQVArqEx::MarcaAntiga(const char* diretorio, int numeroMarca, int usuario, const char* sistema) {
  if (m_hFile != hFileNull) return kQVErroMarca;  // a held mark, or a data file open on this object
  const CString nome = NomeArquivoMarcaAntiga(diretorio, sistema);
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
// CQVArqEx: creation of a missing data file under the control file

int CQVArqEx::CriaArquivo(const char* nome, char modo, uint32_t tamanhoRegistro) {
  if (tamanhoRegistro == 0 || tamanhoRegistro > kTamanhoBloco) return kQVErroParametro;
  const CString diretorio = QVGetDiretorio(nome);
  CString arquivo = QVGetNomeArquivo(nome);
  arquivo.MakeUpper();
  if (arquivo.IsEmpty()) return kQVErroFimArquivo;
  m_strNome = diretorio + arquivo;
  m_cModo = modo;
  if (tamanhoRegistro != m_ulTamanhoRegistro) m_pCache.reset();
  m_ulTamanhoRegistro = tamanhoRegistro;
  const int criacao = m_bUsaArquivoControle ? CriaListandoNoControle(diretorio, arquivo) : CriaSemApagar();
  if (criacao) return criacao;
  return AbreFisico();
}

// 16055 when the control file lists the name: the file existed once and is gone. Otherwise the
// file is created while the control file is held (which keeps other creators out) and listed only
// once it exists, so that a creation that fails or dies half way never leaves a name listed whose
// file was never made: that file would be "missing" for good.
int CQVArqEx::CriaListandoNoControle(const CString& diretorio, const CString& arquivo) {
  CQVArqEx controle;
  int erro = controle.Abre(diretorio + kArquivoControle, 'G', kTamanhoNomeControle, false, true);
  if (erro == kQVErroCompartilhamento) {
    Sleep(kEsperaControleOcupado);
    erro = controle.AbreFisico();
  }
  if (erro == kQVErroArquivoInexistente) erro = controle.CriaSemApagar();  // reopened 'G' by the first read
  if (erro) return erro;

  char procurado[kTamanhoNomeControle] = {};
  // Zero-padded; a name of 32 characters or more is cut and has no terminator.
  std::memcpy(procurado, arquivo, std::min<size_t>(arquivo.GetLength(), sizeof procurado));
  char registro[kTamanhoNomeControle];
  uint32_t numero = 0;
  for (;; ++numero) {
    erro = controle.Le(numero, registro);
    if (erro == kQVErroFimArquivo) break;
    if (erro || std::memcmp(registro, procurado, sizeof procurado) == 0) {
      controle.Fecha();
      return erro ? erro : kQVErroArquivoInexistente;
    }
  }
  erro = CriaSemApagar();
  if (erro == 0) erro = controle.Grava(procurado, &numero);
  controle.Fecha();
  return erro;
}
