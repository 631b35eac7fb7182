#include "server/CPPAtualizaVersaoOP.h"

#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "access/CPPAcessoDados.h"
#include "access/PPLiberaRegistro.h"
#include "foundation/CQVCurrencyEx.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVChave.h"
#include "foundation/QVCom.h"
#include "foundation/QVData.h"
#include "platform/com/bstr.h"
#include "platform/family/estoque/InterfacesEstoque.h"
#include "platform/mfc/CFile.h"
#include "platform/win32/codepage.h"
#include "platform/win32/directory.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPDatas.h"

namespace {

constexpr HRESULT kErroPasso = PPErroHResult(kPPErroAtualizacaoVersao);

HRESULT ErroDoMotor(int erro) { return PPErroHResult(static_cast<uint32_t>(erro)); }

// Record lengths of the period files, at the versions that the steps read and write.
constexpr uint32_t kTamanhoOP = 256;
constexpr uint32_t kTamanhoItemV2 = 128;
constexpr uint32_t kTamanhoItem = 90;
constexpr uint32_t kTamanhoProcessoV2 = 128;
constexpr uint32_t kTamanhoProcessoV3 = 90;
constexpr uint32_t kTamanhoProcessoV7 = 128;
constexpr uint32_t kTamanhoInsumo = 128;
constexpr uint32_t kTamanhoApontamentoV2 = 220;
constexpr uint32_t kTamanhoApontamentoV3 = 170;
constexpr uint32_t kTamanhoApontamentoV5 = 188;
constexpr uint32_t kTamanhoApontamentoV7 = 200;
constexpr uint32_t kTamanhoRetornoV2 = 32;
constexpr uint32_t kTamanhoRetornoV5 = 64;
constexpr uint32_t kTamanhoRetornoV6 = 90;
constexpr uint32_t kTamanhoMovimentoV2 = 4;
constexpr uint32_t kTamanhoMovimentoV3 = 80;
constexpr uint32_t kTamanhoMovimentoV7 = 104;
constexpr uint32_t kTamanhoLoteV3 = 26;
constexpr uint32_t kTamanhoLoteV4 = 62;
constexpr uint32_t kTamanhoTI = 64;
constexpr uint32_t kTamanhoTA = 4;
constexpr uint32_t kTamanhoRelacao = 4;  // "PPRA": the number of one report
constexpr uint32_t kTamanhoRemessa = 60;
constexpr uint32_t kTamanhoFichaCabecalho = 64;
constexpr uint32_t kTamanhoFichaProcesso = 88;

// ---------------------------------------------------------------------------------------------------
// The bytes of the records: unsigned little-endian values at the offsets of the layouts.

uint16_t U16(const uint8_t* registro, size_t deslocamento) {
  uint16_t valor;
  std::memcpy(&valor, registro + deslocamento, sizeof valor);
  return valor;
}

uint32_t U32(const uint8_t* registro, size_t deslocamento) {
  uint32_t valor;
  std::memcpy(&valor, registro + deslocamento, sizeof valor);
  return valor;
}

int32_t I32(const uint8_t* registro, size_t deslocamento) { return static_cast<int32_t>(U32(registro, deslocamento)); }

void PoeU16(uint8_t* registro, size_t deslocamento, uint16_t valor) {
  std::memcpy(registro + deslocamento, &valor, sizeof valor);
}

void PoeU32(uint8_t* registro, size_t deslocamento, uint32_t valor) {
  std::memcpy(registro + deslocamento, &valor, sizeof valor);
}

// The period key of record `numero` of the month in its text form (MMAA-NNNNNN).
CString TextoChave(uint16_t mes, uint32_t numero) { return QVChaveParaTexto(QVMontaChave(mes, numero)); }

// ---------------------------------------------------------------------------------------------------
// The months and files of a step

// The month of the four characters MMAA of a period file's name; 0 when they name none.
uint16_t MesDoSufixo(const char* sufixo) {
  for (int k = 0; k < 4; ++k)
    if (sufixo[k] < '0' || sufixo[k] > '9') return 0;
  const int mes = (sufixo[0] - '0') * 10 + (sufixo[1] - '0');
  const int ano = (sufixo[2] - '0') * 10 + (sufixo[3] - '0');
  if (mes < 1 || mes > 12) return 0;
  return QVMontaMesAno(mes, ano);
}

// The months, rising, in which a period file of one of the prefixes lies in the directory: one
// listing per prefix instead of a look-up per month number.
std::set<uint16_t> MesesComArquivos(const CString& diretorio, const std::vector<CString>& prefixos) {
  std::set<uint16_t> meses;
  for (const CString& prefixo : prefixos) {
    WIN32_FIND_DATAA achado;
    HANDLE busca = FindFirstFileA(diretorio + prefixo + "????.DAT", &achado);
    if (busca == INVALID_HANDLE_VALUE) continue;
    do {
      if (achado.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (const uint16_t mes = MesDoSufixo(achado.cFileName + prefixo.GetLength())) meses.insert(mes);
    } while (FindNextFileA(busca, &achado));
    FindClose(busca);
  }
  return meses;
}

CString Periodo(const CPPPassoConversao& passo, const CString& prefixo, uint16_t mes) {
  return CPPNomesArquivos::MontaNomeArquivoPeriodo(passo.Caminho(prefixo), mes);
}

// For each month (rising) in which one of the prefixes has a period file: the month's work, then its
// files are closed.
HRESULT PorMes(CPPPassoConversao& passo, const std::vector<CString>& prefixos,
               const std::function<HRESULT(uint16_t mes)>& converteMes) {
  for (const uint16_t mes : MesesComArquivos(passo.Caminho(""), prefixos)) {
    const HRESULT hr = converteMes(mes);
    const int fechamento = passo.FechaArquivos();
    if (FAILED(hr)) return hr;
    if (fechamento) return ErroDoMotor(fechamento);
  }
  return S_OK;
}

// The records of an old file, read whole; a missing file is an empty one.
class RegistrosAntigos {
 public:
  explicit RegistrosAntigos(uint32_t tamanho) : m_tamanho(tamanho) {}

  // Reads records 1 .. count; on failure the engine's number, and *falha the record.
  int Carrega(CPPArqEx& arquivo, uint32_t* falha) {
    const int32_t quantidade = arquivo.GetQuantidadeRegistros();
    if (quantidade < 0) {
      *falha = 1;
      return kQVErroArquivo;
    }
    m_bytes.resize(static_cast<size_t>(quantidade) * m_tamanho);
    for (uint32_t numero = 1; numero <= static_cast<uint32_t>(quantidade); ++numero) {
      if (int erro = arquivo.Le(numero, m_bytes.data() + (numero - 1) * m_tamanho)) {
        *falha = numero;
        return erro;
      }
    }
    m_quantidade = static_cast<uint32_t>(quantidade);
    return 0;
  }
  uint32_t Quantidade() const { return m_quantidade; }
  uint32_t Tamanho() const { return m_tamanho; }
  // Record 1 .. Quantidade().
  const uint8_t* operator[](uint32_t numero) const { return m_bytes.data() + (numero - 1) * m_tamanho; }
  // 0 and the record; a number outside the file is past its end, as the engine says.
  int Le(uint32_t numero, const uint8_t** registro) const {
    if (numero == 0 || numero > m_quantidade) return kQVErroFimArquivo;
    *registro = (*this)[numero];
    return 0;
  }

 private:
  uint32_t m_tamanho;
  uint32_t m_quantidade = 0;
  std::vector<uint8_t> m_bytes;
};

// A failed read or write of record `numero` (of the file): the step's line, and the error back.
using FalhaRegistro = std::function<HRESULT(HRESULT erro, uint32_t numero)>;
using FalhaArquivo = std::function<HRESULT(HRESULT erro, const char* arquivo, uint32_t numero)>;

// Opens the old file when it exists ('L', its length) and reads it whole; the open's failure with
// linhaAbrir (one "%s": the name), a read's with falha.
HRESULT LeAntigo(CPPPassoConversao& passo, const CString& arquivo, const char* linhaAbrir, const FalhaRegistro& falha,
                 RegistrosAntigos& registros) {
  if (!QVExisteArquivo(arquivo)) return S_OK;
  CPPArqEx* antigo = nullptr;
  if (HRESULT hr = passo.AbreAntigo(arquivo, registros.Tamanho(), false, linhaAbrir, &antigo); FAILED(hr)) return hr;
  uint32_t numero = 0;
  if (int erro = registros.Carrega(*antigo, &numero)) return falha(ErroDoMotor(erro), numero);
  return S_OK;
}

// The two lists of a converted prefix: the months whose old file existed (it leaves as its history
// copy) and the months without one (the new file is only renamed into place).
struct ListasPrefixo {
  int antigos;
  int novos;
};

ListasPrefixo Listas(CPPPassoConversao& passo, const char* linhaFalhaRemocao) {
  const int antigos = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao, linhaFalhaRemocao);
  return {antigos, passo.Lista(CPPPassoConversao::kSemRemocao)};
}

// Creates the ".TRA" file of `arquivo` on the list of its case.
HRESULT AbreNovo(CPPPassoConversao& passo, ListasPrefixo listas, const CString& arquivo, uint32_t tamanho,
                 const char* linhaAbrir, CPPArqEx** novo) {
  const int lista = QVExisteArquivo(arquivo) ? listas.antigos : listas.novos;
  return passo.AbreTRA(lista, arquivo, tamanho, linhaAbrir, novo);
}

// One file of a month in a step: its old records and its new file.
struct ArquivoMes {
  explicit ArquivoMes(uint32_t tamanhoAntigo) : antigo(tamanhoAntigo) {}
  CString dat;
  RegistrosAntigos antigo;
  CPPArqEx* novo = nullptr;
  CString NomeNovo() const { return novo->GetFilePath(); }
};

// The month's file of the prefix: the old one read whole, the new one created. A read fails with
// falhaLeitura (the old file's name and the record).
HRESULT AbreArquivoMes(CPPPassoConversao& passo, const CString& prefixo, uint16_t mes, ListasPrefixo listas,
                       uint32_t tamanhoNovo, const char* linhaAbrir, const FalhaArquivo& falhaLeitura,
                       ArquivoMes& arquivo) {
  arquivo.dat = Periodo(passo, prefixo, mes);
  const auto falha = [&](HRESULT erro, uint32_t numero) { return falhaLeitura(erro, arquivo.dat, numero); };
  if (HRESULT hr = LeAntigo(passo, arquivo.dat, linhaAbrir, falha, arquivo.antigo); FAILED(hr)) return hr;
  return AbreNovo(passo, listas, arquivo.dat, tamanhoNovo, linhaAbrir, &arquivo.novo);
}

int Acrescenta(CPPArqEx& arquivo, const void* registro, uint32_t* numero) {
  *numero = 0;
  return arquivo.Grava(registro, numero);
}

// ---------------------------------------------------------------------------------------------------
// V01->V02: the processes of the orders completed from their technical sheets; the inputs reshaped

// The technical sheets, with the headers that may be chosen (byte 23 clear) under the product
// position that an order must match: 32-bit values at 0 and 4, 16-bit value at 12, in record order.
struct FichasTecnicas {
  RegistrosAntigos cabecalhos{kTamanhoFichaCabecalho};
  RegistrosAntigos processos{kTamanhoFichaProcesso};
  std::map<std::tuple<uint32_t, uint32_t, uint16_t>, std::vector<uint32_t>> porPosicao;

