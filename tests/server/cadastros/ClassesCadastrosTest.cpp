// The master-data classes through COM: created by activation from the registered server, each
// refuses an interface version other than 64 and stays uninitialised, forwards its methods to its
// handler, keeps the handler's filter across Existe and answers FuncaoGenerica as the frame says.
// No task-allocator block is left.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/apartment.h"
#include "platform/com/bstr.h"
#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "server/idl/Varmo.h"
#include "tests/server/cadastros/EmpresaCadastros.h"

namespace {

constexpr HRESULT kVersaoRecusada = static_cast<HRESULT>(0x8004068D);
constexpr HRESULT kNaoInicializado = PPErroHResult(1585);
constexpr HRESULT kSemFuncao = static_cast<HRESULT>(0x80040001);

class ClassesCadastros : public EmpresaCadastros {
 protected:
  void SetUp() override {
    EmpresaCadastros::SetUp();
    RegistraServidor();
  }

  // An object of the class through CoCreateInstanceEx, refusing version 63 before it accepts 64.
  template <class Interface>
  Interface* Cria(REFCLSID clsid, REFIID iid) {
    MULTI_QI resultado{&iid, nullptr, E_FAIL};
    EXPECT_EQ(CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado), S_OK);
    EXPECT_EQ(resultado.hr, S_OK);
    auto* objeto = static_cast<Interface*>(static_cast<void*>(resultado.pItf));
    if (!objeto) return nullptr;
    EXPECT_EQ(objeto->Inicializa(SessaoTeste(), 63), kVersaoRecusada);
    EXPECT_EQ(objeto->LimpaFiltro(), kNaoInicializado) << "a refused version leaves it uninitialised";
    EXPECT_EQ(objeto->Inicializa(SessaoTeste(), 64), S_OK);
    return objeto;
  }

  template <class Registro>
  static Registro Novo(const char* codigo) {
    Registro registro{};
    std::strcpy(registro.szCodigo, codigo);
    std::strcpy(registro.szDescricao, "Primeiro");
    return registro;
  }

  // Existe through the class with the filter off, the filter left as it was found.
  template <class Interface, class Ponteiro, class Lista>
  void ExisteGuardaFiltro(Interface* objeto, Ponteiro esperado) {
    BSTR codigo = SysAllocString(u"c01");
    Ponteiro ponteiro = 0;
    EXPECT_EQ(objeto->Existe(codigo, &ponteiro, 1), S_OK);
    EXPECT_EQ(ponteiro, Ponteiro{0}) << "the filter hides it";
    EXPECT_EQ(objeto->Existe(codigo, &ponteiro, 0), S_OK);
    EXPECT_EQ(ponteiro, esperado);
    SysFreeString(codigo);
    Lista lista{};
    EXPECT_EQ(objeto->BuscaPonteiros(&lista), S_OK);
    EXPECT_EQ(lista.lQtd, decltype(lista.lQtd){0}) << "the filter is still set";
  }
};

