#include "tests/support/VersoesAntigasOP.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/com/classobject.h"
#include "platform/com/taskmem.h"
#include "platform/family/estoque/InterfacesEstoque.h"

namespace {

// The record length of a file in a span of versions.
struct FaixaTamanho {
  uint16_t de;
  uint16_t ate;
  uint32_t tamanho;
};

struct Tamanhos {
  ArquivoOP arquivo;
  std::vector<FaixaTamanho> faixas;
};

// The record lengths of the conversion tables: V02->V03 narrows PPPR, PPIT, PPAP, widens PPME and
// creates PPLT; V03->V04 widens PPLT; V04->V05 PPAP and PPRI; V05->V06 PPRI and creates PPTI and
// PPTA; V06->V07 widens PPPR, PPAP, PPME and creates PPRA.
const std::vector<Tamanhos> kTamanhos = {
    {ArquivoOP::OP, {{1, 9, 256}}},
    {ArquivoOP::PR, {{1, 2, 128}, {3, 6, 90}, {7, 9, 128}}},
    {ArquivoOP::MT, {{1, 9, 128}}},
    {ArquivoOP::IT, {{1, 2, 128}, {3, 9, 90}}},
    {ArquivoOP::AP, {{1, 2, 220}, {3, 4, 170}, {5, 6, 188}, {7, 9, 200}}},
    {ArquivoOP::RI, {{1, 4, 32}, {5, 5, 64}, {6, 9, 90}}},
    {ArquivoOP::ME, {{1, 2, 4}, {3, 6, 80}, {7, 9, 104}}},
    {ArquivoOP::LT, {{3, 3, 26}, {4, 9, 62}}},
    {ArquivoOP::TI, {{6, 9, 64}}},
    {ArquivoOP::TA, {{6, 9, 4}}},
    {ArquivoOP::RA, {{7, 9, 4}}},
    {ArquivoOP::RM, {{1, 9, 60}}},
};

// Where a field lies in a span of versions.
struct FaixaCampo {
  uint16_t de;
  uint16_t ate;
  uint32_t deslocamento;
  uint32_t largura;
};

struct CampoTabela {
  CampoOP campo;
  ArquivoOP arquivo;
  std::vector<FaixaCampo> faixas;
};

// Each field followed through the tables: V02->V03 moves the process's and the report's fields,
// V04->V05 the report's counts and the return's links, V05->V06 the return's links again, V06->V07
// the process's, the report's and the movement's, V07->V08 the order header's.
const std::vector<CampoTabela> kCampos = {
    {CampoOP::OPPrimeiroProcesso, ArquivoOP::OP, {{1, 7, 48, 4}, {8, 9, 60, 4}}},
    {CampoOP::OPQuantidadeProcessos, ArquivoOP::OP, {{1, 7, 96, 2}, {8, 9, 108, 2}}},
    {CampoOP::OPSituacao, ArquivoOP::OP, {{1, 7, 158, 1}, {8, 9, 170, 1}}},
    {CampoOP::OPIgnoraFicha, ArquivoOP::OP, {{1, 7, 159, 1}, {8, 9, 171, 1}}},
    {CampoOP::PRSituacao, ArquivoOP::PR, {{1, 2, 91, 1}, {3, 6, 55, 1}, {7, 9, 95, 1}}},
    {CampoOP::PRPonteiroProcesso, ArquivoOP::PR, {{1, 2, 36, 4}, {3, 6, 28, 4}, {7, 9, 44, 4}}},
    {CampoOP::PRComApontamentos, ArquivoOP::PR, {{1, 2, 90, 1}, {3, 6, 54, 1}, {7, 9, 94, 1}}},
    {CampoOP::PRTempo, ArquivoOP::PR, {{1, 6, 16, 8}, {7, 9, 32, 8}}},
    {CampoOP::PRTaxa, ArquivoOP::PR, {{7, 9, 24, 8}}},
    {CampoOP::PRPrimeiroApontamento, ArquivoOP::PR, {{7, 9, 68, 4}}},
    {CampoOP::PRQuantidadeApontamentos, ArquivoOP::PR, {{7, 9, 82, 2}}},
    {CampoOP::ITSituacao, ArquivoOP::IT, {{1, 2, 78, 1}, {3, 9, 56, 1}}},
    {CampoOP::APNotaFiscal, ArquivoOP::AP, {{1, 6, 56, 4}, {7, 9, 64, 4}}},
    {CampoOP::APEntrada, ArquivoOP::AP, {{1, 6, 60, 4}, {7, 9, 68, 4}}},
    {CampoOP::APRefugo, ArquivoOP::AP, {{1, 6, 64, 4}, {7, 9, 72, 4}}},
    {CampoOP::APOrdem, ArquivoOP::AP, {{1, 6, 68, 4}, {7, 9, 80, 4}}},
    {CampoOP::APPonteiroProcesso, ArquivoOP::AP, {{1, 6, 76, 4}, {7, 9, 88, 4}}},
    {CampoOP::APPrimeiroConsumo, ArquivoOP::AP, {{1, 6, 80, 4}, {7, 9, 92, 4}}},
    {CampoOP::APQuantidadeConsumos, ArquivoOP::AP, {{1, 2, 132, 2}, {3, 4, 124, 2}, {5, 6, 140, 2}, {7, 9, 162, 2}}},
    {CampoOP::APPrimeiroRetorno, ArquivoOP::AP, {{1, 6, 84, 4}, {7, 9, 96, 4}}},
    {CampoOP::APQuantidadeRetornos, ArquivoOP::AP, {{1, 2, 134, 2}, {3, 4, 126, 2}, {5, 6, 142, 2}, {7, 9, 164, 2}}},
    {CampoOP::APSituacao, ArquivoOP::AP, {{1, 2, 162, 1}, {3, 4, 130, 1}, {5, 6, 150, 1}, {7, 9, 174, 1}}},
    {CampoOP::APTemEntrada, ArquivoOP::AP, {{3, 4, 137, 1}, {5, 6, 157, 1}, {7, 9, 160, 2}}},
    {CampoOP::APRemessa, ArquivoOP::AP, {{3, 4, 154, 4}, {5, 6, 104, 4}, {7, 9, 116, 4}}},
    {CampoOP::APCliente, ArquivoOP::AP, {{7, 9, 132, 4}}},
    {CampoOP::RIPrimeiroMovimento, ArquivoOP::RI, {{1, 4, 24, 4}, {5, 5, 28, 4}, {6, 9, 32, 4}}},
    {CampoOP::RIQuantidadeMovimentos, ArquivoOP::RI, {{1, 4, 22, 2}, {5, 5, 42, 2}, {6, 9, 58, 2}}},
    {CampoOP::RIValorTI, ArquivoOP::RI, {{5, 5, 56, 4}}},
    {CampoOP::RIRegistroTA, ArquivoOP::RI, {{5, 5, 60, 4}}},
    {CampoOP::RIPrimeiroTI, ArquivoOP::RI, {{6, 9, 36, 4}}},
    {CampoOP::RITemTI, ArquivoOP::RI, {{6, 9, 60, 2}}},
    {CampoOP::MEChave, ArquivoOP::ME, {{1, 2, 0, 4}, {3, 6, 8, 4}, {7, 9, 32, 4}}},
    {CampoOP::MELote, ArquivoOP::ME, {{3, 6, 12, 4}, {7, 9, 36, 4}}},
    {CampoOP::TIRegistroTA, ArquivoOP::TI, {{6, 9, 20, 4}}},
    {CampoOP::RMCliente, ArquivoOP::RM, {{1, 9, 20, 4}}},
};

template <class Faixa>
const Faixa* FaixaDa(const std::vector<Faixa>& faixas, uint16_t versao) {
  for (const Faixa& faixa : faixas)
    if (versao >= faixa.de && versao <= faixa.ate) return &faixa;
  return nullptr;
}

// A little-endian value of `largura` bytes into a record.
void PoeValor(std::string& bytes, uint32_t deslocamento, int64_t valor, uint32_t largura) {
  if (deslocamento + largura > bytes.size()) throw std::logic_error("field past the end of the record");
  const auto bruto = static_cast<uint64_t>(valor);
  for (uint32_t k = 0; k < largura; ++k) bytes[deslocamento + k] = static_cast<char>((bruto >> (8 * k)) & 0xFF);
}

void EscreveArquivo(const std::string& diretorio, const std::string& nome, const std::string& bytes) {
  std::ofstream arquivo(diretorio + nome, std::ios::binary | std::ios::trunc);
  arquivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!arquivo) throw std::runtime_error("cannot write " + diretorio + nome);
}

