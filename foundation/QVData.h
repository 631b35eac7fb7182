// Day numbers, month numbers and their texts.
//
// A day number (usData) counts days so that 31/12/1847 is day 1; 0 means no date. Two-digit years
// are read with the pivot 27 (27-99 = 1927-1999, 00-26 = 2000-2026), so the dates that the stored
// files can hold run from 01/01/1927 (28856) to 31/12/2026 (65380). A month number (usMesAno) is
// (year - 1848) x 12 + month: 949 (01/1927) to 2148 (12/2026). The "second day count" is another
// encoding (01/01/1850 = 1, four-digit years) kept only for the date-time value of the clock.
//
// Text buffers are the caller's: a date text needs 11 bytes, a month text 8. Every function is
// free of state and safe to call from any thread.
#pragma once

#include <cstdint>

uint16_t QVMontaData(int dia, int mes, int ano);
void QVSeparaData(uint16_t usData, int* dia, int* mes, int* ano);
uint16_t QVMontaMesAno(int mes, int ano);
void QVSeparaMesAno(uint16_t usMesAno, int* mes, int* ano);
uint16_t QVDataParaMesAno(uint16_t usData);
uint16_t QVMesAnoParaData(int dia, uint16_t usMesAno);
uint16_t QVDataMinima();
uint16_t QVDataMaxima();

// 1 (Sunday) .. 7 (Saturday); 0 when the number is not a valid date. With bDiaCorrido the number is
// read in the second day count.
int QVDiaDaSemana(uint16_t numero, bool bDiaCorrido);

uint16_t QVMontaDiaCorrido(int dia, int mes, int ano);
char* QVDiaCorridoParaTexto(uint16_t usDiaCorrido, char* buffer);
uint16_t QVTextoParaDiaCorrido(const char* texto);
uint16_t QVTextoParaMesCorrido(const char* texto);

// DD/MM/AA, or DD/MM/AAAA with the four-digit flag; the all-zero date is 00/00/00 (00/00/0000).
char* QVFormataData(int dia, int mes, int ano, char* buffer, bool bAno4Digitos);
char* QVDataParaTexto(uint16_t usData, char* buffer, bool bAno4Digitos);
char* QVFormataMesAno(int mes, int ano, char* buffer, bool bAno4Digitos);
char* QVMesAnoParaTexto(uint16_t usMesAno, char* buffer, bool bAno4Digitos);

int QVSeparaTextoMesAno(const char* texto, int* mes, int* ano);
uint16_t QVTextoParaMesAno(const char* texto);
int QVSeparaTextoData(const char* texto, int* dia, int* mes, int* ano);
uint16_t QVTextoParaData(const char* texto);
// Whether the digits of the first 14 characters make a day: day, month and two-digit year, or with
// eight digits a four-digit year of the window (a year outside it has no day number); with at most
// five digits and bDataCompleta clear, only the month is checked.
bool QVValidaTextoData(const char* texto, bool bDataCompleta);
