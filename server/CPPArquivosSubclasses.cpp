#include "server/CPPArquivosSubclasses.h"

#include "server/CPPNomesArquivos.h"
#include "server/op/PPRegistrosOP.h"

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
  Declara(kArqOP, N::PrefixoOP, sizeof(PPDiscoOP), m_arqOP);
  Declara(kArqItem, N::PrefixoOPItem, sizeof(PPDiscoItem), m_arqItem);
  Declara(kArqProcesso, N::PrefixoOPProcesso, sizeof(PPDiscoProcesso), m_arqProcesso);
  Declara(kArqInsumo, N::PrefixoOPInsumo, sizeof(PPDiscoInsumo), m_arqInsumo);
  Declara(kArqRP, N::PrefixoOPRP, sizeof(PPDiscoRecursoProcesso), m_arqRP);
  Declara(kArqIP, N::PrefixoOPIP, sizeof(PPDiscoImagem), m_arqIP);
  Declara(kArqProcessoEtiqueta, N::PrefixoProcessoEtiqueta, sizeof(PPDiscoEtiqueta), m_arqProcessoEtiqueta);
  Declara(kArqEtiquetaEmitida, N::PrefixoEtiquetaEmitida, sizeof(PPDiscoEtiquetaEmitida), m_arqEtiquetaEmitida);
  Declara(kArqApontamento, N::PrefixoApontamento, sizeof(PPDiscoApontamento), m_arqApontamento);
  Declara(kArqAS, N::PrefixoOPAS, sizeof(PPDiscoApontamentoSimples), m_arqAS);
  Declara(kArqRetornoIndExterna, N::PrefixoRetornoIndExterna, sizeof(PPDiscoRetorno), m_arqRetornoIndExterna);
  Declara(kArqApontamentoRecurso, N::PrefixoApontamentoRecurso, sizeof(PPDiscoApontamentoRecurso),
          m_arqApontamentoRecurso);
  Declara(kArqAO, N::PrefixoOPAO, sizeof(PPDiscoOperacaoRecurso), m_arqAO);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAC, sizeof(PPDiscoContadorOperacao), m_arqAC);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAQ, sizeof(PPDiscoQuantidadeOperacao), m_arqAQ);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAI, sizeof(PPDiscoIntervaloOperacao), m_arqAI);
  DeclaraAcompanhante(kArqAO, N::PrefixoOPAD, sizeof(PPDiscoDetalheOperacao), m_arqAD);
  AcrescentaAoAbrir(kArqAO, kArqIE);
  Declara(kArqMovtoApontamento, N::PrefixoMovtoApontamento, sizeof(PPDiscoMovimento), m_arqMovtoApontamento);
  Declara(kArqLoteMovimento, N::PrefixoLoteMovimento, sizeof(PPDiscoLote), m_arqLoteMovimento);
  Declara(kArqTI, N::PrefixoOPTI, sizeof(PPDiscoTransitoIndustrializador), m_arqTI);
  Declara(kArqIO, N::PrefixoOPIO, sizeof(PPDiscoTransitoOP), m_arqIO);
  Declara(kArqUP, N::PrefixoOPUP, sizeof(PPDiscoApontamentoUltimoProcesso), m_arqUP);
  Declara(kArqTA, N::PrefixoOPTA, sizeof(PPDiscoChaveImportada), m_arqTA);
  Declara(kArqNotaFiscal, N::PrefixoNotaFiscal, sizeof(PPDiscoNotaRetorno), m_arqNotaFiscal);
  Declara(kArqRemessaIndustrializacao, N::PrefixoRemessaIndustrializacao, sizeof(PPDiscoRemessa),
          m_arqRemessaIndustrializacao);
  Declara(kArqIR, N::PrefixoOPIR, sizeof(PPDiscoInsumoRemessa), m_arqIR);
  Declara(kArqNecessidade, N::PrefixoNecessidade, sizeof(PPDiscoNecessidade), m_arqNecessidade);
  Declara(kArqNA, N::PrefixoOPNA, sizeof(PPDiscoMembroNecessidade), m_arqNA);
  Declara(kArqIE, N::PrefixoOPIE, m_arqIE);
  Declara(kArqIN, N::PrefixoOPIN, m_arqIN);
  Declara(kArqID, N::PrefixoOPID, m_arqID);
  Declara(kArqRA, N::PrefixoOPRA, sizeof(PPDiscoListaApontamento), m_arqRA);
}

HRESULT CPPArquivosOP::AbreExistentes(const CString& strEmpresa, uint16_t usMesAno, uint32_t lBits,
                                      uint32_t* plAbertos) {
  *plAbertos = 0;
  if (HRESULT hr = Inicializa(strEmpresa, 0, 0)) return hr;
  for (uint32_t bit = 1; bit != 0 && bit <= lBits; bit <<= 1) {
    if ((lBits & bit) && Existe(bit, usMesAno)) *plAbertos |= bit;
  }
  SetArquivos(*plAbertos);
  return *plAbertos ? SetModo(usMesAno, 'L') : S_OK;
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
