#include "platform/family/compras/ServidorCompras.h"

#include "platform/family/comum/ConsultaFamilia.h"

namespace {

const char kArquivoEntradas[] = "ENTRADAS.DAT";

class QVCM_RegistroEntrada : public ObjetoRegistroSessao<IQVCM_RegistroEntrada, _REG_CM_INICIALIZA_ENTRADAPS> {
 public:
  using ObjetoRegistroSessao::ObjetoRegistroSessao;
  HRESULT LeLight(uint32_t ulChave, tagREG_ENTRADA_LIGHTPS* pRegEntrada) override {
    if (const HRESULT hr = Entrada("LeLight"); FAILED(hr)) return hr;
    if (!pRegEntrada) return E_POINTER;
    std::vector<EntradaCM> entradas;
    if (const HRESULT hr = LeTodosFamilia(TabelaFamilia(Sessao().diretorio + kArquivoEntradas, sizeof(EntradaCM)), entradas);
        FAILED(hr))
      return hr;
    for (const EntradaCM& entrada : entradas) {
      if (entrada.ulChave == ulChave) {
        *pRegEntrada = entrada.regEntrada;
        return S_OK;
      }
    }
    return kFamiliaNaoEncontrado;
  }
};

}  // namespace

ServidorCompras::ServidorCompras()
    : ModuloFamilia("QVServidorCM", "CM"),
      RegistroEntrada(AdicionaClasse<QVCM_RegistroEntrada>("QVCM_RegistroEntrada", CLSID_QVCM_RegistroEntrada,
                                                           IID_IQVCM_RegistroEntrada)) {}

HRESULT ServidorCompras::GravaEntradas(const std::string& empresa, const std::vector<EntradaCM>& entradas) {
  return SemeiaTabelaFamilia(empresa, "CM", kArquivoEntradas, sizeof(EntradaCM), RegistrosFamilia(entradas));
}
