// The harness of the crash runs: a writer of a store runs in a child process (fork, no exec) and is
// killed with SIGKILL at a random moment, many times over. It reports in memory shared with the
// test process what it is about to write (in flight) before each call and what the call wrote
// after it returned, so that after the kill the test knows which records must be whole, which one
// may be torn, and which writes were reported done and so must not be lost.
#pragma once

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <type_traits>

// One T, zeroed, in memory that a forked child shares with its parent.
template <typename T>
class Partilhado {
  static_assert(std::is_trivially_destructible_v<T>);

 public:
  Partilhado() {
    void* memoria = mmap(nullptr, sizeof(T), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memoria == MAP_FAILED) throw std::runtime_error("mmap failed");
    objeto_ = new (memoria) T{};
  }
  ~Partilhado() { munmap(objeto_, sizeof(T)); }
  Partilhado(const Partilhado&) = delete;
  Partilhado& operator=(const Partilhado&) = delete;

  T* operator->() const { return objeto_; }
  T& operator*() const { return *objeto_; }

 private:
  T* objeto_;
};

// What the checks of one store counted over the kills.
struct Figuras {
  int emGravacao = 0;   // kills with a write of the store in flight
  int cortadas = 0;     // writes in flight that the kill left cut (neither old nor new)
  int semInicio = 0;    // files left by their creator without their first bytes (header, signature)
  int ilegiveis = 0;    // checks that could not read the store
  int danificados = 0;  // records other than the one in flight that hold neither old nor new
  int perdidos = 0;     // records whose write was reported done that do not hold it
};

// One store's writer and its check.
class Escritor {
 public:
  virtual ~Escritor() = default;
  virtual const char* Nome() const = 0;
  // Opens the store (0 or an error), then makes `vezes` writes (0 or an error), reporting each
  // before and after its call; a writer process writes until the kill. Fecha closes the store.
  virtual int Abre() = 0;
  virtual int Escreve(std::mt19937& acaso, uint32_t vezes) = 0;
  virtual void Fecha() = 0;
  // In the test process after each kill: checks the store against the report. The write in
  // flight may have kept the old content or got the new one (done but not reported yet: it counts
  // as reported from then on); cut by the kill, it holds neither and counts as never written.
  virtual void Verifica() = 0;
  // Writes completed and reported so far.
  virtual uint32_t Completas() const = 0;
  const Figuras& GetFiguras() const { return figuras_; }

 protected:
  Figuras figuras_;
};

// How many kills or increments a run makes on this machine, to stay within a few seconds: as
// many as asked natively; a third where i386 programs run through an emulator (an enabled
// binfmt_misc entry for them, as scripts/i386.sh sets up: a process costs some 25 ms to start
// there, a file operation ten times its native time), and half of that with the sanitizers.
int QuantidadeNestaMaquina(int quantidade);

// The crash run of a store. The writer first writes a few times in the test process (under an
// emulator its code is then translated once for every writer process instead of anew in each).
// Then `quedas` times: a writer process starts, is killed at a random moment and the store is
// checked. The moment is drawn from 0 .. maximoMicrossegundos - 1 after the writer's start or after
// its open, so that kills land both in opens (creations) and in writes, however slow a start is on
// the machine. Prints the figures; fails on a writer that stops by itself, a failed read, a damaged
// record or a lost one.
void CorreQuedas(Escritor& escritor, int quedas, unsigned maximoMicrossegundos, unsigned semente);

// The bytes of write number `serie` (at most kMaiorConteudo): the number in the first four bytes,
// then a pattern of it, so that a whole write can be told from a torn one and from another write.
constexpr uint32_t kMaiorConteudo = 0xFFFF;
std::string Conteudo(uint32_t serie, uint32_t tamanho);
// The write number that `bytes` hold when they are a whole write (of their length); else 0.
uint32_t SerieInteira(const std::string& bytes);
