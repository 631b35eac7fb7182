// The family's systems: a constant table addressed by a 1-based index, with each system's
// two-letter code, display name (also the name of its key under "SOFTWARE\QV Rivovoda\"), number
// and year. This module is system 20, "PP".
#pragma once

#include "platform/mfc/CString.h"

constexpr int kQVSistemaDF = 1;
constexpr int kQVSistemaPP = 20;

int QVGetQuantidadeSistemas();
// Out-of-range indexes give an empty text or 0.
CString QVGetCodigoSistema(int indice);
CString QVGetTituloSistema(int indice);
int QVGetNumeroSistema(int indice);
int QVGetAnoSistema(int indice);
// Compares codes without regard to case; -1 when unknown.
int QVGetIndiceSistema(const char* codigo);
int QVGetIndiceSistemaPorNumero(int numero);
