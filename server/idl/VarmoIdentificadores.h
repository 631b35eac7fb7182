// The identifiers of the type library VarmoLib and its 17 classes, and the class table that
// registration, unregistration and the class-object registration walk, in this order. Each class
// implements one interface, named as the class with a leading I; its ProgIDs are "Varmo." with the
// class name, with and without ".1", and its registration script is the resource numbered in the
// table (there is no script 106). Constant data only.
#pragma once

#include <cstdint>

#include "platform/com/guid.h"

constexpr char kVarmoLibNome[] = "VarmoLib";
constexpr char kVarmoLibDescricao[] = "Varmo 1.0 Type Library";
constexpr uint16_t kVarmoLibVersaoMaior = 1;
constexpr uint16_t kVarmoLibVersaoMenor = 0;
// The library's locale; the resource that holds it is stored under 1046 (Portuguese, Brazil).
constexpr uint32_t kVarmoLibLocale = 0x0409;
constexpr uint16_t kVarmoLibIdiomaRecurso = 1046;
constexpr char kVarmoLibTexto[] = "{102BD1D5-3BD5-407C-A130-5EA165D3F883}";
constexpr GUID LIBID_VarmoLib = {
    0x102BD1D5, 0x3BD5, 0x407C, {0xA1, 0x30, 0x5E, 0xA1, 0x65, 0xD3, 0xF8, 0x83}};

constexpr char kVarmoAppIdNome[] = "Varmo";
constexpr char kVarmoAppIdTexto[] = "{1817191A-992A-4DD6-A30A-4BD9E5198653}";
constexpr GUID APPID_Varmo = {
    0x1817191A, 0x992A, 0x4DD6, {0xA3, 0x0A, 0x4B, 0xD9, 0xE5, 0x19, 0x86, 0x53}};

constexpr CLSID CLSID_QVPP_TipoOP = {
    0xFE060C07, 0xD7ED, 0x4A54, {0x9D, 0x21, 0x6D, 0x39, 0x93, 0x23, 0x81, 0x2B}};
constexpr CLSID CLSID_QVPP_Processo = {
    0x16FF7E70, 0x563E, 0x4630, {0xA3, 0x6C, 0x02, 0x8A, 0xD0, 0xB7, 0x70, 0x77}};
constexpr CLSID CLSID_QVPP_FluxoProcesso = {
    0x11BE5F65, 0x041A, 0x4ECE, {0xA2, 0xE0, 0x4E, 0x24, 0x13, 0x3B, 0x3E, 0x7D}};
constexpr CLSID CLSID_QVPP_OperacaoProducao = {
    0x4D5BEFCF, 0x0133, 0x492F, {0x83, 0x95, 0xA1, 0x0D, 0x65, 0xEA, 0xAB, 0x6F}};
constexpr CLSID CLSID_QVPP_OP = {
    0x653F195B, 0xD434, 0x43C5, {0xB4, 0xC6, 0x05, 0x1C, 0xF5, 0x91, 0xCB, 0xA9}};
constexpr CLSID CLSID_QVPP_FichaTecnica = {
    0x36CC3028, 0x9B5B, 0x4F16, {0x8E, 0xD1, 0xEB, 0x80, 0xB2, 0x1B, 0xDC, 0xC7}};
constexpr CLSID CLSID_QVPP_MestrePP = {
    0x1933FBDD, 0x383C, 0x4002, {0x93, 0xE6, 0xD4, 0x1F, 0x78, 0x41, 0xFB, 0x36}};
constexpr CLSID CLSID_QVPP_Calendario = {
    0x0A6854AF, 0xCD49, 0x4C12, {0x82, 0x07, 0x82, 0x94, 0x95, 0x5B, 0x6F, 0x73}};
constexpr CLSID CLSID_QVPP_Secao = {
    0x4A7905F8, 0xA767, 0x4B12, {0xA2, 0x73, 0xA5, 0x97, 0xE8, 0x62, 0xE2, 0x8F}};
constexpr CLSID CLSID_QVPP_Relatorios = {
    0x70509813, 0x426E, 0x4884, {0x81, 0xCE, 0x51, 0xC3, 0xE3, 0xA5, 0xFB, 0x99}};
constexpr CLSID CLSID_QVPP_Recursos = {
    0x6D6863E4, 0x38F0, 0x444B, {0x9F, 0xD5, 0x0F, 0xA3, 0xF8, 0x12, 0x12, 0xDF}};
