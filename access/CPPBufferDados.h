// The entity caches of one client object: branches, accounts, municipalities, users, units,
// products, services, grid items and references, price items, the module's master record,
// categories, resource types, order types, processes with the stops of their resources, resources,
// production operations, stock locations, batches, sales orders and stock balances. Each cache
// maps the entity's key to a full copy of its data object and is either not loaded or loaded:
// - an on-demand cache is loaded by sizing its table (from the server's count, or a fixed size)
//   and then takes entities one by one as its LeBuffer misses and reads them through the readers
//   of CPPAcessoDados;
// - the users and the categories are read whole at their load, the master record is one read;
// - the stock balances are loaded only by InicializaBufferSaldosProdutosES with a filter, updated
//   only by their users, and survive the timed refresh (CPPBuffer).
// Construction, Finaliza (so every Inicializa), LimparBuffer and the timed refresh unload them.
// A cached entity is never refreshed on its own: others' changes show after the refresh interval
// (with refresh on), LimparBuffer or a new session.
//
// Every operation answers the 32-bit HRESULT of the load or of the reader; nothing is stored and
// no flag changes when they fail. The extra argument of a LeBuffer (reading kind, price table)
// takes part in the read on a miss, never in the key: an entity cached under one price table is
// returned as it is to a request with another. The caller owns the object it passes and receives
// a copy; the caches own theirs.
//
// How a cache is declared: one line of PP_CACHES_BUFFER (name, key, value class) gives its map
// and loaded flag; its InicializaBuffer names the server and the sizing call over
// InicializaContado, InicializaComInterface or InicializaTabelaFixa, and its LeBuffer names the
// reader over LeBufferComum. Keys other than 32-bit numbers specialise PPChaveMapa (below).
//
// Nothing is shared between two objects; one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "access/CPPBuffer.h"
#include "access/PPMapaBuffer.h"
#include "model/CPPDadosCategoria.h"
#include "platform/family/estoque/RegistrosEstoque.h"

#pragma pack(push, 2)

// A calendar's or a resource's pointer and a day number.
struct _REG_PP_KEY_PONTEIRO_DATAPS {
  int32_t ponteiro;
  uint16_t data;
};
static_assert(sizeof(_REG_PP_KEY_PONTEIRO_DATAPS) == 6);

// The first 52 bytes of a stock balance (_REG_ES_SALDOS_PRODUTOSPS): the product position and the
// rest of the inventory module's balance key. Bytes 10-11 and 35-51 take no part in the key.
struct _REG_ES_KEY_SALDOS_PRODUTOSPS {
  _REG_POSICAO_PRODUTOPS regPosicaoProduto;
  uint8_t cReservado10[2];
  uint32_t ulValor12;
  uint32_t ulValor16;
  uint32_t ulValor20;
  uint32_t ulValor24;
  uint32_t ulValor28;
  uint16_t usValor32;
  uint8_t cValor34;
  uint8_t cReservado35[17];
};
static_assert(sizeof(_REG_ES_KEY_SALDOS_PRODUTOSPS) == 52);
static_assert(offsetof(_REG_ES_KEY_SALDOS_PRODUTOSPS, ulValor12) == 12);
static_assert(offsetof(_REG_ES_KEY_SALDOS_PRODUTOSPS, usValor32) == 32);
static_assert(offsetof(_REG_ES_KEY_SALDOS_PRODUTOSPS, cValor34) == 34);

#pragma pack(pop)

// The grid-item key: the grid and the item number, both whole. (A key of (grid << 8) + item would
// let grid 1 item 300 and grid 2 item 44 meet.)
struct PPChaveGrade {
  uint16_t grade;
  uint16_t item;
};

template <>
struct PPChaveMapa<PPChaveGrade> {
  static uint32_t Hash(PPChaveGrade c) { return (static_cast<uint32_t>(c.grade) << 10) ^ c.item; }
  static bool Igual(PPChaveGrade a, PPChaveGrade b) { return a.grade == b.grade && a.item == b.item; }
};

