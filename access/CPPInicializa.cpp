#include "access/CPPInicializa.h"

#include <algorithm>
#include <cstring>

void CPPInicializa::Inicializa(const CString& empresa, uint16_t usuario, int32_t numeroSessao) {
  Finaliza();
  if (empresa.GetLength() > kMaxEmpresa) return;
  SetEmpresa(empresa);
  SetUsuario(usuario);
  SetNumeroSessao(numeroSessao);
  SetInicializado(true);
  OnInicializa();
}

int32_t CPPInicializa::Finaliza() {
  SetEmpresa(CString());
  SetUsuario(0);
  SetNumeroSessao(0);
  SetInicializado(false);
  return 0;
}

_REG_VARMO_INICIALIZAPS CPPInicializa::GetPPInicializa() const {
  _REG_VARMO_INICIALIZAPS registro;
  std::memset(&registro, 0, sizeof registro);
  const size_t tamanho = std::min<size_t>(empresa_.GetLength(), kMaxEmpresa);
  std::memcpy(registro.szEmpresa, static_cast<const char*>(empresa_), tamanho);
  registro.usUsuario = usuario_;
  registro.lNumeroSessao = numeroSessao_;
  registro.cInicializarCompleto = 1;
  return registro;
}
