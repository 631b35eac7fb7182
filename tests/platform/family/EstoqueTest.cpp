// The inventory stand-in, through the COM layer: movements move their balance and are read back
// with their arrays, removal takes them back once, batches and volumes are shared by pointer,
// reservations show in the position record, the seeded tables answer, and a failed call stores
// nothing.
#include <vector>

#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/win32/clock.h"
#include "tests/platform/family/FamiliaSemeada.h"

namespace {

constexpr uint16_t kHoje = 64451;  // 15/06/2024, the pinned clock's day
constexpr uint16_t kMesHoje = 2118;
constexpr uint16_t kJulho = 64467;  // 01/07/2024
constexpr uint16_t kMesJulho = 2119;
constexpr uint32_t kProduto = 500;
constexpr uint32_t kOutroProduto = 501;

CY Unidades(int64_t quantidade) {
  CY valor;
  valor.int64 = quantidade * 10000;
  return valor;
}

_REG_ES_MOVIMENTOPS Movimento(uint8_t tipo, int64_t quantidade, uint32_t produto = kProduto) {
  _REG_ES_MOVIMENTOPS m;
  std::memset(&m, 0, sizeof m);
  m.cTipoMovimento = tipo;
  m.vQuantidade = Unidades(quantidade);
  m.regPosicaoProduto = {produto, 0, 0, 0};
  m.iPonteiroFilial = 1;
  m.iPonteiroLocalArmazenagem = 2;
  return m;
}

_REG_ES_CHAVE_SALDOPS Posicao(uint32_t produto = kProduto, uint16_t filial = 1) {
  _REG_ES_CHAVE_SALDOPS chave;
  std::memset(&chave, 0, sizeof chave);
  chave.regPosicaoProduto = {produto, 0, 0, 0};
  chave.iPonteiroFilial = filial;
  return chave;
}

class Estoque : public FamiliaSemeada<ServidorEstoque> {
 protected:
  void SetUp() override {
    FamiliaSemeada::SetUp();
    relogio_.SetLocalTime({2024, 6, 0, 15, 10, 30, 0, 0});
    movimento_ = Inicia<IQVES_Movimento>(CLSID_QVES_Movimento, IID_IQVES_Movimento);
    ASSERT_NE(movimento_, nullptr);
  }
  void TearDown() override {
    if (movimento_) movimento_->Release();
    FamiliaSemeada::TearDown();
  }

  template <class Interface>
  Interface* Inicia(REFCLSID clsid, REFIID iid) {
    Interface* servidor = Cria<Interface>(clsid, iid);
    if (!servidor) return nullptr;
    BSTR empresa = SysAllocString(u"TESTE");
    const HRESULT hr = servidor->Inicializa(empresa, 7, 1234, kESModuloProducao);
    SysFreeString(empresa);
    if (FAILED(hr)) {
      servidor->Release();
      return nullptr;
    }
    return servidor;
  }

  // Posts and answers the movement's key (0 on failure).
  uint32_t Posta(const _REG_ES_MOVIMENTOPS& m, HRESULT esperado = S_OK) {
    BSTR texto = SysAllocString(u"Baixa ref. OP 0624-000001");
    uint32_t numero = 0;
    const HRESULT hr = movimento_->GravaMovimento(0, m, texto, &numero);
    SysFreeString(texto);
    EXPECT_EQ(hr, esperado);
    if (FAILED(hr)) return 0;
    return numero << 12 | (m.iDataMovimento ? (m.iDataMovimento == kJulho ? kMesJulho : kMesHoje) : kMesHoje);
  }

  _REG_ES_SALDO_POSICAOPS Saldo(_REG_ES_CHAVE_SALDOPS chave = Posicao()) {
    _REG_ES_SALDO_POSICAOPS saldo;
    std::memset(&saldo, 0xEE, sizeof saldo);
    EXPECT_EQ(movimento_->LeSaldoPosicao(chave, &saldo, 0, 0), S_OK);
    return saldo;
  }

