// The records of the company DEMO that the run command seeds in the stand-ins of the family's
// servers (SemeiaDemo, a step of qvinstala), and their listing as the module's clients receive them
// through the hub (MostraDemo, in qvclasses). The seeding replaces every table it writes and sets
// (not adds to) every opening balance, so a second run leaves the same records.
//
// What DEMO holds: branch 1 with its parameters (sales-order integration on) and the open period
// of the month of the installation's date; users 1 (full access) and 2, both allowed branch 1;
// products with their units, one of them on a grid of three sizes and with a price under each of
// the two price tables; a requester of branch 1 for both users; the two storage places of branch 1
// with the opening stock of both products there; and a sales order with one item.
#pragma once

#include <cstdint>

#include "platform/win32/base.h"

class CPPServidores;

// The keys that the listing asks the servers for.
constexpr uint16_t kDemoFilial = 1;
constexpr int32_t kDemoRequerente = 1;
constexpr uint32_t kDemoPedido = 1001;

// Seeds the company's records; usData is the day number of the installation's date, the open
// period is its month. S_OK or the first failure of a stand-in's seeding.
HRESULT SemeiaDemo(const char* empresa, uint16_t usData);

// Prints the seeded records as the hub's servers answer them, one short line each; false when a
// read fails (its HRESULT is printed).
bool MostraDemo(CPPServidores& hub);
