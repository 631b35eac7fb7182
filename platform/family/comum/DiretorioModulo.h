// Where a company keeps the files of one module of the family: the value named by the module's
// code ("PP", "DF", "ES", "CN", "FT", "CM") under the company's key HKEY_LOCAL_MACHINE
// "SOFTWARE\QV Rivovoda\Empresas\<company>". The family's stand-ins find their own files through
// it, as the real servers do; they never call the system's foundation library for it.
#pragma once

#include <string>

// The directory as the registry holds it (backslashes), with a trailing backslash; empty when the
// company, its key or the module's value is missing, or the company name is empty or names a
// path (a backslash in it).
std::string DiretorioModuloEmpresa(const std::string& empresa, const char* modulo);