  TestClock relogio_;
  IQVES_Movimento* movimento_ = nullptr;
};

// The readers' release: every nested array, deepest first.
void Libera(_REG_ES_MOVIMENTOPS& m) {
  for (uint16_t i = 0; i < m.iQuantidadeContabil; ++i) CoTaskMemFree(m.pregContabil[i].pregGerencial);
  CoTaskMemFree(m.pregContabil);
  CoTaskMemFree(m.pregComposicao);
  CoTaskMemFree(m.pregMovReferencia);
}

TEST_F(Estoque, EntryAndConsumptionMoveOneBalanceAndReadBackWithServerFieldsAndArrays) {
  _REG_ES_MOVIMENTOPS entrada = Movimento(11, 10);
  _REG_ES_GERENCIALPS gerenciais[2] = {{Unidades(3), 11, 12}, {Unidades(7), 13, 14}};
  _REG_ES_CONTABILIZACAOPS contabil[2];
  std::memset(contabil, 0, sizeof contabil);
  contabil[0].vValor = Unidades(10);
  contabil[0].iQuantidadeGerencial = 2;
  contabil[0].pregGerencial = gerenciais;
  Texto(contabil[1].cCompHistorico, "sem rateio");
  entrada.iQuantidadeContabil = 2;
  entrada.pregContabil = contabil;
  _REG_ES_COMPOSICAO_PRODUTOPS composicao;
  std::memset(&composicao, 0, sizeof composicao);
  composicao.vQuantidade = Unidades(2);
  entrada.iQtdItensComposicao = 1;
  entrada.pregComposicao = &composicao;
  _REG_ES_MOV_REFERENCIAPS referencias[3] = {{1}, {2}, {3}};
  entrada.iQtdMovsReferencia = 3;
  entrada.pregMovReferencia = referencias;
  const uint32_t chaveEntrada = Posta(entrada);
  const uint32_t chaveConsumo = Posta(Movimento(12, 4));
  ASSERT_EQ(chaveEntrada, 1u << 12 | kMesHoje);
  ASSERT_EQ(chaveConsumo, 2u << 12 | kMesHoje);

  const int32_t antes = TaskMemoryOutstandingBlocks();
  _REG_ES_MOVIMENTOPS lido;
  ASSERT_EQ(movimento_->LeMovimento(chaveEntrada, &lido), S_OK);
  EXPECT_EQ(lido.cTipoMovimento, 11);
  EXPECT_EQ(lido.iDataMovimento, kHoje);
  EXPECT_EQ(lido.iHoraMovimento, 10 * 60 + 30);
  EXPECT_EQ(lido.vQuantidade.int64, Unidades(10).int64);
  EXPECT_EQ(lido.lPonteiroLote, 0);
  EXPECT_EQ(lido.lPonteiroVolume, 0);
  ASSERT_EQ(lido.iQuantidadeContabil, 2);
  ASSERT_EQ(lido.pregContabil[0].iQuantidadeGerencial, 2);
  EXPECT_EQ(lido.pregContabil[0].pregGerencial[1].lPonteiroContaGerencial, 14);
  EXPECT_EQ(lido.pregContabil[1].pregGerencial, nullptr);
  EXPECT_STREQ(lido.pregContabil[1].cCompHistorico, "sem rateio");
  ASSERT_EQ(lido.iQtdItensComposicao, 1);
  EXPECT_EQ(lido.pregComposicao[0].vQuantidade.int64, Unidades(2).int64);
  ASSERT_EQ(lido.iQtdMovsReferencia, 3);
  EXPECT_EQ(lido.pregMovReferencia[2].lPonteiroMovRef, 3);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), antes + 4);  // entries, one management array, composition, references
  Libera(lido);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), antes);

  ASSERT_EQ(movimento_->LeMovimento(chaveConsumo, &lido), S_OK);
  EXPECT_EQ(lido.cTipoMovimento, 12);
  EXPECT_EQ(lido.pregContabil, nullptr);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), antes);

  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(6).int64);
  uint32_t quantidade = 0;
  ASSERT_EQ(movimento_->QuantidadeSaldosFilial(1, &quantidade), S_OK);
  ASSERT_EQ(quantidade, 1u);
  _REG_ES_SALDOS_PRODUTOSPS saldo;
  ASSERT_EQ(movimento_->LeSaldosFilial(1, 1, &saldo), S_OK);
  EXPECT_EQ(saldo.regPosicaoProduto.lPonteiroProduto, kProduto);
  EXPECT_EQ(saldo.vQuantidade.int64, Unidades(6).int64);
  EXPECT_EQ(movimento_->LeSaldosFilial(1, 2, &saldo), E_INVALIDARG);

  _REG_ES_FILTRO_SALDOS_PRODUTOPS filtro;
  std::memset(&filtro, 0, sizeof filtro);
  filtro.iFilial = 1;
  _REG_ES_LISTA_SALDOS_PRODUTOSPS lista{};
  ASSERT_EQ(movimento_->LeSaldosProdutos(filtro, &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 1);
  EXPECT_EQ(lista.pregSaldos[0].vQuantidade.int64, Unidades(6).int64);
  CoTaskMemFree(lista.pregSaldos);
  filtro.iFilial = 2;
  ASSERT_EQ(movimento_->LeSaldosProdutos(filtro, &lista), S_OK);
  EXPECT_EQ(lista.lQuantidade, 0);
  EXPECT_EQ(lista.pregSaldos, nullptr);

  ASSERT_EQ(movimento_->RemoveMovimento(2, kMesHoje), S_OK);
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(10).int64);
  EXPECT_EQ(movimento_->RemoveMovimento(2, kMesHoje), kFamiliaNaoEncontrado);
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(10).int64);
  EXPECT_EQ(movimento_->LeMovimento(chaveConsumo, &lido), kFamiliaNaoEncontrado);
}

