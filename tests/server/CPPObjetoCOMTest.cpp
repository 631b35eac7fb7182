#include <gtest/gtest.h>

#include <cstring>

#include "server/CPPObjetoCOM.h"
#include "server/CPPObjetoPendente.h"
#include "server/PPTabelaClasses.h"

namespace {

// {3C9E2F10-8A7B-4C5D-9E0F-1A2B3C4D5E6F}
constexpr IID IID_ITesteServidor = {
    0x3C9E2F10, 0x8A7B, 0x4C5D, {0x9E, 0x0F, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x6F}};

// The methods on which the frame acts, laid out as every interface of the server has them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct ITesteServidor : IUnknown {
  virtual HRESULT Inicializa(_REG_VARMO_INICIALIZAPS RegPS, uint16_t usVersao) = 0;
  virtual HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) = 0;
  virtual HRESULT LimpaFiltro() = 0;
  virtual HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) = 0;
  virtual HRESULT FuncaoGenerica(uint32_t lFuncao, _REG_FUNCAO_GENERICA_VARMO regIn,
                                 _REG_FUNCAO_GENERICA_VARMO** regOut) = 0;
};
#pragma GCC diagnostic pop

// A handler that remembers what reached it.
class TratadorTeste {
 public:
  TratadorTeste() { bloqueiosAoCriar = PPModulo().GetBloqueios(); }
  ~TratadorTeste() { bloqueiosAoDestruir = PPModulo().GetBloqueios(); }

  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS reg, uint8_t cChamadaCliente) {
    ++inicializacoes;
    sessao = reg;
    flag = cChamadaCliente;
    return resultado;
  }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS reg) {
    ++gravacoesFiltro;
    filtro = reg;
    return S_OK;
  }
  HRESULT LimpaFiltro() {
    ++limpezasFiltro;
    filtro = _REG_VARMO_FILTROPS{};
    return S_OK;
  }
  _REG_VARMO_FILTROPS GetFiltro() const { return filtro; }
  HRESULT Existe(BSTR, int32_t* plPntr, uint8_t) {
    filtroNoExiste = filtro;
    *plPntr = 17;
    return resultado;
  }

  HRESULT resultado = S_OK;
  int inicializacoes = 0, gravacoesFiltro = 0, limpezasFiltro = 0;
  uint8_t flag = 0;
  _REG_VARMO_INICIALIZAPS sessao{};
  _REG_VARMO_FILTROPS filtro{}, filtroNoExiste{};
  static inline LONG bloqueiosAoCriar = 0, bloqueiosAoDestruir = 0;
};

// The master settings' handler: its Inicializa takes the session alone.
struct TratadorMestre : TratadorTeste {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS reg) { return TratadorTeste::Inicializa(reg, 99); }
};

template <class Tratador, IID kIid = IID_ITesteServidor>
class ObjetoServidor : public CPPObjetoCOM<ITesteServidor, kIid, Tratador> {
  using Base = CPPObjetoCOM<ITesteServidor, kIid, Tratador>;

 public:
  HRESULT SetFiltro(_REG_VARMO_FILTROPS RegPS) override {
    return Base::Tratador().SetFiltro(RegPS);
  }
  HRESULT LimpaFiltro() override { return Base::Tratador().LimpaFiltro(); }
  HRESULT Existe(BSTR bsCodigo, int32_t* plPntr, uint8_t cUtilizaFiltro) override {
    return Base::ExisteComFiltro(
        cUtilizaFiltro, [&] { return Base::Tratador().Existe(bsCodigo, plPntr, cUtilizaFiltro); });
  }
  Tratador& Handler() { return Base::Tratador(); }
};

template <class Objeto>
Objeto* Cria() {
  ITesteServidor* criado = nullptr;
  EXPECT_EQ(PPCriaObjeto<Objeto>(IID_ITesteServidor, reinterpret_cast<void**>(&criado)), S_OK);
  return static_cast<Objeto*>(criado);
}

_REG_VARMO_INICIALIZAPS Sessao() {
  _REG_VARMO_INICIALIZAPS reg{};
  strcpy(reinterpret_cast<char*>(reg.szEmpresa), "ACME");
  reg.usUsuario = 7;
  reg.lNumeroSessao = 1234;
  reg.cInicializarCompleto = 1;
  return reg;
}

}  // namespace