template <>
struct PPChaveMapa<_REG_PP_KEY_PONTEIRO_DATAPS> {
  static uint32_t Hash(const _REG_PP_KEY_PONTEIRO_DATAPS& c) {
    return (static_cast<uint32_t>(c.ponteiro) << 16) | c.data;
  }
  static bool Igual(const _REG_PP_KEY_PONTEIRO_DATAPS& a, const _REG_PP_KEY_PONTEIRO_DATAPS& b) {
    return a.ponteiro == b.ponteiro && a.data == b.data;
  }
};

template <>
struct PPChaveMapa<_REG_POSICAO_PRODUTOPS> {
  static uint32_t Hash(const _REG_POSICAO_PRODUTOPS& c) {
    uint32_t hash = (c.lPonteiroProduto << 6) | (c.iPonteiroItemGrade1 & 63u);
    hash = (hash << 6) | (c.iPonteiroItemGrade2 & 63u);
    return (hash << 6) | (c.iPonteiroItemGrade3 & 63u);
  }
  static bool Igual(const _REG_POSICAO_PRODUTOPS& a, const _REG_POSICAO_PRODUTOPS& b) {
    return a.lPonteiroProduto == b.lPonteiroProduto && a.iPonteiroItemGrade1 == b.iPonteiroItemGrade1 &&
           a.iPonteiroItemGrade2 == b.iPonteiroItemGrade2 && a.iPonteiroItemGrade3 == b.iPonteiroItemGrade3;
  }
};

template <>
struct PPChaveMapa<_REG_FILTRO_LEITURA_TAB_PRECOSPS> {
  static uint32_t Hash(const _REG_FILTRO_LEITURA_TAB_PRECOSPS& c) {
    uint32_t hash = (c.iPonteiroItemGrade1 & 0x1FFu) | (c.lPonteiroProduto << 8);
    hash = (hash << 4) | (c.iPonteiroItemGrade2 & 15u);
    return (hash << 4) | (c.iPonteiroTabelaPreco & 15u);
  }
  static bool Igual(const _REG_FILTRO_LEITURA_TAB_PRECOSPS& a, const _REG_FILTRO_LEITURA_TAB_PRECOSPS& b) {
    return a.lPonteiroProduto == b.lPonteiroProduto && a.iPonteiroTabelaPreco == b.iPonteiroTabelaPreco &&
           a.iPonteiroItemGrade1 == b.iPonteiroItemGrade1 && a.iPonteiroItemGrade2 == b.iPonteiroItemGrade2 &&
           a.iPonteiroItemGrade3 == b.iPonteiroItemGrade3 && a.iReservado12 == b.iReservado12;
  }
};

template <>
struct PPChaveMapa<_REG_ES_KEY_SALDOS_PRODUTOSPS> {
  static uint32_t Hash(const _REG_ES_KEY_SALDOS_PRODUTOSPS& c) {
    uint32_t hash = (c.ulValor12 & 0x3FFu) | (c.regPosicaoProduto.lPonteiroProduto << 10);
    hash = (hash << 10) | (c.usValor32 & 0x3FFu);
    return (hash << 2) | (c.cValor34 & 2u);
  }
  static bool Igual(const _REG_ES_KEY_SALDOS_PRODUTOSPS& a, const _REG_ES_KEY_SALDOS_PRODUTOSPS& b) {
    return PPChaveMapa<_REG_POSICAO_PRODUTOPS>::Igual(a.regPosicaoProduto, b.regPosicaoProduto) &&
           a.ulValor12 == b.ulValor12 && a.ulValor16 == b.ulValor16 && a.ulValor20 == b.ulValor20 &&
           a.ulValor24 == b.ulValor24 && a.ulValor28 == b.ulValor28 && a.usValor32 == b.usValor32 &&
           a.cValor34 == b.cValor34;
  }
};

