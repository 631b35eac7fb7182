// Shipments for outsourced processing, the outside servers, server information, the check of
// reports by invoice and the hours a resource still owes an order. The month files are written and
// checked byte by byte at offsets written here by hand from the record layouts: PPRM (60 bytes),
// PPIR (80), PPID (variable records), PPAP (200), and the order files that the balance of hours
// reads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "foundation/CQVArqMarca.h"
#include "platform/com/taskmem.h"
#include "platform/family/vendas/ServidorVendas.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "tests/server/op/EmpresaOP.h"

namespace {

// 05/2024, the pinned clock's month, and the month before it.
constexpr uint16_t kMes = 2117;
constexpr uint16_t kMesAnterior = 2116;

constexpr HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000u | numero); }

uint32_t Chave(uint32_t registro, uint16_t mes = kMes) { return (registro << 12) | mes; }

std::string Arquivo(const char* prefixo, uint16_t mes = kMes) { return MesOP::Nome(prefixo, mes); }

template <class T>
void Poe(std::string& bytes, size_t deslocamento, T valor) {
  std::memcpy(&bytes[deslocamento], &valor, sizeof valor);
}
template <class T>
T Pega(const std::string& bytes, size_t deslocamento) {
  T valor{};
  EXPECT_LE(deslocamento + sizeof valor, bytes.size());
  if (deslocamento + sizeof valor <= bytes.size()) std::memcpy(&valor, bytes.data() + deslocamento, sizeof valor);
  return valor;
}


// A record file: the zero header and the records, each cut or padded to its length.
std::string ArquivoRegistros(size_t tamanho, std::vector<std::string> registros) {
  std::string arquivo(tamanho, '\0');
  for (std::string& registro : registros) {
    registro.resize(tamanho, '\0');
    arquivo += registro;
  }
  return arquivo;
}
std::string Registro(const std::string& arquivo, size_t tamanho, uint32_t numero) {
  EXPECT_GE(arquivo.size(), (numero + 1) * tamanho) << "record " << numero;
  return arquivo.size() >= (numero + 1) * tamanho ? arquivo.substr(numero * tamanho, tamanho) : std::string();
}

// ---- Shipments and reports as the disk holds them ------------------------------------------------

constexpr size_t kTamanhoRemessa = 60;
constexpr size_t kTamanhoInsumoRemessa = 80;
constexpr size_t kTamanhoApontamento = 200;

struct RemessaDisco {
  uint32_t apontamento = 0;  // report key
  uint32_t op = 0;           // order key
  uint32_t fatura = 0;
  int32_t classificacao = 0;
  int32_t fornecedor = 0;
  uint16_t cfop = 0;
  uint16_t filial = 0;
  uint16_t data = 0;
  uint16_t hora = 0;
  uint8_t estado = 1;
  bool removida = false;
};

std::string RegistroRemessa(const RemessaDisco& r) {
  std::string registro(kTamanhoRemessa, '\0');
  Poe(registro, 0, r.apontamento);
  Poe(registro, 4, r.op);
  Poe(registro, 8, r.fatura);
  Poe(registro, 12, r.classificacao);
  Poe(registro, 20, r.fornecedor);
  Poe(registro, 26, r.cfop);
  Poe(registro, 28, r.filial);
  Poe(registro, 30, r.data);
  Poe(registro, 32, r.hora);
  registro[36] = static_cast<char>(r.estado);
  registro[37] = r.removida ? 1 : 0;
  return registro;
}

struct ApontamentoDisco {
  uint32_t registroOP = 1;
  uint32_t notaFiscal = 0;
  uint16_t retornos = 0;
  bool excluido = false;
  int64_t quantidade = 0;  // x 10,000
  int32_t processo = 0;
};

std::string RegistroApontamento(const ApontamentoDisco& a) {
  std::string registro(kTamanhoApontamento, '\0');
  Poe(registro, 0, a.quantidade);
  Poe(registro, 64, a.notaFiscal);
  Poe(registro, 80, a.registroOP);
  Poe(registro, 88, a.processo);
  Poe(registro, 164, a.retornos);
  registro[175] = 1;  // made in-house
  registro[176] = a.excluido ? 1 : 0;
  return registro;
}

_REG_PP_REMESSA_INSUMOPS Insumo(uint32_t produto, int64_t quantidade, const char* descricao) {
  _REG_PP_REMESSA_INSUMOPS insumo;
  std::memset(static_cast<void*>(&insumo), 0, sizeof insumo);
  insumo.regPosicaoProduto.lPonteiroProduto = produto;
  insumo.vQuantidadeTotal.int64 = quantidade;
  std::strncpy(insumo.szDescricao, descricao, sizeof insumo.szDescricao - 1);
  return insumo;
}

class RemessaOP : public EmpresaOP {
 protected:
  void EscreveRemessas(const std::vector<RemessaDisco>& remessas, uint16_t mes = kMes) {
    std::vector<std::string> registros;
    for (const RemessaDisco& remessa : remessas) registros.push_back(RegistroRemessa(remessa));
    empresa_.Escreve(Arquivo("PPRM", mes), ArquivoRegistros(kTamanhoRemessa, registros));
  }
  void EscreveApontamentos(const std::vector<ApontamentoDisco>& apontamentos, uint16_t mes = kMes) {
    std::vector<std::string> registros;
    for (const ApontamentoDisco& apontamento : apontamentos) registros.push_back(RegistroApontamento(apontamento));
    empresa_.Escreve(Arquivo("PPAP", mes), ArquivoRegistros(kTamanhoApontamento, registros));
  }
  std::string LeRemessa(uint32_t registro) const {
    return Registro(empresa_.Le(Arquivo("PPRM")), kTamanhoRemessa, registro);
  }
  std::string LeApontamento(uint32_t registro) const {
    return Registro(empresa_.Le(Arquivo("PPAP")), kTamanhoApontamento, registro);
  }
  // The keys of a search (shipments read without inputs); the array goes back to the allocator.
  std::vector<uint32_t> Chaves(const _REG_PP_REMESSA_FILTROPS& filtro) {
    _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS lista{};
    EXPECT_EQ(op_.BuscaRemessaIndustrializacaoFiltro(&lista, filtro, 0), S_OK);
    std::vector<uint32_t> chaves;
    for (uint32_t i = 0; i < lista.ulQtd; ++i) {
      chaves.push_back(lista.pRegRemessa[i].ulChaveRemessa);
      EXPECT_EQ(lista.pRegRemessa[i].pregRemessaInsumo, nullptr);
    }
    CoTaskMemFree(lista.pRegRemessa);
    return chaves;
  }
};