TEST(ObjetoCOM, InicializaRefusesEveryVersionButSixtyFourWithoutCallingTheHandler) {
  using Objeto = ObjetoServidor<TratadorTeste>;
  for (uint16_t versao : {0, 63, 65, 0xFFFF}) {
    Objeto* objeto = Cria<Objeto>();
    EXPECT_EQ(objeto->Inicializa(Sessao(), versao), static_cast<HRESULT>(0x8004068D)) << versao;
    EXPECT_EQ(objeto->Handler().inicializacoes, 0);
    objeto->Release();
  }
  Objeto* objeto = Cria<Objeto>();
  objeto->Handler().resultado = PPErroHResult(1666);  // the handler's answer goes back unchanged
  EXPECT_EQ(objeto->Inicializa(Sessao(), 64), PPErroHResult(1666));
  EXPECT_EQ(objeto->Handler().flag, kPPChamadaCliente);
  EXPECT_EQ(objeto->Handler().sessao.lNumeroSessao, 1234);
  EXPECT_STREQ(reinterpret_cast<const char*>(objeto->Handler().sessao.szEmpresa), "ACME");
  objeto->Release();
}

TEST(ObjetoCOM, MasterSettingsHandlerGetsTheSessionAlone) {
  auto* objeto = Cria<ObjetoServidor<TratadorMestre>>();
  EXPECT_EQ(objeto->Inicializa(Sessao(), 65), static_cast<HRESULT>(0x8004068D));
  EXPECT_EQ(objeto->Inicializa(Sessao(), 64), S_OK);
  EXPECT_EQ(objeto->Handler().flag, 99);
  EXPECT_EQ(objeto->Handler().sessao.usUsuario, 7);
  objeto->Release();
}

TEST(ObjetoCOM, ExisteWithoutTheSwitchSearchesUnfilteredAndPutsTheStoredFilterBack) {
  struct Caso {
    uint8_t cUtilizaFiltro;
    HRESULT resultado;
    bool filtrado;
  } casos[] = {{1, S_OK, true},
               {1, PPErroHResult(1585), true},
               {0, S_OK, false},
               {0, PPErroHResult(1585), false},
               {2, S_OK, false}};
  for (const Caso& caso : casos) {
    auto* objeto = Cria<ObjetoServidor<TratadorTeste>>();
    _REG_VARMO_FILTROPS filtro{};
    filtro.lPonteiroSecao = 5;
    filtro.cAtivo = 1;
    filtro.cFiller[2] = 9;  // copied whole, fillers included
    objeto->SetFiltro(filtro);
    TratadorTeste& tratador = objeto->Handler();
    tratador.resultado = caso.resultado;

    int32_t ponteiro = 0;
    EXPECT_EQ(objeto->Existe(nullptr, &ponteiro, caso.cUtilizaFiltro), caso.resultado);
    EXPECT_EQ(ponteiro, 17);
    EXPECT_EQ(tratador.filtroNoExiste.lPonteiroSecao, caso.filtrado ? 5u : 0u)
        << int(caso.cUtilizaFiltro);
    EXPECT_EQ(memcmp(&tratador.filtro, &filtro, sizeof filtro), 0) << int(caso.cUtilizaFiltro);
    EXPECT_EQ(tratador.limpezasFiltro, caso.filtrado ? 0 : 1);
    EXPECT_EQ(tratador.gravacoesFiltro, caso.filtrado ? 1 : 2);
    objeto->Release();
  }
}

TEST(ObjetoCOM, FuncaoGenericaAnswersWithoutTouchingTheOutput) {
  _REG_FUNCAO_GENERICA_VARMO entrada{3, nullptr};
  auto* const intocado = reinterpret_cast<_REG_FUNCAO_GENERICA_VARMO*>(0x5678);
  _REG_FUNCAO_GENERICA_VARMO* saida = intocado;

  auto* comum = Cria<ObjetoServidor<TratadorTeste>>();
  EXPECT_EQ(comum->FuncaoGenerica(1, entrada, &saida), static_cast<HRESULT>(0x80040001));
  EXPECT_EQ(saida, intocado);
  comum->Release();

  // The resources class answers success, still without an output.
  ITesteServidor* recursos = nullptr;
  ASSERT_EQ((PPCriaObjeto<ObjetoServidor<TratadorTeste, IID_IQVPP_Recursos>>(
                IID_IQVPP_Recursos, reinterpret_cast<void**>(&recursos))),
            S_OK);
  EXPECT_EQ(recursos->FuncaoGenerica(1, entrada, &saida), S_OK);
  EXPECT_EQ(saida, intocado);
  recursos->Release();
}

