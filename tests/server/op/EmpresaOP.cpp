#include "tests/server/op/EmpresaOP.h"

#include <algorithm>
#include <cstring>

#include "access/PPLiberaRegistro.h"
#include "platform/family/base/ProdutoDF.h"
#include "server/cadastros/CPPServidorOperacaoProducao.h"
#include "server/cadastros/CPPServidorProcesso.h"
#include "server/cadastros/CPPServidorRecursos.h"
#include "server/cadastros/CPPServidorTipoOP.h"

namespace {

template <size_t N>
void Texto(char (&campo)[N], const std::string& texto) {
  std::memset(campo, 0, N);
  std::strncpy(campo, texto.c_str(), N - 1);
}

_REG_PRODUTOPS Produto(uint32_t ponteiro, const char* codigo, bool bTerceiros) {
  _REG_PRODUTOPS produto;
  std::memset(static_cast<void*>(&produto), 0, sizeof produto);
  produto.lPonteiroProduto = static_cast<int32_t>(ponteiro);
  Texto(produto.szCodigo, codigo);
  Texto(produto.szNome, codigo);
  produto.cTipo = 'P';
  produto.iPonteiroUnidadeMedidaEstoque = 1;
  produto.cQuantidadeCasasDecimaisEstoque = 2;
  produto.cProdutoDeTerceiros = bTerceiros ? 1 : 0;
  return produto;
}

void GravaProdutos() {
  CadastroProdutosDF cadastro;
  _REG_UNIDADES_MEDIDAPS unidade;
  std::memset(static_cast<void*>(&unidade), 0, sizeof unidade);
  Texto(unidade.szCodigo, "UN");
  Texto(unidade.szDescricao, "UNIDADE");
  unidade.cCasasDecimais = 2;
  cadastro.unidades = {unidade};
  cadastro.produtos = {Produto(1, "CAMISA", false), Produto(2, "TECIDO", false), Produto(3, "LINHA", true)};
  ASSERT_EQ(GravaCadastroProdutosDF(Instalacao::kEmpresa, cadastro), S_OK);
}

}  // namespace

CY Quantidade(int64_t inteiro, int64_t decimosMilesimos) {
  CY valor{};
  valor.int64 = inteiro * 10000 + decimosMilesimos;
  return valor;
}

_REG_VARMO_OPPS OPTeste::Registro() {
  for (size_t i = 0; i < processos.size(); ++i) {
    _REG_VARMO_OP_PROCESSOPS& processo = processos[i];
    processo.usQuantidadeInsumos = static_cast<uint16_t>(insumos[i].size());
    processo.pregInsumos = insumos[i].empty() ? nullptr : insumos[i].data();
    processo.usQuantidadeRecursos = static_cast<uint16_t>(recursos[i].size());
    processo.pregRecursos = recursos[i].empty() ? nullptr : recursos[i].data();
    processo.usQtdEtiquetas = static_cast<uint16_t>(etiquetas[i].size());
    processo.pregEtiquetas = etiquetas[i].empty() ? nullptr : etiquetas[i].data();
    processo.usQtdImagens = static_cast<uint16_t>(imagens[i].size());
    processo.pregImagens = imagens[i].empty() ? nullptr : imagens[i].data();
  }
  _REG_VARMO_OPPS registro = cabecalho;
  registro.usQtdProcessos = static_cast<uint16_t>(processos.size());
  registro.pregProcessos = processos.empty() ? nullptr : processos.data();
  registro.usQtdItens = static_cast<uint16_t>(itens.size());
  registro.pregItens = itens.empty() ? nullptr : itens.data();
  return registro;
}

void LiberaOP(_REG_VARMO_OPPS& registro) {
  for (uint16_t i = 0; registro.pregProcessos && i < registro.usQtdProcessos; ++i)
    LiberaRegistroOPProcesso(&registro.pregProcessos[i], 0);
  CoTaskMemFree(registro.pregProcessos);
  CoTaskMemFree(registro.pregItens);
  registro.pregProcessos = nullptr;
  registro.pregItens = nullptr;
  registro.usQtdProcessos = 0;
  registro.usQtdItens = 0;
}