// ---- The writer and the reader ---------------------------------------------------------------------

TEST_F(RemessaOP, GravaEscreveRemessaInsumosEDescricoesELeDeVolta) {
  _REG_PP_REMESSA_INSUMOPS insumos[2] = {Insumo(kProdutoInsumo, 125000, "TECIDO AZUL"),
                                         Insumo(kProdutoTerceiros, 30000, "")};
  insumos[0].v8ValorUnitario.int64 = 350000000;
  insumos[0].regPosicaoProduto.iPonteiroItemGrade1 = 4;
  insumos[0].regPosicaoProduto.iPonteiroItemGrade2 = 5;
  insumos[0].regPosicaoProduto.iPonteiroItemGrade3 = 6;
  insumos[0].lPonteiroVolumeES = 11;
  insumos[0].lPonteiroLoteES = 12;
  insumos[0].lPonteiroForLote = 13;
  insumos[0].lPonteiroForEPTETPE = 14;
  insumos[0].lPonteiroCliEPTETPE = 15;
  insumos[0].lPonteiroLocal = 16;
  insumos[0].usPonteiroUnidadeMedida = 1;
  insumos[0].cTipoEstoque = 'P';
  insumos[0].cTipoProducao = 1;
  insumos[0].cQuantidadeCasasDecimaisEstoque = 2;
  insumos[1].cEhProdutoNaoCadastrado = 1;
  insumos[1].cEhProdutoFinal = 1;

  _REG_PP_REMESSA_INDUSTRIALIZACAOPS reg{};
  reg.ulChaveApontamentoOP = Chave(9);
  reg.ulChaveOP = Chave(3);
  reg.ulChaveRemessa = 0xDEAD;  // the writer gives the key
  reg.ulChaveFaturaRemessa = 21;
  reg.lPonteiroClassificacao = 22;
  reg.lPonteiroFornecedor = 23;
  reg.usPonteiroHistorico = 24;
  reg.usPonteiroCFOP = 25;
  reg.usPonteiroFilial = kFilial;
  reg.usDataEmissaoRemessa = DiaFixado();
  reg.usHoraEmissaoRemessa = 600;
  reg.cStatusFaturamento = 1;
  reg.cEnviarProdutoFinal = 1;
  reg.usQtdInsumos = 2;
  reg.pregRemessaInsumo = insumos;
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaRemessaIndustrializacao(reg, kMes, &chave), S_OK);
  EXPECT_EQ(chave, Chave(1));

  const std::string remessa = LeRemessa(1);
  EXPECT_EQ(Pega<uint32_t>(remessa, 0), Chave(9));
  EXPECT_EQ(Pega<uint32_t>(remessa, 4), Chave(3));
  EXPECT_EQ(Pega<uint32_t>(remessa, 8), 21u);
  EXPECT_EQ(Pega<int32_t>(remessa, 12), 22);
  EXPECT_EQ(Pega<uint32_t>(remessa, 16), 1u);  // first input
  EXPECT_EQ(Pega<int32_t>(remessa, 20), 23);
  EXPECT_EQ(Pega<uint16_t>(remessa, 24), 24);
  EXPECT_EQ(Pega<uint16_t>(remessa, 26), 25);
  EXPECT_EQ(Pega<uint16_t>(remessa, 28), kFilial);
  EXPECT_EQ(Pega<uint16_t>(remessa, 30), DiaFixado());
  EXPECT_EQ(Pega<uint16_t>(remessa, 32), 600);
  EXPECT_EQ(Pega<uint16_t>(remessa, 34), 2);
  EXPECT_EQ(remessa[36], 1);
  EXPECT_EQ(remessa[37], 0);
  EXPECT_EQ(remessa[38], 1);
  EXPECT_EQ(remessa.substr(39), std::string(21, '\0'));

  const std::string arquivoInsumos = empresa_.Le(Arquivo("PPIR"));
  ASSERT_EQ(arquivoInsumos.size(), 3 * kTamanhoInsumoRemessa);
  const std::string primeiro = Registro(arquivoInsumos, kTamanhoInsumoRemessa, 1);
  EXPECT_EQ(Pega<int64_t>(primeiro, 0), 125000);
  EXPECT_EQ(Pega<int64_t>(primeiro, 8), 350000000);
  EXPECT_EQ(Pega<uint32_t>(primeiro, 16), kProdutoInsumo);
  const uint32_t texto = Pega<uint32_t>(primeiro, 20);
  EXPECT_EQ(Pega<int32_t>(primeiro, 24), 11);  // volume
  EXPECT_EQ(Pega<int32_t>(primeiro, 28), 12);  // batch
  EXPECT_EQ(Pega<int32_t>(primeiro, 32), 13);
  EXPECT_EQ(Pega<int32_t>(primeiro, 36), 14);
  EXPECT_EQ(Pega<int32_t>(primeiro, 40), 15);
  EXPECT_EQ(Pega<int32_t>(primeiro, 44), 16);
  EXPECT_EQ(Pega<uint16_t>(primeiro, 48), 4);
  EXPECT_EQ(Pega<uint16_t>(primeiro, 50), 5);
  EXPECT_EQ(Pega<uint16_t>(primeiro, 52), 6);
  EXPECT_EQ(Pega<uint16_t>(primeiro, 54), 1);
  EXPECT_EQ(primeiro[56], 'P');
  EXPECT_EQ(primeiro[57], 1);
  EXPECT_EQ(primeiro[58], 2);
  EXPECT_EQ(primeiro[59], 0);
  EXPECT_EQ(primeiro[60], 0);
  EXPECT_EQ(primeiro.substr(61), std::string(19, '\0'));
  const std::string segundo = Registro(arquivoInsumos, kTamanhoInsumoRemessa, 2);
  EXPECT_EQ(Pega<uint32_t>(segundo, 16), kProdutoTerceiros);
  EXPECT_EQ(Pega<uint32_t>(segundo, 20), 0u) << "an empty description has no text";
  EXPECT_EQ(segundo[59], 1);
  EXPECT_EQ(segundo[60], 1);

  // The description: a 16-bit length and the text, after the file's signature.
  const std::string descricoes = empresa_.Le(Arquivo("PPID"));
  EXPECT_EQ(descricoes.substr(0, 2), "QV");
  EXPECT_EQ(texto, 2u);
  EXPECT_EQ(Pega<uint16_t>(descricoes, texto), 11);
  EXPECT_EQ(descricoes.substr(texto + 2), "TECIDO AZUL");

  // Read back with its inputs, and without.
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS lida{};
  ASSERT_EQ(op_.LeRemessaIndustrializacao(chave, &lida, nullptr, 0xFF), S_OK);
  EXPECT_EQ(lida.ulChaveRemessa, chave);
  EXPECT_EQ(lida.ulChaveApontamentoOP, Chave(9));
  EXPECT_EQ(lida.ulChaveOP, Chave(3));
  EXPECT_EQ(lida.ulChaveFaturaRemessa, 21u);
  EXPECT_EQ(lida.lPonteiroClassificacao, 22);
  EXPECT_EQ(lida.lPonteiroFornecedor, 23);
  EXPECT_EQ(lida.usPonteiroHistorico, 24);
  EXPECT_EQ(lida.usPonteiroCFOP, 25);
  EXPECT_EQ(lida.usDataEmissaoRemessa, DiaFixado());
  EXPECT_EQ(lida.usHoraEmissaoRemessa, 600);
  EXPECT_EQ(lida.cStatusFaturamento, 1);
  EXPECT_EQ(lida.cEnviarProdutoFinal, 1);
  ASSERT_EQ(lida.usQtdInsumos, 2);
  ASSERT_NE(lida.pregRemessaInsumo, nullptr);
  const _REG_PP_REMESSA_INSUMOPS& a = lida.pregRemessaInsumo[0];
  EXPECT_STREQ(a.szDescricao, "TECIDO AZUL");
  EXPECT_EQ(a.vQuantidadeTotal.int64, 125000);
  EXPECT_EQ(a.v8ValorUnitario.int64, 350000000);
  EXPECT_EQ(a.regPosicaoProduto.lPonteiroProduto, kProdutoInsumo);
  EXPECT_EQ(a.regPosicaoProduto.iPonteiroItemGrade3, 6);
  EXPECT_EQ(a.lPonteiroVolumeES, 11);
  EXPECT_EQ(a.lPonteiroLoteES, 12);
  EXPECT_EQ(a.lPonteiroLocal, 16);
  EXPECT_EQ(a.cTipoEstoque, 'P');
  EXPECT_EQ(a.cQuantidadeCasasDecimaisEstoque, 2);
  const _REG_PP_REMESSA_INSUMOPS& b = lida.pregRemessaInsumo[1];
  EXPECT_STREQ(b.szDescricao, "");
  EXPECT_EQ(b.regPosicaoProduto.lPonteiroProduto, kProdutoTerceiros);
  EXPECT_EQ(b.cEhProdutoNaoCadastrado, 1);
  EXPECT_EQ(b.cEhProdutoFinal, 1);
  LiberaRegistroRemessaIndustrializacao(&lida, 0);

  ASSERT_EQ(op_.LeRemessaIndustrializacao(chave, &lida, nullptr, 0), S_OK);
  EXPECT_EQ(lida.usQtdInsumos, 2);
  EXPECT_EQ(lida.pregRemessaInsumo, nullptr);

  // A second shipment takes the next records: its run starts after the first one's.
  reg.usQtdInsumos = 1;
  ASSERT_EQ(op_.GravaRemessaIndustrializacao(reg, kMes, &chave), S_OK);
  EXPECT_EQ(chave, Chave(2));
  EXPECT_EQ(Pega<uint32_t>(LeRemessa(2), 16), 3u);
  EXPECT_EQ(Pega<uint16_t>(LeRemessa(2), 34), 1);
}

