// The single-report readers of the order handler (LeApontamento, LePonteirosApontamento, the reports
// of a process), the report filter and the walks of the searches, over a month written byte by
// byte: the order family's writers of PeriodosOP.h lay out orders, processes, reports with their
// resources, operations, movements and returns, and what they leave out (the report's own fields,
// the process's report index, batches, operation entries, texts, the shipment) is put in here at
// hand-written offsets, never through the handler's declarations.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "access/PPLiberaRegistro.h"
#include "platform/com/bstr.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "server/CPPArquivosSubclasses.h"
#include "tests/server/op/EmpresaOP.h"

namespace {

constexpr uint16_t kMes = 2117;          // 05/2024, the open period's month
constexpr uint16_t kMesAnterior = 2116;  // 04/2024, before the open period
constexpr uint32_t Chave(uint32_t registro, uint16_t mes = kMes) { return registro << 12 | mes; }
HRESULT Erro(uint32_t numero) { return static_cast<HRESULT>(0x80040000u | numero); }
uint16_t Maio(int d) { return Dia(d, 5, 2024); }

// The orders and reports of the month, by record number.
constexpr uint32_t kOPServico = 1;  // branch 2, a service order
constexpr uint32_t kOP = 2;         // branch 1, the product order
constexpr uint32_t kRemovido = 1;   // of kOP, process 0, removed
constexpr uint32_t kDoServico = 2;  // of kOPServico, internal, pending without kind 4
constexpr uint32_t kCompleto = 3;   // of kOP, process 0, outsourced: every list
constexpr uint32_t kPendente = 4;   // of kOP, process 1, internal, entry left for later (kind 4)
constexpr uint32_t kInterno = 5;    // of kOP, process 0, internal, two stock movements

constexpr uint32_t kTamanhoComentario = 230;  // longer than the 201 characters the record keeps
constexpr uint32_t kTamanhoDetalhe = 1200;    // longer than the 1001 characters the record keeps

// A month file of fixed records held in memory, changed at hand-written offsets, written back whole.
class ArquivoMes {
 public:
  ArquivoMes(const EmpresaTeste& empresa, const char* prefixo, uint32_t tamanho, uint16_t mes = kMes)
      : empresa_(empresa), nome_(MesOP::Nome(prefixo, mes)), tamanho_(tamanho) {
    if (empresa.Existe(nome_)) bytes_ = empresa.Le(nome_);
    if (bytes_.size() < tamanho_) bytes_.assign(tamanho_, '\0');
  }
  ArquivoMes(const ArquivoMes&) = delete;
  ArquivoMes& operator=(const ArquivoMes&) = delete;
  ~ArquivoMes() { empresa_.Escreve(nome_, bytes_); }

  template <class T>
  ArquivoMes& Poe(uint32_t registro, uint32_t deslocamento, T valor) {
    Espaco(registro);
    std::memcpy(&bytes_[size_t{registro} * tamanho_ + deslocamento], &valor, sizeof valor);
    return *this;
  }
  ArquivoMes& PoeTexto(uint32_t registro, uint32_t deslocamento, const std::string& texto) {
    Espaco(registro);
    std::memcpy(&bytes_[size_t{registro} * tamanho_ + deslocamento], texto.data(), texto.size());
    return *this;
  }

 private:
  void Espaco(uint32_t registro) {
    const size_t fim = size_t{registro + 1} * tamanho_;
    if (bytes_.size() < fim) bytes_.resize(fim, '\0');
  }

  const EmpresaTeste& empresa_;
  std::string nome_;
  uint32_t tamanho_;
  std::string bytes_;
};

// A month's variable-record text file: "QV", then each text as its 16-bit length and its bytes.
class TextosMes {
 public:
  // The text's offset: where its length lies.
  uint32_t Acrescenta(const std::string& texto) {
    const auto deslocamento = static_cast<uint32_t>(bytes_.size());
    const auto tamanho = static_cast<uint16_t>(texto.size());
    bytes_.append(reinterpret_cast<const char*>(&tamanho), 2).append(texto);
    return deslocamento;
  }
  void Grava(const EmpresaTeste& empresa, const char* prefixo) const {
    empresa.Escreve(MesOP::Nome(prefixo, kMes), bytes_);
  }

 private:
  std::string bytes_ = "QV";
};

std::vector<uint32_t> Registros(const std::vector<uint32_t>& chaves) {
  std::vector<uint32_t> registros;
  for (uint32_t chave : chaves) registros.push_back(chave >> 12);
  return registros;
}

class ApontamentoLeitura : public EmpresaOP {
 protected:
  void SetUp() override {
    EmpresaOP::SetUp();
    if (HasFatalFailure()) return;
    Instalacao& instalacao = empresa_.GetInstalacao();
    instalacao.dir().Write("empresas/TESTE/ES/.keep", "");
    instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", "ES",
                          instalacao.dir().windows_path() + "empresas\\TESTE\\ES\\");
    ASSERT_EQ(estoque_.Registra(), S_OK);
    // User 7 sees both branches of the month's orders.
    DefineAcessoTotal(true, {1, 2});
    ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
    GravaMes();
  }

  void TearDown() override {
    EmpresaOP::TearDown();
    EXPECT_EQ(estoque_.Movimento.Vivos(), 0);
  }

  void GravaMes();

  // The keys of the reports of the open period (or of lChaveOP's month) that pass the stored
  // filter, through the walks of the searches.
  std::vector<uint32_t> Busca(uint32_t lChaveOP = 0) {
    std::vector<uint32_t> chaves;
    const uint32_t lBits = CPPArquivosOP::kArqOP | CPPArquivosOP::kArqApontamento;
    const HRESULT hr = op_.PercorreMesesApontamento(nullptr, lBits, lChaveOP, [&](CPPArquivosOP& arquivos, uint16_t) {
      return op_.PercorreApontamentosMes(
          arquivos, [&](uint32_t ulChave, const PPDiscoApontamento&, const PPDiscoOP&) {
            chaves.push_back(ulChave);
            return S_OK;
          });
    });
    EXPECT_EQ(hr, S_OK);
    return chaves;
  }

  // April, before the open period: one order of branch 1 and its report, of 2 stock movements.
  void GravaAbril() {
    MesOP abril(kMesAnterior);
    abril.Ordem({});
    ApontamentoTeste apontamento;
    apontamento.estoque = {{kProdutoInsumo, {}}, {kProdutoTerceiros, {}}};
    abril.Apontamento(apontamento);
    abril.Grava(empresa_);
    ArquivoMes(empresa_, "PPAP", 200, kMesAnterior).Poe<uint32_t>(1, 80, 1);
    ArquivoMes(empresa_, "PPOP", 256, kMesAnterior).Poe<uint16_t>(1, 116, 1);
  }

  int32_t P0() const { return processos_[0]; }
  int32_t P1() const { return processos_[1]; }

  ServidorEstoque estoque_;
  uint32_t textoComentario_ = 0, textoMotivo_ = 0, textoDetalhe_ = 0, textoRetorno_ = 0, textoMotivoRetorno_ = 0;
};

