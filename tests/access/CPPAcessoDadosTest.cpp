// The readers against the family's stand-in servers, seeded in a temporary installation whose
// company TESTE has a directory for each module: each reader's data class holds the seeded record,
// a failing server's HRESULT comes back unchanged with the object cleared (or left, for the readers
// that do not clear), a reader without its server answers the hub's HRESULT, and every block that a
// server allocated goes back to the task allocator. Where a stand-in cannot give the answer that a
// case needs (success without a record, a pointer 0 with success, a count without its array) a
// small fake server is handed to the hub through its setter. The master settings come from a fake
// too, so that its reads can be counted.
#include "access/CPPAcessoDados.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/guid.h"
#include "platform/com/taskmem.h"
#include "platform/family/ServidoresFamilia.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/RequisicaoInternaDF.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/family/vendas/PedidoFT.h"
#include "platform/win32/clock.h"
#include "platform/win32/registry.h"
#include "tests/access/MestreFalso.h"
#include "tests/support/Instalacao.h"

namespace {

constexpr HRESULT kNegado = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
constexpr int32_t kRequisicaoEmUso = static_cast<int32_t>(0x80040634);
constexpr uint16_t kTabela1 = 1;
constexpr uint16_t kTabela2 = 2;
constexpr uint16_t kGrade = 5;
constexpr uint16_t kFilial = 1;
constexpr uint16_t kUsuario = 7;
constexpr uint16_t kMesHoje = 2118;  // June 2024, the pinned date's month

CY Reais(int64_t centavos) {
  CY valor;
  valor.int64 = centavos * 100;
  return valor;
}

template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  std::memset(campo, 0, N);
  std::strncpy(campo, texto, N - 1);
}

template <class Registro>
Registro Zerado() {
  Registro registro;
  std::memset(static_cast<void*>(&registro), 0, sizeof registro);
  return registro;
}

// A number as the table compares it: the empty text for 0, as a cleared object shows it.
std::string Num(int64_t valor) { return valor == 0 ? std::string() : std::to_string(valor); }


// A grid server that finds every code at pointer 0 with success, its record filled all the same.
class GradesPonteiroZero : public IQVDF_GradesProduto {
 public:
  HRESULT QueryInterface(REFIID, void** objeto) override {
    *objeto = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT Inicializa(BSTR, uint16_t, int32_t) override { return S_OK; }
  HRESULT ExisteItemGrade(uint16_t, BSTR, int32_t* ponteiro, _REG_ITENS_GRADE_PRODUTOPS* item) override {
    *ponteiro = 0;
    item->iPosicao = 9;
    Texto(item->szCodigoItemGrade, "ZZ");
    return S_FALSE;
  }
  HRESULT LeItemGrade(uint16_t, uint16_t, _REG_ITENS_GRADE_PRODUTOPS*) override { return E_NOTIMPL; }
};

// A category server that answers a chosen count and array with success.
class CategoriasFalsas : public IQVDF_CTG {
 public:
  HRESULT QueryInterface(REFIID, void** objeto) override {
    *objeto = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT Inicializa(_REG_DF_INICIALIZA_CTGPS) override { return S_OK; }
  HRESULT BuscaPonteiros(BSTR, BSTR, int32_t, int32_t*, int32_t**) override { return E_NOTIMPL; }
  HRESULT LeRegistros(int32_t, int32_t*, int32_t* quantidade, _REG_CATEGORIAS_PS** categorias) override {
    *quantidade = quantidadeResposta;
    *categorias = nullptr;
    return S_OK;
  }
  int32_t quantidadeResposta = 0;
};

// A sales-order server that answers success without a record.
class PedidoSemRegistro : public IQVFT_Pedido {
 public:
  HRESULT QueryInterface(REFIID, void** objeto) override {
    *objeto = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT Inicializa(_REG_FT_INICIALIZA_PEDIDOPS) override { return S_OK; }
  HRESULT LePedido(uint32_t, int32_t, tagREG_PEDIDOPS** pedido) override {
    *pedido = nullptr;
    return S_OK;
  }
  HRESULT AtualizaQuantidadesProgramadas(uint32_t, const tagREG_DIFERENCA_QTD_PEDIDOPS*) override {
    return E_NOTIMPL;
  }
  HRESULT LiberaItem(uint32_t, const tagREG_LIBERA_ITEM_PEDIDOPS*) override { return E_NOTIMPL; }
  HRESULT BuscaPonteiros(tagREG_FILTRO_PEDIDOPS, tagREG_PERIODO_PEDIDOPS, _REG_VARMO_PONTEIROS_ULONGPS*) override {
    return E_NOTIMPL;
  }
};

// One reader of the table: it reads into its own object, which keeps what the last call left, and
// marks that object by one of its seeded values.
struct Caso {
  const char* leitor;
  std::function<ClasseFamilia&(ServidoresFamilia&)> classe;
  const char* metodo;  // the stand-in's method that the reader calls, for the injected failure
  bool naoLimpa;       // "not cleared": a failure leaves the object as it was
  bool bruto;          // a raw record: left untouched without an interface
  std::function<int32_t(CPPAcessoDados&)> le;
  std::function<std::string()> marca;
  std::string esperado;
};

template <class Dados, class Le, class Marca>
Caso Leitor(const char* leitor, std::function<ClasseFamilia&(ServidoresFamilia&)> classe, const char* metodo,
            bool naoLimpa, bool bruto, Le le, Marca marca, std::string esperado) {
  auto objeto = std::make_shared<Dados>();
  if constexpr (std::is_trivially_copyable_v<Dados>) std::memset(static_cast<void*>(objeto.get()), 0, sizeof(Dados));
  return {leitor,
          std::move(classe),
          metodo,
          naoLimpa,
          bruto,
          [objeto, le](CPPAcessoDados& acesso) { return le(acesso, *objeto); },
          [objeto, marca] { return marca(*objeto); },
          std::move(esperado)};
}

#define CLASSE(modulo, Classe) [](ServidoresFamilia& f) -> ClasseFamilia& { return f.modulo.Classe; }

class LeitoresFamilia : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    relogio_.SetLocalTime({2024, 6, 0, 15, 10, 30, 0, 0});
    for (const char* modulo : {"ES", "CN", "FT", "CM"}) {
      const std::string relativo = std::string("empresas/TESTE/") + modulo + "/";
      instalacao_.dir().Write(relativo + ".keep", "");
      instalacao_.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
                             instalacao_.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
    }
    Semeia();
    ASSERT_EQ(familia_.Registra(), S_OK);
    acesso_.Inicializa(Instalacao::kEmpresa, kUsuario, 1234);
    acesso_.SetIMestrePP(&mestre_);
    PostaMovimento();
  }
  void TearDown() override {
    acesso_.Finaliza();
    CoUninitialize();
  }

