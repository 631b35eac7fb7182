// The readers: each turns one record of a COM server into its data class (model/) and gives back
// every array that the server allocated inside the record. A reader gets its server from the hub
// it derives from, asks for one record, copies it with the object's CopiarDe and frees the nested
// arrays with CoTaskMemFree: this is the one place on the client side where the ownership rule of
// the COM boundary (the server allocates, the caller frees) is carried out.
//
// Every reader answers a 32-bit HRESULT: the server's, or GetHR() when the hub has no interface.
// Unless its comment says "not cleared", a reader clears the object first, so on any failure the
// object is empty; a "not cleared" reader leaves the object as it was when it fails. The raw forms
// (a record in place of a data class) zero the caller's record and fill it; without an interface
// the record is left untouched. Readers keep no state and report nothing themselves.
//
// The interfaces' 32-bit `long` and `unsigned long` are int32_t and uint32_t here, so that record
// layouts and answers keep their width on every target. One thread at a time, as the hub.
#pragma once

#include <cstdint>

#include "access/CPPServidores.h"
#include "model/CPPDadosFilial.h"
#include "model/CPPDadosInfoProdServ.h"
#include "model/CPPDadosLocalES.h"
#include "model/CPPDadosLoteES.h"
#include "model/CPPDadosMestre.h"
#include "model/CPPDadosMunicipio.h"
#include "model/CPPDadosNotaFiscalFT.h"
#include "model/CPPDadosNotaFiscalRE.h"
#include "model/CPPDadosOperacaoProducao.h"
#include "model/CPPDadosOPMovimento.h"
#include "model/CPPDadosPedidoFT.h"
#include "model/CPPDadosPlanoDF.h"
#include "model/CPPDadosProcesso.h"
#include "model/CPPDadosProduto.h"
#include "model/CPPDadosRecurso.h"
#include "model/CPPDadosRequisicaoInterna.h"
#include "model/CPPDadosRequisitante.h"
#include "model/CPPDadosSaldoProdutoES.h"
#include "model/CPPDadosTipoOP.h"
#include "model/CPPDadosTipoRecurso.h"
#include "model/CPPDadosUnMedida.h"
#include "model/CPPDadosUsuario.h"
#include "platform/mfc/CString.h"

class CPPAcessoDados : public CPPServidores {
 public:
  CPPAcessoDados() = default;
  ~CPPAcessoDados() override = default;

  // The module's master settings (no key).
  int32_t LeMestre(CPPDadosMestre* mestre);

  // Requesters. Not cleared.
  int32_t LeRequisitante(int32_t ponteiro, CPPDadosRequisitante* requisitante);
  int32_t LeRequisitante(int32_t ponteiro, tagREG_REQUERENTEPS* registro);
  // The requester of a branch and user (their low 16 bits), found through the base system's
  // requester-per-user list; the object cleared when there is none.
  int32_t GetRequisitanteFromUsuario(int32_t primeiro, int32_t segundo, CPPDadosRequisitante* requisitante);

  // Internal requisitions. Not cleared. The raw form zeroes the record only once the interface is
  // there, and leaves the nested arrays to the caller (LiberaRequisicaoInterna); the data-class form
  // frees them.
  int32_t LeRequisicaoInterna(uint32_t chave, CPPDadosRequisicaoInterna* requisicao);
  int32_t LeRequisicaoInterna(uint32_t chave, _REG_REQUISICAOINTERNAPS* registro);
  // Cancels a requisition of status 0 (status 3 and every item marked), or with apenasVerificar
  // only says whether it could; an already cancelled one is a success without a write; any other
  // status 0x80040000 | 1588.
  int32_t CancelaRequisicaoInterna(uint32_t chave, bool apenasVerificar);
  // A new requisition from the object's record and lists (the server gives the key, in *chave;
  // the object's own is not read). The arrays built for the call are freed whatever the answer;
  // E_OUTOFMEMORY when they cannot be built, without a server call.
  int32_t IncluiRequisicaoInterna(const CPPDadosRequisicaoInterna& requisicao, uint32_t* chave);
  // Frees what a server read put in a requisition record, deepest first; a count whose array is
  // null frees nothing at that level. Every freed pointer and its count end 0.
  static void LiberaRequisicaoInterna(_REG_REQUISICAOINTERNAPS* registro);

  int32_t LeUsuario(int32_t ponteiro, CPPDadosUsuario* usuario);
  int32_t LeUsuario(int32_t ponteiro, REGUSU_PS* registro);