constexpr CLSID CLSID_QVPP_Manutencao = {
    0xC7906DD9, 0x4F57, 0x474F, {0x82, 0xDE, 0x75, 0xCD, 0x9A, 0x30, 0x3C, 0x55}};
constexpr CLSID CLSID_QVPP_GestaoManutencao = {
    0xC659976E, 0x99C5, 0x4743, {0xBF, 0x0F, 0x83, 0x56, 0x96, 0xF2, 0x47, 0x92}};
constexpr CLSID CLSID_QVPP_Colecao = {
    0x10CFBF48, 0x2022, 0x42F1, {0xA7, 0x50, 0x69, 0x38, 0x6B, 0x33, 0xA4, 0x06}};
constexpr CLSID CLSID_QVPP_MotivoRefugo = {
    0xD2BAF2EF, 0xF9B4, 0x4A11, {0x82, 0x22, 0x9E, 0xF5, 0x42, 0x3D, 0xA1, 0x10}};
constexpr CLSID CLSID_QVPP_MetasProducao = {
    0x1C08D65E, 0x3D79, 0x44B9, {0xB2, 0x1D, 0x89, 0x3C, 0x03, 0xC9, 0x9F, 0x8E}};
constexpr CLSID CLSID_QVPP_TipoRecurso = {
    0x0E1DDA5C, 0xE0C8, 0x421B, {0x91, 0xF2, 0x81, 0xC1, 0x26, 0xD7, 0x53, 0xEC}};

constexpr IID IID_IQVPP_TipoOP = {
    0xA12D7726, 0xE4D1, 0x4098, {0x9F, 0xC0, 0x83, 0x72, 0xCB, 0x6E, 0xBE, 0xF0}};
constexpr IID IID_IQVPP_Processo = {
    0x0AD952F8, 0xC5B8, 0x49B0, {0x94, 0x9E, 0x1C, 0xC7, 0x26, 0x3C, 0x4D, 0x88}};
constexpr IID IID_IQVPP_FluxoProcesso = {
    0x10739BAA, 0x9F5E, 0x4F35, {0xAC, 0x97, 0x46, 0x2F, 0x3D, 0x56, 0x06, 0x36}};
constexpr IID IID_IQVPP_OperacaoProducao = {
    0x99C1C106, 0xB57B, 0x4311, {0x81, 0xF6, 0xD0, 0xB7, 0xF3, 0x15, 0xC6, 0x2B}};
constexpr IID IID_IQVPP_OP = {
    0xA0438497, 0x3AB4, 0x4F5F, {0xBE, 0x0E, 0xDC, 0xF0, 0x83, 0x5D, 0x69, 0x8B}};
constexpr IID IID_IQVPP_FichaTecnica = {
    0x01FBA766, 0x1C94, 0x40D7, {0x9D, 0xD6, 0x94, 0x06, 0x04, 0x13, 0x92, 0xE7}};
constexpr IID IID_IQVPP_MestrePP = {
    0x5DB80031, 0x5FF5, 0x4455, {0xAF, 0x61, 0xAF, 0xE7, 0x8E, 0x00, 0x2E, 0x73}};
constexpr IID IID_IQVPP_Calendario = {
    0xAFA85C06, 0xE1FF, 0x4A9C, {0xBB, 0xEB, 0x45, 0x73, 0x26, 0x0C, 0x6E, 0x66}};
constexpr IID IID_IQVPP_Secao = {
    0x6ACEC284, 0xB1C5, 0x4673, {0x8D, 0x62, 0x11, 0x48, 0x89, 0x19, 0x1B, 0x9D}};
constexpr IID IID_IQVPP_Relatorios = {
    0x8AECCA44, 0x1B03, 0x4D0B, {0x86, 0x89, 0x18, 0xF7, 0xAF, 0x46, 0xF6, 0xE3}};
constexpr IID IID_IQVPP_Recursos = {
    0xA89E736A, 0x4C26, 0x4B17, {0x9C, 0x97, 0x68, 0x6F, 0x09, 0xB1, 0x3E, 0x29}};
constexpr IID IID_IQVPP_Manutencao = {
    0x8FA1C93C, 0x1A3D, 0x44DC, {0xA8, 0x68, 0xD4, 0x3C, 0xFB, 0x14, 0xE8, 0xA2}};
constexpr IID IID_IQVPP_GestaoManutencao = {
    0xE1BFD847, 0x9918, 0x461C, {0x85, 0xD3, 0xF9, 0x66, 0x6E, 0xBF, 0x5C, 0xDA}};
