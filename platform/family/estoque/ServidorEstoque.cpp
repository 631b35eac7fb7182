#include "platform/family/estoque/ServidorEstoque.h"

namespace {

template <class Interface>
class ObjetoEstoque : public ObjetoFamilia<Interface> {
 public:
  using ObjetoFamilia<Interface>::ObjetoFamilia;
  HRESULT Inicializa(BSTR bsEmpresa, uint16_t usUsuario, int32_t lNumeroSessao, int32_t lModulo) override {
    InicializacaoFamilia recebida = RecebidoDeArgumentos("Inicializa", bsEmpresa, usUsuario, lNumeroSessao);
    recebida.modulo = lModulo;
    return this->IniciaSessao(std::move(recebida), lModulo == kESModuloProducao);
  }
};

}  // namespace

ServidorEstoque::ServidorEstoque()
    : ModuloFamilia("QVServidorES", "ES"),
      Mestre(AdicionaClasse<ObjetoEstoque<IQVES_Mestre>>("QVES_Mestre", CLSID_QVES_Mestre, IID_IQVES_Mestre)),
      Armazenagem(AdicionaClasse<ObjetoEstoque<IQVES_Armazenagem>>("QVES_Armazenagem", CLSID_QVES_Armazenagem,
                                                                   IID_IQVES_Armazenagem)),
      Movimento(AdicionaClasse<ObjetoEstoque<IQVES_Movimento>>("QVES_Movimento", CLSID_QVES_Movimento,
                                                               IID_IQVES_Movimento)) {}
