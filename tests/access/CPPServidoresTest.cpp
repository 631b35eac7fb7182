// The hub against the family's stand-in servers, through the COM layer, in a temporary
// installation whose company TESTE has a directory for each module. The clock is replaced, so the
// retries of a creation cost no real time.
#include "access/CPPServidores.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/win32/clock.h"
#include "platform/win32/eventlog.h"
#include "platform/win32/registry.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

using Bytes = std::vector<uint8_t>;

const char kRazaoSocial[] = "Industria de Teste Ltda";

Bytes Texto(const char* texto) { return Bytes(texto, texto + std::strlen(texto)); }
Bytes U16(uint16_t valor) { return {static_cast<uint8_t>(valor), static_cast<uint8_t>(valor >> 8)}; }
Bytes I32(int32_t valor) {
  const auto u = static_cast<uint32_t>(valor);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}
// `tamanho` zero bytes with the given fields written at their offsets.
Bytes Registro(size_t tamanho, std::vector<std::pair<size_t, Bytes>> campos) {
  Bytes registro(tamanho, 0);
  for (const auto& [offset, bytes] : campos) std::memcpy(registro.data() + offset, bytes.data(), bytes.size());
  return registro;
}

// Exposes what the rule classes use.
class Hub : public CPPServidores {
 public:
  using CPPServidores::ErrosAcumulados;
  using CPPServidores::Limpar;
  using CPPServidores::UltimoErro;
};

class HubFamilia : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (const char* modulo : {"ES", "CN", "FT", "CM"}) CriaDiretorio(Instalacao::kEmpresa, modulo);
    ASSERT_EQ(ServidorFiliais::GravaEmpresa(Instalacao::kEmpresa, kRazaoSocial), S_OK);
    ASSERT_EQ(familia_.Registra(), S_OK);
    hub_.Inicializa(Instalacao::kEmpresa, 7, 1234);
  }
  void TearDown() override {
    hub_.Finaliza();
    for (ModuloFamilia* modulo : familia_.Modulos())
      for (const auto& classe : modulo->Classes()) EXPECT_EQ(classe->Vivos(), 0) << classe->Nome();
    CoUninitialize();
  }

  void CriaDiretorio(const std::string& empresa, const char* modulo) {
    const std::string relativo = "empresas/" + empresa + "/" + modulo + "/";
    instalacao_.dir().Write(relativo + ".keep", "");
    instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\" + empresa, modulo,
                           instalacao_.dir().windows_path() + "empresas\\" + empresa + "\\" + modulo + "\\");
  }

  Instalacao instalacao_;
  TestClock relogio_;  // Sleep advances it
  ServidoresFamilia familia_;
  Hub hub_;
};

struct CasoFamilia {
  const char* getter;
  std::function<IUnknown*(Hub&)> obtem;
  std::function<ClasseFamilia&(ServidoresFamilia&)> classe;
  const char* clsid;
  const char* iid;
  const char* metodo;
  Bytes registro;       // the record by value; empty for the forms with separate arguments
  const char* empresa;  // what the stand-in read as the session
  uint16_t usuario;
  int32_t sessao;
  int32_t modulo;
};

#define GETTER(Nome) "GetI" #Nome, [](Hub& hub) -> IUnknown* { return hub.GetI##Nome(); }
#define CLASSE(modulo, Classe) [](ServidoresFamilia& familia) -> ClasseFamilia& { return familia.modulo.Classe; }

}  // namespace

