/* A tiny library the module loader tests open. */
__attribute__((visibility("default"))) int sample_add(int a, int b) { return a + b; }
