#include "access/CPPAcessoDados.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "access/PPLiberaRegistro.h"
#include "platform/com/bstr.h"
#include "platform/com/taskmem.h"
#include "platform/win32/codepage.h"

namespace {

// What the product, service and location look-ups pass as their kind of reading: the letter 'X'.
constexpr int32_t kLeituraCompleta = 'X';
// What the invoice server's callers pass as the option of the short reading.
constexpr int32_t kOpcaoNotaFiscalLight = 3592;
// Every reading of a sales order.
constexpr int32_t kLeituraPedidoCompleta = -1;
// 0x80040000 | 1588: a requisition whose status is neither open nor cancelled.
constexpr int32_t kRequisicaoEmUso = static_cast<int32_t>(0x80040634);
constexpr uint8_t kRequisicaoAberta = 0;
constexpr uint8_t kRequisicaoCancelada = 3;

// A code as the servers take it: a BSTR converted from the ANSI code page, freed at the end of the
// call's scope.
class CodigoBSTR {
 public:
  explicit CodigoBSTR(const CString& codigo) {
    const std::u16string texto = WideFromAnsi(std::string_view(codigo, codigo.GetLength()));
    bstr_ = SysAllocStringLen(texto.data(), static_cast<UINT>(texto.size()));
  }
  ~CodigoBSTR() { SysFreeString(bstr_); }
  CodigoBSTR(const CodigoBSTR&) = delete;
  CodigoBSTR& operator=(const CodigoBSTR&) = delete;
  operator BSTR() const { return bstr_; }