TEST_F(HubFamilia, EachFamilyGetterCreatesItsClassOnceAndSendsItsInitialisation) {
  const Bytes T = Texto("TESTE");
  const CasoFamilia casos[] = {
      {GETTER(Usuario), CLASSE(base, Usuario), "{93B2A83E-315E-11D4-8391-00A0C9DE80D1}",
       "{93B2A83D-315E-11D4-8391-00A0C9DE80D1}", "Inicializa",
       Registro(38, {{0, T}, {32, U16(7)}, {34, I32(1234)}}), "TESTE", 7, 1234, 0},
      {GETTER(Produto), CLASSE(base, Produto), "{B4931BE1-B475-11D2-A079-00A0C9B6FB26}",
       "{B4931BE0-B475-11D2-A079-00A0C9B6FB26}", "Inicializa", {}, "TESTE", 7, 1234, 0},
      {GETTER(GradeProduto), CLASSE(base, GradesProduto), "{F124B0C2-028C-4272-93B8-34CAFE50D997}",
       "{41883AE1-2CDB-4FB4-ACF5-EA0E6B9EF261}", "Inicializa", {}, "TESTE", 7, 1234, 0},
      {GETTER(Filial), CLASSE(filiais, Filial), "{0059B74E-85A6-11D1-8DC1-000001020723}",
       "{B3C3E5DE-E441-11D1-8890-00C02631850B}", "InicializaEmpresa",
       Registro(40, {{0, T}, {28, I32(1234)}, {34, U16(7)}, {36, U16(24)}}), "TESTE", 7, 1234, 0},
      {GETTER(PlanoGerencial), CLASSE(base, Plano), "{A7975E90-693B-11D4-B05B-00A0C99213AC}",
       "{A7975E8F-693B-11D4-B05B-00A0C99213AC}", "Inicializa",
       Registro(32, {{0, T}, {24, U16(7)}, {26, I32(1234)}, {30, Texto("G")}}), "TESTE", 7, 1234, 0},
      {GETTER(PlanoContabil), CLASSE(base, Plano), "{A7975E90-693B-11D4-B05B-00A0C99213AC}",
       "{A7975E8F-693B-11D4-B05B-00A0C99213AC}", "Inicializa",
       Registro(32, {{0, T}, {24, U16(7)}, {26, I32(1234)}, {30, Texto("C")}}), "TESTE", 7, 1234, 0},
      {GETTER(Requerente), CLASSE(base, Requerente), "{E7AB0749-7A02-45B8-89BF-BB72EFD7C9D7}",
       "{16A90FC7-B744-42E4-8B37-870BD7E122C1}", "Inicializa",
       Registro(36, {{0, U16(7)}, {2, I32(1234)}, {6, T}}), "TESTE", 7, 1234, 0},
      {GETTER(Municipio), CLASSE(base, Municipio), "{C34B1804-02FB-11D3-AE44-00A0C99213AC}",
       "{C34B1803-02FB-11D3-AE44-00A0C99213AC}", "Inicializa", {}, "TESTE", 7, 1234, 0},
      // the real interface's fifth method
      {GETTER(InformacaoSuplementar), CLASSE(base, CTG), "{9A9B5F2A-8DDD-41D3-886E-465D1379B0B1}",
       "{18A67E8A-F139-4C39-B03B-5C6966FB3964}", "Inicializa",
       Registro(36, {{0, I32(1234)}, {4, U16(7)}, {6, T}}), "TESTE", 7, 1234, 0},
      // no arguments at all
      {GETTER(CodigoBarras), CLASSE(base, EstrCodBar), "{B947CD1F-1AA8-4C8E-9328-6FE86D2B0988}",
       "{66EAA6CC-A621-4D99-9432-963F5047A7FB}", "Inicializa", {}, "", 0, 0, 0},
      // the real interface's second method
      {GETTER(Mensagem), CLASSE(base, Mensagem), "{AE7E0798-20E1-11D4-841A-00A0C9ACA673}",
       "{AE7E0797-20E1-11D4-841A-00A0C9ACA673}", "Inicializa", {}, "TESTE", 7, 1234, 0},
      {GETTER(RequisicaoInterna), CLASSE(base, RequisicaoInterna), "{FCD09B13-5C5A-40DA-9A83-9EF352AAA1FE}",
       "{7F37F042-8D33-48DE-82B0-178E4EC6D12A}", "Inicializa", {}, "TESTE", 7, 1234, 0},
      // the company only
      {GETTER(Feriado), CLASSE(base, Feriado), "{2791B773-A190-11D3-882C-00A0C9B18363}",
       "{2791B772-A190-11D3-882C-00A0C9B18363}", "Inicializa", {}, "TESTE", 0, 0, 0},
      {GETTER(MestreES), CLASSE(estoque, Mestre), "{588C5B24-CA5B-11D2-945D-00A0C9EC15B5}",
       "{5FECCC8F-CB24-11D2-945E-00A0C9EC15B5}", "Inicializa", {}, "TESTE", 7, 1234, 1282},
      {GETTER(Armazenagem), CLASSE(estoque, Armazenagem), "{352D7C83-A9FF-11D2-940F-00A0C9EC15B5}",
       "{352D7C82-A9FF-11D2-940F-00A0C9EC15B5}", "Inicializa", {}, "TESTE", 7, 1234, 1282},
      {GETTER(Movimento), CLASSE(estoque, Movimento), "{50BB977B-B433-11D2-9425-00A0C9EC15B5}",
       "{50BB977A-B433-11D2-9425-00A0C9EC15B5}", "Inicializa", {}, "TESTE", 7, 1234, 1282},
      {GETTER(NotaFiscalFT), CLASSE(base, NotasFiscais), "{0026C16C-45B0-11D4-9274-00A0C9ACA8C4}",
       "{0026C16B-45B0-11D4-9274-00A0C9ACA8C4}", "Inicializa",
       Registro(34, {{0, T}, {28, U16(7)}, {30, I32(1234)}}), "TESTE", 7, 1234, 0},
      // the real interface's second method
      {GETTER(Pedido), CLASSE(vendas, Pedido), "{C7F481DD-3E08-11D4-9267-00A0C9ACA8C4}",
       "{C7F481DC-3E08-11D4-9267-00A0C9ACA8C4}", "Inicializa",
       Registro(40, {{0, T}, {28, U16(7)}, {30, I32(1234)}}), "TESTE", 7, 1234, 0},
      {GETTER(NotaFiscalRE), CLASSE(compras, RegistroEntrada), "{8362BA02-737A-11D4-83F9-00A0C9DE80D1}",
       "{8362BA01-737A-11D4-83F9-00A0C9DE80D1}", "Inicializa",
       Registro(262, {{0, I32(1234)}, {4, U16(7)}, {6, T}}), "TESTE", 7, 1234, 0},
  };
  for (const CasoFamilia& caso : casos) {
    SCOPED_TRACE(caso.getter);
    ClasseFamilia& classe = caso.classe(familia_);
    EXPECT_EQ(GuidToText(classe.Clsid()), caso.clsid);
    EXPECT_EQ(GuidToText(classe.Iid()), caso.iid);
    const size_t antes = classe.Inicializacoes().size();
    const int criadas = classe.Criacoes();

    IUnknown* servidor = caso.obtem(hub_);
    ASSERT_NE(servidor, nullptr);
    EXPECT_EQ(caso.obtem(hub_), servidor);
    EXPECT_EQ(classe.Criacoes(), criadas + 1);
    const std::vector<InicializacaoFamilia> recebidas = classe.Inicializacoes();
    ASSERT_EQ(recebidas.size(), antes + 1);
    const InicializacaoFamilia& recebida = recebidas.back();
    EXPECT_EQ(recebida.metodo, caso.metodo);
    EXPECT_EQ(recebida.registro, caso.registro);
    EXPECT_EQ(recebida.empresa, caso.empresa);
    EXPECT_EQ(recebida.usuario, caso.usuario);
    EXPECT_EQ(recebida.sessao, caso.sessao);
    EXPECT_EQ(recebida.modulo, caso.modulo);
  }
  // One class, two objects: each chart is its own server.
  EXPECT_NE(static_cast<IUnknown*>(hub_.GetIPlanoGerencial()), static_cast<IUnknown*>(hub_.GetIPlanoContabil()));
  EXPECT_EQ(familia_.base.Plano.Vivos(), 2);
  // Each module's classes are served by one run of its server.
  for (ModuloFamilia* modulo : familia_.Modulos()) EXPECT_EQ(modulo->Starts(), 1) << modulo->NomeServidor();
}