  void Semeia() {
    const std::string e = Instalacao::kEmpresa;
    ASSERT_EQ(ServidorFiliais::GravaEmpresa(e, "Industria de Teste Ltda"), S_OK);
    auto filial = Zerado<__MIDL___MIDL_itf_Brisel_0000_0003>();
    filial.iCodigo = 1;
    Texto(filial.szNomeFantasia, "Matriz");
    Texto(filial.szCodigo, "F01");
    ASSERT_EQ(ServidorFiliais::GravaFiliais(e, {filial}), S_OK);

    UsuarioDF usuario;
    std::memset(&usuario, 0, sizeof usuario);
    usuario.lChave = kUsuario;
    Texto(usuario.regUsuario.szNome, "Maria");
    ASSERT_EQ(GravaUsuariosDF(e, {usuario}), S_OK);

    auto requerente = Zerado<tagREG_REQUERENTEPS>();
    requerente.lPosicao = 5;
    Texto(requerente.szNome, "Joana");
    ASSERT_EQ(GravaRequerentesDF(e, {requerente}, {{kFilial, kUsuario, 5}}), S_OK);

    auto contabil = Zerado<_RegContaPS>();
    contabil.lIndCon = 100;
    Texto(contabil.szNome, "Caixa");
    ASSERT_EQ(GravaContasDF(e, 'C', {contabil}), S_OK);
    auto gerencial = Zerado<_RegContaPS>();
    gerencial.lIndCon = 200;
    Texto(gerencial.szNome, "Custos");
    Texto(gerencial.szCodigoUsado, "CG1");
    Texto(gerencial.szClassificacao, "3.1");
    ASSERT_EQ(GravaContasDF(e, 'G', {gerencial}), S_OK);

    auto municipio = Zerado<_REG_MUNICIPIO_PS>();
    Texto(municipio.szNome, "Curitiba");
    ASSERT_EQ(GravaMunicipiosDF(e, {municipio}), S_OK);
    auto categoria = Zerado<_REG_CATEGORIAS_PS>();
    Texto(categoria.szCodigo, "COR");
    ASSERT_EQ(GravaCategoriasDF(e, {categoria}), S_OK);
    auto mensagem = Zerado<_REG_MENSAGEMPS>();
    std::memcpy(mensagem.cReservado0, "Bom dia", 7);
    ASSERT_EQ(GravaMensagensDF(e, {mensagem}), S_OK);
    NotaFiscalDF nota;
    std::memset(&nota, 0, sizeof nota);
    nota.ulChave = 77;
    nota.regNota.lNumeroNotaFiscal = 4321;
    ASSERT_EQ(GravaNotasFiscaisDF(e, {nota}), S_OK);
    EntradaCM entrada;
    std::memset(&entrada, 0, sizeof entrada);
    entrada.ulChave = 88;
    entrada.regEntrada.lPonteiroFornecedor = 654;
    ASSERT_EQ(ServidorCompras::GravaEntradas(e, {entrada}), S_OK);

    SemeiaProdutos();
    SemeiaRequisicoes();
    SemeiaPedido();
    SemeiaEstoque();
  }

  void SemeiaProdutos() {
    CadastroProdutosDF c;
    // Product 10 on grid 5 (stock unit 1), product 20 without a grid (unit 2); service 1 (unit 1).
    auto produto = Zerado<_REG_PRODUTOPS>();
    produto.lPonteiroProduto = 10;
    Texto(produto.szCodigo, "A1");
    Texto(produto.szNome, "Camiseta");
    Texto(produto.szReferencia, "REF10");
    produto.iPonteiroUnidadeMedidaEstoque = 1;
    produto.iPonteiroGrade1 = kGrade;
    produto.cQuantidadeCasasDecimais = 2;
    produto.cQuantidadeCasasDecimaisEstoque = 3;
    produto.iPrazoValidade = 30;
    produto.cTipo = 'P';
    c.produtos.push_back(produto);
    produto.lPonteiroProduto = 20;
    Texto(produto.szCodigo, "A2");
    Texto(produto.szNome, "Bermuda");
    produto.iPonteiroUnidadeMedidaEstoque = 2;
    produto.iPonteiroGrade1 = 0;
    produto.cProdutoDeTerceiros = 1;
    c.produtos.push_back(produto);
    auto servico = Zerado<_REG_SERVICOSPS>();
    Texto(servico.szCodigo, "S1");
    Texto(servico.szNome, "Montagem");
    servico.iPonteiroUnidadeMedida = 1;
    servico.cQuantidadeCasasDecimais = 1;
    servico.cInativo = 1;
    c.servicos.push_back(servico);
    auto unidade = Zerado<_REG_UNIDADES_MEDIDAPS>();
    Texto(unidade.szCodigo, "UN");
    unidade.cCasasDecimais = 2;
    c.unidades.push_back(unidade);
    Texto(unidade.szCodigo, "KG");
    unidade.cCasasDecimais = 3;
    c.unidades.push_back(unidade);
    auto unidadeServico = Zerado<_REG_UNIDADES_MEDIDA_SERVICOSPS>();
    Texto(unidadeServico.szCodigo, "HR");
    unidadeServico.cCasasDecimais = 1;
    c.unidadesServico.push_back(unidadeServico);
    c.precos = {{'P', 0, 10, kTabela1, Reais(1250)}, {'P', 0, 10, kTabela2, Reais(1500)},
                {'P', 0, 20, kTabela2, Reais(900)},  {'S', 0, 1, kTabela1, Reais(4000)},
                {'S', 0, 1, kTabela2, Reais(4500)}};
    ItemTabelaPrecoDF item{};
    item.regFiltro = {10, kTabela2, 1, 0, 0, 0};
    item.regItem.vPrecoVendaV8 = Reais(1700);
    c.itensTabelaPreco = {item};
    _REG_REFERENCIA_GRADEPS referencia{};
    referencia.regPosicaoProduto = {10, 1, 0, 0};
    Texto(referencia.szCodigoReferenciaGrade, "REF-P");
    c.referenciasGrade = {referencia};
    const char* tamanhos[] = {"P", "M", "G"};
    for (uint16_t i = 0; i < 3; ++i) {
      ItemGradeDF grade{};
      grade.iGrade = kGrade;
      grade.regItem.iPosicao = static_cast<uint16_t>(i + 1);
      Texto(grade.regItem.szCodigoItemGrade, tamanhos[i]);
      c.itensGrade.push_back(grade);
    }
    DescricaoProdutoDF descricao{};
    descricao.lPonteiroProduto = 10;
    Texto(descricao.szDescricao, "Algod\xE3o");  // Windows-1252
    c.descricoes = {descricao};
    ASSERT_EQ(GravaCadastroProdutosDF(Instalacao::kEmpresa, c), S_OK);
  }

