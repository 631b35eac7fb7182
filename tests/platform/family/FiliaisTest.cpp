// The branch server's stand-in answers from its files: branches by pointer and by code, their
// count, the session's parameters and open period, with both initialisations; what it does not
// hold fails; a change made by another process is seen by the next call.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/com/bstr.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

using RegistroFilial = __MIDL___MIDL_itf_Brisel_0000_0003;

class FiliaisTest : public FamiliaSemeada<ServidorFiliais> {
 protected:
  void SetUp() override {
    FamiliaSemeada<ServidorFiliais>::SetUp();
    std::vector<RegistroFilial> filiais(2);
    std::memset(filiais.data(), 0, filiais.size() * sizeof(RegistroFilial));
    filiais[0].iCodigo = 1;
    Texto(filiais[0].szNomeFantasia, "Matriz");
    Texto(filiais[0].szLocalizacao, "SP");
    Texto(filiais[0].szCodigo, "MATRIZ");
    filiais[0].cPonteiroFeriado = 3;
    filiais[1].iCodigo = 2;
    Texto(filiais[1].szNomeFantasia, "Loja");
    Texto(filiais[1].szCodigo, "LOJA-01");
    ASSERT_EQ(ServidorFiliais::GravaFiliais("TESTE", filiais), S_OK);
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = 1;
    ASSERT_EQ(ServidorFiliais::GravaParametros("TESTE", parametros), S_OK);
    ASSERT_EQ(ServidorFiliais::GravaPeriodo("TESTE", {9000, 9030, {}}), S_OK);
  }

  // A branch server initialised with company, user and session.
  IQVCN_Filial* Filial() {
    IQVCN_Filial* filial = Cria<IQVCN_Filial>(CLSID_QVCN_Filial, IID_IQVCN_Filial);
    if (!filial) return nullptr;
    const BSTR empresa = SysAllocString(u"TESTE");
    const HRESULT hr = filial->Inicializa(empresa, 7, 1234);
    SysFreeString(empresa);
    EXPECT_EQ(hr, S_OK);
    return filial;
  }
};

HRESULT Existe(IQVCN_Filial* filial, const char16_t* codigo, int32_t& ponteiro) {
  const BSTR texto = SysAllocString(codigo);
  const HRESULT hr = filial->Existe(texto, &ponteiro);
  SysFreeString(texto);
  return hr;
}

}  // namespace

TEST_F(FiliaisTest, EveryReadAnswersFromTheFilesAndUnknownKeysFail) {
  Liberador<IQVCN_Filial> filial{Filial()};
  ASSERT_NE(filial.servidor, nullptr);

  // The master settings' sequence: the open period into a zeroed record, then the parameters.
  _REG_CN_PERIODOPS periodo{};
  ASSERT_EQ(filial.servidor->LePeriodoAberto(&periodo), S_OK);
  EXPECT_EQ(periodo.usDataInferior, 9000);
  EXPECT_EQ(periodo.usDataSuperior, 9030);
  _REG_CN_PARAMETROSPS parametros{};
  ASSERT_EQ(filial.servidor->LeParametros(&parametros), S_OK);
  EXPECT_EQ(parametros.cIntegraPedidos, 1);

  // The count agrees with the reads: pointers 1..n answer, n + 1 and 0 do not.
  uint16_t quantidade = 0;
  ASSERT_EQ(filial.servidor->BuscaQuantidade(&quantidade), S_OK);
  ASSERT_EQ(quantidade, 2);
  RegistroFilial registro;
  for (int32_t ponteiro = 1; ponteiro <= quantidade; ++ponteiro) {
    ASSERT_EQ(filial.servidor->Le(ponteiro, &registro), S_OK);
    EXPECT_EQ(registro.iCodigo, ponteiro);
  }
  EXPECT_EQ(filial.servidor->Le(1, &registro), S_OK);
  EXPECT_STREQ(registro.szNomeFantasia, "Matriz");
  EXPECT_STREQ(registro.szLocalizacao, "SP");
  EXPECT_EQ(registro.cPonteiroFeriado, 3);
  std::memset(&registro, 0xAB, sizeof registro);
  EXPECT_EQ(filial.servidor->Le(3, &registro), kFamiliaNaoEncontrado);
  EXPECT_EQ(filial.servidor->Le(0, &registro), kFamiliaNaoEncontrado);
  EXPECT_EQ(filial.servidor->Le(-1, &registro), kFamiliaNaoEncontrado);
  EXPECT_EQ(registro.iCodigo, 0xABAB);  // a failed read leaves the record as given

  // By code, without regard to case.
  int32_t ponteiro = 0;
  EXPECT_EQ(Existe(filial.servidor, u"loja-01", ponteiro), S_OK);
  EXPECT_EQ(ponteiro, 2);
  EXPECT_EQ(Existe(filial.servidor, u"LOJA", ponteiro), kFamiliaNaoEncontrado);
  EXPECT_EQ(Existe(filial.servidor, u"", ponteiro), kFamiliaNaoEncontrado);
}

