// The order handler's searches and readers over month files written here byte by byte: the order
// filter field by field with its pre-selection by report and by shipment, the dates of the
// searches, LePonteiros per read-kind bit with the items completed from requirements and sales
// orders, the headers, the pending items and the balances of the items' sources.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/family/vendas/PedidoFT.h"
#include "platform/family/vendas/ServidorVendas.h"
#include "tests/server/op/EmpresaOP.h"
#include "tests/support/ArquivoRegistros.h"

// Of tests/support/VersoesAntigasOP.h, whose month writer would clash with PeriodosOP.h's.
void RegistraDiretorioModulo(const Instalacao& instalacao, const char* modulo);

namespace {

// Month numbers count from 01/1848: 05/2024 and 04/2024.
constexpr uint16_t kMes = 2117;
constexpr uint16_t kMesAbril = 2116;

constexpr HRESULT kNaoInicializado = static_cast<HRESULT>(0x80040631);  // 1585
constexpr HRESULT kRemovido = static_cast<HRESULT>(0x80040632);         // 1586
constexpr HRESULT kMesSemOP = static_cast<HRESULT>(0x80040650);         // 1616
constexpr HRESULT kForaDoArquivo = static_cast<HRESULT>(0x80043E95);    // 16021

uint32_t Chave(uint32_t registro, uint16_t mes = kMes) { return (registro << 12) | mes; }

int64_t Qtd(int64_t unidades) { return unidades * 10000; }

// ---------------------------------------------------------------------------------------------------
// A month of the order family written by hand from the record layouts

struct InsumoMes {
  uint32_t produto = 0;
  int64_t unitaria = 0;
  uint32_t necessidade = 0;  // record in PPNC
};

struct EtiquetaMes {
  uint32_t total = 0;
  uint16_t porUnidade = 0;
  std::string descricao{};
  std::string leiaute{};
};

struct SimplesMes {
  int64_t quantidade = 0;
  int32_t operacao = 0;
  std::string comentario{};
};

struct ProcessoMes {
  int32_t processo = 0;
  bool recebe = false;
  uint8_t situacao = 1;
  std::string detalhe{};
  std::vector<InsumoMes> insumos{};
  std::vector<int32_t> recursos{};
  std::vector<std::string> imagens{};
  std::vector<EtiquetaMes> etiquetas{};
  std::vector<SimplesMes> simples{};
  std::vector<uint32_t> apontamentos{};  // PPAP records of its report list (PPRA)
};

struct ItemMes {
  uint32_t produto = 1;
  GradeTeste grade{};
  int64_t programada = Qtd(10), produzida = 0, perdida = 0, cancelada = 0;
  uint8_t tipo = 1;
  uint32_t fonte = 0;  // sales order or requirement key
  uint16_t idxPedido = 0;
  bool encerrado = false;
  bool limitada = false;
};

struct OrdemMes {
  uint32_t numero = 0;
  uint16_t emissao = 0;
  uint16_t filial = 1;
  int32_t tipoOP = 0;
  int32_t fluxo = 0;
  int32_t colecao = 0;
  uint32_t produto = 1;
  GradeTeste grade{};
  char ps = 'P';
  uint8_t situacao = 1;
  bool removida = false;
  uint8_t reprocesso = 0, confirmado = 0, recursosDefinidos = 0;
  uint16_t conclusao = 0;
  std::vector<std::string> textos{};  // szInfExtra1 .. szInfExtra5, szObservacao, szMensagem
  std::string lote{};
  std::vector<ProcessoMes> processos{};
  std::vector<ItemMes> itens{};
};

struct ApontamentoMes {
  uint32_t ordem = 0;  // record in PPOP
  int32_t processo = 0;
  int64_t quantidade = 0;
  bool excluido = false;
  uint8_t tipoProducao = 1;  // 0: outsourced
  uint32_t notaFiscal = 0;
  uint32_t remessa = 0;  // record in PPRM
  std::vector<int32_t> recursos{};  // its resource reports (PPAR)
};

struct NecessidadeMes {
  int64_t solicitada = 0, programada = 0, produzida = 0, cancelada = 0;
  uint32_t geradora = 0;  // record in PPOP
  uint16_t filial = 0;
  uint16_t emissao = 0;
};

class MesLeitura {
 public:
  explicit MesLeitura(uint16_t mes) : mes_(mes) {}

  uint32_t Ordem(const OrdemMes& ordem);
  uint32_t Apontamento(const ApontamentoMes& apontamento);
  uint32_t Necessidade(const NecessidadeMes& necessidade);
  uint32_t Remessa(uint32_t chaveOP, uint32_t fatura);
  void Grava(const EmpresaTeste& empresa) const;

 private:
  struct Arquivo {
    uint32_t tamanho = 0;
    std::vector<std::string> registros{};

    uint32_t Novo() {
      registros.emplace_back(tamanho, '\0');
      return static_cast<uint32_t>(registros.size());
    }
    uint32_t Proximo() const { return static_cast<uint32_t>(registros.size()) + 1; }
    template <class T>
    void Poe(uint32_t registro, uint32_t deslocamento, T valor) {
      std::string& bytes = registros.at(registro - 1);
      ASSERT_LE(deslocamento + sizeof valor, bytes.size());
      std::memcpy(bytes.data() + deslocamento, &valor, sizeof valor);
    }
    void PoeTexto(uint32_t registro, uint32_t deslocamento, const std::string& texto) {
      registros.at(registro - 1).replace(deslocamento, texto.size(), texto);
    }
    void PoeGrade(uint32_t registro, uint32_t deslocamento, const GradeTeste& grade) {
      Poe<uint16_t>(registro, deslocamento, grade.us1);
      Poe<uint16_t>(registro, deslocamento + 2, grade.us2);
      Poe<uint16_t>(registro, deslocamento + 4, grade.us3);
    }
  };

  Arquivo& De(const char* prefixo, uint32_t tamanho) {
    Arquivo& arquivo = arquivos_[prefixo];
    arquivo.tamanho = tamanho;
    return arquivo;
  }
  // A variable-record text: its offset (0 for none) after the signature "QV", then length and bytes.
  static uint32_t Texto(std::string& arquivo, const std::string& texto) {
    if (texto.empty()) return 0;
    const uint32_t deslocamento = static_cast<uint32_t>(arquivo.size());
    const uint16_t tamanho = static_cast<uint16_t>(texto.size());
    arquivo.append(reinterpret_cast<const char*>(&tamanho), 2);
    arquivo += texto;
    return deslocamento;
  }
  // The first records of a process's lists.
  struct Listas {
    uint32_t insumos, recursos, imagens, etiquetas, simples, apontamentos;
  };
  Listas ListasProcesso(const ProcessoMes& processo);
  void Processo(const ProcessoMes& processo, const Listas& listas);

