// Number and value texts of the system: digits only, and amounts written the Brazilian way
// ("." between thousands, "," before the decimals). Pure functions.
#pragma once

#include <cstdint>

#include "platform/com/currency.h"
#include "platform/mfc/CString.h"

CString QVNumeroParaTexto(uint16_t numero);

// Copies only the characters '0'-'9' into the buffer (terminated) and returns their count.
int QVExtraiDigitos(const char* texto, char* buffer);
// Keeps only the digits of the text, in place.
char* QVSomenteDigitos(char* texto);
CString QVSomenteDigitosTexto(const CString& texto);

// The amount's integer digits followed by exactly four decimal digits, without sign. The buffer
// needs 26 bytes.
char* QVValorParaDigitos(CY valor, char* buffer);
// 1.234.567,50: decimals without trailing zeros, but at least two.
CString QVFormataValor(CY valor);
// Exactly n decimals (0..8).
CString QVFormataValorDecimais(CY valor, int n);
// An eight-decimal amount (units of 10^-8) with n of its decimals.
CString QVFormataValor8(int64_t valor, int n);
