#include "platform/family/filiais/ServidorFiliais.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/family/comum/TabelaFamilia.h"

namespace {

const char kArquivoEmpresa[] = "EMPRESA.DAT";

TabelaFamilia TabelaEmpresa(const std::string& diretorio) {
  return TabelaFamilia(diretorio + kArquivoEmpresa, sizeof(_REG_CN_EMPRESAPS));
}

// A company whose record was never written is not one this server holds.
HRESULT LeEmpresa(const std::string& diretorio, _REG_CN_EMPRESAPS& registro) {
  TabelaFamilia::Registros registros;
  if (const HRESULT hr = TabelaEmpresa(diretorio).Le(registros); FAILED(hr)) return hr;
  if (registros.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  std::memcpy(&registro, registros.front().data(), sizeof registro);
  return S_OK;
}

bool SessaoDeProducao(const _REG_CN_INICIALIZAPS& registro) {
  return registro.lReservado24 == 0 && registro.usReservado32 == 0 &&
         registro.usParametro == kCNParametroProducao && registro.usReservado38 == 0;
}

class QVCN_Filial : public ObjetoEmpresaUsuarioSessao<IQVCN_Filial> {
 public:
  using ObjetoEmpresaUsuarioSessao::ObjetoEmpresaUsuarioSessao;
  HRESULT InicializaEmpresa(_REG_CN_INICIALIZAPS regInicializa, _REG_CN_EMPRESAPS* pRegEmpresa) override {
    return IniciaSessao(RecebidoDeRegistro("InicializaEmpresa", regInicializa),
                        pRegEmpresa && EmpresaTerminada(regInicializa) && SessaoDeProducao(regInicializa),
                        [pRegEmpresa](const std::string& diretorio) { return LeEmpresa(diretorio, *pRegEmpresa); });
  }
};

}  // namespace

ServidorFiliais::ServidorFiliais()
    : ModuloFamilia("QVServidorCN", "CN"),
      Filial(AdicionaClasse<QVCN_Filial>("QVCN_Filial", CLSID_QVCN_Filial, IID_IQVCN_Filial)) {}

HRESULT ServidorFiliais::GravaEmpresa(const std::string& empresa, const std::string& razaoSocial) {
  const std::string diretorio = DiretorioModuloEmpresa(empresa, "CN");
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  TabelaFamilia::Registro registro(sizeof(_REG_CN_EMPRESAPS), 0);
  std::memcpy(registro.data() + offsetof(_REG_CN_EMPRESAPS, szRazaoSocial), razaoSocial.data(),
              std::min(razaoSocial.size(), sizeof(_REG_CN_EMPRESAPS::szRazaoSocial) - 1));
  return TabelaEmpresa(diretorio).Grava({registro});
}