  uint16_t mes_;
  std::map<std::string, Arquivo> arquivos_;
  std::string ie_ = "QV", in_ = "QV";
};

MesLeitura::Listas MesLeitura::ListasProcesso(const ProcessoMes& processo) {
  Arquivo& mt = De("PPMT", 128);
  const uint32_t insumos = processo.insumos.empty() ? 0 : mt.Proximo();
  for (const InsumoMes& insumo : processo.insumos) {
    const uint32_t m = mt.Novo();
    mt.Poe<int64_t>(m, 0, insumo.unitaria);
    mt.Poe<int64_t>(m, 8, insumo.unitaria * 10);
    mt.Poe<uint32_t>(m, 48, insumo.produto);
    mt.Poe<uint32_t>(m, 52, insumo.necessidade);
    mt.Poe<uint8_t>(m, 97, 2);
  }
  Arquivo& rp = De("PPRP", 64);
  const uint32_t recursos = processo.recursos.empty() ? 0 : rp.Proximo();
  for (int32_t recurso : processo.recursos) {
    const uint32_t r = rp.Novo();
    rp.Poe<int64_t>(r, 8, Qtd(2));  // setup
    rp.Poe<int32_t>(r, 32, recurso);
  }
  Arquivo& ip = De("PPIP", 16);
  const uint32_t imagens = processo.imagens.empty() ? 0 : ip.Proximo();
  for (const std::string& imagem : processo.imagens) ip.Poe<uint32_t>(ip.Novo(), 0, Texto(in_, imagem));
  Arquivo& pe = De("PPPE", 64);
  const uint32_t etiquetas = processo.etiquetas.empty() ? 0 : pe.Proximo();
  for (const EtiquetaMes& etiqueta : processo.etiquetas) {
    const uint32_t e = pe.Novo();
    pe.Poe<uint32_t>(e, 0, Texto(ie_, etiqueta.leiaute));
    pe.Poe<uint32_t>(e, 8, etiqueta.total);
    pe.Poe<uint16_t>(e, 12, etiqueta.porUnidade);
    pe.PoeTexto(e, 14, etiqueta.descricao);
  }
  Arquivo& as = De("PPAS", 128);
  const uint32_t simples = processo.simples.empty() ? 0 : as.Proximo();
  for (const SimplesMes& apontamento : processo.simples) {
    const uint32_t s = as.Novo();
    as.Poe<int64_t>(s, 0, apontamento.quantidade);
    as.Poe<uint32_t>(s, 32, Texto(ie_, apontamento.comentario));
    as.Poe<int32_t>(s, 36, apontamento.operacao);
  }
  Arquivo& ra = De("PPRA", 4);
  const uint32_t lista = processo.apontamentos.empty() ? 0 : ra.Proximo();
  for (uint32_t apontamento : processo.apontamentos) ra.Poe<uint32_t>(ra.Novo(), 0, apontamento);
  return {insumos, recursos, imagens, etiquetas, simples, lista};
}

// PPPR, 128 bytes.
void MesLeitura::Processo(const ProcessoMes& processo, const Listas& listas) {
  Arquivo& pr = De("PPPR", 128);
  const uint32_t p = pr.Novo();
  pr.Poe<uint32_t>(p, 40, Texto(ie_, processo.detalhe));
  pr.Poe<int32_t>(p, 44, processo.processo);
  pr.Poe<uint32_t>(p, 48, listas.insumos);
  pr.Poe<uint32_t>(p, 52, listas.simples);
  pr.Poe<uint32_t>(p, 56, listas.recursos);
  pr.Poe<uint32_t>(p, 60, listas.etiquetas);
  pr.Poe<uint32_t>(p, 64, listas.imagens);
  pr.Poe<uint32_t>(p, 68, listas.apontamentos);
  pr.Poe<uint16_t>(p, 72, static_cast<uint16_t>(processo.insumos.size()));
  pr.Poe<uint16_t>(p, 74, static_cast<uint16_t>(processo.simples.size()));
  pr.Poe<uint16_t>(p, 76, static_cast<uint16_t>(processo.recursos.size()));
  pr.Poe<uint16_t>(p, 78, static_cast<uint16_t>(processo.etiquetas.size()));
  pr.Poe<uint16_t>(p, 80, static_cast<uint16_t>(processo.imagens.size()));
  pr.Poe<uint16_t>(p, 82, static_cast<uint16_t>(processo.apontamentos.size()));
  pr.Poe<uint8_t>(p, 94, processo.recebe);
  pr.Poe<uint8_t>(p, 95, processo.situacao);
}

// Every process's lists first, then the processes as one run, the items, the header.
uint32_t MesLeitura::Ordem(const OrdemMes& ordem) {
  std::vector<Listas> listas;
  for (const ProcessoMes& processo : ordem.processos) listas.push_back(ListasProcesso(processo));
  const uint32_t primeiroProcesso = ordem.processos.empty() ? 0 : De("PPPR", 128).Proximo();
  for (size_t i = 0; i < ordem.processos.size(); ++i) Processo(ordem.processos[i], listas[i]);

  Arquivo& it = De("PPIT", 90);
  const uint32_t primeiroItem = ordem.itens.empty() ? 0 : it.Proximo();
  for (const ItemMes& item : ordem.itens) {
    const uint32_t t = it.Novo();
    it.Poe<int64_t>(t, 0, item.programada);
    it.Poe<int64_t>(t, 8, item.produzida);
    it.Poe<int64_t>(t, 16, item.perdida);
    it.Poe<int64_t>(t, 24, item.cancelada);
    it.Poe<uint32_t>(t, 32, item.fonte);
    it.Poe<uint32_t>(t, 36, item.produto);
    it.PoeGrade(t, 48, item.grade);
    it.Poe<uint16_t>(t, 54, item.idxPedido);
    it.Poe<uint8_t>(t, 56, item.tipo);
    it.Poe<uint8_t>(t, 59, item.encerrado);
    it.Poe<uint8_t>(t, 61, item.limitada);
    it.Poe<uint8_t>(t, 62, 'P');
  }

  Arquivo& op = De("PPOP", 256);
  const uint32_t o = op.Novo();
  op.Poe<uint32_t>(o, 0, ordem.numero);
  for (size_t i = 0; i < ordem.textos.size(); ++i)
    op.Poe<uint32_t>(o, static_cast<uint32_t>(4 + 4 * i), Texto(ie_, ordem.textos[i]));
  op.Poe<int32_t>(o, 44, ordem.tipoOP);
  op.Poe<int32_t>(o, 48, ordem.fluxo);
  op.Poe<uint32_t>(o, 52, ordem.produto);
  op.Poe<uint32_t>(o, 60, primeiroProcesso);
  op.Poe<uint32_t>(o, 64, primeiroItem);
  op.Poe<int32_t>(o, 76, ordem.colecao);
  op.Poe<uint32_t>(o, 80, Texto(ie_, ordem.lote));
  op.Poe<uint16_t>(o, 108, static_cast<uint16_t>(ordem.processos.size()));
  op.Poe<uint16_t>(o, 110, static_cast<uint16_t>(ordem.itens.size()));
  op.Poe<uint16_t>(o, 116, ordem.filial);
  op.PoeGrade(o, 118, ordem.grade);
  op.Poe<uint16_t>(o, 126, ordem.emissao ? ordem.emissao : DiaFixado());
  op.Poe<uint16_t>(o, 142, ordem.conclusao);
  op.Poe<uint8_t>(o, 170, ordem.situacao);
  op.Poe<uint8_t>(o, 171, ordem.removida);
  op.Poe<uint8_t>(o, 174, ordem.reprocesso);
  op.Poe<uint8_t>(o, 175, ordem.confirmado);
  op.Poe<uint8_t>(o, 176, ordem.recursosDefinidos);
  op.Poe<uint8_t>(o, 182, static_cast<uint8_t>(ordem.ps));
  return o;
}

uint32_t MesLeitura::Apontamento(const ApontamentoMes& apontamento) {
  Arquivo& ar = De("PPAR", 64);
  const uint32_t recursos = apontamento.recursos.empty() ? 0 : ar.Proximo();
  for (int32_t recurso : apontamento.recursos) {
    const uint32_t r = ar.Novo();
    ar.Poe<int32_t>(r, 36, apontamento.processo);
    ar.Poe<int32_t>(r, 40, recurso);
  }
  Arquivo& ap = De("PPAP", 200);
  const uint32_t a = ap.Novo();
  ap.Poe<int64_t>(a, 0, apontamento.quantidade);
  ap.Poe<uint32_t>(a, 64, apontamento.notaFiscal);
  ap.Poe<uint32_t>(a, 80, apontamento.ordem);
  ap.Poe<int32_t>(a, 88, apontamento.processo);
  ap.Poe<uint32_t>(a, 116, apontamento.remessa);
  ap.Poe<uint32_t>(a, 124, recursos);
  ap.Poe<uint16_t>(a, 144, DiaFixado());
  ap.Poe<uint16_t>(a, 152, DiaFixado());
  ap.Poe<uint16_t>(a, 168, static_cast<uint16_t>(apontamento.recursos.size()));
  ap.Poe<uint8_t>(a, 175, apontamento.tipoProducao);
  ap.Poe<uint8_t>(a, 176, apontamento.excluido);
  return a;
}

uint32_t MesLeitura::Necessidade(const NecessidadeMes& necessidade) {
  Arquivo& nc = De("PPNC", 128);
  const uint32_t n = nc.Novo();
  nc.Poe<int64_t>(n, 0, necessidade.solicitada);
  nc.Poe<int64_t>(n, 8, necessidade.programada);
  nc.Poe<int64_t>(n, 16, necessidade.produzida);
  nc.Poe<int64_t>(n, 24, necessidade.cancelada);
  nc.Poe<uint32_t>(n, 40, necessidade.geradora);
  nc.Poe<uint32_t>(n, 44, 1);
  nc.Poe<uint16_t>(n, 74, necessidade.filial);
  nc.Poe<uint16_t>(n, 80, necessidade.emissao);
  return n;
}

uint32_t MesLeitura::Remessa(uint32_t chaveOP, uint32_t fatura) {
  Arquivo& rm = De("PPRM", 60);
  const uint32_t r = rm.Novo();
  rm.Poe<uint32_t>(r, 4, chaveOP);
  rm.Poe<uint32_t>(r, 8, fatura);
  rm.Poe<uint16_t>(r, 28, 1);
  rm.Poe<uint8_t>(r, 36, fatura ? 2 : 1);
  return r;
}

void MesLeitura::Grava(const EmpresaTeste& empresa) const {
  for (const auto& [prefixo, arquivo] : arquivos_) {
    if (!arquivo.registros.empty())
      empresa.Escreve(MesOP::Nome(prefixo.c_str(), mes_), ArquivoDeRegistros(arquivo.tamanho, arquivo.registros));
  }
  if (ie_.size() > 2) empresa.Escreve(MesOP::Nome("PPIE", mes_), ie_);
  if (in_.size() > 2) empresa.Escreve(MesOP::Nome("PPIN", mes_), in_);
}

// ---------------------------------------------------------------------------------------------------
// The fixture: user 7 may see branches 1 and 2; the sales stand-in holds two sales orders.

constexpr uint32_t kPedidoA = 500;  // client 77
constexpr uint32_t kPedidoB = 600;  // client 88

class Leitura : public EmpresaOP {
 protected:
  void SetUp() override {
    EmpresaOP::SetUp();
    if (HasFatalFailure()) return;
    RegistraDiretorioModulo(empresa_.GetInstalacao(), "FT");
    ASSERT_EQ(vendas_.Registra(), S_OK);
    ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {PedidoA(), PedidoB()}), S_OK);
    DefineAcessoTotal(true, {1, 2});
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  }
  void TearDown() override {
    EmpresaOP::TearDown();
    EXPECT_EQ(vendas_.Pedido.Vivos(), 0);
  }

  static ItemPedidoSemeadoFT ItemPedido(int64_t quantidade, int64_t atendida, int64_t cancelada, int64_t programada,
                                        uint16_t entrega) {
    ItemPedidoSemeadoFT item;
    item.regItem.regPosProdutoServico.lPonteiroProduto = kProdutoFabricado;
    item.regItem.vQuantidade.int64 = Qtd(quantidade);
    item.regItem.vQuantidadeAtendida.int64 = Qtd(atendida);
    item.regItem.vQuantidadeCancelada.int64 = Qtd(cancelada);
    item.regItem.vQuantidadeProgramada.int64 = Qtd(programada);
    item.regItem.iDataEntrega = entrega;
    return item;
  }
  static PedidoSemeadoFT PedidoA() {
    PedidoSemeadoFT pedido;
    pedido.ulChave = kPedidoA;
    pedido.regPedido.lPonteiroCliente = 77;
    pedido.regPedido.iPonteiroFilial = 2;
    pedido.regPedido.iPonteiroMunicipio = 33;
    pedido.regPedido.iDataEmissao = Dia(1, 5, 2024);
    std::memcpy(pedido.regPedido.szOrdemCompraCliente, "PC-123", 6);
    pedido.itens = {ItemPedido(20, 3, 2, 10, Dia(20, 5, 2024)), ItemPedido(8, 0, 0, 0, Dia(25, 5, 2024))};
    return pedido;
  }
  static PedidoSemeadoFT PedidoB() {
    PedidoSemeadoFT pedido;
    pedido.ulChave = kPedidoB;
    pedido.regPedido.lPonteiroCliente = 88;
    pedido.regPedido.iPonteiroFilial = 1;
    pedido.itens = {ItemPedido(7, 0, 0, 0, 0)};
    return pedido;
  }

  void IntegraPedidos(bool bIntegra = true) {
    _REG_CN_PARAMETROSPS parametros{};
    parametros.cIntegraPedidos = bIntegra ? 1 : 0;
    ASSERT_EQ(ServidorFiliais::GravaParametros(Instalacao::kEmpresa, parametros), S_OK);
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  }

  // The records (of month `mes`) whose keys a search gave, in order.
  static std::vector<uint32_t> Registros(std::vector<uint32_t> chaves, uint16_t mes = kMes) {
    for (uint32_t& chave : chaves) {
      EXPECT_EQ(chave & 0xFFF, mes) << chave;
      chave >>= 12;
    }
    return chaves;
  }
  std::vector<uint32_t> Busca(const _REG_VARMO_FILTROPS& filtro) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaPonteirosFiltro(filtro, &lista), S_OK);
    return PonteirosLista(lista);
  }
  std::vector<uint32_t> BuscaPeriodo(uint16_t inicial, uint16_t final) {
    _REG_VARMO_PONTEIROS_ULONGPS lista{};
    EXPECT_EQ(op_.BuscaPonteirosPeriodo(inicial, final, &lista), S_OK);
    return PonteirosLista(lista);
  }

  ServidorVendas vendas_;
};