  void Indexa() {
    for (uint32_t l = 1; l <= cabecalhos.Quantidade(); ++l) {
      const uint8_t* cabecalho = cabecalhos[l];
      if (cabecalho[23] != 0) continue;
      porPosicao[{U32(cabecalho, 0), U32(cabecalho, 4), U16(cabecalho, 12)}].push_back(l);
    }
  }

  // How many of the order's grade items (16-bit values at 106, 108, 110; 0 is none) the header
  // matches in a row (at 14, 16, 18).
  static int Nivel(const uint8_t* op, const uint8_t* cabecalho) {
    int nivel = 0;
    while (nivel < 3) {
      const uint16_t item = U16(op, 106 + 2 * nivel);
      if (item == 0 || item != U16(cabecalho, 14 + 2 * nivel)) break;
      ++nivel;
    }
    return nivel;
  }

  // The sheet that a scan of every header in record order chooses: the first that reaches the
  // deepest level found, where the first at level 3 ends the scan; 0 when none matches. The
  // headers of other product positions never match, so only the order's own are looked at.
  uint32_t Escolhe(const uint8_t* op) const {
    const auto encontrados = porPosicao.find({U32(op, 40), U32(op, 36), U16(op, 104)});
    if (encontrados == porPosicao.end()) return 0;
    uint32_t escolhida = 0;
    int maisFundo = -1;
    for (const uint32_t l : encontrados->second) {
      const int nivel = Nivel(op, cabecalhos[l]);
      if (nivel > maisFundo) {
        escolhida = l;
        maisFundo = nivel;
      }
      if (nivel == 3) break;
    }
    return escolhida;
  }
};

// A company that never kept technical sheets has no files of them: it has no sheet to choose.
HRESULT LeFichasTecnicas(CPPPassoConversao& passo, FichasTecnicas& fichas) {
  const auto falhaCabecalho = [&](HRESULT erro, uint32_t l) {
    return passo.Falha(erro, "Ler ficha técnica - %i"_ansi, static_cast<int>(l));
  };
  const auto falhaProcesso = [&](HRESULT erro, uint32_t numero) {
    return passo.Falha(erro, "Ler processo da ficha - %i", static_cast<int>(numero));
  };
  if (HRESULT hr = LeAntigo(passo, passo.Caminho(CPPNomesArquivos::ArqFichaTecnicaCabecalho()), "Abrir arquivo %s",
                            falhaCabecalho, fichas.cabecalhos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = LeAntigo(passo, passo.Caminho(CPPNomesArquivos::ArqFichaTecnicaProcesso()), "Abrir arquivo %s",
                            falhaProcesso, fichas.processos);
      FAILED(hr))
    return hr;
  fichas.Indexa();
  return S_OK;
}

// The 8 bytes at 24..31 of the first process of the sheet whose 32-bit value at 36 is the order
// process's go to its 16..23.
HRESULT CopiaDaFicha(CPPPassoConversao& passo, const FichasTecnicas& fichas, const uint8_t* cabecalho,
                     uint8_t* processo) {
  const uint32_t primeiro = U32(cabecalho, 8);
  const uint16_t quantidade = U16(cabecalho, 20);
  for (uint16_t k = 0; k < quantidade; ++k) {
    const uint32_t numero = primeiro + k;
    const uint8_t* daFicha = nullptr;
    if (int erro = fichas.processos.Le(numero, &daFicha))
      return passo.Falha(ErroDoMotor(erro), "Ler processo da ficha - %i", static_cast<int>(numero));
    if (U32(daFicha, 36) != U32(processo, 36)) continue;
    std::memcpy(processo + 16, daFicha + 24, 8);
    break;
  }
  return S_OK;
}

HRESULT CompletaProcessos(CPPPassoConversao& passo, int lista, const FichasTecnicas& fichas, uint16_t mes) {
  const CString arquivoOrdens = Periodo(passo, CPPNomesArquivos::PrefixoOP(), mes);
  const CString arquivoProcessos = Periodo(passo, CPPNomesArquivos::PrefixoOPProcesso(), mes);
  RegistrosAntigos ordens(kTamanhoOP);
  RegistrosAntigos processos(kTamanhoProcessoV2);
  const auto falhaOrdem = [&](HRESULT erro, uint32_t j) {
    return passo.Falha(erro, "Ler OP - %s", static_cast<const char*>(TextoChave(mes, j)));
  };
  const auto falhaProcesso = [&](HRESULT erro, uint32_t numero) {
    return passo.Falha(erro, "Ler processo da OP - %i", static_cast<int>(numero));
  };
  if (HRESULT hr = LeAntigo(passo, arquivoOrdens, "Abrir arquivo %s", falhaOrdem, ordens); FAILED(hr)) return hr;
  if (HRESULT hr = LeAntigo(passo, arquivoProcessos, "Abrir arquivo %s", falhaProcesso, processos); FAILED(hr))
    return hr;
  CPPArqEx* novo = nullptr;
  if (HRESULT hr = passo.AbreTRA(lista, arquivoProcessos, kTamanhoProcessoV2, "Abrir arquivo %s", &novo); FAILED(hr))
    return hr;

  for (uint32_t i = 1; i <= processos.Quantidade(); ++i) {
    uint32_t numero;
    if (int erro = Acrescenta(*novo, processos[i], &numero))
      return passo.Falha(ErroDoMotor(erro), "Copiar processo de OP - %i", static_cast<int>(i));
  }
  for (uint32_t j = 1; j <= ordens.Quantidade(); ++j) {
    const uint8_t* op = ordens[j];
    if (op[159] != 0) continue;
    const uint32_t ficha = fichas.Escolhe(op);
    if (ficha == 0) continue;
    const uint32_t primeiro = U32(op, 48);
    const uint16_t quantidade = U16(op, 96);
    for (uint16_t k = 0; k < quantidade; ++k) {
      const uint32_t p = primeiro + k;
      const uint8_t* antigo = nullptr;
      if (int erro = processos.Le(p, &antigo)) return falhaProcesso(ErroDoMotor(erro), p);
      uint8_t processo[kTamanhoProcessoV2];
      std::memcpy(processo, antigo, sizeof processo);
      if (HRESULT hr = CopiaDaFicha(passo, fichas, fichas.cabecalhos[ficha], processo); FAILED(hr)) return hr;
      uint32_t numero = p;
      if (int erro = novo->Grava(processo, &numero))
        return passo.Falha(ErroDoMotor(erro), "Grava processo - %i", static_cast<int>(p));
    }
  }
  return S_OK;
}

constexpr PPCampoCopiado kCamposInsumoV01[] = {{0, 16, 16}, {16, 16, 16}, {48, 48, 16}, {76, 76, 10}, {94, 94, 6}};

HRESULT ConverteInsumos(CPPPassoConversao& passo, int lista, uint16_t mes) {
  const CString arquivo = Periodo(passo, CPPNomesArquivos::PrefixoOPInsumo(), mes);
  RegistrosAntigos insumos(kTamanhoInsumo);
  const auto falhaInsumo = [&](HRESULT erro, uint32_t i) {
    return passo.Falha(erro, "Ler insumo - %s", static_cast<const char*>(TextoChave(mes, i)));
  };
  if (HRESULT hr = LeAntigo(passo, arquivo, "Abrir arquivo %s", falhaInsumo, insumos); FAILED(hr)) return hr;
  CPPArqEx* novo = nullptr;
  if (HRESULT hr = passo.AbreTRA(lista, arquivo, kTamanhoInsumo, "Abrir arquivo %s", &novo); FAILED(hr)) return hr;
  for (uint32_t i = 1; i <= insumos.Quantidade(); ++i) {
    uint8_t registro[kTamanhoInsumo] = {};
    PPCopiaCampos(registro, insumos[i], kCamposInsumoV01);
    uint32_t numero;
    if (int erro = Acrescenta(*novo, registro, &numero))
      return passo.Falha(ErroDoMotor(erro), "Gravar insumo - %s", static_cast<const char*>(TextoChave(mes, i)));
    if (numero != i)
      return passo.Falha(PPErroHResult(0), "Inconsistência na posição de gravação - %s"_ansi,
                         static_cast<const char*>(TextoChave(mes, i)));
  }
  return S_OK;
}

HRESULT ConverteV01_p_V02(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  CPPPassoConversao passo(conversor, usVersao);
  passo.VerificaSobras({CPPNomesArquivos::PrefixoOPInsumo() + "*.TRA", CPPNomesArquivos::PrefixoOPProcesso() + "*.TRA"},
                       "AtualizaV01_p_V02 -> conversão anterior nao terminou com sucesso"_ansi);
  const int processos = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  const int insumos = passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao);
  return passo.Executa([&]() -> HRESULT {
    FichasTecnicas fichas;
    if (HRESULT hr = LeFichasTecnicas(passo, fichas); FAILED(hr)) return hr;
    // The order headers are only read here: a month without processes has nothing to complete.
    if (HRESULT hr = PorMes(passo, {CPPNomesArquivos::PrefixoOPProcesso()},
                            [&](uint16_t mes) { return CompletaProcessos(passo, processos, fichas, mes); });
        FAILED(hr))
      return hr;
    return PorMes(passo, {CPPNomesArquivos::PrefixoOPInsumo()},
                  [&](uint16_t mes) { return ConverteInsumos(passo, insumos, mes); });
  });
}

// ---------------------------------------------------------------------------------------------------
// V02->V03: numeric codes, narrower records, and the reports' own copies of their stock movements

constexpr uint8_t kSituacaoCancelada = 99;
constexpr uint8_t kSituacaoNormal = 1;

// The situation letter of an order (byte 158) or of a process as a code.
uint8_t CodigoSituacao(uint8_t letra) {
  switch (letra) {
    case 'C': return kSituacaoCancelada;
    case 'E': return 5;
    case 'F': return 50;
    case 'I': return 2;
    case 'N': return kSituacaoNormal;
    case 'P': return 4;
    case 'R': return 3;
    case 'T': return 49;
    default: return 0;
  }
}

// The letter of an item (byte 78) or of a report (byte 162) as a code.
uint8_t CodigoItemApontamento(uint8_t letra) {
  switch (letra) {
    case 'C': return 1;
    case 'N': return 2;
    case 'P': return 3;
    case 'R': return 4;
    default: return 0;
  }
}

void RegraOrdemV02(const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kTamanhoOP);
  novo[158] = CodigoSituacao(antigo[158]);
}

