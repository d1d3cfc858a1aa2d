// The shared library exports the zif_ functions and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <string>

extern "C" int zif_header_check_from_c(void);

namespace {

const std::string kLibrary = std::string(VANTOREL_BIN_DIR) + "/libwyv_zif.so";

TEST(FrameworkExports, OnlyZifFunctionsAreVisible)
{
    FILE *nm = popen(("nm -D --defined-only " + kLibrary).c_str(), "r");
    ASSERT_NE(nm, nullptr);
    char line[512];
    int exported = 0;
    std::string strays;
    while (fgets(line, sizeof line, nm)) {
        std::string symbol(line);
        symbol = symbol.substr(symbol.find_last_of(' ') + 1);
        symbol.erase(symbol.find_last_not_of("\n") + 1);
        if (symbol.rfind("zif_", 0) == 0)
            ++exported;
        else
            strays += symbol + " ";
    }
    EXPECT_EQ(pclose(nm), 0);
    EXPECT_GT(exported, 0);
    EXPECT_EQ(strays, "");
}

TEST(FrameworkExports, LibraryLoadsAndCreatesAContext)
{
    void *library = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Create = int32_t (*)(void **);
    using Destroy = void (*)(void *);
    auto create = reinterpret_cast<Create>(dlsym(library, "zif_create"));
    auto destroy = reinterpret_cast<Destroy>(dlsym(library, "zif_destroy"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(destroy, nullptr);
    EXPECT_EQ(dlsym(library, "_ZN3zif4failEP11zif_contexti"), nullptr);
    void *context = nullptr;
    ASSERT_EQ(create(&context), 0);
    destroy(context);
    dlclose(library);
}

TEST(FrameworkExports, HeaderWorksFromC) { EXPECT_EQ(zif_header_check_from_c(), 1); }

}  // namespace
