#include "server/CPPNomesArquivos.h"

#include "foundation/QVInstalacao.h"
#include "foundation/QVSistema.h"

CString CPPNomesArquivos::GetDiretorioDados(const char* empresa) { return QVGetDiretorioEmpresa(kQVSistemaPP, empresa); }
