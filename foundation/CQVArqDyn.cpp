#include "foundation/CQVArqDyn.h"

#include <cstring>
#include <vector>

#include "foundation/CQVException.h"
#include "platform/win32/codepage.h"

namespace {

constexpr char kAssinatura[2] = {'Q', 'V'};
constexpr uint32_t kTamanhoCampoTamanho = 2;
constexpr uint64_t kMaiorPonteiro = 0xFFFFFFFFull;
constexpr int kSistemaArquivo = 1;
constexpr int kErroSOLeitura = 8;

bool AbreParaGravar(UINT flags) { return (flags & 0x3) != CFile::modeRead; }

}  // namespace

CQVArqDyn::CQVArqDyn(const char* nome, UINT flags) { Abre(nome, flags); }

void CQVArqDyn::Abre(const char* nome, UINT flags) {
  CFileException erro;
  if (!m_arquivo.Open(nome, flags, &erro)) throw erro;
  try {
    if (m_arquivo.GetLength() == 0) {
      if (AbreParaGravar(flags)) m_arquivo.Write(kAssinatura, sizeof kAssinatura);
      return;
    }
    char assinatura[sizeof kAssinatura] = {};
    const UINT lidos = m_arquivo.Read(assinatura, sizeof assinatura);
    if (lidos < sizeof assinatura || std::memcmp(assinatura, kAssinatura, sizeof assinatura) != 0)
      CFileException::Throw(CFileException::invalidFile, -1, nome);
  } catch (const CFileException&) {
    m_arquivo.Abort();
    throw;
  }
}

void CQVArqDyn::Fecha() { m_arquivo.Close(); }

void CQVArqDyn::PonteiroInvalido() const {
  throw CQVException("O ponteiro para o registro não é válido"_ansi, kSistemaArquivo, 0);
}

uint32_t CQVArqDyn::LeTamanhoRegistro(uint32_t ponteiro) {
  m_arquivo.Seek(ponteiro, CFile::begin);
  uint8_t campo[kTamanhoCampoTamanho];
  if (m_arquivo.Read(campo, sizeof campo) < sizeof campo)
    CFileException::Throw(CFileException::endOfFile, -1, m_arquivo.GetFilePath());
  return campo[0] | (campo[1] << 8);
}

uint32_t CQVArqDyn::Le(uint32_t ponteiro, void* buffer, uint32_t tamanhoBuffer) {
  if (ponteiro < sizeof kAssinatura || ponteiro >= m_arquivo.GetLength()) PonteiroInvalido();
  const uint32_t tamanho = LeTamanhoRegistro(ponteiro);
  if (tamanho > tamanhoBuffer) throw CQVException("Falha ao ler arquivo", kSistemaArquivo, kErroSOLeitura);
  if (m_arquivo.Read(buffer, tamanho) < tamanho)
    CFileException::Throw(CFileException::endOfFile, -1, m_arquivo.GetFilePath());
  return tamanho;
}

void CQVArqDyn::Grava(uint32_t* ponteiro, const void* dados, uint32_t tamanho) {
  // A longer record would not fit its 16-bit length and would be read back as another record.
  if (tamanho > kMaiorRegistro) throw CQVException("Falha ao gravar arquivo", kSistemaArquivo, 0);
  if (*ponteiro == 0) return Acrescenta(ponteiro, dados, tamanho);
  if (*ponteiro < sizeof kAssinatura || *ponteiro >= m_arquivo.GetLength()) PonteiroInvalido();
  if (LeTamanhoRegistro(*ponteiro) < tamanho) return Acrescenta(ponteiro, dados, tamanho);
  // In place: the bytes of the old record beyond the new length stay unused.
  GravaEm(*ponteiro, dados, tamanho);
}

void CQVArqDyn::Acrescenta(uint32_t* ponteiro, const void* dados, uint32_t tamanho) {
  const uint64_t fim = m_arquivo.SeekToEnd();
  if (fim + kTamanhoCampoTamanho + tamanho > kMaiorPonteiro) PonteiroInvalido();
  GravaEm(fim, dados, tamanho);
  *ponteiro = static_cast<uint32_t>(fim);
}

void CQVArqDyn::GravaEm(uint64_t deslocamento, const void* dados, uint32_t tamanho) {
  // Length and data in one write, so that a record is never left with a length and no data.
  std::vector<uint8_t> registro(kTamanhoCampoTamanho + tamanho);
  registro[0] = static_cast<uint8_t>(tamanho);
  registro[1] = static_cast<uint8_t>(tamanho >> 8);
  if (tamanho) std::memcpy(registro.data() + kTamanhoCampoTamanho, dados, tamanho);
  m_arquivo.Seek(static_cast<LONGLONG>(deslocamento), CFile::begin);
  m_arquivo.Write(registro.data(), static_cast<UINT>(registro.size()));
}
