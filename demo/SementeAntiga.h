// The company ANTIGA of the run command: a small company whose module files are still in old
// formats, so that its first session upgrades them (the upgrade driver that every Inicializa of
// QVPP_MestrePP runs). qvinstala registers it like DEMO and seeds the same records of the family's
// stand-ins for it (SementeDemo.h); SemeiaAntiga writes its data directory.
//
// What the directory holds, every group at the oldest version that the upgrade converts unless
// said otherwise:
//   - "PPVERSAO.DAT" naming those versions; the five groups that are only numbered (maintenance
//     plans and management, collections, scrap reasons, resource types) at 0; processes, calendars
//     and sections at 1, their only format;
//   - the settings "PPMESTRE.DAT" at version 1, with their audit history "PPMESTRE.HIS" holding the
//     record as it was created;
//   - three order types whose users are chained records (one of them removed, one type without
//     users), one process flow with its chain of three processes, three production operations,
//     the technical sheet of the shirt (product 100 of the family's records) with three processes;
//   - the production orders of the installation's month and the month before at version 7 (their
//     headers and items: the two steps from there change only those), two resources and the
//     production targets of the installation's month.
// A second run empties the directory first, so that the company is old again.
#pragma once

#include <cstdint>

#include "platform/win32/base.h"

constexpr char kAntigaEmpresa[] = "ANTIGA";

// Writes the company's files into its data directory (a system path ending with a backslash);
// usData is the day number of the installation's date. S_OK, or the first failure: a file error
// as HRESULT_FROM_WIN32, a record engine's message number n as 0x80040000 | n.
HRESULT SemeiaAntiga(const char* diretorio, uint16_t usData);
