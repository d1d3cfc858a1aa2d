#include "framework/core/test_context.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using XmlTest = ContextTest;

TEST_F(XmlTest, ScalarForms)
{
    EXPECT_EQ(xml(integer(-42)), "<int val=\"-42\" />");
    EXPECT_EQ(xml(real(2.5), 2), "  <double val=\"2.500000\" />");
    EXPECT_EQ(xml(fract(1, 1, 2)), "<fract val=\"1.500000\" n=\"1\" num=\"1\" den=\"2\" />");
    EXPECT_EQ(xml(text("a&b <c> \"d\"")), "<string val=\"a&amp;b &lt;c&gt; &quot;d&quot;\" />");
    zif_object *d = own(zif_newData(ctx, 16));
    zif_dataSetSize(d, 3);
    EXPECT_EQ(xml(d), "<data size=\"3\" allocated=\"16\" />");
}

TEST_F(XmlTest, TableWithOneIntEntry)
{
    zif_object *t = own(zif_newTable(ctx));
    zif_tableSetInt(t, "width", 720);
    EXPECT_EQ(xml(t), "<table>\n  <entry name=\"width\"> <int val=\"720\" /> </entry>\n</table>");
}

TEST_F(XmlTest, NestedContainersAndIntervals)
{
    zif_object *t = own(zif_newTable(ctx));
    zif_object *l = own(zif_newList(ctx));
    zif_listAddInt(l, 1);
    zif_listAdd(l, nullptr);  // not written
    zif_listAddString(l, "x");
    zif_tableSet(t, "rates", l);                                                // key 0
    zif_tableSet(t, "width", interval(ZIF_INTERVAL_IE, integer(16), nullptr));  // key 1
    zif_tableSet(t, "gone", nullptr);                                           // key 2, not written
    EXPECT_EQ(xml(t, 1),
              " <table>\n"
              "   <entry name=\"rates\">\n"
              "     <list>\n"
              "       <int val=\"1\" />\n"
              "       <string val=\"x\" />\n"
              "     </list>\n"
              "   </entry>\n"
              "   <entry name=\"width\">\n"
              "     <interval type=\"IE\">\n"
              "       <int val=\"16\" />\n"
              "\n"
              "     </interval>\n"
              "   </entry>\n"
              " </table>");
}

TEST_F(XmlTest, NonValuesAreRefused)
{
    zif_object *log = own(zif_newLog(ctx));
    EXPECT_EQ(zif_valueToXMLString(log, 0), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_CONVERSION);
}

TEST_F(XmlTest, NumbersIgnoreTheProcessLocale)
{
    // Build a locale with a decimal comma into a scratch folder.
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zif-locale-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string command = "localedef -i de_DE -f UTF-8 " + (dir / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    int built = std::system(command.c_str());
    setenv("LOCPATH", dir.c_str(), 1);
    const char *active = built == 0 ? std::setlocale(LC_ALL, "de_DE.UTF-8") : nullptr;
    if (!active) {
        unsetenv("LOCPATH");
        std::filesystem::remove_all(dir);
        GTEST_SKIP() << "no locale with a decimal comma could be built";
    }
    std::string text = xml(fract(0, 1, 4)) + xml(real(1234.5));
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    std::filesystem::remove_all(dir);
    EXPECT_EQ(text, "<fract val=\"0.250000\" n=\"0\" num=\"1\" den=\"4\" /><double val=\"1234.500000\" />");
}

}  // namespace