// ---------------------------------------------------------------------------------------------------
// The order filter

// Ten orders of May, each marked out by some fields:
//  1 type, flow 5, project 7, product 1 grid 1-2, emitted 2/5, situation 1, resources defined,
//    a pending receiving process CORTE with the resource, a complement item of product 1
//  2 service of product 2, branch 2, emitted 12/5, started, a concluded receiving COSTURA, a
//    requirement item of product 2
//  3 product 1 grid 1-3, emitted 3/5, concluded on 5/5, a concluded receiving CORTE, a sales-order item
//  4 reprocess order not confirmed, with a reprocess item; 5 reprocess order confirmed, cancelled
//  6 removed; 7 of another order type, suspended; 8 interrupted; 9 of branch 3 (not the user's)
//  10 not started, resources defined
class FiltroOP : public Leitura {
 protected:
  void SetUp() override {
    Leitura::SetUp();
    if (HasFatalFailure()) return;
    MesLeitura mes(kMes);
    auto ordem = [&](uint32_t numero) {
      OrdemMes o;
      o.numero = numero;
      o.tipoOP = tipoOP_;
      o.produto = kProdutoTerceiros;
      return o;
    };
    OrdemMes o1 = ordem(101);
    o1.fluxo = 5;
    o1.colecao = 7;
    o1.produto = 1;
    o1.grade = {1, 2, 0};
    o1.emissao = Dia(2, 5, 2024);
    o1.recursosDefinidos = 1;
    o1.processos = {{processos_[0], true, 1, "", {}, {recurso_}}};
    o1.itens = {{1, {1, 2, 0}}};
    mes.Ordem(o1);
    OrdemMes o2 = ordem(102);
    o2.ps = 'S';
    o2.produto = 2;
    o2.filial = 2;
    o2.emissao = Dia(12, 5, 2024);
    o2.situacao = 2;
    o2.processos = {{processos_[1], true, 50}};
    o2.itens = {{2}};
    o2.itens[0].tipo = 2;
    mes.Ordem(o2);
    OrdemMes o3 = ordem(103);
    o3.produto = 1;
    o3.grade = {1, 3, 0};
    o3.emissao = Dia(3, 5, 2024);
    o3.situacao = 50;
    o3.conclusao = Dia(5, 5, 2024);
    o3.processos = {{processos_[0], true, 50}};
    o3.itens = {{1}};
    o3.itens[0].tipo = 3;
    mes.Ordem(o3);
    OrdemMes o4 = ordem(104);
    o4.reprocesso = 1;
    o4.itens = {{1}};
    o4.itens[0].tipo = 4;
    mes.Ordem(o4);
    OrdemMes o5 = ordem(105);
    o5.reprocesso = 1;
    o5.confirmado = 1;
    o5.situacao = 99;
    mes.Ordem(o5);
    OrdemMes o6 = ordem(106);
    o6.removida = true;
    mes.Ordem(o6);
    OrdemMes o7 = ordem(107);
    o7.tipoOP = 999;
    o7.situacao = 61;
    mes.Ordem(o7);
    OrdemMes o8 = ordem(108);
    o8.situacao = 62;
    mes.Ordem(o8);
    OrdemMes o9 = ordem(109);
    o9.filial = 3;
    mes.Ordem(o9);
    OrdemMes o10 = ordem(110);
    o10.recursosDefinidos = 1;
    mes.Ordem(o10);
    mes.Grava(empresa_);
  }
};