template <size_t N>
void Texto(char (&campo)[N], const std::string& texto) {
  std::memset(campo, 0, N);
  std::memcpy(campo, texto.data(), std::min(texto.size(), N - 1));
}

}  // namespace

const char* PrefixoArquivoOP(ArquivoOP arquivo) {
  static const char* const kPrefixos[] = {"PPOP", "PPPR", "PPMT", "PPIT", "PPAP", "PPRI",
                                          "PPME", "PPLT", "PPTI", "PPTA", "PPRA", "PPRM"};
  return kPrefixos[static_cast<size_t>(arquivo)];
}

uint32_t TamanhoRegistroOP(ArquivoOP arquivo, uint16_t versao) {
  for (const Tamanhos& tamanhos : kTamanhos) {
    if (tamanhos.arquivo != arquivo) continue;
    const FaixaTamanho* faixa = FaixaDa(tamanhos.faixas, versao);
    return faixa ? faixa->tamanho : 0;
  }
  return 0;
}

std::string NomeArquivoOP(ArquivoOP arquivo, uint16_t usMesAno) {
  char nome[16];
  std::snprintf(nome, sizeof nome, "%s%02d%02d.DAT", PrefixoArquivoOP(arquivo), (usMesAno - 1) % 12 + 1,
                (1848 + (usMesAno - 1) / 12) % 100);
  return nome;
}

