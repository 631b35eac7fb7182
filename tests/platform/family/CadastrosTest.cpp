// The base system's smaller registers and the purchasing receipts, stood in for: every call answers
// from the seeded files, counts agree with reads, unknown keys fail, the two charts keep apart, and
// each method answers an injected failure.
#include <functional>

#include "platform/com/bstr.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/ServidorBase.h"
#include "platform/family/compras/ServidorCompras.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

_RegContaPS Conta(int32_t numero, const char* codigo, const char* nome) {
  _RegContaPS conta{};
  conta.lIndCon = numero;
  Texto(conta.szCodigoUsado, codigo);
  Texto(conta.szNome, nome);
  return conta;
}

class CadastrosTest : public FamiliaSemeada<ServidorBase> {
 protected:
  void SetUp() override {
    FamiliaSemeada<ServidorBase>::SetUp();
    // Account 10 lies in both charts under other names; 20 only in the ledger chart.
    ASSERT_EQ(GravaContasDF("TESTE", kPlanoGerencial, {Conta(10, "CC-10", "Centro de custo")}), S_OK);
    ASSERT_EQ(GravaContasDF("TESTE", kPlanoContabil, {Conta(10, "1.1", "Caixa"), Conta(20, "2.1", "Fornecedores")}),
              S_OK);
    _REG_DF_CONFIGURACAO_PLANOPS configuracao{};
    configuracao.cModoParticipante = 'S';
    ASSERT_EQ(GravaConfiguracaoPlanoDF("TESTE", kPlanoContabil, configuracao), S_OK);
    configuracao.cModoParticipante = 'N';
    ASSERT_EQ(GravaConfiguracaoPlanoDF("TESTE", kPlanoGerencial, configuracao), S_OK);

    std::vector<tagREG_REQUERENTEPS> requerentes(2);
    std::memset(requerentes.data(), 0, requerentes.size() * sizeof(tagREG_REQUERENTEPS));
    requerentes[0].lPosicao = 5;
    requerentes[0].lCodigo = 501;
    Texto(requerentes[0].szApelido, "Almoxarife");
    requerentes[1].lPosicao = 9;
    requerentes[1].lCodigo = 901;
    ASSERT_EQ(GravaRequerentesDF("TESTE", requerentes, {{1, 7, 9}, {2, 7, 5}}), S_OK);

    std::vector<_REG_MUNICIPIO_PS> municipios(3);
    std::memset(municipios.data(), 0, municipios.size() * sizeof(_REG_MUNICIPIO_PS));
    Texto(municipios[2].szNome, "Campinas");
    ASSERT_EQ(GravaMunicipiosDF("TESTE", municipios), S_OK);

    std::vector<_REG_MENSAGEMPS> mensagens(1);
    std::memset(mensagens.data(), 'm', sizeof(_REG_MENSAGEMPS));
    ASSERT_EQ(GravaMensagensDF("TESTE", mensagens), S_OK);

    std::vector<_REG_CATEGORIAS_PS> categorias(2);
    std::memset(categorias.data(), 0, categorias.size() * sizeof(_REG_CATEGORIAS_PS));
    Texto(categorias[0].szCodigo, "COR");
    Texto(categorias[1].szCodigo, "LOTE");
    ASSERT_EQ(GravaCategoriasDF("TESTE", categorias), S_OK);

    // Table 3 holds two holidays, table 4 none; table 5 is not held.
    FeriadoDF natal{3, {9490, 1, {}}};
    FeriadoDF anoNovo{3, {9497, 2, {}}};
    ASSERT_EQ(GravaFeriadosDF("TESTE", {3, 4}, {natal, anoNovo}), S_OK);

    NotaFiscalDF nota{};
    nota.ulChave = 77;
    nota.regNota.lPonteiroCliente = 4321;
    ASSERT_EQ(GravaNotasFiscaisDF("TESTE", {nota}), S_OK);
  }

