#include "platform/family/base/ServidorBase.h"

namespace {

bool PlanoNomeado(const _REG_DF_INICIALIZA_PLANOPS& registro) {
  return registro.cTipoPlano == kPlanoGerencial || registro.cTipoPlano == kPlanoContabil;
}

class QVDF_Feriado : public ObjetoFamilia<IQVDF_Feriado> {
 public:
  using ObjetoFamilia::ObjetoFamilia;
  HRESULT Inicializa(BSTR bsEmpresa) override {
    InicializacaoFamilia recebida;
    recebida.metodo = "Inicializa";
    recebida.empresa = TextoFamilia(bsEmpresa);
    return IniciaSessao(std::move(recebida), true);
  }
};

class QVDF_EstrCodBar : public ObjetoFamilia<IQVDF_EstrCodBar> {
 public:
  using ObjetoFamilia::ObjetoFamilia;
  HRESULT Inicializa() override { return IniciaSemSessao({"Inicializa", {}, {}, 0, 0, 0}); }
};

}  // namespace

ServidorBase::ServidorBase()
    : ModuloFamilia("QVServidorDF", "DF"),
      Usuario(AdicionaClasse<ObjetoRegistroSessao<IQVDF_Usuario, _REG_DF_INICIALIZA_USUARIOPS>>(
          "QVDF_Usuario", CLSID_QVDF_Usuario, IID_IQVDF_Usuario)),
      Produto(AdicionaClasse<ObjetoEmpresaUsuarioSessao<IQVDF_Produto>>(
          "QVDF_Produto", CLSID_QVDF_Produto, IID_IQVDF_Produto)),
      GradesProduto(AdicionaClasse<ObjetoEmpresaUsuarioSessao<IQVDF_GradesProduto>>(
          "QVDF_GradesProduto", CLSID_QVDF_GradesProduto, IID_IQVDF_GradesProduto)),
      Plano(AdicionaClasse<ObjetoRegistroSessao<IQVDF_Plano, _REG_DF_INICIALIZA_PLANOPS, &PlanoNomeado>>(
          "QVDF_Plano", CLSID_QVDF_Plano, IID_IQVDF_Plano)),
      Requerente(AdicionaClasse<ObjetoRegistroSessao<IQVDF_Requerente, _REG_DF_INICIALIZA_REQUERENTEPS>>(
          "QVDF_Requerente", CLSID_QVDF_Requerente, IID_IQVDF_Requerente)),
      Municipio(AdicionaClasse<ObjetoEmpresaUsuarioSessao<IQVDF_Municipio>>(
          "QVDF_Municipio", CLSID_QVDF_Municipio, IID_IQVDF_Municipio)),
      CTG(AdicionaClasse<ObjetoRegistroSessao<IQVDF_CTG, _REG_DF_INICIALIZA_CTGPS>>(
          "QVDF_CTG", CLSID_QVDF_CTG, IID_IQVDF_CTG)),
      EstrCodBar(AdicionaClasse<QVDF_EstrCodBar>("QVDF_EstrCodBar", CLSID_QVDF_EstrCodBar,
                                                 IID_IQVDF_EstrCodBar)),
      Mensagem(AdicionaClasse<ObjetoEmpresaUsuarioSessao<IQVDF_Mensagem>>(
          "QVDF_Mensagem", CLSID_QVDF_Mensagem, IID_IQVDF_Mensagem)),
      RequisicaoInterna(AdicionaClasse<ObjetoEmpresaUsuarioSessao<IQVDF_RequisicaoInterna>>(
          "QVDF_RequisicaoInterna", CLSID_QVDF_RequisicaoInterna, IID_IQVDF_RequisicaoInterna)),
      Feriado(AdicionaClasse<QVDF_Feriado>("QVDF_Feriado", CLSID_QVDF_Feriado, IID_IQVDF_Feriado)),
      NotasFiscais(AdicionaClasse<ObjetoRegistroSessao<IQVDF_NotasFiscais, _REG_DF_INICIALIZA_NOTASFISCAISPS>>(
          "QVDF_NotasFiscais", CLSID_QVDF_NotasFiscais, IID_IQVDF_NotasFiscais)) {}