uint16_t MesAnoOP(int mes, int ano) { return static_cast<uint16_t>((ano - 1848) * 12 + mes); }

uint32_t ChaveOP(uint16_t usMesAno, uint32_t numero) { return numero << 12 | usMesAno; }

uint16_t DiaOP(uint16_t usMesAno, int dia) {
  using namespace std::chrono;
  const year_month_day data{year(1848 + (usMesAno - 1) / 12), month(static_cast<unsigned>((usMesAno - 1) % 12 + 1)),
                            day(static_cast<unsigned>(dia))};
  return static_cast<uint16_t>((sys_days(data) - sys_days(year(1847) / December / 30)).count());
}

PosicaoCampoOP PosicaoCampo(CampoOP campo, uint16_t versao) {
  for (const CampoTabela& linha : kCampos) {
    if (linha.campo != campo) continue;
    const FaixaCampo* faixa = FaixaDa(linha.faixas, versao);
    return faixa ? PosicaoCampoOP{faixa->deslocamento, faixa->largura} : PosicaoCampoOP{0, 0};
  }
  return {0, 0};
}

RegistroOP::RegistroOP(ArquivoOP arquivo, uint16_t versao)
    : arquivo_(arquivo), versao_(versao), bytes_(TamanhoRegistroOP(arquivo, versao), '\0') {
  if (bytes_.empty()) throw std::logic_error(std::string(PrefixoArquivoOP(arquivo)) + " has no file at this version");
}

RegistroOP& RegistroOP::Preenche(uint8_t semente) {
  for (size_t k = 0; k < bytes_.size(); ++k) bytes_[k] = static_cast<char>((semente + k) & 0xFF);
  return *this;
}