  // Requisition 1 is cancelled, 2 of status 1, 3 and 4 open; 4 has two items, each with every
  // kind of nested array.
  void SemeiaRequisicoes() {
    std::vector<RequisicaoInternaDF> requisicoes;
    const uint8_t status[] = {3, 1, 0, 0};
    for (uint32_t chave = 1; chave <= 4; ++chave) {
      RequisicaoInternaDF r;
      r.regRequisicao = Zerado<_REG_REQUISICAOINTERNAPS>();
      r.regRequisicao.ulChave = chave;
      r.regRequisicao.cStatusPrincipal = status[chave - 1];
      Texto(r.regRequisicao.szCodigo, ("RQ" + std::to_string(chave)).c_str());
      if (chave == 4) {
        for (int i = 1; i <= 2; ++i) {
          ItemRequisicaoInternaDF item;
          item.regItem = Zerado<_REG_ITEMREQUISICAOINTERNAPS>();
          item.regItem.vQuantidade = Reais(500 * i);
          item.regItem.vQuantidadeAtendida = Reais(200 * i);
          item.composicao.resize(2, Zerado<_REG_COMPOSICAO_ITEM_REQUISICAOPS>());
          item.adicionais.resize(1, AdicionalItemDF{});
          AtendimentoDF atendimento;
          atendimento.regAtendimento = Zerado<_REG_ATENDIMENTOPS>();
          atendimento.composicao.resize(1, Zerado<_REG_ATENDIMENTO_COMPOSICAOPS>());
          AdicionalAtendimentoDF adicional;
          adicional.regAdicional = Zerado<_REG_ATENDIMENTO_ADICIONALPS>();
          adicional.subitens.resize(2, SubitemAdicionalDF{});
          atendimento.adicionais = {adicional, adicional};
          item.atendimentos = {atendimento};
          r.itens.push_back(item);
        }
      }
      requisicoes.push_back(r);
    }
    ASSERT_EQ(GravaRequisicoesInternasDF(Instalacao::kEmpresa, requisicoes), S_OK);
  }

  void SemeiaPedido() {
    PedidoSemeadoFT pedido;
    pedido.ulChave = 55;
    pedido.regPedido.lPonteiroCliente = 333;
    pedido.complemento = {1, 2, 3};
    DetalhePedidoSemeadoFT detalhe;
    detalhe.dados = {9, 9};
    pedido.detalhes = {detalhe, DetalhePedidoSemeadoFT{}};
    ItemPedidoSemeadoFT item;
    item.detalhes = {detalhe};
    item.liberacoes.resize(2, Zerado<tagREG_LIBERACAO_ITENS_PEDIDOPS>());
    item.complemento = {4};
    pedido.itens = {item, item};
    ASSERT_EQ(GravaPedidosFT(Instalacao::kEmpresa, {pedido}), S_OK);
  }

  void SemeiaEstoque() {
    CadastroEstoqueES c;
    LocalES local;
    std::memset(&local, 0, sizeof local);
    Texto(local.regLocal.szCodigo, "ALM");
    Texto(local.regLocal.szNome, "Almoxarifado");
    local.iPonteiroFilial = kFilial;
    c.locais = {local};
    auto mestre = Zerado<_REG_ES_MESTREPS>();
    mestre.cFormaValorizacao = 'M';
    c.mestre = {mestre};
    ASSERT_EQ(GravaCadastroEstoqueES(Instalacao::kEmpresa, c), S_OK);
    SaldoInicialES saldo;
    saldo.regChave = Zerado<_REG_ES_CHAVE_SALDOPS>();
    saldo.regChave.regPosicaoProduto = {10, 0, 0, 0};
    saldo.regChave.iPonteiroFilial = kFilial;
    saldo.vQuantidade = Reais(4200);
    ASSERT_EQ(GravaSaldosIniciaisES(Instalacao::kEmpresa, {saldo}), S_OK);
  }

  // One entry movement of product 20 with its batch, volume and every nested array; its key goes
  // to chaveMovimento_.
  void PostaMovimento() {
    auto m = Zerado<_REG_ES_MOVIMENTOPS>();
    m.cTipoMovimento = 11;
    m.vQuantidade = Reais(300);
    m.regPosicaoProduto = {20, 0, 0, 0};
    m.iPonteiroFilial = kFilial;
    m.iPonteiroLocalArmazenagem = 1;
    Texto(m.regLotePS.cNumeroLote, "L-01");
    Texto(m.regVolumePS.cVolume, "CX-9");
    std::vector<_REG_ES_GERENCIALPS> gerenciais(2, Zerado<_REG_ES_GERENCIALPS>());
    std::vector<_REG_ES_CONTABILIZACAOPS> contabeis(1, Zerado<_REG_ES_CONTABILIZACAOPS>());
    contabeis[0].iQuantidadeGerencial = 2;
    contabeis[0].pregGerencial = gerenciais.data();
    std::vector<_REG_ES_COMPOSICAO_PRODUTOPS> composicao(1, Zerado<_REG_ES_COMPOSICAO_PRODUTOPS>());
    std::vector<_REG_ES_MOV_REFERENCIAPS> referencias(1, Zerado<_REG_ES_MOV_REFERENCIAPS>());
    m.iQuantidadeContabil = 1;
    m.pregContabil = contabeis.data();
    m.iQtdItensComposicao = 1;
    m.pregComposicao = composicao.data();
    m.iQtdMovsReferencia = 1;
    m.pregMovReferencia = referencias.data();
    IQVES_Movimento* movimento = acesso_.GetIMovimento();
    ASSERT_NE(movimento, nullptr);
    const BSTR texto = SysAllocString(u"Entrada");
    uint32_t numero = 0;
    ASSERT_EQ(movimento->GravaMovimento(0, m, texto, &numero), S_OK);
    SysFreeString(texto);
    chaveMovimento_ = numero << 12 | kMesHoje;
  }

  std::vector<Caso> Casos();