  // Branches. LeFilial sets the object's position to the pointer read.
  int32_t LeFilial(int32_t ponteiro, CPPDadosFilial* filial);
  int32_t LeFilial(int32_t ponteiro, __MIDL___MIDL_itf_Brisel_0000_0003* registro);
  int32_t ExisteFilial(const CString& codigo, CPPDadosFilial* filial);
  int32_t ExisteFilial(const CString& codigo, __MIDL___MIDL_itf_Brisel_0000_0003* registro);

  // Charts of accounts. The data-class form of LeContaGerencial is not cleared.
  int32_t LeContaContabil(int32_t ponteiro, CPPDadosPlanoDF* conta);
  int32_t LeContaContabil(int32_t ponteiro, _RegContaPS* registro);
  int32_t LeContaGerencial(int32_t ponteiro, CPPDadosPlanoDF* conta);
  int32_t LeContaGerencial(int32_t ponteiro, _RegContaPS* registro);
  // The object is filled only when found (pointer not 0) and given.
  int32_t ExisteContaGerencial(const CString& codigo, uint32_t& ponteiro, CPPDadosPlanoDF* conta);

  int32_t LeMunicipio(int32_t ponteiro, CPPDadosMunicipio* municipio);

  // Products and services. A price table of 0 stands for the master settings' sale table of
  // products (or of services), read at each call; its failure is the answer.
  int32_t LeProduto(int32_t ponteiro, CPPDadosProduto* produto, uint16_t usTabelaPreco);
  int32_t LeProduto(int32_t ponteiro, _REG_PRODUTOPS* registro, uint16_t usTabelaPreco);
  int32_t ExisteProduto(const CString& codigo, CPPDadosProduto* produto, uint16_t usTabelaPreco);
  int32_t ExisteProduto(const CString& codigo, int32_t& ponteiro, uint16_t usTabelaPreco);
  int32_t LeServico(int32_t ponteiro, CPPDadosServico* servico, uint16_t usTabelaPreco);
  int32_t ExisteServico(const CString& codigo, CPPDadosServico* servico, uint16_t usTabelaPreco);
  // Pointer 0: 0 and the empty text without a server call.
  int32_t LeDescricaoProduto(int32_t ponteiro, CString& descricao);
  // Units. Not cleared.
  int32_t LeUnidadeMedida(int32_t ponteiro, CPPDadosUnMedida* unidade);
  int32_t LeUnidadeMedida(int32_t ponteiro, _REG_UNIDADES_MEDIDAPS* registro);
  int32_t LeUnidadeServico(int32_t ponteiro, CPPDadosUnServico* unidade);
  // The first price item of a grid position under a price table; the server's array is freed
  // also when the call fails.
  int32_t LeItemTabelaPreco(_REG_FILTRO_LEITURA_TAB_PRECOSPS filtro, CPPDadosItemTabelaPreco* item);
  int32_t LeReferenciaGrade(_REG_POSICAO_PRODUTOPS posicao, CPPDadosReferenciaGrade* referencia);
  // Grade or item 0: the object cleared and 0, without a server call.
  int32_t LeItemGrade(uint16_t grade, uint16_t item, CPPDadosGradeProduto* itemGrade);
  int32_t ExisteItemGrade(uint16_t grade, const CString& codigo, CPPDadosGradeProduto* itemGrade);
  // The item's pointer (its iPosicao) when found.
  int32_t ExisteItemGrade(uint16_t grade, const CString& codigo, int32_t& ponteiro);
  // A product ('P') or a service (any other letter) summed up: price (a grid position's own price
  // item when the product has a first grid and the position names its item), texts, unit, decimals
  // (twice the unit's), kind and flags. The object is cleared first.
  int32_t LeProdutoServico(_REG_POSICAO_PRODUTOPS posicao, CPPDadosInfoProdServ* info, char tipo,
                           uint16_t usTabelaPreco);

  // Raw only.
  int32_t LeMensagem(int32_t ponteiro, _REG_MENSAGEMPS* registro);
  // The first 80 bytes of the category read, when the server answers one; else the zeroed record.
  int32_t LeInfSuplementar(int32_t ponteiro, _REG_CATEGORIAS_PS* registro);

  int32_t LeNotaFiscalFT(uint32_t chave, CPPDadosNotaFiscalFT* nota);
  int32_t LeNotaFiscalRE(uint32_t chave, CPPDadosNotaFiscalRE* nota);
  // The server allocates the whole sales-order record; it is freed with its arrays.
  int32_t LePedidoFT(uint32_t chave, CPPDadosPedidoFT* pedido);