_REG_VARMO_INICIALIZAPS EmpresaOP::Sessao(uint8_t cInicializarCompleto) {
  _REG_VARMO_INICIALIZAPS sessao = SessaoTeste();
  sessao.cInicializarCompleto = cInicializarCompleto;
  return sessao;
}

void EmpresaOP::SetUp() {
  EmpresaCadastros::SetUp();
  if (HasFatalFailure()) return;
  ASSERT_EQ(ServidorFiliais::GravaPeriodo(Instalacao::kEmpresa, {Dia(1, 5, 2024), Dia(31, 5, 2024), {}}), S_OK);
  GravaProdutos();

  CPPServidorTipoOP tipos;
  ASSERT_EQ(tipos.Inicializa(Sessao(), 0), S_OK);
  _REG_VARMO_TIPO_OPPS tipo{};
  Texto(tipo.szCodigo, "PROD");
  Texto(tipo.szDescricao, "PRODUCAO");
  tipo.cAtivo = 1;
  _REG_VARMO_TIPO_OP_USUARIOPS usuario{};
  usuario.usUsuario = kUsuarioTeste;
  usuario.cManutencao = usuario.cCancelamento = usuario.cInterrupcao = 1;
  tipo.usQtdUsuarios = 1;
  tipo.pregTipoOPUsuario = &usuario;
  ASSERT_EQ(tipos.Grava(0, tipo, &tipoOP_), S_OK);

  CPPServidorProcesso processos;
  ASSERT_EQ(processos.Inicializa(Sessao(), 0), S_OK);
  const char* codigos[] = {"CORTE", "COSTURA", "ACABAMENTO"};
  for (int i = 0; i < 3; ++i) {
    _REG_VARMO_PROCESSOPS processo{};
    Texto(processo.szCodigo, codigos[i]);
    Texto(processo.szDescricao, codigos[i]);
    processo.cAtivo = 1;
    ASSERT_EQ(processos.Grava(0, processo, &processos_[i]), S_OK);
  }

  CPPServidorOperacaoProducao operacoes;
  ASSERT_EQ(operacoes.Inicializa(Sessao(), 0), S_OK);
  _REG_VARMO_OPERACAO_PRODUCAOPS operacao{};
  Texto(operacao.szCodigo, "PRODUZIR");
  Texto(operacao.szDescricao, "PRODUZIR");
  operacao.cAtivo = 1;
  operacao.cVisualizarEmApontamentoOP = 1;
  ASSERT_EQ(operacoes.Grava(0, operacao, &operacao_), S_OK);

  CPPServidorRecursos recursos;
  ASSERT_EQ(recursos.Inicializa(Sessao(), 0), S_OK);
  _REG_PP_RECURSOPS recurso{};
  Texto(recurso.szCodigo, "MAQ01");
  Texto(recurso.szDescricao, "MAQUINA 1");
  recurso.cAtivo = 1;
  recurso.usPonteiroFilial = kFilial;
  recurso.vCapacidade = Quantidade(60);
  ASSERT_EQ(recursos.Grava(0, recurso, &recurso_), S_OK);

  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
}

void EmpresaOP::TearDown() {
  op_.Finaliza();
  EmpresaCadastros::TearDown();
}

PPRegistroMestre EmpresaOP::LeMestre() const {
  const std::string bytes = empresa_.Le("PPMESTRE.DAT");
  PPRegistroMestre mestre;
  EXPECT_GE(bytes.size(), sizeof mestre);
  std::memset(static_cast<void*>(&mestre), 0, sizeof mestre);
  std::memcpy(static_cast<void*>(&mestre), bytes.data(), std::min(bytes.size(), sizeof mestre));
  return mestre;
}

void EmpresaOP::DefineMestre(const std::function<void(PPRegistroMestre&)>& muda) {
  PPRegistroMestre mestre = LeMestre();
  muda(mestre);
  std::string bytes = empresa_.Le("PPMESTRE.DAT");
  bytes.replace(0, sizeof mestre, reinterpret_cast<const char*>(&mestre), sizeof mestre);
  empresa_.Escreve("PPMESTRE.DAT", bytes);
  ASSERT_EQ(op_.Inicializa(Sessao()), S_OK);
}

