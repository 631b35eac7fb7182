#include "server/op/PPConversaoOP.h"

#include "server/cadastros/CPPServidorCadastro.h"

namespace {

// ---- The kinds -----------------------------------------------------------------------------------
// Each: Campos(para, de, texto) copies the fields that both records name alike (texto copies a
// fixed-width text; a CY goes through its int64, as CY's own assignment would bind a reference to a
// field that a packed record may leave unaligned); kPosicao, where the kind has one, is the COM
// record's product position, which the disk record keeps in flat fields (lPonteiroProduto,
// iPonteiroItemGrade1..3).

template <class Disco>
struct Tipo;

template <>
struct Tipo<PPDiscoOP> {
  static constexpr auto kPosicao = &_REG_VARMO_OPPS::regPosicaoProdutoServico;
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.lNumeroOP = de.lNumeroOP;
    para.ulPonteiroRequisitante = de.ulPonteiroRequisitante;
    para.ulPonteiroDepartamento = de.ulPonteiroDepartamento;
    para.ulChaveRequisicaoInterna = de.ulChaveRequisicaoInterna;
    para.lPonteiroTipoOP = de.lPonteiroTipoOP;
    para.lPonteiroFluxoProcesso = de.lPonteiroFluxoProcesso;
    para.lPonteiroContaContabil = de.lPonteiroContaContabil;
    para.lPonteiroForEPTETPE = de.lPonteiroForEPTETPE;
    para.lPonteiroOPGeradora = de.lPonteiroOPGeradora;
    para.lPonteiroColecao = de.lPonteiroColecao;
    para.usPonteiroUsuarioEmissao = de.usPonteiroUsuarioEmissao;
    para.usPonteiroUsuarioGravacao = de.usPonteiroUsuarioGravacao;
    para.usPonteiroFilial = de.usPonteiroFilial;
    para.usPonteiroMensagem = de.usPonteiroMensagem;
    para.usDataEmissao = de.usDataEmissao;
    para.usHoraEmissao = de.usHoraEmissao;
    para.usDataPrevisaoInicio = de.usDataPrevisaoInicio;
    para.usHoraPrevisaoInicio = de.usHoraPrevisaoInicio;
    para.usDataInicio = de.usDataInicio;
    para.usHoraInicio = de.usHoraInicio;
    para.usDataPrevisaoConclusao = de.usDataPrevisaoConclusao;
    para.usHoraPrevisaoConclusao = de.usHoraPrevisaoConclusao;
    para.usDataConclusao = de.usDataConclusao;
    para.usHoraConclusao = de.usHoraConclusao;
    para.usDataCancelamento = de.usDataCancelamento;
    para.usHoraCancelamento = de.usHoraCancelamento;
    para.usDataInterrupcao = de.usDataInterrupcao;
    para.usHoraInterrupcao = de.usHoraInterrupcao;
    para.cSituacao = de.cSituacao;
    para.cQuantidadeCasasDecimaisEstoque = de.cQuantidadeCasasDecimaisEstoque;
    para.cTipoPerdaInsumo = de.cTipoPerdaInsumo;
    para.cOPReprocesso = de.cOPReprocesso;
    para.cReprocessoConfirmado = de.cReprocessoConfirmado;
    para.cTodosRecursosDefinidos = de.cTodosRecursosDefinidos;
    para.cIndustrializacaoParaETPE = de.cIndustrializacaoParaETPE;
    para.cFazEntradaDepoisNoES = de.cFazEntradaDepoisNoES;
    para.cCustearSoProcessoApontado = de.cCustearSoProcessoApontado;
    para.cTratarInsumoEmbalagem = de.cTratarInsumoEmbalagem;
    para.cApontarOcorrenciaRecurso = de.cApontarOcorrenciaRecurso;
    para.cTipoProdutoServico = de.cTipoProdutoServico;
  }
};