 private:
  BSTR bstr_ = nullptr;
};

template <class Registro>
void Zera(Registro* registro) {
  std::memset(static_cast<void*>(registro), 0, sizeof(Registro));
}

// The raw form of a reader: without the server GetHR() and the record untouched; with it the record
// zeroed and `chamada(servidor, registro)` answered.
template <class Servidor, class Registro, class Chamada>
int32_t LeRegistro(CPPServidores& hub, Servidor* servidor, Registro* registro, Chamada chamada) {
  if (!servidor) return hub.GetHR();
  Zera(registro);
  return chamada(servidor, registro);
}

// LeRegistro as a reading for the data-class forms below.
template <class Servidor, class Chamada>
auto DoServidor(CPPServidores& hub, Servidor* servidor, Chamada chamada) {
  return [&hub, servidor, chamada](auto* registro) { return LeRegistro(hub, servidor, registro, chamada); };
}

// The data-class form of a "not cleared" reader: a zeroed record of its own read by `leitura`, and
// copied into the object only on success.
template <class Registro, class Dados, class Leitura>
int32_t LeDadosSemLimpar(Dados* dados, Leitura leitura) {
  Registro registro;
  Zera(&registro);
  const int32_t hr = leitura(&registro);
  if (FAILED(hr)) return hr;
  dados->CopiarDe(&registro);
  return hr;
}

// The data-class form of every other reader: the object cleared first, so a failure leaves it empty.
template <class Registro, class Dados, class Leitura>
int32_t LeDados(Dados* dados, Leitura leitura) {
  dados->Limpar();
  return LeDadosSemLimpar<Registro>(dados, leitura);
}

// Frees a block of the task allocator and gives the null that the caller stores in its place: the
// records are packed, so a reference to their pointer fields could be misaligned.
template <class T>
T* LiberaBloco(T* bloco) {
  if (bloco != nullptr) CoTaskMemFree(bloco);
  return nullptr;
}

// The read of a record whose arrays the server allocates, into an object the caller cleared: the
// record copied on success and its arrays freed on every path (a server that fails part way may
// have handed some out), a null array at any level freeing nothing.
template <class Dados, class Servidor, class Chamada>
int32_t LeLiberandoArrays(CPPServidores& hub, Servidor* servidor, Dados* dados, Chamada chamada) {
  if (!servidor) return hub.GetHR();
  typename Dados::Registro registro;
  Zera(&registro);
  const HRESULT hr = chamada(servidor, &registro);
  if (SUCCEEDED(hr)) dados->CopiarDe(&registro);
  Dados::LiberaArraysDoServidor(&registro);
  return hr;
}

// A look-up by code of the module's own classes, honouring the filter the caller set on the class:
// the pointer, 0 when absent or on a failure.
constexpr uint8_t kUtilizaFiltro = 1;

template <class Servidor>
int32_t ExistePorCodigo(CPPServidores& hub, Servidor* servidor, const CString& codigo, int32_t& ponteiro) {
  ponteiro = 0;
  if (!servidor) return hub.GetHR();
  int32_t encontrado = 0;
  const HRESULT hr = servidor->Existe(CodigoBSTR(codigo), &encontrado, kUtilizaFiltro);
  if (SUCCEEDED(hr)) ponteiro = encontrado;
  return hr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The module's master settings.

int32_t CPPAcessoDados::LeMestre(CPPDadosMestre* mestre) {
  return LeDados<_REG_VARMO_MESTRE>(
      mestre, DoServidor(*this, GetIMestrePP(), [&](auto* s, auto* r) { return s->Le(r); }));
}

// ---------------------------------------------------------------------------------------------
// Requesters and internal requisitions.

int32_t CPPAcessoDados::LeRequisitante(int32_t ponteiro, tagREG_REQUERENTEPS* registro) {
  return LeRegistro(*this, GetIRequerente(), registro, [&](auto* s, auto* r) { return s->Le(ponteiro, r); });
}

int32_t CPPAcessoDados::LeRequisitante(int32_t ponteiro, CPPDadosRequisitante* requisitante) {
  return LeDadosSemLimpar<tagREG_REQUERENTEPS>(requisitante, [&](auto* r) { return LeRequisitante(ponteiro, r); });
}

int32_t CPPAcessoDados::GetRequisitanteFromUsuario(int32_t primeiro, int32_t segundo,
                                                   CPPDadosRequisitante* requisitante) {
  requisitante->Limpar();
  IQVDF_Requerente* servidor = GetIRequerente();
  if (!servidor) return GetHR();
  _REG_DF_FILTRO_REQUERENTEPS filtro;
  Zera(&filtro);
  filtro.usPonteiroFilial = static_cast<uint16_t>(primeiro);
  filtro.usUsuario = static_cast<uint16_t>(segundo);
  _REG_DF_LISTA_REQUERENTESPS lista{};
  const HRESULT hr = servidor->BuscaPorUsuario(filtro, &lista);
  int32_t ponteiro = 0;
  if (SUCCEEDED(hr) && lista.ulQtd != 0 && lista.pregRequerentes != nullptr)
    std::memcpy(&ponteiro, lista.pregRequerentes, sizeof ponteiro);
  lista.pregRequerentes = LiberaBloco(lista.pregRequerentes);
  if (FAILED(hr)) return hr;
  if (ponteiro != 0) return LeRequisitante(ponteiro, requisitante);
  return hr;
}

int32_t CPPAcessoDados::LeRequisicaoInterna(uint32_t chave, _REG_REQUISICAOINTERNAPS* registro) {
  return LeRegistro(*this, GetIRequisicaoInterna(), registro, [&](auto* s, auto* r) { return s->Le(chave, r); });
}

int32_t CPPAcessoDados::LeRequisicaoInterna(uint32_t chave, CPPDadosRequisicaoInterna* requisicao) {
  _REG_REQUISICAOINTERNAPS registro;
  Zera(&registro);
  const int32_t hr = LeRequisicaoInterna(chave, &registro);
  if (SUCCEEDED(hr)) requisicao->CopiarDe(&registro);
  LiberaRequisicaoInterna(&registro);
  return hr;
}

void CPPAcessoDados::LiberaRequisicaoInterna(_REG_REQUISICAOINTERNAPS* registro) {
  if (registro->ulQtdItens != 0 && registro->pregItens != nullptr) {
    for (uint32_t i = 0; i < registro->ulQtdItens; ++i) {
      _REG_ITEMREQUISICAOINTERNAPS& item = registro->pregItens[i];
      if (item.ulQtdAdicionais != 0) {
        item.pregAdicionais = LiberaBloco(item.pregAdicionais);
        item.ulQtdAdicionais = 0;
      }
      if (item.pregAtendimentos != nullptr) {
        for (uint32_t a = 0; a < item.ulQtdAtendimentos; ++a) {
          _REG_ATENDIMENTOPS& atendimento = item.pregAtendimentos[a];
          if (atendimento.pregAdicionais != nullptr) {
            for (uint32_t e = 0; e < atendimento.ulQtdAdicionais; ++e) {
              _REG_ATENDIMENTO_ADICIONALPS& adicional = atendimento.pregAdicionais[e];
              if (adicional.ulQtdSubitens != 0) {
                adicional.pregSubitens = LiberaBloco(adicional.pregSubitens);
                adicional.ulQtdSubitens = 0;
              }
            }
          }
          if (atendimento.ulQtdAdicionais != 0) {
            atendimento.pregAdicionais = LiberaBloco(atendimento.pregAdicionais);
            atendimento.ulQtdAdicionais = 0;
          }
          atendimento.pregComposicao = LiberaBloco(atendimento.pregComposicao);
          atendimento.ulQtdComposicao = 0;
        }
      }
      if (item.ulQtdAtendimentos != 0) {
        item.pregAtendimentos = LiberaBloco(item.pregAtendimentos);
        item.ulQtdAtendimentos = 0;
      }
      if (item.ulQtdComposicao != 0) {
        item.pregComposicao = LiberaBloco(item.pregComposicao);
        item.ulQtdComposicao = 0;
      }
    }
  }
  registro->pregItens = LiberaBloco(registro->pregItens);
  registro->ulQtdItens = 0;
}

int32_t CPPAcessoDados::CancelaRequisicaoInterna(uint32_t chave, bool apenasVerificar) {
  _REG_REQUISICAOINTERNAPS registro;
  Zera(&registro);
  int32_t hr = LeRequisicaoInterna(chave, &registro);
  if (SUCCEEDED(hr)) {
    const uint8_t status = registro.cStatusPrincipal;
    if (status != kRequisicaoAberta && status != kRequisicaoCancelada) {
      hr = kRequisicaoEmUso;
    } else if (status == kRequisicaoAberta && !apenasVerificar) {
      registro.cStatusPrincipal = kRequisicaoCancelada;
      if (registro.pregItens != nullptr) {
        for (uint32_t i = 0; i < registro.ulQtdItens; ++i) {
          // The item's third and fourth 32-bit values over its first and second; the byte at 572
          // marks the item.
          auto* item = reinterpret_cast<uint8_t*>(&registro.pregItens[i]);
          std::memmove(item, item + 8, 8);
          item[offsetof(_REG_ITEMREQUISICAOINTERNAPS, cItemCancelado)] = 1;
        }
      }
      uint32_t chaveGravada = 0;
      IQVDF_RequisicaoInterna* servidor = GetIRequisicaoInterna();
      hr = servidor ? servidor->Grava(registro, &chaveGravada) : GetHR();
    }
  }
  LiberaRequisicaoInterna(&registro);
  return hr;
}

int32_t CPPAcessoDados::IncluiRequisicaoInterna(const CPPDadosRequisicaoInterna& requisicao, uint32_t* chave) {
  IQVDF_RequisicaoInterna* servidor = GetIRequisicaoInterna();
  if (!servidor) return GetHR();
  _REG_REQUISICAOINTERNAPS registro;
  Zera(&registro);
  int32_t hr = E_OUTOFMEMORY;
  try {
    requisicao.CopiarPara(&registro);
    hr = servidor->Inclui(registro, chave);
  } catch (const std::bad_alloc&) {
    // CopiarPara stopped part way; the record reaches what it built.
  }
  CPPDadosRequisicaoInterna::LiberaArraysDeCopiarPara(&registro);
  return hr;
}

// ---------------------------------------------------------------------------------------------
// Users, branches, charts of accounts, municipalities.

int32_t CPPAcessoDados::LeUsuario(int32_t ponteiro, REGUSU_PS* registro) {
  return LeRegistro(*this, GetIUsuario(), registro, [&](auto* s, auto* r) { return s->Le(ponteiro, r); });
}

int32_t CPPAcessoDados::LeUsuario(int32_t ponteiro, CPPDadosUsuario* usuario) {
  return LeDados<REGUSU_PS>(usuario, [&](auto* r) { return LeUsuario(ponteiro, r); });
}

int32_t CPPAcessoDados::LeFilial(int32_t ponteiro, __MIDL___MIDL_itf_Brisel_0000_0003* registro) {
  return LeRegistro(*this, GetIFilial(), registro, [&](auto* s, auto* r) { return s->Le(ponteiro, r); });
}

int32_t CPPAcessoDados::LeFilial(int32_t ponteiro, CPPDadosFilial* filial) {
  const int32_t hr =
      LeDados<__MIDL___MIDL_itf_Brisel_0000_0003>(filial, [&](auto* r) { return LeFilial(ponteiro, r); });
  if (SUCCEEDED(hr)) filial->SetPosicao(static_cast<uint32_t>(ponteiro));
  return hr;
}

int32_t CPPAcessoDados::ExisteFilial(const CString& codigo, __MIDL___MIDL_itf_Brisel_0000_0003* registro) {
  IQVCN_Filial* servidor = GetIFilial();
  if (!servidor) return GetHR();
  Zera(registro);
  int32_t ponteiro = 0;
  const HRESULT hr = servidor->Existe(CodigoBSTR(codigo), &ponteiro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  return LeFilial(ponteiro, registro);
}

int32_t CPPAcessoDados::ExisteFilial(const CString& codigo, CPPDadosFilial* filial) {
  filial->Limpar();
  IQVCN_Filial* servidor = GetIFilial();
  if (!servidor) return GetHR();
  int32_t ponteiro = 0;
  const HRESULT hr = servidor->Existe(CodigoBSTR(codigo), &ponteiro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  return LeFilial(ponteiro, filial);
}

int32_t CPPAcessoDados::LeContaContabil(int32_t ponteiro, _RegContaPS* registro) {
  return LeRegistro(*this, GetIPlanoContabil(), registro, [&](auto* s, auto* r) { return s->Le(ponteiro, r); });
}

int32_t CPPAcessoDados::LeContaContabil(int32_t ponteiro, CPPDadosPlanoDF* conta) {
  return LeDados<_RegContaPS>(conta, [&](auto* r) { return LeContaContabil(ponteiro, r); });
}

int32_t CPPAcessoDados::LeContaGerencial(int32_t ponteiro, _RegContaPS* registro) {
  return LeRegistro(*this, GetIPlanoGerencial(), registro, [&](auto* s, auto* r) { return s->Le(ponteiro, r); });
}

int32_t CPPAcessoDados::LeContaGerencial(int32_t ponteiro, CPPDadosPlanoDF* conta) {
  return LeDadosSemLimpar<_RegContaPS>(conta, [&](auto* r) { return LeContaGerencial(ponteiro, r); });
}

int32_t CPPAcessoDados::ExisteContaGerencial(const CString& codigo, uint32_t& ponteiro, CPPDadosPlanoDF* conta) {
  if (conta) conta->Limpar();
  IQVDF_Plano* servidor = GetIPlanoGerencial();
  if (!servidor) return GetHR();
  _RegContaPS registro;
  Zera(&registro);
  int32_t encontrado = 0;
  const HRESULT hr = servidor->Existe(CodigoBSTR(codigo), &encontrado, &registro);
  if (FAILED(hr)) return hr;
  ponteiro = static_cast<uint32_t>(encontrado);
  if (encontrado != 0 && conta) conta->CopiarDe(&registro);
  return hr;
}

int32_t CPPAcessoDados::LeMunicipio(int32_t ponteiro, CPPDadosMunicipio* municipio) {
  return LeDados<_REG_MUNICIPIO_PS>(
      municipio, DoServidor(*this, GetIMunicipio(), [&](auto* s, auto* r) { return s->Le(ponteiro, r); }));
}

// ---------------------------------------------------------------------------------------------
// Products, services, units, prices and grids.

namespace {

enum class TabelaDe { Produto, Servico };

// A price table of 0 takes the master settings' sale table, read at each call.
int32_t TabelaPrecoPadrao(CPPAcessoDados& acesso, TabelaDe de, uint16_t& usTabelaPreco) {
  if (usTabelaPreco != 0) return S_OK;
  CPPDadosMestre mestre;
  const int32_t hr = acesso.LeMestre(&mestre);
  if (FAILED(hr)) return hr;
  usTabelaPreco = static_cast<uint16_t>(de == TabelaDe::Produto ? mestre.GetPonteiroTabelaPrecoVendaProduto()
                                                                : mestre.GetPonteiroTabelaPrecoVendaServico());
  return S_OK;
}

}  // namespace

int32_t CPPAcessoDados::LeProduto(int32_t ponteiro, _REG_PRODUTOPS* registro, uint16_t usTabelaPreco) {
  IQVDF_Produto* servidor = GetIProduto();
  if (!servidor) return GetHR();
  if (const int32_t hr = TabelaPrecoPadrao(*this, TabelaDe::Produto, usTabelaPreco); FAILED(hr)) return hr;
  Zera(registro);
  return servidor->LeProduto(ponteiro, usTabelaPreco, registro);
}

int32_t CPPAcessoDados::LeProduto(int32_t ponteiro, CPPDadosProduto* produto, uint16_t usTabelaPreco) {
  return LeDados<_REG_PRODUTOPS>(produto, [&](auto* r) { return LeProduto(ponteiro, r, usTabelaPreco); });
}

int32_t CPPAcessoDados::ExisteProduto(const CString& codigo, CPPDadosProduto* produto, uint16_t usTabelaPreco) {
  produto->Limpar();
  IQVDF_Produto* servidor = GetIProduto();
  if (!servidor) return GetHR();
  if (const int32_t hr = TabelaPrecoPadrao(*this, TabelaDe::Produto, usTabelaPreco); FAILED(hr)) return hr;
  _REG_PRODUTOPS registro;
  Zera(&registro);
  int32_t ponteiro = 0;
  const HRESULT hr =
      servidor->ExisteProduto(CodigoBSTR(codigo), kLeituraCompleta, usTabelaPreco, &ponteiro, &registro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  produto->CopiarDe(&registro);
  return hr;
}

int32_t CPPAcessoDados::ExisteProduto(const CString& codigo, int32_t& ponteiro, uint16_t usTabelaPreco) {
  CPPDadosProduto produto;
  const int32_t hr = ExisteProduto(codigo, &produto, usTabelaPreco);
  if (SUCCEEDED(hr)) ponteiro = static_cast<int32_t>(produto.GetPonteiroProduto());
  return hr;
}

int32_t CPPAcessoDados::LeServico(int32_t ponteiro, CPPDadosServico* servico, uint16_t usTabelaPreco) {
  const int32_t hr = LeDados<_REG_SERVICOSPS>(servico, DoServidor(*this, GetIProduto(), [&](auto* s, auto* r) {
    if (const int32_t hr = TabelaPrecoPadrao(*this, TabelaDe::Servico, usTabelaPreco); FAILED(hr)) return hr;
    return s->LeServico(ponteiro, usTabelaPreco, r);
  }));
  if (SUCCEEDED(hr)) servico->SetPosicao(static_cast<uint32_t>(ponteiro));
  return hr;
}

int32_t CPPAcessoDados::ExisteServico(const CString& codigo, CPPDadosServico* servico, uint16_t usTabelaPreco) {
  servico->Limpar();
  IQVDF_Produto* servidor = GetIProduto();
  if (!servidor) return GetHR();
  if (const int32_t hr = TabelaPrecoPadrao(*this, TabelaDe::Servico, usTabelaPreco); FAILED(hr)) return hr;
  _REG_SERVICOSPS registro;
  Zera(&registro);
  int32_t ponteiro = 0;
  const HRESULT hr =
      servidor->ExisteServico(CodigoBSTR(codigo), kLeituraCompleta, usTabelaPreco, &ponteiro, &registro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  servico->CopiarDe(&registro);
  servico->SetPosicao(static_cast<uint32_t>(ponteiro));
  return hr;
}

int32_t CPPAcessoDados::LeDescricaoProduto(int32_t ponteiro, CString& descricao) {
  descricao = "";
  if (ponteiro == 0) return S_OK;
  IQVDF_Produto* servidor = GetIProduto();
  if (!servidor) return GetHR();
  BSTR texto = nullptr;
  const HRESULT hr = servidor->LeDescricaoProduto(ponteiro, &texto);
  if (SUCCEEDED(hr) && texto != nullptr) {
    const std::string ansi = AnsiFromWide(std::u16string_view(texto, SysStringLen(texto)));
    descricao = CString(ansi.c_str(), static_cast<int>(ansi.size()));
  }
  SysFreeString(texto);
  return hr;
}

int32_t CPPAcessoDados::LeUnidadeMedida(int32_t ponteiro, _REG_UNIDADES_MEDIDAPS* registro) {
  return LeRegistro(*this, GetIProduto(), registro,
                    [&](auto* s, auto* r) { return s->LeUnidadeMedida(ponteiro, r); });
}

int32_t CPPAcessoDados::LeUnidadeMedida(int32_t ponteiro, CPPDadosUnMedida* unidade) {
  return LeDadosSemLimpar<_REG_UNIDADES_MEDIDAPS>(unidade, [&](auto* r) { return LeUnidadeMedida(ponteiro, r); });
}

int32_t CPPAcessoDados::LeUnidadeServico(int32_t ponteiro, CPPDadosUnServico* unidade) {
  return LeDadosSemLimpar<_REG_UNIDADES_MEDIDA_SERVICOSPS>(
      unidade, DoServidor(*this, GetIProduto(), [&](auto* s, auto* r) { return s->LeUnidadeServico(ponteiro, r); }));
}

int32_t CPPAcessoDados::LeItemTabelaPreco(_REG_FILTRO_LEITURA_TAB_PRECOSPS filtro, CPPDadosItemTabelaPreco* item) {
  item->Limpar();
  IQVDF_Produto* servidor = GetIProduto();
  if (!servidor) return GetHR();
  _REG_LISTA_ITENS_TAB_PRECOSPS lista{};
  const HRESULT hr = servidor->LeItemTabelaPreco(filtro, &lista);
  if (SUCCEEDED(hr) && lista.ulQtd != 0 && lista.pregItens != nullptr) item->CopiarDe(&lista.pregItens[0]);
  lista.pregItens = LiberaBloco(lista.pregItens);
  return hr;
}

int32_t CPPAcessoDados::LeReferenciaGrade(_REG_POSICAO_PRODUTOPS posicao, CPPDadosReferenciaGrade* referencia) {
  referencia->Limpar();
  IQVDF_Produto* servidor = GetIProduto();
  if (!servidor) return GetHR();
  _REG_REFERENCIA_GRADEPS filtro;
  Zera(&filtro);
  filtro.regPosicaoProduto = posicao;
  _REG_LISTA_REFERENCIAS_GRADEPS lista{};
  const HRESULT hr = servidor->LeReferenciaGrade(filtro, &lista);
  if (SUCCEEDED(hr) && lista.ulQtd != 0 && lista.pregReferencias != nullptr)
    referencia->CopiarDe(&lista.pregReferencias[0]);
  lista.pregReferencias = LiberaBloco(lista.pregReferencias);
  return hr;
}

int32_t CPPAcessoDados::LeItemGrade(uint16_t grade, uint16_t item, CPPDadosGradeProduto* itemGrade) {
  itemGrade->Limpar();
  if (grade == 0 || item == 0) return S_OK;
  return LeDadosSemLimpar<_REG_ITENS_GRADE_PRODUTOPS>(
      itemGrade,
      DoServidor(*this, GetIGradeProduto(), [&](auto* s, auto* r) { return s->LeItemGrade(grade, item, r); }));
}

int32_t CPPAcessoDados::ExisteItemGrade(uint16_t grade, const CString& codigo, CPPDadosGradeProduto* itemGrade) {
  itemGrade->Limpar();
  IQVDF_GradesProduto* servidor = GetIGradeProduto();
  if (!servidor) return GetHR();
  _REG_ITENS_GRADE_PRODUTOPS registro;
  Zera(&registro);
  int32_t ponteiro = 0;
  const HRESULT hr = servidor->ExisteItemGrade(grade, CodigoBSTR(codigo), &ponteiro, &registro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  itemGrade->CopiarDe(&registro);
  return hr;
}

int32_t CPPAcessoDados::ExisteItemGrade(uint16_t grade, const CString& codigo, int32_t& ponteiro) {
  CPPDadosGradeProduto itemGrade;
  const int32_t hr = ExisteItemGrade(grade, codigo, &itemGrade);
  if (SUCCEEDED(hr)) ponteiro = itemGrade.GetPosicao();
  return hr;
}

int32_t CPPAcessoDados::LeProdutoServico(_REG_POSICAO_PRODUTOPS posicao, CPPDadosInfoProdServ* info, char tipo,
                                         uint16_t usTabelaPreco) {
  info->Limpar();
  if (!GetIProduto()) return GetHR();
  const auto ponteiro = static_cast<int32_t>(posicao.lPonteiroProduto);

  if (tipo != 'P') {
    CPPDadosServico servico;
    int32_t hr = LeServico(ponteiro, &servico, usTabelaPreco);
    if (FAILED(hr)) return hr;
    CPPDadosUnServico unidade;
    hr = LeUnidadeServico(servico.GetPonteiroUnidadeMedida(), &unidade);
    if (FAILED(hr)) return hr;
    PreencheInfoServico(info, posicao, servico, unidade);
    return hr;
  }

  int32_t hr = TabelaPrecoPadrao(*this, TabelaDe::Produto, usTabelaPreco);
  if (FAILED(hr)) return hr;
  CPPDadosProduto produto;
  hr = LeProduto(ponteiro, &produto, usTabelaPreco);
  if (FAILED(hr)) return hr;
  CPPDadosUnMedida unidade;
  hr = LeUnidadeMedida(produto.GetPonteiroUnidadeMedidaEstoque(), &unidade);
  if (FAILED(hr)) return hr;
  CPPDadosGradeProduto itens[3];
  const uint16_t grades[3] = {produto.GetPonteiroGrade1(), produto.GetPonteiroGrade2(), produto.GetPonteiroGrade3()};
  const uint16_t itensPosicao[3] = {posicao.iPonteiroItemGrade1, posicao.iPonteiroItemGrade2,
                                    posicao.iPonteiroItemGrade3};
  for (int g = 0; g < 3; ++g) {
    hr = LeItemGrade(grades[g], itensPosicao[g], &itens[g]);
    if (FAILED(hr)) return hr;
  }
  // A grid position has a price of its own in the price table.
  if (grades[0] != 0 && posicao.iPonteiroItemGrade1 != 0) {
    _REG_FILTRO_LEITURA_TAB_PRECOSPS filtro{posicao.lPonteiroProduto, usTabelaPreco, posicao.iPonteiroItemGrade1,
                                            posicao.iPonteiroItemGrade2, posicao.iPonteiroItemGrade3, 0};
    CPPDadosItemTabelaPreco itemPreco;
    hr = LeItemTabelaPreco(filtro, &itemPreco);
    if (FAILED(hr)) return hr;
    produto.SetPrecoVendaV8(itemPreco.GetPrecoVendaV8());
  }
  PreencheInfoProduto(info, posicao, produto, unidade, itens[0], itens[1], itens[2]);
  return hr;
}

void CPPAcessoDados::PreencheInfoProduto(CPPDadosInfoProdServ* info, const _REG_POSICAO_PRODUTOPS& posicao,
                                         const CPPDadosProduto& produto, const CPPDadosUnMedida& unidade,
                                         const CPPDadosGradeProduto& item1, const CPPDadosGradeProduto& item2,
                                         const CPPDadosGradeProduto& item3) {
  info->SetPosicaoProdutoServico(posicao);
  info->SetPrecoVendaV8(produto.GetPrecoVendaV8());
  info->SetClassificacao(produto.GetClassificacao());
  info->SetCodigo(produto.GetCodigo());
  info->SetReferencia(produto.GetReferencia());
  info->SetNomeProdServ(produto.GetNome());
  info->SetPonteiroUnidadeMedidaEstoque(produto.GetPonteiroUnidadeMedidaEstoque());
  info->SetQuantidadeCasasDecimais(static_cast<char>(produto.GetQuantidadeCasasDecimais()));
  info->SetCasasDecimaisEstoque(static_cast<char>(produto.GetQuantidadeCasasDecimaisEstoque()));
  info->SetUnidadeMedida(unidade.GetCodigo());
  info->SetCasasDecimais(2 * unidade.GetCasasDecimais());
  info->SetPrazoValidade(produto.GetPrazoValidade());
  info->SetTipoProdServ('P');
  info->SetTerceiro(produto.GetProdutoDeTerceiros() != 0);
  info->SetInativo(produto.GetInativo() != 0);
  info->SetDadosProduto(produto);
  info->SetItemGrade1(item1);
  info->SetItemGrade2(item2);
  info->SetItemGrade3(item3);
}

void CPPAcessoDados::PreencheInfoServico(CPPDadosInfoProdServ* info, const _REG_POSICAO_PRODUTOPS& posicao,
                                         const CPPDadosServico& servico, const CPPDadosUnServico& unidade) {
  info->SetPosicaoProdutoServico(posicao);
  info->SetPrecoVendaV8(servico.GetPrecoVendaV8());
  info->SetClassificacao(servico.GetClassificacao());
  info->SetCodigo(servico.GetCodigo());
  info->SetNomeProdServ(servico.GetNome());
  info->SetUnidadeMedida(unidade.GetCodigo());
  info->SetQuantidadeCasasDecimais(static_cast<char>(servico.GetQuantidadeCasasDecimais()));
  info->SetCasasDecimaisEstoque(static_cast<char>(servico.GetQuantidadeCasasDecimais()));
  info->SetCasasDecimais(2 * unidade.GetCasasDecimais());
  info->SetTipoProdServ('S');
  info->SetTerceiro(servico.GetServicoDeTerceiros() != 0);
  info->SetInativo(servico.GetInativo() != 0);
}

// ---------------------------------------------------------------------------------------------
// Messages, categories, invoices, sales orders.

int32_t CPPAcessoDados::LeMensagem(int32_t ponteiro, _REG_MENSAGEMPS* registro) {
  return LeRegistro(*this, GetIMensagem(), registro, [&](auto* s, auto* r) { return s->Le(ponteiro, r); });
}

int32_t CPPAcessoDados::LeInfSuplementar(int32_t ponteiro, _REG_CATEGORIAS_PS* registro) {
  IQVDF_CTG* servidor = GetIInformacaoSuplementar();
  if (!servidor) return GetHR();
  Zera(registro);
  int32_t ponteiros[1] = {ponteiro};
  int32_t quantidade = 0;
  _REG_CATEGORIAS_PS* categorias = nullptr;
  const HRESULT hr = servidor->LeRegistros(1, ponteiros, &quantidade, &categorias);
  // An answer may hold no category: then the zeroed record goes back with the call's result.
  if (SUCCEEDED(hr) && quantidade > 0 && categorias != nullptr) *registro = categorias[0];
  categorias = LiberaBloco(categorias);
  return hr;
}

int32_t CPPAcessoDados::LeNotaFiscalFT(uint32_t chave, CPPDadosNotaFiscalFT* nota) {
  return LeDados<tagREG_NOTA_LIGHTPS>(
      nota, DoServidor(*this, GetINotaFiscalFT(),
                       [&](auto* s, auto* r) { return s->LeLight(chave, r, kOpcaoNotaFiscalLight); }));
}

int32_t CPPAcessoDados::LeNotaFiscalRE(uint32_t chave, CPPDadosNotaFiscalRE* nota) {
  return LeDados<tagREG_ENTRADA_LIGHTPS>(
      nota, DoServidor(*this, GetINotaFiscalRE(), [&](auto* s, auto* r) { return s->LeLight(chave, r); }));
}

int32_t CPPAcessoDados::LePedidoFT(uint32_t chave, CPPDadosPedidoFT* pedido) {
  pedido->Limpar();
  IQVFT_Pedido* servidor = GetIPedido();
  if (!servidor) return GetHR();
  tagREG_PEDIDOPS* registro = nullptr;
  const HRESULT hr = servidor->LePedido(chave, kLeituraPedidoCompleta, &registro);
  // A success may come without a record: the object stays cleared.
  if (SUCCEEDED(hr) && registro != nullptr) pedido->CopiarDe(registro);
  LiberaRegistroPedidoFT(registro);
  registro = LiberaBloco(registro);
  return hr;
}

// ---------------------------------------------------------------------------------------------
// Resource types.

int32_t CPPAcessoDados::LeTipoRecurso(uint32_t ponteiro, CPPDadosTipoRecurso* tipoRecurso, uint16_t usTipoLeitura) {
  tipoRecurso->Limpar();
  IQVPP_TipoRecurso* servidor = GetITipoRecurso();
  if (!servidor) return GetHR();
  _REG_PP_TIPO_RECURSOPS registro;
  Zera(&registro);
  const HRESULT hr = servidor->LePonteiros(1, &ponteiro, &registro, usTipoLeitura);
  if (SUCCEEDED(hr)) tipoRecurso->CopiarDe(&registro);
  // Also after a failure: a server that fails part way may have handed out some of the arrays.
  LiberaRegistroTipoRecurso(&registro, 0);
  return hr;
}

int32_t CPPAcessoDados::ExisteTipoRecurso(const CString& codigo, uint32_t& ponteiro, CPPDadosTipoRecurso* tipoRecurso,
                                          uint16_t usTipoLeitura) {
  ponteiro = 0;
  if (tipoRecurso) tipoRecurso->Limpar();
  IQVPP_TipoRecurso* servidor = GetITipoRecurso();
  if (!servidor) return GetHR();
  uint32_t encontrado = 0;
  const HRESULT hr = servidor->Existe(CodigoBSTR(codigo), &encontrado, 0);
  if (FAILED(hr)) return hr;
  ponteiro = encontrado;
  if (encontrado == 0 || !tipoRecurso) return hr;
  return LeTipoRecurso(encontrado, tipoRecurso, usTipoLeitura);
}

// ---------------------------------------------------------------------------------------------
// Order types, processes, resources and production operations.

int32_t CPPAcessoDados::LeTipoOP(int32_t ponteiro, CPPDadosTipoOP* tipoOP, uint8_t cTipoLeitura) {
  tipoOP->Limpa();
  return LeLiberandoArrays(*this, GetITipoOP(), tipoOP,
                           [&](auto* s, auto* r) { return s->Le(ponteiro, r, cTipoLeitura); });
}

int32_t CPPAcessoDados::LeProcesso(int32_t ponteiro, CPPDadosProcesso* processo, uint8_t cTipoLeitura) {
  processo->Limpar();
  return LeLiberandoArrays(*this, GetIProcesso(), processo,
                           [&](auto* s, auto* r) { return s->Le(ponteiro, r, cTipoLeitura); });
}

int32_t CPPAcessoDados::ExisteProcesso(const CString& codigo, int32_t& ponteiro) {
  return ExistePorCodigo(*this, GetIProcesso(), codigo, ponteiro);
}

int32_t CPPAcessoDados::ExisteProcesso(const CString& codigo, CPPDadosProcesso* processo) {
  processo->Limpar();
  int32_t ponteiro = 0;
  const int32_t hr = ExisteProcesso(codigo, ponteiro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  return LeProcesso(ponteiro, processo, 0);
}

int32_t CPPAcessoDados::LeRecurso(int32_t ponteiro, CPPDadosRecurso* recurso, uint8_t cTipoLeitura) {
  return LeDados<_REG_PP_RECURSOPS>(
      recurso, DoServidor(*this, GetIRecurso(), [&](auto* s, auto* r) { return s->Le(ponteiro, r, cTipoLeitura); }));
}

int32_t CPPAcessoDados::ExisteRecurso(const CString& codigo, int32_t& ponteiro) {
  return ExistePorCodigo(*this, GetIRecurso(), codigo, ponteiro);
}

int32_t CPPAcessoDados::LeRecursoHistoricoContador(uint32_t ponteiroRecurso,
                                                   CPPDadosListaRecursoHistoricoContador* historico) {
  historico->Limpar();
  return LeLiberandoArrays(*this, GetIRecurso(), historico, [&](auto* s, auto* r) {
    return s->BuscaHistoricoAlteracaoManualContador(ponteiroRecurso, r);
  });
}

int32_t CPPAcessoDados::LeOperacaoProducao(int32_t ponteiro, CPPDadosOperacaoProducao* operacao) {
  return LeDadosSemLimpar<_REG_VARMO_OPERACAO_PRODUCAOPS>(
      operacao, DoServidor(*this, GetIOperacaoProducao(), [&](auto* s, auto* r) { return s->Le(ponteiro, r); }));
}

int32_t CPPAcessoDados::ExisteOperacaoProducao(const CString& codigo, int32_t& ponteiro) {
  return ExistePorCodigo(*this, GetIOperacaoProducao(), codigo, ponteiro);
}

int32_t CPPAcessoDados::ExisteOperacaoProducao(const CString& codigo, CPPDadosOperacaoProducao* operacao) {
  operacao->Limpar();
  int32_t ponteiro = 0;
  const int32_t hr = ExisteOperacaoProducao(codigo, ponteiro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  return LeOperacaoProducao(ponteiro, operacao);
}

// ---------------------------------------------------------------------------------------------
// Inventory.

int32_t CPPAcessoDados::LeMestreES(_REG_ES_MESTREPS* registro) {
  return LeRegistro(*this, GetIMestreES(), registro, [&](auto* s, auto* r) { return s->LeMestre(r, 0); });
}

int32_t CPPAcessoDados::LeLocalES(int32_t ponteiro, CPPDadosLocalES* local) {
  return LeDadosSemLimpar<_REG_ES_LOCAISPS>(
      local, DoServidor(*this, GetIArmazenagem(), [&](auto* s, auto* r) { return s->LeLocal(ponteiro, r, 0); }));
}

int32_t CPPAcessoDados::ExisteLocalES(const CString& codigo, int32_t& ponteiro) {
  IQVES_Armazenagem* servidor = GetIArmazenagem();
  if (!servidor) return GetHR();
  _REG_ES_LOCAISPS registro;
  Zera(&registro);
  int32_t encontrado = 0;
  const HRESULT hr = servidor->ExisteLocal(CodigoBSTR(codigo), kLeituraCompleta, &encontrado, &registro);
  if (SUCCEEDED(hr)) ponteiro = encontrado;
  return hr;
}

int32_t CPPAcessoDados::ExisteLocalES(const CString& codigo, uint16_t filial, CPPDadosLocalES* local) {
  local->Limpar();
  IQVES_Armazenagem* servidor = GetIArmazenagem();
  if (!servidor) return GetHR();
  _REG_ES_LOCAISPS registro;
  Zera(&registro);
  int32_t ponteiro = 0;
  const HRESULT hr =
      servidor->ExisteLocalFilial(CodigoBSTR(codigo), kLeituraCompleta, filial, &ponteiro, &registro);
  if (FAILED(hr) || ponteiro == 0) return hr;
  local->CopiarDe(&registro);
  return hr;
}

int32_t CPPAcessoDados::LeLoteES(int32_t ponteiro, _REG_ES_LOTEPS* registro) {
  return LeRegistro(*this, GetIMovimento(), registro, [&](auto* s, auto* r) { return s->LeLote(ponteiro, r); });
}

int32_t CPPAcessoDados::LeLoteES(int32_t ponteiro, CPPDadosLoteES* lote) {
  return LeDados<_REG_ES_LOTEPS>(lote, [&](auto* r) { return LeLoteES(ponteiro, r); });
}

int32_t CPPAcessoDados::LeVolumeES(int32_t ponteiro, _REG_ES_VOLUMEPS* registro) {
  return LeRegistro(*this, GetIMovimento(), registro, [&](auto* s, auto* r) { return s->LeVolume(ponteiro, r); });
}

int32_t CPPAcessoDados::LeMovimentoES(uint32_t chave, CPPDadosOPMovimento* movimento) {
  movimento->Limpar();
  IQVES_Movimento* servidor = GetIMovimento();
  if (!servidor) return GetHR();
  _REG_ES_MOVIMENTOPS registro;
  Zera(&registro);
  const HRESULT hr = servidor->LeMovimento(chave, &registro);
  if (SUCCEEDED(hr)) movimento->CopiarDe(&registro);
  LiberaRegistroMovimentoES(&registro, 0);
  return hr;
}

int32_t CPPAcessoDados::LeSaldosProdutosES(CPPDadosFiltroSaldoProdutoES filtro,
                                           CPPDadosListaSaldosProdutosES* saldos) {
  saldos->Limpar();
  IQVES_Movimento* servidor = GetIMovimento();
  if (!servidor) return GetHR();
  _REG_ES_FILTRO_SALDOS_PRODUTOPS registroFiltro;
  Zera(&registroFiltro);
  filtro.CopiarPara(&registroFiltro);
  _REG_ES_LISTA_SALDOS_PRODUTOSPS lista{};
  const HRESULT hr = servidor->LeSaldosProdutos(registroFiltro, &lista);
  if (SUCCEEDED(hr)) saldos->CopiarDe(&lista);
  CPPDadosListaSaldosProdutosES::LiberaArraysDoServidor(&lista);
  return hr;
}
