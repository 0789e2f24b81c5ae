#include "grammar/examples.h"

const std::array<Example, kExampleCount>& examples() {
  static const std::array<Example, kExampleCount> kExamples = {{
      {"Grammar1", {"I->A", "A->x|e"}, ""},
      {"Grammar2", {"I->E", "E->TG", "G->+TG|e", "T->FH", "H->*FH|e", "F->(E)|i"}, "i+(i*i)*i"},
      {"Grammar3", {"I->A", "A->BCDE|e", "B->x|y|e", "C->z|h|e", "D->k|e", "E->m|n"}, "xzkm"},
      {"Grammar4", {"I->S", "S->iEtSZ|a", "Z->cS|e", "E->b"}, "ibta"},
      {"Grammar5", {"I->S", "S->aAbz", "A->Abc|b", "B->d"}, "abbz"},
      {"Grammar6", {"I->A", "A->E", "E->E+T|T", "T->T*F|F", "F->(E)|i"}, "i+(i*i)*i"},
      {"Grammar7", {"I->A", "A->B", "B->CD", "C->x|e", "D->y"}, "y"},
      {"Grammar8", {"I->A", "A->S", "S->L=R|R", "L->*R|i", "R->L"}, "i=i"},
      {"Grammar9", {"I->A", "A->S", "S->CC", "C->cC|d"}, "cdd"},
      {"Grammar10", {"I->S", "S->aAa|bAb|aBb|bBa", "A->c", "B->c"}, "aca"},
      {"Grammar11", {"S->E", "E->X|aXY", "X->e", "Y->bEa"}, "bab"},
      {"Grammar12", {"S->E", "E->T", "T->0|1|2|3|4|5|6|7|8|9|TT"}, "00"},
  }};
  return kExamples;
}

HString editorTextOf(const Example& example) {
  HString text;
  for (int i = 0; example.lines[i] != nullptr; ++i) {
    if (i > 0) text += "\r\n";
    text += example.lines[i];
  }
  return text;
}