TEST_F(FiltroOP, EachFieldListsTheOrdersThatMeetIt) {
  using Muda = std::function<void(_REG_VARMO_FILTROPS&)>;
  const std::vector<uint32_t> todas = {1, 2, 3, 7, 8, 10};
  struct Caso {
    const char* nome;
    Muda muda;
    std::vector<uint32_t> esperadas;
  };
  const int32_t corte = processos_[0];
  const int32_t recurso = recurso_;
  const Caso casos[] = {
      {"empty filter", [](auto&) {}, todas},
      {"order key", [](auto& f) { f.lPonteiroOP = Chave(3); }, {3}},
      {"order number", [](auto& f) { f.lNumeroOP = 102; }, {2}},
      {"products only", [](auto& f) { f.cFiltroProdutoServico = 1; }, {1, 3, 7, 8, 10}},
      {"services only", [](auto& f) { f.cFiltroProdutoServico = 2; }, {2}},
      {"products and services", [](auto& f) { f.cFiltroProdutoServico = 3; }, todas},
      {"product with kind",
       [](auto& f) {
         f.regPosicaoProdutoServico.lPonteiroProduto = 1;
         f.cTipoProdutoServico = 'P';
       },
       {1, 3}},
      {"product with kind and grid",
       [](auto& f) {
         f.regPosicaoProdutoServico = {1, 1, 2, 0};
         f.cTipoProdutoServico = 'P';
       },
       {1}},
      {"product without kind tests nothing", [](auto& f) { f.regPosicaoProdutoServico.lPonteiroProduto = 1; }, todas},
      {"project", [](auto& f) { f.lPonteiroColecao = 7; }, {1}},
      {"flow", [](auto& f) { f.lPonteiroFluxoProcesso = 5; }, {1}},
      {"order type", [](auto& f) { f.lPonteiroTipoOP = 999; }, {7}},
      {"branch", [](auto& f) { f.usPonteiroFilial = 2; }, {2}},
      {"emission dates, both included",
       [](auto& f) {
         f.usDataEmissaoInicial = Dia(3, 5, 2024);
         f.usDataEmissaoFinal = Dia(10, 5, 2024);
       },
       {3, 7, 8, 10}},
      {"concluded before the date", [](auto& f) { f.usOPNaoConcluidaAte = Dia(6, 5, 2024); }, {1, 2, 7, 8, 10}},
      {"concluded on the date", [](auto& f) { f.usOPNaoConcluidaAte = Dia(5, 5, 2024); }, todas},
      {"not started", [](auto& f) { f.cOPNaoIniciada = 1; }, {1, 10}},
      {"started", [](auto& f) { f.cOPIniciada = 1; }, {2}},
      {"concluded", [](auto& f) { f.cOPConcluida = 1; }, {3}},
      {"suspended or interrupted",
       [](auto& f) {
         f.cOPSuspensa = 1;
         f.cOPInterrompida = 1;
       },
       {7, 8}},
      {"cancelled, reprocess left out", [](auto& f) { f.cOPCancelada = 1; }, {}},
      {"reprocess 1: reprocess orders only", [](auto& f) { f.cOPReprocesso = 1; }, {4, 5}},
      {"reprocess 2: unconfirmed ones out", [](auto& f) { f.cOPReprocesso = 2; }, {1, 2, 3, 5, 7, 8, 10}},
      {"reprocess 3: confirmed ones only", [](auto& f) { f.cOPReprocesso = 3; }, {5}},
      {"reprocess 4: none", [](auto& f) { f.cOPReprocesso = 4; }, {}},
      {"cancelled among confirmed reprocess",
       [](auto& f) {
         f.cOPReprocesso = 3;
         f.cOPCancelada = 1;
       },
       {5}},
      {"pending process",
       [&](auto& f) {
         f.lPonteiroProcesso = corte;
         f.cProcessoPendente = 1;
       },
       {1}},
      {"concluded process",
       [&](auto& f) {
         f.lPonteiroProcesso = corte;
         f.cProcessoConcluido = 1;
       },
       {3}},
      {"pending or concluded process",
       [&](auto& f) {
         f.lPonteiroProcesso = corte;
         f.cProcessoPendente = 1;
         f.cProcessoConcluido = 1;
       },
       {1, 3}},
      {"process without a state", [&](auto& f) { f.lPonteiroProcesso = corte; }, {}},
      {"resource", [&](auto& f) { f.lPonteiroRecurso = recurso; }, {1}},
      {"item product", [](auto& f) { f.regPosicaoProdutoServicoItem.lPonteiroProduto = 2; }, {2}},
      {"item product and grid", [](auto& f) { f.regPosicaoProdutoServicoItem = {1, 1, 2, 0}; }, {1}},
      {"complement items", [](auto& f) { f.cTipoItemComplemento = 1; }, {1}},
      {"requirement or sales-order items",
       [](auto& f) {
         f.cTipoItemNecessidade = 1;
         f.cTipoItemPedido = 1;
       },
       {2, 3}},
      {"reprocess items",
       [](auto& f) {
         f.cTipoItemReprocesso = 1;
         f.cOPReprocesso = 1;
       },
       {4}},
      {"order types of the user", [](auto& f) { f.usPonteiroUsuarioTipoOP = kUsuarioTeste; }, {1, 2, 3, 8, 10}},
      {"all resources defined: only in situation 1",
       [](auto& f) {
         f.cTodosRecursosDefinidos = 1;
         f.cOPReprocesso = 1;
       },
       {5}},
      {"a removed order is never listed", [](auto& f) { f.lNumeroOP = 106; }, {}},
      {"nor one of a branch the user may not see", [](auto& f) { f.usPonteiroFilial = 3; }, {}},
  };
  for (const Caso& caso : casos) {
    _REG_VARMO_FILTROPS filtro{};
    caso.muda(filtro);
    EXPECT_EQ(Registros(Busca(filtro)), caso.esperadas) << caso.nome;
  }
}

TEST_F(FiltroOP, ResourceDefinitionIsCheckedOnlyWithTheMasterSetting) {
  _REG_VARMO_FILTROPS filtro{};
  filtro.cVerificarDefinicaoRecursos = 1;
  EXPECT_EQ(Registros(Busca(filtro)), (std::vector<uint32_t>{1, 2, 3, 7, 8, 10}));
  DefineMestre([](PPRegistroMestre& mestre) { mestre.cSohApontarAposDefinirRecursos = 1; });
  EXPECT_EQ(Registros(Busca(filtro)), (std::vector<uint32_t>{1, 10}));
  EXPECT_EQ(Registros(Busca({})), (std::vector<uint32_t>{1, 2, 3, 7, 8, 10}));
}

