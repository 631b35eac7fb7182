// The writers of the crash runs (Queda.h), one per store: the record engine, the variable-record
// files and the registry.
#pragma once

#include <memory>

#include "tests/crash/Queda.h"
#include "tests/foundation/DiretorioDados.h"
#include "tests/support/Instalacao.h"

// Appends and rewrites records of 5,000 bytes in files that it creates in the data directory.
std::unique_ptr<Escritor> NovoEscritorArqEx(const DiretorioDados& dados);
// Writes the texts of a set of fixed records into variable-record files of the data directory:
// new texts appended, old ones rewritten in place when they fit.
std::unique_ptr<Escritor> NovoEscritorArqDyn(const DiretorioDados& dados);
// Sets numbered values of one key of the installation's registry.
std::unique_ptr<Escritor> NovoEscritorRegistro();