void ApontamentoLeitura::GravaMes() {
  MesOP mes(kMes);
  // Orders: PPPR 1 is the service order's process, 2 and 3 the product order's P0 and P1.
  OrdemTeste servico;
  servico.fluxo = 12;
  servico.colecao = 22;
  servico.tipo = 'S';
  servico.produto = kProdutoTerceiros;
  servico.processos = {{P0()}};
  ASSERT_EQ(mes.Ordem(servico), kOPServico);
  OrdemTeste produto;
  produto.situacao = 2;
  produto.fluxo = 11;
  produto.colecao = 21;
  produto.produto = kProdutoFabricado;
  produto.grade = {1, 2, 0};
  produto.processos = {{P0()}, {P1()}};
  ASSERT_EQ(mes.Ordem(produto), kOP);

  // Reports. PPME: 1 entry, 2 scrap entry, 3 and 4 stock and 5 the return's movement of the
  // complete report; 6 the pending entry; 7 and 8 the internal report's stock. PPAR: 1 the
  // resource not reported, 2 the resource reported (its operation PPAO 1).
  ApontamentoTeste removido;
  removido.excluido = true;
  ASSERT_EQ(mes.Apontamento(removido), kRemovido);
  ASSERT_EQ(mes.Apontamento({}), kDoServico);
  ApontamentoTeste completo;
  completo.operacao = operacao_;
  completo.motivoRefugo = 7;
  completo.recursosNaoApontados = {recurso_};
  completo.recursos = {{recurso_, {static_cast<uint32_t>(operacao_)}}};
  completo.entradas = {{kProdutoFabricado, {1, 2, 0}}};
  completo.refugo = {{kProdutoFabricado, {1, 2, 0}}};
  completo.estoque = {{kProdutoInsumo, {}}, {kProdutoTerceiros, {}}};
  completo.retornos = {{{kProdutoInsumo, {}}}};
  ASSERT_EQ(mes.Apontamento(completo), kCompleto);
  ApontamentoTeste pendente;
  pendente.entradas = {{kProdutoFabricado, {}}};
  pendente.entradaPendente = true;
  ASSERT_EQ(mes.Apontamento(pendente), kPendente);
  ApontamentoTeste interno;
  interno.estoque = {{kProdutoInsumo, {}}, {kProdutoTerceiros, {}}};
  ASSERT_EQ(mes.Apontamento(interno), kInterno);
  mes.Grava(empresa_);

  TextosMes textos;
  textoComentario_ = textos.Acrescenta(std::string("Conferido na se\xe7\xe3o ") + std::string(kTamanhoComentario - 20, 'c'));
  textoMotivo_ = textos.Acrescenta("Falta de material");
  textoDetalhe_ = textos.Acrescenta(std::string(kTamanhoDetalhe, 'd'));
  textoRetorno_ = textos.Acrescenta("Retorno parcial");
  textoMotivoRetorno_ = textos.Acrescenta("Encerrado no retorno");
  textos.Grava(empresa_, "PPIE");
  TextosMes descricoes;
  const uint32_t textoInsumo = descricoes.Acrescenta("Tecido enviado");
  descricoes.Grava(empresa_, "PPID");

  {
    ArquivoMes op(empresa_, "PPOP", 256);
    op.Poe<int32_t>(kOPServico, 44, 99).Poe<uint16_t>(kOPServico, 116, 2);
    op.Poe<int32_t>(kOP, 44, tipoOP_).Poe<uint16_t>(kOP, 116, 1);
  }
  {
    // The report indexes: PPRA 1..5 for the product order's P0 (the internal and the complete
    // report, among a removed one, one of the other order and one of P1), 6 for its P1, 7 for
    // the service order's process.
    ArquivoMes pr(empresa_, "PPPR", 128);
    pr.Poe<uint32_t>(2, 68, 1).Poe<uint16_t>(2, 82, 5);
    pr.Poe<uint32_t>(3, 68, 6).Poe<uint16_t>(3, 82, 1);
    pr.Poe<uint32_t>(1, 68, 7).Poe<uint16_t>(1, 82, 1);
    ArquivoMes ra(empresa_, "PPRA", 4);
    const uint32_t indice[] = {kInterno, kRemovido, kDoServico, kPendente, kCompleto, kPendente, kDoServico};
    for (uint32_t i = 0; i < 7; ++i) ra.Poe<uint32_t>(i + 1, 0, indice[i]);
  }
  {
    ArquivoMes ap(empresa_, "PPAP", 200);
    ap.Poe<uint32_t>(kRemovido, 80, kOP).Poe<int32_t>(kRemovido, 88, P0());
    ap.Poe<uint32_t>(kDoServico, 80, kOPServico).Poe<int32_t>(kDoServico, 88, P0());
    ap.Poe<uint16_t>(kDoServico, 144, Maio(19)).Poe<uint16_t>(kDoServico, 148, Maio(20));
    ap.Poe<uint16_t>(kDoServico, 152, Maio(20)).Poe<uint8_t>(kDoServico, 181, 1);
    ap.Poe<uint32_t>(kPendente, 80, kOP).Poe<int32_t>(kPendente, 88, P1());
    ap.Poe<uint16_t>(kPendente, 144, Maio(2)).Poe<uint16_t>(kPendente, 148, Maio(3)).Poe<uint16_t>(kPendente, 152, Maio(5));
    ap.Poe<uint32_t>(kInterno, 80, kOP).Poe<int32_t>(kInterno, 88, P0()).Poe<int32_t>(kInterno, 100, 31);
    ap.Poe<uint16_t>(kInterno, 144, Maio(11)).Poe<uint16_t>(kInterno, 148, Maio(12)).Poe<uint16_t>(kInterno, 152, Maio(12));

    const uint32_t c = kCompleto;
    ap.Poe<int64_t>(c, 0, 125000).Poe<int64_t>(c, 8, 130000).Poe<int64_t>(c, 16, 5000).Poe<int64_t>(c, 24, 10000);
    ap.Poe<int64_t>(c, 32, 2500).Poe<int64_t>(c, 40, 115000).Poe<int64_t>(c, 48, 312345678);
    ap.Poe<uint32_t>(c, 56, textoComentario_).Poe<uint32_t>(c, 60, 41).Poe<uint32_t>(c, 64, 42);
    ap.Poe<uint32_t>(c, 76, textoMotivo_).Poe<uint32_t>(c, 80, kOP).Poe<int32_t>(c, 88, P0());
    ap.Poe<int32_t>(c, 100, 31).Poe<int32_t>(c, 104, 32).Poe<int32_t>(c, 108, 33);
    ap.Poe<uint32_t>(c, 116, 1).Poe<int32_t>(c, 132, 51).Poe<uint32_t>(c, 136, Chave(7)).Poe<uint32_t>(c, 140, Chave(8));
    ap.Poe<uint16_t>(c, 144, Maio(8)).Poe<uint16_t>(c, 146, 480).Poe<uint16_t>(c, 148, Maio(9)).Poe<uint16_t>(c, 150, 1020);
    ap.Poe<uint16_t>(c, 152, Maio(10)).Poe<uint16_t>(c, 154, 600).Poe<uint16_t>(c, 156, 7).Poe<uint16_t>(c, 158, 2);
    ap.Poe<uint8_t>(c, 172, 1).Poe<uint8_t>(c, 173, 'O').Poe<uint8_t>(c, 174, 3).Poe<uint8_t>(c, 175, 0);
    ap.Poe<uint8_t>(c, 178, 1).Poe<uint8_t>(c, 179, 1).Poe<uint8_t>(c, 180, 1).Poe<uint8_t>(c, 182, 1);
    ap.Poe<uint8_t>(c, 184, 1).Poe<uint8_t>(c, 185, 1);
    // Imported keys stored: no read kind gives them.
    ap.Poe<uint32_t>(c, 194, 1).Poe<uint16_t>(c, 198, 1);
  }
  {
    ArquivoMes ar(empresa_, "PPAR", 64);
    ar.Poe<int64_t>(1, 0, 600000).Poe<int64_t>(1, 8, 15000).Poe<int64_t>(1, 16, 250000000).Poe<int64_t>(1, 24, 950000);
    ar.Poe<uint32_t>(1, 32, 61).Poe<int32_t>(1, 36, P0()).Poe<uint8_t>(1, 44, 'M').Poe<uint8_t>(1, 45, 1);
    ar.Poe<uint8_t>(1, 46, 1).Poe<uint8_t>(1, 47, 2);
    ar.Poe<uint32_t>(1, 58, 2).Poe<uint16_t>(1, 62, 1);  // its operation: PPAO 2
    ar.Poe<int64_t>(2, 0, 300000).Poe<int64_t>(2, 8, 5000).Poe<int64_t>(2, 16, 125000000).Poe<int64_t>(2, 24, 800000);
    ar.Poe<uint32_t>(2, 32, 62).Poe<int32_t>(2, 36, P0()).Poe<uint8_t>(2, 44, 'H').Poe<uint8_t>(2, 47, 1);
    ArquivoMes ao(empresa_, "PPAO", 48);
    ao.Poe<uint32_t>(1, 4, 1).Poe<uint32_t>(1, 8, 1).Poe<uint32_t>(1, 12, 1).Poe<uint32_t>(1, 16, 1);
    ao.Poe<uint16_t>(1, 20, Maio(8)).Poe<uint16_t>(1, 22, 480).Poe<uint16_t>(1, 24, Maio(9)).Poe<uint16_t>(1, 26, 1020);
    ao.PoeTexto(1, 28, "\x01\x01\x01\x01P");
    ao.Poe<uint32_t>(2, 0, static_cast<uint32_t>(operacao_)).Poe<uint32_t>(2, 4, 2).Poe<uint8_t>(2, 28, 1);
    ArquivoMes ac(empresa_, "PPAC", 72);
    ac.Poe<int64_t>(1, 0, 1000000).Poe<int64_t>(1, 8, 2500000).Poe<uint32_t>(1, 16, 71).Poe<uint16_t>(1, 20, 6);
    ac.PoeTexto(1, 22, "HORIMETRO INICIAL XY").PoeTexto(1, 42, "FINAL").PoeTexto(1, 62, "P\x01");
    ac.Poe<int64_t>(2, 0, 50000).Poe<int64_t>(2, 8, 90000);
    ArquivoMes aq(empresa_, "PPAQ", 40);
    aq.Poe<int64_t>(1, 0, 75000).Poe<uint32_t>(1, 8, 72).PoeTexto(1, 32, "S");
    ArquivoMes ai(empresa_, "PPAI", 72);
    ai.Poe<int64_t>(1, 0, 10000).Poe<int64_t>(1, 8, 20000).Poe<uint32_t>(1, 16, 73);
    ai.Poe<uint16_t>(1, 20, Maio(8)).Poe<uint16_t>(1, 22, Maio(9)).Poe<uint16_t>(1, 24, 490).Poe<uint16_t>(1, 26, 500);
    ai.PoeTexto(1, 69, "P");
    ArquivoMes ad(empresa_, "PPAD", 24);
    ad.Poe<uint32_t>(1, 0, textoDetalhe_);
  }
  {
    ArquivoMes me(empresa_, "PPME", 104);
    me.Poe<int64_t>(1, 0, 100000).Poe<int64_t>(1, 8, 20000).Poe<int64_t>(1, 16, 10000).Poe<int64_t>(1, 24, 115000);
    me.Poe<uint32_t>(1, 32, Chave(3)).Poe<uint32_t>(1, 36, 1).Poe<int32_t>(1, 40, 81).Poe<int32_t>(1, 44, 82);
    me.Poe<int32_t>(1, 48, 83).Poe<int32_t>(1, 52, 84).Poe<int32_t>(1, 56, 85).Poe<int32_t>(1, 60, 4);
    me.Poe<uint16_t>(1, 74, 1).Poe<uint16_t>(1, 76, Maio(10)).Poe<uint16_t>(1, 78, 600).PoeTexto(1, 86, "\x02\x01");
    me.Poe<int64_t>(2, 24, 10000);
    me.Poe<int64_t>(3, 24, 50000).Poe<int64_t>(4, 24, 60000).Poe<int64_t>(5, 24, 40000);
    me.Poe<int64_t>(6, 24, 30000).Poe<int64_t>(7, 24, 20000).Poe<int64_t>(8, 24, 25000);
    me.Poe<uint32_t>(9, 64, kProdutoFabricado).Poe<int64_t>(9, 24, 5000);  // the return's scrap entry
    ArquivoMes lt(empresa_, "PPLT", 62);
    lt.PoeTexto(1, 0, "LOTE-0524").Poe<uint16_t>(1, 56, Maio(1)).Poe<uint16_t>(1, 58, Dia(1, 5, 2025));
    lt.Poe<uint16_t>(1, 60, 365);
  }
  {
    ArquivoMes ri(empresa_, "PPRI", 90);
    ri.Poe<int64_t>(1, 0, 40000).Poe<int64_t>(1, 8, 5000).Poe<uint32_t>(1, 16, 91).Poe<uint32_t>(1, 20, 9);
    ri.Poe<uint32_t>(1, 24, 92).Poe<int32_t>(1, 28, 93).Poe<uint16_t>(1, 48, Maio(15)).Poe<uint16_t>(1, 50, 700);
    ri.Poe<uint16_t>(1, 52, Maio(16)).Poe<uint16_t>(1, 54, 710).Poe<uint16_t>(1, 56, 7);
    // Processors in transit, last-process reports and keys stored: not read.
    ri.Poe<uint16_t>(1, 60, 2).Poe<uint16_t>(1, 62, 1).Poe<uint16_t>(1, 64, 1).Poe<uint16_t>(1, 84, 1);
    ri.Poe<uint8_t>(1, 66, 1).Poe<uint8_t>(1, 67, 1).Poe<uint8_t>(1, 69, 1).Poe<uint32_t>(1, 76, textoRetorno_).Poe<uint32_t>(1, 86, textoMotivoRetorno_);
  }
  {
    ArquivoMes rm(empresa_, "PPRM", 60);
    rm.Poe<uint32_t>(1, 0, Chave(kCompleto)).Poe<uint32_t>(1, 4, Chave(kOP)).Poe<int32_t>(1, 12, 95);
    rm.Poe<uint32_t>(1, 16, 1).Poe<int32_t>(1, 20, 96).Poe<uint16_t>(1, 28, 1).Poe<uint16_t>(1, 30, Maio(10));
    rm.Poe<uint16_t>(1, 34, 1).Poe<uint8_t>(1, 36, 1);
    ArquivoMes ir(empresa_, "PPIR", 80);
    ir.Poe<int64_t>(1, 0, 40000).Poe<uint32_t>(1, 16, kProdutoInsumo).Poe<uint32_t>(1, 20, textoInsumo);
  }
}