TEST_F(FiltroOP, BuscaPonteirosFiltroPutsTheStoredFilterBack) {
  _REG_VARMO_FILTROPS guardado{};
  guardado.lNumeroOP = 108;
  ASSERT_EQ(op_.SetFiltro(guardado), S_OK);
  _REG_VARMO_FILTROPS outro{};
  outro.lNumeroOP = 101;
  EXPECT_EQ(Registros(Busca(outro)), std::vector<uint32_t>{1});
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  ASSERT_EQ(op_.BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(Registros(PonteirosLista(lista)), std::vector<uint32_t>{8});
}

// Reports of May: 1 of order 6 (removed), 2 removed, of order 1; shipments: 1 not invoiced, of
// order 2.
TEST_F(FiltroOP, AReportKeyPreSelectsItsOrderWhateverTheOtherFields) {
  MesLeitura mes(kMes);
  mes.Apontamento({6, processos_[0], Qtd(1)});
  mes.Apontamento({1, processos_[0], Qtd(1), true});
  mes.Grava(empresa_);
  _REG_VARMO_FILTROPS filtro{};
  filtro.usTipoChaveInicializacao = 2;
  filtro.ulChaveInicializacao = Chave(1);
  filtro.lNumeroOP = 999;
  EXPECT_EQ(Registros(Busca(filtro)), std::vector<uint32_t>{6});
  filtro.ulChaveInicializacao = Chave(2);
  EXPECT_EQ(Busca(filtro), std::vector<uint32_t>{});
  // Only with both the kind and the key.
  filtro.usTipoChaveInicializacao = 0;
  EXPECT_EQ(Busca(filtro), std::vector<uint32_t>{});
}

TEST_F(FiltroOP, AShipmentNotInvoicedPreSelectsItsOrder) {
  MesLeitura mes(kMes);
  mes.Remessa(Chave(2), 0);
  mes.Grava(empresa_);
  _REG_VARMO_FILTROPS filtro{};
  filtro.usTipoChaveInicializacao = 1;
  filtro.ulChaveInicializacao = Chave(1);
  EXPECT_EQ(Registros(Busca(filtro)), std::vector<uint32_t>{2});
}

// Invoice 555 of shipment 1 of May: the outsourced report 1 of order 3 carries it, the outsourced
// report 2 of order 7 has it through its own shipment 2, and in April an outsourced report of
// April's order 1 carries it. The internal report 3 and the removed report 4 with it do not count.
TEST_F(FiltroOP, AnInvoicedShipmentPreSelectsTheOrdersOfTheReportsOfItsInvoiceInEveryMonth) {
  MesLeitura abril(kMesAbril);
  OrdemMes ordemAbril;
  ordemAbril.numero = 90;
  ordemAbril.emissao = Dia(15, 4, 2024);
  abril.Ordem(ordemAbril);
  abril.Apontamento({1, processos_[0], Qtd(1), false, 0, 555});
  abril.Grava(empresa_);
  MesLeitura mes(kMes);
  mes.Remessa(Chave(1), 555);
  mes.Remessa(Chave(7), 555);
  mes.Apontamento({3, processos_[0], Qtd(1), false, 0, 555});
  mes.Apontamento({7, processos_[0], Qtd(1), false, 0, 0, 2});
  mes.Apontamento({8, processos_[0], Qtd(1), false, 1, 555});
  mes.Apontamento({10, processos_[0], Qtd(1), true, 0, 555});
  mes.Grava(empresa_);

  _REG_VARMO_FILTROPS filtro{};
  filtro.usTipoChaveInicializacao = 1;
  filtro.ulChaveInicializacao = Chave(1);
  ASSERT_EQ(op_.SetFiltro(filtro), S_OK);
  EXPECT_EQ(BuscaPeriodo(Dia(1, 4, 2024), Dia(31, 5, 2024)),
            (std::vector<uint32_t>{Chave(1, kMesAbril), Chave(3), Chave(7)}));
  // The pre-selection keeps to the dates of the search.
  EXPECT_EQ(Registros(Busca(filtro)), (std::vector<uint32_t>{3, 7}));
}

// ---------------------------------------------------------------------------------------------------
// Dates of the searches

class DatasOP : public Leitura {
 protected:
  void SetUp() override {
    Leitura::SetUp();
    if (HasFatalFailure()) return;
    MesLeitura abril(kMesAbril);
    OrdemMes ordem;
    ordem.emissao = Dia(30, 4, 2024);
    abril.Ordem(ordem);
    abril.Grava(empresa_);
    MesLeitura maio(kMes);
    ordem.emissao = Dia(1, 5, 2024);
    maio.Ordem(ordem);
    ordem.emissao = Dia(31, 5, 2024);
    maio.Ordem(ordem);
    maio.Grava(empresa_);
  }
};

TEST_F(DatasOP, BuscaPonteirosWalksTheOpenPeriodAndBuscaPonteirosPeriodoItsDays) {
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  ASSERT_EQ(op_.BuscaPonteiros(&lista), S_OK);
  EXPECT_EQ(PonteirosLista(lista), (std::vector<uint32_t>{Chave(1), Chave(2)}));
  EXPECT_EQ(BuscaPeriodo(Dia(30, 4, 2024), Dia(1, 5, 2024)), (std::vector<uint32_t>{Chave(1, kMesAbril), Chave(1)}));
  EXPECT_EQ(BuscaPeriodo(Dia(2, 5, 2024), Dia(30, 5, 2024)), std::vector<uint32_t>{});
}

TEST_F(DatasOP, AStartAfterTheEndListsNothing) {
  EXPECT_EQ(BuscaPeriodo(Dia(31, 5, 2024), Dia(30, 4, 2024)), std::vector<uint32_t>{});
  EXPECT_EQ(BuscaPeriodo(Dia(2, 5, 2024), Dia(1, 5, 2024)), std::vector<uint32_t>{});
}

TEST_F(DatasOP, TheViewingDateRaisesTheStart) {
  DefineMestre([](PPRegistroMestre& mestre) {
    mestre.cUsaDataVisualizacao = 1;
    mestre.usDataVisualizacao = Dia(1, 5, 2024);
  });
  EXPECT_EQ(BuscaPeriodo(Dia(1, 1, 2024), Dia(31, 5, 2024)), (std::vector<uint32_t>{Chave(1), Chave(2)}));
}

// ---------------------------------------------------------------------------------------------------
// LePonteiros

// One order of May: texts, batch, a process CORTE with every list, a process COSTURA with none, a
// complement item and a limited one.
class LeOP : public Leitura {
 protected:
  void SetUp() override {
    Leitura::SetUp();
    if (HasFatalFailure()) return;
    MesLeitura mes(kMes);
    OrdemMes ordem;
    ordem.numero = 4321;
    ordem.filial = 2;
    ordem.textos = {"EXTRA 1", "", "", "", "EXTRA 5", "OBSERVA\xc7\xc3O", "MENSAGEM"};
    ordem.lote = "L-9";
    ProcessoMes corte{processos_[0], false, 1, "CORTAR"};
    corte.insumos = {{kProdutoInsumo, Qtd(1, 5000), 3}};
    corte.recursos = {recurso_};
    corte.imagens = {"FOTO.JPG"};
    corte.etiquetas = {{20, 2, "ETQ", "LAY.QRP"}};
    corte.simples = {{Qtd(4), operacao_, "OK"}};
    ordem.processos = {corte, {processos_[1]}};
    ItemMes limitado;
    limitado.limitada = true;
    limitado.programada = Qtd(5);
    ordem.itens = {{kProdutoFabricado, {1, 2, 0}}, limitado};
    mes.Ordem(ordem);
    mes.Grava(empresa_);
  }
  static int64_t Qtd(int64_t unidades, int64_t decimos = 0) { return unidades * 10000 + decimos; }
};

TEST_F(LeOP, EachReadKindBitFillsItsListsAndLeavesTheOthersEmpty) {
  enum : unsigned { kProc = 1, kIns = 2, kSimp = 4, kRec = 8, kImg = 16, kEtq = 32, kItens = 64, kTextos = 128 };
  const struct {
    uint16_t tipo;
    unsigned partes;
  } casos[] = {
      {0x0, 0},
      {0x1, kProc},
      {0x2, kProc | kIns},
      {0x4, kProc | kSimp},
      {0x8, kItens},
      {0x10, kTextos},
      {0x80, kProc | kRec},
      {0x400, kProc | kImg},
      {0x800, kProc | kEtq},
      {0xFFFF, kProc | kIns | kSimp | kRec | kImg | kEtq | kItens | kTextos},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.tipo);
    const uint32_t chave = Chave(1);
    _REG_VARMO_OPPS op{};
    ASSERT_EQ(op_.LePonteiros(1, &chave, &op, caso.tipo), S_OK);
    EXPECT_EQ(op.lNumeroOP, 4321u);
    EXPECT_EQ(op.ulChaveOP, chave);
    EXPECT_EQ(op.lPonteiroOP, 1);
    EXPECT_EQ(op.usDataEmissao, DiaFixado());
    EXPECT_STREQ(op.szNumeroLote, "L-9");

    const bool bTextos = caso.partes & kTextos;
    EXPECT_STREQ(op.szInfExtra1, bTextos ? "EXTRA 1" : "");
    EXPECT_STREQ(op.szInfExtra2, "");
    EXPECT_STREQ(op.szInfExtra5, bTextos ? "EXTRA 5" : "");
    EXPECT_STREQ(op.szObservacao, bTextos ? "OBSERVA\xc7\xc3O" : "");
    EXPECT_STREQ(op.szMensagem, bTextos ? "MENSAGEM" : "");

    if (caso.partes & kItens) {
      ASSERT_EQ(op.usQtdItens, 2);
      ASSERT_NE(op.pregItens, nullptr);
      EXPECT_EQ(op.pregItens[0].regPosicaoProdutoServico.lPonteiroProduto, kProdutoFabricado);
      EXPECT_EQ(op.pregItens[0].regPosicaoProdutoServico.iPonteiroItemGrade2, 2);
      EXPECT_EQ(op.pregItens[0].vQuantidadeProgramada.int64, Qtd(10));
      EXPECT_EQ(op.pregItens[0].usIdxItemOP, 0);
      EXPECT_EQ(op.pregItens[1].usIdxItemOP, 1);
      EXPECT_EQ(op.pregItens[1].usPonteiroFilial, 2);  // the order's
      EXPECT_EQ(op.cPossuiItemQtdLimitada, 1);
    } else {
      EXPECT_EQ(op.usQtdItens, 0);
      EXPECT_EQ(op.pregItens, nullptr);
      EXPECT_EQ(op.cPossuiItemQtdLimitada, 0);
    }

    if (!(caso.partes & kProc)) {
      EXPECT_EQ(op.usQtdProcessos, 0);
      EXPECT_EQ(op.pregProcessos, nullptr);
      LiberaOP(op);
      continue;
    }
    ASSERT_EQ(op.usQtdProcessos, 2);
    const _REG_VARMO_OP_PROCESSOPS& corte = op.pregProcessos[0];
    EXPECT_EQ(corte.lPonteiroProcesso, processos_[0]);
    EXPECT_STREQ(corte.szDetalhe, "CORTAR");
    EXPECT_EQ(corte.usQuantidadeApontamentos, 0);
    EXPECT_EQ(corte.pregApontamentos, nullptr);
    if (caso.partes & kIns) {
      ASSERT_EQ(corte.usQuantidadeInsumos, 1);
      EXPECT_EQ(corte.pregInsumos[0].regPosicaoProduto.lPonteiroProduto, kProdutoInsumo);
      EXPECT_EQ(corte.pregInsumos[0].vQuantidadeUnitaria.int64, 15000);
      EXPECT_EQ(corte.pregInsumos[0].vQuantidadeTotal.int64, 150000);
      EXPECT_EQ(corte.pregInsumos[0].cCasasDecimais, 2);
      EXPECT_EQ(static_cast<uint32_t>(corte.pregInsumos[0].lPonteiroNecessidade), Chave(3));
    } else {
      EXPECT_EQ(corte.usQuantidadeInsumos, 0);
      EXPECT_EQ(corte.pregInsumos, nullptr);
    }
    if (caso.partes & kSimp) {
      ASSERT_EQ(corte.usQuantidadeApontamentosSimples, 1);
      EXPECT_EQ(corte.pregApontamentosSimples[0].vQuantidadeApontada.int64, Qtd(4));
      EXPECT_EQ(corte.pregApontamentosSimples[0].lPonteiroOperacaoProducao, operacao_);
      EXPECT_STREQ(corte.pregApontamentosSimples[0].szComentario, "OK");
    } else {
      EXPECT_EQ(corte.usQuantidadeApontamentosSimples, 0);
      EXPECT_EQ(corte.pregApontamentosSimples, nullptr);
    }
    if (caso.partes & kRec) {
      ASSERT_EQ(corte.usQuantidadeRecursos, 1);
      EXPECT_EQ(corte.pregRecursos[0].lPonteiroRecurso, recurso_);
      EXPECT_EQ(corte.pregRecursos[0].vSetup.int64, Qtd(2));
    } else {
      EXPECT_EQ(corte.usQuantidadeRecursos, 0);
      EXPECT_EQ(corte.pregRecursos, nullptr);
    }
    if (caso.partes & kImg) {
      ASSERT_EQ(corte.usQtdImagens, 1);
      EXPECT_STREQ(corte.pregImagens[0].szNomeArquivo, "FOTO.JPG");
    } else {
      EXPECT_EQ(corte.usQtdImagens, 0);
      EXPECT_EQ(corte.pregImagens, nullptr);
    }
    if (caso.partes & kEtq) {
      ASSERT_EQ(corte.usQtdEtiquetas, 1);
      EXPECT_STREQ(corte.pregEtiquetas[0].szDescricao, "ETQ");
      EXPECT_STREQ(corte.pregEtiquetas[0].szLeiaute, "LAY.QRP");
      EXPECT_EQ(corte.pregEtiquetas[0].ulQuantidadeTotal, 20u);
      EXPECT_EQ(corte.pregEtiquetas[0].usQuantidade, 2);
    } else {
      EXPECT_EQ(corte.usQtdEtiquetas, 0);
      EXPECT_EQ(corte.pregEtiquetas, nullptr);
    }
    const _REG_VARMO_OP_PROCESSOPS& costura = op.pregProcessos[1];
    EXPECT_EQ(costura.lPonteiroProcesso, processos_[1]);
    EXPECT_EQ(costura.usQuantidadeInsumos + costura.usQuantidadeRecursos + costura.usQtdImagens +
                  costura.usQtdEtiquetas + costura.usQuantidadeApontamentosSimples,
              0);
    LiberaOP(op);
  }
}

