// Loading plug-in modules: the init contract, load failures with their log
// entries, module paths, decode extensions and direct node creation.
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

namespace {

const std::string kLibs = VANTOREL_TEST_LIB_DIR;
const std::string kModule = kLibs + "/libzif_testplug.so";

class PluginModule : public GraphTest {
protected:
    // The context log's last entry as "level|source|message".
    std::string lastContextEntry()
    {
        zif_object *log = zif_getLog(ctx);
        zif_object *entries = zif_logGetEntries(log);
        std::string last;
        while (zif_object *e = zif_iteratorNext(entries)) {
            last = std::to_string(zif_logEntryGetLogLevel(e)) + "|" + textOf(zif_logEntryGetSource(e)) + "|" +
                   textOf(zif_logEntryGetMessage(e));
            zif_release(e);
        }
        zif_release(entries);
        zif_release(log);
        return last;
    }
};

TEST_F(PluginModule, LoadsAndRegistersItsPluginWithTheModulePath)
{
    ASSERT_NE(zif_loadPluginModule(ctx, kModule.c_str()), 0);
    zif_object *plugin = zif_findPluginWithName(ctx, "testplug.generator");
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(textOf(zif_pluginGetModulePath(plugin)), kModule);
    EXPECT_EQ(textOf(zif_pluginGetName(plugin)), "testplug.generator");
    zif_object *extensions = zif_pluginGetDecodeFileExtensions(plugin);
    EXPECT_EQ(xml(extensions), xml(value("[\"gen\"]")));
    zif_release(extensions);
    zif_release(plugin);

    uint64_t id = zif_graphDirectCreateNode(graph, "testplug.generator", value("{frames: 3}"));
    ASSERT_NE(id, 0u);
    EXPECT_EQ(zif_graphFindNode(graph, "testplug.generator"), id);
    EXPECT_NE(zif_graphFindNodePort(graph, id, "testplug.generator.out"), 0u);
}

TEST_F(PluginModule, LoadFailuresAreLoggedAndRecorded)
{
    struct Case {
        std::string path;
        int32_t error;
        std::string message;
    } cases[] = {
        {kLibs + "/libzif_missing.so", ZIF_ERR_MODULE_LOAD, "Error loading zif plugin " + kLibs + "/libzif_missing.so"},
        {kLibs + "/libzif_testplug_noinit.so", ZIF_ERR_MODULE_NO_INIT,
         "No init function found in zif plugin " + kLibs + "/libzif_testplug_noinit.so"},
        {kLibs + "/libzif_testplug_initfails.so", ZIF_ERR_MISSING_ENTRY,
         "Init function of zif plugin " + kLibs + "/libzif_testplug_initfails.so failed"},
    };
    for (const Case &c : cases) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_loadPluginModule(ctx, c.path.c_str()), 0) << c.path;
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.path;
        EXPECT_EQ(lastContextEntry(), "3|context|" + c.message);
    }
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_findPluginWithName(ctx, "testplug.generator"), nullptr);
}

// Plug-ins made outside a module's init (after loading) carry no path.
TEST_F(PluginModule, PluginsMadeLaterHaveNoModulePath)
{
    ASSERT_NE(zif_loadPluginModule(ctx, kModule.c_str()), 0);
    zif_object *mine = zif_newPlugin(ctx, "application.own");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(zif_pluginGetModulePath(mine), nullptr);
    zif_release(mine);
}

}  // namespace
