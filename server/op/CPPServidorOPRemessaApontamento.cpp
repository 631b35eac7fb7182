// The shipment of an outsourced report: what the report fills in before the shipment is created.
#include <cstdint>

#include "platform/mfc/CString.h"
#include "server/op/CPPServidorOP.h"

namespace {

using RegistroFilial = __MIDL___MIDL_itf_Brisel_0000_0003;

// The supplier's base record through the handler's connection, which gets its interface, with the
// session, the first time it is asked for one.
HRESULT LeFornecedor(CConexaoCFRT& conexao, const CPPServidorOP& op, int32_t lPonteiroFornecedor,
                     _REG_CFRT_BASEPS* pRegBase) {
  if (!conexao.GetInterface()) {
    if (HRESULT hr = conexao.Inicializa(op.GetEmpresa(), op.GetUsuario(), op.GetNumeroSessao()); FAILED(hr))
      return hr;
  }
  return CConexaoCFRTGrupo(conexao.GetInterface()).Le(lPonteiroFornecedor, pRegBase);
}

}  // namespace

HRESULT CPPServidorOP::PreparaRemessaApontamento(const _REG_PP_MESTRE_INF_APONT_EXTERNO_FILIALPS& infApontamento,
                                                 uint16_t usData, uint16_t usHora,
                                                 _REG_PP_REMESSA_INDUSTRIALIZACAOPS* pRemessa) {
  if (!pRemessa) return E_POINTER;
  // Both reads come first, so that a failure leaves the shipment as it was.
  _REG_CFRT_BASEPS fornecedor;
  if (HRESULT hr = LeFornecedor(m_fornecedor, *this, pRemessa->lPonteiroFornecedor, &fornecedor); FAILED(hr))
    return hr;
  HRESULT hr = S_OK;
  IQVCN_Filial* servidorFilial = GetIFilial(&hr);
  if (!servidorFilial) return hr;
  RegistroFilial filial;
  if (hr = servidorFilial->Le(pRemessa->usPonteiroFilial, &filial); FAILED(hr)) return hr;

  pRemessa->usDataEmissaoRemessa = usData;
  pRemessa->usHoraEmissaoRemessa = usHora;
  pRemessa->usPonteiroHistorico = infApontamento.usSFAEPonteiroHistorico;
  pRemessa->lPonteiroClassificacao = infApontamento.lSFAEPonteiroClassificacao;
  const CString localFornecedor(fornecedor.szLocalizacao, sizeof fornecedor.szLocalizacao);
  const bool mesmoLocal = localFornecedor.CompareNoCase(CString(filial.szLocalizacao, sizeof filial.szLocalizacao)) == 0;
  pRemessa->usPonteiroCFOP =
      mesmoLocal ? infApontamento.usSFAEPonteiroCFOPRemessaInterna : infApontamento.usSFAEPonteiroCFOPRemessaExterna;
  return S_OK;
}