constexpr IID IID_IQVPP_Colecao = {
    0x28A30501, 0x5DE1, 0x4E26, {0xAD, 0x09, 0x22, 0xF1, 0x9A, 0xF8, 0x4D, 0x56}};
constexpr IID IID_IQVPP_MotivoRefugo = {
    0x97EA10E5, 0xB846, 0x4733, {0xA1, 0x1D, 0xCC, 0xC3, 0xCE, 0xC5, 0xD7, 0x2D}};
constexpr IID IID_IQVPP_MetasProducao = {
    0x8837275C, 0x56F7, 0x4182, {0x9A, 0xBB, 0x32, 0xCF, 0x4A, 0xD8, 0xAB, 0x8D}};
constexpr IID IID_IQVPP_TipoRecurso = {
    0x9B37347C, 0xE4AD, 0x4525, {0xBB, 0xFD, 0x4D, 0xC1, 0x86, 0xA9, 0x03, 0xA9}};

struct ClasseVarmo {
  const char* nome;                // "QVPP_TipoOP"; its description is the name and " Class"
  const char* progId;              // "Varmo.QVPP_TipoOP.1"
  const char* progIdIndependente;  // "Varmo.QVPP_TipoOP", whose CurVer names progId
  CLSID clsid;
  const char* textoClsid;          // braced, as the registry holds it
  const char* nomeInterface;       // "IQVPP_TipoOP"
  IID iid;
  const char* textoIid;
  uint16_t quantidadeMetodos;      // without the three of IUnknown
  uint16_t script;                 // registration script resource
};

