// The base of every data object and list of the data model, as the family's base-system library
// gives it: Limpar clears an object and Copiar copies another object of the same class into it,
// both through the virtual hooks that each class overrides (OnLimpar, OnCopiar), so that a caller
// holding a base pointer clears and copies through the most derived class.
//
// Kept from the original: Limpar and Copiar are not virtual and only dispatch; the base's own
// hooks do nothing, so an override may call them last; the destructor is virtual. Not needed: the
// run-time class information and the framework's serialisation and debugging hooks, which no
// caller uses. The base part holds no state. An object serves one thread at a time.
#pragma once

class TQVBaseParaDados {
 public:
  TQVBaseParaDados() = default;
  TQVBaseParaDados(const TQVBaseParaDados&) = default;
  TQVBaseParaDados& operator=(const TQVBaseParaDados&) = default;
  virtual ~TQVBaseParaDados();

  // Clears the object: calls OnLimpar of the most derived class.
  void Limpar();
  // Copies `origem` into this object: calls OnCopiar of the most derived class with `origem`.
  // Callers pass an object of the same class as this one; the overrides rely on it.
  void Copiar(const TQVBaseParaDados* origem);

 protected:
  virtual void OnLimpar();
  virtual void OnCopiar(const TQVBaseParaDados* origem);
};