TEST_F(RemessaOP, GravaSemInsumosDeclaradosOuForaDosMesesNaoEscreveNada) {
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS reg{};
  reg.usQtdInsumos = 1;  // and no array
  uint32_t chave = 77;
  EXPECT_EQ(op_.GravaRemessaIndustrializacao(reg, kMes, &chave), Erro(1587));
  EXPECT_EQ(chave, 0u);
  reg.usQtdInsumos = 0;
  EXPECT_EQ(op_.GravaRemessaIndustrializacao(reg, 0, &chave), Erro(1587));
  EXPECT_EQ(op_.GravaRemessaIndustrializacao(reg, 2149, &chave), Erro(1587));
  EXPECT_FALSE(empresa_.Existe(Arquivo("PPRM")));

  CPPServidorOP fechado;
  EXPECT_EQ(fechado.GravaRemessaIndustrializacao(reg, kMes, &chave), Erro(1585));
}

TEST_F(RemessaOP, VinculoGravaOApontamentoNaRemessa) {
  EscreveRemessas({{.apontamento = 0, .op = Chave(1)}, {.removida = true}});
  ASSERT_EQ(op_.VinculaRemessaApontamento(Chave(5), Chave(1)), S_OK);
  EXPECT_EQ(Pega<uint32_t>(LeRemessa(1), 0), Chave(5));
  EXPECT_EQ(Pega<uint32_t>(LeRemessa(1), 4), Chave(1));
  EXPECT_EQ(op_.VinculaRemessaApontamento(Chave(5), Chave(2)), Erro(1586));
  EXPECT_EQ(op_.VinculaRemessaApontamento(Chave(5), Chave(3)), Erro(16021));
}

TEST_F(RemessaOP, ChavesSemRegistroOuMesSaoRecusadasELeituraSemArquivoNaoCriaOMes) {
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS lida{};
  for (uint32_t chave : {0u, static_cast<uint32_t>(kMes), 1u << 12, Chave(1, 2149)}) {
    EXPECT_EQ(op_.LeRemessaIndustrializacao(chave, &lida, nullptr, 0xFF), Erro(1587)) << chave;
    EXPECT_EQ(op_.CancelaRemessaIndustrializacao(chave), Erro(1587)) << chave;
  }
  EXPECT_EQ(op_.LeRemessaIndustrializacao(Chave(1), &lida, nullptr, 0xFF), Erro(16021));
  EXPECT_FALSE(empresa_.Existe(Arquivo("PPRM")));
  EXPECT_FALSE(empresa_.Existe(Arquivo("PPIR")));
}

