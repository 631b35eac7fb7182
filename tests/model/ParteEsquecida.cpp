// A data class with two lists, of which PP_PARTES names the second only when
// PP_TESTE_NOMEIA_O_ITEM is defined. Built with it, the source compiles (every build does so);
// built without it, it must fail and name the list that PP_PARTES left out
// (PP_PARTES_nomeia_Item): CTest builds it that way and looks for the name in the compiler's
// output.
#include <cstdint>

#include "model/PPDadosBase.h"

#pragma pack(push, 2)
struct RegistroDoFilho {
  int32_t lValor;
};
struct RegistroDoPai {
  uint16_t usQtdProcessos;
  RegistroDoFilho* pregProcessos;
  uint16_t usQtdItens;
  RegistroDoFilho* pregItens;
};
#pragma pack(pop)

class CPPDadosFilho : public PPDados<CPPDadosFilho, RegistroDoFilho> {
 public:
  PP_CAMPO(Valor, lValor)
};

class CPPDadosPai : public PPDados<CPPDadosPai, RegistroDoPai> {
 public:
  PP_LISTA(Processo, CPPDadosFilho, usQtdProcessos, pregProcessos)
  PP_LISTA(Item, CPPDadosFilho, usQtdItens, pregItens)
#ifdef PP_TESTE_NOMEIA_O_ITEM
  PP_PARTES(Processo, Item)
#else
  PP_PARTES(Processo)
#endif
};

// Instantiates what a forgotten part would silently skip.
template class PPDados<CPPDadosFilho, RegistroDoFilho>;
template class PPDados<CPPDadosPai, RegistroDoPai>;