// One cache: its map and whether it is loaded.
template <class K, class V>
struct PPCacheBuffer {
  using Chave = K;
  using Valor = V;
  PPMapaBuffer<K, V> mapa;
  bool carregado = false;
};

// The caches that LimparBuffer(true) drops, with their key and value class. The stock balances
// and the master record are declared apart.
#define PP_CACHES_BUFFER(X)                                                               \
  X(Filial, int32_t, CPPDadosFilial)                                                      \
  X(ContaContabil, int32_t, CPPDadosPlanoDF)                                              \
  X(ContaGerencial, int32_t, CPPDadosPlanoDF)                                             \
  X(Municipio, int32_t, CPPDadosMunicipio)                                                \
  X(Usuario, int32_t, CPPDadosUsuario)                                                    \
  X(UnMedida, int32_t, CPPDadosUnMedida)                                                  \
  X(UnServico, int32_t, CPPDadosUnServico)                                                \
  X(Produto, int32_t, CPPDadosProduto)                                                    \
  X(Servico, int32_t, CPPDadosServico)                                                    \
  X(Grade, PPChaveGrade, CPPDadosGradeProduto)                                            \
  X(ReferenciaGrade, _REG_POSICAO_PRODUTOPS, CPPDadosReferenciaGrade)                     \
  X(ItemTabelaPrecoProduto, _REG_FILTRO_LEITURA_TAB_PRECOSPS, CPPDadosItemTabelaPreco)    \
  X(InfSuplementar, int32_t, CPPDadosCategoria)                                           \
  X(TipoRecurso, uint32_t, CPPDadosTipoRecurso)                                           \
  X(TipoOP, int32_t, CPPDadosTipoOP)                                                      \
  X(Processo, int32_t, CPPDadosProcesso)                                                  \
  X(ParadaRecurso, _REG_PP_KEY_PONTEIRO_DATAPS, CPPDadosPlanoManutencaoProgramacao)       \
  X(Recurso, int32_t, CPPDadosRecurso)                                                    \
  X(Operacao, int32_t, CPPDadosOperacaoProducao)                                          \
  X(LocalES, int32_t, CPPDadosLocalES)                                                    \
  X(LoteES, int32_t, CPPDadosLoteES)                                                      \
  X(PedidoFT, uint32_t, CPPDadosPedidoFT)

class CPPBufferDados : public CPPBuffer {
 public:
  // The table of the caches whose count is not asked for.
  static constexpr uint32_t kTamanhoTabelaFixa = 1023;

  // Every cache empty and not loaded, then Finaliza.
  CPPBufferDados();
  ~CPPBufferDados() override = default;

  // LimparBuffer(false), then the hub's Finaliza, whose result it returns.
  int32_t Finaliza() override;
  void LimparBuffer(bool mantemSaldos) override;

  // Counted caches: their table sized from the server's count x 1.21 (a count of 0 keeps it).
  int32_t InicializaBufferFilial();
  int32_t InicializaBufferContaContabil();
  int32_t InicializaBufferContaGerencial();
  int32_t InicializaBufferMunicipio();
  int32_t InicializaBufferUnMedida();
  int32_t InicializaBufferUnServico();
  int32_t InicializaBufferProduto();
  int32_t InicializaBufferServico();
  int32_t InicializaBufferLocalES();
  // Counted by the pointers that pass the resource-type server's filter.
  int32_t InicializaBufferTipoRecurso();
  // Counted by the pointers that pass each class's filter. The process load leaves the resource
  // stops as they are: they are filled only by LeBufferProcesso.
  int32_t InicializaBufferTipoOP();
  int32_t InicializaBufferProcesso();
  int32_t InicializaBufferRecurso();
  int32_t InicializaBufferOperacao();
  // Loads that only check the server (the table keeps its size), or take the fixed table.
  int32_t InicializaBufferGrade();
  int32_t InicializaBufferReferenciaGrade();
  int32_t InicializaBufferItemTabelaPrecoProduto();
  int32_t InicializaBufferLoteES();
  int32_t InicializaBufferPedidoFT();
  // Whole loads.
  int32_t InicializaBufferUsuario();
  int32_t InicializaBufferInfSuplementar();
  // The master record; loaded only when its read succeeds.
  int32_t InicializaBufferMestrePP();