TEST_F(LeOP, KeysWithoutOrderAnswerTheirErrorAndKeepTheRecordsBefore) {
  const struct {
    uint32_t chave;
    HRESULT hr;
  } casos[] = {
      {Chave(1, kMesAbril), kMesSemOP},
      {Chave(9), kForaDoArquivo},
      {kMes, kForaDoArquivo},
  };
  for (const auto& caso : casos) {
    const uint32_t chaves[] = {Chave(1), caso.chave};
    _REG_VARMO_OPPS ops[2];
    std::memset(static_cast<void*>(ops), 0x5A, sizeof ops);
    EXPECT_EQ(op_.LePonteiros(2, chaves, ops, 0xFFFF), caso.hr) << caso.chave;
    EXPECT_EQ(ops[0].lNumeroOP, 4321u);
    EXPECT_EQ(ops[0].usQtdProcessos, 2);
    EXPECT_EQ(ops[1].ulChaveOP, 0u);
    EXPECT_EQ(ops[1].pregProcessos, nullptr);
    EXPECT_EQ(ops[1].pregItens, nullptr);
    LiberaOP(ops[0]);
  }
}

TEST_F(LeOP, ARemovedOrderAnswers1586) {
  MesLeitura abril(kMesAbril);
  OrdemMes removida;
  removida.removida = true;
  abril.Ordem(removida);
  abril.Grava(empresa_);
  const uint32_t chave = Chave(1, kMesAbril);
  _REG_VARMO_OPPS op{};
  EXPECT_EQ(op_.LePonteiros(1, &chave, &op, 0xFFFF), kRemovido);
  EXPECT_EQ(op_.LeCabecalhoOP(chave, &op), kRemovido);
}