RegistroOP& RegistroOP::Poe(uint32_t deslocamento, const void* dados, uint32_t tamanho) {
  if (deslocamento + tamanho > bytes_.size()) throw std::logic_error("bytes past the end of the record");
  std::memcpy(bytes_.data() + deslocamento, dados, tamanho);
  return *this;
}

RegistroOP& RegistroOP::Campo(CampoOP campo, int64_t valor) {
  for (const CampoTabela& linha : kCampos) {
    if (linha.campo != campo) continue;
    const PosicaoCampoOP posicao = PosicaoCampo(campo, versao_);
    if (linha.arquivo != arquivo_ || posicao.largura == 0)
      throw std::logic_error(std::string(PrefixoArquivoOP(arquivo_)) + " has no such field at this version");
    PoeValor(bytes_, posicao.deslocamento, valor, posicao.largura);
    return *this;
  }
  throw std::logic_error("unknown field");
}

uint32_t MesOP::Acrescenta(const RegistroOP& registro) {
  if (registro.Versao() != versao_) throw std::logic_error("record of another version");
  std::vector<std::string>& registros = registros_[registro.Arquivo()];
  registros.push_back(registro.Bytes());
  return static_cast<uint32_t>(registros.size());
}

std::map<std::string, std::string> MesOP::Arquivos() const {
  std::map<std::string, std::string> arquivos;
  for (const auto& [arquivo, registros] : registros_)
    arquivos[NomeArquivoOP(arquivo, usMesAno_)] = ArquivoDeRegistros(TamanhoRegistroOP(arquivo, versao_), registros);
  return arquivos;
}

void MesOP::Escreve(const std::string& diretorio) const {
  for (const auto& [nome, bytes] : Arquivos()) EscreveArquivo(diretorio, nome, bytes);
}

std::string DiretorioPP(const Instalacao& instalacao) { return instalacao.dir().path() + "/empresas/TESTE/PP/"; }

void RegistraDiretorioModulo(const Instalacao& instalacao, const char* modulo) {
  instalacao.dir().Write(std::string("empresas/TESTE/") + modulo + "/.keep", "");
  instalacao.GravaValor(std::string("SOFTWARE\\QV Rivovoda\\Empresas\\") + Instalacao::kEmpresa, modulo,
                        instalacao.dir().windows_path() + "empresas\\TESTE\\" + modulo + "\\");
}

// ---------------------------------------------------------------------------------------------------
// Movements

