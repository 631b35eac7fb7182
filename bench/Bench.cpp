#include "bench/Bench.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

[[noreturn]] void Falha(const char* o_que, long resultado) {
  std::fprintf(stderr, "%s failed: %ld (0x%lx)\n", o_que, resultado, static_cast<unsigned long>(resultado));
  std::exit(1);
}

std::string DiretorioDoBench(int argc, char** argv) {
  if (argc > 2) return argv[2];
  const char* tmp = std::getenv("TMPDIR");
  std::string modelo = std::string(tmp && *tmp ? tmp : "/tmp") + "/qvbench-XXXXXX";
  if (!mkdtemp(modelo.data())) Falha("mkdtemp", errno);
  return modelo;
}