TEST_F(HubFamilia, LegalNameComesFromTheBranchServerAndOutlivesLimpar) {
  CString razaoSocial = "antes";
  EXPECT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);
  EXPECT_STREQ(razaoSocial, kRazaoSocial);

  Hub::PPMensagemErro erro{1, 2, 3, 4};
  hub_.UltimoErro() = {5, 6, 7, 8};
  hub_.ErrosAcumulados().Add({9, 10, 11, 12});
  hub_.Limpar(erro);
  EXPECT_EQ(erro.hr, 0);
  EXPECT_EQ(erro.lCodigo, 0);
  EXPECT_EQ(erro.usCampo, 0);
  EXPECT_EQ(erro.usExtra, 0);
  EXPECT_EQ(hub_.UltimoErro().lCodigo, 0);
  EXPECT_EQ(hub_.GetHR(), 0);
  EXPECT_EQ(hub_.ErrosAcumulados().GetSize(), 0);
  EXPECT_EQ(hub_.ErrosAcumulados().GetCapacidade(), 0);

  razaoSocial = "";
  EXPECT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);
  EXPECT_STREQ(razaoSocial, kRazaoSocial);
  EXPECT_EQ(familia_.filiais.Filial.Inicializacoes().size(), 1u);  // the held interface answered
}

