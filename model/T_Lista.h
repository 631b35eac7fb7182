// T_Lista: the typed list of the data model. It is the child list inside every data class, the
// type of the lists that data classes take and give (GetListaX, SetListaX, TrocaX) and of the
// lists of record numbers and values that other parts of the system exchange.
//
// A list is itself a base-data object: Limpar empties it and Copiar makes it a copy of another
// list of the same element type, so a data class clears and copies its lists through the same two
// calls as its own children. The elements lie in one block owned by the list; a reference to an
// element (ElementAt, operator[]) stays valid only until the list next grows, shrinks or removes.
//
// Growth: a list without storage allocates exactly the size it needs; a list that outgrows its
// storage takes the larger of the new size and the old capacity plus the growth step (100).
// Removing elements never gives storage back; only emptying does.
//
// Elements are objects: new ones are zero-filled and then default-constructed (a plain element
// stays zero), they are copied by their copy constructor and assignment and destroyed by their
// destructor, and when the storage grows or an element is removed they are moved as objects, never
// by copying their bytes, so an element may point into itself (a CString does). Copies of a list
// are deep for data-class elements and plain copies for numbers and records.
//
// No member checks an index: the owning data class checks indexes before reading (and shows
// "erro3"); callers pass indexes in 0..size-1 everywhere else. A list serves one thread at a time.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <utility>

#include "platform/family/kelmar/TQVBaseParaDados.h"

template <class T>
class T_Lista : public TQVBaseParaDados {
 public:
  static constexpr int kPassoCrescimento = 100;

  T_Lista() = default;
  T_Lista(const T_Lista& outra) : TQVBaseParaDados() { Copiar(&outra); }
  T_Lista(T_Lista&& outra) noexcept { TomaArmazenamento(outra); }
  T_Lista& operator=(const T_Lista& outra) {
    if (this != &outra) {
      Limpar();
      Copiar(&outra);
    }
    return *this;
  }
  T_Lista& operator=(T_Lista&& outra) noexcept {
    if (this != &outra) {
      Redimensiona(0);
      TomaArmazenamento(outra);
    }
    return *this;
  }
  ~T_Lista() override { Redimensiona(0); }

  int GetSize() const { return tamanho_; }
  int GetCapacidade() const { return capacidade_; }

  T GetAt(int i) const { return dados_[i]; }
  T& ElementAt(int i) { return dados_[i]; }
  const T& ElementAt(int i) const { return dados_[i]; }
  T& operator[](int i) { return dados_[i]; }
  const T& operator[](int i) const { return dados_[i]; }

  void SetAt(int i, const T& elemento) { dados_[i] = elemento; }
  // Appends a copy of `elemento` and returns its index. The element may be one of this list's
  // own: it is copied before the storage can move.
  int Add(const T& elemento) {
    if (EstaNaLista(elemento)) {
      const T copia(elemento);
      return Add(copia);
    }
    Redimensiona(tamanho_ + 1);
    dados_[tamanho_ - 1] = elemento;
    return tamanho_ - 1;
  }
  T_Lista& Adiciona(const T& elemento) {
    Add(elemento);
    return *this;
  }
  // Appends an empty element (zero-filled, default-constructed) and returns it.
  T& AdicionaVazio() {
    Redimensiona(tamanho_ + 1);
    return dados_[tamanho_ - 1];
  }
  // Removes element i; the later ones move down by one. The capacity stays.
  void RemoveAt(int i) {
    for (int k = i; k + 1 < tamanho_; ++k) dados_[k] = std::move(dados_[k + 1]);
    std::destroy_at(dados_ + tamanho_ - 1);
    --tamanho_;
  }
  void RemoveAll() { Redimensiona(0); }
  void SetSize(int n) { Redimensiona(n); }

  // Swaps elements i and j through a copy of element i; returns this list.
  T_Lista& Troca(int i, int j) {
    T temporario(dados_[i]);
    dados_[i] = dados_[j];
    dados_[j] = temporario;
    return *this;
  }

 protected:
  void OnLimpar() override {
    Redimensiona(0);
    TQVBaseParaDados::OnLimpar();
  }
  void OnCopiar(const TQVBaseParaDados* origem) override {
    const T_Lista& outra = *static_cast<const T_Lista*>(origem);
    if (&outra != this) {
      Redimensiona(outra.tamanho_);
      for (int i = 0; i < tamanho_; ++i) dados_[i] = outra.dados_[i];
    }
    TQVBaseParaDados::OnCopiar(origem);
  }

 private:
  bool EstaNaLista(const T& elemento) const {
    const std::less<const T*> antes;
    return !antes(&elemento, dados_) && antes(&elemento, dados_ + tamanho_);
  }
  static T* Aloca(int n) { return std::allocator<T>().allocate(n); }
  static void Libera(T* bloco, int n) { std::allocator<T>().deallocate(bloco, n); }
  static void ConstroiVazios(T* primeiro, int n) {
    for (int i = 0; i < n; ++i) {
      std::memset(static_cast<void*>(primeiro + i), 0, sizeof(T));
      ::new (static_cast<void*>(primeiro + i)) T();
    }
  }

  void Redimensiona(int n) {
    if (n == 0) {
      std::destroy(dados_, dados_ + tamanho_);
      if (dados_ != nullptr) Libera(dados_, capacidade_);
      dados_ = nullptr;
      tamanho_ = capacidade_ = 0;
    } else if (dados_ == nullptr) {
      dados_ = Aloca(n);
      ConstroiVazios(dados_, n);
      tamanho_ = capacidade_ = n;
    } else if (n > capacidade_) {
      const int nova = n > capacidade_ + kPassoCrescimento ? n : capacidade_ + kPassoCrescimento;
      T* bloco = Aloca(nova);
      for (int i = 0; i < tamanho_; ++i)
        ::new (static_cast<void*>(bloco + i)) T(std::move(dados_[i]));
      std::destroy(dados_, dados_ + tamanho_);
      Libera(dados_, capacidade_);
      ConstroiVazios(bloco + tamanho_, n - tamanho_);
      dados_ = bloco;
      capacidade_ = nova;
      tamanho_ = n;
    } else if (n > tamanho_) {
      ConstroiVazios(dados_ + tamanho_, n - tamanho_);
      tamanho_ = n;
    } else {
      std::destroy(dados_ + n, dados_ + tamanho_);
      tamanho_ = n;
    }
  }

  void TomaArmazenamento(T_Lista& outra) {
    dados_ = std::exchange(outra.dados_, nullptr);
    tamanho_ = std::exchange(outra.tamanho_, 0);
    capacidade_ = std::exchange(outra.capacidade_, 0);
  }

  T* dados_ = nullptr;
  int tamanho_ = 0;
  int capacidade_ = 0;
};
