// The data-class pattern. A data class CPPDados<Entity> is the object form of one type-library
// record: it holds a private copy of the record (the "record copy"), one T_Lista per kind of child
// record that the record carries as a counted array, and in a few classes whole data objects for
// sub-records (embedded objects) or a value kept beside the record. The pattern gives every class
// the same members; a class declares only what is its own:
//
//   class CPPDadosOP : public PPDados<CPPDadosOP, _REG_VARMO_OPPS> {
//    public:
//     PP_CAMPO(NumeroOP, lNumeroOP)                 // GetNumeroOP / SetNumeroOP
//     PP_CAMPO_COMO(char, Situacao, cSituacao)      // the same, with the type the class gives
//     PP_TEXTO(Observacao, szObservacao)            // CString getter, text setter
//     PP_LISTA(Processo, CPPDadosOPProcesso, usQtdProcessos, pregProcessos)
//     PP_LISTA(Item, CPPDadosOPItem, usQtdItens, pregItens)
//     PP_PARTES(Processo, Item)                     // the order in which the parts are visited
//   };
//
// Every part (a list, an embedded or held object, a value or text kept beside the record, an
// array not managed) must be named in PP_PARTES: one that is left out does not compile, so no
// class can declare a list that its copies keep and its records silently drop.
//
// What every class then has, from PPDados and the part templates below:
// - construction (record copy all zero, lists empty), copy construction and assignment (deep: no
//   two objects share a child or an array), destruction; Limpar and Copiar through OnLimpar and
//   OnCopiar;
// - CopiarPara(record*): fills the record from the object. Each child count and array field of the
//   output gets the list's count and a new array (new[], count x element record) that the element
//   objects fill one level down; an empty list gives 0 and null. The caller owns every array at
//   every level and frees them with LiberaArraysDeCopiarPara (delete[]); whatever the output record
//   pointed to before is overwritten, not freed. When an allocation fails part way, CopiarPara
//   throws std::bad_alloc and the output reaches exactly the arrays allocated until then, each
//   once: LiberaArraysDeCopiarPara frees them all and nothing else.
// - CopiarDe(const record*): Limpar, copy the record, then rebuild each list from its array when
//   the array is not null and the count above 0 (the count read with its field's type). The copy's
//   count field ends equal to the children added and its array field null. The input's arrays stay
//   the caller's; a record returned by a server has its arrays freed with LiberaArraysDoServidor
//   (CoTaskMemFree). The two releases are never mixed.
// - Two counts per child kind: GetQuantidadeX is the list's count; a PP_CAMPO pair on the count
//   field (GetQtdProcessos) reads and writes the record copy's field, which only CopiarDe sets and
//   no list member touches. CopiarPara always writes the list's count.
// - The ten list members per list (PP_LISTA): AdicionaX, RemoveTodosX, GetQuantidadeX, GetX,
//   GetRefX, SetX, DeletarX, GetListaX, SetListaX, TrocaX. GetX and GetRefX with an index outside
//   the list show the message box "erro3" and touch no element: GetX answers an empty element,
//   GetRefX a scratch element that belongs to no list (emptied at each such call). SetX and
//   DeletarX check nothing: an index outside the list is the caller's error.
//
// Field accessors store and return values exactly as set: no class forms, splits, checks or
// converts keys, record numbers, codes, dates or texts. A text setter copies at most width - 1
// bytes with strncpy rules and never writes the field's last byte; a text getter reads up to the
// first zero byte and never past the field.
//
// A class that keeps only a few fields of another module's record in a compact record of its own
// names that record as its Origem: its CopiarDe reads the other module's record, fills each field
// declared with PP_CAMPO_DA_ORIGEM from the field named beside it and rebuilds each list declared
// with PP_LISTA_DA_ORIGEM from the other record's count and array; it has no CopiarPara.
//
// Sub-records held as embedded objects (PP_EMBUTIDO) are written by the embedded object on the way
// out; CopiarDe zeroes their bytes in the record copy, so that the copy never keeps an address of
// the caller's arrays. Array fields that a record carries through from another module's record but
// that the class does not manage (PP_ARRAY_NAO_USADO) are zeroed, count and pointer, by CopiarDe
// and CopiarPara for the same reason; the server release frees them, and first the arrays that
// each of their elements holds when the class names them (PP_ARRAY_NAO_USADO_ANINHADO).
//
// A data object holds no pointer to a server, a file or another data object, no lock and no shared
// state; it serves one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