TEST_F(HubFamilia, LettingGoOfTheBranchInterfaceClearsTheCompanyRecord) {
  CString razaoSocial;
  ASSERT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);
  // A branch interface that the hub did not initialise: the record is no longer the held one's.
  IQVCN_Filial* outra = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QVCN_Filial, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVCN_Filial,
                             reinterpret_cast<void**>(&outra)),
            S_OK);
  hub_.SetIFilial(outra);
  outra->Release();
  EXPECT_EQ(familia_.filiais.Filial.Vivos(), 1);
  EXPECT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);
  EXPECT_STREQ(razaoSocial, "");

  // Without a branch server the argument stays and the creation's error is the answer.
  hub_.SetIFilial(nullptr);
  familia_.filiais.Filial.FalhaInicializacao(kNegado);
  razaoSocial = "intocada";
  EXPECT_EQ(hub_.GetRazaoSocial(razaoSocial), kNegado);
  EXPECT_STREQ(razaoSocial, "intocada");
  familia_.filiais.Filial.FalhaInicializacao(S_OK);
  EXPECT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);
  EXPECT_STREQ(razaoSocial, kRazaoSocial);
}

TEST_F(HubFamilia, ServerUnavailableThreeTimesIsCreatedOnTheFourthAttemptWithOneWarning) {
  familia_.estoque.Movimento.FailStarts(3);
  const DWORD inicio = GetTickCount();
  EXPECT_NE(hub_.GetIMovimento(), nullptr);
  EXPECT_EQ(GetTickCount() - inicio, 3 * kQVPausaTentativa);
  EXPECT_EQ(familia_.estoque.Movimento.Criacoes(), 1);
  EXPECT_EQ(familia_.estoque.Movimento.Inicializacoes().size(), 1u);

  const std::vector<EventLogEntry> log = ReadEventLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].source, "QV Rivovoda");
  EXPECT_EQ(log[0].type, EVENTLOG_WARNING_TYPE);
  EXPECT_EQ(log[0].event_id, 0x800706BAu);
  ASSERT_EQ(log[0].strings.size(), 2u);
  EXPECT_EQ(log[0].strings[0], "\n\nA primeira tentativa de instanciar o servidor falhou");
  EXPECT_NE(log[0].strings[1].find("CLSID: {50BB977B-B433-11D2-9425-00A0C9EC15B5}"), std::string::npos);
}

