#include "demo/SementeDemo.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/QVData.h"
#include "platform/family/base/CadastrosDF.h"
#include "platform/family/base/ProdutoDF.h"
#include "platform/family/base/UsuarioDF.h"
#include "platform/family/estoque/ServidorEstoque.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "platform/family/vendas/PedidoFT.h"

namespace {

constexpr uint16_t kTabelaVarejo = 1;
constexpr uint16_t kTabelaAtacado = 2;
constexpr uint16_t kGradeTamanho = 1;
constexpr uint16_t kUnidadePeca = 1;
constexpr uint16_t kUnidadeQuilo = 2;
constexpr int32_t kCamiseta = 100;
constexpr int32_t kMalha = 200;
constexpr uint16_t kItemGradeM = 2;
constexpr uint16_t kLocalAlmoxarifado = 1;
constexpr uint16_t kLocalProducao = 2;

// A text field: the text cut to leave its terminator, zeros after.
template <size_t N>
void Texto(char (&campo)[N], const char* texto) {
  std::memset(campo, 0, N);
  std::memcpy(campo, texto, std::min(std::strlen(texto), N - 1));
}

template <class Registro>
Registro Zerado() {
  Registro registro;
  std::memset(&registro, 0, sizeof registro);
  return registro;
}

CY Valor(int64_t centesimos) {
  CY valor;
  valor.int64 = centesimos * 100;
  return valor;
}

int DiasDoMes(int mes, int ano) {
  static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
  return mes == 2 && bissexto ? 29 : dias[mes - 1];
}

HRESULT SemeiaFilial(const std::string& empresa, uint16_t usData) {
  auto filial = Zerado<__MIDL___MIDL_itf_Brisel_0000_0003>();
  filial.iCodigo = kDemoFilial;
  Texto(filial.szNomeFantasia, "DEMO Matriz");
  Texto(filial.szLocalizacao, "SP");
  Texto(filial.szCodigo, "MATRIZ");
  if (const HRESULT hr = ServidorFiliais::GravaFiliais(empresa, {filial}); FAILED(hr)) return hr;
  auto parametros = Zerado<_REG_CN_PARAMETROSPS>();
  parametros.cIntegraPedidos = 1;
  if (const HRESULT hr = ServidorFiliais::GravaParametros(empresa, parametros); FAILED(hr)) return hr;
  int dia, mes, ano;
  QVSeparaData(usData, &dia, &mes, &ano);
  auto periodo = Zerado<_REG_CN_PERIODOPS>();
  periodo.usDataInferior = QVMontaData(1, mes, ano);
  periodo.usDataSuperior = QVMontaData(DiasDoMes(mes, ano), mes, ano);
  return ServidorFiliais::GravaPeriodo(empresa, periodo);
}

HRESULT SemeiaUsuarios(const std::string& empresa) {
  std::vector<UsuarioDF> usuarios(2, Zerado<UsuarioDF>());
  usuarios[0].lChave = 1;
  Texto(usuarios[0].regUsuario.szNome, "Administrador");
  Texto(usuarios[0].regUsuario.szApelido, "ADMIN");
  usuarios[0].regUsuario.cUsuarioSupervisor = 1;
  usuarios[1].lChave = 2;
  Texto(usuarios[1].regUsuario.szNome, "Operador de producao");
  Texto(usuarios[1].regUsuario.szApelido, "OPERADOR");
  for (UsuarioDF& usuario : usuarios) usuario.regPermissoes.cPermissao[kDemoFilial] = 1;
  return GravaUsuariosDF(empresa, usuarios);
}

HRESULT SemeiaProdutos(const std::string& empresa) {
  CadastroProdutosDF c;
  c.unidades.assign(2, Zerado<_REG_UNIDADES_MEDIDAPS>());
  Texto(c.unidades[kUnidadePeca - 1].szCodigo, "PC");
  Texto(c.unidades[kUnidadePeca - 1].szDescricao, "Peca");
  Texto(c.unidades[kUnidadeQuilo - 1].szCodigo, "KG");
  Texto(c.unidades[kUnidadeQuilo - 1].szDescricao, "Quilograma");
  c.unidades[kUnidadeQuilo - 1].cCasasDecimais = 3;

  // The finished product on the size grid, and the knitted fabric it is cut from.
  c.produtos.assign(2, Zerado<_REG_PRODUTOPS>());
  _REG_PRODUTOPS& camiseta = c.produtos[0];
  camiseta.lPonteiroProduto = kCamiseta;
  Texto(camiseta.szCodigo, "CAM-01");
  Texto(camiseta.szNome, "Camiseta basica");
  camiseta.cTipo = 'P';
  camiseta.iPonteiroUnidadeMedidaEstoque = kUnidadePeca;
  camiseta.iPonteiroGrade1 = kGradeTamanho;
  camiseta.vPrecoVendaV8 = Valor(2990);
  _REG_PRODUTOPS& malha = c.produtos[1];
  malha.lPonteiroProduto = kMalha;
  Texto(malha.szCodigo, "MAL-01");
  Texto(malha.szNome, "Malha de algodao");
  malha.cTipo = 'P';
  malha.iPonteiroUnidadeMedidaEstoque = kUnidadeQuilo;
  malha.cQuantidadeCasasDecimaisEstoque = 3;
  malha.vPrecoVendaV8 = Valor(4200);

  c.precos = {{'P', 0, kCamiseta, kTabelaVarejo, Valor(2990)},
              {'P', 0, kCamiseta, kTabelaAtacado, Valor(2450)},
              {'P', 0, kMalha, kTabelaVarejo, Valor(4200)}};
  const char* const tamanhos[][2] = {{"P", "Pequeno"}, {"M", "Medio"}, {"G", "Grande"}};
  for (uint16_t i = 0; i < 3; ++i) {
    ItemGradeDF item{};
    item.iGrade = kGradeTamanho;
    item.regItem.iPosicao = static_cast<uint16_t>(i + 1);
    Texto(item.regItem.szCodigoItemGrade, tamanhos[i][0]);
    Texto(item.regItem.szNomeItemGrade, tamanhos[i][1]);
    c.itensGrade.push_back(item);
  }
  return GravaCadastroProdutosDF(empresa, c);
}

HRESULT SemeiaRequerente(const std::string& empresa) {
  auto requerente = Zerado<tagREG_REQUERENTEPS>();
  requerente.lPosicao = kDemoRequerente;
  requerente.iPonteiroFilial = kDemoFilial;
  requerente.lCodigo = 1;
  Texto(requerente.szNome, "Almoxarifado central");
  Texto(requerente.szApelido, "ALMOX");
  const std::vector<RequerenteUsuarioDF> usuarios = {{kDemoFilial, 1, kDemoRequerente},
                                                     {kDemoFilial, 2, kDemoRequerente}};
  return GravaRequerentesDF(empresa, {requerente}, usuarios);
}

// An order of 120 shirts in size M, emitted five days before the installation's date and due at
// the end of its month.
HRESULT SemeiaPedido(const std::string& empresa, uint16_t usData) {
  int dia, mes, ano;
  QVSeparaData(usData, &dia, &mes, &ano);
  const uint16_t entrega = QVMontaData(DiasDoMes(mes, ano), mes, ano);
  PedidoSemeadoFT pedido;
  pedido.ulChave = kDemoPedido;
  pedido.regPedido.lPonteiroCliente = 1;
  pedido.regPedido.iPonteiroFilial = kDemoFilial;
  pedido.regPedido.iDataEmissao = static_cast<uint16_t>(usData - 5);
  pedido.regPedido.iDataEntrega = entrega;
  Texto(pedido.regPedido.szOrdemCompraCliente, "OC-2026-015");
  ItemPedidoSemeadoFT item;
  item.regItem.regPosProdutoServico = {static_cast<uint32_t>(kCamiseta), kItemGradeM, 0, 0};
  item.regItem.vQuantidade = Valor(12000);
  item.regItem.iDataEntrega = entrega;
  pedido.itens = {item};
  return GravaPedidosFT(empresa, {pedido});
}

// Branch 1's two storage places in one storage group, the inventory master and a grid for each
// kind of movement (numbered by its place in the record); then the opening stock: the shirts of
// each size in the store room, the fabric split between the store room and the shop floor. The 25
// shirts in size M fall short of the order's 120, so that a requirement has something to cover.
HRESULT SemeiaEstoque(const std::string& empresa) {
  CadastroEstoqueES c;
  const char* const locais[][3] = {{"ALMOX", "Almoxarifado", "EST.01"}, {"PRODUCAO", "Producao", "EST.02"}};
  for (const auto& texto : locais) {
    auto local = Zerado<LocalES>();
    Texto(local.regLocal.szCodigo, texto[0]);
    Texto(local.regLocal.szNome, texto[1]);
    Texto(local.regLocal.szClassificacao, texto[2]);
    local.iPonteiroFilial = kDemoFilial;
    c.locais.push_back(local);
  }
  auto grupo = Zerado<_REG_ES_GRUPO_ARMAZENAGEMPS>();
  grupo.iPonteiroFilial = kDemoFilial;
  Texto(grupo.szCodigo, "EST");
  c.grupos = {grupo};
  c.mestre = {Zerado<_REG_ES_MESTREPS>()};
  auto grades = Zerado<_REG_ES_GRADES_CONTABILIZACAOPS>();
  grades.iPonteiroFilial = kDemoFilial;
  for (uint16_t i = 0; i < 16; ++i) grades.iGrade[i] = static_cast<uint16_t>(i + 1);
  c.grades = {grades};
  if (const HRESULT hr = GravaCadastroEstoqueES(empresa, c); FAILED(hr)) return hr;

  // Each key's balance is set, not added to, so a second run leaves the same stock.
  auto saldo = [](int32_t produto, uint16_t itemGrade, uint16_t local, int64_t centesimos) {
    SaldoInicialES inicial{Zerado<_REG_ES_CHAVE_SALDOPS>(), Valor(centesimos)};
    inicial.regChave.regPosicaoProduto = {static_cast<uint32_t>(produto), itemGrade, 0, 0};
    inicial.regChave.iPonteiroFilial = kDemoFilial;
    inicial.regChave.iPonteiroLocalArmazenagem = local;
    return inicial;
  };
  return GravaSaldosIniciaisES(empresa, {saldo(kCamiseta, 1, kLocalAlmoxarifado, 4000),
                                         saldo(kCamiseta, kItemGradeM, kLocalAlmoxarifado, 2500),
                                         saldo(kCamiseta, 3, kLocalAlmoxarifado, 3000),
                                         saldo(kMalha, 0, kLocalAlmoxarifado, 35050),
                                         saldo(kMalha, 0, kLocalProducao, 4225)});
}

}  // namespace

HRESULT SemeiaDemo(const char* empresa, uint16_t usData) {
  if (const HRESULT hr = SemeiaFilial(empresa, usData); FAILED(hr)) return hr;
  if (const HRESULT hr = SemeiaUsuarios(empresa); FAILED(hr)) return hr;
  if (const HRESULT hr = SemeiaProdutos(empresa); FAILED(hr)) return hr;
  if (const HRESULT hr = SemeiaRequerente(empresa); FAILED(hr)) return hr;
  if (const HRESULT hr = SemeiaEstoque(empresa); FAILED(hr)) return hr;
  return SemeiaPedido(empresa, usData);
}