#include "model/T_Lista.h"
#include "platform/com/taskmem.h"
#include "platform/family/kelmar/TQVBaseParaDados.h"
#include "platform/mfc/CString.h"

// Which conversions a class has: most have both, a few only receive records, and a class without
// a record has neither.
enum class PPSentido { CopiarParaECopiarDe, SoCopiarDe, Nenhum };

// Who allocated the arrays of a record: CopiarPara (new[]) or a server (the COM task allocator).
enum class PPAlocacao { CopiarPara, Servidor };

// ---------------------------------------------------------------------------------------------
// Helpers shared by every class.

// Shows "erro3" (OK button only) when i lies outside 0..count-1.
bool PPIndiceNaLista(int i, int quantidade);

CString PPLeTexto(const char* campo, size_t largura);
void PPEscreveTexto(char* campo, size_t largura, const char* texto);

template <class E>
E PPCopiaDoElemento(const T_Lista<E>& lista, int i) {
  if (!PPIndiceNaLista(i, lista.GetSize())) return E();
  return lista.GetAt(i);
}

template <class E>
E& PPReferenciaDoElemento(T_Lista<E>& lista, int i) {
  if (PPIndiceNaLista(i, lista.GetSize())) return lista.ElementAt(i);
  thread_local E avulso;
  avulso = E();
  return avulso;
}

template <PPAlocacao kAlocacao, class R>
void PPLiberaBloco(R* bloco) {
  if constexpr (kAlocacao == PPAlocacao::CopiarPara)
    delete[] bloco;
  else
    CoTaskMemFree(bloco);
}

// One field of a record, by offset: read and written with memcpy, because a packed field may
// stand misaligned for its type.
template <class R, class T, size_t kOffset>
struct PPCampo {
  using Registro = R;
  using Tipo = T;
  static T Le(const R& registro) {
    T valor;
    std::memcpy(static_cast<void*>(&valor), reinterpret_cast<const char*>(&registro) + kOffset,
                sizeof(T));
    return valor;
  }
  static void Escreve(R* registro, T valor) {
    std::memcpy(reinterpret_cast<char*>(registro) + kOffset, static_cast<const void*>(&valor),
                sizeof(T));
  }
  // A sub-record of a packed record: its own alignment is 2 at most and it stands at an even
  // offset, so the address is a valid pointer to it.
  static T* Endereco(R* registro) {
    static_assert(kOffset % alignof(T) == 0);
    return reinterpret_cast<T*>(reinterpret_cast<char*>(registro) + kOffset);
  }
  static const T* Endereco(const R& registro) {
    static_assert(kOffset % alignof(T) == 0);
    return reinterpret_cast<const T*>(reinterpret_cast<const char*>(&registro) + kOffset);
  }
};

// The PPCampo of field `campo` of record type R.
#define PP_CAMPO_DE(R, campo) PPCampo<R, decltype(std::declval<R&>().campo), offsetof(R, campo)>

// ---------------------------------------------------------------------------------------------
// The parts of a data object beside its record copy. Each part clears itself (Esvazia), copies the
// same part of another object (Copia), writes itself into an output record (EscreveEm), reads
// itself from an input record while fixing the record copy (LeDe) and releases the arrays that it
// stands for in a record (Libera).

// A child list: clearing and copying. A class without a record has only this.
template <class E>
struct PPParteListaSemRegistro {
  T_Lista<E> lista;

  void Esvazia() { lista.Limpar(); }
  void Copia(const PPParteListaSemRegistro& outra) {
    lista.Limpar();
    lista.Copiar(&outra.lista);
  }
};

