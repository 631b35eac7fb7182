// The server's date and time helpers: the next due date of a periodic task (the periodicities of
// the maintenance plans), hours between two date-times, the difference of two counter readings that
// may have wrapped round, the date, time and month texts of reports and history lines, and the
// versioned names and ordered renames with which the version upgrade keeps old files as history
// copies. Day numbers, month numbers and their texts are those of QVData.h; "now" is the
// overridable clock of QVRelogio.h (which throws CQVException when it fails). Free functions
// without state: any thread may call them.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/CQVCurrencyEx.h"
#include "platform/mfc/COleDateTime.h"
#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

// Periodicity codes of a maintenance plan.
constexpr char kPPPeriodicidadeDiaria = 1;
constexpr char kPPPeriodicidadeSemanal = 2;
constexpr char kPPPeriodicidadeQuinzenal = 3;
constexpr char kPPPeriodicidadeMensal = 4;
constexpr char kPPPeriodicidadeBimestral = 5;
constexpr char kPPPeriodicidadeTrimestral = 6;
constexpr char kPPPeriodicidadeQuadrimestral = 7;
constexpr char kPPPeriodicidadeSemestral = 8;
constexpr char kPPPeriodicidadeAnual = 9;

// The date one period after usData; 0 for an unknown code. Steps of months keep the day, lowered to
// the length of the target month (31/01 + 1 month = 28/02 or 29/02; 29/02 + 1 year = 28/02).
uint16_t PPCalculaProximaData(uint16_t usData, char cPeriodicidade);
// Hours from the first date-time to the second (negative when the second is earlier), four
// decimals, each step of the computation kept to four decimals.
CQVCurrencyEx PPCalculaHoras(uint16_t usData1, uint16_t usMinutos1, uint16_t usData2, uint16_t usMinutos2);
// leituraFinal - leituraInicial of a counter of `digitos` digits; a negative difference means the
// counter wrapped round, and 10^digitos is added.
CQVCurrencyEx PPCalculaDiferencaContador(CY leituraInicial, CY leituraFinal, uint16_t digitos);

int PPMinutosDoDia(const COleDateTime& momento);
// The minute of the day of the overridable clock.
int PPHoraAtualMinutos();

CString PPFormataData(uint16_t usData, bool bAno4Digitos);  // DD/MM/AA or DD/MM/AAAA
CString PPFormataHora(int minutos);                         // hh:mm
CString PPFormataDataHora(uint16_t usData, int minutos);    // DD/MM/AA hh:mm
CString PPFormataMesAno(uint16_t usMesAno, bool bAno4Digitos);  // MM/AA or MM/AAAA

// "<dir>\PPOP0124.DAT" at version 3 is "<dir>\PPOP0124_V003.DAT".
CString PPNomeArquivoVersao(const CString& arquivo, uint16_t versao);
// Renames the history file (the data file's name with the extension HIS), when there is one, to
// its versioned name. 0 also when there is none; E_FAIL when the rename fails.
HRESULT PPRenomeiaHistoricoVersao(const char* arquivoDAT, uint16_t versao);
// Renames origem[i] to destino[i] in order and stops at the first failure, leaving the later
// files as they are; erro then holds "Renomear arquivo <name>; Erro: <Win32 error>; Causa:
// <cause>" and the result is false. erro is emptied first.
bool PPRenomeiaArquivos(const std::vector<CString>& origem, const std::vector<CString>& destino, CString& erro);