TEST_F(ClassesCadastros, ProcessesAndOrderTypesForwardTheirMethods) {
  IQVPP_Processo* processo = Cria<IQVPP_Processo>(CLSID_QVPP_Processo, IID_IQVPP_Processo);
  ASSERT_NE(processo, nullptr);
  int32_t ponteiro = 0;
  auto registro = Novo<_REG_VARMO_PROCESSOPS>("C01");
  registro.cAtivo = 1;
  ASSERT_EQ(processo->Grava(0, registro, &ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 1);
  _REG_VARMO_FILTROPS filtro{};
  filtro.cAtivo = 2;
  ASSERT_EQ(processo->SetFiltro(filtro), S_OK);
  ExisteGuardaFiltro<IQVPP_Processo, int32_t, _REG_VARMO_PONTEIROSPS>(processo, 1);
  _REG_VARMO_PROCESSOPS lido{};
  ASSERT_EQ(processo->LePonteiros(1, &ponteiro, &lido, 0), S_OK);
  EXPECT_STREQ(lido.szCodigo, "C01");
  EXPECT_EQ(lido.lPosicao, 1);
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(processo->FuncaoGenerica(1, {0, nullptr}, &saida), kSemFuncao);
  EXPECT_EQ(saida, nullptr);
  EXPECT_EQ(processo->Release(), 0u);

  IQVPP_TipoOP* tipo = Cria<IQVPP_TipoOP>(CLSID_QVPP_TipoOP, IID_IQVPP_TipoOP);
  ASSERT_NE(tipo, nullptr);
  auto tipoOP = Novo<_REG_VARMO_TIPO_OPPS>("C01");
  tipoOP.cAtivo = 1;
  tipoOP.lUltimaOP = 100;
  ASSERT_EQ(tipo->Grava(0, tipoOP, &ponteiro), S_OK);
  uint32_t numero = 0;
  ASSERT_EQ(tipo->IncrementaOP(ponteiro, &numero), S_OK);
  EXPECT_EQ(numero, 101u);
  _REG_LISTA_PERMISSOES_USUARIO_OPPS permissoes{};
  ASSERT_EQ(tipo->BuscaListaPermissoes(&permissoes), S_OK);
  ASSERT_EQ(permissoes.lQuantidade, 1) << "user 7 has full access";
  EXPECT_EQ(permissoes.pRegPermissoes[0].lPonteiroTipoOP, 1);
  EXPECT_EQ(permissoes.pRegPermissoes[0].cManutencao, 1);
  CoTaskMemFree(permissoes.pRegPermissoes);
  ASSERT_EQ(tipo->SetFiltro(filtro), S_OK);
  ExisteGuardaFiltro<IQVPP_TipoOP, int32_t, _REG_VARMO_PONTEIROSPS>(tipo, 1);
  EXPECT_EQ(tipo->FuncaoGenerica(1, {0, nullptr}, &saida), kSemFuncao);
  EXPECT_EQ(tipo->Release(), 0u);
}

TEST_F(ClassesCadastros, ResourcesResourceTypesAndOperationsForwardTheirMethods) {
  IQVPP_Recursos* recursos = Cria<IQVPP_Recursos>(CLSID_QVPP_Recursos, IID_IQVPP_Recursos);
  ASSERT_NE(recursos, nullptr);
  int32_t ponteiro = 0;
  auto recurso = Novo<_REG_PP_RECURSOPS>("C01");
  recurso.cAtivo = 1;
  ASSERT_EQ(recursos->Grava(0, recurso, &ponteiro), S_OK);
  _REG_PP_FILTRO_RECURSOPS filtroRecurso{};
  filtroRecurso.cAtivo = 2;
  ASSERT_EQ(recursos->SetFiltro(filtroRecurso), S_OK);
  ExisteGuardaFiltro<IQVPP_Recursos, int32_t, _REG_VARMO_PONTEIROSPS>(recursos, 1);
  _REG_PP_RECURSOPS lido{};
  ASSERT_EQ(recursos->LePonteiros(1, &ponteiro, &lido, 0), S_OK);
  EXPECT_STREQ(lido.szCodigo, "C01");
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(recursos->FuncaoGenerica(1, {0, nullptr}, &saida), S_OK) << "resources answer 0";
  EXPECT_EQ(saida, nullptr);
  EXPECT_EQ(recursos->Release(), 0u);

  IQVPP_TipoRecurso* tipos = Cria<IQVPP_TipoRecurso>(CLSID_QVPP_TipoRecurso, IID_IQVPP_TipoRecurso);
  ASSERT_NE(tipos, nullptr);
  uint32_t ulPonteiro = 0;
  ASSERT_EQ(tipos->Grava(0, Novo<_REG_PP_TIPO_RECURSOPS>("C01"), &ulPonteiro), S_OK);
  EXPECT_EQ(ulPonteiro, 1u);
  _REG_PP_FILTRO_TIPO_RECURSOPS filtroTipo{};
  filtroTipo.cInativo = 1;
  ASSERT_EQ(tipos->SetFiltro(filtroTipo), S_OK);
  ExisteGuardaFiltro<IQVPP_TipoRecurso, uint32_t, _REG_VARMO_PONTEIROS_ULONGPS>(tipos, 1u);
  _REG_PP_TIPO_RECURSOPS tipoLido{};
  ASSERT_EQ(tipos->LePonteiros(1, &ulPonteiro, &tipoLido, 0), S_OK);
  EXPECT_STREQ(tipoLido.szCodigo, "C01");
  EXPECT_EQ(tipos->FuncaoGenerica(1, {0, nullptr}, &saida), kSemFuncao);
  EXPECT_EQ(tipos->Release(), 0u);

  IQVPP_OperacaoProducao* operacoes =
      Cria<IQVPP_OperacaoProducao>(CLSID_QVPP_OperacaoProducao, IID_IQVPP_OperacaoProducao);
  ASSERT_NE(operacoes, nullptr);
  auto operacao = Novo<_REG_VARMO_OPERACAO_PRODUCAOPS>("C01");
  operacao.cAtivo = 1;
  ASSERT_EQ(operacoes->Grava(0, operacao, &ponteiro), S_OK);
  _REG_PP_FILTRO_OPERACAO_PRODUCAOPS filtroOperacao{};
  filtroOperacao.cAtivo = 2;
  ASSERT_EQ(operacoes->SetFiltro(filtroOperacao), S_OK);
  ExisteGuardaFiltro<IQVPP_OperacaoProducao, int32_t, _REG_VARMO_PONTEIROSPS>(operacoes, 1);
  BSTR detalhe = SysAllocString(u"Detalhe");
  ASSERT_EQ(operacoes->GravaDetalhe(1, detalhe), S_OK);
  SysFreeString(detalhe);
  BSTR lido2 = nullptr;
  ASSERT_EQ(operacoes->LeDetalhe(1, &lido2), S_OK);
  EXPECT_EQ(std::u16string(lido2, SysStringLen(lido2)), u"Detalhe");
  SysFreeString(lido2);
  EXPECT_EQ(operacoes->FuncaoGenerica(1, {0, nullptr}, &saida), kSemFuncao);
  EXPECT_EQ(operacoes->Release(), 0u);
}

// Collections and scrap reasons: the same walk through each class, the filter hiding the record.
TEST_F(ClassesCadastros, CollectionsAndScrapReasonsForwardTheirMethods) {
  auto percorre = [this](auto* objeto, auto registro, auto filtroQueEsconde) {
    using Interface = std::remove_pointer_t<decltype(objeto)>;
    ASSERT_NE(objeto, nullptr);
    int32_t ponteiro = 0;
    ASSERT_EQ(objeto->Grava(0, registro, &ponteiro), S_OK);
    EXPECT_EQ(ponteiro, 1);
    ASSERT_EQ(objeto->SetFiltro(filtroQueEsconde), S_OK);
    this->template ExisteGuardaFiltro<Interface, int32_t, _REG_VARMO_PONTEIROSPS>(objeto, 1);
    ASSERT_EQ(objeto->LimpaFiltro(), S_OK);
    decltype(registro) lido{};
    ASSERT_EQ(objeto->Le(1, &lido), S_OK);
    EXPECT_STREQ(lido.szCodigo, "C01");
    ASSERT_EQ(objeto->Remove(1), S_OK);
    ASSERT_EQ(objeto->LePonteiros(1, &ponteiro, &lido), S_OK) << "a removed record still reads";
    EXPECT_EQ(lido.lPosicao, 1);
    EXPECT_EQ(objeto->Remove(0), PPErroHResult(1587));
    _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
    EXPECT_EQ(objeto->FuncaoGenerica(1, {0, nullptr}, &saida), kSemFuncao);
    EXPECT_EQ(saida, nullptr);
    EXPECT_EQ(objeto->Finaliza(), S_OK);
    EXPECT_EQ(objeto->Remove(1), kNaoInicializado);
    EXPECT_EQ(objeto->Release(), 0u);
  };
  auto colecao = Novo<_REG_PP_COLECAOPS>("C01");
  colecao.cSituacao = 1;
  percorre(Cria<IQVPP_Colecao>(CLSID_QVPP_Colecao, IID_IQVPP_Colecao), colecao, _REG_PP_FILTRO_COLECAOPS{2, {}});
  auto motivo = Novo<_REG_PP_MOTIVO_REFUGOPS>("C01");
  motivo.cAtivo = 'I';
  percorre(Cria<IQVPP_MotivoRefugo>(CLSID_QVPP_MotivoRefugo, IID_IQVPP_MotivoRefugo), motivo,
           _REG_PP_FILTRO_MOTIVO_REFUGOPS{'A', {}});
  EXPECT_EQ(Linhas(), (std::vector<LinhaCadastro>{{'I', "Projeto: C01 - Primeiro"},
                                                  {'E', "Projeto: C01 - Primeiro"},
                                                  {'I', "Motivo Refugo: C01 - Primeiro"},
                                                  {'E', "Motivo Refugo: C01 - Primeiro"}}));
}

}  // namespace