TEST_F(Estoque, KeysTakeTheMonthOfTheMovementsDateAndNumberEachMonthApart) {
  _REG_ES_MOVIMENTOPS julho = Movimento(11, 1);
  julho.iDataMovimento = kJulho;
  EXPECT_EQ(Posta(julho), 1u << 12 | kMesJulho);
  EXPECT_EQ(Posta(Movimento(11, 1)), 1u << 12 | kMesHoje);
  EXPECT_EQ(Posta(julho), 2u << 12 | kMesJulho);
  _REG_ES_MOVIMENTOPS lido;
  ASSERT_EQ(movimento_->LeMovimento(2u << 12 | kMesJulho, &lido), S_OK);
  EXPECT_EQ(lido.iDataMovimento, kJulho);
}

TEST_F(Estoque, MovementsOfOneBatchOrVolumeShareItsPointer) {
  _REG_ES_MOVIMENTOPS a = Movimento(11, 5);
  Texto(a.regLotePS.cNumeroLote, "L-01");
  a.regLotePS.iDataValidade = kJulho;
  Texto(a.regVolumePS.cVolume, "CX-9");
  _REG_ES_MOVIMENTOPS b = a;
  b.cTipoMovimento = 12;
  b.vQuantidade = Unidades(2);
  _REG_ES_MOVIMENTOPS c = Movimento(11, 1);
  c.regLotePS.iNumeroDias = 30;  // a batch without a number

  _REG_ES_MOVIMENTOPS lidos[3];
  const uint32_t chaves[3] = {Posta(a), Posta(b), Posta(c)};
  for (int i = 0; i < 3; ++i) ASSERT_EQ(movimento_->LeMovimento(chaves[i], &lidos[i]), S_OK);
  EXPECT_EQ(lidos[0].lPonteiroLote, 1);
  EXPECT_EQ(lidos[1].lPonteiroLote, 1);
  EXPECT_EQ(lidos[2].lPonteiroLote, 2);
  EXPECT_EQ(lidos[0].lPonteiroVolume, 1);
  EXPECT_EQ(lidos[1].lPonteiroVolume, 1);
  EXPECT_EQ(lidos[2].lPonteiroVolume, 0);

  _REG_ES_LOTEPS lote;
  ASSERT_EQ(movimento_->LeLote(1, &lote), S_OK);
  EXPECT_STREQ(lote.cNumeroLote, "L-01");
  EXPECT_EQ(lote.iDataValidade, kJulho);
  ASSERT_EQ(movimento_->LeLote(2, &lote), S_OK);
  EXPECT_EQ(lote.iNumeroDias, 30);
  _REG_ES_VOLUMEPS volume;
  ASSERT_EQ(movimento_->LeVolume(1, &volume), S_OK);
  EXPECT_STREQ(volume.cVolume, "CX-9");

  // The batch and volume are part of the balance's key: 5 - 2 in batch 1, 1 in batch 2.
  _REG_ES_CHAVE_SALDOPS chave = Posicao();
  chave.lPonteiroLote = 1;
  EXPECT_EQ(Saldo(chave).vSaldoTipoEstoque0.int64, Unidades(3).int64);
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(4).int64);
}