TEST_F(HubFamilia, ServerThatStaysUnavailableGivesNullKeepsTheCauseAndIsCreatedOnTheNextCall) {
  familia_.estoque.Movimento.FailStarts(500);
  const DWORD inicio = GetTickCount();
  EXPECT_EQ(hub_.GetIMovimento(), nullptr);
  EXPECT_EQ(GetTickCount() - inicio, 500 * kQVPausaTentativa);
  EXPECT_EQ(hub_.GetHR(), static_cast<int32_t>(0x800706BA));
  const std::vector<EventLogEntry> log = ReadEventLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].type, EVENTLOG_WARNING_TYPE);
  EXPECT_EQ(log[1].type, EVENTLOG_ERROR_TYPE);
  ASSERT_EQ(log[1].strings.size(), 2u);
  EXPECT_EQ(log[1].strings[0], "\n\nErro instanciando servidor");

  EXPECT_NE(hub_.GetIMovimento(), nullptr);
  EXPECT_EQ(familia_.estoque.Movimento.Criacoes(), 1);
}

TEST_F(HubFamilia, UnregisteredClassGivesClassNotRegisteredAndTheGetterWritesOnlyHr) {
  ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID\\{8362BA02-737A-11D4-83F9-00A0C9DE80D1}"), ERROR_SUCCESS);
  hub_.UltimoErro() = {0, 6, 2, 77};
  EXPECT_EQ(hub_.GetINotaFiscalRE(), nullptr);
  EXPECT_EQ(hub_.GetHR(), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(hub_.UltimoErro().lCodigo, 6);
  EXPECT_EQ(hub_.UltimoErro().usCampo, 2);
  EXPECT_EQ(hub_.UltimoErro().usExtra, 77);
  const std::vector<EventLogEntry> log = ReadEventLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].type, EVENTLOG_ERROR_TYPE);
  // Finaliza keeps the last error.
  hub_.Finaliza();
  EXPECT_EQ(hub_.GetHR(), REGDB_E_CLASSNOTREG);
}

TEST_F(HubFamilia, FailedInitialisationReleasesTheServerAndTheNextCallCreatesAnother) {
  CriaDiretorio("OUTRA", "DF");
  hub_.Inicializa("OUTRA", 3, 99);
  ClasseFamilia& movimento = familia_.estoque.Movimento;
  for (int tentativa = 1; tentativa <= 2; ++tentativa) {
    EXPECT_EQ(hub_.GetIMovimento(), nullptr);
    EXPECT_EQ(hub_.GetHR(), kFamiliaSemDiretorio);
    EXPECT_EQ(movimento.Criacoes(), tentativa);
    EXPECT_EQ(movimento.Vivos(), 0);
  }
  CriaDiretorio("OUTRA", "ES");
  EXPECT_NE(hub_.GetIMovimento(), nullptr);
  EXPECT_EQ(movimento.Criacoes(), 3);
  EXPECT_EQ(movimento.Vivos(), 1);
  EXPECT_EQ(movimento.Inicializacoes().back().empresa, "OUTRA");
}

TEST_F(HubFamilia, InjectedInitialisationFailuresReachGetHR) {
  ClasseFamilia& produto = familia_.base.Produto;
  const HRESULT falha = static_cast<HRESULT>(0x80040401);

  produto.FalhaInicializacao(falha);
  EXPECT_EQ(hub_.GetIProduto(), nullptr);
  EXPECT_EQ(hub_.GetHR(), falha);
  produto.FalhaInicializacao(S_OK);

  produto.FalhaMetodo("Inicializa", 2, kNegado);
  EXPECT_EQ(hub_.GetIProduto(), nullptr);
  EXPECT_EQ(hub_.GetIProduto(), nullptr);
  EXPECT_EQ(hub_.GetHR(), kNegado);
  EXPECT_NE(hub_.GetIProduto(), nullptr);
  EXPECT_EQ(produto.Criacoes(), 4);
  EXPECT_EQ(produto.Vivos(), 1);
}