  // Resource types of the module. usTipoLeitura goes to the server as given: bit 0 reads the detail
  // text, bit 1 or 2 the operations, bit 2 also each operation's counters, quantities, intervals and
  // details. Every array the server allocated is freed, on a failure too.
  int32_t LeTipoRecurso(uint32_t ponteiro, CPPDadosTipoRecurso* tipoRecurso, uint16_t usTipoLeitura);
  // By code, the server's filter ignored: the pointer (0 when absent, the object then cleared) and,
  // when an object is given, the type read with LeTipoRecurso, whose failure is the answer.
  int32_t ExisteTipoRecurso(const CString& codigo, uint32_t& ponteiro, CPPDadosTipoRecurso* tipoRecurso,
                            uint16_t usTipoLeitura);

  // Order types; cTipoLeitura goes to the server as given. The users' array is freed.
  int32_t LeTipoOP(int32_t ponteiro, CPPDadosTipoOP* tipoOP, uint8_t cTipoLeitura);

  // Processes; cTipoLeitura goes to the server as given (bit 7 reads the stops of the resources).
  // The resources' stops and the resources are freed, a null array at any level freeing nothing.
  int32_t LeProcesso(int32_t ponteiro, CPPDadosProcesso* processo, uint8_t cTipoLeitura);

  // Resources; cTipoLeitura goes to the server as given.
  int32_t LeRecurso(int32_t ponteiro, CPPDadosRecurso* recurso, uint8_t cTipoLeitura);
  // The manual counter changes of a resource; the list is freed whatever the answer.
  int32_t LeRecursoHistoricoContador(uint32_t ponteiroRecurso, CPPDadosListaRecursoHistoricoContador* historico);

  // Production operations. Not cleared.
  int32_t LeOperacaoProducao(int32_t ponteiro, CPPDadosOperacaoProducao* operacao);

  // By code, honouring the filter set on the class. The pointer forms give 0 when absent (and on a
  // failure); the data-class forms clear the object, which stays clear when the code is absent, and
  // read the pointer found (a process with reading kind 0), whose failure is the answer.
  int32_t ExisteProcesso(const CString& codigo, int32_t& ponteiro);
  int32_t ExisteProcesso(const CString& codigo, CPPDadosProcesso* processo);
  int32_t ExisteRecurso(const CString& codigo, int32_t& ponteiro);
  int32_t ExisteOperacaoProducao(const CString& codigo, int32_t& ponteiro);
  int32_t ExisteOperacaoProducao(const CString& codigo, CPPDadosOperacaoProducao* operacao);

  // Inventory (ES).
  int32_t LeMestreES(_REG_ES_MESTREPS* registro);
  // Not cleared.
  int32_t LeLocalES(int32_t ponteiro, CPPDadosLocalES* local);
  // The pointer only.
  int32_t ExisteLocalES(const CString& codigo, int32_t& ponteiro);
  // A location of a branch (the 16-bit argument); the object filled when found.
  int32_t ExisteLocalES(const CString& codigo, uint16_t filial, CPPDadosLocalES* local);
  int32_t LeLoteES(int32_t ponteiro, CPPDadosLoteES* lote);
  int32_t LeLoteES(int32_t ponteiro, _REG_ES_LOTEPS* registro);
  int32_t LeVolumeES(int32_t ponteiro, _REG_ES_VOLUMEPS* registro);
  // The movement's nested arrays are freed after the copy.
  int32_t LeMovimentoES(uint32_t chave, CPPDadosOPMovimento* movimento);
  int32_t LeSaldosProdutosES(CPPDadosFiltroSaldoProdutoES filtro, CPPDadosListaSaldosProdutosES* saldos);

 protected:
  // The summary of LeProdutoServico from what was read, for it and for the caches' reading of the
  // same: a product with its price already the grid position's own when it has one, or a service.
  static void PreencheInfoProduto(CPPDadosInfoProdServ* info, const _REG_POSICAO_PRODUTOPS& posicao,
                                  const CPPDadosProduto& produto, const CPPDadosUnMedida& unidade,
                                  const CPPDadosGradeProduto& item1, const CPPDadosGradeProduto& item2,
                                  const CPPDadosGradeProduto& item3);
  static void PreencheInfoServico(CPPDadosInfoProdServ* info, const _REG_POSICAO_PRODUTOPS& posicao,
                                  const CPPDadosServico& servico, const CPPDadosUnServico& unidade);
};