TEST_F(Estoque, UnknownKeysPointersAndNumbersFailAndChangeNothing) {
  Posta(Movimento(11, 3));
  _REG_ES_MOVIMENTOPS lido;
  _REG_ES_LOTEPS lote;
  _REG_ES_VOLUMEPS volume;
  for (const uint32_t chave : {0u, 2u << 12 | kMesHoje, 1u << 12 | kMesJulho, 1u << 12})
    EXPECT_EQ(movimento_->LeMovimento(chave, &lido), kFamiliaNaoEncontrado) << std::hex << chave;
  for (const int32_t ponteiro : {0, 1, -1}) {
    EXPECT_EQ(movimento_->LeLote(ponteiro, &lote), kFamiliaNaoEncontrado);
    EXPECT_EQ(movimento_->LeVolume(ponteiro, &volume), kFamiliaNaoEncontrado);
  }
  EXPECT_EQ(movimento_->RemoveMovimento(5, kMesHoje), kFamiliaNaoEncontrado);
  EXPECT_EQ(movimento_->RemoveMovimento(1, kMesJulho), kFamiliaNaoEncontrado);

  // A movement naming a batch or volume pointer that the server never gave is refused whole.
  _REG_ES_MOVIMENTOPS consumo = Movimento(12, 1);
  consumo.lPonteiroLote = 9;
  Posta(consumo, kFamiliaNaoEncontrado);
  consumo = Movimento(12, 1);
  consumo.lPonteiroVolume = 9;
  Posta(consumo, kFamiliaNaoEncontrado);
  Posta(Movimento(0, 1), E_INVALIDARG);
  Posta(Movimento(19, 1), E_INVALIDARG);
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(3).int64);
  EXPECT_EQ(movimento_->LeMovimento(2u << 12 | kMesHoje, &lido), kFamiliaNaoEncontrado);

  // A position without balances has none: zero, answered.
  const _REG_ES_SALDO_POSICAOPS nenhum = Saldo(Posicao(kOutroProduto));
  EXPECT_EQ(nenhum.vSaldoTipoEstoque0.int64, 0);
  EXPECT_EQ(nenhum.vQuantidadeReservada.int64, 0);
}

TEST_F(Estoque, BalancesMayGoNegativeAndSplitByStockType) {
  Posta(Movimento(12, 4));
  _REG_ES_MOVIMENTOPS refugo = Movimento(13, 2);
  refugo.cTipoEstoqueArmazenagem = 2;
  Posta(refugo);
  const _REG_ES_SALDO_POSICAOPS saldo = Saldo();
  EXPECT_EQ(saldo.vSaldoTipoEstoque0.int64, Unidades(-4).int64);
  EXPECT_EQ(saldo.vSaldoTipoEstoque2.int64, Unidades(2).int64);
  EXPECT_EQ(saldo.vSaldoTipoEstoque[2].int64, Unidades(2).int64);
  _REG_ES_CHAVE_SALDOPS outroLocal = Posicao();
  outroLocal.iPonteiroLocalArmazenagem = 3;
  EXPECT_EQ(Saldo(outroLocal).vSaldoTipoEstoque2.int64, 0);
}