void EmpresaOP::DiretorioModulo(const char* modulo) {
  const Instalacao& instalacao = empresa_.GetInstalacao();
  instalacao.dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
  instalacao.GravaValor("SOFTWARE\\QV Rivovoda\\Empresas\\TESTE", modulo,
                        instalacao.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
}

OPTeste EmpresaOP::NovaOP(const std::vector<ProcessoOP>& processos, const std::vector<ItemOP>& itens) const {
  OPTeste op;
  _REG_VARMO_OPPS& cabecalho = op.cabecalho;
  cabecalho.lPonteiroTipoOP = tipoOP_;
  cabecalho.regPosicaoProdutoServico.lPonteiroProduto = kProdutoFabricado;
  cabecalho.usPonteiroFilial = kFilial;
  cabecalho.usPonteiroUsuarioEmissao = kUsuarioTeste;
  cabecalho.usDataEmissao = DiaFixado();
  cabecalho.usDataPrevisaoInicio = DiaFixado();
  cabecalho.usDataPrevisaoConclusao = DiaFixado() + 5;
  cabecalho.cSituacao = 1;
  cabecalho.cTipoProdutoServico = 'P';
  cabecalho.cQuantidadeCasasDecimaisEstoque = 2;
  for (const ProcessoOP& dado : processos) {
    _REG_VARMO_OP_PROCESSOPS processo{};
    processo.lPonteiroProcesso = dado.processo;
    processo.cRecebeApontamento = dado.recebeApontamento ? 1 : 0;
    processo.cSituacao = 1;
    op.processos.push_back(processo);
    auto& insumos = op.insumos.emplace_back();
    for (const InsumoOP& insumo : dado.insumos) {
      _REG_VARMO_OP_PROCESSO_INSUMOPS registro{};
      registro.regPosicaoProduto = {insumo.produto, insumo.grade.us1, insumo.grade.us2, insumo.grade.us3};
      registro.vQuantidadeUnitaria = registro.vQuantUnitariaComQuebra = insumo.quantidadeUnitaria;
      registro.vQuantidadeTotal = registro.vQuantTotalComQuebra = insumo.quantidadeTotal;
      registro.usPonteiroLocalEstocagem = 1;
      registro.cCasasDecimais = 2;
      insumos.push_back(registro);
    }
    auto& recursos = op.recursos.emplace_back();
    for (int32_t lRecurso : dado.recursos) {
      _REG_PP_OP_RECURSOPS registro{};
      registro.lPonteiroRecurso = lRecurso;
      recursos.push_back(registro);
    }
    auto& etiquetas = op.etiquetas.emplace_back();
    for (const EtiquetaOP& etiqueta : dado.etiquetas) {
      _REG_PP_OP_PROCESSO_ETIQUETAPS registro{};
      registro.ulQuantidadeTotal = etiqueta.ulQuantidadeTotal;
      registro.usQuantidade = etiqueta.usQuantidade;
      Texto(registro.szDescricao, etiqueta.descricao);
      etiquetas.push_back(registro);
    }
    auto& imagens = op.imagens.emplace_back();
    for (const std::string& imagem : dado.imagens) {
      _REG_PP_OP_PROCESSO_IMAGEMPS registro{};
      Texto(registro.szNomeArquivo, imagem);
      imagens.push_back(registro);
    }
  }
  for (const ItemOP& dado : itens) {
    _REG_VARMO_OP_ITEMPS item{};
    item.regPosicaoProdutoServico.lPonteiroProduto = dado.produto;
    item.vQuantidadeProgramada = item.vQuantidadeSaldo = dado.programada;
    item.cTipoItem = dado.cTipoItem;
    item.lPonteiroPedidoNecessidade = dado.lPonteiroPedidoNecessidade;
    item.usIdxItemPedido = dado.usIdxItemPedido;
    item.usPonteiroFilial = kFilial;
    item.usDataEmissao = DiaFixado();
    item.usDataEntrega = DiaFixado() + 5;
    item.usIdxItemOP = static_cast<uint16_t>(op.itens.size() + 1);
    item.cTipoProdutoServico = 'P';
    op.itens.push_back(item);
  }
  return op;
}
