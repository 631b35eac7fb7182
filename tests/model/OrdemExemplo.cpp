#include "tests/model/OrdemExemplo.h"

namespace {

int32_t numero = 1000;

int32_t Proximo() { return ++numero; }

}  // namespace

CY Valor(int64_t v) {
  CY cy;
  cy.int64 = v;
  return cy;
}

CPPDadosOPMovimento MontaMovimento(int contabeis, int gerenciais) {
  CPPDadosOPMovimento movimento;
  movimento.SetQuantidade(Valor(Proximo()));
  movimento.SetPonteiroLote(Proximo());
  movimento.SetDocumento("DOC");
  movimento.SetTipoMovimento('E');
  for (int c = 0; c < contabeis; ++c) {
    CPPDadosMovimentoContabilizacao contabil;
    contabil.SetQtdGerencial(static_cast<uint16_t>(Proximo()));  // a stale count: never written out
    for (int g = 0; g < gerenciais; ++g) contabil.AdicionaGerencial({});
    movimento.AdicionaContabil(contabil);
  }
  return movimento;
}

CPPDadosRetornoIndustrializacaoExterna MontaRetorno() {
  CPPDadosRetornoIndustrializacaoExterna retorno;
  retorno.SetQuantidadeRetornada(Valor(Proximo()));
  retorno.SetComentario("retorno");
  retorno.SetMovimentoRefugo(MontaMovimento(1, 1));
  retorno.AdicionaMovimento(MontaMovimento(1, 2));
  retorno.AdicionaMovimento(MontaMovimento(0, 0));
  CPPDadosTransitoIndustrializador transito;
  transito.SetPonteiroIndustrializador(Proximo());
  for (int i = 0; i < 3; ++i) {
    CPPDadosTransitoIndustrializadorOP op;
    op.SetChaveOP(Proximo());
    transito.AdicionaOP(op);
  }
  retorno.AdicionaIndustrializador(transito);
  CPPDadosApontamentoUltProcessoRetInd ultimo;
  ultimo.SetIdxItemOP(static_cast<uint16_t>(Proximo()));
  retorno.AdicionaApontUltProcesso(ultimo);
  for (uint32_t chave : {11u, 12u}) retorno.AdicionaChaveApontamentoImportado(chave);
  return retorno;
}

CPPDadosApontamentoRecurso MontaRecurso() {
  CPPDadosApontamentoRecursoOperacao operacao;
  operacao.SetPonteiroOperacaoProducao(Proximo());
  for (int i = 0; i < 2; ++i) {
    CPPDadosApontamentoRecursoOperacaoContador contador;
    contador.SetContadorFinal(Valor(Proximo()));
    contador.SetNomeInicial("inicio");
    operacao.AdicionaContador(contador);
  }
  CPPDadosApontamentoRecursoOperacaoQuantidade quantidade;
  quantidade.SetQuantidade(Valor(Proximo()));
  operacao.AdicionaQuantidade(quantidade);
  CPPDadosApontamentoRecursoOperacaoIntervalo intervalo;
  intervalo.SetHoraFinal(static_cast<uint16_t>(Proximo()));
  operacao.AdicionaIntervalo(intervalo);
  CPPDadosApontamentoRecursoOperacaoDetalhe detalhe;
  detalhe.SetDetalhe("detalhe livre");
  operacao.AdicionaDetalhe(detalhe);
  CPPDadosApontamentoRecurso recurso;
  recurso.SetPonteiroRecurso(Proximo());
  recurso.AdicionaOperacao(operacao);
  return recurso;
}

CPPDadosOPProcessoApontamento MontaApontamento() {
  CPPDadosOPProcessoApontamento apontamento;
  apontamento.SetQuantidadeApontada(Valor(Proximo()));
  apontamento.SetPonteiroProcesso(Proximo());
  apontamento.SetComentario("apontamento");
  apontamento.SetTipoOperacao('I');
  apontamento.SetMovimentoRefugo(MontaMovimento(1, 2));
  CPPDadosRemessaIndustrializacao remessa;
  remessa.SetChaveRemessa(Proximo());
  for (int i = 0; i < 2; ++i) {
    CPPDadosRemessaInsumo insumo;
    insumo.SetDescricao("insumo enviado");
    insumo.SetPonteiroLocal(Proximo());
    remessa.AdicionaInsumo(insumo);
  }
  apontamento.SetRemessaIndustrializacao(remessa);
  apontamento.AdicionaMvtoEntrada(MontaMovimento(1, 1));
  apontamento.AdicionaMovimento(MontaMovimento(2, 3));
  apontamento.AdicionaMovimento(MontaMovimento(0, 0));
  apontamento.AdicionaRetornoIndustrializacao(MontaRetorno());
  CPPDadosApontamentoRecurso naoApontado;
  naoApontado.SetPonteiroRecurso(Proximo());
  apontamento.AdicionaRecursoNaoApontado(naoApontado);
  apontamento.AdicionaRecurso(MontaRecurso());
  for (uint32_t chave : {7u, 9u}) apontamento.AdicionaChaveApontamentoImportado(chave);
  return apontamento;
}

CPPDadosOP MontaOrdem() {
  CPPDadosOP ordem;
  ordem.SetNumeroOP(Proximo());
  ordem.SetChaveOP(Proximo());
  ordem.SetSituacao('2');
  ordem.SetObservacao("ordem de teste");
  ordem.SetDataEmissao(static_cast<uint16_t>(Proximo()));

  CPPDadosOPProcesso primeiro;
  primeiro.SetPonteiroProcesso(Proximo());
  primeiro.Setv8CustoDireto(Valor(Proximo()));
  CPPDadosOPProcessoInsumo insumo;
  insumo.SetQuantidadeTotal(Valor(Proximo()));
  primeiro.AdicionaInsumo(insumo);
  CPPDadosOPProcessoRecurso recurso;
  recurso.SetPonteiroRecurso(Proximo());
  primeiro.AdicionaRecurso(recurso);
  CPPDadosOPProcessoImagem imagem;
  imagem.SetNomeArquivo("C:\\IMAGENS\\PECA.BMP");
  primeiro.AdicionaImagem(imagem);
  CPPDadosOPProcessoEtiqueta etiqueta;
  etiqueta.SetLeiaute("leiaute");
  primeiro.AdicionaEtiqueta(etiqueta);
  CPPDadosOPProcessoApontamento simples;
  simples.SetQuantidadeApontada(Valor(Proximo()));
  primeiro.AdicionaApontamentoSimples(simples);
  primeiro.AdicionaApontamento(MontaApontamento());
  ordem.AdicionaProcesso(primeiro);

  CPPDadosOPProcesso segundo;
  segundo.SetPonteiroProcesso(Proximo());
  ordem.AdicionaProcesso(segundo);

  CPPDadosOPItem item;
  item.SetQuantidadeProgramada(Valor(Proximo()));
  item.SetOrdemCompraCliente("OC-1");
  ordem.AdicionaItem(item);
  return ordem;
}
