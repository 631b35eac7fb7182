// Registration writes the braced texts of the identifiers; activation and QueryInterface compare
// the constants. Both must name the same GUIDs, and no two identifiers of the library may coincide.
#include <gtest/gtest.h>

#include <vector>

#include "server/idl/VarmoIdentificadores.h"

namespace {

struct Identificador {
  const char* texto;
  GUID guid;
};

std::vector<Identificador> TodosIdentificadores() {
  std::vector<Identificador> todos = {{kVarmoLibTexto, LIBID_VarmoLib},
                                      {kVarmoAppIdTexto, APPID_Varmo}};
  for (const ClasseVarmo& classe : kClassesVarmo) {
    todos.push_back({classe.textoClsid, classe.clsid});
    todos.push_back({classe.textoIid, classe.iid});
  }
  return todos;
}

}  // namespace

TEST(VarmoIdentificadores, EachTextReadsBackAsItsConstantAndIsWrittenTheSame) {
  for (const Identificador& id : TodosIdentificadores()) {
    GUID lido = GUID_NULL;
    ASSERT_TRUE(TextToGuid(id.texto, &lido)) << id.texto;
    EXPECT_TRUE(lido == id.guid) << id.texto;
    EXPECT_EQ(GuidToText(id.guid), id.texto);
  }
}

TEST(VarmoIdentificadores, NoTwoIdentifiersCoincide) {
  const std::vector<Identificador> todos = TodosIdentificadores();
  ASSERT_EQ(todos.size(), 36u);
  for (size_t i = 0; i < todos.size(); ++i)
    for (size_t j = i + 1; j < todos.size(); ++j)
      EXPECT_FALSE(todos[i].guid == todos[j].guid) << todos[i].texto << " " << todos[j].texto;
}
