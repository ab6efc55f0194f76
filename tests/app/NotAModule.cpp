// A shared library that loads but is not a screen module: it has no IniProc.
extern "C" __attribute__((visibility("default"))) int NotAModuleVersion() { return 1; }
