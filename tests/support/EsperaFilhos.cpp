#include "tests/support/EsperaFilhos.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <thread>

namespace {

using Relogio = std::chrono::steady_clock;

// Whether the child ended by `fim`, its wait status then in `estado`.
bool Terminou(pid_t filho, Relogio::time_point fim, int& estado) {
  while (waitpid(filho, &estado, WNOHANG) == 0) {
    if (Relogio::now() > fim) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// A function of its own, so that the failure does not end the wait for the other children.
void NaoTerminou(size_t indice) { FAIL() << "child " << indice << " did not end"; }

}  // namespace

std::vector<int> EsperaFilhos(std::span<const pid_t> filhos, Relogio::duration limite) {
  const Relogio::time_point fim = Relogio::now() + limite;
  std::vector<int> estados(filhos.size(), -1);
  for (size_t indice = 0; indice < filhos.size(); ++indice) {
    if (Terminou(filhos[indice], fim, estados[indice])) continue;
    kill(filhos[indice], SIGKILL);
    waitpid(filhos[indice], &estados[indice], 0);
    NaoTerminou(indice);
  }
  return estados;
}