// 48..55: four 16-bit values.
constexpr PPCampoCopiado kCamposItemV02[] = {{0, 0, 48}, {48, 60, 8}, {57, 79, 1}, {58, 82, 3}};

void RegraItemV02(const uint8_t* antigo, uint8_t* novo) {
  PPCopiaCampos(novo, antigo, kCamposItemV02);
  novo[56] = CodigoItemApontamento(antigo[78]);
}

constexpr PPCampoCopiado kCamposProcessoV02[] = {{0, 0, 24}, {24, 32, 16}, {40, 68, 14}, {54, 90, 1}, {56, 92, 2}};

void RegraProcessoV02(const uint8_t* antigo, uint8_t* novo) {
  PPCopiaCampos(novo, antigo, kCamposProcessoV02);
  novo[55] = CodigoSituacao(antigo[91]);
}

constexpr PPCampoCopiado kCamposApontamentoV02[] = {
    {0, 0, 32}, {32, 40, 8}, {40, 32, 8}, {48, 48, 12},
    {68, 68, 12}, {88, 88, 34}, {122, 130, 6}, {128, 160, 2}, {131, 163, 6},
};

// The movement copies (60, 64, 80, 84, 137) are set by the report's conversion.
void RegraApontamentoV02(const uint8_t* antigo, uint8_t* novo) {
  PPCopiaCampos(novo, antigo, kCamposApontamentoV02);
  novo[130] = CodigoItemApontamento(antigo[162]);
}

constexpr const char* kAbrirV02 = "AtualizaV02_p_V03 -> abrir arquivo %s";

struct ListasV02 {
  ListasPrefixo ordens;
  ListasPrefixo itens;
  ListasPrefixo processos;
  ListasPrefixo apontamentos;
  ListasPrefixo retornos;
  ListasPrefixo movimentos;
  int lotes;  // new files: there is no old one
};

HRESULT FalhaLeituraV02(CPPPassoConversao& passo, HRESULT erro, const char* arquivo) {
  return passo.Falha(erro, "AtualizaV02_p_V03 -> ler arquivo %s", arquivo);
}

HRESULT FalhaGravacaoV02(CPPPassoConversao& passo, HRESULT erro, const char* arquivo) {
  return passo.Falha(erro, "AtualizaV02_p_V03 -> gravar arquivo %s", arquivo);
}

HRESULT AbreArquivoMesV02(CPPPassoConversao& passo, const CString& prefixo, uint16_t mes, ListasPrefixo listas,
                          uint32_t tamanhoNovo, ArquivoMes& arquivo) {
  const auto falha = [&](HRESULT erro, const char* nome, uint32_t) { return FalhaLeituraV02(passo, erro, nome); };
  return AbreArquivoMes(passo, prefixo, mes, listas, tamanhoNovo, kAbrirV02, falha, arquivo);
}

HRESULT AcrescentaV02(CPPPassoConversao& passo, const ArquivoMes& arquivo, const uint8_t* registro, uint32_t* numero) {
  if (int erro = Acrescenta(*arquivo.novo, registro, numero))
    return FalhaGravacaoV02(passo, ErroDoMotor(erro), arquivo.NomeNovo());
  return S_OK;
}

// Every order header, item and process of the month, in record order; the processes of a cancelled
// order that were normal are cancelled too.
HRESULT ConverteOrdensV02(CPPPassoConversao& passo, const ListasV02& listas, uint16_t mes) {
  ArquivoMes ordens(kTamanhoOP);
  ArquivoMes itens(kTamanhoItemV2);
  ArquivoMes processos(kTamanhoProcessoV2);
  if (HRESULT hr = AbreArquivoMesV02(passo, CPPNomesArquivos::PrefixoOP(), mes, listas.ordens, kTamanhoOP, ordens);
      FAILED(hr))
    return hr;
  if (HRESULT hr = AbreArquivoMesV02(passo, CPPNomesArquivos::PrefixoOPItem(), mes, listas.itens, kTamanhoItem, itens);
      FAILED(hr))
    return hr;
  if (HRESULT hr = AbreArquivoMesV02(passo, CPPNomesArquivos::PrefixoOPProcesso(), mes, listas.processos,
                                     kTamanhoProcessoV3, processos);
      FAILED(hr))
    return hr;

  uint32_t numero;
  for (uint32_t j = 1; j <= ordens.antigo.Quantidade(); ++j) {
    uint8_t registro[kTamanhoOP];
    RegraOrdemV02(ordens.antigo[j], registro);
    if (HRESULT hr = AcrescentaV02(passo, ordens, registro, &numero); FAILED(hr)) return hr;
  }
  for (uint32_t i = 1; i <= itens.antigo.Quantidade(); ++i) {
    uint8_t registro[kTamanhoItem] = {};
    RegraItemV02(itens.antigo[i], registro);
    if (HRESULT hr = AcrescentaV02(passo, itens, registro, &numero); FAILED(hr)) return hr;
  }

  const uint32_t quantidade = processos.antigo.Quantidade();
  std::vector<uint8_t> novos(static_cast<size_t>(quantidade) * kTamanhoProcessoV3, 0);
  for (uint32_t p = 1; p <= quantidade; ++p)
    RegraProcessoV02(processos.antigo[p], novos.data() + (p - 1) * kTamanhoProcessoV3);
  for (uint32_t j = 1; j <= ordens.antigo.Quantidade(); ++j) {
    const uint8_t* op = ordens.antigo[j];
    if (CodigoSituacao(op[158]) != kSituacaoCancelada) continue;
    for (uint16_t k = 0; k < U16(op, 96); ++k) {
      const uint32_t p = U32(op, 48) + k;
      if (p == 0 || p > quantidade) return FalhaLeituraV02(passo, ErroDoMotor(kQVErroFimArquivo), processos.NomeNovo());
      uint8_t* processo = novos.data() + (p - 1) * kTamanhoProcessoV3;
      if (processo[55] == kSituacaoNormal) processo[55] = kSituacaoCancelada;
    }
  }
  for (uint32_t p = 1; p <= quantidade; ++p) {
    if (HRESULT hr = AcrescentaV02(passo, processos, novos.data() + (p - 1) * kTamanhoProcessoV3, &numero); FAILED(hr))
      return hr;
  }
  return S_OK;
}