// ---- Cancelling -------------------------------------------------------------------------------------

TEST_F(RemessaOP, CanceladaEhPuladaPelasBuscasERespondeRegistroRemovido) {
  EscreveRemessas({{.op = Chave(1), .estado = 1}, {.op = Chave(1), .estado = 1}});
  ASSERT_EQ(op_.CancelaRemessaIndustrializacao(Chave(1)), S_OK);
  const std::string cancelada = LeRemessa(1);
  EXPECT_EQ(cancelada[37], 1);
  EXPECT_EQ(cancelada[36], 1) << "a shipment not invoiced keeps its state";

  _REG_PP_REMESSA_INDUSTRIALIZACAOPS lida{};
  EXPECT_EQ(op_.LeRemessaIndustrializacao(Chave(1), &lida, nullptr, 0), Erro(1586));
  EXPECT_EQ(Chaves({}), std::vector<uint32_t>{Chave(2)});
  _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS lista{};
  ASSERT_EQ(op_.BuscaRemessaIndustrializacao(&lista, 0), S_OK);
  ASSERT_EQ(lista.ulQtd, 1u);
  EXPECT_EQ(lista.pRegRemessa[0].ulChaveRemessa, Chave(2));
  CoTaskMemFree(lista.pRegRemessa);
}

TEST_F(RemessaOP, CancelarRemessaFaturadaSoComAChaveDoMestreEEntaoEmEstado16) {
  for (uint8_t estado : {2, 4}) {
    SCOPED_TRACE(static_cast<int>(estado));
    EscreveRemessas({{.fatura = 77, .estado = estado}});
    DefineMestre([](PPRegistroMestre& mestre) { mestre.cPermitirCancelRemessaIndustrializacao = 0; });
    const std::string antes = LeRemessa(1);
    EXPECT_EQ(op_.CancelaRemessaIndustrializacao(Chave(1)), Erro(1680));
    EXPECT_EQ(LeRemessa(1), antes);

    DefineMestre([](PPRegistroMestre& mestre) { mestre.cPermitirCancelRemessaIndustrializacao = 1; });
    ASSERT_EQ(op_.CancelaRemessaIndustrializacao(Chave(1)), S_OK);
    const std::string depois = LeRemessa(1);
    EXPECT_EQ(depois[36], 16);
    EXPECT_EQ(depois[37], 1);
    EXPECT_EQ(Pega<uint32_t>(depois, 8), 77u);
  }
}

// ---- The searches -----------------------------------------------------------------------------------

TEST_F(RemessaOP, FiltroCompareCadaCampoEAJanelaDeEmissao) {
  const uint16_t dia = DiaFixado();
  EscreveRemessas({{.op = Chave(1), .data = static_cast<uint16_t>(dia - 30), .hora = 0, .estado = 1}}, kMesAnterior);
  EscreveRemessas({
      {.apontamento = Chave(1), .op = Chave(1), .classificacao = 5, .fornecedor = 100, .cfop = 10, .filial = 1,
       .data = dia, .hora = 480, .estado = 1},
      {.apontamento = Chave(2), .op = Chave(2), .fatura = 55, .classificacao = 6, .fornecedor = 200, .cfop = 20,
       .filial = 2, .data = dia, .hora = 600, .estado = 2},
      {.apontamento = Chave(1), .op = Chave(1), .classificacao = 5, .fornecedor = 100, .cfop = 10, .filial = 1,
       .data = dia, .hora = 480, .estado = 1, .removida = true},
      {.apontamento = Chave(3), .op = Chave(1), .classificacao = 5, .fornecedor = 100, .cfop = 10, .filial = 1,
       .data = static_cast<uint16_t>(dia + 1), .hora = 0, .estado = 1},
  });
  const uint32_t abril = Chave(1, kMesAnterior);
  using F = _REG_PP_REMESSA_FILTROPS;
  struct Caso {
    const char* nome;
    void (*define)(F&, uint16_t dia);
    std::vector<uint32_t> chaves;
  };
  const Caso casos[] = {
      {"vazio", [](F&, uint16_t) {}, {abril, Chave(1), Chave(2), Chave(4)}},
      {"apontamento", [](F& f, uint16_t) { f.ulChaveApontamentoOP = Chave(2); }, {Chave(2)}},
      {"ordem", [](F& f, uint16_t) { f.ulChaveOP = Chave(1); }, {abril, Chave(1), Chave(4)}},
      {"remessa", [](F& f, uint16_t) { f.ulChaveRemessa = Chave(4); }, {Chave(4)}},
      {"fatura", [](F& f, uint16_t) { f.ulChaveFaturaRemessa = 55; }, {Chave(2)}},
      {"classificacao", [](F& f, uint16_t) { f.lPonteiroClassificacao = 6; }, {Chave(2)}},
      {"fornecedor", [](F& f, uint16_t) { f.lPonteiroFornecedor = 100; }, {Chave(1), Chave(4)}},
      {"cfop", [](F& f, uint16_t) { f.usPonteiroCFOP = 20; }, {Chave(2)}},
      {"filial", [](F& f, uint16_t) { f.usPonteiroFilial = 2; }, {Chave(2)}},
      {"desde as 10h do dia, inclusive",
       [](F& f, uint16_t d) {
         f.usDataInicialEmissaoRemessa = d;
         f.usHoraInicialEmissaoRemessa = 600;
       },
       {Chave(2), Chave(4)}},
      {"ate as 10h do dia, inclusive",
       [](F& f, uint16_t d) {
         f.usDataFinalEmissaoRemessa = d;
         f.usHoraFinalEmissaoRemessa = 600;
       },
       {abril, Chave(1), Chave(2)}},
      {"entre 8h e 9h59",
       [](F& f, uint16_t d) {
         f.usDataInicialEmissaoRemessa = f.usDataFinalEmissaoRemessa = d;
         f.usHoraInicialEmissaoRemessa = 480;
         f.usHoraFinalEmissaoRemessa = 599;
       },
       {Chave(1)}},
      {"somente nao faturadas", [](F& f, uint16_t) { f.cSomenteNaoFaturados = 1; }, {abril, Chave(1), Chave(4)}},
      {"nenhuma",
       [](F& f, uint16_t) {
         f.ulChaveOP = Chave(1);
         f.usPonteiroFilial = 2;
       },
       {}},
  };
  for (const Caso& caso : casos) {
    F filtro{};
    caso.define(filtro, dia);
    EXPECT_EQ(Chaves(filtro), caso.chaves) << caso.nome;
  }

  // From the month of the viewing date when the settings use it.
  DefineMestre([&](PPRegistroMestre& mestre) {
    mestre.cUsaDataVisualizacao = 1;
    mestre.usDataVisualizacao = Dia(1, 5, 2024);
  });
  EXPECT_EQ(Chaves({}), (std::vector<uint32_t>{Chave(1), Chave(2), Chave(4)}));
  DefineMestre([&](PPRegistroMestre& mestre) { mestre.usDataVisualizacao = 949; });
  EXPECT_EQ(Chaves({}), (std::vector<uint32_t>{abril, Chave(1), Chave(2), Chave(4)}));
  DefineMestre([&](PPRegistroMestre& mestre) {
    mestre.cUsaDataVisualizacao = 0;
    mestre.usDataVisualizacao = Dia(1, 5, 2024);
  });
  EXPECT_EQ(Chaves({}).size(), 4u);
}

