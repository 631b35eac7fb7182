// Clients call these interfaces by slot, as a C client calls through the vtable array: method k
// of the type library must sit in slot 3 + k. Each interface gets a stand-in whose methods answer
// their own type-library number; every slot is called through the raw vtable with the signature of
// the method expected there, and must answer that method's number.
#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

#include "server/idl/Varmo.h"

namespace {

// Calls slot `slot` of `object` as a C client does: a plain function that takes the object first
// (on the i386 target a member function takes `this` as its first stack argument). The member
// pointer only brings the parameter types; every argument is zero.
template <typename Interface, typename... Params>
HRESULT ChamaSlot(Interface* object, int slot, HRESULT (Interface::*)(Params...)) {
  using Funcao = HRESULT (*)(Interface*, Params...);
  void** vtable = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Funcao>(vtable[slot])(object, Params{}...);
}

template <typename Interface>
struct MetodoNumerado {
  const char* nome;
  int numero;
  HRESULT (*chama)(Interface*);
};

#define NUMERADO(Interface, Metodo, numero) \
  { #Metodo, numero, [](Interface* o) { return ChamaSlot(o, 3 + numero, &Interface::Metodo); } }

template <typename Interface, size_t N>
void EsperaCadaMetodoNoSeuSlot(Interface* object, const char* nomeInterface,
                               const MetodoNumerado<Interface> (&metodos)[N]) {
  const ClasseVarmo* classe = nullptr;
  for (const ClasseVarmo& c : kClassesVarmo)
    if (std::string_view(c.nomeInterface) == nomeInterface) classe = &c;
  ASSERT_NE(classe, nullptr) << nomeInterface;
  EXPECT_EQ(N, classe->quantidadeMetodos) << nomeInterface;
  for (const MetodoNumerado<Interface>& m : metodos)
    EXPECT_EQ(m.chama(object), m.numero) << nomeInterface << "::" << m.nome;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

template <typename Interface>
struct SemContagem : Interface {
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
};

struct TipoOPNumerado final : SemContagem<IQVPP_TipoOP> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT Le(int32_t, _REG_VARMO_TIPO_OPPS*, uint8_t) override { return 2; }
  HRESULT Grava(int32_t, _REG_VARMO_TIPO_OPPS, int32_t*) override { return 3; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 4; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_VARMO_TIPO_OPPS*, uint8_t) override { return 5; }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS) override { return 6; }
  HRESULT LimpaFiltro() override { return 7; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 8; }
  HRESULT Remove(int32_t) override { return 9; }
  HRESULT IncrementaOP(int32_t, uint32_t*) override { return 10; }
  HRESULT BuscaListaPermissoes(_REG_LISTA_PERMISSOES_USUARIO_OPPS*) override { return 11; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 12;
  }
};

struct ProcessoNumerado final : SemContagem<IQVPP_Processo> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT Grava(int32_t, _REG_VARMO_PROCESSOPS, int32_t*) override { return 2; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 3; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_VARMO_PROCESSOPS*, uint8_t) override { return 4; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 5; }
  HRESULT Remove(int32_t) override { return 6; }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS) override { return 7; }
  HRESULT LimpaFiltro() override { return 8; }
  HRESULT Le(int32_t, _REG_VARMO_PROCESSOPS*, uint8_t) override { return 9; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 10;
  }
};

struct FluxoProcessoNumerado final : SemContagem<IQVPP_FluxoProcesso> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT GravaFluxo(int32_t, _REG_VARMO_FLUXOPS, int32_t*) override { return 2; }
  HRESULT BuscaPntrsFluxo(_REG_VARMO_PONTEIROSPS*) override { return 3; }
  HRESULT LePntrsFluxo(int32_t, int32_t*, _REG_VARMO_FLUXOPS*) override { return 4; }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS) override { return 5; }
  HRESULT LimpaFiltro() override { return 6; }
  HRESULT ExisteFluxo(BSTR, int32_t*, uint8_t) override { return 7; }
  HRESULT RemoveFluxo(int32_t) override { return 8; }
  HRESULT BuscaPntrsProcessosValidos(_REG_VARMO_PONTEIROSPS*) override { return 9; }
  HRESULT Le(int32_t, _REG_VARMO_FLUXOPS*) override { return 10; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 11;
  }
};

struct OperacaoProducaoNumerado final : SemContagem<IQVPP_OperacaoProducao> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT SetFiltro(_REG_PP_FILTRO_OPERACAO_PRODUCAOPS) override { return 2; }
  HRESULT LimpaFiltro() override { return 3; }
  HRESULT Grava(int32_t, _REG_VARMO_OPERACAO_PRODUCAOPS, int32_t*) override { return 4; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 5; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_VARMO_OPERACAO_PRODUCAOPS*) override { return 6; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 7; }
  HRESULT Remove(int32_t) override { return 8; }
  HRESULT Le(int32_t, _REG_VARMO_OPERACAO_PRODUCAOPS*) override { return 9; }
  HRESULT GravaDetalhe(int32_t, BSTR) override { return 10; }
  HRESULT LeDetalhe(int32_t, BSTR*) override { return 11; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 12;
  }
};

