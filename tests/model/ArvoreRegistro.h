// The shape of a record tree, written down here from the record definitions independently of the
// data classes: which count field and array field carry each child kind, and which sub-records are
// embedded. With it a test compares two record trees field by field at every level, builds the
// tree that a server would return (every array from the COM task allocator) and counts its
// arrays, without trusting the code under test to know the shape.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct FormaRegistro;

struct FilhosDoRegistro {
  size_t offsetQtd;
  size_t larguraQtd;  // 2 or 4 bytes; a 4-byte count is signed
  size_t offsetArray;
  const FormaRegistro* elemento;
};

struct EmbutidoNoRegistro {
  size_t offset;
  const FormaRegistro* forma;
};

struct FormaRegistro {
  size_t tamanho;
  std::vector<FilhosDoRegistro> filhos;
  std::vector<EmbutidoNoRegistro> embutidos;
};

// A field of a packed record, copied out: the test macros bind references, which a field that
// stands misaligned for its type must not get.
template <class T>
T Campo(T valor) {
  return valor;
}

// The shapes of the order tree and of the records beneath it.
extern const FormaRegistro kFormaOP, kFormaOPProcesso, kFormaApontamento, kFormaMovimento,
    kFormaRetorno, kFormaApontamentoRecurso, kFormaOcupacao;

// Empty when the two trees hold the same bytes at every level (array addresses aside); otherwise
// where they first differ.
std::string DiferencaEntreArvores(const void* a, const void* b, const FormaRegistro& forma);

// Copies the tree of `origem` into `destino`, every array allocated with CoTaskMemAlloc as a server
// does. Returns the number of arrays allocated.
int CopiaComoServidor(const void* origem, void* destino, const FormaRegistro& forma);

// Calls `visita` with every array of the tree (a non-null array field with a count above 0), a
// parent's before its children's. The walk enters an array only when `visita` returns true, so that
// a test can stop at an address that it never handed out instead of reading through it.
void VisitaArrays(const void* registro, const FormaRegistro& forma,
                  const std::function<bool(const void* array)>& visita);