TEST_F(RemessaOP, BuscaComInsumosEntregaCadaRemessaComSeusInsumos) {
  _REG_PP_REMESSA_INSUMOPS insumos[2] = {Insumo(kProdutoInsumo, 10000, "PRIMEIRO"),
                                         Insumo(kProdutoTerceiros, 20000, "SEGUNDO")};
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS reg{};
  reg.cStatusFaturamento = 1;
  reg.usQtdInsumos = 2;
  reg.pregRemessaInsumo = insumos;
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaRemessaIndustrializacao(reg, kMesAnterior, &chave), S_OK);
  reg.usQtdInsumos = 1;
  reg.pregRemessaInsumo = &insumos[1];
  ASSERT_EQ(op_.GravaRemessaIndustrializacao(reg, kMes, &chave), S_OK);

  _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS lista{};
  ASSERT_EQ(op_.BuscaRemessaIndustrializacao(&lista, CPPServidorOP::kLeInsumosRemessa), S_OK);
  ASSERT_EQ(lista.ulQtd, 2u);
  EXPECT_EQ(lista.pRegRemessa[0].ulChaveRemessa, Chave(1, kMesAnterior));
  ASSERT_EQ(lista.pRegRemessa[0].usQtdInsumos, 2);
  EXPECT_STREQ(lista.pRegRemessa[0].pregRemessaInsumo[0].szDescricao, "PRIMEIRO");
  EXPECT_STREQ(lista.pRegRemessa[0].pregRemessaInsumo[1].szDescricao, "SEGUNDO");
  EXPECT_EQ(lista.pRegRemessa[1].ulChaveRemessa, Chave(1));
  ASSERT_EQ(lista.pRegRemessa[1].usQtdInsumos, 1);
  EXPECT_STREQ(lista.pRegRemessa[1].pregRemessaInsumo[0].szDescricao, "SEGUNDO");
  EXPECT_EQ(lista.pRegRemessa[1].pregRemessaInsumo[0].vQuantidadeTotal.int64, 20000);
  for (uint32_t i = 0; i < lista.ulQtd; ++i) LiberaRegistroRemessaIndustrializacao(&lista.pRegRemessa[i], 0);
  CoTaskMemFree(lista.pRegRemessa);
}

TEST_F(RemessaOP, BuscaQueFalhaNaoDeixaNadaAlocado) {
  // The second shipment's input run lies past the end of PPIR.
  EscreveRemessas({{.estado = 1}, {.estado = 1}});
  std::string remessas = empresa_.Le(Arquivo("PPRM"));
  Poe<uint32_t>(remessas, 2 * kTamanhoRemessa + 16, 1);
  Poe<uint16_t>(remessas, 2 * kTamanhoRemessa + 34, 1);
  empresa_.Escreve(Arquivo("PPRM"), remessas);
  _REG_PP_REMESSA_INSUMOPS insumo = Insumo(kProdutoInsumo, 10000, "X");
  _REG_PP_REMESSA_INDUSTRIALIZACAOPS reg{};
  reg.usQtdInsumos = 1;
  reg.pregRemessaInsumo = &insumo;
  uint32_t chave = 0;
  ASSERT_EQ(op_.GravaRemessaIndustrializacao(reg, kMesAnterior, &chave), S_OK);

  _REG_PP_LISTA_REMESSA_INDUSTRIALIZACAOPS lista{};
  EXPECT_EQ(op_.BuscaRemessaIndustrializacao(&lista, 0xFF), Erro(16021));
  EXPECT_EQ(lista.ulQtd, 0u);
  EXPECT_EQ(lista.pRegRemessa, nullptr);
  // TearDown counts the task allocator's blocks.
}

// ---- The invoicing update ---------------------------------------------------------------------------

TEST_F(RemessaOP, AtualizacaoDoFaturamentoPorEstado) {
  struct Caso {
    const char* nome;
    uint8_t estado;
    uint16_t retornos;
    uint8_t estadoRemessa;
    uint32_t faturaRemessa;
    uint32_t notaApontamento;
  };
  const Caso casos[] = {
      {"fatura cancelada sem retornos volta a 1 sem fatura", 8, 0, 1, 0, 0},
      {"fatura cancelada com retornos fica em 8", 8, 2, 8, 77, 77},
      {"faturada", 2, 0, 2, 99, 77},
      {"faturada com o apontamento", 4, 0, 4, 99, 99},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    EscreveRemessas({{.apontamento = Chave(1), .op = Chave(1), .fatura = 77, .estado = 2}});
    EscreveApontamentos({{.registroOP = 1, .notaFiscal = 77, .retornos = caso.retornos}});
    const _REG_PP_RETORNO_REMESSA_FTPS retorno{Chave(1), 99, caso.estado, {}};
    ASSERT_EQ(op_.AtualizaRemessaFT(1, &retorno), S_OK);
    const std::string remessa = LeRemessa(1);
    EXPECT_EQ(remessa[36], caso.estadoRemessa);
    EXPECT_EQ(Pega<uint32_t>(remessa, 8), caso.faturaRemessa);
    EXPECT_EQ(Pega<uint32_t>(remessa, 0), Chave(1));
    const std::string apontamento = LeApontamento(1);
    EXPECT_EQ(Pega<uint32_t>(apontamento, 64), caso.notaApontamento);
    EXPECT_EQ(Pega<uint16_t>(apontamento, 164), caso.retornos);
  }
}