struct OPNumerado final : SemContagem<IQVPP_OP> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT BuscaQtdsNecessarias(_REG_PP_FILTRO_QTDS_NECESSARIASPS,
                               _REG_VARMO_LISTA_QTDS_NECESSARIASPS*) override {
    return 2;
  }
  HRESULT BuscaListaDadoPedido(_REG_VARMO_KEY_ITEM_PEDIDO_OPPS,
                               REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS*) override {
    return 3;
  }
  HRESULT BuscaSaldoItemOP(uint16_t, _REG_VARMO_SALDO_ITEM_OPPS*,
                           _REG_VARMO_SALDO_ITEM_OPPS*) override {
    return 4;
  }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS) override { return 5; }
  HRESULT LimpaFiltro() override { return 6; }
  HRESULT GravaOP(uint32_t, _REG_VARMO_OPPS, uint32_t*) override { return 7; }
  HRESULT Cancela(uint32_t, uint32_t*) override { return 8; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 9; }
  HRESULT BuscaPonteirosPeriodo(uint16_t, uint16_t, _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 10;
  }
  HRESULT BuscaPonteirosFiltro(_REG_VARMO_FILTROPS, _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 11;
  }
  HRESULT LePonteiros(uint32_t, uint32_t*, _REG_VARMO_OPPS*, uint16_t) override { return 12; }
  HRESULT LeCabecalhoOP(uint32_t, _REG_VARMO_OPPS*) override { return 13; }
  HRESULT LePonteirosSomenteCabecalho(uint32_t, uint32_t*, _REG_VARMO_OPPS*) override { return 14; }
  HRESULT LeItensPendentesOP(uint32_t, REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS*) override {
    return 15;
  }
  HRESULT BuscaChavesReplicacao(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 16; }
  HRESULT EmitirEtiquetas(_REG_PP_EMITIR_ETIQUETA_OPPS,
                          _REG_PP_LISTA_ETIQUETA_EMITIDAPS*) override {
    return 17;
  }
  HRESULT GravaApontamento(_REG_VARMO_OP_APONTAMENTO, uint32_t*) override { return 18; }
  HRESULT LeApontamentosProcesso(uint32_t, int32_t, _REG_VARMO_LISTA_OP_APONTAMENTOS*) override {
    return 19;
  }
  HRESULT LeApontamentosProcessoTerceirizado(uint32_t, int32_t,
                                             _REG_VARMO_LISTA_OP_APONTAMENTOS*) override {
    return 20;
  }
  HRESULT RemoveApontamento(uint32_t) override { return 21; }
  HRESULT LeRetornosIndustExterna(uint32_t, _REG_VARMO_LISTA_RETORNO_IND_EXTPS*) override {
    return 22;
  }
  HRESULT CalcularValorEntrada(_REG_VARMO_VALOR_ENTRADA_INPS,
                               _REG_VARMO_VALOR_ENTRADA_OUTPS*) override {
    return 23;
  }
  HRESULT CalcularValorRecursosNaoApontados(_REG_VARMO_VALOR_ENTRADA_INPS,
                                            _REG_VARMO_VALOR_ENTRADA_OUTPS*) override {
    return 24;
  }
  HRESULT BuscaApontamentos(_REG_VARMO_LISTA_OP_APONTAMENTOS*) override { return 25; }
  HRESULT BuscaApontamentosRecursoPeriodo(_REG_PP_DISPONIBILIDADE_RECURSOPS,
                                          _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 26;
  }
  HRESULT BuscaApontamentosRecursos(_REG_PP_FILTRO_APONTAMENTO_RECURSOPS,
                                    _REG_PP_LISTA_RESUMO_APONTAMENTO_RECURSOPS*) override {
    return 27;
  }
  HRESULT SetFiltroApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS) override { return 28; }
  HRESULT LimpaFiltroApontamento() override { return 29; }
  HRESULT GravaApontamentoRetornoIndustrializacao(_REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS,
                                                  uint32_t*) override {
    return 30;
  }
  HRESULT RemoveApontamentoRetornoIndustrializacao(
      _REG_VARMO_APONTAMENTO_RETORNO_INDUSTRIALIZACAOPS) override {
    return 31;
  }
  HRESULT BuscaOPGeradoraDaEntrada(_REG_PP_ENTRADA_PRODUCAOPS,
                                   _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 32;
  }
  HRESULT BuscaOPConsumidoraInsumo(_REG_PP_ENTRADA_PRODUCAOPS,
                                   _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 33;
  }
  HRESULT LeApontamento(uint32_t, _REG_VARMO_OP_APONTAMENTO*, uint16_t) override { return 34; }
  HRESULT BuscaListaRetornoNFPendente(_REG_PP_LISTA_APONTAMENTO_RETORNO_NF_PENDENTEPS*) override {
    return 35;
  }
  HRESULT VincularNFRetorno(_REG_PP_VINCULO_RETORNO_NF_PENDENTEPS) override { return 36; }
  HRESULT BuscaPonteirosApontamento(_REG_VARMO_FILTRO_APONTAMENTOPS,
                                    _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 37;
  }
  HRESULT LePonteirosApontamento(uint32_t, uint32_t*, _REG_VARMO_OP_APONTAMENTO*,
                                 uint16_t) override {
    return 38;
  }
  HRESULT GravaEntradasPendentes(_REG_VARMO_OP_APONTAMENTO) override { return 39; }
  HRESULT BuscaSaldoParaApontamento(_REG_PP_KEY_ITEM_APONTAMENTOPS,
                                    _REG_PP_SALDO_PROCESSOPS*) override {
    return 40;
  }
  HRESULT BuscaPonteirosNecessidades(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 41; }
  HRESULT BuscaPonteirosNecessidadesPeriodo(uint16_t, uint16_t,
                                            _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 42;
  }
  HRESULT LePonteirosNecessidades(uint32_t, uint32_t*, _REG_VARMO_OP_NECESSIDADE*) override {
    return 43;
  }
  HRESULT GravaNecessidade(uint32_t, _REG_VARMO_OP_NECESSIDADE, uint32_t*) override { return 44; }
  HRESULT CancelaNecessidade(uint32_t) override { return 45; }
  HRESULT LeNecessidade(uint32_t, _REG_VARMO_OP_NECESSIDADE*) override { return 46; }
  HRESULT AgruparNecessidades(_REG_VARMO_PONTEIROS_ULONGPS, uint32_t*) override { return 47; }
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS*) override { return 48; }
  HRESULT FazVerificacao(_REG_PP_OP_VERIFICACAO_INPS, _REG_PP_OP_VERIFICACAO_OUTPS*) override {
    return 49;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 50;
  }
  HRESULT CalcularSaldoHorasRecursoOP(uint32_t, uint32_t, _REG_PP_OP_TEMPOPS*) override {
    return 51;
  }
  HRESULT InterromperOP(uint32_t, BSTR) override { return 52; }
  HRESULT BuscaRemessaIndustrializacao(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS*,
                                       uint8_t) override {
    return 53;
  }
  HRESULT BuscaRemessaIndustrializacaoFiltro(_REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS*,
                                             _REG_PP_REMESSA_FILTROPS, uint8_t) override {
    return 54;
  }
  HRESULT LeRemessaIndustrializacao(uint32_t, _REG_PP_REMESSA_INDUSTRIALIZACAOPS*,
                                    uint8_t) override {
    return 55;
  }
  HRESULT AtualizaRemessaFT(int32_t, _REG_PP_RETORNO_REMESSA_FTPS*) override { return 56; }
};

struct FichaTecnicaNumerado final : SemContagem<IQVPP_FichaTecnica> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT SetFiltro(_REG_VARMO_FILTROPS) override { return 2; }
  HRESULT LimpaFiltro() override { return 3; }
  HRESULT Grava(int32_t, _REG_VARMO_FICHA_TECNICAPS, int32_t*) override { return 4; }
  HRESULT GravaImagens(int32_t, _REG_VARMO_FICHA_TECNICAPS) override { return 5; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 6; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_VARMO_FICHA_TECNICAPS*) override { return 7; }
  HRESULT Existe(_REG_VARMO_KEY_FICHA_TECNICAPS, int32_t*) override { return 8; }
  HRESULT Remove(int32_t) override { return 9; }
  HRESULT BuscaFichaProduto(_REG_VARMO_KEY_FICHA_TECNICAPS, _REG_VARMO_FICHA_TECNICAPS*) override {
    return 10;
  }
  HRESULT SugerirFichaTecnica(_REG_VARMO_KEY_FICHA_TECNICAPS,
                              _REG_VARMO_FICHA_TECNICAPS*) override {
    return 11;
  }
  HRESULT CalculaPrevisaoDeProducao(_REG_PP_PREV_PRODUCAO_INPS,
                                    _REG_PP_PREV_PRODUCAO_OUTPS*) override {
    return 12;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 13;
  }
};