  int32_t LeBufferFilial(int32_t ponteiro, CPPDadosFilial* filial);
  int32_t LeBufferContaContabil(int32_t ponteiro, CPPDadosPlanoDF* conta);
  int32_t LeBufferContaGerencial(int32_t ponteiro, CPPDadosPlanoDF* conta);
  int32_t LeBufferMunicipio(int32_t ponteiro, CPPDadosMunicipio* municipio);
  int32_t LeBufferUnMedida(int32_t ponteiro, CPPDadosUnMedida* unidade);
  int32_t LeBufferUnServico(int32_t ponteiro, CPPDadosUnServico* unidade);
  // A price table of 0 is the master record's sale table, looked up only on a miss.
  int32_t LeBufferProduto(int32_t ponteiro, CPPDadosProduto* produto, uint16_t usTabelaPreco);
  int32_t LeBufferServico(int32_t ponteiro, CPPDadosServico* servico, uint16_t usTabelaPreco);
  int32_t LeBufferGrade(uint16_t grade, uint16_t item, CPPDadosGradeProduto* itemGrade);
  int32_t LeBufferReferenciaGrade(_REG_POSICAO_PRODUTOPS posicao, CPPDadosReferenciaGrade* referencia);
  int32_t LeBufferItemTabelaPrecoProduto(_REG_FILTRO_LEITURA_TAB_PRECOSPS filtro, CPPDadosItemTabelaPreco* item);
  int32_t LeBufferMestrePP(CPPDadosMestre* mestre);
  int32_t LeBufferLocalES(int32_t ponteiro, CPPDadosLocalES* local);
  int32_t LeBufferLoteES(int32_t ponteiro, CPPDadosLoteES* lote);
  int32_t LeBufferPedidoFT(uint32_t chave, CPPDadosPedidoFT* pedido);
  // The reading kind of LeTipoRecurso, used on a miss only.
  int32_t LeBufferTipoRecurso(uint32_t ponteiro, CPPDadosTipoRecurso* tipoRecurso, uint16_t usTipoLeitura);
  // The reading kinds of LeTipoOP, LeProcesso and LeRecurso, used on a miss only.
  int32_t LeBufferTipoOP(int32_t ponteiro, CPPDadosTipoOP* tipoOP, uint8_t cTipoLeitura);
  int32_t LeBufferRecurso(int32_t ponteiro, CPPDadosRecurso* recurso, uint8_t cTipoLeitura);
  int32_t LeBufferOperacao(int32_t ponteiro, CPPDadosOperacaoProducao* operacao);
  // On a miss read with bit 7 (kLeituraParadas) of the kind, every stop of the process's resources
  // dated today or later is also kept under (resource, date), replacing an equal key; then the
  // process. A hit, or a miss without the bit, leaves the stops as they are.
  int32_t LeBufferProcesso(int32_t ponteiro, CPPDadosProcesso* processo, uint8_t cTipoLeitura);
  // A stop kept by LeBufferProcesso, without refresh nor server: the object cleared and filled
  // when the key is kept. Always 0.
  int32_t LeBufferPaOrvelecurso(_REG_PP_KEY_PONTEIRO_DATAPS chave, CPPDadosPlanoManutencaoProgramacao* parada);
  static constexpr uint8_t kLeituraParadas = 0x80;
  // Whole-load caches: the object is cleared once the cache is loaded; an absent key is no error
  // (the load's result, the object clear).
  int32_t LeBufferUsuario(int32_t chave, CPPDadosUsuario* usuario);
  int32_t LeBufferInfSuplementar(int32_t ponteiro, CPPDadosCategoria* categoria);