// A child list filled from a counted array of a record (CampoQtd and CampoArray belong to the same
// record type): appending the children of an input record, releasing a record's arrays.
template <class E, class CampoQtd, class CampoArray>
struct PPParteListaDeArray : PPParteListaSemRegistro<E> {
  using Registro = typename CampoQtd::Registro;
  using Qtd = typename CampoQtd::Tipo;
  using ElementoRegistro = std::remove_pointer_t<typename CampoArray::Tipo>;
  static constexpr bool kNumeros = std::is_arithmetic_v<E>;
  using PPParteListaSemRegistro<E>::lista;

  // Appends one child per element of the input's array, when the array is not null and the count
  // (read with its field's type) above 0; returns the count added.
  Qtd AdicionaDe(const Registro& entrada) {
    const Qtd quantidade = CampoQtd::Le(entrada);
    const ElementoRegistro* bloco = CampoArray::Le(entrada);
    if (bloco == nullptr || !(quantidade > 0)) return 0;
    // Sized once: grown by its step of 100 per element, a list of 100,000 balances would be
    // moved a thousand times over.
    const int inicio = lista.GetSize();
    lista.SetSize(inicio + static_cast<int>(quantidade));
    for (Qtd i = 0; i < quantidade; ++i) {
      if constexpr (kNumeros)
        lista[inicio + static_cast<int>(i)] = bloco[i];
      else
        lista[inicio + static_cast<int>(i)].CopiarDe(&bloco[i]);
    }
    return quantidade;
  }
  template <PPAlocacao kAlocacao>
  static void Libera(Registro* registro) {
    ElementoRegistro* bloco = CampoArray::Le(*registro);
    if (bloco != nullptr) {
      if constexpr (!kNumeros) {
        const Qtd quantidade = CampoQtd::Le(*registro);
        for (Qtd i = 0; i < quantidade; ++i) E::template LiberaArraysCom<kAlocacao>(&bloco[i]);
      }
      PPLiberaBloco<kAlocacao>(bloco);
    }
    CampoQtd::Escreve(registro, 0);
    CampoArray::Escreve(registro, nullptr);
  }
};

// A child list carried by a count field and an array field of the record.
template <class E, class CampoQtd, class CampoArray>
struct PPParteLista : PPParteListaDeArray<E, CampoQtd, CampoArray> {
  using Base = PPParteListaDeArray<E, CampoQtd, CampoArray>;
  using typename Base::ElementoRegistro;
  using typename Base::Qtd;
  using typename Base::Registro;
  using Base::kNumeros;
  using Base::lista;

  // The block is zeroed and stored before its elements are filled: when an allocation below
  // throws, the output still reaches it, and its elements not yet written hold no count and no
  // array for the release to follow.
  void EscreveEm(Registro* saida) const {
    CampoQtd::Escreve(saida, 0);
    CampoArray::Escreve(saida, nullptr);
    const int quantidade = lista.GetSize();
    if (quantidade == 0) return;
    ElementoRegistro* bloco = new ElementoRegistro[quantidade]();
    CampoQtd::Escreve(saida, static_cast<Qtd>(quantidade));
    CampoArray::Escreve(saida, bloco);
    for (int i = 0; i < quantidade; ++i) {
      if constexpr (kNumeros)
        bloco[i] = lista[i];
      else
        lista[i].CopiarPara(&bloco[i]);
    }
  }
  void LeDe(Registro* copia, const Registro& entrada) {
    CampoQtd::Escreve(copia, 0);
    CampoArray::Escreve(copia, nullptr);
    CampoQtd::Escreve(copia, this->AdicionaDe(entrada));
  }
};

// A child list of a class with a compact record of its own, rebuilt from the count and array of the
// other module's record (CampoQtd and CampoArray are fields of that record).
template <class E, class CampoQtd, class CampoArray>
struct PPParteListaDaOrigem : PPParteListaDeArray<E, CampoQtd, CampoArray> {
  template <class R>
  void LeDe(R*, const typename CampoQtd::Registro& origem) {
    this->AdicionaDe(origem);
  }
};