template <>
struct Tipo<PPDiscoItem> {
  static constexpr auto kPosicao = &_REG_VARMO_OP_ITEMPS::regPosicaoProdutoServico;
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vQuantidadeProgramada.int64 = de.vQuantidadeProgramada.int64;
    para.vQuantidadeProduzida.int64 = de.vQuantidadeProduzida.int64;
    para.vQuantidadePerdida.int64 = de.vQuantidadePerdida.int64;
    para.vQuantidadeCancelada.int64 = de.vQuantidadeCancelada.int64;
    para.vQuantidadeReplicada.int64 = de.vQuantidadeReplicada.int64;
    para.lPonteiroPedidoNecessidade = de.lPonteiroPedidoNecessidade;
    para.ulChaveOPReprocessada = de.ulChaveOPReprocessada;
    para.ulChaveApontamentoOPOrigem = de.ulChaveApontamentoOPOrigem;
    para.usIdxItemPedido = de.usIdxItemPedido;
    para.cTipoItem = de.cTipoItem;
    para.cIntegradoQuantidade = de.cIntegradoQuantidade;
    para.cCancelado = de.cCancelado;
    para.cEhReprocessoUltProcesso = de.cEhReprocessoUltProcesso;
    para.cGerouOPQtdLimitada = de.cGerouOPQtdLimitada;
    para.cTipoProdutoServico = de.cTipoProdutoServico;
  }
};

template <>
struct Tipo<PPDiscoProcesso> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.v8CustoIndireto.int64 = de.v8CustoIndireto.int64;
    para.v8CustoDireto.int64 = de.v8CustoDireto.int64;
    para.v8CustoTerceirizacao.int64 = de.v8CustoTerceirizacao.int64;
    para.v8TempoPadraoMinPorUnidade.int64 = de.v8TempoPadraoMinPorUnidade.int64;
    para.vCapacidadeProdutiva.int64 = de.vCapacidadeProdutiva.int64;
    para.lPonteiroProcesso = de.lPonteiroProcesso;
    para.usMenorDataInicio = de.usMenorDataInicio;
    para.usMenorHoraInicio = de.usMenorHoraInicio;
    para.usMaiorDataFim = de.usMaiorDataFim;
    para.usMaiorHoraFim = de.usMaiorHoraFim;
    para.usPercentualQuebra = de.usPercentualQuebra;
    para.cRecebeApontamento = de.cRecebeApontamento;
    para.cSituacao = de.cSituacao;
    para.cApontarPesoBruto = de.cApontarPesoBruto;
    para.cCustoPorApontamento = de.cCustoPorApontamento;
  }
};

template <>
struct Tipo<PPDiscoInsumo> {
  static constexpr auto kPosicao = &_REG_VARMO_OP_PROCESSO_INSUMOPS::regPosicaoProduto;
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vQuantidadeUnitaria.int64 = de.vQuantidadeUnitaria.int64;
    para.vQuantidadeTotal.int64 = de.vQuantidadeTotal.int64;
    para.vQuantUnitariaComQuebra.int64 = de.vQuantUnitariaComQuebra.int64;
    para.vQuantTotalComQuebra.int64 = de.vQuantTotalComQuebra.int64;
    para.v8ValorUnitario.int64 = de.v8ValorUnitario.int64;
    para.lPonteiroLote = de.lPonteiroLote;
    para.lPonteiroVolumeES = de.lPonteiroVolumeES;
    para.lPonteiroForLote = de.lPonteiroForLote;
    para.lPonteiroForEPTETPE = de.lPonteiroForEPTETPE;
    para.lPonteiroCliEPTETPE = de.lPonteiroCliEPTETPE;
    para.usPonteiroLocalEstocagem = de.usPonteiroLocalEstocagem;
    para.usPercentualQuebra = de.usPercentualQuebra;
    para.cPermiteAlterar = de.cPermiteAlterar;
    para.cCancelado = de.cCancelado;
    para.cCasasDecimais = de.cCasasDecimais;
    para.cTipoProducao = de.cTipoProducao;
    para.cTipoEstoque = de.cTipoEstoque;
    para.cEhEmbalagem = de.cEhEmbalagem;
  }
};