MovimentoSemeadoES MovimentoExemploES(uint32_t n, uint16_t usMesAno, uint8_t cTipo, bool bComLote, bool bComArrays) {
  MovimentoSemeadoES movimento;
  movimento.usMesAno = usMesAno;
  _REG_ES_MOVIMENTOPS& m = movimento.registro;
  std::memset(&m, 0, sizeof m);
  m.regCompletaMovimentoPS.vValorICMS.int64 = 7 * n;
  m.regCompletaMovimentoPS.lPonteiroEmbalagem = static_cast<int32_t>(900 + n);
  if (bComLote) {
    Texto(m.regLotePS.cNumeroLote, "LOTE-" + std::to_string(n));
    m.regLotePS.iDataFabricacao = DiaOP(usMesAno, 2);
    m.regLotePS.iDataValidade = static_cast<uint16_t>(DiaOP(usMesAno, 2) + 300 + n);
    m.regLotePS.iDataEntrada = DiaOP(usMesAno, 3);
    m.regLotePS.iNumeroDias = static_cast<uint16_t>(30 + n);
  }
  m.regPosicaoProduto.lPonteiroProduto = 1000 + n;
  m.regPosicaoProduto.iPonteiroItemGrade1 = static_cast<uint16_t>(10 + n);
  m.regPosicaoProduto.iPonteiroItemGrade2 = static_cast<uint16_t>(20 + n);
  m.regPosicaoProduto.iPonteiroItemGrade3 = static_cast<uint16_t>(30 + n);
  Texto(m.regVolumePS.cVolume, "VOL-" + std::to_string(n));
  Texto(m.cDocumento, "DOC-" + std::to_string(n));
  m.vQuantidade.int64 = 15000 * static_cast<int64_t>(n);
  m.vValorTotal.int64 = 123 * static_cast<int64_t>(n);
  m.lPonteiroForLote = static_cast<int32_t>(200 + n);
  m.lPonteiroForEPTETPE = static_cast<int32_t>(300 + n);
  m.lPonteiroCliEPTETPE = static_cast<int32_t>(400 + n);
  m.lPonteiroFornecedorCliente = static_cast<int32_t>(500 + n);
  m.lChaveQuemGerou = static_cast<int32_t>(0x5000 + n);
  m.iPonteiroFilial = static_cast<uint16_t>(1 + n % 3);
  m.iPonteiroLocalArmazenagem = static_cast<uint16_t>(50 + n);
  m.iDataMovimento = DiaOP(usMesAno, static_cast<int>(1 + n % 28));
  m.iHoraMovimento = static_cast<uint16_t>(480 + n);
  m.iModuloQuemGerou = 1282;
  m.cTipoMovimento = cTipo;
  m.cTipoEstoqueArmazenagem = static_cast<uint8_t>('A' + n % 4);
  m.cTipoProducao = static_cast<uint8_t>('0' + n % 3);
  m.cOrigemDocumento = 'P';
  if (bComArrays) {
    _REG_ES_CONTABILIZACAOPS lancamento;
    std::memset(&lancamento, 0, sizeof lancamento);
    lancamento.vValor.int64 = 10000 * static_cast<int64_t>(n);
    lancamento.lPonteiroContaDebito = static_cast<int32_t>(600 + n);
    Texto(lancamento.cCompHistorico, "Baixa " + std::to_string(n));
    movimento.contabil.push_back(lancamento);
    std::vector<_REG_ES_GERENCIALPS> gerenciais(2);
    for (int32_t k = 0; k < 2; ++k) {
      gerenciais[k].vValor.int64 = 5000 * static_cast<int64_t>(n);
      gerenciais[k].lPonteiroContaContabil = 600 + k;
      gerenciais[k].lPonteiroContaGerencial = 700 + k;
    }
    movimento.gerenciais.push_back(gerenciais);
    _REG_ES_COMPOSICAO_PRODUTOPS item;
    std::memset(&item, 0, sizeof item);
    item.regPosProduto.lPonteiroProduto = 2000 + n;
    item.vQuantidade.int64 = 10000;
    movimento.composicao.push_back(item);
    movimento.referencias = {{static_cast<int32_t>(n)}, {static_cast<int32_t>(n + 1)}};
  }
  return movimento;
}

namespace {

void LiberaArrays(_REG_ES_MOVIMENTOPS& m) {
  if (m.pregContabil)
    for (uint16_t i = 0; i < m.iQuantidadeContabil; ++i) CoTaskMemFree(m.pregContabil[i].pregGerencial);
  CoTaskMemFree(m.pregContabil);
  CoTaskMemFree(m.pregComposicao);
  CoTaskMemFree(m.pregMovReferencia);
  m.pregContabil = nullptr;
  m.pregComposicao = nullptr;
  m.pregMovReferencia = nullptr;
}

// The record pointed at the movement's own arrays, for the call.
_REG_ES_MOVIMENTOPS ComArrays(MovimentoSemeadoES& movimento) {
  _REG_ES_MOVIMENTOPS m = movimento.registro;
  for (size_t i = 0; i < movimento.contabil.size(); ++i) {
    movimento.contabil[i].iQuantidadeGerencial = static_cast<uint16_t>(movimento.gerenciais[i].size());
    movimento.contabil[i].pregGerencial = movimento.gerenciais[i].data();
  }
  m.iQuantidadeContabil = static_cast<uint16_t>(movimento.contabil.size());
  m.pregContabil = movimento.contabil.empty() ? nullptr : movimento.contabil.data();
  m.iQtdItensComposicao = static_cast<uint16_t>(movimento.composicao.size());
  m.pregComposicao = movimento.composicao.empty() ? nullptr : movimento.composicao.data();
  m.iQtdMovsReferencia = static_cast<uint16_t>(movimento.referencias.size());
  m.pregMovReferencia = movimento.referencias.empty() ? nullptr : movimento.referencias.data();
  return m;
}

HRESULT PostaMovimentos(IQVES_Movimento* servidor, std::vector<MovimentoSemeadoES>& movimentos,
                        std::vector<MovimentoLidoES>* gravados) {
  for (MovimentoSemeadoES& movimento : movimentos) {
    uint32_t numero = 0;
    if (const HRESULT hr = servidor->GravaMovimento(0, ComArrays(movimento), nullptr, &numero); FAILED(hr)) return hr;
    MovimentoLidoES gravado{ChaveOP(movimento.usMesAno, numero), {}};
    if (const HRESULT hr = servidor->LeMovimento(gravado.chave, &gravado.registro); FAILED(hr)) return hr;
    LiberaArrays(gravado.registro);
    gravados->push_back(gravado);
  }
  return S_OK;
}

}  // namespace