  Instalacao instalacao_;
  TestClock relogio_;
  ServidoresFamilia familia_;
  MestreFalso mestre_;
  CPPAcessoDados acesso_;
  uint32_t chaveMovimento_ = 0;
};

std::vector<Caso> LeitoresFamilia::Casos() {
  const uint32_t chaveMovimento = chaveMovimento_;
  return {
      Leitor<CPPDadosRequisitante>(
          "LeRequisitante", CLASSE(base, Requerente), "Le", true, false,
          [](CPPAcessoDados& a, CPPDadosRequisitante& o) { return a.LeRequisitante(5, &o); },
          [](const CPPDadosRequisitante& o) { return std::string(o.GetNome()); }, "Joana"),
      Leitor<tagREG_REQUERENTEPS>(
          "LeRequisitante raw", CLASSE(base, Requerente), "Le", false, true,
          [](CPPAcessoDados& a, tagREG_REQUERENTEPS& r) { return a.LeRequisitante(5, &r); },
          [](const tagREG_REQUERENTEPS& r) { return std::string(r.szNome); }, "Joana"),
      Leitor<CPPDadosRequisitante>(
          "GetRequisitanteFromUsuario", CLASSE(base, Requerente), "BuscaPorUsuario", false, false,
          [](CPPAcessoDados& a, CPPDadosRequisitante& o) {
            return a.GetRequisitanteFromUsuario(0x10000 | kFilial, 0x20000 | kUsuario, &o);
          },
          [](const CPPDadosRequisitante& o) { return std::string(o.GetNome()); }, "Joana"),
      Leitor<CPPDadosRequisicaoInterna>(
          "LeRequisicaoInterna", CLASSE(base, RequisicaoInterna), "Le", true, false,
          [](CPPAcessoDados& a, CPPDadosRequisicaoInterna& o) { return a.LeRequisicaoInterna(4, &o); },
          [](const CPPDadosRequisicaoInterna& o) {
            return std::string(o.GetCodigo()) + "/" + std::to_string(o.GetQuantidadeItem());
          },
          "RQ4/2"),
      Leitor<CPPDadosUsuario>(
          "LeUsuario", CLASSE(base, Usuario), "Le", false, false,
          [](CPPAcessoDados& a, CPPDadosUsuario& o) { return a.LeUsuario(kUsuario, &o); },
          [](const CPPDadosUsuario& o) { return std::string(o.GetNome()); }, "Maria"),
      Leitor<REGUSU_PS>(
          "LeUsuario raw", CLASSE(base, Usuario), "Le", false, true,
          [](CPPAcessoDados& a, REGUSU_PS& r) { return a.LeUsuario(kUsuario, &r); },
          [](const REGUSU_PS& r) { return std::string(r.szNome); }, "Maria"),
      Leitor<CPPDadosFilial>(
          "LeFilial", CLASSE(filiais, Filial), "Le", false, false,
          [](CPPAcessoDados& a, CPPDadosFilial& o) { return a.LeFilial(1, &o); },
          [](const CPPDadosFilial& o) { return std::string(o.GetNomeFantasia()) + Num(o.GetPosicao()); },
          "Matriz1"),
      Leitor<CPPDadosFilial>(
          "ExisteFilial", CLASSE(filiais, Filial), "Existe", false, false,
          [](CPPAcessoDados& a, CPPDadosFilial& o) { return a.ExisteFilial("f01", &o); },
          [](const CPPDadosFilial& o) { return std::string(o.GetNomeFantasia()) + Num(o.GetPosicao()); },
          "Matriz1"),
      Leitor<__MIDL___MIDL_itf_Brisel_0000_0003>(
          "ExisteFilial raw", CLASSE(filiais, Filial), "Existe", false, true,
          [](CPPAcessoDados& a, __MIDL___MIDL_itf_Brisel_0000_0003& r) { return a.ExisteFilial("F01", &r); },
          [](const __MIDL___MIDL_itf_Brisel_0000_0003& r) { return std::string(r.szNomeFantasia); }, "Matriz"),
      Leitor<CPPDadosPlanoDF>(
          "LeContaContabil", CLASSE(base, Plano), "Le", false, false,
          [](CPPAcessoDados& a, CPPDadosPlanoDF& o) { return a.LeContaContabil(100, &o); },
          [](const CPPDadosPlanoDF& o) { return std::string(o.GetNome()); }, "Caixa"),
      Leitor<CPPDadosPlanoDF>(
          "LeContaGerencial", CLASSE(base, Plano), "Le", true, false,
          [](CPPAcessoDados& a, CPPDadosPlanoDF& o) { return a.LeContaGerencial(200, &o); },
          [](const CPPDadosPlanoDF& o) { return std::string(o.GetNome()); }, "Custos"),
      Leitor<_RegContaPS>(
          "LeContaGerencial raw", CLASSE(base, Plano), "Le", false, true,
          [](CPPAcessoDados& a, _RegContaPS& r) { return a.LeContaGerencial(200, &r); },
          [](const _RegContaPS& r) { return std::string(r.szNome); }, "Custos"),
      Leitor<CPPDadosPlanoDF>(
          "ExisteContaGerencial", CLASSE(base, Plano), "Existe", false, false,
          [](CPPAcessoDados& a, CPPDadosPlanoDF& o) {
            uint32_t ponteiro = 0;
            const int32_t hr = a.ExisteContaGerencial("CG1", ponteiro, &o);
            return SUCCEEDED(hr) && ponteiro != 200 ? E_UNEXPECTED : hr;
          },
          [](const CPPDadosPlanoDF& o) { return std::string(o.GetNome()); }, "Custos"),
      Leitor<CPPDadosMunicipio>(
          "LeMunicipio", CLASSE(base, Municipio), "Le", false, false,
          [](CPPAcessoDados& a, CPPDadosMunicipio& o) { return a.LeMunicipio(1, &o); },
          [](const CPPDadosMunicipio& o) { return std::string(o.GetNome()); }, "Curitiba"),
      Leitor<CPPDadosProduto>(
          "LeProduto", CLASSE(base, Produto), "LeProduto", false, false,
          [](CPPAcessoDados& a, CPPDadosProduto& o) { return a.LeProduto(10, &o, kTabela1); },
          [](const CPPDadosProduto& o) { return std::string(o.GetNome()) + Num(o.GetPrecoVendaV8().int64); },
          "Camiseta125000"),
      Leitor<_REG_PRODUTOPS>(
          "LeProduto raw", CLASSE(base, Produto), "LeProduto", false, true,
          [](CPPAcessoDados& a, _REG_PRODUTOPS& r) { return a.LeProduto(20, &r, kTabela2); },
          [](const _REG_PRODUTOPS& r) { return std::string(r.szNome); }, "Bermuda"),
      Leitor<CPPDadosProduto>(
          "ExisteProduto", CLASSE(base, Produto), "ExisteProduto", false, false,
          [](CPPAcessoDados& a, CPPDadosProduto& o) { return a.ExisteProduto("A1", &o, kTabela2); },
          [](const CPPDadosProduto& o) { return std::string(o.GetNome()) + Num(o.GetPrecoVendaV8().int64); },
          "Camiseta150000"),
      Leitor<int32_t>(
          "ExisteProduto pointer", CLASSE(base, Produto), "ExisteProduto", true, true,
          [](CPPAcessoDados& a, int32_t& p) { return a.ExisteProduto("A2", p, kTabela2); },
          [](int32_t p) { return Num(p); }, "20"),
      Leitor<CPPDadosServico>(
          "LeServico", CLASSE(base, Produto), "LeServico", false, false,
          [](CPPAcessoDados& a, CPPDadosServico& o) { return a.LeServico(1, &o, kTabela2); },
          [](const CPPDadosServico& o) {
            return std::string(o.GetNome()) + Num(o.GetPrecoVendaV8().int64) + Num(o.GetPosicao());
          },
          "Montagem4500001"),
      Leitor<CPPDadosServico>(
          "ExisteServico", CLASSE(base, Produto), "ExisteServico", false, false,
          [](CPPAcessoDados& a, CPPDadosServico& o) { return a.ExisteServico("S1", &o, kTabela1); },
          [](const CPPDadosServico& o) {
            return std::string(o.GetNome()) + Num(o.GetPrecoVendaV8().int64) + Num(o.GetPosicao());
          },
          "Montagem4000001"),
      Leitor<CString>(
          "LeDescricaoProduto", CLASSE(base, Produto), "LeDescricaoProduto", false, false,
          [](CPPAcessoDados& a, CString& t) { return a.LeDescricaoProduto(10, t); },
          [](const CString& t) { return std::string(t); }, "Algod\xE3o"),
      Leitor<CPPDadosUnMedida>(
          "LeUnidadeMedida", CLASSE(base, Produto), "LeUnidadeMedida", true, false,
          [](CPPAcessoDados& a, CPPDadosUnMedida& o) { return a.LeUnidadeMedida(2, &o); },
          [](const CPPDadosUnMedida& o) { return std::string(o.GetCodigo()); }, "KG"),
      Leitor<_REG_UNIDADES_MEDIDAPS>(
          "LeUnidadeMedida raw", CLASSE(base, Produto), "LeUnidadeMedida", false, true,
          [](CPPAcessoDados& a, _REG_UNIDADES_MEDIDAPS& r) { return a.LeUnidadeMedida(1, &r); },
          [](const _REG_UNIDADES_MEDIDAPS& r) { return std::string(r.szCodigo); }, "UN"),
      Leitor<CPPDadosUnServico>(
          "LeUnidadeServico", CLASSE(base, Produto), "LeUnidadeServico", true, false,
          [](CPPAcessoDados& a, CPPDadosUnServico& o) { return a.LeUnidadeServico(1, &o); },
          [](const CPPDadosUnServico& o) { return std::string(o.GetCodigo()); }, "HR"),
      Leitor<CPPDadosItemTabelaPreco>(
          "LeItemTabelaPreco", CLASSE(base, Produto), "LeItemTabelaPreco", false, false,
          [](CPPAcessoDados& a, CPPDadosItemTabelaPreco& o) {
            return a.LeItemTabelaPreco({10, kTabela2, 1, 0, 0, 0}, &o);
          },
          [](const CPPDadosItemTabelaPreco& o) { return Num(o.GetPrecoVendaV8().int64); }, "170000"),
      Leitor<CPPDadosReferenciaGrade>(
          "LeReferenciaGrade", CLASSE(base, Produto), "LeReferenciaGrade", false, false,
          [](CPPAcessoDados& a, CPPDadosReferenciaGrade& o) { return a.LeReferenciaGrade({10, 1, 0, 0}, &o); },
          [](const CPPDadosReferenciaGrade& o) { return std::string(o.GetCodigoReferenciaGrade()); }, "REF-P"),
      Leitor<CPPDadosGradeProduto>(
          "LeItemGrade", CLASSE(base, GradesProduto), "LeItemGrade", false, false,
          [](CPPAcessoDados& a, CPPDadosGradeProduto& o) { return a.LeItemGrade(kGrade, 2, &o); },
          [](const CPPDadosGradeProduto& o) { return std::string(o.GetCodigoItemGrade()); }, "M"),
      Leitor<CPPDadosGradeProduto>(
          "ExisteItemGrade", CLASSE(base, GradesProduto), "ExisteItemGrade", false, false,
          [](CPPAcessoDados& a, CPPDadosGradeProduto& o) { return a.ExisteItemGrade(kGrade, "G", &o); },
          [](const CPPDadosGradeProduto& o) { return std::string(o.GetCodigoItemGrade()) + Num(o.GetPosicao()); },
          "G3"),
      Leitor<int32_t>(
          "ExisteItemGrade pointer", CLASSE(base, GradesProduto), "ExisteItemGrade", true, true,
          [](CPPAcessoDados& a, int32_t& p) { return a.ExisteItemGrade(kGrade, "M", p); },
          [](int32_t p) { return Num(p); }, "2"),
      Leitor<_REG_MENSAGEMPS>(
          "LeMensagem", CLASSE(base, Mensagem), "Le", false, true,
          [](CPPAcessoDados& a, _REG_MENSAGEMPS& r) { return a.LeMensagem(1, &r); },
          [](const _REG_MENSAGEMPS& r) { return std::string(reinterpret_cast<const char*>(r.cReservado0)); },
          "Bom dia"),
      Leitor<_REG_CATEGORIAS_PS>(
          "LeInfSuplementar", CLASSE(base, CTG), "LeRegistros", false, true,
          [](CPPAcessoDados& a, _REG_CATEGORIAS_PS& r) { return a.LeInfSuplementar(1, &r); },
          [](const _REG_CATEGORIAS_PS& r) { return std::string(r.szCodigo); }, "COR"),
      Leitor<CPPDadosNotaFiscalFT>(
          "LeNotaFiscalFT", CLASSE(base, NotasFiscais), "LeLight", false, false,
          [](CPPAcessoDados& a, CPPDadosNotaFiscalFT& o) { return a.LeNotaFiscalFT(77, &o); },
          [](const CPPDadosNotaFiscalFT& o) { return Num(o.GetNumeroNotaFiscal()); }, "4321"),
      Leitor<CPPDadosNotaFiscalRE>(
          "LeNotaFiscalRE", CLASSE(compras, RegistroEntrada), "LeLight", false, false,
          [](CPPAcessoDados& a, CPPDadosNotaFiscalRE& o) { return a.LeNotaFiscalRE(88, &o); },
          [](const CPPDadosNotaFiscalRE& o) { return Num(o.GetPonteiroFornecedor()); }, "654"),
      Leitor<CPPDadosPedidoFT>(
          "LePedidoFT", CLASSE(vendas, Pedido), "LePedido", false, false,
          [](CPPAcessoDados& a, CPPDadosPedidoFT& o) { return a.LePedidoFT(55, &o); },
          [](const CPPDadosPedidoFT& o) {
            return Num(o.GetPonteiroCliente()) + Num(o.GetQuantidadePedidoItem());
          },
          "3332"),
      Leitor<_REG_ES_MESTREPS>(
          "LeMestreES", CLASSE(estoque, Mestre), "LeMestre", false, true,
          [](CPPAcessoDados& a, _REG_ES_MESTREPS& r) { return a.LeMestreES(&r); },
          [](const _REG_ES_MESTREPS& r) { return r.cFormaValorizacao ? std::string(1, static_cast<char>(r.cFormaValorizacao)) : ""; }, "M"),
      Leitor<CPPDadosLocalES>(
          "LeLocalES", CLASSE(estoque, Armazenagem), "LeLocal", true, false,
          [](CPPAcessoDados& a, CPPDadosLocalES& o) { return a.LeLocalES(1, &o); },
          [](const CPPDadosLocalES& o) { return std::string(o.GetNome()); }, "Almoxarifado"),
      Leitor<int32_t>(
          "ExisteLocalES pointer", CLASSE(estoque, Armazenagem), "ExisteLocal", true, true,
          [](CPPAcessoDados& a, int32_t& p) { return a.ExisteLocalES("ALM", p); },
          [](int32_t p) { return Num(p); }, "1"),
      Leitor<CPPDadosLocalES>(
          "ExisteLocalES of a branch", CLASSE(estoque, Armazenagem), "ExisteLocalFilial", false, false,
          [](CPPAcessoDados& a, CPPDadosLocalES& o) { return a.ExisteLocalES("ALM", kFilial, &o); },
          [](const CPPDadosLocalES& o) { return std::string(o.GetNome()); }, "Almoxarifado"),
      Leitor<CPPDadosLoteES>(
          "LeLoteES", CLASSE(estoque, Movimento), "LeLote", false, false,
          [](CPPAcessoDados& a, CPPDadosLoteES& o) { return a.LeLoteES(1, &o); },
          [](const CPPDadosLoteES& o) { return std::string(o.GetNumeroLote()); }, "L-01"),
      Leitor<_REG_ES_LOTEPS>(
          "LeLoteES raw", CLASSE(estoque, Movimento), "LeLote", false, true,
          [](CPPAcessoDados& a, _REG_ES_LOTEPS& r) { return a.LeLoteES(1, &r); },
          [](const _REG_ES_LOTEPS& r) { return std::string(r.cNumeroLote); }, "L-01"),
      Leitor<_REG_ES_VOLUMEPS>(
          "LeVolumeES", CLASSE(estoque, Movimento), "LeVolume", false, true,
          [](CPPAcessoDados& a, _REG_ES_VOLUMEPS& r) { return a.LeVolumeES(1, &r); },
          [](const _REG_ES_VOLUMEPS& r) { return std::string(r.cVolume, strnlen(r.cVolume, sizeof r.cVolume)); },
          "CX-9"),
      Leitor<CPPDadosOPMovimento>(
          "LeMovimentoES", CLASSE(estoque, Movimento), "LeMovimento", false, false,
          [chaveMovimento](CPPAcessoDados& a, CPPDadosOPMovimento& o) { return a.LeMovimentoES(chaveMovimento, &o); },
          [](const CPPDadosOPMovimento& o) {
            return Num(o.GetQuantidade().int64) + Num(o.GetQuantidadeContabil());
          },
          "300001"),
      Leitor<CPPDadosListaSaldosProdutosES>(
          "LeSaldosProdutosES", CLASSE(estoque, Movimento), "LeSaldosProdutos", false, false,
          [](CPPAcessoDados& a, CPPDadosListaSaldosProdutosES& o) {
            CPPDadosFiltroSaldoProdutoES filtro;
            filtro.SetFilial(kFilial);
            return a.LeSaldosProdutosES(filtro, &o);
          },
          [](const CPPDadosListaSaldosProdutosES& o) {
            if (o.GetQuantidadeSaldosProdutos() == 0) return std::string();
            return Num(o.GetSaldosProdutos(0).GetSaldoProduto().vQuantidade.int64);
          },
          "420000"),
  };
}

}  // namespace