TEST_F(HubFamilia, SetterKeepsTheHeldInterfaceReleasesOnNullAndDoesNotInitialise) {
  ClasseFamilia& produto = familia_.base.Produto;
  IQVDF_Produto* servidor = hub_.GetIProduto();
  ASSERT_NE(servidor, nullptr);
  hub_.SetIProduto(servidor);
  EXPECT_EQ(produto.Vivos(), 1);
  EXPECT_EQ(hub_.GetIProduto(), servidor);

  hub_.SetIProduto(nullptr);
  EXPECT_EQ(produto.Vivos(), 0);
  EXPECT_NE(hub_.GetIProduto(), nullptr);
  EXPECT_EQ(produto.Criacoes(), 2);

  IQVDF_Produto* dado = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QVDF_Produto, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVDF_Produto,
                             reinterpret_cast<void**>(&dado)),
            S_OK);
  hub_.SetIProduto(dado);
  dado->Release();
  EXPECT_EQ(hub_.GetIProduto(), dado);
  EXPECT_EQ(produto.Inicializacoes().size(), 2u);
  EXPECT_EQ(produto.Vivos(), 1);
}

TEST_F(HubFamilia, InicializaWithAnotherCompanyReleasesEveryServerAndTheNextGetterSendsTheNewSession) {
  ASSERT_NE(hub_.GetIProduto(), nullptr);
  ASSERT_NE(hub_.GetIMovimento(), nullptr);
  CString razaoSocial;
  ASSERT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);

  for (const char* modulo : {"DF", "CN"}) CriaDiretorio("OUTRA", modulo);
  ASSERT_EQ(ServidorFiliais::GravaEmpresa("OUTRA", "Outra Empresa SA"), S_OK);
  hub_.Inicializa("OUTRA", 3, 99);
  for (ModuloFamilia* modulo : familia_.Modulos())
    for (const auto& classe : modulo->Classes()) EXPECT_EQ(classe->Vivos(), 0) << classe->Nome();

  ASSERT_NE(hub_.GetIProduto(), nullptr);
  const InicializacaoFamilia recebida = familia_.base.Produto.Inicializacoes().back();
  EXPECT_EQ(recebida.empresa, "OUTRA");
  EXPECT_EQ(recebida.usuario, 3);
  EXPECT_EQ(recebida.sessao, 99);
  EXPECT_EQ(hub_.GetRazaoSocial(razaoSocial), 0);
  EXPECT_STREQ(razaoSocial, "Outra Empresa SA");
}

TEST_F(HubFamilia, CompanyLongerThanARecordsFieldArrivesCutWithItsTerminatorInside) {
  struct Caso {
    const char* getter;
    std::function<IUnknown*(Hub&)> obtem;
    std::function<ClasseFamilia&(ServidoresFamilia&)> classe;
    size_t offset;
    size_t tamanho;
  } casos[] = {
      {GETTER(Usuario), CLASSE(base, Usuario), 0, 32},
      {GETTER(Filial), CLASSE(filiais, Filial), 0, 24},
      {GETTER(Requerente), CLASSE(base, Requerente), 6, 30},
      {GETTER(InformacaoSuplementar), CLASSE(base, CTG), 6, 26},
      {GETTER(Pedido), CLASSE(vendas, Pedido), 0, 28},
  };
  hub_.SetEmpresa(CString(std::string(40, 'E').c_str()));
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.getter);
    caso.obtem(hub_);  // the company is unknown to the stand-ins: what matters is what they received
    const std::vector<InicializacaoFamilia> recebidas = caso.classe(familia_).Inicializacoes();
    ASSERT_FALSE(recebidas.empty());
    const Bytes& registro = recebidas.back().registro;
    ASSERT_GE(registro.size(), caso.offset + caso.tamanho);
    EXPECT_EQ(Bytes(registro.begin() + caso.offset, registro.begin() + caso.offset + caso.tamanho - 1),
              Bytes(caso.tamanho - 1, 'E'));
    EXPECT_EQ(registro[caso.offset + caso.tamanho - 1], 0);
  }
}