TEST_F(LeOP, HeadersComeWithoutListsOrTexts) {
  MesLeitura abril(kMesAbril);
  OrdemMes ordem;
  ordem.numero = 77;
  ordem.emissao = Dia(15, 4, 2024);
  abril.Ordem(ordem);
  abril.Grava(empresa_);
  const uint32_t chaves[] = {Chave(1), Chave(1, kMesAbril)};
  _REG_VARMO_OPPS ops[2];
  ASSERT_EQ(op_.LePonteirosSomenteCabecalho(2, chaves, ops), S_OK);
  EXPECT_EQ(ops[0].lNumeroOP, 4321u);
  EXPECT_EQ(ops[0].ulChaveOP, Chave(1));
  EXPECT_EQ(ops[0].usQtdProcessos, 0);
  EXPECT_EQ(ops[0].usQtdItens, 0);
  EXPECT_STREQ(ops[0].szInfExtra1, "");
  EXPECT_EQ(ops[1].lNumeroOP, 77u);
  EXPECT_EQ(ops[1].lPonteiroOP, 1);
  EXPECT_EQ(ops[1].usDataEmissao, Dia(15, 4, 2024));

  _REG_VARMO_OPPS op;
  ASSERT_EQ(op_.LeCabecalhoOP(Chave(1, kMesAbril), &op), S_OK);
  EXPECT_EQ(op.lNumeroOP, 77u);
  std::memset(static_cast<void*>(&op), 0x5A, sizeof op);
  ASSERT_EQ(op_.LeCabecalhoOP(0, &op), S_OK);
  EXPECT_EQ(op.lNumeroOP, 0u);
  EXPECT_EQ(op.pregItens, nullptr);
  EXPECT_EQ(op_.LeCabecalhoOP(Chave(1, 2100), &op), kMesSemOP);
}

// Reports: of CORTE (which has simple reports), 1; of COSTURA, 2 with a resource report and 3
// removed; of ACABAMENTO (which receives none), 4.
TEST_F(Leitura, ReportsAreReadForReceivingProcessesWithoutSimpleReports) {
  MesLeitura mes(kMes);
  mes.Apontamento({1, processos_[0], Qtd(1)});
  mes.Apontamento({1, processos_[1], Qtd(6), false, 1, 0, 0, {recurso_}});
  mes.Apontamento({1, processos_[1], Qtd(2), true});
  mes.Apontamento({1, processos_[2], Qtd(3)});
  OrdemMes ordem;
  ProcessoMes corte{processos_[0], true};
  corte.simples = {{Qtd(1), operacao_}};
  corte.apontamentos = {1};
  ProcessoMes costura{processos_[1], true};
  costura.apontamentos = {2, 3};
  ProcessoMes acabamento{processos_[2], false};
  acabamento.apontamentos = {4};
  ordem.processos = {corte, costura, acabamento};
  mes.Ordem(ordem);
  mes.Grava(empresa_);

  for (uint16_t tipo : {0x20, 0x40, 0x100, 0x200, 0x1000}) {
    SCOPED_TRACE(tipo);
    const uint32_t chave = Chave(1);
    _REG_VARMO_OPPS op{};
    ASSERT_EQ(op_.LePonteiros(1, &chave, &op, tipo), S_OK);
    ASSERT_EQ(op.usQtdProcessos, 3);
    EXPECT_EQ(op.pregProcessos[0].usQuantidadeApontamentos, 0);
    EXPECT_EQ(op.pregProcessos[2].usQuantidadeApontamentos, 0);
    const _REG_VARMO_OP_PROCESSOPS& processo = op.pregProcessos[1];
    ASSERT_EQ(processo.usQuantidadeApontamentos, 1);
    const _REG_VARMO_OP_APONTAMENTO& apontamento = processo.pregApontamentos[0];
    EXPECT_EQ(apontamento.vQuantidadeApontada.int64, Qtd(6));
    EXPECT_EQ(apontamento.lPonteiroApontamento, Chave(2));
    EXPECT_EQ(apontamento.lPonteiroOP, Chave(1));
    // Resource lists for bits 8 and 12 only.
    if (tipo == 0x100 || tipo == 0x1000) {
      ASSERT_EQ(apontamento.usQtdRecursos, 1);
      EXPECT_EQ(apontamento.pregRecursos[0].lPonteiroRecurso, recurso_);
    } else {
      EXPECT_EQ(apontamento.usQtdRecursos, 0);
    }
    LiberaOP(op);
  }
  const uint32_t chave = Chave(1);
  _REG_VARMO_OPPS op{};
  ASSERT_EQ(op_.LePonteiros(1, &chave, &op, 0x1), S_OK);
  EXPECT_EQ(op.pregProcessos[1].usQuantidadeApontamentos, 0);
  LiberaOP(op);
}

// ---------------------------------------------------------------------------------------------------
// Items completed from their sources

// A requirement of April (record 1: branch 2, emitted 20/4, made by April's order 4) and an order
// of May with a requirement item, a sales-order item (sales order A, its second item) and a
// complement item.
class ItensOP : public Leitura {
 protected:
  void SetUp() override {
    Leitura::SetUp();
    if (HasFatalFailure()) return;
    MesLeitura abril(kMesAbril);
    abril.Necessidade({Qtd(30), Qtd(12), Qtd(6), Qtd(4), 4, 2, Dia(20, 4, 2024)});
    abril.Grava(empresa_);
    MesLeitura mes(kMes);
    OrdemMes ordem;
    ordem.situacao = 2;
    ItemMes necessidade;
    necessidade.tipo = 2;
    necessidade.fonte = Chave(1, kMesAbril);
    ItemMes pedido;
    pedido.tipo = 3;
    pedido.fonte = kPedidoA;
    pedido.idxPedido = 1;
    ordem.itens = {necessidade, pedido, {}};
    mes.Ordem(ordem);
    mes.Grava(empresa_);
  }
};

TEST_F(ItensOP, RequirementAndSalesOrderItemsTakeWhatTheirSourcesKnow) {
  IntegraPedidos();
  const uint32_t chave = Chave(1);
  _REG_VARMO_OPPS op{};
  ASSERT_EQ(op_.LePonteiros(1, &chave, &op, 0x8), S_OK);
  ASSERT_EQ(op.usQtdItens, 3);
  const _REG_VARMO_OP_ITEMPS& necessidade = op.pregItens[0];
  EXPECT_EQ(necessidade.usPonteiroFilial, 2);
  EXPECT_EQ(necessidade.usDataEmissao, Dia(20, 4, 2024));
  EXPECT_EQ(necessidade.lPonteiroOPGeradora, Chave(4, kMesAbril));
  const _REG_VARMO_OP_ITEMPS& pedido = op.pregItens[1];
  EXPECT_EQ(pedido.lPonteiroCliente, 77);
  EXPECT_EQ(pedido.usPonteiroFilial, 2);
  EXPECT_EQ(pedido.usPonteiroMunicipio, 33);
  EXPECT_EQ(pedido.usDataEmissao, Dia(1, 5, 2024));
  EXPECT_EQ(pedido.usDataEntrega, Dia(25, 5, 2024));
  EXPECT_EQ(std::string(pedido.cOrdemCompraCliente), "PC-123");
  const _REG_VARMO_OP_ITEMPS& complemento = op.pregItens[2];
  EXPECT_EQ(complemento.usPonteiroFilial, 1);
  EXPECT_EQ(complemento.lPonteiroCliente, 0);
  LiberaOP(op);
}

TEST_F(ItensOP, WithoutIntegrationASalesOrderItemKeepsTheOrdersBranch) {
  const uint32_t chave = Chave(1);
  _REG_VARMO_OPPS op{};
  ASSERT_EQ(op_.LePonteiros(1, &chave, &op, 0x8), S_OK);
  EXPECT_EQ(op.pregItens[1].lPonteiroCliente, 0);
  EXPECT_EQ(op.pregItens[1].usPonteiroFilial, 1);
  EXPECT_EQ(vendas_.Pedido.Inicializacoes().size(), 0u);
  LiberaOP(op);
}