TEST(ObjetoCOM, ObjectLocksTheServerAroundItsHandlerAndAnswersForItsInterfaceOnly) {
  const LONG antes = PPModulo().GetBloqueios();
  auto* objeto = Cria<ObjetoServidor<TratadorTeste>>();
  EXPECT_EQ(PPModulo().GetBloqueios(), antes + 1);
  EXPECT_EQ(TratadorTeste::bloqueiosAoCriar, antes + 1);

  IUnknown* desconhecido = nullptr;
  ASSERT_EQ(objeto->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&desconhecido)), S_OK);
  EXPECT_EQ(desconhecido, static_cast<IUnknown*>(objeto));
  void* outra = objeto;
  EXPECT_EQ(objeto->QueryInterface(IID_IQVPP_TipoOP, &outra), E_NOINTERFACE);
  EXPECT_EQ(outra, nullptr);
  EXPECT_EQ(desconhecido->Release(), 1u);
  EXPECT_EQ(objeto->Release(), 0u);
  EXPECT_EQ(TratadorTeste::bloqueiosAoDestruir, antes + 1);
  EXPECT_EQ(PPModulo().GetBloqueios(), antes);
}

TEST(ObjetoPendente, EveryMethodAnswersNotImplementedWhateverItsParameters) {
  const LONG antes = PPModulo().GetBloqueios();
  IQVPP_OP* op = nullptr;
  ASSERT_EQ(
      (PPCriaObjetoPendente<IQVPP_OP, IID_IQVPP_OP>(IID_IQVPP_OP, reinterpret_cast<void**>(&op))),
      S_OK);
  EXPECT_EQ(PPModulo().GetBloqueios(), antes + 1);
  EXPECT_EQ(op->Inicializa(Sessao(), 64), E_NOTIMPL);
  _REG_FUNCAO_GENERICA_VARMO* saida = nullptr;
  EXPECT_EQ(op->FuncaoGenerica(1, {0, nullptr}, &saida), E_NOTIMPL);
  _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS lista{};
  EXPECT_EQ(op->BuscaRemessaIndustrializacaoFiltro(&lista, _REG_PP_REMESSA_FILTROPS{}, 1),
            E_NOTIMPL);
  EXPECT_EQ(op->AtualizaRemessaFT(0, nullptr), E_NOTIMPL);  // the last of its 57 methods

  IUnknown* desconhecido = nullptr;
  ASSERT_EQ(op->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&desconhecido)), S_OK);
  EXPECT_EQ(static_cast<void*>(desconhecido), static_cast<void*>(op));
  void* outra = op;
  EXPECT_EQ(op->QueryInterface(IID_IQVPP_TipoOP, &outra), E_NOINTERFACE);
  EXPECT_EQ(outra, nullptr);
  EXPECT_EQ(desconhecido->Release(), 1u);
  EXPECT_EQ(op->Release(), 0u);
  EXPECT_EQ(PPModulo().GetBloqueios(), antes);
}

TEST(ObjetoPendente, EachClassOfTheTableCreatesObjectsOfItsOwnInterface) {
  for (int i = 0; i < kQuantidadeClassesVarmo; ++i) {
    const PPClasseServidor& classe = kPPClassesVarmo[i];
    // in the type library's order
    EXPECT_EQ(classe.identificadores->clsid, kClassesVarmo[i].clsid);
    IUnknown* objeto = nullptr;
    ASSERT_EQ(classe.cria(classe.identificadores->iid, reinterpret_cast<void**>(&objeto)), S_OK)
        << classe.identificadores->nome;
    void* outra = nullptr;
    const IID& alheia = kClassesVarmo[(i + 1) % kQuantidadeClassesVarmo].iid;
    EXPECT_EQ(objeto->QueryInterface(alheia, &outra), E_NOINTERFACE)
        << classe.identificadores->nome;
    objeto->Release();
  }
  // A class still to come answers E_NOTIMPL.
  IQVPP_Relatorios* relatorios = nullptr;
  ASSERT_EQ(kPPClassesVarmo[9].cria(IID_IQVPP_Relatorios, reinterpret_cast<void**>(&relatorios)), S_OK);
  EXPECT_EQ(relatorios->Inicializa(_REG_VARMO_INICIALIZAPS{}, 64), E_NOTIMPL);
  relatorios->Release();
  EXPECT_EQ(PPModulo().GetBloqueios(), 0);
}