template <>
struct Tipo<PPDiscoRecursoProcesso> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vCapacidade.int64 = de.vCapacidade.int64;
    para.vSetup.int64 = de.vSetup.int64;
    para.v8Custo.int64 = de.v8Custo.int64;
    para.vPercEficiencia.int64 = de.vPercEficiencia.int64;
    para.lPonteiroRecurso = de.lPonteiroRecurso;
    para.cDesconsiderarTempos = de.cDesconsiderarTempos;
    para.cTipo = de.cTipo;
    para.cCustoTempoPorUnidade = de.cCustoTempoPorUnidade;
    para.cTipoCusto = de.cTipoCusto;
  }
};

template <>
struct Tipo<PPDiscoEtiqueta> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto texto) {
    para.ulQuantidadeEmitida = de.ulQuantidadeEmitida;
    para.ulQuantidadeTotal = de.ulQuantidadeTotal;
    para.usQuantidade = de.usQuantidade;
    texto(para.szDescricao, de.szDescricao);
  }
};

template <>
struct Tipo<PPDiscoEtiquetaEmitida> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.lPonteiroProcesso = de.lPonteiroProcesso;
    para.usIdxProcessoEtiqueta = de.usIdxProcessoEtiqueta;
    para.usPonteiroUsuario = de.usPonteiroUsuario;
    para.usDataEmissao = de.usDataEmissao;
    para.usHoraEmissao = de.usHoraEmissao;
    para.ulQtdSolicitada = de.ulQtdSolicitada;
    para.ulNrLoteEtiqueta = de.ulNrLoteEtiqueta;
    para.ulTamanhoLoteEtiqueta = de.ulTamanhoLoteEtiqueta;
  }
};

// The fields that a simple report shares with a production report.
template <class Para, class De>
void CamposApontamento(Para& para, const De& de) {
  para.vQuantidadeApontada.int64 = de.vQuantidadeApontada.int64;
  para.vQuantidadeBruta.int64 = de.vQuantidadeBruta.int64;
  para.vQuantidadeTara.int64 = de.vQuantidadeTara.int64;
  para.lPonteiroOperacaoProducao = de.lPonteiroOperacaoProducao;
  para.usDataApontamentoInicio = de.usDataApontamentoInicio;
  para.usHoraApontamentoInicio = de.usHoraApontamentoInicio;
  para.usDataApontamentoFim = de.usDataApontamentoFim;
  para.usHoraApontamentoFim = de.usHoraApontamentoFim;
  para.usDataGravacao = de.usDataGravacao;
  para.usHoraGravacao = de.usHoraGravacao;
  para.usPonteiroUsuarioGravacao = de.usPonteiroUsuarioGravacao;
  para.cTipoOperacao = de.cTipoOperacao;
  para.cTipoProducao = de.cTipoProducao;
}

template <>
struct Tipo<PPDiscoApontamentoSimples> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    CamposApontamento(para, de);
  }
};

template <>
struct Tipo<PPDiscoApontamento> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    CamposApontamento(para, de);
    para.vQuantidadeRefugo.int64 = de.vQuantidadeRefugo.int64;
    para.vQuantidadeReprocessada.int64 = de.vQuantidadeReprocessada.int64;
    para.v8CustoTerceirizacao.int64 = de.v8CustoTerceirizacao.int64;
    para.lPonteiroPedidoNecessidade = de.lPonteiroPedidoNecessidade;
    para.lPonteiroNotaFiscalSaida = de.lPonteiroNotaFiscalSaida;
    para.ulChaveOPReprocesso = de.ulChaveOPReprocesso;
    para.lPonteiroProcesso = de.lPonteiroProcesso;
    para.lPonteiroSuplementoInfo1 = de.lPonteiroSuplementoInfo1;
    para.lPonteiroSuplementoInfo2 = de.lPonteiroSuplementoInfo2;
    para.lPonteiroSuplementoInfo3 = de.lPonteiroSuplementoInfo3;
    para.lPonteiroMotivoRefugo = de.lPonteiroMotivoRefugo;
    para.lPonteiroIndustrializador = de.lPonteiroIndustrializador;
    para.usIdxItemPedido = de.usIdxItemPedido;
    para.usQtdMvtoEntrada = de.usQtdMvtoEntrada;
    para.usQtdMvtoEstoque = de.usQtdMvtoEstoque;
    para.usQtdRetornoIndustExt = de.usQtdRetornoIndustExt;
    para.usQtdRecursosNaoApontados = de.usQtdRecursosNaoApontados;
    para.usQtdRecursos = de.usQtdRecursos;
    para.cLiberacaoItemPedido = de.cLiberacaoItemPedido;
    para.cTipoItem = de.cTipoItem;
    para.cPossuiEntradaPendente = de.cPossuiEntradaPendente;
    para.cPossuiRefugo = de.cPossuiRefugo;
    para.cEncerramentoForcado = de.cEncerramentoForcado;
    para.cGerouReprocesso = de.cGerouReprocesso;
    para.cUltimoProcesso = de.cUltimoProcesso;
    para.cExcluido = de.cExcluido;
    para.cEncerramentoRemIndustrializacao = de.cEncerramentoRemIndustrializacao;
    para.cTipoApontamento = de.cTipoApontamento;
    para.cImportacaoComBaixasPendentes = de.cImportacaoComBaixasPendentes;
    para.cProducaoExterna = de.cProducaoExterna;
  }
};