struct MestrePPNumerado final : SemContagem<IQVPP_MestrePP> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Grava(_REG_VARMO_MESTRE) override { return 1; }
  HRESULT GravaInfApontExternoFiliais(uint16_t, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS*,
                                      int32_t*) override {
    return 2;
  }
  HRESULT Le(_REG_VARMO_MESTRE*) override { return 3; }
  HRESULT LeListaInfApontExternoFiliais(_REG_PP_LISTA_MESTRE_INF_APONT_EXTERNO_FILIALPS*) override {
    return 4;
  }
  HRESULT LeVersao(_REG_PP_VERSAOPS*) override { return 5; }
  HRESULT BuscaInfoServidor(_REG_VARMO_INFO_SERVIDORPS*) override { return 6; }
  HRESULT ProdutoTeveMovimentacao(uint32_t, int32_t*, uint16_t*) override { return 7; }
  HRESULT LeInfApontExternoFiliais(uint16_t, _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS*) override {
    return 8;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 9;
  }
};

struct CalendarioNumerado final : SemContagem<IQVPP_Calendario> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT BuscaPonteirosCalendario(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 2; }
  HRESULT LePonteirosCalendario(int32_t, uint32_t*, _REG_PP_CALENDARIOPS*) override { return 3; }
  HRESULT Le(uint32_t, _REG_PP_CALENDARIOPS*) override { return 4; }
  HRESULT BuscaQtdDiasCalendario(uint32_t, uint16_t, uint16_t*, uint32_t*) override { return 5; }
  HRESULT LeDatasCalendario(uint32_t, uint16_t, _REG_PP_DATA_CALENDARIOPS*) override { return 6; }
  HRESULT GravaCalendario(uint32_t, _REG_PP_CALENDARIOPS, uint32_t*) override { return 7; }
  HRESULT GravaDatasCalendario(uint32_t, uint16_t, uint16_t, _REG_PP_DATA_CALENDARIOPS*) override {
    return 8;
  }
  HRESULT GravaAlteracaoMultipla(_REG_PP_ALTERACAO_MULTIPLA_CALENDARIO) override { return 9; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 10;
  }
};

struct SecaoNumerado final : SemContagem<IQVPP_Secao> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 2; }
  HRESULT LePonteiros(int32_t, uint32_t*, _REG_PP_SECAOPS*) override { return 3; }
  HRESULT Grava(uint32_t, _REG_PP_SECAOPS, uint32_t*) override { return 4; }
  HRESULT Le(uint32_t, _REG_PP_SECAOPS*) override { return 5; }
  HRESULT Existe(BSTR, uint32_t*, uint8_t) override { return 6; }
  HRESULT Remove(uint32_t) override { return 7; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 8;
  }
};

struct RelatoriosNumerado final : SemContagem<IQVPP_Relatorios> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT RelatorioNecessidade(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_NECESSIDADEPS) override {
    return 1;
  }
  HRESULT RelatorioAcompanhamento(BSTR, BSTR, BSTR,
                                  _REG_PP_DET_RELATORIO_ACOMPANHAMENTOPS) override {
    return 2;
  }
  HRESULT RelatorioDemandaProducao(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_DEMANDAPS) override {
    return 3;
  }
  HRESULT RelatorioProdutoSemFichaTecnica(BSTR, BSTR, BSTR,
                                          _REG_PP_DET_RELATORIO_PRODUTO_SEM_FICHAPS) override {
    return 4;
  }
  HRESULT RelatorioFichaTecnica(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_FICHA_TECNICAPS) override {
    return 5;
  }
  HRESULT RelatorioProgramadoXProduzido(BSTR, BSTR, BSTR,
                                        _REG_PP_DET_RELATORIO_PROG_X_PRODPS) override {
    return 6;
  }
  HRESULT RelatorioApontamentoInterno(BSTR, BSTR, BSTR, _REG_VARMO_FILTRO_APONTAMENTOPS) override {
    return 7;
  }
  HRESULT RelatorioApontamentoExterno(BSTR, BSTR, BSTR, _REG_VARMO_FILTRO_APONTAMENTOPS) override {
    return 8;
  }
  HRESULT RelatorioPerdas(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_PERDASPS) override { return 9; }
  HRESULT RelatorioCustoProducao(BSTR, BSTR, BSTR,
                                 _REG_PP_DET_RELATORIO_CUSTO_PRODUCAOPS) override {
    return 10;
  }
  HRESULT RelatorioCapacidade(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_CAPACIDADEPS) override {
    return 11;
  }
  HRESULT RelatorioRegistroHoras(BSTR, BSTR, BSTR,
                                 _REG_PP_DET_RELATORIO_REGISTRO_HORASPS) override {
    return 12;
  }
  HRESULT RelatorioCapacidadeRecurso(BSTR, BSTR, BSTR,
                                     _REG_PP_DET_RELATORIO_CAPACIDADE_RECURSOPS) override {
    return 13;
  }
  HRESULT RelatorioGestaoManutencao(BSTR, BSTR, BSTR,
                                    _REG_PP_DET_RELATORIO_GESTAO_MANUTENCAOPS) override {
    return 14;
  }
  HRESULT RelatorioCustoProjeto(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_CUSTO_PROJETOPS) override {
    return 15;
  }
  HRESULT RelatorioResumoIndustrializador(
      BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_RESUMO_INDUSTRIALIZADORPS) override {
    return 16;
  }
  HRESULT RelatorioInsumoPorOP(BSTR, BSTR, BSTR, _REG_PP_DET_RELATORIO_INSUMO_POR_OPPS) override {
    return 17;
  }
  HRESULT RelatorioEncerramentoApontamentos(BSTR, BSTR, BSTR,
                                            _REG_PP_DET_RELATORIO_ENCERRAMENTO_FORCADOPS) override {
    return 18;
  }
  HRESULT RelatorioAcompanhamentoPedNec(BSTR, BSTR, BSTR,
                                        _REG_PP_DET_RELATORIO_ACOMPANHAMENTO_PED_NECPS) override {
    return 19;
  }
  HRESULT RelatorioApontamentoRecurso(BSTR, BSTR, BSTR,
                                      _REG_PP_FILTRO_APONTAMENTO_RECURSOPS) override {
    return 20;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 21;
  }
};

