// The listing of SementeDemo.h: every line comes from a call of a server that the hub created and
// initialised for the session, so what it shows is what the module's readers receive.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "access/CPPServidores.h"
#include "demo/SementeDemo.h"
#include "foundation/QVData.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/estoque/InterfacesEstoque.h"
#include "platform/family/vendas/RegistrosPedido.h"

namespace {

constexpr uint16_t kTabelasPreco[] = {1, 2};

bool Falha(const char* chamada, HRESULT hr) {
  printf("  %s answers 0x%08X\n", chamada, static_cast<unsigned>(hr));
  return false;
}

std::string Data(uint16_t usData) {
  char texto[11];
  return QVDataParaTexto(usData, texto, true);
}

// Two decimals of a currency value (four).
std::string Quantia(CY valor) {
  const int64_t centesimos = valor.int64 / 100;
  const int64_t absoluto = centesimos < 0 ? -centesimos : centesimos;
  char texto[32];
  snprintf(texto, sizeof texto, "%s%" PRId64 ".%02d", centesimos < 0 ? "-" : "", absoluto / 100,
           static_cast<int>(absoluto % 100));
  return texto;
}

bool MostraFilial(CPPServidores& hub) {
  IQVCN_Filial* filial = hub.GetIFilial();
  if (!filial) return Falha("GetIFilial", hub.GetHR());
  __MIDL___MIDL_itf_Brisel_0000_0003 registro;
  _REG_CN_PERIODOPS periodo{};
  _REG_CN_PARAMETROSPS parametros{};
  if (const HRESULT hr = filial->Le(kDemoFilial, &registro); FAILED(hr)) return Falha("IQVCN_Filial::Le", hr);
  if (const HRESULT hr = filial->LePeriodoAberto(&periodo); FAILED(hr))
    return Falha("IQVCN_Filial::LePeriodoAberto", hr);
  if (const HRESULT hr = filial->LeParametros(&parametros); FAILED(hr))
    return Falha("IQVCN_Filial::LeParametros", hr);
  printf("  branch %u %s \"%s\" (%s): open period %s-%s, sales-order integration %s\n", registro.iCodigo,
         registro.szCodigo, registro.szNomeFantasia, registro.szLocalizacao, Data(periodo.usDataInferior).c_str(),
         Data(periodo.usDataSuperior).c_str(), parametros.cIntegraPedidos ? "on" : "off");
  return true;
}

bool MostraUsuarios(CPPServidores& hub) {
  IQVDF_Usuario* usuario = hub.GetIUsuario();
  if (!usuario) return Falha("GetIUsuario", hub.GetHR());
  _REG_DF_LISTA_USUARIOSPS* lista = nullptr;
  if (const HRESULT hr = usuario->LeTodos(&lista); FAILED(hr)) return Falha("IQVDF_Usuario::LeTodos", hr);
  bool ok = true;
  for (uint16_t i = 0; ok && i < lista->usQuantidade; ++i) {
    const REGUSU_PS& registro = lista->pRegUsuarios[i];
    _REG_DF_PERMISSOES_USUARIOPS permissoes;
    if (const HRESULT hr = usuario->LePermissoes(static_cast<uint16_t>(lista->plChaves[i]), &permissoes); FAILED(hr)) {
      ok = Falha("IQVDF_Usuario::LePermissoes", hr);
      break;
    }
    std::string filiais;
    for (size_t n = 1; n < sizeof permissoes.cPermissao; ++n)
      if (permissoes.cPermissao[n]) filiais += (filiais.empty() ? "" : ", ") + std::to_string(n);
    printf("  user %d %s (%s): %sbranches allowed: %s\n", lista->plChaves[i], registro.szApelido, registro.szNome,
           registro.cUsuarioSupervisor ? "full access, " : "", filiais.empty() ? "none" : filiais.c_str());
  }
  CoTaskMemFree(lista->plChaves);
  CoTaskMemFree(lista->pRegUsuarios);
  CoTaskMemFree(lista);
  return ok;
}

bool MostraUnidades(IQVDF_Produto* produto) {
  uint32_t quantidade = 0;
  if (const HRESULT hr = produto->QuantidadeUnidadesMedida(&quantidade); FAILED(hr))
    return Falha("IQVDF_Produto::QuantidadeUnidadesMedida", hr);
  std::string unidades;
  for (uint32_t ponteiro = 1; ponteiro <= quantidade; ++ponteiro) {
    _REG_UNIDADES_MEDIDAPS unidade;
    if (const HRESULT hr = produto->LeUnidadeMedida(static_cast<int32_t>(ponteiro), &unidade); FAILED(hr))
      return Falha("IQVDF_Produto::LeUnidadeMedida", hr);
    unidades += std::string(ponteiro > 1 ? "; " : "") + std::to_string(ponteiro) + " " + unidade.szCodigo + " " +
                unidade.szDescricao + " (" + std::to_string(unidade.cCasasDecimais) + " decimals)";
  }
  printf("  units: %s\n", unidades.c_str());
  return true;
}

// The grid's items in order: every number from 1 that the grid server holds.
bool ItensGrade(IQVDF_GradesProduto* grades, uint16_t grade, std::string& itens) {
  for (uint16_t numero = 1;; ++numero) {
    _REG_ITENS_GRADE_PRODUTOPS item;
    const HRESULT hr = grades->LeItemGrade(grade, numero, &item);
    if (hr == kFamiliaNaoEncontrado && numero > 1) return true;
    if (FAILED(hr)) return Falha("IQVDF_GradesProduto::LeItemGrade", hr);
    itens += std::string(numero > 1 ? ", " : "") + item.szCodigoItemGrade + " " + item.szNomeItemGrade;
  }
}

bool MostraProdutos(CPPServidores& hub) {
  IQVDF_Produto* produto = hub.GetIProduto();
  if (!produto) return Falha("GetIProduto", hub.GetHR());
  IQVDF_GradesProduto* grades = hub.GetIGradeProduto();
  if (!grades) return Falha("GetIGradeProduto", hub.GetHR());
  if (!MostraUnidades(produto)) return false;
  uint32_t quantidade = 0;
  const BSTR todos = SysAllocString(u"X");
  const HRESULT hrQuantidade = produto->QuantidadeProdutos(todos, 0, &quantidade);
  SysFreeString(todos);
  if (FAILED(hrQuantidade)) return Falha("IQVDF_Produto::QuantidadeProdutos", hrQuantidade);
  std::vector<uint32_t> ponteiros(quantidade);
  if (const HRESULT hr = produto->PonteirosProdutos(quantidade, ponteiros.data()); FAILED(hr))
    return Falha("IQVDF_Produto::PonteirosProdutos", hr);
  for (const uint32_t ponteiro : ponteiros) {
    _REG_PRODUTOPS registro;
    std::string precos;
    for (const uint16_t tabela : kTabelasPreco) {
      if (const HRESULT hr = produto->LeProduto(static_cast<int32_t>(ponteiro), tabela, &registro); FAILED(hr))
        return Falha("IQVDF_Produto::LeProduto", hr);
      precos += std::string(precos.empty() ? "" : ", ") + "table " + std::to_string(tabela) + " " +
                Quantia(registro.vPrecoVendaV8);
    }
    _REG_UNIDADES_MEDIDAPS unidade;
    if (const HRESULT hr = produto->LeUnidadeMedida(registro.iPonteiroUnidadeMedidaEstoque, &unidade); FAILED(hr))
      return Falha("IQVDF_Produto::LeUnidadeMedida", hr);
    std::string grade;
    if (registro.iPonteiroGrade1 != 0) {
      std::string itens;
      if (!ItensGrade(grades, registro.iPonteiroGrade1, itens)) return false;
      grade = ", grid " + std::to_string(registro.iPonteiroGrade1) + ": " + itens;
    }
    printf("  product %u %s (%s), unit %s%s; prices: %s\n", ponteiro, registro.szCodigo, registro.szNome,
           unidade.szCodigo, grade.c_str(), precos.c_str());
  }
  return true;
}

// The requester, and the users of the branch who may name it.
bool MostraRequerente(CPPServidores& hub) {
  IQVDF_Requerente* requerente = hub.GetIRequerente();
  if (!requerente) return Falha("GetIRequerente", hub.GetHR());
  tagREG_REQUERENTEPS registro;
  if (const HRESULT hr = requerente->Le(kDemoRequerente, &registro); FAILED(hr))
    return Falha("IQVDF_Requerente::Le", hr);
  std::string usuarios;
  for (uint16_t usuario = 1; usuario <= 2; ++usuario) {
    _REG_DF_FILTRO_REQUERENTEPS filtro{};
    filtro.usPonteiroFilial = registro.iPonteiroFilial;
    filtro.usUsuario = usuario;
    _REG_DF_LISTA_REQUERENTESPS lista{};
    if (const HRESULT hr = requerente->BuscaPorUsuario(filtro, &lista); FAILED(hr))
      return Falha("IQVDF_Requerente::BuscaPorUsuario", hr);
    for (uint32_t i = 0; i < lista.ulQtd; ++i)
      if (lista.pregRequerentes[i].lPosicao == registro.lPosicao)
        usuarios += (usuarios.empty() ? "" : ", ") + std::to_string(usuario);
    CoTaskMemFree(lista.pregRequerentes);
  }
  printf("  requester %d %s (%s): branch %u, users %s\n", registro.lPosicao, registro.szApelido, registro.szNome,
         registro.iPonteiroFilial, usuarios.empty() ? "none" : usuarios.c_str());
  return true;
}

// The storage places, each with its storage group.
bool MostraLocais(CPPServidores& hub) {
  IQVES_Armazenagem* armazenagem = hub.GetIArmazenagem();
  if (!armazenagem) return Falha("GetIArmazenagem", hub.GetHR());
  const BSTR todos = SysAllocString(u"X");
  uint32_t quantidade = 0;
  const HRESULT hrQuantidade = armazenagem->QuantidadeLocais(todos, 0, &quantidade);
  SysFreeString(todos);
  if (FAILED(hrQuantidade)) return Falha("IQVES_Armazenagem::QuantidadeLocais", hrQuantidade);
  for (uint32_t ponteiro = 1; ponteiro <= quantidade; ++ponteiro) {
    _REG_ES_LOCAISPS local;
    if (const HRESULT hr = armazenagem->LeLocal(static_cast<int32_t>(ponteiro), &local, 0); FAILED(hr))
      return Falha("IQVES_Armazenagem::LeLocal", hr);
    // The group is named by the classification's text before its first ".".
    const std::string classificacao = local.szClassificacao;
    const std::string nomeGrupo = classificacao.substr(0, classificacao.find('.'));
    const BSTR prefixo = SysAllocString(std::u16string(nomeGrupo.begin(), nomeGrupo.end()).c_str());
    _REG_ES_GRUPO_ARMAZENAGEMPS grupo;
    const HRESULT hrGrupo = armazenagem->LeGrupoArmazenagem(prefixo, &grupo);
    SysFreeString(prefixo);
    if (FAILED(hrGrupo)) return Falha("IQVES_Armazenagem::LeGrupoArmazenagem", hrGrupo);
    printf("  storage place %d %s (%s): classification %s, group %s of branch %u\n", local.lPosicao, local.szCodigo,
           local.szNome, local.szClassificacao, grupo.szCodigo, grupo.iPonteiroFilial);
  }
  return true;
}

bool MostraSaldos(CPPServidores& hub) {
  IQVES_Movimento* movimento = hub.GetIMovimento();
  if (!movimento) return Falha("GetIMovimento", hub.GetHR());
  uint32_t quantidade = 0;
  if (const HRESULT hr = movimento->QuantidadeSaldosFilial(kDemoFilial, &quantidade); FAILED(hr))
    return Falha("IQVES_Movimento::QuantidadeSaldosFilial", hr);
  std::vector<_REG_ES_SALDOS_PRODUTOSPS> saldos(quantidade);
  if (const HRESULT hr = movimento->LeSaldosFilial(kDemoFilial, quantidade, saldos.data()); FAILED(hr))
    return Falha("IQVES_Movimento::LeSaldosFilial", hr);
  printf("  balances of branch %u:\n", kDemoFilial);
  for (const _REG_ES_SALDOS_PRODUTOSPS& saldo : saldos) {
    // The record starts with the balance's whole key.
    _REG_ES_CHAVE_SALDOPS chave;
    std::memcpy(&chave, &saldo, sizeof chave);
    printf("    product %u, grid item %u, place %u, stock type %u: %s\n", chave.regPosicaoProduto.lPonteiroProduto,
           chave.regPosicaoProduto.iPonteiroItemGrade1, chave.iPonteiroLocalArmazenagem, chave.cTipoEstoque,
           Quantia(saldo.vQuantidade).c_str());
  }
  return true;
}

bool MostraPedido(CPPServidores& hub) {
  IQVFT_Pedido* servidor = hub.GetIPedido();
  if (!servidor) return Falha("GetIPedido", hub.GetHR());
  tagREG_PEDIDOPS* pedido = nullptr;
  if (const HRESULT hr = servidor->LePedido(kDemoPedido, -1, &pedido); FAILED(hr))
    return Falha("IQVFT_Pedido::LePedido", hr);
  printf("  sales order %u %s: client %d, branch %u, emitted %s, due %s\n", kDemoPedido,
         pedido->szOrdemCompraCliente, pedido->lPonteiroCliente, pedido->iPonteiroFilial,
         Data(pedido->iDataEmissao).c_str(), Data(pedido->iDataEntrega).c_str());
  for (uint16_t i = 0; i < pedido->iQtdItens; ++i) {
    const tagREG_ITENSPEDIDOPS& item = pedido->pregItens[i];
    printf("    item %u: product %u, grid item %u, quantity %s, programmed %s, due %s\n", i,
           item.regPosProdutoServico.lPonteiroProduto, item.regPosProdutoServico.iPonteiroItemGrade1,
           Quantia(item.vQuantidade).c_str(), Quantia(item.vQuantidadeProgramada).c_str(),
           Data(item.iDataEntrega).c_str());
  }
  LiberaRegistroPedidoFT(pedido);
  CoTaskMemFree(pedido);
  return true;
}

}  // namespace

bool MostraDemo(CPPServidores& hub) {
  printf("\nCompany DEMO as the family's servers answer it:\n");
  bool ok = MostraFilial(hub);
  ok = MostraUsuarios(hub) && ok;
  ok = MostraProdutos(hub) && ok;
  ok = MostraRequerente(hub) && ok;
  ok = MostraLocais(hub) && ok;
  ok = MostraSaldos(hub) && ok;
  ok = MostraPedido(hub) && ok;
  return ok;
}
