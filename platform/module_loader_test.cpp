#include "platform/module_loader.h"

#include <gtest/gtest.h>

namespace {

const std::string kSample = std::string(VANTOREL_TEST_LIB_DIR) + "/libvt_sample_module.so";

TEST(ModuleTest, BindsAnExportedEntryPoint)
{
    vt::Module module;
    ASSERT_TRUE(module.open(kSample)) << module.error();
    int (*add)(int, int) = nullptr;
    ASSERT_TRUE(module.bind("sample_add", add));
    EXPECT_EQ(add(2, 3), 5);
}

TEST(ModuleTest, ReportsMissingLibraryAndSymbol)
{
    vt::Module module;
    EXPECT_FALSE(module.open("/nonexistent/libnothing.so"));
    EXPECT_FALSE(module.error().empty());
    EXPECT_FALSE(module.isOpen());

    ASSERT_TRUE(module.open(kSample));
    void (*missing)() = nullptr;
    EXPECT_FALSE(module.bind("no_such_entry", missing));
    EXPECT_EQ(missing, nullptr);
    EXPECT_FALSE(module.error().empty());
}

TEST(ModuleTest, MoveTransfersOwnership)
{
    vt::Module a;
    ASSERT_TRUE(a.open(kSample));
    vt::Module b = std::move(a);
    EXPECT_FALSE(a.isOpen());
    EXPECT_TRUE(b.isOpen());
    EXPECT_NE(b.symbol("sample_add"), nullptr);
}

} // namespace