// ---------------------------------------------------------------------------------------------------
// What the complete report gives back with every list (read kinds 0x6E or more).

void ConfereMovimentoEntrada(const _REG_ES_MOVIMENTOPS& m) {
  EXPECT_EQ(m.vValorTotalInsumos.int64, 100000);
  EXPECT_EQ(m.vValorTotalCustosDireto.int64, 20000);
  EXPECT_EQ(m.vValorTotalCustosIndireto.int64, 10000);
  EXPECT_EQ(m.vQuantidade.int64, 115000);
  EXPECT_EQ(m.lPosicao, 3);  // the number of its key in the stock
  EXPECT_EQ(m.lPonteiroLote, 81);
  EXPECT_EQ(m.lPonteiroVolume, 82);
  EXPECT_EQ(m.lPonteiroForLote, 83);
  EXPECT_EQ(m.lPonteiroForEPTETPE, 84);
  EXPECT_EQ(m.lPonteiroCliEPTETPE, 85);
  EXPECT_EQ(m.iPonteiroLocalArmazenagem, 4);
  EXPECT_EQ(m.regPosicaoProduto.lPonteiroProduto, 1u);
  EXPECT_EQ(m.regPosicaoProduto.iPonteiroItemGrade1, 1);
  EXPECT_EQ(m.regPosicaoProduto.iPonteiroItemGrade2, 2);
  EXPECT_EQ(m.regPosicaoProduto.iPonteiroItemGrade3, 0);
  EXPECT_EQ(m.iPonteiroFilial, 1);
  EXPECT_EQ(m.iDataMovimento, Maio(10));
  EXPECT_EQ(m.iHoraMovimento, 600);
  EXPECT_EQ(m.cTipoEstoqueArmazenagem, 2);
  EXPECT_EQ(m.cTipoProducao, 1);
  EXPECT_EQ(std::string(m.regLotePS.cNumeroLote, 9), "LOTE-0524");
  EXPECT_EQ(m.regLotePS.iDataFabricacao, Maio(1));
  EXPECT_EQ(m.regLotePS.iDataValidade, Dia(1, 5, 2025));
  EXPECT_EQ(m.regLotePS.iNumeroDias, 365);
  EXPECT_EQ(m.vValorTotal.int64, 0);  // not kept by the report
  EXPECT_EQ(m.cTipoMovimento, 0);
}

