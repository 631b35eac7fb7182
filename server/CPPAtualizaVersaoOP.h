// The converter of the production orders' period files (slot 6 of the version record): eight steps,
// V01->V02 .. V08->V09, over the monthly files of the orders ("PPOP"), their items ("PPIT"),
// processes ("PPPR"), inputs ("PPMT"), production reports ("PPAP"), returns from outsourced
// processing ("PPRI"), stock movements of reports ("PPME") and their batches ("PPLT"), with the files
// that the steps create ("PPTI", "PPTA", "PPRA"). Each step runs in the frame of CPPPassoConversao
// (CPPAtualizaVersao.h), so it survives the death of its process at any moment.
//
// A step converts units of files that refer to each other: a month's orders, items and processes;
// its reports with their returns, movements and batches; ... A unit is converted in every month in
// which one of its old files exists: a missing old file counts as empty, and every new file of the
// unit is written for that month (an old file that existed leaves as its history copy; a new file
// without one is only renamed into place). What a step's rules do not carry stays in the history
// copies only: movements and returns that no report names (V02->V03), processes that no order
// names (V06->V07). Technical sheets that were never kept are no sheets: V01->V02 then leaves the
// processes as they are.
//
// A month's old files are read whole before its new files are written: every write of the process
// drops the read cache of every record file (CQVArqEx.h), so reads between appends would fetch a
// block per record. A record number outside an old file reads as past its end (16021). V01->V02
// looks for an order's technical sheet among the sheets of the order's product position only, and
// V06->V07 for the reports of a process through an index of the month's reports by order and
// process, so neither grows with the square of a month; they choose what a scan of every record in
// order chooses.
//
// Two steps need the family's other modules and stop without them: V02->V03 copies the stock
// movements of the old reports from the inventory module's movements server, V06->V07 reads sales
// invoices through the data-access layer (CPPAcessoDados) for the customer of a report.
//
// One run on one thread, as every converter.
#pragma once

#include <cstdint>

#include "server/CPPAtualizaVersao.h"

class CPPAtualizaVersaoOP : public CPPAtualizaVersao {
 public:
  CPPAtualizaVersaoOP();

  // Sets the clean-history flag and runs the step that starts at usVersao (1 .. 8); other
  // versions: PPErroHResult(1615).
  HRESULT Converte(uint16_t usVersao) override;
  // Deletes the history copies of versions 1 .. usVersao - 1 of every order prefix
  // (CPPNomesArquivos::ListaPrefixosOP) and month.
  void LimpaHistorico(uint16_t usVersao) override;
  using CPPAtualizaVersao::LimpaHistorico;
};