TEST_F(LeitoresFamilia, EachReaderFillsItsClassAndGivesBackAFailureUnchangedWithTheObjectCleared) {
  for (Caso& caso : Casos()) {
    SCOPED_TRACE(caso.leitor);
    const int32_t blocos = TaskMemoryOutstandingBlocks();
    EXPECT_EQ(caso.le(acesso_), S_OK);
    EXPECT_EQ(caso.marca(), caso.esperado);
    EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);

    caso.classe(familia_).FalhaMetodo(caso.metodo, 1, kNegado);
    EXPECT_EQ(caso.le(acesso_), kNegado);
    EXPECT_EQ(caso.marca(), caso.naoLimpa ? caso.esperado : "");
    EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
  }
}

TEST_F(LeitoresFamilia, WithoutItsServerAReaderAnswersTheHubsErrorAndClearsTheObject) {
  // Every class's initialisation fails, so a hub that has none of them held gets no interface.
  constexpr HRESULT kSemServidor = static_cast<HRESULT>(0x80040401);
  std::vector<Caso> casos = Casos();
  for (Caso& caso : casos) ASSERT_EQ(caso.le(acesso_), S_OK) << caso.leitor;
  for (ModuloFamilia* modulo : familia_.Modulos())
    for (const auto& classe : modulo->Classes()) classe->FalhaInicializacao(kSemServidor);

  CPPAcessoDados semServidores;
  semServidores.Inicializa(Instalacao::kEmpresa, kUsuario, 1234);
  for (Caso& caso : casos) {
    SCOPED_TRACE(caso.leitor);
    EXPECT_EQ(caso.le(semServidores), kSemServidor);
    EXPECT_EQ(caso.marca(), caso.naoLimpa || caso.bruto ? caso.esperado : "");
  }
  CPPDadosInfoProdServ info;
  info.SetCodigo("antes");
  EXPECT_EQ(semServidores.LeProdutoServico({10, 0, 0, 0}, &info, 'P', kTabela2), kSemServidor);
  EXPECT_STREQ(info.GetCodigo(), "");
  semServidores.Finaliza();
  for (ModuloFamilia* modulo : familia_.Modulos())
    for (const auto& classe : modulo->Classes()) classe->FalhaInicializacao(S_OK);
}