TEST_F(Estoque, ReservationsOfAnOrderShowInThePositionUntilDropped) {
  _REG_ES_RESERVAPS reservas[3];
  std::memset(reservas, 0, sizeof reservas);
  for (int i = 0; i < 3; ++i) {
    reservas[i].regPosicaoProduto = {kProduto, 0, 0, 0};
    reservas[i].vQuantidade = Unidades(i + 1);
    reservas[i].iPonteiroLocalArmazenagem = 2;
  }
  reservas[2].regPosicaoProduto.lPonteiroProduto = kOutroProduto;
  ASSERT_EQ(movimento_->GravaReservas(0x1001, 2, 1, 3, reservas), S_OK);
  ASSERT_EQ(movimento_->GravaReservas(0x2001, 2, 1, 1, reservas), S_OK);  // another order
  EXPECT_EQ(Saldo().vQuantidadeReservada.int64, Unidades(1 + 2 + 1).int64);
  EXPECT_EQ(Saldo(Posicao(kOutroProduto)).vQuantidadeReservada.int64, Unidades(3).int64);
  EXPECT_EQ(Saldo(Posicao(kProduto, 2)).vQuantidadeReservada.int64, 0);

  ASSERT_EQ(movimento_->RemoveReservas(0x1001, 2, 1), S_OK);
  EXPECT_EQ(Saldo().vQuantidadeReservada.int64, Unidades(1).int64);
  EXPECT_EQ(Saldo(Posicao(kOutroProduto)).vQuantidadeReservada.int64, 0);
  EXPECT_EQ(movimento_->RemoveReservas(0x1001, 2, 1), S_OK);
  EXPECT_EQ(movimento_->RemoveReservas(0x3001, 2, 1), S_OK);  // an order that has none
  EXPECT_EQ(movimento_->GravaReservas(0x1001, 1, 1, 1, reservas), E_INVALIDARG);
  EXPECT_EQ(movimento_->GravaReservas(0x1001, 2, 1, 1, nullptr), E_POINTER);
  EXPECT_EQ(Saldo().vQuantidadeReservada.int64, Unidades(1).int64);
}

TEST_F(Estoque, InjectedFailureOfThePostStoresNothing) {
  Posta(Movimento(11, 10));
  modulo_.Movimento.FalhaMetodo("GravaMovimento", 1, E_FAIL);
  Posta(Movimento(12, 4), E_FAIL);
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(10).int64);
  _REG_ES_MOVIMENTOPS lido;
  EXPECT_EQ(movimento_->LeMovimento(2u << 12 | kMesHoje, &lido), kFamiliaNaoEncontrado);
  EXPECT_EQ(Posta(Movimento(12, 4)), 2u << 12 | kMesHoje);  // the next number is still free
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(6).int64);
}

TEST_F(Estoque, OpeningBalancesSetTheirKeysBalance) {
  SaldoInicialES inicial{Posicao(), Unidades(20)};
  inicial.regChave.iPonteiroLocalArmazenagem = 2;
  SaldoInicialES outro{Posicao(kOutroProduto), Unidades(7)};
  ASSERT_EQ(GravaSaldosIniciaisES("TESTE", {inicial, outro}), S_OK);
  Posta(Movimento(12, 5));  // the same key as the first
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(15).int64);
  ASSERT_EQ(GravaSaldosIniciaisES("TESTE", {inicial}), S_OK);
  EXPECT_EQ(Saldo().vSaldoTipoEstoque0.int64, Unidades(20).int64);
  EXPECT_EQ(Saldo(Posicao(kOutroProduto)).vSaldoTipoEstoque0.int64, Unidades(7).int64);
  uint32_t quantidade = 0;
  ASSERT_EQ(movimento_->QuantidadeSaldosFilial(1, &quantidade), S_OK);
  EXPECT_EQ(quantidade, 2u);
  EXPECT_EQ(GravaSaldosIniciaisES("NENHUMA", {inicial}), kFamiliaSemDiretorio);
}