// A field of a compact record, filled by CopiarDe from a field of the other module's record.
template <class CampoProprio, class CampoOrigem>
struct PPParteCampoDaOrigem {
  static_assert(std::is_same_v<typename CampoProprio::Tipo, typename CampoOrigem::Tipo>);
  using Origem = typename CampoOrigem::Registro;

  void Esvazia() {}
  void Copia(const PPParteCampoDaOrigem&) {}
  void LeDe(typename CampoProprio::Registro* copia, const Origem& origem) {
    CampoProprio::Escreve(copia, CampoOrigem::Le(origem));
  }
  template <PPAlocacao>
  static void Libera(Origem*) {}
};

// A text of any length kept beside the record (or in a class without one): empty after clearing,
// copies carry it.
struct PPParteTextoLivre {
  CString texto;

  void Esvazia() { texto.Empty(); }
  void Copia(const PPParteTextoLivre& outra) { texto = outra.texto; }
};

// A whole data object held as a member: clearing and copying. A class without a record has only
// this.
template <class E>
struct PPParteObjeto {
  E objeto;

  void Esvazia() { objeto.Limpar(); }
  void Copia(const PPParteObjeto& outra) { objeto = outra.objeto; }
};

// A whole data object standing for a sub-record of the record.
template <class E, class CampoSub>
struct PPParteEmbutida : PPParteObjeto<E> {
  using Registro = typename CampoSub::Registro;
  using SubRegistro = typename CampoSub::Tipo;
  using PPParteObjeto<E>::objeto;

  void EscreveEm(Registro* saida) const { objeto.CopiarPara(CampoSub::Endereco(saida)); }
  void LeDe(Registro* copia, const Registro& entrada) {
    std::memset(static_cast<void*>(CampoSub::Endereco(copia)), 0, sizeof(SubRegistro));
    objeto.CopiarDe(CampoSub::Endereco(entrada));
  }
  template <PPAlocacao kAlocacao>
  static void Libera(Registro* registro) {
    E::template LiberaArraysCom<kAlocacao>(CampoSub::Endereco(registro));
  }
};

// A value kept beside the record; clearing sets it to kInicial, copies carry it, records never.
template <class T, T kInicial>
struct PPParteValor {
  T valor = kInicial;

  void Esvazia() { valor = kInicial; }
  void Copia(const PPParteValor& outra) { valor = outra.valor; }
  template <class R>
  void EscreveEm(R*) const {}
  template <class R>
  void LeDe(R*, const R&) {}
  template <PPAlocacao, class R>
  static void Libera(R*) {}
};

// A counted array that another module's record carries and the class does not manage: the class
// keeps no copy of it, so that no record copy or output record points at an array that its owner
// has freed. Only the release of a server's record frees it; when the array's elements hold arrays
// of their own, Aninhado (a PPParteArrayNaoUsado over the element record) frees those first.
template <class CampoQtd, class CampoArray, class Aninhado = void>
struct PPParteArrayNaoUsado {
  using Registro = typename CampoQtd::Registro;
  using Qtd = typename CampoQtd::Tipo;

  void Esvazia() {}
  void Copia(const PPParteArrayNaoUsado&) {}
  void EscreveEm(Registro* saida) const { Zera(saida); }
  void LeDe(Registro* copia, const Registro&) { Zera(copia); }
  template <PPAlocacao kAlocacao>
  static void Libera(Registro* registro) {
    auto* bloco = CampoArray::Le(*registro);
    if constexpr (!std::is_void_v<Aninhado>) {
      if (bloco != nullptr)
        for (Qtd i = 0; i < CampoQtd::Le(*registro); ++i)
          Aninhado::template Libera<kAlocacao>(&bloco[i]);
    }
    PPLiberaBloco<kAlocacao>(bloco);
    Zera(registro);
  }

 private:
  static void Zera(Registro* registro) {
    CampoQtd::Escreve(registro, 0);
    CampoArray::Escreve(registro, nullptr);
  }
};

template <class M>
struct PPTipoDaParte;
template <class Parte, class C>
struct PPTipoDaParte<Parte C::*> {
  using Tipo = Parte;
};