template <>
struct Tipo<PPDiscoApontamentoRecurso> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vCapacidade.int64 = de.vCapacidade.int64;
    para.vSetup.int64 = de.vSetup.int64;
    para.v8Custo.int64 = de.v8Custo.int64;
    para.vPercEficiencia.int64 = de.vPercEficiencia.int64;
    para.lPonteiroCentroCustos = de.lPonteiroCentroCustos;
    para.lPonteiroProcesso = de.lPonteiroProcesso;
    para.lPonteiroRecurso = de.lPonteiroRecurso;
    para.cTipo = de.cTipo;
    para.cDesconsiderarTempos = de.cDesconsiderarTempos;
    para.cCustoTempoPorUnidade = de.cCustoTempoPorUnidade;
    para.cTipoCusto = de.cTipoCusto;
  }
};

template <>
struct Tipo<PPDiscoRetorno> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vQuantidadeRetornada.int64 = de.vQuantidadeRetornada.int64;
    para.vQuantidadeRefugo.int64 = de.vQuantidadeRefugo.int64;
    para.lPonteiroRegistroEntrada = de.lPonteiroRegistroEntrada;
    para.ulChaveRetornoNFPendente = de.ulChaveRetornoNFPendente;
    para.lPonteiroMotivoRefugo = de.lPonteiroMotivoRefugo;
    para.usDataRetorno = de.usDataRetorno;
    para.usHoraRetorno = de.usHoraRetorno;
    para.usDataGravacao = de.usDataGravacao;
    para.usHoraGravacao = de.usHoraGravacao;
    para.usPonteiroUsuarioGravacao = de.usPonteiroUsuarioGravacao;
    para.cPossuiRefugo = de.cPossuiRefugo;
    para.cEncerramentoForcado = de.cEncerramentoForcado;
    para.cGeraTransitoIndustrializacao = de.cGeraTransitoIndustrializacao;
    para.cApontamentoAutomatico = de.cApontamentoAutomatico;
  }
};

template <>
struct Tipo<PPDiscoRemessa> {
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.ulChaveApontamentoOP = de.ulChaveApontamentoOP;
    para.ulChaveOP = de.ulChaveOP;
    para.ulChaveFaturaRemessa = de.ulChaveFaturaRemessa;
    para.lPonteiroClassificacao = de.lPonteiroClassificacao;
    para.lPonteiroFornecedor = de.lPonteiroFornecedor;
    para.usPonteiroHistorico = de.usPonteiroHistorico;
    para.usPonteiroCFOP = de.usPonteiroCFOP;
    para.usPonteiroFilial = de.usPonteiroFilial;
    para.usDataEmissaoRemessa = de.usDataEmissaoRemessa;
    para.usHoraEmissaoRemessa = de.usHoraEmissaoRemessa;
    para.cStatusFaturamento = de.cStatusFaturamento;
    para.cEnviarProdutoFinal = de.cEnviarProdutoFinal;
  }
};

