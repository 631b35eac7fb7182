// What the benchmarks share: stopping on a failed step, and the directory a run works in.
#pragma once

#include <string>

// Prints which step failed with its result and ends the run.
[[noreturn]] void Falha(const char* o_que, long resultado);

// argv[2] when given, else a new directory under TMPDIR (or /tmp).
std::string DiretorioDoBench(int argc, char** argv);