void ConfereRecursos(const _REG_VARMO_OP_APONTAMENTO& a, int32_t processo, int32_t recurso, uint32_t operacao) {
  ASSERT_EQ(a.usQtdRecursosNaoApontados, 1);
  ASSERT_NE(a.pregRecursosNaoApontados, nullptr);
  const _REG_PP_APONTAMENTO_RECURSOPS& n = a.pregRecursosNaoApontados[0];
  EXPECT_EQ(n.vCapacidade.int64, 600000);
  EXPECT_EQ(n.vSetup.int64, 15000);
  EXPECT_EQ(n.v8Custo.int64, 250000000);
  EXPECT_EQ(n.vPercEficiencia.int64, 950000);
  EXPECT_EQ(n.lPonteiroCentroCustos, 61u);
  EXPECT_EQ(n.lPonteiroProcesso, processo);
  EXPECT_EQ(n.lPonteiroRecurso, recurso);
  EXPECT_EQ(n.cTipo, 'M');
  EXPECT_EQ(n.cDesconsiderarTempos, 1);
  EXPECT_EQ(n.cCustoTempoPorUnidade, 1);
  EXPECT_EQ(n.cTipoCusto, 2);
  // Its operation carries a counter alone.
  ASSERT_EQ(n.usQuantidadeApontamentoOperacao, 1);
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& no = n.pregOperacoes[0];
  EXPECT_EQ(no.ulPonteiroOperacaoProducao, operacao);
  ASSERT_EQ(no.usQuantApontamentoContador, 1);
  EXPECT_EQ(no.pregContadores[0].vContadorInicial.int64, 50000);
  EXPECT_EQ(no.pregContadores[0].vContadorFinal.int64, 90000);
  EXPECT_EQ(no.usQuantApontamentoQuantidade, 0);
  EXPECT_EQ(no.pregQuantidades, nullptr);
  EXPECT_EQ(no.usQuantApontamentoIntervalo, 0);
  EXPECT_EQ(no.usQuantApontamentoDetalhe, 0);

  ASSERT_EQ(a.usQtdRecursos, 1);
  const _REG_PP_APONTAMENTO_RECURSOPS& r = a.pregRecursos[0];
  EXPECT_EQ(r.vCapacidade.int64, 300000);
  EXPECT_EQ(r.v8Custo.int64, 125000000);
  EXPECT_EQ(r.lPonteiroCentroCustos, 62u);
  EXPECT_EQ(r.lPonteiroRecurso, recurso);
  EXPECT_EQ(r.cTipo, 'H');
  EXPECT_EQ(r.cTipoCusto, 1);
  ASSERT_EQ(r.usQuantidadeApontamentoOperacao, 1);
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAOPS& o = r.pregOperacoes[0];
  EXPECT_EQ(o.ulPonteiroOperacaoProducao, operacao);
  EXPECT_EQ(o.usDataApontamentoInicial, Maio(8));
  EXPECT_EQ(o.usHoraApontamentoInicial, 480);
  EXPECT_EQ(o.usDataApontamentoFinal, Maio(9));
  EXPECT_EQ(o.usHoraApontamentoFinal, 1020);
  EXPECT_EQ(o.cApontaContador, 1);
  EXPECT_EQ(o.cApontaDetalhe, 1);
  EXPECT_EQ(o.cTipoOperacaoProducao, 'P');
  ASSERT_EQ(o.usQuantApontamentoContador, 1);
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAO_CONTADORPS& contador = o.pregContadores[0];
  EXPECT_EQ(contador.vContadorInicial.int64, 1000000);
  EXPECT_EQ(contador.vContadorFinal.int64, 2500000);
  EXPECT_EQ(contador.ulPonteiroUnidadeMedida, 71u);
  EXPECT_EQ(contador.usNumeroDigitos, 6);
  EXPECT_STREQ(contador.szNomeInicial, "HORIMETRO INICIAL XY");  // all 20 characters, terminated
  EXPECT_STREQ(contador.szNomeFinal, "FINAL");
  EXPECT_EQ(contador.cUnidadeProdutoServico, 'P');
  EXPECT_EQ(contador.cAtualizarContadorRecurso, 1);
  ASSERT_EQ(o.usQuantApontamentoQuantidade, 1);
  EXPECT_EQ(o.pregQuantidades[0].vQuantidade.int64, 75000);
  EXPECT_EQ(o.pregQuantidades[0].ulPonteiroUnidadeMedida, 72u);
  EXPECT_EQ(o.pregQuantidades[0].cUnidadeProdutoServico, 'S');
  ASSERT_EQ(o.usQuantApontamentoIntervalo, 1);
  const _REG_PP_APONTAMENTO_RECURSO_OPERACAO_INTERVALOPS& intervalo = o.pregIntervalos[0];
  EXPECT_EQ(intervalo.vValorInicial.int64, 10000);
  EXPECT_EQ(intervalo.vValorFinal.int64, 20000);
  EXPECT_EQ(intervalo.ulPonteiroUnidadeMedida, 73u);
  EXPECT_EQ(intervalo.usDataInicial, Maio(8));
  EXPECT_EQ(intervalo.usDataFinal, Maio(9));
  EXPECT_EQ(intervalo.usHoraInicial, 490);
  EXPECT_EQ(intervalo.usHoraFinal, 500);
  EXPECT_EQ(intervalo.cUnidadeProdutoServico, 'P');
  ASSERT_EQ(o.usQuantApontamentoDetalhe, 1);
  EXPECT_EQ(std::string(o.pregDetalhes[0].szDetalhe), std::string(1001, 'd'));
}

void ConfereRetorno(const _REG_VARMO_OP_APONTAMENTO& a, uint32_t textoMotivo) {
  ASSERT_EQ(a.usQtdRetornoIndustExt, 1);
  const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& r = a.pregRetornoIndustrializacao[0];
  EXPECT_EQ(r.vQuantidadeRetornada.int64, 40000);
  EXPECT_EQ(r.vQuantidadeRefugo.int64, 5000);
  EXPECT_EQ(r.lPonteiroRegistroEntrada, 91u);
  EXPECT_EQ(r.lPonteiroMovimentoRefugo, 9u);
  EXPECT_EQ(r.ulChaveRetornoNFPendente, 92u);
  EXPECT_EQ(r.lPonteiroMotivoRefugo, 93);
  EXPECT_EQ(r.ulPonteiroEncerramentoForcado, textoMotivo);
  EXPECT_EQ(r.usDataRetorno, Maio(15));
  EXPECT_EQ(r.usHoraRetorno, 700);
  EXPECT_EQ(r.usDataGravacao, Maio(16));
  EXPECT_EQ(r.usHoraGravacao, 710);
  EXPECT_EQ(r.usPonteiroUsuarioGravacao, 7);
  EXPECT_EQ(r.cPossuiRefugo, 1);
  EXPECT_EQ(r.cEncerramentoForcado, 1);
  EXPECT_EQ(r.cGeraTransitoIndustrializacao, 0);
  EXPECT_EQ(r.cApontamentoAutomatico, 1);
  EXPECT_STREQ(r.szComentario, "Retorno parcial");
  EXPECT_STREQ(r.szMotivoEncerramentoForcado, "Encerrado no retorno");
  EXPECT_EQ(r.usQtdIndustrializadores, 0);
  EXPECT_EQ(r.pregIndustrializadores, nullptr);
  EXPECT_EQ(r.usQtdApontUltProcesso, 0);
  EXPECT_EQ(r.usQtdChaveApontamentoImportado, 0);
  ASSERT_EQ(r.usQtdMvtoEstoque, 1);
  EXPECT_EQ(r.pregMovimentos[0].vQuantidade.int64, 40000);
  EXPECT_EQ(r.pregMovimentos[0].regPosicaoProduto.lPonteiroProduto, 2u);
  EXPECT_EQ(r.regMovimentoRefugo.vQuantidade.int64, 5000);
  EXPECT_EQ(r.regMovimentoRefugo.regPosicaoProduto.lPonteiroProduto, 1u);
}

}  // namespace

