// A watch over the process's array allocation, for the test programs that add VigiaDeArrays.cpp to
// their sources: that file replaces operator new[] and delete[], which is why such a test is a
// program of its own.
//
// While the watch runs, new[] hands out `restantes` more blocks (unbounded when negative) and then
// throws std::bad_alloc, fills each block with 0xCD as a debug heap leaves fresh memory (so that
// nothing can take new[] to give zeros), and notes the blocks that are not yet freed; a delete[] of
// an address that it never handed out is counted and not freed.
#pragma once

#include <set>

struct VigiaDeArrays {
  bool vigiando = false;
  int restantes = -1;
  std::set<const void*> vivos;
  int liberacoesEstranhas = 0;
};

extern VigiaDeArrays vigia;
