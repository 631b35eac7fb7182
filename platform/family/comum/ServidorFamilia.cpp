#include "platform/family/comum/ServidorFamilia.h"

#include "platform/win32/codepage.h"

ClasseFamilia::ClasseFamilia(const char* nome, const CLSID& clsid, const IID& iid, const char* modulo)
    : nome_(nome), clsid_(clsid), iid_(iid), modulo_(modulo) {}

void ClasseFamilia::FailStarts(int vezes) {
  std::lock_guard<std::mutex> lock(mutex_);
  startsFalhando_ = vezes;
}

void ClasseFamilia::FalhaInicializacao(HRESULT hr) {
  std::lock_guard<std::mutex> lock(mutex_);
  falhaInicializacao_ = hr;
}

void ClasseFamilia::FalhaMetodo(const std::string& metodo, int vezes, HRESULT hr, int passam) {
  std::lock_guard<std::mutex> lock(mutex_);
  falhasMetodos_[metodo] = {passam, vezes, hr};
}

std::vector<InicializacaoFamilia> ClasseFamilia::Inicializacoes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return inicializacoes_;
}

HRESULT ClasseFamilia::Criacao() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (startsFalhando_ > 0) {
      --startsFalhando_;
      return RPC_S_SERVER_UNAVAILABLE_HRESULT;
    }
  }
  ++criacoes_;
  return S_OK;
}

HRESULT ClasseFamilia::FalhaChamada(const std::string& metodo) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto falha = falhasMetodos_.find(metodo);
  if (falha == falhasMetodos_.end() || falha->second.vezes <= 0) return S_OK;
  if (falha->second.passam > 0) {
    --falha->second.passam;
    return S_OK;
  }
  --falha->second.vezes;
  return falha->second.hr;
}

HRESULT ClasseFamilia::Inicializacao(InicializacaoFamilia recebida) {
  const HRESULT falhaMetodo = FalhaChamada(recebida.metodo);
  std::lock_guard<std::mutex> lock(mutex_);
  inicializacoes_.push_back(std::move(recebida));
  if (FAILED(falhaMetodo)) return falhaMetodo;
  return falhaInicializacao_;
}

std::string TextoFamilia(BSTR texto) {
  if (!texto) return {};
  return AnsiFromWide(std::u16string_view(texto, SysStringLen(texto)));
}

InicializacaoFamilia RecebidoDeArgumentos(const char* metodo, BSTR empresa, uint16_t usuario,
                                          int32_t sessao) {
  InicializacaoFamilia recebida;
  recebida.metodo = metodo;
  recebida.empresa = TextoFamilia(empresa);
  recebida.usuario = usuario;
  recebida.sessao = sessao;
  return recebida;
}

ModuloFamilia::ModuloFamilia(const char* nomeServidor, const char* codigo)
    : nomeServidor_(nomeServidor), codigo_(codigo), servidor_(nomeServidor) {}