TEST_F(ApontamentoLeitura, TheCompleteReportComesBackWithEveryList) {
  _REG_VARMO_OP_APONTAMENTO a;
  ASSERT_EQ(op_.LeApontamento(Chave(kCompleto), &a, nullptr, 0x6E), S_OK);

  EXPECT_EQ(a.vQuantidadeApontada.int64, 125000);
  EXPECT_EQ(a.vQuantidadeBruta.int64, 130000);
  EXPECT_EQ(a.vQuantidadeTara.int64, 5000);
  EXPECT_EQ(a.vQuantidadeRefugo.int64, 10000);
  EXPECT_EQ(a.vQuantidadeReprocessada.int64, 2500);
  EXPECT_EQ(a.v8CustoTerceirizacao.int64, 312345678);
  EXPECT_EQ(a.lPonteiroOP, Chave(kOP));
  EXPECT_EQ(a.lPonteiroApontamento, Chave(kCompleto));
  EXPECT_EQ(a.lPonteiroPedidoNecessidade, 41u);
  EXPECT_EQ(a.lPonteiroNotaFiscalSaida, 42u);
  EXPECT_EQ(a.ulChaveOPReprocesso, Chave(7));
  EXPECT_EQ(a.ulChaveApontamentoOPOrigem, Chave(8));
  EXPECT_EQ(a.ulPonteiroEncerramentoForcado, textoMotivo_);
  EXPECT_EQ(a.lPonteiroOperacaoProducao, operacao_);
  EXPECT_EQ(a.lPonteiroProcesso, P0());
  EXPECT_EQ(a.lPonteiroSuplementoInfo1, 31);
  EXPECT_EQ(a.lPonteiroSuplementoInfo2, 32);
  EXPECT_EQ(a.lPonteiroSuplementoInfo3, 33);
  EXPECT_EQ(a.lPonteiroMotivoRefugo, 7);
  EXPECT_EQ(a.lPonteiroIndustrializador, 51);
  EXPECT_EQ(a.usDataApontamentoInicio, Maio(8));
  EXPECT_EQ(a.usHoraApontamentoInicio, 480);
  EXPECT_EQ(a.usDataApontamentoFim, Maio(9));
  EXPECT_EQ(a.usHoraApontamentoFim, 1020);
  EXPECT_EQ(a.usDataGravacao, Maio(10));
  EXPECT_EQ(a.usHoraGravacao, 600);
  EXPECT_EQ(a.usPonteiroUsuarioGravacao, 7);
  EXPECT_EQ(a.usIdxItemPedido, 2);
  EXPECT_EQ(a.cLiberacaoItemPedido, 1);
  EXPECT_EQ(a.cTipoOperacao, 'O');
  EXPECT_EQ(a.cTipoItem, 3);
  EXPECT_EQ(a.cTipoProducao, 0);
  EXPECT_EQ(a.cExcluido, 0);
  EXPECT_EQ(a.cPossuiRefugo, 1);
  EXPECT_EQ(a.cGerouReprocesso, 1);
  EXPECT_EQ(a.cEncerramentoForcado, 1);
  EXPECT_EQ(a.cUltimoProcesso, 1);
  EXPECT_EQ(a.cPossuiEntradaPendente, 0);
  EXPECT_EQ(a.cEncerramentoRemIndustrializacao, 1);
  EXPECT_EQ(a.cImportacaoComBaixasPendentes, 1);
  EXPECT_EQ(a.cProducaoExterna, 1);
  EXPECT_EQ(a.usQtdChaveApontamentoImportado, 0);
  EXPECT_EQ(a.plistaChaveApontamentoImportado, nullptr);
  // The comment is cut to what the field holds, the accents as stored.
  EXPECT_EQ(std::string(a.szComentario),
            (std::string("Conferido na se\xe7\xe3o ") + std::string(kTamanhoComentario - 20, 'c')).substr(0, 201));
  EXPECT_STREQ(a.szMotivoEncerramentoForcado, "Falta de material");

  ASSERT_EQ(a.usQtdMvtoEntrada, 1);
  ConfereMovimentoEntrada(a.pregMvtoEntrada[0]);
  ASSERT_EQ(a.usQtdMvtoEstoque, 2);
  EXPECT_EQ(a.pregMovimentos[0].vQuantidade.int64, 50000);
  EXPECT_EQ(a.pregMovimentos[0].regPosicaoProduto.lPonteiroProduto, 2u);
  EXPECT_EQ(a.pregMovimentos[1].vQuantidade.int64, 60000);
  EXPECT_EQ(a.pregMovimentos[1].regPosicaoProduto.lPonteiroProduto, 3u);
  EXPECT_EQ(a.regMovimentoRefugo.vQuantidade.int64, 10000);
  EXPECT_EQ(a.regMovimentoRefugo.regPosicaoProduto.iPonteiroItemGrade2, 2);
  ConfereRetorno(a, textoMotivoRetorno_);
  ConfereRecursos(a, P0(), recurso_, static_cast<uint32_t>(operacao_));

  const _REG_PP_REMESSA_INDUSTRIALIZACAOPS& remessa = a.regRemessaIndustrializacao;
  EXPECT_EQ(remessa.ulChaveRemessa, Chave(1));
  EXPECT_EQ(remessa.ulChaveApontamentoOP, Chave(kCompleto));
  EXPECT_EQ(remessa.lPonteiroFornecedor, 96);
  ASSERT_EQ(remessa.usQtdInsumos, 1);
  EXPECT_STREQ(remessa.pregRemessaInsumo[0].szDescricao, "Tecido enviado");
  LiberaRegistroApontamento(&a, 0);
}

