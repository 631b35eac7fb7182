#include "platform/family/filiais/ServidorFiliais.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/comum/TabelaFamilia.h"

namespace {

const char kArquivoEmpresa[] = "EMPRESA.DAT";
const char kArquivoFiliais[] = "FILIAIS.DAT";
const char kArquivoParametros[] = "PARAMFIL.DAT";
const char kArquivoPeriodo[] = "PERIODO.DAT";

using RegistroFilial = __MIDL___MIDL_itf_Brisel_0000_0003;

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

  HRESULT LeParametros(_REG_CN_PARAMETROSPS* pRegParametros) override {
    if (const HRESULT hr = Entrada("LeParametros"); FAILED(hr)) return hr;
    if (!pRegParametros) return E_POINTER;
    return LeRegistroUnicoFamilia(Tabela(kArquivoParametros, sizeof *pRegParametros), pRegParametros);
  }

  HRESULT Existe(BSTR bsCodigo, int32_t* plPonteiro) override {
    if (const HRESULT hr = Entrada("Existe"); FAILED(hr)) return hr;
    if (!plPonteiro) return E_POINTER;
    const std::string codigo = TextoFamilia(bsCodigo);
    std::vector<RegistroFilial> filiais;
    if (const HRESULT hr = LeTodosFamilia(Tabela(kArquivoFiliais, sizeof(RegistroFilial)), filiais); FAILED(hr))
      return hr;
    for (size_t i = 0; i < filiais.size(); ++i) {
      if (IguaisSemCaixaFamilia(TextoCampoFamilia(filiais[i].szCodigo, sizeof filiais[i].szCodigo), codigo)) {
        *plPonteiro = static_cast<int32_t>(i + 1);
        return S_OK;
      }
    }
    return kFamiliaNaoEncontrado;
  }

  HRESULT BuscaQuantidade(uint16_t* pusQuantidade) override {
    if (const HRESULT hr = Entrada("BuscaQuantidade"); FAILED(hr)) return hr;
    if (!pusQuantidade) return E_POINTER;
    uint32_t quantidade = 0;
    if (const HRESULT hr = ContaRegistrosFamilia(Tabela(kArquivoFiliais, sizeof(RegistroFilial)), quantidade);
        FAILED(hr))
      return hr;
    *pusQuantidade = static_cast<uint16_t>(quantidade);
    return S_OK;
  }

  HRESULT Le(int32_t lPonteiro, RegistroFilial* pRegFilial) override {
    if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
    if (!pRegFilial) return E_POINTER;
    return LeRegistroFamilia(Tabela(kArquivoFiliais, sizeof *pRegFilial), lPonteiro, pRegFilial);
  }

  HRESULT LePeriodoAberto(_REG_CN_PERIODOPS* pRegPeriodo) override {
    if (const HRESULT hr = Entrada("LePeriodoAberto"); FAILED(hr)) return hr;
    if (!pRegPeriodo) return E_POINTER;
    return LeRegistroUnicoFamilia(Tabela(kArquivoPeriodo, sizeof *pRegPeriodo), pRegPeriodo);
  }

 private:
  TabelaFamilia Tabela(const char* arquivo, uint32_t tamanho) const {
    return TabelaFamilia(Sessao().diretorio + arquivo, tamanho);
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

HRESULT ServidorFiliais::GravaFiliais(const std::string& empresa,
                                      const std::vector<__MIDL___MIDL_itf_Brisel_0000_0003>& filiais) {
  return SemeiaTabelaFamilia(empresa, "CN", kArquivoFiliais, sizeof(RegistroFilial), RegistrosFamilia(filiais));
}

HRESULT ServidorFiliais::GravaParametros(const std::string& empresa, const _REG_CN_PARAMETROSPS& parametros) {
  return SemeiaTabelaFamilia(empresa, "CN", kArquivoParametros, sizeof parametros, RegistrosFamilia(std::vector{parametros}));
}

HRESULT ServidorFiliais::GravaPeriodo(const std::string& empresa, const _REG_CN_PERIODOPS& periodo) {
  return SemeiaTabelaFamilia(empresa, "CN", kArquivoPeriodo, sizeof periodo, RegistrosFamilia(std::vector{periodo}));
}