struct RecursosNumerado final : SemContagem<IQVPP_Recursos> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 2; }
  HRESULT VerificaMovimentoRecurso(int32_t, uint8_t*) override { return 3; }
  HRESULT Remove(int32_t) override { return 4; }
  HRESULT Grava(int32_t, _REG_PP_RECURSOPS, int32_t*) override { return 5; }
  HRESULT Le(int32_t, _REG_PP_RECURSOPS*, uint8_t) override { return 6; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_PP_RECURSOPS*, uint8_t) override { return 7; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 8; }
  HRESULT SetFiltro(_REG_PP_FILTRO_RECURSOPS) override { return 9; }
  HRESULT LimpaFiltro() override { return 10; }
  HRESULT AlteraManualContadorRecurso(_REG_PP_RECURSO_HISTORICO_CONTADORPS) override { return 11; }
  HRESULT BuscaHistoricoAlteracaoManualContador(
      uint32_t, _REG_PP_LISTA_RECURSO_HISTORICO_CONTADORPS*) override {
    return 12;
  }
  HRESULT AtualizaContador(uint32_t, _REG_PP_ATUALIZA_CONTADOR_RECURSOPS) override { return 13; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 14;
  }
};

struct ManutencaoNumerado final : SemContagem<IQVPP_Manutencao> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT GravaListaPlanoManutencao(int32_t, uint16_t, _REG_PP_PLANO_MANUTENCAOPS*) override {
    return 2;
  }
  HRESULT Grava(int32_t, _REG_PP_PLANO_MANUTENCAOPS, int32_t*) override { return 3; }
  HRESULT Remove(int32_t, uint8_t) override { return 4; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 5; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 6; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_PP_PLANO_MANUTENCAOPS*, uint8_t) override {
    return 7;
  }
  HRESULT Le(int32_t, _REG_PP_PLANO_MANUTENCAOPS*, uint8_t) override { return 8; }
  HRESULT SetFiltro(_REG_PP_FILTRO_PLANO_MANUTENCAOPS) override { return 9; }
  HRESULT LimpaFiltro() override { return 10; }
  HRESULT AtualizaPlanoManutencao(_REG_PP_ATUALIZA_PLANO_MANUTENCAOPS) override { return 11; }
  HRESULT BuscaListaPlanoManutencao(_REG_PP_FILTRO_PLANO_MANUTENCAOPS,
                                    _REG_PP_LISTA_PLANO_MANUTENCAOPS*, uint8_t) override {
    return 12;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 13;
  }
};

struct GestaoManutencaoNumerado final : SemContagem<IQVPP_GestaoManutencao> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 2; }
  HRESULT BuscaPonteirosPeriodo(uint16_t, uint16_t, _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 3;
  }
  HRESULT BuscaPonteirosPeriodoRecurso(_REG_PP_DISPONIBILIDADE_RECURSOPS,
                                       _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return 4;
  }
  HRESULT LePonteiros(int32_t, uint32_t*, _REG_PP_MANUTENCAOPS*, uint16_t) override { return 5; }
  HRESULT Grava(uint32_t, _REG_PP_MANUTENCAOPS, uint32_t*) override { return 6; }
  HRESULT Remove(uint32_t) override { return 7; }
  HRESULT SetFiltro(_REG_PP_FILTRO_GESTAO_MANUTENCAOPS) override { return 8; }
  HRESULT LimpaFiltro() override { return 9; }
  HRESULT Existe(BSTR, uint32_t*) override { return 10; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 11;
  }
};

struct TipoRecursoNumerado final : SemContagem<IQVPP_TipoRecurso> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT Grava(uint32_t, _REG_PP_TIPO_RECURSOPS, uint32_t*) override { return 2; }
  HRESULT Remove(uint32_t) override { return 3; }
  HRESULT LePonteiros(uint32_t, uint32_t*, _REG_PP_TIPO_RECURSOPS*, uint16_t) override { return 4; }
  HRESULT BuscaRegistros(_REG_PP_LISTA_TIPO_RECURSOPS*, uint16_t) override { return 5; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 6; }
  HRESULT SetFiltro(_REG_PP_FILTRO_TIPO_RECURSOPS) override { return 7; }
  HRESULT LimpaFiltro() override { return 8; }
  HRESULT Existe(BSTR, uint32_t*, uint8_t) override { return 9; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 10;
  }
};

struct ColecaoNumerado final : SemContagem<IQVPP_Colecao> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 2; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_PP_COLECAOPS*) override { return 3; }
  HRESULT Le(int32_t, _REG_PP_COLECAOPS*) override { return 4; }
  HRESULT Grava(int32_t, _REG_PP_COLECAOPS, int32_t*) override { return 5; }
  HRESULT Remove(int32_t) override { return 6; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 7; }
  HRESULT SetFiltro(_REG_PP_FILTRO_COLECAOPS) override { return 8; }
  HRESULT LimpaFiltro() override { return 9; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 10;
  }
};

struct MotivoRefugoNumerado final : SemContagem<IQVPP_MotivoRefugo> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROSPS*) override { return 2; }
  HRESULT Le(int32_t, _REG_PP_MOTIVO_REFUGOPS*) override { return 3; }
  HRESULT LePonteiros(int32_t, int32_t*, _REG_PP_MOTIVO_REFUGOPS*) override { return 4; }
  HRESULT Grava(int32_t, _REG_PP_MOTIVO_REFUGOPS, int32_t*) override { return 5; }
  HRESULT Remove(int32_t) override { return 6; }
  HRESULT Existe(BSTR, int32_t*, uint8_t) override { return 7; }
  HRESULT SetFiltro(_REG_PP_FILTRO_MOTIVO_REFUGOPS) override { return 8; }
  HRESULT LimpaFiltro() override { return 9; }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 10;
  }
};

struct MetasProducaoNumerado final : SemContagem<IQVPP_MetasProducao> {
  HRESULT Inicializa(_REG_VARMO_INICIALIZAPS, uint16_t) override { return 0; }
  HRESULT Finaliza() override { return 1; }
  HRESULT Grava(uint32_t, _REG_PP_META_PRODUCAOPS, uint32_t*) override { return 2; }
  HRESULT Remove(uint32_t) override { return 3; }
  HRESULT LePonteiros(uint32_t, uint32_t*, _REG_PP_META_PRODUCAOPS*, uint16_t) override {
    return 4;
  }
  HRESULT BuscaPonteiros(_REG_VARMO_PONTEIROS_ULONGPS*) override { return 5; }
  HRESULT BuscaRegistros(_LISTA_REG_PP_META_PRODUCAOPS*, uint16_t) override { return 6; }
  HRESULT BuscaRegistrosFiltrado(_REG_PP_FILTRO_META_PRODUCAOPS, _LISTA_REG_PP_META_PRODUCAOPS*,
                                 uint16_t) override {
    return 7;
  }
  HRESULT SetFiltro(_REG_PP_FILTRO_META_PRODUCAOPS) override { return 8; }
  HRESULT LimpaFiltro() override { return 9; }
  HRESULT CalcularMetasProducao(_REG_PP_FILTRO_CALCULO_META_PRODUCAOPS) override { return 10; }
  HRESULT ApontarMetaProducao(_REG_PP_META_PRODUCAOPS) override { return 11; }
  HRESULT ReplicarMetasProducao(_REG_PP_REPLICAR_META_PRODUCAOPS) override { return 12; }
  HRESULT BuscaDadoParaGrafico(_REG_PP_FILTRO_META_PRODUCAOPS,
                               _LISTA_REG_PP_META_PRODUCAOPS*) override {
    return 13;
  }
  HRESULT FuncaoGenerica(uint32_t, _REG_FUNCAO_GENERICA_VARMO,
                         _REG_FUNCAO_GENERICA_VARMO**) override {
    return 14;
  }
};

