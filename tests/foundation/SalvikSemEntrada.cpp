// A library that loads but lacks the import entry points.
extern "C" __attribute__((visibility("default"))) int OutraFuncao() { return 0; }