// The "PPME" record of a movement that the inventory server gives, and the "PPLT" record of its batch.
constexpr PPCampoCopiado kCamposMovimentoV3[] = {
    {0, offsetof(_REG_ES_MOVIMENTOPS, vQuantidade), 8},
    {16, offsetof(_REG_ES_MOVIMENTOPS, lPonteiroLote), 4},
    {20, offsetof(_REG_ES_MOVIMENTOPS, lPonteiroForLote), 4},
    {24, offsetof(_REG_ES_MOVIMENTOPS, lPonteiroForEPTETPE), 4},
    {28, offsetof(_REG_ES_MOVIMENTOPS, lPonteiroCliEPTETPE), 4},
    {36, offsetof(_REG_ES_MOVIMENTOPS, regPosicaoProduto), sizeof(_REG_POSICAO_PRODUTOPS)},
    {46, offsetof(_REG_ES_MOVIMENTOPS, iPonteiroFilial), 2},
    {48, offsetof(_REG_ES_MOVIMENTOPS, iDataMovimento), 2},
    {50, offsetof(_REG_ES_MOVIMENTOPS, iHoraMovimento), 2},
    {52, offsetof(_REG_ES_MOVIMENTOPS, cTipoEstoqueArmazenagem), 1},
    {53, offsetof(_REG_ES_MOVIMENTOPS, cTipoProducao), 1},
    {76, offsetof(_REG_ES_MOVIMENTOPS, lPonteiroVolume), 4},
};

constexpr PPCampoCopiado kCamposLoteV3[] = {
    {20, offsetof(_REG_ES_LOTEPS, iDataFabricacao), 2},
    {22, offsetof(_REG_ES_LOTEPS, iDataValidade), 2},
    {24, offsetof(_REG_ES_LOTEPS, iNumeroDias), 2},
};

// The month's report files in V02->V03, and the inventory server that the movements come from.
struct ApontamentosV02 {
  CPPPassoConversao& passo;
  IQVES_Movimento& servidor;
  ArquivoMes apontamentos{kTamanhoApontamentoV2};
  ArquivoMes retornos{kTamanhoRetornoV2};
  ArquivoMes movimentos{kTamanhoMovimentoV2};
  CPPArqEx* lotes = nullptr;

  // The movement that the month's old "PPME" record `indice` names, copied.
  HRESULT CopiaMovimentoDoArquivo(uint32_t indice, const char* linhaFalha, uint32_t* numero) {
    const uint8_t* registro = nullptr;
    if (int erro = movimentos.antigo.Le(indice, &registro))
      return FalhaLeituraV02(passo, ErroDoMotor(erro), movimentos.dat);
    if (HRESULT hr = CopiaMovimento(U32(registro, 0), numero); FAILED(hr)) return passo.Falha(hr, "%s", linhaFalha);
    return S_OK;
  }

  // Reads the movement of the key from the server and appends its "PPME" record (with its "PPLT"
  // record when it has a batch); *numero: the "PPME" record.
  HRESULT CopiaMovimento(uint32_t chave, uint32_t* numero) {
    _REG_ES_MOVIMENTOPS movimento;
    std::memset(&movimento, 0, sizeof movimento);
    if (HRESULT hr = servidor.LeMovimento(chave, &movimento); FAILED(hr))
      return passo.Falha(hr, "AtualizaV02_p_V03 -> ler movimento %s",
                         static_cast<const char*>(QVChaveParaTexto(chave)));
    // Accounting entries, composition and references are not carried.
    LiberaRegistroMovimentoES(&movimento, 0);
    uint8_t lido[sizeof movimento];
    std::memcpy(lido, &movimento, sizeof lido);

    uint8_t registro[kTamanhoMovimentoV3] = {};
    PPCopiaCampos(registro, lido, kCamposMovimentoV3);
    PoeU32(registro, 8, chave);
    PoeU32(registro, 32, U16(lido, offsetof(_REG_ES_MOVIMENTOPS, iPonteiroLocalArmazenagem)));
    registro[54] = 1;

    if (I32(lido, offsetof(_REG_ES_MOVIMENTOPS, lPonteiroLote)) > 0) {
      uint32_t numeroLote;
      if (HRESULT hr = CopiaLote(lido + offsetof(_REG_ES_MOVIMENTOPS, regLotePS), &numeroLote); FAILED(hr)) return hr;
      PoeU32(registro, 12, numeroLote);
    }
    if (int erro = Acrescenta(*movimentos.novo, registro, numero))
      return passo.Falha(ErroDoMotor(erro), "AtualizaV02_p_V03 -> grava movimento da produção"_ansi);
    return S_OK;
  }

  HRESULT CopiaLote(const uint8_t* lote, uint32_t* numero) {
    const char* texto = reinterpret_cast<const char*>(lote + offsetof(_REG_ES_LOTEPS, cNumeroLote));
    const CString numeroLote(texto, static_cast<int>(strnlen(texto, sizeof(_REG_ES_LOTEPS::cNumeroLote))));
    uint8_t registro[kTamanhoLoteV3] = {};
    PPCopiaTextoN(reinterpret_cast<char*>(registro), 20, numeroLote);
    PPCopiaCampos(registro, lote, kCamposLoteV3);
    if (int erro = Acrescenta(*lotes, registro, numero))
      return passo.Falha(ErroDoMotor(erro), "AtualizaV02_p_V03 -> grava lote movimento da produção"_ansi);
    return S_OK;
  }

  // A return from outsourced processing with the copies of its movements; *numero: the new record.
  HRESULT ConverteRetorno(uint32_t indice, uint32_t* numero) {
    const uint8_t* antigo = nullptr;
    if (int erro = retornos.antigo.Le(indice, &antigo)) return FalhaLeituraV02(passo, ErroDoMotor(erro), retornos.dat);
    uint8_t registro[kTamanhoRetornoV2] = {};
    std::memcpy(registro, antigo, 24);
    for (uint16_t m = 0; m < U16(antigo, 22); ++m) {
      uint32_t copia;
      if (HRESULT hr = CopiaMovimentoDoArquivo(
              U32(antigo, 24) + m, "AtualizaV02_p_V03 -> gravar movimento de baixa - ret. ind. externa", &copia);
          FAILED(hr))
        return hr;
      if (m == 0) PoeU32(registro, 24, copia);
    }
    return AcrescentaV02(passo, retornos, registro, numero);
  }

  HRESULT ConverteApontamento(uint32_t i) {
    const uint8_t* antigo = apontamentos.antigo[i];
    uint8_t registro[kTamanhoApontamentoV3] = {};
    RegraApontamentoV02(antigo, registro);
    uint32_t numero;
    for (uint16_t l = 0; l < U16(antigo, 132); ++l) {
      if (HRESULT hr =
              CopiaMovimentoDoArquivo(U32(antigo, 80) + l, "AtualizaV02_p_V03 -> gravar movimento de baixa", &numero);
          FAILED(hr))
        return hr;
      if (l == 0) PoeU32(registro, 80, numero);
    }
    if (const uint32_t refugo = U32(antigo, 64); refugo > 0) {
      if (HRESULT hr = CopiaMovimento(refugo, &numero); FAILED(hr))
        return passo.Falha(hr, "AtualizaV02_p_V03 -> gravar movimento de entrada de refugo %s",
                           static_cast<const char*>(QVChaveParaTexto(refugo)));
      PoeU32(registro, 64, numero);
    }
    if (const uint32_t entrada = U32(antigo, 60); entrada > 0) {
      registro[137] = 1;
      if (HRESULT hr = CopiaMovimento(entrada, &numero); FAILED(hr))
        return passo.Falha(hr, "AtualizaV02_p_V03 -> gravar movimento de entrada %s",
                           static_cast<const char*>(QVChaveParaTexto(entrada)));
      PoeU32(registro, 60, numero);
    }
    for (uint16_t r = 0; r < U16(antigo, 134); ++r) {
      if (HRESULT hr = ConverteRetorno(U32(antigo, 84) + r, &numero); FAILED(hr)) return hr;
      if (r == 0) PoeU32(registro, 84, numero);
    }
    return AcrescentaV02(passo, apontamentos, registro, &numero);
  }
};

