#include <cstring>

#include "foundation/CQVArqEx.h"
#include "foundation/CQVArqExInterno.h"

// The byte and text helpers of CQVArqEx (declared with the class): offsets are bytes, not record
// numbers.

using namespace qv_arquivo;

int CQVArqEx::LeBytes(uint32_t quantidade, void* buffer) {
  if (int erro = AbreSeFechado()) return erro;
  try {
    return Read(buffer, quantidade) < quantidade ? kQVErroFimArquivo : 0;
  } catch (const CFileException& erro) {
    if (erro.m_cause == CFileException::endOfFile) return kQVErroFimArquivo;
    RegistraFalha(erro.m_cause);
    return NumeroEntre(kCausasLeitura, erro.m_cause);
  }
}

HRESULT CQVArqEx::GravaBytes(uint32_t quantidade, const void* dados, uint32_t* deslocamento) {
  if (int erro = AbreSeFechado()) return ComoHResult(erro);
  const bool bAcrescenta = *deslocamento == 0;
  if (!bAcrescenta) {
    uint32_t ignorado;
    if (int erro = Posiciona('P', *deslocamento, &ignorado)) return ComoHResult(erro);
  }
  int resultado = 0;
  try {
    const uint64_t inicio = bAcrescenta ? SeekToEnd() : *deslocamento;
    if (!CabeNoFormato(inicio, quantidade)) {
      RegistraErro('A');
      resultado = kQVErroFimArquivo;
    } else {
      Write(dados, quantidade);
      *deslocamento = static_cast<uint32_t>(inicio);
    }
  } catch (const CFileException& erro) {
    RegistraErro('A');
    resultado = NumeroDaCausa(erro.m_cause);
  }
  InvalidaCache();
  return ComoHResult(resultado);
}

HRESULT CQVArqEx::GravaTexto(const char* texto, uint32_t* deslocamento) {
  *deslocamento = 0;
  if (!texto || !*texto) return 0;
  return GravaBytes(static_cast<uint32_t>(std::strlen(texto) + 1), texto, deslocamento);
}

HRESULT CQVArqEx::GravaTextoArquivo(const char* nome, const char* texto, uint32_t* deslocamento) {
  // Offsets are bytes: the file is opened with 1-byte records, so a new one starts with one zero byte
  // and no text ever lies at offset 0, which means "no text".
  if (int erro = Abre(nome, 'G', 1, true, true)) return ComoHResult(erro);
  const HRESULT resultado = GravaTexto(texto, deslocamento);
  Fecha();
  return resultado;
}

HRESULT CQVArqEx::LeBytesPosicao(uint32_t quantidade, uint32_t deslocamento, void* buffer) {
  if (int erro = AbreSeFechado()) return ComoHResult(erro);
  try {
    Seek(deslocamento, begin);
    Read(buffer, quantidade);
    return 0;
  } catch (const CFileException& erro) {
    RegistraFalha(erro.m_cause);
    return ComoHResult(NumeroEntre(kCausasLeitura, erro.m_cause));
  }
}

HRESULT CQVArqEx::LeTexto(uint32_t quantidade, uint32_t deslocamento, char* buffer) {
  if (quantidade == 0) return 0;
  buffer[0] = 0;
  if (int erro = AbreSeFechado()) return ComoHResult(erro);
  try {
    Seek(deslocamento, begin);
    const UINT lidos = Read(buffer, quantidade);
    std::memset(buffer + lidos, 0, quantidade - lidos);
    if (char* fim = static_cast<char*>(std::memchr(buffer, 0, quantidade)))
      std::memset(fim, 0, quantidade - static_cast<uint32_t>(fim - buffer));
    return 0;
  } catch (const CFileException& erro) {
    RegistraFalha(erro.m_cause);
    return ComoHResult(NumeroEntre(kCausasLeitura, erro.m_cause));
  }
}

HRESULT CQVArqEx::LeTextoArquivo(const char* nome, uint32_t quantidade, uint32_t deslocamento, char* buffer) {
  if (quantidade > 0) buffer[0] = 0;
  if (int erro = Abre(nome, 'L', 1, true, true)) return ComoHResult(erro);
  const HRESULT resultado = LeTexto(quantidade, deslocamento, buffer);
  Fecha();
  return resultado;
}

uint32_t CQVArqEx::GetTamanhoArquivo(const char* nome, uint32_t tamanhoRegistro) {
  if (Abre(nome, 'L', tamanhoRegistro, true, true)) return 0;
  uint32_t tamanho = 0;
  const int erro = Posiciona('F', 0, &tamanho);
  Fecha();
  return erro ? 0 : tamanho;
}

HRESULT CQVArqEx::VerificaArquivo(const char* nome, uint32_t tamanhoRegistro, bool bVerificaTamanho) {
  CQVArqEx arquivo;
  arquivo.SetUsaArquivoControle(m_bUsaArquivoControle);
  if (int erro = arquivo.Abre(nome, 'L', tamanhoRegistro, true, true)) return ComoHResult(erro);
  if (bVerificaTamanho && arquivo.GetComprimento() % tamanhoRegistro != 0) return ComoHResult(kQVErroTamanhoArquivo);
  return 0;
}