TEST_F(RemessaOP, AtualizacaoRecusaEntradasInvalidasSemEscrever) {
  EscreveRemessas({{.apontamento = Chave(1), .fatura = 77, .estado = 2},
                   {.apontamento = Chave(1), .fatura = 77, .estado = 2, .removida = true},
                   {.apontamento = Chave(1, kMesAnterior), .fatura = 77, .estado = 2},
                   {.apontamento = 0, .fatura = 77, .estado = 2}});
  EscreveApontamentos({{.notaFiscal = 77}});
  struct Caso {
    const char* nome;
    _REG_PP_RETORNO_REMESSA_FTPS retorno;
    HRESULT hr;
  };
  const Caso casos[] = {
      {"chave zero", {0, 99, 2, {}}, Erro(1591)},
      {"chave sem registro", {kMes, 99, 2, {}}, Erro(1591)},
      {"chave sem mes", {1u << 12, 99, 2, {}}, Erro(1591)},
      {"sem fatura", {Chave(1), 0, 2, {}}, Erro(1589)},
      {"estado 0", {Chave(1), 99, 0, {}}, Erro(1589)},
      {"estado 16", {Chave(1), 99, 16, {}}, Erro(1589)},
      {"estado 1", {Chave(1), 99, 1, {}}, Erro(1589)},
      {"remessa cancelada", {Chave(2), 99, 2, {}}, Erro(1586)},
      {"apontamento de outro mes", {Chave(3), 99, 2, {}}, Erro(1591)},
      {"remessa sem apontamento", {Chave(4), 99, 2, {}}, Erro(1591)},
      {"remessa alem do fim", {Chave(5), 99, 2, {}}, Erro(16021)},
      {"mes sem arquivos", {Chave(1, kMesAnterior), 99, 2, {}}, Erro(16021)},
  };
  const std::string remessas = empresa_.Le(Arquivo("PPRM"));
  const std::string apontamentos = empresa_.Le(Arquivo("PPAP"));
  for (const Caso& caso : casos) {
    EXPECT_EQ(op_.AtualizaRemessaFT(1, &caso.retorno), caso.hr) << caso.nome;
    EXPECT_EQ(empresa_.Le(Arquivo("PPRM")), remessas) << caso.nome;
    EXPECT_EQ(empresa_.Le(Arquivo("PPAP")), apontamentos) << caso.nome;
  }
  EXPECT_FALSE(empresa_.Existe(Arquivo("PPRM", kMesAnterior)));
  EXPECT_FALSE(empresa_.Existe(Arquivo("PPAP", kMesAnterior)));
  EXPECT_EQ(op_.AtualizaRemessaFT(-1, nullptr), Erro(1587));
  EXPECT_EQ(op_.AtualizaRemessaFT(1, nullptr), Erro(1587));
  EXPECT_EQ(op_.AtualizaRemessaFT(0, nullptr), S_OK);
}

TEST_F(RemessaOP, AtualizacaoParaNaPrimeiraFalha) {
  EscreveRemessas({{.apontamento = Chave(1), .fatura = 77, .estado = 1},
                   {.apontamento = Chave(2), .fatura = 77, .estado = 1}});
  EscreveApontamentos({{}, {}});
  const _REG_PP_RETORNO_REMESSA_FTPS retornos[] = {
      {Chave(1), 91, 4, {}}, {Chave(2), 0, 4, {}}, {Chave(2), 92, 4, {}}};
  EXPECT_EQ(op_.AtualizaRemessaFT(3, retornos), Erro(1589));
  EXPECT_EQ(LeRemessa(1)[36], 4);
  EXPECT_EQ(Pega<uint32_t>(LeApontamento(1), 64), 91u);
  EXPECT_EQ(LeRemessa(2)[36], 1);
  EXPECT_EQ(Pega<uint32_t>(LeApontamento(2), 64), 0u);
}

TEST_F(RemessaOP, AtualizacaoEsperaATravaDasOrdens) {
  EscreveRemessas({{.apontamento = Chave(1), .fatura = 77, .estado = 1}});
  EscreveApontamentos({{}});
  const _REG_PP_RETORNO_REMESSA_FTPS retorno{Chave(1), 91, 2, {}};
  {
    CQVArqMarca outro;
    ASSERT_EQ(outro.Marca(op_.GetDiretorio(), 29), 0);
    // The 50 s go by on the replaced clock.
    EXPECT_TRUE(FAILED(op_.AtualizaRemessaFT(1, &retorno)));
    EXPECT_EQ(LeRemessa(1)[36], 1);
  }
  EXPECT_EQ(op_.AtualizaRemessaFT(1, &retorno), S_OK);
  EXPECT_EQ(LeRemessa(1)[36], 2);
}

// ---- Server information and the check of reports ---------------------------------------------------

TEST_F(RemessaOP, InformacaoDoServidorVemDoRelogioFixado) {
  _REG_VARMO_INFO_SERVIDORPS info{};
  ASSERT_EQ(op_.BuscaInfoServidor(&info), S_OK);
  EXPECT_EQ(info.usDataAtual, Dia(10, 5, 2024));
  EXPECT_EQ(info.usHoraAtual, 10 * 60);
  CPPServidorOP fechado;
  EXPECT_EQ(fechado.BuscaInfoServidor(&info), Erro(1585));
}