TEST_F(LeitoresFamilia, AnUnregisteredClassGivesClassNotRegisteredWithTheObjectCleared) {
  ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidToText(CLSID_QVDF_Produto)).c_str()), ERROR_SUCCESS);
  CPPDadosProduto produto;
  produto.SetNome("antes");
  EXPECT_EQ(acesso_.LeProduto(10, &produto, kTabela1), REGDB_E_CLASSNOTREG);
  EXPECT_STREQ(produto.GetNome(), "");
  auto registro = Zerado<_REG_UNIDADES_MEDIDAPS>();
  Texto(registro.szCodigo, "antes");
  EXPECT_EQ(acesso_.LeUnidadeMedida(1, &registro), REGDB_E_CLASSNOTREG);
  EXPECT_STREQ(registro.szCodigo, "antes");  // a raw record is left untouched
}

TEST_F(LeitoresFamilia, GridItemZeroAndDescriptionZeroAnswerWithoutCallingTheServer) {
  // A pending failure shows whether a call reached the server: it is still there afterwards.
  struct {
    uint16_t grade;
    uint16_t item;
  } zeros[] = {{0, 1}, {kGrade, 0}, {0, 0}};
  for (const auto& zero : zeros) {
    SCOPED_TRACE(std::to_string(zero.grade) + "/" + std::to_string(zero.item));
    CPPDadosGradeProduto item;
    ASSERT_EQ(acesso_.LeItemGrade(kGrade, 1, &item), S_OK);
    familia_.base.GradesProduto.FalhaMetodo("LeItemGrade", 1, kNegado);
    EXPECT_EQ(acesso_.LeItemGrade(zero.grade, zero.item, &item), S_OK);
    EXPECT_STREQ(item.GetCodigoItemGrade(), "");
    EXPECT_EQ(acesso_.LeItemGrade(kGrade, 1, &item), kNegado);
  }

  familia_.base.Produto.FalhaMetodo("LeDescricaoProduto", 1, kNegado);
  CString descricao = "antes";
  EXPECT_EQ(acesso_.LeDescricaoProduto(0, descricao), S_OK);
  EXPECT_STREQ(descricao, "");
  EXPECT_EQ(acesso_.LeDescricaoProduto(10, descricao), kNegado);
}