HRESULT SemeiaMovimentosES(const char* empresa, std::vector<MovimentoSemeadoES>& movimentos,
                           std::vector<MovimentoLidoES>* gravados) {
  IQVES_Movimento* servidor = nullptr;
  if (const HRESULT hr = CoCreateInstance(CLSID_QVES_Movimento, nullptr, CLSCTX_LOCAL_SERVER, IID_IQVES_Movimento,
                                          reinterpret_cast<void**>(&servidor));
      FAILED(hr))
    return hr;
  const std::u16string nome(empresa, empresa + std::strlen(empresa));
  BSTR bsEmpresa = SysAllocString(nome.c_str());
  HRESULT hr = servidor->Inicializa(bsEmpresa, 7, 0, kESModuloProducao);
  SysFreeString(bsEmpresa);
  if (SUCCEEDED(hr)) hr = PostaMovimentos(servidor, movimentos, gravados);
  servidor->Release();
  return hr;
}

// ---------------------------------------------------------------------------------------------------
// A whole company at order version 1

namespace {

constexpr uint32_t kProdutoComFicha = 7001;
constexpr uint32_t kProdutoSemFicha = 7003;
constexpr uint32_t kReferencia = 7002;
constexpr uint16_t kUnidade = 3;
constexpr uint16_t kGrade = 1;
constexpr uint32_t kProcessoA = 501;
constexpr uint32_t kProcessoB = 502;
constexpr uint32_t kProcessoC = 503;

// The sheets in their current layout (64-byte headers, 88-byte processes): header 1 is passed over
// (byte 23 set) though it matches the first order of every block better; header 2 matches it at
// level 1 and gives its processes 2.0 and 7.0.
void EscreveFichas(const std::string& diretorio) {
  auto cabecalho = [](bool passado, uint32_t primeiro) {
    std::string bytes(64, '\0');
    PoeValor(bytes, 0, kProdutoComFicha, 4);
    PoeValor(bytes, 4, kReferencia, 4);
    PoeValor(bytes, 8, primeiro, 4);
    PoeValor(bytes, 12, kUnidade, 2);
    PoeValor(bytes, 14, kGrade, 2);
    PoeValor(bytes, 20, 2, 2);
    PoeValor(bytes, 23, passado ? 1 : 0, 1);
    return bytes;
  };
  auto processo = [](uint32_t ponteiro, int64_t tempo) {
    std::string bytes(88, '\0');
    PoeValor(bytes, 24, tempo, 8);
    PoeValor(bytes, 36, ponteiro, 4);
    return bytes;
  };
  EscreveArquivo(diretorio, "PPFTCABE.DAT", ArquivoDeRegistros(64, {cabecalho(true, 3), cabecalho(false, 1)}));
  EscreveArquivo(diretorio, "PPFTPROC.DAT",
                 ArquivoDeRegistros(88, {processo(kProcessoA, 20000), processo(kProcessoB, 70000),
                                         processo(kProcessoA, 90000), processo(kProcessoB, 90000)}));
}

// The six movements of block b of a month, n counting through the whole company: two
// consumptions (the first with batch and arrays), the return's, a third consumption, the scrap
// entry, the production entry with batch.
constexpr uint32_t kMovimentosPorBloco = 6;

void MovimentosDoBloco(uint16_t usMesAno, uint32_t primeiro, std::vector<MovimentoSemeadoES>& movimentos) {
  movimentos.push_back(MovimentoExemploES(primeiro, usMesAno, 12, true, true));
  movimentos.push_back(MovimentoExemploES(primeiro + 1, usMesAno, 12, false, false));
  movimentos.push_back(MovimentoExemploES(primeiro + 2, usMesAno, 12, false, false));
  movimentos.push_back(MovimentoExemploES(primeiro + 3, usMesAno, 12, false, false));
  movimentos.push_back(MovimentoExemploES(primeiro + 4, usMesAno, 13, false, false));
  movimentos.push_back(MovimentoExemploES(primeiro + 5, usMesAno, 11, true, false));
}

// Block b of a month at version 1; `chaves` are the keys of its six movements.
void EscreveBloco(MesOP& mes, uint32_t b, const uint32_t* chaves, uint32_t notaFiscal) {
  const uint8_t semente = static_cast<uint8_t>(b * 7 + mes.MesAno());
  const uint32_t processo = 3 * b + 1;  // the block's first process, order and PPME record base
  const uint32_t ordem = 3 * b + 1;
  auto ordemComProcessos = [&](uint32_t produto, char situacao, uint32_t primeiro, uint16_t quantidade) {
    return mes.Novo(ArquivoOP::OP)
        .Preenche(semente)
        .Campo(CampoOP::OPSituacao, situacao)
        .Campo(CampoOP::OPIgnoraFicha, 0)
        .Campo(CampoOP::OPPrimeiroProcesso, primeiro)
        .Campo(CampoOP::OPQuantidadeProcessos, quantidade)
        .Poe32(36, kReferencia)
        .Poe32(40, produto)
        .Poe16(104, kUnidade)
        .Poe16(106, kGrade)
        .Poe16(108, 0)
        .Poe16(110, 0);
  };
  mes.Acrescenta(ordemComProcessos(kProdutoComFicha, 'N', processo, 2));
  mes.Acrescenta(ordemComProcessos(kProdutoSemFicha, 'C', processo + 2, 1));
  mes.Acrescenta(ordemComProcessos(kProdutoComFicha, 'E', 0, 0).Campo(CampoOP::OPIgnoraFicha, 1));

  auto processoDaOrdem = [&](char situacao, uint32_t ponteiro, bool apontado, int64_t tempo) {
    return mes.Novo(ArquivoOP::PR)
        .Preenche(static_cast<uint8_t>(semente + ponteiro))
        .Campo(CampoOP::PRSituacao, situacao)
        .Campo(CampoOP::PRPonteiroProcesso, ponteiro)
        .Campo(CampoOP::PRComApontamentos, apontado ? 1 : 0)
        .Campo(CampoOP::PRTempo, tempo);
  };
  mes.Acrescenta(processoDaOrdem('N', kProcessoA, true, 0));
  mes.Acrescenta(processoDaOrdem('P', kProcessoB, true, 0));
  mes.Acrescenta(processoDaOrdem('N', kProcessoC, false, 15000));

  for (uint8_t k = 0; k < 2; ++k) mes.Acrescenta(mes.Novo(ArquivoOP::MT).Preenche(static_cast<uint8_t>(semente + 40 + k)));
  mes.Acrescenta(mes.Novo(ArquivoOP::IT).Preenche(static_cast<uint8_t>(semente + 50)).Campo(CampoOP::ITSituacao, 'N'));
  mes.Acrescenta(mes.Novo(ArquivoOP::IT).Preenche(static_cast<uint8_t>(semente + 51)).Campo(CampoOP::ITSituacao, 'R'));

  const uint32_t me = 4 * b + 1;  // the block's first PPME record
  mes.Acrescenta(mes.Novo(ArquivoOP::AP)
                     .Preenche(static_cast<uint8_t>(semente + 60))
                     .Campo(CampoOP::APOrdem, ordem)
                     .Campo(CampoOP::APPonteiroProcesso, kProcessoA)
                     .Campo(CampoOP::APNotaFiscal, notaFiscal)
                     .Campo(CampoOP::APPrimeiroConsumo, me)
                     .Campo(CampoOP::APQuantidadeConsumos, 2)
                     .Campo(CampoOP::APRefugo, chaves[4])
                     .Campo(CampoOP::APEntrada, chaves[5])
                     .Campo(CampoOP::APPrimeiroRetorno, b + 1)
                     .Campo(CampoOP::APQuantidadeRetornos, 1)
                     .Campo(CampoOP::APSituacao, 'P'));
  mes.Acrescenta(mes.Novo(ArquivoOP::AP)
                     .Preenche(static_cast<uint8_t>(semente + 61))
                     .Campo(CampoOP::APOrdem, ordem)
                     .Campo(CampoOP::APPonteiroProcesso, kProcessoB)
                     .Campo(CampoOP::APNotaFiscal, 0)
                     .Campo(CampoOP::APPrimeiroConsumo, me + 3)
                     .Campo(CampoOP::APQuantidadeConsumos, 1)
                     .Campo(CampoOP::APRefugo, 0)
                     .Campo(CampoOP::APEntrada, 0)
                     .Campo(CampoOP::APPrimeiroRetorno, 0)
                     .Campo(CampoOP::APQuantidadeRetornos, 0)
                     .Campo(CampoOP::APSituacao, 'C'));
  mes.Acrescenta(mes.Novo(ArquivoOP::RI)
                     .Preenche(static_cast<uint8_t>(semente + 70))
                     .Campo(CampoOP::RIPrimeiroMovimento, me + 2)
                     .Campo(CampoOP::RIQuantidadeMovimentos, 1));
  for (uint32_t k = 0; k < 4; ++k) mes.Acrescenta(mes.Novo(ArquivoOP::ME).Campo(CampoOP::MEChave, chaves[k]));
}

}  // namespace

