#include "foundation/QVChave.h"

#include <cstdio>
#include <cstdlib>

#include "foundation/QVData.h"

uint32_t QVMontaChave(uint16_t usMesAno, uint32_t numero) { return ((numero & 0xFFFFFF) << 12) | usMesAno; }

uint32_t QVMontaChaveDeTexto(const char* textoMesAno, uint32_t numero) {
  return QVMontaChave(QVTextoParaMesAno(textoMesAno), numero);
}

uint32_t QVGetNumeroDaChave(uint32_t chave) { return chave >> 12; }
uint16_t QVGetMesAnoDaChave(uint32_t chave) { return static_cast<uint16_t>(chave & 0xFFF); }

uint32_t QVSeparaChave(uint32_t chave, char* textoMesAno, uint32_t* numero) {
  uint32_t n = QVGetNumeroDaChave(chave);
  if (textoMesAno) QVMesAnoParaTexto(QVGetMesAnoDaChave(chave), textoMesAno, false);
  if (numero) *numero = n;
  return n;
}

int QVComparaChave(uint32_t a, uint32_t b) {
  uint32_t mesA = a & 0xFFF, mesB = b & 0xFFF;
  if (mesA != mesB) return mesA < mesB ? -1 : 1;
  if (a != b) return a < b ? -1 : 1;
  return 0;
}

CString QVChaveParaTexto(uint32_t chave) {
  char mesAno[8];
  QVMesAnoParaTexto(QVGetMesAnoDaChave(chave), mesAno, false);
  CString semBarra(mesAno);
  semBarra.Remove('/');
  CString texto;
  texto.Format("%s-%06d", static_cast<const char*>(semBarra), static_cast<int>(QVGetNumeroDaChave(chave)));
  return texto;
}

uint32_t QVTextoParaChave(const char* texto) {
  char mmaa[5] = {};
  int inicioNumero = 0;
  if (!texto || sscanf(texto, "%4s-%n", mmaa, &inicioNumero) != 1 || inicioNumero == 0) return 0;
  // Read wide, so that a number beyond the key's bits is seen and refused rather than cut.
  char* fim = nullptr;
  const long long numero = strtoll(texto + inicioNumero, &fim, 10);
  if (fim == texto + inicioNumero || numero > kQVMaiorNumeroChave) return 0;
  char mesAno[6] = {mmaa[0], mmaa[1], '/', mmaa[2], mmaa[3], 0};
  int mes, ano;
  QVSeparaTextoMesAno(mesAno, &mes, &ano);
  uint16_t usMesAno = QVMontaMesAno(mes, ano);
  if (mes < 1 || mes > 12 || usMesAno == 0 || numero <= 0) return 0;
  return QVMontaChave(usMesAno, static_cast<uint32_t>(numero));
}

void QVMontaDMC(_QV_DMC_ps* dmc, uint32_t chave, uint8_t codigoModulo, uint16_t usData) {
  dmc->lChaveModulo = static_cast<int32_t>(((chave & 0xFFFFFF) << 8) | codigoModulo);
  dmc->iData = usData;
}