// ---------------------------------------------------------------------------------------------
// The base of every data class. ClasseDados is the data class itself; its parts are the members
// that PP_PARTES names, visited in that order. OrigemDados is the record that CopiarDe reads: the
// record copy's own type, except in a class that keeps a compact record of its own.
template <class ClasseDados, class RegistroDados,
          PPSentido kSentido = PPSentido::CopiarParaECopiarDe, class OrigemDados = RegistroDados>
class PPDados : public TQVBaseParaDados {
  static constexpr bool kCopiaORegistro = std::is_same_v<RegistroDados, OrigemDados>;
  static_assert(kCopiaORegistro || kSentido == PPSentido::SoCopiarDe);

 public:
  using Classe = ClasseDados;
  using Registro = RegistroDados;
  using Origem = OrigemDados;

  PPDados() { std::memset(static_cast<void*>(&registro_), 0, sizeof(Registro)); }
  PPDados(const PPDados& outro) : TQVBaseParaDados(), registro_(outro.registro_) {}
  PPDados(PPDados&& outro) noexcept : TQVBaseParaDados(), registro_(outro.registro_) {}
  // The parts are assigned by the data class's own (implicit) assignment, member by member.
  PPDados& operator=(const PPDados& outro) {
    registro_ = outro.registro_;
    return *this;
  }
  PPDados& operator=(PPDados&& outro) noexcept {
    registro_ = outro.registro_;
    return *this;
  }
  ~PPDados() override = default;

  void CopiarPara(Registro* pRegPS) const
    requires(kSentido == PPSentido::CopiarParaECopiarDe)
  {
    std::memcpy(static_cast<void*>(pRegPS), static_cast<const void*>(&registro_), sizeof(Registro));
    ParaCadaParte(Objeto(), [&](const auto& parte) { parte.EscreveEm(pRegPS); });
  }

  void CopiarDe(const Origem* pRegPS)
    requires(kSentido != PPSentido::Nenhum)
  {
    Limpar();
    if constexpr (kCopiaORegistro)
      std::memcpy(static_cast<void*>(&registro_), static_cast<const void*>(pRegPS),
                  sizeof(Registro));
    ParaCadaParte(Objeto(), [&](auto& parte) { parte.LeDe(&registro_, *pRegPS); });
  }

  // Frees, deepest first, every array that CopiarPara allocated in *pRegPS, and zeroes each freed
  // pointer with its count. The record itself stays the caller's.
  static void LiberaArraysDeCopiarPara(Registro* pRegPS)
    requires(kSentido == PPSentido::CopiarParaECopiarDe)
  {
    LiberaArraysCom<PPAlocacao::CopiarPara>(pRegPS);
  }
  // The same for a record whose arrays a server allocated with the COM task allocator. A count
  // above 0 with a null array frees nothing at that level.
  static void LiberaArraysDoServidor(Origem* pRegPS)
    requires(kSentido != PPSentido::Nenhum)
  {
    LiberaArraysCom<PPAlocacao::Servidor>(pRegPS);
  }

  // The release of one allocator, for the parts of the classes that hold this one.
  template <PPAlocacao kAlocacao>
  static void LiberaArraysCom(Origem* pRegPS) {
    using Membros = decltype(Classe::Partes());
    [&]<size_t... I>(std::index_sequence<I...>) {
      (PPTipoDaParte<std::tuple_element_t<I, Membros>>::Tipo::template Libera<kAlocacao>(pRegPS),
       ...);
    }(std::make_index_sequence<std::tuple_size_v<Membros>>());
  }

 protected:
  void OnLimpar() override {
    std::memset(static_cast<void*>(&registro_), 0, sizeof(Registro));
    ParaCadaParte(Objeto(), [](auto& parte) { parte.Esvazia(); });
    TQVBaseParaDados::OnLimpar();
  }