constexpr ClasseVarmo kClassesVarmo[] = {
    {"QVPP_TipoOP", "Varmo.QVPP_TipoOP.1", "Varmo.QVPP_TipoOP",
     CLSID_QVPP_TipoOP, "{FE060C07-D7ED-4A54-9D21-6D399323812B}",
     "IQVPP_TipoOP", IID_IQVPP_TipoOP,
     "{A12D7726-E4D1-4098-9FC0-8372CB6EBEF0}", 13, 101},
    {"QVPP_Processo", "Varmo.QVPP_Processo.1", "Varmo.QVPP_Processo",
     CLSID_QVPP_Processo, "{16FF7E70-563E-4630-A36C-028AD0B77077}",
     "IQVPP_Processo", IID_IQVPP_Processo,
     "{0AD952F8-C5B8-49B0-949E-1CC7263C4D88}", 11, 102},
    {"QVPP_FluxoProcesso", "Varmo.QVPP_FluxoProcesso.1", "Varmo.QVPP_FluxoProcesso",
     CLSID_QVPP_FluxoProcesso, "{11BE5F65-041A-4ECE-A2E0-4E24133B3E7D}",
     "IQVPP_FluxoProcesso", IID_IQVPP_FluxoProcesso,
     "{10739BAA-9F5E-4F35-AC97-462F3D560636}", 12, 103},
    {"QVPP_OperacaoProducao", "Varmo.QVPP_OperacaoProducao.1", "Varmo.QVPP_OperacaoProducao",
     CLSID_QVPP_OperacaoProducao, "{4D5BEFCF-0133-492F-8395-A10D65EAAB6F}",
     "IQVPP_OperacaoProducao", IID_IQVPP_OperacaoProducao,
     "{99C1C106-B57B-4311-81F6-D0B7F315C62B}", 13, 104},
    {"QVPP_OP", "Varmo.QVPP_OP.1", "Varmo.QVPP_OP",
     CLSID_QVPP_OP, "{653F195B-D434-43C5-B4C6-051CF591CBA9}",
     "IQVPP_OP", IID_IQVPP_OP,
     "{A0438497-3AB4-4F5F-BE0E-DCF0835D698B}", 57, 105},
    {"QVPP_FichaTecnica", "Varmo.QVPP_FichaTecnica.1", "Varmo.QVPP_FichaTecnica",
     CLSID_QVPP_FichaTecnica, "{36CC3028-9B5B-4F16-8ED1-EB80B21BDCC7}",
     "IQVPP_FichaTecnica", IID_IQVPP_FichaTecnica,
     "{01FBA766-1C94-40D7-9DD6-9406041392E7}", 14, 107},
    {"QVPP_MestrePP", "Varmo.QVPP_MestrePP.1", "Varmo.QVPP_MestrePP",
     CLSID_QVPP_MestrePP, "{1933FBDD-383C-4002-93E6-D41F7841FB36}",
     "IQVPP_MestrePP", IID_IQVPP_MestrePP,
     "{5DB80031-5FF5-4455-AF61-AFE78E002E73}", 10, 108},
    {"QVPP_Calendario", "Varmo.QVPP_Calendario.1", "Varmo.QVPP_Calendario",
     CLSID_QVPP_Calendario, "{0A6854AF-CD49-4C12-8207-8294955B6F73}",
     "IQVPP_Calendario", IID_IQVPP_Calendario,
     "{AFA85C06-E1FF-4A9C-BBEB-4573260C6E66}", 11, 109},
    {"QVPP_Secao", "Varmo.QVPP_Secao.1", "Varmo.QVPP_Secao",
     CLSID_QVPP_Secao, "{4A7905F8-A767-4B12-A273-A597E862E28F}",
     "IQVPP_Secao", IID_IQVPP_Secao,
     "{6ACEC284-B1C5-4673-8D62-114889191B9D}", 9, 110},
    {"QVPP_Relatorios", "Varmo.QVPP_Relatorios.1", "Varmo.QVPP_Relatorios",
     CLSID_QVPP_Relatorios, "{70509813-426E-4884-81CE-51C3E3A5FB99}",
     "IQVPP_Relatorios", IID_IQVPP_Relatorios,
     "{8AECCA44-1B03-4D0B-8689-18F7AF46F6E3}", 22, 111},
    {"QVPP_Recursos", "Varmo.QVPP_Recursos.1", "Varmo.QVPP_Recursos",
     CLSID_QVPP_Recursos, "{6D6863E4-38F0-444B-9FD5-0FA3F81212DF}",
     "IQVPP_Recursos", IID_IQVPP_Recursos,
     "{A89E736A-4C26-4B17-9C97-686F09B13E29}", 15, 112},
    {"QVPP_Manutencao", "Varmo.QVPP_Manutencao.1", "Varmo.QVPP_Manutencao",
     CLSID_QVPP_Manutencao, "{C7906DD9-4F57-474F-82DE-75CD9A303C55}",
     "IQVPP_Manutencao", IID_IQVPP_Manutencao,
     "{8FA1C93C-1A3D-44DC-A868-D43CFB14E8A2}", 14, 113},
    {"QVPP_GestaoManutencao", "Varmo.QVPP_GestaoManutencao.1", "Varmo.QVPP_GestaoManutencao",
     CLSID_QVPP_GestaoManutencao, "{C659976E-99C5-4743-BF0F-835696F24792}",
     "IQVPP_GestaoManutencao", IID_IQVPP_GestaoManutencao,
     "{E1BFD847-9918-461C-85D3-F9666EBF5CDA}", 12, 114},
    {"QVPP_Colecao", "Varmo.QVPP_Colecao.1", "Varmo.QVPP_Colecao",
     CLSID_QVPP_Colecao, "{10CFBF48-2022-42F1-A750-69386B33A406}",
     "IQVPP_Colecao", IID_IQVPP_Colecao,
     "{28A30501-5DE1-4E26-AD09-22F19AF84D56}", 11, 115},
    {"QVPP_MotivoRefugo", "Varmo.QVPP_MotivoRefugo.1", "Varmo.QVPP_MotivoRefugo",
     CLSID_QVPP_MotivoRefugo, "{D2BAF2EF-F9B4-4A11-8222-9EF5423DA110}",
     "IQVPP_MotivoRefugo", IID_IQVPP_MotivoRefugo,
     "{97EA10E5-B846-4733-A11D-CCC3CEC5D72D}", 11, 116},
    {"QVPP_MetasProducao", "Varmo.QVPP_MetasProducao.1", "Varmo.QVPP_MetasProducao",
     CLSID_QVPP_MetasProducao, "{1C08D65E-3D79-44B9-B21D-893C03C99F8E}",
     "IQVPP_MetasProducao", IID_IQVPP_MetasProducao,
     "{8837275C-56F7-4182-9ABB-32CF4AD8AB8D}", 15, 117},
    {"QVPP_TipoRecurso", "Varmo.QVPP_TipoRecurso.1", "Varmo.QVPP_TipoRecurso",
     CLSID_QVPP_TipoRecurso, "{0E1DDA5C-E0C8-421B-91F2-81C126D753EC}",
     "IQVPP_TipoRecurso", IID_IQVPP_TipoRecurso,
     "{9B37347C-E4AD-4525-BBFD-4DC186A903A9}", 11, 118},
};
constexpr int kQuantidadeClassesVarmo = sizeof(kClassesVarmo) / sizeof(kClassesVarmo[0]);
static_assert(kQuantidadeClassesVarmo == 17);
