// The hash map of the entity caches: separate chaining over a table whose size the cache chooses
// when it is loaded (the expected number of entities plus about a fifth), entries taken from blocks
// of 100. Each entry owns a full copy of its value. The table size survives RemoveAll, so a cache
// emptied by the timed refresh is sized again only by its next load.
//
// Iteration (Primeiro) runs the chains in table order and each chain from its newest entry, which
// is the order in which the caches' look-ups by code find a match. A key type K needs a
// specialisation of PPChaveMapa<K> with Hash and Igual. One thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class K>
struct PPChaveMapa;

// The 32-bit keys: pointers and record keys, whose low four bits vary least usefully.
template <>
struct PPChaveMapa<int32_t> {
  static uint32_t Hash(int32_t chave) { return static_cast<uint32_t>(chave) >> 4; }
  static bool Igual(int32_t a, int32_t b) { return a == b; }
};
template <>
struct PPChaveMapa<uint32_t> {
  static uint32_t Hash(uint32_t chave) { return chave >> 4; }
  static bool Igual(uint32_t a, uint32_t b) { return a == b; }
};

template <class K, class V>
class PPMapaBuffer {
 public:
  static constexpr uint32_t kTamanhoInicial = 17;
  static constexpr size_t kEntradasPorBloco = 100;

  PPMapaBuffer() = default;
  ~PPMapaBuffer() { RemoveAll(); }
  PPMapaBuffer(const PPMapaBuffer&) = delete;
  PPMapaBuffer& operator=(const PPMapaBuffer&) = delete;

  uint32_t GetTamanhoTabela() const { return tamanhoTabela_; }
  uint32_t GetCount() const { return quantidade_; }

  // Frees the table and takes a zeroed one of `tamanho` chains (at least 1). Meant for an empty
  // map: the entries of the old table would be lost to iteration, so they are dropped first.
  void InitHashTable(uint32_t tamanho) {
    RemoveAll();
    tamanhoTabela_ = tamanho > 0 ? tamanho : 1;
  }

  // Every value destroyed, the table and the blocks freed; the table size stays.
  void RemoveAll() {
    for (Entrada* cadeia : tabela_)
      for (Entrada* entrada = cadeia; entrada != nullptr; entrada = entrada->proxima) entrada->~Entrada();
    tabela_.clear();
    tabela_.shrink_to_fit();
    blocos_.clear();
    usadosNoBloco_ = kEntradasPorBloco;
    quantidade_ = 0;
  }

  V* Procura(const K& chave) {
    if (tabela_.empty()) return nullptr;
    for (Entrada* entrada = tabela_[Cadeia(chave)]; entrada != nullptr; entrada = entrada->proxima)
      if (PPChaveMapa<K>::Igual(entrada->chave, chave)) return &entrada->valor;
    return nullptr;
  }

  // A copy of `valor` under the key: a new entry, or assigned to the one that is there.
  void Guarda(const K& chave, const V& valor) {
    if (V* existente = Procura(chave)) {
      *existente = valor;
      return;
    }
    if (tabela_.empty()) tabela_.assign(tamanhoTabela_, nullptr);
    Entrada*& cadeia = tabela_[Cadeia(chave)];
    cadeia = new (NovaEntrada()) Entrada{cadeia, chave, valor};
    ++quantidade_;
  }

  // The first entry, in iteration order, whose key and value satisfy `aceita`; null when none.
  template <class Predicado>
  std::pair<const K*, V*> Primeiro(Predicado aceita) {
    for (Entrada* cadeia : tabela_)
      for (Entrada* entrada = cadeia; entrada != nullptr; entrada = entrada->proxima)
        if (aceita(entrada->chave, entrada->valor)) return {&entrada->chave, &entrada->valor};
    return {nullptr, nullptr};
  }

 private:
  struct Entrada {
    Entrada* proxima;
    K chave;
    V valor;
  };
  struct alignas(Entrada) Bloco {
    unsigned char bytes[sizeof(Entrada) * kEntradasPorBloco];
  };

  uint32_t Cadeia(const K& chave) const { return PPChaveMapa<K>::Hash(chave) % tamanhoTabela_; }

  // Raw room for one entry. Entries are never freed one by one: the blocks go with RemoveAll.
  void* NovaEntrada() {
    if (usadosNoBloco_ == kEntradasPorBloco) {
      blocos_.push_back(std::make_unique<Bloco>());
      usadosNoBloco_ = 0;
    }
    return blocos_.back()->bytes + sizeof(Entrada) * usadosNoBloco_++;
  }

  uint32_t tamanhoTabela_ = kTamanhoInicial;
  uint32_t quantidade_ = 0;
  std::vector<Entrada*> tabela_;  // empty until the first entry: a table without chains yet
  std::vector<std::unique_ptr<Bloco>> blocos_;
  size_t usadosNoBloco_ = kEntradasPorBloco;
};