TEST_F(ApontamentoLeitura, EachReadKindBitBringsItsListsAndNoOther) {
  struct Caso {
    uint16_t tipo;
    uint16_t retornos, movimentosRetorno, entradas, estoque, recursos, operacoes;
    bool remessa, refugo;
  };
  const Caso casos[] = {
      {0x0, 0, 0, 0, 0, 0, 0, false, false},   // texts and fields alone
      {0x2, 1, 0, 0, 0, 0, 0, false, false},   // returns without their movements
      {0x6, 1, 1, 1, 2, 0, 0, false, true},    // with movements from the disk
      {0x4, 0, 0, 1, 2, 0, 0, false, true},    // movements, no returns
      {0x8, 0, 0, 0, 0, 1, 0, false, false},   // resources without operations
      {0x40, 0, 0, 0, 0, 1, 1, false, false},  // resources with operations
      {0x20, 0, 0, 0, 0, 0, 0, true, false},   // the shipment alone
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.tipo);
    _REG_VARMO_OP_APONTAMENTO a;
    ASSERT_EQ(op_.LeApontamento(Chave(kCompleto), &a, nullptr, caso.tipo), S_OK);
    EXPECT_STREQ(a.szMotivoEncerramentoForcado, "Falta de material");
    EXPECT_EQ(a.vQuantidadeApontada.int64, 125000);
    EXPECT_EQ(a.usQtdRetornoIndustExt, caso.retornos);
    EXPECT_EQ(a.pregRetornoIndustrializacao != nullptr, caso.retornos > 0);
    if (caso.retornos) {
      EXPECT_EQ(a.pregRetornoIndustrializacao[0].usQtdMvtoEstoque, caso.movimentosRetorno);
      EXPECT_EQ(a.pregRetornoIndustrializacao[0].pregMovimentos != nullptr, caso.movimentosRetorno > 0);
      EXPECT_EQ(a.pregRetornoIndustrializacao[0].regMovimentoRefugo.vQuantidade.int64, caso.refugo ? 5000 : 0);
    }
    EXPECT_EQ(a.usQtdMvtoEntrada, caso.entradas);
    EXPECT_EQ(a.pregMvtoEntrada != nullptr, caso.entradas > 0);
    EXPECT_EQ(a.usQtdMvtoEstoque, caso.estoque);
    EXPECT_EQ(a.pregMovimentos != nullptr, caso.estoque > 0);
    EXPECT_EQ(a.regMovimentoRefugo.vQuantidade.int64, caso.refugo ? 10000 : 0);
    EXPECT_EQ(a.usQtdRecursos, caso.recursos);
    EXPECT_EQ(a.usQtdRecursosNaoApontados, caso.recursos);
    if (caso.recursos) {
      EXPECT_EQ(a.pregRecursos[0].usQuantidadeApontamentoOperacao, caso.operacoes);
      EXPECT_EQ(a.pregRecursos[0].pregOperacoes != nullptr, caso.operacoes > 0);
      EXPECT_EQ(a.pregRecursosNaoApontados[0].usQuantidadeApontamentoOperacao, caso.operacoes);
    }
    EXPECT_EQ(a.regRemessaIndustrializacao.ulChaveRemessa, caso.remessa ? Chave(1) : 0u);
    LiberaRegistroApontamento(&a, 0);
  }
}

TEST_F(ApontamentoLeitura, APendingEntryIsReadOnlyUnderBit15) {
  struct Caso {
    uint16_t tipo;
    uint16_t entradas;
  };
  for (const Caso caso : {Caso{0x4, 0}, Caso{0x10, 0}, Caso{0x8000, 1}, Caso{0x8004, 1}}) {
    SCOPED_TRACE(caso.tipo);
    _REG_VARMO_OP_APONTAMENTO a;
    ASSERT_EQ(op_.LeApontamento(Chave(kPendente), &a, nullptr, caso.tipo), S_OK);
    EXPECT_EQ(a.cPossuiEntradaPendente, 1);
    ASSERT_EQ(a.usQtdMvtoEntrada, caso.entradas);
    if (caso.entradas) {
      EXPECT_EQ(a.pregMvtoEntrada[0].vQuantidade.int64, 30000);
    }
    LiberaRegistroApontamento(&a, 0);
  }
}

TEST_F(ApontamentoLeitura, Bit4ReadsTheMovementsFromTheStockAndTheUnpostedOnesFromTheDisk) {
  // A consumption posted to the inventory stand-in, whose key the report's first stock movement
  // keeps; the second was never posted (key 0).
  HRESULT hr = E_FAIL;
  IQVES_Movimento* estoque = op_.GetIMovimento(&hr);
  ASSERT_NE(estoque, nullptr) << std::hex << hr;
  _REG_ES_MOVIMENTOPS movimento{};
  movimento.cTipoMovimento = 12;
  movimento.regPosicaoProduto.lPonteiroProduto = kProdutoInsumo;
  movimento.iPonteiroFilial = 1;
  movimento.iDataMovimento = Maio(10);
  movimento.vQuantidade = Quantidade(99);
  std::memcpy(movimento.cDocumento, "DOC-ES", 6);
  uint32_t numero = 0;
  BSTR texto = SysAllocString(u"Baixa");
  ASSERT_EQ(estoque->GravaMovimento(0, movimento, texto, &numero), S_OK);
  SysFreeString(texto);
  { ArquivoMes(empresa_, "PPME", 104).Poe<uint32_t>(7, 32, Chave(numero)); }

  _REG_VARMO_OP_APONTAMENTO a;
  ASSERT_EQ(op_.LeApontamento(Chave(kInterno), &a, nullptr, 0x10), S_OK);
  ASSERT_EQ(a.usQtdMvtoEstoque, 2);
  EXPECT_EQ(a.pregMovimentos[0].vQuantidade.int64, 990000);
  EXPECT_EQ(std::string(a.pregMovimentos[0].cDocumento, 6), "DOC-ES");
  EXPECT_EQ(a.pregMovimentos[0].cTipoMovimento, 12);
  EXPECT_EQ(a.pregMovimentos[1].vQuantidade.int64, 25000);
  EXPECT_EQ(a.pregMovimentos[1].cTipoMovimento, 0);
  LiberaRegistroApontamento(&a, 0);
}

TEST_F(ApontamentoLeitura, WithoutTheStockServerBit4AnswersItsCreation) {
  estoque_.Movimento.FalhaInicializacao(E_INVALIDARG);
  { ArquivoMes(empresa_, "PPME", 104).Poe<uint32_t>(7, 32, Chave(1)); }
  _REG_VARMO_OP_APONTAMENTO a;
  EXPECT_EQ(op_.LeApontamento(Chave(kInterno), &a, nullptr, 0x10), E_INVALIDARG);
  LiberaRegistroApontamento(&a, 0);
  // From the disk the stock is not asked.
  ASSERT_EQ(op_.LeApontamento(Chave(kInterno), &a, nullptr, 0x4), S_OK);
  EXPECT_EQ(a.usQtdMvtoEstoque, 2);
  LiberaRegistroApontamento(&a, 0);
  estoque_.Movimento.FalhaInicializacao(S_OK);
}

TEST_F(ApontamentoLeitura, ARemovedReportIsReadByItsKey) {
  _REG_VARMO_OP_APONTAMENTO a;
  ASSERT_EQ(op_.LeApontamento(Chave(kRemovido), &a, nullptr, 0x7F), S_OK);
  EXPECT_EQ(a.cExcluido, 1);
  EXPECT_EQ(a.lPonteiroApontamento, Chave(kRemovido));
  EXPECT_EQ(a.lPonteiroOP, Chave(kOP));
  LiberaRegistroApontamento(&a, 0);
}

TEST_F(ApontamentoLeitura, KeysThatNameNoReportAreRefusedAndCreateNothing) {
  _REG_VARMO_OP_APONTAMENTO a;
  EXPECT_EQ(op_.LeApontamento(0, &a, nullptr, 0x7F), Erro(1591));
  EXPECT_EQ(op_.LeApontamento(kMes, &a, nullptr, 0x7F), Erro(1591));  // record 0, the header
  EXPECT_EQ(op_.LeApontamento(Chave(6), &a, nullptr, 0x7F), Erro(16021));
  EXPECT_EQ(op_.LeApontamento(Chave(1, kMesAnterior), &a, nullptr, 0x7F), Erro(16021));
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPAP", kMesAnterior)));
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPRI", kMesAnterior)));
  EXPECT_EQ(op_.LeApontamento(Chave(kCompleto), nullptr, nullptr, 0), E_POINTER);

  CPPServidorOP novo;
  EXPECT_EQ(novo.LeApontamento(Chave(kCompleto), &a, nullptr, 0), Erro(1585));
  const uint32_t chave = Chave(kCompleto);
  EXPECT_EQ(novo.LePonteirosApontamento(1, &chave, &a, nullptr, 0), Erro(1585));
  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  EXPECT_EQ(novo.LeApontamentosProcesso(Chave(kOP), P0(), &lista), Erro(1585));
}

