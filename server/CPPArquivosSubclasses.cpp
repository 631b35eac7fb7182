#include "server/CPPArquivosSubclasses.h"

#include "server/CPPNomesArquivos.h"

using N = CPPNomesArquivos;

CPPArquivosFichaTecnica::CPPArquivosFichaTecnica() : CPPArquivos(false) {
  Declara(kArqCabecalho, N::ArqFichaTecnicaCabecalho, 64, m_arqCabecalho);
  Declara(kArqProcesso, N::ArqFichaTecnicaProcesso, 88, m_arqProcesso);
  Declara(kArqProduto, N::ArqFichaTecnicaProduto, 64, m_arqProduto);
  Declara(kArqPTLR, N::ArqFichaTecnicaPTLR, 128, m_arqPTLR);
  Declara(kArqPPFT, N::ArqFichaTecnicaPPFT, 16, m_arqPPFT);
  Declara(kArqGradeProduto, N::ArqFichaTecnicaGradeProduto, 32, m_arqGradeProduto);
  Declara(kArqEtiqueta, N::ArqFichaTecnicaEtiqueta, 64, m_arqEtiqueta);
  Declara(kArqDTPC, N::ArqFichaTecnicaDTPC, m_arqDTPC);
  Declara(kArqPNFT, N::ArqFichaTecnicaPNFT, m_arqPNFT);
  Declara(kArqELAY, N::ArqFichaTecnicaELAY, m_arqELAY);
}

CPPArquivosMetasProducao::CPPArquivosMetasProducao() : CPPArquivos(true) {
  Declara(kArqMetasProducao, N::PrefixoMetasProducao, 128, m_arqMetasProducao);
}

bool CPPArquivosMetasProducao::Existe(uint32_t lBits, uint16_t usMesAno) {
  if ((lBits & kArqMetasProducao) == 0) return true;
  return CPPArquivos::Existe(lBits, usMesAno);
}

CPPArquivosOP::CPPArquivosOP() : CPPArquivos(true) {
  Declara(kArqOP, N::PrefixoOP, 256, m_arqOP);
  Declara(kArqItem, N::PrefixoOPItem, 90, m_arqItem);
  Declara(kArqProcesso, N::PrefixoOPProcesso, 128, m_arqProcesso);
  Declara(kArqInsumo, N::PrefixoOPInsumo, 128, m_arqInsumo);
  Declara(kArqRP, N::PrefixoOPRP, 64, m_arqRP);
  Declara(kArqIP, N::PrefixoOPIP, 16, m_arqIP);
  Declara(kArqProcessoEtiqueta, N::PrefixoProcessoEtiqueta, 64, m_arqProcessoEtiqueta);
  Declara(kArqEtiquetaEmitida, N::PrefixoEtiquetaEmitida, 64, m_arqEtiquetaEmitida);
  Declara(kArqApontamento, N::PrefixoApontamento, 200, m_arqApontamento);
  Declara(kArqAS, N::PrefixoOPAS, 128, m_arqAS);
  Declara(kArqRetornoIndExterna, N::PrefixoRetornoIndExterna, 90, m_arqRetornoIndExterna);
  Declara(kArqApontamentoRecurso, N::PrefixoApontamentoRecurso, 64, m_arqApontamentoRecurso);
  Declara(kArqAO, N::PrefixoOPAO, 48, m_arqAO);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAC, 72, m_arqAC);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAQ, 40, m_arqAQ);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAI, 72, m_arqAI);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAD, 24, m_arqAD);
  AcrescentaAoAbrir(kArqAO, kArqIE);
  Declara(kArqMovtoApontamento, N::PrefixoMovtoApontamento, 104, m_arqMovtoApontamento);
  Declara(kArqLoteMovimento, N::PrefixoLoteMovimento, 62, m_arqLoteMovimento);
  Declara(kArqTI, N::PrefixoOPTI, 64, m_arqTI);
  Declara(kArqIO, N::PrefixoOPIO, 36, m_arqIO);
  Declara(kArqUP, N::PrefixoOPUP, 16, m_arqUP);
  Declara(kArqTA, N::PrefixoOPTA, 4, m_arqTA);
  Declara(kArqNotaFiscal, N::PrefixoNotaFiscal, 32, m_arqNotaFiscal);
  Declara(kArqRemessaIndustrializacao, N::PrefixoRemessaIndustrializacao, 60, m_arqRemessaIndustrializacao);
  Declara(kArqIR, N::PrefixoOPIR, 80, m_arqIR);
  Declara(kArqNecessidade, N::PrefixoNecessidade, 128, m_arqNecessidade);
  Declara(kArqNA, N::PrefixoOPNA, 16, m_arqNA);
  Declara(kArqIE, N::PrefixoOPIE, m_arqIE);
  Declara(kArqIN, N::PrefixoOPIN, m_arqIN);
  Declara(kArqID, N::PrefixoOPID, m_arqID);
  Declara(kArqRA, N::PrefixoOPRA, 4, m_arqRA);
}

CPPArquivosTipoRecurso::CPPArquivosTipoRecurso() : CPPArquivos(false) {
  Declara(kArqTipoRecurso, N::ArqTipoRecurso, 104, m_arqTipoRecurso);
  Declara(kArqOperacao, N::ArqTipoRecursoOperacao, 32, m_arqOperacao);
  Declara(kArqContador, N::ArqTipoRecursoContador, 64, m_arqContador);
  Declara(kArqQuantidade, N::ArqTipoRecursoQuantidade, 32, m_arqQuantidade);
  Declara(kArqIntervalo, N::ArqTipoRecursoIntervalo, 64, m_arqIntervalo);
  Declara(kArqDetalhe, N::ArqTipoRecursoDetalhe, 32, m_arqDetalhe);
  Declara(kArqTXDT, N::ArqTipoRecursoTXDT, m_arqTXDT);
}
