#include "model/CPPArrayProcesso.h"

#include "platform/com/taskmem.h"

CPPArrayProcesso::~CPPArrayProcesso() {
  for (int i = 0; i < GetSize(); ++i) {
    _REG_VARMO_PROCESSOPS& processo = ElementAt(i);
    if (processo.pregRecursos != nullptr && processo.usQtdRecursos > 0) {
      for (int r = 0; r < processo.usQtdRecursos; ++r) {
        _REG_PP_PROCESSO_RECURSOPS& recurso = processo.pregRecursos[r];
        CoTaskMemFree(recurso.pregParadas);
        recurso.pregParadas = nullptr;
        recurso.usQtdParadas = 0;
      }
    }
    CoTaskMemFree(processo.pregRecursos);
  }
}