TEST_F(LeitoresFamilia, PriceTableZeroReadsTheMasterSettingsEachTimeAndAnotherTableDoesNot) {
  CPPDadosMestre mestre;
  ASSERT_EQ(acesso_.LeMestre(&mestre), S_OK);
  EXPECT_EQ(mestre.GetQuantidadeTerminais(), 12);
  mestre_.leituras = 0;

  CPPDadosProduto produto;
  EXPECT_EQ(acesso_.LeProduto(10, &produto, 0), S_OK);
  EXPECT_EQ(produto.GetPrecoVendaV8().int64, Reais(1500).int64);  // the master's table 2
  EXPECT_EQ(acesso_.LeProduto(10, &produto, 0), S_OK);
  EXPECT_EQ(mestre_.leituras, 2);
  EXPECT_EQ(acesso_.LeProduto(10, &produto, kTabela1), S_OK);
  EXPECT_EQ(produto.GetPrecoVendaV8().int64, Reais(1250).int64);
  EXPECT_EQ(mestre_.leituras, 2);

  CPPDadosServico servico;
  EXPECT_EQ(acesso_.LeServico(1, &servico, 0), S_OK);
  EXPECT_EQ(servico.GetPrecoVendaV8().int64, Reais(4000).int64);  // the master's service table 1
  int32_t ponteiro = 0;
  EXPECT_EQ(acesso_.ExisteProduto("A2", ponteiro, 0), S_OK);
  EXPECT_EQ(ponteiro, 20);
  EXPECT_EQ(mestre_.leituras, 4);

  // The master's failure is the answer, and the product stays cleared.
  mestre_.resposta = kNegado;
  EXPECT_EQ(acesso_.LeProduto(10, &produto, 0), kNegado);
  EXPECT_STREQ(produto.GetNome(), "");
  EXPECT_EQ(acesso_.LeMestre(&mestre), kNegado);
  EXPECT_EQ(mestre.GetQuantidadeTerminais(), 0);
}

TEST_F(LeitoresFamilia, ALookUpAnsweringSuccessWithPointerZeroLeavesTheObjectCleared) {
  GradesPonteiroZero grades;
  acesso_.SetIGradeProduto(&grades);
  CPPDadosGradeProduto item;
  ASSERT_EQ(acesso_.LeItemGrade(kGrade, 2, &item), E_NOTIMPL);
  item.SetCodigoItemGrade("antes");
  EXPECT_EQ(acesso_.ExisteItemGrade(kGrade, "M", &item), S_FALSE);
  EXPECT_STREQ(item.GetCodigoItemGrade(), "");
  EXPECT_EQ(item.GetPosicao(), 0);
  int32_t ponteiro = 77;
  EXPECT_EQ(acesso_.ExisteItemGrade(kGrade, "M", ponteiro), S_FALSE);
  EXPECT_EQ(ponteiro, 0);
  acesso_.SetIGradeProduto(nullptr);
}

TEST_F(LeitoresFamilia, SupplementaryInformationWithoutACategoryGivesTheZeroedRecord) {
  CategoriasFalsas categorias;
  acesso_.SetIInformacaoSuplementar(&categorias);
  for (const int32_t quantidade : {0, 1}) {  // 1: a count whose array is null
    SCOPED_TRACE(quantidade);
    categorias.quantidadeResposta = quantidade;
    auto registro = Zerado<_REG_CATEGORIAS_PS>();
    Texto(registro.szCodigo, "antes");
    EXPECT_EQ(acesso_.LeInfSuplementar(1, &registro), S_OK);
    EXPECT_EQ(std::string(registro.szCodigo), "");
  }
  acesso_.SetIInformacaoSuplementar(nullptr);
}

TEST_F(LeitoresFamilia, ASalesOrderAnsweredWithoutARecordLeavesTheObjectCleared) {
  CPPDadosPedidoFT pedido;
  ASSERT_EQ(acesso_.LePedidoFT(55, &pedido), S_OK);
  ASSERT_EQ(pedido.GetPonteiroCliente(), 333);
  PedidoSemRegistro semRegistro;
  acesso_.SetIPedido(&semRegistro);
  EXPECT_EQ(acesso_.LePedidoFT(55, &pedido), S_OK);
  EXPECT_EQ(pedido.GetPonteiroCliente(), 0);
  EXPECT_EQ(pedido.GetQuantidadePedidoItem(), 0);
  acesso_.SetIPedido(nullptr);
}

TEST_F(LeitoresFamilia, CancellingARequisitionByItsStatus) {
  const auto requisicao = [](uint32_t chave) {
    std::vector<RequisicaoInternaDF> todas;
    EXPECT_EQ(LeRequisicoesInternasDF(Instalacao::kEmpresa, todas), S_OK);
    for (const RequisicaoInternaDF& r : todas)
      if (r.regRequisicao.ulChave == chave) return r;
    ADD_FAILURE() << "requisition " << chave << " missing";
    return RequisicaoInternaDF{};
  };
  ClasseFamilia& classe = familia_.base.RequisicaoInterna;
  const int32_t blocos = TaskMemoryOutstandingBlocks();

  // A pending write failure shows whether a write was attempted.
  classe.FalhaMetodo("Grava", 1, kNegado);
  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(1, false), S_OK);  // already cancelled
  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(2, false), kRequisicaoEmUso);
  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(2, true), kRequisicaoEmUso);
  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(4, true), S_OK);  // verify only
  EXPECT_EQ(requisicao(4).regRequisicao.cStatusPrincipal, 0);
  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(3, false), kNegado);  // the write was reached
  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(99, false), kFamiliaNaoEncontrado);

  EXPECT_EQ(acesso_.CancelaRequisicaoInterna(4, false), S_OK);
  const RequisicaoInternaDF cancelada = requisicao(4);
  EXPECT_EQ(cancelada.regRequisicao.cStatusPrincipal, 3);
  ASSERT_EQ(cancelada.itens.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const _REG_ITEMREQUISICAOINTERNAPS item = cancelada.itens[i].regItem;
    EXPECT_EQ(item.vQuantidade.int64, Reais(200 * static_cast<int64_t>(i + 1)).int64);  // the served quantity
    EXPECT_EQ(item.vQuantidadeAtendida.int64, Reais(200 * static_cast<int64_t>(i + 1)).int64);
    EXPECT_EQ(item.cItemCancelado, 1);
    EXPECT_EQ(cancelada.itens[i].atendimentos.size(), 1u);  // nested arrays written back whole
    EXPECT_EQ(cancelada.itens[i].composicao.size(), 2u);
  }
  EXPECT_EQ(requisicao(3).regRequisicao.cStatusPrincipal, 0);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
}

