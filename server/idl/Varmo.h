// The whole type library VarmoLib: identifiers, records and the 17 interfaces. Clients and the
// server include this header; the layout and ownership rules are in VarmoRegistrosComuns.h.
#pragma once

#include "server/idl/VarmoIdentificadores.h"
#include "server/idl/VarmoRegistrosComuns.h"
#include "server/idl/VarmoTipoOPProcessos.h"
#include "server/idl/VarmoOPIndustrializacao.h"
#include "server/idl/VarmoOPApontamento.h"
#include "server/idl/VarmoOP.h"
#include "server/idl/VarmoFichaTecnicaMestre.h"
#include "server/idl/VarmoRelatorios.h"
#include "server/idl/VarmoRecursos.h"
#include "server/idl/VarmoColecaoMetas.h"