  template <class Interface, class Registro>
  Interface* Inicializado(REFCLSID clsid, REFIID iid, const Registro& registro) {
    Interface* servidor = Cria<Interface>(clsid, iid);
    if (servidor) {
      EXPECT_EQ(servidor->Inicializa(registro), S_OK);
    }
    return servidor;
  }
  template <class Interface>
  Interface* InicializadoBstr(REFCLSID clsid, REFIID iid) {
    Interface* servidor = Cria<Interface>(clsid, iid);
    if (servidor) {
      const BSTR empresa = SysAllocString(u"TESTE");
      EXPECT_EQ(servidor->Inicializa(empresa, 7, 1234), S_OK);
      SysFreeString(empresa);
    }
    return servidor;
  }
  // The servers of one call each, initialised with the session.
  void CriaServidores() {
    requerente.servidor = Inicializado<IQVDF_Requerente>(CLSID_QVDF_Requerente, IID_IQVDF_Requerente,
                                                         Sessao<_REG_DF_INICIALIZA_REQUERENTEPS>());
    municipio.servidor = InicializadoBstr<IQVDF_Municipio>(CLSID_QVDF_Municipio, IID_IQVDF_Municipio);
    mensagem.servidor = InicializadoBstr<IQVDF_Mensagem>(CLSID_QVDF_Mensagem, IID_IQVDF_Mensagem);
    ctg.servidor = Inicializado<IQVDF_CTG>(CLSID_QVDF_CTG, IID_IQVDF_CTG, Sessao<_REG_DF_INICIALIZA_CTGPS>());
    notas.servidor = Inicializado<IQVDF_NotasFiscais>(CLSID_QVDF_NotasFiscais, IID_IQVDF_NotasFiscais,
                                                      Sessao<_REG_DF_INICIALIZA_NOTASFISCAISPS>());
    ASSERT_TRUE(requerente.servidor && municipio.servidor && mensagem.servidor && ctg.servidor && notas.servidor);
  }
  IQVDF_Plano* Plano(char letra) {
    auto sessao = Sessao<_REG_DF_INICIALIZA_PLANOPS>();
    sessao.cTipoPlano = letra;
    return Inicializado<IQVDF_Plano>(CLSID_QVDF_Plano, IID_IQVDF_Plano, sessao);
  }

  Liberador<IQVDF_Requerente> requerente{nullptr};
  Liberador<IQVDF_Municipio> municipio{nullptr};
  Liberador<IQVDF_Mensagem> mensagem{nullptr};
  Liberador<IQVDF_CTG> ctg{nullptr};
  Liberador<IQVDF_NotasFiscais> notas{nullptr};
};

HRESULT Existe(IQVDF_Plano* plano, const char16_t* codigo, int32_t& conta, _RegContaPS& registro) {
  const BSTR texto = SysAllocString(codigo);
  const HRESULT hr = plano->Existe(texto, &conta, &registro);
  SysFreeString(texto);
  return hr;
}

}  // namespace