TEST(LiberaRequisicaoInterna, ACountWithANullArrayFreesNothingAtThatLevelAndTheRestGoesBack) {
  const int32_t blocos = TaskMemoryOutstandingBlocks();
  auto registro = Zerado<_REG_REQUISICAOINTERNAPS>();
  registro.ulQtdItens = 2;
  registro.pregItens = static_cast<_REG_ITEMREQUISICAOINTERNAPS*>(
      CoTaskMemAlloc(2 * sizeof(_REG_ITEMREQUISICAOINTERNAPS)));
  std::memset(static_cast<void*>(registro.pregItens), 0, 2 * sizeof(_REG_ITEMREQUISICAOINTERNAPS));
  // Item 0: counts everywhere, arrays only at the top; item 1: every array.
  _REG_ITEMREQUISICAOINTERNAPS& vazio = registro.pregItens[0];
  vazio.ulQtdComposicao = 3;
  vazio.ulQtdAdicionais = 4;
  vazio.ulQtdAtendimentos = 5;
  _REG_ITEMREQUISICAOINTERNAPS& cheio = registro.pregItens[1];
  cheio.ulQtdComposicao = 1;
  cheio.pregComposicao = static_cast<_REG_COMPOSICAO_ITEM_REQUISICAOPS*>(CoTaskMemAlloc(24));
  cheio.ulQtdAdicionais = 1;
  cheio.pregAdicionais = static_cast<uint8_t*>(CoTaskMemAlloc(16));
  cheio.ulQtdAtendimentos = 1;
  cheio.pregAtendimentos = static_cast<_REG_ATENDIMENTOPS*>(CoTaskMemAlloc(sizeof(_REG_ATENDIMENTOPS)));
  std::memset(static_cast<void*>(cheio.pregAtendimentos), 0, sizeof(_REG_ATENDIMENTOPS));
  _REG_ATENDIMENTOPS& atendimento = cheio.pregAtendimentos[0];
  atendimento.ulQtdComposicao = 1;
  atendimento.pregComposicao = static_cast<_REG_ATENDIMENTO_COMPOSICAOPS*>(CoTaskMemAlloc(44));
  atendimento.ulQtdAdicionais = 2;
  atendimento.pregAdicionais = static_cast<_REG_ATENDIMENTO_ADICIONALPS*>(CoTaskMemAlloc(48));
  std::memset(static_cast<void*>(atendimento.pregAdicionais), 0, 48);
  atendimento.pregAdicionais[0].ulQtdSubitens = 2;  // a count without its array
  atendimento.pregAdicionais[1].ulQtdSubitens = 1;
  atendimento.pregAdicionais[1].pregSubitens = static_cast<uint8_t*>(CoTaskMemAlloc(16));
  ASSERT_EQ(TaskMemoryOutstandingBlocks(), blocos + 7);

  CPPAcessoDados::LiberaRequisicaoInterna(&registro);
  EXPECT_EQ(TaskMemoryOutstandingBlocks(), blocos);
  EXPECT_EQ(registro.pregItens, nullptr);
  EXPECT_EQ(registro.ulQtdItens, 0u);
}

TEST_F(LeitoresFamilia, ProductOrServiceSummary) {
  CPPDadosInfoProdServ info;
  // A grid position whose first item is given takes the price item's price.
  ASSERT_EQ(acesso_.LeProdutoServico({10, 1, 0, 0}, &info, 'P', kTabela2), S_OK);
  EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(1700).int64);
  EXPECT_EQ(info.GetDadosProduto().GetPrecoVendaV8().int64, Reais(1700).int64);
  EXPECT_STREQ(info.GetCodigo(), "A1");
  EXPECT_STREQ(info.GetNomeProdServ(), "Camiseta");
  EXPECT_STREQ(info.GetReferencia(), "REF10");
  EXPECT_STREQ(info.GetUnidadeMedida(), "UN");
  EXPECT_EQ(info.GetCasasDecimais(), 4);  // twice the unit's
  EXPECT_EQ(info.GetQuantidadeCasasDecimais(), 2);
  EXPECT_EQ(info.GetCasasDecimaisEstoque(), 3);
  EXPECT_EQ(info.GetPrazoValidade(), 30);
  EXPECT_EQ(info.GetTipoProdServ(), 'P');
  EXPECT_FALSE(info.GetTerceiro());
  EXPECT_STREQ(info.GetCodigoItemGrade1(), "P");
  EXPECT_EQ(info.GetPosicaoProdutoServico().iPonteiroItemGrade1, 1);

  // Without its first item, its own price under the table; table 0 is the master's (2).
  ASSERT_EQ(acesso_.LeProdutoServico({10, 0, 0, 0}, &info, 'P', 0), S_OK);
  EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(1500).int64);
  EXPECT_STREQ(info.GetCodigoItemGrade1(), "");
  ASSERT_EQ(acesso_.LeProdutoServico({20, 0, 0, 0}, &info, 'P', kTabela2), S_OK);
  EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(900).int64);
  EXPECT_STREQ(info.GetUnidadeMedida(), "KG");
  EXPECT_EQ(info.GetCasasDecimais(), 6);
  EXPECT_TRUE(info.GetTerceiro());

  // Any other letter composes a service.
  ASSERT_EQ(acesso_.LeProdutoServico({1, 0, 0, 0}, &info, 'S', kTabela2), S_OK);
  EXPECT_EQ(info.GetPrecoVendaV8().int64, Reais(4500).int64);
  EXPECT_STREQ(info.GetCodigo(), "S1");
  EXPECT_STREQ(info.GetNomeProdServ(), "Montagem");
  EXPECT_STREQ(info.GetUnidadeMedida(), "HR");
  EXPECT_EQ(info.GetCasasDecimais(), 2);
  EXPECT_EQ(info.GetQuantidadeCasasDecimais(), 1);
  EXPECT_EQ(info.GetCasasDecimaisEstoque(), 1);
  EXPECT_EQ(info.GetTipoProdServ(), 'S');
  EXPECT_TRUE(info.GetInativo());
  EXPECT_STREQ(info.GetReferencia(), "");

  // The first failure is the answer; the summary stays cleared.
  familia_.base.Produto.FalhaMetodo("LeUnidadeMedida", 1, kNegado);
  EXPECT_EQ(acesso_.LeProdutoServico({10, 0, 0, 0}, &info, 'P', kTabela2), kNegado);
  EXPECT_STREQ(info.GetCodigo(), "");
  EXPECT_EQ(info.GetTipoProdServ(), 0);
  familia_.base.Produto.FalhaMetodo("LeItemTabelaPreco", 1, kNegado);
  EXPECT_EQ(acesso_.LeProdutoServico({10, 1, 0, 0}, &info, 'P', kTabela2), kNegado);
}