TEST_F(Estoque, SeededLocationsGroupsMasterGridsAndReplenishmentAnswer) {
  CadastroEstoqueES cadastro;
  LocalES local{};
  Texto(local.regLocal.szCodigo, "Almox");
  Texto(local.regLocal.szClassificacao, "MP.01");
  local.iPonteiroFilial = 1;
  LocalES geral{};
  Texto(geral.regLocal.szCodigo, "EXPED");
  cadastro.locais = {local, geral};
  _REG_ES_GRUPO_ARMAZENAGEMPS grupo{};
  grupo.iPonteiroFilial = 1;
  Texto(grupo.szCodigo, "MP");
  cadastro.grupos = {grupo};
  _REG_ES_MESTREPS mestre{};
  mestre.cFormaValorizacao = 2;
  cadastro.mestre = {mestre};
  _REG_ES_GRADES_CONTABILIZACAOPS grades{};
  grades.iPonteiroFilial = 1;
  grades.iGrade[8] = 77;  // at 18: production entries
  cadastro.grades = {grades};
  cadastro.lotesReposicao = {{{kProduto, 1, 0, 0}, Unidades(50)}};
  ASSERT_EQ(GravaCadastroEstoqueES("TESTE", cadastro), S_OK);

  auto* armazenagem = Inicia<IQVES_Armazenagem>(CLSID_QVES_Armazenagem, IID_IQVES_Armazenagem);
  auto* mestreES = Inicia<IQVES_Mestre>(CLSID_QVES_Mestre, IID_IQVES_Mestre);
  ASSERT_NE(armazenagem, nullptr);
  ASSERT_NE(mestreES, nullptr);
  Liberador<IQVES_Armazenagem> liberaArmazenagem{armazenagem};
  Liberador<IQVES_Mestre> liberaMestre{mestreES};

  BSTR x = SysAllocString(u"X");
  uint32_t quantidade = 0;
  EXPECT_EQ(armazenagem->QuantidadeLocais(x, 0, &quantidade), S_OK);
  EXPECT_EQ(quantidade, 2u);
  _REG_ES_LOCAISPS lido;
  for (uint32_t p = 1; p <= quantidade; ++p) EXPECT_EQ(armazenagem->LeLocal(static_cast<int32_t>(p), &lido, 0), S_OK);
  EXPECT_EQ(lido.lPosicao, 2);
  EXPECT_EQ(armazenagem->LeLocal(3, &lido, 0), kFamiliaNaoEncontrado);
  EXPECT_EQ(armazenagem->LeLocal(0, &lido, 0), kFamiliaNaoEncontrado);

  struct Caso {
    const char16_t* codigo;
    uint16_t filial;
    HRESULT esperado;
    int32_t ponteiro;
  };
  for (const Caso& caso : {Caso{u"almox", 0, S_OK, 1}, Caso{u"ALMOX", 1, S_OK, 1}, Caso{u"Almox", 2, kFamiliaNaoEncontrado, 0},
                           Caso{u"exped", 2, S_OK, 2}, Caso{u"Almo", 0, kFamiliaNaoEncontrado, 0},
                           Caso{u"", 0, kFamiliaNaoEncontrado, 0}}) {
    BSTR codigo = SysAllocString(caso.codigo);
    int32_t ponteiro = 0;
    const HRESULT hr = caso.filial ? armazenagem->ExisteLocalFilial(codigo, 'X', caso.filial, &ponteiro, &lido)
                                   : armazenagem->ExisteLocal(codigo, 'X', &ponteiro, &lido);
    EXPECT_EQ(hr, caso.esperado);
    EXPECT_EQ(ponteiro, caso.ponteiro);
    SysFreeString(codigo);
  }

  _REG_ES_GRUPO_ARMAZENAGEMPS grupoLido;
  BSTR mp = SysAllocString(u"mp");
  ASSERT_EQ(armazenagem->LeGrupoArmazenagem(mp, &grupoLido), S_OK);
  EXPECT_EQ(grupoLido.iPonteiroFilial, 1);
  SysFreeString(mp);
  EXPECT_EQ(armazenagem->LeGrupoArmazenagem(x, &grupoLido), kFamiliaNaoEncontrado);
  SysFreeString(x);

  _REG_ES_MESTREPS mestreLido;
  ASSERT_EQ(mestreES->LeMestre(&mestreLido, 0), S_OK);
  EXPECT_EQ(mestreLido.cFormaValorizacao, 2);
  _REG_ES_GRADES_CONTABILIZACAOPS gradesLidas;
  ASSERT_EQ(mestreES->LeGradesContabilizacao(1, &gradesLidas), S_OK);
  EXPECT_EQ(gradesLidas.iGrade[8], 77);
  EXPECT_EQ(mestreES->LeGradesContabilizacao(2, &gradesLidas), kFamiliaNaoEncontrado);

  CY lote{};
  ASSERT_EQ(movimento_->LeLoteReposicao({kProduto, 1, 0, 0}, &lote), S_OK);
  EXPECT_EQ(lote.int64, Unidades(50).int64);
  EXPECT_EQ(movimento_->LeLoteReposicao({kProduto, 2, 0, 0}, &lote), kFamiliaNaoEncontrado);

  // Without a master record the read fails rather than answer zeros.
  cadastro.mestre.clear();
  ASSERT_EQ(GravaCadastroEstoqueES("TESTE", cadastro), S_OK);
  EXPECT_EQ(mestreES->LeMestre(&mestreLido, 0), kFamiliaNaoEncontrado);
}

}  // namespace