TEST_F(ApontamentoLeitura, ADamagedRunIsAnErrorAndLeavesWhatWasReadForTheCaller) {
  // The internal report's stock run starts at the header; the complete report's return run runs
  // past the end of PPRI.
  { ArquivoMes(empresa_, "PPAP", 200).Poe<uint32_t>(kInterno, 92, 0).Poe<uint16_t>(kCompleto, 164, 3); }
  _REG_VARMO_OP_APONTAMENTO a;
  EXPECT_EQ(op_.LeApontamento(Chave(kInterno), &a, nullptr, 0x4), Erro(16021));
  LiberaRegistroApontamento(&a, 0);
  EXPECT_EQ(op_.LeApontamento(Chave(kCompleto), &a, nullptr, 0x6), Erro(16021));
  EXPECT_EQ(a.usQtdRetornoIndustExt, 3);  // the array the caller frees: the first return, then zeros
  ASSERT_NE(a.pregRetornoIndustrializacao, nullptr);
  EXPECT_EQ(a.pregRetornoIndustrializacao[0].usQtdMvtoEstoque, 1);
  EXPECT_EQ(a.pregRetornoIndustrializacao[1].vQuantidadeRetornada.int64, 0);
  LiberaRegistroApontamento(&a, 0);
}

TEST_F(ApontamentoLeitura, LePonteirosApontamentoFillsInKeyOrderUpToTheFirstFailure) {
  const uint32_t chaves[] = {Chave(kInterno), Chave(kCompleto), Chave(9), Chave(kPendente)};
  _REG_VARMO_OP_APONTAMENTO apontamentos[4];
  std::memset(static_cast<void*>(apontamentos), 0, sizeof apontamentos);
  EXPECT_EQ(op_.LePonteirosApontamento(4, chaves, apontamentos, nullptr, 0x8), Erro(16021));
  EXPECT_EQ(apontamentos[0].lPonteiroApontamento, Chave(kInterno));
  EXPECT_EQ(apontamentos[1].lPonteiroApontamento, Chave(kCompleto));
  EXPECT_EQ(apontamentos[1].usQtdRecursos, 1);
  EXPECT_EQ(apontamentos[3].lPonteiroApontamento, 0u);
  for (auto& apontamento : apontamentos) LiberaRegistroApontamento(&apontamento, 0);

  ASSERT_EQ(op_.LePonteirosApontamento(2, chaves, apontamentos, nullptr, 0x6E), S_OK);
  EXPECT_EQ(apontamentos[0].usQtdMvtoEstoque, 2);
  ConfereRetorno(apontamentos[1], textoMotivoRetorno_);
  for (auto& apontamento : apontamentos) LiberaRegistroApontamento(&apontamento, 0);
  EXPECT_EQ(op_.LePonteirosApontamento(0, nullptr, nullptr, nullptr, 0), S_OK);
}

TEST_F(ApontamentoLeitura, OneSetServesKeysOfSeveralMonths) {
  GravaAbril();
  const uint32_t chaves[] = {Chave(kInterno), Chave(1, kMesAnterior), Chave(kCompleto)};
  _REG_VARMO_OP_APONTAMENTO apontamentos[3];
  ASSERT_EQ(op_.LePonteirosApontamento(3, chaves, apontamentos, nullptr, 0x4), S_OK);
  EXPECT_EQ(apontamentos[0].lPonteiroOP, Chave(kOP));
  EXPECT_EQ(apontamentos[1].lPonteiroOP, Chave(1, kMesAnterior));
  EXPECT_EQ(apontamentos[1].usQtdMvtoEstoque, 2);
  EXPECT_EQ(apontamentos[2].usQtdMvtoEntrada, 1);
  for (auto& apontamento : apontamentos) LiberaRegistroApontamento(&apontamento, 0);
}

TEST_F(ApontamentoLeitura, AReportWithoutItsOrderEndsTheScan) {
  ArquivoMes(empresa_, "PPAP", 200).Poe<uint32_t>(kPendente, 80, 0);
  CPPArquivosOP arquivos;
  ASSERT_EQ(arquivos.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  arquivos.SetArquivos(CPPArquivosOP::kArqOP | CPPArquivosOP::kArqApontamento);
  ASSERT_EQ(arquivos.SetModo(kMes, 'L'), S_OK);
  std::vector<uint32_t> chaves;
  EXPECT_EQ(op_.PercorreApontamentosMes(arquivos,
                                        [&](uint32_t ulChave, const PPDiscoApontamento&, const PPDiscoOP&) {
                                          chaves.push_back(ulChave);
                                          return S_OK;
                                        }),
            Erro(16021));
  EXPECT_EQ(Registros(chaves), (std::vector<uint32_t>{kDoServico, kCompleto}));
}

TEST_F(ApontamentoLeitura, TheReportsOfAProcessSkipThoseOfOtherOrdersProcessesAndRemoved) {
  // A stored filter that would reject the internal report: the process's reports do not see it,
  // and it holds again afterwards.
  _REG_VARMO_FILTRO_APONTAMENTOPS filtro{};
  filtro.lPonteiroSuplemento2 = 32;
  ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);

  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  ASSERT_EQ(op_.LeApontamentosProcesso(Chave(kOP), P0(), &lista), S_OK);
  ASSERT_EQ(lista.lQuantidade, 2);
  EXPECT_EQ(lista.pregApontamentos[0].lPonteiroApontamento, Chave(kInterno));
  EXPECT_EQ(lista.pregApontamentos[1].lPonteiroApontamento, Chave(kCompleto));
  // Read kind 0xFFFF: every list, the movements from the disk.
  const _REG_VARMO_OP_APONTAMENTO& completo = lista.pregApontamentos[1];
  ASSERT_EQ(completo.usQtdMvtoEntrada, 1);
  ConfereMovimentoEntrada(completo.pregMvtoEntrada[0]);
  ConfereRetorno(completo, textoMotivoRetorno_);
  ConfereRecursos(completo, P0(), recurso_, static_cast<uint32_t>(operacao_));
  EXPECT_EQ(completo.regRemessaIndustrializacao.usQtdInsumos, 1);
  for (int32_t i = 0; i < lista.lQuantidade; ++i) LiberaRegistroApontamento(&lista.pregApontamentos[i], 0);
  CoTaskMemFree(lista.pregApontamentos);

  EXPECT_EQ(Registros(Busca()), (std::vector<uint32_t>{kCompleto}));
}

TEST_F(ApontamentoLeitura, TheOutsourcedVariantListsOnlyOutsourcedReports) {
  struct Caso {
    bool bTerceirizado;
    uint32_t ulChaveOP;
    std::function<int32_t()> processo;
    std::vector<uint32_t> esperados;
  };
  const Caso casos[] = {
      {false, Chave(kOP), [&] { return P0(); }, {kInterno, kCompleto}},
      {true, Chave(kOP), [&] { return P0(); }, {kCompleto}},
      {false, Chave(kOP), [&] { return P1(); }, {kPendente}},
      {true, Chave(kOP), [&] { return P1(); }, {}},
      {false, Chave(kOPServico), [&] { return P0(); }, {kDoServico}},
      {false, Chave(kOP), [&] { return processos_[2]; }, {}},  // not a process of the order
  };
  for (const Caso& caso : casos) {
    _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
    const HRESULT hr = caso.bTerceirizado
                           ? op_.LeApontamentosProcessoTerceirizado(caso.ulChaveOP, caso.processo(), &lista)
                           : op_.LeApontamentosProcesso(caso.ulChaveOP, caso.processo(), &lista);
    ASSERT_EQ(hr, S_OK);
    std::vector<uint32_t> chaves;
    for (int32_t i = 0; i < lista.lQuantidade; ++i) {
      chaves.push_back(lista.pregApontamentos[i].lPonteiroApontamento);
      LiberaRegistroApontamento(&lista.pregApontamentos[i], 0);
    }
    CoTaskMemFree(lista.pregApontamentos);
    EXPECT_EQ(Registros(chaves), caso.esperados) << caso.bTerceirizado << " " << caso.processo();
  }
  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  EXPECT_EQ(op_.LeApontamentosProcesso(Chave(1, kMesAnterior), P0(), &lista), Erro(1616));
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPOP", kMesAnterior)));
}