  void OnCopiar(const TQVBaseParaDados* origem) override {
    const Classe& outro = *static_cast<const Classe*>(origem);
    if (&outro != &Objeto()) {
      registro_ = static_cast<const PPDados&>(outro).registro_;
      std::apply([&](auto... membro) { ((Objeto().*membro).Copia(outro.*membro), ...); },
                 Classe::Partes());
    }
    TQVBaseParaDados::OnCopiar(origem);
  }

  // A class without parts; PP_PARTES hides it.
  static constexpr std::tuple<> Partes() { return {}; }

  Registro registro_;

 private:
  Classe& Objeto() { return static_cast<Classe&>(*this); }
  const Classe& Objeto() const { return static_cast<const Classe&>(*this); }

  template <class Objeto, class Funcao>
  static void ParaCadaParte(Objeto& objeto, Funcao&& funcao) {
    std::apply([&](auto... membro) { (funcao(objeto.*membro), ...); }, Classe::Partes());
  }
};

// ---------------------------------------------------------------------------------------------
// The declarations of a class body. Each macro leaves the class in its public section.

#define PP_TIPO_DO_CAMPO(campo) decltype(std::declval<Registro&>().campo)
#define PP_CAMPO_DO_REGISTRO(campo) \
  PPCampo<Registro, PP_TIPO_DO_CAMPO(campo), offsetof(Registro, campo)>

// GetNome/SetNome of a field (a number, a currency value or an embedded record, by value) in the
// field's own type; `campo` may be a path into an embedded record (regKey.usMesAno).
#define PP_CAMPO(Nome, campo)                                             \
  PP_TIPO_DO_CAMPO(campo) Get##Nome() const { return registro_.campo; } \
  void Set##Nome(PP_TIPO_DO_CAMPO(campo) valor) { registro_.campo = valor; }

// The same in the type that the class declares for it (char for some one-byte codes).
#define PP_CAMPO_COMO(Tipo, Nome, campo)                                             \
  Tipo Get##Nome() const { return static_cast<Tipo>(registro_.campo); }            \
  void Set##Nome(Tipo valor) {                                                     \
    registro_.campo = static_cast<PP_TIPO_DO_CAMPO(campo)>(valor);                 \
  }

// GetNome/SetNome of a text field (a char array holding a zero-terminated text).
#define PP_TEXTO(Nome, campo)                                                                  \
  CString Get##Nome() const { return PPLeTexto(registro_.campo, sizeof(registro_.campo)); } \
  void Set##Nome(const char* texto) {                                                        \
    PPEscreveTexto(registro_.campo, sizeof(registro_.campo), texto);                         \
  }

// The ten members of a list; `lista` is the T_Lista<E> they work on.
#define PP_MEMBROS_DE_LISTA(X, E, lista)                                                   \
  void Adiciona##X(const E& elemento) { lista.Add(elemento); }                             \
  void RemoveTodos##X() { lista.Limpar(); }                                                \
  int GetQuantidade##X() const { return lista.GetSize(); }                                 \
  E Get##X(int i) const { return PPCopiaDoElemento(lista, i); }                            \
  E& GetRef##X(int i) { return PPReferenciaDoElemento(lista, i); }                         \
  void Set##X(int i, const E& elemento) { lista.SetAt(i, elemento); }                      \
  void Deletar##X(int i) { lista.RemoveAt(i); }                                            \
  T_Lista<E> GetLista##X() const { return lista; }                                         \
  void SetLista##X(T_Lista<E> outra) {                                                     \
    lista.Limpar();                                                                        \
    lista.Copiar(&outra);                                                                  \
  }                                                                                        \
  T_Lista<E>& Troca##X(int i, int j) { return lista.Troca(i, j); }

// One part, named Nome, of the type that follows. The function beside it refers to a name that
// only PP_PARTES declares for each part that it names, so a part left out of PP_PARTES does not
// compile ("PP_PARTES_nomeia_Nome was not declared"), wherever PP_PARTES stands in the class: a
// member function's body sees the whole class. An empty part takes no room.
#define PP_PARTE_DECLARADA(Nome, ...)                                  \
 private:                                                             \
  [[no_unique_address]] __VA_ARGS__ parte##Nome##_;                   \
  static void PPConfereParte##Nome() {                                \
    static_cast<void>(PP_PARTES_nomeia_##Nome);                       \
  }                                                                   \
                                                                      \
 public:

// A child list X of element E (a data class or a number type) carried by the record's count field
// and array field.
#define PP_LISTA(X, E, campoQtd, campoArray)                                                  \
 public:                                                                                      \
  PP_MEMBROS_DE_LISTA(X, E, parte##X##_.lista)                                                \
  PP_PARTE_DECLARADA(X, PPParteLista<E, PP_CAMPO_DO_REGISTRO(campoQtd),                       \
                                     PP_CAMPO_DO_REGISTRO(campoArray)>)

// A child list of a class without a record.
#define PP_LISTA_SEM_REGISTRO(X, E)            \
 public:                                       \
  PP_MEMBROS_DE_LISTA(X, E, parte##X##_.lista) \
  PP_PARTE_DECLARADA(X, PPParteListaSemRegistro<E>)

// An embedded data object of class E for the sub-record `campo`: GetNome returns a copy of it,
// SetNome assigns a given object to it.
#define PP_EMBUTIDO(Nome, E, campo)                            \
 public:                                                       \
  E Get##Nome() const { return parte##Nome##_.objeto; }        \
  void Set##Nome(E objeto) { parte##Nome##_.objeto = objeto; } \
  PP_PARTE_DECLARADA(Nome, PPParteEmbutida<E, PP_CAMPO_DO_REGISTRO(campo)>)

// A data object of class E held as a member of a class without a record.
#define PP_OBJETO(Nome, E)                                     \
 public:                                                       \
  E Get##Nome() const { return parte##Nome##_.objeto; }        \
  void Set##Nome(E objeto) { parte##Nome##_.objeto = objeto; } \
  PP_PARTE_DECLARADA(Nome, PPParteObjeto<E>)

// A value of type T kept beside the record, kInicial after clearing.
#define PP_VALOR(T, Nome, kInicial)                         \
 public:                                                    \
  T Get##Nome() const { return parte##Nome##_.valor; }      \
  void Set##Nome(T valor) { parte##Nome##_.valor = valor; } \
  PP_PARTE_DECLARADA(Nome, PPParteValor<T, kInicial>)

// A counted array of another module's record that the class does not manage (see the top).
#define PP_ARRAY_NAO_USADO(Nome, campoQtd, campoArray)                                 \
  PP_PARTE_DECLARADA(Nome, PPParteArrayNaoUsado<PP_CAMPO_DO_REGISTRO(campoQtd),        \
                                                PP_CAMPO_DO_REGISTRO(campoArray)>)

// The same for an array whose elements (records of type R) hold a counted array of their own,
// in R's fields campoQtdDoElemento and campoArrayDoElemento.
#define PP_ARRAY_NAO_USADO_ANINHADO(Nome, campoQtd, campoArray, R, campoQtdDoElemento,      \
                                    campoArrayDoElemento)                                   \
  PP_PARTE_DECLARADA(Nome, PPParteArrayNaoUsado<PP_CAMPO_DO_REGISTRO(campoQtd),             \
                                                PP_CAMPO_DO_REGISTRO(campoArray),           \
                                                PPParteArrayNaoUsado<                       \
                                                    PP_CAMPO_DE(R, campoQtdDoElemento),     \
                                                    PP_CAMPO_DE(R, campoArrayDoElemento)>>)

// GetNome/SetNome of field `campo` of a compact record, which CopiarDe fills from field
// `campoOrigem` of the other module's record (the class's Origem); the field's own type.
#define PP_CAMPO_DA_ORIGEM(Nome, campo, campoOrigem) \
  PP_CAMPO(Nome, campo)                               \
  PP_PARTE_DA_ORIGEM(Nome, campo, campoOrigem)

// The same in the type that the class declares for it.
#define PP_CAMPO_COMO_DA_ORIGEM(Tipo, Nome, campo, campoOrigem) \
  PP_CAMPO_COMO(Tipo, Nome, campo)                               \
  PP_PARTE_DA_ORIGEM(Nome, campo, campoOrigem)

#define PP_PARTE_DA_ORIGEM(Nome, campo, campoOrigem)                        \
  PP_PARTE_DECLARADA(Nome, PPParteCampoDaOrigem<PP_CAMPO_DO_REGISTRO(campo), \
                                                PP_CAMPO_DE(Origem, campoOrigem)>)

// A child list X of element E of a class with a compact record, rebuilt by CopiarDe from the
// count field and array field of the other module's record.
#define PP_LISTA_DA_ORIGEM(X, E, campoQtdOrigem, campoArrayOrigem)                 \
 public:                                                                           \
  PP_MEMBROS_DE_LISTA(X, E, parte##X##_.lista)                                     \
  PP_PARTE_DECLARADA(X, PPParteListaDaOrigem<E, PP_CAMPO_DE(Origem, campoQtdOrigem), \
                                             PP_CAMPO_DE(Origem, campoArrayOrigem)>)

// GetNome/SetNome of a text of any length kept beside the record (the setter keeps the whole text).
#define PP_TEXTO_LIVRE(Nome)                                                  \
 public:                                                                      \
  CString Get##Nome() const { return parte##Nome##_.texto; }                  \
  void Set##Nome(const char* texto) { parte##Nome##_.texto = texto; }         \
  PP_PARTE_DECLARADA(Nome, PPParteTextoLivre)

// The parts of the class, in the order in which clearing, copying, CopiarPara, CopiarDe and the
// releases visit them (the order of the record's count fields, embedded objects first). Every part
// that the class declares must be named here, once: a part left out does not compile (see
// PP_PARTE_DECLARADA), nor does a name given twice.
#define PP_PARTES(...)                                                  \
 private:                                                               \
  template <class, class, PPSentido, class>                             \
  friend class PPDados;                                                 \
  static constexpr auto Partes() {                                      \
    return std::make_tuple(PP_PARA_CADA(PP_PARTE, __VA_ARGS__));        \
  }                                                                     \
  enum { PP_PARA_CADA(PP_NOMEIA, __VA_ARGS__) };                        \
                                                                        \
 public:

#define PP_PARTE(X) &Classe::parte##X##_
#define PP_NOMEIA(X) PP_PARTES_nomeia_##X

// F(a), F(b), ... for up to 10 arguments.
#define PP_PARA_CADA(F, ...) PP_JUNTA(PP_PARA_CADA_, PP_CONTA(__VA_ARGS__))(F, __VA_ARGS__)
#define PP_JUNTA(a, b) PP_JUNTA_(a, b)
#define PP_JUNTA_(a, b) a##b
#define PP_CONTA(...) PP_CONTA_(__VA_ARGS__, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0)
#define PP_CONTA_(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, n, ...) n
#define PP_PARA_CADA_1(F, a) F(a)
#define PP_PARA_CADA_2(F, a, ...) F(a), PP_PARA_CADA_1(F, __VA_ARGS__)
#define PP_PARA_CADA_3(F, a, ...) F(a), PP_PARA_CADA_2(F, __VA_ARGS__)
#define PP_PARA_CADA_4(F, a, ...) F(a), PP_PARA_CADA_3(F, __VA_ARGS__)
#define PP_PARA_CADA_5(F, a, ...) F(a), PP_PARA_CADA_4(F, __VA_ARGS__)
#define PP_PARA_CADA_6(F, a, ...) F(a), PP_PARA_CADA_5(F, __VA_ARGS__)
#define PP_PARA_CADA_7(F, a, ...) F(a), PP_PARA_CADA_6(F, __VA_ARGS__)
#define PP_PARA_CADA_8(F, a, ...) F(a), PP_PARA_CADA_7(F, __VA_ARGS__)
#define PP_PARA_CADA_9(F, a, ...) F(a), PP_PARA_CADA_8(F, __VA_ARGS__)
#define PP_PARA_CADA_10(F, a, ...) F(a), PP_PARA_CADA_9(F, __VA_ARGS__)
