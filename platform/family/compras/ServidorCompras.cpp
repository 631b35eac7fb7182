#include "platform/family/compras/ServidorCompras.h"

ServidorCompras::ServidorCompras()
    : ModuloFamilia("QVServidorCM", "CM"),
      RegistroEntrada(AdicionaClasse<ObjetoRegistroSessao<IQVCM_RegistroEntrada, _REG_CM_INICIALIZA_ENTRADAPS>>(
          "QVCM_RegistroEntrada", CLSID_QVCM_RegistroEntrada, IID_IQVCM_RegistroEntrada)) {}