TEST_F(CadastrosTest, TheTwoChartsKeepApart) {
  Liberador<IQVDF_Plano> gerencial{Plano(kPlanoGerencial)};
  Liberador<IQVDF_Plano> contabil{Plano(kPlanoContabil)};
  ASSERT_NE(gerencial.servidor, nullptr);
  ASSERT_NE(contabil.servidor, nullptr);

  // The initialisation of the accounting postings: the two calls without output, then the settings.
  EXPECT_EQ(contabil.servidor->Abre(), S_OK);
  EXPECT_EQ(contabil.servidor->Prepara(0, 0), S_OK);
  _REG_DF_CONFIGURACAO_PLANOPS configuracao{};
  ASSERT_EQ(contabil.servidor->LeConfiguracao(&configuracao), S_OK);
  EXPECT_EQ(configuracao.cModoParticipante, 'S');
  ASSERT_EQ(gerencial.servidor->LeConfiguracao(&configuracao), S_OK);
  EXPECT_EQ(configuracao.cModoParticipante, 'N');

  _RegContaPS conta{};
  ASSERT_EQ(gerencial.servidor->Le(10, &conta), S_OK);
  EXPECT_STREQ(conta.szNome, "Centro de custo");
  ASSERT_EQ(contabil.servidor->Le(10, &conta), S_OK);
  EXPECT_STREQ(conta.szNome, "Caixa");
  EXPECT_EQ(gerencial.servidor->Le(20, &conta), kFamiliaNaoEncontrado);
  EXPECT_STREQ(conta.szNome, "Caixa");  // left as it was
  int32_t quantidade = 0;
  ASSERT_EQ(gerencial.servidor->BuscaQuantidade(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 1);
  ASSERT_EQ(contabil.servidor->BuscaQuantidade(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 2);

  int32_t numero = 0;
  ASSERT_EQ(Existe(contabil.servidor, u"2.1", numero, conta), S_OK);
  EXPECT_EQ(numero, 20);
  EXPECT_STREQ(conta.szNome, "Fornecedores");
  ASSERT_EQ(Existe(gerencial.servidor, u"cc-10", numero, conta), S_OK);
  EXPECT_EQ(numero, 10);
  EXPECT_EQ(Existe(gerencial.servidor, u"2.1", numero, conta), kFamiliaNaoEncontrado);
  EXPECT_EQ(Existe(contabil.servidor, u"", numero, conta), kFamiliaNaoEncontrado);

  EXPECT_EQ(GravaContasDF("TESTE", 'X', {}), E_INVALIDARG);
}

TEST_F(CadastrosTest, EveryReadAnswersFromTheFilesAndUnknownKeysFail) {
  ASSERT_NO_FATAL_FAILURE(CriaServidores());

  // Requesters by pointer, and those of a branch and user.
  tagREG_REQUERENTEPS regRequerente{};
  ASSERT_EQ(requerente.servidor->Le(5, &regRequerente), S_OK);
  EXPECT_EQ(regRequerente.lCodigo, 501);
  EXPECT_STREQ(regRequerente.szApelido, "Almoxarife");
  EXPECT_EQ(requerente.servidor->Le(1, &regRequerente), kFamiliaNaoEncontrado);
  _REG_DF_FILTRO_REQUERENTEPS filtro{};
  filtro.usPonteiroFilial = 2;
  filtro.usUsuario = 7;
  _REG_DF_LISTA_REQUERENTESPS lista{};
  ASSERT_EQ(requerente.servidor->BuscaPorUsuario(filtro, &lista), S_OK);
  ASSERT_EQ(lista.ulQtd, 1u);
  EXPECT_EQ(lista.pregRequerentes[0].lPosicao, 5);
  CoTaskMemFree(lista.pregRequerentes);
  filtro.usUsuario = 8;
  ASSERT_EQ(requerente.servidor->BuscaPorUsuario(filtro, &lista), S_OK);
  EXPECT_EQ(lista.ulQtd, 0u);
  EXPECT_EQ(lista.pregRequerentes, nullptr);

  // Municipalities: the count names the pointers.
  uint16_t municipios = 0;
  ASSERT_EQ(municipio.servidor->BuscaQuantidade(&municipios), S_OK);
  ASSERT_EQ(municipios, 3);
  _REG_MUNICIPIO_PS regMunicipio{};
  ASSERT_EQ(municipio.servidor->Le(municipios, &regMunicipio), S_OK);
  EXPECT_STREQ(regMunicipio.szNome, "Campinas");
  EXPECT_EQ(municipio.servidor->Le(municipios + 1, &regMunicipio), kFamiliaNaoEncontrado);

  _REG_MENSAGEMPS regMensagem{};
  ASSERT_EQ(mensagem.servidor->Le(1, &regMensagem), S_OK);
  EXPECT_EQ(regMensagem.cReservado0[523], 'm');
  EXPECT_EQ(mensagem.servidor->Le(2, &regMensagem), kFamiliaNaoEncontrado);

  // Categories: the pointers of all, then their records; one pointer alone as the single reader.
  int32_t quantidade = 0;
  int32_t* ponteiros = nullptr;
  const BSTR vazio = SysAllocString(u"");
  ASSERT_EQ(ctg.servidor->BuscaPonteiros(vazio, vazio, kCategoriasTodas, &quantidade, &ponteiros), S_OK);
  ASSERT_EQ(quantidade, 2);
  int32_t lidas = 0;
  _REG_CATEGORIAS_PS* categorias = nullptr;
  ASSERT_EQ(ctg.servidor->LeRegistros(quantidade, ponteiros, &lidas, &categorias), S_OK);
  ASSERT_EQ(lidas, 2);
  EXPECT_STREQ(categorias[1].szCodigo, "LOTE");
  CoTaskMemFree(categorias);
  int32_t desconhecido = 3;
  EXPECT_EQ(ctg.servidor->LeRegistros(1, &desconhecido, &lidas, &categorias), kFamiliaNaoEncontrado);
  EXPECT_EQ(categorias, nullptr);
  EXPECT_EQ(ctg.servidor->BuscaPonteiros(vazio, vazio, 0, &quantidade, &ponteiros), E_INVALIDARG);
  EXPECT_EQ(ponteiros, nullptr);
  SysFreeString(vazio);

  // Invoices under their keys, with the option that the callers pass.
  tagREG_NOTA_LIGHTPS regNota{};
  ASSERT_EQ(notas.servidor->LeLight(77, &regNota, kNotaFiscalLight), S_OK);
  EXPECT_EQ(static_cast<int32_t>(regNota.lPonteiroCliente), 4321);
  EXPECT_EQ(notas.servidor->LeLight(78, &regNota, kNotaFiscalLight), kFamiliaNaoEncontrado);
  EXPECT_EQ(notas.servidor->LeLight(77, &regNota, 0), E_INVALIDARG);
}

TEST_F(CadastrosTest, HolidaysOfTheSelectedTable) {
  Liberador<IQVDF_Feriado> feriado{Cria<IQVDF_Feriado>(CLSID_QVDF_Feriado, IID_IQVDF_Feriado)};
  ASSERT_NE(feriado.servidor, nullptr);
  const BSTR empresa = SysAllocString(u"TESTE");
  ASSERT_EQ(feriado.servidor->Inicializa(empresa), S_OK);
  SysFreeString(empresa);

  int32_t quantidade = 0;
  EXPECT_EQ(feriado.servidor->BuscaQuantidade(&quantidade), kFamiliaNaoEncontrado);  // none selected
  EXPECT_EQ(feriado.servidor->SelecionaTabela(5), kFamiliaNaoEncontrado);
  ASSERT_EQ(feriado.servidor->SelecionaTabela(4), S_OK);
  ASSERT_EQ(feriado.servidor->BuscaQuantidade(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 0);
  ASSERT_EQ(feriado.servidor->SelecionaTabela(3), S_OK);
  ASSERT_EQ(feriado.servidor->BuscaQuantidade(&quantidade), S_OK);
  ASSERT_EQ(quantidade, 2);
  __MIDL___MIDL_itf_Yarvo_0000_0002 feriados[2]{};
  ASSERT_EQ(feriado.servidor->Le(0, quantidade, feriados), S_OK);
  EXPECT_EQ(feriados[0].iData, 9490);
  EXPECT_EQ(feriados[1].iData, 9497);
  EXPECT_EQ(feriados[1].iTipo, 2);
  EXPECT_EQ(feriado.servidor->Le(1, quantidade, feriados), kFamiliaNaoEncontrado);
}

TEST_F(CadastrosTest, InjectedFailureOfEachMethodIsAnswered) {
  Liberador<IQVDF_Plano> plano{Plano(kPlanoContabil)};
  Liberador<IQVDF_Feriado> feriado{Cria<IQVDF_Feriado>(CLSID_QVDF_Feriado, IID_IQVDF_Feriado)};
  ASSERT_TRUE(plano.servidor && feriado.servidor);
  ASSERT_NO_FATAL_FAILURE(CriaServidores());
  const BSTR empresa = SysAllocString(u"TESTE");
  ASSERT_EQ(feriado.servidor->Inicializa(empresa), S_OK);
  ASSERT_EQ(feriado.servidor->SelecionaTabela(3), S_OK);

  _RegContaPS conta;
  _REG_DF_CONFIGURACAO_PLANOPS configuracao;
  int32_t numero;
  tagREG_REQUERENTEPS regRequerente;
  _REG_DF_LISTA_REQUERENTESPS lista;
  _REG_MUNICIPIO_PS regMunicipio;
  uint16_t curto;
  _REG_MENSAGEMPS regMensagem;
  int32_t* ponteiros = nullptr;
  int32_t um = 1;
  _REG_CATEGORIAS_PS* categorias = nullptr;
  tagREG_NOTA_LIGHTPS regNota;
  __MIDL___MIDL_itf_Yarvo_0000_0002 feriados[2];
  struct Caso {
    ClasseFamilia& classe;
    const char* metodo;
    std::function<HRESULT()> chamada;
  };
  const Caso casos[] = {
      {modulo_.Plano, "Le", [&] { return plano.servidor->Le(10, &conta); }},
      {modulo_.Plano, "LeConfiguracao", [&] { return plano.servidor->LeConfiguracao(&configuracao); }},
      {modulo_.Plano, "BuscaQuantidade", [&] { return plano.servidor->BuscaQuantidade(&numero); }},
      {modulo_.Plano, "Existe", [&] { return Existe(plano.servidor, u"1.1", numero, conta); }},
      {modulo_.Plano, "Prepara", [&] { return plano.servidor->Prepara(0, 0); }},
      {modulo_.Plano, "Abre", [&] { return plano.servidor->Abre(); }},
      {modulo_.Requerente, "Le", [&] { return requerente.servidor->Le(5, &regRequerente); }},
      {modulo_.Requerente, "BuscaPorUsuario",
       [&] {
         const HRESULT hr = requerente.servidor->BuscaPorUsuario({0, 2, 7, {}}, &lista);
         if (SUCCEEDED(hr)) CoTaskMemFree(lista.pregRequerentes);
         return hr;
       }},
      {modulo_.Municipio, "Le", [&] { return municipio.servidor->Le(1, &regMunicipio); }},
      {modulo_.Municipio, "BuscaQuantidade", [&] { return municipio.servidor->BuscaQuantidade(&curto); }},
      {modulo_.Mensagem, "Le", [&] { return mensagem.servidor->Le(1, &regMensagem); }},
      {modulo_.CTG, "BuscaPonteiros",
       [&] {
         const HRESULT hr = ctg.servidor->BuscaPonteiros(nullptr, nullptr, kCategoriasTodas, &numero, &ponteiros);
         CoTaskMemFree(ponteiros);
         return hr;
       }},
      {modulo_.CTG, "LeRegistros",
       [&] {
         const HRESULT hr = ctg.servidor->LeRegistros(1, &um, &numero, &categorias);
         CoTaskMemFree(categorias);
         return hr;
       }},
      {modulo_.NotasFiscais, "LeLight", [&] { return notas.servidor->LeLight(77, &regNota, kNotaFiscalLight); }},
      {modulo_.Feriado, "SelecionaTabela", [&] { return feriado.servidor->SelecionaTabela(3); }},
      {modulo_.Feriado, "BuscaQuantidade", [&] { return feriado.servidor->BuscaQuantidade(&numero); }},
      {modulo_.Feriado, "Le", [&] { return feriado.servidor->Le(0, 2, feriados); }},
  };
  constexpr HRESULT kFalha = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.classe.Nome() + "::" + caso.metodo);
    caso.classe.FalhaMetodo(caso.metodo, 1, kFalha);
    EXPECT_EQ(caso.chamada(), kFalha);
    EXPECT_EQ(caso.chamada(), S_OK);
  }

  // Not initialised.
  Liberador<IQVDF_Plano> novo{Cria<IQVDF_Plano>(CLSID_QVDF_Plano, IID_IQVDF_Plano)};
  ASSERT_NE(novo.servidor, nullptr);
  EXPECT_EQ(novo.servidor->Abre(), kFamiliaNaoInicializado);
  Liberador<IQVDF_Feriado> outro{Cria<IQVDF_Feriado>(CLSID_QVDF_Feriado, IID_IQVDF_Feriado)};
  ASSERT_NE(outro.servidor, nullptr);
  ASSERT_EQ(outro.servidor->Inicializa(empresa), S_OK);
  EXPECT_EQ(outro.servidor->Le(0, 1, feriados), kFamiliaNaoEncontrado);  // the selection is the object's
  SysFreeString(empresa);
}

namespace {

class EntradasTest : public FamiliaSemeada<ServidorCompras> {};

}  // namespace

TEST_F(EntradasTest, ReceiptsAnswerByTheirKeysAndInjectedFailures) {
  EntradaCM entrada{};
  entrada.ulChave = 31;
  entrada.regEntrada.lPonteiroFornecedor = 654;
  Texto(entrada.regEntrada.szNumeroNotaFiscal, "000123");
  ASSERT_EQ(ServidorCompras::GravaEntradas("TESTE", {entrada}), S_OK);
  Liberador<IQVCM_RegistroEntrada> entradas{
      Cria<IQVCM_RegistroEntrada>(CLSID_QVCM_RegistroEntrada, IID_IQVCM_RegistroEntrada)};
  ASSERT_NE(entradas.servidor, nullptr);
  tagREG_ENTRADA_LIGHTPS registro{};
  EXPECT_EQ(entradas.servidor->LeLight(31, &registro), kFamiliaNaoInicializado);
  ASSERT_EQ(entradas.servidor->Inicializa(Sessao<_REG_CM_INICIALIZA_ENTRADAPS>()), S_OK);
  ASSERT_EQ(entradas.servidor->LeLight(31, &registro), S_OK);
  EXPECT_EQ(static_cast<int32_t>(registro.lPonteiroFornecedor), 654);
  EXPECT_STREQ(registro.szNumeroNotaFiscal, "000123");
  EXPECT_EQ(entradas.servidor->LeLight(32, &registro), kFamiliaNaoEncontrado);
  modulo_.RegistroEntrada.FalhaMetodo("LeLight", 1, E_OUTOFMEMORY);
  EXPECT_EQ(entradas.servidor->LeLight(31, &registro), E_OUTOFMEMORY);
  EXPECT_EQ(entradas.servidor->LeLight(31, &registro), S_OK);
}
