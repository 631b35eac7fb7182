#pragma once
// Reading the runs of the order family's period files: a record is addressed by its number in an
// open file, a list by its first record and count (a "run"). Record 0 is the header and the last
// record number must not wrap: a run that breaks either rule is damaged and is read as what it
// is, a run outside the file (16021), instead of reading the header or wrapping around.

#include <cstdint>
#include <type_traits>
#include <vector>

#include "foundation/CQVArqEx.h"
#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "server/CPPArqEx.h"
#include "server/PPTextosStatus.h"

// A key that names a record: both its month and its record number set.
inline bool PPChaveCompleta(uint32_t chave) { return QVGetMesAnoDaChave(chave) != 0 && QVGetNumeroDaChave(chave) != 0; }

// One record of an open file. The engine fills a buffer of the file's record length, so a record
// type of another length is refused before the read.
template <class Disco>
HRESULT PPLeRegistroOP(CPPArqEx& arquivo, uint32_t ulRegistro, Disco* pDisco) {
  if (arquivo.GetTamanhoRegistro() != sizeof(Disco)) return E_UNEXPECTED;
  if (ulRegistro == 0) return PPErroHResult(kQVErroFimArquivo);
  return PPErroHResultMotor(arquivo.Le(ulRegistro, pDisco));
}

// Records primeiro .. primeiro + quantidade - 1 in order, until visita answers other than S_OK;
// visita takes (record) or (index in the run, record).
template <class Disco, class Visita>
HRESULT PPPercorreSequenciaOP(CPPArqEx& arquivo, uint32_t primeiro, uint32_t quantidade, Visita visita) {
  if (quantidade == 0) return S_OK;
  if (quantidade - 1 > UINT32_MAX - primeiro) return PPErroHResult(kQVErroFimArquivo);
  for (uint32_t i = 0; i < quantidade; ++i) {
    Disco disco;
    if (HRESULT hr = PPLeRegistroOP(arquivo, primeiro + i, &disco)) return hr;
    HRESULT hr;
    if constexpr (std::is_invocable_v<Visita, uint32_t, const Disco&>) {
      hr = visita(i, disco);
    } else {
      hr = visita(disco);
    }
    if (hr != S_OK) return hr;
  }
  return S_OK;
}

// A whole run into registros (emptied first).
template <class Disco>
HRESULT PPLeSequenciaOP(CPPArqEx& arquivo, uint32_t primeiro, uint32_t quantidade, std::vector<Disco>& registros) {
  registros.clear();
  registros.reserve(quantidade);
  return PPPercorreSequenciaOP<Disco>(arquivo, primeiro, quantidade, [&](const Disco& disco) {
    registros.push_back(disco);
    return S_OK;
  });
}

// Rewrites record registro of an open file in place.
template <class Disco>
HRESULT PPRegravaRegistroOP(CPPArqEx& arquivo, uint32_t registro, const Disco& dados) {
  return PPErroHResultMotor(arquivo.Grava(&dados, &registro));
}

// One record of a file by its path, read-only: opened, read, closed; a missing file is not made.
template <class Disco>
HRESULT PPLeRegistroMesOP(const CString& caminho, uint32_t ulRegistro, Disco* pDisco) {
  if (ulRegistro == 0) return PPErroHResult(kQVErroFimArquivo);
  CPPArqEx arquivo;
  return PPErroHResultMotor(arquivo.LeRegistro(caminho, ulRegistro, pDisco, sizeof(Disco)));
}

// Rewrites record ulRegistro of a file by its path in place; a missing file is not made.
template <class Disco>
HRESULT PPRegravaRegistroMesOP(const CString& caminho, uint32_t ulRegistro, const Disco& disco) {
  CPPArqEx arquivo;
  return PPErroHResultMotor(arquivo.GravaRegistro(caminho, &disco, sizeof disco, &ulRegistro, false));
}

// A run of a file by its path, read-only; an empty run opens nothing (the file may not exist then).
template <class Disco>
HRESULT PPLeSequenciaMesOP(const CString& caminho, uint32_t ulPrimeiro, uint32_t quantidade,
                           std::vector<Disco>& registros) {
  registros.clear();
  if (quantidade == 0) return S_OK;
  CPPArqEx arquivo;
  if (int erro = arquivo.Abre(caminho, 'L', sizeof(Disco), false, true)) return PPErroHResultMotor(erro);
  return PPLeSequenciaOP(arquivo, ulPrimeiro, quantidade, registros);
}

// The months a day number can fall in: 949 (01/1927) to 2148 (12/2026).
inline uint16_t PPPrimeiroMesOP() { return QVDataParaMesAno(QVDataMinima()); }
inline uint16_t PPUltimoMesOP() { return QVDataParaMesAno(QVDataMaxima()); }