TEST_F(ItensOP, ASalesOrderServerThatCannotBeHadAnswersItsCreation) {
  constexpr HRESULT kRecusa = static_cast<HRESULT>(0x80070005);
  IntegraPedidos();
  vendas_.Pedido.FalhaInicializacao(kRecusa);
  const uint32_t chave = Chave(1);
  _REG_VARMO_OPPS op{};
  EXPECT_EQ(op_.LePonteiros(1, &chave, &op, 0x8), kRecusa);
  EXPECT_EQ(op.pregItens, nullptr);
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroCliente = 77;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  EXPECT_EQ(op_.BuscaPonteirosFiltro(filtro, &lista), kRecusa);
  EXPECT_EQ(lista.plPonteiro, nullptr);
  vendas_.Pedido.FalhaInicializacao(S_OK);
}

TEST_F(ItensOP, TheClientAndSalesOrderFieldsOfTheFilterAskTheSalesOrders) {
  // Order 1: a sales-order item of sales order A (client 77); order 2: of sales order B (client 88).
  MesLeitura mes(kMes);
  for (uint32_t fonte : {kPedidoA, kPedidoB}) {
    OrdemMes ordem;
    ItemMes pedido;
    pedido.tipo = 3;
    pedido.fonte = fonte;
    ordem.itens = {pedido};
    mes.Ordem(ordem);
  }
  mes.Grava(empresa_);
  _REG_VARMO_FILTROPS filtro{};
  filtro.lPonteiroCliente = 77;
  EXPECT_EQ(Busca(filtro), std::vector<uint32_t>{}) << "without integration";
  IntegraPedidos();
  const struct {
    int32_t cliente;
    uint32_t pedido;
    std::vector<uint32_t> esperadas;
  } casos[] = {
      {77, 0, {1}}, {88, 0, {2}}, {99, 0, {}}, {0, kPedidoB, {2}}, {77, kPedidoB, {}}, {88, kPedidoB, {2}},
  };
  for (const auto& caso : casos) {
    filtro.lPonteiroCliente = caso.cliente;
    filtro.lChavePedido = caso.pedido;
    EXPECT_EQ(Registros(Busca(filtro)), caso.esperadas) << caso.cliente << " " << caso.pedido;
  }
}

// ---------------------------------------------------------------------------------------------------
// Pending items and the balances of the sources

// Items: 10 - 3 produced - 1 lost - 2 cancelled = 4; 5 - 5 = 0; 8 closed by force; 6.
TEST_F(Leitura, PendingItemsAreThoseOfAnOpenOrderWithABalance) {
  ItemMes parcial;
  parcial.produzida = Qtd(3);
  parcial.perdida = Qtd(1);
  parcial.cancelada = Qtd(2);
  ItemMes pronto;
  pronto.programada = pronto.produzida = Qtd(5);
  ItemMes encerrado;
  encerrado.programada = Qtd(8);
  encerrado.encerrado = true;
  ItemMes aberto;
  aberto.programada = Qtd(6);
  aberto.produto = kProdutoInsumo;
  MesLeitura mes(kMes);
  for (uint8_t situacao : {1, 2, 50, 49, 61, 62, 99}) {
    OrdemMes ordem;
    ordem.situacao = situacao;
    ordem.itens = {parcial, pronto, encerrado, aberto};
    mes.Ordem(ordem);
  }
  mes.Grava(empresa_);
  for (uint32_t registro = 1; registro <= 7; ++registro) {
    SCOPED_TRACE(registro);
    REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS lista{};
    ASSERT_EQ(op_.LeItensPendentesOP(Chave(registro), &lista), S_OK);
    if (registro > 2) {
      EXPECT_EQ(lista.lQuantidade, 0);
      EXPECT_EQ(lista.pRegDadoItemPedidoOP, nullptr);
      continue;
    }
    ASSERT_EQ(lista.lQuantidade, 2);
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[0].usIdxItemOP, 0);
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[0].vQuantidadeSaldo.int64, Qtd(4));
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[0].vQuantidadeProgramada.int64, Qtd(10));
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[1].usIdxItemOP, 3);
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[1].vQuantidadeSaldo.int64, Qtd(6));
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[1].regPosicaoProdutoServico.lPonteiroProduto, kProdutoInsumo);
    EXPECT_EQ(lista.pRegDadoItemPedidoOP[1].usPonteiroFilial, 1);
    CoTaskMemFree(lista.pRegDadoItemPedidoOP);
  }
  REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS lista{};
  EXPECT_EQ(op_.LeItensPendentesOP(0, &lista), S_OK);
  EXPECT_EQ(lista.lQuantidade, 0);
}

// The April requirement of ItensOP: 30 requested - 12 programmed - 4 cancelled = 14 (what was
// produced does not count); sales order A's first item 20 - 3 served - 2 cancelled - 10 programmed
// = 5; sales order B's 7.
TEST_F(ItensOP, BalancesOfTheSourcesComeSortedBySource) {
  const uint32_t necessidade = Chave(1, kMesAbril);
  auto fonte = [](uint32_t ponteiro, uint8_t tipo) {
    _REG_VARMO_SALDO_ITEM_OPPS saldo{};
    saldo.vQuantidade.int64 = Qtd(1);
    saldo.lPonteiroPedidoNecessidade = ponteiro;
    saldo.cTipoItem = tipo;
    return saldo;
  };
  const _REG_VARMO_SALDO_ITEM_OPPS entrada[] = {fonte(kPedidoB, 3), fonte(necessidade, 2), fonte(kPedidoA, 3),
                                                fonte(5, 1)};
  const struct {
    bool integra;
    int64_t pedidoA, pedidoB;
  } casos[] = {{true, Qtd(5), Qtd(7)}, {false, 0, 0}};
  for (const auto& caso : casos) {
    IntegraPedidos(caso.integra);
    _REG_VARMO_SALDO_ITEM_OPPS saida[4];
    ASSERT_EQ(op_.BuscaSaldoItemOP(4, entrada, saida), S_OK);
    const uint32_t fontes[] = {5, kPedidoA, kPedidoB, necessidade};
    const int64_t saldos[] = {0, caso.pedidoA, caso.pedidoB, Qtd(14)};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(saida[i].lPonteiroPedidoNecessidade, fontes[i]) << i;
      EXPECT_EQ(saida[i].vQuantidade.int64, saldos[i]) << i;
    }
    EXPECT_EQ(saida[3].cTipoItem, 2);
  }
}

// ---------------------------------------------------------------------------------------------------

TEST(LeituraSemSessao, EveryOperationAnswers1585BeforeInicializa) {
  CPPServidorOP op;
  _REG_VARMO_PONTEIROS_ULONGPS lista{};
  _REG_VARMO_OPPS registro{};
  REG_VARMO_LISTA_DADO_ITEM_PEDIDO_OPPS itens{};
  _REG_VARMO_SALDO_ITEM_OPPS saldo{};
  const uint32_t chave = Chave(1);
  EXPECT_EQ(op.BuscaPonteiros(&lista), kNaoInicializado);
  EXPECT_EQ(op.BuscaPonteirosPeriodo(0, 0xFFFF, &lista), kNaoInicializado);
  EXPECT_EQ(op.BuscaPonteirosFiltro({}, &lista), kNaoInicializado);
  EXPECT_EQ(op.LePonteiros(1, &chave, &registro, 0xFFFF), kNaoInicializado);
  EXPECT_EQ(op.LePonteirosSomenteCabecalho(1, &chave, &registro), kNaoInicializado);
  EXPECT_EQ(op.LeCabecalhoOP(chave, &registro), kNaoInicializado);
  EXPECT_EQ(op.LeItensPendentesOP(chave, &itens), kNaoInicializado);
  EXPECT_EQ(op.BuscaSaldoItemOP(1, &saldo, &saldo), kNaoInicializado);
}

}  // namespace