TEST_F(FiliaisTest, CompanyWithoutTheRecordsFailsEachReadAndEitherInitialisationServes) {
  // The session record form reads the same files.
  ASSERT_EQ(ServidorFiliais::GravaEmpresa("TESTE", "Empresa Teste"), S_OK);
  Liberador<IQVCN_Filial> filial{Cria<IQVCN_Filial>(CLSID_QVCN_Filial, IID_IQVCN_Filial)};
  ASSERT_NE(filial.servidor, nullptr);
  _REG_CN_PERIODOPS periodo{};
  EXPECT_EQ(filial.servidor->LePeriodoAberto(&periodo), kFamiliaNaoInicializado);
  auto sessao = Sessao<_REG_CN_INICIALIZAPS>();
  sessao.usParametro = kCNParametroProducao;
  _REG_CN_EMPRESAPS empresa{};
  ASSERT_EQ(filial.servidor->InicializaEmpresa(sessao, &empresa), S_OK);
  EXPECT_STREQ(empresa.szRazaoSocial, "Empresa Teste");
  EXPECT_EQ(filial.servidor->LePeriodoAberto(&periodo), S_OK);
  EXPECT_EQ(periodo.usDataSuperior, 9030);

  // Nothing seeded: no empty record passes as a success.
  ASSERT_EQ(ServidorFiliais::GravaFiliais("TESTE", {}), S_OK);
  instalacao_.dir().Write("empresas/TESTE/CN/PARAMFIL.DAT", "");
  instalacao_.dir().Write("empresas/TESTE/CN/PERIODO.DAT", "");
  uint16_t quantidade = 99;
  EXPECT_EQ(filial.servidor->BuscaQuantidade(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 0);
  _REG_CN_PARAMETROSPS parametros{};
  EXPECT_EQ(filial.servidor->LeParametros(&parametros), kFamiliaNaoEncontrado);
  EXPECT_EQ(filial.servidor->LePeriodoAberto(&periodo), kFamiliaNaoEncontrado);
  RegistroFilial registro;
  EXPECT_EQ(filial.servidor->Le(1, &registro), kFamiliaNaoEncontrado);
  EXPECT_EQ(filial.servidor->LeParametros(nullptr), E_POINTER);
  EXPECT_EQ(ServidorFiliais::GravaPeriodo("NENHUMA", periodo), kFamiliaSemDiretorio);
}

TEST_F(FiliaisTest, InjectedFailureOfEachMethodIsAnsweredOnce) {
  Liberador<IQVCN_Filial> filial{Filial()};
  ASSERT_NE(filial.servidor, nullptr);
  constexpr HRESULT kFalha = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  _REG_CN_PARAMETROSPS parametros;
  _REG_CN_PERIODOPS periodo;
  RegistroFilial registro;
  uint16_t quantidade;
  int32_t ponteiro;
  const std::pair<const char*, std::function<HRESULT()>> metodos[] = {
      {"LeParametros", [&] { return filial.servidor->LeParametros(&parametros); }},
      {"Existe", [&] { return Existe(filial.servidor, u"MATRIZ", ponteiro); }},
      {"BuscaQuantidade", [&] { return filial.servidor->BuscaQuantidade(&quantidade); }},
      {"Le", [&] { return filial.servidor->Le(1, &registro); }},
      {"LePeriodoAberto", [&] { return filial.servidor->LePeriodoAberto(&periodo); }},
  };
  for (const auto& [nome, chamada] : metodos) {
    SCOPED_TRACE(nome);
    modulo_.Filial.FalhaMetodo(nome, 1, kFalha);
    EXPECT_EQ(chamada(), kFalha);
    EXPECT_EQ(chamada(), S_OK);
  }
}

TEST_F(FiliaisTest, ChangeOfAnotherProcessIsSeenByTheNextCall) {
  Liberador<IQVCN_Filial> filial{Filial()};
  ASSERT_NE(filial.servidor, nullptr);
  RegistroFilial registro;
  ASSERT_EQ(filial.servidor->Le(2, &registro), S_OK);
  EXPECT_STREQ(registro.szNomeFantasia, "Loja");

  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  if (filho == 0) {
    std::vector<RegistroFilial> filiais(2, registro);
    Texto(filiais[1].szNomeFantasia, "Loja nova");
    _exit(SUCCEEDED(ServidorFiliais::GravaFiliais("TESTE", filiais)) ? 0 : 1);
  }
  int estado = 0;
  waitpid(filho, &estado, 0);
  ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  ASSERT_EQ(filial.servidor->Le(2, &registro), S_OK);
  EXPECT_STREQ(registro.szNomeFantasia, "Loja nova");
}
