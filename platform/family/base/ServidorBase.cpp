#include "platform/family/base/ServidorBase.h"

#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/RequisicaoInternaDF.h"
#include "platform/family/base/UsuarioDF.h"

ServidorBase::ServidorBase()
    : ModuloFamilia("QVServidorDF", "DF"),
      Usuario(AdicionaClasse<QVDF_Usuario>("QVDF_Usuario", CLSID_QVDF_Usuario, IID_IQVDF_Usuario)),
      Produto(AdicionaClasse<QVDF_Produto>(
          "QVDF_Produto", CLSID_QVDF_Produto, IID_IQVDF_Produto)),
      GradesProduto(AdicionaClasse<QVDF_GradesProduto>(
          "QVDF_GradesProduto", CLSID_QVDF_GradesProduto, IID_IQVDF_GradesProduto)),
      Plano(AdicionaClasse<QVDF_Plano>("QVDF_Plano", CLSID_QVDF_Plano, IID_IQVDF_Plano)),
      Requerente(AdicionaClasse<QVDF_Requerente>("QVDF_Requerente", CLSID_QVDF_Requerente, IID_IQVDF_Requerente)),
      Municipio(AdicionaClasse<QVDF_Municipio>("QVDF_Municipio", CLSID_QVDF_Municipio, IID_IQVDF_Municipio)),
      CTG(AdicionaClasse<QVDF_CTG>("QVDF_CTG", CLSID_QVDF_CTG, IID_IQVDF_CTG)),
      EstrCodBar(AdicionaClasse<QVDF_EstrCodBar>("QVDF_EstrCodBar", CLSID_QVDF_EstrCodBar,
                                                 IID_IQVDF_EstrCodBar)),
      Mensagem(AdicionaClasse<QVDF_Mensagem>("QVDF_Mensagem", CLSID_QVDF_Mensagem, IID_IQVDF_Mensagem)),
      RequisicaoInterna(AdicionaClasse<QVDF_RequisicaoInterna>(
          "QVDF_RequisicaoInterna", CLSID_QVDF_RequisicaoInterna, IID_IQVDF_RequisicaoInterna)),
      Feriado(AdicionaClasse<QVDF_Feriado>("QVDF_Feriado", CLSID_QVDF_Feriado, IID_IQVDF_Feriado)),
      NotasFiscais(AdicionaClasse<QVDF_NotasFiscais>("QVDF_NotasFiscais", CLSID_QVDF_NotasFiscais,
                                                     IID_IQVDF_NotasFiscais)) {}