  // By code, without regard to case: the first cached entity with the code, else the server's
  // look-up by code, whose failure is the answer; then the cache's LeBuffer of the pointer found.
  // A price table of 0 is resolved from the master record whether the code was cached or not.
  int32_t ExisteBufferProduto(const CString& codigo, CPPDadosProduto* produto, uint16_t usTabelaPreco);
  // Only items of `grade` match.
  int32_t ExisteBufferGrade(uint16_t grade, const CString& codigo, CPPDadosGradeProduto* itemGrade);
  int32_t ExisteBufferLocalES(const CString& codigo, CPPDadosLocalES* local);
  // The cached entity's GetPosicao is its pointer; the class's look-up honours its filter.
  int32_t ExisteBufferProcesso(const CString& codigo, CPPDadosProcesso* processo, uint8_t cTipoLeitura);
  int32_t ExisteBufferRecurso(const CString& codigo, CPPDadosRecurso* recurso, uint8_t cTipoLeitura);
  int32_t ExisteBufferOperacao(const CString& codigo, CPPDadosOperacaoProducao* operacao);
  // The whole-loaded categories only, no server look-up: the object is cleared once the cache is
  // loaded and receives the match; the load's result also when nothing matched.
  int32_t ExisteBufferInfSuplementar(const CString& codigo, CPPDadosCategoria* categoria);

  // The stock balances: loaded by one filtered read (each balance under its first 52 bytes, a
  // later one replacing an equal key), read without refresh (0 and a clear object when not loaded
  // or absent), and updated by their users (insert or replace; the flag untouched). Always 0 but
  // the load.
  int32_t InicializaBufferSaldosProdutosES(CPPDadosFiltroSaldoProdutoES filtro);
  int32_t LeBufferSaldosProdutosES(_REG_ES_KEY_SALDOS_PRODUTOSPS chave, CPPDadosSaldoProdutoES* saldo);
  int32_t AtualizaBufferSaldosProdutosES(_REG_ES_KEY_SALDOS_PRODUTOSPS chave, CPPDadosSaldoProdutoES& saldo);

  // A product ('P') or a service (any other letter) composed from the caches: the grid position's
  // own price item replaces the product's price when the product has a first grid and the position
  // names its item; decimals are twice the unit's. The object is not cleared first: a failure
  // leaves in it what it held. The result of the last read.
  int32_t LeBufferProdutoServico(_REG_POSICAO_PRODUTOPS posicao, CPPDadosInfoProdServ* info, char tipo,
                                 uint16_t usTabelaPreco);

  // What is cached, for the tests and benchmarks that observe it.
#define PP_DECLARA_INSPECAO(Nome, K, V)                                              \
  const PPMapaBuffer<K, V>& GetMapa##Nome() const { return buffer##Nome##_.mapa; } \
  bool GetCarregado##Nome() const { return buffer##Nome##_.carregado; }
  PP_CACHES_BUFFER(PP_DECLARA_INSPECAO)
  PP_DECLARA_INSPECAO(SaldosProdutosES, _REG_ES_KEY_SALDOS_PRODUTOSPS, CPPDadosSaldoProdutoES)
#undef PP_DECLARA_INSPECAO
  bool GetCarregadoMestrePP() const { return mestreCarregado_; }

  // count x 1.21 in double precision, truncated: about a fifth more chains than entities.
  static uint32_t TamanhoTabelaDaContagem(uint32_t quantidade) {
    return static_cast<uint32_t>(static_cast<double>(quantidade) * 1.21);
  }

 protected:
  using Inicializacao = int32_t (CPPBufferDados::*)();

