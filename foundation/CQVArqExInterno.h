// What the two source files of the record-file engine share (CQVArqEx.cpp, and CQVArqExBytes.cpp
// with the byte and text helpers): the last offset of the format, the catalogue number of each
// cause of a file exception and the causes that each operation reports by their own number, and the
// helpers' HRESULT form of a number. Not for use outside the engine.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "foundation/CQVArqEx.h"

namespace qv_arquivo {

inline constexpr uint64_t kMaiorDeslocamento = 0xFFFFFFFFull;

inline constexpr HRESULT ComoHResult(int numero) {
  return numero == 0 ? 0 : static_cast<HRESULT>(0x80040000u | numero);
}

// Whether `tamanho` bytes from `inicio` stay within the 32-bit offsets of the format.
inline bool CabeNoFormato(uint64_t inicio, uint64_t tamanho) { return inicio + tamanho <= kMaiorDeslocamento; }

inline int NumeroDaCausa(int causa) {
  switch (causa) {
    case CFileException::badSeek: return kQVErroPosicionamento;
    case CFileException::endOfFile: return kQVErroFimArquivo;
    case CFileException::hardIO: return kQVErroEntradaSaida;
    case CFileException::fileNotFound: return kQVErroArquivoInexistente;
    case CFileException::badPath: return kQVErroCaminho;
    case CFileException::tooManyOpenFiles: return kQVErroArquivosAbertos;
    case CFileException::accessDenied: return kQVErroAcessoNegado;
    case CFileException::invalidFile: return kQVErroArquivoInvalido;
    case CFileException::directoryFull: return kQVErroDiretorioCheio;
    case CFileException::sharingViolation: return kQVErroCompartilhamento;
    case CFileException::lockViolation: return kQVErroBloqueio;
    case CFileException::diskFull: return kQVErroDiscoCheio;
    default: return kQVErroArquivo;
  }
}

inline bool Contem(std::span<const int> causas, int causa) {
  return std::find(causas.begin(), causas.end(), causa) != causas.end();
}

// The number of a cause among those that an operation reports by name; 16144 for the others.
inline int NumeroEntre(std::span<const int> causas, int causa) {
  return Contem(causas, causa) ? NumeroDaCausa(causa) : kQVErroArquivo;
}

using Causa = CFileException;
// The causes that each operation reports by their own number.
inline constexpr int kCausasFechamento[] = {Causa::hardIO, Causa::accessDenied, Causa::invalidFile,
                                            Causa::sharingViolation, Causa::lockViolation};
inline constexpr int kCausasLeitura[] = {Causa::badSeek,     Causa::hardIO,           Causa::accessDenied,
                                         Causa::invalidFile, Causa::sharingViolation, Causa::lockViolation};
inline constexpr int kCausasPosicao[] = {Causa::badSeek,          Causa::endOfFile,    Causa::hardIO,
                                         Causa::accessDenied,     Causa::invalidFile,  Causa::sharingViolation,
                                         Causa::lockViolation};
// Open and write: causes that end at once, and causes that end only at the last attempt.
inline constexpr int kAberturaTerminaLogo[] = {Causa::badPath, Causa::invalidFile, Causa::directoryFull};
inline constexpr int kAberturaTerminaNaUltima[] = {Causa::tooManyOpenFiles, Causa::accessDenied,
                                                   Causa::sharingViolation, Causa::lockViolation, Causa::diskFull};
inline constexpr int kGravacaoTerminaLogo[] = {Causa::badSeek, Causa::hardIO, Causa::fileNotFound, Causa::badPath,
                                               Causa::invalidFile};
inline constexpr int kGravacaoTerminaNaUltima[] = {Causa::accessDenied, Causa::sharingViolation,
                                                   Causa::lockViolation, Causa::diskFull};

}  // namespace qv_arquivo