template <>
struct Tipo<PPDiscoInsumoRemessa> {
  static constexpr auto kPosicao = &_REG_PP_REMESSA_INSUMOPS::regPosicaoProduto;
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vQuantidadeTotal.int64 = de.vQuantidadeTotal.int64;
    para.v8ValorUnitario.int64 = de.v8ValorUnitario.int64;
    para.lPonteiroVolumeES = de.lPonteiroVolumeES;
    para.lPonteiroLoteES = de.lPonteiroLoteES;
    para.lPonteiroForLote = de.lPonteiroForLote;
    para.lPonteiroForEPTETPE = de.lPonteiroForEPTETPE;
    para.lPonteiroCliEPTETPE = de.lPonteiroCliEPTETPE;
    para.lPonteiroLocal = de.lPonteiroLocal;
    para.usPonteiroUnidadeMedida = de.usPonteiroUnidadeMedida;
    para.cTipoEstoque = de.cTipoEstoque;
    para.cTipoProducao = de.cTipoProducao;
    para.cQuantidadeCasasDecimaisEstoque = de.cQuantidadeCasasDecimaisEstoque;
    para.cEhProdutoNaoCadastrado = de.cEhProdutoNaoCadastrado;
    para.cEhProdutoFinal = de.cEhProdutoFinal;
  }
};

// The generating document of a requirement: a sub-record in COM, two fields apart on disk.
void QuemGerou(_REG_VARMO_OP_NECESSIDADE& com, const PPDiscoNecessidade& disco) {
  com.RegQuemGerou.lChaveModulo = disco.lChaveModulo;
  com.RegQuemGerou.iData = disco.iData;
}
void QuemGerou(PPDiscoNecessidade& disco, const _REG_VARMO_OP_NECESSIDADE& com) {
  disco.lChaveModulo = com.RegQuemGerou.lChaveModulo;
  disco.iData = com.RegQuemGerou.iData;
}

template <>
struct Tipo<PPDiscoNecessidade> {
  static constexpr auto kPosicao = &_REG_VARMO_OP_NECESSIDADE::regPosProduto;
  template <class Para, class De, class Texto>
  static void Campos(Para& para, const De& de, Texto) {
    para.vQtdSolicitada.int64 = de.vQtdSolicitada.int64;
    para.vQtdProgramada.int64 = de.vQtdProgramada.int64;
    para.vQtdProduzida.int64 = de.vQtdProduzida.int64;
    para.vQtdCancelada.int64 = de.vQtdCancelada.int64;
    para.vQtdRefugo.int64 = de.vQtdRefugo.int64;
    para.vQtdAgrupada.int64 = de.vQtdAgrupada.int64;
    para.lPonteiroOPGeradora = de.lPonteiroOPGeradora;
    para.lPonteiroColecao = de.lPonteiroColecao;
    QuemGerou(para, de);
    para.usPonteiroFilial = de.usPonteiroFilial;
    para.usDataEmissao = de.usDataEmissao;
    para.usDataCancelamentoManual = de.usDataCancelamentoManual;
    para.usPonteiroUsuarioEmissao = de.usPonteiroUsuarioEmissao;
    para.usPonteiroUsuarioCancelManual = de.usPonteiroUsuarioCancelManual;
    para.cTipoRegistro = de.cTipoRegistro;
  }
};

// ---- Both ways over a kind -----------------------------------------------------------------------

template <class Disco>
void PosicaoParaCOM(_REG_POSICAO_PRODUTOPS& posicao, const Disco& disco) {
  posicao.lPonteiroProduto = disco.lPonteiroProduto;
  posicao.iPonteiroItemGrade1 = disco.iPonteiroItemGrade1;
  posicao.iPonteiroItemGrade2 = disco.iPonteiroItemGrade2;
  posicao.iPonteiroItemGrade3 = disco.iPonteiroItemGrade3;
}

template <class Disco>
void PosicaoParaDisco(Disco& disco, const _REG_POSICAO_PRODUTOPS& posicao) {
  disco.lPonteiroProduto = posicao.lPonteiroProduto;
  disco.iPonteiroItemGrade1 = posicao.iPonteiroItemGrade1;
  disco.iPonteiroItemGrade2 = posicao.iPonteiroItemGrade2;
  disco.iPonteiroItemGrade3 = posicao.iPonteiroItemGrade3;
}