TEST_F(RemessaOP, VerificacaoAchaApontamentoDaOrdemComANotaDeSaida) {
  EscreveApontamentos({{.registroOP = 1, .notaFiscal = 5, .excluido = true},
                       {.registroOP = 2, .notaFiscal = 5},
                       {.registroOP = 1, .notaFiscal = 6}});
  struct Caso {
    uint32_t chaveOP;
    uint32_t nota;
    uint8_t tipo;
    uint8_t existe;
  };
  const Caso casos[] = {
      {Chave(1), 5, 1, 0},  // only a removed report
      {Chave(1), 6, 1, 1},
      {Chave(2), 5, 1, 1},
      {Chave(3), 5, 1, 0},
      {Chave(1), 6, 0, 0},  // bit 0 not asked
      {Chave(1), 6, 2, 0},
      {Chave(1), 6, 3, 1},
      {Chave(1, kMesAnterior), 6, 1, 0},  // a month without reports
  };
  for (const Caso& caso : casos) {
    _REG_PP_OP_VERIFICACAO_INPS entrada{};
    entrada.ulChaveOP = caso.chaveOP;
    entrada.lPonteiroNotaFiscalSaida = caso.nota;
    entrada.cTipoVerificacao = caso.tipo;
    _REG_PP_OP_VERIFICACAO_OUTPS saida;
    std::memset(&saida, 0xFF, sizeof saida);
    ASSERT_EQ(op_.FazVerificacao(entrada, &saida), S_OK) << caso.chaveOP << " " << caso.nota;
    EXPECT_EQ(saida.cExiste, caso.existe) << caso.chaveOP << " " << caso.nota << " " << int(caso.tipo);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(saida.cFiller), sizeof saida.cFiller),
              std::string(sizeof saida.cFiller, '\0'));
  }
  EXPECT_FALSE(empresa_.Existe(Arquivo("PPAP", kMesAnterior)));
}

// ---- The hours a resource still owes an order --------------------------------------------------------

struct ProcessoSaldo {
  int32_t processo;
  int64_t capacidade;  // x 10,000
  uint8_t situacao;
  std::vector<int32_t> recursos;
  std::vector<ApontamentoDisco> apontamentos;
};

TEST_F(RemessaOP, SaldoDeHorasSomaOsProcessosQuePlanejamORecurso) {
  // The resource: efficiency 150 %, setup 0,5 h.
  CPPServidorRecursos recursos;
  ASSERT_EQ(recursos.Inicializa(Sessao(), 0), S_OK);
  _REG_PP_RECURSOPS recurso{};
  std::strcpy(recurso.szCodigo, "MAQ02");
  std::strcpy(recurso.szDescricao, "MAQUINA 2");
  recurso.cAtivo = 1;
  recurso.usPonteiroFilial = kFilial;
  recurso.vPercEficiencia.int64 = 1500000;
  recurso.vSetup.int64 = 5000;
  int32_t lRecurso = 0;
  ASSERT_EQ(recursos.Grava(0, recurso, &lRecurso), S_OK);
  // The reports of the order's branch are the user's to see.
  DefineAcessoTotal(true, {kFilial});
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);

  // Q = (100 - 10) + (30 - 0) = 120. Per process, C = capacity x 1,5:
  const std::vector<ProcessoSaldo> processos = {
      // C 30, reported 30 (the removed report left out): (120 - 30) / 30 = 3; started, no setup.
      {processos_[0], 200000, 2, {lRecurso, lRecurso},
       {{.quantidade = 300000, .processo = processos_[0]},
        {.excluido = true, .quantidade = 500000, .processo = processos_[0]}}},
      // C 12, nothing reported: 120 / 12 = 10, plus the setup in situation 1.
      {processos_[1], 80000, 1, {999, lRecurso}, {}},
      // Capacity 0 adds nothing, not even the setup.
      {processos_[2], 0, 1, {lRecurso}, {}},
      // Concluded, and a process without the resource.
      {processos_[0], 200000, 50, {lRecurso}, {}},
      {processos_[1], 200000, 1, {999}, {}},
  };
  std::string op(256, '\0');
  Poe<int32_t>(op, 44, tipoOP_);
  Poe<uint32_t>(op, 52, kProdutoFabricado);
  Poe<uint32_t>(op, 60, 1);
  Poe<uint32_t>(op, 64, 1);
  Poe<uint16_t>(op, 108, static_cast<uint16_t>(processos.size()));
  Poe<uint16_t>(op, 110, 2);
  Poe<uint16_t>(op, 116, kFilial);
  Poe<uint16_t>(op, 126, DiaFixado());
  op[170] = 2;
  op[182] = 'P';
  std::vector<std::string> itens;
  for (auto [programada, cancelada] : {std::pair<int64_t, int64_t>{1000000, 100000}, {300000, 0}}) {
    std::string item(90, '\0');
    Poe(item, 0, programada);
    Poe(item, 24, cancelada);
    Poe<uint32_t>(item, 36, kProdutoFabricado);
    item[56] = 1;
    item[62] = 'P';
    itens.push_back(item);
  }
  std::vector<std::string> registrosProcesso, registrosRecurso, registrosApontamento, lista;
  for (const ProcessoSaldo& dado : processos) {
    std::string processo(128, '\0');
    Poe(processo, 32, dado.capacidade);
    Poe(processo, 44, dado.processo);
    Poe<uint32_t>(processo, 56, static_cast<uint32_t>(registrosRecurso.size() + 1));
    Poe<uint16_t>(processo, 76, static_cast<uint16_t>(dado.recursos.size()));
    Poe<uint32_t>(processo, 68, dado.apontamentos.empty() ? 0 : static_cast<uint32_t>(lista.size() + 1));
    Poe<uint16_t>(processo, 82, static_cast<uint16_t>(dado.apontamentos.size()));
    processo[94] = 1;  // receives reports
    processo[95] = static_cast<char>(dado.situacao);
    registrosProcesso.push_back(processo);
    for (int32_t lPonteiro : dado.recursos) {
      std::string registro(64, '\0');
      Poe(registro, 32, lPonteiro);
      registrosRecurso.push_back(registro);
    }
    for (const ApontamentoDisco& apontamento : dado.apontamentos) {
      registrosApontamento.push_back(RegistroApontamento(apontamento));
      std::string entrada(4, '\0');
      Poe<uint32_t>(entrada, 0, static_cast<uint32_t>(registrosApontamento.size()));
      lista.push_back(entrada);
    }
  }
  empresa_.Escreve(Arquivo("PPOP"), ArquivoRegistros(256, {op}));
  empresa_.Escreve(Arquivo("PPIT"), ArquivoRegistros(90, itens));
  empresa_.Escreve(Arquivo("PPPR"), ArquivoRegistros(128, registrosProcesso));
  empresa_.Escreve(Arquivo("PPRP"), ArquivoRegistros(64, registrosRecurso));
  empresa_.Escreve(Arquivo("PPAP"), ArquivoRegistros(kTamanhoApontamento, registrosApontamento));
  empresa_.Escreve(Arquivo("PPRA"), ArquivoRegistros(4, lista));

  _REG_PP_OP_TEMPOPS saldo{};
  ASSERT_EQ(op_.CalcularSaldoHorasRecursoOP(static_cast<uint32_t>(lRecurso), Chave(1), &saldo), S_OK);
  EXPECT_EQ(saldo.vSaldoRecurso.int64, 135000);  // 3 + 10,5

  // Once the second process has started, its setup is no longer due.
  std::string arquivo = empresa_.Le(Arquivo("PPPR"));
  arquivo[2 * 128 + 95] = 2;
  empresa_.Escreve(Arquivo("PPPR"), arquivo);
  ASSERT_EQ(op_.CalcularSaldoHorasRecursoOP(static_cast<uint32_t>(lRecurso), Chave(1), &saldo), S_OK);
  EXPECT_EQ(saldo.vSaldoRecurso.int64, 130000);

  // A resource that no process plans owes nothing; an order that is not there answers its error.
  ASSERT_EQ(op_.CalcularSaldoHorasRecursoOP(static_cast<uint32_t>(recurso_), Chave(1), &saldo), S_OK);
  EXPECT_EQ(saldo.vSaldoRecurso.int64, 0);
  EXPECT_TRUE(FAILED(op_.CalcularSaldoHorasRecursoOP(static_cast<uint32_t>(lRecurso), Chave(1, kMesAnterior), &saldo)));
  CPPServidorOP fechado;
  EXPECT_EQ(fechado.CalcularSaldoHorasRecursoOP(static_cast<uint32_t>(lRecurso), Chave(1), &saldo), Erro(1585));
}

