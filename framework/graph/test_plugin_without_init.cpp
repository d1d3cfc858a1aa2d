// A shared library that is no plug-in module: it lacks zif_pluginModuleInit.
extern "C" __attribute__((visibility("default"))) int zif_testNotAModule() { return 1; }