  // The frame of the counted loads. `conta` (server, uint32_t& count) makes the sizing call and
  // answers its HRESULT; a null server is GetHR().
  template <class Cache, class Servidor, class Contagem>
  int32_t InicializaContado(Cache& cache, Servidor* servidor, Contagem conta) {
    cache.mapa.RemoveAll();
    if (servidor == nullptr) return GetHR();
    uint32_t quantidade = 0;
    const int32_t hr = conta(servidor, quantidade);
    if (hr < 0) return hr;
    if (quantidade > 0) cache.mapa.InitHashTable(TamanhoTabelaDaContagem(quantidade));
    cache.carregado = true;
    return hr;
  }
  // The loads that only need the server to be there; the table keeps its size.
  template <class Cache>
  int32_t InicializaComInterface(Cache& cache, const void* servidor) {
    cache.mapa.RemoveAll();
    if (servidor == nullptr) return GetHR();
    cache.carregado = true;
    return 0;
  }

  // The frame of every on-demand LeBuffer: refresh, load when needed, copy a hit, or read the key
  // with `le` (which fills `objeto`) and keep a copy of what it read.
  template <class Cache, class Leitor>
  int32_t LeBufferComum(Cache& cache, Inicializacao inicializa, const typename Cache::Chave& chave,
                        typename Cache::Valor* objeto, Leitor le) {
    Refresh();
    int32_t hr = 0;
    if (!cache.carregado) {
      hr = (this->*inicializa)();
      if (hr < 0) return hr;
    }
    if (const auto* cacheado = cache.mapa.Procura(chave)) {
      *objeto = *cacheado;
      return hr;
    }
    const int32_t lido = le();
    if (lido < 0) return lido;
    cache.mapa.Guarda(chave, *objeto);
    return lido;
  }
  // The read of a whole-load cache: clear the object once loaded, copy the entity when there is
  // one.
  template <class Cache>
  int32_t LeBufferCarregado(Cache& cache, Inicializacao inicializa, const typename Cache::Chave& chave,
                            typename Cache::Valor* objeto) {
    Refresh();
    int32_t hr = 0;
    if (!cache.carregado) {
      hr = (this->*inicializa)();
      if (hr < 0) return hr;
    }
    objeto->Limpar();
    if (const auto* cacheado = cache.mapa.Procura(chave)) *objeto = *cacheado;
    return hr;
  }
  // Refresh and load, as the look-ups by code begin.
  template <class Cache>
  int32_t CarregaParaProcura(Cache& cache, Inicializacao inicializa) {
    Refresh();
    if (cache.carregado) return 0;
    return (this->*inicializa)();
  }
  // The pointer of a code: refresh and load, the first cached entity whose code matches without
  // regard to case (its GetPosicao), else `existe` (code, int32_t& pointer) of the class.
  template <class Cache, class Existe>
  int32_t PonteiroDoCodigo(Cache& cache, Inicializacao inicializa, const CString& codigo, int32_t& ponteiro,
                           Existe existe) {
    if (const int32_t hr = CarregaParaProcura(cache, inicializa); hr < 0) return hr;
    const auto [chave, achado] = cache.mapa.Primeiro([&](const typename Cache::Chave&, const auto& cacheado) {
      return cacheado.GetCodigo().CompareNoCase(codigo) == 0;
    });
    if (achado != nullptr) {
      ponteiro = static_cast<int32_t>(achado->GetPosicao());
      return 0;
    }
    return existe(codigo, ponteiro);
  }

  // The price table of a read: the caller's, or the master record's sale table when 0.
  int32_t ResolveTabelaProduto(uint16_t& usTabelaPreco);
  int32_t ResolveTabelaServico(uint16_t& usTabelaPreco);
  // The stops of a process just read, of today and later, into the resource-stop cache.
  void GuardaParadas(CPPDadosProcesso& processo);

 private:
#define PP_MEMBRO_CACHE(Nome, K, V) PPCacheBuffer<K, V> buffer##Nome##_;
  PP_CACHES_BUFFER(PP_MEMBRO_CACHE)
  PP_MEMBRO_CACHE(SaldosProdutosES, _REG_ES_KEY_SALDOS_PRODUTOSPS, CPPDadosSaldoProdutoES)
#undef PP_MEMBRO_CACHE
  CPPDadosMestre mestre_;
  bool mestreCarregado_ = false;
};