// ---- The outside servers ----------------------------------------------------------------------------

TEST_F(RemessaOP, ServidorQueNaoSeCriaNaoFicaEODaProximaChamadaFica) {
  HRESULT hr = S_OK;
  base_.Mensagem.FalhaInicializacao(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(op_.GetIMensagem(&hr), nullptr);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(base_.Mensagem.Vivos(), 0) << "a server that failed its initialisation is not kept";

  base_.Mensagem.FalhaInicializacao(S_OK);
  IQVDF_Mensagem* mensagem = op_.GetIMensagem(&hr);
  ASSERT_NE(mensagem, nullptr);
  EXPECT_EQ(hr, S_OK);
  const int criacoes = base_.Mensagem.Criacoes();
  EXPECT_EQ(op_.GetIMensagem(&hr), mensagem);
  EXPECT_EQ(base_.Mensagem.Criacoes(), criacoes);
  const std::vector<InicializacaoFamilia> inicializacoes = base_.Mensagem.Inicializacoes();
  ASSERT_FALSE(inicializacoes.empty());
  EXPECT_EQ(inicializacoes.back().empresa, "TESTE");
  EXPECT_EQ(inicializacoes.back().usuario, kUsuarioTeste);
  EXPECT_EQ(inicializacoes.back().sessao, kSessaoTeste);

  // Unavailable through all the creation's attempts (the pauses go by on the replaced clock).
  filiais_.Filial.FailStarts(kQVTentativasCriacao);
  EXPECT_EQ(op_.GetIFilial(&hr), nullptr);
  EXPECT_EQ(hr, RPC_S_SERVER_UNAVAILABLE_HRESULT);
  ASSERT_NE(op_.GetIFilial(&hr), nullptr);

  op_.Finaliza();
  EXPECT_EQ(base_.Mensagem.Vivos(), 0);
}

TEST_F(RemessaOP, ServidorDePedidosSoComIntegracaoEComAInicializacaoDoModulo) {
  Instalacao& instalacao = empresa_.GetInstalacao();
  instalacao.dir().Write("empresas/TESTE/FT/.keep", "");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "FT",
                        instalacao.dir().windows_path() + "empresas\\TESTE\\FT\\");
  ServidorVendas vendas;
  ASSERT_EQ(vendas.Registra(), S_OK);

  // The branch does not integrate sales orders: no interface, and no server created.
  HRESULT hr = S_OK;
  EXPECT_EQ(op_.GetIPedido(&hr), nullptr);
  EXPECT_EQ(hr, E_NOINTERFACE);
  EXPECT_EQ(vendas.Pedido.Criacoes(), 0);

  _REG_CN_PARAMETROSPS parametros{};
  parametros.cIntegraPedidos = 1;
  ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  vendas.Pedido.FalhaInicializacao(HRESULT_FROM_WIN32(ERROR_CANTREAD));
  EXPECT_EQ(op_.GetIPedido(&hr), nullptr);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_CANTREAD));
  vendas.Pedido.FalhaInicializacao(S_OK);
  ASSERT_NE(op_.GetIPedido(&hr), nullptr);
  EXPECT_EQ(hr, S_OK);
  // The 40-byte record: the company in 28 characters, user, session.
  const std::vector<InicializacaoFamilia> inicializacoes = vendas.Pedido.Inicializacoes();
  ASSERT_EQ(inicializacoes.size(), 2u);
  const std::vector<uint8_t>& registro = inicializacoes[1].registro;
  ASSERT_EQ(registro.size(), 40u);
  EXPECT_EQ(std::string(registro.begin(), registro.begin() + 6), std::string("TESTE\0", 6));
  EXPECT_EQ(inicializacoes[1].usuario, kUsuarioTeste);
  EXPECT_EQ(inicializacoes[1].sessao, kSessaoTeste);

  op_.Finaliza();
  EXPECT_EQ(vendas.Pedido.Vivos(), 0);
}

}  // namespace
