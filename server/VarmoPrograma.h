// The Varmo program's entry, kept in the server library so that the program's main, the COM layer
// (when it starts the linked server for a client of this process) and tests all run the same code.
//
// VarmoExecuta takes the whole command line, program path first, because a switch counts wherever
// it stands in the line (PPComandoLinha). It initialises COM for the multithreaded apartment, sets
// the process's security (its failure ignored), initialises the module state with the class table
// and the type library, and then
//   - "UnregServer" after a '-' or '/': unregisters (AppID script, each class in table order, the
//     type library), ignoring failures; exit code 0;
//   - "RegServer" after a '-' or '/': registers (AppID script with its failure ignored, each class
//     in table order stopping at the first failure, then the type library); exit code the
//     HRESULT of the first failure or of the type library's registration;
//   - anything else: runs the server until it is idle (or told to quit); exit code 0;
// and finally releases the module state and uninitialises COM.
//
// The program path is the first word of the command line (quoted when it has blanks); it is the
// module path that registration writes. The program's main puts the executable's full path there;
// the COM layer puts the LocalServer32 path there when it starts the linked server.
//
// Only one run at a time in a process. A process that links the server for its own clients
// (VinculaServidorVarmo) must not also run it directly.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/win32/base.h"

enum class PPComandoServidor { kExecuta, kRegistra, kDesregistra };

// The module name under which the server is linked and that its LocalServer32 paths end in.
constexpr char kPPNomeModuloVarmo[] = "Varmo";

// Scans the line for '-' or '/' followed, up to the end of the line and without regard to case,
// by "UnregServer" or "RegServer"; a switch followed by anything else does not count.
PPComandoServidor PPComandoLinha(const char* szLinha);
CString PPCaminhoPrograma(const char* szLinha);

int VarmoExecuta(const char* szLinhaComando);

// Makes the classes activatable in this process: a client's creation starts a run of the server on
// a thread of its own (platform/com/classobject.h). False when it was linked already.
bool VinculaServidorVarmo();