#pragma GCC diagnostic pop

}  // namespace

TEST(InterfaceSlots, TipoOPMethodKAnswersFromSlot3PlusK) {
  TipoOPNumerado object;
  const MetodoNumerado<IQVPP_TipoOP> metodos[] = {
      NUMERADO(IQVPP_TipoOP, Inicializa, 0),
      NUMERADO(IQVPP_TipoOP, Finaliza, 1),
      NUMERADO(IQVPP_TipoOP, Le, 2),
      NUMERADO(IQVPP_TipoOP, Grava, 3),
      NUMERADO(IQVPP_TipoOP, BuscaPonteiros, 4),
      NUMERADO(IQVPP_TipoOP, LePonteiros, 5),
      NUMERADO(IQVPP_TipoOP, SetFiltro, 6),
      NUMERADO(IQVPP_TipoOP, LimpaFiltro, 7),
      NUMERADO(IQVPP_TipoOP, Existe, 8),
      NUMERADO(IQVPP_TipoOP, Remove, 9),
      NUMERADO(IQVPP_TipoOP, IncrementaOP, 10),
      NUMERADO(IQVPP_TipoOP, BuscaListaPermissoes, 11),
      NUMERADO(IQVPP_TipoOP, FuncaoGenerica, 12),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_TipoOP>(&object, "IQVPP_TipoOP", metodos);
}

TEST(InterfaceSlots, ProcessoMethodKAnswersFromSlot3PlusK) {
  ProcessoNumerado object;
  const MetodoNumerado<IQVPP_Processo> metodos[] = {
      NUMERADO(IQVPP_Processo, Inicializa, 0),
      NUMERADO(IQVPP_Processo, Finaliza, 1),
      NUMERADO(IQVPP_Processo, Grava, 2),
      NUMERADO(IQVPP_Processo, BuscaPonteiros, 3),
      NUMERADO(IQVPP_Processo, LePonteiros, 4),
      NUMERADO(IQVPP_Processo, Existe, 5),
      NUMERADO(IQVPP_Processo, Remove, 6),
      NUMERADO(IQVPP_Processo, SetFiltro, 7),
      NUMERADO(IQVPP_Processo, LimpaFiltro, 8),
      NUMERADO(IQVPP_Processo, Le, 9),
      NUMERADO(IQVPP_Processo, FuncaoGenerica, 10),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Processo>(&object, "IQVPP_Processo", metodos);
}

TEST(InterfaceSlots, FluxoProcessoMethodKAnswersFromSlot3PlusK) {
  FluxoProcessoNumerado object;
  const MetodoNumerado<IQVPP_FluxoProcesso> metodos[] = {
      NUMERADO(IQVPP_FluxoProcesso, Inicializa, 0),
      NUMERADO(IQVPP_FluxoProcesso, Finaliza, 1),
      NUMERADO(IQVPP_FluxoProcesso, GravaFluxo, 2),
      NUMERADO(IQVPP_FluxoProcesso, BuscaPntrsFluxo, 3),
      NUMERADO(IQVPP_FluxoProcesso, LePntrsFluxo, 4),
      NUMERADO(IQVPP_FluxoProcesso, SetFiltro, 5),
      NUMERADO(IQVPP_FluxoProcesso, LimpaFiltro, 6),
      NUMERADO(IQVPP_FluxoProcesso, ExisteFluxo, 7),
      NUMERADO(IQVPP_FluxoProcesso, RemoveFluxo, 8),
      NUMERADO(IQVPP_FluxoProcesso, BuscaPntrsProcessosValidos, 9),
      NUMERADO(IQVPP_FluxoProcesso, Le, 10),
      NUMERADO(IQVPP_FluxoProcesso, FuncaoGenerica, 11),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_FluxoProcesso>(&object, "IQVPP_FluxoProcesso", metodos);
}

TEST(InterfaceSlots, OperacaoProducaoMethodKAnswersFromSlot3PlusK) {
  OperacaoProducaoNumerado object;
  const MetodoNumerado<IQVPP_OperacaoProducao> metodos[] = {
      NUMERADO(IQVPP_OperacaoProducao, Inicializa, 0),
      NUMERADO(IQVPP_OperacaoProducao, Finaliza, 1),
      NUMERADO(IQVPP_OperacaoProducao, SetFiltro, 2),
      NUMERADO(IQVPP_OperacaoProducao, LimpaFiltro, 3),
      NUMERADO(IQVPP_OperacaoProducao, Grava, 4),
      NUMERADO(IQVPP_OperacaoProducao, BuscaPonteiros, 5),
      NUMERADO(IQVPP_OperacaoProducao, LePonteiros, 6),
      NUMERADO(IQVPP_OperacaoProducao, Existe, 7),
      NUMERADO(IQVPP_OperacaoProducao, Remove, 8),
      NUMERADO(IQVPP_OperacaoProducao, Le, 9),
      NUMERADO(IQVPP_OperacaoProducao, GravaDetalhe, 10),
      NUMERADO(IQVPP_OperacaoProducao, LeDetalhe, 11),
      NUMERADO(IQVPP_OperacaoProducao, FuncaoGenerica, 12),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_OperacaoProducao>(&object, "IQVPP_OperacaoProducao", metodos);
}

TEST(InterfaceSlots, OPMethodKAnswersFromSlot3PlusK) {
  OPNumerado object;
  const MetodoNumerado<IQVPP_OP> metodos[] = {
      NUMERADO(IQVPP_OP, Inicializa, 0),
      NUMERADO(IQVPP_OP, Finaliza, 1),
      NUMERADO(IQVPP_OP, BuscaQtdsNecessarias, 2),
      NUMERADO(IQVPP_OP, BuscaListaDadoPedido, 3),
      NUMERADO(IQVPP_OP, BuscaSaldoItemOP, 4),
      NUMERADO(IQVPP_OP, SetFiltro, 5),
      NUMERADO(IQVPP_OP, LimpaFiltro, 6),
      NUMERADO(IQVPP_OP, GravaOP, 7),
      NUMERADO(IQVPP_OP, Cancela, 8),
      NUMERADO(IQVPP_OP, BuscaPonteiros, 9),
      NUMERADO(IQVPP_OP, BuscaPonteirosPeriodo, 10),
      NUMERADO(IQVPP_OP, BuscaPonteirosFiltro, 11),
      NUMERADO(IQVPP_OP, LePonteiros, 12),
      NUMERADO(IQVPP_OP, LeCabecalhoOP, 13),
      NUMERADO(IQVPP_OP, LePonteirosSomenteCabecalho, 14),
      NUMERADO(IQVPP_OP, LeItensPendentesOP, 15),
      NUMERADO(IQVPP_OP, BuscaChavesReplicacao, 16),
      NUMERADO(IQVPP_OP, EmitirEtiquetas, 17),
      NUMERADO(IQVPP_OP, GravaApontamento, 18),
      NUMERADO(IQVPP_OP, LeApontamentosProcesso, 19),
      NUMERADO(IQVPP_OP, LeApontamentosProcessoTerceirizado, 20),
      NUMERADO(IQVPP_OP, RemoveApontamento, 21),
      NUMERADO(IQVPP_OP, LeRetornosIndustExterna, 22),
      NUMERADO(IQVPP_OP, CalcularValorEntrada, 23),
      NUMERADO(IQVPP_OP, CalcularValorRecursosNaoApontados, 24),
      NUMERADO(IQVPP_OP, BuscaApontamentos, 25),
      NUMERADO(IQVPP_OP, BuscaApontamentosRecursoPeriodo, 26),
      NUMERADO(IQVPP_OP, BuscaApontamentosRecursos, 27),
      NUMERADO(IQVPP_OP, SetFiltroApontamento, 28),
      NUMERADO(IQVPP_OP, LimpaFiltroApontamento, 29),
      NUMERADO(IQVPP_OP, GravaApontamentoRetornoIndustrializacao, 30),
      NUMERADO(IQVPP_OP, RemoveApontamentoRetornoIndustrializacao, 31),
      NUMERADO(IQVPP_OP, BuscaOPGeradoraDaEntrada, 32),
      NUMERADO(IQVPP_OP, BuscaOPConsumidoraInsumo, 33),
      NUMERADO(IQVPP_OP, LeApontamento, 34),
      NUMERADO(IQVPP_OP, BuscaListaRetornoNFPendente, 35),
      NUMERADO(IQVPP_OP, VincularNFRetorno, 36),
      NUMERADO(IQVPP_OP, BuscaPonteirosApontamento, 37),
      NUMERADO(IQVPP_OP, LePonteirosApontamento, 38),
      NUMERADO(IQVPP_OP, GravaEntradasPendentes, 39),
      NUMERADO(IQVPP_OP, BuscaSaldoParaApontamento, 40),
      NUMERADO(IQVPP_OP, BuscaPonteirosNecessidades, 41),
      NUMERADO(IQVPP_OP, BuscaPonteirosNecessidadesPeriodo, 42),
      NUMERADO(IQVPP_OP, LePonteirosNecessidades, 43),
      NUMERADO(IQVPP_OP, GravaNecessidade, 44),
      NUMERADO(IQVPP_OP, CancelaNecessidade, 45),
      NUMERADO(IQVPP_OP, LeNecessidade, 46),
      NUMERADO(IQVPP_OP, AgruparNecessidades, 47),
      NUMERADO(IQVPP_OP, BuscaInfoServidor, 48),
      NUMERADO(IQVPP_OP, FazVerificacao, 49),
      NUMERADO(IQVPP_OP, FuncaoGenerica, 50),
      NUMERADO(IQVPP_OP, CalcularSaldoHorasRecursoOP, 51),
      NUMERADO(IQVPP_OP, InterromperOP, 52),
      NUMERADO(IQVPP_OP, BuscaRemessaIndustrializacao, 53),
      NUMERADO(IQVPP_OP, BuscaRemessaIndustrializacaoFiltro, 54),
      NUMERADO(IQVPP_OP, LeRemessaIndustrializacao, 55),
      NUMERADO(IQVPP_OP, AtualizaRemessaFT, 56),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_OP>(&object, "IQVPP_OP", metodos);
}

TEST(InterfaceSlots, FichaTecnicaMethodKAnswersFromSlot3PlusK) {
  FichaTecnicaNumerado object;
  const MetodoNumerado<IQVPP_FichaTecnica> metodos[] = {
      NUMERADO(IQVPP_FichaTecnica, Inicializa, 0),
      NUMERADO(IQVPP_FichaTecnica, Finaliza, 1),
      NUMERADO(IQVPP_FichaTecnica, SetFiltro, 2),
      NUMERADO(IQVPP_FichaTecnica, LimpaFiltro, 3),
      NUMERADO(IQVPP_FichaTecnica, Grava, 4),
      NUMERADO(IQVPP_FichaTecnica, GravaImagens, 5),
      NUMERADO(IQVPP_FichaTecnica, BuscaPonteiros, 6),
      NUMERADO(IQVPP_FichaTecnica, LePonteiros, 7),
      NUMERADO(IQVPP_FichaTecnica, Existe, 8),
      NUMERADO(IQVPP_FichaTecnica, Remove, 9),
      NUMERADO(IQVPP_FichaTecnica, BuscaFichaProduto, 10),
      NUMERADO(IQVPP_FichaTecnica, SugerirFichaTecnica, 11),
      NUMERADO(IQVPP_FichaTecnica, CalculaPrevisaoDeProducao, 12),
      NUMERADO(IQVPP_FichaTecnica, FuncaoGenerica, 13),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_FichaTecnica>(&object, "IQVPP_FichaTecnica", metodos);
}

TEST(InterfaceSlots, MestrePPMethodKAnswersFromSlot3PlusK) {
  MestrePPNumerado object;
  const MetodoNumerado<IQVPP_MestrePP> metodos[] = {
      NUMERADO(IQVPP_MestrePP, Inicializa, 0),
      NUMERADO(IQVPP_MestrePP, Grava, 1),
      NUMERADO(IQVPP_MestrePP, GravaInfApontExternoFiliais, 2),
      NUMERADO(IQVPP_MestrePP, Le, 3),
      NUMERADO(IQVPP_MestrePP, LeListaInfApontExternoFiliais, 4),
      NUMERADO(IQVPP_MestrePP, LeVersao, 5),
      NUMERADO(IQVPP_MestrePP, BuscaInfoServidor, 6),
      NUMERADO(IQVPP_MestrePP, ProdutoTeveMovimentacao, 7),
      NUMERADO(IQVPP_MestrePP, LeInfApontExternoFiliais, 8),
      NUMERADO(IQVPP_MestrePP, FuncaoGenerica, 9),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_MestrePP>(&object, "IQVPP_MestrePP", metodos);
}

TEST(InterfaceSlots, CalendarioMethodKAnswersFromSlot3PlusK) {
  CalendarioNumerado object;
  const MetodoNumerado<IQVPP_Calendario> metodos[] = {
      NUMERADO(IQVPP_Calendario, Inicializa, 0),
      NUMERADO(IQVPP_Calendario, Finaliza, 1),
      NUMERADO(IQVPP_Calendario, BuscaPonteirosCalendario, 2),
      NUMERADO(IQVPP_Calendario, LePonteirosCalendario, 3),
      NUMERADO(IQVPP_Calendario, Le, 4),
      NUMERADO(IQVPP_Calendario, BuscaQtdDiasCalendario, 5),
      NUMERADO(IQVPP_Calendario, LeDatasCalendario, 6),
      NUMERADO(IQVPP_Calendario, GravaCalendario, 7),
      NUMERADO(IQVPP_Calendario, GravaDatasCalendario, 8),
      NUMERADO(IQVPP_Calendario, GravaAlteracaoMultipla, 9),
      NUMERADO(IQVPP_Calendario, FuncaoGenerica, 10),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Calendario>(&object, "IQVPP_Calendario", metodos);
}

TEST(InterfaceSlots, SecaoMethodKAnswersFromSlot3PlusK) {
  SecaoNumerado object;
  const MetodoNumerado<IQVPP_Secao> metodos[] = {
      NUMERADO(IQVPP_Secao, Inicializa, 0),
      NUMERADO(IQVPP_Secao, Finaliza, 1),
      NUMERADO(IQVPP_Secao, BuscaPonteiros, 2),
      NUMERADO(IQVPP_Secao, LePonteiros, 3),
      NUMERADO(IQVPP_Secao, Grava, 4),
      NUMERADO(IQVPP_Secao, Le, 5),
      NUMERADO(IQVPP_Secao, Existe, 6),
      NUMERADO(IQVPP_Secao, Remove, 7),
      NUMERADO(IQVPP_Secao, FuncaoGenerica, 8),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Secao>(&object, "IQVPP_Secao", metodos);
}

TEST(InterfaceSlots, RelatoriosMethodKAnswersFromSlot3PlusK) {
  RelatoriosNumerado object;
  const MetodoNumerado<IQVPP_Relatorios> metodos[] = {
      NUMERADO(IQVPP_Relatorios, Inicializa, 0),
      NUMERADO(IQVPP_Relatorios, RelatorioNecessidade, 1),
      NUMERADO(IQVPP_Relatorios, RelatorioAcompanhamento, 2),
      NUMERADO(IQVPP_Relatorios, RelatorioDemandaProducao, 3),
      NUMERADO(IQVPP_Relatorios, RelatorioProdutoSemFichaTecnica, 4),
      NUMERADO(IQVPP_Relatorios, RelatorioFichaTecnica, 5),
      NUMERADO(IQVPP_Relatorios, RelatorioProgramadoXProduzido, 6),
      NUMERADO(IQVPP_Relatorios, RelatorioApontamentoInterno, 7),
      NUMERADO(IQVPP_Relatorios, RelatorioApontamentoExterno, 8),
      NUMERADO(IQVPP_Relatorios, RelatorioPerdas, 9),
      NUMERADO(IQVPP_Relatorios, RelatorioCustoProducao, 10),
      NUMERADO(IQVPP_Relatorios, RelatorioCapacidade, 11),
      NUMERADO(IQVPP_Relatorios, RelatorioRegistroHoras, 12),
      NUMERADO(IQVPP_Relatorios, RelatorioCapacidadeRecurso, 13),
      NUMERADO(IQVPP_Relatorios, RelatorioGestaoManutencao, 14),
      NUMERADO(IQVPP_Relatorios, RelatorioCustoProjeto, 15),
      NUMERADO(IQVPP_Relatorios, RelatorioResumoIndustrializador, 16),
      NUMERADO(IQVPP_Relatorios, RelatorioInsumoPorOP, 17),
      NUMERADO(IQVPP_Relatorios, RelatorioEncerramentoApontamentos, 18),
      NUMERADO(IQVPP_Relatorios, RelatorioAcompanhamentoPedNec, 19),
      NUMERADO(IQVPP_Relatorios, RelatorioApontamentoRecurso, 20),
      NUMERADO(IQVPP_Relatorios, FuncaoGenerica, 21),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Relatorios>(&object, "IQVPP_Relatorios", metodos);
}

TEST(InterfaceSlots, RecursosMethodKAnswersFromSlot3PlusK) {
  RecursosNumerado object;
  const MetodoNumerado<IQVPP_Recursos> metodos[] = {
      NUMERADO(IQVPP_Recursos, Inicializa, 0),
      NUMERADO(IQVPP_Recursos, Finaliza, 1),
      NUMERADO(IQVPP_Recursos, Existe, 2),
      NUMERADO(IQVPP_Recursos, VerificaMovimentoRecurso, 3),
      NUMERADO(IQVPP_Recursos, Remove, 4),
      NUMERADO(IQVPP_Recursos, Grava, 5),
      NUMERADO(IQVPP_Recursos, Le, 6),
      NUMERADO(IQVPP_Recursos, LePonteiros, 7),
      NUMERADO(IQVPP_Recursos, BuscaPonteiros, 8),
      NUMERADO(IQVPP_Recursos, SetFiltro, 9),
      NUMERADO(IQVPP_Recursos, LimpaFiltro, 10),
      NUMERADO(IQVPP_Recursos, AlteraManualContadorRecurso, 11),
      NUMERADO(IQVPP_Recursos, BuscaHistoricoAlteracaoManualContador, 12),
      NUMERADO(IQVPP_Recursos, AtualizaContador, 13),
      NUMERADO(IQVPP_Recursos, FuncaoGenerica, 14),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Recursos>(&object, "IQVPP_Recursos", metodos);
}

TEST(InterfaceSlots, ManutencaoMethodKAnswersFromSlot3PlusK) {
  ManutencaoNumerado object;
  const MetodoNumerado<IQVPP_Manutencao> metodos[] = {
      NUMERADO(IQVPP_Manutencao, Inicializa, 0),
      NUMERADO(IQVPP_Manutencao, Finaliza, 1),
      NUMERADO(IQVPP_Manutencao, GravaListaPlanoManutencao, 2),
      NUMERADO(IQVPP_Manutencao, Grava, 3),
      NUMERADO(IQVPP_Manutencao, Remove, 4),
      NUMERADO(IQVPP_Manutencao, Existe, 5),
      NUMERADO(IQVPP_Manutencao, BuscaPonteiros, 6),
      NUMERADO(IQVPP_Manutencao, LePonteiros, 7),
      NUMERADO(IQVPP_Manutencao, Le, 8),
      NUMERADO(IQVPP_Manutencao, SetFiltro, 9),
      NUMERADO(IQVPP_Manutencao, LimpaFiltro, 10),
      NUMERADO(IQVPP_Manutencao, AtualizaPlanoManutencao, 11),
      NUMERADO(IQVPP_Manutencao, BuscaListaPlanoManutencao, 12),
      NUMERADO(IQVPP_Manutencao, FuncaoGenerica, 13),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Manutencao>(&object, "IQVPP_Manutencao", metodos);
}

TEST(InterfaceSlots, GestaoManutencaoMethodKAnswersFromSlot3PlusK) {
  GestaoManutencaoNumerado object;
  const MetodoNumerado<IQVPP_GestaoManutencao> metodos[] = {
      NUMERADO(IQVPP_GestaoManutencao, Inicializa, 0),
      NUMERADO(IQVPP_GestaoManutencao, Finaliza, 1),
      NUMERADO(IQVPP_GestaoManutencao, BuscaPonteiros, 2),
      NUMERADO(IQVPP_GestaoManutencao, BuscaPonteirosPeriodo, 3),
      NUMERADO(IQVPP_GestaoManutencao, BuscaPonteirosPeriodoRecurso, 4),
      NUMERADO(IQVPP_GestaoManutencao, LePonteiros, 5),
      NUMERADO(IQVPP_GestaoManutencao, Grava, 6),
      NUMERADO(IQVPP_GestaoManutencao, Remove, 7),
      NUMERADO(IQVPP_GestaoManutencao, SetFiltro, 8),
      NUMERADO(IQVPP_GestaoManutencao, LimpaFiltro, 9),
      NUMERADO(IQVPP_GestaoManutencao, Existe, 10),
      NUMERADO(IQVPP_GestaoManutencao, FuncaoGenerica, 11),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_GestaoManutencao>(&object, "IQVPP_GestaoManutencao", metodos);
}

TEST(InterfaceSlots, TipoRecursoMethodKAnswersFromSlot3PlusK) {
  TipoRecursoNumerado object;
  const MetodoNumerado<IQVPP_TipoRecurso> metodos[] = {
      NUMERADO(IQVPP_TipoRecurso, Inicializa, 0),
      NUMERADO(IQVPP_TipoRecurso, Finaliza, 1),
      NUMERADO(IQVPP_TipoRecurso, Grava, 2),
      NUMERADO(IQVPP_TipoRecurso, Remove, 3),
      NUMERADO(IQVPP_TipoRecurso, LePonteiros, 4),
      NUMERADO(IQVPP_TipoRecurso, BuscaRegistros, 5),
      NUMERADO(IQVPP_TipoRecurso, BuscaPonteiros, 6),
      NUMERADO(IQVPP_TipoRecurso, SetFiltro, 7),
      NUMERADO(IQVPP_TipoRecurso, LimpaFiltro, 8),
      NUMERADO(IQVPP_TipoRecurso, Existe, 9),
      NUMERADO(IQVPP_TipoRecurso, FuncaoGenerica, 10),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_TipoRecurso>(&object, "IQVPP_TipoRecurso", metodos);
}

TEST(InterfaceSlots, ColecaoMethodKAnswersFromSlot3PlusK) {
  ColecaoNumerado object;
  const MetodoNumerado<IQVPP_Colecao> metodos[] = {
      NUMERADO(IQVPP_Colecao, Inicializa, 0),
      NUMERADO(IQVPP_Colecao, Finaliza, 1),
      NUMERADO(IQVPP_Colecao, BuscaPonteiros, 2),
      NUMERADO(IQVPP_Colecao, LePonteiros, 3),
      NUMERADO(IQVPP_Colecao, Le, 4),
      NUMERADO(IQVPP_Colecao, Grava, 5),
      NUMERADO(IQVPP_Colecao, Remove, 6),
      NUMERADO(IQVPP_Colecao, Existe, 7),
      NUMERADO(IQVPP_Colecao, SetFiltro, 8),
      NUMERADO(IQVPP_Colecao, LimpaFiltro, 9),
      NUMERADO(IQVPP_Colecao, FuncaoGenerica, 10),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_Colecao>(&object, "IQVPP_Colecao", metodos);
}

TEST(InterfaceSlots, MotivoRefugoMethodKAnswersFromSlot3PlusK) {
  MotivoRefugoNumerado object;
  const MetodoNumerado<IQVPP_MotivoRefugo> metodos[] = {
      NUMERADO(IQVPP_MotivoRefugo, Inicializa, 0),
      NUMERADO(IQVPP_MotivoRefugo, Finaliza, 1),
      NUMERADO(IQVPP_MotivoRefugo, BuscaPonteiros, 2),
      NUMERADO(IQVPP_MotivoRefugo, Le, 3),
      NUMERADO(IQVPP_MotivoRefugo, LePonteiros, 4),
      NUMERADO(IQVPP_MotivoRefugo, Grava, 5),
      NUMERADO(IQVPP_MotivoRefugo, Remove, 6),
      NUMERADO(IQVPP_MotivoRefugo, Existe, 7),
      NUMERADO(IQVPP_MotivoRefugo, SetFiltro, 8),
      NUMERADO(IQVPP_MotivoRefugo, LimpaFiltro, 9),
      NUMERADO(IQVPP_MotivoRefugo, FuncaoGenerica, 10),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_MotivoRefugo>(&object, "IQVPP_MotivoRefugo", metodos);
}

TEST(InterfaceSlots, MetasProducaoMethodKAnswersFromSlot3PlusK) {
  MetasProducaoNumerado object;
  const MetodoNumerado<IQVPP_MetasProducao> metodos[] = {
      NUMERADO(IQVPP_MetasProducao, Inicializa, 0),
      NUMERADO(IQVPP_MetasProducao, Finaliza, 1),
      NUMERADO(IQVPP_MetasProducao, Grava, 2),
      NUMERADO(IQVPP_MetasProducao, Remove, 3),
      NUMERADO(IQVPP_MetasProducao, LePonteiros, 4),
      NUMERADO(IQVPP_MetasProducao, BuscaPonteiros, 5),
      NUMERADO(IQVPP_MetasProducao, BuscaRegistros, 6),
      NUMERADO(IQVPP_MetasProducao, BuscaRegistrosFiltrado, 7),
      NUMERADO(IQVPP_MetasProducao, SetFiltro, 8),
      NUMERADO(IQVPP_MetasProducao, LimpaFiltro, 9),
      NUMERADO(IQVPP_MetasProducao, CalcularMetasProducao, 10),
      NUMERADO(IQVPP_MetasProducao, ApontarMetaProducao, 11),
      NUMERADO(IQVPP_MetasProducao, ReplicarMetasProducao, 12),
      NUMERADO(IQVPP_MetasProducao, BuscaDadoParaGrafico, 13),
      NUMERADO(IQVPP_MetasProducao, FuncaoGenerica, 14),
  };
  EsperaCadaMetodoNoSeuSlot<IQVPP_MetasProducao>(&object, "IQVPP_MetasProducao", metodos);
}
