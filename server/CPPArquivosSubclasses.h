// The open-file sets of the module's entities (CPPArquivos.h). Each class owns the file objects of
// one entity, names its bits, and declares per bit the catalogue file or period prefix and the
// record length, in the order in which the set opens them (fixed-record files first, then the
// variable-record texts; the order set opens RA after its texts). The member files are public:
// the server methods read and write through them once SetModo has opened them.
#pragma once

#include <cstdint>

#include "server/CPPArquivos.h"

// A technical sheet: header, processes, products, labels, grid and its texts (plain files).
class CPPArquivosFichaTecnica : public CPPArquivos {
 public:
  static constexpr uint32_t kArqCabecalho = 0x1;
  static constexpr uint32_t kArqProcesso = 0x2;
  static constexpr uint32_t kArqProduto = 0x4;
  static constexpr uint32_t kArqDTPC = 0x8;
  static constexpr uint32_t kArqPTLR = 0x10;
  static constexpr uint32_t kArqPPFT = 0x20;
  static constexpr uint32_t kArqPNFT = 0x40;
  static constexpr uint32_t kArqGradeProduto = 0x80;
  static constexpr uint32_t kArqEtiqueta = 0x100;
  static constexpr uint32_t kArqELAY = 0x200;

  CPPArquivosFichaTecnica();
  ~CPPArquivosFichaTecnica() override { Finaliza(); }

  CPPArqEx m_arqCabecalho;
  CPPArqEx m_arqProcesso;
  CPPArqEx m_arqProduto;
  CPPArqEx m_arqPTLR;
  CPPArqEx m_arqPPFT;
  CPPArqEx m_arqGradeProduto;
  CPPArqEx m_arqEtiqueta;
  CQVArqDyn m_arqDTPC;
  CQVArqDyn m_arqPNFT;
  CQVArqDyn m_arqELAY;
};

// The production targets of a month (period files).
class CPPArquivosMetasProducao : public CPPArquivos {
 public:
  static constexpr uint32_t kArqMetasProducao = 0x1;

  CPPArquivosMetasProducao();
  ~CPPArquivosMetasProducao() override { Finaliza(); }

  // True whenever the targets' file is not asked for, also for no bits.
  bool Existe(uint32_t lBits, uint16_t usMesAno) override;

  CPPArqEx m_arqMetasProducao;
};

// A month of production orders: the 32 period files of the orders, their items, processes,
// reports, labels, movements and texts.
class CPPArquivosOP : public CPPArquivos {
 public:
  static constexpr uint32_t kArqOP = 0x1;
  static constexpr uint32_t kArqItem = 0x2;
  static constexpr uint32_t kArqProcesso = 0x4;
  static constexpr uint32_t kArqInsumo = 0x8;
  static constexpr uint32_t kArqRP = 0x10;
  static constexpr uint32_t kArqIP = 0x20;
  static constexpr uint32_t kArqProcessoEtiqueta = 0x40;
  static constexpr uint32_t kArqEtiquetaEmitida = 0x80;
  static constexpr uint32_t kArqApontamento = 0x100;
  static constexpr uint32_t kArqAS = 0x200;
  static constexpr uint32_t kArqRetornoIndExterna = 0x400;
  static constexpr uint32_t kArqApontamentoRecurso = 0x800;
  static constexpr uint32_t kArqMovtoApontamento = 0x1000;
  static constexpr uint32_t kArqLoteMovimento = 0x2000;
  static constexpr uint32_t kArqTI = 0x4000;
  static constexpr uint32_t kArqIO = 0x8000;
  static constexpr uint32_t kArqUP = 0x10000;
  static constexpr uint32_t kArqTA = 0x20000;
  static constexpr uint32_t kArqNotaFiscal = 0x40000;
  static constexpr uint32_t kArqRemessaIndustrializacao = 0x80000;
  static constexpr uint32_t kArqIR = 0x100000;
  static constexpr uint32_t kArqNecessidade = 0x200000;
  static constexpr uint32_t kArqIE = 0x400000;
  static constexpr uint32_t kArqIN = 0x800000;
  static constexpr uint32_t kArqID = 0x1000000;
  static constexpr uint32_t kArqRA = 0x2000000;
  // One bit for five files: AO, AC, AQ, AI and AD. Existe and the whole-file load look at AO alone,
  // and once the group is open the texts of IE belong to the selection.
  static constexpr uint32_t kArqAO = 0x4000000;
  static constexpr uint32_t kArqNA = 0x8000000;

  CPPArquivosOP();
  ~CPPArquivosOP() override { Finaliza(); }

  // The files of lBits that exist in the month, opened read-only on the company; a missing one is
  // left closed and not made. *plAbertos the bits opened (none opened: S_OK, nothing open).
  HRESULT AbreExistentes(const CString& strEmpresa, uint16_t usMesAno, uint32_t lBits, uint32_t* plAbertos);

  CPPArqEx m_arqOP;
  CPPArqEx m_arqItem;
  CPPArqEx m_arqProcesso;
  CPPArqEx m_arqInsumo;
  CPPArqEx m_arqRP;
  CPPArqEx m_arqIP;
  CPPArqEx m_arqProcessoEtiqueta;
  CPPArqEx m_arqEtiquetaEmitida;
  CPPArqEx m_arqApontamento;
  CPPArqEx m_arqAS;
  CPPArqEx m_arqRetornoIndExterna;
  CPPArqEx m_arqApontamentoRecurso;
  CPPArqEx m_arqAO;
  CPPArqEx m_arqAC;
  CPPArqEx m_arqAQ;
  CPPArqEx m_arqAI;
  CPPArqEx m_arqAD;
  CPPArqEx m_arqMovtoApontamento;
  CPPArqEx m_arqLoteMovimento;
  CPPArqEx m_arqTI;
  CPPArqEx m_arqIO;
  CPPArqEx m_arqUP;
  CPPArqEx m_arqTA;
  CPPArqEx m_arqNotaFiscal;
  CPPArqEx m_arqRemessaIndustrializacao;
  CPPArqEx m_arqIR;
  CPPArqEx m_arqNecessidade;
  CPPArqEx m_arqNA;
  CPPArqEx m_arqRA;
  CQVArqDyn m_arqIE;
  CQVArqDyn m_arqIN;
  CQVArqDyn m_arqID;
};

// A resource type and its tables (plain files).
class CPPArquivosTipoRecurso : public CPPArquivos {
 public:
  static constexpr uint32_t kArqTipoRecurso = 0x1;
  static constexpr uint32_t kArqTXDT = 0x2;
  static constexpr uint32_t kArqOperacao = 0x4;
  static constexpr uint32_t kArqContador = 0x8;
  static constexpr uint32_t kArqQuantidade = 0x10;
  static constexpr uint32_t kArqIntervalo = 0x20;
  static constexpr uint32_t kArqDetalhe = 0x40;

  CPPArquivosTipoRecurso();
  ~CPPArquivosTipoRecurso() override { Finaliza(); }

  CPPArqEx m_arqTipoRecurso;
  CPPArqEx m_arqOperacao;
  CPPArqEx m_arqContador;
  CPPArqEx m_arqQuantidade;
  CPPArqEx m_arqIntervalo;
  CPPArqEx m_arqDetalhe;
  CQVArqDyn m_arqTXDT;
};