HRESULT EscreveOrdensOPVersao1(const std::string& diretorio, const char* empresa, uint32_t blocos,
                               EmpresaOPVersao1* empresaOP) {
  *empresaOP = EmpresaOPVersao1();
  empresaOP->meses = {MesAnoOP(1, 2024), MesAnoOP(2, 2024)};
  std::vector<MovimentoSemeadoES> movimentos;
  for (uint16_t usMesAno : empresaOP->meses)
    for (uint32_t b = 0; b < blocos; ++b)
      MovimentosDoBloco(usMesAno, static_cast<uint32_t>(movimentos.size()) + 1, movimentos);
  if (const HRESULT hr = SemeiaMovimentosES(empresa, movimentos, &empresaOP->movimentos); FAILED(hr)) return hr;

  EscreveFichas(diretorio);
  std::vector<uint32_t> chaves;
  for (const MovimentoLidoES& movimento : empresaOP->movimentos) chaves.push_back(movimento.chave);
  for (size_t m = 0; m < empresaOP->meses.size(); ++m) {
    MesOP mes(empresaOP->meses[m], 1);
    for (uint32_t b = 0; b < blocos; ++b) {
      const uint32_t notaFiscal = ChaveOP(mes.MesAno(), 100 + b);
      empresaOP->notasFiscais.emplace_back(notaFiscal, static_cast<int32_t>(9000 + 100 * m + b));
      EscreveBloco(mes, b, &chaves[(m * blocos + b) * kMovimentosPorBloco], notaFiscal);
    }
    mes.Escreve(diretorio);
  }
  return S_OK;
}