TEST_F(ApontamentoLeitura, TheFilterTestsEachFieldInTurn) {
  using F = _REG_VARMO_FILTRO_APONTAMENTOPS;
  struct Caso {
    const char* nome;
    std::function<void(F&)> muda;
    std::vector<uint32_t> esperados;
  };
  const std::vector<uint32_t> todos = {kDoServico, kCompleto, kPendente, kInterno};  // never the removed one
  const Caso casos[] = {
      {"nothing", [](F&) {}, todos},
      {"report key", [](F& f) { f.ulChaveApontamento = Chave(kPendente); }, {kPendente}},
      {"order key", [](F& f) { f.lChaveOP = Chave(kOPServico); }, {kDoServico}},
      {"first order", [](F& f) { f.ulChaveOPInicial = Chave(kOP); }, {kCompleto, kPendente, kInterno}},
      {"last order", [](F& f) { f.ulChaveOPFinal = Chave(kOPServico); }, {kDoServico}},
      // Keys compare by month first: a later record of an earlier month is below.
      {"first order of an earlier month", [](F& f) { f.ulChaveOPInicial = Chave(9, kMesAnterior); }, todos},
      {"last order of a later month", [](F& f) { f.ulChaveOPFinal = Chave(1, kMes + 1); }, todos},
      {"project", [](F& f) { f.lPonteiroProjeto = 22; }, {kDoServico}},
      {"products", [](F& f) { f.cFiltroProdutoServico = 1; }, {kCompleto, kPendente, kInterno}},
      {"services", [](F& f) { f.cFiltroProdutoServico = 2; }, {kDoServico}},
      {"products and services", [](F& f) { f.cFiltroProdutoServico = 3; }, todos},
      {"product",
       [](F& f) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 1, 2, 0};
         f.cTipoProdutoServico = 'P';
       },
       {kCompleto, kPendente, kInterno}},
      {"product of another grade item",
       [](F& f) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 0, 3, 0};
         f.cTipoProdutoServico = 'P';
       },
       {}},
      {"product as a service",
       [](F& f) {
         f.regPosicaoProdutoServico = {kProdutoFabricado, 0, 0, 0};
         f.cTipoProdutoServico = 'S';
       },
       {}},
      {"product without its kind", [](F& f) { f.regPosicaoProdutoServico = {kProdutoInsumo, 0, 0, 0}; }, todos},
      {"order type", [](F& f) { f.lPonteiroTipoOP = 99; }, {kDoServico}},
      {"process", [&](F& f) { f.lPonteiroProcesso = P1(); }, {kPendente}},
      {"flow", [](F& f) { f.lPonteiroFluxoProcesso = 12; }, {kDoServico}},
      {"supplement 1", [](F& f) { f.lPonteiroSuplemento1 = 31; }, {kCompleto, kInterno}},
      {"supplement 2", [](F& f) { f.lPonteiroSuplemento2 = 32; }, {kCompleto}},
      {"supplement 3", [](F& f) { f.lPonteiroSuplemento3 = 33; }, {kCompleto}},
      {"branch", [](F& f) { f.usPonteiroFilial = 2; }, {kDoServico}},
      {"recorded from", [](F& f) { f.usDataInicial = Maio(10); }, {kDoServico, kCompleto, kInterno}},
      {"recorded up to", [](F& f) { f.usDataFinal = Maio(10); }, {kCompleto, kPendente}},
      {"begun from", [](F& f) { f.usDataApontamentoInicio = Maio(11); }, {kDoServico, kInterno}},
      {"ended up to", [](F& f) { f.usDataApontamentoFim = Maio(9); }, {kCompleto, kPendente}},
      {"internal", [](F& f) { f.cProcessoInterno = 1; }, {kDoServico, kPendente, kInterno}},
      {"outsourced", [](F& f) { f.cProcessoExterno = 1; }, {kCompleto}},
      {"internal and outsourced",
       [](F& f) {
         f.cProcessoInterno = 1;
         f.cProcessoExterno = 1;
       },
       {}},
      // The service order's report has a pending entry, but not of report kind 4.
      {"pending entry", [](F& f) { f.cEntradaPendenteES = 1; }, {kPendente}},
      {"operation and scrap reason are not tested here",
       [](F& f) {
         f.lPonteiroOperacao = 999;
         f.lPonteiroMotivoRefugo = 999;
       },
       todos},
  };
  for (const Caso& caso : casos) {
    F filtro{};
    caso.muda(filtro);
    ASSERT_EQ(op_.SetFiltroApontamento(filtro), S_OK);
    EXPECT_EQ(Registros(Busca()), caso.esperados) << caso.nome;
  }
  ASSERT_EQ(op_.LimpaFiltroApontamento(), S_OK);
  EXPECT_EQ(Registros(Busca()), todos);
}

TEST_F(ApontamentoLeitura, ReportsOfABranchTheUserMayNotSeeNeverPass) {
  DefineAcessoTotal(true, {1});
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
  EXPECT_EQ(Registros(Busca()), (std::vector<uint32_t>{kCompleto, kPendente, kInterno}));
  _REG_VARMO_LISTA_OP_APONTAMENTOS lista{};
  ASSERT_EQ(op_.LeApontamentosProcesso(Chave(kOPServico), P0(), &lista), S_OK);
  EXPECT_EQ(lista.lQuantidade, 0);
  EXPECT_EQ(lista.pregApontamentos, nullptr);
}

TEST_F(ApontamentoLeitura, TheMonthWalkTakesTheOpenPeriodOrTheOrdersMonth) {
  GravaAbril();

  auto meses = [&](CPPArquivosOP* arquivos, uint32_t lChaveOP) {
    std::vector<uint16_t> visitados;
    EXPECT_EQ(op_.PercorreMesesApontamento(arquivos, CPPArquivosOP::kArqApontamento, lChaveOP,
                                           [&](CPPArquivosOP& conjunto, uint16_t usMesAno) {
                                             EXPECT_EQ(conjunto.GetPeriodo(), usMesAno);
                                             EXPECT_EQ(conjunto.GetModo(), 'L');
                                             visitados.push_back(usMesAno);
                                             return S_OK;
                                           }),
              S_OK);
    return visitados;
  };
  EXPECT_EQ(meses(nullptr, 0), (std::vector<uint16_t>{kMes}));
  EXPECT_EQ(meses(nullptr, Chave(1, kMesAnterior)), (std::vector<uint16_t>{kMesAnterior}));
  EXPECT_EQ(meses(nullptr, Chave(1, kMes + 1)), std::vector<uint16_t>{});
  EXPECT_FALSE(empresa_.Existe(MesOP::Nome("PPAP", kMes + 1)));
  CPPArquivosOP arquivos;
  ASSERT_EQ(arquivos.Inicializa(Instalacao::kEmpresa, 0, 0), S_OK);
  arquivos.SetArquivos(CPPArquivosOP::kArqApontamento);
  EXPECT_EQ(meses(&arquivos, Chave(1, kMesAnterior)), (std::vector<uint16_t>{kMesAnterior}));
  EXPECT_EQ(Registros(Busca(Chave(1, kMesAnterior))), (std::vector<uint32_t>{1}));

  // A visitor's answer ends the walk with itself.
  EXPECT_EQ(op_.PercorreMesesApontamento(nullptr, CPPArquivosOP::kArqApontamento, 0,
                                         [](CPPArquivosOP&, uint16_t) -> HRESULT { return E_UNEXPECTED; }),
            E_UNEXPECTED);
}
