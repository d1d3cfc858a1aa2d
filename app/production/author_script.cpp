#include "app/production/author_script.h"

#include "app/production/xml_text.h"
#include "app/common/format_hms.h"

#include <algorithm>

namespace vt::production {

namespace {

class Lines {
public:
    explicit Lines(std::vector<std::string> &lines) : lines_(lines) {}
    void add(int indent, const std::string &text) { lines_.push_back(std::string(indent, ' ') + text); }

private:
    std::vector<std::string> &lines_;
};

std::string attr(const std::string &value)
{
    return XmlAttributeValue(value);
}

void addVideoAndAudio(Lines &out, const AuthorScriptInput &in, const std::string &std, const std::string &lang)
{
    out.add(9, "<video format=\"" + std + "\" aspect=\"" + (in.wide ? "16:9" : "4:3") + "\"");
    out.add(16, std::string("resolution=\"") + (in.pal ? "720x576" : "720x480") + "\"");
    out.add(16, in.wide ? "widescreen=\"nopanscan\" />" : "/>");
    out.add(9, "<audio format=\"ac3\"");
    out.add(16, "quant=\"16bps\" dolby=\"surround\"");
    out.add(16, "samplerate=\"48khz\" lang=\"" + attr(lang) + "\"/>");
}

bool withChapterMenu(const AuthorScriptClip &clip, const AuthorScriptInput &in)
{
    return clip.hasChapterPage && in.chapterMenusEnabled;
}

void addRootMenu(Lines &out, const AuthorScriptInput &in, const std::string &std, AuthorScript &script)
{
    if (in.rootMenuVob.empty()) {
        out.add(2, "<vmgm>");
        out.add(2, "</vmgm>");
        return;
    }
    script.rootMenuWritten = true;
    const std::string lang = attr(in.menuLanguageCode);
    out.add(2, "<vmgm>");
    out.add(6, "<menus lang=\"" + lang + "\">");
    addVideoAndAudio(out, in, std, in.menuLanguageCode);
    out.add(9, "<subpicture lang=\"" + lang + "\"/>");
    out.add(9, "<pgc entry=\"title\">");
    out.add(9, "<pre> button = 1024; </pre>");
    out.add(8, "<vob file=\"" + attr(in.rootMenuVob) + "\" pause=\"10\"/>");
    if (in.titleMenuMade) {
        out.add(10, "<post> jump titleset 1 menu ; </post>");
        out.add(8, "<button> jump title 1 ;</button>");
        out.add(8, "<button> jump titleset 1 menu ;</button>");
    } else {
        out.add(10, "<post> jump title 1 ; </post>");
        out.add(8, "<button> jump title 1 ;</button>");
        out.add(8, "<button> jump title 1 ;</button>");
    }
    out.add(9, "</pgc>");
    out.add(6, "</menus>");
    out.add(2, "</vmgm>");
}

void addTitlesetMenus(Lines &out, const AuthorScriptInput &in, AuthorScript &script)
{
    script.titlesetMenusWritten = true;
    const std::string lang = attr(in.menuLanguageCode);
    const std::string work = attr(in.workFolder);
    const bool rootBack = script.rootMenuWritten && in.backButtonsPossible;
    out.add(6, "<menus lang=\"" + lang + "\">");
    out.add(9, "<subpicture lang=\"" + lang + "\"/>");
    out.add(9, "<pgc entry=\"root\">");
    out.add(9, rootBack ? "<pre> button = 2048; </pre>" : "<pre> button = 1024; </pre>");
    if (in.titleMenuHasMusic) {
        out.add(8, "<vob file=\"" + work + "Title.vob\" pause=\"2\"/>");
        out.add(10, "<post> jump menu 1; </post>");
    } else {
        out.add(8, "<vob file=\"" + work + "Title.vob\" pause=\"inf\"/>");
    }
    if (rootBack)
        out.add(10, "<button> jump vmgm menu ; </button>");
    int menu = 2;
    for (size_t i = 0; i < in.clips.size(); ++i) {
        const AuthorScriptClip &clip = in.clips[i];
        if (!clip.hasTitleButton)
            continue;
        if (withChapterMenu(clip, in))
            out.add(8, "<button> jump menu " + std::to_string(menu++) + "; </button>");
        else
            out.add(8, "<button> jump title " + std::to_string(i + 1) + "; </button>");
    }
    out.add(9, "</pgc>");

    int k = 0;
    for (size_t i = 0; i < in.clips.size(); ++i) {
        const AuthorScriptClip &clip = in.clips[i];
        if (!withChapterMenu(clip, in) || !clip.chapterMenuVobExists)
            continue;
        const std::string vob = work + "Chapter_" + std::to_string(i) + ".vob";
        out.add(9, "<pgc>");
        out.add(9, in.backButtonsPossible ? "<pre> button = 2048; </pre>" : "<pre> button = 1024; </pre>");
        if (clip.chapterMenuHasMusic) {
            out.add(8, "<vob file=\"" + vob + "\" pause=\"2\"/>");
            out.add(8, "<post> jump menu " + std::to_string(k + 2) + "; </post>");
        } else {
            out.add(8, "<vob file=\"" + vob + "\" pause=\"inf\"/>");
        }
        if (in.backButtonsPossible)
            out.add(10, "<button> jump menu 1 ; </button>");
        for (size_t c = 1; c <= clip.chapterTimes.size(); ++c)
            out.add(8, "<button> jump title " + std::to_string(i + 1) + " chapter " +
                           std::to_string(ChapterOfButton(clip, c - 1)) + " ; </button>");
        out.add(9, "</pgc>");
        ++k;
    }
    out.add(6, "</menus>");
}

std::string subtitleLanguage(const AuthorScriptInput &in)
{
    for (const AuthorScriptClip &clip : in.clips)
        if (clip.subtitleExists)
            return clip.subtitleLanguageCode;
    return in.menuLanguageCode;
}

std::string vobLine(const AuthorScriptClip &clip)
{
    const std::string file = "<vob file=\"" + attr(clip.vobFile) + "\"";
    const std::vector<int32_t> offsets = clip.hasChapterPage ? ChapterOffsets(clip) : std::vector<int32_t>();
    if (offsets.empty())
        return file + " />";
    std::string chapters = "0";
    for (int32_t offset : offsets)
        chapters += ", " + common::FormatHMS(offset) + ".00";
    return file + " chapters=\"" + chapters + "\" />";
}

} // namespace

std::vector<int32_t> ChapterOffsets(const AuthorScriptClip &clip)
{
    std::vector<int32_t> offsets;
    for (size_t i = 1; i < clip.chapterTimes.size(); ++i) {
        const int32_t offset = clip.chapterTimes[i] - clip.start;
        if (offset > 0 && offset < clip.length)
            offsets.push_back(offset);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    return offsets;
}

int ChapterOfButton(const AuthorScriptClip &clip, size_t button)
{
    if (button == 0 || button >= clip.chapterTimes.size())
        return 1;
    const std::vector<int32_t> offsets = ChapterOffsets(clip);
    const int32_t offset = clip.chapterTimes[button] - clip.start;
    return 1 + static_cast<int>(std::upper_bound(offsets.begin(), offsets.end(), offset) - offsets.begin());
}

AuthorScript MakeAuthorScript(const AuthorScriptInput &in)
{
    AuthorScript script;
    Lines out(script.lines);
    const std::string std = in.pal ? "pal" : "ntsc";

    out.add(0, "<dvdauthor dest=\"" + attr(in.dest) + "\" format=\"" + std + "\">");
    addRootMenu(out, in, std, script);
    out.add(2, "<titleset>");
    if (in.titleMenuMade)
        addTitlesetMenus(out, in, script);
    out.add(6, "<titles>");
    addVideoAndAudio(out, in, std, in.menuLanguageCode);
    out.add(10, "<subpicture lang=\"" + attr(subtitleLanguage(in)) + "\"/>");
    const size_t n = in.clips.size();
    for (size_t i = 0; i < n; ++i) {
        const AuthorScriptClip &clip = in.clips[i];
        out.add(8, "<pgc>");
        if (clip.subtitleExists)
            out.add(10, "<pre> subtitle=64; </pre>");
        out.add(10, vobLine(clip));
        if (i + 1 < n)
            out.add(10, "<post>jump title " + std::to_string(i + 2) + " ;</post>");
        else if (script.rootMenuWritten)
            out.add(10, "<post>call vmgm menu;</post>");
        else if (script.titlesetMenusWritten)
            out.add(8, "<post>call menu;</post>");
        else
            out.add(10, "<post>jump title 1;</post>");
        out.add(8, "</pgc>");
    }
    out.add(6, "</titles>");
    out.add(2, "</titleset>");
    out.add(0, "</dvdauthor>");
    return script;
}

} // namespace vt::production
