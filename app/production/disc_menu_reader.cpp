#include "app/production/disc_menu_reader.h"

#include "engines/converter/test_support/test_media.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string trimmed(std::string text)
{
    text = std::regex_replace(text, std::regex("<!--.*?-->"), "");
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::vector<EdgeRect> buttonsIn(const std::string &xml)
{
    const std::regex button(R"re(<button[^>]*x0="(\d+)" y0="(\d+)" x1="(\d+)" y1="(\d+)")re");
    std::vector<EdgeRect> rects;
    for (std::sregex_iterator it(xml.begin(), xml.end(), button), end; it != end; ++it)
        rects.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
    return rects;
}

} // namespace

std::vector<DiscMenuProgram> ReadDiscMenus(const std::string &dvdFolder, const std::string &scratch)
{
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    corvane_test::run_command(
        {"sh", "-c", "cd \"$1\" && dvdunauthor \"$2\"", "sh", scratch, fs::absolute(dvdFolder).string()});
    const std::string xml = readAll(scratch + "/dvdauthor.xml");

    std::vector<DiscMenuProgram> programs;
    const size_t titlesetAt = xml.find("<titleset>");
    const std::regex menus(R"(<menus[^>]*>([\s\S]*?)</menus>)");
    const std::regex pgc(R"re(<pgc( entry="(\w+)")?>([\s\S]*?)</pgc>)re");
    const std::regex vob(R"re(<vob file="([^"]+)")re");
    const std::regex firstButton(R"(button = (\d+)k;)");
    const std::regex button(R"(<button name="\d+">([\s\S]*?)</button>)");
    for (std::sregex_iterator m(xml.begin(), xml.end(), menus), end; m != end; ++m) {
        const bool vmgm = static_cast<size_t>(m->position()) < titlesetAt;
        const std::string body = (*m)[1];
        for (std::sregex_iterator p(body.begin(), body.end(), pgc); p != end; ++p) {
            DiscMenuProgram program;
            program.vmgm = vmgm;
            program.entry = (*p)[2];
            const std::string text = (*p)[3];
            std::smatch found;
            if (std::regex_search(text, found, vob))
                program.vobFile = scratch + "/" + found[1].str();
            if (std::regex_search(text, found, firstButton))
                program.firstButton = std::stoi(found[1]);
            for (std::sregex_iterator b(text.begin(), text.end(), button); b != end; ++b)
                program.buttons.push_back(trimmed((*b)[1]));
            if (!program.vobFile.empty())
                programs.push_back(std::move(program));
        }
    }
    return programs;
}

std::vector<EdgeRect> ReadSpuButtons(const std::string &vob, const std::string &scratch)
{
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    corvane_test::run_command({"spuunmux", "-o", scratch + "/spu", vob});
    return buttonsIn(readAll(scratch + "/spu.xml"));
}

std::vector<EdgeRect> ReadControlFileButtons(const std::string &controlFile)
{
    return buttonsIn(readAll(controlFile));
}

} // namespace vt::production