template <class Disco>
concept ComPosicao = requires { Tipo<Disco>::kPosicao; };

template <class Disco, class COM>
void ParaCOM(const Disco& disco, COM& com) {
  Tipo<Disco>::Campos(com, disco, kPPTextoParaCOM);
  if constexpr (ComPosicao<Disco>) PosicaoParaCOM(com.*Tipo<Disco>::kPosicao, disco);
}

template <class Disco, class COM>
void ParaDisco(const COM& com, Disco& disco) {
  Tipo<Disco>::Campos(disco, com, kPPTextoParaDisco);
  if constexpr (ComPosicao<Disco>) PosicaoParaDisco(disco, com.*Tipo<Disco>::kPosicao);
}

}  // namespace

void PPConverteParaCOM(const PPDiscoOP& disco, _REG_VARMO_OPPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_VARMO_OPPS& com, PPDiscoOP& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoItem& disco, _REG_VARMO_OP_ITEMPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_VARMO_OP_ITEMPS& com, PPDiscoItem& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoProcesso& disco, _REG_VARMO_OP_PROCESSOPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_VARMO_OP_PROCESSOPS& com, PPDiscoProcesso& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoInsumo& disco, _REG_VARMO_OP_PROCESSO_INSUMOPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_VARMO_OP_PROCESSO_INSUMOPS& com, PPDiscoInsumo& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoRecursoProcesso& disco, _REG_PP_OP_RECURSOPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_PP_OP_RECURSOPS& com, PPDiscoRecursoProcesso& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoEtiqueta& disco, _REG_PP_OP_PROCESSO_ETIQUETAPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_PP_OP_PROCESSO_ETIQUETAPS& com, PPDiscoEtiqueta& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoEtiquetaEmitida& disco, _REG_PP_OP_ETIQUETA_EMITIDAPS& com) {
  ParaCOM(disco, com);
}
void PPConverteParaDisco(const _REG_PP_OP_ETIQUETA_EMITIDAPS& com, PPDiscoEtiquetaEmitida& disco) {
  ParaDisco(com, disco);
}

void PPConverteParaCOM(const PPDiscoApontamentoSimples& disco, _REG_VARMO_OP_APONTAMENTO& com) {
  ParaCOM(disco, com);
}
void PPConverteParaDisco(const _REG_VARMO_OP_APONTAMENTO& com, PPDiscoApontamentoSimples& disco) {
  ParaDisco(com, disco);
}

void PPConverteParaCOM(const PPDiscoApontamento& disco, _REG_VARMO_OP_APONTAMENTO& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_VARMO_OP_APONTAMENTO& com, PPDiscoApontamento& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoApontamentoRecurso& disco, _REG_PP_APONTAMENTO_RECURSOPS& com) {
  ParaCOM(disco, com);
}
void PPConverteParaDisco(const _REG_PP_APONTAMENTO_RECURSOPS& com, PPDiscoApontamentoRecurso& disco) {
  ParaDisco(com, disco);
}

void PPConverteParaCOM(const PPDiscoRetorno& disco, _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& com) {
  ParaCOM(disco, com);
}
void PPConverteParaDisco(const _REG_VARMO_RETORNO_INDUSTRIALIZACAO_EXTERNAPS& com, PPDiscoRetorno& disco) {
  ParaDisco(com, disco);
}

void PPConverteParaCOM(const PPDiscoRemessa& disco, _REG_PP_REMESSA_INDUSTRIALIZACAOPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_PP_REMESSA_INDUSTRIALIZACAOPS& com, PPDiscoRemessa& disco) {
  ParaDisco(com, disco);
}

void PPConverteParaCOM(const PPDiscoInsumoRemessa& disco, _REG_PP_REMESSA_INSUMOPS& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_PP_REMESSA_INSUMOPS& com, PPDiscoInsumoRemessa& disco) { ParaDisco(com, disco); }

void PPConverteParaCOM(const PPDiscoNecessidade& disco, _REG_VARMO_OP_NECESSIDADE& com) { ParaCOM(disco, com); }
void PPConverteParaDisco(const _REG_VARMO_OP_NECESSIDADE& com, PPDiscoNecessidade& disco) { ParaDisco(com, disco); }