// The month's reports, each with its returns from outsourced processing and the copies of the
// movements that they name; movements and returns that no report names are not carried.
HRESULT ConverteApontamentosV02(CPPPassoConversao& passo, const ListasV02& listas, IQVES_Movimento& servidor,
                                uint16_t mes) {
  ApontamentosV02 mesV02{passo, servidor};
  if (HRESULT hr = AbreArquivoMesV02(passo, CPPNomesArquivos::PrefixoApontamento(), mes, listas.apontamentos,
                                     kTamanhoApontamentoV3, mesV02.apontamentos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = AbreArquivoMesV02(passo, CPPNomesArquivos::PrefixoRetornoIndExterna(), mes, listas.retornos,
                                     kTamanhoRetornoV2, mesV02.retornos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = AbreArquivoMesV02(passo, CPPNomesArquivos::PrefixoMovtoApontamento(), mes, listas.movimentos,
                                     kTamanhoMovimentoV3, mesV02.movimentos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = passo.AbreTRA(listas.lotes, Periodo(passo, CPPNomesArquivos::PrefixoLoteMovimento(), mes),
                                 kTamanhoLoteV3, kAbrirV02, &mesV02.lotes);
      FAILED(hr))
    return hr;
  for (uint32_t i = 1; i <= mesV02.apontamentos.antigo.Quantidade(); ++i) {
    if (HRESULT hr = mesV02.ConverteApontamento(i); FAILED(hr)) return hr;
  }
  return S_OK;
}

// The movements server, created and initialised for the company, released when the step ends.
HRESULT CriaServidorMovimentos(CPPAtualizaVersao& conversor, CPPPassoConversao& passo,
                               CQVComPtr<IQVES_Movimento, IID_IQVES_Movimento>& servidor) {
  if (HRESULT hr = servidor.CreateInstance(CLSID_QVES_Movimento, nullptr, kQVContextoServidor,
                                           kQVCriaRegistraEvento | kQVCriaRetentaIndisponivel);
      FAILED(hr))
    return passo.Falha(hr, "AtualizaV02_p_V03 -> instanciar servidor de movimentos do ES");
  const CString& empresa = conversor.GetEmpresa();
  const std::u16string texto = WideFromAnsi(std::string_view(empresa, static_cast<size_t>(empresa.GetLength())));
  const BSTR bsEmpresa = SysAllocStringLen(texto.data(), static_cast<UINT>(texto.size()));
  const HRESULT hr = servidor->Inicializa(bsEmpresa, conversor.GetUsuario(), 0, kESModuloProducao);
  SysFreeString(bsEmpresa);
  if (FAILED(hr)) return passo.Falha(hr, "AtualizaV02_p_V03 -> iniciar servidor de movimentos");
  return S_OK;
}

HRESULT ConverteV02_p_V03(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  CPPPassoConversao passo(conversor, usVersao);
  std::vector<CString> sobras;
  for (const CString& prefixo :
       {CPPNomesArquivos::PrefixoOP(), CPPNomesArquivos::PrefixoOPItem(), CPPNomesArquivos::PrefixoOPProcesso(),
        CPPNomesArquivos::PrefixoApontamento(), CPPNomesArquivos::PrefixoRetornoIndExterna(),
        CPPNomesArquivos::PrefixoMovtoApontamento(), CPPNomesArquivos::PrefixoLoteMovimento()})
    sobras.push_back(prefixo + "*.TRA");
  passo.VerificaSobras(sobras, "AtualizaV02_p_V03 -> conversão anterior não terminou com sucesso"_ansi);
  ListasV02 listas;
  listas.ordens = Listas(passo, "AtualizaV02_p_V03 -> RemoveArquivosMovimentacao(aArquivosOP_V2, usVersaoAtual)");
  listas.itens = Listas(passo, "AtualizaV02_p_V03 -> RemoveArquivosMovimentacao(aArquivosItem_V2, usVersaoAtual)");
  listas.processos =
      Listas(passo, "AtualizaV02_p_V03 -> RemoveArquivosMovimentacao(aArquivosProcesso_V2, usVersaoAtual)");
  listas.apontamentos =
      Listas(passo, "AtualizaV02_p_V03 -> RemoveArquivosMovimentacao(aArquivosApontamento_V2, usVersaoAtual)");
  listas.retornos =
      Listas(passo, "AtualizaV02_p_V03 -> RemoveArquivosMovimentacao(aArquivosRetIndExterna_V2, usVersaoAtual)");
  listas.movimentos =
      Listas(passo, "AtualizaV02_p_V03 -> RemoveArquivosMovimentacao(aArquivosMovtoApontamento_V2, usVersaoAtual)");
  listas.lotes = passo.Lista(CPPPassoConversao::kSemRemocao);
  return passo.Executa([&]() -> HRESULT {
    // Before any file is opened: without the movements no report can be converted.
    CQVComPtr<IQVES_Movimento, IID_IQVES_Movimento> servidor;
    if (HRESULT hr = CriaServidorMovimentos(conversor, passo, servidor); FAILED(hr)) return hr;
    if (HRESULT hr = PorMes(
            passo,
            {CPPNomesArquivos::PrefixoOP(), CPPNomesArquivos::PrefixoOPItem(), CPPNomesArquivos::PrefixoOPProcesso()},
            [&](uint16_t mes) { return ConverteOrdensV02(passo, listas, mes); });
        FAILED(hr))
      return hr;
    return PorMes(passo,
                  {CPPNomesArquivos::PrefixoApontamento(), CPPNomesArquivos::PrefixoRetornoIndExterna(),
                   CPPNomesArquivos::PrefixoMovtoApontamento()},
                  [&](uint16_t mes) { return ConverteApontamentosV02(passo, listas, *servidor.GetInterface(), mes); });
  });
}

// ---------------------------------------------------------------------------------------------------
// V03->V04, V04->V05, V07->V08, V08->V09: one new record of each old one

// The batch number is a text cut at its terminator.
void RegraLoteV03(const uint8_t* antigo, uint8_t* novo) {
  const char* texto = reinterpret_cast<const char*>(antigo);
  std::memcpy(novo, antigo, strnlen(texto, 20));
  std::memcpy(novo + 56, antigo + 20, 6);
}

constexpr PPCampoCopiado kCamposApontamentoV04[] = {
    {0, 0, 100}, {100, 150, 4}, {104, 154, 4}, {108, 160, 4}, {112, 166, 4}, {116, 100, 4},
    {120, 104, 4}, {124, 108, 20}, {144, 158, 2}, {146, 164, 2}, {148, 128, 10},
};

void RegraApontamentoV04(const uint8_t* antigo, uint8_t* novo) { PPCopiaCampos(novo, antigo, kCamposApontamentoV04); }

constexpr PPCampoCopiado kCamposRetornoV04[] = {{0, 0, 8}, {16, 8, 4}, {28, 24, 4}, {32, 12, 12}};

void RegraRetornoV04(const uint8_t* antigo, uint8_t* novo) { PPCopiaCampos(novo, antigo, kCamposRetornoV04); }

constexpr PPCampoCopiado kCamposOrdemV07[] = {
    {0, 0, 32}, {32, 244, 4}, {36, 248, 4}, {40, 252, 4}, {44, 32, 40}, {108, 96, 46}, {170, 158, 9},
};

void RegraOrdemV07(const uint8_t* antigo, uint8_t* novo) { PPCopiaCampos(novo, antigo, kCamposOrdemV07); }

void RegraOrdemV08(const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kTamanhoOP);
  novo[182] = 'P';
}

void RegraItemV08(const uint8_t* antigo, uint8_t* novo) {
  std::memcpy(novo, antigo, kTamanhoItem);
  novo[62] = 'P';
}

// A prefix of these steps: its old and new lengths, its rule, the line of its list's removal.
struct RegraPrefixo {
  CString prefixo;
  uint32_t tamanhoAntigo;
  uint32_t tamanhoNovo;
  void (*regra)(const uint8_t* antigo, uint8_t* novo);
  const char* linhaFalhaRemocao;
};

// The lines of these steps are their own name followed by the texts below. V07->V08 names the record
// in its read and write lines and checks that each order lands at the record number it had.
struct PassoRegistroARegistro {
  const char* nome;
  bool bPosicao;
  std::vector<RegraPrefixo> prefixos;
};

struct LinhasRegistroARegistro {
  explicit LinhasRegistroARegistro(const PassoRegistroARegistro& descricao)
      : sobras(CString(descricao.nome) + " -> conversão anterior não terminou com sucesso"_ansi),
        abrir(CString(descricao.nome) + " -> abrir arquivo %s"),
        ler(CString(descricao.nome) +
            (descricao.bPosicao ? " -> abrir arquivo %s posicao %i" : " -> ler arquivo %s em %i")),
        gravar(CString(descricao.nome) +
               (descricao.bPosicao ? " -> gravar arquivo %s posicao %i" : " -> gravar arquivo %s")),
        posicao(CString(descricao.nome) + " -> Inconsistência na gravação. OP origem (%s) - OP destino (%s)"_ansi) {}
  CString sobras;
  CString abrir;
  CString ler;
  CString gravar;
  CString posicao;
};

HRESULT ConvertePeriodo(CPPPassoConversao& passo, const PassoRegistroARegistro& descricao,
                        const LinhasRegistroARegistro& linhas, const RegraPrefixo& regra, int lista,
                        const CString& arquivo, uint16_t mes) {
  RegistrosAntigos antigo(regra.tamanhoAntigo);
  const auto falha = [&](HRESULT erro, uint32_t i) {
    return passo.Falha(erro, linhas.ler, static_cast<const char*>(arquivo), static_cast<int>(i));
  };
  if (HRESULT hr = LeAntigo(passo, arquivo, linhas.abrir, falha, antigo); FAILED(hr)) return hr;
  CPPArqEx* novo = nullptr;
  if (HRESULT hr = passo.AbreTRA(lista, arquivo, regra.tamanhoNovo, linhas.abrir, &novo); FAILED(hr)) return hr;
  const CString nomeNovo = novo->GetFilePath();
  std::vector<uint8_t> registro(regra.tamanhoNovo);
  for (uint32_t i = 1; i <= antigo.Quantidade(); ++i) {
    std::fill(registro.begin(), registro.end(), 0);
    regra.regra(antigo[i], registro.data());
    uint32_t numero;
    if (int erro = Acrescenta(*novo, registro.data(), &numero)) {
      return descricao.bPosicao ? passo.Falha(ErroDoMotor(erro), linhas.gravar, static_cast<const char*>(nomeNovo),
                                              static_cast<int>(i))
                                : passo.Falha(ErroDoMotor(erro), linhas.gravar, static_cast<const char*>(nomeNovo));
    }
    if (descricao.bPosicao && numero != i)
      return passo.Falha(kErroPasso, linhas.posicao, static_cast<const char*>(TextoChave(mes, i)),
                         static_cast<const char*>(TextoChave(mes, numero)));
  }
  return S_OK;
}

// For each month and prefix whose old file exists: every record through the prefix's rule, appended.
HRESULT ConverteRegistroARegistro(CPPAtualizaVersao& conversor, uint16_t usVersao,
                                  const PassoRegistroARegistro& descricao) {
  CPPPassoConversao passo(conversor, usVersao);
  const LinhasRegistroARegistro linhas(descricao);
  passo.VerificaSobras({"*.TRA"}, linhas.sobras);
  std::vector<int> listas;
  std::vector<CString> prefixos;
  for (const RegraPrefixo& regra : descricao.prefixos) {
    listas.push_back(passo.Lista(CPPPassoConversao::kRemoveArquivosMovimentacao, regra.linhaFalhaRemocao));
    prefixos.push_back(regra.prefixo);
  }
  return passo.Executa([&]() -> HRESULT {
    return PorMes(passo, prefixos, [&](uint16_t mes) -> HRESULT {
      for (size_t k = 0; k < descricao.prefixos.size(); ++k) {
        const CString arquivo = Periodo(passo, prefixos[k], mes);
        if (!QVExisteArquivo(arquivo)) continue;
        if (HRESULT hr = ConvertePeriodo(passo, descricao, linhas, descricao.prefixos[k], listas[k], arquivo, mes);
            FAILED(hr))
          return hr;
      }
      return S_OK;
    });
  });
}

HRESULT ConverteV03_p_V04(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  return ConverteRegistroARegistro(
      conversor, usVersao,
      {"AtualizaV03_p_V04",
       false,
       {{CPPNomesArquivos::PrefixoLoteMovimento(), kTamanhoLoteV3, kTamanhoLoteV4, &RegraLoteV03,
         "AtualizaV03_p_V04 -> RemoveArquivos(aArqsLoteMovimento_V03, usVersaoAtual)"}}});
}

HRESULT ConverteV04_p_V05(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  return ConverteRegistroARegistro(
      conversor, usVersao,
      {"AtualizaV04_p_V05",
       false,
       {{CPPNomesArquivos::PrefixoApontamento(), kTamanhoApontamentoV3, kTamanhoApontamentoV5, &RegraApontamentoV04,
         "AtualizaV04_p_V05 -> RemoveArquivos(aArqApontamento_V04, usVersaoAtual)"},
        {CPPNomesArquivos::PrefixoRetornoIndExterna(), kTamanhoRetornoV2, kTamanhoRetornoV5, &RegraRetornoV04,
         "AtualizaV04_p_V05 -> RemoveArquivos(aArqRetornoIndExterna_V04, usVersaoAtual)"}}});
}

HRESULT ConverteV07_p_V08(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  return ConverteRegistroARegistro(conversor, usVersao,
                                   {"AtualizaV07_p_V08",
                                    true,
                                    {{CPPNomesArquivos::PrefixoOP(), kTamanhoOP, kTamanhoOP, &RegraOrdemV07,
                                      "AtualizaV07_p_V08 -> RemoveArquivosMovimentacao(aArqOP_V07, usVersaoAtual)"}}});
}

HRESULT ConverteV08_p_V09(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  return ConverteRegistroARegistro(conversor, usVersao,
                                   {"AtualizaV08_p_V09",
                                    false,
                                    {{CPPNomesArquivos::PrefixoOP(), kTamanhoOP, kTamanhoOP, &RegraOrdemV08,
                                      "AtualizaV08_p_V09 -> RemoveArquivos(aArqOP_V08, usVersaoAtual)"},
                                     {CPPNomesArquivos::PrefixoOPItem(), kTamanhoItem, kTamanhoItem, &RegraItemV08,
                                      "AtualizaV08_p_V09 -> RemoveArquivos(aArqItem_V08, usVersaoAtual)"}}});
}

// ---------------------------------------------------------------------------------------------------
// V05->V06: the returns from outsourced processing widened, with their time records

constexpr PPCampoCopiado kCamposRetornoV05[] = {{0, 0, 24}, {28, 24, 4}, {32, 28, 4}, {48, 32, 12}, {66, 44, 3}};

HRESULT ConverteRetornosV05(CPPPassoConversao& passo, ListasPrefixo listaRetornos, int listaTempos, int listaChaves,
                            uint16_t mes) {
  const auto falhaLeitura = [&](HRESULT erro, const char* arquivo, uint32_t i) {
    return passo.Falha(erro, "AtualizaV05_p_V06 -> ler arquivo %s em %i", arquivo, static_cast<int>(i));
  };
  const auto falhaGravacao = [&](HRESULT erro, CPPArqEx& arquivo, uint32_t i) {
    return passo.Falha(erro, "AtualizaV05_p_V06 -> gravar arquivo %s em %i",
                       static_cast<const char*>(arquivo.GetFilePath()), static_cast<int>(i));
  };
  const char* abrir = "AtualizaV05_p_V06 -> abrir arquivo %s";
  ArquivoMes retornos(kTamanhoRetornoV5);
  CPPArqEx* tempos = nullptr;
  CPPArqEx* chaves = nullptr;
  if (HRESULT hr = AbreArquivoMes(passo, CPPNomesArquivos::PrefixoRetornoIndExterna(), mes, listaRetornos,
                                  kTamanhoRetornoV6, abrir, falhaLeitura, retornos);
      FAILED(hr))
    return hr;
  if (HRESULT hr =
          passo.AbreTRA(listaTempos, Periodo(passo, CPPNomesArquivos::PrefixoOPTI(), mes), kTamanhoTI, abrir, &tempos);
      FAILED(hr))
    return hr;
  if (HRESULT hr =
          passo.AbreTRA(listaChaves, Periodo(passo, CPPNomesArquivos::PrefixoOPTA(), mes), kTamanhoTA, abrir, &chaves);
      FAILED(hr))
    return hr;

  for (uint32_t i = 1; i <= retornos.antigo.Quantidade(); ++i) {
    const uint8_t* antigo = retornos.antigo[i];
    uint8_t registro[kTamanhoRetornoV6] = {};
    PPCopiaCampos(registro, antigo, kCamposRetornoV05);
    uint32_t numero;
    if (U32(antigo, 56) != 0 || U32(antigo, 60) != 0) {
      uint8_t chave[kTamanhoTA];
      PoeU32(chave, 0, QVMontaChave(mes, U32(antigo, 60)));
      uint32_t numeroChave;
      if (int erro = Acrescenta(*chaves, chave, &numeroChave)) return falhaGravacao(ErroDoMotor(erro), *chaves, i);
      uint8_t tempo[kTamanhoTI] = {};
      uint64_t total, desconto;
      std::memcpy(&total, antigo, sizeof total);
      std::memcpy(&desconto, antigo + 8, sizeof desconto);
      const uint64_t diferenca = total - desconto;
      std::memcpy(tempo, &diferenca, sizeof diferenca);
      std::memcpy(tempo + 16, antigo + 56, 4);
      PoeU32(tempo, 20, numeroChave);
      PoeU16(tempo, 28, 1);
      if (int erro = Acrescenta(*tempos, tempo, &numero)) return falhaGravacao(ErroDoMotor(erro), *tempos, i);
      PoeU32(registro, 36, numero);
      PoeU16(registro, 60, 1);
    }
    if (int erro = Acrescenta(*retornos.novo, registro, &numero))
      return falhaGravacao(ErroDoMotor(erro), *retornos.novo, i);
  }
  return S_OK;
}

HRESULT ConverteV05_p_V06(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  CPPPassoConversao passo(conversor, usVersao);
  passo.VerificaSobras({"*.TRA"}, "AtualizaV05_p_V06 -> conversão anterior não terminou com sucesso"_ansi);
  const ListasPrefixo retornos =
      Listas(passo, "AtualizaV05_p_V06 -> RemoveArquivosMovimentacao(aArqRetornoIndExterna_V05, usVersaoAtual)");
  // Files that the step creates: there is no old one.
  const int tempos = passo.Lista(CPPPassoConversao::kSemRemocao);
  const int chaves = passo.Lista(CPPPassoConversao::kSemRemocao);
  return passo.Executa([&]() -> HRESULT {
    return PorMes(passo, {CPPNomesArquivos::PrefixoRetornoIndExterna()},
                  [&](uint16_t mes) { return ConverteRetornosV05(passo, retornos, tempos, chaves, mes); });
  });
}

// ---------------------------------------------------------------------------------------------------
// V06->V07: processes widened with the list of their reports, customers added to the reports

constexpr PPCampoCopiado kCamposProcessoV06[] = {
    {0, 0, 16}, {16, 64, 8}, {32, 16, 24}, {56, 58, 4}, {60, 78, 4}, {64, 84, 4}, {72, 40, 2},
    {74, 42, 2}, {76, 62, 2}, {78, 82, 2}, {80, 88, 2}, {84, 44, 10}, {94, 54, 4},
};

void RegraProcessoV06(const uint8_t* antigo, uint8_t* novo) {
  PPCopiaCampos(novo, antigo, kCamposProcessoV06);
  // The time per unit: 60 divided by the four-decimal value at 32, as an eight-decimal value.
  CY base;
  std::memcpy(&base, novo + 32, sizeof base);
  if (base.int64 > 0) {
    const CY tempo = (CQVCurrencyEx8(60.0) / base).GetCY();
    std::memcpy(novo + 24, &tempo, sizeof tempo);
  }
}

constexpr PPCampoCopiado kCamposApontamentoV06[] = {
    {0, 0, 40}, {48, 40, 28}, {76, 174, 4}, {80, 68, 48}, {128, 178, 4},
    {136, 116, 24}, {162, 140, 8}, {170, 182, 2}, {172, 148, 9}, {182, 158, 2},
};

// The customer (132) is set by the report's conversion.
void RegraApontamentoV06(const uint8_t* antigo, uint8_t* novo) {
  PPCopiaCampos(novo, antigo, kCamposApontamentoV06);
  PoeU16(novo, 160, U32(antigo, 60) > 0 ? 1 : 0);
}

constexpr PPCampoCopiado kCamposMovimentoV06[] = {{24, 0, 20}, {44, 76, 4}, {48, 20, 20}, {68, 40, 12}, {86, 52, 3}};

constexpr const char* kAbrirV06 = "AtualizaV06_p_V07 -> abrir arquivo %s";

struct ListasV06 {
  ListasPrefixo ordens;
  ListasPrefixo processos;
  ListasPrefixo apontamentos;
  ListasPrefixo movimentos;
  int relacoes;  // files that the step creates: there is no old one
};

HRESULT FalhaLeituraV06(CPPPassoConversao& passo, HRESULT erro, const char* arquivo, uint32_t numero) {
  return passo.Falha(erro, "AtualizaV06_p_V07 -> ler arquivo %s posicao %i", arquivo, static_cast<int>(numero));
}

HRESULT AcrescentaV06(CPPPassoConversao& passo, CPPArqEx& arquivo, const uint8_t* registro, uint32_t posicao,
                      uint32_t* numero) {
  if (int erro = Acrescenta(arquivo, registro, numero))
    return passo.Falha(ErroDoMotor(erro), "AtualizaV06_p_V07 -> gravar arquivo %s posicao %i",
                       static_cast<const char*>(arquivo.GetFilePath()), static_cast<int>(posicao));
  return S_OK;
}

// The month's files of orders in V06->V07, with its reports by the order (32-bit value at 68) and
// process (at 76) that they report on, each list in rising record number: what a scan of every
// report in order finds for one process.
struct OrdensV06 {
  CPPPassoConversao& passo;
  uint16_t mes;
  ArquivoMes ordens{kTamanhoOP};
  ArquivoMes processos{kTamanhoProcessoV3};
  CPPArqEx* relacoes = nullptr;
  std::unordered_map<uint64_t, std::vector<uint32_t>> relatorios = {};

  static uint64_t ChaveProcesso(uint32_t ordem, uint32_t processo) {
    return static_cast<uint64_t>(ordem) << 32 | processo;
  }

  void IndexaApontamentos(const RegistrosAntigos& apontamentos) {
    for (uint32_t i = 1; i <= apontamentos.Quantidade(); ++i)
      relatorios[ChaveProcesso(U32(apontamentos[i], 68), U32(apontamentos[i], 76))].push_back(i);
  }

  // The "PPRA" records of the reports on process `antigo` of order j: the first one at 68 of the
  // new process, their count at 82.
  HRESULT ListaApontamentos(uint32_t j, const uint8_t* antigo, uint8_t* processo) {
    const auto encontrados = relatorios.find(ChaveProcesso(j, U32(antigo, 28)));
    if (encontrados == relatorios.end()) return S_OK;
    for (const uint32_t i : encontrados->second) {
      uint8_t relacao[kTamanhoRelacao];
      PoeU32(relacao, 0, i);
      uint32_t numero;
      if (HRESULT hr = AcrescentaV06(passo, *relacoes, relacao, i, &numero); FAILED(hr)) return hr;
      if (U16(processo, 82) == 0) PoeU32(processo, 68, numero);
      PoeU16(processo, 82, static_cast<uint16_t>(U16(processo, 82) + 1));
    }
    return S_OK;
  }

  // Order j followed by its processes in its order.
  HRESULT ConverteOrdem(uint32_t j) {
    const uint8_t* op = ordens.antigo[j];
    uint8_t cabecalho[kTamanhoOP];
    std::memcpy(cabecalho, op, sizeof cabecalho);
    PoeU32(cabecalho, 48, 0);
    PoeU16(cabecalho, 96, 0);
    uint32_t numero;
    for (uint16_t k = 0; k < U16(op, 96); ++k) {
      const uint32_t p = U32(op, 48) + k;
      const uint8_t* antigo = nullptr;
      if (int erro = processos.antigo.Le(p, &antigo))
        return FalhaLeituraV06(passo, ErroDoMotor(erro), processos.dat, p);
      uint8_t processo[kTamanhoProcessoV7] = {};
      RegraProcessoV06(antigo, processo);
      if (processo[94] == 1) {
        if (HRESULT hr = ListaApontamentos(j, antigo, processo); FAILED(hr)) return hr;
      }
      if (HRESULT hr = AcrescentaV06(passo, *processos.novo, processo, p, &numero); FAILED(hr)) return hr;
      if (k == 0) PoeU32(cabecalho, 48, numero);
      PoeU16(cabecalho, 96, static_cast<uint16_t>(k + 1));
    }
    if (HRESULT hr = AcrescentaV06(passo, *ordens.novo, cabecalho, j, &numero); FAILED(hr)) return hr;
    if (numero != j)
      return passo.Falha(
          kErroPasso, "AtualizaV06_p_V07 -> Inconsistência na gravação. OP origem (%s) - OP destino (%s)"_ansi,
          static_cast<const char*>(TextoChave(mes, j)), static_cast<const char*>(TextoChave(mes, numero)));
    return S_OK;
  }
};

// The month's orders, each followed by its processes, and the lists of the reports of each process
// whose byte 94 is 1; processes that no order names are not carried.
HRESULT ReconstroiOrdensV06(CPPPassoConversao& passo, const ListasV06& listas, uint16_t mes) {
  OrdensV06 mesV06{passo, mes};
  RegistrosAntigos apontamentos(kTamanhoApontamentoV5);
  const auto falhaOrdem = [&](HRESULT erro, const char* arquivo, uint32_t j) {
    return passo.Falha(erro, "AtualizaV06_p_V07 -> abrir arquivo %s posicao %i", arquivo, static_cast<int>(j));
  };
  const auto falhaLeitura = [&](HRESULT erro, const char* arquivo, uint32_t i) {
    return FalhaLeituraV06(passo, erro, arquivo, i);
  };
  if (HRESULT hr = AbreArquivoMes(passo, CPPNomesArquivos::PrefixoOP(), mes, listas.ordens, kTamanhoOP, kAbrirV06,
                                  falhaOrdem, mesV06.ordens);
      FAILED(hr))
    return hr;
  const CString arquivoApontamentos = Periodo(passo, CPPNomesArquivos::PrefixoApontamento(), mes);
  if (HRESULT hr = LeAntigo(
          passo, arquivoApontamentos, kAbrirV06,
          [&](HRESULT erro, uint32_t i) { return falhaLeitura(erro, arquivoApontamentos, i); }, apontamentos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = AbreArquivoMes(passo, CPPNomesArquivos::PrefixoOPProcesso(), mes, listas.processos,
                                  kTamanhoProcessoV7, kAbrirV06, falhaLeitura, mesV06.processos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = passo.AbreTRA(listas.relacoes, Periodo(passo, CPPNomesArquivos::PrefixoOPRA(), mes), kTamanhoRelacao,
                                 kAbrirV06, &mesV06.relacoes);
      FAILED(hr))
    return hr;
  mesV06.IndexaApontamentos(apontamentos);
  for (uint32_t j = 1; j <= mesV06.ordens.antigo.Quantidade(); ++j) {
    if (HRESULT hr = mesV06.ConverteOrdem(j); FAILED(hr)) return hr;
  }
  return S_OK;
}

// The month's reports with their customers, then its movements.
HRESULT ConverteApontamentosV06(CPPPassoConversao& passo, const ListasV06& listas, CPPAcessoDados& dados,
                                uint16_t mes) {
  ArquivoMes apontamentos(kTamanhoApontamentoV5);
  ArquivoMes movimentos(kTamanhoMovimentoV3);
  RegistrosAntigos remessas(kTamanhoRemessa);
  const auto falhaLeitura = [&](HRESULT erro, const char* arquivo, uint32_t i) {
    return FalhaLeituraV06(passo, erro, arquivo, i);
  };
  if (HRESULT hr = AbreArquivoMes(passo, CPPNomesArquivos::PrefixoApontamento(), mes, listas.apontamentos,
                                  kTamanhoApontamentoV7, kAbrirV06, falhaLeitura, apontamentos);
      FAILED(hr))
    return hr;
  if (HRESULT hr = AbreArquivoMes(passo, CPPNomesArquivos::PrefixoMovtoApontamento(), mes, listas.movimentos,
                                  kTamanhoMovimentoV7, kAbrirV06, falhaLeitura, movimentos);
      FAILED(hr))
    return hr;
  const CString arquivoRemessas = Periodo(passo, CPPNomesArquivos::PrefixoRemessaIndustrializacao(), mes);
  if (HRESULT hr = LeAntigo(
          passo, arquivoRemessas, kAbrirV06,
          [&](HRESULT erro, uint32_t i) { return falhaLeitura(erro, arquivoRemessas, i); }, remessas);
      FAILED(hr))
    return hr;

  uint32_t numero;
  for (uint32_t i = 1; i <= apontamentos.antigo.Quantidade(); ++i) {
    const uint8_t* antigo = apontamentos.antigo[i];
    uint8_t registro[kTamanhoApontamentoV7] = {};
    RegraApontamentoV06(antigo, registro);
    uint32_t cliente = 0;
    if (const uint32_t nota = U32(antigo, 56); nota > 0) {
      CPPDadosNotaFiscalFT notaFiscal;
      if (const int32_t hr = dados.LeNotaFiscalFT(nota, &notaFiscal); hr < 0)
        return passo.Falha(hr, "AtualizaV06_p_V07 -> ler nota fiscal %s",
                           static_cast<const char*>(QVChaveParaTexto(nota)));
      cliente = static_cast<uint32_t>(notaFiscal.GetPonteiroCliente());
    } else if (const int32_t remessa = I32(antigo, 104); remessa > 0) {
      const uint8_t* registroRemessa = nullptr;
      if (int erro = remessas.Le(static_cast<uint32_t>(remessa), &registroRemessa))
        return falhaLeitura(ErroDoMotor(erro), arquivoRemessas, static_cast<uint32_t>(remessa));
      cliente = U32(registroRemessa, 20);
    }
    PoeU32(registro, 132, cliente);
    if (HRESULT hr = AcrescentaV06(passo, *apontamentos.novo, registro, i, &numero); FAILED(hr)) return hr;
  }
  for (uint32_t i = 1; i <= movimentos.antigo.Quantidade(); ++i) {
    uint8_t registro[kTamanhoMovimentoV7] = {};
    PPCopiaCampos(registro, movimentos.antigo[i], kCamposMovimentoV06);
    if (HRESULT hr = AcrescentaV06(passo, *movimentos.novo, registro, i, &numero); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT ConverteV06_p_V07(CPPAtualizaVersao& conversor, uint16_t usVersao) {
  CPPPassoConversao passo(conversor, usVersao);
  passo.VerificaSobras({"*.TRA"}, "AtualizaV06_p_V07 -> conversão anterior não terminou com sucesso"_ansi);
  ListasV06 listas;
  listas.ordens = Listas(passo, "AtualizaV06_p_V07 -> RemoveArquivosMovimentacao(aArqOP_V06, usVersaoAtual)");
  listas.processos = Listas(passo, "AtualizaV06_p_V07 -> RemoveArquivosMovimentacao(aArqProcesso_V06, usVersaoAtual)");
  listas.apontamentos =
      Listas(passo, "AtualizaV06_p_V07 -> RemoveArquivosMovimentacao(aArqApontamento_V06, usVersaoAtual)");
  listas.movimentos =
      Listas(passo, "AtualizaV06_p_V07 -> RemoveArquivosMovimentacao(aArqMovimentoPP_V06, usVersaoAtual)");
  listas.relacoes = passo.Lista(CPPPassoConversao::kSemRemocao);
  return passo.Executa([&]() -> HRESULT {
    if (HRESULT hr = PorMes(passo, {CPPNomesArquivos::PrefixoOP(), CPPNomesArquivos::PrefixoOPProcesso()},
                            [&](uint16_t mes) { return ReconstroiOrdensV06(passo, listas, mes); });
        FAILED(hr))
      return hr;
    CPPAcessoDados dados;
    dados.Inicializa(conversor.GetEmpresa(), conversor.GetUsuario(), 0);
    return PorMes(passo, {CPPNomesArquivos::PrefixoApontamento(), CPPNomesArquivos::PrefixoMovtoApontamento()},
                  [&](uint16_t mes) { return ConverteApontamentosV06(passo, listas, dados, mes); });
  });
}

// ---------------------------------------------------------------------------------------------------
// The clean-up

// Whether the name is the history copy "<prefix>MMAA_Vnnn.HIS" (PPNomeArquivoVersao of a month's
// ".HIS" name) of an order prefix at a version below usVersao.
bool EhCopiaAntiga(const char* nome, const CStringArray& prefixos, uint16_t usVersao) {
  const uint16_t mes = MesDoSufixo(nome + 4);
  if (mes == 0) return false;
  int versao = 0;
  for (int k = 10; k < 13; ++k) {
    if (nome[k] < '0' || nome[k] > '9') return false;
    versao = versao * 10 + (nome[k] - '0');
  }
  if (versao < 1 || versao >= usVersao) return false;
  for (int p = 0; p < prefixos.GetSize(); ++p) {
    const CString historico = prefixos[p] + PPSufixoPeriodo(mes) + ".HIS";
    if (PPNomeArquivoVersao(historico, static_cast<uint16_t>(versao)).CompareNoCase(nome) == 0) return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// CPPAtualizaVersaoOP

CPPAtualizaVersaoOP::CPPAtualizaVersaoOP()
    : CPPAtualizaVersao(
          PPDescricaoConversor{kPPGrupoOrdemProducao,
                               "AtualizaOP",
                               {"AtualizaV01_p_V02", "AtualizaV02_p_V03", "AtualizaV03_p_V04", "AtualizaV04_p_V05",
                                "AtualizaV05_p_V06", "AtualizaV06_p_V07", "AtualizaV07_p_V08", "AtualizaV08_p_V09"},
                               nullptr}) {}

HRESULT CPPAtualizaVersaoOP::Converte(uint16_t usVersao) {
  SetLimparHistorico(true);
  switch (usVersao) {
    case 1: return ConverteV01_p_V02(*this, usVersao);
    case 2: return ConverteV02_p_V03(*this, usVersao);
    case 3: return ConverteV03_p_V04(*this, usVersao);
    case 4: return ConverteV04_p_V05(*this, usVersao);
    case 5: return ConverteV05_p_V06(*this, usVersao);
    case 6: return ConverteV06_p_V07(*this, usVersao);
    case 7: return ConverteV07_p_V08(*this, usVersao);
    case 8: return ConverteV08_p_V09(*this, usVersao);
    default: return kErroPasso;
  }
}

void CPPAtualizaVersaoOP::LimpaHistorico(uint16_t usVersao) {
  CStringArray prefixos;
  CPPNomesArquivos::ListaPrefixosOP(prefixos);
  // One listing of the directory instead of a look-up per prefix, version and month number.
  std::vector<CString> copias;
  WIN32_FIND_DATAA achado;
  HANDLE busca = FindFirstFileA(GetDiretorio() + "????????_V???.HIS", &achado);
  if (busca == INVALID_HANDLE_VALUE) return;
  do {
    if (EhCopiaAntiga(achado.cFileName, prefixos, usVersao)) copias.push_back(GetDiretorio() + achado.cFileName);
  } while (FindNextFileA(busca, &achado));
  FindClose(busca);
  for (const CString& copia : copias) {
    try {
      CFile::Remove(copia);
      PPNotificaAtualizacao("apaga", copia);
    } catch (const CFileException&) {
      // A copy that stays is only room on the disk; the upgrade has succeeded.
    }
  }
}
